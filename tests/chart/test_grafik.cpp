// The month chart drawn from real table files on the built-in templates.
#include "testumgebung.h"

#include "chart/tmonatsgrafik.h"
#include "platform/textdatei.h"
#include "storage/registry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>

using Art = TestDialoge::Art;

namespace {

const char* const kWorte[4] = {"Morgens", "Messung2", "Messung3", "Abends"};

struct Messwert {
    int tag, slot, sys, dia, puls;
    QString gewicht = QStringLiteral("0");
};

QString messzeile(const Messwert& w, const QString& monat = QStringLiteral("03")) {
    return QStringLiteral("%1 den %2.%3.2024 Z=07:30 s=%4, d=%5, p=%6, Gewicht=%7")
        .arg(QLatin1String(kWorte[w.slot - 1]))
        .arg(w.tag, 2, 10, QLatin1Char('0'))
        .arg(monat)
        .arg(w.sys)
        .arg(w.dia)
        .arg(w.puls)
        .arg(w.gewicht);
}

QStringList kopf(const QString& name = QStringLiteral("Anna"),
                 const QString& datum = QStringLiteral("M\u00E4rz 2024")) {
    return {QStringLiteral("[Personendaten]"),
            QStringLiteral("BenutzerName=") + name,
            QStringLiteral("Datum=") + datum,
            QStringLiteral("1M=1"),
            QStringLiteral("2M=0"),
            QStringLiteral("3M=1"),
            QStringLiteral("4M=1"),
            QString()};
}

int zaehle(const QImage& bild, const QRect& bereich, const QColor& farbe) {
    int n = 0;
    const QRect r = bereich.intersected(bild.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += bild.pixelColor(x, y).rgb() == farbe.rgb();
    return n;
}

// The colour lies in column x within one pixel of row y.
bool spalteHat(const QImage& bild, int x, int y, const QColor& farbe) {
    return zaehle(bild, QRect(x, y - 1, 1, 3), farbe) > 0;
}

} // namespace

Q_DECLARE_METATYPE(Messwert)

class TestGrafik : public QObject {
    Q_OBJECT

    Zustand z;
    QString programm;

    QString tabelle(const QList<Messwert>& werte, const QString& monat = QStringLiteral("03"),
                    const QString& name = QStringLiteral("Anna")) {
        QStringList zeilen = kopf(name);
        for (const Messwert& w : werte)
            zeilen << messzeile(w, monat);
        const QString pfad = monatstabelle::tabellenPfad(z, name, monat, QStringLiteral("2024"));
        QDir().mkpath(z.tabellenOrdner + QStringLiteral("2024"));
        textdatei::schreibeZeilen(pfad, zeilen);
        return pfad;
    }

    QStringList dateienImOrdner() const {
        QStringList liste;
        QDirIterator it(programm, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString datei = it.next();
            liste << datei + u' ' + QString::fromLatin1(testumgebung::lies(datei).toHex());
        }
        liste.sort();
        return liste;
    }

private Q_SLOTS:
    void init() {
        programm = testumgebung::neuerProgrammOrdner(QString::fromLatin1(QTest::currentTestFunction()));
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(programm);
        z = Zustand();
        z.programmOrdner = z.datenOrdner = programm;
        z.tabellenOrdnerName = QStringLiteral("Korvane-Daten-Galerie/");
        z.tabellenOrdner = programm + z.tabellenOrdnerName;
        z.benutzerName = QStringLiteral("Anna");
        testumgebung::dialoge().leeren();
    }

    void wertInPixel_data() {
        QTest::addColumn<int>("wert");
        QTest::addColumn<int>("zeile");
        const int faelle[][2] = {{-5, 461},  {0, 461},   {19, 461},  {20, 461},  {95, 311},
                                 {120, 261}, {128, 245}, {129, 243}, {130, 241}, {219, 63},
                                 {220, 61},  {221, 40},  {300, 40},  {5000, 40}, {9999, 40}};
        for (const auto& f : faelle)
            QTest::addRow("%d", f[0]) << f[0] << f[1];
    }
    void wertInPixel() {
        QFETCH(int, wert);
        QTEST(TMonatsGrafik::WertInPixel(wert), "zeile");
    }

    void spalten_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("x");
        QTest::newRow("Tag 1 morgens") << 1 << 1 << 41;
        QTest::newRow("Tag 2 Messung2") << 2 << 2 << 61;
        QTest::newRow("Tag 3 abends") << 3 << 4 << 85;
        QTest::newRow("Tag 31 Messung3") << 31 << 3 << 529;
        QTest::newRow("Tag 31 abends") << 31 << 4 << 533;
    }
    void spalten() {
        QFETCH(int, tag);
        QFETCH(int, slot);
        QTEST(TMonatsGrafik::TagX(tag) + TMonatsGrafik::SlotVersatz(slot), "x");
    }

    void farben_data() {
        QTest::addColumn<QString>("einstellung");
        QTest::addColumn<QColor>("farbe");
        QTest::addColumn<QColor>("aufgehellt");
        QTest::newRow("blau") << "16711680" << QColor(0, 0, 255) << QColor(77, 77, 255);
        QTest::newRow("gruen") << "32768" << QColor(0, 128, 0) << QColor(77, 167, 77);
        QTest::newRow("rot mit blau") << "8388863" << QColor(255, 0, 128) << QColor(255, 77, 167);
        QTest::newRow("leer") << "" << QColor(Qt::black) << QColor(77, 77, 77);
        QTest::newRow("keine Zahl") << "blau" << QColor(Qt::black) << QColor(77, 77, 77);
        QTest::newRow("zu gross") << "33554432" << QColor(Qt::black) << QColor(77, 77, 77);
    }
    void farben() {
        QFETCH(QString, einstellung);
        QFETCH(QColor, farbe);
        QCOMPARE(TMonatsGrafik::farbeAusText(einstellung), farbe);
        QTEST(TMonatsGrafik::FarbeAufhellen(farbe, 30), "aufgehellt");
    }
    void abdunkeln() {
        QCOMPARE(TMonatsGrafik::FarbeAufhellen(QColor(100, 201, 0), -30), QColor(70, 140, 0));
    }

    void runden_data() {
        QTest::addColumn<double>("wert");
        QTest::addColumn<int>("stellen");
        QTest::addColumn<double>("aufgerundet");
        QTest::addColumn<double>("ganzzahl");
        QTest::newRow("74,5") << 74.5 << 0 << 75.0 << 75.0;
        QTest::newRow("74,49") << 74.49 << 0 << 74.0 << 74.0;
        QTest::newRow("2,345 auf 2 Stellen") << 2.345 << 2 << 2.35 << 2.0;
        QTest::newRow("0,49") << 0.49 << 0 << 0.0 << 0.0;
        QTest::newRow("0,5") << 0.5 << 0 << 1.0 << 1.0;
    }
    void runden() {
        QFETCH(double, wert);
        QFETCH(int, stellen);
        QTEST(TMonatsGrafik::RundeAuf(wert, stellen), "aufgerundet");
        QTEST(TMonatsGrafik::RundeGanzzahl(wert), "ganzzahl");
    }

    void mittelwertTexte_data() {
        QTest::addColumn<QStringList>("sys");
        QTest::addColumn<QStringList>("dia");
        QTest::addColumn<QString>("sysText");
        QTest::addColumn<QString>("pulsdruck");
        const QStringList zehn{"120", "121", "122", "123", "124", "125", "126", "127", "128", "129"};
        const QStringList zehnDia{"80", "80", "80", "80", "80", "80", "80", "80", "80", "80"};
        QTest::newRow("gleich lang") << zehn << zehnDia << "124,50"
                                     << "44,50";
        QTest::newRow("10 und 9") << zehn << zehnDia.mid(1) << "124,50"
                                  << "";
        QTest::newRow("ohne Tausenderpunkt")
            << QStringList{"1200", "1201"} << QStringList{"0", "0"} << "1200,50"
            << "1200,50";
    }
    void mittelwertTexte() {
        QFETCH(QStringList, sys);
        QFETCH(QStringList, dia);
        const auto m = TMonatsGrafik::berechneMittelwerte(sys, dia, dia);
        QTEST(m.texte.sys, "sysText");
        QTEST(m.texte.pulsdruck, "pulsdruck");
    }

    void tagesEnden_data() {
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QStringList>("enden");
        const QStringList k = kopf(QStringLiteral("Dr. Anna"));
        const QString t1 = messzeile({1, 1, 120, 80, 60}), t1b = messzeile({1, 4, 121, 80, 60}),
                      t3 = messzeile({3, 1, 122, 80, 60});
        QTest::newRow("zwei Tage") << (k + QStringList{t1, t1b, t3}) << QStringList{"9", "10"};
        QTest::newRow("Leerzeile am Ende") << (k + QStringList{t1, t3, QString()}) << QStringList{"8", "9"};
        QTest::newRow("keine Messung") << k << QStringList{"6"};
    }
    void tagesEnden() {
        QFETCH(QStringList, zeilen);
        QTEST(TMonatsGrafik::tagesEnden(zeilen), "enden");
    }

    void kurven_data() {
        QTest::addColumn<int>("messgroesse");
        QTest::newRow("systolisch") << 0;
        QTest::newRow("diastolisch") << 1;
        QTest::newRow("Puls") << 2;
    }
    void kurven() {
        QFETCH(int, messgroesse);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle({{1, 1, 140, 90, 70}, {3, 4, 130, 80, 60}}));
        const QColor farbe = QList<QColor>{g.farbeSys, g.farbeDia, g.farbePuls}.at(messgroesse);
        const int von = TMonatsGrafik::WertInPixel(QList<int>{140, 90, 70}.at(messgroesse));
        const int bis = TMonatsGrafik::WertInPixel(QList<int>{130, 80, 60}.at(messgroesse));
        for (int x = 41; x <= 85; ++x) {
            const int y = von + ((bis - von) * (x - 41) + 22) / 44;
            QVERIFY2(spalteHat(g.Image, x, y, farbe), qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
        }
        QCOMPARE(zaehle(g.Image, QRect(90, 100, 480, 364), farbe), 0); // the means box sits above
        QVERIFY(g.hinweisText.isEmpty());
        QCOMPARE(g.Label1, QStringLiteral("Korvanemesswerte  M\u00E4rz 2024  Anna"));
    }

    void wenigeDatensaetze_data() {
        QTest::addColumn<QList<Messwert>>("werte");
        QTest::addColumn<QString>("hinweis");
        QTest::newRow("einer") << QList<Messwert>{{5, 1, 140, 90, 70}}
                               << "Nur 1 Datensatz vorhanden. Zu wenig um ihn als Farbkurve anzuzeigen!";
        QTest::newRow("keiner") << QList<Messwert>{}
                                << "   Kein Datensatz vorhanden. Farbkurve kann nicht angezeigt werden!    ";
    }
    void wenigeDatensaetze() {
        QFETCH(QList<Messwert>, werte);
        TMonatsGrafik g(z);
        QSignalSpy jahr(&g, &TMonatsGrafik::jahrFeldGesetzt);
        const QString pfad = tabelle(werte);
        g.GrafikZeichnen(pfad);
        QTEST(g.hinweisText, "hinweis");
        QCOMPARE(jahr.size(), 1);
        QCOMPARE(jahr.first().at(0).toString(), QStringLiteral("2024"));
        QCOMPARE(zaehle(g.Image, QRect(0, 0, 570, 464), g.farbeSys), 0); // no curve
        QVERIFY(zaehle(g.Image, QRect(45, 170, 400, 18), QColor(255, 0, 0)) > 20);
        QVERIFY(g.MittelwertKasten().isEmpty());
        QCOMPARE(z.ListBox1.size(), werte.size());
        QCOMPARE(z.TabellenDateiName, pfad);
    }

    void mittelwertKasten() {
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle({{5, 1, 128, 85, 70}, {5, 4, 129, 86, 71}}));
        const QStringList erwartet{"Mittelwerte:", "Syst.= 128,50", "Diast.= 85,50", "Puls= 70,50",
                                   "Pulsdr.= 43,00"};
        const QList<QColor> farben{Qt::black, QColor(0, 0, 255), QColor(0, 128, 0), QColor(255, 0, 128),
                                   QColor(255, 128, 0)};
        const auto kasten = g.MittelwertKasten();
        QCOMPARE(kasten.size(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(kasten.at(i).text, erwartet.at(i));
            QCOMPARE(kasten.at(i).farbe, farben.at(i));
            QCOMPARE(kasten.at(i).ort.y(), 68);
            const QRect bereich(kasten.at(i).ort, QSize(80, 14));
            QVERIFY2(zaehle(g.Image, bereich, farben.at(i)) > 10, qPrintable(erwartet.at(i)));
        }
        QCOMPARE(g.MonatsMittelTexte.sys, QStringLiteral("128,50"));
        QCOMPARE(g.MonatsMittelTexte.pulsdruck, QStringLiteral("43,00"));
        QCOMPARE(g.TagesWerteSys, QStringList({"05_128", "05_129"}));
        QCOMPARE(z.ListBox1.at(0), monatstabelle::listeneintrag(messzeile({5, 1, 128, 85, 70})));
    }

    void tagesMittel_data() {
        QTest::addColumn<int>("erster");
        QTest::addColumn<int>("zweiter");
        QTest::addColumn<int>("mittel"); // -1: no point
        QTest::newRow("121 und 124") << 121 << 124 << 122;
        QTest::newRow("120 und 0") << 120 << 0 << 120;
        QTest::newRow("nur Nullen") << 0 << 0 << -1;
    }
    void tagesMittel() {
        QFETCH(int, erster);
        QFETCH(int, zweiter);
        QFETCH(int, mittel);
        TMonatsGrafik g(z);
        const QString pfad = tabelle({{7, 1, erster, 80, 60}, {7, 4, zweiter, 80, 60}});
        g.GrafikZeichnen(pfad);
        g.ueberlagerung = g.MittelwertModus = true;
        g.GrafikZeichnen(pfad);
        const QStringList erwartet = mittel < 0 ? QStringList()
                                                : QStringList{QStringLiteral("%1 %2")
                                                                  .arg(TMonatsGrafik::TagX(7) + 12)
                                                                  .arg(TMonatsGrafik::WertInPixel(mittel))};
        QCOMPARE(g.TagesMittelPunkteSys, erwartet);
        QCOMPARE(g.TagesMittelPunkteDia.size(), 1);
    }

    void mittelwertLinien_data() {
        QTest::addColumn<int>("messgroesse");
        QTest::newRow("systolisch") << 0;
        QTest::newRow("diastolisch") << 1;
        QTest::newRow("Puls") << 2;
    }
    void mittelwertLinien() {
        QFETCH(int, messgroesse);
        // Means 128,2 / 80,2 / 60,2 on days 3..20: each line lies at the row of the next whole value.
        const QString pfad = tabelle({{3, 2, 128, 80, 60},
                                      {8, 1, 128, 80, 60},
                                      {8, 4, 128, 80, 60},
                                      {15, 3, 129, 81, 61},
                                      {20, 1, 128, 80, 60}});
        TMonatsGrafik g(z);
        g.GrafikZeichnen(pfad);
        g.ueberlagerung = true;
        g.GrafikVorlageLaden();
        g.GrafikZeichnen(pfad);
        g.MittelwertModus = true;
        g.GrafikZeichnen(pfad);
        QCOMPARE(g.monatsMittelSys, 128.2);
        const QColor kurve = QList<QColor>{g.farbeSys, g.farbeDia, g.farbePuls}.at(messgroesse);
        QVERIFY(zaehle(g.Image, QRect(0, 100, 570, 364), kurve) > 100); // the overlay lies on the curves
        const QColor farbe = TMonatsGrafik::FarbeAufhellen(kurve, 30);
        const int y = TMonatsGrafik::WertInPixel(QList<int>{129, 81, 61}.at(messgroesse));
        const int x1 = TMonatsGrafik::TagX(3) + 4, x2 = TMonatsGrafik::TagX(20);
        const QStringList punkte =
            QList<QStringList>{g.TagesMittelPunkteSys, g.TagesMittelPunkteDia, g.TagesMittelPunktePuls}.at(
                messgroesse);
        QCOMPARE(punkte.size(), 4);
        QCOMPARE(punkte.first().section(u' ', 0, 0).toInt(), x1);
        QCOMPARE(punkte.last().section(u' ', 0, 0).toInt(), x2);
        for (int x = x1 - 6; x <= x2 - 3; ++x)
            QVERIFY2(g.Image.pixelColor(x, y) == farbe, qPrintable(QString::number(x)));
        QCOMPARE(zaehle(g.Image, QRect(0, y - 2, x1 - 6, 5), farbe), 0);
        QCOMPARE(zaehle(g.Image, QRect(x2 - 2, y - 2, 100, 5), farbe), 0);
        QCOMPARE(zaehle(g.Image, QRect(0, y + 2, 570, 1), farbe), 0); // not the row of 128
    }

    void gewicht_data() {
        QTest::addColumn<QStringList>("gewichte");
        QTest::addColumn<int>("fenster");
        QTest::addColumn<QStringList>("skala");
        QTest::addColumn<int>("textZeile");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("72 bis 80") << QStringList{"72", "76,5", "80"} << 70
                                   << QStringList{"85", "80", "75", "70"} << 6 << "";
        QTest::newRow("75 bis 90") << QStringList{"75", "90"} << 75 << QStringList{"90", "85", "80", "75"}
                                   << 122 << "";
        QTest::newRow("74 und 90") << QStringList{"74", "90"} << 70 << QStringList{"85", "80", "75", "70"}
                                   << 122 << "Nicht eingeordnet! 74  90";
        QTest::newRow("3 bis 9") << QStringList{"3", "9"} << 0 << QStringList{"15", "10", "5"} << 6 << "";
        QTest::newRow("296 bis 305") << QStringList{"296", "305"} << 295
                                     << QStringList{"310", "305", "300", "295"} << 6 << "";
    }
    void gewicht() {
        QFETCH(QStringList, gewichte);
        QFETCH(int, fenster);
        QFETCH(QString, meldung);
        QList<Messwert> werte;
        for (int i = 0; i < gewichte.size(); ++i)
            werte.append({2 + 5 * i, 1, 120, 80, 60, gewichte.at(i)});
        TMonatsGrafik g(z);
        g.gewichtSichtbar = true;
        g.GrafikZeichnen(tabelle(werte));
        QCOMPARE(g.gewichtFensterStart, fenster);
        QCOMPARE(g.gewichtFensterPasst, meldung.isEmpty());
        QStringList skala;
        for (const auto& b : TMonatsGrafik::gewichtsSkala(fenster))
            skala << b.text;
        QTEST(skala, "skala");
        QTEST(g.gewichtsMittelZeile, "textZeile");
        QCOMPARE(testumgebung::dialoge().texte(Art::Meldung),
                 meldung.isEmpty() ? QStringList() : QStringList{meldung});
        for (const Messwert& w : werte) {
            const int kg = int(TMonatsGrafik::RundeAuf(QLocale().toDouble(w.gewicht), 0));
            const int y = g.GewichtInPixel(kg);
            QCOMPARE(y, 112 - 7 * (kg - fenster));
            if (y >= 0) QVERIFY(spalteHat(g.GewichtImage, TMonatsGrafik::TagX(w.tag), y, g.farbeGewicht));
        }
        QVERIFY(zaehle(g.GewichtImage, QRect(150, g.gewichtsMittelZeile, 80, 14), g.farbeGewicht) > 10);
    }

    void gewichtsListe_data() {
        QTest::addColumn<QString>("gewicht");
        QTest::addColumn<QStringList>("liste");
        QTest::newRow("74,5") << "74,5" << QStringList{"105 75", "105 75"};
        QTest::newRow("74,49") << "74,49" << QStringList{"105 74", "105 74"};
        QTest::newRow("0") << "0" << QStringList{};
        QTest::newRow("0,4") << "0,4" << QStringList{};
    }
    void gewichtsListe() {
        QFETCH(QString, gewicht);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle({{5, 1, 120, 80, 60, gewicht}}));
        QTEST(g.GewichtsListe, "liste");
    }

    void gewichtMittel() {
        const QString pfad = tabelle({{4, 1, 120, 80, 60, "74"}, {9, 4, 122, 82, 62, "75"}});
        TMonatsGrafik g(z);
        g.gewichtSichtbar = true;
        g.GrafikZeichnen(pfad);
        QCOMPARE(g.MonatsMittelGewicht, 74.5);
        QCOMPARE(g.gewichtsMittelText, QStringLiteral("Kg = 74,5"));
        g.ueberlagerung = g.MittelwertModus = true;
        g.GrafikZeichnen(pfad);
        const QColor hell = TMonatsGrafik::FarbeAufhellen(g.farbeGewicht, 30);
        const int y = g.GewichtInPixel(75);
        const int von = TMonatsGrafik::TagX(4) + 3, bis = TMonatsGrafik::TagX(9) + 12 - 3;
        for (int x = von; x <= bis; ++x)
            QCOMPARE(g.GewichtImage.pixelColor(x, y), hell);
        QCOMPARE(zaehle(g.GewichtImage, QRect(0, y - 2, von, 5), hell), 0);
        QCOMPARE(zaehle(g.GewichtImage, QRect(bis + 1, y - 2, 570, 5), hell), 0);
    }

    // Drawing a month after another gives exactly the pictures of drawing it alone.
    void keineResteDesVormonats() {
        const QString maerz = tabelle({{1, 1, 150, 95, 80, "90"}, {28, 4, 110, 70, 50, "95"}});
        const QString april = tabelle({{3, 1, 125, 82, 66, "71"}, {9, 2, 131, 84, 64, "73"}}, "04");
        const QString mai = tabelle({{3, 1, 125, 82, 66}, {9, 2, 131, 84, 64}}, "05");
        for (const QString& pfad : {april, mai}) {
            TMonatsGrafik allein(z), danach(z);
            allein.gewichtSichtbar = danach.gewichtSichtbar = true;
            allein.GrafikZeichnen(pfad);
            danach.GrafikZeichnen(maerz);
            danach.GrafikZeichnen(pfad);
            QCOMPARE(danach.Image, allein.Image);
            QCOMPARE(danach.GewichtImage, allein.GewichtImage);
            QCOMPARE(danach.TagesWerteSys, allein.TagesWerteSys);
            QCOMPARE(danach.GewichtsListe, allein.GewichtsListe);
        }
        TMonatsGrafik g(z);
        g.GrafikZeichnen(mai);
        QCOMPARE(g.GewichtImage, g.vorlageGewicht);
    }

    void bemerkungen() {
        const QString maerz = tabelle({{1, 1, 120, 80, 60}});
        const QString april = tabelle({}, "04"); // no reading: the table keeps its own name
        textdatei::schreibeZeilen(monatstabelle::bemerkungsPfadZu(maerz), {"Erste Zeile", "zweite"});
        TMonatsGrafik g(z);
        QSignalSpy geladen(&g, &TMonatsGrafik::bemerkungenGeladen);
        g.GrafikZeichnen(maerz);
        QCOMPARE(g.bemerkungen, QStringLiteral("Erste Zeile\nzweite"));
        g.setzeBemerkungen(g.bemerkungen); // the box echoing the text is no edit
        QVERIFY(!g.bemerkungenGeaendert);
        g.setzeBemerkungen(QStringLiteral("Neue Tabletten"));
        QVERIFY(g.bemerkungenGeaendert);
        g.GrafikZeichnen(april);
        QCOMPARE(testumgebung::lies(monatstabelle::bemerkungsPfadZu(maerz)),
                 QByteArray("Neue Tabletten\r\n"));
        QVERIFY(!QFile::exists(monatstabelle::bemerkungsPfadZu(april)));
        QCOMPARE(g.bemerkungen, QString());
        QVERIFY(!g.bemerkungenGeaendert);
        QCOMPARE(geladen.size(), 2);
        QCOMPARE(geladen.last().at(0).toString(), QString());
        g.setzeBemerkungen(QStringLiteral("April"));
        QVERIFY(g.bemerkungenSpeichern());
        QCOMPARE(testumgebung::lies(monatstabelle::bemerkungsPfadZu(april)), QByteArray("April\r\n"));
    }

    void kaputteTabelle_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("systolisch") << "Morgens den 02.05.2024 Z=07:30 s=12a, d=80, p=60, Gewicht=0"
                                    << "\"12a\" ist kein g\u00FCltiger Ganzzahlwert.";
        QTest::newRow("Gewicht") << "Abends den 02.05.2024 Z=07:30 s=120, d=80, p=60, Gewicht=7x"
                                 << "\"7x\" ist kein g\u00FCltiger Gleitkommawert.";
    }
    void kaputteTabelle() {
        QFETCH(QString, zeile);
        QFETCH(QString, meldung);
        const QString gut = tabelle({{1, 1, 140, 90, 70, "80"}, {3, 4, 130, 80, 60, "81"}});
        const QString kaputt = programm + QStringLiteral("anderswo/kaputt.tab");
        QDir().mkpath(programm + QStringLiteral("anderswo"));
        textdatei::schreibeZeilen(kaputt, kopf() + QStringList{messzeile({1, 1, 120, 80, 60}), zeile});
        TMonatsGrafik g(z);
        g.GrafikZeichnen(gut);
        g.setzeBemerkungen(QStringLiteral("noch nicht gespeichert"));
        const QStringList listeVorher = z.ListBox1;
        const QStringList dateienVorher = dateienImOrdner();
        testumgebung::dialoge().leeren();

        g.GrafikZeichnen(kaputt);
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung), QStringList{meldung});
        QCOMPARE(g.Image, g.vorlageGrafik);
        QCOMPARE(g.GewichtImage, g.vorlageGewicht);
        for (const QStringList* liste :
             {&g.AnzeigeWerteSys, &g.TagesWerteSys, &g.MonatsWerteSys, &g.GewichtsListe})
            QVERIFY(liste->isEmpty());
        QVERIFY(g.MittelwertKasten().isEmpty());
        QCOMPARE(z.TabellenDateiName, gut);
        QCOMPARE(z.ListBox1, listeVorher);
        QVERIFY(g.bemerkungenGeaendert);
        QCOMPARE(dateienImOrdner(), dateienVorher);
    }

    void unlesbareTabelle() {
        // A folder with a table's name exists but cannot be read as a file.
        const QString pfad = monatstabelle::tabellenPfad(z, "Anna", "03", "2024");
        QDir().mkpath(pfad);
        TMonatsGrafik g(z);
        QSignalSpy fehler(&g, &TMonatsGrafik::lesefehler);
        g.GrafikZeichnen(pfad);
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung),
                 QStringList{QStringLiteral("Fehler beim Lesen der Datei: ") + pfad});
        QCOMPARE(fehler.size(), 1);
        QCOMPARE(g.Image, g.vorlageGrafik);
    }

    void fehlendeTabelle() {
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle({{1, 1, 120, 80, 60}, {2, 1, 130, 85, 65}}));
        const QImage vorher = g.Image;
        QSignalSpy gezeichnet(&g, &TMonatsGrafik::gezeichnet);
        g.GrafikZeichnen(programm + QStringLiteral("fehlt.tab"));
        QCOMPARE(gezeichnet.size(), 0);
        QCOMPARE(g.Image, vorher);
        QCOMPARE(z.ListBox1.size(), 2);
    }

    void ablage_data() {
        QTest::addColumn<bool>("schonDa");
        QTest::newRow("neu") << false;
        QTest::newRow("vorhanden") << true;
    }
    void ablage() {
        QFETCH(bool, schonDa);
        const QString fremd = programm + QStringLiteral("anderswo/x.tab");
        QDir().mkpath(programm + QStringLiteral("anderswo"));
        textdatei::schreibeZeilen(
            fremd, kopf(QStringLiteral("Berta")) +
                       QStringList{messzeile({1, 1, 120, 80, 60}), messzeile({2, 1, 121, 81, 61})});
        const QString kanonisch = z.tabellenOrdner + QStringLiteral("2024/Berta_03_2024.tab");
        if (schonDa) {
            QDir().mkpath(z.tabellenOrdner + QStringLiteral("2024"));
            testumgebung::schreibe(kanonisch, "alt");
        }
        TMonatsGrafik g(z);
        g.GrafikZeichnen(fremd);
        QCOMPARE(z.TabellenDateiName, kanonisch);
        QCOMPARE(z.benutzerName, QStringLiteral("Berta"));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Berta"));
        QCOMPARE(testumgebung::lies(kanonisch), schonDa ? QByteArray("alt") : testumgebung::lies(fremd));
        QCOMPARE(z.slotAktiv, (std::array<bool, 4>{true, false, true, true}));
        QCOMPARE(z.letzteMesszeile, messzeile({2, 1, 121, 81, 61}));
    }

    // A line whose day has no column is listed for the entry dialog but not drawn.
    void tagOhneSpalte() {
        QStringList zeilen = kopf();
        zeilen << messzeile({2, 1, 120, 80, 60})
               << QStringLiteral("Morgens den 00.03.2024 Z=07:30 s=300, d=80, p=60")
               << messzeile({4, 1, 130, 80, 60});
        const QString pfad = monatstabelle::tabellenPfad(z, "Anna", "03", "2024");
        QDir().mkpath(z.tabellenOrdner + QStringLiteral("2024"));
        textdatei::schreibeZeilen(pfad, zeilen);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(pfad);
        QCOMPARE(z.ListBox1.size(), 3);
        QCOMPARE(g.AnzeigeWerteSys, QStringList({"120", "130"}));
        QCOMPARE(zaehle(g.Image, QRect(0, 0, 570, 50), g.farbeSys), 0);
    }

    void stiftBreite_data() {
        QTest::addColumn<QString>("einstellung");
        QTest::addColumn<int>("zeilen");
        QTest::newRow("leer") << "" << 2;
        QTest::newRow("keine Zahl") << "dick" << 2;
        QTest::newRow("4") << "4" << 4;
    }
    void stiftBreite() {
        QFETCH(QString, einstellung);
        Schreib_String_in_Registry(QStringLiteral("StiftBreite"), einstellung);
        TMonatsGrafik g(z);
        g.GrafikZeichnen(tabelle({{1, 1, 120, 80, 60}, {5, 1, 120, 80, 60}}));
        QTEST(zaehle(g.Image, QRect(60, 200, 1, 150), g.farbeSys), "zeilen");
        QTEST(zaehle(g.Image2, QRect(35, 0, 1, 21), g.farbeSys), "zeilen");
    }
};

KORVANE_TEST_MAIN(TestGrafik)
#include "test_grafik.moc"
