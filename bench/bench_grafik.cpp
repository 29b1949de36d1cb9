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

    QStringList zeilen{QStringLiteral("[Personendaten]"),
                       QStringLiteral("BenutzerName=Anna"),
                       QStringLiteral("Datum=M\u00E4rz 2024"),
                       QStringLiteral("1M=1"),
                       QStringLiteral("2M=1"),
                       QStringLiteral("3M=1"),
                       QStringLiteral("4M=1"),
                       QString()};
    const char* worte[4] = {"Morgens", "Messung2", "Messung3", "Abends"};
    for (int tag = 1; tag <= 31; ++tag)
        for (int slot = 0; slot < 4; ++slot)
            zeilen << QStringLiteral("%1 den %2.03.2024 Z=07:30 s=%3, d=%4, p=%5, Gewicht=%6,5")
                          .arg(QLatin1String(worte[slot]))
                          .arg(tag, 2, 10, QLatin1Char('0'))
                          .arg(120 + (tag * 7 + slot * 3) % 40)
                          .arg(75 + (tag * 5 + slot) % 20)
                          .arg(60 + (tag * 3 + slot * 2) % 25)
                          .arg(70 + (tag + slot) % 8);
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
