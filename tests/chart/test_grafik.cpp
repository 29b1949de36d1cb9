// The month chart drawn from real table files on the built-in templates.
#include "testumgebung.h"

#include "chart/tmonatsgrafik.h"
#include "platform/textdatei.h"
#include "storage/registry.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtEndian>
#include <sys/stat.h>

using G = TMonatsGrafik;
using testumgebung::setzeRoh, testumgebung::zaehle;

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

// Two days' readings, with weights.
const QList<Messwert> kZweiTage{{1, 1, 140, 90, 70, "80"}, {3, 4, 130, 80, 60, "81"}};

QStringList mittelTexte(const TMonatsGrafik& g) {
    const auto& t = g.MonatsMittelTexte;
    return {t.sys, t.dia, t.puls, t.pulsdruck};
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
        for (const QString& d : testumgebung::allesUnter(programm))
            dateien[d] = testumgebung::lies(programm + d);
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
        const int faelle[][2] = {{0, 461},   {19, 461}, {20, 461}, {95, 311}, {128, 245},
                                 {129, 243}, {220, 61}, {221, 40}, {9999, 40}};
        for (const auto& f : faelle)
            QTest::addRow("%d", f[0]) << f[0] << f[1];
    }
    void wertInPixel() {
        QFETCH(int, wert);
        QTEST(G::WertInPixel(wert), "zeile");
    }

    // Without colour settings the curves are drawn in their first-start colours, not black.
    void kurvenOhneFarbeinstellung() {
        for (const char* name : {"SystolischKurvenFarbe", "DiastolischKurvenFarbe", "PulsKurvenFarbe"})
            setzeRoh(name);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle(kZweiTage));
        for (int i = 0; i < 3; ++i) {
            const QColor farbe = QColor::fromRgb(QList<QRgb>{0x0000ff, 0x008000, 0xff0080}[i]);
            const int von = G::WertInPixel(QList{140, 90, 70}[i]),
                      bis = G::WertInPixel(QList{130, 80, 60}[i]);
            for (int x = 41; x <= 85; ++x) // within a pixel of the straight segment
                QVERIFY(zaehle(g.Image, farbe, QRect(x, von + ((bis - von) * (x - 41) + 22) / 44 - 1, 1, 3)));
            QCOMPARE(zaehle(g.Image, farbe, QRect(90, 100, 480, 364)), 0);
        }
        QCOMPARE(zaehle(g.Image, Qt::black, QRect(41, 150, 50, 270)), 0); // the curves, below the means box
    }

    // A colour or width missing, no number or out of range reads as its first-start value; nothing written.
    void einstellungFehltOderKaputt_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("gespeichert"); // invalid: the entry is missing
        QTest::addColumn<QString>("gelesen");      // colour as 0x00BBGGRR text, or the width
        QTest::newRow("Farbe zu groß") << "PulsdruckFarbe" << QVariant("16777216") << "33023";
        QTest::newRow("Farbe negativ") << "GewichtsKurvenFarbe" << QVariant("-1") << "16512";
        QTest::newRow("Farbe gesetzt") << "DiastolischKurvenFarbe" << QVariant(" 255") << "255";
        QTest::newRow("Breite fehlt") << "StiftBreite" << QVariant() << "2";
        QTest::newRow("Breite 0") << "StiftBreite" << QVariant(0) << "2";
        QTest::newRow("Breite 8") << "StiftBreite" << QVariant(8) << "2";
        QTest::newRow("Breite 1") << "StiftBreite" << QVariant(1) << "1";
        QTest::newRow("Breite 7") << "StiftBreite" << QVariant(7) << "7";
    }
    void einstellungFehltOderKaputt() {
        QFETCH(QString, name);
        QFETCH(QVariant, gespeichert);
        setzeRoh(name, gespeichert);
        const QByteArray vorher = testumgebung::lies(testumgebung::einstellungsDatei());
        const QString wert = name == "StiftBreite" ? QString::number(G::liesStiftBreite())
                                                   : G::farbeAlsText(G::liesFarbe(name));
        QTEST(wert, "gelesen");
        QCOMPARE(testumgebung::lies(testumgebung::einstellungsDatei()), vorher);
    }

    // The means box; a later month with under two readings gets a note, with none its means read "0".
    void mittelwertKasten_data() {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("hinweis");
        QTest::newRow("1") << 1 << "Nur 1 Datensatz vorhanden. Zu wenig um ihn als Farbkurve anzuzeigen!";
        QTest::newRow("0") << 0 << "   Kein Datensatz vorhanden. Farbkurve kann nicht angezeigt werden!    ";
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
            QVERIFY(zaehle(g.Image, farbe[i], QRect(kasten[i].ort, QSize(80, 14))) > 10);
        }
        QCOMPARE(mittelTexte(g), (QStringList{"128,50", "85,50", "70,50", "43,00"}));
        QFETCH(int, anzahl);
        g.GrafikZeichnen(tabelle(QList<Messwert>(anzahl, {5, 1, 140, 90, 70}), "04"));
        QTEST(g.hinweisText, "hinweis");
        QCOMPARE(zaehle(g.Image, g.farbeSys), 0);
        QVERIFY(zaehle(g.Image, QColor(255, 0, 0), QRect(45, 170, 400, 18)) > 20);
        if (!anzahl) QCOMPARE(mittelTexte(g), QStringList(4, "0"));
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

    // Means 128,2 / 80,2 / 60,2 on days 3..20: each line lies at the row of the next whole value.
    void mittelwertLinien() {
        auto m = [](int tag, int slot, int sys) { return Messwert{tag, slot, sys, sys - 48, sys - 68}; };
        const QString t = tabelle({m(3, 2, 128), m(8, 1, 128), m(8, 4, 128), m(15, 3, 129), m(20, 1, 128)});
        TMonatsGrafik g(z);
        g.GrafikZeichnen(t);
        g.ueberlagerung = g.MittelwertModus = true;
        g.GrafikZeichnen(t);
        const int x1 = G::TagX(3) + 4, x2 = G::TagX(20);
        for (int i = 0; i < 3; ++i) {
            const QColor hell = G::FarbeAufhellen(QList{g.farbeSys, g.farbeDia, g.farbePuls}[i], 30);
            const int y = G::WertInPixel(QList{129, 81, 61}[i]);
            for (int x = x1 - 6; x <= x2 - 3; ++x)
                QCOMPARE(g.Image.pixelColor(x, y), hell);
            QCOMPARE(zaehle(g.Image, hell, QRect(0, y - 2, x1 - 6, 5)), 0);
            QCOMPARE(zaehle(g.Image, hell, QRect(x2 - 2, y - 2, 100, 5)), 0);
        }
    }

    void gewicht_data() {
        QTest::addColumn<QString>("gewichte");
        QTest::addColumn<QList<int>>("kg");
        QTest::addColumn<int>("fenster");
        QTest::addColumn<QStringList>("skala");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("textZeile");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<int>("linie"); // the kilograms of the means overlay's line
        const QStringList ab70{"85", "80", "75", "70"}, ab75{"90", "85", "80", "75"};
        // The curve takes whole kilograms; the mean those written, to the tenth, halves to even.
        QTest::newRow("72-80") << "72 76,5 80" << QList{72, 77, 80} << 70 << ab70 << "Kg = 76,2" << 6 << ""
                               << 76;
        QTest::newRow("75-90") << "75 90" << QList{75, 90} << 75 << ab75 << "Kg = 82,5" << 122 << "" << 83;
        QTest::newRow("74+90") << "74 90" << QList{74, 90} << 70 << ab70 << "Kg = 82,0" << 122
                               << "Nicht eingeordnet! 74  90" << 82;
        QTest::newRow("74,5+74,49") << "74,5 74,49" << QList{75, 74} << 70 << ab70 << "Kg = 74,5" << 6 << ""
                                    << 75;
        QTest::newRow("70,5+69,5") << "70,5 69,5" << QList{71, 70} << 70 << ab70 << "Kg = 70,0" << 6 << ""
                                   << 70;
        QTest::newRow("70,25") << "70,25" << QList{70} << 70 << ab70 << "Kg = 70,2" << 6 << "" << 70;
        // 74,35: no exact half in binary, but a half all the same.
        QTest::newRow("74,3+74,4") << "74,3 74,4" << QList{74, 74} << 70 << ab70 << "Kg = 74,4" << 6 << ""
                                   << 74;
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
        QVERIFY(zaehle(g.GewichtImage, g.farbeGewicht, QRect(150, g.gewichtsMittelZeile, 80, 14)) > 10);
        QTEST(testumgebung::dialoge().texte(TestDialoge::Art::Meldung).join(u'|'), "meldung");
        // Each weight on the curve, where inside the picture; a single weight draws no line.
        for (int i = 0; i < kg.size() && kg.size() > 1; ++i)
            QVERIFY(g.GewichtInPixel(kg[i]) < 0 ||
                    zaehle(g.GewichtImage, g.farbeGewicht, QRect(57 + 80 * i, g.GewichtInPixel(kg[i]) - 1, 1, 3)));
        g.MittelwertModus = true;
        g.GrafikZeichnen(z.TabellenDateiName);
        QFETCH(int, linie);
        QCOMPARE(g.GewichtImage.pixelColor(60, g.GewichtInPixel(linie)),
                 G::FarbeAufhellen(g.farbeGewicht, 30));
    }

    // March's remarks are saved on the change to April, whose own are loaded. Remarks that cannot be
    // saved are never dropped nor changed without the user's word (a failed write: tests/mainform).
    void bemerkungen_data() {
        QTest::addColumn<QString>("april"); // April's remarks file; none when empty
        QTest::addColumn<bool>("gewechselt");
        QTest::addColumn<QString>("text");      // typed for March
        QTest::addColumn<QByteArray>("vorher"); // March's remarks file; none when null
        QTest::addColumn<QList<bool>>("antworten");
        QTest::addColumn<QByteArray>("nachher"); // March's remarks file then
        const QByteArray keine, alt("alt\r\n"), neu("Neu\r\n");
        QTest::newRow("April ohne Datei") << "" << true << "Neu" << keine << QList<bool>{} << neu;
        QTest::newRow("April mit Datei") << "Tabletten neu" << true << "Neu" << keine << QList<bool>{} << neu;
        QTest::newRow("zeichen ersetzen")
            << "" << true << "Puls ↑" << alt << QList<bool>{true} << QByteArray("Puls ?\r\n");
        QTest::newRow("zeichen nicht ersetzen: monat bleibt")
            << "" << false << "Puls ↑" << alt << QList<bool>{false} << alt;
    }
    void bemerkungen() {
        QFETCH(QString, april);
        QFETCH(bool, gewechselt);
        QFETCH(QString, text);
        QFETCH(QByteArray, vorher);
        QFETCH(QList<bool>, antworten);
        const QString maerz = tabelle({{1, 1, 120, 80, 60}}),
                      aprilTabelle = tabelle({{1, 1, 121, 81, 61}}, "04");
        const QString notiz = monatstabelle::bemerkungsPfadZu(maerz);
        const QString aprilNotiz = monatstabelle::bemerkungsPfadZu(aprilTabelle);
        if (!vorher.isNull()) testumgebung::schreibe(notiz, vorher);
        if (!april.isEmpty()) textdatei::schreibeZeilen(aprilNotiz, {april});
        TMonatsGrafik g(z);
        QSignalSpy geladen(&g, &TMonatsGrafik::bemerkungenGeladen);
        QVERIFY(g.GrafikZeichnen(maerz));
        g.setzeBemerkungen(text);
        for (bool a : antworten)
            testumgebung::dialoge().fragen.push_back(a);
        QCOMPARE(g.GrafikZeichnen(aprilTabelle), gewechselt);
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Frage).size(), antworten.size());
        QCOMPARE(testumgebung::dialoge().unerwartet, QStringList());
        QTEST(testumgebung::lies(notiz), "nachher");
        QCOMPARE(z.TabellenDateiName, gewechselt ? aprilTabelle : maerz);
        QCOMPARE(QFile::exists(aprilNotiz), !april.isEmpty());
        if (gewechselt)
            QCOMPARE(geladen.last().at(0).toString(), april);
        else
            QCOMPARE(g.bemerkungen, text); // still there to be changed
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

    // Every hostile table is drawn, or refused with a message naming it while the month shown stays
    // whole (pictures, title, means, unsaved remarks, the table in use); nothing is written outside
    // the table folder, no value leaves its range.
    void feindlicheTabellen() {
        const QDir korpus(testumgebung::testdaten(QStringLiteral("feindlich")));
        const QStringList dateien = korpus.entryList({QStringLiteral("*.tab")}, QDir::Files, QDir::Name);
        QVERIFY(dateien.size() >= 20);
        const QString gut = tabelle(kZweiTage);
        QStringList gezeichnet;
        for (const QString& name : dateien) {
            const QString kopie = programm + QStringLiteral("eingang/") + name;
            testumgebung::schreibe(kopie, testumgebung::lies(korpus.filePath(name)));
            testumgebung::dialoge().leeren();
            TMonatsGrafik g(z);
            g.gewichtSichtbar = true;
            QVERIFY(g.GrafikZeichnen(gut));
            g.setzeBemerkungen(QStringLiteral("noch nicht gespeichert"));
            const auto monat = [&] {
                QStringList texte{g.Label1, z.TabellenDateiName, g.bemerkungen,
                                  QString::number(g.bemerkungenGeaendert)};
                for (const auto& zeile : g.MittelwertKasten())
                    texte << zeile.text;
                return QVariantList{g.Image, g.GewichtImage, texte, z.ListBox1,
                                    QVariant::fromValue(dateienImOrdner())};
            };
            const QVariantList vorher = monat();
            if (g.GrafikZeichnen(kopie)) {
                gezeichnet << name;
                for (const QString& t : g.AnzeigeWerteSys + g.AnzeigeWerteDia + g.AnzeigeWertePuls)
                    QVERIFY2(t.toInt() >= 0 && t.toInt() <= 999, qPrintable(name + ": " + t));
                QVERIFY(g.MonatsMittelGewicht >= 0 && g.MonatsMittelGewicht <= 311);
                QVERIFY(z.TabellenDateiName.startsWith(z.tabellenOrdner) || z.TabellenDateiName == kopie);
            } else {
                const QStringList texte = testumgebung::dialoge().alleTexte();
                QVERIFY2(texte.size() == 1 && texte.first().contains(name),
                         qPrintable(name + ": " + texte.join(u'|')));
                QVERIFY2(monat() == vorher, qPrintable(name));
            }
            // The reader for editing refuses or lists, never more than the file holds.
            Zustand e = z;
            e.ListBox1.clear();
            if (monatstabelle::liesZumBearbeiten(e, kopie, monatstabelle::KopfLesen::Nein))
                QVERIFY(monatstabelle::istMonat(e.monatText) || e.ListBox1.isEmpty());
        }
        QCOMPARE(gezeichnet, (QStringList{"doppelte_plaetze.tab", "nur_cr.tab", "nur_kopf.tab",
                                          "undefinierte_bytes.tab", "wert_plus.tab"}));
        const QString draussen = testumgebung::wurzel() + u'/';
        for (const QString& d : testumgebung::allesUnter(draussen))
            QVERIFY2((draussen + d).startsWith(programm) || !d.contains(u"korvane-a"), qPrintable(d));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/korvane-ausbruch")));
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/korvane-absolut.tab")));
    }

    // A FIFO, a 5 MB line, a file over the size or line limit: refused by name, at once, in bounded memory.
    void dateienDieKeineTabellenSind_data() {
        QTest::addColumn<QString>("art");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("5 MB eine zeile") << "lang";
        QTest::newRow("9 MB") << "gross";
        QTest::newRow("200.001 zeilen") << "zeilen";
    }
    void dateienDieKeineTabellenSind() {
        QFETCH(QString, art);
        QString pfad = programm + art + QStringLiteral(".tab");
        if (art == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        if (art == "lang")
            testumgebung::schreibe(pfad, "[Personendaten]\r\n\r\nMorgens den 01.03.2024 s=" +
                                             QByteArray(5 << 20, '1'));
        if (art == "gross") testumgebung::schreibe(pfad, QByteArray(9 << 20, '\n'));
        if (art == "zeilen") testumgebung::schreibe(pfad, QByteArray("A\n").repeated(200001));
        TMonatsGrafik g(z);
        QSignalSpy lesefehler(&g, &TMonatsGrafik::lesefehler);
        QVERIFY(!g.GrafikZeichnen(pfad));
        const QString text = testumgebung::dialoge().alleTexte().join(u'|');
        QVERIFY2(text.contains(QFileInfo(pfad).fileName()), qPrintable(text));
        QCOMPARE(lesefehler.size(), art == "lang" ? 0 : 1);
        QCOMPARE(z.TabellenDateiName, QString());
    }

    // Exact halves go to the even digit; the pulse pressure needs a diastolic value for every systolic.
    void mittelwertTexte_data() {
        QTest::addColumn<QString>("sys");
        QTest::addColumn<int>("dia80");         // that many diastolic values of 80
        QTest::addColumn<QStringList>("texte"); // systolic mean, pulse pressure
        QTest::newRow("128,125") << "128 128 128 128 128 128 128 129" << 8 << QStringList{"128,12", "48,12"};
        QTest::newRow("128,375") << "128 128 128 128 128 129 129 129" << 8 << QStringList{"128,38", "48,38"};
        QTest::newRow("zwei drittel") << "120 121 121" << 3 << QStringList{"120,67", "40,67"};
        const QString zehn = QStringList(10, "124").join(u' ');
        QTest::newRow("pulsdruck 10 und 10") << zehn << 10 << QStringList{"124,00", "44,00"};
        QTest::newRow("pulsdruck 10 und 9") << zehn << 9 << QStringList{"124,00", ""};
    }
    void mittelwertTexte() {
        QFETCH(QString, sys);
        QFETCH(int, dia80);
        const auto texte = G::berechneMittelwerte(sys.split(u' '), QStringList(dia80, "80"), {}).texte;
        QTEST(QStringList({texte.sys, texte.pulsdruck}), "texte");
    }
    // The year comes from the table, never from four characters of its file name.
    void jahrFeld_data() {
        QTest::addColumn<QString>("datum");
        QTest::addColumn<bool>("lesungen");
        QTest::addColumn<QString>("jahr");
        QTest::newRow("x.tab mit lesungen") << "Mai 2023" << true << "2024";
        QTest::newRow("x.tab nur kopf") << "Mai 2023" << false << "2023";
        QTest::newRow("ohne alles") << "" << false << QString::number(QDate::currentDate().year());
    }
    void jahrFeld() {
        QFETCH(QString, datum);
        QFETCH(bool, lesungen);
        const QString pfad = programm + "woanders/x.tab";
        QStringList zeilen{"[Personendaten]", "BenutzerName=Anna", "Datum=" + datum, ""};
        if (lesungen) zeilen << "Morgens den 05.03.2024 Z=07:30 s=1, d=1, p=1, Gewicht=0";
        QDir().mkpath(programm + "woanders");
        textdatei::schreibeZeilen(pfad, zeilen);
        TMonatsGrafik g(z);
        QSignalSpy jahr(&g, &TMonatsGrafik::jahrFeldGesetzt);
        QVERIFY(g.GrafikZeichnen(pfad));
        QCOMPARE(jahr.size(), 1);
        QTEST(jahr.first().first().toString(), "jahr");
    }

    // A remarks file that cannot be read is shown as such and never written over.
    void bemerkungsdateiUnlesbar() {
        const QString maerz = tabelle({{1, 1, 120, 80, 60}});
        const QString notiz = monatstabelle::bemerkungsPfadZu(maerz);
        testumgebung::schreibe(notiz, QByteArray(2 << 20, 'x'));
        TMonatsGrafik g(z);
        QSignalSpy geladen(&g, &TMonatsGrafik::bemerkungenGeladen);
        QVERIFY(g.GrafikZeichnen(maerz));
        QCOMPARE(geladen.last().at(1).toBool(), false);
        QVERIFY(testumgebung::dialoge().texte(TestDialoge::Art::Warnung).value(0).contains(notiz));
        g.setzeBemerkungen(QStringLiteral("neu"));
        QVERIFY(!g.bemerkungenSpeichern());
        QCOMPARE(QFileInfo(notiz).size(), qint64(2 << 20));
    }

    void vorlagen_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QSize>("seiten"); // the size a BMP header claims
        QTest::addColumn<QString>("grund");
        QTest::newRow("fehlt") << "fehlt" << QSize() << "";
        QTest::newRow("fifo") << "fifo" << QSize() << "";
        QTest::newRow("kein bild") << "text" << QSize() << "kein lesbares Bild";
        QTest::newRow("2001 breit") << "bmp" << QSize(2001, 464) << "2001 \u00D7 464 Pixeln zu gro\u00DF";
        QTest::newRow("2000 ist noch eine") << "png" << QSize(2000, 2000) << "";
    }
    // An unusable template gives way to the built-in one, with a message; one over 2000 x 2000 px unread.
    void vorlagen() {
        QFETCH(QString, art);
        QFETCH(QSize, seiten);
        QFETCH(QString, grund);
        const QString pfad = programm + "Vorlage.bmp";
        if (art == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        if (art == "text") testumgebung::schreibe(pfad, "kein Bild");
        if (art == "png") {
            QImage weiss(seiten, QImage::Format_RGB32);
            weiss.fill(Qt::white);
            QVERIFY(weiss.save(pfad, "PNG"));
        }
        if (art == "bmp") { // a 1 x 1 BMP whose header claims the size
            QBuffer puffer;
            puffer.open(QIODevice::WriteOnly);
            QImage(1, 1, QImage::Format_RGB32).save(&puffer, "BMP");
            for (auto [stelle, seite] : {std::pair{18, seiten.width()}, std::pair{22, seiten.height()}})
                puffer.buffer().replace(stelle, 4, reinterpret_cast<const char*>(&seite), 4);
            testumgebung::schreibe(pfad, puffer.buffer());
        }
        z.grafikPfad = pfad;
        TMonatsGrafik g(z);
        QCOMPARE(g.vorlageGrafik.size(), art == "png" ? seiten : QSize(570, 464));
        const QStringList texte = testumgebung::dialoge().alleTexte();
        QCOMPARE(texte.size(), art == "fehlt" || art == "png" ? 0 : 1);
        if (!texte.isEmpty())
            QVERIFY2(texte.first().contains(pfad) && texte.first().contains(grund) &&
                         texte.first().contains("eingebaute"),
                     qPrintable(texte.first()));
    }

    void eingebauteVorlagen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<QList<int>>("zeilen"); // grid rows met down a column between two days
        QList<int> mmHg;                        // 220 .. 20 mmHg
        for (int y = 61; y <= 461; y += 20)
            mmHg << y;
        QTest::newRow("Vorlage") << "Vorlage.bmp" << QSize(570, 464) << mmHg;
        QTest::newRow("GewichtVorlage") << "GewichtVorlage.bmp" << QSize(570, 136) << QList<int>{7, 42, 77, 112};
        QTest::newRow("Header") << "Header.bmp" << QSize(570, 21) << QList<int>();
    }
    // The built-in templates: the curves are drawn straight onto them, so they are 24-bit bitmaps
    // whose grid sits on the chart's value rows and its day columns, one pixel wide at 41 + 16·(d − 1).
    void eingebauteVorlagen() {
        QFETCH(QString, name);
        const QByteArray roh = testumgebung::lies(":/vorlagen/" + name);
        QVERIFY(roh.startsWith("BM") && roh.size() > 54);
        QCOMPARE(qFromLittleEndian<quint16>(roh.constData() + 28), quint16(24));
        const QImage bild = QImage::fromData(roh).convertToFormat(QImage::Format_RGB32);
        QTEST(bild.size(), "groesse");
        QFETCH(QList<int>, zeilen);
        // The legend strip has no grid; its strokes are drawn at row 11, into areas that must stay blank.
        if (zeilen.isEmpty()) {
            for (int links : {12, 147, 287, 437})
                for (int y = 3; y < 18; ++y)
                    for (int x = links; x < links + 47; ++x)
                        QVERIFY(bild.pixel(x, y) == bild.pixel(links, 3));
            return;
        }
        const QRgb grund = bild.pixel(49, bild.height() - 1);
        QList<int> gefunden;
        for (int y = 0; y < bild.height(); ++y)
            if (bild.pixel(49, y) != grund) gefunden << y;
        QCOMPARE(gefunden, zeilen);
        for (int x = 41, y = zeilen[0] + 10; x <= 521; x += 16)
            QVERIFY2(qGray(bild.pixel(x, y)) < qGray(grund) && bild.pixel(x - 1, y) == grund &&
                         bild.pixel(x + 1, y) == grund && bild.pixel(x + 8, y) == grund,
                     qPrintable(QString::number(x)));
    }

    // A table from elsewhere is filed under its canonical name, never over a table already there.
    void ablage() {
        const QString fremd = schreibeTabelle(programm + "x/x.tab", {{1, 1, 120, 80, 60}}, "03", {}, "Berta");
        const QString kanonisch = z.tabellenOrdner + QStringLiteral("2024/Berta_03_2024.tab");
        const QByteArray vorher = testumgebung::lies(schreibeTabelle(kanonisch, {}, "03", {"alt"}, "Berta"));
        TMonatsGrafik g(z);
        g.GrafikZeichnen(fremd);
        QCOMPARE(z.TabellenDateiName, kanonisch);
        QCOMPARE(testumgebung::lies(kanonisch), vorher);
    }

    // An export reads the same values whether the month was drawn or only collected, for every table.
    void sammleWerteWieGezeichnet() {
        QStringList tabellen;
        for (QDirIterator it(QStringLiteral(KORVANE_TESTDATEN), {"*.tab"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            tabellen << it.next();
        tabellen << tabelle(
            {{5, 1, 128, 85, 70, "70,5"}, {5, 4, 129, 86, 71, "72"}, {7, 1, 0, 0, 0}, {31, 3, 140, 90, 75}});
        int verglichen = 0;
        for (const QString& t : std::as_const(tabellen))
            for (bool mittel : {false, true}) {
                TMonatsGrafik gezeichnet(z);
                gezeichnet.MittelwertModus = mittel;
                if (!gezeichnet.GrafikZeichnen(t)) continue;
                // The table drawn: the given one, or its month's own table that was already filed.
                const auto anzeige = monatstabelle::liesZurAnzeige(z.TabellenDateiName, nullptr);
                QVERIFY(anzeige);
                TMonatsGrafik gesammelt(z);
                gesammelt.sammleWerte(*anzeige);
                const auto werte = [](const TMonatsGrafik& g) {
                    return QList<QStringList>{g.TagesWerteSys, g.TagesWerteDia, g.TagesWertePuls,
                                              mittelTexte(g)
                                                  << QString::number(g.MonatsMittelGewicht, 'g', 17)};
                };
                QCOMPARE(werte(gesammelt), werte(gezeichnet));
                ++verglichen;
            }
        testumgebung::dialoge().leeren(); // the hostile tables' messages belong to other tests
        QVERIFY(verglichen >= 10);
    }
};

KORVANE_TEST_MAIN(TestGrafik)
#include "test_grafik.moc"
