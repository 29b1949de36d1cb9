// The main window driven offscreen: help, browser, size and place, mouse, means, first paint, remarks.
#include "testumgebung.h"

#include "app/gui/tmainform.h"
#include "chart/tmonatsgrafik.h"
#include "platform/shell.h"
#include "storage/registry.h"

#include <QtWidgets>

using namespace Qt::StringLiterals;
using Art = TestDialoge::Art;

namespace {

const QString kZuWenig = u"Um die Mittelwerte anzuzeigen müssen Sie noch ein paar Daten eingeben!"_s;
const QString kTrotzdem =
    u"Fehler beim Erzeugen der Datei %1\nAn dieser Stelle liegt ein Ordner.\n\nDie Bemerkungen "
    u"konnten in \"%1\" nicht gespeichert werden. Möchten Sie das Programm trotzdem beenden?"_s;
const QString kMaerzRelativ = u"Korvane-Daten-Galerie/2024/Anna_03_2024.tab"_s;

} // namespace

class TestMainform : public QObject {
    Q_OBJECT

    Zustand z;
    std::unique_ptr<TmainForm> form;

    // A fresh program folder, the window shown and past its first paint; vorher sets settings before.
    bool offen(const QString& ordner, const std::function<void()>& vorher = {}) {
        form.reset();
        testumgebung::eingerichtet(ordner);
        if (vorher) vorher();
        z = Zustand{};
        form = std::make_unique<TmainForm>(z);
        if (!form->FormCreate()) return false;
        form->show();
        return QTest::qWaitForWindowExposed(form.get()) && QTest::qWaitFor([&] { return !form->ersteZeichnungAusstehend(); });
    }
    QString maerz(int n = 3) {
        testumgebung::legeMaerzAn(z.tabellenOrdner + u"2024/Anna_03_2024.tab"_s, n);
        return z.tabellenOrdner + u"2024/Anna_03_2024.tab"_s;
    }
    QString notiz() const { return z.tabellenOrdner + u"2024/Anna_03_2024.txt"_s; }
    static QString gespeicherteTabelle() { return Lies_String_aus_Registry(u"TabellenDateiName"_s); }

private Q_SLOTS:
    void init() { testumgebung::dialoge().leeren(); }
    void cleanup() { QCOMPARE(testumgebung::dialoge().unerwartet, QStringList()); }

    void hilfe_data() {
        QTest::addColumn<bool>("entfernt");
        QTest::addColumn<int>("status"); // of the stand-in opener; -1: there is none
        QTest::addColumn<QString>("grund");
        QTest::newRow("vom Start in den Programmordner gelegt") << false << 0 << "";
        QTest::newRow("dort entfernt") << true << 0 << "";
        QTest::newRow("xdg-open fehlt") << false << -1 << "Das Programm \"xdg-open\" ließ sich nicht starten.";
        QTest::newRow("kein Programm für PDF") << false << 3 << "\"xdg-open\" kennt kein Programm, das diese Art Datei öffnet.";
    }
    // The guide from the program folder, else the built-in one, opens with the desktop's opener (a
    // stand-in); when that fails, the message names the file and the opener.
    void hilfe() {
        QFETCH(bool, entfernt);
        QFETCH(int, status);
        QFETCH(QString, grund);
        QVERIFY(offen(u"hilfe"_s));
        const QString imOrdner = testumgebung::programmOrdner() + u"Korvane-Hilfe.pdf"_s;
        if (entfernt) QVERIFY(QFile::remove(imOrdner));
        QTemporaryDir bin(testumgebung::wurzel() + u"/bin-XXXXXX"_s);
        const QString oeffner = bin.filePath(u"xdg-open"_s), arg = oeffner + u".arg"_s;
        if (status >= 0) {
            testumgebung::schreibe(oeffner, "#!/bin/sh\nprintf %s \"$1\" > \"$0.arg\"\nexit " +
                                                QByteArray::number(status));
            QVERIFY(QFile::setPermissions(oeffner, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray pfad = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit()); // looked up when started
        form->Hilfethemen1Click();
        qputenv("PATH", pfad);
        QTRY_VERIFY(grund.isEmpty() ? QFileInfo::exists(arg) : !testumgebung::dialoge().gezeigt.isEmpty());
        QTest::qWait(200); // nothing more comes
        const QString meldung = u"Die Hilfedatei \"%1\" konnte nicht geöffnet werden. %2"_s.arg(imOrdner, grund);
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung).join(u'|'), grund.isEmpty() ? QString() : meldung);
        if (!grund.isEmpty()) return;
        const QString geoeffnet = QString::fromLocal8Bit(testumgebung::lies(arg));
        QCOMPARE(geoeffnet == imOrdner, !entfernt);
        QVERIFY(testumgebung::lies(geoeffnet).startsWith("%PDF-"));
    }

    void grafikImBrowser_data() {
        QTest::addColumn<QString>("fall");
        QTest::newRow("geschrieben und geoeffnet") << "gut";
        QTest::newRow("Seite nicht schreibbar") << "schreibfehler";
    }
    // The month drawn becomes a page that opens in the browser chosen; an unwritable page opens nothing.
    void grafikImBrowser() {
        QFETCH(QString, fall);
        QVERIFY(offen(u"browser-"_s + fall));
        const QString seite = z.htmlOrdner + u"2024/Anna_03_2024.html"_s;
        form->zeigeTabelleAlsGrafik(maerz());
        if (fall == u"schreibfehler") QVERIFY(QDir().mkpath(seite));
        Schreib_String_in_Registry(u"Browser"_s, u"opera"_s); // the default handler
        QStringList geoeffnet;
        shell::zeichneAuf(&geoeffnet);
        form->DiagrammimBrowseranzeigen->trigger();
        shell::zeichneAuf(nullptr);
        QCOMPARE(geoeffnet, fall == u"gut" ? QStringList{seite} : QStringList());
        const QStringList warnung{u"Fehler beim Erzeugen der Datei "_s + seite + u"\nAn dieser Stelle liegt ein Ordner."_s};
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung), fall == u"gut" ? QStringList() : warnung);
        QCOMPARE(testumgebung::dialoge().alleTexte().size(), fall == u"gut" ? 0 : 1);
        QCOMPARE(QFileInfo(seite).isFile(), fall == u"gut");
        if (fall != u"gut") return;
        QVERIFY(testumgebung::lies(seite).contains("Korvanemesswerte von Anna im M\xE4rz 2024"));
        QVERIFY(testumgebung::lies(z.htmlOrdner + u"2024/Chart.min.js"_s).startsWith("/*!\n * Chart.js v2.9.4"));
    }

    // The data folder gets the built-in chart script at start; a user's own copy stays.
    void skriptBeimStart() {
        QVERIFY(offen(u"skript"_s));
        const QString skript = z.datenOrdner + u"scripts/Chart.min.js"_s;
        QVERIFY(testumgebung::lies(skript).startsWith("/*!\n * Chart.js v2.9.4"));
        QVERIFY(offen(u"skript"_s, [&] { testumgebung::schreibe(skript, "// eigene Fassung"); }));
        QCOMPARE(testumgebung::lies(skript), QByteArray("// eigene Fassung"));
    }

    // Only years 1990 to 2039 in the title name the year folder; otherwise it stays.
    void jahrAusTitel_data() {
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("jahr");
        QTest::newRow("2024") << "Korvanemesswerte  März 2024  Anna" << "2024";
        QTest::newRow("1998") << "Korvanemesswerte  Mai 1998  Bert" << "1998";
        QTest::newRow("2045 bleibt") << "Korvanemesswerte  Mai 2045  Bert" << "2023";
        QTest::newRow("spaeteres muster gewinnt") << "Korvanemesswerte  Juni 2031  Anna2001" << "2031";
    }
    void jahrAusTitel() {
        QFETCH(QString, titel);
        QTEST(TmainForm::jahrAusTitel(titel, QStringLiteral("2023")), "jahr");
    }

    // Client size and frame position from the design height, the frame and the screen.
    void normalLage_data() {
        QTest::addColumn<int>("bedarf"); // of the content; the design height is 795 with the 36 of the frame
        QTest::addColumn<QRect>("frei");
        QTest::addColumn<QPoint>("bisher");
        QTest::addColumn<bool>("mittig");
        QTest::addColumn<QRect>("lage"); // frame position, client size
        const QRect gross(0, 0, 1920, 1080), klein(0, 0, 1366, 768), oben(0, 30, 1366, 738), rechts(1366, 0, 1366, 768);
        QTest::newRow("1920x1080, mittig") << 740 << gross << QPoint(300, 500) << true << QRect(672, 142, 574, 759);
        QTest::newRow("knapp zu hoch") << 760 << gross << QPoint(300, 500) << false << QRect(300, 142, 589, 759);
        QTest::newRow("Leiste oben") << 740 << oben << QPoint(300, 0) << false << QRect(300, 30, 589, 702);
        QTest::newRow("rechts hinaus") << 500 << klein << QPoint(1200, 0) << false << QRect(790, 0, 574, 732);
        QTest::newRow("links hinaus") << 500 << rechts << QPoint(0, 0) << false << QRect(1366, 0, 574, 732);
        QTest::newRow("ohne Bildschirm") << 900 << QRect() << QPoint(5, 6) << true << QRect(5, 6, 574, 759);
    }
    void normalLage() {
        QFETCH(int, bedarf);
        QFETCH(QRect, frei);
        QFETCH(QPoint, bisher);
        QFETCH(bool, mittig);
        const auto lage = TmainForm::normalLage(795, bedarf, QMargins(1, 31, 1, 5), frei, 15, bisher, mittig);
        QTEST(QRect(lage.position, lage.innen), "lage");
    }

    // The design height with the weight chart, the remarks, both or neither; the window lies wholly
    // in the screen's free area and scrolls only downwards, also after resizing, maximising and
    // restoring. ctest runs this again on a small screen and on 1366 x 768.
    void aufDemBildschirm_data() {
        QTest::addColumn<bool>("gewicht");
        QTest::addColumn<bool>("bemerkungen");
        QTest::addColumn<int>("hoehe"); // 0: 795 less the weight template and its gap
        QTest::newRow("beides") << true << true << 795;
        QTest::newRow("nur Bemerkungen") << false << true << 0;
        QTest::newRow("nur Gewicht") << true << false << 795 - 96;
        QTest::newRow("keins") << false << false << 549;
    }
    void aufDemBildschirm() {
        QFETCH(bool, gewicht);
        QFETCH(bool, bemerkungen);
        QFETCH(int, hoehe);
        QVERIFY(offen(u"schirm"_s, [&] {
            Schreib_Integer_in_Registry(u"FarbkurveGewichtAnzeigen"_s, QString::number(gewicht));
            Schreib_Integer_in_Registry(u"BemerkungenAnzeigen"_s, QString::number(bemerkungen));
        }));
        QCOMPARE(form->GewichtImage->isHidden(), !gewicht);
        QCOMPARE(form->RichEdit1->isHidden(), !bemerkungen);
        const QRect frei = form->screen()->availableGeometry();
        hoehe = qMin(hoehe ? hoehe : 795 - form->grafik().vorlageGewicht.height() - 20, frei.height());
        QScrollArea* box = form->ScrollBox1;
        // Menu bar and legend strip whole in the window, the window on the screen, and the lowest
        // in the box reached by scrolling to the end: the remarks whole, a chart its full height.
        const auto ganz = [&] {
            QVERIFY(frei.contains(form->frameGeometry()));
            for (const QWidget* w : QWidgetList{form->menuBar(), form->Panel1, form->Image2})
                QVERIFY2(form->rect().contains(QRect(w->mapTo(form.get(), QPoint()), w->size())),
                         qPrintable(w->objectName()));
            const QWidget* chart = gewicht ? form->GewichtImage : form->Image;
            const QWidget* unten = bemerkungen ? form->RichEdit1 : chart;
            if (bemerkungen) QVERIFY(unten->y() > chart->geometry().bottom());
            if (gewicht) QVERIFY(chart->y() > form->Image->geometry().bottom());
            box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
            box->horizontalScrollBar()->setValue(0);
            const QRect r(unten->mapTo(box->viewport(), QPoint()), unten->size()), sicht = box->viewport()->rect();
            QVERIFY(bemerkungen ? sicht.contains(r) : r.top() >= 0 && r.bottom() <= sicht.bottom());
        };
        const auto pruefe = [&] {
            form->resize(form->width() + 100, form->height() - 100); // dragging the frame keeps no other size
            QTRY_COMPARE(form->frameGeometry().height(), hoehe);
            QTRY_VERIFY(!form->Timer1->isActive());
            ganz();
            const bool rollt = box->widget()->height() > box->viewport()->height();
            QCOMPARE(box->verticalScrollBar()->isVisible(), rollt);
            QCOMPARE(form->width(), 574 + (rollt ? box->verticalScrollBar()->width() : 0));
            QVERIFY(!box->horizontalScrollBar()->isVisible());
            QCOMPARE(box->viewport()->width(), 570);
        };
        pruefe();
        if (QTest::currentTestFailed()) return;
        form->showMaximized();
        QTRY_VERIFY(form->isMaximized() && form->Image->width() > 570);
        QTRY_VERIFY(!form->Timer1->isActive());
        ganz();
        QVERIFY(!box->horizontalScrollBar()->isVisible());
        QCOMPARE(form->RichEdit1->isHidden(), !bemerkungen);
        if (QTest::currentTestFailed()) return;
        form->showNormal();
        QTRY_VERIFY(!form->isMaximized() && form->Image->width() == 570);
        pruefe();
    }

    void maus_data() {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("rad"); // 0: a right click at screen row `zeile`
        QTest::addColumn<int>("zeile");
        QTest::addColumn<int>("erwartet"); // scroll bar value from 500, or 1 for a pop-up
        QTest::newRow("Rad ganzzahlig geteilt") << u"ScrollBox1"_s << -100 << 0 << 533;
        QTest::newRow("Rad über dem Diagramm") << u"Image"_s << 120 << 0 << 460;
        QTest::newRow("Rad über der Leiste") << u"Panel1"_s << -120 << 0 << 540;
        QTest::newRow("Klick Diagramm Zeile 120") << u"Image"_s << 0 << 120 << 0;
        QTest::newRow("Klick Diagramm Zeile 121") << u"Image"_s << 0 << 121 << 1;
        QTest::newRow("Klick Bemerkungen") << u"RichEdit1"_s << 0 << 50 << 1;
    }
    void maus() {
        QFETCH(QString, ziel);
        QFETCH(int, rad);
        QFETCH(int, zeile);
        QVERIFY(offen(u"maus"_s));
        QWidget* w = form->findChild<QWidget*>(ziel);
        if (auto* bereich = qobject_cast<QAbstractScrollArea*>(w)) w = bereich->viewport();
        form->ScrollBox1->widget()->resize(570, 3000);
        QScrollBar* leiste = form->ScrollBox1->verticalScrollBar();
        leiste->setValue(500);
        const QPointF p(10, 10);
        QWheelEvent drehung(p, p, QPoint(), QPoint(0, rad), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QMouseEvent klick(QEvent::MouseButtonPress, p, QPointF(200, zeile), Qt::RightButton, Qt::RightButton, {});
        QCoreApplication::sendEvent(w, rad ? static_cast<QEvent*>(&drehung) : &klick);
        QTEST(rad ? leiste->value() : int(form->PopupMenu1->isVisible()), "erwartet");
    }

    // Too few readings for means: the message; enough: drawn over the readings, then gone again.
    void mittelwerte() {
        for (const int messungen : {1, 2}) {
            QVERIFY(offen(u"mittel"_s));
            TMonatsGrafik& g = form->grafik();
            form->zeigeTabelleAlsGrafik(maerz(messungen));
            bool ueberlagert = false; // in some drawing, means over the readings
            connect(&g, &TMonatsGrafik::gezeichnet, this, [&] { ueberlagert |= g.MittelwertModus && g.ueberlagerung; });
            testumgebung::dialoge().leeren();
            form->Mittelwerte1->trigger();
            QCOMPARE(testumgebung::dialoge().texte(Art::Information).join(u'|'), messungen > 1 ? QString() : kZuWenig);
            QCOMPARE(ueberlagert, messungen > 1);
            QVERIFY(!g.MittelwertModus && !g.ueberlagerung);
        }
    }

    void ersteZeichnung_data() {
        QTest::addColumn<QString>("gespeichert"); // under the data folder
        QTest::addColumn<bool>("absolut");
        QTest::newRow("unter dem Datenordner") << kMaerzRelativ << false;
        QTest::newRow("Datei fehlt") << u"weg/Anna_01_2020.tab"_s << true;
    }
    void ersteZeichnung() {
        QFETCH(QString, gespeichert);
        QFETCH(bool, absolut);
        QVERIFY(offen(u"erste"_s, [&] {
            // A data folder away from the working folder, so a relative name must be resolved.
            const QString daten = testumgebung::programmOrdner() + u"daten/"_s;
            testumgebung::legeMaerzAn(daten + kMaerzRelativ);
            Schreib_String_in_Registry(u"DatenSpeicherOrt"_s, daten);
            Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
            Schreib_String_in_Registry(u"TabellenDateiName"_s, absolut ? daten + gespeichert : gespeichert);
        }));
        const bool da = gespeichert == kMaerzRelativ;
        QCOMPARE(form->Label1->text(), da ? u"Korvanemesswerte  März 2024  Anna"_s : u"von Anna"_s);
        // The chart in words, for a screen reader: month, user and the means of the box.
        QCOMPARE(form->Image->accessibleDescription(), da ? u"März 2024, Anna. Mittelwerte: systolisch 134,33, "
                                                            u"diastolisch 87,67, Puls 69,33, Pulsdruck 46,67"_s
                                                          : u"von Anna"_s);
        // Kept even when the file is gone, so closing stores it back.
        QCOMPARE(z.TabellenDateiName, z.datenOrdner + gespeichert);
        form->close();
        QCOMPARE(gespeicherteTabelle(), z.TabellenDateiName);
    }

    // Closing writes the remarks once. A file that cannot take them is asked about, and month or
    // program are left only on the user's word; unreadable remarks are read-only, never saved over.
    void bemerkungen_data() {
        QTest::addColumn<QString>("text"); // typed into the remarks
        QTest::addColumn<int>("datei");    // 0 writable, 1 a folder in its place, 2 too large to read
        QTest::addColumn<bool>("april");   // April opened as a chart; else the window closed
        QTest::addColumn<QList<bool>>("antworten");
        QTest::newRow("geändert") << u"Kopfweh\tabends"_s << 0 << false << QList<bool>{};
        QTest::newRow("unverändert") << QString() << 0 << false << QList<bool>{};
        QTest::newRow("Schreibfehler, bleibt offen") << u"wichtig"_s << 1 << false << QList<bool>{false};
        QTest::newRow("Schreibfehler, trotzdem beenden") << u"wichtig"_s << 1 << false << QList<bool>{true};
        QTest::newRow("April, ohne Bemerkungen") << u"wichtig"_s << 1 << true << QList<bool>{false};
        QTest::newRow("April, nochmal, dann ohne") << u"wichtig"_s << 1 << true << QList<bool>{true, false};
        QTest::newRow("unlesbar") << QString() << 2 << false << QList<bool>{};
    }
    void bemerkungen() {
        QFETCH(QString, text);
        QFETCH(int, datei);
        QFETCH(bool, april);
        QFETCH(QList<bool>, antworten);
        QVERIFY(offen(u"ende"_s, [] { Schreib_String_in_Registry(u"TabellenDateiName"_s, u"alt.tab"_s); }));
        const QString tabelle = maerz(), april04 = z.tabellenOrdner + u"2024/Anna_04_2024.tab"_s;
        if (datei == 2) testumgebung::schreibe(notiz(), QByteArray(2 << 20, 'x'));
        form->zeigeTabelleAlsGrafik(tabelle);
        QCOMPARE(form->RichEdit1->isReadOnly(), datei == 2);
        if (datei == 1) QVERIFY(QDir().mkpath(notiz()));
        if (!text.isEmpty()) form->RichEdit1->setPlainText(text);
        TestDialoge& d = testumgebung::dialoge();
        d.fragen.assign(antworten.begin(), antworten.end());
        testumgebung::schreibe(april04, testumgebung::lies(tabelle).replace(".03.2024", ".04.2024"));
        april ? form->zeigeTabelleAlsGrafik(april04) : (void)form->close();
        QCOMPARE(d.texte(Art::Frage).size(), antworten.size());
        if (!april && datei == 1) QCOMPARE(d.texte(Art::Frage).value(0), kTrotzdem.arg(notiz()));
        QCOMPARE(d.texte(Art::Warnung).size(), datei == 2 ? 1 : 0);
        QCOMPARE(z.TabellenDateiName, april ? april04 : tabelle);
        if (april) return;
        const bool bleibt = antworten == QList<bool>{false};
        QCOMPARE(form->isVisible(), bleibt);
        QCOMPARE(gespeicherteTabelle(), bleibt ? u"alt.tab"_s : tabelle);
        if (datei == 0) QCOMPARE(testumgebung::lies(notiz()), text.isEmpty() ? "" : (text + u"\r\n"_s).toLatin1());
        if (datei == 1) QCOMPARE(form->RichEdit1->toPlainText(), text);
        if (datei == 2) QCOMPARE(QFileInfo(notiz()).size(), qint64(2 << 20));
        if (bleibt) return;
        QFile::remove(notiz());
        Schreib_String_in_Registry(u"TabellenDateiName"_s, u"danach.tab"_s);
        form->grafik().setzeBemerkungen(u"spät"_s);
        form->beenden();
        QVERIFY(!QFileInfo(notiz()).isFile());
        QCOMPARE(gespeicherteTabelle(), u"danach.tab"_s);
    }
};

KORVANE_TEST_MAIN(TestMainform)
#include "test_mainform.moc"
