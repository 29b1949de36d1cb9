// Month table file, text files, settings store and start-up folders.
#include "testumgebung.h"

#include "chart/tmonatsgrafik.h"
#include "platform/beenden.h"
#include "platform/datei.h"
#include "platform/textdatei.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <sys/stat.h>
#include <unistd.h>

using namespace monatstabelle;
using namespace Qt::StringLiterals;
using Art = TestDialoge::Art;
using testumgebung::dialoge, testumgebung::einstellungsDatei, testumgebung::lies, testumgebung::schreibe,
    testumgebung::testdaten, testumgebung::wurzel;

namespace {

Zustand zustandIn(const QString& datenOrdner) {
    Zustand z;
    z.programmOrdner = datenOrdner;
    z.datenOrdner = datenOrdner;
    z.tabellenOrdnerName = u"Korvane-Daten-Galerie/"_s;
    z.tabellenOrdner = datenOrdner + z.tabellenOrdnerName;
    QDir().mkpath(z.tabellenOrdner);
    return z;
}

// Anna's March 2024 with one reading, ready to be written.
Zustand annasMaerz(const QString& ordner) {
    Zustand z = zustandIn(ordner);
    z.benutzerName = u"Anna"_s;
    z.monatText = u"03"_s;
    z.jahrText = u"2024"_s;
    z.ListBox1 = {u"Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0"_s};
    return z;
}

QString annasTabelle(const Zustand& z) {
    return z.tabellenOrdner + "2024/Anna_03_2024.tab";
}

QStringList warnungen() {
    return dialoge().texte(Art::Warnung);
}

// One start of the program, as far as folders, settings and the built-in copies go.
bool starte() {
    Zustand z;
    return start::richteEin(z);
}

} // namespace

class TestStorage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        dialoge().leeren();
        testumgebung::einstellungenLoeschen();
        ordner = testumgebung::neuerProgrammOrdner(u"p"_s);
    }

    void win1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("darstellbar");
        QTest::newRow("umlaute") << u"März Größe"_s << QByteArray("M\xe4rz Gr\xf6\xdf" "e") << true;
        QTest::newRow("euro und anfuehrung") << u"€ „x“"_s << QByteArray("\x80 \x84x\x93") << true;
        QTest::newRow("griechisch") << u"α"_s << QByteArray("?") << false;
        QTest::newRow("emoji") << u"a😀"_s << QByteArray("a?") << false; // one character, one "?"
        QTest::newRow("halbes emoji") << QString(QChar(0xD83D)) + u"x"_s << QByteArray("?x") << false;
    }
    void win1252() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, darstellbar);
        QCOMPARE(textdatei::istDarstellbar(text), darstellbar);
        QCOMPARE(textdatei::nachWin1252(text), bytes);
        if (darstellbar) QCOMPARE(textdatei::ausWin1252(bytes), text);
    }

    // --- month table

    void sortierung() {
        QStringList liste{"Abends den \t12.03.2024 \tZ=20:40 \ts=1, \td=1, \tp=1, \tGewicht=0",
                          "Abends den \t05.03.2024 \tZ=20:40 \ts=2, \td=2, \tp=2, \tGewicht=0",
                          "Messung3 den \t05.03.2024 \tZ=15:30 \ts=3, \td=3, \tp=3, \tGewicht=0",
                          "Morgens den \t05.03.2024 \tZ=07:30 \ts=4, \td=4, \tp=4, \tGewicht=0",
                          "Messung2 den \t05.03.2024 \tZ=13:00 \ts=5, \td=5, \tp=5, \tGewicht=0",
                          "Morgens den \t12.03.2024 \tZ=07:30 \ts=6, \td=6, \tp=6, \tGewicht=0"};
        sortiereListe(liste);
        QStringList werte;
        for (const QString& e : liste)
            werte << e.section(u'\t', 3, 3).trimmed();
        QCOMPARE(werte, (QStringList{"s=4,", "s=5,", "s=3,", "s=2,", "s=6,", "s=1,"}));
    }

    // The exact bytes, after an add with two blanks after "den" and the reread that follows it.
    void schreibenExakteBytes() {
        Zustand z = annasMaerz(ordner);
        z.slotAktiv = {true, false, true, true};
        z.ListBox1 = {"Abends den  05.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0",
                      "Morgens den  12.03.2024 Z=07:35 s=135, d=88, p=72, Gewicht=71",
                      "Morgens den  05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=70,5"};
        sortiereListe(z.ListBox1);
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        QCOMPARE(z.TabellenDateiName, annasTabelle(z));
        z.ListBox1.clear();
        QVERIFY(liesZumBearbeiten(z, annasTabelle(z), KopfLesen::Nein));
        QVERIFY(schreibeTabelle(z, Schreibart::GrafikZeigen));
        const QByteArray erwartet = lies(testdaten(u"anna_maerz_2024.tab"_s));
        QVERIFY(erwartet.contains("Datum=M\xe4rz 2024\r\n"));
        QCOMPARE(lies(annasTabelle(z)), erwartet);
        QVERIFY(dialoge().gezeigt.isEmpty());
    }

    void lesen_data() {
        QTest::addColumn<QString>("datei");     // below tests/data
        QTest::addColumn<bool>("ok");           // read for the entry dialog
        QTest::addColumn<QStringList>("liste"); // the dialog's list afterwards
        QTest::addColumn<QString>("monat");     // z.monatText afterwards
        QTest::addColumn<QString>("meldung");   // the one warning, %1 the path; none when empty
        // Why it cannot be shown; empty when it can, "=" the same message, "-" the file not read at all.
        QTest::addColumn<QString>("anzeige");
        // Keys in any letter case; blanks after "den" taken away, those before "Z" kept.
        QTest::newRow("lesefaelle")
            << "lesefaelle.tab" << true
            << QStringList{"Morgens den \t03.04.2024 \tZ=07:30 \ts=141, \td=91, \tp=71, \tGewicht=72,5",
                           "Abends den \t03.04.2024  \tZ=20:40 \ts=130, \td=80, \tp=60\t",
                           "Messung2 den \t04.04.2024 \tZ=13:00 \ts=125, \td=82, \tp=64, \tGewicht=0"}
            << "04" << "" << "";
        // One broken value keeps the table from no one: listed to be corrected, file and line named.
        const QString keineZahl = u"kaputt_wert.tab, Zeile 10: \"12a\" ist kein gültiger Ganzzahlwert."_s;
        QTest::newRow("kaputter wert")
            << "kaputt_wert.tab" << true
            << QStringList{"Morgens den \t05.03.2024 \tZ=07:30 \ts=140, \td=90, \tp=70, \tGewicht=70,5",
                           "Abends den \t05.03.2024 \tZ=20:40 \ts=12a, \td=85, \tp=66, \tGewicht=0"}
            << "03"
            << keineZahl + " Bitte korrigieren oder löschen Sie den Eintrag mit \"Eintrag bearbeiten\"."
            << keineZahl;
        // Unreadable, or a line that cannot belong to a table: a message and nothing changes.
        QTest::newRow("fehlt") << "gibt-es-nicht.tab" << false << QStringList() << "01"
                               << "Fehler Lesen der Datei!\nDie Datei \"%1\" gibt es nicht." << "-";
        QTest::newRow("name mit schraegstrich")
            << "kaputt_name.tab" << false << QStringList() << "01"
            << "kaputt_name.tab: Der Benutzername »../../ausbruch« enthält ein Zeichen, das in Dateinamen "
               "nicht erlaubt ist (»/«, »\\« oder ein Steuerzeichen). Bitte wählen Sie einen anderen Namen."
            << "=";
        QTest::newRow("monat aus dem ordner heraus")
            << "feindlich/monat_pfad.tab" << false << QStringList() << "01"
            << "monat_pfad.tab, Zeile 9: \"/x/\" ist kein gültiger Monat (01 bis 12)." << "=";
        QTest::newRow("jahr mit NUL")
            << "feindlich/jahr_nul.tab" << false << QStringList() << "01"
            << "jahr_nul.tab, Zeile 10: Die Zeile enthält ein Steuerzeichen (\\x00)." << "=";
    }
    // The table read for the entry dialog and for display.
    void lesen() {
        QFETCH(QString, datei);
        QFETCH(bool, ok);
        QFETCH(QString, meldung);
        QFETCH(QString, anzeige);
        Zustand z = zustandIn(ordner);
        z.benutzerName = u"Bert"_s;
        z.monatText = u"01"_s;
        z.slotAktiv = {false, true, true, false};
        QCOMPARE(liesZumBearbeiten(z, testdaten(datei), KopfLesen::Ja), ok);
        QTEST(z.ListBox1, "liste");
        QTEST(z.monatText, "monat");
        meldung.replace(u"%1"_s, testdaten(datei));
        QCOMPARE(warnungen(), meldung.isEmpty() ? QStringList() : QStringList{meldung});
        QCOMPARE(z.benutzerName, ok ? u"Anna"_s : u"Bert"_s);
        QString fehler;
        bool nichtLesbar = false;
        QCOMPARE(liesZurAnzeige(testdaten(datei), &fehler, &nichtLesbar).has_value(), anzeige.isEmpty());
        QCOMPARE(nichtLesbar, anzeige == u"-");
        const QString nichtGelesen = u"Fehler beim Lesen der Datei: "_s + testdaten(datei);
        if (nichtLesbar)
            QVERIFY2(fehler.startsWith(nichtGelesen), qPrintable(fehler));
        else
            QCOMPARE(fehler, anzeige == u"=" ? meldung : anzeige);
        if (datei == u"lesefaelle.tab") {
            // No "2M" leaves M2 as it was.
            QCOMPARE(z.slotAktiv, (std::array<bool, 4>{true, true, false, true}));
            QCOMPARE(z.listenTitel, u"Messwerte April 2024  Anna"_s);
            QCOMPARE(z.jahrText, u"2024"_s);
            QCOMPARE(z.monatName, u"April"_s);
        }
    }

    // A table from elsewhere is copied under its canonical name, never over one; case tells names apart.
    void tabelleUebernehmen() {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Zustand z = zustandIn(ordner);
        const QString quelle = z.tabellenOrdner + "2024/anna_03_2024.tab";
        const QByteArray inhalt = lies(testdaten(u"anna_maerz_2024.tab"_s));
        schreibe(quelle, inhalt);

        nimmTabelleAuf(z, quelle, u"Anna"_s, u"03"_s, u"2024"_s);
        QCOMPARE(z.TabellenDateiName, annasTabelle(z));
        QCOMPARE(lies(annasTabelle(z)), inhalt);
        QCOMPARE(Lies_String_aus_Registry(u"BenutzerName"_s), u"Anna"_s);
        QVERIFY(gleicheDatei(quelle, quelle));
        QVERIFY(!gleicheDatei(quelle, annasTabelle(z)));

        schreibe(annasTabelle(z), "schon da\r\n");
        nimmTabelleAuf(z, quelle, u"Anna"_s, u"03"_s, u"2024"_s);
        QCOMPARE(lies(annasTabelle(z)), QByteArray("schon da\r\n"));
        QVERIFY(dialoge().gezeigt.isEmpty());
    }

    void pfadeBleibenImJahrOrdner_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("monat");
        QTest::addColumn<QString>("jahr");
        QTest::addColumn<bool>("gueltig");
        QTest::newRow("gut") << "Anna" << "03" << "2024" << true;
        QTest::newRow("monat mit pfad") << "Anna" << "/x/" << "2024" << false;
        QTest::newRow("jahr aufwaerts") << "Anna" << "03" << "../.." << false;
        QTest::newRow("jahr NUL") << "Anna" << "03" << u"20"_s + QChar(0) + u"4"_s << false;
        QTest::newRow("name mit blank und punkt") << "Anna Maria.B" << "03" << "2024" << true;
        QTest::newRow("name mit umlaut") << "Jürgen" << "03" << "2024" << true;
        QTest::newRow("name mit schraegstrich") << "a/b" << "03" << "2024" << false;
        QTest::newRow("name mit rueckstrich") << "a\\b" << "03" << "2024" << false;
        QTest::newRow("name nicht speicherbar") << "Ελένη" << "03" << "2024" << false;
        QTest::newRow("name mit blank am anfang") << " Anna" << "03" << "2024" << false;
        QTest::newRow("name mit NUL") << u"An"_s + QChar(0) + u"na"_s << "03" << "2024" << false;
        // ".<name>_MM_YYYY.tab.k.XXXXXX", the longest name a save needs, within 255 bytes.
        QTest::newRow("name mit 233 byte") << QString(233, u'a') << "03" << "2024" << true;
        QTest::newRow("name mit 234 byte") << QString(234, u'a') << "03" << "2024" << false;
        QTest::newRow("117 umlaute sind 234 byte") << QString(117, u'ü') << "03" << "2024" << false;
    }
    // A name, month or year that could leave the year folder is never written to; no year folder made.
    void pfadeBleibenImJahrOrdner() {
        QFETCH(QString, name);
        QFETCH(QString, monat);
        QFETCH(QString, jahr);
        QFETCH(bool, gueltig);
        Zustand z = annasMaerz(ordner);
        const QStringList vorher = testumgebung::allesUnter(wurzel());
        const QString pfad = tabellenPfad(z, name, monat, jahr);
        QCOMPARE(!pfad.isEmpty(), gueltig);
        if (name != "Anna") QCOMPARE(benutzerNameFehler(name).isEmpty(), gueltig);
        QCOMPARE(bemerkungsPfad(z, name, monat, jahr).isEmpty(), !gueltig);
        if (gueltig) QCOMPARE(QFileInfo(pfad).absolutePath(), QDir::cleanPath(z.tabellenOrdner + jahr));
        z.benutzerName = name;
        z.monatText = monat;
        z.jahrText = jahr;
        QCOMPARE(schreibeTabelle(z, Schreibart::Aufnehmen), gueltig);
        if (!gueltig) nimmTabelleAuf(z, testdaten(u"kaputt_name.tab"_s), name, monat, jahr);
        QStringList neu;
        for (const QString& d : testumgebung::allesUnter(wurzel()))
            if (!vorher.contains(d)) neu << wurzel() + u'/' + d;
        QCOMPARE(neu, (gueltig ? QStringList{QFileInfo(pfad).path(), pfad} : QStringList()));
    }

    // --- writing: never from a partial picture, never what would not read back

    void schreibenVerweigert_data() {
        QTest::addColumn<QString>("bestand");   // "tabelle": Anna's table written, "kaputt": a broken one
        QTest::addColumn<QString>("eintrag");   // added to the list; "-" empties it
        QTest::addColumn<QStringList>("teile"); // of the one warning; none for no warning
        QTest::newRow("tab im gewicht")
            << "tabelle" << "Morgens den \t05.03.2024 \tZ=07:30 \ts=140, \td=90, \tp=70, \tGew\ticht=7x"
            << QStringList{"Tabulatorzeichen", "nicht geschrieben"};
        QTest::newRow("kein wert") << "tabelle" << "Morgens den 05.03.2024 Z=07:30 s=, d=90, p=70, Gewicht=0"
                                   << QStringList{"\"\" ist kein gültiger Ganzzahlwert.", "nicht geschrieben"};
        QTest::newRow("keine messzeile") << "tabelle" << "morgens den 05.03.2024 Z=07:30 s=1, d=90, p=70"
                                         << QStringList{"keine Messzeile", "nicht geschrieben"};
        QTest::newRow("nicht darstellbar")
            << "tabelle" << "Abends den 06.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0 ✓" << QStringList{"✓"};
        QTest::newRow("leere liste") << "" << "-" << QStringList();
        // Not written over from a list that lacks its readings.
        QTest::newRow("unlesbare tabelle") << "kaputt" << "" << QStringList{"nicht überschrieben"};
    }
    // Refused with one warning, and the file on disk stays byte for byte (or absent).
    void schreibenVerweigert() {
        QFETCH(QString, bestand);
        QFETCH(QString, eintrag);
        QFETCH(QStringList, teile);
        Zustand z = annasMaerz(ordner);
        const QString pfad = annasTabelle(z);
        if (bestand == "tabelle") QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        if (bestand == "kaputt") schreibe(pfad, lies(testdaten(u"feindlich/jahr_nul.tab"_s)));
        const QByteArray vorher = lies(pfad);
        if (eintrag == "-") z.ListBox1.clear();
        if (eintrag.size() > 1) z.ListBox1 << eintrag;
        QVERIFY(!schreibeTabelle(z, bestand == "kaputt" ? Schreibart::Aufnehmen : Schreibart::GrafikZeigen));
        QCOMPARE(QFile::exists(pfad), !bestand.isEmpty());
        QCOMPARE(lies(pfad), vorher);
        QCOMPARE(warnungen().size(), teile.isEmpty() ? 0 : 1);
        for (const QString& teil : teile)
            QVERIFY2(warnungen().first().contains(teil), qPrintable(warnungen().first()));
    }

    void schreibenScheitert_data() {
        QTest::addColumn<QString>("art");
        // a full disk, a file-size limit, a write-protected file, a read-only file system
        QTest::addColumn<QString>("ursache");
        for (const char* art : {"tabelle", "bemerkungen", "einstellungen"})
            for (const char* ursache : {"voll", "grenze", "schreibgeschützt", "nur lesbar"})
                QTest::newRow(qPrintable(u"%1, %2"_s.arg(QLatin1String(art), QString::fromUtf8(ursache))))
                    << QString::fromLatin1(art) << QString::fromUtf8(ursache);
    }
    // Whatever stops a write, the old file stays byte for byte with its rights, nothing is left
    // beside it, and one message names the whole path and why (the settings' once, however often).
    void schreibenScheitert() {
        QFETCH(QString, art);
        QFETCH(QString, ursache);
        const QString ort = art == "einstellungen" ? QFileInfo(einstellungsDatei()).path() : ordner + "daten";
        std::optional<testumgebung::KleinesDateisystem> platte;
        if ((ursache == "voll" || ursache == "nur lesbar") && !platte.emplace(ort).da())
            QSKIP("no tmpfs can be mounted here");
        Zustand z = annasMaerz(ordner + "daten/");
        TMonatsGrafik grafik(z);
        QString pfad = ort + "/alt." + art;
        auto schreibeGross = [&](bool gross) {
            const int n = gross ? 30 : 1;
            if (art == "tabelle") {
                for (int tag = 1; tag <= n; ++tag)
                    for (const QString& slot : {u"Messung2"_s, u"Abends"_s})
                        z.ListBox1 << slot + u" den %1.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=72,5"_s.arg(
                                                 tag, 2, 10, QLatin1Char('0'));
                monatstabelle::sortiereListe(z.ListBox1);
                return schreibeTabelle(z, Schreibart::Aufnehmen);
            }
            if (art == "bemerkungen") {
                grafik.bemerkungenDatei = pfad;
                grafik.setzeBemerkungen(QString(n * 100, u'b'));
                if (gross) dialoge().fragen.push_back(false); // leave the month without them
                return grafik.bemerkungenSichern(false) && dialoge().texte(Art::Frage).isEmpty();
            }
            if (!gross) Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
            Schreib_String_in_Registry(u"BenutzerName"_s, QString(n * 100, u'n'));
            Schreib_String_in_Registry(u"BenutzerName"_s, QString(n * 100, u'm'));
            return Lies_String_aus_Registry(u"BenutzerName"_s) == QString(n * 100, u'm');
        };
        QVERIFY(schreibeGross(false));
        if (art == "tabelle") pfad = z.TabellenDateiName;
        if (art == "einstellungen") pfad = einstellungsDatei();
        const QByteArray alt = lies(pfad);
        QVERIFY(!alt.isEmpty());
        if (ursache == "schreibgeschützt") QVERIFY(QFile::setPermissions(pfad, QFileDevice::ReadOwner));
        auto daneben = [&] {
            QStringList namen = QDir(QFileInfo(pfad).path())
                                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            namen.removeOne(u".fueller"_s);
            return namen;
        };
        const QStringList vorher = daneben();
        if (ursache == "voll") platte->fuellen();
        if (ursache == "nur lesbar") platte->nurLesen();
        const QFileDevice::Permissions rechte = QFile::permissions(pfad);
        {
            std::optional<testumgebung::Groessengrenze> grenze;
            if (ursache == "grenze") grenze.emplace(2048);
            QVERIFY(!schreibeGross(true));
        }
        QCOMPARE(lies(pfad), alt);
        QCOMPARE(QFile::permissions(pfad), rechte);
        QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(daneben(), vorher);
        const QStringList texte = dialoge().alleTexte();
        QCOMPARE(texte.size(), 1);
        const QString erwartet =
            ursache == "schreibgeschützt" || ursache == "nur lesbar"
                ? u"\"%1\" ist schreibgeschützt und wurde nicht geändert."_s.arg(pfad)
                : u"Fehler beim Erzeugen der Datei %1\n%2 Die bisherige Datei ist unverändert."_s.arg(
                      pfad, ursache == "voll"
                                ? u"Auf dem Datenträger ist nicht genug Platz frei."_s
                                : u"Die Datei wäre größer, als das System einer Datei erlaubt."_s);
        QVERIFY2(texte.first().contains(erwartet), qPrintable(texte.first()));
    }

    void schreibfehlerMeldungen_data() {
        QTest::addColumn<bool>("aufnehmen");
        QTest::addColumn<QStringList>("texte");
        const QString fehler = u"Fehler beim Erzeugen der Datei %1\nEin Teil des Pfades ist kein Ordner."_s;
        QTest::newRow("aufnehmen") << true
                                   << QStringList{"Ordner \"2024\" konnte nicht erstellt werden! ", fehler};
        QTest::newRow("grafik zeigen") << false << QStringList{fehler};
    }
    void schreibfehlerMeldungen() {
        QFETCH(bool, aufnehmen);
        QFETCH(QStringList, texte);
        Zustand z = annasMaerz(ordner);
        // A plain file where the year folder should be.
        schreibe(z.tabellenOrdner + "2024", "datei");
        QVERIFY(!schreibeTabelle(z, aufnehmen ? Schreibart::Aufnehmen : Schreibart::GrafikZeigen));
        texte.replaceInStrings(u"%1"_s, annasTabelle(z));
        QCOMPARE(dialoge().alleTexte(), texte);
        QCOMPARE(lies(z.tabellenOrdner + "2024"), QByteArray("datei"));
    }

    void neuerMonatUeberBestehenderTabelle_data() {
        QTest::addColumn<QString>("neu");
        QTest::addColumn<int>("lesungen"); // on disk afterwards; 10 when refused
        QTest::addColumn<QString>("meldung");
        QTest::newRow("neuer tag") << "Morgens den  11.03.2024 Z=07:30 s=150, d=95, p=75, Gewicht=0" << 11 << "";
        QTest::newRow("anderer eintrag fuer belegten platz")
            << "Morgens den  03.03.2024 Z=07:30 s=150, d=95, p=75, Gewicht=0" << 10 << "schon ein anderer Eintrag";
        QTest::newRow("derselbe eintrag") << "Abends den 01.03.2024 Z=20:00 s=121, d=81, p=61, Gewicht=0" << 10 << "";
    }
    // A list that does not come from the table on disk takes in its readings before it is
    // written over it: ten readings of March stay when an eleventh comes from a new month's list.
    void neuerMonatUeberBestehenderTabelle() {
        QFETCH(QString, neu);
        QFETCH(int, lesungen);
        QFETCH(QString, meldung);
        Zustand z = annasMaerz(ordner);
        z.ListBox1.clear();
        for (int tag = 1; tag <= 5; ++tag)
            for (const QString& slot : {u"Morgens den %1.03.2024 Z=07:30"_s, u"Abends den %1.03.2024 Z=20:00"_s})
                z.ListBox1 << slot.arg(tag, 2, 10, QLatin1Char('0')) +
                                  u" s=%1, d=%2, p=%3, Gewicht=0"_s.arg(120 + tag).arg(80 + tag).arg(60 + tag);
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        const QByteArray vorher = lies(z.TabellenDateiName);

        // "Neu erstellen": an empty list that comes from no file, then one add.
        z.ListBox1 = {neu};
        z.listenDatei.clear();
        QCOMPARE(schreibeTabelle(z, Schreibart::Aufnehmen), meldung.isEmpty());
        const auto a = liesZurAnzeige(z.TabellenDateiName, nullptr);
        QVERIFY(a);
        QCOMPARE(a->messungen.size(), lesungen);
        if (!meldung.isEmpty()) {
            QCOMPARE(lies(z.TabellenDateiName), vorher);
            QVERIFY(warnungen().join(u'|').contains(meldung));
        }
    }

    // What an interrupted save left beside a table goes at its next save (a link itself, not what it
    // points to); the user's own files stay. A link where the table belongs is replaced, never written
    // through; a rename replaces the table, so a reader of the old file sees it whole, and its rights stay.
    void resteUndLinksBeimSpeichern() {
        Zustand z = annasMaerz(ordner);
        const QString jahr = z.tabellenOrdner + "2024/";
        const QStringList reste{".Anna_03_2024.tab.k", ".Anna_03_2024.tab.k.ShNVEz", ".Anna_03_2024.tab.k.A1b2C3"};
        const QStringList bleiben{"Anna_03_2024.tab.backup", "Anna_03_2024.tab.ShNVEz", ".Anna_03_2024.tab.k.zu-lang7",
                                  ".Anna_03_2024.tab.kopie", ".Anna_03_2024.txt.k", "Bert_03_2024.tab.ShNVEz"};
        for (const QString& n : reste + bleiben)
            schreibe(jahr + n, "halb");
        schreibe(ordner + "ziel", "fremd");
        QVERIFY(QFile::link(ordner + "ziel", jahr + ".Anna_03_2024.tab.k.Link01"));
        const QString draussen = wurzel() + "/draussen-geschrieben.tab";
        QVERIFY(QFile::link(draussen, annasTabelle(z)));

        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        QStringList da = QDir(jahr).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        da.sort();
        QStringList erwartet = bleiben + QStringList{"Anna_03_2024.tab"};
        erwartet.sort();
        QCOMPARE(da, erwartet);
        QCOMPARE(lies(ordner + "ziel"), QByteArray("fremd"));
        QVERIFY(!QFile::exists(draussen));
        QVERIFY(!QFileInfo(annasTabelle(z)).isSymLink());
        const QByteArray alt = lies(annasTabelle(z));
        QVERIFY(alt.contains("Morgens den 05.03.2024"));

        QVERIFY(QFile::setPermissions(annasTabelle(z), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(::link(QFile::encodeName(annasTabelle(z)).constData(),
                       QFile::encodeName(draussen).constData()) == 0);
        z.ListBox1 << u"Abends den 05.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0"_s;
        QVERIFY(schreibeTabelle(z, Schreibart::GrafikZeigen));
        QCOMPARE(lies(draussen), alt);
        QVERIFY(
            lies(annasTabelle(z)).endsWith("Abends den 05.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0\r\n"));
        struct stat s;
        QVERIFY(::stat(QFile::encodeName(annasTabelle(z)).constData(), &s) == 0 &&
                (s.st_mode & 0777) == 0600);
    }

    void bemerkungsNamen_data() {
        QTest::addColumn<QString>("tabelle");
        QTest::addColumn<QString>("bemerkungen");
        QTest::newRow("klein") << "/d/2024/Anna_03_2024.tab" << "/d/2024/Anna_03_2024.txt";
        QTest::newRow("gross") << "/d/X.TAB" << "/d/X.txt";
        QTest::newRow("tab im ordner") << "/d.tab/x.tab" << "/d.tab/x.txt";
        QTest::newRow("andere endung") << "/d/x.dat" << "/d/x.dat.txt";
    }
    void bemerkungsNamen() {
        QFETCH(QString, tabelle);
        QTEST(bemerkungsPfadZu(tabelle), "bemerkungen");
    }

    void bemerkungenSpeichernUndLaden_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("datei");
        QTest::newRow("zwei zeilen") << u"Erste Zeile\nzweite mit ä"_s
                                     << QByteArray("Erste Zeile\r\nzweite mit \xe4\r\n");
        QTest::newRow("leere letzte zeile bleibt") << u"Puls hoch\n"_s << QByteArray("Puls hoch\r\n\r\n");
        QTest::newRow("leer") << QString() << QByteArray();
        // Characters the file cannot hold: nothing written unless the replacement is wanted.
        QTest::newRow("nicht darstellbar") << u"Blutdruck ↑"_s << QByteArray("Blutdruck ?\r\n");
    }
    // What is saved loads back as the same text, however often it goes round.
    void bemerkungenSpeichernUndLaden() {
        QFETCH(QString, text);
        const QString pfad = ordner + "b.txt";
        QCOMPARE(bemerkungen::laden(pfad), std::optional<QString>(QString()));
        const bool ersetzen = !textdatei::istDarstellbar(text);
        if (ersetzen) {
            schreibe(pfad, "alt\r\n");
            QCOMPARE(bemerkungen::speichern(pfad, text), bemerkungen::Ergebnis::NichtDarstellbar);
            QCOMPARE(lies(pfad), QByteArray("alt\r\n"));
        }
        for (int runde = 0; runde < 3; ++runde) {
            const QString geladen = bemerkungen::laden(pfad).value_or(u"FEHLER"_s);
            const auto ergebnis = bemerkungen::speichern(pfad, runde == 0 ? text : geladen, ersetzen);
            QCOMPARE(ergebnis, bemerkungen::Ergebnis::Ok);
            QTEST(lies(pfad), "datei");
        }
        QCOMPARE(bemerkungen::laden(pfad), std::optional<QString>(ersetzen ? u"Blutdruck ?"_s : text));
    }

    // --- settings store and start-up

    void ersterStart_data() {
        QTest::addColumn<QString>("vorher"); // what Header.bmp is before the start
        QTest::newRow("fehlt") << "";
        QTest::newRow("eigene vorlage") << "datei";
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("link ins leere") << "link";
    }
    // The first-start settings and folders; templates and guide from built-in copies, the user's own kept.
    void ersterStart() {
        QFETCH(QString, vorher);
        const QString header = ordner + "Header.bmp";
        if (vorher == "datei") schreibe(header, "eigene");
        if (vorher == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(header).constData(), 0600), 0);
        if (vorher == "link") QVERIFY(QFile::link(ordner + "nirgends.bmp", header));
        Zustand z;
        QVERIFY(start::richteEin(z));
        QCOMPARE(z.programmOrdner, ordner);
        for (const QString& name : {u"Vorlage.bmp"_s, u"GewichtVorlage.bmp"_s, u"Korvane-Hilfe.pdf"_s})
            QCOMPARE(lies(ordner + name), lies((name.endsWith(".pdf") ? ":/hilfe/" : ":/vorlagen/") + name));
        const QFileInfo info(header);
        if (vorher.isEmpty()) QCOMPARE(lies(header), lies(u":/vorlagen/Header.bmp"_s));
        if (vorher == "datei") QCOMPARE(lies(header), QByteArray("eigene"));
        if (vorher == "fifo") QVERIFY(!info.isFile() && info.exists());
        if (vorher == "link") QVERIFY(info.isSymLink() && !QFileInfo::exists(ordner + "nirgends.bmp"));
        const QStringList erwartet{
            "StiftBreite=2", "InstallOrt=" + ordner, "DatenSpeicherOrt=" + ordner, "BenutzerName=",
            "TabellenDateiName=", "Header=Header.bmp", "Grafik=Vorlage.bmp", "GewichtGrafik=GewichtVorlage.bmp",
            "UhrzeitMorgens=07:30", "UhrzeitMessung2=13:00", "UhrzeitMessung3=15:30", "UhrzeitAbends=20:40",
            "GalerieVerzeichnisName=Korvane-Daten-Galerie", "HtmlVerzeichnisName=Korvane-Daten im Browser",
            "CloudGalerieVerzeichnisName=Cloud-Korvane-Daten-Galerie", "SystolischKurvenFarbe=16711680",
            "DiastolischKurvenFarbe=32768", "PulsKurvenFarbe=8388863", "GewichtsKurvenFarbe=16512",
            "PulsdruckFarbe=33023", "DatenwerteOberhalbFarbe=128", "Grafikformat=DINA4", "Browser=standard",
            "FarbkurveGewichtAnzeigen=0", "BemerkungenAnzeigen=1", "LinieBeiNullUnterbrechen=1",
            "WerteOberhalbKurveAnzeigen=0"};
        QSettings roh(einstellungsDatei(), QSettings::IniFormat);
        QStringList gespeichert;
        for (const QString& name : roh.allKeys())
            gespeichert << name + u'=' + Lies_String_aus_Registry(name);
        QCOMPARE(QSet(gespeichert.begin(), gespeichert.end()), QSet(erwartet.begin(), erwartet.end()));
        QVERIFY(QDir(ordner + "Korvane-Daten-Galerie").exists());
        QVERIFY(QDir(ordner + "Korvane-Daten im Browser").exists());
        QVERIFY(dialoge().gezeigt.isEmpty());
    }

    void programmOrdnerWoherAuchGestartet_data() {
        QTest::addColumn<QString>("gesetzt");  // $KORVANE_ORDNER; "-": not set
        QTest::addColumn<QString>("erwartet"); // below the test root
        QTest::newRow("nicht gesetzt") << "-" << "heim/Korvane/";
        QTest::newRow("leer") << "" << "heim/Korvane/";
        QTest::newRow("absolut") << "@/eigen" << "eigen/";
        QTest::newRow("mit punkten") << "@/x/../eigen/." << "eigen/";
        QTest::newRow("relativ zum arbeitsordner") << "eigen" << "arbeit/eigen/";
    }
    // The working folder never decides the program folder; $KORVANE_ORDNER or ~/Korvane do.
    void programmOrdnerWoherAuchGestartet() {
        QFETCH(QString, gesetzt);
        QFETCH(QString, erwartet);
        testumgebung::UmgebungSichern sicher;
        const QString w = wurzel();
        QDir().mkpath(w + "/arbeit");
        QDir::setCurrent(w + "/arbeit");
        qputenv("HOME", QFile::encodeName(w + "/heim"));
        if (gesetzt == "-")
            qunsetenv("KORVANE_ORDNER");
        else
            qputenv("KORVANE_ORDNER", QFile::encodeName(gesetzt.replace(u'@', w)));
        QCOMPARE(start::programmOrdner(), w + u'/' + erwartet);
        QVERIFY(!QDir(w + "/heim").exists()); // asking creates nothing
        // A start puts nothing into the working folder but a program folder named relative to it.
        Zustand z;
        QVERIFY(start::richteEin(z));
        QCOMPARE(z.datenOrdner, w + u'/' + erwartet);
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 erwartet.startsWith(u"arbeit/") ? QStringList{u"eigen"_s} : QStringList());
        for (const char* weg : {"/heim", "/eigen", "/arbeit"})
            QDir(w + weg).removeRecursively();
    }

    void ordnerNichtAnlegbar_data() {
        QTest::addColumn<bool>("programmOrdner"); // else the data folder
        QTest::addColumn<QString>("name");        // as the first message names the folder
        QTest::addColumn<QString>("fehlt");       // what the second names, below the file in the way
        QTest::newRow("programmordner") << true << "Korvane" << "/";
        QTest::newRow("datenordner") << false << "Korvane-Daten-Galerie/" << "/daten/Korvane-Daten-Galerie/";
    }
    // A plain file where a folder should be: both messages, the end, nothing made.
    void ordnerNichtAnlegbar() {
        QFETCH(bool, programmOrdner);
        QFETCH(QString, name);
        QFETCH(QString, fehlt);
        testumgebung::UmgebungSichern sicher;
        const QString heim = wurzel() + "/heim-blockiert";
        const QString imWeg = programmOrdner ? heim + "/Korvane" : ordner + "blockiert";
        schreibe(imWeg, "datei");
        if (programmOrdner) {
            qputenv("HOME", QFile::encodeName(heim));
            qunsetenv("KORVANE_ORDNER");
        } else {
            Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
            Schreib_String_in_Registry(u"DatenSpeicherOrt"_s, imWeg + "/daten/");
        }
        QVERIFY(!starte());
        QCOMPARE(dialoge().alleTexte(),
                 (QStringList{"Ordner \"" + name + "\" konnte nicht erstellt werden! ",
                              "Ordner: " + imWeg + fehlt + "\" existiert nicht!  Das Programm wird beendet."}));
        QCOMPARE(lies(imWeg), QByteArray("datei"));
        QCOMPARE(QFile::exists(einstellungsDatei()), !programmOrdner);
        QVERIFY(!QDir(ordner + "Korvane-Daten im Browser").exists());
    }

    // An older store without some entries: each reads as its first-start value; one there keeps its own.
    void fehlendeEinstellungen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("gespeichert"); // invalid: the entry is missing
        QTest::addColumn<QString>("gelesen");
        QTest::newRow("Vorlage fehlt") << "Grafik" << QVariant() << "Vorlage.bmp";
        QTest::newRow("Uhrzeit fehlt") << "UhrzeitAbends" << QVariant() << "20:40";
        QTest::newRow("Uhrzeit leer") << "UhrzeitAbends" << QVariant("") << "";
        QTest::newRow("Ordner ohne Vorgabe") << "DatenSpeicherOrt" << QVariant() << "";
        QTest::newRow("Browser fehlt") << "Browser" << QVariant() << "standard";
        QTest::newRow("Galerie eigener name") << "GalerieVerzeichnisName" << QVariant("Daten") << "Daten";
        QTest::newRow("Galerie leer") << "GalerieVerzeichnisName" << QVariant("") << "";
    }
    void fehlendeEinstellungen() {
        QFETCH(QString, name);
        QFETCH(QVariant, gespeichert);
        QFETCH(QString, gelesen);
        QVERIFY(starte());
        testumgebung::setzeRoh(name, gespeichert);
        QCOMPARE(Lies_String_aus_Registry_mit_Vorgabe(name), gelesen);
        Zustand z;
        QVERIFY(start::richteEin(z));
        if (name == "Grafik") QCOMPARE(z.grafikPfad, z.programmOrdner + gelesen);
        if (name == "Browser") QCOMPARE(Lies_String_aus_Registry(name), gelesen); // filled in by the start
        if (name == "GalerieVerzeichnisName") {
            QCOMPARE(z.tabellenOrdner, ordner + (gelesen.isEmpty() ? u"Korvane-Daten-Galerie"_s : gelesen) + u'/');
            QVERIFY(QDir(z.tabellenOrdner).exists());
        }
    }

    void startAusAnderemOrdner_data() {
        QTest::addColumn<int>("antwort"); // 1 "Ja", 0 "Nein", -1 a signal while the question waits
        QTest::newRow("Ja behaelt") << 1;
        QTest::newRow("Nein setzt zurueck") << 0;
        // A signal is no "Nein": the start ends and nothing is reset.
        QTest::newRow("signal waehrend der frage") << -1;
    }
    void startAusAnderemOrdner() {
        QFETCH(int, antwort);
        QVERIFY(starte());
        Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
        Schreib_Integer_in_Registry(u"StiftBreite"_s, u"4"_s);
        const QByteArray vorher = lies(einstellungsDatei());

        const QString anders = testumgebung::neuerProgrammOrdner(u"anderer"_s);
        dialoge().fragen.push_back(antwort == 1);
        if (antwort < 0) dialoge().waehrendDesWartens = [] { beenden::verlangen(1); };
        Zustand z;
        const bool weiter = start::richteEin(z);
        beenden::zuruecksetzen();
        QCOMPARE(weiter, antwort >= 0);
        QCOMPARE(dialoge().texte(Art::Frage),
                 QStringList{"Sie haben für das Programm \"Korvane\" bereits in einem anderen Ordner Daten "
                             "angelegt:\n\r\"" + ordner + "\"\n\rMöchten Sie diesen Speicherort für Ihre "
                             "Korvanedaten beibehalten?"});
        if (antwort < 0) QCOMPARE(lies(einstellungsDatei()), vorher);
        if (antwort == 1) {
            QCOMPARE(Lies_String_aus_Registry(u"BenutzerName"_s), u"Anna"_s);
            QCOMPARE(z.datenOrdner, ordner);
            // Asked again at the next start from there.
            dialoge().fragen.push_back(true);
            QVERIFY(starte());
            QCOMPARE(dialoge().texte(Art::Frage).size(), 2);
        }
        if (antwort == 0) {
            QCOMPARE(Lies_String_aus_Registry(u"BenutzerName"_s), QString());
            QCOMPARE(Lies_Integer_aus_Registry(u"StiftBreite"_s), u"2"_s);
            QCOMPARE(Lies_String_aus_Registry(u"InstallOrt"_s), anders);
            QCOMPARE(z.datenOrdner, anders);
        }
    }

    // Without a settings file the values are a first start's, nothing is created, a stored value wins.
    void ohneEinstellungsdatei() {
        Zustand z;
        z.programmOrdner = ordner;
        start::leseOrdner(z);
        QCOMPARE(z.htmlOrdner, ordner + "Korvane-Daten im Browser/");
        QCOMPARE(z.tabellenOrdner, ordner + "Korvane-Daten-Galerie/");
        QVERIFY(!QDir(z.htmlOrdner).exists());
        Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
        Schreib_Integer_in_Registry(u"StiftBreite"_s, u"3"_s);
        QVERIFY(!QFileInfo::exists(einstellungsDatei()));
        QCOMPARE(Lies_String_aus_Registry(u"BenutzerName"_s), QString());
        QCOMPARE(registry::mitStandard(u"PulsKurvenFarbe"_s), u"8388863"_s);
        QCOMPARE(registry::mitStandard(u"Unbekannt"_s), QString());
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(u"PulsKurvenFarbe"_s, u"255"_s);
        Schreib_String_in_Registry(u"DatenSpeicherOrt"_s, ordner + "d");
        QCOMPARE(registry::mitStandard(u"PulsKurvenFarbe"_s), u"255"_s);
        start::leseOrdner(z);
        QCOMPARE(z.htmlOrdner, ordner + "d/Korvane-Daten im Browser/");
    }

    // --- reading safely

    void nurGewoehnlicheDateien_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<datei::Fehler>("fehler");
        QTest::newRow("datei") << "datei" << datei::Fehler::Keiner;
        QTest::newRow("fehlt") << "fehlt" << datei::Fehler::Fehlt;
        QTest::newRow("fifo") << "fifo" << datei::Fehler::KeineDatei;
        QTest::newRow("ordner") << "ordner" << datei::Fehler::KeineDatei;
        QTest::newRow("/dev/zero") << "/dev/zero" << datei::Fehler::KeineDatei;
        QTest::newRow("zu gross") << "gross" << datei::Fehler::ZuGross;
        QTest::newRow("ungueltiger pfad") << "kodierung" << datei::Fehler::UngueltigerPfad;
        QTest::newRow("kein pfad") << "leer" << datei::Fehler::Fehlt;
        QTest::newRow("nicht lesbar") << "gesperrt" << datei::Fehler::NichtLesbar;
    }
    // A FIFO or a device is refused at once, never read from: the test would hang otherwise.
    void nurGewoehnlicheDateien() {
        QFETCH(QString, art);
        QFETCH(datei::Fehler, fehler);
        QString pfad = ordner + art;
        if (art == "datei") schreibe(pfad, "a\r\n\r\nb\nc"); // CRLF, LF, no end after the last
        if (art == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        if (art == "ordner") QVERIFY(QDir().mkpath(pfad));
        if (art.startsWith(u'/')) pfad = art;
        if (art == "gross") schreibe(pfad, QByteArray(101, 'x'));
        if (art == "kodierung") pfad = ordner + u"name\uFFFD.tab"_s;
        if (art == "leer") pfad.clear();
        if (art == "gesperrt") {
            schreibe(pfad, "x");
            QFile::setPermissions(pfad, QFileDevice::Permissions());
            if (::access(QFile::encodeName(pfad).constData(), R_OK) == 0) QSKIP("root reads every file");
        }
        const datei::Gelesen g = datei::lies(pfad, 100);
        QCOMPARE(g.fehler, fehler);
        QCOMPARE(datei::pruefe(pfad, 100), fehler == datei::Fehler::NichtLesbar ? datei::Fehler::Keiner : fehler);
        if (g.ok()) {
            QCOMPARE(g.inhalt, QByteArray("a\r\n\r\nb\nc"));
            QVERIFY(g.meldung.isEmpty());
        } else {
            QVERIFY2(g.meldung.contains(u'"' + pfad + u'"'), qPrintable(g.meldung));
            QVERIFY(g.meldung.startsWith("Die ") || g.meldung.startsWith("Der ") || g.meldung.startsWith(u'"'));
            QVERIFY(g.inhalt.isEmpty());
        }
        // The table readers say the same, with the file named.
        QString meldung;
        QCOMPARE(textdatei::liesZeilen(pfad, 100, &meldung).value_or(QStringList{u"-"_s}),
                 (g.ok() ? QStringList{"a", "", "b", "c"} : QStringList{u"-"_s}));
        QCOMPARE(meldung, g.meldung);
    }

    void einstellungsSperreVonAbgebrochenemSpeichern_data() {
        QTest::addColumn<QString>("sperre");
        QTest::addColumn<QByteArray>("inhalt");
        QTest::newRow("leere sperre") << ".lock" << QByteArray();
        QTest::newRow("sperre eines toten prozesses") << ".lock" << QByteArray("999999\nkorvane\nhost\n");
        QTest::newRow("leere entfernsperre") << ".lock.rmlock" << QByteArray();
        // The whole copy a QSettings save leaves when killed before its rename.
        QTest::newRow("kopie von QSettings") << ".PAtAXg" << QByteArray("[General]\nBenutzerName=Alt\n");
        QTest::newRow("kopie mit ziffern") << ".A1b2C3" << QByteArray();
    }
    // A killed settings save leaves a lock or a copy; the next write takes both, without waiting 30 s.
    void einstellungsSperreVonAbgebrochenemSpeichern() {
        QFETCH(QString, sperre);
        QFETCH(QByteArray, inhalt);
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        const QString datei = einstellungsDatei();
        schreibe(datei + sperre, inhalt);
        for (const char* bleibt : {".bak", ".Kopie-7", ".kopie1x"})
            schreibe(datei + bleibt, "eigene");
        if (sperre.endsWith("rmlock")) schreibe(datei + ".lock", QByteArray());
        QElapsedTimer uhr;
        uhr.start();
        Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
        // Generous: the fault waited 30 s; a second per lock is what may pass.
        QVERIFY2(uhr.elapsed() < 8000, qPrintable(QString::number(uhr.elapsed())));
        QCOMPARE(Lies_String_aus_Registry(u"BenutzerName"_s), u"Anna"_s);
        QVERIFY(!QFile::exists(datei + sperre));
        for (const char* bleibt : {".bak", ".Kopie-7", ".kopie1x"})
            QVERIFY(QFile::remove(datei + bleibt));
    }

    void ganzzahlEinstellungNurAusZahl_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("danach");
        QTest::newRow("zahl") << "3" << "3";
        QTest::newRow("mit blanks") << " 4 " << "4";
        QTest::newRow("keine zahl") << "drei" << "2";
        QTest::newRow("leer") << "" << "2";
    }
    void ganzzahlEinstellungNurAusZahl() {
        QFETCH(QString, text);
        QFETCH(QString, danach);
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        QCOMPARE(Schreib_Integer_in_Registry(u"StiftBreite"_s, text), danach != "2");
        QCOMPARE(Lies_Integer_aus_Registry(u"StiftBreite"_s), danach);
    }

    void einstellungenWieQSettings_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("wert");
        QTest::newRow("leer") << "BenutzerName" << QVariant(u""_s);
        QTest::newRow("blanks außen") << "BenutzerName" << QVariant(u"  Anna "_s);
        QTest::newRow("; , =") << "BenutzerName" << QVariant(u"a;b,c=d"_s);
        QTest::newRow("anführung, rückstrich") << "DatenSpeicherOrt" << QVariant(u"\"C:\\Daten\\\" \\"_s);
        QTest::newRow("steuerzeichen") << "BenutzerName" << QVariant(u"\t\n\r\a\b\f\v\x01\x1f|\x7f"_s);
        QTest::newRow("nul vor hexziffer") << "BenutzerName" << QVariant(u"a\0001\u0001f"_s);
        QTest::newRow("umlaute, euro, emoji") << "BenutzerName" << QVariant(u"März € 😀 α"_s);
        QTest::newRow("zwei klammeraffen") << "BenutzerName" << QVariant(u"@@x@"_s);
        QTest::newRow("ganzzahl") << "StiftBreite" << QVariant(u"-17"_s);
        QTest::newRow("liste von hand") << "Fremd" << QVariant(QStringList{u"a"_s, u" b, c"_s, u"@d"_s});
        QTest::newRow("bytes von hand") << "Fremd" << QVariant(QByteArray("\x00\xff)", 3));
        QTest::newRow("schlüssel mit umlaut") << u"Größe Ω"_s << QVariant(u"x"_s);
        QTest::newRow("abschnitt") << "Gruppe/Unter/Name" << QVariant(u"y"_s);
        QTest::newRow("abschnitt General") << "General/Name" << QVariant(u"z"_s);
    }
    // Korvane writes the settings file as QSettings does, byte for byte, and QSettings reads it back;
    // read at once after each write, a value is never an earlier one's.
    void einstellungenWieQSettings() {
        QFETCH(QString, name);
        QFETCH(QVariant, wert);
        const QString roh = ordner + "roh.conf";
        QSettings(roh, QSettings::NativeFormat).setValue(name, wert);
        QCOMPARE(registry::alsIni({{name, wert}}), lies(roh));
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        schreibe(einstellungsDatei(),
                 registry::alsIni({{u"InstallOrt"_s, ordner}, {name, wert}, {u"Z/Z"_s, 1}}));
        // Written here, not by Korvane: later than anything Korvane wrote, or QSettings may take
        // its cached copy of an earlier row's file of the same size.
        static int zeile = 0;
        QFile datei(einstellungsDatei());
        QVERIFY(datei.open(QIODevice::ReadWrite) &&
                datei.setFileTime(QDateTime::currentDateTime().addSecs(3600 + ++zeile),
                                  QFileDevice::FileModificationTime));
        datei.close();
        QSettings gelesen(einstellungsDatei(), QSettings::NativeFormat);
        QCOMPARE(gelesen.value(name), wert);
        QCOMPARE(gelesen.allKeys().size(), 3);
        if (wert.typeId() != QMetaType::QString) return;
        for (int runde = 0; runde < 20; ++runde) {
            const QString text = wert.toString() + QString::number(runde % 10);
            Schreib_String_in_Registry(name, text);
            QCOMPARE(Lies_String_aus_Registry(name), text);
        }
        QCOMPARE(Lies_String_aus_Registry(u"InstallOrt"_s), ordner);
    }

    void einstellungsdateiUnbrauchbar_data() {
        QTest::addColumn<QString>("art");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("ordner") << "ordner";
        QTest::newRow("zu gross") << "gross";
        // Settings that cannot be written are said once; the start goes on.
        QTest::newRow("datei statt ordner der einstellungen") << "nicht schreibbar";
    }
    // Neither read (a FIFO would hang) nor replaced; the start ends with a message naming the file.
    void einstellungsdateiUnbrauchbar() {
        QFETCH(QString, art);
        const QString datei = einstellungsDatei(), ort = QFileInfo(datei).path();
        const bool weiter = art == "nicht schreibbar";
        QDir(ort).removeRecursively();
        if (weiter) schreibe(ort, "eine Datei, wo der Ordner hingehört");
        QDir().mkpath(ort);
        if (art == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(datei).constData(), 0600), 0);
        if (art == "ordner") QVERIFY(QDir().mkpath(datei));
        if (art == "gross") schreibe(datei, QByteArray(2 * 1024 * 1024, '#'));
        QCOMPARE(Lies_String_aus_Registry(u"InstallOrt"_s), QString());
        Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
        QCOMPARE(starte(), weiter);
        const QStringList texte = dialoge().alleTexte();
        QCOMPARE(texte.size(), 1);
        const bool ende = texte.first().endsWith(u"Das Programm wird beendet."_s);
        QVERIFY2(texte.first().contains(datei) && ende != weiter, qPrintable(texte.first()));
        QCOMPARE(QFileInfo(datei).isDir(), art == "ordner");
        QCOMPARE(QFileInfo(datei).size() == 2 * 1024 * 1024, art == "gross");
        QDir(datei).removeRecursively();
        QFile::remove(datei);
        QFile::remove(ort);
    }

    // --- what a reading line may hold

    void zeilenPruefung_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<int>("art"); // Zeilenfehler::Art
        QTest::addColumn<QString>("text");
        const QString a = u"Morgens den 05.03.2024 Z=07:30 "_s;
        const QString g = a + "s=1, d=1, p=1, Gewicht=";
        const QString werte = u" Z=07:30 s=1, d=1, p=1, Gewicht=0"_s;
        const QString keinMonat = u"\" ist kein gültiger Monat (01 bis 12)."_s;
        const QString keineGanzzahl = u"\" ist kein gültiger Ganzzahlwert."_s;
        const QString keinGleitkomma = u"\" ist kein gültiger Gleitkommawert."_s;
        QTest::newRow("gut") << a + "s=140, d=90, p=70, Gewicht=72,5" << 0 << "";
        QTest::newRow("ohne gewicht") << a + "s=140, d=90, p=70" << 0 << "";
        QTest::newRow("zwei dezimalen alter dateien") << a + "s=140, d=90, p=70, Gewicht=72,55" << 0 << "";
        QTest::newRow("monat 13") << "Morgens den 05.13.2024" + werte << 2 << "\"13" + keinMonat;
        QTest::newRow("monat 00") << "Morgens den 05.00.2024" + werte << 2 << "\"00" + keinMonat;
        QTest::newRow("monat einstellig") << "Morgens den 05.3.2024" + werte << 2 << "\"3" + keinMonat;
        QTest::newRow("jahr mit pfad") << "Morgens den 05.03./../../tmp/x Z=07:30 s=1, d=1, p=1" << 2
                                       << "\"/../../tmp/x\" ist keine gültige Jahreszahl (vier Ziffern).";
        QTest::newRow("ohne datum") << "Morgens den Z=07:30 s=1, d=1, p=1" << 2 << "\"" + keinMonat;
        QTest::newRow("tab") << a + "s=140,\td=90, p=70" << 2 << "Die Zeile enthält ein Steuerzeichen (\\x09).";
        QTest::newRow("zu lang") << a + "s=140, d=90, p=70, Gewicht=0" + QString(1000, u' ') << 2
                                 << "Die Zeile ist mit 1059 Zeichen zu lang für eine Messzeile.";
        QTest::newRow("keine zahl") << a + "s=14x, d=90, p=70" << 1 << "\"14x" + keineGanzzahl;
        QTest::newRow("riesig") << a + "s=2147483648, d=90, p=70" << 1 << "\"2147483648" + keineGanzzahl;
        QTest::newRow("vierstellig") << a + "s=1000, d=90, p=70" << 1 << "\"1000\" liegt nicht zwischen 0 und 999.";
        QTest::newRow("negativ") << a + "s=140, d=-5, p=70" << 1 << "\"-5\" liegt nicht zwischen 0 und 999.";
        QTest::newRow("gewicht nan") << g + "nan" << 1 << "\"nan" + keinGleitkomma;
        QTest::newRow("gewicht inf") << g + "inf" << 1 << "\"inf" + keinGleitkomma;
        QTest::newRow("gewicht 9.2e18") << g + "9.2e18" << 1 << "\"9.2e18" + keinGleitkomma;
        QTest::newRow("gewicht 19 stellen") << g + "9200000000000000000" << 1
                                            << "\"9200000000000000000" + keinGleitkomma;
        QTest::newRow("gewicht 311") << g + "311" << 1
                                     << "\"311\" ist kein gültiges Gewicht (höchstens 310 Kilogramm).";
    }
    void zeilenPruefung() {
        QFETCH(QString, zeile);
        QFETCH(int, art);
        QFETCH(QString, text);
        Zeilenfehler f;
        const auto m = werteAus(zeile, &f);
        QCOMPARE(m.has_value(), art == 0);
        QCOMPARE(int(f.art), art);
        QCOMPARE(f.text, text);
        if (m) {
            QCOMPARE(m->monat, u"03"_s);
            QCOMPARE(m->jahr, u"2024"_s);
            QVERIFY(m->gewicht >= 0 && m->gewicht <= 310);
        }
    }

private:
    QString ordner;
};

KORVANE_TEST_MAIN(TestStorage)
#include "test_storage.moc"
