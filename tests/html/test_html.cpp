// The HTML chart page: its lines for the month's cases, the files it writes, and the page in a
// real browser.
#include "testumgebung.h"

#include "chart/tmonatsgrafik.h"
#include "export/html/browserstart.h"
#include "app/programmstart.h"
#include "export/html/htmlexport.h"
#include "settings/browserwahl.h"
#include "export/html/thtmlseite.h"
#include "platform/browser.h"
#include "platform/shell.h"
#include "platform/textdatei.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
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

QString tagWert(int tag, int wert) {
    return u"%1_%2"_s.arg(tag, 2, 10, QLatin1Char('0')).arg(wert);
}

// A month with the readings, the means as a drawing computes them and the first-start settings.
THtmlSeite::Daten monat(const QList<Lesung>& lesungen, const QString& monatText = u"03"_s,
                        const QString& jahr = u"2024"_s) {
    THtmlSeite::Daten d;
    d.monatText = monatText;
    d.jahrText = jahr;
    d.monatName = monatstabelle::GibMonatLang(monatText.toInt());
    d.benutzerName = u"Anna"_s;
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

QStringList zeilen(const THtmlSeite::Daten& d) {
    THtmlSeite s(d);
    return s.Zeilen();
}

// The lines starting with the text, in page order.
QStringList mitAnfang(const QStringList& z, const QString& anfang) {
    QStringList treffer;
    for (const QString& zeile : z)
        if (zeile.startsWith(anfang)) treffer << zeile;
    return treffer;
}

// The line after the first line starting with anfang.
QString danach(const QStringList& z, const QString& anfang, int abstand = 1) {
    for (qsizetype i = 0; i + abstand < z.size(); ++i)
        if (z.at(i).startsWith(anfang)) return z.at(i + abstand);
    return {};
}

QByteArray alsSeite(const QStringList& z) {
    return textdatei::nachWin1252(z.join(u"\r\n"_s) + u"\r\n"_s);
}

const QString kOnloadAlle =
    u"window.onload = function() {[{id: 'diagramm1',config: createConfig()}, {id: 'diagramm2',\tconfig: "
    u"createConfig2()}, {id: 'diagramm3',config: createConfig3()},{id: 'diagramm4',config: createConfig4()}  "
    u"].forEach(function(details) {var ctx = document.getElementById(details.id).getContext('2d');new "
    u"Chart(ctx, "
    u"details.config);"_s;

// A desktop entry as desktops write them, with a localized name and an action group whose keys
// must not count.
QByteArray desktopEintrag(const QString& name, const QString& exec,
                          const QString& kategorien = u"Network;WebBrowser;"_s,
                          const QString& weiteres = {}) {
    return (u"[Desktop Entry]\nVersion=1.0\nType=Application\nName="_s + name +
            u"\nName[de]=Anderer Name\nExec="_s + exec + u"\nCategories="_s + kategorien + u"\n"_s +
            weiteres + u"\n[Desktop Action neu]\nName=Neues Fenster\nExec=anderes --neu\n"_s)
        .toUtf8();
}

// The XDG data folders point into a temporary folder while it lives: "home" is $XDG_DATA_HOME,
// "sys" the last of $XDG_DATA_DIRS.
struct XdgOrdner {
    QTemporaryDir wurzel;
    QByteArray home = qgetenv("XDG_DATA_HOME"), dirs = qgetenv("XDG_DATA_DIRS");
    XdgOrdner() {
        qputenv("XDG_DATA_HOME", QFile::encodeName(wurzel.path() + u"/home"_s));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(wurzel.path() + u"/leer:"_s + wurzel.path() + u"/sys"_s));
    }
    ~XdgOrdner() {
        qputenv("XDG_DATA_HOME", home);
        qputenv("XDG_DATA_DIRS", dirs);
    }
    // "sys/firefox.desktop" -> <wurzel>/sys/applications/firefox.desktop
    void lege(const QString& wo, const QByteArray& inhalt) const {
        const qsizetype strich = wo.indexOf(u'/');
        testumgebung::schreibe(
            wurzel.path() + u'/' + wo.left(strich) + u"/applications/"_s + wo.mid(strich + 1), inhalt);
    }
};

} // namespace

Q_DECLARE_METATYPE(Lesung)
// Desktop entries: where ("sys/firefox.desktop") and what.
using Eintraege = QList<QPair<QString, QByteArray>>;

class TestHtml : public QObject {
    Q_OBJECT

    QString ordner; // a fresh program and data folder per test function

    htmlexport::Ziel ziel(const QString& name = u"Anna_03_2024.html"_s) const {
        const QString seiten = ordner + u"Korvane-Daten im Browser/2024"_s;
        return {seiten + u'/' + name, seiten, ordner};
    }

private Q_SLOTS:
    void init() {
        ordner = testumgebung::neuerProgrammOrdner(QString::fromLatin1(QTest::currentTestFunction()));
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        testumgebung::dialoge().leeren();
    }
    void cleanup() { QCOMPARE(testumgebung::dialoge().unerwartet, QStringList()); }

    // Every byte of a page for days 1 to 10: Windows-1252, CR LF, no byte order mark; the missing
    // groups' charts left out; user name and remarks escaped.
    void seiteTage1bis10() {
        QList<Lesung> l;
        for (int t = 1; t <= 10; ++t)
            l << Lesung{t, 120 + t, 80, 70};
        THtmlSeite::Daten d = monat(l);
        d.benutzerName = u"Anna & <Bert>"_s;
        d.bemerkungen = QStringList{u"Blutdruck <script>alert(\"x\")</script>"_s, QString(), u"\t \t"_s,
                                    u"a\tb"_s, u"\teingerückt & 'zitiert'"_s};
        QCOMPARE(d.mittelSys, u"125,50"_s);
        THtmlSeite seite(d);
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(seite, ziel());
        QVERIFY(e.seiteGeschrieben && e.skriptDa);

        const QString soll =
            QString::fromUtf8(testumgebung::lies(testumgebung::testdaten(u"html/tage_1_bis_10.html"_s)));
        QStringList sollZeilen = soll.split(u'\n');
        sollZeilen.removeLast(); // after the last line ending
        const QByteArray ist = testumgebung::lies(ziel().seitenDatei);
        QCOMPARE(ist, alsSeite(sollZeilen));
        QVERIFY(ist.contains("n\xE4"
                             "chsten")); // one byte for the umlaut
        QVERIFY(!ist.startsWith("\xEF\xBB\xBF"));
        QVERIFY(testumgebung::dialoge().alleTexte().isEmpty());
    }

    void tagesMittel_data() {
        QTest::addColumn<QStringList>("eintraege");
        QTest::addColumn<QString>("tag5");
        QTest::newRow("128 und 129 -> 129") << QStringList{"05_128", "05_129"} << "129";
        QTest::newRow("128,33 -> 128") << QStringList{"05_128", "05_128", "05_129"} << "128";
        QTest::newRow("128,67 -> 129") << QStringList{"05_128", "05_129", "05_129"} << "129";
        QTest::newRow("eine Null zaehlt mit") << QStringList{"05_0", "05_131"} << "66";
        QTest::newRow("spaeterer Lauf zaehlt allein") << QStringList{"05_100", "06_120", "05_140"} << "140";
        QTest::newRow("kein Wert") << QStringList{"06_120"} << "0";
    }
    void tagesMittel() {
        QFETCH(QStringList, eintraege);
        THtmlSeite::Daten d;
        d.tagesWerteSys = eintraege;
        THtmlSeite s(d);
        s.GibDieTagesMittelwerte();
        QCOMPARE(s.fehler(), QString());
        QTEST(s.TagesMittelTexte[0][5], "tag5");
        QCOMPARE(s.TagesMittelTexte[1][5], u"0"_s);
    }

    // A value that is no number stops the page with the conversion message.
    void keineZahl_data() {
        QTest::addColumn<QString>("eintrag");
        QTest::addColumn<QString>("mittel");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("tageswert") << "05_12a"
                                   << "120,00"
                                   << "\"12a\" ist kein gültiger Ganzzahlwert.";
        QTest::newRow("mittelwert") << "05_120"
                                    << "12x"
                                    << "\"12x\" ist kein gültiger Gleitkommawert.";
    }
    void keineZahl() {
        QFETCH(QString, eintrag);
        QFETCH(QString, mittel);
        THtmlSeite::Daten d = monat({});
        d.tagesWerteSys = {eintrag};
        d.mittelSys = mittel;
        THtmlSeite s(d);
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(s, ziel());
        QVERIFY(!e.seiteGeschrieben);
        QVERIFY(!QFileInfo::exists(ziel().seitenDatei));
        QTEST(testumgebung::dialoge().texte(Art::Warnung).value(0), "meldung");
    }

    // Which groups have data decides the note, the canvas block and the onload line.
    void gruppen_data() {
        QTest::addColumn<QList<Lesung>>("lesungen");
        QTest::addColumn<QString>("monat");
        QTest::addColumn<QString>("jahr");
        QTest::addColumn<QString>("hinweis");    // empty: no note
        QTest::addColumn<QStringList>("canvas"); // the two lines; empty: no block
        QTest::addColumn<QString>("onload");     // the entries before diagramm4's; empty: no line
        const QString c1 = u"<div class=\"chart-container\"><canvas id=\"diagramm1\"></canvas></div>"_s;
        const QString c2 = u"<div class=\"chart-container\"><canvas id=\"diagramm2\"></canvas></div>"_s;
        const QString c3 = u"<div class=\"chart-container\"><canvas id=\"diagramm3\"></canvas></div>"_s;
        const QString c4 = u"<div class=\"chart-container\"><canvas id=\"diagramm4\"></canvas></div>"_s;
        const QString k = u"<div class=\"container\">"_s;
        const QString e1 = u"{id: 'diagramm1',config: createConfig()}"_s;
        const QString e2 = u"{id: 'diagramm2',\tconfig: createConfig2()}"_s;
        const QString e3 = u"{id: 'diagramm3',config: createConfig3()}"_s;
        QTest::newRow("nur Tage 1-10") << tage(1, 10) << "03"
                                       << "2024"
                                       << "[Es fehlen Daten der Tagesgruppe:   15-28 , 29-31"
                                       << QStringList{k + c1 + u' ', c4 + u' '} << e1;
        QTest::newRow("nur 15-28") << tage(15, 28) << "03"
                                   << "2024"
                                   << "[Es fehlen Daten der Tagesgruppe: 1-14 , 29-31"
                                   << QStringList{k + c2 + u' ', c4 + u"   "_s} << e2;
        QTest::newRow("1-14 und 29-31")
            << tage(1, 3) + tage(30, 30) << "03"
            << "2024"
            << "[Es fehlen Daten der Tagesgruppe:   15-28" << QStringList{k + c1 + c3 + u' ', c4 + u"   "_s}
            << e1 + u", "_s + e3;
        QTest::newRow("alle") << tage(1, 31) << "03"
                              << "2024" << QString() << QStringList{k + c1 + c2 + c3 + u' ', c4 + u"   "_s}
                              << e1 + u", "_s + e2 + u", "_s + e3;
        QTest::newRow("Februar 2023, 15-28 leer")
            << tage(1, 14) << "02"
            << "2023"
            << "[Es fehlen Daten der Tagesgruppe:   15-28" << QStringList{k + c1 + u' ', c4 + u' '} << e1;
        QTest::newRow("Februar 2024, 29 leer")
            << tage(1, 28) << "02"
            << "2024"
            << "[Es fehlen Daten der Tagesgruppe:   29-31" << QStringList{k + c1 + c2 + u' ', c4 + u"   "_s}
            << e1 + u", "_s + e2;
        QTest::newRow("nur Nullen") << QList<Lesung>{{5, 0, 0, 0}} << "03"
                                    << "2024"
                                    << "[Es fehlen Daten der Tagesgruppe: 1-14 , 15-28 , 29-31"
                                    << QStringList() << QString();
    }
    void gruppen() {
        QFETCH(QList<Lesung>, lesungen);
        QFETCH(QString, monat);
        QFETCH(QString, jahr);
        QFETCH(QString, hinweis);
        QFETCH(QStringList, canvas);
        QFETCH(QString, onload);
        const QStringList z = zeilen(::monat(lesungen, monat, jahr));
        const QString sechste =
            u"<br><h1>Die täglichen Messwerte sind als Mittelwerte dargestellt. </h1></center>"_s;
        const qsizetype i = z.indexOf(sechste);
        QCOMPARE(i, 5);
        QStringList block;
        if (!hinweis.isEmpty()) block << u"<center><h1>"_s + hinweis << u"]</h1></center>"_s;
        block << canvas << u"</div><script>"_s;
        QCOMPARE(z.mid(i + 1, block.size()), block);
        if (onload.isEmpty()) {
            QVERIFY(mitAnfang(z, u"window.onload"_s).isEmpty());
            QCOMPARE(danach(z, u"function createPointStyleConfig(colorName) {var config = createConfig4("_s),
                     u"</script>"_s); // no closing of an onload that is not there
        } else {
            QCOMPARE(mitAnfang(z, u"window.onload"_s),
                     QStringList{QString(kOnloadAlle)
                                     .replace(u"{id: 'diagramm1',config: createConfig()}, {id: "
                                              u"'diagramm2',\tconfig: createConfig2()}, "
                                              u"{id: 'diagramm3',config: createConfig3()}"_s,
                                              onload)});
            QCOMPARE(danach(z, u"window.onload"_s), u"});};</script>"_s);
        }
    }

    // The labels of each group, and the rest group's labels by the month's length.
    void tagesLabels_data() {
        QTest::addColumn<QString>("monat");
        QTest::addColumn<QString>("jahr");
        QTest::addColumn<int>("tage");
        QTest::addColumn<QString>("rest"); // empty: no labels line
        QTest::newRow("31 Tage") << "03"
                                 << "2024" << 31
                                 << "labels: ['Fr.29.03.2024' ,'Sa.30.03.24' ,'So.31.03.24' ,], ";
        QTest::newRow("30 Tage") << "04"
                                 << "2024" << 30 << "labels: ['Mo.29.04.2024' ,'Di.30.04.24' ,], ";
        QTest::newRow("29 Tage") << "02"
                                 << "2024" << 29 << "labels: ['Do.29.02.2024' ,], ";
        QTest::newRow("28 Tage") << "02"
                                 << "2023" << 28 << QString();
        QTest::newRow("August 31") << "08"
                                   << "2024" << 31
                                   << "labels: ['Do.29.08.2024' ,'Fr.30.08.24' ,'Sa.31.08.24' ,], ";
        QTest::newRow("September 30") << "09"
                                      << "2024" << 30 << "labels: ['So.29.09.2024' ,'Mo.30.09.24' ,], ";
        QTest::newRow("1900 kein Schaltjahr") << "02"
                                              << "1900" << 28 << QString();
        QTest::newRow("Dezember 1999")
            << "12"
            << "1999" << 31 << "labels: ['Mi.29.12.1999' ,'Do.30.12.99' ,'Fr.31.12.99' ,], ";
    }
    void tagesLabels() {
        QFETCH(QString, monat);
        QFETCH(QString, jahr);
        QFETCH(QString, rest);
        QTEST(THtmlSeite::TageImMonat(monat.toInt(), jahr.toInt()), "tage");
        const QStringList z =
            zeilen(::monat(tage(1, THtmlSeite::TageImMonat(monat.toInt(), jahr.toInt())), monat, jahr));
        const QString nachAnfang3 = danach(z, u"function createConfig3("_s);
        QCOMPARE(nachAnfang3, rest.isEmpty() ? u"datasets: [{label: 'Systole',"_s : rest);
        if (monat == u"03") {
            QCOMPARE(
                danach(z, u"function createConfig("_s),
                u"labels: ['Fr.01.03.2024' ,'Sa.02.03.24' ,'So.03.03.24' ,'Mo.04.03.24' ,'Di.05.03.24' "
                u",'Mi.06.03.24' ,'Do.07.03.24' ,'Fr.08.03.24' ,'Sa.09.03.24' ,'So.10.03.24' ,'Mo.11.03.24' "
                u",'Di.12.03.24' ,'Mi.13.03.24' ,'Do.14.03.24' ], "_s);
            QVERIFY(danach(z, u"function createConfig2("_s)
                        .startsWith(u"labels: ['Fr.15.03.2024' ,'Sa.16.03.24' ,"_s));
        }
    }

    void wochentag_data() {
        QTest::addColumn<QString>("datum");
        QTest::addColumn<QString>("kurz");
        const char* const tage[7] = {"So.", "Mo.", "Di.", "Mi.", "Do.", "Fr.", "Sa."};
        for (int t = 3; t <= 9; ++t) // 3 March 2024 is a Sunday
            QTest::addRow("%02d.03.2024", t)
                << u"%1.03.2024"_s.arg(t, 2, 10, QLatin1Char('0')) << tage[t - 3];
        QTest::newRow("zweistellig") << "01.03.24"
                                     << "Fr.";
        QTest::newRow("kein Datum") << "31.04.2024" << QString();
        QTest::newRow("Unsinn") << "Fr.01" << QString();
    }
    // German abbreviations whatever the locale says.
    void wochentag() {
        QFETCH(QString, datum);
        const QLocale vorher;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString kurz = THtmlSeite::GibWochentagKurz(datum);
        QLocale::setDefault(vorher);
        QTEST(kurz, "kurz");
    }

    // Each group's y axis: Round(highest / 10) * 10 + 10, halves to even.
    void yMaximum_data() {
        QTest::addColumn<int>("hoechster");
        QTest::addColumn<int>("maximum");
        const int faelle[][2] = {{125, 130}, {135, 150}, {0, 10},   {129, 140},
                                 {131, 140}, {145, 150}, {155, 170}};
        for (const auto& f : faelle)
            QTest::addRow("%d", f[0]) << f[0] << f[1];
    }
    void yMaximum() {
        QFETCH(int, hoechster);
        QFETCH(int, maximum);
        QCOMPARE(THtmlSeite::YMaximum(hoechster), maximum);
        // In the page: group 1 holds the highest value, groups 2 and 3 stay lower.
        const QStringList z = zeilen(monat({{3, hoechster, 80, 70}, {16, 40, 30, 20}}));
        const QStringList achsen = mitAnfang(z, u"tooltips: {bodySpacing"_s);
        QCOMPARE(achsen.size(), 3);
        QVERIFY(achsen[0].contains(u"ticks: { max:%1}, gridLines"_s.arg(maximum)));
        QVERIFY(achsen[1].contains(u"ticks: { max:50}, gridLines"_s));
        QVERIFY(achsen[2].contains(u"ticks: { max:10}, gridLines"_s));
    }

    void grad_data() {
        QTest::addColumn<int>("sys");
        QTest::addColumn<int>("dia");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("farbe");
        const QString g3 = u"Monatliche Mittelwerte: Grad 3 Hypertonie (schwerer Bluthochdruck)"_s;
        const QString g2 = u"Monatliche Mittelwerte: Grad 2 Hypertonie (mittelschwerer Bluthochdruck)"_s;
        const QString g1 = u"Monatliche Mittelwerte: Grad 1 Hypertonie (leichter Bluthochdruck)"_s;
        const QString hoch = u"Monatliche Mittelwerte: Hochnormal"_s;
        const QString normal = u"Monatliche Mittelwerte: Normal/Optimal "_s;
        const QString keiner = u"Monatliche Mittelwerte: "_s;
        QTest::newRow("180/70") << 180 << 70 << g3 << "#ED1B24";
        QTest::newRow("120/110") << 120 << 110 << g3 << "#ED1B24";
        QTest::newRow("165/201 nach S") << 165 << 201 << g2 << "#FA572E";
        QTest::newRow("179/60") << 179 << 60 << g2 << "#FA572E";
        QTest::newRow("140/89") << 140 << 89 << g1 << "#FF925F";
        QTest::newRow("139/84") << 139 << 84 << hoch << "#FEF200";
        QTest::newRow("120/85") << 120 << 85 << hoch << "#FEF200";
        QTest::newRow("129/84") << 129 << 84 << normal << "#B5E51D";
        QTest::newRow("104/60") << 104 << 60 << keiner << "#FFFFFF";
        QTest::newRow("120/49") << 120 << 49 << keiner << "#FFFFFF";
    }
    void grad() {
        QFETCH(int, sys);
        QFETCH(int, dia);
        const THtmlSeite::Grad g = THtmlSeite::HypertonieGrad(sys, dia);
        QTEST(g.text, "text");
        QTEST(g.farbe, "farbe");
    }

    // Means 139,6 and 89,4 round half up to 140 and 89: grade 1 in the bar's legend and colour.
    void gradAufDerSeite() {
        THtmlSeite::Daten d = monat(tage(1, 2));
        d.mittelSys = u"139,6"_s, d.mittelDia = u"89,4"_s, d.mittelPuls = u"70,5"_s;
        d.mittelGewicht = 74.25;
        const QStringList z = zeilen(d);
        QCOMPARE(danach(z, u"function createConfig4("_s),
                 u"labels: ['Systole: 140 mmHg - Diastole: 89 mmHg - Puls: 71 (HF) - Gewicht: 74,2 kg'], "_s);
        QCOMPARE(
            danach(z, u"function createConfig4("_s, 2),
            u"datasets: [{barPercentage: 0.3, label: 'Monatliche Mittelwerte: Grad 1 Hypertonie (leichter "
            u"Bluthochdruck)',"_s);
        QCOMPARE(danach(z, u"function createConfig4("_s, 3),
                 u"backgroundColor: '#FF925F' ,borderColor: '#FF925F',fill: false, "_s);
        QVERIFY(mitAnfang(z, u"<h1><font"_s).isEmpty());
    }

    void plausibel_data() {
        QTest::addColumn<int>("sys");
        QTest::addColumn<int>("dia");
        QTest::addColumn<QString>("hinweis");
        const QString sysNiedrig =
            u"Überprüfen Sie Ihre Eingaben der systolischen Werte! Die Werte sind sehr niedrig!"_s;
        const QString diaHoch =
            u"Überprüfen Sie Ihre Eingaben der diastolischen Werte! Die Werte sind viel zu hoch!"_s;
        const QString diaNiedrig =
            u"Überprüfen Sie Ihre Eingaben der diastolischen Werte! Die Werte sind viel zu niedrig!"_s;
        QTest::newRow("plausibel") << 120 << 80 << QString();
        QTest::newRow("S 104") << 104 << 80 << sysNiedrig;
        QTest::newRow("D 131 ersetzt S") << 100 << 131 << diaHoch;
        QTest::newRow("D 130") << 120 << 130 << QString();
        QTest::newRow("D 49 ersetzt S") << 100 << 49 << diaNiedrig;
    }
    void plausibel() {
        QFETCH(int, sys);
        QFETCH(int, dia);
        QFETCH(QString, hinweis);
        QCOMPARE(THtmlSeite::PlausibilitaetsHinweis(sys, dia), hinweis);
        THtmlSeite::Daten d = monat(tage(1, 2));
        d.mittelSys = QString::number(sys), d.mittelDia = QString::number(dia);
        const QStringList z = zeilen(d);
        const QStringList note = mitAnfang(z, u"<h1><font"_s);
        QCOMPARE(note, hinweis.isEmpty()
                           ? QStringList()
                           : QStringList{u"<h1><font color=\"red\">"_s + hinweis + u"</font></h1>"_s});
        if (!hinweis.isEmpty()) QCOMPARE(danach(z, u"window.onload"_s, 2), note.first());
    }

    // A missing day is NaN when LinieBeiNullUnterbrechen is 1, also at the first and last places;
    // 0 otherwise.
    void luecken_data() {
        QTest::addColumn<bool>("unterbrechen");
        QTest::addColumn<QString>("gruppe1");
        QTest::addColumn<QString>("rest");
        QTest::newRow("NaN") << true
                             << "data: [NaN,121,NaN,NaN,125,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN] , }, "
                             << "data: [NaN,NaN,131,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN] , }, ";
        QTest::newRow("0") << false << "data: [0,121,0,0,125,0,0,0,0,0,0,0,0,0] , }, "
                           << "data: [0,0,131,0,0,0,0,0,0,0,0,0,0,0] , }, ";
    }
    void luecken() {
        QFETCH(bool, unterbrechen);
        Schreib_Integer_in_Registry(u"LinieBeiNullUnterbrechen"_s, unterbrechen ? u"1"_s : u"0"_s);
        const QStringList z = zeilen(monat({{2, 121, 80, 70}, {5, 125, 80, 70}, {31, 131, 80, 70}}));
        QTEST(danach(z, u"function createConfig("_s, 4), "gruppe1");
        QTEST(danach(z, u"function createConfig3("_s, 4), "rest");
        QCOMPARE(danach(z, u"function createConfig2("_s, 10).endsWith(u"] , } "_s), true); // last data set
    }

    // Values at the points: three lines with the animation hooks instead of one.
    void werteAnDenPunkten_data() {
        QTest::addColumn<bool>("an");
        QTest::newRow("an") << true;
        QTest::newRow("aus") << false;
    }
    void werteAnDenPunkten() {
        QFETCH(bool, an);
        Schreib_Integer_in_Registry(u"WerteOberhalbKurveAnzeigen"_s, an ? u"1"_s : u"0"_s);
        Schreib_String_in_Registry(u"DatenwerteOberhalbFarbe"_s, u"255"_s);
        const QStringList z = zeilen(monat(tage(1, 31)));
        const QString handler = u"meta.stop();  }  } });  }, },            "_s;
        const QString gitter =
            u"color: '#E5DFDF'},scaleLabel: {display: true,labelString: 'mmHg'},}]}}};} "_s;
        if (an) {
            QCOMPARE(
                danach(z, handler),
                u"tooltips: {bodySpacing : 15, titleMarginBottom : 10, mode: 'index', intersect: true, }, "_s);
            QVERIFY(
                danach(z, handler, 2).startsWith(u"hover:{animationDuration: 0},animation:{onComplete:"_s));
            QCOMPARE(
                danach(z, handler, 3),
                u"scales: {xAxes: [{ gridLines: {  display: true ,  color: '#E5DFDF'}, scaleLabel: {display: "
                u"true,labelString: '     '}\t}],yAxes: [{ticks: { max:140},  gridLines: {  display: true ,  "_s +
                    gitter);
        } else {
            QCOMPARE(danach(z, handler),
                     u"tooltips: {bodySpacing : 15, titleMarginBottom : 10, mode: 'index', intersect: true, "
                     u"},hover: "
                     u"{mode: 'index',},scales: {xAxes: [{ gridLines: {  display: true ,  color: '#E5DFDF'}, "
                     u"scaleLabel: {display: true,labelString: '     '}\t}],yAxes: [{ticks: { max:140}, "
                     u"gridLines: {  "
                     u"display: true ,  "_s +
                         gitter);
        }
        QVERIFY(mitAnfang(z, u"var fadeIn"_s).value(0).contains(u"ctx.fillStyle =   '#FF0000';"_s));
    }

    // Colours and line width as the settings hold them.
    void farbzeilen() {
        Schreib_String_in_Registry(u"SystolischKurvenFarbe"_s, u"14671845"_s);
        Schreib_Integer_in_Registry(u"StiftBreite"_s, u"3"_s);
        const QStringList z = zeilen(monat(tage(1, 31)));
        QCOMPARE(danach(z, u"function createConfig2("_s, 3),
                 u"backgroundColor: '#E5DFDF',borderColor: '#E5DFDF' , borderWidth: 3, fill: false, "_s);
        QCOMPARE(danach(z, u"function createConfig2("_s, 9),
                 u"backgroundColor: '#FF0080',borderColor: '#FF0080' ,borderWidth: 3,fill: false, "_s);
    }

    void vorlagenZeile_data() {
        QTest::addColumn<QString>("vorlage");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("Dz7__ gewinnt")
            << "Dz7__ backgroundColor: 'red'"
            << "backgroundColor: '#FF0080',borderColor: '#FF0080' ,borderWidth: 2,fill: false, ";
        QTest::newRow("Dz17 gewinnt vor Dz1")
            << "Dz17 Systole"
            << "Systole: 130 mmHg - Diastole: 80 mmHg - Puls: 70 (HF) - Gewicht: Keine Angabe!";
        QTest::newRow("Dz1") << "Dz1 <h0>"
                             << "<h0><b>Korvanemesswerte von Anna im März 2024</b></h0>";
        QTest::newRow("DzRest2") << "DzRest2 data"
                                 << "data: [NaN,NaN,80,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN,NaN] , }, ";
        QTest::newRow("ohne Marke") << "<br>"
                                    << "<br>";
    }
    void vorlagenZeile() {
        QFETCH(QString, vorlage);
        THtmlSeite s(monat(tage(31, 31)));
        s.GibDieTagesMittelwerte();
        s.Zeilen(); // the means
        QTEST(s.FuelleDieVorlagenZeile(vorlage), "zeile");
    }

    void htmlText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        QTest::newRow("Sonderzeichen") << "a&b<c>\"d'e"
                                       << "a&amp;b&lt;c&gt;&quot;d&#39;e";
        QTest::newRow("Windows-1252 bleibt") << "Müller €"
                                             << "Müller €";
        QTest::newRow("sonst Zeichenreferenz") << "Ω 😀"
                                               << "&#937; &#128512;";
    }
    void htmlText() {
        QFETCH(QString, text);
        QTEST(THtmlSeite::HtmlText(text), "html");
    }

    // Remarks: blank lines left out, TABs as four blanks, markup shown as text.
    void bemerkungen_data() {
        QTest::addColumn<QByteArray>("datei"); // nothing: no file
        QTest::addColumn<QStringList>("abschnitt");
        const QString kopf = u"<h1><u>Meine Bemerkung:</u><br><h1><div>"_s;
        QTest::newRow("keine Datei") << QByteArray() << QStringList();
        QTest::newRow("leere Datei") << QByteArray("") << QStringList();
        QTest::newRow("Tabs und Leerzeilen")
            << QByteArray("\t\t\r\n  \t \r\na\tb\r\n\r\nM\xFC\x64\x65\r\n")
            << QStringList{kopf, u"a&nbsp;&nbsp;&nbsp;&nbsp;b <br>"_s, u"Müde <br>"_s};
        QTest::newRow("Skript als Text")
            << QByteArray("<script>alert(1)</script>\r\n")
            << QStringList{kopf, u"&lt;script&gt;alert(1)&lt;/script&gt; <br>"_s};
    }
    void bemerkungen() {
        QFETCH(QByteArray, datei);
        const QString pfad = ordner + u"Anna_03_2024.txt"_s;
        if (!datei.isNull()) testumgebung::schreibe(pfad, datei);
        THtmlSeite::Daten d = monat(tage(1, 31));
        d.bemerkungen = htmlexport::leseBemerkungen(pfad);
        const QStringList z = zeilen(d);
        QFETCH(QStringList, abschnitt);
        QCOMPARE(z.mid(z.indexOf(u"});};</script>"_s) + 1), abschnitt << u"</div></body></html>"_s);
    }

    void seitenDateiName_data() {
        QTest::addColumn<QString>("tabelle");
        QTest::addColumn<QString>("seite");
        QTest::newRow("gewoehnlich") << "/d/Korvane-Daten-Galerie/2024/Anna_03_2024.tab"
                                     << "Anna_03_2024.html";
        QTest::newRow("grosse Endung") << "/d/x.TAB"
                                       << "x.html";
        QTest::newRow("Ordner mit .tab") << "/d.tab/Anna_03_2024.tab"
                                         << "Anna_03_2024.html";
        QTest::newRow("ohne Endung") << "/d/Anna"
                                     << "Anna.html";
    }
    void seitenDateiName() {
        QFETCH(QString, tabelle);
        QTEST(htmlexport::seitenDateiName(tabelle), "seite");
    }

    // The script beside the page: an existing copy is never replaced; otherwise it comes from the
    // data folder's scripts, which gets the built-in one when it has none (a user's own is kept).
    void skript_data() {
        QTest::addColumn<QByteArray>("daneben");   // null: none beside the page
        QTest::addColumn<QByteArray>("inScripts"); // null: none in the data folder
        QTest::addColumn<QByteArray>("ergebnis");  // null: the built-in one
        QTest::newRow("vorhandene Kopie bleibt")
            << QByteArray("// eigene") << QByteArray() << QByteArray("// eigene");
        QTest::newRow("eigene in scripts")
            << QByteArray() << QByteArray("// meins") << QByteArray("// meins");
        QTest::newRow("eingebaute") << QByteArray() << QByteArray() << QByteArray();
    }
    void skript() {
        QFETCH(QByteArray, daneben);
        QFETCH(QByteArray, inScripts);
        QFETCH(QByteArray, ergebnis);
        const htmlexport::Ziel z = ziel();
        if (!daneben.isNull()) testumgebung::schreibe(z.ordnerText + u"/Chart.min.js"_s, daneben);
        if (!inScripts.isNull()) testumgebung::schreibe(ordner + u"scripts/Chart.min.js"_s, inScripts);
        THtmlSeite s(monat(tage(1, 31)));
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(s, z);
        QVERIFY(e.seiteGeschrieben && e.skriptDa);
        const QByteArray eingebaut = htmlexport::eingebautesSkript();
        QVERIFY(eingebaut.startsWith("/*!\n * Chart.js v2.9.4"));
        QCOMPARE(testumgebung::lies(z.ordnerText + u"/Chart.min.js"_s),
                 ergebnis.isNull() ? eingebaut : ergebnis);
        if (!inScripts.isNull()) QCOMPARE(testumgebung::lies(ordner + u"scripts/Chart.min.js"_s), inScripts);
        QVERIFY(testumgebung::dialoge().alleTexte().isEmpty());
    }

    // Failures: each reported as the page has always said, and the work goes on where it can.
    void fehler_data() {
        QTest::addColumn<QString>("fall");
        QTest::newRow("scripts nicht anlegbar") << "scripts";
        QTest::newRow("Ordner nicht anlegbar") << "ordner";
        QTest::newRow("Seite nicht schreibbar") << "seite";
    }
    void fehler() {
        QFETCH(QString, fall);
        const htmlexport::Ziel z = ziel();
        if (fall == u"scripts") testumgebung::schreibe(ordner + u"scripts"_s, "eine Datei");
        if (fall == u"ordner") testumgebung::schreibe(ordner + u"Korvane-Daten im Browser"_s, "eine Datei");
        if (fall == u"seite") QVERIFY(QDir().mkpath(z.seitenDatei));
        THtmlSeite s(monat(tage(1, 31)));
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(s, z);
        const TestDialoge& d = testumgebung::dialoge();
        const QString nichtGeschrieben =
            u"Die Seite \""_s + z.seitenDatei + u"\" konnte nicht geschrieben werden."_s;
        if (fall == u"scripts") {
            QVERIFY(e.seiteGeschrieben && !e.skriptDa);
            QCOMPARE(
                d.texte(Art::Meldung),
                QStringList{
                    u"Datei \""_s + ordner +
                    u"scripts/Chart.min.js\" konnte nicht in den Ordner:\"JahrPfad\" kopiert werden! "_s});
            QVERIFY(QFileInfo(z.seitenDatei).isFile());
        } else if (fall == u"ordner") {
            QVERIFY(!e.seiteGeschrieben);
            QCOMPARE(d.texte(Art::Meldung),
                     QStringList{u"Ordner \""_s + z.ordnerText + u"\" konnte nicht erstellt werden! "_s});
            QCOMPARE(d.texte(Art::Warnung), QStringList{nichtGeschrieben});
        } else {
            QVERIFY(!e.seiteGeschrieben);
            QCOMPARE(d.alleTexte(), QStringList{nichtGeschrieben});
            QVERIFY(QFileInfo(z.seitenDatei).isDir());
        }
    }

    // The command's steps with a drawn month: remarks saved first, the page named after the
    // table, LinieBeiNullUnterbrechen read anew each run.
    void befehl() {
        Zustand z;
        z.programmOrdner = ordner;
        z.datenOrdner = ordner;
        z.tabellenOrdner = ordner + u"Korvane-Daten-Galerie/"_s;
        z.htmlOrdner = ordner + u"Korvane-Daten im Browser/"_s;
        z.benutzerName = u"Anna"_s;
        const QString tabelle = monatstabelle::tabellenPfad(z, u"Anna"_s, u"03"_s, u"2024"_s);
        testumgebung::schreibe(tabelle,
                               testumgebung::lies(testumgebung::testdaten(u"anna_maerz_2024.tab"_s)));
        TMonatsGrafik g(z);
        QVERIFY(g.GrafikZeichnen(tabelle));
        g.setzeBemerkungen(u"Neu\tgeschrieben"_s);

        const QString seite = htmlexport::DiagrammimBrowseranzeigen(z, g);
        QCOMPARE(seite, z.htmlOrdner + u"2024/Anna_03_2024.html"_s);
        QVERIFY(!g.bemerkungenGeaendert);
        QCOMPARE(testumgebung::lies(monatstabelle::bemerkungsPfadZu(tabelle)),
                 QByteArray("Neu\tgeschrieben\r\n"));
        const QString text = textdatei::ausWin1252(testumgebung::lies(seite));
        QVERIFY(text.contains(u"\r\nNeu&nbsp;&nbsp;&nbsp;&nbsp;geschrieben <br>\r\n"_s));
        QVERIFY(text.contains(u"data: [NaN,NaN,NaN,NaN,134,NaN,"_s)); // 140 and 128 on the 5th
        QVERIFY(QFileInfo::exists(z.htmlOrdner + u"2024/Chart.min.js"_s));

        Schreib_Integer_in_Registry(u"LinieBeiNullUnterbrechen"_s, u"0"_s);
        QCOMPARE(htmlexport::DiagrammimBrowseranzeigen(z, g), seite);
        QVERIFY(textdatei::ausWin1252(testumgebung::lies(seite)).contains(u"data: [0,0,0,0,134,0,"_s));
        QVERIFY(testumgebung::dialoge().alleTexte().isEmpty());
    }

    // Remarks the file cannot hold: the page is still written, from the remarks last saved, and
    // the remarks stay marked as changed so closing asks about them.
    void bemerkungenNichtSpeicherbar() {
        Zustand z;
        z.programmOrdner = z.datenOrdner = ordner;
        z.tabellenOrdner = ordner + u"Korvane-Daten-Galerie/"_s;
        z.htmlOrdner = ordner + u"Korvane-Daten im Browser/"_s;
        const QString tabelle = monatstabelle::tabellenPfad(z, u"Anna"_s, u"03"_s, u"2024"_s);
        testumgebung::schreibe(tabelle,
                               testumgebung::lies(testumgebung::testdaten(u"anna_maerz_2024.tab"_s)));
        testumgebung::schreibe(monatstabelle::bemerkungsPfadZu(tabelle), "alt\r\n");
        TMonatsGrafik g(z);
        QVERIFY(g.GrafikZeichnen(tabelle));
        g.setzeBemerkungen(u"Ω neu"_s);
        const QString seite = htmlexport::DiagrammimBrowseranzeigen(z, g);
        QVERIFY(!seite.isEmpty());
        QVERIFY(g.bemerkungenGeaendert);
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung),
                 QStringList{textdatei::meldungNichtDarstellbar(u"Ω neu"_s) +
                             u" Die Seite zeigt die zuletzt gespeicherten Bemerkungen."_s});
        QVERIFY(testumgebung::lies(seite).contains("\r\nalt <br>\r\n"));
    }

    void ohneMonat_data() {
        QTest::addColumn<bool>("nieGezeichnet");
        QTest::newRow("nie ein Monat") << true;
        QTest::newRow("Benutzer gewechselt") << false;
    }
    // No month in use: the message, and nothing written.
    void ohneMonat() {
        QFETCH(bool, nieGezeichnet);
        Zustand z;
        z.datenOrdner = ordner;
        z.htmlOrdner = ordner + u"Korvane-Daten im Browser/"_s;
        if (!nieGezeichnet) z.monatText = u"03"_s, z.jahrText = u"2024"_s; // the table in use was forgotten
        TMonatsGrafik g(z);
        QCOMPARE(htmlexport::DiagrammimBrowseranzeigen(z, g), QString());
        QCOMPARE(testumgebung::dialoge().texte(Art::Meldung),
                 QStringList{u"Es wurden noch keine Daten eingegeben!"_s});
        QVERIFY(!QDir(z.htmlOrdner).exists());
    }

    // Installed browsers from desktop entries: WebBrowser in Categories, shown, the first of an ID.
    void browserErkennung_data() {
        QTest::addColumn<Eintraege>("eintraege");
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QStringList>("symbole");
        using E = Eintraege;
        const QByteArray firefox = desktopEintrag(u"Mozilla Firefox"_s, u"firefox %u"_s);
        QTest::newRow("Mozilla Firefox")
            << E{{u"sys/firefox-esr.desktop"_s, firefox}} << QStringList{"Mozilla Firefox"}
            << QStringList{"standard", "firefox"};
        QTest::newRow("Chromium zaehlt als Chrome")
            << E{{u"sys/chromium.desktop"_s, desktopEintrag(u"Chromium"_s, u"chromium %U"_s)}}
            << QStringList{"Chromium"} << QStringList{"standard", "chrome"};
        QTest::newRow("keiner") << E{} << QStringList() << QStringList{"standard"};
        QTest::newRow("Internet Explorer zeigt auch Edge")
            << E{{u"home/ie.desktop"_s, desktopEintrag(u"Internet Explorer"_s, u"wine iexplore %u"_s)}}
            << QStringList{"Internet Explorer"} << QStringList{"standard", "internet explorer", "edge"};
        QTest::newRow("kein Browser")
            << E{{u"sys/office.desktop"_s, desktopEintrag(u"Firefox Office"_s, u"office"_s, u"Office;"_s)}}
            << QStringList() << QStringList{"standard"};
        QTest::newRow("nicht angezeigt")
            << E{{u"sys/firefox.desktop"_s, desktopEintrag(u"Mozilla Firefox"_s, u"firefox"_s,
                                                           u"WebBrowser;"_s, u"NoDisplay=true\n"_s)}}
            << QStringList() << QStringList{"standard"};
        QTest::newRow("verborgen verdeckt dieselbe ID")
            << E{{u"home/firefox.desktop"_s,
                  desktopEintrag(u"Mozilla Firefox"_s, u"firefox"_s, u"WebBrowser;"_s, u"Hidden=true\n"_s)},
                 {u"sys/firefox.desktop"_s, firefox}}
            << QStringList() << QStringList{"standard"};
        QTest::newRow("eigener verdeckt den des Systems")
            << E{{u"home/firefox.desktop"_s, desktopEintrag(u"Firefox Nightly"_s, u"nightly %u"_s)},
                 {u"sys/firefox.desktop"_s, firefox}}
            << QStringList{"Firefox Nightly"} << QStringList{"standard", "firefox"};
        QTest::newRow("Unterordner, mehrere")
            << E{{u"sys/opera/opera.desktop"_s, desktopEintrag(u"Opera"_s, u"opera %U"_s)},
                 {u"sys/microsoft-edge.desktop"_s, desktopEintrag(u"Microsoft Edge"_s, u"edge %U"_s)}}
            << QStringList{"Microsoft Edge", "Opera"} << QStringList{"standard", "edge", "opera"};
    }
    void browserErkennung() {
        QFETCH(Eintraege, eintraege);
        XdgOrdner xdg;
        for (const auto& e : eintraege)
            xdg.lege(e.first, e.second);
        QStringList namen;
        browser::GibInstallierteBrowser(namen);
        QTEST(namen, "namen");
        // The symbols the settings dialog shows for them, in its order; "standard" always.
        QStringList symbole{u"standard"_s};
        const QList<BrowserEintrag> gezeigt = browserwahl::eintraegeAus(programmstart::gefundeneBrowser(), false);
        for (const QString& wort : browserwahl::schluessel())
            for (const BrowserEintrag& e : gezeigt)
                if (e.schluessel == wort) symbole << wort;
        QTEST(symbole, "symbole");
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

    // Each choice reaches the seam with its program and the page path whole, blanks and all.
    void browserStart_data() {
        QTest::addColumn<QString>("wahl");
        QTest::addColumn<Eintraege>("eintraege");
        QTest::addColumn<QStringList>("befehl"); // empty: opened by the default handler; "P": the page
        using E = Eintraege;
        const E alle{{u"sys/chromium.desktop"_s, desktopEintrag(u"Chromium"_s, u"/usr/bin/chromium %U"_s)},
                     {u"sys/firefox-esr.desktop"_s,
                      desktopEintrag(u"Firefox ESR"_s, u"/usr/lib/firefox-esr/firefox-esr %u"_s)},
                     {u"sys/microsoft-edge.desktop"_s,
                      desktopEintrag(u"Microsoft Edge"_s, u"/usr/bin/microsoft-edge-stable %U"_s)},
                     {u"sys/opera.desktop"_s, desktopEintrag(u"Opera"_s, u"opera %U"_s)}};
        QTest::newRow("standard") << "standard" << alle << QStringList();
        QTest::newRow("leer ist standard") << "" << alle << QStringList();
        QTest::newRow("firefox") << "firefox" << alle << QStringList{"/usr/lib/firefox-esr/firefox-esr", "P"};
        QTest::newRow("chrome") << "chrome" << alle << QStringList{"/usr/bin/chromium", "P"};
        QTest::newRow("edge") << "edge" << alle << QStringList{"/usr/bin/microsoft-edge-stable", "P"};
        QTest::newRow("internet explorer") << "internet explorer" << alle << QStringList();
        QTest::newRow("opera") << "opera" << alle << QStringList();
        QTest::newRow("safari") << "safari" << alle << QStringList();
        QTest::newRow("firefox ohne Eintrag") << "firefox" << E{} << QStringList{"firefox", "P"};
        QTest::newRow("edge ohne Eintrag") << "edge" << E{} << QStringList{"microsoft-edge", "P"};
    }
    void browserStart() {
        QFETCH(QString, wahl);
        QFETCH(Eintraege, eintraege);
        QFETCH(QStringList, befehl);
        XdgOrdner xdg;
        for (const auto& e : eintraege)
            xdg.lege(e.first, e.second);
        Schreib_String_in_Registry(u"Browser"_s, wahl);
        const QString seite = ordner + u"Korvane-Daten im Browser/2024/Anna_03_2024.html"_s;
        QStringList geoeffnet;
        QList<shell::Aufruf> gestartet;
        shell::zeichneAuf(&geoeffnet);
        shell::zeichneStartsAuf(&gestartet);
        browserstart::oeffne(seite);
        shell::zeichneAuf(nullptr);
        shell::zeichneStartsAuf(nullptr);
        if (befehl.isEmpty()) {
            QCOMPARE(geoeffnet, QStringList{seite});
            QCOMPARE(gestartet.size(), 0);
        } else {
            QCOMPARE(geoeffnet, QStringList());
            QCOMPARE(gestartet.size(), 1);
            befehl.replaceInStrings(u"P"_s, seite);
            QCOMPARE(QStringList{gestartet.first().programm} + gestartet.first().argumente, befehl);
        }
        QCOMPARE(Lies_String_aus_Registry(u"Browser"_s), wahl.isEmpty() ? u"standard"_s : wahl);
        QVERIFY(testumgebung::dialoge().alleTexte().isEmpty());
    }

    void browserStartScheitert_data() {
        QTest::addColumn<bool>("wirklich"); // started for real, or refused by the seam
        QTest::newRow("Programm fehlt") << true;
        QTest::newRow("Start abgelehnt") << false;
    }
    // A browser that cannot be started: the warning naming its program; the page stays.
    void browserStartScheitert() {
        QFETCH(bool, wirklich);
        XdgOrdner xdg;
        xdg.lege(u"sys/firefox.desktop"_s,
                 desktopEintrag(u"Mozilla Firefox"_s, u"/nicht/vorhanden/firefox %u"_s));
        Schreib_String_in_Registry(u"Browser"_s, u"firefox"_s);
        QList<shell::Aufruf> gestartet;
        if (!wirklich) shell::zeichneStartsAuf(&gestartet, false);
        browserstart::oeffne(ordner + u"seite.html"_s);
        shell::zeichneStartsAuf(nullptr);
        QCOMPARE(gestartet.size(), wirklich ? 0 : 1);
        QCOMPARE(testumgebung::dialoge().texte(Art::Warnung),
                 QStringList{u"Datei: /nicht/vorhanden/firefox kann nicht geöffnet werden"_s});
    }

    // The pages in Debian's chromium: no console message of any kind, and every canvas the page
    // has drawn on.
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
        QTest::newRow("voller Monat") << voll << false << alle;
        QTest::newRow("voller Monat, Werte an den Punkten") << voll << true << alle;
        QTest::newRow("Tage 1-10") << tage(1, 10) << false << QStringList{"diagramm1", "diagramm4"};
        QTest::newRow("nur Nullen") << QList<Lesung>{{5, 0, 0, 0}} << false << QStringList();
    }
    void imBrowser() {
        QFETCH(QList<Lesung>, lesungen);
        QFETCH(bool, werteAnDenPunkten);
        QFETCH(QStringList, canvas);
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
        testumgebung::schreibe(
            sonde,
            testumgebung::lies(z.seitenDatei) +
                "<script>window.addEventListener('load', function() { setTimeout(function() { var r = [];"
                "document.querySelectorAll('canvas').forEach(function(c) { var p = c.getContext('2d')"
                ".getImageData(0, 0, c.width, c.height).data; var n = 0; for (var i = 3; i < p.length; i += "
                "4)"
                " if (p[i]) n++; r.push(c.id + '=' + n); }); var e = document.createElement('pre');"
                "e.id = 'sonde'; e.textContent = r.join(';'); document.body.appendChild(e); }, 2500); });"
                "</script>\r\n");
        QTemporaryDir profil;
        QProcess p;
        p.start(chromium,
                {u"--headless"_s, u"--disable-gpu"_s, u"--no-sandbox"_s, u"--enable-logging=stderr"_s,
                 u"--v=0"_s, u"--user-data-dir="_s + profil.path(), u"--window-size=1300,1200"_s,
                 u"--virtual-time-budget=6000"_s, u"--dump-dom"_s, QUrl::fromLocalFile(sonde).toString()});
        QVERIFY(p.waitForFinished(15000));
        const QString dom = QString::fromUtf8(p.readAllStandardOutput());
        QStringList konsole;
        for (const QString& zeile : QString::fromUtf8(p.readAllStandardError()).split(u'\n'))
            if (zeile.contains(u":CONSOLE"_s)) konsole << zeile;
        QVERIFY2(konsole.isEmpty(), qPrintable(konsole.join(u'\n')));

        const QRegularExpressionMatch m = QRegularExpression(u"<pre id=\"sonde\">([^<]*)</pre>"_s).match(dom);
        QVERIFY2(m.hasMatch(), qPrintable(dom.right(500)));
        QStringList gezeichnet, leer;
        for (const QString& eintrag : m.captured(1).split(u';', Qt::SkipEmptyParts)) {
            const QStringList teile = eintrag.split(u'=');
            (teile.value(1).toInt() > 1000 ? gezeichnet : leer) << teile.value(0);
        }
        QVERIFY2(leer.isEmpty(), qPrintable(u"leer: "_s + leer.join(u' ')));
        QCOMPARE(gezeichnet, canvas);
        QVERIFY(dom.contains(u"&lt;script&gt;wirdNichtAusgefuehrt()&lt;/script&gt;"_s));
    }
};

KORVANE_TEST_MAIN(TestHtml)
#include "test_html.moc"
