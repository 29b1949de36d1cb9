#include "app/programmstart.h"
#include "platform/gui/qtdialoge.h"
#include "platform/umgebung.h"

#include <QApplication>

int main(int argc, char** argv) {
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
