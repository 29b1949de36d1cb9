// Drawing a full month: 31 days with four readings and a weight each, remarks beside it.
#include "bench.h"

#include "chart/tmonatsgrafik.h"
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
}
