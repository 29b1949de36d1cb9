#include "app/fenstermodul.h"

#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fenstermodul {

std::string pfad(const std::string& programm, const char* relativ) {
    if (programm.empty() || programm.front() != '/') return {};
    return programm.substr(0, programm.rfind('/') + 1) + relativ;
}

std::string laufendesProgramm() {
    std::string pfad(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", pfad.data(), pfad.size());
    if (n <= 0 || size_t(n) >= pfad.size()) return {};
    pfad.resize(size_t(n));
    return pfad;
}

namespace {

bool liesGenau(int fd, void* ziel, size_t laenge, off_t ab) {
    return ::pread(fd, ziel, laenge, ab) == ssize_t(laenge);
}

// Every part the headers name lies inside the file.
bool vollstaendig(int fd, off_t groesse) {
    Elf64_Ehdr kopf{};
    if (!liesGenau(fd, &kopf, sizeof kopf, 0)) return false;
    if (std::memcmp(kopf.e_ident, ELFMAG, SELFMAG) != 0 || kopf.e_ident[EI_CLASS] != ELFCLASS64 ||
        kopf.e_type != ET_DYN || kopf.e_phentsize != sizeof(Elf64_Phdr))
        return false;
    auto innen = [&](Elf64_Off anfang, Elf64_Xword laenge) {
        return anfang <= Elf64_Off(groesse) && laenge <= Elf64_Off(groesse) - anfang;
    };
    if (!innen(kopf.e_phoff, Elf64_Xword(kopf.e_phnum) * sizeof(Elf64_Phdr))) return false;
    if (kopf.e_shnum > 0 && !innen(kopf.e_shoff, Elf64_Xword(kopf.e_shnum) * kopf.e_shentsize)) return false;
    for (int i = 0; i < kopf.e_phnum; ++i) {
        Elf64_Phdr teil{};
        if (!liesGenau(fd, &teil, sizeof teil, off_t(kopf.e_phoff + Elf64_Off(i) * sizeof teil))) return false;
        if (teil.p_type != PT_NULL && !innen(teil.p_offset, teil.p_filesz)) return false;
    }
    return true;
}

} // namespace

std::string fehler(const std::string& pfad) {
    const std::string datei = "Die Datei \"" + pfad + "\" ";
    const int fd = ::open(pfad.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return datei + "fehlt.";
        if (errno == EACCES) return datei + "ist nicht lesbar.";
        return datei + "kann nicht geöffnet werden.";
    }
    struct stat st {};
    std::string grund;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        grund = "\"" + pfad + "\" ist keine gewöhnliche Datei.";
    else if (!vollstaendig(fd, st.st_size))
        grund = datei + "ist beschädigt.";
    ::close(fd);
    return grund;
}

} // namespace fenstermodul
