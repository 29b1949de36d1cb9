// Korvane as an installed desktop program: the tree `cmake --install` writes, checked by the
// desktop's own validators and MIME lookup; the Debian package; the window's class and icon
// under a real X server.
#include "testumgebung.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

const QString kKennung = u"de.orvalis.Korvane"_s;
const QString kTyp = u"application/x-korvane-monatstabelle"_s;

struct Ausgabe {
    int status = -1;
    QString text; // stdout and stderr
};

// Runs a tool the README's set-up installs; a missing one fails the test rather than skipping it.
Ausgabe laufe(const QString& programm, const QStringList& argumente,
              const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int ms = 300000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programm, argumente);
    Ausgabe a;
    if (!p.waitForStarted(10000)) {
        a.text = programm + u" fehlt (scripts/korvane.sh installiert es)"_s;
        return a;
    }
    p.waitForFinished(ms);
    a.text = QString::fromUtf8(p.readAll());
    a.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return a;
}

// One key of the desktop entry's main group.
QString eintragsWert(const QString& datei, const QString& schluessel) {
    const QStringList zeilen = QString::fromUtf8(testumgebung::lies(datei)).split(u'\n');
    for (const QString& z : zeilen)
        if (z.startsWith(schluessel + u'=')) return z.mid(schluessel.size() + 1);
    return {};
}

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT

    QString m_prefix;
    QString share(const QString& pfad) const { return m_prefix + u"/share/"_s + pfad; }
    QString eintrag() const { return share(u"applications/"_s + kKennung + u".desktop"_s); }

private Q_SLOTS:
    void initTestCase() {
        m_prefix = testumgebung::wurzel() + u"/prefix"_s;
        const Ausgabe a =
            laufe(u"cmake"_s, {u"--install"_s, QStringLiteral(KORVANE_BAU), u"--prefix"_s, m_prefix});
        QVERIFY2(a.status == 0, qPrintable(a.text));
    }

    // Exactly these files, so nothing is missing and no test program or tool slips in.
    void installierterBaum() {
        QStringList dateien;
        for (QDirIterator it(m_prefix, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            dateien << it.next().mid(m_prefix.size() + 1);
        dateien.sort();
        QCOMPARE(dateien, (QStringList{"bin/korvane", "share/applications/de.orvalis.Korvane.desktop",
                                       "share/doc/korvane/Korvane-Hilfe.pdf", "share/doc/korvane/copyright",
                                       "share/icons/hicolor/256x256/apps/de.orvalis.Korvane.png",
                                       "share/icons/hicolor/48x48/apps/de.orvalis.Korvane.png",
                                       "share/icons/hicolor/scalable/apps/de.orvalis.Korvane.svg",
                                       "share/metainfo/de.orvalis.Korvane.metainfo.xml",
                                       "share/mime/packages/de.orvalis.Korvane.xml"}));
        QVERIFY(QFileInfo(m_prefix + u"/bin/korvane"_s).isExecutable());
        for (int groesse : {48, 256}) {
            const QImage bild(share(u"icons/hicolor/%1x%1/apps/de.orvalis.Korvane.png"_s.arg(groesse)));
            QCOMPARE(bild.size(), QSize(groesse, groesse));
            QVERIFY(bild.hasAlphaChannel() && bild.pixelColor(groesse / 2, groesse / 2).alpha() == 255);
        }
        QCOMPARE(testumgebung::lies(share(u"doc/korvane/Korvane-Hilfe.pdf"_s)),
                 testumgebung::lies(QStringLiteral(KORVANE_QUELLEN "/resources/hilfe/Korvane-Hilfe.pdf")));
        // The metainfo names the licence and the release being built.
        const QString meta =
            QString::fromUtf8(testumgebung::lies(share(u"metainfo/de.orvalis.Korvane.metainfo.xml"_s)));
        QVERIFY(meta.contains(u"<project_license>GPL-3.0-or-later</project_license>"_s));
        QVERIFY(meta.contains(QStringLiteral("<release version=\"" KORVANE_VERSION "\"")));
    }

    void validatoren_data() {
        QTest::addColumn<QString>("programm");
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QString>("datei");
        QTest::newRow("desktop-file-validate")
            << "desktop-file-validate" << QStringList{} << "applications/de.orvalis.Korvane.desktop";
        QTest::newRow("appstreamcli") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                      << "metainfo/de.orvalis.Korvane.metainfo.xml";
    }
    // The desktop's own validators accept the entry and the metainfo.
    void validatoren() {
        QFETCH(QString, programm);
        QFETCH(QStringList, argumente);
        QFETCH(QString, datei);
        const Ausgabe a = laufe(programm, argumente << share(datei));
        QVERIFY2(a.status == 0, qPrintable(a.text));
        // desktop-file-validate says nothing when all is well; a hint would mean something is off.
        if (programm == QLatin1String("desktop-file-validate")) QCOMPARE(a.text, QString());
    }

    void mimeTyp_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<bool>("korvane");
        const QByteArray tabelle = testumgebung::lies(testumgebung::testdaten(u"anna_maerz_2024.tab"_s));
        QTest::newRow("monatstabelle") << tabelle << true;
        QTest::newRow("tab-getrennte datei eines anderen programms")
            << QByteArray("Name\tWert\r\nAnna\t140\r\n") << false;
        QTest::newRow("kopfzeile nicht in der ersten zeile") << "\r\n" + tabelle << false;
    }
    // Known by the first line "[Personendaten]" only: other programs' .tab files stay theirs.
    // Looked up the way a GNOME desktop does (xdg-mime through gio) in a data folder that holds
    // the installed MIME package and entry; the table type opens with Korvane, plain text does not.
    void mimeTyp() {
        QFETCH(QByteArray, inhalt);
        QFETCH(bool, korvane);
        const QString daten = testumgebung::wurzel() + u"/xdg-daten"_s;
        if (!QFileInfo::exists(daten + u"/mime/mime.cache"_s)) {
            QDir().mkpath(daten + u"/mime/packages"_s);
            QDir().mkpath(daten + u"/applications"_s);
            QVERIFY(QFile::copy(share(u"mime/packages/de.orvalis.Korvane.xml"_s),
                                daten + u"/mime/packages/de.orvalis.Korvane.xml"_s));
            QVERIFY(QFile::copy(eintrag(), daten + u"/applications/de.orvalis.Korvane.desktop"_s));
            const Ausgabe mime = laufe(u"update-mime-database"_s, {daten + u"/mime"_s});
            QVERIFY2(mime.status == 0, qPrintable(mime.text));
            const Ausgabe desk = laufe(u"update-desktop-database"_s, {daten + u"/applications"_s});
            QVERIFY2(desk.status == 0, qPrintable(desk.text));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, daten);
        env.insert(u"XDG_DATA_DIRS"_s, u"/usr/share"_s);
        env.insert(u"XDG_CURRENT_DESKTOP"_s, u"GNOME"_s);
        // TryExec: the entry only counts where korvane is on the PATH.
        env.insert(u"PATH"_s, m_prefix + u"/bin:"_s + env.value(u"PATH"_s));

        const QString datei = testumgebung::wurzel() + u"/dateien/"_s + QTest::currentDataTag() + u".tab"_s;
        testumgebung::schreibe(datei, inhalt);
        const Ausgabe typ = laufe(u"xdg-mime"_s, {u"query"_s, u"filetype"_s, datei}, env);
        QCOMPARE(typ.status, 0);
        QVERIFY2(!typ.text.trimmed().isEmpty(), "xdg-mime fand keinen Typ");
        QCOMPARE(typ.text.trimmed() == kTyp, korvane);

        const Ausgabe standard = laufe(u"gio"_s, {u"mime"_s, typ.text.trimmed()}, env);
        QCOMPARE(standard.status, 0);
        const QString ersteZeile = standard.text.section(u'\n', 0, 0);
        QVERIFY2(ersteZeile.contains(kKennung + u".desktop"_s) == korvane, qPrintable(ersteZeile));
    }

    // The package: name, version, the libraries, fonts and Qt texts it needs; its files those below /usr.
    void debPaket() {
        const QString ziel = testumgebung::wurzel() + u"/paket"_s;
        QDir().mkpath(ziel);
        const Ausgabe cpack = laufe(u"cpack"_s, {u"-G"_s, u"DEB"_s, u"-B"_s, ziel, u"--config"_s,
                                                 QStringLiteral(KORVANE_BAU "/CPackConfig.cmake")});
        QVERIFY2(cpack.status == 0, qPrintable(cpack.text));
        const QStringList pakete = QDir(ziel).entryList({u"korvane_*.deb"_s}, QDir::Files);
        QCOMPARE(pakete.size(), 1);
        const QString deb = ziel + u'/' + pakete.first();
        const QString architektur = laufe(u"dpkg"_s, {u"--print-architecture"_s}).text.trimmed();
        QCOMPARE(pakete.first(), QStringLiteral("korvane_" KORVANE_VERSION "_") + architektur + u".deb"_s);

        auto feld = [&](const char* name) {
            return laufe(u"dpkg-deb"_s, {u"-f"_s, deb, QLatin1String(name)}).text.trimmed();
        };
        QCOMPARE(feld("Package"), u"korvane"_s);
        QCOMPARE(feld("Version"), QStringLiteral(KORVANE_VERSION));
        QCOMPARE(feld("Architecture"), architektur);
        QStringList abhaengig;
        for (const QString& d : feld("Depends").split(u','))
            abhaengig << d.trimmed().section(u' ', 0, 0);
        for (const char* noetig : {"fonts-dejavu-core", "fonts-liberation", "qt6-translations-l10n", "libc6",
                                   "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6"})
            QVERIFY2(abhaengig.contains(QLatin1String(noetig)), qPrintable(feld("Depends")));
        QVERIFY(feld("Description").contains(u"GPL-3.0-or-later"_s));
        QVERIFY(laufe(u"dpkg-deb"_s, {u"-c"_s, deb}).text.contains(u" ./usr/bin/korvane\n"_s));
    }

    // Every desktop action runs an export the program knows, on the file given, and opens what it wrote.
    void aktionen() {
        const QStringList zeilen = QString::fromUtf8(testumgebung::lies(eintrag())).split(u'\n');
        QStringList gruppen, befehle;
        for (const QString& z : zeilen) {
            if (z.startsWith(u"[Desktop Action "_s))
                gruppen << z.mid(16).chopped(1);
            else if (z.startsWith(u"Exec="_s) && gruppen.size() > befehle.size())
                befehle << z.mid(5);
        }
        QStringList genannt = eintragsWert(eintrag(), u"Actions"_s).split(u';', Qt::SkipEmptyParts);
        QCOMPARE(genannt, gruppen);
        QVERIFY(gruppen.size() >= 3);
        QCOMPARE(befehle.size(), gruppen.size());
        const Ausgabe hilfe = laufe(m_prefix + u"/bin/korvane"_s, {u"--help"_s});
        QCOMPARE(hilfe.status, 0);
        for (const QString& befehl : std::as_const(befehle)) {
            const QString art = befehl.section(u' ', 2, 2);
            QCOMPARE(befehl, u"korvane --export "_s + art + u" --zeigen %f"_s);
            QVERIFY2(hilfe.text.contains(u"\n        "_s + art + u' '), qPrintable(befehl));
        }
    }

    // Under a real X server the main window has the entry's StartupWMClass and its icon in both sizes.
    void fensterUnterX11() {
        QProcess x;
        x.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        x.start(u"Xvfb"_s,
                {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"1024x768x24"_s});
        QVERIFY2(x.waitForStarted(10000), "Xvfb fehlt (scripts/korvane.sh installiert es)");
        QVERIFY(x.waitForReadyRead(20000));
        const QString anzeige = u':' + QString::fromLatin1(x.readLine()).trimmed();

        const QString ordner = testumgebung::wurzel() + u"/x11"_s;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, anzeige);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.insert(u"KORVANE_ORDNER"_s, ordner + u"/programm"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, ordner + u"/config"_s);
        QProcess korvane;
        korvane.setProcessEnvironment(env);
        korvane.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        korvane.start(QStringLiteral(KORVANE_BIN "/korvane"));
        QVERIFY(korvane.waitForStarted(10000));

        // The main window by its title; the user name dialog of a first start comes with it.
        static const QRegularExpression zeile(u"^\\s*(0x[0-9a-f]+) \"Korvanemesswerte"_s,
                                              QRegularExpression::MultilineOption);
        QString fenster;
        for (int i = 0; i < 200 && fenster.isEmpty(); ++i) {
            const Ausgabe baum = laufe(u"xwininfo"_s, {u"-display"_s, anzeige, u"-root"_s, u"-tree"_s});
            fenster = zeile.match(baum.text).captured(1);
            if (fenster.isEmpty()) QThread::msleep(100);
        }
        QVERIFY2(!fenster.isEmpty(), "kein Hauptfenster erschienen");
        const Ausgabe klasse = laufe(u"xprop"_s, {u"-display"_s, anzeige, u"-id"_s, fenster, u"WM_CLASS"_s});
        const Ausgabe symbol = laufe(u"xprop"_s, {u"-display"_s, anzeige, u"-len"_s, u"1000000"_s, u"-id"_s,
                                                  fenster, u"_NET_WM_ICON"_s});
        korvane.terminate();
        QVERIFY(korvane.waitForFinished(15000));
        x.terminate();
        x.waitForFinished(10000);

        QCOMPARE(eintragsWert(eintrag(), u"StartupWMClass"_s), u"Korvane"_s);
        QCOMPARE(klasse.text.trimmed(), u"WM_CLASS(STRING) = \"korvane\", \"Korvane\""_s);
        QVERIFY2(symbol.text.contains(u"Icon (48 x 48)"_s), qPrintable(symbol.text.left(200)));
        QVERIFY(symbol.text.contains(u"Icon (256 x 256)"_s));
    }
};

KORVANE_TEST_MAIN(TestInstallation)
#include "test_installation.moc"
