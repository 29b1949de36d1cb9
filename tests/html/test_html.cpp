// Installed browsers and how the chart page is opened in the one chosen.
#include "testumgebung.h"

#include "export/html/browserstart.h"
#include "platform/browser.h"
#include "platform/shell.h"
#include "storage/registry.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using Art = TestDialoge::Art;

namespace {
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

// Desktop entries: where ("sys/firefox.desktop") and what.
using Eintraege = QList<QPair<QString, QByteArray>>;

class TestHtml : public QObject {
    Q_OBJECT

    QString ordner; // a fresh program and data folder per test function

private Q_SLOTS:
    void init() {
        ordner = testumgebung::neuerProgrammOrdner(QString::fromLatin1(QTest::currentTestFunction()));
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        testumgebung::dialoge().leeren();
    }
    void cleanup() { QCOMPARE(testumgebung::dialoge().unerwartet, QStringList()); }

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
        QTEST(browser::symboleFuer(namen), "symbole");
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
};

KORVANE_TEST_MAIN(TestHtml)
#include "test_html.moc"
