#pragma once
// Finding and checking the window module before it is loaded: the dynamic loader trusts a
// library file, and a cut-off one (a part-written copy, a full disk) would end the program with
// a bus error instead of a message.
#include <string>

namespace fenstermodul {

// The module beside the program: <folder of the program>/<relativ>. Empty unless the program's
// path is absolute, so a module is never looked up relative to the working folder.
std::string pfad(const std::string& programm, const char* relativ);

// The running program's path, as the kernel knows it; empty when it will not say.
std::string laufendesProgramm();

// Why the file cannot be the module, in German; empty when it can be loaded: it is there, is a
// readable regular file, a 64-bit ELF library, and holds every byte its headers name.
std::string fehler(const std::string& pfad);

} // namespace fenstermodul
