// The main window driven offscreen: menu tree, layout and heights, timers, wheel, right click,
// gestures, first paint, closing, help, and the pause component.
#include "testumgebung.h"

#include "chart/gui/tmainform.h"
#include "chart/tmachpause.h"
#include "chart/tmonatsgrafik.h"
#include "entry/gui/teingabedlg.h"
#include "entry/gui/tnameeingdlg.h"
#include "platform/pause.h"
#include "platform/shell.h"
#include "platform/textdatei.h"
#include "storage/registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QWheelEvent>
#include <functional>
#include <memory>

using Art = TestDialoge::Art;

namespace {

const QStringList kMaerz = {
    QStringLiteral("[Personendaten]"),
    QStringLiteral("BenutzerName=Anna"),
    QStringLiteral("Datum=März 2024"),
    QStringLiteral("1M=1"),
    QStringLiteral("2M=1"),
    QStringLiteral("3M=1"),
    QStringLiteral("4M=1"),
    QString(),
    QStringLiteral("Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=70,5"),
    QStringLiteral("Abends den 05.03.2024 Z=20:40 s=135, d=85, p=72, Gewicht=0"),
    QStringLiteral("Morgens den 06.03.2024 Z=07:30 s=138, d=88, p=68, Gewicht=71"),
};

QStringList tabelle(const QString& name, const QString& monat, const QString& datum) {
    QStringList zeilen = kMaerz;
    zeilen[1] = QStringLiteral("BenutzerName=") + name;
    zeilen[2] = QStringLiteral("Datum=") + datum;
    for (int i = 8; i < zeilen.size(); ++i)
        zeilen[i].replace(QStringLiteral(".03."), QLatin1Char('.') + monat + QLatin1Char('.'));
    return zeilen;
}

QString schreibeTabelle(const QString& pfad, const QStringList& zeilen) {
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    if (textdatei::schreibeZeilen(pfad, zeilen) != textdatei::Ergebnis::Ok) return {};
    return pfad;
}

void rechtsKlicken(QWidget* ziel, int globalY) {
    const QPointF lokal(10, 10);
    QMouseEvent druck(QEvent::MouseButtonPress, lokal, QPointF(200, globalY), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ziel, &druck);
}

void rad(QWidget* ziel, int delta) {
    QWheelEvent ereignis(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(ziel, &ereignis);
}

QStringList eintraege(QWidget* menue) {
    QStringList liste;
    for (QAction* a : menue->actions())
        liste << a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') +
                     (a->isEnabled() ? QLatin1Char('+') : QLatin1Char('-')) +
                     (a->isVisible() ? QString() : QStringLiteral("|versteckt"));
    return liste;
}

} // namespace

class TestMainform : public QObject {
    Q_OBJECT

    Zustand z;
    std::unique_ptr<TmainForm> form;

    // A fresh program folder with its defaults; vorher sets further settings before creation.
    TmainForm* neuesFenster(const QString& ordner, const std::function<void()>& vorher = {}) {
        form.reset();
        testumgebung::neuerProgrammOrdner(ordner);
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(testumgebung::programmOrdner());
        if (vorher) vorher();
        z = Zustand{};
        form = std::make_unique<TmainForm>(z);
        if (!form->FormCreate()) return nullptr;
        return form.get();
    }

    bool zeigen() {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) return false;
        return QTest::qWaitFor([&] { return !form->ersteZeichnungAusstehend(); });
    }

    QString maerzPfad() const { return z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab"); }

private Q_SLOTS:
    void init() { testumgebung::dialoge().leeren(); }
    void cleanup() {
        form.reset();
        shell::zeichneAuf(nullptr);
        QVERIFY2(testumgebung::dialoge().unerwartet.isEmpty(),
                 qPrintable(testumgebung::dialoge().unerwartet.join(QLatin1Char('\n'))));
    }

    void menuebaum_data() {
        QTest::addColumn<QString>("menue");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("Menüleiste") << QStringLiteral("MainMenu1")
                                    << QStringList{QStringLiteral("Datei|Datei|+"),
                                                   QStringLiteral("Drucken1|&Drucken|-|versteckt"),
                                                   QStringLiteral("Einstellungen1|Einstellungen|-"),
                                                   QStringLiteral("Mittelwerte1|Mittelwerte|+"),
                                                   QStringLiteral("Messwerte1|Messwerte|+"),
                                                   QStringLiteral("Tabelle|&Tabelle|+"),
                                                   QStringLiteral("Optionen1|&Optionen|+"),
                                                   QStringLiteral("Hilfe1|&Hilfe|+")};
        QTest::newRow("Datei")
            << QStringLiteral("Datei")
            << QStringList{
                   QStringLiteral("Neu1|Neu erstellen (neuer Monat oder Jahr)|+"),
                   QStringLiteral("Oeffnen|Öffnen|+"),
                   QStringLiteral("N7|      |-"),
                   QStringLiteral("DiagrammimBrowseranzeigen|Grafik im Browser anzeigen|-"),
                   QStringLiteral("N4|  |-"),
                   QStringLiteral("GrafikspeichernalsBilddatei|Grafik speichern als  Bilddatei (.jpg)|-"),
                   QStringLiteral("GrafikplusTabellespeichernalsBilddatei|Grafik plus Tabelle "
                                  "speichern als Bilddatei (.jpg)|-"),
                   QStringLiteral("N2| |-"),
                   QStringLiteral("GrafikSpeichernAlsPdfDatei|&Grafik speichern als PDF-Datei|-"),
                   QStringLiteral("TabelleSpeichernAlsPDFDatei|&Tabelle speichern als  PDF-Datei|-"),
                   QStringLiteral("GrafikUndTabelleSpeichernAlsPDFDatei|Grafik &und Tabelle "
                                  "speichern als PDF-Datei|-"),
                   QStringLiteral("N1|  |-"),
                   QStringLiteral("beenden1|Be&enden|+")};
        QTest::newRow("Öffnen")
            << QStringLiteral("Oeffnen")
            << QStringList{QStringLiteral("OeffnenUndalsGrafikAnzeigen|und als Grafik anzeigen|+"),
                           QStringLiteral("OffnenUndTabelleAnzeigen|und Tabelle anzeigen|-"),
                           QStringLiteral("OeffnenUndTabelleBearbeiten|und Tabelle bearbeiten|+")};
        QTest::newRow("Drucken")
            << QStringLiteral("Drucken1")
            << QStringList{QStringLiteral("Grafikskaliertdrucken1|Grafik &skaliert drucken|-"),
                           QStringLiteral("GrafikalsHardcopydrucken1|Grafik als Hardcopy drucken "
                                          "(für ältere Druckertreiber)|-"),
                           QStringLiteral("Tabelledrucken1|&Tabelle drucken|-")};
        QTest::newRow("Tabelle")
            << QStringLiteral("Tabelle")
            << QStringList{QStringLiteral("anzeigen1|&aktuelle anzeigen|-"),
                           QStringLiteral("aktuellebearbeiten1|aktuelle &bearbeiten|+"),
                           QStringLiteral("N3| |-"),
                           QStringLiteral("neuerstellen1|&neu erstellen (neuer Monat oder Jahr)|+")};
        QTest::newRow("Optionen") << QStringLiteral("Optionen1")
                                  << QStringList{QStringLiteral("Benutzernamendern1|&Benutzername ändern|+")};
        QTest::newRow("Hilfe") << QStringLiteral("Hilfe1")
                               << QStringList{QStringLiteral("Hilfethemen1|&Hilfethemen|+"),
                                              QStringLiteral("Infober1|&Info über...|-")};
        QTest::newRow("Kontextmenü") << QStringLiteral("PopupMenu1")
                                     << QStringList{QStringLiteral("N5| |-"),
                                                    QStringLiteral(
                                                        "Menuegrosseranzeigen1|Menüleiste GROß anzeigen|-"),
                                                    QStringLiteral("N6| |-")};
    }
    void menuebaum() {
        QFETCH(QString, menue);
        QFETCH(QStringList, erwartet);
        QVERIFY(neuesFenster(QStringLiteral("menue")));
        QWidget* w = menue == QLatin1String("MainMenu1") ? static_cast<QWidget*>(form->menuBar())
                                                         : form->findChild<QMenu*>(menue);
        QVERIFY(w);
        QCOMPARE(eintraege(w), erwartet);
    }

    void titelUndGroesse() {
        QVERIFY(neuesFenster(QStringLiteral("titel")));
        QCOMPARE(form->windowTitle(), QStringLiteral("Korvanemesswerte -  "));
        QVERIFY(form->windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(zeigen());
        // Dragging the frame does not keep another size.
        const QSize normal = form->size();
        form->resize(normal.width() + 100, normal.height() - 100);
        QTRY_COMPARE(form->size(), normal);
    }

    void hoehen_data() {
        QTest::addColumn<QString>("gewicht");
        QTest::addColumn<QString>("bemerkungen");
        QTest::addColumn<int>("abzug"); // from 795; -1: the fixed 549
        QTest::newRow("beides") << "1"
                                << "1" << 0;
        QTest::newRow("nur Bemerkungen") << "0"
                                         << "1" << -2;
        QTest::newRow("nur Gewicht") << "1"
                                     << "0" << 96;
        QTest::newRow("keins") << "0"
                               << "0" << -1;
    }
    void hoehen() {
        QFETCH(QString, gewicht);
        QFETCH(QString, bemerkungen);
        QFETCH(int, abzug);
        QVERIFY(neuesFenster(QStringLiteral("hoehen"), [&] {
            Schreib_Integer_in_Registry(QStringLiteral("FarbkurveGewichtAnzeigen"), gewicht);
            Schreib_Integer_in_Registry(QStringLiteral("BemerkungenAnzeigen"), bemerkungen);
        }));
        QVERIFY(zeigen());
        const int vorlage = form->grafik().vorlageGewicht.height();
        QVERIFY(vorlage > 0);
        const int erwartet = abzug == -1 ? 549 : abzug == -2 ? 795 - vorlage - 20 : 795 - abzug;
        QTRY_COMPARE(form->height(), erwartet);

        const bool mitGewicht = gewicht == QLatin1String("1");
        const bool mitBemerkung = bemerkungen == QLatin1String("1");
        QCOMPARE(!form->GewichtImage->isHidden(), mitGewicht);
        QCOMPARE(!form->GewichtLabel->isHidden(), mitGewicht);
        QCOMPARE(!form->RichEdit1->isHidden(), mitBemerkung);
        QCOMPARE(!form->BemerkungLabel->isHidden(), mitBemerkung);
        QCOMPARE(form->Image->size(), QSize(570, 464));
        const int unterBild = form->Image->geometry().bottom() + 1 + 20;
        if (mitGewicht) {
            QCOMPARE(form->GewichtImage->y(), unterBild);
            QCOMPARE(form->GewichtImage->height(), vorlage);
            QCOMPARE(form->GewichtLabel->y(), form->GewichtImage->y() - 18);
        }
        if (mitBemerkung) {
            const int oben = mitGewicht ? form->GewichtImage->geometry().bottom() + 1 + 20 : unterBild;
            QCOMPARE(form->RichEdit1->y(), oben);
            QCOMPARE(form->BemerkungLabel->y(), oben - 17);
        }
        // Everything fits without scrolling in the normal window.
        QCOMPARE(form->ScrollBox1->verticalScrollBar()->maximum(), 0);
    }

    void maximierenUndZurueck_data() {
        QTest::addColumn<bool>("bemerkungenSichtbar");
        QTest::addColumn<bool>("gewichtSichtbar");
        QTest::newRow("Bemerkungen sichtbar") << true << true;
        QTest::newRow("Bemerkungen versteckt") << false << true;
        QTest::newRow("nur Bemerkungen") << true << false;
    }
    void maximierenUndZurueck() {
        QFETCH(bool, bemerkungenSichtbar);
        QFETCH(bool, gewichtSichtbar);
        QVERIFY(neuesFenster(QStringLiteral("max")));
        QVERIFY(zeigen());
        form->setzeSichtbarkeit(gewichtSichtbar, bemerkungenSichtbar);
        const int normal = form->height();

        form->showMaximized();
        QTRY_VERIFY(form->isMaximized() && form->size() != QSize(574, normal));
        QCOMPARE(form->Image->width(), form->ScrollBox1->width() - 4);
        QCOMPARE(form->Image->height(), form->ScrollBox1->height() - 24);
        QVERIFY(form->RichEdit1->isHidden());
        QVERIFY(form->BemerkungLabel->isHidden());
        QCOMPARE(form->GewichtImage->y(), form->Image->geometry().bottom() + 1 + 20);
        QCOMPARE(form->GewichtImage->height(), form->grafik().vorlageGewicht.height() + 58);
        QCOMPARE(form->Image2->width(), form->ScrollBox1->width() - 4);
        QCOMPARE(form->grafik().skalierung, form->Image->height() / 464.0);

        form->showNormal();
        QTRY_VERIFY(!form->isMaximized());
        QTRY_COMPARE(form->height(), normal);
        QCOMPARE(form->Image->size(), QSize(570, 464));
        QCOMPARE(form->RichEdit1->isHidden(), !bemerkungenSichtbar);
        QCOMPARE(form->BemerkungLabel->isHidden(), !bemerkungenSichtbar);
        QCOMPARE(form->GewichtImage->height(), form->grafik().vorlageGewicht.height());
    }

    void timer1SchreibtTitelZweimal() {
        QVERIFY(neuesFenster(QStringLiteral("timer")));
        QVERIFY(zeigen());
        QTRY_VERIFY(!form->Timer1->isActive()); // the two ticks after start
        QCOMPARE(form->Timer1->interval(), 100);
        QSignalSpy titel(form.get(), &TmainForm::titelGeschrieben);
        form->resize(form->width(), form->height() - 50);
        QVERIFY(form->Timer1->isActive());
        QTRY_VERIFY(!form->Timer1->isActive());
        QCOMPARE(titel.count(), 2);
        QTest::qWait(300);
        QCOMPARE(titel.count(), 2);
    }

    void mausrad_data() {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("erwartet");
        QTest::newRow("hoch 120") << "viewport" << 120 << 460;
        QTest::newRow("runter 120") << "viewport" << -120 << 540;
        QTest::newRow("zwei Rasten") << "viewport" << 240 << 420;
        QTest::newRow("ganzzahlig geteilt") << "viewport" << -100 << 533;
        QTest::newRow("zu klein") << "viewport" << 2 << 500;
        QTest::newRow("über dem Diagramm") << "Image" << 120 << 460;
        QTest::newRow("über der Leiste") << "Panel1" << -120 << 540;
    }
    void mausrad() {
        QFETCH(QString, ziel);
        QFETCH(int, delta);
        QFETCH(int, erwartet);
        QVERIFY(neuesFenster(QStringLiteral("rad")));
        QVERIFY(zeigen());
        form->ScrollBox1->widget()->resize(570, 3000);
        QScrollBar* leiste = form->ScrollBox1->verticalScrollBar();
        QTRY_VERIFY(leiste->maximum() > 1000);
        leiste->setValue(500);
        QWidget* w = ziel == QLatin1String("viewport") ? form->ScrollBox1->viewport()
                                                       : form->findChild<QWidget*>(ziel);
        QVERIFY(w);
        rad(w, delta);
        QCOMPARE(leiste->value(), erwartet);
    }

    void rechtsklick_data() {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("globalY");
        QTest::addColumn<bool>("popup");
        QTest::newRow("Diagramm oben") << "Image" << 100 << false;
        QTest::newRow("Diagramm Zeile 120") << "Image" << 120 << false;
        QTest::newRow("Diagramm Zeile 121") << "Image" << 121 << true;
        QTest::newRow("Gewicht oben") << "GewichtImage" << 50 << true;
        QTest::newRow("Bemerkungen") << "RichEdit1" << 50 << true;
    }
    void rechtsklick() {
        QFETCH(QString, ziel);
        QFETCH(int, globalY);
        QFETCH(bool, popup);
        QVERIFY(neuesFenster(QStringLiteral("klick")));
        QVERIFY(zeigen());
        QWidget* w = ziel == QLatin1String("RichEdit1") ? form->RichEdit1->viewport()
                                                        : form->findChild<QWidget*>(ziel);
        QVERIFY(w);
        rechtsKlicken(w, globalY);
        QCOMPARE(form->PopupMenu1->isVisible(), popup);
        form->PopupMenu1->hide();
    }

    void pinchSchaltetEinmalProGeste() {
        QVERIFY(neuesFenster(QStringLiteral("pinch")));
        QVERIFY(zeigen());
        form->pinchSchritt(Qt::GestureStarted);
        for (int i = 0; i < 4; ++i)
            form->pinchSchritt(Qt::GestureUpdated);
        form->pinchSchritt(Qt::GestureFinished);
        QTRY_VERIFY(form->isMaximized());
        QTest::qWait(50);
        QVERIFY(form->isMaximized());

        form->pinchSchritt(Qt::GestureStarted);
        form->pinchSchritt(Qt::GestureUpdated);
        form->pinchSchritt(Qt::GestureUpdated);
        QTRY_VERIFY(!form->isMaximized());
        QCOMPARE(form->MachPause1->Interval(), 200);
    }

    void panRollt() {
        QVERIFY(neuesFenster(QStringLiteral("pan")));
        QVERIFY(zeigen());
        form->ScrollBox1->widget()->resize(570, 3000);
        QScrollBar* leiste = form->ScrollBox1->verticalScrollBar();
        QTRY_VERIFY(leiste->maximum() > 1000);
        leiste->setValue(300);
        form->panSchritt(Qt::GestureStarted, 0);
        form->panSchritt(Qt::GestureUpdated, 30); // finger down: the page follows it
        QCOMPARE(leiste->value(), 270);
        form->panSchritt(Qt::GestureUpdated, -50);
        QCOMPARE(leiste->value(), 320);
    }

    void mittelwerte_data() {
        QTest::addColumn<int>("werte");
        QTest::addColumn<bool>("meldung");
        QTest::newRow("keine") << 0 << true;
        QTest::newRow("eine") << 1 << true;
        QTest::newRow("zwei") << 2 << false;
    }
    void mittelwerte() {
        QFETCH(int, werte);
        QFETCH(bool, meldung);
        QVERIFY(neuesFenster(QStringLiteral("mittel")));
        TMonatsGrafik& g = form->grafik();
        g.AnzeigeWerteSys.clear();
        for (int i = 0; i < werte; ++i)
            g.AnzeigeWerteSys << QStringLiteral("140");
        g.GewichtsListe = QStringList{QStringLiteral("5_70,5")};
        form->Mittelwerte1Click();
        const QStringList infos = testumgebung::dialoge().texte(Art::Information);
        if (meldung) {
            QCOMPARE(infos, QStringList{QStringLiteral(
                                "Um die Mittelwerte anzuzeigen müssen Sie noch ein paar Daten eingeben!")});
            QCOMPARE(g.GewichtsListe.size(), 1); // nothing drawn, nothing emptied
        } else {
            QVERIFY(infos.isEmpty());
            QVERIFY(g.GewichtsListe.isEmpty());
        }
        QVERIFY(!g.MittelwertModus);
        QVERIFY(!g.ueberlagerung);
    }

    void ersteZeichnung_data() {
        QTest::addColumn<QString>("gespeichert"); // relativ, absolut, fehlt, start
        QTest::addColumn<QString>("titel");
        QTest::newRow("unter dem Datenordner") << "relativ"
                                               << "Korvanemesswerte  März 2024  Anna";
        QTest::newRow("voller Pfad") << "absolut"
                                     << "Korvanemesswerte  März 2024  Anna";
        QTest::newRow("Datei fehlt") << "fehlt"
                                     << "von Anna";
        QTest::newRow("übergebene Tabelle") << "start"
                                            << "Korvanemesswerte  April 2024  Anna";
    }
    void ersteZeichnung() {
        QFETCH(QString, gespeichert);
        QFETCH(QString, titel);
        QString stored;
        QVERIFY(neuesFenster(QStringLiteral("erste"), [&] {
            const QString daten = testumgebung::programmOrdner();
            const QString relativ = QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
            QVERIFY(!schreibeTabelle(daten + relativ, kMaerz).isEmpty());
            stored = gespeichert == QLatin1String("relativ") ? relativ
                     : gespeichert == QLatin1String("fehlt") ? daten + QStringLiteral("weg/Anna_01_2020.tab")
                                                             : daten + relativ;
            Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
            Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), stored);
        }));
        QString april;
        if (gespeichert == QLatin1String("start")) {
            april = schreibeTabelle(
                testumgebung::wurzel() + QStringLiteral("/anderswo/april.tab"),
                tabelle(QStringLiteral("Anna"), QStringLiteral("04"), QStringLiteral("April 2024")));
            QVERIFY(!april.isEmpty());
            form->setzeStartTabelle(april);
        }
        QVERIFY(zeigen());
        QCOMPARE(form->grafik().Label1, titel);
        QCOMPARE(form->Label1->text(), titel);
        QVERIFY(form->Label1->isHidden());
        if (gespeichert == QLatin1String("fehlt")) {
            QCOMPARE(z.TabellenDateiName, stored);
            form->close();
            QCOMPARE(Lies_String_aus_Registry(QStringLiteral("TabellenDateiName")), stored);
        } else if (gespeichert == QLatin1String("start")) {
            QCOMPARE(z.TabellenDateiName, z.tabellenOrdner + QStringLiteral("2024/Anna_04_2024.tab"));
        } else {
            QCOMPARE(z.TabellenDateiName, maerzPfad());
        }
        QCOMPARE(z.benutzerName, QStringLiteral("Anna"));
        // The title picture lies centred over the chart at row 44.
        QCOMPARE(form->Image3->size(), form->grafik().Image3.size());
        QCOMPARE(form->Image3->y(), 44);
        QCOMPARE(form->Image3->x(), 570 / 2 - form->Image3->width() / 2);
    }

    void bemerkungen() {
        QVERIFY(neuesFenster(QStringLiteral("bemerkungen")));
        TMonatsGrafik& g = form->grafik();
        emit g.bemerkungenGeladen(QStringLiteral("Zeile eins\nZeile zwei"));
        QCOMPARE(form->RichEdit1->toPlainText(), QStringLiteral("Zeile eins\nZeile zwei"));
        QVERIFY(!g.bemerkungenGeaendert);
        form->RichEdit1->appendPlainText(QStringLiteral("neu"));
        QVERIFY(g.bemerkungenGeaendert);
        QCOMPARE(g.bemerkungen, QStringLiteral("Zeile eins\nZeile zwei\nneu"));
    }

    void andereTabelleSichertBemerkungen() {
        QVERIFY(neuesFenster(QStringLiteral("wechsel")));
        QVERIFY(zeigen());
        const QString maerz = schreibeTabelle(maerzPfad(), kMaerz);
        const QString april = schreibeTabelle(
            z.tabellenOrdner + QStringLiteral("2024/Anna_04_2024.tab"),
            tabelle(QStringLiteral("Anna"), QStringLiteral("04"), QStringLiteral("April 2024")));
        QVERIFY(textdatei::schreibeZeilen(z.tabellenOrdner + QStringLiteral("2024/Anna_04_2024.txt"),
                                          {QStringLiteral("Aprilnotiz")}) == textdatei::Ergebnis::Ok);
        form->zeigeTabelleAlsGrafik(maerz);
        QCOMPARE(form->RichEdit1->toPlainText(), QString());
        form->RichEdit1->setPlainText(QStringLiteral("Märznotiz"));

        testumgebung::dialoge().dateien.push_back(april);
        form->OeffnenUndalsGrafikAnzeigen->trigger();
        QCOMPARE(testumgebung::lies(z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.txt")),
                 QByteArray("M\xe4rznotiz\r\n"));
        QCOMPARE(form->RichEdit1->toPlainText(), QStringLiteral("Aprilnotiz"));
        QVERIFY(!form->grafik().bemerkungenGeaendert);
        QCOMPARE(form->Label1->text(), QStringLiteral("Korvanemesswerte  April 2024  Anna"));
        const QStringList geoeffnet = testumgebung::dialoge().texte(Art::DateiOeffnen);
        QCOMPARE(geoeffnet.size(), 1);
        QVERIFY(geoeffnet.first().endsWith(QLatin1Char('|') + z.tabellenOrdner));
    }

    void schliessen_data() {
        QTest::addColumn<bool>("geaendert");
        QTest::addColumn<bool>("sofort");
        QTest::newRow("Bemerkungen geändert") << true << false;
        QTest::newRow("Bemerkungen unverändert") << false << false;
        QTest::newRow("Abbruch beim Namen") << true << true;
    }
    void schliessen() {
        QFETCH(bool, geaendert);
        QFETCH(bool, sofort);
        QVERIFY(neuesFenster(QStringLiteral("schluss"), [] {
            Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), QStringLiteral("vorher.tab"));
        }));
        QVERIFY(zeigen());
        const QString maerz = schreibeTabelle(maerzPfad(), kMaerz);
        form->zeigeTabelleAlsGrafik(maerz);
        QCOMPARE(z.TabellenDateiName, maerz);
        const QString notiz = z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.txt");
        if (geaendert) form->RichEdit1->setPlainText(QStringLiteral("Kopfweh\tabends"));

        if (sofort)
            form->sofortBeenden();
        else
            form->close();
        QVERIFY(!form->isVisible());
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("TabellenDateiName")),
                 sofort ? QStringLiteral("vorher.tab") : maerz);
        QCOMPARE(QFileInfo::exists(notiz), geaendert && !sofort);
        if (geaendert && !sofort) QCOMPARE(testumgebung::lies(notiz), QByteArray("Kopfweh\tabends\r\n"));

        // Only once: a second request (the program's end on a signal) writes nothing more.
        QFile::remove(notiz);
        Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), QStringLiteral("danach.tab"));
        form->grafik().setzeBemerkungen(QStringLiteral("spät"));
        form->beenden();
        QVERIFY(!QFileInfo::exists(notiz));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("TabellenDateiName")), QStringLiteral("danach.tab"));
    }

    void nameAbbrechenBeendetOhneSchreiben() {
        QVERIFY(neuesFenster(QStringLiteral("abbruch"), [] {
            Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), QStringLiteral("vorher.tab"));
        }));
        TNameEingDlg name(z);
        form->setzeFenster(nullptr, &name, nullptr, nullptr);
        testumgebung::dialoge().fenster.push_back([](QObject* f) {
            static_cast<TNameEingDlg*>(f)->CancelBtnClick();
            return int(QDialog::Rejected);
        });
        form->show();
        QTRY_VERIFY(form->beendenVerlangt());
        QVERIFY(!form->isVisible());
        QCOMPARE(testumgebung::dialoge().texte(Art::Modal), QStringList{QStringLiteral("TNameEingDlg")});
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("TabellenDateiName")), QStringLiteral("vorher.tab"));
        QVERIFY(Lies_String_aus_Registry(QStringLiteral("BenutzerName")).isEmpty());
        QVERIFY(QDir(z.tabellenOrdner).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    void nameBestaetigenBeginntNeuenMonat() {
        QVERIFY(neuesFenster(QStringLiteral("neuername")));
        TEingabeDlg eingabe(z, form->grafik());
        TNameEingDlg name(z);
        form->setzeFenster(&eingabe, &name, nullptr, nullptr);
        testumgebung::dialoge().fenster.push_back([](QObject* f) {
            auto* dlg = static_cast<TNameEingDlg*>(f);
            dlg->Edit1->setText(QStringLiteral("Bert"));
            dlg->OKBtnClick();
            return int(QDialog::Accepted);
        });
        testumgebung::dialoge().fenster.push_back([](QObject*) { return int(QDialog::Rejected); });
        QVERIFY(zeigen());
        QCOMPARE(testumgebung::dialoge().texte(Art::Modal),
                 (QStringList{QStringLiteral("TNameEingDlg"), QStringLiteral("TEingabeDlg")}));
        QCOMPARE(form->Label1->text(), QStringLiteral(" von Bert"));
        QCOMPARE(eingabe.Label4->text(), QStringLiteral("Messwerte von Bert"));
        QVERIFY(!form->beendenVerlangt());
        QVERIFY(form->isVisible());
    }

    void jahrFeldFolgtDerTabelle() {
        QVERIFY(neuesFenster(QStringLiteral("jahrfeld")));
        TEingabeDlg eingabe(z, form->grafik());
        form->setzeFenster(&eingabe, nullptr, nullptr, nullptr);
        const QString pfad = schreibeTabelle(
            z.tabellenOrdner + QStringLiteral("2023/Anna_11_2023.tab"),
            tabelle(QStringLiteral("Anna"), QStringLiteral("11"), QStringLiteral("November 2023")));
        eingabe.GewichtInfoLabel->setText(QStringLiteral("Monatlicher Mittelwert: 80,0 Kg"));
        form->zeigeTabelleAlsGrafik(pfad);
        QCOMPARE(eingabe.SpinEdit3->value(), 2023);
        QVERIFY(eingabe.GewichtInfoLabel->text().isEmpty());
        QCOMPARE(z.ListBox1.size(), 3);
    }

    void messwerteZeichnetUeberDenDialog() {
        QVERIFY(neuesFenster(QStringLiteral("messwerte")));
        TEingabeDlg eingabe(z, form->grafik());
        form->setzeFenster(&eingabe, nullptr, nullptr, nullptr);
        const QString pfad = schreibeTabelle(maerzPfad(), kMaerz);
        form->zeigeTabelleAlsGrafik(pfad);
        QCOMPARE(form->grafik().AnzeigeWerteSys.size(), 3);
        // An entry removed from the list: the table is written again and the chart follows it.
        z.ListBox1.removeLast();
        QSignalSpy gezeichnet(&form->grafik(), &TMonatsGrafik::gezeichnet);
        form->Messwerte1->trigger();
        QVERIFY(gezeichnet.count() >= 1);
        QCOMPARE(form->grafik().AnzeigeWerteSys.size(), 2);
        QCOMPARE(textdatei::liesZeilen(pfad)->size(), kMaerz.size() - 1);
    }

    void schliessenBeiSchreibfehler_data() {
        QTest::addColumn<bool>("trotzdem");
        QTest::newRow("Programm bleibt offen") << false;
        QTest::newRow("trotzdem beenden") << true;
    }
    void schliessenBeiSchreibfehler() {
        QFETCH(bool, trotzdem);
        QVERIFY(neuesFenster(QStringLiteral("schreibfehler")));
        QVERIFY(zeigen());
        const QString maerz = schreibeTabelle(maerzPfad(), kMaerz);
        form->zeigeTabelleAlsGrafik(maerz);
        // A folder where the remarks file belongs: the save must fail.
        QVERIFY(QDir().mkpath(z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.txt")));
        form->RichEdit1->setPlainText(QStringLiteral("wichtig"));
        testumgebung::dialoge().fragen.push_back(trotzdem);
        form->close();
        QCOMPARE(testumgebung::dialoge().texte(Art::Frage),
                 QStringList{QStringLiteral("Die Bemerkungen konnten nicht gespeichert werden. "
                                            "Möchten Sie das Programm trotzdem beenden?")});
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung).size(), 1);
        QCOMPARE(form->isVisible(), !trotzdem);
        QCOMPARE(form->beendenVerlangt(), trotzdem);
        QCOMPARE(form->RichEdit1->toPlainText(), QStringLiteral("wichtig"));
    }

    void jahrAusTitel_data() {
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("bisher");
        QTest::addColumn<QString>("jahr");
        QTest::newRow("März 2024") << "Korvanemesswerte  März 2024  Anna"
                                   << ""
                                   << "2024";
        QTest::newRow("1999") << "Korvanemesswerte  Dezember 1999  Anna"
                              << "2024"
                              << "1999";
        QTest::newRow("2000") << "Korvanemesswerte  Januar 2000  Bert"
                              << ""
                              << "2000";
        QTest::newRow("2039") << "Korvanemesswerte  Mai 2039  Bert"
                              << ""
                              << "2039";
        QTest::newRow("2045 bleibt") << "Korvanemesswerte  Mai 2045  Bert"
                                     << "2024"
                                     << "2024";
        QTest::newRow("1989 bleibt") << "Korvanemesswerte  Mai 1989  Bert"
                                     << "2024"
                                     << "2024";
        QTest::newRow("nur Name") << "von Anna"
                                  << "2023"
                                  << "2023";
    }
    void jahrAusTitel() {
        QFETCH(QString, titel);
        QFETCH(QString, bisher);
        QFETCH(QString, jahr);
        QCOMPARE(TmainForm::jahrAusTitel(titel, bisher), jahr);
    }

    void jahrOrdner_data() {
        QTest::addColumn<bool>("blockiert");
        QTest::newRow("wird angelegt") << false;
        QTest::newRow("kann nicht angelegt werden") << true;
    }
    void jahrOrdner() {
        QFETCH(bool, blockiert);
        QVERIFY(neuesFenster(QStringLiteral("jahr")));
        QVERIFY(zeigen());
        const QString ordner = z.tabellenOrdner + QStringLiteral("2031");
        if (blockiert) testumgebung::schreibe(ordner, "kein Ordner");
        form->grafik().Label1 = QStringLiteral("Korvanemesswerte  Mai 2031  Anna");
        form->schreibeTitel();
        form->schreibeTitel();
        QCOMPARE(z.jahrOrdnerName, QStringLiteral("2031"));
        QCOMPARE(QFileInfo(ordner).isDir(), !blockiert);
        const QStringList meldungen = testumgebung::dialoge().texte(Art::Meldung);
        if (blockiert)
            QCOMPARE(meldungen,
                     QStringList{QStringLiteral("Ordner \"2031\" konnte nicht erstellt werden! ")});
        else
            QVERIFY(meldungen.isEmpty());
    }

    void hilfe_data() {
        QTest::addColumn<bool>("imProgrammordner");
        QTest::newRow("beim Programm") << true;
        QTest::newRow("eingebaute Kopie") << false;
    }
    void hilfe() {
        QFETCH(bool, imProgrammordner);
        QVERIFY(neuesFenster(QStringLiteral("hilfe")));
        QStringList geoeffnet;
        shell::zeichneAuf(&geoeffnet);
        const QString beimProgramm = z.programmOrdner + QStringLiteral("Korvane-Hilfe.pdf");
        if (imProgrammordner) testumgebung::schreibe(beimProgramm, "%PDF-1.4 Hilfe");
        form->Hilfethemen1->trigger();

        if (imProgrammordner) {
            QCOMPARE(geoeffnet, QStringList{beimProgramm});
            return;
        }
        QFile eingebaut(QStringLiteral(":/hilfe/Korvane-Hilfe.pdf"));
        if (!eingebaut.open(QIODevice::ReadOnly)) {
            QVERIFY(geoeffnet.isEmpty());
            QCOMPARE(
                testumgebung::dialoge().texte(Art::Warnung),
                QStringList{QStringLiteral("Die Hilfedatei \"Korvane-Hilfe.pdf\" ist nicht vorhanden.")});
            return;
        }
        const QString kopie = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                              QStringLiteral("/Korvane-Hilfe.pdf");
        QCOMPARE(geoeffnet, QStringList{kopie});
        QCOMPARE(testumgebung::lies(kopie), eingebaut.readAll());
    }

    void lesefehlerOeffnetAuswahl() {
        QVERIFY(neuesFenster(QStringLiteral("lesefehler")));
        emit form->grafik().lesefehler(QStringLiteral("kaputt.tab"));
        testumgebung::dialoge().dateien.push_back(QString()); // the user cancels
        QTRY_COMPARE(testumgebung::dialoge().texte(Art::DateiOeffnen).size(), 1);
    }

    void machPause_data() {
        QTest::addColumn<double>("faktor");
        QTest::addColumn<int>("millisekunden");
        QTest::newRow("echte Pause") << 1.0 << 80;
        QTest::newRow("Test ohne Wartezeit") << 0.0 << 5000;
    }
    void machPause() {
        QFETCH(double, faktor);
        QFETCH(int, millisekunden);
        TMachPause pause;
        QCOMPARE(pause.Interval(), 1000);
        bool nachgereicht = false;
        QMetaObject::invokeMethod(
            &pause, [&] { nachgereicht = true; }, Qt::QueuedConnection);
        bool getickt = false;
        if (faktor > 0) QTimer::singleShot(10, &pause, [&] { getickt = true; });
        Pause::setzeFaktor(faktor);
        pause.Pause(millisekunden);
        Pause::setzeFaktor(0);
        QVERIFY(nachgereicht); // events run during the pause
        QCOMPARE(getickt, faktor > 0);
        QCOMPARE(pause.Interval(), millisekunden);
    }
};

KORVANE_TEST_MAIN(TestMainform)
#include "test_mainform.moc"
