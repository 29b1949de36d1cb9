// A person's way through Korvane, driving the real windows through the dialogs seam:
// first start, user name, a month of readings, corrections, remarks, and the next start.
#include "testumgebung.h"

#include "app/einzelstart.h"
#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "chart/tmonatsgrafik.h"
#include "entry/gui/teingabedlg.h"
#include "entry/gui/tnameeingdlg.h"
#include "table/gui/ttabellendlg.h"
#include "platform/uhr.h"
#include "storage/registry.h"
#include "storage/start.h"

#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <QThread>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using Art = TestDialoge::Art;

namespace {

const QString kTabelle = QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");

void ersteZeichnungAbwarten(TmainForm* m) {
    m->show();
    QTRY_VERIFY_WITH_TIMEOUT(!m->ersteZeichnungAusstehend(), 5000);
}

// One reading typed into the dialog and added.
void aufnehmen(TEingabeDlg* d, int tag, int monat, const QString& zeit, int sys, int dia, int puls) {
    d->SpinEdit1->setValue(tag);
    d->SpinEdit2->setValue(monat);
    d->Edit1->setText(zeit);
    d->SpinEdit4->setValue(sys);
    d->SpinEdit5->setValue(dia);
    d->SpinEdit6->setValue(puls);
    d->BitBtn1Click();
}

int farbPunkte(const QImage& bild, QRgb farbe, int x0, int x1) {
    int n = 0;
    for (int x = x0; x <= x1; ++x)
        for (int y = 0; y < bild.height(); ++y)
            n += (bild.pixel(x, y) & 0xFFFFFF) == (farbe & 0xFFFFFF);
    return n;
}

} // namespace

class TestAblauf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        testumgebung::dialoge().leeren();
        testumgebung::einstellungenLoeschen();
        ordner = testumgebung::neuerProgrammOrdner(QStringLiteral("ablauf"));
        Uhr::setzeHeute(QDate(2024, 3, 5));
    }

    void ersterMonat() {
        TestDialoge& dlg = testumgebung::dialoge();
        QStringList nachAufnahmen;
        int ausgewaehlt = -1;
        QStringList slotFolge;
        {
            Programmstart p;
            QVERIFY(p.erzeugeFenster({}));
            // First start: the name dialog, then the entry dialog for the current month.
            dlg.fenster.push_back([&](QObject* f) {
                auto* name = qobject_cast<TNameEingDlg*>(f);
                if (!name) return 0;
                name->Edit1->setText(QStringLiteral("Anna"));
                name->OKBtnClick();
                return 1;
            });
            dlg.fenster.push_back([&](QObject* f) {
                auto* d = qobject_cast<TEingabeDlg*>(f);
                if (!d) return 0;
                d->FormPaint();
                aufnehmen(d, 5, 3, QStringLiteral("07:30"), 140, 90, 70); // Morgens
                aufnehmen(d, 5, 3, QStringLiteral("13:00"), 128, 85, 66); // Messung2
                d->BitBtn3Click();                                        // skip Messung3
                aufnehmen(d, 3, 3, QStringLiteral("20:40"), 135, 88, 72); // Abends
                nachAufnahmen = QStringList(p.z.ListBox1);
                ausgewaehlt = d->ListBox1->currentRow();

                // Same day and slot again: refused, nothing changes.
                const QByteArray vorher = testumgebung::lies(ordner + kTabelle);
                aufnehmen(d, 5, 3, QStringLiteral("07:45"), 150, 95, 75); // slot is Morgens again
                aufnehmen(d, 6, 4, QStringLiteral("07:45"), 150, 95, 75); // another month
                if (testumgebung::lies(ordner + kTabelle) != vorher)
                    nachAufnahmen << QStringLiteral("DATEI GEAENDERT");

                // Only morning and evening in use.
                d->SpinEdit2->setValue(3);
                d->CheckBoxM2->click();
                d->CheckBoxM3->click();
                for (int i = 0; i < 3; ++i) {
                    slotFolge << d->BitBtn3->text();
                    d->BitBtn3Click();
                }
                d->CheckBoxM2->click();
                d->CheckBoxM3->click();

                // Editing takes the entry out of the list and into the fields.
                d->ListBox1->setCurrentRow(0);
                dlg.fragen.push_back(true);
                d->BitBtn2Click();
                slotFolge << d->BitBtn3->text() << QString::number(d->SpinEdit1->value()) << d->Edit1->text()
                          << QString::number(d->SpinEdit4->value()) << QString::number(p.z.ListBox1.size());
                d->BitBtn1Click(); // and back again
                d->OKBtnClick();
                return 1;
            });
            ersteZeichnungAbwarten(p.mainForm);
            QVERIFY2(dlg.unerwartet.isEmpty(), qPrintable(dlg.unerwartet.join(u'\n')));

            QCOMPARE(nachAufnahmen.size(), 3);
            QVERIFY(nachAufnahmen.at(0).startsWith(QStringLiteral("Abends den \t03.03.2024")));
            QCOMPARE(ausgewaehlt, 2);
            const QStringList texte = dlg.texte(Art::Information);
            QCOMPARE(texte.size(), 2);
            QCOMPARE(texte.at(0),
                     QStringLiteral(
                         "Ein Eintrag mit dem Datum: Morgens den 05.03.2024 existiert schon in der Liste!"));
            QVERIFY(texte.at(1).startsWith(
                QStringLiteral("Überprüfen Sie bitte die Monatsangabe \"04\" sie stimmt nicht ")));
            QCOMPARE(slotFolge,
                     (QStringList{"Morgens", "Abends", "Morgens", "Abends", "3", "20:40", "135", "2"}));

            // The file on disk, byte for byte.
            QCOMPARE(
                testumgebung::lies(ordner + kTabelle),
                QByteArray("[Personendaten]\r\nBenutzerName=Anna\r\nDatum=M\xe4rz 2024\r\n1M=1\r\n2M=1\r\n"
                           "3M=1\r\n4M=1\r\n\r\n"
                           "Abends den 03.03.2024 Z=20:40 s=135, d=88, p=72, Gewicht=0\r\n"
                           "Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0\r\n"
                           "Messung2 den 05.03.2024 Z=13:00 s=128, d=85, p=66, Gewicht=0\r\n"));
            // The chart follows: each curve runs from day 3 (x 85) to day 5 (x 105).
            const TMonatsGrafik& g = p.mainForm->grafik();
            QVERIFY(farbPunkte(g.Image, g.farbeSys.rgb(), 88, 102) > 10);
            QVERIFY(farbPunkte(g.Image, g.farbePuls.rgb(), 88, 102) > 10);
            QCOMPARE(g.Label1, QStringLiteral("Korvanemesswerte  März 2024  Anna"));

            p.mainForm->RichEdit1->setPlainText(QStringLiteral("Gut geschlafen.\nWenig Salz."));
            p.mainForm->close();
            QCOMPARE(Lies_String_aus_Registry(QStringLiteral("TabellenDateiName")), ordner + kTabelle);
        }
        QCOMPARE(testumgebung::lies(ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt")),
                 QByteArray("Gut geschlafen.\r\nWenig Salz.\r\n"));

        // The next start shows the same month with its remarks, without asking anything.
        dlg.leeren();
        Programmstart wieder;
        QVERIFY(wieder.erzeugeFenster({}));
        ersteZeichnungAbwarten(wieder.mainForm);
        QVERIFY2(dlg.gezeigt.isEmpty(),
                 qPrintable(dlg.gezeigt.isEmpty() ? QString() : dlg.gezeigt.first().text));
        QCOMPARE(wieder.mainForm->grafik().Label1, QStringLiteral("Korvanemesswerte  März 2024  Anna"));
        QCOMPARE(wieder.mainForm->RichEdit1->toPlainText(), QStringLiteral("Gut geschlafen.\nWenig Salz."));
        QCOMPARE(wieder.z.ListBox1.size(), 3);
    }

    // "Abbrechen" in the name dialog of a first start ends before anything is written.
    void ersterStartAbgebrochen() {
        TestDialoge& dlg = testumgebung::dialoge();
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        const QByteArray einstellungen = testumgebung::lies(testumgebung::einstellungsDatei());
        dlg.fenster.push_back([](QObject* f) {
            auto* name = qobject_cast<TNameEingDlg*>(f);
            if (name) name->CancelBtnClick();
            return 0;
        });
        p.mainForm->show();
        QTRY_VERIFY_WITH_TIMEOUT(p.mainForm->beendenVerlangt(), 5000);
        p.mainForm->close();
        QCOMPARE(testumgebung::lies(testumgebung::einstellungsDatei()), einstellungen);
        QVERIFY(QDir(ordner + QStringLiteral("Korvane-Daten-Galerie"))
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                    .isEmpty());
    }

    // A table handed over on the command line is drawn and taken into the table folder.
    void tabelleVonAussen() {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Bert"));
        const QString fremd = testumgebung::wurzel() + QStringLiteral("/download/x.tab");
        testumgebung::schreibe(
            fremd, testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
        Programmstart p;
        Startoptionen o;
        o.tabelle = fremd;
        QVERIFY(p.erzeugeFenster(o));
        ersteZeichnungAbwarten(p.mainForm);
        QCOMPARE(p.mainForm->grafik().Label1, QStringLiteral("Korvanemesswerte  März 2024  Anna"));
        QCOMPARE(testumgebung::lies(ordner + kTabelle), testumgebung::lies(fremd));
        QCOMPARE(p.z.TabellenDateiName, ordner + kTabelle);
    }

    // A new user: the old user's remarks are saved under the old name, the new name holds at
    // once and at the next start, and the box shows the new user's remarks (none yet).
    void benutzerWechseln() {
        TestDialoge& dlg = testumgebung::dialoge();
        annaMitMaerz(ordner + kTabelle);
        {
            Programmstart p;
            QVERIFY(p.erzeugeFenster({}));
            ersteZeichnungAbwarten(p.mainForm);
            p.mainForm->RichEdit1->setPlainText(QStringLiteral("Anna war beim Arzt"));
            QString nachDemWechsel;
            dlg.fenster.push_back([&](QObject* f) {
                auto* name = qobject_cast<TNameEingDlg*>(f);
                if (!name) return 0;
                name->Edit1->setText(QStringLiteral("Bert"));
                name->OKBtnClick();
                return 1;
            });
            dlg.fenster.push_back([&](QObject* f) {
                nachDemWechsel = Lies_String_aus_Registry(QStringLiteral("BenutzerName"));
                if (auto* d = qobject_cast<TEingabeDlg*>(f)) d->reject(); // Escape: nothing entered
                return 0;
            });
            p.mainForm->Benutzernamendern1Click();
            QCOMPARE(dlg.unerwartet, QStringList());
            QCOMPARE(nachDemWechsel, QStringLiteral("Bert"));
            QCOMPARE(
                testumgebung::lies(ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt")),
                QByteArray("Anna war beim Arzt\r\n"));
            QCOMPARE(p.mainForm->RichEdit1->toPlainText(), QString());
            QCOMPARE(p.mainForm->grafik().Image, p.mainForm->grafik().vorlageGrafik);
            p.mainForm->RichEdit1->setPlainText(QStringLiteral("Bert misst morgens"));
            p.mainForm->close();
        }
        QCOMPARE(testumgebung::lies(ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Bert_03_2024.txt")),
                 QByteArray("Bert misst morgens\r\n"));
        QCOMPARE(testumgebung::lies(ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt")),
                 QByteArray("Anna war beim Arzt\r\n"));
        dlg.leeren();
        Programmstart wieder;
        QVERIFY(wieder.erzeugeFenster({}));
        ersteZeichnungAbwarten(wieder.mainForm);
        QCOMPARE(dlg.unerwartet, QStringList());
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Bert"));
        QCOMPARE(wieder.z.benutzerName, QStringLiteral("Bert"));
    }

    // A stored name no table can be filed under is named and asked for again.
    void gespeicherterNameUnbrauchbar() {
        TestDialoge& dlg = testumgebung::dialoge();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("../Anna"));
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        QString vorgeschlagen;
        dlg.fenster.push_back([&](QObject* f) {
            auto* name = qobject_cast<TNameEingDlg*>(f);
            if (!name) return 0;
            vorgeschlagen = name->Edit1->text();
            name->Edit1->setText(QStringLiteral("Anna"));
            name->OKBtnClick();
            return 1;
        });
        dlg.fenster.push_back([](QObject*) { return 0; });
        ersteZeichnungAbwarten(p.mainForm);
        QCOMPARE(dlg.unerwartet, QStringList());
        QCOMPARE(vorgeschlagen, QStringLiteral("../Anna"));
        QVERIFY(dlg.texte(Art::Warnung).value(0).startsWith(QStringLiteral("Der gespeicherte Benutzername")));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Anna"));
        QVERIFY(!QDir(ordner + QStringLiteral("Anna")).exists());
    }

    // Started from the menu or a file manager (another working folder, no $KORVANE_ORDNER): the
    // program folder is ~/Korvane, the first start asks for the user name and for nothing else,
    // and the next start from yet another folder asks nothing at all.
    void startAusDemMenue() {
        testumgebung::UmgebungSichern sicher;
        TestDialoge& dlg = testumgebung::dialoge();
        const QString heim = testumgebung::wurzel() + QStringLiteral("/heim-menue");
        QDir(heim).removeRecursively();
        qputenv("HOME", QFile::encodeName(heim));
        qunsetenv("KORVANE_ORDNER");
        QDir::setCurrent(testumgebung::testdaten(QString()));
        {
            Programmstart p;
            QVERIFY(p.erzeugeFenster({}));
            dlg.fenster.push_back([](QObject* f) {
                auto* name = qobject_cast<TNameEingDlg*>(f);
                if (!name) return 0;
                name->Edit1->setText(QStringLiteral("Anna"));
                name->OKBtnClick();
                return 1;
            });
            dlg.fenster.push_back([](QObject*) { return 0; }); // the entry dialog of the new month
            ersteZeichnungAbwarten(p.mainForm);
            QCOMPARE(p.z.programmOrdner, heim + QStringLiteral("/Korvane/"));
            p.mainForm->close();
        }
        QCOMPARE(dlg.texte(Art::Frage), QStringList());
        QCOMPARE(dlg.gezeigt.size(), 2);
        QCOMPARE(dlg.gezeigt.at(0).text, QStringLiteral("TNameEingDlg"));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("InstallOrt")), heim + QStringLiteral("/Korvane/"));

        dlg.leeren();
        QDir::setCurrent(heim);
        Programmstart wieder;
        QVERIFY(wieder.erzeugeFenster({}));
        ersteZeichnungAbwarten(wieder.mainForm);
        QCOMPARE(wieder.z.datenOrdner, heim + QStringLiteral("/Korvane/"));
        QCOMPARE(dlg.gezeigt.size(), 0);
    }

    void spaeterStartSchreibtNichts_data() {
        QTest::addColumn<bool>("antwortet");
        QTest::newRow("uebergeben") << true;
        QTest::newRow("laufendes korvane stumm") << false;
    }
    // A start that finds a Korvane of its set-up running hands its table over and ends with 0;
    // when that one takes nothing, it says so in German and ends with 1. Either way before any
    // setting or folder is written.
    void spaeterStartSchreibtNichts() {
        QFETCH(bool, antwortet);
        const QString schluessel = start::einzelstartSchluessel();
        // The running Korvane in a thread of its own, so it answers while this start waits.
        QThread faden;
        QObject imFaden;
        imFaden.moveToThread(&faden);
        faden.start();
        Einzelstart* laufend = nullptr;
        int sperre = -1;
        QString erhalten;
        QMetaObject::invokeMethod(
            &imFaden,
            [&] {
                if (antwortet) {
                    laufend = new Einzelstart(schluessel);
                    laufend->beginne(QString(), 1000);
                    QObject::connect(
                        laufend, &Einzelstart::tabelleErhalten, laufend,
                        [&](const QString& pfad) { erhalten = pfad; }, Qt::DirectConnection);
                } else {
                    const QByteArray pfad = QFile::encodeName(Einzelstart(schluessel).sperrPfad());
                    sperre = ::open(pfad.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
                    if (sperre >= 0) ::flock(sperre, LOCK_EX | LOCK_NB);
                }
            },
            Qt::BlockingQueuedConnection);

        Programmstart p;
        Startoptionen o;
        o.tabelle = QStringLiteral("Anna_03_2024.tab");
        const int status = p.uebergibtOderBeginnt(o, 500);
        QMetaObject::invokeMethod(
            &imFaden, [&] { delete laufend; }, Qt::BlockingQueuedConnection);
        faden.quit();
        faden.wait();
        if (sperre >= 0) ::close(sperre);

        const QString tabelle = QDir::currentPath() + QStringLiteral("/Anna_03_2024.tab");
        QCOMPARE(status, antwortet ? 0 : 1);
        QCOMPARE(erhalten, antwortet ? tabelle : QString());
        QCOMPARE(testumgebung::dialoge().texte(Art::Information),
                 antwortet
                     ? QStringList()
                     : QStringList{"Korvane ist bereits geöffnet, reagiert aber nicht. Die Tabelle \"" +
                                   tabelle +
                                   "\" wird nicht geöffnet, damit nicht zwei Programme sie schreiben."});
        QVERIFY(!QFile::exists(testumgebung::einstellungsDatei()));
        QCOMPARE(QDir(ordner).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void uebergabe_data() {
        QTest::addColumn<bool>("dialogOffen");
        QTest::newRow("nichts offen") << false;
        QTest::newRow("modaler dialog offen") << true;
    }
    // A table handed over by a later start is drawn at once, or, while a modal dialog holds the
    // month, only once it has closed.
    void uebergabe() {
        QFETCH(bool, dialogOffen);
        const QByteArray maerz = annaMitMaerz(ordner + kTabelle);
        const QString bert = testumgebung::wurzel() + QStringLiteral("/download/Bert_03_2024.tab");
        testumgebung::schreibe(bert, QByteArray(maerz).replace("BenutzerName=Anna", "BenutzerName=Bert"));

        Programmstart p;
        QCOMPARE(p.uebergibtOderBeginnt({}), -1);
        QVERIFY(p.erzeugeFenster({}));
        ersteZeichnungAbwarten(p.mainForm);
        QCOMPARE(p.z.TabellenDateiName, ordner + kTabelle);
        QDialog dialog(p.mainForm);
        if (dialogOffen) dialog.open(); // modal, without a loop of its own
        p.tabelleUebergeben(bert);
        if (dialogOffen) {
            QTest::qWait(600);
            QCOMPARE(p.z.TabellenDateiName, ordner + kTabelle);
            dialog.close();
        }
        const QString abgelegt = ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Bert_03_2024.tab");
        QTRY_COMPARE(p.z.TabellenDateiName, abgelegt);
        QCOMPARE(p.mainForm->grafik().Label1, QStringLiteral("Korvanemesswerte  März 2024  Bert"));
    }

    void tabelleZeigen_data() {
        QTest::addColumn<bool>("oeffnen"); // "Öffnen > und Tabelle anzeigen" or the dialog's button
        QTest::newRow("knopf im eingabedialog") << false;
        QTest::newRow("oeffnen und tabelle anzeigen") << true;
    }
    // The table window shows the month the entry dialog holds, under the chart's title.
    void tabelleZeigen() {
        QFETCH(bool, oeffnen);
        TestDialoge& dlg = testumgebung::dialoge();
        annaMitMaerz(ordner + kTabelle);
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        ersteZeichnungAbwarten(p.mainForm);
        dlg.fenster.push_back([&](QObject* f) {
            auto* d = qobject_cast<TEingabeDlg*>(f);
            if (!d) return 0;
            d->show();
            if (oeffnen)
                (void)QTest::qWaitFor([&] { return !d->isVisible(); }, 5000); // on to the table by itself
            else
                d->BitBtn4->click();
            return d->result();
        });
        QString titel, zelle;
        dlg.fenster.push_back([&](QObject* f) {
            auto* t = qobject_cast<TTabellenDlg*>(f);
            if (!t) return 0;
            titel = t->windowTitle();
            zelle = t->gitter().zelle(5, 21);
            return 0;
        });
        if (oeffnen) {
            dlg.dateien.push_back(ordner + kTabelle);
            p.mainForm->OffnenUndTabelleAnzeigenClick();
        } else {
            p.mainForm->aktuellebearbeiten1Click();
        }
        QTRY_VERIFY(!zelle.isEmpty());
        QCOMPARE(dlg.unerwartet, QStringList());
        QCOMPARE(titel, QStringLiteral("Korvanemesswerte  März 2024  Anna"));
        QCOMPARE(zelle, QStringLiteral("    70,5"));
    }


    // A signal while a modal dialog is open still stores the remarks and the table in use.
    // Last: it ends every event loop of this process.
    void signalWaehrendDialog() {
        annaMitMaerz(kTabelle);
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        ersteZeichnungAbwarten(p.mainForm);
        p.mainForm->RichEdit1->setPlainText(QStringLiteral("Kopfschmerzen"));
        testumgebung::dialoge().fenster.push_back([&](QObject*) {
            p.beendenDurchSignal();
            return 0;
        });
        p.mainForm->aktuellebearbeiten1Click();
        QCOMPARE(testumgebung::lies(ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt")),
                 QByteArray("Kopfschmerzen\r\n"));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("TabellenDateiName")), ordner + kTabelle);
    }

private:
    // Settings of a set-up where Anna's March table is in use (named as the settings hold it,
    // absolute or relative), and the table in place; its bytes.
    QByteArray annaMitMaerz(const QString& tabellenDateiName) {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
        Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), tabellenDateiName);
        const QByteArray maerz = testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
        testumgebung::schreibe(ordner + kTabelle, maerz);
        return maerz;
    }

    QString ordner;
};

KORVANE_TEST_MAIN(TestAblauf)
#include "test_ablauf.moc"
