#include "testumgebung.h"

#include "entry/gui/tnameeingdlg.h"
#include "storage/registry.h"
#include "storage/zustand.h"

#include <QSignalSpy>

class NamenDialogTest : public QObject {
    Q_OBJECT

    QString ordner;
    void frischeEinstellungen(const QString& name) {
        testumgebung::dialoge().leeren();
        testumgebung::einstellungenLoeschen();
        ordner = testumgebung::neuerProgrammOrdner(name);
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
    }

private Q_SLOTS:
    void gespeicherterNameStehtImFeld() {
        frischeEinstellungen(QStringLiteral("namealt"));
        Schreib_String_in_Registry("BenutzerName", "Anna");
        Zustand z;
        TNameEingDlg dlg(z);
        QCOMPARE(dlg.Edit1->text(), QStringLiteral("Anna"));
        QCOMPARE(z.benutzerName, QStringLiteral("Anna"));
    }

    void okSpeichertUndBeginntNeuenMonat_data() {
        QTest::addColumn<QString>("tabelle");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("laden");
        QTest::newRow("gleicher name anders geschrieben") << "/daten/2024/ANNA_03_2024.tab"
                                                          << "anna" << true;
        QTest::newRow("anderer name") << "/daten/2024/Anna_03_2024.tab"
                                      << "Bert" << false;
        QTest::newRow("keine tabelle") << ""
                                       << "Anna" << false;
        QTest::newRow("name mit blank") << "/daten/2024/Anna Maria_03_2024.tab"
                                        << "Anna Maria" << true;
    }
    void okSpeichertUndBeginntNeuenMonat() {
        QFETCH(QString, tabelle);
        QFETCH(QString, name);
        QFETCH(bool, laden);
        frischeEinstellungen(QStringLiteral("nameok"));
        Schreib_String_in_Registry("TabellenDateiName", tabelle);
        Zustand z;
        TNameEingDlg dlg(z);
        QStringList folge;
        connect(&dlg, &TNameEingDlg::nameGeaendert, this, [&](const QString& n) { folge << "name:" + n; });
        connect(&dlg, &TNameEingDlg::tabelleLaden, this, [&](const QString& p) { folge << "laden:" + p; });
        connect(&dlg, &TNameEingDlg::neuerMonatBeginnen, this, [&] { folge << "neu"; });
        QSignalSpy ende(&dlg, &TNameEingDlg::programmBeenden);
        dlg.show();
        dlg.Edit1->setText(name);
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        QStringList erwartet{"name:" + name};
        if (laden) erwartet << "laden:" + tabelle;
        erwartet << "neu";
        QCOMPARE(folge, erwartet);
        QCOMPARE(z.benutzerName, name);
        QCOMPARE(z.listenTitel, "Messwerte von " + name);
        QCOMPARE(Lies_String_aus_Registry("BenutzerName"), name);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(ende.count(), 0);
    }

    void namenFuerDateinamenUngeeignet_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("schrägstrich") << "Anna/Bert";
        QTest::newRow("rückstrich") << "Anna\\Bert";
        QTest::newRow("tabulator") << "Anna\tBert";
        QTest::newRow("nicht speicherbar") << QString::fromUtf8("Ωmega");
    }
    void namenFuerDateinamenUngeeignet() {
        QFETCH(QString, name);
        frischeEinstellungen(QStringLiteral("nameschlecht"));
        Schreib_String_in_Registry("BenutzerName", "Anna");
        Zustand z;
        TNameEingDlg dlg(z);
        QSignalSpy neu(&dlg, &TNameEingDlg::neuerMonatBeginnen);
        dlg.setResult(0);
        dlg.show();
        dlg.Edit1->setText(name);
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Warnung).size(), 1);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(neu.count(), 0);
        QCOMPARE(z.benutzerName, QStringLiteral("Anna"));
        QCOMPARE(Lies_String_aus_Registry("BenutzerName"), QStringLiteral("Anna"));
        dlg.hide();
    }

    void abbrechenBeendetOhneSchreiben_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("knopf") << false;
        QTest::newRow("escape") << true;
    }
    void abbrechenBeendetOhneSchreiben() {
        QFETCH(bool, escape);
        frischeEinstellungen(QStringLiteral("nameabbrechen"));
        const QByteArray vorher = testumgebung::lies(testumgebung::einstellungsDatei());
        Zustand z;
        TNameEingDlg dlg(z);
        QSignalSpy ende(&dlg, &TNameEingDlg::programmBeenden);
        QSignalSpy neu(&dlg, &TNameEingDlg::neuerMonatBeginnen);
        dlg.show();
        dlg.Edit1->setText(QStringLiteral("Bert"));
        if (escape)
            QTest::keyClick(dlg.Edit1, Qt::Key_Escape);
        else
            QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
        QCOMPARE(ende.count(), 1);
        QCOMPARE(neu.count(), 0);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(testumgebung::lies(testumgebung::einstellungsDatei()), vorher);
        QVERIFY(QDir(ordner).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }
};

int laufeNamenDialog(int argc, char** argv) {
    NamenDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_namendialog.moc"
