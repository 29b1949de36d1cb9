// The large-button menus, the about box, and every main window command reachable and connected.
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
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

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
    std::unique_ptr<Programmstart> programm;
    QStringList ausgeloest; // command, then the menu windows open at that moment

    QAction* aktion(const QString& name) {
        if (auto* a = wirt.findChild<QAction*>(name)) return a;
        auto* a = new QAction(&wirt);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, name] { ausgeloest << name + u':' + sichtbar(*menues).join(u','); });
        return a;
    }
    // Every window of the program, created once for the tests that need it.
    Programmstart& laufend() {
        if (!programm) {
            testumgebung::eingerichtet(u"laufend"_s);
            programm = std::make_unique<Programmstart>();
            if (!programm->erzeugeFenster({})) qFatal("Korvane ließ sich nicht starten");
        }
        return *programm;
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

    // Each button: its caption, whole in the button and the button in its window; the command it
    // runs, or the window it shows, which is not resizable and closes on Escape.
    void knoepfe_data() {
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("erwartet"); // command:windows open, or the window shown
        const QString alle = u"MenueForm,MDateiForm,MMDateiForm,MTabelleForm,MOptionenForm,MHilfeForm"_s;
        const QString ohneMenue = QString(alle).remove(u"MenueForm,"_s);
        const auto zeile = [](const char* titel, const char* knopf, const QString& text, const QString& erwartet) {
            QTest::addRow("%s %s", titel, knopf) << QString::fromUtf8(titel) << QString::fromLatin1(knopf) << text
                                                 << erwartet;
        };
        const QString b19(19, u' '), b27(27, u' '), b23(23, u' '), b7(7, u' ');
        zeile("Menü", "Button1", u"Datei"_s, u"MDateiForm"_s);
        zeile("Menü", "Button2", u"Einstellungen"_s, u"Einstellungen1:"_s + ohneMenue);
        zeile("Menü", "Button3", u"Mittelwerte"_s, u"Mittelwerte1:"_s + ohneMenue);
        zeile("Menü", "Button4", u"Messwerte"_s, u"Messwerte1:"_s + ohneMenue);
        zeile("Menü", "Button5", u"Tabelle"_s, u"MTabelleForm"_s);
        zeile("Menü", "Button6", u"Optionen"_s, u"MOptionenForm"_s);
        zeile("Menü", "Button7", u"Hilfe"_s, u"MHilfeForm"_s);
        zeile("Datei-Menü", "Button9", u"Neu erstellen (neuer Monat oder Jahr)"_s, u"Neu1:"_s + alle);
        zeile("Datei-Menü", "Button1", u"Datei öffnen "_s, u"MMDateiForm"_s);
        zeile("Datei-Menü", "Button8", u"Grafik im Browser anzeigen"_s, u"DiagrammimBrowseranzeigen:"_s + alle);
        zeile("Datei-Menü", "Button2", u"Grafik speichern als  Bilddatei (.jpg)"_s + b19, u"GrafikspeichernalsBilddatei:"_s);
        zeile("Datei-Menü", "Button3", u"Grafik plus Tabelle speichern als Bilddatei (.jpg)"_s,
              u"GrafikplusTabellespeichernalsBilddatei:"_s);
        zeile("Datei-Menü", "Button4", u"Grafik speichern als PDF-Datei"_s + b27, u"GrafikSpeichernAlsPdfDatei:"_s);
        zeile("Datei-Menü", "Button5", u"Tabelle speichern als  PDF-Datei"_s + b23, u"TabelleSpeichernAlsPDFDatei:"_s);
        zeile("Datei-Menü", "Button6", u"Grafik und Tabelle speichern als PDF-Datei"_s + b7,
              u"GrafikUndTabelleSpeichernAlsPDFDatei:"_s);
        zeile("Datei-Menü", "Button7", u"Be&enden"_s, u"beenden1:"_s);
        zeile("Datei-Öffnen-Menü", "Button1", u"Datei öffnen und als Grafik anzeigen"_s, u"OeffnenUndalsGrafikAnzeigen:"_s);
        zeile("Datei-Öffnen-Menü", "Button2", u"Datei öffnen und Tabelle anzeigen   "_s, u"OffnenUndTabelleAnzeigen:"_s);
        zeile("Datei-Öffnen-Menü", "Button3", u"Datei öffnen und Tabelle bearbeiten "_s, u"OeffnenUndTabelleBearbeiten:"_s);
        zeile("Tabelle-Menü", "Button1", u"Aktuelle Tabelle anzeigen"_s, u"anzeigen1:"_s);
        zeile("Tabelle-Menü", "Button2", u"Aktuelle Tabelle bearbeiten"_s, u"aktuellebearbeiten1:"_s);
        // It asks first: Ja closes all windows and runs it, Nein leaves everything open and runs nothing.
        zeile("Tabelle-Menü", "Button3", u"Neue Tabelle erstellen (neuer Monat)"_s, u"neuerstellen1:"_s);
        QTest::newRow("Tabelle-Menü Button3 Nein")
            << u"Tabelle-Menü"_s << u"Button3"_s << u"Neue Tabelle erstellen (neuer Monat)"_s << u"Nein:"_s;
        zeile("Optionen-Menü", "Button1", u"Benutzername ändern"_s, u"Benutzernamendern1:"_s);
        zeile("Hilfe-Menü", "Button1", u"Hilfethemen"_s, u"Hilfethemen1:"_s);
        zeile("Hilfe-Menü", "Button2", u"Info über.."_s, u"Infober1:"_s);
    }
    void knoepfe() {
        QFETCH(QString, titel);
        QFETCH(QString, knopf);
        QFETCH(QString, erwartet);
        TMenueFenster* f = nullptr;
        for (TMenueFenster* m : menues->fenster())
            if (m->windowTitle() == titel) f = m;
        QVERIFY(f);
        auto* k = f->findChild<QPushButton*>(knopf);
        QVERIFY(k);
        QTEST(k->text(), "text");
        QVERIFY(k->fontMetrics().horizontalAdvance(QString(k->text()).remove(u'&').trimmed()) <= k->width() - 12);
        QVERIFY(f->rect().contains(QRect(k->mapTo(f, QPoint()), k->size())));
        if (erwartet.contains(u':')) { // enabled exactly while its command is
            menues->befehl(k)->setEnabled(false);
            QVERIFY(!k->isEnabled());
            menues->befehl(k)->setEnabled(true);
            for (TMenueFenster* m : menues->fenster())
                m->zeigeMittig();
            const bool ja = erwartet != u"Nein:";
            testumgebung::dialoge().fragen.push_back(ja);
            k->click();
            QCOMPARE(ausgeloest, ja ? QStringList{erwartet} : QStringList());
            if (menues->art(k) != TGrossMenues::Art::Fragen) return;
            QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Frage),
                     QStringList{u"Sie möchten einen neue Tabelle erstellen?"_s});
            QCOMPARE(sichtbar(*menues).size(), ja ? 0 : 6);
            return;
        }
        k->click();
        QCOMPARE(sichtbar(*menues), QStringList{erwartet});
        QVERIFY(!menues->befehl(k));
        auto* ziel = wirt.findChild<TMenueFenster*>(erwartet);
        QCOMPARE(ziel->minimumSize(), ziel->maximumSize());
        QTest::keyClick(ziel->findChild<QPushButton*>(), Qt::Key_Escape); // from a button, as by keyboard
        QCOMPARE(sichtbar(*menues), QStringList());
    }

    // --- in the running program

    // Every menu entry and button is enabled and runs a command; only the unbuilt print menu's are not.
    void allesErreichbar() {
        Programmstart& p = laufend();
        TmainForm* m = p.mainForm;
        QStringList leiste, gesperrt, unverbunden;
        for (const QAction* a : m->menuBar()->actions()) {
            leiste << a->text() + (a->isVisible() ? "" : "/versteckt");
            if (!a->isVisible())
                for (const QAction* b : a->menu()->actions())
                    gesperrt << b->objectName() + (b->isEnabled() ? "" : "/aus");
        }
        QCOMPARE(gesperrt.join(u' '),
                 u"Grafikskaliertdrucken1/aus GrafikalsHardcopydrucken1/aus Tabelledrucken1/aus"_s);
        gesperrt.clear();
        QStringList eintraege; // the captions a person reads in the menus shown
        for (const QAction* a : m->menuBar()->actions())
            if (a->isVisible() && a->menu())
                for (const QAction* b : a->menu()->actions())
                    if (!b->text().trimmed().isEmpty()) eintraege << b->text();
        QCOMPARE(eintraege.join(u'|'),
                 u"Neu erstellen (neuer Monat oder Jahr)|Öffnen|Grafik im Browser anzeigen|Grafik speichern als "
                 u" Bilddatei (.jpg)|Grafik plus Tabelle speichern als Bilddatei (.jpg)|&Grafik speichern als "
                 u"PDF-Datei|&Tabelle speichern als  PDF-Datei|Grafik &und Tabelle speichern als PDF-Datei|"
                 u"Aus&wertung für einen Zeitraum…|Messwerte als &CSV speichern…|Messwerte aus CSV ü&bernehmen…|"
                 u"Be&enden|&aktuelle anzeigen|aktuelle &bearbeiten|&neu erstellen (neuer Monat oder Jahr)|"
                 u"&Benutzername ändern|&Hilfethemen|&Info über..."_s);
        QCOMPARE(leiste.join(u','),
                 u"Datei,&Drucken/versteckt,Einstellungen,Mittelwerte,Messwerte,&Tabelle,&Optionen,&Hilfe"_s);
        const QList<QAction*> alle = befehle(m->menuBar()->actions()) + befehle(m->PopupMenu1->actions());
        for (const QAction* a : alle) {
            if (!a->isEnabled()) gesperrt << a->objectName();
            if (!verbunden(a)) unverbunden << a->objectName();
        }
        QCOMPARE(gesperrt, QStringList());
        QCOMPARE(unverbunden, QStringList());

        for (const TMenueFenster* f : p.GrossMenues->fenster())
            for (const QPushButton* k : f->findChildren<QPushButton*>()) {
                QAction* befehl = p.GrossMenues->befehl(k);
                const QString name = f->objectName() + u'.' + k->objectName();
                QVERIFY2(befehl ? alle.contains(befehl) : p.GrossMenues->art(k) == TGrossMenues::Art::Zeigen,
                         qPrintable(name));
                QVERIFY2(Zugang::empfaenger(k, SIGNAL(clicked(bool))) > 0, qPrintable(name));
                QCOMPARE(k->isEnabled(), !befehl || befehl->isEnabled());
            }
    }

    // The pop-up entry opens the first window afresh; losing the focus closes them all.
    void oeffnenUndSchliessen() {
        TGrossMenues& g = *laufend().GrossMenues;
        for (QAction* eintrag : laufend().mainForm->PopupMenu1->actions()) {
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
    // Every control a person can focus or click has a name with a letter for a screen reader.
    void zugaenglich() {
        QFETCH(QString, klasse);
        laufend();
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
        QTEST(bedienelemente > 0, "bedienbar");
        QCOMPARE(namenlos, QStringList());
    }

    // The about box: the project() version, the licence shipped, where data and settings live.
    void info() {
        Programmstart& p = laufend();
        QStringList gezeigt;
        testumgebung::dialoge().bei<TAboutBox>([&](TAboutBox& box) {
            for (const QLabel* l : box.findChildren<QLabel*>())
                gezeigt << l->text();
            box.OKButton->click();
        });
        p.mainForm->Infober1->trigger();
        for (const QString& text :
             {u"Korvane"_s, QStringLiteral("Version " KORVANE_VERSION), p.z.datenOrdner, registry::dateiPfad()})
            QVERIFY2(gezeigt.contains(text), qPrintable(text));
        QCOMPARE(gezeigt.filter(u"GPL-3.0-or-later"_s).size(), 1);
        QCOMPARE(p.AboutBox->result(), int(QDialog::Accepted));
    }
};

KORVANE_TEST_MAIN(TestMenues)
#include "test_menues.moc"
