#include "app/fenster.h"

#include "app/programmstart.h"
#include "platform/gui/qtdialoge.h"
#include "platform/umgebung.h"
#include "korvane_version.h"

#include <QApplication>

extern "C" int korvane_fenster_starten(int argc, char** argv) {
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
