#include "eingabeumgebung.h"

#include <QClipboard>
#include <QTextBlock>

namespace {

// Clicks into the given line of the list, as the user selects a time.
void klickeZeile(TForm_UhrzeitDropdownMemo& f, int zeile) {
    QTextCursor c(f.Memo1->document()->findBlockByNumber(zeile));
    QTest::mouseClick(f.Memo1->viewport(), Qt::LeftButton, {}, f.Memo1->cursorRect(c).center());
    QCOMPARE(f.Memo1->textCursor().blockNumber(), zeile);
}

const QString kNurZahlen = QStringLiteral("Es sind nur Zahlen und der Doppelpunkt erlaubt.");

} // namespace

class UhrzeitAuswahlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void auswahlPruefung_data() {
        QTest::addColumn<int>("zeile");
        QTest::addColumn<bool>("frei");
        QTest::newRow("7:30") << 0 << false;
        QTest::newRow("07:30") << 1 << true;
        QTest::newRow("leer") << 2 << false;
        QTest::newRow("99:99") << 3 << true;
    }
    void auswahlPruefung() {
        QFETCH(int, zeile);
        QFETCH(bool, frei);
        EingabeUmgebung u(QStringLiteral("auswahl"));
        TForm_UhrzeitDropdownMemo& f = *u.uhrzeit;
        f.Memo1->setPlainText(QStringLiteral("7:30\n07:30\n\n99:99"));
        f.show();
        klickeZeile(f, zeile);
        QCOMPARE(f.OKbtn->isEnabled(), frei);
        QCOMPARE(f.windowTitle(),
                 "Ausgewählte Uhrzeit: " + f.Memo1->document()->findBlockByNumber(zeile).text());
        f.hide();
    }

    void tastenWaehlenAuch() {
        EingabeUmgebung u(QStringLiteral("tasten"));
        TForm_UhrzeitDropdownMemo& f = *u.uhrzeit;
        f.Memo1->setPlainText(QStringLiteral("7:30\n07:30"));
        f.show();
        klickeZeile(f, 0);
        QVERIFY(!f.OKbtn->isEnabled());
        QTest::keyClick(f.Memo1, Qt::Key_Down);
        QVERIFY(f.OKbtn->isEnabled());
        QCOMPARE(f.windowTitle(), QStringLiteral("Ausgewählte Uhrzeit: 07:30"));
        f.hide();
    }

    void fremdeZeichenWerdenEntfernt_data() {
        QTest::addColumn<QString>("eingefuegt");
        QTest::addColumn<QString>("bleibt");
        QTest::newRow("07.30") << "07.30"
                               << "0730";
        QTest::newRow("zwei fremde") << "a1 "
                                     << "1";
    }
    void fremdeZeichenWerdenEntfernt() {
        QFETCH(QString, eingefuegt);
        QFETCH(QString, bleibt);
        EingabeUmgebung u(QStringLiteral("einfuegen"));
        TForm_UhrzeitDropdownMemo& f = *u.uhrzeit;
        f.show();
        f.Memo1->clear();
        testumgebung::dialoge().leeren();
        QGuiApplication::clipboard()->setText(eingefuegt);
        f.Memo1->paste();
        QCOMPARE(f.Memo1->toPlainText(), bleibt);
        const int fremde = int(eingefuegt.size() - bleibt.size());
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Information),
                 QStringList(fremde, kNurZahlen));
        QCOMPARE(f.windowTitle(), QStringLiteral("Auswahl der Uhrzeit"));
        QVERIFY(!f.OKbtn->isEnabled());
        f.hide();
    }

    void uebernehmenSchreibtFeldUndListe() {
        EingabeUmgebung u(QStringLiteral("uebernehmen"));
        TForm_UhrzeitDropdownMemo& f = *u.uhrzeit;
        f.Memo1->setPlainText(QStringLiteral("06:00\n12:15"));
        f.show();
        klickeZeile(f, 1);
        QTest::mouseClick(f.OKbtn, Qt::LeftButton);
        QCOMPARE(u.dlg->Edit1->text(), QStringLiteral("12:15"));
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QVERIFY(!f.isVisible());
        QCOMPARE(testumgebung::lies(u.ordner + "Uhrzeiten.txt"), QByteArray("06:00\r\n12:15\r\n"));
    }

    void falscheZeileWirdGeloescht() {
        EingabeUmgebung u(QStringLiteral("falsch"));
        TForm_UhrzeitDropdownMemo& f = *u.uhrzeit;
        f.Memo1->setPlainText(QStringLiteral("06:00\n1:234\n08:00"));
        f.setResult(0);
        f.show();
        klickeZeile(f, 1);
        QVERIFY(f.OKbtn->isEnabled()); // five allowed characters: only the take-over sees the form
        QTest::mouseClick(f.OKbtn, Qt::LeftButton);
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Information),
                 QStringList{"Falsche Eingabe der Uhrzeit.   Beispiel für richtige Eingabe: 06:00"});
        QCOMPARE(f.Memo1->toPlainText(), QStringLiteral("06:00\n08:00"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Falsche Eingabe der Uhrzeit."));
        QVERIFY(!f.OKbtn->isEnabled());
        QVERIFY(f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QCOMPARE(u.dlg->Edit1->text(), QStringLiteral("07:00"));
        QVERIFY(!QFile::exists(u.ordner + "Uhrzeiten.txt"));
        f.hide();
    }

    void blanksFallenBeimOeffnenWeg() {
        EingabeUmgebung u(QStringLiteral("blanks"));
        testumgebung::schreibe(u.ordner + "Uhrzeiten.txt", "  08:00  \r\n06:00\r\n\r\n");
        u.uhrzeit->ladeListe();
        QCOMPARE(u.uhrzeit->Memo1->toPlainText(), QStringLiteral("  08:00  \n06:00\n"));
        QString gesehen;
        testumgebung::dialoge().fenster.push_back([&](QObject* w) {
            gesehen = static_cast<TForm_UhrzeitDropdownMemo*>(w)->Memo1->toPlainText();
            return 0;
        });
        u.dlg->SpeedButton1Click();
        QCOMPARE(gesehen, QStringLiteral("08:00\n06:00\n"));
        QVERIFY(testumgebung::dialoge().alleTexte().isEmpty());
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Modal),
                 QStringList{"TForm_UhrzeitDropdownMemo"});
    }

    void speichernUndStartinhalt() {
        EingabeUmgebung u(QStringLiteral("speichern"));
        u.uhrzeit->ladeListe(); // no file: the start content stays
        QCOMPARE(u.uhrzeit->Memo1->toPlainText(), QStringLiteral("06:00"));
        u.uhrzeit->Memo1->setPlainText(QStringLiteral("06:00\n\n07:15\n"));
        QTest::mouseClick(u.uhrzeit->SpeichernBtn, Qt::LeftButton);
        QCOMPARE(testumgebung::lies(u.ordner + "Uhrzeiten.txt"), QByteArray("06:00\r\n\r\n07:15\r\n"));
    }
};

int laufeUhrzeitAuswahl(int argc, char** argv) {
    UhrzeitAuswahlTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_uhrzeitauswahl.moc"
