// Month table file, text files, settings store and start-up folders.
#include "testumgebung.h"

#include "platform/beenden.h"
#include "platform/datei.h"
#include "platform/textdatei.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <sys/stat.h>
#include <unistd.h>

using namespace monatstabelle;
using Art = TestDialoge::Art;

namespace {

Zustand zustandIn(const QString& datenOrdner) {
    Zustand z;
    z.programmOrdner = datenOrdner;
    z.datenOrdner = datenOrdner;
    z.tabellenOrdnerName = QStringLiteral("Korvane-Daten-Galerie/");
    z.tabellenOrdner = datenOrdner + z.tabellenOrdnerName;
    QDir().mkpath(z.tabellenOrdner);
    return z;
}

// Anna's March 2024 with one reading, ready to be written.
Zustand annasMaerz(const QString& ordner) {
    Zustand z = zustandIn(ordner);
    z.benutzerName = QStringLiteral("Anna");
    z.monatText = QStringLiteral("03");
    z.jahrText = QStringLiteral("2024");
    z.ListBox1 = {QStringLiteral("Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0")};
    return z;
}

} // namespace

class TestStorage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        testumgebung::dialoge().leeren();
        testumgebung::einstellungenLoeschen();
        ordner = testumgebung::neuerProgrammOrdner(QStringLiteral("p"));
    }

    void win1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("darstellbar");
        QTest::newRow("umlaute") << QStringLiteral("März Größe")
                                 << QByteArray("M\xe4rz Gr\xf6\xdf"
                                               "e")
                                 << true;
        QTest::newRow("euro und anfuehrung")
            << QStringLiteral("€ „x“") << QByteArray("\x80 \x84x\x93") << true;
        QTest::newRow("griechisch") << QStringLiteral("α") << QByteArray("?") << false;
        QTest::newRow("emoji") << QStringLiteral("a😀") << QByteArray("a??") << false;
    }
    void win1252() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, darstellbar);
        QCOMPARE(textdatei::istDarstellbar(text), darstellbar);
        QCOMPARE(textdatei::nachWin1252(text), bytes);
        if (darstellbar) QCOMPARE(textdatei::ausWin1252(bytes), text);
    }

    void zeilenTrennung_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QStringList>("zeilen");
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("leere zeile") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("ohne letztes ende") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("nur lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    }
    void zeilenTrennung() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QStringList, zeilen);
        const QString pfad = ordner + QStringLiteral("z.txt");
        testumgebung::schreibe(pfad, inhalt);
        QCOMPARE(*textdatei::liesZeilen(pfad, 1024), zeilen);
        QVERIFY(!textdatei::liesZeilen(ordner + QStringLiteral("fehlt.txt"), 1024));
    }

    // --- month table

    void listeneintrag_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("eintrag");
        QTest::newRow("mit gewicht")
            << "Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=70,5"
            << "Morgens den \t05.03.2024 \tZ=07:30 \ts=140, \td=90, \tp=70, \tGewicht=70,5";
        QTest::newRow("mehrere blanks nach den")
            << "Abends den    05.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0"
            << "Abends den \t05.03.2024 \tZ=20:40 \ts=128, \td=85, \tp=66, \tGewicht=0";
        QTest::newRow("ohne gewicht") << "Messung2 den 05.03.2024 Z=13:00 s=120, d=80, p=60"
                                      << "Messung2 den \t05.03.2024 \tZ=13:00 \ts=120, \td=80, \tp=60\t";
        QTest::newRow("blanks vor Z bleiben")
            << "Messung3 den 05.03.2024   Z=15:30 s=1, d=2, p=3, Gewicht=0"
            << "Messung3 den \t05.03.2024   \tZ=15:30 \ts=1, \td=2, \tp=3, \tGewicht=0";
    }
    void listeneintrag() {
        QFETCH(QString, zeile);
        QFETCH(QString, eintrag);
        QCOMPARE(monatstabelle::listeneintrag(zeile), eintrag);
        QCOMPARE(eintrag.count(u'\t'), 6);
    }

    void sortierung() {
        QStringList liste{
            "Abends den \t12.03.2024 \tZ=20:40 \ts=1, \td=1, \tp=1, \tGewicht=0",
            "Abends den \t05.03.2024 \tZ=20:40 \ts=2, \td=2, \tp=2, \tGewicht=0",
            "Messung3 den \t05.03.2024 \tZ=15:30 \ts=3, \td=3, \tp=3, \tGewicht=0",
            "Morgens den \t05.03.2024 \tZ=07:30 \ts=4, \td=4, \tp=4, \tGewicht=0",
            "Messung2 den \t05.03.2024 \tZ=13:00 \ts=5, \td=5, \tp=5, \tGewicht=0",
            "Morgens den \t12.03.2024 \tZ=07:30 \ts=6, \td=6, \tp=6, \tGewicht=0",
        };
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
        const QString pfad = z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab");
        QCOMPARE(z.TabellenDateiName, pfad);
        z.ListBox1.clear();
        QVERIFY(liesZumBearbeiten(z, pfad, KopfLesen::Nein));
        QVERIFY(schreibeTabelle(z, Schreibart::GrafikZeigen));
        const QByteArray erwartet =
            testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
        QVERIFY(erwartet.contains("Datum=M\xe4rz 2024\r\n"));
        QCOMPARE(testumgebung::lies(pfad), erwartet);
        QVERIFY(testumgebung::dialoge().gezeigt.isEmpty());
    }

    void lesenZumBearbeiten() {
        Zustand z = zustandIn(ordner);
        z.slotAktiv = {false, true, true, false};
        QVERIFY(
            liesZumBearbeiten(z, testumgebung::testdaten(QStringLiteral("lesefaelle.tab")), KopfLesen::Ja));
        // Keys in any letter case; no "2M" leaves M2 as it was.
        QCOMPARE(z.slotAktiv, (std::array<bool, 4>{true, true, false, true}));
        QCOMPARE(z.listenTitel, QStringLiteral("Messwerte April 2024  Anna"));
        QCOMPARE(z.benutzerName, QStringLiteral("Anna"));
        QCOMPARE(z.ListBox1,
                 (QStringList{"Morgens den \t03.04.2024 \tZ=07:30 \ts=141, \td=91, \tp=71, \tGewicht=72,5",
                              "Abends den \t03.04.2024  \tZ=20:40 \ts=130, \td=80, \tp=60\t",
                              "Messung2 den \t04.04.2024 \tZ=13:00 \ts=125, \td=82, \tp=64, \tGewicht=0"}));
        QCOMPARE(z.monatText, QStringLiteral("04"));
        QCOMPARE(z.jahrText, QStringLiteral("2024"));
        QCOMPARE(z.monatName, QStringLiteral("April"));
    }

    void lesenScheitertOhneAenderung_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("fehlt") << QStringLiteral("gibt-es-nicht.tab")
                               << QStringLiteral("Fehler Lesen der Datei!");
        QTest::newRow("name mit schraegstrich")
            << QStringLiteral("kaputt_name.tab") << QStringLiteral("kaputt_name.tab: Der Benutzername »../../ausbruch«");
        QTest::newRow("monat aus dem ordner heraus")
            << QStringLiteral("feindlich/monat_pfad.tab")
            << QStringLiteral("monat_pfad.tab, Zeile 9: \"/x/\" ist kein gültiger Monat");
        QTest::newRow("jahr mit NUL") << QStringLiteral("feindlich/jahr_nul.tab")
                                      << QStringLiteral("jahr_nul.tab, Zeile 10: Die Zeile enthält ein Steuerzeichen");
    }
    void lesenScheitertOhneAenderung() {
        QFETCH(QString, datei);
        QFETCH(QString, meldung);
        Zustand z = zustandIn(ordner);
        z.benutzerName = QStringLiteral("Bert");
        z.monatText = QStringLiteral("01");
        z.ListBox1 = {QStringLiteral("vorher")};
        QVERIFY(!liesZumBearbeiten(z, testumgebung::testdaten(datei), KopfLesen::Ja));
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung).size(), 1);
        QVERIFY2(testumgebung::dialoge().texte(Art::Warnung).first().startsWith(meldung),
                 qPrintable(testumgebung::dialoge().texte(Art::Warnung).first()));
        QCOMPARE(z.ListBox1, QStringList{QStringLiteral("vorher")});
        QCOMPARE(z.benutzerName, QStringLiteral("Bert"));
        QCOMPARE(z.monatText, QStringLiteral("01"));
    }

    void zurAnzeigeLesen() {
        QString fehler;
        const auto a =
            liesZurAnzeige(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")), &fehler);
        QVERIFY(a);
        QCOMPARE(a->kopf.benutzerName, QStringLiteral("Anna"));
        QCOMPARE(a->kopf.datum, QStringLiteral("März 2024"));
        QCOMPARE(a->messzeilen.size(), 3);
        QCOMPARE(a->messungen.at(2).gewicht, 71.0);
        QCOMPARE(a->monat, QStringLiteral("03"));
        QCOMPARE(a->jahr, QStringLiteral("2024"));

        QVERIFY(!liesZurAnzeige(testumgebung::testdaten(QStringLiteral("kaputt_wert.tab")), &fehler));
        QCOMPARE(fehler, QStringLiteral("kaputt_wert.tab, Zeile 10: \"12a\" ist kein gültiger Ganzzahlwert."));
        QVERIFY(!liesZurAnzeige(ordner + QStringLiteral("fehlt.tab"), &fehler));
        QVERIFY(fehler.startsWith(QStringLiteral("Fehler beim Lesen der Datei: ") + ordner + QStringLiteral("fehlt.tab")));
    }

    // A table from elsewhere is copied under its canonical name, never over an existing one.
    void tabelleUebernehmen() {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Zustand z = zustandIn(ordner);
        const QString fremd = testumgebung::wurzel() + QStringLiteral("/fremd/x.tab");
        const QByteArray inhalt =
            testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
        testumgebung::schreibe(fremd, inhalt);
        const QString kanonisch = z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab");

        nimmTabelleAuf(z, fremd, QStringLiteral("Anna"), QStringLiteral("03"), QStringLiteral("2024"));
        QCOMPARE(z.TabellenDateiName, kanonisch);
        QCOMPARE(testumgebung::lies(kanonisch), inhalt);
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Anna"));

        testumgebung::schreibe(kanonisch, "schon da\r\n");
        nimmTabelleAuf(z, fremd, QStringLiteral("Anna"), QStringLiteral("03"), QStringLiteral("2024"));
        QCOMPARE(testumgebung::lies(kanonisch), QByteArray("schon da\r\n"));
        QVERIFY(testumgebung::dialoge().gezeigt.isEmpty());
    }

    void benutzernamen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("erlaubt");
        QTest::newRow("mit blank und punkt") << QStringLiteral("Anna Maria.B") << true;
        QTest::newRow("umlaut") << QStringLiteral("Jürgen") << true;
        QTest::newRow("schraegstrich") << QStringLiteral("a/b") << false;
        QTest::newRow("rueckstrich") << QStringLiteral("a\\b") << false;
        QTest::newRow("aufwaerts") << QStringLiteral("../x") << false;
        QTest::newRow("steuerzeichen") << QStringLiteral("a\tb") << false;
        QTest::newRow("nicht speicherbar") << QStringLiteral("Ελένη") << false;
        QTest::newRow("blank am anfang") << QStringLiteral(" Anna") << false;
        QTest::newRow("blank am ende") << QStringLiteral("Anna ") << false;
        QTest::newRow("NUL") << QStringLiteral("An") + QChar(0) + QStringLiteral("na") << false;
        // ".<name>_MM_YYYY.tab.k.XXXXXX", the longest name a save needs, within 255 bytes.
        QTest::newRow("233 byte") << QString(233, u'a') << true;
        QTest::newRow("234 byte") << QString(234, u'a') << false;
        QTest::newRow("117 umlaute sind 234 byte") << QString(117, u'ü') << false;
    }
    void benutzernamen() {
        QFETCH(QString, name);
        QFETCH(bool, erlaubt);
        QCOMPARE(benutzerNameFehler(name).isEmpty(), erlaubt);
    }

    // A user name that could leave the year folder is never written nor copied to.
    void keinPfadAusserhalb() {
        Zustand z = annasMaerz(ordner);
        z.benutzerName = QStringLiteral("../../ausbruch");
        QVERIFY(!schreibeTabelle(z, Schreibart::Aufnehmen));
        nimmTabelleAuf(z, testumgebung::testdaten(QStringLiteral("kaputt_name.tab")), z.benutzerName,
                       z.monatText, z.jahrText);
        QVERIFY(!QFile::exists(ordner + QStringLiteral("ausbruch_03_2024.tab")));
        QVERIFY(!QFile::exists(ordner + QStringLiteral("Korvane-Daten-Galerie/ausbruch_03_2024.tab")));
        QCOMPARE(QDir(z.tabellenOrdner).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    // The table is replaced by a rename: a reader holding the old file still sees it whole,
    // and a refused write leaves it byte for byte.
    void ersetzenIstAtomar() {
        Zustand z = annasMaerz(ordner);
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        const QString pfad = z.TabellenDateiName;
        const QByteArray alt = testumgebung::lies(pfad);
        const QString verweis = ordner + QStringLiteral("alt.tab");
        QVERIFY(::link(QFile::encodeName(pfad).constData(), QFile::encodeName(verweis).constData()) == 0);

        z.ListBox1 << QStringLiteral("Abends den 05.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0");
        QVERIFY(schreibeTabelle(z, Schreibart::GrafikZeigen));
        QCOMPARE(testumgebung::lies(verweis), alt);
        QVERIFY(testumgebung::lies(pfad).endsWith(
            "Abends den 05.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0\r\n"));

        const QByteArray neu = testumgebung::lies(pfad);
        z.ListBox1 << QStringLiteral("Abends den 06.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0 ✓");
        QVERIFY(!schreibeTabelle(z, Schreibart::GrafikZeigen));
        QCOMPARE(testumgebung::lies(pfad), neu);
        QVERIFY(testumgebung::dialoge().texte(Art::Warnung).last().contains(QStringLiteral("✓")));
    }

    void schreibfehlerMeldungen_data() {
        QTest::addColumn<bool>("aufnehmen");
        QTest::addColumn<QStringList>("texte");
        QTest::newRow("aufnehmen")
            << true
            << QStringList{"Ordner \"2024\" konnte nicht erstellt werden! ",
                           "Fehler beim Erzeugen der Datei %1Korvane-Daten-Galerie/2024/Anna_03_2024.tab"};
        QTest::newRow("grafik zeigen")
            << false << QStringList{"Fehler beim Erzeugen der Datei Anna_03_2024.tab!"};
    }
    void schreibfehlerMeldungen() {
        QFETCH(bool, aufnehmen);
        QFETCH(QStringList, texte);
        Zustand z = annasMaerz(ordner);
        // A plain file where the year folder should be.
        testumgebung::schreibe(z.tabellenOrdner + QStringLiteral("2024"), "datei");
        QVERIFY(!schreibeTabelle(z, aufnehmen ? Schreibart::Aufnehmen : Schreibart::GrafikZeigen));
        for (QString& t : texte)
            t.replace(QStringLiteral("%1"), ordner);
        QCOMPARE(testumgebung::dialoge().alleTexte(), texte);
        QCOMPARE(testumgebung::lies(z.tabellenOrdner + QStringLiteral("2024")), QByteArray("datei"));
    }

    void leereListeSchreibtNichts() {
        Zustand z = annasMaerz(ordner);
        z.ListBox1.clear();
        QVERIFY(!schreibeTabelle(z, Schreibart::GrafikZeigen));
        QVERIFY(!QFile::exists(z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab")));
    }

    void bemerkungsNamen_data() {
        QTest::addColumn<QString>("tabelle");
        QTest::addColumn<QString>("bemerkungen");
        QTest::newRow("klein") << "/d/2024/Anna_03_2024.tab"
                               << "/d/2024/Anna_03_2024.txt";
        QTest::newRow("gross") << "/d/X.TAB"
                               << "/d/X.txt";
        QTest::newRow("tab im ordner") << "/d.tab/x.tab"
                                       << "/d.tab/x.txt";
        QTest::newRow("ordner meine.tabellen") << "/h/meine.tabellen/2024/Anna_03_2024.tab"
                                               << "/h/meine.tabellen/2024/Anna_03_2024.txt";
        QTest::newRow("andere endung") << "/d/x.dat"
                                       << "/d/x.dat.txt";
    }
    void bemerkungsNamen() {
        QFETCH(QString, tabelle);
        QFETCH(QString, bemerkungen);
        QCOMPARE(bemerkungsPfadZu(tabelle), bemerkungen);
    }

    void bemerkungenSpeichernUndLaden_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("datei");
        QTest::newRow("zwei zeilen") << QStringLiteral("Erste Zeile\nzweite mit ä")
                                     << QByteArray("Erste Zeile\r\nzweite mit \xe4\r\n");
        QTest::newRow("leere letzte zeile bleibt") << QStringLiteral("Puls hoch\n")
                                                   << QByteArray("Puls hoch\r\n\r\n");
        QTest::newRow("zwei leere zeilen") << QStringLiteral("a\n\n") << QByteArray("a\r\n\r\n\r\n");
        QTest::newRow("leer") << QString() << QByteArray();
    }
    // What is saved loads back as the same text, however often it goes round.
    void bemerkungenSpeichernUndLaden() {
        QFETCH(QString, text);
        QFETCH(QByteArray, datei);
        const QString pfad = ordner + QStringLiteral("b.txt");
        QCOMPARE(bemerkungen::laden(pfad), std::optional<QString>(QString()));
        for (int runde = 0; runde < 3; ++runde) {
            const QString geladen = bemerkungen::laden(pfad).value_or(QStringLiteral("FEHLER"));
            QCOMPARE(bemerkungen::speichern(pfad, runde == 0 ? text : geladen), bemerkungen::Ergebnis::Ok);
            QCOMPARE(testumgebung::lies(pfad), datei);
        }
        QCOMPARE(bemerkungen::laden(pfad), std::optional<QString>(text));
    }

    // Characters the file cannot hold: nothing written unless the replacement is wanted.
    void bemerkungenNichtDarstellbar() {
        const QString pfad = ordner + QStringLiteral("b.txt");
        testumgebung::schreibe(pfad, "alt\r\n");
        QCOMPARE(bemerkungen::speichern(pfad, QStringLiteral("Blutdruck ↑")), bemerkungen::Ergebnis::NichtDarstellbar);
        QCOMPARE(testumgebung::lies(pfad), QByteArray("alt\r\n"));
        QCOMPARE(bemerkungen::speichern(pfad, QStringLiteral("Blutdruck ↑"), true), bemerkungen::Ergebnis::Ok);
        QCOMPARE(testumgebung::lies(pfad), QByteArray("Blutdruck ?\r\n"));
    }

    // --- settings store and start-up

    void schreibenOhneSchluesselTutNichts() {
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
        Schreib_Integer_in_Registry(QStringLiteral("StiftBreite"), QStringLiteral("3"));
        QVERIFY(!QFile::exists(testumgebung::einstellungsDatei()));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QString());
    }

    void ersterStart() {
        Zustand z;
        QVERIFY(start::richteEin(z));
        QCOMPARE(z.programmOrdner, ordner);
        const QStringList erwartet{"StiftBreite=2",
                                   "InstallOrt=" + ordner,
                                   "DatenSpeicherOrt=" + ordner,
                                   "BenutzerName=",
                                   "TabellenDateiName=",
                                   "Header=Header.bmp",
                                   "Grafik=Vorlage.bmp",
                                   "GewichtGrafik=GewichtVorlage.bmp",
                                   "UhrzeitMorgens=07:30",
                                   "UhrzeitMessung2=13:00",
                                   "UhrzeitMessung3=15:30",
                                   "UhrzeitAbends=20:40",
                                   "GalerieVerzeichnisName=Korvane-Daten-Galerie",
                                   "HtmlVerzeichnisName=Korvane-Daten im Browser",
                                   "CloudGalerieVerzeichnisName=Cloud-Korvane-Daten-Galerie",
                                   "SystolischKurvenFarbe=16711680",
                                   "DiastolischKurvenFarbe=32768",
                                   "PulsKurvenFarbe=8388863",
                                   "GewichtsKurvenFarbe=16512",
                                   "PulsdruckFarbe=33023",
                                   "DatenwerteOberhalbFarbe=128",
                                   "Grafikformat=DINA4",
                                   "Browser=standard",
                                   "FarbkurveGewichtAnzeigen=0",
                                   "BemerkungenAnzeigen=1",
                                   "LinieBeiNullUnterbrechen=1",
                                   "WerteOberhalbKurveAnzeigen=0"};
        QCOMPARE(erwartet.size(), 27);
        QSettings roh(testumgebung::einstellungsDatei(), QSettings::IniFormat);
        QCOMPARE(roh.allKeys().size(), 27);
        for (const QString& e : erwartet) {
            const QString name = e.section(u'=', 0, 0);
            QVERIFY2(roh.contains(name), qPrintable(name));
            const bool ganz = name == "StiftBreite" || name.endsWith("Anzeigen") || name.startsWith("Linie");
            QCOMPARE((ganz ? Lies_Integer_aus_Registry(name) : Lies_String_aus_Registry(name)),
                     e.section(u'=', 1));
        }
        QVERIFY(QDir(ordner + QStringLiteral("Korvane-Daten-Galerie")).exists());
        QVERIFY(QDir(ordner + QStringLiteral("Korvane-Daten im Browser")).exists());
        QCOMPARE(z.tabellenOrdner, ordner + QStringLiteral("Korvane-Daten-Galerie/"));
        QCOMPARE(z.grafikPfad, ordner + QStringLiteral("Vorlage.bmp"));
        QVERIFY(z.linieBeiNullUnterbrechen);
        QVERIFY(testumgebung::dialoge().gezeigt.isEmpty());
    }

    void programmOrdnerWoherAuchGestartet_data() {
        QTest::addColumn<QString>("gesetzt");  // $KORVANE_ORDNER; "-": not set
        QTest::addColumn<QString>("erwartet"); // below the test root
        QTest::newRow("nicht gesetzt") << "-"
                                       << "heim/Korvane/";
        QTest::newRow("leer") << ""
                              << "heim/Korvane/";
        QTest::newRow("absolut") << "@/eigen"
                                 << "eigen/";
        QTest::newRow("mit schraegstrich") << "@/eigen/"
                                           << "eigen/";
        QTest::newRow("mit punkten") << "@/x/../eigen/."
                                     << "eigen/";
        QTest::newRow("relativ zum arbeitsordner") << "eigen"
                                                   << "arbeit/eigen/";
    }
    // The working folder never decides the program folder; $KORVANE_ORDNER or ~/Korvane do.
    void programmOrdnerWoherAuchGestartet() {
        QFETCH(QString, gesetzt);
        QFETCH(QString, erwartet);
        testumgebung::UmgebungSichern sicher;
        const QString w = testumgebung::wurzel();
        QDir().mkpath(w + "/arbeit");
        QDir::setCurrent(w + "/arbeit");
        qputenv("HOME", QFile::encodeName(w + "/heim"));
        if (gesetzt == "-")
            qunsetenv("KORVANE_ORDNER");
        else
            qputenv("KORVANE_ORDNER", QFile::encodeName(gesetzt.replace(u'@', w)));
        QCOMPARE(start::programmOrdner(), w + u'/' + erwartet);
        QVERIFY(!QDir(w + "/heim").exists()); // asking creates nothing
    }

    void eingebauteKopien_data() {
        QTest::addColumn<QString>("vorher"); // what Header.bmp is before the start
        QTest::newRow("fehlt") << "";
        QTest::newRow("eigene vorlage") << "datei";
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("link ins leere") << "link";
    }
    // Templates and guide come from the built-in copies where missing; whatever the user has
    // there (own template, a FIFO, a dangling link) stays as it is, and nothing waits on it.
    void eingebauteKopien() {
        QFETCH(QString, vorher);
        const QString header = ordner + "Header.bmp";
        if (vorher == "datei") testumgebung::schreibe(header, "eigene");
        if (vorher == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(header).constData(), 0600), 0);
        if (vorher == "link") QVERIFY(QFile::link(ordner + "nirgends.bmp", header));
        Zustand z;
        QVERIFY(start::richteEin(z));
        for (const char* name : {"Vorlage.bmp", "GewichtVorlage.bmp", "Korvane-Hilfe.pdf"}) {
            const QString eingebaut =
                (QByteArray(name).endsWith(".pdf") ? ":/hilfe/" : ":/vorlagen/") + QString::fromLatin1(name);
            QCOMPARE(testumgebung::lies(ordner + name), testumgebung::lies(eingebaut));
        }
        const QFileInfo info(header);
        if (vorher.isEmpty())
            QCOMPARE(testumgebung::lies(header), testumgebung::lies(":/vorlagen/Header.bmp"));
        if (vorher == "datei") QCOMPARE(testumgebung::lies(header), QByteArray("eigene"));
        if (vorher == "fifo") QVERIFY(!info.isFile() && info.exists());
        if (vorher == "link") QVERIFY(info.isSymLink() && !QFileInfo::exists(ordner + "nirgends.bmp"));
    }

    // A file where the program folder should be: the start ends before any setting is written.
    void programmOrdnerNichtAnlegbar() {
        testumgebung::UmgebungSichern sicher;
        const QString heim = testumgebung::wurzel() + "/heim-blockiert";
        testumgebung::schreibe(heim + "/Korvane", "datei");
        qputenv("HOME", QFile::encodeName(heim));
        qunsetenv("KORVANE_ORDNER");
        Zustand z;
        QVERIFY(!start::richteEin(z));
        QCOMPARE(
            testumgebung::dialoge().alleTexte(),
            (QStringList{"Ordner \"Korvane\" konnte nicht erstellt werden! ",
                         "Ordner: " + heim + "/Korvane/\" existiert nicht!  Das Programm wird beendet."}));
        QVERIFY(!QFile::exists(testumgebung::einstellungsDatei()));
        QCOMPARE(testumgebung::lies(heim + "/Korvane"), QByteArray("datei"));
    }

    // A store of an older Korvane without some entries: each reads as its first-start value, an
    // entry that is there keeps its own value, even when empty.
    void fehlendeEinstellungen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("gespeichert"); // invalid: the entry is missing
        QTest::addColumn<QString>("gelesen");
        QTest::newRow("Linie fehlt") << "LinieBeiNullUnterbrechen" << QVariant() << "1";
        QTest::newRow("Linie 0") << "LinieBeiNullUnterbrechen" << QVariant(0) << "0";
        QTest::newRow("Vorlage fehlt") << "Grafik" << QVariant() << "Vorlage.bmp";
        QTest::newRow("Uhrzeit fehlt") << "UhrzeitAbends" << QVariant() << "20:40";
        QTest::newRow("Uhrzeit leer") << "UhrzeitAbends" << QVariant("") << "";
        QTest::newRow("Ordner ohne Vorgabe") << "DatenSpeicherOrt" << QVariant() << "";
    }
    void fehlendeEinstellungen() {
        QFETCH(QString, name);
        QFETCH(QVariant, gespeichert);
        QFETCH(QString, gelesen);
        Zustand erst;
        QVERIFY(start::richteEin(erst));
        {
            QSettings roh(testumgebung::einstellungsDatei(), QSettings::NativeFormat);
            if (gespeichert.isValid())
                roh.setValue(name, gespeichert);
            else
                roh.remove(name);
        }
        QCOMPARE(Lies_String_aus_Registry_mit_Vorgabe(name), gelesen);
        Zustand z;
        QVERIFY(start::richteEin(z));
        if (name == "LinieBeiNullUnterbrechen") QCOMPARE(z.linieBeiNullUnterbrechen, gelesen == "1");
        if (name == "Grafik") QCOMPARE(z.grafikPfad, z.programmOrdner + gelesen);
    }

    // Settings that cannot be written are said once, naming the file; the start goes on.
    void einstellungenNichtSchreibbar() {
        const QString ordnerDerEinstellungen = QFileInfo(testumgebung::einstellungsDatei()).path();
        QDir(ordnerDerEinstellungen).removeRecursively();
        testumgebung::schreibe(ordnerDerEinstellungen, "eine Datei, wo der Ordner hingehört");
        Zustand z;
        const bool weiter = start::richteEin(z);
        QFile::remove(ordnerDerEinstellungen);
        QVERIFY(weiter);
        const QStringList warnungen = testumgebung::dialoge().texte(Art::Warnung);
        QCOMPARE(warnungen.size(), 1);
        QVERIFY(warnungen.first().contains(testumgebung::einstellungsDatei()));
    }

    void startAusAnderemOrdner_data() {
        QTest::addColumn<bool>("beibehalten");
        QTest::newRow("Ja behaelt") << true;
        QTest::newRow("Nein setzt zurueck") << false;
    }
    void startAusAnderemOrdner() {
        QFETCH(bool, beibehalten);
        Zustand erst;
        QVERIFY(start::richteEin(erst));
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
        Schreib_Integer_in_Registry(QStringLiteral("StiftBreite"), QStringLiteral("4"));

        // The same folder in other letter case asks nothing.
        const QString anders = testumgebung::neuerProgrammOrdner(QStringLiteral("anderer"));
        Zustand z;
        testumgebung::dialoge().fragen.push_back(beibehalten);
        QVERIFY(start::richteEin(z));
        QCOMPARE(testumgebung::dialoge().texte(Art::Frage),
                 QStringList{"Sie haben für das Programm \"Korvane\" bereits in einem anderen Ordner Daten "
                             "angelegt:\n\r\"" +
                             ordner +
                             "\"\n\rMöchten Sie diesen Speicherort für Ihre "
                             "Korvanedaten beibehalten?"});
        if (beibehalten) {
            QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Anna"));
            QCOMPARE(z.datenOrdner, ordner);
            // Asked again at the next start from there.
            testumgebung::dialoge().fragen.push_back(true);
            Zustand wieder;
            QVERIFY(start::richteEin(wieder));
            QCOMPARE(testumgebung::dialoge().texte(Art::Frage).size(), 2);
        } else {
            QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QString());
            QCOMPARE(Lies_Integer_aus_Registry(QStringLiteral("StiftBreite")), QStringLiteral("2"));
            QCOMPARE(Lies_String_aus_Registry(QStringLiteral("InstallOrt")), anders);
            QCOMPARE(z.datenOrdner, anders);
        }
    }

    void ordnerNamenAusEinstellungen_data() {
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("ordnerName");
        QTest::newRow("eigener name") << QStringLiteral("Daten") << QStringLiteral("Daten/");
        QTest::newRow("leer") << QString() << QStringLiteral("Korvane-Daten-Galerie/");
    }
    void ordnerNamenAusEinstellungen() {
        QFETCH(QString, wert);
        QFETCH(QString, ordnerName);
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(QStringLiteral("GalerieVerzeichnisName"), wert);
        QSettings(testumgebung::einstellungsDatei(), QSettings::IniFormat).remove(QStringLiteral("Browser"));
        Zustand z;
        QVERIFY(start::richteEin(z));
        QCOMPARE(z.tabellenOrdner, ordner + ordnerName);
        QVERIFY(QDir(z.tabellenOrdner).exists());
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("Browser")), QStringLiteral("standard"));
    }

    // Without a settings file (a run without a window) the folders and values are those a first
    // start would write, and nothing is created; a stored value wins.
    void ohneEinstellungsdatei() {
        Zustand z;
        z.programmOrdner = ordner;
        start::leseOrdner(z);
        QCOMPARE(z.htmlOrdner, ordner + QStringLiteral("Korvane-Daten im Browser/"));
        QCOMPARE(z.tabellenOrdner, ordner + QStringLiteral("Korvane-Daten-Galerie/"));
        QVERIFY(!QDir(z.htmlOrdner).exists());
        QVERIFY(!QFileInfo::exists(testumgebung::einstellungsDatei()));
        QCOMPARE(registry::mitStandard(QStringLiteral("PulsKurvenFarbe")), QStringLiteral("8388863"));
        QCOMPARE(registry::mitStandard(QStringLiteral("Unbekannt")), QString());
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Schreib_String_in_Registry(QStringLiteral("PulsKurvenFarbe"), QStringLiteral("255"));
        Schreib_String_in_Registry(QStringLiteral("DatenSpeicherOrt"), ordner + QStringLiteral("d"));
        QCOMPARE(registry::mitStandard(QStringLiteral("PulsKurvenFarbe")), QStringLiteral("255"));
        start::leseOrdner(z);
        QCOMPARE(z.htmlOrdner, ordner + QStringLiteral("d/Korvane-Daten im Browser/"));
    }

    // A plain file where the data folder should be: both messages, the end, nothing made.
    void ordnerNichtAnlegbar() {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        testumgebung::schreibe(ordner + QStringLiteral("blockiert"), "datei");
        Schreib_String_in_Registry(QStringLiteral("DatenSpeicherOrt"),
                                   ordner + QStringLiteral("blockiert/daten/"));
        Zustand z;
        QVERIFY(!start::richteEin(z));
        const QString pfad = ordner + QStringLiteral("blockiert/daten/Korvane-Daten-Galerie/");
        QCOMPARE(testumgebung::dialoge().alleTexte(),
                 (QStringList{"Ordner \"Korvane-Daten-Galerie/\" konnte nicht erstellt werden! ",
                              "Ordner: " + pfad + "\" existiert nicht!  Das Programm wird beendet."}));
        QCOMPARE(testumgebung::lies(ordner + QStringLiteral("blockiert")), QByteArray("datei"));
        QVERIFY(!QDir(ordner + QStringLiteral("Korvane-Daten im Browser")).exists());
    }

    // --- reading safely

    void nurGewoehnlicheDateien_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("fehler");
        QTest::newRow("datei") << "datei" << int(datei::Fehler::Keiner);
        QTest::newRow("fehlt") << "fehlt" << int(datei::Fehler::Fehlt);
        QTest::newRow("fifo") << "fifo" << int(datei::Fehler::KeineDatei);
        QTest::newRow("ordner") << "ordner" << int(datei::Fehler::KeineDatei);
        QTest::newRow("/dev/zero") << "/dev/zero" << int(datei::Fehler::KeineDatei);
        QTest::newRow("/dev/urandom") << "/dev/urandom" << int(datei::Fehler::KeineDatei);
        QTest::newRow("zu gross") << "gross" << int(datei::Fehler::ZuGross);
        QTest::newRow("ungueltiger pfad") << "kodierung" << int(datei::Fehler::UngueltigerPfad);
        QTest::newRow("kein pfad") << "leer" << int(datei::Fehler::Fehlt);
        QTest::newRow("nicht lesbar") << "gesperrt" << int(datei::Fehler::NichtLesbar);
    }
    // A FIFO or a device is refused at once, never read from: the test would hang otherwise.
    void nurGewoehnlicheDateien() {
        QFETCH(QString, art);
        QFETCH(int, fehler);
        QString pfad = ordner + art;
        if (art == "datei") testumgebung::schreibe(pfad, "Morgens\r\n");
        if (art == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        if (art == "ordner") QVERIFY(QDir().mkpath(pfad));
        if (art.startsWith(u'/')) pfad = art;
        if (art == "gross") testumgebung::schreibe(pfad, QByteArray(101, 'x'));
        if (art == "kodierung") pfad = ordner + QStringLiteral("name\uFFFD.tab");
        if (art == "leer") pfad.clear();
        if (art == "gesperrt") {
            testumgebung::schreibe(pfad, "x");
            QFile::setPermissions(pfad, QFileDevice::Permissions());
            if (::access(QFile::encodeName(pfad).constData(), R_OK) == 0) QSKIP("root reads every file");
        }
        const datei::Gelesen g = datei::lies(pfad, 100);
        QCOMPARE(int(g.fehler), fehler);
        QCOMPARE(int(datei::pruefe(pfad, 100)), fehler == int(datei::Fehler::NichtLesbar) ? 0 : fehler);
        if (g.ok()) {
            QCOMPARE(g.inhalt, QByteArray("Morgens\r\n"));
            QVERIFY(g.meldung.isEmpty());
        } else {
            QVERIFY2(g.meldung.contains(u'"' + pfad + u'"'), qPrintable(g.meldung));
            QVERIFY(g.meldung.startsWith(QStringLiteral("Die ")) || g.meldung.startsWith(QStringLiteral("Der ")) || g.meldung.startsWith(u'"'));
            QVERIFY(g.inhalt.isEmpty());
        }
        // The table readers say the same, with the file named.
        QString meldung;
        QVERIFY(textdatei::liesZeilen(pfad, 100, &meldung).has_value() == g.ok());
        QCOMPARE(meldung, g.meldung);
    }

    // What an interrupted save left beside a table goes at the next save of that table; a user's
    // own files beside it stay, however their names look.
    void resteEinesAbgebrochenenSpeicherns() {
        Zustand z = annasMaerz(ordner);
        const QString jahr = z.tabellenOrdner + QStringLiteral("2024/");
        QDir().mkpath(jahr);
        const QStringList reste{".Anna_03_2024.tab.k", ".Anna_03_2024.tab.k.ShNVEz", ".Anna_03_2024.tab.k.A1b2C3"};
        const QStringList bleiben{"Anna_03_2024.tab.backup", "Anna_03_2024.tab.ShNVEz", ".Anna_03_2024.tab.k.zu-lang7",
                                  ".Anna_03_2024.tab.kopie", ".Anna_03_2024.txt.k", "Bert_03_2024.tab.ShNVEz"};
        for (const QString& n : reste + bleiben)
            testumgebung::schreibe(jahr + n, "halb");
        // A leftover that is a link goes itself; what it points to stays.
        testumgebung::schreibe(ordner + QStringLiteral("ziel"), "fremd");
        QVERIFY(QFile::link(ordner + QStringLiteral("ziel"), jahr + QStringLiteral(".Anna_03_2024.tab.k.Link01")));
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        QStringList da = QDir(jahr).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        da.sort();
        QStringList erwartet = bleiben + QStringList{"Anna_03_2024.tab"};
        erwartet.sort();
        QCOMPARE(da, erwartet);
        QCOMPARE(testumgebung::lies(ordner + QStringLiteral("ziel")), QByteArray("fremd"));
    }

    // A link where a table belongs is replaced by the table, never written through: nothing is
    // written outside the year folder, even where the link points nowhere yet.
    void linkAnStelleDerTabelle() {
        Zustand z = annasMaerz(ordner);
        const QString jahr = z.tabellenOrdner + QStringLiteral("2024/");
        QDir().mkpath(jahr);
        const QString draussen = testumgebung::wurzel() + QStringLiteral("/draussen-geschrieben.tab");
        QFile::remove(draussen);
        QVERIFY(QFile::link(draussen, jahr + QStringLiteral("Anna_03_2024.tab")));
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        QVERIFY(!QFile::exists(draussen));
        QVERIFY(!QFileInfo(jahr + QStringLiteral("Anna_03_2024.tab")).isSymLink());
        QVERIFY(testumgebung::lies(jahr + QStringLiteral("Anna_03_2024.tab")).contains("Morgens den 05.03.2024"));
    }

    // The table keeps who may read it.
    void rechteBleiben() {
        Zustand z = annasMaerz(ordner);
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        QVERIFY(QFile::setPermissions(z.TabellenDateiName, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        z.ListBox1 << QStringLiteral("Abends den 05.03.2024 Z=20:40 s=128, d=85, p=66, Gewicht=0");
        QVERIFY(schreibeTabelle(z, Schreibart::GrafikZeigen));
        const QFileDevice::Permissions rechte = QFile::permissions(z.TabellenDateiName);
        QVERIFY(rechte.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(!(rechte & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
    }

    void einstellungsSperreVonAbgebrochenemSpeichern_data() {
        QTest::addColumn<QString>("sperre");
        QTest::addColumn<QByteArray>("inhalt");
        QTest::newRow("leere sperre") << ".lock" << QByteArray();
        QTest::newRow("sperre eines toten prozesses") << ".lock" << QByteArray("999999\nkorvane\nhost\n");
        QTest::newRow("leere entfernsperre") << ".lock.rmlock" << QByteArray();
    }
    // A kill during a settings save leaves its lock; the next write must not wait 30 s for it.
    void einstellungsSperreVonAbgebrochenemSpeichern() {
        QFETCH(QString, sperre);
        QFETCH(QByteArray, inhalt);
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        const QString datei = testumgebung::einstellungsDatei();
        testumgebung::schreibe(datei + sperre, inhalt);
        if (sperre.endsWith("rmlock")) testumgebung::schreibe(datei + ".lock", QByteArray());
        QElapsedTimer uhr;
        uhr.start();
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
        // Generous: the fault waited 30 s; a second per lock is what may pass.
        QVERIFY2(uhr.elapsed() < 8000, qPrintable(QString::number(uhr.elapsed())));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("BenutzerName")), QStringLiteral("Anna"));
        QVERIFY(!QFile::exists(datei + sperre));
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
        QCOMPARE(Schreib_Integer_in_Registry(QStringLiteral("StiftBreite"), text), danach != "2");
        QCOMPARE(Lies_Integer_aus_Registry(QStringLiteral("StiftBreite")), danach);
    }

    void einstellungsdateiUnbrauchbar_data() {
        QTest::addColumn<QString>("art");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("ordner") << "ordner";
        QTest::newRow("zu gross") << "gross";
    }
    // Neither read (a FIFO would hang) nor replaced; the start ends with a message.
    void einstellungsdateiUnbrauchbar() {
        QFETCH(QString, art);
        const QString datei = testumgebung::einstellungsDatei();
        QDir().mkpath(QFileInfo(datei).path());
        if (art == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(datei).constData(), 0600), 0);
        if (art == "ordner") QVERIFY(QDir().mkpath(datei));
        if (art == "gross") testumgebung::schreibe(datei, QByteArray(2 * 1024 * 1024, '#'));
        QCOMPARE(Lies_String_aus_Registry(QStringLiteral("InstallOrt")), QString());
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
        Zustand z;
        QVERIFY(!start::richteEin(z));
        const QStringList texte = testumgebung::dialoge().alleTexte();
        QCOMPARE(texte.size(), 1);
        QVERIFY2(texte.first().contains(datei) && texte.first().endsWith("Das Programm wird beendet."),
                 qPrintable(texte.first()));
        QCOMPARE(QFileInfo(datei).isDir(), art == "ordner");
        QCOMPARE(QFileInfo(datei).size() == 2 * 1024 * 1024, art == "gross");
        QDir(datei).removeRecursively();
        QFile::remove(datei);
    }

    // A signal while the data-folder question waits is no "Nein": nothing is reset.
    void signalWaehrendDerOrdnerfrage() {
        Zustand erst;
        QVERIFY(start::richteEin(erst));
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
        const QByteArray vorher = testumgebung::lies(testumgebung::einstellungsDatei());
        testumgebung::neuerProgrammOrdner(QStringLiteral("woanders"));
        testumgebung::dialoge().waehrendDesWartens = [] { beenden::verlangen(1); };
        Zustand z;
        const bool weiter = start::richteEin(z);
        beenden::zuruecksetzen();
        QVERIFY(!weiter);
        QCOMPARE(testumgebung::dialoge().texte(Art::Frage).size(), 1);
        QCOMPARE(testumgebung::lies(testumgebung::einstellungsDatei()), vorher);
    }

    // --- what a reading line may hold

    void zeilenPruefung_data() {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<int>("art"); // Zeilenfehler::Art
        QTest::addColumn<QString>("text");
        const QString a = QStringLiteral("Morgens den 05.03.2024 Z=07:30 ");
        QTest::newRow("gut") << a + "s=140, d=90, p=70, Gewicht=72,5" << 0 << "";
        QTest::newRow("ohne gewicht") << a + "s=140, d=90, p=70" << 0 << "";
        QTest::newRow("zwei dezimalen alter dateien") << a + "s=140, d=90, p=70, Gewicht=72,55" << 0 << "";
        QTest::newRow("monat 13") << "Morgens den 05.13.2024 Z=07:30 s=1, d=1, p=1, Gewicht=0" << 2
                                  << "\"13\" ist kein gültiger Monat (01 bis 12).";
        QTest::newRow("monat 00") << "Morgens den 05.00.2024 Z=07:30 s=1, d=1, p=1, Gewicht=0" << 2
                                  << "\"00\" ist kein gültiger Monat (01 bis 12).";
        QTest::newRow("monat einstellig") << "Morgens den 05.3.2024 Z=07:30 s=1, d=1, p=1, Gewicht=0" << 2
                                          << "\"3\" ist kein gültiger Monat (01 bis 12).";
        QTest::newRow("jahr mit pfad") << "Morgens den 05.03./../../tmp/x Z=07:30 s=1, d=1, p=1" << 2
                                       << "\"/../../tmp/x\" ist keine gültige Jahreszahl (vier Ziffern).";
        QTest::newRow("ohne datum") << "Morgens den Z=07:30 s=1, d=1, p=1" << 2
                                    << "\"\" ist kein gültiger Monat (01 bis 12).";
        QTest::newRow("tab") << a + "s=140,\td=90, p=70" << 2 << "Die Zeile enthält ein Steuerzeichen (\\x09).";
        QTest::newRow("zu lang") << a + "s=140, d=90, p=70, Gewicht=0" + QString(1000, u' ') << 2
                                 << "Die Zeile ist mit 1059 Zeichen zu lang für eine Messzeile.";
        QTest::newRow("keine zahl") << a + "s=14x, d=90, p=70" << 1 << "\"14x\" ist kein gültiger Ganzzahlwert.";
        QTest::newRow("riesig") << a + "s=2147483648, d=90, p=70" << 1
                                << "\"2147483648\" ist kein gültiger Ganzzahlwert.";
        QTest::newRow("vierstellig") << a + "s=1000, d=90, p=70" << 1 << "\"1000\" liegt nicht zwischen 0 und 999.";
        QTest::newRow("negativ") << a + "s=140, d=-5, p=70" << 1 << "\"-5\" liegt nicht zwischen 0 und 999.";
        QTest::newRow("gewicht nan") << a + "s=1, d=1, p=1, Gewicht=nan" << 1
                                     << "\"nan\" ist kein gültiger Gleitkommawert.";
        QTest::newRow("gewicht inf") << a + "s=1, d=1, p=1, Gewicht=inf" << 1
                                     << "\"inf\" ist kein gültiger Gleitkommawert.";
        QTest::newRow("gewicht 9.2e18") << a + "s=1, d=1, p=1, Gewicht=9.2e18" << 1
                                        << "\"9.2e18\" ist kein gültiger Gleitkommawert.";
        QTest::newRow("gewicht 19 stellen") << a + "s=1, d=1, p=1, Gewicht=9200000000000000000" << 1
                                            << "\"9200000000000000000\" ist kein gültiger Gleitkommawert.";
        QTest::newRow("gewicht 311") << a + "s=1, d=1, p=1, Gewicht=311" << 1
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
            QCOMPARE(m->monat, QStringLiteral("03"));
            QCOMPARE(m->jahr, QStringLiteral("2024"));
            QVERIFY(m->gewicht >= 0 && m->gewicht <= 310);
        }
    }

    void pfadeBleibenImJahrOrdner_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("monat");
        QTest::addColumn<QString>("jahr");
        QTest::addColumn<bool>("gueltig");
        QTest::newRow("gut") << "Anna" << "03" << "2024" << true;
        QTest::newRow("monat mit pfad") << "Anna" << "/x/" << "2024" << false;
        QTest::newRow("jahr aufwaerts") << "Anna" << "03" << "../.." << false;
        QTest::newRow("jahr absolut") << "Anna" << "03" << "/tmp" << false;
        QTest::newRow("jahr NUL") << "Anna" << "03" << QStringLiteral("20") + QChar(0) + QStringLiteral("4") << false;
        QTest::newRow("name aufwaerts") << "../x" << "03" << "2024" << false;
    }
    void pfadeBleibenImJahrOrdner() {
        QFETCH(QString, name);
        QFETCH(QString, monat);
        QFETCH(QString, jahr);
        QFETCH(bool, gueltig);
        Zustand z = zustandIn(ordner);
        auto tabellen = [] {
            QStringList liste;
            for (QDirIterator it(testumgebung::wurzel(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
                liste << it.next();
            return liste;
        };
        const QStringList vorher = tabellen();
        const QString pfad = tabellenPfad(z, name, monat, jahr);
        QCOMPARE(!pfad.isEmpty(), gueltig);
        QCOMPARE(bemerkungsPfad(z, name, monat, jahr).isEmpty(), !gueltig);
        if (gueltig) QCOMPARE(QFileInfo(pfad).absolutePath(), QDir::cleanPath(z.tabellenOrdner + jahr));
        z.benutzerName = name;
        z.monatText = monat;
        z.jahrText = jahr;
        z.ListBox1 = {QStringLiteral("Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=0")};
        QCOMPARE(schreibeTabelle(z, Schreibart::Aufnehmen), gueltig);
        QStringList neu;
        for (const QString& d : tabellen())
            if (!vorher.contains(d)) neu << d;
        QCOMPARE(neu, gueltig ? QStringList{pfad} : QStringList());
    }

    // --- writing: never from a partial picture, never what would not read back

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
        for (int tag = 1; tag <= 5; ++tag)
            for (const char* slot : {"Morgens", "Abends"})
                z.ListBox1 << QStringLiteral("%1 den %2.03.2024 Z=%3 s=%4, d=%5, p=%6, Gewicht=0")
                                  .arg(QLatin1String(slot))
                                  .arg(tag, 2, 10, QLatin1Char('0'))
                                  .arg(QLatin1String(slot[0] == 'M' ? "07:30" : "20:00"))
                                  .arg(120 + tag)
                                  .arg(80 + tag)
                                  .arg(60 + tag);
        z.ListBox1.removeFirst(); // annasMaerz's own line
        QCOMPARE(z.ListBox1.size(), 10);
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        const QString pfad = z.TabellenDateiName;
        const QByteArray vorher = testumgebung::lies(pfad);

        // "Neu erstellen": an empty list that comes from no file, then one add.
        z.ListBox1 = {neu};
        z.listenDatei.clear();
        QCOMPARE(schreibeTabelle(z, Schreibart::Aufnehmen), meldung.isEmpty());
        const auto a = liesZurAnzeige(pfad, nullptr);
        QVERIFY(a);
        QCOMPARE(a->messungen.size(), lesungen);
        if (!meldung.isEmpty()) {
            QCOMPARE(testumgebung::lies(pfad), vorher);
            QVERIFY(testumgebung::dialoge().texte(Art::Warnung).join(u'|').contains(meldung));
        }
    }

    // A table that cannot be read is not written over from a list that lacks its readings.
    void unlesbareTabelleWirdNichtUeberschrieben() {
        Zustand z = annasMaerz(ordner);
        const QString pfad = z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab");
        const QByteArray kaputt = testumgebung::lies(testumgebung::testdaten(QStringLiteral("feindlich/jahr_nul.tab")));
        testumgebung::schreibe(pfad, kaputt);
        QVERIFY(!schreibeTabelle(z, Schreibart::Aufnehmen));
        QCOMPARE(testumgebung::lies(pfad), kaputt);
        QVERIFY(testumgebung::dialoge()
                    .texte(Art::Warnung)
                    .value(0)
                    .contains(QStringLiteral("nicht überschrieben")));
    }

    void eintragDerNichtZuruecklesbarIst_data() {
        QTest::addColumn<QString>("eintrag");
        QTest::addColumn<QString>("grund");
        QTest::newRow("tab im gewicht")
            << "Morgens den \t05.03.2024 \tZ=07:30 \ts=140, \td=90, \tp=70, \tGew\ticht=7x" << "Tabulatorzeichen";
        QTest::newRow("kein wert") << "Morgens den 05.03.2024 Z=07:30 s=, d=90, p=70, Gewicht=0"
                                   << "\"\" ist kein gültiger Ganzzahlwert.";
        QTest::newRow("gewicht zu hoch") << "Abends den 05.03.2024 Z=07:30 s=1, d=90, p=70, Gewicht=725"
                                         << "höchstens 310 Kilogramm";
        QTest::newRow("keine messzeile") << "morgens den 05.03.2024 Z=07:30 s=1, d=90, p=70" << "keine Messzeile";
    }
    void eintragDerNichtZuruecklesbarIst() {
        QFETCH(QString, eintrag);
        QFETCH(QString, grund);
        Zustand z = annasMaerz(ordner);
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
        const QByteArray vorher = testumgebung::lies(z.TabellenDateiName);
        z.ListBox1 << eintrag;
        QVERIFY(!schreibeTabelle(z, Schreibart::GrafikZeigen));
        QCOMPARE(testumgebung::lies(z.TabellenDateiName), vorher);
        const QString text = testumgebung::dialoge().texte(Art::Warnung).value(0);
        QVERIFY2(text.contains(grund) && text.contains("nicht geschrieben"), qPrintable(text));
    }

    // One broken value does not keep the table from the entry dialog: it is listed to be
    // corrected, and the message names file and line.
    void kaputterWertWirdZumKorrigierenGelesen() {
        Zustand z = zustandIn(ordner);
        QVERIFY(
            liesZumBearbeiten(z, testumgebung::testdaten(QStringLiteral("kaputt_wert.tab")), KopfLesen::Ja));
        QCOMPARE(z.ListBox1.size(), 2);
        QVERIFY(z.ListBox1.at(1).contains(QStringLiteral("s=12a,")));
        QCOMPARE(z.monatText, QStringLiteral("03"));
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung),
                 QStringList{
                     "kaputt_wert.tab, Zeile 10: \"12a\" ist kein gültiger Ganzzahlwert. Bitte korrigieren "
                     "oder löschen Sie den Eintrag mit \"Eintrag bearbeiten\"."});
        // Written back as it stands it is refused; without it the table is written.
        z.benutzerName = QStringLiteral("Anna");
        QVERIFY(!schreibeTabelle(z, Schreibart::Aufnehmen));
        z.ListBox1.removeAt(1);
        QVERIFY(schreibeTabelle(z, Schreibart::Aufnehmen));
    }

    // The table in use is compared as the file system compares: "anna_03_2024.tab" is another
    // file than "Anna_03_2024.tab", so Anna's table is filed under its own name.
    void ablageBeachtetGrossschreibung() {
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        Zustand z = zustandIn(ordner);
        const QString klein = z.tabellenOrdner + QStringLiteral("2024/anna_03_2024.tab");
        const QByteArray inhalt = testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
        testumgebung::schreibe(klein, inhalt);
        nimmTabelleAuf(z, klein, QStringLiteral("Anna"), QStringLiteral("03"), QStringLiteral("2024"));
        QCOMPARE(z.TabellenDateiName, z.tabellenOrdner + QStringLiteral("2024/Anna_03_2024.tab"));
        QCOMPARE(testumgebung::lies(z.TabellenDateiName), inhalt);
        QVERIFY(gleicheDatei(klein, klein));
        QVERIFY(!gleicheDatei(klein, z.TabellenDateiName));
    }

private:
    QString ordner;
};

KORVANE_TEST_MAIN(TestStorage)
#include "test_storage.moc"
