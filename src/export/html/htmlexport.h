#pragma once
// "Grafik im Browser anzeigen" up to the written page: remarks saved first, the page written
// whole below the HTML folder, and the chart script Chart.min.js beside it. The command line
// writes the same page through the same steps.
#include "export/html/thtmlseite.h"
#include "storage/zustand.h"

#include <QByteArray>
#include <QString>

class TMonatsGrafik;

namespace htmlexport {

// A user's own Chart.min.js may be the full, unminified build.
constexpr qint64 kGrenzeSkript = 8 * 1024 * 1024;

// Chart.js 2.9.4 as built into the program.
QByteArray eingebautesSkript();
// <datenOrdner>scripts/Chart.min.js, written from the built-in copy when nothing lies there, so a
// user's own copy is kept. True when the file is there afterwards.
bool sichereSkriptQuelle(const QString& datenOrdner);

// The settings the page reads at each run (curve and value colours, line width, values at the
// points, gaps for missing days), with their first-start values while the store has none.
void leseEinstellungen(THtmlSeite::Daten& daten);
// The lines of a remarks file; none when there is no file. One that is there but cannot be
// read is named in a message.
QStringList leseBemerkungen(const QString& pfad);
// Everything the page shows of a month: the value lists and means a drawing (or sammleWerte) left
// in the chart, the settings, and the remarks read from their file.
THtmlSeite::Daten datenAus(const TMonatsGrafik& grafik, const QString& monat, const QString& jahr,
                           const QString& benutzerName, const QString& bemerkungsDatei);
// "Anna_03_2024.html" for ".../Anna_03_2024.tab": the file name with its ".tab" (any case)
// replaced by ".html"; a name without it gets ".html" appended.
QString seitenDateiName(const QString& tabellenPfad);

struct Ziel {
    QString seitenDatei; // full path of the page
    QString ordnerText;  // the page folder as its message names it
    QString datenOrdner; // ends with "/"; holds scripts/Chart.min.js
};
struct Ergebnis {
    bool seiteGeschrieben = false;
    bool skriptDa = false; // Chart.min.js lies beside the page
};
// Writes the page whole and puts Chart.min.js beside it unless one is there (never replaced).
// A folder that cannot be created or a script that cannot be copied is reported and the work
// goes on; a page that cannot be written is reported and nothing more is done.
Ergebnis schreibeSeite(THtmlSeite& seite, const Ziel& ziel);

// The main window's command without the browser: saves changed remarks, then writes the page of
// the month in use from the chart's value lists. The page's path, empty when nothing is to be
// opened.
QString DiagrammimBrowseranzeigen(Zustand& z, TMonatsGrafik& grafik);

} // namespace htmlexport
