// The HTML chart page: its lines for the month's cases, the files it writes, the page in a browser.
#include "testumgebung.h"

#include "app/programmstart.h"
#include "chart/tmonatsgrafik.h"
#include "export/html/browserstart.h"
#include "export/html/htmlexport.h"
#include "export/html/thtmlseite.h"
#include "platform/browser.h"
#include "platform/shell.h"
#include "platform/textdatei.h"
#include "settings/browserwahl.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::StringLiterals;
using Art = TestDialoge::Art;

namespace {

struct Lesung {
    int tag, sys, dia, puls;
};

// A month with the readings, the means as a drawing computes them and the first-start settings.
THtmlSeite::Daten monat(const QList<Lesung>& lesungen, QDate erster = QDate(2024, 3, 1)) {
    THtmlSeite::Daten d;
    d.monatText = erster.toString(u"MM");
    d.jahrText = QString::number(erster.year());
    d.monatName = monatstabelle::GibMonatLang(erster.month());
    d.benutzerName = u"Anna"_s;
    const auto tagWert = [](int tag, int wert) {
        return u"%1_%2"_s.arg(tag, 2, 10, QLatin1Char('0')).arg(wert);
    };
    QStringList sys, dia, puls;
    for (const Lesung& l : lesungen) {
        d.tagesWerteSys << tagWert(l.tag, l.sys);
        d.tagesWerteDia << tagWert(l.tag, l.dia);
        d.tagesWertePuls << tagWert(l.tag, l.puls);
        sys << QString::number(l.sys), dia << QString::number(l.dia), puls << QString::number(l.puls);
    }
    const auto mittel = TMonatsGrafik::berechneMittelwerte(sys, dia, puls).texte;
    d.mittelSys = mittel.sys, d.mittelDia = mittel.dia, d.mittelPuls = mittel.puls;
    htmlexport::leseEinstellungen(d);
    return d;
}

QList<Lesung> tage(int von, int bis, int sys = 130) {
    QList<Lesung> l;
    for (int t = von; t <= bis; ++t)
        l << Lesung{t, sys, 80, 70};
    return l;
}

// The line after the first line starting with anfang.
QString danach(const QStringList& z, const QString& anfang, int abstand = 1) {
    for (qsizetype i = 0; i + abstand < z.size(); ++i)
        if (z.at(i).startsWith(anfang)) return z.at(i + abstand);
    return {};
}

// Files: the path and the content.
using Dateien = QList<QPair<QString, QByteArray>>;

// Desktop entries: {where ("sys/firefox.desktop"), Name, Exec, and the lines after them if not
// just Categories=Network;WebBrowser;}.
using Eintraege = QList<QStringList>;

// $XDG_DATA_HOME ("home") and the last $XDG_DATA_DIRS ("sys") in a temporary folder, holding the
// entries as desktops write them (a localized name, an action group whose keys must not count).
struct XdgOrdner {
    QTemporaryDir wurzel;
    QByteArray home = qgetenv("XDG_DATA_HOME"), dirs = qgetenv("XDG_DATA_DIRS");
    explicit XdgOrdner(const Eintraege& eintraege) {
        qputenv("XDG_DATA_HOME", QFile::encodeName(wurzel.path() + u"/home"_s));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(wurzel.path() + u"/leer:"_s + wurzel.path() + u"/sys"_s));
        for (const QStringList& e : eintraege) {
            const QString wo = e[0].section(u'/', 0, 0) + u"/applications/"_s + e[0].section(u'/', 1);
            const QString text = u"[Desktop Entry]\nVersion=1.0\nType=Application\nName="_s + e[1] +
                                 u"\nName[de]=Anderer Name\nExec="_s + e[2] + u'\n' +
                                 e.value(3, u"Categories=Network;WebBrowser;"_s) +
                                 u"\n\n[Desktop Action neu]\nName=Neues Fenster\nExec=anderes --neu\n"_s;
            testumgebung::schreibe(wurzel.path() + u'/' + wo, text.toUtf8());
        }
    }
    ~XdgOrdner() {
        qputenv("XDG_DATA_HOME", home);
        qputenv("XDG_DATA_DIRS", dirs);
    }
};

} // namespace

Q_DECLARE_METATYPE(Lesung)

class TestHtml : public QObject {
    Q_OBJECT

    QString ordner; // a fresh program and data folder per test function

    htmlexport::Ziel ziel() const {
        const QString seiten = ordner + u"Korvane-Daten im Browser/2024"_s;
        return {seiten + u"/Anna_03_2024.html"_s, seiten, ordner};
    }
    // The folders of a first start, in this test's program folder.
    Zustand zustand() const {
        Zustand z;
        z.programmOrdner = z.datenOrdner = ordner;
        z.tabellenOrdner = ordner + u"Korvane-Daten-Galerie/"_s;
        z.htmlOrdner = ordner + u"Korvane-Daten im Browser/"_s;
        return z;
    }

private Q_SLOTS:
    void init() {
        ordner = testumgebung::neuerProgrammOrdner(QString::fromLatin1(QTest::currentTestFunction()));
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        testumgebung::dialoge().leeren();
    }
    void cleanup() { QCOMPARE(testumgebung::dialoge().unerwartet, QStringList()); }

    // Every byte of a page for days 1 to 10: Windows-1252, CR LF, no BOM, user name and remarks escaped.
    void seiteTage1bis10() {
        QList<Lesung> l;
        for (int t = 1; t <= 10; ++t)
            l << Lesung{t, 120 + t, 80, 70};
        THtmlSeite::Daten d = monat(l);
        d.benutzerName = u"Anna & <Bert>"_s;
        d.bemerkungen = QStringList{u"Blutdruck <script>alert(\"x\")</script>"_s, QString(), u"\t \t"_s,
                                    u"a\tb"_s, u"\teingerückt & 'zitiert'"_s};
        THtmlSeite seite(d);
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(seite, ziel());
        QVERIFY(e.seiteGeschrieben && e.skriptDa);

        QString soll =
            QString::fromUtf8(testumgebung::lies(testumgebung::testdaten(u"html/tage_1_bis_10.html"_s)));
        const QByteArray ist = testumgebung::lies(ziel().seitenDatei);
        QCOMPARE(ist, textdatei::nachWin1252(soll.replace(u"\n"_s, u"\r\n"_s)));
        QVERIFY(testumgebung::dialoge().alleTexte().isEmpty());
    }

    // Which groups of the month have data decides the note, canvases, onload line and the rest's labels.
    void gruppen_data() {
        QTest::addColumn<QList<Lesung>>("lesungen"); // none: every day of the month
        QTest::addColumn<QDate>("erster");
        QTest::addColumn<QString>("fehlen");    // the note's groups; empty: no note
        QTest::addColumn<QString>("diagramme"); // the line charts drawn; empty: none, nor the bar
        QTest::addColumn<QString>("schluss");   // after the bar's canvas
        QTest::addColumn<QString>("rest");      // the labels of day 29 on; empty: no labels line
        const QDate maerz(2024, 3, 1);
        const QString maerzRest = u"'Fr.29.03.2024' ,'Sa.30.03.24' ,'So.31.03.24' ,"_s, alle = u"123"_s;
        const QList<Lesung> ganz;
        QTest::newRow("31 Tage") << ganz << maerz << QString() << alle << u"   "_s << maerzRest;
        QTest::newRow("nur 15-28") << tage(15, 28) << maerz << u"1-14 , 29-31"_s << u"2"_s << u"   "_s
                                   << maerzRest;
        QTest::newRow("1-14 und 29-31")
            << tage(1, 3) + tage(30, 30) << maerz << u"  15-28"_s << u"13"_s << u"   "_s << maerzRest;
        QTest::newRow("nur Nullen") << QList<Lesung>{{5, 0, 0, 0}} << maerz << u"1-14 , 15-28 , 29-31"_s
                                    << QString() << QString() << maerzRest;
        QTest::newRow("28 Tage, 15-28 leer")
            << tage(1, 14) << QDate(2023, 2, 1) << u"  15-28"_s << u"1"_s << u" "_s << QString();
        QTest::newRow("29 Tage, 29 leer") << tage(1, 28) << QDate(2024, 2, 1) << u"  29-31"_s << u"12"_s
                                          << u"   "_s << u"'Do.29.02.2024' ,"_s;
        QTest::newRow("30 Tage") << ganz << QDate(2024, 4, 1) << QString() << alle << u"   "_s
                                 << u"'Mo.29.04.2024' ,'Di.30.04.24' ,"_s;
        QTest::newRow("1900 kein Schaltjahr")
            << ganz << QDate(1900, 2, 1) << QString() << u"12"_s << u"   "_s << QString();
        QTest::newRow("Dezember 1999") << ganz << QDate(1999, 12, 1) << QString() << alle << u"   "_s
                                       << u"'Mi.29.12.1999' ,'Do.30.12.99' ,'Fr.31.12.99' ,"_s;
    }
    void gruppen() {
        QFETCH(QList<Lesung>, lesungen);
        QFETCH(QDate, erster);
        QFETCH(QString, fehlen);
        QFETCH(QString, diagramme);
        QFETCH(QString, rest);
        const QStringList z =
            THtmlSeite(monat(lesungen.isEmpty() ? tage(1, erster.daysInMonth()) : lesungen, erster)).Zeilen();
        QCOMPARE(danach(z, u"function createConfig3("_s),
                 rest.isEmpty() ? u"datasets: [{label: 'Systole',"_s : u"labels: ["_s + rest + u"], "_s);
        const auto leinwand = [](QChar n) {
            return u"<div class=\"chart-container\"><canvas id=\"diagramm%1\"></canvas></div>"_s.arg(n);
        };
        const QString eintrag[] = {u"{id: 'diagramm1',config: createConfig()}"_s,
                                   u"{id: 'diagramm2',\tconfig: createConfig2()}"_s,
                                   u"{id: 'diagramm3',config: createConfig3()}"_s};
        QStringList block, canvas, onload;
        if (!fehlen.isEmpty())
            block << u"<center><h1>[Es fehlen Daten der Tagesgruppe: "_s + fehlen << u"]</h1></center>"_s;
        for (const QChar n : diagramme)
            canvas << leinwand(n), onload << eintrag[n.digitValue() - 1];
        if (!diagramme.isEmpty()) {
            QFETCH(QString, schluss);
            block << u"<div class=\"container\">"_s + canvas.join(QString()) + u' '
                  << leinwand(u'4') + schluss;
        }
        block << u"</div><script>"_s;
        QCOMPARE(z.mid(6, block.size()), block);
        // No onload line without a chart, nor the closing of one.
        QCOMPARE(danach(z, u"function createPointStyleConfig(colorName) {var config = createConfig4("_s)
                     .section(u"  ]"_s, 0, 0),
                 diagramme.isEmpty() ? u"</script>"_s
                                     : u"window.onload = function() {["_s + onload.join(u", "_s) +
                                           u",{id: 'diagramm4',config: createConfig4()}"_s);
    }

    // The page's small conversions: German weekdays whatever the locale, the y axis' top
    // Round(highest / 10) * 10 + 10 with halves to even, text as HTML, the page's file name, and a
    // day's means of several readings (each run of a day's entries on its own, the last counting).
    void umwandlung_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("ein");
        QTest::addColumn<QString>("aus");
        QTest::newRow("Sonntag") << u"Wochentag"_s << u"03.03.2024"_s << u"So."_s;
        QTest::newRow("zweistellig") << u"Wochentag"_s << u"01.03.24"_s << u"Fr."_s;
        QTest::newRow("kein Datum") << u"Wochentag"_s << u"31.04.2024"_s << u""_s;
        for (const char* f : {"125 130", "135 150", "0 10", "129 140", "131 140", "145 150", "155 170"})
            QTest::newRow(f) << u"YMaximum"_s << QString::fromLatin1(f).section(u' ', 0, 0)
                             << QString::fromLatin1(f).section(u' ', 1);
        QTest::newRow("Windows-1252 bleibt") << u"HtmlText"_s << u"Müller €"_s << u"Müller €"_s;
        QTest::newRow("sonst Zeichenreferenz") << u"HtmlText"_s << u"Ω 😀"_s << u"&#937; &#128512;"_s;
        QTest::newRow("gewoehnlich") << u"Seite"_s << u"/d/Korvane-Daten-Galerie/2024/Anna_03_2024.tab"_s
                                     << u"Anna_03_2024.html"_s;
        QTest::newRow("grosse Endung") << u"Seite"_s << u"/d/x.TAB"_s << u"x.html"_s;
        QTest::newRow("Ordner mit .tab")
            << u"Seite"_s << u"/d.tab/Anna_03_2024.tab"_s << u"Anna_03_2024.html"_s;
        QTest::newRow("ohne Endung") << u"Seite"_s << u"/d/Anna"_s << u"Anna.html"_s;
        QTest::newRow("128 und 129 -> 129") << u"Tagesmittel"_s << u"05_128 05_129"_s << u"129/0"_s;
        QTest::newRow("128,33 -> 128") << u"Tagesmittel"_s << u"05_128 05_128 05_129"_s << u"128/0"_s;
        QTest::newRow("eine Null zaehlt mit") << u"Tagesmittel"_s << u"05_0 05_131"_s << u"66/0"_s;
        QTest::newRow("spaeterer Lauf allein") << u"Tagesmittel"_s << u"05_100 06_120 05_140"_s << u"140/0"_s;
        QTest::newRow("kein Wert") << u"Tagesmittel"_s << u"06_120"_s << u"0/0"_s;
    }
    void umwandlung() {
        QFETCH(QString, art);
        QFETCH(QString, ein);
        const QLocale vorher;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        THtmlSeite::Daten d;
        d.tagesWerteSys = ein.split(u' ');
        THtmlSeite s(d);
        if (art == u"Tagesmittel") s.GibDieTagesMittelwerte();
        const QString aus = art == u"Wochentag"  ? THtmlSeite::GibWochentagKurz(ein)
                            : art == u"YMaximum" ? QString::number(THtmlSeite::YMaximum(ein.toInt()))
                            : art == u"HtmlText" ? THtmlSeite::HtmlText(ein)
                            : art == u"Seite"
                                ? htmlexport::seitenDateiName(ein)
                                : s.TagesMittelTexte[0][5] + u'/' + s.TagesMittelTexte[1][5] + s.fehler();
        QLocale::setDefault(vorher);
        QTEST(aus, "aus");
    }

    // The bar: means rounded half up, their grade and colour; means no reading gives add a note.
    void mittelwerte_data() {
        QTest::addColumn<int>("sys"); // shown; the page gets half a unit less
        QTest::addColumn<int>("dia"); // shown; the page gets 0,4 more
        QTest::addColumn<QString>("grad");
        QTest::addColumn<QString>("farbe");
        QTest::addColumn<QString>("hinweis"); // empty: none
        const QString g3 = u"Grad 3 Hypertonie (schwerer Bluthochdruck)"_s;
        const QString g2 = u"Grad 2 Hypertonie (mittelschwerer Bluthochdruck)"_s;
        const QString g1 = u"Grad 1 Hypertonie (leichter Bluthochdruck)"_s;
        const QString pruefe = u"Überprüfen Sie Ihre Eingaben der "_s;
        const QString sysNiedrig = pruefe + u"systolischen Werte! Die Werte sind sehr niedrig!"_s;
        const QString diaHoch = pruefe + u"diastolischen Werte! Die Werte sind viel zu hoch!"_s;
        const QString diaNiedrig = pruefe + u"diastolischen Werte! Die Werte sind viel zu niedrig!"_s;
        const QString rot = u"#ED1B24"_s, orange = u"#FA572E"_s, weiss = u"#FFFFFF"_s;
        QTest::newRow("180/70") << 180 << 70 << g3 << rot << QString();
        QTest::newRow("120/110") << 120 << 110 << g3 << rot << QString();
        QTest::newRow("D 131 ersetzt S") << 100 << 131 << g3 << rot << diaHoch;
        QTest::newRow("165/201 nach S") << 165 << 201 << g2 << orange << diaHoch;
        QTest::newRow("179/60") << 179 << 60 << g2 << orange << QString();
        QTest::newRow("140/89") << 140 << 89 << g1 << u"#FF925F"_s << QString();
        QTest::newRow("139/84") << 139 << 84 << u"Hochnormal"_s << u"#FEF200"_s << QString();
        QTest::newRow("120/85") << 120 << 85 << u"Hochnormal"_s << u"#FEF200"_s << QString();
        QTest::newRow("129/84") << 129 << 84 << u"Normal/Optimal "_s << u"#B5E51D"_s << QString();
        QTest::newRow("104/60") << 104 << 60 << QString() << weiss << sysNiedrig;
        QTest::newRow("120/49") << 120 << 49 << QString() << weiss << diaNiedrig;
        QTest::newRow("D 49 ersetzt S") << 100 << 49 << QString() << weiss << diaNiedrig;
    }
    void mittelwerte() {
        QFETCH(int, sys);
        QFETCH(int, dia);
        QFETCH(QString, grad);
        QFETCH(QString, farbe);
        QFETCH(QString, hinweis);
        THtmlSeite::Daten d = monat(tage(1, 2));
        d.mittelSys = u"%1,5"_s.arg(sys - 1), d.mittelDia = u"%1,4"_s.arg(dia), d.mittelPuls = u"70,5"_s;
        d.mittelGewicht = 74.25;
        const QStringList z = THtmlSeite(d).Zeilen();
        const QString balken = u"function createConfig4("_s;
        QCOMPARE(danach(z, balken),
                 u"labels: ['Systole: %1 mmHg - Diastole: %2 mmHg - Puls: 71 (HF) - Gewicht: 74,2 kg'], "_s
                     .arg(sys)
                     .arg(dia));
        QCOMPARE(danach(z, balken, 2),
                 u"datasets: [{barPercentage: 0.3, label: 'Monatliche Mittelwerte: "_s + grad + u"',"_s);
        QCOMPARE(danach(z, balken, 3),
                 u"backgroundColor: '%1' ,borderColor: '%1',fill: false, "_s.arg(farbe));
        QCOMPARE(danach(z, u"window.onload"_s, 2),
                 hinweis.isEmpty() ? u"</div></body></html>"_s
                                   : u"<h1><font color=\"red\">"_s + hinweis + u"</font></h1>"_s);
    }

    // Settings the page reads besides the gaps: values at the points, a curve's colour, the line width.
    void einstellungen() {
        Schreib_Integer_in_Registry(u"WerteOberhalbKurveAnzeigen"_s, u"1"_s);
        Schreib_String_in_Registry(u"DatenwerteOberhalbFarbe"_s, u"255"_s);
        Schreib_String_in_Registry(u"SystolischKurvenFarbe"_s, u"14671845"_s);
        Schreib_Integer_in_Registry(u"StiftBreite"_s, u"3"_s);
        const QStringList z = THtmlSeite(monat(tage(1, 31))).Zeilen();
        // The hooks' lines run in chromium (imBrowser).
        QVERIFY(danach(z, u"meta.stop();  }  } });  }, },            "_s, 2)
                    .startsWith(u"hover:{animationDuration: 0},animation:{onComplete:"_s));
        QVERIFY(danach(z, u"var modifyCtx"_s).contains(u"ctx.fillStyle =   '#FF0000';"_s));
        QCOMPARE(danach(z, u"function createConfig2("_s, 3),
                 u"backgroundColor: '#E5DFDF',borderColor: '#E5DFDF' , borderWidth: 3, fill: false, "_s);
        QCOMPARE(danach(z, u"function createConfig2("_s, 9),
                 u"backgroundColor: '#FF0080',borderColor: '#FF0080' ,borderWidth: 3,fill: false, "_s);
    }

    // The page and Chart.min.js beside it, copied from the data folder's scripts. Failures are
    // reported as the page always said and the work goes on where it can; a value that is no number
    // stops the page before anything is written. What lay there before stays.
    void dateien_data() {
        QTest::addColumn<Dateien>("vorher");    // below the data folder
        QTest::addColumn<QStringList>("werte"); // a day's value and the mean; none: a whole month
        QTest::addColumn<bool>("geschrieben");
        QTest::addColumn<bool>("skriptDa");
        QTest::addColumn<Dateien>("nachher");       // no content: no file
        QTest::addColumn<QStringList>("meldungen"); // <O>: the data folder
        QTest::addColumn<QStringList>("warnungen");
        const QString seite = u"Korvane-Daten im Browser/2024/Anna_03_2024.html"_s;
        const QString daneben = u"Korvane-Daten im Browser/2024/Chart.min.js"_s,
                      quelle = u"scripts/Chart.min.js"_s;
        const QStringList keine;
        const QString nichtGeschrieben = u"Fehler beim Erzeugen der Datei <O>"_s + seite + u'\n';
        const Dateien datei{{u"Korvane-Daten im Browser"_s, "eine Datei"}};
        QTest::newRow("eigene in scripts")
            << Dateien{{quelle, "// meins"}} << keine << true << true
            << Dateien{{daneben, "// meins"}, {quelle, "// meins"}} << keine << keine;
        QTest::newRow("scripts nicht anlegbar")
            << Dateien{{u"scripts"_s, "eine Datei"}} << keine << true << false
            << Dateien{{u"scripts"_s, "eine Datei"}}
            << QStringList{u"Datei \"<O>scripts/Chart.min.js\" konnte nicht in den Ordner:\"JahrPfad\" kopiert werden! "_s}
            << keine;
        QTest::newRow("Ordner nicht anlegbar")
            << datei << keine << false << false << datei
            << QStringList{u"Ordner \"<O>Korvane-Daten im Browser/2024\" konnte nicht erstellt werden! "_s}
            << QStringList{nichtGeschrieben + u"Ein Teil des Pfades ist kein Ordner."_s};
        QTest::newRow("Tageswert keine Zahl")
            << Dateien() << QStringList{"05_12a", "120,00"} << false << false << Dateien{{seite, {}}} << keine
            << QStringList{u"\"12a\" ist kein gültiger Ganzzahlwert."_s};
        QTest::newRow("Mittelwert keine Zahl")
            << Dateien() << QStringList{"05_120", "12x"} << false << false << Dateien{{seite, {}}} << keine
            << QStringList{u"\"12x\" ist kein gültiger Gleitkommawert."_s};
    }
    void dateien() {
        QFETCH(Dateien, vorher);
        QFETCH(QStringList, werte);
        QFETCH(bool, geschrieben);
        QFETCH(QStringList, meldungen);
        QFETCH(QStringList, warnungen);
        for (const auto& [pfad, inhalt] : vorher)
            testumgebung::schreibe(ordner + pfad, inhalt);
        THtmlSeite::Daten d = monat(werte.isEmpty() ? tage(1, 31) : QList<Lesung>());
        if (!werte.isEmpty()) d.tagesWerteSys = {werte[0]}, d.mittelSys = werte[1];
        THtmlSeite s(d);
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(s, ziel());
        QCOMPARE(e.seiteGeschrieben, geschrieben);
        QTEST(e.skriptDa, "skriptDa");
        QCOMPARE(QFileInfo(ziel().seitenDatei).isFile(), geschrieben);
        QFETCH(Dateien, nachher);
        for (const auto& [pfad, inhalt] : nachher)
            if (inhalt.isNull())
                QVERIFY2(!QFileInfo::exists(ordner + pfad), qPrintable(pfad));
            else
                QCOMPARE(testumgebung::lies(ordner + pfad), inhalt);
        meldungen.replaceInStrings(u"<O>"_s, ordner), warnungen.replaceInStrings(u"<O>"_s, ordner);
        QCOMPARE(testumgebung::dialoge().texte(Art::Meldung), meldungen);
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung), warnungen);
        QCOMPARE(testumgebung::dialoge().alleTexte(), meldungen + warnungen);
    }

    // The command: remarks saved first and read back from their file (blank lines left out, TABs as
    // four blanks), the gap setting read anew each run. Remarks the file cannot hold: the page shows
    // those last saved, and they stay marked as changed so closing asks about them.
    void befehl_data() {
        QTest::addColumn<QByteArray>("vorher"); // the remarks file; null: none
        QTest::addColumn<QString>("bemerkung");
        QTest::addColumn<QByteArray>("nachher");
        QTest::addColumn<QStringList>("aufDerSeite");
        QTest::addColumn<QStringList>("warnungen"); // each run's
        const QString kopf = u"<h1><u>Meine Bemerkung:</u><br><h1><div>"_s;
        QTest::newRow("gespeichert") << QByteArray() << u"Müde\tgut\n \t\nx"_s
                                     << QByteArray("M\xFC\x64\x65\tgut\r\n \t\r\nx\r\n")
                                     << QStringList{kopf, u"Müde&nbsp;&nbsp;&nbsp;&nbsp;gut <br>"_s,
                                                    u"x <br>"_s}
                                     << QStringList();
        QTest::newRow("keine Datei") << QByteArray() << QString() << QByteArray() << QStringList()
                                     << QStringList();
        QTest::newRow("leere Datei") << QByteArray("") << QString() << QByteArray("") << QStringList()
                                     << QStringList();
        QTest::newRow("nicht speicherbar")
            << QByteArray("alt\r\n") << u"Ω neu"_s << QByteArray("alt\r\n")
            << QStringList{kopf, u"alt <br>"_s}
            << QStringList{textdatei::meldungNichtDarstellbar(u"Ω neu"_s) +
                           u" Die Seite zeigt die zuletzt gespeicherten Bemerkungen."_s};
    }
    void befehl() {
        QFETCH(QByteArray, vorher);
        QFETCH(QString, bemerkung);
        QFETCH(QStringList, aufDerSeite);
        QFETCH(QStringList, warnungen);
        Zustand z = zustand();
        z.benutzerName = u"Anna"_s;
        const QString tabelle = monatstabelle::tabellenPfad(z, u"Anna"_s, u"03"_s, u"2024"_s);
        testumgebung::schreibe(tabelle,
                               testumgebung::lies(testumgebung::testdaten(u"anna_maerz_2024.tab"_s)));
        if (!vorher.isNull()) testumgebung::schreibe(monatstabelle::bemerkungsPfadZu(tabelle), vorher);
        TMonatsGrafik g(z);
        QVERIFY(g.GrafikZeichnen(tabelle));
        g.setzeBemerkungen(bemerkung);

        const QString seite = htmlexport::DiagrammimBrowseranzeigen(z, g);
        QCOMPARE(seite, z.htmlOrdner + u"2024/Anna_03_2024.html"_s);
        QCOMPARE(g.bemerkungenGeaendert, !warnungen.isEmpty());
        QTEST(testumgebung::lies(monatstabelle::bemerkungsPfadZu(tabelle)), "nachher");
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung), warnungen);
        const QString text = textdatei::ausWin1252(testumgebung::lies(seite));
        aufDerSeite << u"</div></body></html>\r\n"_s;
        QCOMPARE(text.section(u"});};</script>\r\n"_s, 1), aufDerSeite.join(u"\r\n"));
        QVERIFY(text.contains(u"data: [NaN,NaN,NaN,NaN,134,NaN,"_s)); // 140 and 128 on the 5th
        QVERIFY(text.contains(u" (HF) - Gewicht: 70,8 kg'"_s));       // 70,5 and 71: 70,75, half to even

        Schreib_Integer_in_Registry(u"LinieBeiNullUnterbrechen"_s, u"0"_s);
        QCOMPARE(htmlexport::DiagrammimBrowseranzeigen(z, g), seite);
        QVERIFY(textdatei::ausWin1252(testumgebung::lies(seite)).contains(u"data: [0,0,0,0,134,0,"_s));
        QCOMPARE(testumgebung::dialoge().alleTexte(), warnungen + warnungen);
    }

    // No table in use (none drawn, or the user was changed): the message, and nothing written.
    void ohneMonat() {
        Zustand z = zustand();
        z.monatText = u"03"_s, z.jahrText = u"2024"_s;
        TMonatsGrafik g(z);
        QCOMPARE(htmlexport::DiagrammimBrowseranzeigen(z, g), QString());
        QCOMPARE(testumgebung::dialoge().texte(Art::Meldung),
                 QStringList{u"Es wurden noch keine Daten eingegeben!"_s});
        QVERIFY(!QDir(z.htmlOrdner).exists());
    }

    // Installed browsers from desktop entries: WebBrowser in Categories, shown, first of an ID, its Name.
    void browserErkennung_data() {
        QTest::addColumn<Eintraege>("eintraege");
        QTest::addColumn<QStringList>("namen");
        using E = Eintraege;
        const QStringList firefox{"sys/firefox.desktop", "Mozilla Firefox", "firefox %u"};
        QTest::newRow("Mozilla Firefox") << E{firefox} << QStringList{"Mozilla Firefox"};
        QTest::newRow("keiner") << E{} << QStringList();
        QTest::newRow("kein Browser")
            << E{{"sys/office.desktop", "Firefox Office", "office", "Categories=Office;"}} << QStringList();
        QTest::newRow("nicht angezeigt") << E{{"sys/firefox.desktop", "Mozilla Firefox", "firefox",
                                               "Categories=WebBrowser;\nNoDisplay=true"}}
                                         << QStringList();
        QTest::newRow("verborgen verdeckt dieselbe ID")
            << E{{"home/firefox.desktop", "Mozilla Firefox", "firefox",
                  "Categories=WebBrowser;\nHidden=true"},
                 firefox}
            << QStringList();
        QTest::newRow("eigener verdeckt den des Systems")
            << E{{"home/firefox.desktop", "Firefox Nightly", "nightly %u"}, firefox}
            << QStringList{"Firefox Nightly"};
        QTest::newRow("Unterordner, mehrere")
            << E{{"sys/opera/opera.desktop", "Opera", "opera %U"},
                 {"sys/microsoft-edge.desktop", "Microsoft Edge", "edge %U"}}
            << QStringList{"Microsoft Edge", "Opera"};
    }
    void browserErkennung() {
        QFETCH(Eintraege, eintraege);
        XdgOrdner xdg(eintraege);
        QStringList namen;
        browser::GibInstallierteBrowser(namen);
        QTEST(namen, "namen");
    }

    // Exec lines as the desktop entry format has them.
    void execZeile_data() {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("befehl"); // "P" stands for the page's path
        QTest::newRow("%u") << "firefox %u" << QStringList{"firefox", "P"};
        QTest::newRow("ohne Feldcode") << "firefox" << QStringList{"firefox", "P"};
        QTest::newRow("Programm mit Leerzeichen") << "\"/opt/mein browser/browser\" --neu %F"
                                                  << QStringList{"/opt/mein browser/browser", "--neu", "P"};
        QTest::newRow("im Argument") << "browser --datei=%f" << QStringList{"browser", "--datei=P"};
        QTest::newRow("andere Feldcodes fallen weg") << "browser %i %c %k %u" << QStringList{"browser", "P"};
        QTest::newRow("%%") << "browser 100%% %u" << QStringList{"browser", "100%", "P"};
        QTest::newRow("flatpak")
            << "/usr/bin/flatpak run --command=firefox org.mozilla.firefox @@u %u @@"
            << QStringList{
                   "/usr/bin/flatpak", "run", "--command=firefox", "org.mozilla.firefox", "@@u", "P", "@@"};
        QTest::newRow("Escape in Anfuehrung")
            << "browser \"a\\\"b\" %u" << QStringList{"browser", "a\"b", "P"};
        QTest::newRow("offene Anfuehrung") << "\"browser %u" << QStringList();
        QTest::newRow("nur Feldcode") << "%u" << QStringList();
        QTest::newRow("leer") << "" << QStringList();
    }
    void execZeile() {
        QFETCH(QString, exec);
        QFETCH(QStringList, befehl);
        const QString pfad = u"/home/a b/Korvane-Daten im Browser/2024/Anna_03_2024.html"_s;
        befehl.replaceInStrings(u"P"_s, pfad);
        QCOMPARE(browser::befehl(exec, pfad), befehl);
    }

    // Each choice reaches the seam with its program and the page path whole; a browser that fails
    // to start gives a warning naming program and page, which stays written.
    void browserStart_data() {
        QTest::addColumn<QString>("wahl");
        QTest::addColumn<Eintraege>("eintraege");
        QTest::addColumn<QStringList>("befehl"); // empty: opened by the default handler; "P": the page
        QTest::addColumn<bool>("gelingt");       // as the seam answers; a program not there starts for real
        using E = Eintraege;
        const E alle{{"sys/chromium.desktop", "Chromium", "/usr/bin/chromium %U"},
                     {"sys/firefox-esr.desktop", "Firefox ESR", "/usr/lib/firefox-esr/firefox-esr %u"},
                     {"sys/microsoft-edge.desktop", "Microsoft Edge", "/usr/bin/microsoft-edge-stable %U"},
                     {"sys/opera.desktop", "Opera", "opera %U"}};
        const QStringList firefox{"/usr/lib/firefox-esr/firefox-esr", "P"};
        QTest::newRow("standard") << "standard" << alle << QStringList() << true;
        QTest::newRow("leer ist standard") << "" << alle << QStringList() << true;
        QTest::newRow("firefox") << "firefox" << alle << firefox << true;
        QTest::newRow("chrome") << "chrome" << alle << QStringList{"/usr/bin/chromium", "P"} << true;
        QTest::newRow("edge") << "edge" << alle << QStringList{"/usr/bin/microsoft-edge-stable", "P"} << true;
        QTest::newRow("internet explorer")
            << "internet explorer" << alle << QStringList() << true; // as Opera
        QTest::newRow("firefox ohne Eintrag") << "firefox" << E{} << QStringList{"firefox", "P"} << true;
        QTest::newRow("edge ohne Eintrag") << "edge" << E{} << QStringList{"microsoft-edge", "P"} << true;
        QTest::newRow("Programm fehlt")
            << "firefox" << E{{"sys/firefox.desktop", "Mozilla Firefox", "/nicht/vorhanden/firefox %u"}}
            << QStringList{"/nicht/vorhanden/firefox", "P"} << false;
        QTest::newRow("Start abgelehnt") << "firefox" << alle << firefox << false;
        QTest::newRow("Standard-Browser scheitert") << "standard" << alle << QStringList() << false;
    }
    void browserStart() {
        QFETCH(QString, wahl);
        QFETCH(Eintraege, eintraege);
        QFETCH(QStringList, befehl);
        QFETCH(bool, gelingt);
        XdgOrdner xdg(eintraege);
        Schreib_String_in_Registry(u"Browser"_s, wahl);
        const QString seite = ordner + u"Korvane-Daten im Browser/2024/Anna_03_2024.html"_s;
        befehl.replaceInStrings(u"P"_s, seite);
        const bool wirklich = befehl.value(0).startsWith(u"/nicht/"_s);
        QStringList geoeffnet, gestartet; // program and arguments of each start, one after the other
        QList<shell::Aufruf> starts;
        if (!wirklich) shell::zeichneAuf(&geoeffnet, gelingt), shell::zeichneStartsAuf(&starts, gelingt);
        browserstart::oeffne(seite);
        shell::zeichneAuf(nullptr);
        shell::zeichneStartsAuf(nullptr);
        for (const shell::Aufruf& a : starts)
            gestartet << a.programm << a.argumente;
        QCOMPARE(starts.size(), befehl.isEmpty() || wirklich ? 0 : 1);
        QCOMPARE(gestartet, wirklich ? QStringList() : befehl);
        QCOMPARE(geoeffnet, befehl.isEmpty() ? QStringList{seite} : QStringList());
        QCOMPARE(Lies_String_aus_Registry(u"Browser"_s), wahl.isEmpty() ? u"standard"_s : wahl);
        const QString warnung =
            befehl.isEmpty()
                ? u"Die Seite \"%1\" wurde gespeichert, konnte aber nicht im Browser geöffnet werden. "
                  u"\"xdg-open\" kennt kein Programm, das diese Art Datei öffnet."_s
                : u"Datei: "_s + befehl.value(0) +
                      u" kann nicht geöffnet werden\n\nDie Seite \"%1\" "
                      u"wurde gespeichert, aber nicht im Browser geöffnet."_s;
        QCOMPARE(testumgebung::dialoge().alleTexte(),
                 gelingt ? QStringList() : QStringList{warnung.arg(seite)});
    }

    // The pages in Debian's chromium: no console message, and every canvas drawn on.
    void imBrowser_data() {
        QTest::addColumn<QList<Lesung>>("lesungen");
        QTest::addColumn<bool>("werteAnDenPunkten");
        QTest::addColumn<QStringList>("canvas");
        QList<Lesung> voll;
        for (int t = 1; t <= 31; ++t)
            for (int slot = 0; slot < 4; ++slot)
                voll << Lesung{t, 120 + (t * 7 + slot * 3) % 40, 75 + (t * 5 + slot) % 20,
                               60 + (t * 3 + slot * 2) % 25};
        const QStringList alle{"diagramm1", "diagramm2", "diagramm3", "diagramm4"};
        QTest::newRow("voller Monat, Werte an den Punkten") << voll << true << alle;
        QTest::newRow("Tage 1-10") << tage(1, 10) << false << QStringList{"diagramm1", "diagramm4"};
        QTest::newRow("nur Nullen") << QList<Lesung>{{5, 0, 0, 0}} << false << QStringList();
    }
    void imBrowser() {
        QFETCH(QList<Lesung>, lesungen);
        QFETCH(bool, werteAnDenPunkten);
        const QString chromium = QStandardPaths::findExecutable(u"chromium"_s);
        QVERIFY2(!chromium.isEmpty(), "chromium fehlt: scripts/korvane.sh installiert es");
        Schreib_Integer_in_Registry(u"WerteOberhalbKurveAnzeigen"_s, werteAnDenPunkten ? u"1"_s : u"0"_s);
        THtmlSeite::Daten d = monat(lesungen);
        d.bemerkungen = QStringList{u"<script>wirdNichtAusgefuehrt()</script>"_s};
        THtmlSeite s(d);
        const htmlexport::Ziel z = ziel();
        QVERIFY(htmlexport::schreibeSeite(s, z).skriptDa);

        // A probe after the page counts the drawn pixels of each canvas once the charts stand.
        const QString sonde = z.ordnerText + u"/sonde.html"_s;
        testumgebung::schreibe(sonde, testumgebung::lies(z.seitenDatei) + R"(<script>
window.addEventListener('load', function() { setTimeout(function() { var r = [];
  document.querySelectorAll('canvas').forEach(function(c) {
    var p = c.getContext('2d').getImageData(0, 0, c.width, c.height).data, n = 0;
    for (var i = 3; i < p.length; i += 4) if (p[i]) n++;
    r.push(c.id + '=' + n); });
  var e = document.createElement('pre'); e.id = 'sonde'; e.textContent = r.join(';');
  document.body.appendChild(e); }, 2500); });</script>)");
        // Chromium now and then ends at once (status 5, or a crash on a loaded machine), whatever the
        // page; a start that gives no page is retried, and the last one's output shown.
        QString dom, fehlerAusgabe;
        for (int versuch = 0; versuch < 4 && dom.isEmpty(); ++versuch) {
            QTemporaryDir profil;
            const testumgebung::Ergebnis e = testumgebung::werkzeug(
                chromium, u"--headless --disable-gpu --no-sandbox --enable-logging=stderr --no-first-run "
                          u"--disable-background-networking --disable-component-update --disable-sync "
                          u"--v=0 --window-size=1300,1200 --virtual-time-budget=6000 --dump-dom"_s.split(u' ')
                              << u"--user-data-dir="_s + profil.path() << QUrl::fromLocalFile(sonde).toString());
            dom = e.status == 0 ? e.aus : QString(), fehlerAusgabe = e.fehler;
        }
        QVERIFY2(!dom.isEmpty(), qPrintable(fehlerAusgabe.right(1000)));
        QCOMPARE(fehlerAusgabe.split(u'\n').filter(u":CONSOLE"_s), QStringList());

        const QRegularExpressionMatch m = QRegularExpression(u"<pre id=\"sonde\">([^<]*)</pre>"_s).match(dom);
        QVERIFY2(m.hasMatch(), qPrintable(dom.right(500) + u'\n' + fehlerAusgabe.right(1000)));
        QStringList gezeichnet, leer;
        for (const QString& eintrag : m.captured(1).split(u';', Qt::SkipEmptyParts)) {
            const QStringList teile = eintrag.split(u'=');
            (teile.value(1).toInt() > 1000 ? gezeichnet : leer) << teile.value(0);
        }
        QVERIFY2(leer.isEmpty(), qPrintable(u"leer: "_s + leer.join(u' ')));
        QTEST(gezeichnet, "canvas");
        QVERIFY(dom.contains(u"&lt;script&gt;wirdNichtAusgefuehrt()&lt;/script&gt;"_s));
    }
};

KORVANE_TEST_MAIN(TestHtml)
#include "test_html.moc"
