#include "eingabeumgebung.h"

namespace {

// Taps a field of the entry dialog; the touch window is handed to the function instead of shown.
void tippe(QWidget* feld, std::function<int(TTouchEingabeDlg&)> handlung) {
    testumgebung::dialoge().fenster.push_back([handlung](QObject* w) {
        auto* t = static_cast<TTouchEingabeDlg*>(w);
        t->setResult(0);
        t->show();
        const int ergebnis = handlung(*t);
        t->hide();
        return ergebnis;
    });
    QTest::mouseClick(feld, Qt::LeftButton);
}

} // namespace

class TouchEingabeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tagStuftUndSchreibtZurueck() {
        EingabeUmgebung u(QStringLiteral("touchtag"), true);
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       d.SpinEdit1->setValue(2);
                       tippe(d.SpinEdit1->editor(), [](TTouchEingabeDlg& t) {
                           [&] {
                               QCOMPARE(t.Label1->text(), QStringLiteral("Geben Sie den Tag ein:"));
                               QCOMPARE(t.Edit1->text(), QStringLiteral("02"));
                               QVERIFY(!t.GewichtLabel->isVisible());
                               QTest::mouseClick(t.SpinButton1->ab, Qt::LeftButton);
                               QCOMPARE(t.Edit1->text(), QStringLiteral("01"));
                               QTest::mouseClick(t.SpinButton1->ab, Qt::LeftButton);
                               QCOMPARE(t.Edit1->text(), QStringLiteral("01"));
                           }();
                           QTest::mouseClick(t.Button1, Qt::LeftButton);
                           return t.result();
                       });
                       QCOMPARE(d.SpinEdit1->text(), QStringLiteral("01"));
                   });
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Modal),
                 QStringList({"TEingabeDlg", "TTouchEingabeDlg"}));
    }

    void feldGrenzeGiltBeimZurueckschreiben() {
        EingabeUmgebung u(QStringLiteral("touchsys"), true);
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       tippe(d.SpinEdit4->editor(), [](TTouchEingabeDlg& t) {
                           t.Edit1->selectAll();
                           QTest::keyClicks(t.Edit1, QStringLiteral("1234x5"));
                           // five characters are too many for the field: the text starts again at "0"
                           [&] { QCOMPARE(t.Edit1->text(), QStringLiteral("0")); }();
                           t.Edit1->setText(QStringLiteral("1234"));
                           QTest::mouseClick(t.Button1, Qt::LeftButton);
                           return t.result();
                       });
                       QCOMPARE(d.SpinEdit4->value(), 280);
                   });
    }

    void gewichtMitFuenfZeichenWirdNull() {
        EingabeUmgebung u(QStringLiteral("touchgewicht"), true);
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       QTest::mouseClick(d.GewichtsEingabeCheckBox, Qt::LeftButton);
                       d.GewichtEdit->setText(QStringLiteral("99,9"));
                       tippe(d.GewichtEdit, [](TTouchEingabeDlg& t) {
                           [&] {
                               QCOMPARE(t.Label1->text(), QStringLiteral("Geben Sie das Gewicht ein:"));
                               QCOMPARE(t.Label1->y(), 4);
                               QVERIFY(t.GewichtLabel->isVisible());
                               QCOMPARE(t.Edit1->text(), QStringLiteral("99,9"));
                               QTest::mouseClick(t.RadioButton2, Qt::LeftButton);
                               QTest::mouseClick(t.SpinButton1->auf, Qt::LeftButton);
                               QCOMPARE(t.Edit1->text(), QStringLiteral("0"));
                           }();
                           QTest::mouseClick(t.Button1, Qt::LeftButton);
                           return t.result();
                       });
                       QCOMPARE(d.GewichtEdit->text(), QStringLiteral("0"));
                       QCOMPARE(d.gewichtWert(), 0.0);
                   });
    }

    void gewichtOhneZahlBleibtOffen() {
        EingabeUmgebung u(QStringLiteral("touchkeinezahl"), true);
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       QTest::mouseClick(d.GewichtsEingabeCheckBox, Qt::LeftButton);
                       tippe(d.GewichtEdit, [](TTouchEingabeDlg& t) {
                           t.Edit1->selectAll();
                           QTest::keyClicks(t.Edit1, QStringLiteral("7,,5"));
                           QTest::mouseClick(t.Button1, Qt::LeftButton);
                           [&] {
                               QVERIFY(t.isVisible());
                               QCOMPARE(t.ziel(), TTouchEingabeDlg::Ziel::Gewicht);
                           }();
                           t.reject(); // closed without OK: nothing goes back
                           return t.result() == QDialog::Rejected ? 0 : 99;
                       });
                       QCOMPARE(d.GewichtEdit->text(), QStringLiteral("70,5"));
                   });
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Warnung).size(), 1);
        QVERIFY(testumgebung::dialoge().texte(TestDialoge::Art::Warnung).first().contains("\"7,,5\""));
        QCOMPARE(u.touch->ziel(), TTouchEingabeDlg::Ziel::Keins);
    }

    void pulsTippenSchreibtErstDenTag() {
        EingabeUmgebung u(QStringLiteral("touchwechsel"), true);
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) {
                       tippe(d.SpinEdit1->editor(), [&](TTouchEingabeDlg& t) {
                           t.Edit1->setText(QStringLiteral("17"));
                           // the tap on the pulse field arrives while the day is still being edited
                           tippe(d.SpinEdit6->editor(), [&](TTouchEingabeDlg& t2) {
                               [&] {
                                   QCOMPARE(d.SpinEdit1->text(), QStringLiteral("17"));
                                   QCOMPARE(t2.Label1->text(),
                                            QStringLiteral("Geben Sie den Pulsschlag pro Minute ein:"));
                                   QCOMPARE(t2.Label1->y(), 36);
                                   QCOMPARE(t2.Edit1->text(), QStringLiteral("70"));
                               }();
                               t2.Edit1->setText(QStringLiteral("64"));
                               QTest::mouseClick(t2.Button1, Qt::LeftButton);
                               return t2.result();
                           });
                           return t.result();
                       });
                       QCOMPARE(d.SpinEdit1->text(), QStringLiteral("17"));
                       QCOMPARE(d.SpinEdit6->value(), 64);
                   });
    }

    void ohneTouchModusKeinFenster() {
        EingabeUmgebung u(QStringLiteral("keintouch"), false);
        u.imDialog([&] { return u.dlg->neuerMonat(); },
                   [&](TEingabeDlg& d) { QTest::mouseClick(d.SpinEdit1->editor(), Qt::LeftButton); });
        QCOMPARE(testumgebung::dialoge().texte(TestDialoge::Art::Modal), QStringList{"TEingabeDlg"});
    }
};

int laufeTouchEingabe(int argc, char** argv) {
    TouchEingabeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_toucheingabe.moc"
