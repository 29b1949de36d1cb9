#pragma once
// The command line without a window: "korvane --export ART [--ausgabe PFAD] TABELLE.tab …" and
// "korvane --help". Needs no display; messages go to stderr in German; the exit status is 0 when
// everything asked was done, 1 for a failure, 2 for a wrong call. Each export kind is one entry
// of a table, so further kinds (pdf, jpg) come in beside html.
#include <QString>
#include <QStringList>

namespace kommandozeile {

// True when the arguments ask for an export or the usage rather than for the windows.
bool istBefehlszeile(const QStringList& argumente);

struct Aufruf {
    bool hilfe = false;
    QString art;     // "html"
    QString ausgabe; // --ausgabe: the file, or a folder for the files
    QStringList tabellen;
    QString fehler; // German: why the call is wrong; empty when it is not
};
// The arguments as given, the program's name first.
Aufruf lies(const QStringList& argumente);

// The short German usage.
QString hilfetext();

// Creates its own application object (offscreen), so call it instead of starting the windows.
int ausfuehren(int argc, char** argv);

} // namespace kommandozeile
