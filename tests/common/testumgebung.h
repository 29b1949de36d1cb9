#pragma once
// Every test executable runs offscreen, with its own settings folder ($XDG_CONFIG_HOME) and
// working folder (the program folder), German locale, pauses of factor 0 and TestDialoge.
#include "platform/dialoge.h"

#include <QApplication>
#include <QString>
#include <QTest>

namespace testumgebung {

// Called by KORVANE_TEST_MAIN before the QApplication exists.
void vorbereiten();
// Called after the QApplication exists.
void einrichten();

TestDialoge& dialoge();
QString wurzel();         // the temporary root of this test run
QString programmOrdner(); // the working folder at start, with "/"
QString einstellungsDatei();

// A fresh working folder (program folder) and no settings file; chdir into it.
QString neuerProgrammOrdner(const QString& name);
void einstellungenLoeschen();
QString testdaten(const QString& datei); // tests/data/<datei>
QByteArray lies(const QString& pfad);
void schreibe(const QString& pfad, const QByteArray& inhalt);

} // namespace testumgebung

#define KORVANE_TEST_MAIN(Klasse)                                                                            \
    int main(int argc, char** argv) {                                                                        \
        testumgebung::vorbereiten();                                                                         \
        QApplication app(argc, argv);                                                                        \
        testumgebung::einrichten();                                                                          \
        Klasse test;                                                                                         \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
