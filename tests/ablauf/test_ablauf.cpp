// A person's way through Korvane: the real windows, driven through the dialogs seam.
#include "testumgebung.h"

#include "app/einzelstart.h"
#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "chart/tmonatsgrafik.h"
#include "entry/gui/teingabedlg.h"
#include "entry/gui/tnameeingdlg.h"
#include "platform/uhr.h"
#include "storage/registry.h"
#include "storage/start.h"
#include "table/gui/ttabellendlg.h"

#include <QDir>
#include <QPlainTextEdit>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using Art = TestDialoge::Art;
using testumgebung::lies, testumgebung::zaehle;

namespace {

const QString kTabelle = QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
const QString kNotiz = QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt");
const QString kMaerzAnna = QStringLiteral("Korvanemesswerte  März 2024  Anna");

// One reading of March typed into the dialog and added.
void aufnehmen(TEingabeDlg& d, int tag, const QString& zeit, int sys, int dia, int puls) {
    d.SpinEdit1->setValue(tag);
    d.SpinEdit2->setValue(3);
    d.Edit1->setText(zeit);
    d.SpinEdit4->setValue(sys);
    d.SpinEdit5->setValue(dia);
    d.SpinEdit6->setValue(puls);
    d.BitBtn1Click();
}

} // namespace

class TestAblauf : public QObject {
    Q_OBJECT

    QString ordner;
    static TestDialoge& dlg() { return testumgebung::dialoge(); }

    // The next name dialog: the name it proposes noted, then name typed and OK; no name: "Abbrechen".
    static void nameEingeben(const QString& name, QString* vorgeschlagen = nullptr) {
        dlg().bei<TNameEingDlg>([=](TNameEingDlg& d) {
            if (vorgeschlagen) *vorgeschlagen = d.Edit1->text();
            if (name.isEmpty()) return d.CancelBtn->click();
            d.Edit1->setText(name);
            d.OKBtn->click();
        });
    }

    // Anna's March table in place and in use, named as the settings hold it; its bytes.
    QByteArray annaMitMaerz(const QString& tabellenDateiName) {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
        Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), tabellenDateiName);
        return testumgebung::legeMaerzAn(ordner + kTabelle);
    }

private Q_SLOTS:
    void init() {
        dlg().leeren();
        testumgebung::einstellungenLoeschen();
        ordner = testumgebung::neuerProgrammOrdner(QStringLiteral("ablauf"));
        Uhr::setzeHeute(QDate(2024, 3, 5));
    }
    void cleanup() { QCOMPARE(dlg().unerwartet, QStringList()); }

    // First start from the menu: ~/Korvane, the name and the entry dialog. Readings reach the table
    // byte for byte and the chart; the next start from another folder shows month and remarks.
    void ersterMonat() {
        testumgebung::UmgebungSichern sicher;
        const QString heim = testumgebung::wurzel() + QStringLiteral("/heim-menue");
        qputenv("HOME", QFile::encodeName(heim));
        qunsetenv("KORVANE_ORDNER");
        QDir().mkpath(heim + QStringLiteral("-arbeit"));
        QDir::setCurrent(heim + QStringLiteral("-arbeit"));
        ordner = heim + QStringLiteral("/Korvane/");
        {
            Programmstart p;
            nameEingeben(QStringLiteral("Anna"));
            dlg().bei<TEingabeDlg>([&](TEingabeDlg& d) {
                aufnehmen(d, 5, QStringLiteral("07:30"), 140, 90, 70); // Morgens
                aufnehmen(d, 5, QStringLiteral("13:00"), 128, 85, 66); // Messung2
                d.BitBtn3Click();                                      // no Messung3
                aufnehmen(d, 3, QStringLiteral("20:40"), 135, 88, 72); // Abends
                QCOMPARE(d.ListBox1->currentRow(), 2);
                d.OKBtnClick();
            });
            QVERIFY(testumgebung::laeuft(p));
            QCOMPARE(lies(ordner + kTabelle),
                     QByteArray("[Personendaten]\r\nBenutzerName=Anna\r\nDatum=M\xe4rz 2024\r\n1M=1\r\n2M=1\r\n"
                                "3M=1\r\n4M=1\r\n\r\n"
                                "Abends den 03.03.2024 Z=20:40 s=135, d=88, p=72, Gewicht=0\r\n"
                                "Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0\r\n"
                                "Messung2 den 05.03.2024 Z=13:00 s=128, d=85, p=66, Gewicht=0\r\n"));
            // The chart follows: each curve runs from day 3 (x 85) to day 5 (x 105).
            const TMonatsGrafik& g = p.mainForm->grafik();
            QVERIFY(zaehle(g.Image, g.farbeSys, QRect(88, 0, 15, 464)) > 10);
            QVERIFY(zaehle(g.Image, g.farbePuls, QRect(88, 0, 15, 464)) > 10);
            QCOMPARE(g.Label1, kMaerzAnna);
            p.mainForm->RichEdit1->setPlainText(QStringLiteral("Gut geschlafen.\nWenig Salz."));
            p.mainForm->close();
        }
        QCOMPARE(dlg().gezeigt.size(), 2); // the two windows, no question
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("InstallOrt")), ordner);
        QCOMPARE(lies(ordner + kNotiz), QByteArray("Gut geschlafen.\r\nWenig Salz.\r\n"));
        dlg().leeren();
        QDir::setCurrent(heim);
        Programmstart wieder;
        QVERIFY(testumgebung::laeuft(wieder));
        QCOMPARE(dlg().gezeigt.size(), 0);
        QCOMPARE(wieder.z.datenOrdner, ordner);
        QCOMPARE(wieder.mainForm->grafik().Label1, kMaerzAnna);
        QCOMPARE(wieder.mainForm->RichEdit1->toPlainText(), QStringLiteral("Gut geschlafen.\nWenig Salz."));
        QCOMPARE(wieder.z.ListBox1.size(), 3);
        QDir(heim).removeRecursively();
    }

    // "Abbrechen" in the name dialog of a first start ends before anything is written.
    void ersterStartAbgebrochen() {
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        const QByteArray einstellungen = lies(testumgebung::einstellungsDatei());
        nameEingeben(QString());
        p.mainForm->show();
        QTRY_VERIFY_WITH_TIMEOUT(p.mainForm->beendenVerlangt(), 5000);
        p.mainForm->close();
        QCOMPARE(lies(testumgebung::einstellungsDatei()), einstellungen);
        QVERIFY(QDir(ordner + QStringLiteral("Korvane-Daten-Galerie"))
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                    .isEmpty());
    }

    // A stored name no table can be filed under is named and asked for again.
    void gespeicherterNameUnbrauchbar() {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("../Anna"));
        Programmstart p;
        QString vorgeschlagen;
        nameEingeben(QStringLiteral("Anna"), &vorgeschlagen);
        dlg().bei<TEingabeDlg>([](TEingabeDlg& d) { d.reject(); });
        QVERIFY(testumgebung::laeuft(p));
        QCOMPARE(vorgeschlagen, QStringLiteral("../Anna"));
        QVERIFY(dlg().texte(Art::Warnung).value(0).startsWith(QStringLiteral("Der gespeicherte Benutzername")));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Anna"));
        QVERIFY(!QDir(ordner + QStringLiteral("Anna")).exists());
    }

    // A new user: the old user's remarks kept under the old name, the new name holding at once and later.
    void benutzerWechseln() {
        annaMitMaerz(ordner + kTabelle);
        {
            Programmstart p;
            QVERIFY(testumgebung::laeuft(p));
            p.mainForm->RichEdit1->setPlainText(QStringLiteral("Anna war beim Arzt"));
            QString nachDemWechsel;
            nameEingeben(QStringLiteral("Bert"));
            dlg().bei<TEingabeDlg>([&](TEingabeDlg& d) {
                nachDemWechsel = Lies_String_aus_Registry(QStringLiteral("BenutzerName"));
                d.reject(); // Escape: nothing entered
            });
            p.mainForm->Benutzernamendern1Click();
            QCOMPARE(nachDemWechsel, QStringLiteral("Bert"));
            QCOMPARE(p.mainForm->RichEdit1->toPlainText(), QString());
            QCOMPARE(p.mainForm->grafik().Image, p.mainForm->grafik().vorlageGrafik);
            p.mainForm->RichEdit1->setPlainText(QStringLiteral("Bert misst morgens"));
            p.mainForm->close();
        }
        QCOMPARE(lies(ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Bert_03_2024.txt")),
                 QByteArray("Bert misst morgens\r\n"));
        QCOMPARE(lies(ordner + kNotiz), QByteArray("Anna war beim Arzt\r\n"));
        Programmstart wieder;
        QVERIFY(testumgebung::laeuft(wieder));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Bert"));
        QCOMPARE(wieder.z.benutzerName, QStringLiteral("Bert"));
    }

    // A Korvane of this set-up holds the lock and takes nothing: say so, end with 1, write nothing.
    void laufendesKorvaneStumm() {
        const QByteArray sperrPfad = QFile::encodeName(Einzelstart(start::einzelstartSchluessel()).sperrPfad());
        const int sperre = ::open(sperrPfad.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(sperre >= 0 && ::flock(sperre, LOCK_EX | LOCK_NB) == 0);
        Programmstart p;
        Startoptionen o;
        o.tabelle = QStringLiteral("Anna_03_2024.tab");
        const int status = p.uebergibtOderBeginnt(o, 500);
        ::close(sperre);
        QCOMPARE(status, 1);
        QCOMPARE(dlg().texte(Art::Information),
                 QStringList{"Korvane ist bereits geöffnet, reagiert aber nicht. Die Tabelle \"" +
                             QDir::currentPath() + "/Anna_03_2024.tab\" wird nicht geöffnet, damit nicht zwei "
                                                   "Programme sie schreiben."});
        QVERIFY(!QFile::exists(testumgebung::einstellungsDatei()));
        QCOMPARE(QDir(ordner).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void fremdeTabelle_data() {
        QTest::addColumn<bool>("dialogOffen"); // else given on the command line
        QTest::newRow("beim start") << false;
        QTest::newRow("uebergeben, modaler dialog offen") << true;
    }
    // A table from elsewhere, given at the start or handed over, is filed under its user's name and
    // drawn, once a modal dialog has closed; the table in use stays as it was.
    void fremdeTabelle() {
        QFETCH(bool, dialogOffen);
        const QByteArray maerz = annaMitMaerz(ordner + kTabelle);
        const QString fremd = testumgebung::wurzel() + QStringLiteral("/download/x.tab");
        testumgebung::schreibe(fremd, QByteArray(maerz).replace("BenutzerName=Anna", "BenutzerName=Bert"));
        Programmstart p;
        QCOMPARE(p.uebergibtOderBeginnt({}), -1);
        QVERIFY(testumgebung::laeuft(p, dialogOffen ? QString() : fremd));
        if (dialogOffen) {
            QDialog dialog(p.mainForm);
            dialog.open(); // modal, without a loop of its own
            p.tabelleUebergeben(fremd);
            QTest::qWait(600);
            QCOMPARE(p.z.TabellenDateiName, ordner + kTabelle);
        }
        const QString abgelegt = ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Bert_03_2024.tab");
        QTRY_COMPARE(p.z.TabellenDateiName, abgelegt);
        QCOMPARE(p.mainForm->grafik().Label1, QStringLiteral("Korvanemesswerte  März 2024  Bert"));
        QCOMPARE(lies(abgelegt), lies(fremd));
        QCOMPARE(lies(ordner + kTabelle), maerz);
    }

    void tabelleZeigen_data() {
        QTest::addColumn<bool>("oeffnen"); // "Öffnen > und Tabelle anzeigen" or the dialog's button
        QTest::newRow("knopf im eingabedialog") << false;
        QTest::newRow("oeffnen und tabelle anzeigen") << true;
    }
    // The table window shows the month the entry dialog holds, under the chart's title.
    void tabelleZeigen() {
        QFETCH(bool, oeffnen);
        annaMitMaerz(ordner + kTabelle);
        Programmstart p;
        QVERIFY(testumgebung::laeuft(p));
        dlg().bei<TEingabeDlg>([&](TEingabeDlg& d) {
            if (oeffnen)
                (void)QTest::qWaitFor([&] { return !d.isVisible(); }, 5000); // on to the table by itself
            else
                d.BitBtn4->click();
        });
        QString titel, zelle;
        dlg().bei<TTabellenDlg>([&](TTabellenDlg& t) {
            titel = t.windowTitle();
            zelle = t.gitter().zelle(5, 21);
        });
        if (oeffnen) {
            dlg().dateien.push_back(ordner + kTabelle);
            p.mainForm->OffnenUndTabelleAnzeigenClick();
        } else {
            p.mainForm->aktuellebearbeiten1Click();
        }
        QTRY_VERIFY(!zelle.isEmpty());
        QCOMPARE(titel, kMaerzAnna);
        QCOMPARE(zelle, QStringLiteral("    70,5"));
    }

    // A signal in a modal dialog still stores remarks and table in use. Last: it ends every event loop.
    void signalWaehrendDialog() {
        annaMitMaerz(kTabelle);
        Programmstart p;
        QVERIFY(testumgebung::laeuft(p));
        p.mainForm->RichEdit1->setPlainText(QStringLiteral("Kopfschmerzen"));
        dlg().bei<TEingabeDlg>([&](TEingabeDlg&) { p.beendenDurchSignal(); });
        p.mainForm->aktuellebearbeiten1Click();
        QCOMPARE(lies(ordner + kNotiz), QByteArray("Kopfschmerzen\r\n"));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("TabellenDateiName")), ordner + kTabelle);
    }
};

KORVANE_TEST_MAIN(TestAblauf)
#include "test_ablauf.moc"
