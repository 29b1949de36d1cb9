// The entry windows' tests run as one program: each class gets its own fresh folders.
#include "testumgebung.h"

int laufeEingaberegeln(int argc, char** argv);
int laufeEingabeDialog(int argc, char** argv);
int laufeUhrzeitAuswahl(int argc, char** argv);
int laufeTouchEingabe(int argc, char** argv);
int laufeNamenDialog(int argc, char** argv);

int main(int argc, char** argv) {
    testumgebung::vorbereiten();
    QApplication app(argc, argv);
    testumgebung::einrichten();
    int fehler = 0;
    for (auto lauf :
         {laufeEingaberegeln, laufeEingabeDialog, laufeUhrzeitAuswahl, laufeTouchEingabe, laufeNamenDialog})
        fehler += lauf(argc, argv);
    return fehler;
}
