// The settings dialog in the running program: every change stored at once and shown in the
// chart and the main window; hand-edited and older settings files; the browser symbols.
#include "testumgebung.h"

#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "chart/tmonatsgrafik.h"
#include "platform/textdatei.h"
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

namespace {

const QStringList kMaerz = u"[Personendaten]\nBenutzerName=Anna\nDatum=März 2024\n1M=1\n2M=1\n3M=1\n4M=1\n\n"
                           u"Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=70,5\n"
                           u"Abends den 05.03.2024 Z=20:40 s=135, d=85, p=72, Gewicht=0\n"
                           u"Morgens den 06.03.2024 Z=07:30 s=138, d=88, p=68, Gewicht=71"_s.split(u'\n');

int zaehle(const QImage& bild, const QColor& farbe, int ab = 0) {
    int n = 0;
    for (int y = ab; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            n += bild.pixelColor(x, y).rgb() == farbe.rgb();
    return n;
}

constexpr int kUnterDemKasten = 100; // the curves alone, without the means box's texts

QVariant roh(const QString& name) {
    return QSettings(testumgebung::einstellungsDatei(), QSettings::NativeFormat).value(name);
}

void setzeRoh(const QString& name, const QVariant& wert) {
    QSettings s(testumgebung::einstellungsDatei(), QSettings::NativeFormat);
    if (wert.isValid())
        s.setValue(name, wert);
    else
        s.remove(name);
}

QPixmap bildVon(const QLabel* label) {
    return label->pixmap();
}

} // namespace

class TestEinstellungen : public QObject {
    Q_OBJECT

    std::unique_ptr<Programmstart> p;

    // The program with Anna's March drawn; vorher changes the store before the start.
    bool starte(bool neu = true, const std::function<void()>& vorher = {}) {
        p.reset();
        if (neu) {
            testumgebung::neuerProgrammOrdner(u"einst"_s);
            testumgebung::einstellungenLoeschen();
            Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(testumgebung::programmOrdner());
            const QString tabelle = testumgebung::programmOrdner() + u"Korvane-Daten-Galerie/2024/Anna_03_2024.tab"_s;
            QDir().mkpath(QFileInfo(tabelle).path());
            if (textdatei::schreibeZeilen(tabelle, kMaerz) != textdatei::Ergebnis::Ok) return false;
            Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
            Schreib_String_in_Registry(u"TabellenDateiName"_s, tabelle);
        }
        if (vorher) vorher();
        p = std::make_unique<Programmstart>();
        if (!p->erzeugeFenster({})) return false;
        p->mainForm->show();
        return QTest::qWaitFor([&] { return !p->mainForm->ersteZeichnungAusstehend(); });
    }
    TEinstellDlg* dlg() { return p->EinstellDlg; }

    // The settings command with `handlung` run while the dialog is open.
    void imDialog(const std::function<void(TEinstellDlg*)>& handlung) {
        testumgebung::dialoge().fenster.push_back([handlung](QObject* f) {
            auto* d = qobject_cast<TEinstellDlg*>(f);
            if (d) handlung(d);
            return d ? d->result() : -1;
        });
        p->mainForm->Einstellungen1->trigger();
    }

private Q_SLOTS:
    void init() { testumgebung::dialoge().leeren(); }
    void cleanup() {
        QCOMPARE(testumgebung::dialoge().unerwartet, QStringList());
        p.reset();
    }

    // A colour chosen and then "&Abbruch": stored at once, drawn at once, not undone.
    // A cancelled colour dialog writes the colour in use again (here: it was missing).
    void farbe_data() {
        QTest::addColumn<int>("knopf");
        QTest::addColumn<QString>("einstellung");
        QTest::addColumn<bool>("gewaehlt");
        QTest::addColumn<QString>("bild"); // the picture it shows in: Image, GewichtImage, none
        QTest::newRow("systolisch") << 1 << "SystolischKurvenFarbe" << true << "Image";
        QTest::newRow("diastolisch") << 2 << "DiastolischKurvenFarbe" << true << "Image";
        QTest::newRow("Puls") << 3 << "PulsKurvenFarbe" << true << "Image";
        QTest::newRow("Gewicht") << 4 << "GewichtsKurvenFarbe" << true << "GewichtImage";
        QTest::newRow("Pulsdruck") << 5 << "PulsdruckFarbe" << true << "Image";
        QTest::newRow("Datenwerte") << 6 << "DatenwerteOberhalbFarbe" << true << "";
        QTest::newRow("systolisch abgebrochen") << 1 << "SystolischKurvenFarbe" << false << "Image";
        QTest::newRow("Datenwerte abgebrochen") << 6 << "DatenwerteOberhalbFarbe" << false << "";
    }
    void farbe() {
        QFETCH(int, knopf);
        QFETCH(QString, einstellung);
        QFETCH(bool, gewaehlt);
        QFETCH(QString, bild);
        QVERIFY(starte(true, [&] {
            Schreib_Integer_in_Registry(u"FarbkurveGewichtAnzeigen"_s, u"1"_s);
            if (!gewaehlt) setzeRoh(einstellung, {});
        }));
        const QColor neu(0x12, 0x34, 0x56);
        const QColor alt = G::liesFarbe(einstellung);
        const QColor erwartet = gewaehlt ? neu : alt;
        const G& g = p->mainForm->grafik();
        const QImage vorher = g.Image;
        testumgebung::dialoge().farben.push_back(gewaehlt ? std::optional<QRgb>(neu.rgb()) : std::nullopt);
        QLabel* label = nullptr;
        imDialog([&](TEinstellDlg* d) {
            const QList<QPushButton*> knoepfe{d->Button1, d->Button2, d->Button3, d->Button4, d->Button5, d->Button6};
            const QList<QLabel*> labels{d->Label1, d->Label2, d->Label3, d->Label4, d->Label5, d->Label8};
            label = labels.at(knopf - 1);
            knoepfe.at(knopf - 1)->click();
            d->AbbruchButton->click();
        });
        QCOMPARE(dlg()->result(), int(QDialog::Rejected));
        QCOMPARE(Lies_String_aus_Registry(einstellung), G::farbeAlsText(erwartet));
        QCOMPARE(label->palette().color(QPalette::WindowText), erwartet);
        if (bild.isEmpty()) {
            QCOMPARE(g.Image, vorher); // the browser page's colour: the chart is not redrawn
        } else if (gewaehlt) {
            const QImage& gezeichnet = bild == "Image" ? g.Image : g.GewichtImage;
            QVERIFY(zaehle(gezeichnet, neu) > 10);
            QCOMPARE(zaehle(gezeichnet, alt), 0);
        }
    }

    // The width spin box stops at 1 and 7; each width is stored and drawn on fresh templates, so
    // a narrower line leaves nothing of a wider one.
    void linienBreite() {
        QVERIFY(starte());
        const G& g = p->mainForm->grafik();
        QMap<int, int> punkte; // width -> systolic pixels
        imDialog([&](TEinstellDlg* d) {
            QCOMPARE(d->SpinEdit1->value(), 2);
            for (int breite : {7, 1}) {
                d->SpinEdit1->setValue(breite);
                QTest::keyClick(d->SpinEdit1, breite == 7 ? Qt::Key_Up : Qt::Key_Down); // no further
                QCOMPARE(d->SpinEdit1->value(), breite);
                QCOMPARE(Lies_Integer_aus_Registry(u"StiftBreite"_s), QString::number(breite));
                punkte[breite] = zaehle(g.Image, g.farbeSys, kUnterDemKasten);
            }
            d->OKBtn->click();
        });
        QVERIFY2(punkte[7] > 3 * punkte[1], qPrintable(u"%1 %2"_s.arg(punkte[7]).arg(punkte[1])));
        // A drawing at width 1 from scratch has as many.
        p->mainForm->Messwerte1->trigger();
        QCOMPARE(zaehle(g.Image, g.farbeSys, kUnterDemKasten), punkte[1]);
    }

    // Weight chart and remarks switched in the dialog: stored, placed, and the window height.
    void sichtbarkeit_data() {
        QTest::addColumn<bool>("gewicht");
        QTest::addColumn<bool>("bemerkungen");
        QTest::addColumn<int>("hoehe"); // 0: 795 less the weight chart and its gap
        QTest::newRow("keins") << false << false << 549;
        QTest::newRow("beides") << true << true << 795;
        QTest::newRow("nur Gewicht") << true << false << 795 - 96;
        QTest::newRow("nur Bemerkungen") << false << true << 0;
    }
    void sichtbarkeit() {
        QFETCH(bool, gewicht);
        QFETCH(bool, bemerkungen);
        QFETCH(int, hoehe);
        // Start from the other state of each, so both boxes are clicked.
        QVERIFY(starte(true, [&] {
            Schreib_Integer_in_Registry(u"FarbkurveGewichtAnzeigen"_s, QString::number(!gewicht));
            Schreib_Integer_in_Registry(u"BemerkungenAnzeigen"_s, QString::number(!bemerkungen));
        }));
        TmainForm* m = p->mainForm;
        if (hoehe == 0) hoehe = 795 - m->grafik().vorlageGewicht.height() - 20;
        imDialog([&](TEinstellDlg* d) {
            QCOMPARE(d->GewichtCheckBox->isChecked(), !gewicht);
            QCOMPARE(d->BemerkungenCheckBox->isChecked(), !bemerkungen);
            d->GewichtCheckBox->click();
            d->BemerkungenCheckBox->click();
            d->OKBtn->click();
        });
        QCOMPARE(Lies_Integer_aus_Registry(u"FarbkurveGewichtAnzeigen"_s), QString::number(gewicht));
        QCOMPARE(Lies_Integer_aus_Registry(u"BemerkungenAnzeigen"_s), QString::number(bemerkungen));
        QTRY_COMPARE(m->frameGeometry().height(), hoehe);
        QCOMPARE(m->GewichtImage->isHidden(), !gewicht);
        QCOMPARE(m->RichEdit1->isHidden(), !bemerkungen);
        const QWidget* darueber = gewicht ? m->GewichtImage : m->Image;
        if (gewicht) QCOMPARE(m->GewichtImage->y(), m->Image->geometry().bottom() + 1 + 20);
        if (bemerkungen) {
            QCOMPARE(m->RichEdit1->y(), darueber->geometry().bottom() + 1 + 20);
            QCOMPARE(m->BemerkungLabel->y(), m->RichEdit1->y() - 15);
        }
        // The weight curve is drawn once the weight chart shows.
        if (gewicht) QVERIFY(zaehle(m->grafik().GewichtImage, m->grafik().farbeGewicht) > 10);
    }

    // "Einstellungen" restores a maximised window before the dialog opens.
    void ausMaximiert() {
        QVERIFY(starte());
        p->mainForm->showMaximized();
        QTRY_VERIFY(p->mainForm->isMaximized());
        bool maximiert = true;
        imDialog([&](TEinstellDlg* d) {
            maximiert = p->mainForm->isMaximized();
            d->OKBtn->click();
        });
        QVERIFY(!maximiert);
    }

    // The two options of the browser page survive a restart, cleared or ticked.
    void browserOptionenNachNeustart_data() {
        QTest::addColumn<QString>("einstellung");
        QTest::addColumn<bool>("vorher");
        QTest::newRow("Linie unterbrechen gelöscht") << "LinieBeiNullUnterbrechen" << true;
        QTest::newRow("Datenwerte angehakt") << "WerteOberhalbKurveAnzeigen" << false;
    }
    void browserOptionenNachNeustart() {
        QFETCH(QString, einstellung);
        QFETCH(bool, vorher);
        const bool linie = einstellung == "LinieBeiNullUnterbrechen";
        auto box = [&](TEinstellDlg* d) {
            return linie ? d->LinieUnterbrechenCheckBox : d->WerteOberhalbKurveAnzeigenCheckBox;
        };
        auto imSpeicher = [&] { return linie ? p->z.linieBeiNullUnterbrechen : p->z.werteOberhalbKurveAnzeigen; };
        QVERIFY(starte());
        QCOMPARE(box(dlg())->isChecked(), vorher);
        imDialog([&](TEinstellDlg* d) {
            box(d)->click();
            d->OKBtn->click();
        });
        QCOMPARE(Lies_Integer_aus_Registry(einstellung), QString::number(!vorher));
        QCOMPARE(imSpeicher(), !vorher);
        p->mainForm->close();
        QVERIFY(starte(false));
        QCOMPARE(box(dlg())->isChecked(), !vorher);
        QCOMPARE(imSpeicher(), !vorher);
    }

    // A hand-edited store: what is no number shows as the default, and stays in the store until
    // the user changes that very setting; missing settings show their first-start values.
    void kaputteUndFehlendeEinstellungen() {
        QVERIFY(starte(true, [] {
            setzeRoh(u"SystolischKurvenFarbe"_s, u"blau"_s);
            setzeRoh(u"StiftBreite"_s, u"dick"_s);
            setzeRoh(u"DatenwerteOberhalbFarbe"_s, {});
            setzeRoh(u"LinieBeiNullUnterbrechen"_s, {});
            setzeRoh(u"BemerkungenAnzeigen"_s, {});
        }));
        testumgebung::dialoge().farben.push_back(std::nullopt);
        imDialog([&](TEinstellDlg* d) {
            QCOMPARE(d->Label1->palette().color(QPalette::WindowText), QColor(0, 0, 255));
            QCOMPARE(d->Label8->palette().color(QPalette::WindowText), QColor(128, 0, 0));
            QCOMPARE(d->SpinEdit1->value(), 2);
            QVERIFY(d->LinieUnterbrechenCheckBox->isChecked());
            QVERIFY(d->BemerkungenCheckBox->isChecked());
            d->Button2->click(); // another colour: cancelled
            d->OKBtn->click();
        });
        QCOMPARE(roh(u"SystolischKurvenFarbe"_s).toString(), u"blau"_s);
        QCOMPARE(roh(u"StiftBreite"_s).toString(), u"dick"_s);
        QVERIFY(!p->mainForm->RichEdit1->isHidden());
        const QColor gewaehlt(1, 2, 3);
        testumgebung::dialoge().farben.push_back(gewaehlt.rgb());
        imDialog([&](TEinstellDlg* d) {
            d->SpinEdit1->setValue(3);
            d->Button1->click();
            d->OKBtn->click();
        });
        QCOMPARE(roh(u"StiftBreite"_s).toInt(), 3);
        QCOMPARE(roh(u"SystolischKurvenFarbe"_s).toString(), G::farbeAlsText(gewaehlt));
    }

    // The symbols of the browsers found, with the entries' own pictures; a click on a symbol
    // stores the browser at once, a click on an empty placeholder changes nothing.
    void browserSymbole() {
        QVERIFY(starte());
        const QString bilddatei = testumgebung::programmOrdner() + u"fuchs.png"_s;
        QImage fuchs(48, 48, QImage::Format_ARGB32);
        fuchs.fill(QColor(10, 200, 30));
        QVERIFY(fuchs.save(bilddatei));
        TEinstellDlg* d = dlg();
        d->setzeBrowser(browserwahl::eintraegeAus(
            {{u"Mozilla Firefox"_s, bilddatei, {}}, {u"Chromium"_s, u"kein-solches-thema"_s, {}}}, false));
        const QList<TBrowserSymbol*> symbole{d->standard_Image, d->ie_Image,     d->edge_Image,   d->chrome_Image,
                                             d->opera_Image,    d->safari_Image, d->firefox_Image};
        QStringList aktiv;
        for (const TBrowserSymbol* s : symbole) {
            QVERIFY(!s->isHidden()); // placeholders keep their place in the row
            if (s->aktiv()) aktiv << s->toolTip();
        }
        // Each browser by its own name, as its desktop entry gives it.
        QCOMPARE(aktiv, (QStringList{u"Standard Browser"_s, u"Chromium"_s, u"Mozilla Firefox"_s}));
        QCOMPARE(bildVon(d->firefox_Image).toImage().pixelColor(20, 20), QColor(10, 200, 30));
        QVERIFY(!bildVon(d->chrome_Image).isNull()); // drawn: the theme has no such icon
        QCOMPARE(bildVon(d->opera_Image).toImage().pixelColor(20, 20).alpha(), 0);

        QCOMPARE(d->aktuellerBrowser(), u"standard"_s);
        QTest::mouseClick(d->opera_Image, Qt::LeftButton);
        QCOMPARE(Lies_String_aus_Registry(u"Browser"_s), u"standard"_s);
        QCOMPARE(d->aktuellerBrowser(), u"standard"_s);
        QTest::mouseClick(d->firefox_Image, Qt::LeftButton);
        QCOMPARE(Lies_String_aus_Registry(u"Browser"_s), u"firefox"_s);
        QCOMPARE(bildVon(d->AktuellerBrowser_Image).toImage().pixelColor(20, 20), QColor(10, 200, 30));
        QCOMPARE(d->AktuellerBrowser_Image->toolTip(), u"Mozilla Firefox"_s);
        // Shown again at the next start.
        p->mainForm->close();
        QVERIFY(starte(false));
        QCOMPARE(dlg()->aktuellerBrowser(), u"firefox"_s);
    }

    // Which symbols a browser's name shows, and the browser a `Browser` text names.
    void browserNamen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("symbole");
        QTest::newRow("Firefox") << "Mozilla Firefox" << QStringList{"firefox"};
        QTest::newRow("klein geschrieben") << "firefox esr" << QStringList{"firefox"};
        QTest::newRow("Chromium") << "Chromium Web Browser" << QStringList{"chrome"};
        QTest::newRow("Chrome") << "Google Chrome" << QStringList{"chrome"};
        QTest::newRow("Internet Explorer") << "Internet Explorer" << QStringList{"internet explorer", "edge"};
        QTest::newRow("Edge") << "Microsoft Edge" << QStringList{"edge"};
        QTest::newRow("unbekannt") << "GNOME Web" << QStringList{};
    }
    void browserNamen() {
        QFETCH(QString, name);
        QTEST(browserwahl::symboleFuer(name), "symbole");
    }

    void browserImEinsatz_data() {
        QTest::addColumn<QString>("einstellung");
        QTest::addColumn<QString>("browser");
        QTest::newRow("leer") << "" << "standard";
        QTest::newRow("unbekannt") << "lynx" << "standard";
        QTest::newRow("firefox") << "firefox" << "firefox";
        QTest::newRow("internet explorer") << "internet explorer" << "internet explorer";
    }
    void browserImEinsatz() {
        QFETCH(QString, einstellung);
        QTEST(browserwahl::imEinsatz(einstellung), "browser");
    }

    // Two browsers of one kind show one symbol, the first one's; Edge's program adds its symbol
    // once; the Edge shown for Internet Explorer takes neither its name nor its picture.
    void browserEintraege() {
        const QList<BrowserEintrag> e = browserwahl::eintraegeAus(
            {{u"Firefox"_s, u"a"_s, {}}, {u"Firefox ESR"_s, u"b"_s, {}}, {u"Internet Explorer"_s, u"c"_s, {}}}, true);
        QStringList kurz;
        for (const BrowserEintrag& b : e)
            kurz << b.schluessel + u'=' + b.symbol + u' ' + b.name;
        QCOMPARE(kurz, (QStringList{u"firefox=a Firefox"_s, u"internet explorer=c Internet Explorer"_s,
                                    u"edge= Microsoft Edge"_s}));
    }
};

KORVANE_TEST_MAIN(TestEinstellungen)
#include "test_einstellungen.moc"
