#pragma once
// The command line without a window: "korvane --export ART [--patientendaten DATEI[:PLATZ]]
// [--ausgabe PFAD] [--zeigen] [--von TT.MM.JJJJ] [--bis TT.MM.JJJJ] [--ohne-ersten-tag]
// [TABELLE.tab …]", "korvane --import DATEI.csv [--probelauf]" and "korvane --help"; without a
// table, the month in use (or, for a period, the user's tables it touches). Needs no display; messages go to stderr in German; the exit status is 0 when everything
// asked was done, 1 for a failure, 2 for a wrong call.
// Every table is read and drawn before anything is written, so one broken table writes nothing.
#include <QString>
#include <QStringList>

namespace kommandozeile {

// True when the arguments ask for an export or the usage rather than for the windows.
bool istBefehlszeile(const QStringList& argumente);

struct Aufruf {
    bool hilfe = false;
    QString art;     // "html", "pdf-grafik", …
    QString ausgabe; // --ausgabe: the file, or a folder for the files; "-" stdout for tabelle-text
    QString patientendaten;  // --patientendaten: the file, without its place
    QString platz;           // "unter", "oben", "unten"; empty: the one the dialog ticks first
    bool zeigen = false;     // --zeigen: the files written are opened with the desktop's program
    QString von, bis;        // --von, --bis: the period of bericht-* and csv, TT.MM.JJJJ
    bool ohneErstenTag = false; // --ohne-ersten-tag: the report leaves out the period's first day
    QString importDatei;     // --import: a CSV file taken into the month tables
    bool probelauf = false;  // --probelauf: the import checks and counts, and writes nothing
    QStringList tabellen;
    QString fehler; // German: why the call is wrong; empty when it is not
};
// The arguments as given, the program's name first.
Aufruf lies(const QStringList& argumente);

// The short German usage.
QString hilfetext();

// Creates its own application object (offscreen), so call it instead of starting the windows.
// Returns the exit status.
int ausfuehren(int argc, char** argv);

} // namespace kommandozeile
