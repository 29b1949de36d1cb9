// The main window driven offscreen: help, browser, size and place, wheel, right click, means,
// first paint, remarks and closing.
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

    // A fresh program folder with its defaults, the window shown and past its first paint; vorher
    // sets further settings before creation.
    bool offen(const QString& ordner, const std::function<void()>& vorher = {}) {
        form.reset();
        testumgebung::eingerichtet(ordner);
        if (vorher) vorher();
        z = Zustand{};
        form = std::make_unique<TmainForm>(z);
        if (!form->FormCreate()) return false;
        form->show();
        return QTest::qWaitForWindowExposed(form.get()) &&
               QTest::qWaitFor([&] { return !form->ersteZeichnungAusstehend(); });
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
        QTest::newRow("xdg-open fehlt")
            << false << -1 << "Das Programm \"xdg-open\" ließ sich nicht starten.";
        QTest::newRow("kein Programm für PDF")
            << false << 3 << "\"xdg-open\" kennt kein Programm, das diese Art Datei öffnet.";
    }
    // The start puts the guide into the program folder; when it is gone from there, the built-in
    // one is put where the desktop can open it. The desktop's opener (a stand-in) opens it; when it
    // fails, the message names the file and the opener, once the opener has ended.
    void hilfe() {
        QFETCH(bool, entfernt);
        QFETCH(int, status);
        QFETCH(QString, grund);
        QVERIFY(offen(u"hilfe"_s));
        const QString imOrdner = testumgebung::programmOrdner() + u"Korvane-Hilfe.pdf"_s;
        if (entfernt) QVERIFY(QFile::remove(imOrdner));
        QTemporaryDir bin(testumgebung::wurzel() + u"/bin-XXXXXX"_s);
        const QString oeffner = bin.filePath(u"xdg-open"_s);
        if (status >= 0) {
            testumgebung::schreibe(oeffner, "#!/bin/sh\nprintf %s \"$1\" > \"$0.arg\"\nexit " +
                                                QByteArray::number(status));
            QVERIFY(QFile::setPermissions(oeffner, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray pfad = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit()); // looked up when started
        form->Hilfethemen1Click();
        qputenv("PATH", pfad);
        if (grund.isEmpty())
            QTRY_VERIFY(QFileInfo::exists(oeffner + u".arg"_s));
        else
            QTRY_VERIFY(!testumgebung::dialoge().texte(Art::Warnung).isEmpty());
        QTest::qWait(200); // nothing more comes
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung).join(u'|'),
                 grund.isEmpty()
                     ? QString()
                     : u"Die Hilfedatei \"%1\" konnte nicht geöffnet werden. %2"_s.arg(imOrdner, grund));
        if (!grund.isEmpty()) return;
        const QString geoeffnet = QString::fromLocal8Bit(testumgebung::lies(oeffner + u".arg"_s));
        QCOMPARE(geoeffnet == imOrdner, !entfernt);
        QVERIFY(testumgebung::lies(geoeffnet).startsWith("%PDF-"));
    }

    // The month drawn becomes a page beside its script and opens in the browser chosen.
    void grafikImBrowser() {
        QVERIFY(offen(u"browser"_s));
        const QString seite = z.htmlOrdner + u"2024/Anna_03_2024.html"_s;
        form->zeigeTabelleAlsGrafik(maerz());
        Schreib_String_in_Registry(u"Browser"_s, u"opera"_s); // the default handler
        QStringList geoeffnet;
        shell::zeichneAuf(&geoeffnet);
        form->DiagrammimBrowseranzeigen->trigger();
        shell::zeichneAuf(nullptr);
        QCOMPARE(geoeffnet, QStringList{seite});
        QVERIFY(testumgebung::lies(seite).contains("Korvanemesswerte von Anna im M\xE4rz 2024"));
        QCOMPARE(testumgebung::dialoge().alleTexte(), QStringList());
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
        QFETCH(QString, jahr);
        QCOMPARE(TmainForm::jahrAusTitel(titel, QStringLiteral("2023")), jahr);
    }

    // Client size and frame position from the design height, the frame and the screen.
    void normalLage_data() {
        QTest::addColumn<int>("hoehe"); // with frame
        QTest::addColumn<int>("bedarf");
        QTest::addColumn<QMargins>("rahmen");
        QTest::addColumn<QRect>("frei");
        QTest::addColumn<QPoint>("bisher");
        QTest::addColumn<bool>("mittig");
        QTest::addColumn<QSize>("innen");
        QTest::addColumn<QPoint>("position");
        const QMargins fenster(1, 31, 1, 5); // 36 pixels high: title bar and borders
        const QRect gross(0, 0, 1920, 1080), klein(0, 0, 1366, 768);
        QTest::newRow("1920x1080, Rahmen 36") << 795 << 740 << fenster << gross << QPoint(300, 500) << false
                                              << QSize(574, 759) << QPoint(300, 142);
        QTest::newRow("1920x1080, mittig") << 795 << 740 << fenster << gross << QPoint(300, 500) << true
                                           << QSize(574, 759) << QPoint(672, 142);
        QTest::newRow("1920x1080, Inhalt passt knapp nicht")
            << 795 << 760 << fenster << gross << QPoint(300, 500) << false << QSize(589, 759)
            << QPoint(300, 142);
        QTest::newRow("1366x768, Rahmen 36: kleiner, rollt")
            << 795 << 740 << fenster << klein << QPoint(300, 200) << false << QSize(589, 732)
            << QPoint(300, 0);
        QTest::newRow("Leiste oben") << 795 << 740 << fenster << QRect(0, 30, 1366, 738) << QPoint(300, 0)
                                     << false << QSize(589, 702) << QPoint(300, 30);
        QTest::newRow("rechts hinaus") << 549 << 500 << fenster << klein << QPoint(1200, 0) << false
                                       << QSize(574, 513) << QPoint(1366 - 576, 109);
        QTest::newRow("links hinaus") << 549 << 500 << fenster << QRect(1366, 0, 1366, 768) << QPoint(0, 0)
                                      << false << QSize(574, 513) << QPoint(1366, 109);
        QTest::newRow("ohne Bildschirm")
            << 795 << 900 << fenster << QRect() << QPoint(5, 6) << true << QSize(574, 759) << QPoint(5, 6);
    }
    void normalLage() {
        QFETCH(int, hoehe);
        QFETCH(int, bedarf);
        QFETCH(QMargins, rahmen);
        QFETCH(QRect, frei);
        QFETCH(QPoint, bisher);
        QFETCH(bool, mittig);
        QFETCH(QSize, innen);
        QFETCH(QPoint, position);
        const TmainForm::Normallage lage =
            TmainForm::normalLage(hoehe, bedarf, rahmen, frei, 15, bisher, mittig);
        QCOMPARE(lage.innen, innen);
        QCOMPARE(lage.position, position);
    }

    // The window on the screen it has lies wholly in the free area, and the chart scrolls only
    // downwards, after maximising and restoring too. ctest runs this once more on a small screen
    // and on one of 1366 x 768.
    void aufDemBildschirm_data() {
        QTest::addColumn<bool>("gewicht");
        QTest::newRow("mit Gewicht") << true;
        QTest::newRow("ohne Gewicht") << false;
    }
    void aufDemBildschirm() {
        QFETCH(bool, gewicht);
        QVERIFY(offen(u"schirm"_s, [&] {
            Schreib_Integer_in_Registry(u"FarbkurveGewichtAnzeigen"_s, QString::number(gewicht));
            Schreib_Integer_in_Registry(u"BemerkungenAnzeigen"_s, u"1"_s);
        }));
        QCOMPARE(form->GewichtImage->isHidden(), !gewicht);
        const QRect frei = form->screen()->availableGeometry();
        const int hoehe = qMin(form->normalHoehe(), frei.height());
        QScrollArea* box = form->ScrollBox1;
        // Menu bar and legend strip whole in the window, the window on the screen, and the remarks
        // reached by scrolling.
        const auto ganz = [&] {
            const QRect f = form->frameGeometry();
            QVERIFY2(frei.contains(f),
                     qPrintable(u"%1,%2 %3x%4"_s.arg(f.x()).arg(f.y()).arg(f.width()).arg(f.height())));
            for (const QWidget* w :
                 std::initializer_list<const QWidget*>{form->menuBar(), form->Panel1, form->Image2})
                QVERIFY2(form->rect().contains(QRect(w->mapTo(form.get(), QPoint()), w->size())),
                         qPrintable(w->objectName()));
            QVERIFY(!form->RichEdit1->isHidden());
            // The lowest in the box: scrolled to the end, it shows whole.
            box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
            box->horizontalScrollBar()->setValue(0);
            const QRect bemerkungen(form->RichEdit1->mapTo(box->viewport(), QPoint()),
                                    form->RichEdit1->size());
            QVERIFY(box->viewport()->rect().contains(bemerkungen));
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
        QTest::newRow("Rad hoch") << u"ScrollBox1"_s << 120 << 0 << 460;
        QTest::newRow("Rad zwei Rasten runter") << u"ScrollBox1"_s << -240 << 0 << 580;
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
        QFETCH(int, erwartet);
        QVERIFY(offen(u"maus"_s));
        QWidget* w = form->findChild<QWidget*>(ziel);
        if (auto* bereich = qobject_cast<QAbstractScrollArea*>(w)) w = bereich->viewport();
        form->ScrollBox1->widget()->resize(570, 3000);
        QScrollBar* leiste = form->ScrollBox1->verticalScrollBar();
        leiste->setValue(500);
        QWheelEvent drehung(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, rad), Qt::NoButton,
                            Qt::NoModifier, Qt::NoScrollPhase, false);
        QMouseEvent klick(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(200, zeile), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, rad ? static_cast<QEvent*>(&drehung) : &klick);
        QCOMPARE(rad ? leiste->value() : int(form->PopupMenu1->isVisible()), erwartet);
    }

    void mittelwerte_data() {
        QTest::addColumn<int>("messungen");
        QTest::newRow("eine") << 1;
        QTest::newRow("zwei") << 2;
    }
    void mittelwerte() {
        QFETCH(int, messungen);
        QVERIFY(offen(u"mittel"_s));
        TMonatsGrafik& g = form->grafik();
        form->zeigeTabelleAlsGrafik(maerz(messungen));
        QList<bool> ueberlagert; // per drawing: means drawn over the readings
        connect(&g, &TMonatsGrafik::gezeichnet, this,
                [&] { ueberlagert << (g.MittelwertModus && g.ueberlagerung); });
        form->Mittelwerte1->trigger();
        const bool genug = messungen >= 2;
        QCOMPARE(testumgebung::dialoge().texte(Art::Information).join(u'|'), genug ? QString() : kZuWenig);
        QCOMPARE(ueberlagert.contains(true), genug);
        QVERIFY(!g.MittelwertModus && !g.ueberlagerung);
    }

    void ersteZeichnung_data() {
        QTest::addColumn<QString>("gespeichert"); // under the data folder
        QTest::addColumn<bool>("absolut");
        QTest::newRow("unter dem Datenordner") << kMaerzRelativ << false;
        QTest::newRow("voller Pfad") << kMaerzRelativ << true;
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
        QCOMPARE(form->Image->accessibleDescription(),
                 da ? u"März 2024, Anna. Mittelwerte: systolisch 134,33, diastolisch 87,67, Puls 69,33, "
                      u"Pulsdruck 46,67"_s
                    : u"von Anna"_s);
        // Kept even when the file is gone, so closing stores it back.
        QCOMPARE(z.TabellenDateiName, z.datenOrdner + gespeichert);
        form->close();
        QCOMPARE(gespeicherteTabelle(), z.TabellenDateiName);
    }

    // Remarks that cannot be saved are asked about once when another table is opened as a chart,
    // and the month is only left on the user's word.
    void bemerkungenBeimOeffnenEinmalGefragt_data() {
        QTest::addColumn<QList<bool>>("antworten");
        QTest::addColumn<bool>("gewechselt");
        QTest::newRow("ohne bemerkungen verlassen") << QList<bool>{false} << true;
        QTest::newRow("nochmal, dann verlassen") << QList<bool>{true, false} << true;
    }
    void bemerkungenBeimOeffnenEinmalGefragt() {
        QFETCH(QList<bool>, antworten);
        QFETCH(bool, gewechselt);
        QVERIFY(offen(u"einmal"_s));
        const QString tabelle = maerz();
        form->zeigeTabelleAlsGrafik(tabelle);
        QVERIFY(QDir().mkpath(notiz())); // the remarks file cannot be written
        form->RichEdit1->setPlainText(u"wichtig"_s);
        const QString april = z.tabellenOrdner + u"2024/Anna_04_2024.tab"_s;
        testumgebung::schreibe(april, testumgebung::lies(tabelle).replace(".03.2024", ".04.2024"));
        testumgebung::dialoge().fragen.assign(antworten.begin(), antworten.end());
        form->zeigeTabelleAlsGrafik(april);
        QCOMPARE(testumgebung::dialoge().texte(Art::Frage).size(), antworten.size());
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung), QStringList());
        QCOMPARE(z.TabellenDateiName == april, gewechselt);
    }

    // Remarks that could not be read are shown read-only, so nothing empty is saved over them.
    void unlesbareBemerkungenNurLesen() {
        QVERIFY(offen(u"nurlesen"_s));
        const QString tabelle = maerz();
        testumgebung::schreibe(notiz(), QByteArray(2 << 20, 'x'));
        form->zeigeTabelleAlsGrafik(tabelle);
        QVERIFY(form->RichEdit1->isReadOnly());
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung).size(), 1);
        form->close();
        QCOMPARE(QFileInfo(notiz()).size(), qint64(2 << 20));
    }

    void schliessen_data() {
        QTest::addColumn<QString>("text");   // typed into the remarks
        QTest::addColumn<bool>("blockiert"); // the remarks file cannot be written
        QTest::addColumn<bool>("trotzdem");  // the answer to closing anyway
        QTest::newRow("Bemerkungen geändert") << u"Kopfweh\tabends"_s << false << false;
        QTest::newRow("Bemerkungen unverändert") << QString() << false << false;
        QTest::newRow("Schreibfehler, bleibt offen") << u"wichtig"_s << true << false;
        QTest::newRow("Schreibfehler, trotzdem beenden") << u"wichtig"_s << true << true;
    }
    void schliessen() {
        QFETCH(QString, text);
        QFETCH(bool, blockiert);
        QFETCH(bool, trotzdem);
        QVERIFY(offen(u"ende"_s, [] { Schreib_String_in_Registry(u"TabellenDateiName"_s, u"alt.tab"_s); }));
        const QString tabelle = maerz();
        form->zeigeTabelleAlsGrafik(tabelle);
        if (blockiert) QVERIFY(QDir().mkpath(notiz()));
        if (!text.isEmpty()) form->RichEdit1->setPlainText(text);
        testumgebung::dialoge().fragen.push_back(trotzdem);
        form->close();
        const bool bleibt = blockiert && !trotzdem;
        QCOMPARE(form->isVisible(), bleibt);
        QCOMPARE(form->RichEdit1->toPlainText(), text);
        QCOMPARE(testumgebung::dialoge().texte(Art::Frage).join(u'|'), blockiert ? kTrotzdem.arg(notiz()) : QString());
        QCOMPARE(gespeicherteTabelle(), bleibt ? u"alt.tab"_s : tabelle);
        const QByteArray gesichert = text.isEmpty() ? QByteArray() : (text + u"\r\n"_s).toLatin1();
        if (!blockiert) QCOMPARE(testumgebung::lies(notiz()), gesichert);
        if (bleibt) return;

        // Only once: a second request (the program's end on a signal) writes nothing more.
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
