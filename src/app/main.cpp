#include "app/kommandozeile.h"
#include "app/programmstart.h"
#include "platform/gui/qtdialoge.h"
#include "platform/umgebung.h"
#include "korvane_version.h"

#include <QApplication>
#include <csignal>

int main(int argc, char** argv) {
    // Past a file-size limit a write then fails and is said, instead of the signal ending the
    // program with what was typed.
    std::signal(SIGXFSZ, SIG_IGN);
    // An export or the usage runs without a window, before anything asks for a display.
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    if (kommandozeile::istBefehlszeile(argumente)) return kommandozeile::ausfuehren(argc, argv);

    QApplication app(argc, argv);
    // The application name is also the class of WM_CLASS, which the desktop entry's
    // StartupWMClass names.
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvalis"));
    QApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    richteDesktopEin();
    umgebung::einrichten();
    ladeDeutscheQtTexte();
    QtDialoge dialoge;
    Dialoge::setze(&dialoge);

    const Startoptionen optionen = Startoptionen::aus(QCoreApplication::arguments());
    Programmstart programm;
    programm.faengtSignale();
    if (const int status = programm.uebergibtOderBeginnt(optionen); status >= 0) return status;
    if (!programm.erzeugeFenster(optionen)) return 1;
    return programm.ausfuehren();
}
