#include "app/fenster.h"
#include "app/kommandozeile.h"

#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {

// The folder of the running program, with its slash; empty when the system will not say.
std::string programmOrdner() {
    std::string pfad(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", pfad.data(), pfad.size());
    if (n <= 0 || size_t(n) >= pfad.size()) return {};
    pfad.resize(size_t(n));
    return pfad.substr(0, pfad.rfind('/') + 1);
}

} // namespace

int main(int argc, char** argv) {
    // An export or the usage runs without a window, before anything asks for a display.
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    if (kommandozeile::istBefehlszeile(argumente)) kommandozeile::ausfuehren(argc, argv);

    const std::string modul = programmOrdner() + KORVANE_FENSTER_MODUL;
    // Every symbol at once: a module that does not fit the program is said now, not mid-session.
    void* griff = ::dlopen(modul.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto start = griff ? reinterpret_cast<KorvaneFensterStart>(::dlsym(griff, "korvane_fenster_starten")) : nullptr;
    if (!start) {
        const char* grund = ::dlerror();
        std::fprintf(stderr, "Korvane kann seine Fenster nicht öffnen: %s\n", grund ? grund : modul.c_str());
        return 1;
    }
    return start(argc, argv);
}
