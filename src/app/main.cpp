#include "app/fenster.h"
#include "app/fenstermodul.h"
#include "app/kommandozeile.h"

#include <QStringList>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <string>

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails and is said, instead of the signal ending the
    // program with what was typed.
    std::signal(SIGXFSZ, SIG_IGN);
    // An export or the usage runs without a window, before anything asks for a display.
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    if (kommandozeile::istBefehlszeile(argumente)) kommandozeile::ausfuehren(argc, argv);

    const std::string modul = fenstermodul::pfad(fenstermodul::laufendesProgramm(), KORVANE_FENSTER_MODUL);
    std::string grund = modul.empty() ? "Der Ordner des Programms ist nicht zu ermitteln." : fenstermodul::fehler(modul);
    KorvaneFensterStart start = nullptr;
    if (grund.empty()) {
        // Every symbol at once: a module that does not fit the program is said now, not mid-session.
        void* griff = ::dlopen(modul.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (griff) start = reinterpret_cast<KorvaneFensterStart>(::dlsym(griff, "korvane_fenster_starten"));
        if (!start) {
            const char* genauer = ::dlerror();
            grund = "Die Datei \"" + modul + "\" passt nicht zu diesem Programm" +
                    (genauer ? std::string(" (") + genauer + ")" : std::string()) + ".";
        }
    }
    if (!start) {
        std::fprintf(stderr, "Korvane kann seine Fenster nicht öffnen: %s Bitte installieren Sie Korvane neu.\n",
                     grund.c_str());
        return 1;
    }
    return start(argc, argv);
}
