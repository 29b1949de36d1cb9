// The large-button menus, alone on a stand-in window and in the running program; the about box;
// and every command of the main window reachable, enabled and connected.
#include "testumgebung.h"

#include "app/gui/taboutbox.h"
#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "menus/gui/grossmenues.h"
#include "storage/registry.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
using Art = TGrossMenues::Art;

namespace {

// Opens the receivers count of a signal to the test: the member named through a derived class,
// then called on the object itself, which is no Zugang.
struct Zugang : QObject {
    static int empfaenger(const QObject* o, const char* signal) {
        int (QObject::*anzahl)(const char*) const = &Zugang::receivers;
        return (o->*anzahl)(signal);
    }
};

// A menu connects itself to each action it shows; a command is connected when more than that is.
bool verbunden(const QAction* a) {
    QAction probe;
    const QList<QObject*> orte = a->associatedObjects();
    for (QObject* o : orte)
        if (auto* w = qobject_cast<QWidget*>(o)) w->addAction(&probe);
    const int grund = Zugang::empfaenger(&probe, SIGNAL(triggered(bool)));
    for (QObject* o : orte)
        if (auto* w = qobject_cast<QWidget*>(o)) w->removeAction(&probe);
    return Zugang::empfaenger(a, SIGNAL(triggered(bool))) > grund;
}

// Every command of the menu bar and the pop-up menu with a caption, hidden menus left out.
QList<QAction*> befehle(const QList<QAction*>& aktionen) {
    QList<QAction*> liste;
    for (QAction* a : aktionen) {
        if (!a->isVisible()) continue;
        if (a->menu())
            liste << befehle(a->menu()->actions());
        else if (!a->text().trimmed().isEmpty())
            liste << a;
    }
    return liste;
}

QStringList sichtbar(const TGrossMenues& m) {
    QStringList namen;
    for (const TMenueFenster* f : m.fenster())
        if (f->isVisible()) namen << f->objectName();
    return namen;
}

} // namespace

class TestMenues : public QObject {
    Q_OBJECT

    // A stand-in for the main window: one action per command name.
    QWidget wirt;
    TGrossMenues* menues = nullptr;
    std::unique_ptr<Programmstart> programm; // every window of the program, for zugaenglich()
    QStringList ausgeloest; // command, then the menu windows open at that moment

    QAction* aktion(const QString& name) {
        if (auto* a = wirt.findChild<QAction*>(name)) return a;
        auto* a = new QAction(&wirt);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, name] { ausgeloest << name + u':' + sichtbar(*menues).join(u','); });
        return a;
    }
    void alleZeigen() {
        for (TMenueFenster* f : menues->fenster())
            f->zeigeMittig();
    }

private Q_SLOTS:
    void initTestCase() {
        menues = new TGrossMenues(&wirt);
        menues->verbinde([this](const QString& name) { return aktion(name); });
    }
    void init() {
        testumgebung::dialoge().leeren();
        ausgeloest.clear();
        menues->alleSchliessen();
    }
    void cleanup() { QCOMPARE(testumgebung::dialoge().unerwartet, QStringList()); }

    void fenster_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<QStringList>("knoepfe"); // caption@left,top, in the order shown
        const QString b19(19, u' '), b27(27, u' '), b23(23, u' '), b7(7, u' ');
        QTest::newRow("Menü") << "MenueForm" << "Menü" << QSize(589, 139)
                              << QStringList{"Datei@8,16", "Einstellungen@152,16", "Mittelwerte@296,16",
                                             "Messwerte@440,16", "Tabelle@152,80", "Optionen@296,80",
                                             "Hilfe@440,80"};
        QTest::newRow("Datei") << "MDateiForm" << "Datei-Menü" << QSize(554, 413)
                               << QStringList{"Neu erstellen (neuer Monat oder Jahr)@17",
                                              "Datei öffnen @59",
                                              "Grafik im Browser anzeigen@98",
                                              "Grafik speichern als  Bilddatei (.jpg)" + b19 + "@147",
                                              "Grafik plus Tabelle speichern als Bilddatei (.jpg)@187",
                                              "Grafik speichern als PDF-Datei" + b27 + "@226",
                                              "Tabelle speichern als  PDF-Datei" + b23 + "@266",
                                              "Grafik und Tabelle speichern als PDF-Datei" + b7 + "@303",
                                              "Be&enden@345"};
        QTest::newRow("Datei öffnen") << "MMDateiForm" << "Datei-Öffnen-Menü" << QSize(443, 221)
                                      << QStringList{"Datei öffnen und als Grafik anzeigen@16",
                                                     "Datei öffnen und Tabelle anzeigen   @80",
                                                     "Datei öffnen und Tabelle bearbeiten @136"};
        QTest::newRow("Tabelle") << "MTabelleForm" << "Tabelle-Menü" << QSize(444, 218)
                                 << QStringList{"Aktuelle Tabelle anzeigen@16", "Aktuelle Tabelle bearbeiten@64",
                                                "Neue Tabelle erstellen (neuer Monat)@144"};
        QTest::newRow("Optionen") << "MOptionenForm" << "Optionen-Menü" << QSize(439, 134)
                                  << QStringList{"Benutzername ändern@32"};
        QTest::newRow("Hilfe") << "MHilfeForm" << "Hilfe-Menü" << QSize(441, 192)
                               << QStringList{"Hilfethemen@32", "Info über..@96"};
    }
    // Captions, client sizes, button captions and places; every caption fits its button; Escape
    // closes the window.
    void fenster() {
        QFETCH(QString, name);
        QFETCH(QSize, groesse);
        QFETCH(QStringList, knoepfe);
        TMenueFenster* f = wirt.findChild<TMenueFenster*>(name);
        QVERIFY(f);
        QTEST(f->windowTitle(), "titel");
        f->zeigeMittig();
        QCOMPARE(f->size(), groesse);
        QCOMPARE(f->minimumSize(), f->maximumSize()); // not resizable
        QList<QPushButton*> liste = f->findChildren<QPushButton*>();
        std::sort(liste.begin(), liste.end(), [](const QPushButton* a, const QPushButton* b) {
            return std::pair(a->mapTo(a->window(), QPoint()).y(), a->x()) <
                   std::pair(b->mapTo(b->window(), QPoint()).y(), b->x());
        });
        const bool zweiteEbene = name != "MenueForm";
        QStringList gefunden;
        for (const QPushButton* k : liste) {
            QCOMPARE(k->height(), 33);
            QCOMPARE(k->width(), name == "MenueForm" ? 137 : name == "MDateiForm" ? 473 : 377);
            QVERIFY(k->font().bold() && k->font().pixelSize() == 16);
            QVERIFY(f->rect().contains(QRect(k->mapTo(f, QPoint()), k->size())));
            const int breite = k->fontMetrics().horizontalAdvance(QString(k->text()).remove(u'&').trimmed());
            QVERIFY2(breite <= k->width() - 12, qPrintable(k->text()));
            QCOMPARE(qobject_cast<QGroupBox*>(k->parentWidget()) != nullptr, zweiteEbene);
            gefunden << k->text() + u'@' + (zweiteEbene ? QString() : QString::number(k->x()) + u',') +
                            QString::number(k->y());
        }
        QCOMPARE(gefunden, knoepfe);
        QTest::keyClick(liste.first(), Qt::Key_Escape); // from a button, as a keyboard user would
        QVERIFY(!f->isVisible());
    }

    // What each button runs and which menu windows are still open when its command runs.
    void knoepfe_data() {
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("erwartet"); // command:windows open, or the windows shown
        const QString alle = u"MenueForm,MDateiForm,MMDateiForm,MTabelleForm,MOptionenForm,MHilfeForm"_s;
        const QString ohneMenue = u"MDateiForm,MMDateiForm,MTabelleForm,MOptionenForm,MHilfeForm"_s;
        QTest::newRow("Menü: Datei") << "MenueForm" << "Button1" << "MDateiForm";
        QTest::newRow("Menü: Einstellungen") << "MenueForm" << "Button2" << "Einstellungen1:" + ohneMenue;
        QTest::newRow("Menü: Mittelwerte") << "MenueForm" << "Button3" << "Mittelwerte1:" + ohneMenue;
        QTest::newRow("Menü: Messwerte") << "MenueForm" << "Button4" << "Messwerte1:" + ohneMenue;
        QTest::newRow("Menü: Tabelle") << "MenueForm" << "Button5" << "MTabelleForm";
        QTest::newRow("Menü: Optionen") << "MenueForm" << "Button6" << "MOptionenForm";
        QTest::newRow("Menü: Hilfe") << "MenueForm" << "Button7" << "MHilfeForm";
        QTest::newRow("Datei: Neu") << "MDateiForm" << "Button9" << "Neu1:" + alle;
        QTest::newRow("Datei: öffnen") << "MDateiForm" << "Button1" << "MMDateiForm";
        QTest::newRow("Datei: Browser") << "MDateiForm" << "Button8" << "DiagrammimBrowseranzeigen:" + alle;
        QTest::newRow("Datei: jpg") << "MDateiForm" << "Button2" << "GrafikspeichernalsBilddatei:";
        QTest::newRow("Datei: jpg mit Tabelle")
            << "MDateiForm" << "Button3" << "GrafikplusTabellespeichernalsBilddatei:";
        QTest::newRow("Datei: PDF") << "MDateiForm" << "Button4" << "GrafikSpeichernAlsPdfDatei:";
        QTest::newRow("Datei: Tabelle PDF") << "MDateiForm" << "Button5" << "TabelleSpeichernAlsPDFDatei:";
        QTest::newRow("Datei: beides PDF") << "MDateiForm" << "Button6" << "GrafikUndTabelleSpeichernAlsPDFDatei:";
        QTest::newRow("Datei: Beenden") << "MDateiForm" << "Button7" << "beenden1:";
        QTest::newRow("Öffnen: Grafik") << "MMDateiForm" << "Button1" << "OeffnenUndalsGrafikAnzeigen:";
        QTest::newRow("Öffnen: Tabelle") << "MMDateiForm" << "Button2" << "OffnenUndTabelleAnzeigen:";
        QTest::newRow("Öffnen: bearbeiten") << "MMDateiForm" << "Button3" << "OeffnenUndTabelleBearbeiten:";
        QTest::newRow("Tabelle: anzeigen") << "MTabelleForm" << "Button1" << "anzeigen1:";
        QTest::newRow("Tabelle: bearbeiten") << "MTabelleForm" << "Button2" << "aktuellebearbeiten1:";
        QTest::newRow("Optionen: Name") << "MOptionenForm" << "Button1" << "Benutzernamendern1:";
        QTest::newRow("Hilfe: Hilfethemen") << "MHilfeForm" << "Button1" << "Hilfethemen1:";
        QTest::newRow("Hilfe: Info") << "MHilfeForm" << "Button2" << "Infober1:";
    }
    void knoepfe() {
        QFETCH(QString, fenster);
        QFETCH(QString, knopf);
        QFETCH(QString, erwartet);
        auto* k = wirt.findChild<TMenueFenster*>(fenster)->findChild<QPushButton*>(knopf);
        if (!erwartet.contains(u':')) { // opens a window
            k->click();
            QCOMPARE(sichtbar(*menues), QStringList{erwartet});
            QVERIFY(!menues->befehl(k));
            return;
        }
        alleZeigen();
        k->click();
        QCOMPARE(ausgeloest, QStringList{erwartet});
    }

    // "Neue Tabelle erstellen": Nein leaves everything open and runs nothing; Ja closes all first.
    void neueTabelleFragt_data() {
        QTest::addColumn<bool>("ja");
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }
    void neueTabelleFragt() {
        QFETCH(bool, ja);
        alleZeigen();
        testumgebung::dialoge().fragen.push_back(ja);
        menues->MTabelleForm->Button3->click();
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Frage),
                 QStringList{u"Sie möchten einen neue Tabelle erstellen?"_s});
        QCOMPARE(ausgeloest, ja ? QStringList{u"neuerstellen1:"_s} : QStringList());
        QCOMPARE(sichtbar(*menues).size(), ja ? 0 : 6);
    }

    // A button is enabled exactly while its command is.
    void folgtDemBefehl() {
        QAction* browser = aktion(u"DiagrammimBrowseranzeigen"_s);
        browser->setEnabled(false);
        QVERIFY(!menues->MDateiForm->Button8->isEnabled());
        browser->setEnabled(true);
        QVERIFY(menues->MDateiForm->Button8->isEnabled());
    }

    // --- in the running program

    // Every entry of the menu tree with a caption and every menu button is enabled and runs a
    // command; only the browser chart waits for its work.
    void allesErreichbar() {
        testumgebung::neuerProgrammOrdner(u"alles"_s);
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(testumgebung::programmOrdner());
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        TmainForm* m = p.mainForm;
        const QStringList wartet; // every command is built
        QStringList gesperrt, unverbunden;
        const QList<QAction*> alle = befehle(m->menuBar()->actions()) + befehle(m->PopupMenu1->actions());
        QCOMPARE(alle.size(), 21);
        for (const QAction* a : alle) {
            if (!a->isEnabled()) gesperrt << a->objectName();
            if (!verbunden(a)) unverbunden << a->objectName();
        }
        QCOMPARE(gesperrt, wartet);
        QCOMPARE(unverbunden, wartet);

        int knoepfe = 0;
        for (const TMenueFenster* f : p.GrossMenues->fenster())
            for (const QPushButton* k : f->findChildren<QPushButton*>()) {
                ++knoepfe;
                QAction* befehl = p.GrossMenues->befehl(k);
                const QString name = f->objectName() + u'.' + k->objectName();
                QVERIFY2(befehl ? alle.contains(befehl) : p.GrossMenues->art(k) == Art::Zeigen, qPrintable(name));
                QVERIFY2(Zugang::empfaenger(k, SIGNAL(clicked(bool))) > 0, qPrintable(name));
                QCOMPARE(k->isEnabled(), !befehl || befehl->isEnabled());
            }
        QCOMPARE(knoepfe, 25);
    }

    // The pop-up entry opens the first window afresh; losing the focus closes them all.
    void oeffnenUndSchliessen() {
        testumgebung::neuerProgrammOrdner(u"fokus"_s);
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(testumgebung::programmOrdner());
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        TGrossMenues& g = *p.GrossMenues;
        for (QAction* eintrag : p.mainForm->PopupMenu1->actions()) {
            for (TMenueFenster* f : g.fenster())
                f->show();
            eintrag->trigger();
            QCOMPARE(sichtbar(g), QStringList{u"MenueForm"_s});
        }
        g.MenueForm->Button1->click();
        QCOMPARE(sichtbar(g).size(), 2);
        emit qApp->applicationStateChanged(Qt::ApplicationInactive);
        QCOMPARE(sichtbar(g), QStringList());
    }

    void zugaenglich_data() {
        QTest::addColumn<QString>("klasse");
        QTest::addColumn<bool>("bedienbar"); // has controls at all
        for (const char* k :
             {"TmainForm", "TEingabeDlg", "TNameEingDlg", "TForm_UhrzeitDropdownMemo", "TTouchEingabeDlg",
              "TTabellenDlg", "TPatientenDatenInPDFform", "TEinstellDlg", "TMenueForm", "TMDateiForm",
              "TMMDateiForm", "TMTabelleForm", "TMOptionenForm", "TMHilfeForm", "TAboutBox"})
            QTest::newRow(k) << QString::fromLatin1(k) << true;
        QTest::newRow("TBildspeichernForm") << u"TBildspeichernForm"_s << false;
    }
    // Every control of every window that a person can focus or click has a name a screen reader
    // says, with a letter in it: its caption or a name set for it. Qt's own parts of a control
    // (a spin box's editor, a grid's corner) are named by the control.
    void zugaenglich() {
        QFETCH(QString, klasse);
        QFETCH(bool, bedienbar);
        if (!programm) {
            testumgebung::neuerProgrammOrdner(u"zugang"_s);
            testumgebung::einstellungenLoeschen();
            Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(testumgebung::programmOrdner());
            programm = std::make_unique<Programmstart>();
            QVERIFY(programm->erzeugeFenster({}));
        }
        QWidget* fenster = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (klasse == QLatin1String(w->metaObject()->className()) && !wirt.isAncestorOf(w)) fenster = w;
        QVERIFY(fenster);
        QStringList namenlos;
        int bedienelemente = 0;
        for (QWidget* w : fenster->findChildren<QWidget*>()) {
            bool teil = w->window() != fenster || w->objectName().startsWith(u"qt_"_s);
            for (const QWidget* e = w->parentWidget(); e && e != fenster; e = e->parentWidget())
                teil = teil || qobject_cast<const QAbstractSpinBox*>(e) ||
                       qobject_cast<const QAbstractItemView*>(e) || qobject_cast<const QMenuBar*>(e);
            const bool klickbar =
                qobject_cast<QAbstractButton*>(w) || w->metaObject()->indexOfSignal("geklickt()") >= 0;
            if (teil || (!klickbar && w->focusPolicy() == Qt::NoFocus)) continue;
            ++bedienelemente;
            const QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(w);
            const QString name = zugang ? zugang->text(QAccessible::Name) : QString();
            if (!name.contains(QRegularExpression(u"\\p{L}"_s)))
                namenlos << QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName() +
                                u" \""_s + name + u'"';
        }
        QCOMPARE(bedienelemente > 0, bedienbar);
        QCOMPARE(namenlos, QStringList());
    }

    // The about box, from the Hilfe menu and from the large "Info über.." (which closes the menus).
    void info_data() {
        QTest::addColumn<bool>("grossMenue");
        QTest::newRow("Hilfe-Menü") << false;
        QTest::newRow("Hilfe-Fenster") << true;
    }
    void info() {
        QFETCH(bool, grossMenue);
        testumgebung::neuerProgrammOrdner(u"info"_s);
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(testumgebung::programmOrdner());
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        // The version is that of project() in CMakeLists.txt.
        const QString cmake = QString::fromUtf8(testumgebung::lies(QStringLiteral(KORVANE_QUELLEN "/CMakeLists.txt")));
        const QString version =
            QRegularExpression(u"project\\(Korvane VERSION ([0-9.]+)"_s).match(cmake).captured(1);
        QVERIFY(!version.isEmpty());
        QStringList gezeigt;
        bool menuesOffen = true;
        testumgebung::dialoge().fenster.push_back([&](QObject* f) {
            auto* box = qobject_cast<TAboutBox*>(f);
            if (!box) return -1;
            menuesOffen = !sichtbar(*p.GrossMenues).isEmpty();
            for (const QLabel* l : box->findChildren<QLabel*>())
                gezeigt << l->text();
            box->OKButton->click();
            return box->result();
        });
        if (grossMenue) {
            p.mainForm->Menuegrosseranzeigen1->trigger();
            p.GrossMenues->MenueForm->Button7->click();
            p.GrossMenues->MHilfeForm->Button2->click();
            QVERIFY(!menuesOffen);
        } else {
            p.mainForm->Infober1->trigger();
        }
        QVERIFY(gezeigt.contains(u"Korvane"_s));
        QVERIFY(gezeigt.contains(u"Version "_s + version));
        QVERIFY(gezeigt.filter(u"GPL-3.0-or-later"_s).size() == 1);
        QVERIFY(gezeigt.contains(p.z.datenOrdner));
        QVERIFY(gezeigt.contains(registry::dateiPfad()));
        QCOMPARE(p.AboutBox->result(), int(QDialog::Accepted));
        // The licence named is the one shipped.
        QVERIFY(testumgebung::lies(QStringLiteral(KORVANE_QUELLEN "/LICENSE")).contains("Version 3, 29 June 2007"));
    }
};

KORVANE_TEST_MAIN(TestMenues)
#include "test_menues.moc"
