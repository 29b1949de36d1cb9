// The chart page, the chart above the table, the JPEG files and the export commands.
#include "testumgebung.h"

#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "chart/tmonatsgrafik.h"
#include "export/image/grafikseite.h"
#include "export/image/gui/tbildexport.h"
#include "export/image/gui/tbildspeichernform.h"
#include "platform/textdatei.h"
#include "storage/registry.h"
#include "storage/start.h"
#include "table/gui/ttabellendlg.h"

#include <QDir>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;
using Art = TestDialoge::Art;
using testumgebung::zaehle;

namespace {

// A March 2024 table of the user, with a weight on each reading.
QString schreibeMaerz(const QString& pfad, const QString& name) {
    QStringList zeilen = (u"[Personendaten]|BenutzerName="_s + name + u"|Datum=März 2024|1M=1|2M=1|3M=1|4M=1|"_s).split(u'|');
    for (int tag = 1; tag <= 28; ++tag)
        zeilen << u"Morgens den %1.03.2024 Z=07:30 s=%2, d=85, p=66, Gewicht=7%3,5"_s.arg(tag, 2, 10, QLatin1Char('0'))
                      .arg(120 + tag % 20).arg(tag % 5);
    QDir().mkpath(QFileInfo(pfad).path());
    textdatei::schreibeZeilen(pfad, zeilen);
    return pfad;
}

} // namespace

class TestBildexport : public QObject {
    Q_OBJECT

    Zustand z;

private Q_SLOTS:
    void init() {
        testumgebung::dialoge().leeren();
        z = Zustand{};
        z.programmOrdner = testumgebung::eingerichtet(QString::fromLatin1(QTest::currentTestFunction()));
        start::leseOrdner(z);
    }

    void bildName_data() {
        QTest::addColumn<QString>("kopf");
        QTest::addColumn<QString>("name");
        QTest::newRow("ohne das wort") << "Mai 2024  Anna Maria" << "Mai_2024_Anna_Maria";
        QTest::newRow("punkt bleibt") << "Korvanemesswerte  Juni 2024  A.B." << "Juni_2024_A.B.";
        QTest::newRow("schraegstrich wird unterstrich") << "Korvanemesswerte  Juni 2024  ../x" << "Juni_2024_.._x";
        QTest::newRow("zu lang") << "Korvanemesswerte  Juni 2024  " + QString(300, u'a')
                                 << "Juni_2024_" + QString(230, u'a');
    }
    void bildName() {
        QFETCH(QString, kopf);
        QTEST(bildexport::BildName(kopf), "name");
    }

    void grafikseite_data() {
        QTest::addColumn<bool>("gewicht");
        QTest::addColumn<bool>("bemerkungen");
        QTest::addColumn<int>("hoehe");
        QTest::newRow("beides") << true << true << 464 + 22 + 136 + 22 + 76 + 22;
        QTest::newRow("nur gewicht") << true << false << 464 + 22 + 136 + 22 + 2;
        QTest::newRow("nur bemerkungen") << false << true << 464 + 22 + 76 + 22;
        QTest::newRow("keins") << false << false << 464 + 22 + 22;
    }
    // The page's size by its case; the legend in the last 22 rows; weight curve and remarks when shown.
    void grafikseite() {
        QFETCH(bool, gewicht);
        QFETCH(bool, bemerkungen);
        TMonatsGrafik g(z);
        g.gewichtSichtbar = gewicht;
        QVERIFY(g.GrafikZeichnen(schreibeMaerz(z.tabellenOrdner + u"2024/Anna_03_2024.tab"_s, u"Anna"_s)));
        g.bemerkungen = u"Blutdruck morgens gemessen"_s;
        const QImage seite = bildexport::Die4BilderZusammenfuegen(bildexport::grafikseiteAus(g, gewicht, bemerkungen));
        QTEST(seite.height(), "hoehe");
        QCOMPARE(seite.width(), 570);
        QVERIFY(zaehle(seite, g.Image2.pixel(300, 3), QRect(1, seite.height() - 22, 568, 21)) > 1000);
        // The weight curve left of the legend's stroke; the remarks' text below the charts.
        QCOMPARE(zaehle(seite, g.farbeGewicht, QRect(0, 486, 430, 136) & seite.rect()) > 20, gewicht);
        if (bemerkungen) QVERIFY(zaehle(seite, Qt::black, QRect(20, gewicht ? 646 : 488, 300, 20)) > 30);
    }

    // The chart page centred above the table, as wide as the table; white beside the chart.
    void grafikUeberTabelle() {
        QImage grafik(570, 508, QImage::Format_RGB32);
        grafik.fill(Qt::red);
        QImage tabellenbild(1164, 802, QImage::Format_RGB32);
        tabellenbild.fill(Qt::blue);
        const QImage bild = bildexport::BilderZusammenfuegen(grafik, tabellenbild);
        QCOMPARE(bild.pixelColor(296, 10), QColor(Qt::white));
        QCOMPARE(bild.pixelColor(297, 10), QColor(Qt::red));
        QCOMPARE(bild.pixelColor(297 + 570, 10), QColor(Qt::white));
        QCOMPARE(bild.pixelColor(0, 508), QColor(Qt::blue));
        const QImage mitTitel = bildexport::tabellenBildMitTitel(tabellenbild, u"Korvanemesswerte  März 2024  Anna"_s);
        QCOMPARE(mitTitel.pixelColor(5, 79), QColor(Qt::white)); // 80 rows above the table
        QCOMPARE(mitTitel.pixelColor(5, 80), QColor(Qt::blue));
        QVERIFY(zaehle(mitTitel, Qt::black, QRect(300, 50, 560, 20)) > 50);
    }

    // Baseline JPEG at quality 90, as libjpeg writes it with its defaults.
    void jpegDatei() {
        QImage bild(200, 100, QImage::Format_RGB32);
        bild.fill(QColor(30, 120, 200));
        const QString pfad = z.programmOrdner + u"probe.jpg"_s;
        QVERIFY(bildexport::schreibeJpeg(pfad, bild, nullptr));
        const QImage zurueck(pfad);
        QCOMPARE(zurueck.size(), bild.size());
        QVERIFY(qAbs(zurueck.pixelColor(100, 50).blue() - 200) < 6);
        QCOMPARE(testumgebung::werkzeug(u"identify"_s, {u"-format"_s, u"%m %Q %[interlace]"_s, pfad}).aus.trimmed(),
                 u"JPEG 90 None"_s);
    }

    // The JPEG goes into the shown month's year folder; the notice says where and names no missing program.
    void jahrOrdner() {
        TMonatsGrafik g(z);
        z.benutzerName = u"Bob2030"_s;
        QVERIFY(g.GrafikZeichnen(schreibeMaerz(z.tabellenOrdner + u"2024/Bob2030_03_2024.tab"_s, z.benutzerName)));
        TBildspeichernForm hinweis;
        TBildExport e(z, g, &hinweis);
        QVERIFY(e.GrafikspeichernalsBilddateiClick());
        QCOMPARE(hinweis.Memo1->toPlainText(), u"Es wird die Korvane-Daten-Grafik erstellt und im Ordner\n"
                                               u"Korvane-Daten-Galerie/2024 als  \".JPG\" gespeichert."_s);
        QCOMPARE(e.geschrieben, z.tabellenOrdner + u"2024/M_rz_2024_Bob2030.jpg"_s);
        QVERIFY(!QImage(e.geschrieben).isNull());
        QCOMPARE(testumgebung::dialoge().texte(Art::Meldung),
                 QStringList{u"Ordner und Name der erstellten Grafik: "_s + e.geschrieben});
    }

    // A file where the year folder belongs: both messages name the place, no success, nothing left behind.
    void ordnerNichtAnlegbar() {
        TMonatsGrafik g(z);
        z.benutzerName = u"Anna"_s;
        QVERIFY(g.GrafikZeichnen(schreibeMaerz(z.programmOrdner + u"woanders/x.tab"_s, u"Anna"_s)));
        QDir(z.tabellenOrdner + u"2024"_s).removeRecursively();
        testumgebung::schreibe(z.tabellenOrdner + u"2024"_s, "keine Ordner");
        testumgebung::dialoge().leeren();
        TBildExport e(z, g, nullptr);
        QVERIFY(!e.GrafikspeichernalsBilddateiClick());
        QCOMPARE(testumgebung::dialoge().texte(Art::Meldung), QStringList{u"Ordner \"2024\" konnte nicht erstellt werden! "_s});
        const QStringList warnung = testumgebung::dialoge().texte(Art::Warnung);
        QVERIFY(warnung.size() == 1 && warnung[0].contains(z.tabellenOrdner + u"2024/M_rz_2024_Anna.jpg"_s));
        QCOMPARE(QDir(z.tabellenOrdner).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{u"2024"_s});
        QVERIFY(e.geschrieben.isEmpty());
    }

    // Through the windows: "Grafik plus Tabelle speichern als Bilddatei (.jpg)" saves chart over table.
    void grafikPlusTabelleAusDemHauptfenster() {
        TestDialoge& dlg = testumgebung::dialoge();
        const QString tabelle = schreibeMaerz(z.tabellenOrdner + u"2024/Anna_03_2024.tab"_s, u"Anna"_s);
        Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
        Schreib_String_in_Registry(u"TabellenDateiName"_s, tabelle);
        Programmstart p;
        QVERIFY(testumgebung::laeuft(p));
        bool tabelleGezeigt = false;
        dlg.bei<TTabellenDlg>([&](TTabellenDlg& t) { // the pending command runs once the window is up
            tabelleGezeigt = QTest::qWaitFor([&t] { return !t.OffenBilddatei; });
        });
        p.mainForm->GrafikplusTabellespeichernalsBilddateiClick();
        QTRY_VERIFY(tabelleGezeigt);
        QCOMPARE(dlg.unerwartet, QStringList());
        const QString jpg = z.tabellenOrdner + u"2024/M_rz_2024_Anna.jpg"_s;
        QCOMPARE(dlg.texte(Art::Meldung), QStringList{u"Ordner und Name der erstellten Grafik: "_s + jpg});
        QCOMPARE(QDir(z.tabellenOrdner + u"2024"_s).entryList(QDir::Files, QDir::Name),
                 (QStringList{u"Anna_03_2024.tab"_s, u"M_rz_2024_Anna.jpg"_s}));
        QCOMPARE(QImage(jpg).size(), QSize(1164, 802 + 464 + 22 + 76 + 22));
    }
};

KORVANE_TEST_MAIN(TestBildexport)
#include "test_bildexport.moc"
