#include "app/kommandozeile.h"
#include "app/programmstart.h"
#include "platform/gui/qtdialoge.h"
#include "platform/umgebung.h"

#include <QApplication>

int main(int argc, char** argv) {
    // An export or the usage runs without a window, before anything asks for a display.
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    if (kommandozeile::istBefehlszeile(argumente)) return kommandozeile::ausfuehren(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setOrganizationName(QStringLiteral("Orvalis"));
    umgebung::einrichten();
    ladeDeutscheQtTexte();
    QtDialoge dialoge;
    Dialoge::setze(&dialoge);

    Programmstart programm;
    programm.faengtSignale();
    if (!programm.erzeugeFenster(Startoptionen::aus(QCoreApplication::arguments()))) return 1;
    return programm.ausfuehren();
}
