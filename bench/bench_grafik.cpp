// Drawing a full month: 31 days with four readings and a weight each, remarks beside it.
#include "bench.h"

#include "chart/tmonatsgrafik.h"
#include "export/image/grafikseite.h"
#include "export/image/jpeg.h"
#include "export/pdf/pdfdokument.h"
#include "platform/datei.h"
#include "table/tabelle.h"
#include "platform/textdatei.h"
#include "storage/registry.h"

#include <QDir>

void bench_grafik() {
    const QString programm = QDir::currentPath() + u'/';
    Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(programm);

    Zustand z;
    z.programmOrdner = programm;
    z.datenOrdner = programm;
    z.tabellenOrdner = programm + QStringLiteral("Korvane-Daten-Galerie/");
    z.benutzerName = QStringLiteral("Anna");
    QDir().mkpath(z.tabellenOrdner + QStringLiteral("2024"));

    const QStringList zeilen = bench::vollerMonat();
    const QString tabelle = z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab");
    textdatei::schreibeZeilen(tabelle, zeilen);
    textdatei::schreibeZeilen(
        z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.txt"),
        {QStringLiteral("Blutdruck nach dem Sport gemessen."), QStringLiteral("Ab dem 12. neue Tabletten.")});

    TMonatsGrafik grafik(z);
    grafik.gewichtSichtbar = true;
    grafik.GrafikZeichnen(tabelle); // fonts and caches warm

    bench::miss("GrafikZeichnen", 200, [&] {
        grafik.MachDieListenFuerDenBrowserLeer();
        grafik.GrafikZeichnen(tabelle);
    });
    bench::miss("Mittelwerte", 200, [&] {
        grafik.MachDieListenFuerDenBrowserLeer();
        grafik.GewichtsListe.clear();
        grafik.GrafikVorlageLaden();
        grafik.ueberlagerung = true;
        grafik.GewichtVorlageLaden();
        grafik.GrafikZeichnen(tabelle);
        grafik.MittelwertModus = true;
        grafik.MachDieListenFuerDenBrowserLeer();
        grafik.GrafikZeichnen(tabelle);
        grafik.MittelwertModus = false;
        grafik.ueberlagerung = false;
        grafik.SchreibeNameUndMonatInGrafik();
    });

    bench::miss("Tabellenbild", 50, [&] {
        const tabelle::Gitter gitter = tabelle::ErstelleTabelle(z.ListBox1);
        tabelle::TabelleAlsBild(gitter);
    });
    bench::miss("Grafikseite JPEG", 50, [&] {
        jpeg::kodiere(bildexport::Die4BilderZusammenfuegen(bildexport::grafikseiteAus(grafik, true, true)));
    });

    bench::miss("PDF Grafik und Tabelle", 30, [&] {
        pdfdokument::Monat monat;
        monat.grafikseite = bildexport::Die4BilderZusammenfuegen(bildexport::grafikseiteAus(grafik, true, true));
        monat.tabellenbild = bildexport::tabellenBildMitTitel(
            tabelle::TabelleAlsBild(tabelle::ErstelleTabelle(z.ListBox1)), grafik.Label1);
        TmachPDF pdf;
        pdfdokument::richteEin(pdf);
        pdf.BeginDoc();
        int seite = 1;
        pdfdokument::schreibeMonat(pdf, pdfdokument::Art::GrafikUndTabelle, monat, &seite);
        pdf.EndDocBytes();
    });

    // Linear in the file's size: a 5 MB table, days and slots repeating.
    const QString gross = z.tabellenOrdner + QStringLiteral("2024/Gross_03_2024.tab");
    textdatei::schreibeZeilen(gross, bench::grosseTabelle(5 * 1000 * 1000));
    bench::miss("GrafikZeichnen 5 MB", 5, [&] {
        TMonatsGrafik g(z);
        g.GrafikZeichnen(gross);
    });
}

// The largest table a drawing accepts, drawn once: the memory it takes at its peak. Run last,
// since the figure is the process's peak so far.
void bench_speicher() {
    const QString programm = QDir::currentPath() + u'/';
    Zustand z;
    z.programmOrdner = z.datenOrdner = programm;
    z.tabellenOrdner = programm + QStringLiteral("Korvane-Daten-Galerie/");
    z.benutzerName = QStringLiteral("Anna");
    QDir().mkpath(z.tabellenOrdner + QStringLiteral("2024"));
    const QString groesste = z.tabellenOrdner + QStringLiteral("2024/Groesste_03_2024.tab");
    textdatei::schreibeZeilen(groesste, bench::grosseTabelle(datei::kGrenzeTabelle - 200));
    const double vorher = bench::spitzenSpeicherMiB();
    {
        TMonatsGrafik g(z);
        g.GrafikZeichnen(groesste);
    }
    std::printf("Speicherspitze GrafikZeichnen %lld MiB Tabelle: %.0f MiB (vorher %.0f MiB)\n",
                datei::kGrenzeTabelle >> 20, bench::spitzenSpeicherMiB(), vorher);
    std::fflush(stdout);
}
