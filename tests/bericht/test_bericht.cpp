// The report over a period and the readings as CSV: figures computed by hand, bytes, refusals.
#include "testumgebung.h"

#include "app/einzelstart.h"
#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "entry/csvimport.h"
#include "export/bericht/auswertung.h"
#include "export/bericht/berichtdatei.h"
#include "export/bericht/gui/tauswertungdlg.h"
#include "platform/uhr.h"
#include "storage/csv.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"
#include "storage/zeitraum.h"

#include "platform/shell.h"

#include <QDir>

using namespace Qt::StringLiterals;
using testumgebung::schreibe, testumgebung::wurzel;

namespace {

// A reading as "TT.MM.JJJJ slot Z s d p gewicht", the way the tests write them.
zeitraum::Lesung lesung(const QString& text) {
    const QStringList t = text.split(u' ');
    zeitraum::Lesung l;
    l.datum = zeitraum::liesDatum(t.at(0));
    l.slot = t.at(1).toInt();
    l.zeit = t.at(2);
    l.sysText = t.at(3), l.diaText = t.at(4), l.pulsText = t.at(5);
    l.sys = l.sysText.toInt(), l.dia = l.diaText.toInt(), l.puls = l.pulsText.toInt();
    l.gewichtText = t.value(6);
    const auto werte =
        monatstabelle::werteAus(u"Morgens den 01.01.2024 Z= s=1, d=1, p=1, Gewicht="_s + l.gewichtText);
    l.gewichtMillionstel = werte ? werte->gewichtMillionstel : -1;
    return l;
}

QList<zeitraum::Lesung> lesungen(const QStringList& texte) {
    QList<zeitraum::Lesung> liste;
    for (const QString& t : texte)
        liste << lesung(t);
    return liste;
}

// A month table of the user with these reading lines, in the data folder's year folder.
QString monatsTabelle(const Zustand& z, const QString& name, const QString& monat, const QString& jahr,
                      const QStringList& messzeilen) {
    const QString pfad = z.tabellenOrdner + jahr + u'/' + name + u'_' + monat + u'_' + jahr + u".tab"_s;
    QByteArray text = "[Personendaten]\r\nBenutzerName=" + name.toLatin1() +
                      "\r\nDatum=x\r\n1M=1\r\n2M=1\r\n3M=1\r\n4M=1\r\n\r\n";
    for (const QString& m : messzeilen)
        text += m.toLatin1() + "\r\n";
    schreibe(pfad, text);
    return pfad;
}

Zustand datenOrdner(const QString& name) {
    Zustand z;
    z.benutzerName = u"Anna"_s;
    z.datenOrdner = wurzel() + u'/' + name + u'/';
    QDir(z.datenOrdner).removeRecursively();
    z.tabellenOrdner = z.datenOrdner + u"Korvane-Daten-Galerie/"_s;
    QDir().mkpath(z.tabellenOrdner);
    return z;
}

const QByteArray kCsvKopf = "Datum;Uhrzeit;Messung;Systolisch;Diastolisch;Puls;Gewicht\r\n";

// A table's reading lines, or why it cannot be read.
QString messzeilen(const QString& pfad) {
    QString fehler;
    const auto a = monatstabelle::liesZurAnzeige(pfad, &fehler);
    return a ? a->messzeilen.join(u'\n') : fehler;
}

// The seven-day series of `zahlen` as Anna's March table, in a program folder whose user she is.
const QStringList kMaerz{u"Morgens den 04.03.2024 Z=07:00 s=150, d=95, p=80, Gewicht=80,0"_s,
                         u"Morgens den 05.03.2024 Z=07:30 s=130, d=80, p=70, Gewicht=72,5"_s,
                         u"Abends den 05.03.2024 Z=20:40 s=140, d=90, p=60, Gewicht=0"_s,
                         u"Morgens den 06.03.2024 Z=07:30 s=121, d=79, p=64, Gewicht=72,4"_s,
                         u"Abends den 06.03.2024 Z=20:40 s=135, d=84, p=66, Gewicht=0"_s,
                         u"Abends den 10.03.2024 Z=21:00 s=118, d=70, p=58, Gewicht=71,9"_s};
Zustand annasProgrammOrdner() {
    testumgebung::dialoge().leeren();
    testumgebung::einstellungenLoeschen();
    Zustand z;
    z.programmOrdner = z.datenOrdner = testumgebung::neuerProgrammOrdner(u"bericht"_s);
    z.tabellenOrdner = z.datenOrdner + u"Korvane-Daten-Galerie/"_s;
    z.benutzerName = u"Anna"_s;
    Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(z.programmOrdner);
    Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
    Schreib_String_in_Registry(u"TabellenDateiName"_s,
                               monatsTabelle(z, u"Anna"_s, u"03"_s, u"2024"_s, kMaerz));
    return z;
}

testumgebung::Ergebnis korvane(const QStringList& argumente) {
    return testumgebung::werkzeug(QStringLiteral(KORVANE_BIN "/korvane"), argumente);
}

} // namespace

class TestBericht : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Readings "TT.MM.JJJJ slot Z s d p [weight]" joined by ";", lines due in the report by "|".
    void zahlen_data() {
        QTest::addColumn<QString>("messungen");
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("bis");
        QTest::addColumn<bool>("ohneErstenTag");
        QTest::addColumn<QString>("erwartet");
        // A seven-day series: the first day (150/95) counts in nothing, not even the weight.
        QTest::newRow("sieben Tage ohne ersten")
            << u"04.03.2024 1 07:00 150 95 80 80,0;05.03.2024 1 07:30 130 80 70 72,5;05.03.2024 4 20:40 140 "
               u"90 60;"
               u"06.03.2024 1 07:30 121 79 64 72,4;06.03.2024 4 20:40 135 84 66;10.03.2024 4 21:00 118 70 58 "
               u"71,9;"
               u"11.03.2024 1 07:00 0 0 71"_s
            << u"04.03.2024"_s << u"10.03.2024"_s << true
            << u"Ausgewertet: 05.03.2024 bis 10.03.2024 (erster Tag ausgelassen)|Tage mit Messungen: "
               u"3|Messungen: 5|"
               u"Mittelwert systolisch: 128,8 mmHg|Mittelwert diastolisch: 80,6 mmHg|Mittelwert Puls: 63,6 "
               u"/min|"
               u"Mittelwert Pulsdruck: 48,2 mmHg|Morgens Messungen: 2|Morgens systolisch: 125,5 mmHg|"
               u"Morgens Pulsdruck: 46,0 mmHg|Abends Messungen: 3|Abends diastolisch: 81,3 mmHg|"
               u"Niedrigster systolischer Wert: 118 mmHg am 10.03.2024 um 21:00|"
               u"Höchster systolischer Wert: 140 mmHg am 05.03.2024 um 20:40|"
               u"Höchster diastolischer Wert: 90 mmHg am 05.03.2024 um 20:40|Anteil ab 135/85 mmHg: 40,0 % "
               u"(2 von 5)|"
               u"Grad der Mittelwerte: Normal/Optimal|Gewicht erster Wert: 72,5 kg am 05.03.2024|"
               u"Gewicht letzter Wert: 71,9 kg am 10.03.2024|Gewicht Mittelwert: 72,3 kg"_s; // 216,8 / 3
        // Over the year's end, evenings missing, no weights.
        QTest::newRow("Jahreswechsel")
            << u"30.12.2023 1 07:00 141 91 70;31.12.2023 1 07:00 144 90 75;01.01.2024 2 13:00 142 88 72;"
               u"02.01.2024 1 07:00 139 86 71"_s
            << u"31.12.2023"_s << u"01.01.2024"_s << false
            << u"Auswertung Anna, 31.12.2023 bis 01.01.2024|Tage mit Messungen: 2|Mittelwert systolisch: "
               u"143,0 mmHg|"
               u"Mittelwert Puls: 73,5 /min|Mittelwert Pulsdruck: 54,0 mmHg|Morgens Messungen: 1|Abends "
               u"Messungen: 0|"
               u"Abends systolisch: keine|Abends Pulsdruck: keine|Gewicht Mittelwert: keine|Gewicht erster "
               u"Wert: keine|"
               u"Grad der Mittelwerte: Grad 1 Hypertonie (leichter Bluthochdruck)"_s;
        // 129,5 stays; the grade rounds the two-decimal mean half up (129,5 -> 130); 70,25 kg halves to even.
        QTest::newRow("Halbe") << u"01.05.2024 1 07:00 129 84 70 70,2;01.05.2024 4 20:00 130 85 71 70,3"_s
                               << u"01.05.2024"_s << u"01.05.2024"_s << false
                               << u"Mittelwert systolisch: 129,5 mmHg|Mittelwert diastolisch: 84,5 mmHg|"
                                  u"Mittelwert Puls: 70,5 /min|Grad der Mittelwerte: Hochnormal|"
                                  u"Anteil ab 135/85 mmHg: 50,0 % (1 von 2)|Gewicht Mittelwert: 70,2 kg"_s;
        // A diastolic value above its systolic one: the mean pulse pressure is negative, halves alike.
        QTest::newRow("negativer Pulsdruck")
            << u"01.05.2024 1 07:00 80 85 70;01.05.2024 4 20:00 80 80 70"_s << u"01.05.2024"_s
            << u"01.05.2024"_s << false << u"Mittelwert Pulsdruck: -2,5 mmHg"_s;
    }
    void zahlen() {
        QFETCH(QString, messungen);
        QFETCH(QString, von);
        QFETCH(QString, bis);
        QFETCH(bool, ohneErstenTag);
        QFETCH(QString, erwartet);
        const bericht::Auswertung a =
            bericht::werteAus(u"Anna"_s, lesungen(messungen.split(u';')), zeitraum::liesDatum(von),
                              zeitraum::liesDatum(bis), ohneErstenTag);
        const QStringList z = bericht::zeilen(a);
        QCOMPARE(z.size(), 27);
        for (const QString& zeile : erwartet.split(u'|'))
            QVERIFY2(z.contains(zeile), qPrintable(zeile + u"\n---\n"_s + z.join(u'\n')));
        QVERIFY(bericht::keineMessungen(a).isEmpty());
    }

    // The tables a period touches, read over a year's end.
    void tabellenImZeitraum() {
        const Zustand z = datenOrdner(u"zeitraum"_s);
        const QString dez = monatsTabelle(z, u"Anna"_s, u"12"_s, u"2023"_s,
                                          {u"Abends den 31.12.2023 Z=20:00 s=140, d=90, p=70, Gewicht=70.5"_s,
                                           u"Morgens den 31.12.2023 Z=07:00 s=130, d=85, p=65, Gewicht=0"_s});
        const QString jan = monatsTabelle(z, u"Anna"_s, u"01"_s, u"2024"_s,
                                          {u"Morgens den 01.01.2024 Z=07:10 s=120, d=80, p=60"_s});
        monatsTabelle(z, u"Anna"_s, u"03"_s, u"2024"_s,
                      {u"Morgens den 01.03.2024 Z=07:10 s=120, d=80, p=60"_s});
        monatsTabelle(z, u"Bert"_s, u"01"_s, u"2024"_s, {});
        QCOMPARE(zeitraum::tabellenImZeitraum(z, u"Anna"_s, QDate(2023, 12, 15), QDate(2024, 2, 10)),
                 (QStringList{dez, jan}));

        QString fehler;
        const auto t = zeitraum::lies({dez, jan}, &fehler);
        QVERIFY2(t, qPrintable(fehler));
        QCOMPARE(t->benutzer, u"Anna"_s);
        QCOMPARE(t->lesungen.size(), 3);
        // Sorted by date and slot, the weight with the decimal comma.
        QCOMPARE(t->lesungen.at(0).zeit, u"07:00"_s);
        QCOMPARE(t->lesungen.at(1).gewichtText, u"70,5"_s);
        QCOMPARE(t->lesungen.at(2).datum, QDate(2024, 1, 1));
        QCOMPARE(t->lesungen.at(2).gewichtText, QString());

        // Two readings of one day and slot: no table Korvane wrote.
        const QString doppelt = monatsTabelle(z, u"Anna"_s, u"04"_s, u"2024"_s,
                                              {u"Abends den 02.04.2024 Z=20:00 s=1, d=1, p=1"_s,
                                               u"Abends den 02.04.2024 Z=21:00 s=2, d=2, p=2"_s});
        QVERIFY(!zeitraum::lies({doppelt}, &fehler));
        QCOMPARE(
            fehler,
            u"Anna_04_2024.tab, Zeile 10: Für Abends den 02.04.2024 steht schon ein Eintrag in Zeile 9."_s);
    }

    void csvSchreiben() {
        QList<zeitraum::Lesung> l =
            lesungen({u"05.03.2024 1 07:30 138 88 71 72,5"_s, u"05.03.2024 4 20:00 0 0 0"_s});
        l[1].zeit = u"20;00 \"spät\""_s; // a hand-written table may hold anything there
        QCOMPARE(csv::schreibe(l), "\xEF\xBB\xBF"
                                   "Datum;Uhrzeit;Messung;Systolisch;Diastolisch;Puls;Gewicht\r\n"
                                   "2024-03-05;07:30;Morgens;138;88;71;72,5\r\n"
                                   "2024-03-05;\"20;00 \"\"sp\xC3\xA4t\"\"\";Abends;0;0;0;\r\n"_ba);
    }

    void csvLesen_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("fehler");
        QTest::addColumn<QStringList>("ersteZeile"); // fields of the first data line
        const QByteArray kopf = kCsvKopf;
        QTest::newRow("mit Marke") << "\xEF\xBB\xBF" + kopf + "2024-03-05;07:30;Morgens;138;88;71;72,5\r\n"
                                   << QString()
                                   << QStringList{u"2024-03-05"_s, u"07:30"_s, u"Morgens"_s, u"138"_s,
                                                  u"88"_s,         u"71"_s,    u"72,5"_s};
        QTest::newRow("Komma, LF, Leerzeile")
            << "datum,uhrzeit,messung,systolisch,diastolisch,puls,gewicht\n\n"
               "2024-03-05,07:30,Abends,138,88,71,\"72,5\"\n"_ba
            << QString()
            << QStringList{u"2024-03-05"_s, u"07:30"_s, u"Abends"_s, u"138"_s, u"88"_s, u"71"_s, u"72,5"_s};
        QTest::newRow("nur CR")
            << "Datum;Uhrzeit;Messung;Systolisch;Diastolisch;Puls;Gewicht\r2024-03-05;07:30;Morgens;138;88;71;\r"_ba
            << QString()
            << QStringList{u"2024-03-05"_s, u"07:30"_s, u"Morgens"_s, u"138"_s, u"88"_s, u"71"_s, QString()};
        QTest::newRow("ohne letztes Feld")
            << kopf + "2024-03-05;07:30;Morgens;138;88;71\r\n"
            << QString()
            << QStringList{u"2024-03-05"_s, u"07:30"_s, u"Morgens"_s, u"138"_s, u"88"_s, u"71"_s, QString()};
        QTest::newRow("leer")
            << QByteArray()
            << u"a.csv, Zeile 1: Die erste Zeile muss \"Datum;Uhrzeit;Messung;Systolisch;Diastolisch;Puls;Gewicht\" lauten."_s
            << QStringList();
        QTest::newRow("offenes Anführungszeichen")
            << kopf + "2024-03-05;\"07:30;Morgens;138;88;71;\r\n"
            << u"a.csv, Zeile 2: Ein Anführungszeichen wird nicht geschlossen."_s << QStringList();
        QTest::newRow("zu viele Felder")
            << kopf + "\r\n2024-03-05;07:30;Morgens;138;88;71;7;8\r\n"
            << u"a.csv, Zeile 3: Die Zeile hat 8 Felder statt 7."_s << QStringList();
        QTest::newRow("kein UTF-8") << kopf + "2024-03-05;07:30;Morgens;138;88;71;\xE4\r\n"
                                    << u"a.csv, Zeile 2: Der Text ist kein UTF-8."_s << QStringList();
    }
    void csvLesen() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, fehler);
        QString meldung;
        const auto g = csv::lies(inhalt, u"a.csv"_s, &meldung);
        QCOMPARE(meldung, fehler);
        QCOMPARE(bool(g), fehler.isEmpty());
        if (g) QTEST(g->zeilen.value(0).felder, "ersteZeile");
    }

    void importieren_data() {
        QTest::addColumn<QByteArray>("zeilen"); // after the header
        QTest::addColumn<bool>("probelauf");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("maerz"); // Anna's March table afterwards, its reading lines
        const QString vorher = u"Morgens den 05.03.2024 Z=07:30 s=138, d=88, p=71, Gewicht=72,5"_s;
        QTest::newRow("neu und vorhanden")
            << "2024-03-05;07:30;Morgens;138;88;71;72,5\r\n"
               "2024-03-05;20:00;Abends;130;80;60;\r\n"
               "2024-04-01;24:00;Messung2;0;0;0;71.0\r\n"_ba
            << false << u"2 Messungen übernommen, 1 schon vorhanden, in 2 Monatstabellen"_s
            << vorher + u"|Abends den 05.03.2024 Z=20:00 s=130, d=80, p=60, Gewicht=0"_s;
        QTest::newRow("Probelauf") << "2024-03-06;07:30;Morgens;1;2;3;\r\n"_ba << true
                                   << u"1 Messungen übernommen, 0 schon vorhanden, in 1 Monatstabellen"_s
                                   << vorher;
        QTest::newRow("anderer Eintrag")
            << "2024-03-06;07:30;Morgens;1;2;3;\r\n2024-03-05;07:31;Morgens;138;88;71;72,5\r\n"_ba << false
            << u"a.csv, Zeile 3: Für Morgens den 05.03.2024 steht in Anna_03_2024.tab "
               u"schon ein anderer Eintrag. Es wurde nichts übernommen."_s
            << vorher;
        QTest::newRow("doppelt in der Datei")
            << "2024-03-06;07:30;Morgens;1;2;3;\r\n2024-03-06;07:30;Morgens;1;2;4;\r\n"_ba << false
            << u"a.csv, Zeile 3: Für Morgens den 06.03.2024 steht in Zeile 2 schon "
               u"ein anderer Eintrag. Es wurde nichts übernommen."_s
            << vorher;
        const std::pair<const char*, const char*> fehler[] = {
            {"2024-02-30;07:30;Morgens;1;2;3;", "\"2024-02-30\" ist kein gültiges Datum (JJJJ-MM-TT)."},
            {"05.03.2024;07:30;Morgens;1;2;3;", "\"05.03.2024\" ist kein gültiges Datum (JJJJ-MM-TT)."},
            {"2024-03-06;25:00;Morgens;1;2;3;",
             "Falsche Eingabe der Uhrzeit.   Beispiel für richtige Eingabe: 06:00"},
            {"2024-03-06;07:60;Morgens;1;2;3;",
             "Falsche Eingabe der Uhrzeit.   Beispiel für richtige Eingabe: 06:00"},
            {"1899-12-31;07:30;Morgens;1;2;3;", "Das Jahr 1899 liegt nicht zwischen 1900 und 9999."},
            {"2024-03-06;07:30;Mittags;1;2;3;",
             "\"Mittags\" ist keine Messung (Morgens, Messung2, Messung3 oder Abends)."},
            {"2024-03-06;07:30;Abends;281;2;3;", "\"281\" ist kein Wert von 0 bis 280."},
            {"2024-03-06;07:30;Abends;1;-2;3;", "\"-2\" ist kein Wert von 0 bis 280."},
            {"2024-03-06;07:30;Abends;1;2;3;72,55",
             "\"72,55\": Das Gewicht wird mit höchstens einer Stelle nach dem Komma eingegeben."},
            {"2024-03-06;07:30;Abends;1;2;3;311",
             "Die Eingabe von mehr als 310 Kilogramm ist nicht möglich!"},
        };
        for (const auto& [zeile, grund] : fehler)
            QTest::newRow(zeile) << "2024-03-06;07:30;Messung3;1;2;3;\r\n" + QByteArray(zeile) << false
                                 << u"a.csv, Zeile 3: "_s + QString::fromUtf8(grund) << vorher;
    }
    void importieren() {
        QFETCH(QByteArray, zeilen);
        QFETCH(bool, probelauf);
        QFETCH(QString, meldung);
        const Zustand z = datenOrdner(u"import"_s);
        const QString tab =
            monatsTabelle(z, u"Anna"_s, u"03"_s, u"2024"_s,
                          {u"Morgens den 05.03.2024 Z=07:30 s=138, d=88, p=71, Gewicht=72,5"_s});
        const QByteArray maerzVorher = testumgebung::lies(tab);
        const QString datei = wurzel() + u"/a.csv"_s;
        schreibe(datei, kCsvKopf + zeilen);
        const csvimport::Ergebnis e = csvimport::importiere(z, datei, probelauf);
        QCOMPARE(e.ok ? csvimport::zusammenfassung(e) : e.meldung, meldung);
        QString fehler;
        QTEST(monatstabelle::liesZurAnzeige(tab, &fehler)->messzeilen.join(u'|'), "maerz");
        if (!e.ok || probelauf) {
            QCOMPARE(testumgebung::lies(tab), maerzVorher);
            QVERIFY(!QFileInfo::exists(z.tabellenOrdner + u"2024/Anna_04_2024.tab"_s));
        } else {
            // A new table: the header of a new month, all four slots in use.
            QVERIFY(testumgebung::lies(z.tabellenOrdner + u"2024/Anna_04_2024.tab"_s)
                        .startsWith("[Personendaten]\r\nBenutzerName=Anna\r\nDatum=April "
                                    "2024\r\n1M=1\r\n2M=1\r\n3M=1\r\n4M=1\r\n\r\n"
                                    "Messung2 den 01.04.2024 Z=24:00 s=0, d=0, p=0, Gewicht=71\r\n"));
        }
    }

    // Refusals the data folder causes: nothing is written, not even the month the CSV adds anew.
    void importVerweigert_data() {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("meldung"); // <T>: the data folder's table folder
        QTest::newRow("kein Benutzer")
            << ""
            << u"Es ist kein Benutzer in Gebrauch, dem die Messwerte gehören könnten. "
               u"Bitte starten Sie Korvane einmal und geben Sie Ihren Namen ein."_s;
        QTest::newRow("fremder Monat")
            << "fremd"
            << u"\"<T>2024/Anna_03_2024.tab\" enthält Messwerte vom 02.2024, nicht "
               u"vom 03.2024. Es wurde nichts übernommen."_s;
        QTest::newRow("doppelte Lesung") << "doppelt"
                                         << u"Anna_03_2024.tab, Zeile 10: Für Morgens den 05.03.2024 steht "
                                            u"schon ein Eintrag in Zeile 9. Es wurde nichts übernommen."_s;
        QTest::newRow("schreibgeschützt") << "fest"
                                          << u"Die Monatstabelle \"<T>2024/Anna_03_2024.tab\" ist "
                                             u"schreibgeschützt. Es wurde nichts übernommen."_s;
        QTest::newRow("Jahresordner ist Datei")
            << "datei" << u"\"<T>2025\" ist kein Ordner. Es wurde nichts übernommen."_s;
        QTest::newRow("langes Feld")
            << "lang"
            << u"a.csv, Zeile 3: Das Feld \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\u2026\" "
               u"ist zu lang."_s;
        QTest::newRow("NUL") << "nul"
                             << u"a.csv, Zeile 3: Das Feld \"07\\x00:30\" enthält ein Steuerzeichen."_s;
    }
    void importVerweigert() {
        QFETCH(QString, fall);
        QFETCH(QString, meldung);
        Zustand z = datenOrdner(u"verweigert"_s);
        const QString maerz = z.tabellenOrdner + u"2024/Anna_03_2024.tab"_s;
        QStringList zeilen{u"Morgens den 05.03.2024 Z=07:30 s=138, d=88, p=71, Gewicht=0"_s};
        if (fall == u"fremd") zeilen = {u"Morgens den 05.02.2024 Z=07:30 s=138, d=88, p=71, Gewicht=0"_s};
        if (fall == u"doppelt") zeilen << zeilen.first();
        monatsTabelle(z, u"Anna"_s, u"03"_s, u"2024"_s, zeilen);
        if (fall == u"fest") QFile::setPermissions(maerz, QFileDevice::ReadOwner);
        if (fall == u"datei") schreibe(z.tabellenOrdner + u"2025"_s, "keine Tabellen");
        if (fall.isEmpty()) z.benutzerName.clear();
        QByteArray zweite = "2024-03-06;07:30;Morgens;1;2;3;\r\n";
        if (fall == u"lang") zweite = "2024-03-06;07:30;Morgens;1;2;3;" + QByteArray(5000, 'x') + "\r\n";
        if (fall == u"nul") zweite = QByteArray("2024-03-06;07\0:30;Morgens;1;2;3;\r\n", 32);
        const QByteArray vorher = testumgebung::lies(maerz);
        const QString datei = wurzel() + u"/a.csv"_s;
        schreibe(datei, kCsvKopf + "2025-01-01;07:30;Morgens;1;2;3;\r\n" + zweite);
        const csvimport::Ergebnis e = csvimport::importiere(z, datei, false);
        QVERIFY(!e.ok);
        QCOMPARE(e.meldung, meldung.replace(u"<T>"_s, z.tabellenOrdner));
        QCOMPARE(testumgebung::lies(maerz), vorher);
        QVERIFY(!QFileInfo::exists(z.tabellenOrdner + u"2025/Anna_01_2025.tab"_s));
    }

    // CSV out of months, into an empty data folder: the same tables, as the table window shows them.
    void rundreise() {
        const Zustand quelle = datenOrdner(u"quelle"_s);
        QStringList tabellen;
        tabellen << monatsTabelle(quelle, u"Anna"_s, u"12"_s, u"2023"_s,
                                  {u"Morgens den 30.12.2023 Z=07:30 s=140, d=90, p=70, Gewicht=70,5"_s,
                                   u"Messung3 den 30.12.2023 Z=15:30 s=0, d=0, p=0, Gewicht=0"_s,
                                   u"Abends den 31.12.2023 Z=20:40 s=128, d=85, p=66, Gewicht=71"_s})
                 << monatsTabelle(quelle, u"Anna"_s, u"01"_s, u"2024"_s,
                                  {u"Messung2 den 01.01.2024 Z=13:00 s=120, d=80, p=60, Gewicht=0"_s});
        QString fehler;
        const auto gelesen = zeitraum::lies(tabellen, &fehler);
        QVERIFY2(gelesen, qPrintable(fehler));
        const QString datei = wurzel() + u"/rund.csv"_s;
        schreibe(datei, csv::schreibe(gelesen->lesungen));
        const Zustand ziel = datenOrdner(u"ziel"_s);
        const csvimport::Ergebnis e = csvimport::importiere(ziel, datei, false);
        QVERIFY2(e.ok, qPrintable(e.meldung));
        QCOMPARE(e.neu, 4);
        for (const QString& t : tabellen)
            QCOMPARE(messzeilen(QString(t).replace(u"/quelle/"_s, u"/ziel/"_s)), messzeilen(t));
    }

    // The command line: what it prints, and every refusal with its status.
    void befehlszeile_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("aus"); // stdout, from its start
        QTest::addColumn<QString>("fehler"); // in stderr
        const QStringList bericht{u"--export"_s, u"bericht-text"_s};
        QTest::newRow("bericht")
            << bericht +
                   QStringList{u"--von"_s, u"04.03.2024"_s, u"--bis=10.03.2024"_s, u"--ohne-ersten-tag"_s}
            << 0
            << "Auswertung Anna, 04.03.2024 bis 10.03.2024\nAusgewertet: 05.03.2024 bis 10.03.2024 "
               "(erster Tag ausgelassen)\nTage mit Messungen: 3\nMessungen: 5\n"
               "Mittelwert systolisch: 128,8 mmHg\n"_ba
            << QString();
        QTest::newRow("csv")
            << QStringList{u"--export=csv"_s, u"--von"_s, u"05.03.2024"_s, u"--bis"_s, u"05.03.2024"_s} << 0
            << "\xEF\xBB\xBF"
               "Datum;Uhrzeit;Messung;Systolisch;Diastolisch;Puls;Gewicht\r\n"
               "2024-03-05;07:30;Morgens;130;80;70;72,5\r\n2024-03-05;20:40;Abends;140;90;60;\r\n"_ba
            << QString();
        QTest::newRow("keine Messungen")
            << bericht + QStringList{u"--von"_s, u"11.03.2024"_s, u"--bis"_s, u"12.03.2024"_s} << 1
            << QByteArray() << u"Im Zeitraum 11.03.2024 bis 12.03.2024 gibt es keine Messungen."_s;
        QTest::newRow("von nach bis")
            << bericht + QStringList{u"--von"_s, u"11.03.2024"_s, u"--bis"_s, u"10.03.2024"_s} << 2
            << QByteArray() << u"Der Zeitraum beginnt am 11.03.2024 nach seinem Ende am 10.03.2024."_s;
        QTest::newRow("401 Tage") << bericht +
                                         QStringList{u"--von"_s, u"01.01.2024"_s, u"--bis"_s, u"04.02.2025"_s}
                                  << 2 << QByteArray()
                                  << u"höchstens 400 Tage; 01.01.2024 bis 04.02.2025 sind 401."_s;
        // Exactly TT.MM.JJJJ of a real day: a lenient reader would take "5.3.2024" as another day.
        for (const char* datum : {"30.02.2024", "5.3.2024", "05.03.24"})
            QTest::newRow(datum) << bericht + QStringList{u"--von"_s, QString::fromLatin1(datum)} << 2
                                 << QByteArray()
                                 << u"\"%1\" ist kein gültiges Datum (TT.MM.JJJJ)."_s.arg(
                                        QString::fromLatin1(datum));
        QTest::newRow("kein Tag übrig") << bericht + QStringList{u"--von"_s, u"05.03.2024"_s, u"--bis"_s,
                                                                 u"05.03.2024"_s, u"--ohne-ersten-tag"_s}
                                        << 2 << QByteArray()
                                        << u"Ohne den ersten Tag bleibt vom Zeitraum 05.03.2024 bis "
                                           u"05.03.2024 kein Tag."_s;
        QTest::newRow("csv ohne ersten Tag")
            << QStringList{u"--export"_s, u"csv"_s, u"--ohne-ersten-tag"_s} << 2 << QByteArray()
            << u"--ohne-ersten-tag gibt es nur bei bericht-text und bericht-pdf."_s;
        QTest::newRow("Zeitraum beim Monat")
            << QStringList{u"--export"_s, u"pdf-grafik"_s, u"--von"_s, u"01.03.2024"_s} << 2 << QByteArray()
            << u"--von, --bis und --ohne-ersten-tag gibt es nur bei"_s;
        QTest::newRow("import mit export")
            << QStringList{u"--import"_s, u"a.csv"_s, u"--export"_s, u"csv"_s} << 2 << QByteArray()
            << u"--import nimmt nur die CSV-Datei und --probelauf."_s;
        QTest::newRow("probelauf allein") << QStringList{u"--probelauf"_s} << 2 << QByteArray()
                                          << u"--probelauf gibt es nur mit --import."_s;
        QTest::newRow("zwei Benutzer") << bericht + QStringList{u"<maerz>"_s, u"<bert>"_s} << 2
                                       << QByteArray() << u"eine Auswertung gilt nur einer Person."_s;
        QTest::newRow("kaputte Tabelle")
            << bericht + QStringList{u"--von"_s, u"01.02.2024"_s, u"--bis"_s, u"10.03.2024"_s} << 1
            << QByteArray() << u"Anna_02_2024.tab, Zeile 9: \"12x\" ist kein gültiger Ganzzahlwert."_s;
    }
    void befehlszeile() {
        QFETCH(QStringList, argumente);
        QFETCH(int, status);
        QFETCH(QByteArray, aus);
        QFETCH(QString, fehler);
        const Zustand z = annasProgrammOrdner();
        monatsTabelle(z, u"Anna"_s, u"02"_s, u"2024"_s,
                      {u"Morgens den 01.02.2024 Z=07:10 s=12x, d=80, p=60"_s});
        argumente.replaceInStrings(u"<maerz>"_s, z.tabellenOrdner + u"2024/Anna_03_2024.tab"_s);
        argumente.replaceInStrings(u"<bert>"_s, monatsTabelle(z, u"Bert"_s, u"03"_s, u"2024"_s, {}));
        const auto l = korvane(argumente);
        QVERIFY2(l.fehler.contains(fehler), qPrintable(l.fehler));
        QCOMPARE(l.status, status);
        QVERIFY2(l.ausBytes.startsWith(aus), qPrintable(l.aus));
        if (status != 0) QCOMPARE(l.aus, QString());
    }

    // The report as PDF: qpdf's check, the figures and patient data first, then each month's chart.
    void berichtPdf() {
        const Zustand z = annasProgrammOrdner();
        monatsTabelle(z, u"Anna"_s, u"02"_s, u"2024"_s,
                      {u"Morgens den 28.02.2024 Z=07:10 s=120, d=80, p=60"_s});
        const QString daten = testumgebung::wurzel() + u"/daten.txt"_s,
                      pdf = testumgebung::wurzel() + u"/bericht.pdf"_s;
        schreibe(daten, "Hausarzt: Dr. Beispiel\n");
        const auto l = korvane({u"--export"_s, u"bericht-pdf"_s, u"--von"_s, u"28.02.2024"_s, u"--bis"_s,
                                u"05.03.2024"_s, u"--patientendaten"_s, daten, u"--ausgabe"_s, pdf});
        QCOMPARE(l.status, 0);
        QCOMPARE(l.aus, pdf + u'\n');
        QCOMPARE(testumgebung::werkzeug(u"qpdf"_s, {u"--check"_s, pdf}).status, 0);
        const QStringList seiten = testumgebung::werkzeug(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s})
                                       .aus.split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(seiten.size(), 3);
        for (const QString& zeile : {u"Auswertung Anna, 28.02.2024 bis 05.03.2024"_s, u"Messungen: 4"_s,
                                     u"Mittelwert systolisch: 135,0 mmHg"_s, u"Hausarzt: Dr. Beispiel"_s})
            QVERIFY2(seiten.at(0).contains(zeile), qPrintable(seiten.at(0)));
        QVERIFY(seiten.at(1).contains(u"Seite 2"_s) && seiten.at(2).contains(u"Seite 3"_s));
    }

    // The import goes through the lock of the one running Korvane: never beside its window.
    void importBefehl() {
        const Zustand z = annasProgrammOrdner();
        const QString datei = testumgebung::wurzel() + u"/neu.csv"_s;
        schreibe(datei, kCsvKopf + "2024-03-12;07:30;Morgens;120;80;60;70,5\r\n");
        QCOMPARE(
            korvane({u"--import"_s, datei, u"--probelauf"_s}).aus,
            u"1 Messungen übernommen, 0 schon vorhanden, in 1 Monatstabellen\nProbelauf: Es wurde nichts geschrieben.\n"_s);
        {
            // A window of this data folder, whatever runtime folder the import sees.
            Datensperre fenster;
            QVERIFY(fenster.nimm(z.datenOrdner));
            qunsetenv("XDG_RUNTIME_DIR");
            const auto l = korvane({u"--import"_s, datei});
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(wurzel() + u"/laufzeit"_s));
            QCOMPARE(l.status, 1);
            QVERIFY(l.fehler.contains(u"Korvane ist mit diesem Datenordner geöffnet"_s));
        }
        const auto l = korvane({u"--import"_s, datei});
        QCOMPARE(l.status, 0);
        QVERIFY(testumgebung::lies(z.tabellenOrdner + u"2024/Anna_03_2024.tab"_s)
                    .endsWith("Morgens den 12.03.2024 Z=07:30 s=120, d=80, p=60, Gewicht=70,5\r\n"));
    }

    // The dialog: figures at once, a period that is none said instead, report and readings saved.
    void dialog() {
        const Zustand basis = annasProgrammOrdner();
        Zustand z = basis;
        Uhr::setzeHeute(QDate(2024, 3, 10));
        TAuswertungDlg d(z);
        testumgebung::dialoge().fenster.push_back([](QObject*) { return 0; });
        d.zeigen();
        QCOMPARE(d.von(), QDate(2024, 2, 12)); // four weeks up to today
        QCOMPARE(d.ZahlenMemo->toPlainText().section(u'\n', 3, 3), u"Messungen: 6"_s);
        d.OhneErstenTagCheckBox->click();
        d.VonEdit->setDate(QDate(2024, 3, 4));
        QCOMPARE(d.ZahlenMemo->toPlainText().section(u'\n', 3, 4),
                 u"Messungen: 5\nMittelwert systolisch: 128,8 mmHg"_s);
        const QString pdf = testumgebung::wurzel() + u"/dialog.pdf"_s,
                      csv = testumgebung::wurzel() + u"/dialog"_s;
        testumgebung::dialoge().dateien = {pdf, csv};
        QStringList geoeffnet;
        shell::zeichneAuf(&geoeffnet);
        d.PdfBtnClick();
        d.CsvBtnClick();
        shell::zeichneAuf(nullptr);
        QCOMPARE(geoeffnet, QStringList{pdf});
        QVERIFY(testumgebung::lies(pdf).startsWith("%PDF-1.4"));
        QVERIFY(testumgebung::lies(csv + u".csv"_s).endsWith("2024-03-10;21:00;Abends;118;70;58;71,9\r\n"));
        // The month's remarks name is never a target: refused, nothing made.
        const QString notiz = z.tabellenOrdner + u"2024/Anna_03_2024.txt"_s;
        testumgebung::dialoge().dateien = {notiz};
        d.CsvBtnClick();
        QVERIFY(!QFileInfo::exists(notiz) && testumgebung::dialoge().texte(TestDialoge::Art::Warnung).size() == 1);
        testumgebung::dialoge().gezeigt.clear();
        d.VonEdit->setDate(QDate(2024, 3, 11));
        QCOMPARE(d.ZahlenMemo->toPlainText(),
                 u"Der Zeitraum beginnt am 11.03.2024 nach seinem Ende am 10.03.2024."_s);
        QVERIFY(!d.PdfBtn->isEnabled());
        QCOMPARE(testumgebung::dialoge().alleTexte(), QStringList());
        Uhr::setzeHeute(QDate());
    }

    // The proposal for the longest user name is cut to a name the save can write; a longer name
    // typed is refused with why.
    void langeNamen() {
        const Zustand z = datenOrdner(u"lang"_s);
        const QString name(233, u'N');
        QVERIFY(monatstabelle::benutzerNameFehler(name).isEmpty());
        const QList<zeitraum::Lesung> l = lesungen({u"05.03.2024 1 07:30 138 88 71"_s});
        QString fehler;
        for (const QString& wort : {u"Auswertung"_s, u"Messwerte"_s}) {
            const QString vorschlag = berichtdatei::vorgeschlagenerName(z, wort, name, QDate(2024, 2, 12),
                                                                        QDate(2024, 3, 10), u".pdf"_s);
            QVERIFY(vorschlag.endsWith(u"NNN 12.02.2024 bis 10.03.2024.pdf"_s));
            QDir().mkpath(QFileInfo(vorschlag).path());
            QVERIFY2(berichtdatei::schreibeCsv(l, vorschlag, &fehler), qPrintable(fehler));
        }
        const QString lang = z.tabellenOrdner + QString(256, u'x');
        QVERIFY(!berichtdatei::schreibeCsv(l, lang, &fehler));
        QCOMPARE(fehler, u"Fehler beim Erzeugen der Datei "_s + lang + u"\nDer Dateiname oder der Pfad ist zu lang."_s);
    }

    // The window's import asks first, then reads the month in use again, so no later write loses it.
    void importImFenster() {
        annasProgrammOrdner();
        const QString datei = testumgebung::wurzel() + u"/fenster.csv"_s;
        schreibe(datei,
                 kCsvKopf +
                     "2024-03-12;07:30;Morgens;120;80;60;\r\n2024-03-05;07:30;Morgens;130;80;70;72,5\r\n");
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        p.mainForm->show();
        QTRY_VERIFY_WITH_TIMEOUT(!p.mainForm->ersteZeichnungAusstehend(), 5000);
        Datensperre befehlszeile; // the lock an import of the command line would need
        QVERIFY(!befehlszeile.nimm(p.z.datenOrdner));
        TestDialoge& dlg = testumgebung::dialoge();
        dlg.leeren();
        dlg.dateien = {datei};
        dlg.fragen = {true};
        p.mainForm->MesswerteAusCsvUebernehmen1->trigger();
        QCOMPARE(
            dlg.alleTexte(),
            (QStringList{
                u"Aus \"%1\": 1 Messungen zu übernehmen, 1 schon vorhanden, in 1 Monatstabellen. Möchten "
                u"Sie die Messwerte übernehmen?"_s.arg(datei),
                u"1 Messungen übernommen, 1 schon vorhanden, in 1 Monatstabellen."_s}));
        QCOMPARE(p.z.ListBox1.size(), kMaerz.size() + 1);
        QCOMPARE(p.z.ListBox1.last(), monatstabelle::listeneintrag(
                                          u"Morgens den 12.03.2024 Z=07:30 s=120, d=80, p=60, Gewicht=0"_s));
    }
};

KORVANE_TEST_MAIN(TestBericht)
#include "test_bericht.moc"
