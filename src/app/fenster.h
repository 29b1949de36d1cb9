#pragma once
// The program with its windows. It lives in a module of its own (lib/korvane/korvane-fenster.so
// beside the program's folder), so an export from the command line never loads the widget,
// printing and network libraries, which would take longer to load than a short export runs.
// The module takes every rule from the program itself, which carries all of korvane_core.

extern "C" {
// Runs the windows as a program's main would; returns the exit status.
int korvane_fenster_starten(int argc, char** argv);
using KorvaneFensterStart = int (*)(int argc, char** argv);
}
