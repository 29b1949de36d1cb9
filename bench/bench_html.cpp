// The HTML chart page of a full month, built and written to disk as the menu command does.
#include "bench.h"

#include "chart/tmonatsgrafik.h"
#include "export/html/htmlexport.h"
#include "export/html/thtmlseite.h"
#include "platform/textdatei.h"
#include "storage/registry.h"

#include <QDir>

void bench_html() {
    const QString programm = QDir::currentPath() + u'/';
    Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(programm);
    Zustand z;
    z.programmOrdner = z.datenOrdner = programm;
    z.tabellenOrdner = programm + QStringLiteral("Korvane-Daten-Galerie/");
    z.htmlOrdner = programm + QStringLiteral("Korvane-Daten im Browser/");
    z.benutzerName = QStringLiteral("Anna");
    QDir().mkpath(z.tabellenOrdner + QStringLiteral("2024"));
    const QString tabelle = z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab");
    textdatei::schreibeZeilen(tabelle, bench::vollerMonat());
    textdatei::schreibeZeilen(z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.txt"),
                              {QStringLiteral("Blutdruck nach dem Sport gemessen."),
                               QStringLiteral("\tAb dem 12. neue Tabletten.")});

    TMonatsGrafik grafik(z);
    grafik.GrafikZeichnen(tabelle);
    htmlexport::DiagrammimBrowseranzeigen(z, grafik); // folder and script in place
    bench::miss("HTML-Seite", 200, [&] { htmlexport::DiagrammimBrowseranzeigen(z, grafik); });

    // The same page's lines alone: what is left once QSaveFile's sync and rename are taken away.
    const THtmlSeite::Daten daten =
        htmlexport::datenAus(grafik, z.monatText, z.jahrText, z.benutzerName, grafik.bemerkungenDatei);
    bench::miss("HTML-Seite ohne Schreiben", 200, [&] {
        THtmlSeite seite(daten);
        seite.Zeilen();
    });
}
