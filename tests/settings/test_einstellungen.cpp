// The settings dialog in the running program, hand-edited settings files, the browser symbols.
#include "testumgebung.h"

#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "chart/tmonatsgrafik.h"
#include "settings/browserwahl.h"
#include "settings/gui/teinstelldlg.h"
#include "storage/registry.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

using namespace Qt::StringLiterals;
using G = TMonatsGrafik;
using testumgebung::setzeRoh, testumgebung::zaehle;

namespace {

const QRect kUnterDemKasten(0, 100, 10000, 10000); // the curves alone, without the means box's texts

QVariant roh(const QString& name) {
    return QSettings(testumgebung::einstellungsDatei(), QSettings::NativeFormat).value(name);
}

} // namespace

class TestEinstellungen : public QObject {
    Q_OBJECT

    std::unique_ptr<Programmstart> p;

    // The program with Anna's March drawn; vorher changes the store before the start.
    bool starte(bool neu = true, const std::function<void()>& vorher = {}) {
        p.reset();
        if (neu) {
            const QString tabelle = testumgebung::eingerichtet(u"einst"_s) + u"Korvane-Daten-Galerie/2024/Anna_03_2024.tab"_s;
            testumgebung::legeMaerzAn(tabelle);
            Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
            Schreib_String_in_Registry(u"TabellenDateiName"_s, tabelle);
        }
        if (vorher) vorher();
        p = std::make_unique<Programmstart>();
        return testumgebung::laeuft(*p);
    }
    TEinstellDlg* dlg() { return p->EinstellDlg; }

    // The settings command with `handlung` run while the dialog is open.
    void imDialog(const std::function<void(TEinstellDlg*)>& handlung) {
        testumgebung::dialoge().bei<TEinstellDlg>([handlung](TEinstellDlg& d) { handlung(&d); });
        p->mainForm->Einstellungen1->trigger();
    }

private Q_SLOTS:
    void init() { testumgebung::dialoge().leeren(); }
    void cleanup() {
        QCOMPARE(testumgebung::dialoge().unerwartet, QStringList());
        p.reset();
    }

    // Every change is stored and shown at once, and "&Abbruch" undoes none: the width (1 to 7) drawn
    // on fresh templates; each colour beside its button and in its chart; weight chart and remarks
    // hidden and shown with the window's height. A maximised window is restored first.
    void sofortGespeichert() {
        QVERIFY(starte(true, [] { Schreib_Integer_in_Registry(u"FarbkurveGewichtAnzeigen"_s, u"1"_s); }));
        TmainForm* m = p->mainForm;
        const G& g = m->grafik();
        m->showMaximized();
        QTRY_VERIFY(m->isMaximized());
        const QStringList namen{u"DatenwerteOberhalbFarbe"_s, u"SystolischKurvenFarbe"_s, u"DiastolischKurvenFarbe"_s,
                                u"PulsKurvenFarbe"_s,         u"GewichtsKurvenFarbe"_s,   u"PulsdruckFarbe"_s};
        QList<QColor> alt, neu;
        for (int i = 0; i < namen.size(); ++i) {
            alt << G::liesFarbe(namen[i]);
            neu << QColor(0x12, 0x10 + 0x20 * i, 0x56);
            testumgebung::dialoge().farben.push_back(neu[i].rgb());
        }
        QList<QLabel*> labels;
        QMap<int, int> punkte; // width -> systolic pixels
        imDialog([&](TEinstellDlg* d) {
            QVERIFY(!m->isMaximized());
            QCOMPARE(d->SpinEdit1->value(), 2);
            for (int breite : {7, 1}) {
                d->SpinEdit1->setValue(breite);
                QTest::keyClick(d->SpinEdit1, breite == 7 ? Qt::Key_Up : Qt::Key_Down); // no further
                QCOMPARE(d->SpinEdit1->value(), breite);
                QCOMPARE(Lies_Integer_aus_Registry(u"StiftBreite"_s), QString::number(breite));
                punkte[breite] = zaehle(g.Image, g.farbeSys, kUnterDemKasten);
            }
            labels = {d->Label8, d->Label1, d->Label2, d->Label3, d->Label4, d->Label5};
            const QImage vorher = g.Image;
            d->Button6->click();
            QCOMPARE(g.Image, vorher);
            for (QPushButton* knopf : {d->Button1, d->Button2, d->Button3, d->Button4, d->Button5})
                knopf->click();
            for (const bool an : {false, true}) {
                d->GewichtCheckBox->click();
                d->BemerkungenCheckBox->click();
                QCOMPARE(Lies_Integer_aus_Registry(u"FarbkurveGewichtAnzeigen"_s), QString::number(an));
                QCOMPARE(Lies_Integer_aus_Registry(u"BemerkungenAnzeigen"_s), QString::number(an));
                QCOMPARE(m->GewichtImage->isHidden(), !an);
                QCOMPARE(m->RichEdit1->isHidden(), !an);
                QTRY_COMPARE(m->frameGeometry().height(), an ? 795 : 549);
            }
            d->AbbruchButton->click();
        });
        QCOMPARE(dlg()->result(), int(QDialog::Rejected));
        for (int i = 0; i < namen.size(); ++i) {
            QCOMPARE(Lies_String_aus_Registry(namen[i]), G::farbeAlsText(neu[i]));
            QCOMPARE(labels[i]->palette().color(QPalette::WindowText), neu[i]);
            if (i == 0) continue;
            const QImage& bild = namen[i].startsWith(u"Gewicht") ? g.GewichtImage : g.Image;
            QVERIFY2(zaehle(bild, neu[i]) > 10, qPrintable(namen[i]));
            QCOMPARE(zaehle(bild, alt[i]), 0);
        }
        QCOMPARE(Lies_Integer_aus_Registry(u"StiftBreite"_s), u"1"_s);
        QVERIFY2(punkte[7] > 3 * punkte[1], qPrintable(u"%1 %2"_s.arg(punkte[7]).arg(punkte[1])));
        m->Messwerte1->trigger(); // a drawing at width 1 from scratch has as many
        QCOMPARE(zaehle(g.Image, g.farbeSys, kUnterDemKasten), punkte[1]);
    }

    // A hand-edited store: what is no number shows as the default and stays stored until changed;
    // missing settings show their first-start values; a cancelled colour dialog writes the colour in use.
    void kaputteUndFehlendeEinstellungen() {
        QVERIFY(starte(true, [] {
            setzeRoh(u"SystolischKurvenFarbe"_s, u"blau"_s);
            setzeRoh(u"StiftBreite"_s, u"dick"_s);
            for (const char* fehlt : {"DatenwerteOberhalbFarbe", "LinieBeiNullUnterbrechen", "BemerkungenAnzeigen"})
                setzeRoh(QLatin1String(fehlt), {});
        }));
        testumgebung::dialoge().farben.push_back(std::nullopt);
        imDialog([&](TEinstellDlg* d) {
            QCOMPARE(d->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(d->Label8->palette().color(QPalette::WindowText), QColor(128, 0, 0));
            QCOMPARE(d->SpinEdit1->value(), 2);
            QVERIFY(d->LinieUnterbrechenCheckBox->isChecked());
            QVERIFY(d->BemerkungenCheckBox->isChecked());
            d->Button6->click(); // cancelled: the colour in use is written, the others stay
            d->OKBtn->click();
        });
        QCOMPARE(Lies_String_aus_Registry(u"DatenwerteOberhalbFarbe"_s), G::farbeAlsText(QColor(128, 0, 0)));
        QCOMPARE(roh(u"SystolischKurvenFarbe"_s).toString(), u"blau"_s);
        QCOMPARE(roh(u"StiftBreite"_s).toString(), u"dick"_s);
        QVERIFY(!p->mainForm->RichEdit1->isHidden());
    }

    // The symbols of the browsers found, with the entries' names and pictures. A click stores the
    // browser at once, one on a placeholder nothing; browser and the page's two options survive a restart.
    void browserNachNeustart() {
        QVERIFY(starte(true, [] { Schreib_String_in_Registry(u"Browser"_s, u"lynx"_s); }));
        const QString bilddatei = testumgebung::programmOrdner() + u"fuchs.png"_s;
        QImage fuchs(48, 48, QImage::Format_ARGB32);
        fuchs.fill(QColor(10, 200, 30));
        QVERIFY(fuchs.save(bilddatei));
        TEinstellDlg* d = dlg();
        const QString kein = u"kein-solches-thema"_s; // an icon the theme does not have
        d->setzeBrowser(browserwahl::eintraegeAus({{u"Mozilla Firefox"_s, bilddatei, {}}, {u"Firefox ESR"_s, kein, {}},
                                                   {u"Google Chrome"_s, kein, {}}, {u"Internet Explorer"_s, bilddatei, {}}},
                                                  true));
        QStringList aktiv;
        for (const TBrowserSymbol* s : {d->standard_Image, d->ie_Image, d->edge_Image, d->chrome_Image,
                                        d->opera_Image, d->safari_Image, d->firefox_Image}) {
            QVERIFY(!s->isHidden()); // placeholders keep their place in the row
            if (s->aktiv()) aktiv << s->toolTip();
        }
        // Each browser by its own name, as its desktop entry gives it.
        QCOMPARE(aktiv, (QStringList{u"Standard Browser"_s, u"Internet Explorer"_s, u"Microsoft Edge"_s, u"Google Chrome"_s,
                                     u"Mozilla Firefox"_s}));
        QCOMPARE(d->firefox_Image->pixmap().toImage().pixelColor(20, 20), QColor(10, 200, 30));
        QVERIFY(d->edge_Image->pixmap().toImage().pixelColor(20, 20) != QColor(10, 200, 30));
        QVERIFY(!d->chrome_Image->pixmap().isNull()); // drawn: the theme has no such icon
        QCOMPARE(d->opera_Image->pixmap().toImage().pixelColor(20, 20).alpha(), 0);

        QTest::mouseClick(d->opera_Image, Qt::LeftButton);
        QCOMPARE(Lies_String_aus_Registry(u"Browser"_s), u"lynx"_s);
        QCOMPARE(d->aktuellerBrowser(), u"standard"_s);
        QTest::mouseClick(d->firefox_Image, Qt::LeftButton);
        QCOMPARE(Lies_String_aus_Registry(u"Browser"_s), u"firefox"_s);
        QCOMPARE(d->AktuellerBrowser_Image->pixmap().toImage().pixelColor(20, 20), QColor(10, 200, 30));
        QCOMPARE(d->AktuellerBrowser_Image->toolTip(), u"Mozilla Firefox"_s);
        // Both options from their first-start values to the other: store, state and box agree.
        const auto optionen = [this] {
            return QStringList{Lies_Integer_aus_Registry(u"LinieBeiNullUnterbrechen"_s),
                               Lies_Integer_aus_Registry(u"WerteOberhalbKurveAnzeigen"_s),
                               QString::number(p->z.linieBeiNullUnterbrechen),
                               QString::number(p->z.werteOberhalbKurveAnzeigen),
                               QString::number(dlg()->LinieUnterbrechenCheckBox->isChecked()),
                               QString::number(dlg()->WerteOberhalbKurveAnzeigenCheckBox->isChecked())};
        };
        QCOMPARE(optionen(), QStringList({"1", "0", "1", "0", "1", "0"}));
        d->LinieUnterbrechenCheckBox->click();
        d->WerteOberhalbKurveAnzeigenCheckBox->click();
        QCOMPARE(optionen(), QStringList({"0", "1", "0", "1", "0", "1"}));
        p->mainForm->close();
        QVERIFY(starte(false));
        QCOMPARE(dlg()->aktuellerBrowser(), u"firefox"_s);
        QCOMPARE(optionen(), QStringList({"0", "1", "0", "1", "0", "1"}));
    }

    // The symbols a browser's name shows, whatever the letter case; Edge's program shows Edge, once.
    void browserEintraege_data() {
        QTest::addColumn<QStringList>("gefunden");  // name=icon
        QTest::addColumn<bool>("edge");             // Edge's program is there
        QTest::addColumn<QStringList>("eintraege"); // key=icon name
        QTest::newRow("klein geschrieben") << QStringList{"firefox esr=f"} << false << QStringList{"firefox=f firefox esr"};
        QTest::newRow("Chromium als Chrome") << QStringList{"Chromium=c"} << false << QStringList{"chrome=c Chromium"};
        QTest::newRow("Opera, Safari, unbekannt") << QStringList{"Opera=o", "Safari=s", "GNOME Web=g"} << false
                                                  << QStringList{"opera=o Opera", "safari=s Safari"};
        QTest::newRow("Edge") << QStringList{"Microsoft Edge=e"} << true << QStringList{"edge=e Microsoft Edge"};
        QTest::newRow("nur Edges Programm") << QStringList{} << true << QStringList{"edge= Microsoft Edge"};
    }
    void browserEintraege() {
        QFETCH(QStringList, gefunden);
        QFETCH(bool, edge);
        QList<BrowserEintrag> liste;
        for (const QString& g : gefunden)
            liste << BrowserEintrag{g.section(u'=', 0, 0), g.section(u'=', 1), {}};
        QStringList kurz;
        for (const BrowserEintrag& b : browserwahl::eintraegeAus(liste, edge))
            kurz << b.schluessel + u'=' + b.symbol + u' ' + b.name;
        QTEST(kurz, "eintraege");
    }
};

KORVANE_TEST_MAIN(TestEinstellungen)
#include "test_einstellungen.moc"
