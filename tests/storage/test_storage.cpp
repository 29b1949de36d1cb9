// Month table file, text files, settings store and start-up folders.
#include "testumgebung.h"

#include "platform/textdatei.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"

#include <QDir>
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
        QCOMPARE(*textdatei::liesZeilen(pfad), zeilen);
        QVERIFY(!textdatei::liesZeilen(ordner + QStringLiteral("fehlt.txt")));
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
        QTest::newRow("keine zahl") << QStringLiteral("kaputt_wert.tab")
                                    << QStringLiteral("\"12a\" ist kein gültiger Ganzzahlwert.");
        QTest::newRow("name mit schraegstrich")
            << QStringLiteral("kaputt_name.tab") << QStringLiteral("Der Benutzername »../../ausbruch«");
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
        QCOMPARE(fehler, QStringLiteral("\"12a\" ist kein gültiger Ganzzahlwert."));
        QVERIFY(!liesZurAnzeige(ordner + QStringLiteral("fehlt.tab"), &fehler));
        QCOMPARE(fehler,
                 QStringLiteral("Fehler beim Lesen der Datei: ") + ordner + QStringLiteral("fehlt.tab"));
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
                                       << "/d/x.tab.txt";
    }
    void bemerkungsNamen() {
        QFETCH(QString, tabelle);
        QFETCH(QString, bemerkungen);
        QCOMPARE(bemerkungsPfadZu(tabelle), bemerkungen);
    }

    void bemerkungenSpeichernUndLaden() {
        const QString pfad = ordner + QStringLiteral("b.txt");
        QCOMPARE(bemerkungen::laden(pfad), QString());
        QVERIFY(bemerkungen::speichern(pfad, QStringLiteral("Erste Zeile\nzweite mit ä")));
        QCOMPARE(testumgebung::lies(pfad), QByteArray("Erste Zeile\r\nzweite mit \xe4\r\n"));
        QCOMPARE(bemerkungen::laden(pfad), QStringLiteral("Erste Zeile\nzweite mit ä"));
        // Characters the file cannot hold are warned about, the rest is kept.
        QVERIFY(bemerkungen::speichern(pfad, QStringLiteral("Blutdruck ↑")));
        QCOMPARE(testumgebung::lies(pfad), QByteArray("Blutdruck ?\r\n"));
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung).size(), 1);
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

private:
    QString ordner;
};

KORVANE_TEST_MAIN(TestStorage)
#include "test_storage.moc"
