// The month chart drawn from real table files on the built-in templates.
#include "testumgebung.h"

#include "chart/tmonatsgrafik.h"
#include "platform/textdatei.h"
#include "storage/registry.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSignalSpy>

using G = TMonatsGrafik;

namespace {

struct Messwert {
    int tag, slot, sys, dia, puls;
    QString gewicht = QStringLiteral("0");
};

// A month table of the readings, then any raw lines.
QString schreibeTabelle(const QString& pfad, const QList<Messwert>& werte, const QString& monat = "03",
                        const QStringList& roh = {}, const QString& name = "Anna") {
    const char* const worte[4] = {"Morgens", "Messung2", "Messung3", "Abends"};
    QStringList zeilen =
        ("[Personendaten]|BenutzerName=" + name + "|Datum=M\u00E4rz 2024|1M=1|2M=0|3M=1|4M=1|").split(u'|');
    for (const Messwert& w : werte)
        zeilen << QString::asprintf("%s den %02d.%s.2024 Z=07:30 s=%d, d=%d, p=%d, Gewicht=%s",
                                    worte[w.slot - 1], w.tag, qPrintable(monat), w.sys, w.dia, w.puls,
                                    qPrintable(w.gewicht));
    QDir().mkpath(QFileInfo(pfad).path());
    textdatei::schreibeZeilen(pfad, zeilen + roh);
    return pfad;
}

int zaehle(const QImage& bild, const QRect& bereich, const QColor& farbe) {
    int n = 0;
    const QRect r = bereich.intersected(bild.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += bild.pixelColor(x, y).rgb() == farbe.rgb();
    return n;
}

} // namespace

class TestGrafik : public QObject {
    Q_OBJECT

    Zustand z;
    QString programm;

    QString tabelle(const QList<Messwert>& werte, const QString& monat = "03") {
        return schreibeTabelle(monatstabelle::tabellenPfad(z, "Anna", monat, "2024"), werte, monat);
    }

    QMap<QString, QByteArray> dateienImOrdner() const {
        QMap<QString, QByteArray> dateien;
        for (QDirIterator it(programm, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString datei = it.next();
            dateien[datei] = testumgebung::lies(datei);
        }
        return dateien;
    }

private Q_SLOTS:
    void init() {
        programm = testumgebung::neuerProgrammOrdner(QString::fromLatin1(QTest::currentTestFunction()));
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(programm);
        z = Zustand();
        z.tabellenOrdner = programm + QStringLiteral("Korvane-Daten-Galerie/");
        testumgebung::dialoge().leeren();
    }

    void wertInPixel_data() {
        QTest::addColumn<int>("wert");
        QTest::addColumn<int>("zeile");
        const int faelle[][2] = {{0, 461},   {19, 461},  {20, 461},  {95, 311}, {120, 261},
                                 {128, 245}, {129, 243}, {130, 241}, {220, 61}, {221, 40},
                                 {300, 40},  {5000, 40}, {9999, 40}};
        for (const auto& f : faelle)
            QTest::addRow("%d", f[0]) << f[0] << f[1];
    }
    void wertInPixel() {
        QFETCH(int, wert);
        QTEST(G::WertInPixel(wert), "zeile");
    }
    void spalte() { QCOMPARE(G::TagX(31) + G::SlotVersatz(4), 533); }

    void kurven_data() {
        QTest::addColumn<int>("i");
        QTest::newRow("systolisch") << 0;
        QTest::newRow("diastolisch") << 1;
        QTest::newRow("Puls") << 2;
    }
    void kurven() {
        QFETCH(int, i);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle({{1, 1, 140, 90, 70}, {3, 4, 130, 80, 60}}));
        const QColor farbe = QList{g.farbeSys, g.farbeDia, g.farbePuls}[i];
        const int von = G::WertInPixel(QList{140, 90, 70}[i]), bis = G::WertInPixel(QList{130, 80, 60}[i]);
        for (int x = 41; x <= 85; ++x) // within a pixel of the straight segment
            QVERIFY2(zaehle(g.Image, QRect(x, von + ((bis - von) * (x - 41) + 22) / 44 - 1, 1, 3), farbe),
                     qPrintable(QString::number(x)));
        QCOMPARE(zaehle(g.Image, QRect(90, 100, 480, 364), farbe), 0);
    }

    void wenigeDatensaetze_data() {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("hinweis");
        QTest::newRow("1") << 1 << "Nur 1 Datensatz vorhanden. Zu wenig um ihn als Farbkurve anzuzeigen!";
        QTest::newRow("0") << 0 << "   Kein Datensatz vorhanden. Farbkurve kann nicht angezeigt werden!    ";
    }
    void wenigeDatensaetze() {
        QFETCH(int, anzahl);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle(QList<Messwert>(anzahl, {5, 1, 140, 90, 70})));
        QTEST(g.hinweisText, "hinweis");
        QCOMPARE(zaehle(g.Image, g.Image.rect(), g.farbeSys), 0);
        QVERIFY(zaehle(g.Image, QRect(45, 170, 400, 18), QColor(255, 0, 0)) > 20);
    }

    void mittelwertKasten() {
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle({{5, 1, 128, 85, 70}, {5, 4, 129, 86, 71}}));
        QStringList soll{"Mittelwerte:", "Syst.= 128,50", "Diast.= 85,50", "Puls= 70,50", "Pulsdr.= 43,00"};
        const QList<QRgb> farbe{0x000000, 0x0000ff, 0x008000, 0xff0080, 0xff8000};
        const auto kasten = g.MittelwertKasten();
        QCOMPARE(kasten.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(kasten[i].text, soll[i]);
            QVERIFY(zaehle(g.Image, QRect(kasten[i].ort, QSize(80, 14)), farbe[i]) > 10);
        }
    }

    void pulsdruck_data() {
        QTest::addColumn<int>("dia");
        QTest::addColumn<QString>("text");
        QTest::newRow("10 und 10") << 10 << "44,00";
        QTest::newRow("10 und 9") << 9 << "";
    }
    void pulsdruck() {
        QFETCH(int, dia);
        QTEST(G::berechneMittelwerte(QStringList(10, "124"), QStringList(dia, "80"), {}).texte.pulsdruck,
              "text");
    }

    void tagesMittel_data() {
        QTest::addColumn<int>("erster");
        QTest::addColumn<int>("zweiter");
        QTest::addColumn<QString>("punkte"); // day 7 ends at x 149; 257 and 261 are the rows of 122 and 120
        QTest::newRow("121 und 124") << 121 << 124 << "149 257";
        QTest::newRow("120 und 0") << 120 << 0 << "149 261";
        QTest::newRow("nur Nullen") << 0 << 0 << "";
    }
    void tagesMittel() {
        QFETCH(int, erster);
        QFETCH(int, zweiter);
        TMonatsGrafik g(z);
        g.MittelwertModus = true;
        g.GrafikZeichnen(tabelle({{7, 1, erster, 80, 60}, {7, 4, zweiter, 80, 60}}));
        QTEST(g.TagesMittelPunkteSys.join(u';'), "punkte");
    }

    void mittelwertLinien_data() { kurven_data(); }
    void mittelwertLinien() {
        QFETCH(int, i);
        // Means 128,2 / 80,2 / 60,2 on days 3..20: each line lies at the row of the next whole value.
        auto m = [](int tag, int slot, int sys) { return Messwert{tag, slot, sys, sys - 48, sys - 68}; };
        const QString t = tabelle({m(3, 2, 128), m(8, 1, 128), m(8, 4, 128), m(15, 3, 129), m(20, 1, 128)});
        TMonatsGrafik g(z);
        g.GrafikZeichnen(t);
        g.ueberlagerung = g.MittelwertModus = true;
        g.GrafikZeichnen(t);
        const QColor hell = G::FarbeAufhellen(QList{g.farbeSys, g.farbeDia, g.farbePuls}[i], 30);
        const int y = G::WertInPixel(QList{129, 81, 61}[i]), x1 = G::TagX(3) + 4, x2 = G::TagX(20);
        for (int x = x1 - 6; x <= x2 - 3; ++x)
            QVERIFY2(g.Image.pixelColor(x, y) == hell, qPrintable(QString::number(x)));
        QCOMPARE(zaehle(g.Image, QRect(0, y - 2, x1 - 6, 5), hell), 0);
        QCOMPARE(zaehle(g.Image, QRect(x2 - 2, y - 2, 100, 5), hell), 0);
    }

    void gewicht_data() {
        QTest::addColumn<QString>("gewichte");
        QTest::addColumn<QList<int>>("kg");
        QTest::addColumn<int>("fenster");
        QTest::addColumn<QStringList>("skala");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("textZeile");
        QTest::addColumn<QString>("meldung");
        const QStringList ab70{"85", "80", "75", "70"}, ab75{"90", "85", "80", "75"};
        QTest::newRow("72-80") << "72 76,5 80" << QList{72, 77, 80} << 70 << ab70 << "Kg = 76,3" << 6 << "";
        QTest::newRow("75-90") << "75 90" << QList{75, 90} << 75 << ab75 << "Kg = 82,5" << 122 << "";
        QTest::newRow("74+90") << "74 90" << QList{74, 90} << 70 << ab70 << "Kg = 82,0" << 122
                               << "Nicht eingeordnet! 74  90";
        QTest::newRow("74,5+74,49") << "74,5 74,49" << QList{75, 74} << 70 << ab70 << "Kg = 74,5" << 6 << "";
    }
    void gewicht() {
        QFETCH(QString, gewichte);
        QFETCH(QList<int>, kg);
        QList<Messwert> werte;
        for (const QString& kilo : gewichte.split(u' '))
            werte.append({2 + 5 * int(werte.size()), 1, 120, 80, 60, kilo});
        TMonatsGrafik g(z);
        g.gewichtSichtbar = true;
        g.GrafikZeichnen(tabelle(werte));
        QTEST(g.gewichtFensterStart, "fenster");
        QStringList skala;
        for (const auto& b : G::gewichtsSkala(g.gewichtFensterStart))
            skala << b.text;
        QTEST(skala, "skala");
        QTEST(g.gewichtsMittelZeile, "textZeile");
        QTEST(g.gewichtsMittelText, "text");
        QVERIFY(zaehle(g.GewichtImage, QRect(150, g.gewichtsMittelZeile, 80, 14), g.farbeGewicht) > 10);
        QTEST(testumgebung::dialoge().texte(TestDialoge::Art::Meldung).join(u'|'), "meldung");
        for (int i = 0; i < kg.size(); ++i) // each weight on the curve, where inside the picture
            QVERIFY(g.GewichtInPixel(kg[i]) < 0 ||
                    zaehle(g.GewichtImage, QRect(57 + 80 * i, g.GewichtInPixel(kg[i]) - 1, 1, 3),
                           g.farbeGewicht));
    }

    void bemerkungen_data() {
        QTest::addColumn<QString>("april"); // no remarks file when empty
        QTest::newRow("April ohne Datei") << "";
        QTest::newRow("April mit Datei") << "Tabletten neu";
    }
    void bemerkungen() {
        QFETCH(QString, april);
        const QString maerz = tabelle({{1, 1, 120, 80, 60}}), aprilTabelle = tabelle({}, "04");
        const QString aprilDatei = monatstabelle::bemerkungsPfadZu(aprilTabelle);
        if (!april.isEmpty()) textdatei::schreibeZeilen(aprilDatei, {april});
        TMonatsGrafik g(z);
        QSignalSpy geladen(&g, &TMonatsGrafik::bemerkungenGeladen);
        g.GrafikZeichnen(maerz);
        g.setzeBemerkungen(QStringLiteral("Neu"));
        g.GrafikZeichnen(aprilTabelle);
        QCOMPARE(testumgebung::lies(monatstabelle::bemerkungsPfadZu(maerz)), QByteArray("Neu\r\n"));
        QCOMPARE(QFile::exists(aprilDatei), !april.isEmpty());
        QCOMPARE(geladen.last().at(0).toString(), april);
    }

    // Remarks typed before any month was drawn are not lost with the first month.
    void bemerkungenVorDemErstenMonat() {
        const QString maerz = tabelle({{1, 1, 120, 80, 60}});
        textdatei::schreibeZeilen(monatstabelle::bemerkungsPfadZu(maerz), {QStringLiteral("alt")});
        TMonatsGrafik g(z);
        g.setzeBemerkungen(QStringLiteral("vorher getippt"));
        QVERIFY(!g.bemerkungenSpeichern()); // nowhere to go yet
        g.GrafikZeichnen(maerz);
        QVERIFY(g.bemerkungenSpeichern());
        QCOMPARE(testumgebung::lies(monatstabelle::bemerkungsPfadZu(maerz)),
                 QByteArray("alt\r\nvorher getippt\r\n"));
    }

    void kaputteTabelle_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("systolisch") << "Morgens den 02.03.2024 Z=07:30 s=12a, d=80, p=60, Gewicht=0"
                                    << "\"12a\" ist kein g\u00FCltiger Ganzzahlwert.";
        QTest::newRow("Gewicht") << "Abends den 02.03.2024 Z=07:30 s=120, d=80, p=60, Gewicht=7x"
                                 << "\"7x\" ist kein g\u00FCltiger Gleitkommawert.";
    }
    void kaputteTabelle() {
        QFETCH(QString, zeile);
        const QString gut = tabelle({{1, 1, 140, 90, 70, "80"}, {3, 4, 130, 80, 60, "81"}});
        const QString kaputt = schreibeTabelle(programm + "x/k.tab", {{1, 1, 120, 80, 60}}, "03", {zeile});
        TMonatsGrafik g(z);
        g.GrafikZeichnen(gut);
        g.setzeBemerkungen(QStringLiteral("noch nicht gespeichert"));
        const auto dateienVorher = dateienImOrdner();
        g.GrafikZeichnen(kaputt);
        QTEST(testumgebung::dialoge().texte(TestDialoge::Art::Warnung).value(0), "meldung");
        QCOMPARE(g.Image, g.vorlageGrafik);
        QCOMPARE(g.GewichtImage, g.vorlageGewicht);
        QCOMPARE(dateienImOrdner(), dateienVorher);
    }

    void ablage_data() {
        QTest::addColumn<bool>("schonDa");
        QTest::newRow("neu") << false;
        QTest::newRow("vorhanden") << true;
    }
    void ablage() {
        QFETCH(bool, schonDa);
        const QString fremd = schreibeTabelle(programm + "x/x.tab", {{1, 1, 120, 80, 60}}, "03", {}, "Berta");
        const QString kanonisch = z.tabellenOrdner + QStringLiteral("2024/Berta_03_2024.tab");
        if (schonDa) schreibeTabelle(kanonisch, {}, "03", {"alt"}, "Berta");
        const QByteArray erwartet = testumgebung::lies(schonDa ? kanonisch : fremd);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(fremd);
        QCOMPARE(z.TabellenDateiName, kanonisch);
        QCOMPARE(testumgebung::lies(kanonisch), erwartet);
    }
};

KORVANE_TEST_MAIN(TestGrafik)
#include "test_grafik.moc"
