// The entry windows and the rules behind them, driven through the dialogs seam.
#include "testumgebung.h"

#include "chart/tmonatsgrafik.h"
#include "entry/eingaberegeln.h"
#include "entry/eintragen.h"
#include "entry/gui/teingabedlg.h"
#include "entry/gui/tform_uhrzeitdropdownmemo.h"
#include "entry/gui/tnameeingdlg.h"
#include "entry/gui/ttoucheingabedlg.h"
#include "platform/uhr.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/zustand.h"

#include <QClipboard>
#include <QDir>
#include <QTextBlock>

using namespace eingaberegeln;
using Art = TestDialoge::Art;

namespace {

const QString kMorgens05 = QStringLiteral("Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=80");
const QString kAbends05 = QStringLiteral("Abends den 05.03.2024 Z=20:40 s=135, d=85, p=66, Gewicht=72,5");
const QString kFalscheZeit =
    QStringLiteral("Falsche Eingabe der Uhrzeit.   Beispiel für richtige Eingabe: 06:00");
const QString k15Kg = QStringLiteral("Bitte überprüfen Sie Ihre aktuelle Gewichtsangabe. Es sind 15 Kg "
                                     "Unterschied zum bisherigen Mittelwert!");

const QStringList kAlleSlots{"1M=1", "2M=1", "3M=1", "4M=1"};
const QColor kAqua(0, 255, 255);

QByteArray tabellenBytes(const QStringList& kopf, const QStringList& messzeilen) {
    QByteArray bytes = "[Personendaten]\r\nBenutzerName=Anna\r\nDatum=M\xe4rz 2024\r\n";
    for (const QString& zeile : kopf + QStringList{QString()} + messzeilen)
        bytes += zeile.toLatin1() + "\r\n";
    return bytes;
}

// A program folder with settings on 05.03.2024.
Zustand vorbereitet() {
    testumgebung::dialoge().leeren();
    Zustand z;
    z.programmOrdner = z.datenOrdner = testumgebung::eingerichtet(QStringLiteral("eingabe"));
    z.tabellenOrdnerName = QStringLiteral("Korvane-Daten-Galerie/");
    z.tabellenOrdner = z.datenOrdner + z.tabellenOrdnerName;
    z.benutzerName = QStringLiteral("Anna");
    Uhr::setzeHeute(QDate(2024, 3, 5));
    return z;
}

// The entry windows wired as the main window wires them.
struct Umgebung {
    Zustand z = vorbereitet();
    TMonatsGrafik grafik{z};
    TForm_UhrzeitDropdownMemo uhrzeit{z};
    TTouchEingabeDlg touch;
    TEingabeDlg dlg{z, grafik};

    Umgebung() {
        dlg.setzeFenster(&uhrzeit, &touch);
        QObject::connect(&dlg, &TEingabeDlg::grafikNeuZeichnen,
                         [this] { grafik.GrafikZeichnen(z.TabellenDateiName); });
    }
    ~Umgebung() { Uhr::setzeHeute(QDate()); }

    QString tabelle() const { return z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab"); }

    // The March table with these readings, as its bytes.
    QByteArray legeTabelleAn(const QStringList& messzeilen) const {
        testumgebung::schreibe(tabelle(), tabellenBytes(kAlleSlots, messzeilen));
        return testumgebung::lies(tabelle());
    }

    // Opens the dialog for a new month or for the table; the handling runs while it is shown.
    void imDialog(bool mitTabelle, const std::function<void(TEingabeDlg&)>& handlung) {
        testumgebung::dialoge().bei<TEingabeDlg>(handlung);
        mitTabelle ? dlg.tabelleBearbeiten(tabelle(), false) : dlg.neuerMonat();
    }
};

void nimmAuf(TEingabeDlg& d, int tag) {
    d.SpinEdit1->setValue(tag);
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
}

QString abweichung(const QString& was, const QString& feld, const QString& neu) {
    return "Überprüfen Sie bitte die " + was + "angabe \"" + feld +
           "\" sie stimmt nicht mit den bisherigen Eintragungen überein!\r\nWenn Sie eine Tabelle für " +
           neu +
           " beginnen möchten, dann betätigen Sie den Schalter \r\n\"OK/Grafik zeigen\" und wählen den "
           "Menüpunkt \"Tabelle|neu erstellen (neuer Monat oder Jahr)\"\r\noder den Menüpunkt \"Datei|neu "
           "erstellen (neuer Monat oder Jahr)\"";
}

// Taps a field in touch mode; the touch window is handed to the handling instead of shown.
void tippe(QWidget* feld, const std::function<void(TTouchEingabeDlg&)>& handlung) {
    testumgebung::dialoge().bei<TTouchEingabeDlg>(handlung);
    QTest::mouseClick(feld, Qt::LeftButton);
}

} // namespace

class EingabeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The arrows of the time field (knopf 0) and of the weight (knopf 1..3: 10, 1 and 0,1 kg).
    void schritt_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("knopf");
        QTest::addColumn<int>("schritte"); // below zero: down
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("23:50 auf") << "23:50" << 0 << 1 << "24:00";
        QTest::newRow("24:00 auf") << "24:00" << 0 << 1 << "00:10";
        QTest::newRow("00:00 ab") << "00:00" << 0 << -1 << "24:00";
        QTest::newRow("24:00 ab") << "24:00" << 0 << -1 << "23:50";
        QTest::newRow("07:35 auf") << "07:35" << 0 << 1 << "07:45";
        QTest::newRow("07:55 auf") << "07:55" << 0 << 1 << "08:00";
        QTest::newRow("ohne doppelpunkt auf") << "0730" << 0 << 1 << "00:10";
        QTest::newRow("ohne doppelpunkt ab") << "" << 0 << -1 << "23:50";
        QTest::newRow("70,5 + 1") << "70,5" << 2 << 1 << "71,5";
        QTest::newRow("zehn zehntel ohne rundungsrest") << "70" << 3 << 10 << "71";
        QTest::newRow("500 darf noch auf") << "500" << 1 << 1 << "510";
        QTest::newRow("über 500 nicht") << "500,5" << 3 << 1 << "500,5";
        QTest::newRow("1 darf noch ab") << "1" << 3 << -1 << "0,9";
        QTest::newRow("unter 1 nicht") << "0,9" << 3 << -1 << "0,9";
        QTest::newRow("nie unter null") << "5" << 1 << -1 << "5";
    }
    void schritt() {
        QFETCH(QString, start);
        QFETCH(int, knopf);
        QFETCH(int, schritte);
        double wert = QLocale().toDouble(start); // the weight stepped as a number, not as its text
        for (int i = 0; i < std::abs(schritte); ++i) {
            if (knopf) wert = gewichtSchritt(wert, gewichtsSchrittweite(knopf), schritte > 0);
            else start = zeitSchritt(start, schritte > 0);
        }
        QTEST(knopf ? gewichtText(wert) : start, "erwartet");
    }

    // A new month: with M2 and M3 cleared the slots run morning, evening, morning; the last ticked box
    // stays ticked; the month left's weight mean is gone. Escape at a first start says nothing.
    void neuerMonat() {
        Umgebung u;
        u.imDialog(false, [](TEingabeDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        u.grafik.MonatsMittelGewicht = 80;
        u.dlg.GewichtInfoLabel->setText(QStringLiteral("Monatlicher Mittelwert: 80,0 Kg"));
        QStringList folge;
        u.imDialog(false, [&](TEingabeDlg& d) {
            folge << d.GewichtInfoLabel->text();
            d.CheckBoxM2->click();
            d.CheckBoxM3->click();
            d.GewichtsEingabeCheckBox->click();
            d.GewichtEdit->setText(QStringLiteral("60"));
            for (int i = 0; i < 2; ++i) {
                folge << d.BitBtn3->text();
                nimmAuf(d, 5);
            }
            folge << d.BitBtn3->text();
            d.CheckBoxM1->click();
            d.CheckBoxM4->click();
        });
        QCOMPARE(folge, QStringList({"", "Morgens", "Abends", "Morgens"}));
        QCOMPARE(testumgebung::dialoge().alleTexte(), QStringList());
        QCOMPARE(u.z.slotAktiv, (std::array<bool, 4>{false, false, false, true}));
        QCOMPARE(testumgebung::lies(u.tabelle()),
                 tabellenBytes({"1M=1", "2M=0", "3M=0", "4M=1"},
                               {"Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=60",
                                "Abends den 05.03.2024 Z=20:40 s=140, d=90, p=70, Gewicht=60"}));
    }

    // The add command without the dialog: a refusal names every reason and leaves list, table and the
    // slot's time as they were; a table on disk the list did not come from keeps its readings.
    void aufnehmen_data() {
        QTest::addColumn<QString>("eingabe"); // date, time and, when entered, the weight
        // 0 a new month, 1 the table of kMorgens05, 2 a new month over it, 4 the table write-protected
        QTest::addColumn<int>("tabelle");
        QTest::addColumn<double>("mittel"); // the monthly mean weight the chart shows
        QTest::addColumn<QStringList>("meldungen");
        QTest::addColumn<QString>("gewicht"); // as stored; empty when refused
        const QStringList doppelt{
            "Ein Eintrag mit dem Datum: Morgens den 05.03.2024 existiert schon in der Liste!"};
        const QString monat = abweichung("Monats", "04", "einen neuen Monat");
        const QString jahr = abweichung("Jahres", "2025", "ein neues Jahr");
        QTest::newRow("doppelt") << "05.03.2024 07:45" << 1 << 0.0 << doppelt << "";
        QTest::newRow("monat") << "06.04.2024 07:45" << 1 << 0.0 << QStringList{monat} << "";
        QTest::newRow("jahr") << "06.03.2025 07:45" << 1 << 0.0 << QStringList{jahr} << "";
        QTest::newRow("beide") << "06.04.2025 07:45" << 1 << 0.0 << QStringList{monat, jahr} << "";
        for (const char* zeit : {"7:5", "25:99", "24:10", "12:60", "1a:00"})
            QTest::newRow(zeit) << QString("06.03.2024 ") + zeit << 1 << 0.0 << QStringList{kFalscheZeit} << "";
        QTest::newRow("24:00") << "06.03.2024 24:00" << 1 << 0.0 << QStringList{} << "0";
        const QString gibtEsNicht = "Das Datum %1 gibt es nicht. Bitte prüfen Sie Tag, Monat und Jahr.";
        for (const QString datum : {"31.11.2024", "30.02.2024", "29.02.2023"})
            QTest::newRow(qPrintable(datum)) << datum + " 07:30" << 0 << 0.0 << QStringList{gibtEsNicht.arg(datum)} << "";
        QTest::newRow("29.02.2024") << "29.02.2024 07:30" << 0 << 0.0 << QStringList{} << "0";
        QTest::newRow("über bestehender tabelle") << "06.03.2024 07:30" << 2 << 0.0 << QStringList{} << "0";
        QTest::newRow("über bestehender tabelle, doppelt") << "05.03.2024 07:30" << 2 << 0.0 << doppelt << "";
        const auto gewicht = [](const char* name, const char* gewicht, double mittel, const char* gespeichert,
                                const QString& meldung) {
            QTest::newRow(name) << QString("06.03.2024 07:30 ") + gewicht << 1 << mittel
                                << (meldung.isEmpty() ? QStringList() : QStringList{meldung}) << gespeichert;
        };
        gewicht("95 bei 80", "95", 80.0, "", k15Kg);
        gewicht("65 bei 80", "65", 80.0, "", k15Kg);
        gewicht("94,9 bei 80", "94,9", 80.0, "94,9", "");
        gewicht("95,3 bei 80,4", "95,3", 80.4, "95,3", "");
        gewicht("15,4 bei 30,4", "15,4", 30.4, "", k15Kg); // 14,999… in binary
        gewicht("ohne mittel", "95", 0.0, "95", "");
        gewicht("zwei punkte", "7.5.3", 0.0, "", "\"7.5.3\" ist kein gültiger Gleitkommawert.");
        gewicht("punkt am ende", "72.", 0.0, "", "\"72.\" ist kein gültiger Gleitkommawert.");
        gewicht("null ist kein gewicht", "0", 0.0, "0", "");
        gewicht("führende null", "071,0", 0.0, "71", "");
        QTest::newRow("eingabe aus") << "06.03.2024 07:30" << 1 << 80.0 << QStringList{} << "0";
        // The table is never cut, and the reading stays in the fields (%1: the table).
        QTest::newRow("schreibgeschützt")
            << "06.03.2024 07:30" << 4 << 0.0
            << QStringList{"Die Monatstabelle \"%1\" ist schreibgeschützt und wurde nicht geändert."} << "";
    }
    void aufnehmen() {
        QFETCH(QString, eingabe);
        QFETCH(int, tabelle);
        QFETCH(double, mittel);
        QFETCH(QStringList, meldungen);
        QFETCH(QString, gewicht);
        Umgebung u;
        const QByteArray vorher = tabelle ? u.legeTabelleAn({kMorgens05}) : QByteArray();
        if (tabelle != 0 && tabelle != 2)
            QVERIFY(monatstabelle::liesZumBearbeiten(u.z, u.tabelle(), monatstabelle::KopfLesen::Ja));
        if (tabelle == 4) QFile::setPermissions(u.tabelle(), QFileDevice::ReadOwner);
        meldungen.replaceInStrings(QStringLiteral("%1"), u.tabelle());
        const QStringList teile = eingabe.split(u' ');
        const QStringList datum = teile.at(0).split(u'.');
        eintragen::Eingabe e;
        e.tag = datum.at(0).toInt(), e.monat = datum.at(1).toInt(), e.jahr = datum.at(2).toInt();
        e.zeit = teile.at(1);
        e.sys = 140, e.dia = 90, e.puls = 70;
        if (teile.size() > 2) e.gewicht = teile.at(2);
        const QStringList liste = u.z.ListBox1;
        const eintragen::Ergebnis ergebnis = eintragen::nimmAuf(u.z, e, mittel);
        QCOMPARE(testumgebung::dialoge().alleTexte(), meldungen);
        QCOMPARE(ergebnis == eintragen::Ergebnis::Aufgenommen, !gewicht.isEmpty());
        // A time refused is not kept as the slot's time either.
        if (meldungen.value(0) == kFalscheZeit) QVERIFY(Lies_String_aus_Registry("UhrzeitMorgens") != e.zeit);
        if (gewicht.isEmpty()) {
            QCOMPARE(testumgebung::lies(u.tabelle()), vorher);
            if (tabelle != 2) QCOMPARE(u.z.ListBox1, liste);
        } else {
            const QString neu = "Morgens den " + teile.at(0) + " Z=" + e.zeit + " s=140, d=90, p=70, Gewicht=" + gewicht;
            if (tabelle)
                QCOMPARE(testumgebung::lies(u.tabelle()), tabellenBytes(kAlleSlots, {kMorgens05, neu}));
            else // February's own table
                QVERIFY(testumgebung::lies(QString(u.tabelle()).replace("_03_", "_02_")).endsWith(neu.toLatin1() + "\r\n"));
            QCOMPARE(u.z.ListBox1.last(), monatstabelle::listeneintrag(neu)); // read back from the table
            QCOMPARE(Lies_String_aus_Registry("UhrzeitMorgens"), e.zeit);
        }
        QVERIFY(!QDir(u.z.tabellenOrdner + "2025").exists());
    }

    // A table from elsewhere: month from its readings; Enter adds, the dialog stays; over 310 kg set back.
    void aufnehmenImDialog() {
        Umgebung u;
        const QString fremd = testumgebung::wurzel() + QStringLiteral("/woanders/x.tab");
        testumgebung::schreibe(fremd, tabellenBytes(kAlleSlots, {kMorgens05}));
        u.z.letzteMesszeile = QStringLiteral("Morgens den 02.04.2023 Z=07:30 s=1, d=1, p=1, Gewicht=0");
        QStringList felder;
        testumgebung::dialoge().bei<TEingabeDlg>([&](TEingabeDlg& d) {
            felder << d.SpinEdit2->text() << d.SpinEdit3->text(); // filled on showing
            d.SpinEdit1->setValue(6);
            QTest::keyClick(d.SpinEdit6, Qt::Key_Return);
            felder << QString::number(d.ListBox1->count()) << d.BitBtn3->text();
            d.GewichtsEingabeCheckBox->click();
            d.GewichtEdit->setText(QStringLiteral("400"));
            felder << d.GewichtEdit->text() << (d.isVisible() ? "offen" : "zu");
        });
        u.dlg.tabelleBearbeiten(fremd, false);
        QCOMPARE(felder, QStringList({"03", "2024", "2", "Messung 2", "310", "offen"}));
        QCOMPARE(testumgebung::dialoge().alleTexte(),
                 QStringList{QStringLiteral("Die Eingabe von mehr als 310 Kilogramm ist nicht möglich!")});
        QCOMPARE(u.z.ListBox1.size(), 2);
    }

    void tippen_data() {
        QTest::addColumn<int>("feld");            // 0 time, 1..6 day..pulse, 7 weight
        QTest::addColumn<QKeySequence>("tasten"); // pressed first; none: the field's text is selected
        QTest::addColumn<QString>("text");        // typed then; "+" at the end: one kilo up by the arrow
        QTest::addColumn<QStringList>("texte");   // right after typing, once editing is done
        const QKeySequence keine;
        QTest::newRow("tag 7") << 1 << keine << "7" << QStringList{"7", "07"};
        QTest::newRow("monat leer") << 2 << keine << "\b" << QStringList{"", "01"};
        QTest::newRow("jahr 202") << 3 << keine << "202" << QStringList{"202", "1900"};
        QTest::newRow("jahr ende und zurueck")
            << 3 << QKeySequence("Home, End") << "\b5" << QStringList{"2025", "2025"};
        QTest::newRow("jahr alles markieren")
            << 3 << QKeySequence("Home, Ctrl+A") << "2023" << QStringList{"2023", "2023"};
        QTest::newRow("systolisch leer") << 4 << keine << "\b" << QStringList{"", "1"};
        QTest::newRow("buchstabe") << 6 << keine << "x" << QStringList{"70", "70"};
        QTest::newRow("zeit") << 0 << keine << "07:3x.5" << QStringList{"07:35", "07:35"};
        QTest::newRow("gewicht mit komma") << 7 << keine << "70,:.5a" << QStringList{"70,5", "70,5"};
        QTest::newRow("gewicht punkt wird komma") << 7 << keine << "72.5" << QStringList{"72,5", "72,5"};
        QTest::newRow("gewichtsschritt vom wert, nicht vom text")
            << 7 << keine << "80+" << QStringList{"71,5", "71,5"};
    }
    void tippen() {
        QFETCH(int, feld);
        QFETCH(QKeySequence, tasten);
        QFETCH(QString, text);
        Umgebung u;
        QStringList texte;
        u.imDialog(false, [&](TEingabeDlg& d) {
            d.GewichtsEingabeCheckBox->click();
            QWidget* felder[] = {d.Edit1,     d.SpinEdit1, d.SpinEdit2, d.SpinEdit3,
                                 d.SpinEdit4, d.SpinEdit5, d.SpinEdit6, d.GewichtEdit};
            QWidget* f = felder[feld];
            if (tasten.isEmpty()) QMetaObject::invokeMethod(f, "selectAll");
            QTest::keySequence(f, tasten);
            const bool kiloAuf = text.endsWith(u'+');
            QTest::keyClicks(f, kiloAuf ? text.chopped(1) : text);
            if (kiloAuf) {
                d.RadioButton2->click();
                QTest::mouseClick(d.SpinButton2->auf, Qt::LeftButton);
            }
            QCoreApplication::processEvents();
            texte << f->property("text").toString();
            if (auto* zahl = qobject_cast<QAbstractSpinBox*>(f)) Q_EMIT zahl->editingFinished();
            texte << f->property("text").toString();
            QVERIFY(d.palette().color(QPalette::Window) != kAqua); // the mouse's colours
        });
        QTEST(texte, "texte");
    }

    void bearbeiten_data() {
        QTest::addColumn<int>("ende"); // 0 OK, 1 Escape, 2 another entry edited, then OK, 3 corrected
        QTest::newRow("OK") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("zweiter eintrag") << 2;
        QTest::newRow("korrigiert") << 3;
    }
    // "Eintrag bearbeiten" takes the entry into the fields; the table keeps it until the corrected
    // version is added, so OK, Escape or closing loses nothing, and either redraws the month in use.
    void bearbeiten() {
        QFETCH(int, ende);
        Umgebung u;
        const QByteArray vorher = u.legeTabelleAn({kMorgens05, kAbends05});
        const QByteArray korrigiert =
            tabellenBytes(kAlleSlots, {kMorgens05, QString(kAbends05).replace("s=135", "s=150")});
        testumgebung::dialoge().fragen = {false, true, true, true};
        QVERIFY(u.grafik.GrafikZeichnen(u.tabelle()));
        const QImage maerz = u.grafik.Image;
        u.grafik.GrafikVorlageLaden();
        u.imDialog(true, [&](TEingabeDlg& d) {
            d.ListBox1->clearSelection();
            QTest::mouseClick(d.BitBtn2, Qt::LeftButton); // nothing selected
            d.ListBox1->setCurrentRow(1);
            QTest::mouseClick(d.BitBtn2, Qt::LeftButton); // "Nein"
            QCOMPARE(d.ListBox1->count(), 2);
            QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
            QCOMPARE(QStringList({d.BitBtn3->text(), d.SpinEdit1->text(), d.SpinEdit2->text(),
                                  d.SpinEdit3->text(), d.Edit1->text(), d.SpinEdit4->text(),
                                  d.SpinEdit5->text(), d.SpinEdit6->text(), d.GewichtEdit->text()}),
                     QStringList({"Abends", "05", "03", "2024", "20:40", "135", "85", "66", "72,5"}));
            QCOMPARE(d.gewichtWert(), 72.5);
            QVERIFY(d.GewichtsEingabeCheckBox->isChecked()); // the weight stays with the entry
            QCOMPARE(d.ListBox1->count(), 1);
            QCOMPARE(testumgebung::lies(u.tabelle()), vorher); // still on disk
            if (ende == 3) {
                d.SpinEdit4->setValue(150);
                QTest::mouseClick(d.BitBtn1, Qt::LeftButton); // the corrected reading replaces it
                QCOMPARE(testumgebung::lies(u.tabelle()), korrigiert);
            }
            if (ende >= 2) {
                d.ListBox1->setCurrentRow(0);
                QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
                QCOMPARE(d.ListBox1->count(), 1); // with 2 the first went back
            }
            if (ende % 2)
                QTest::keyClick(&d, Qt::Key_Escape);
            else
                QTest::mouseClick(d.OKBtn, Qt::LeftButton);
        });
        QCOMPARE(testumgebung::dialoge().texte(Art::Information),
                 QStringList{"Sie müssen zuerst einen Eintrag in der Liste durch Anklicken auswählen!"});
        QCOMPARE(testumgebung::dialoge().texte(Art::Frage).size(), ende >= 2 ? 3 : 2);
        QCOMPARE(testumgebung::lies(u.tabelle()), ende == 3 ? korrigiert : vorher);
        QCOMPARE(u.z.ListBox1.size(), 2);
        if (ende != 3) QCOMPARE(u.grafik.Image, maerz);
        QCOMPARE(u.grafik.Label1, QStringLiteral("Korvanemesswerte  März 2024  Anna"));
    }

    // The time picker: its size holds against a resize and a long title. A paste keeps only digits
    // and colons, one message per character dropped; a chosen time goes to the field, the list is
    // saved and the picker closes; a line that is no time stays out of the field and leaves the list.
    void uhrzeit_data() {
        QTest::addColumn<QByteArray>("datei");   // the saved list
        QTest::addColumn<QString>("eingefuegt"); // pasted into the emptied list; none: its second line chosen
        QTest::addColumn<QStringList>("danach"); // time field, list, window
        QTest::addColumn<QByteArray>("gespeichert");
        QTest::addColumn<QStringList>("meldungen");
        const QByteArray liste("06:00\r\n1:234\r\n08:00\r\n");
        const QString nurZahlen = QStringLiteral("Es sind nur Zahlen und der Doppelpunkt erlaubt.");
        QTest::newRow("07.30 eingefügt") << liste << "07.30" << QStringList{"07:00", "0730", "offen"} << liste
                                         << QStringList{nurZahlen};
        QTest::newRow("zwei fremde eingefügt") << liste << "a1 " << QStringList{"07:00", "1", "offen"} << liste
                                               << QStringList{nurZahlen, nurZahlen};
        QTest::newRow("12:15 mit blanks") << QByteArray("06:00\r\n  12:15 \r\n") << ""
                                          << QStringList{"12:15", "06:00\n12:15", "zu"}
                                          << QByteArray("06:00\r\n12:15\r\n") << QStringList{};
        QTest::newRow("7:30 nicht wählbar") << QByteArray("06:00\r\n7:30\r\n") << ""
                                            << QStringList{"07:00", "06:00\n7:30", "offen"}
                                            << QByteArray("06:00\r\n7:30\r\n") << QStringList{};
        QTest::newRow("1:234 gelöscht") << liste << "" << QStringList{"07:00", "06:00\n08:00", "offen"} << liste
                                        << QStringList{kFalscheZeit};
    }
    void uhrzeit() {
        QFETCH(QByteArray, datei);
        QFETCH(QString, eingefuegt);
        Umgebung u;
        const QString pfad = u.z.programmOrdner + "Uhrzeiten.txt";
        testumgebung::schreibe(pfad, datei);
        u.uhrzeit.ladeListe();
        QString fenster;
        testumgebung::dialoge().bei<TForm_UhrzeitDropdownMemo>([&](TForm_UhrzeitDropdownMemo& f) {
            QCOMPARE(f.windowHandle()->flags(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
            const QSize groesse = f.size();
            f.resize(groesse + QSize(100, 80));
            f.setWindowTitle(QStringLiteral("Ausgewählte Uhrzeit: eine recht lange Zeile zum Ausprobieren"));
            QCOMPARE(f.size(), groesse);
            if (!eingefuegt.isEmpty()) {
                f.Memo1->clear();
                QGuiApplication::clipboard()->setText(eingefuegt);
                f.Memo1->paste();
            } else {
                const QTextCursor zeile(f.Memo1->document()->findBlockByNumber(1));
                QTest::mouseClick(f.Memo1->viewport(), Qt::LeftButton, {}, f.Memo1->cursorRect(zeile).center());
                QTest::mouseClick(f.OKbtn, Qt::LeftButton);
            }
            fenster = f.isVisible() ? "offen" : "zu";
        });
        QTest::mouseClick(u.dlg.SpeedButton1, Qt::LeftButton);
        QTEST(QStringList({u.dlg.Edit1->text(), u.uhrzeit.Memo1->toPlainText(), fenster}), "danach");
        QTEST(testumgebung::lies(pfad), "gespeichert");
        QTEST(testumgebung::dialoge().texte(Art::Information), "meldungen");
    }

    void touch_data() {
        QTest::addColumn<int>("feld"); // 1..6 day..pulse, 7 weight
        QTest::addColumn<QString>("start");
        // taps (v down, ^ up, 2 second radio button, =typed text, P pulse field tapped and its text typed)
        QTest::addColumn<QStringList>("ablauf");
        QTest::addColumn<QStringList>("texte"); // touch field, entry field, pulse, day at the pulse's tap
        QTest::newRow("tag 02 ab hält bei 01")
            << 1 << "02" << QStringList{"v", "v"} << QStringList{"01", "01", "70"};
        QTest::newRow("systolisch 1234")
            << 4 << "140" << QStringList{"=1234"} << QStringList{"1234", "280", "70"};
        QTest::newRow("gewicht 99,9 + 1")
            << 7 << "99,9" << QStringList{"2", "^"} << QStringList{"0", "0", "70"};
        // The tap on the pulse field arrives while the day is still being edited: the day goes first.
        QTest::newRow("puls beim tag")
            << 1 << "05" << QStringList{"=17", "P64"} << QStringList{"64", "17", "64", "17"};
    }
    void touch() {
        QFETCH(int, feld);
        QFETCH(QString, start);
        QFETCH(QStringList, ablauf);
        Umgebung u;
        u.z.touchModus = true;
        u.imDialog(false, [&](TEingabeDlg& d) {
            d.GewichtsEingabeCheckBox->click();
            ZahlFeld* zahlen[] = {d.SpinEdit1, d.SpinEdit2, d.SpinEdit3,
                                  d.SpinEdit4, d.SpinEdit5, d.SpinEdit6};
            QLineEdit* ziel = feld == 7 ? d.GewichtEdit : zahlen[feld - 1]->editor();
            feld == 7 ? ziel->setText(start) : zahlen[feld - 1]->setValue(start.toInt());
            QStringList angezeigt;
            tippe(ziel, [&](TTouchEingabeDlg& t) {
                for (const QString& schritt : ablauf) {
                    if (schritt.startsWith('P'))
                        tippe(d.SpinEdit6->editor(), [&](TTouchEingabeDlg& puls) {
                            angezeigt << d.SpinEdit1->text();
                            puls.Edit1->setText(schritt.mid(1));
                            QTest::mouseClick(puls.Button1, Qt::LeftButton);
                        });
                    if (schritt.startsWith('=')) t.Edit1->setText(schritt.mid(1));
                    if (schritt == "2") t.RadioButton2->click();
                    if (schritt == "v") QTest::mouseClick(t.SpinButton1->ab, Qt::LeftButton);
                    if (schritt == "^") QTest::mouseClick(t.SpinButton1->auf, Qt::LeftButton);
                }
                angezeigt.prepend(t.Edit1->text());
                if (t.isVisible()) QTest::mouseClick(t.Button1, Qt::LeftButton);
            });
            QTEST(QStringList({angezeigt.value(0), ziel->text(), d.SpinEdit6->text()}) + angezeigt.mid(1),
                  "texte");
            // Only the background and the list turn aqua; every edit field keeps its own colour.
            QCOMPARE(d.palette().color(QPalette::Window), kAqua);
            QCOMPARE(d.ListBox1->palette().color(QPalette::Base), kAqua);
            for (const QLineEdit* f : d.findChildren<QLineEdit*>()) {
                const QPalette::ColorGroup gruppe = f->palette().currentColorGroup(); // a disabled one is grey
                QCOMPARE(f->palette().color(gruppe, QPalette::Base),
                         QApplication::palette().color(gruppe, QPalette::Base));
            }
        });
    }

    void benutzerName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("escape"); // else OK
        QTest::addColumn<QStringList>("signale");
        QTest::addColumn<QString>("hinweis"); // an information box, when one comes
        const QStringList eigene{"name:Anna=", "laden:/daten/2024/Anna_03_2024.tab", "neu"};
        const QString ohneBlanks =
            "Der Name wird ohne die Leerzeichen am Anfang und am Ende übernommen: »%1«.";
        QTest::newRow("eigene tabelle") << "Anna" << false << eigene << "";
        // The file system tells "anna" from "Anna", and "Ann" is no prefix of Anna's tables.
        QTest::newRow("gleicher name anders geschrieben")
            << "anna" << false << QStringList{"name:anna+", "neu"} << "";
        QTest::newRow("anfang des namens") << "Ann" << false << QStringList{"name:Ann+", "neu"} << "";
        QTest::newRow("blanks aussen")
            << "  Bert " << false << QStringList{"name:Bert+", "neu"} << ohneBlanks.arg("Bert");
        QTest::newRow("nur blanks um den eigenen") << "Anna " << false << eigene << ohneBlanks.arg("Anna");
        QTest::newRow("schrägstrich") << "a/b" << false << QStringList{} << "";
        QTest::newRow("escape") << "Bert" << true << QStringList{"ende"} << "";
    }
    void benutzerName() {
        QFETCH(QString, name);
        QFETCH(bool, escape);
        QFETCH(QStringList, signale);
        Umgebung u;
        Schreib_String_in_Registry("BenutzerName", "Anna");
        Schreib_String_in_Registry("TabellenDateiName", "/daten/2024/Anna_03_2024.tab");
        const QByteArray vorher = testumgebung::lies(testumgebung::einstellungsDatei());
        TNameEingDlg dlg(u.z);
        QStringList folge;
        connect(&dlg, &TNameEingDlg::nameGeaendert, this,
                [&](const QString& n, bool anderer) { folge << "name:" + n + (anderer ? "+" : "="); });
        connect(&dlg, &TNameEingDlg::tabelleLaden, this, [&](const QString& p) { folge << "laden:" + p; });
        connect(&dlg, &TNameEingDlg::neuerMonatBeginnen, this, [&] { folge << "neu"; });
        connect(&dlg, &TNameEingDlg::programmBeenden, this, [&] { folge << "ende"; });
        dlg.show();
        dlg.Edit1->setText(name);
        if (escape)
            QTest::keyClick(dlg.Edit1, Qt::Key_Escape);
        else
            QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        QCOMPARE(folge, signale);
        QCOMPARE(dlg.isVisible(), signale.isEmpty());
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung).size(), signale.isEmpty() ? 1 : 0);
        QTEST(testumgebung::dialoge().texte(Art::Information).join(u'|'), "hinweis");
        const bool gespeichert = !signale.isEmpty() && signale.first().startsWith("name:");
        QCOMPARE(Lies_String_aus_Registry("BenutzerName"), gespeichert ? name.trimmed() : "Anna");
        if (!gespeichert) QCOMPARE(testumgebung::lies(testumgebung::einstellungsDatei()), vorher);
    }
};

KORVANE_TEST_MAIN(EingabeTest)
#include "test_eingabe.moc"
