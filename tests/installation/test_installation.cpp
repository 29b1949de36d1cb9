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

namespace {

const QString kKennung = QStringLiteral("de.orvalis.Korvane");
const QString kTyp = QStringLiteral("application/x-korvane-monatstabelle");

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
        a.text = programm + QStringLiteral(" fehlt (scripts/korvane.sh installiert es)");
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
    QString share(const QString& pfad) const { return m_prefix + QStringLiteral("/share/") + pfad; }
    QString eintrag() const {
        return share(QStringLiteral("applications/") + kKennung + QStringLiteral(".desktop"));
    }

private Q_SLOTS:
    void initTestCase() {
        m_prefix = testumgebung::wurzel() + QStringLiteral("/prefix");
        const Ausgabe a =
            laufe(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(KORVANE_BAU),
                                            QStringLiteral("--prefix"), m_prefix});
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
        QVERIFY(QFileInfo(m_prefix + QStringLiteral("/bin/korvane")).isExecutable());
        for (int groesse : {48, 256}) {
            const QImage bild(
                share(QStringLiteral("icons/hicolor/%1x%1/apps/de.orvalis.Korvane.png").arg(groesse)));
            QCOMPARE(bild.size(), QSize(groesse, groesse));
            QVERIFY(bild.hasAlphaChannel() && bild.pixelColor(groesse / 2, groesse / 2).alpha() == 255);
        }
        QCOMPARE(testumgebung::lies(share(QStringLiteral("doc/korvane/Korvane-Hilfe.pdf"))),
                 testumgebung::lies(QStringLiteral(KORVANE_QUELLEN "/resources/hilfe/Korvane-Hilfe.pdf")));
        // The metainfo names the licence and the release being built.
        const QString meta = QString::fromUtf8(
            testumgebung::lies(share(QStringLiteral("metainfo/de.orvalis.Korvane.metainfo.xml"))));
        QVERIFY(meta.contains(QStringLiteral("<project_license>GPL-3.0-or-later</project_license>")));
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
        const QByteArray tabelle =
            testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
        QTest::newRow("monatstabelle") << tabelle << true;
        QTest::newRow("tab-getrennte datei eines anderen programms")
            << QByteArray("Name\tWert\r\nAnna\t140\r\n") << false;
        QTest::newRow("kopfzeile nicht in der ersten zeile") << "\r\n" + tabelle << false;
        QTest::newRow("leer") << QByteArray() << false;
    }
    // Known by the first line "[Personendaten]" only: other programs' .tab files stay theirs.
    // Looked up the way a GNOME desktop does (xdg-mime through gio) in a data folder that holds
    // the installed MIME package and entry; the table type opens with Korvane, plain text does not.
    void mimeTyp() {
        QFETCH(QByteArray, inhalt);
        QFETCH(bool, korvane);
        const QString daten = testumgebung::wurzel() + QStringLiteral("/xdg-daten");
        if (!QFileInfo::exists(daten + QStringLiteral("/mime/mime.cache"))) {
            QDir().mkpath(daten + QStringLiteral("/mime/packages"));
            QDir().mkpath(daten + QStringLiteral("/applications"));
            QVERIFY(QFile::copy(share(QStringLiteral("mime/packages/de.orvalis.Korvane.xml")),
                                daten + QStringLiteral("/mime/packages/de.orvalis.Korvane.xml")));
            QVERIFY(
                QFile::copy(eintrag(), daten + QStringLiteral("/applications/de.orvalis.Korvane.desktop")));
            const Ausgabe mime =
                laufe(QStringLiteral("update-mime-database"), {daten + QStringLiteral("/mime")});
            QVERIFY2(mime.status == 0, qPrintable(mime.text));
            const Ausgabe desk =
                laufe(QStringLiteral("update-desktop-database"), {daten + QStringLiteral("/applications")});
            QVERIFY2(desk.status == 0, qPrintable(desk.text));
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), daten);
        env.insert(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/share"));
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        // TryExec: the entry only counts where korvane is on the PATH.
        env.insert(QStringLiteral("PATH"),
                   m_prefix + QStringLiteral("/bin:") + env.value(QStringLiteral("PATH")));

        const QString datei = testumgebung::wurzel() + QStringLiteral("/dateien/") + QTest::currentDataTag() +
                              QStringLiteral(".tab");
        testumgebung::schreibe(datei, inhalt);
        const Ausgabe typ = laufe(QStringLiteral("xdg-mime"),
                                  {QStringLiteral("query"), QStringLiteral("filetype"), datei}, env);
        QCOMPARE(typ.status, 0);
        QVERIFY2(!typ.text.trimmed().isEmpty(), "xdg-mime fand keinen Typ");
        QCOMPARE(typ.text.trimmed() == kTyp, korvane);

        const Ausgabe standard =
            laufe(QStringLiteral("gio"), {QStringLiteral("mime"), typ.text.trimmed()}, env);
        QCOMPARE(standard.status, 0);
        const QString ersteZeile = standard.text.section(u'\n', 0, 0);
        QVERIFY2(ersteZeile.contains(kKennung + QStringLiteral(".desktop")) == korvane,
                 qPrintable(ersteZeile));
    }

    // The package: its name, version, the libraries dpkg-shlibdeps found and the fonts and
    // Qt texts written out, and the files a desktop needs.
    void debPaket() {
        const QString ziel = testumgebung::wurzel() + QStringLiteral("/paket");
        QDir().mkpath(ziel);
        const Ausgabe cpack =
            laufe(QStringLiteral("cpack"),
                  {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), ziel,
                   QStringLiteral("--config"), QStringLiteral(KORVANE_BAU "/CPackConfig.cmake")});
        QVERIFY2(cpack.status == 0, qPrintable(cpack.text));
        const QStringList pakete = QDir(ziel).entryList({QStringLiteral("korvane_*.deb")}, QDir::Files);
        QCOMPARE(pakete.size(), 1);
        const QString deb = ziel + u'/' + pakete.first();
        const QString architektur =
            laufe(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).text.trimmed();
        QCOMPARE(pakete.first(),
                 QStringLiteral("korvane_" KORVANE_VERSION "_") + architektur + QStringLiteral(".deb"));

        auto feld = [&](const char* name) {
            return laufe(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QLatin1String(name)})
                .text.trimmed();
        };
        QCOMPARE(feld("Package"), QStringLiteral("korvane"));
        QCOMPARE(feld("Version"), QStringLiteral(KORVANE_VERSION));
        QCOMPARE(feld("Architecture"), architektur);
        QStringList abhaengig;
        for (const QString& d : feld("Depends").split(u','))
            abhaengig << d.trimmed().section(u' ', 0, 0);
        for (const char* noetig : {"fonts-dejavu-core", "fonts-liberation", "qt6-translations-l10n", "libc6",
                                   "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6network6"})
            QVERIFY2(abhaengig.contains(QLatin1String(noetig)), qPrintable(feld("Depends")));
        QVERIFY(feld("Description").contains(QStringLiteral("GPL-3.0-or-later")));

        const QString inhalt = laufe(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb}).text;
        for (const char* datei :
             {"./usr/bin/korvane", "./usr/share/applications/de.orvalis.Korvane.desktop",
              "./usr/share/mime/packages/de.orvalis.Korvane.xml", "./usr/share/doc/korvane/copyright"})
            QVERIFY2(inhalt.contains(QLatin1String(datei)), datei);
    }

    // Under a real X server the main window carries the class the entry's StartupWMClass names
    // and the icon in both sizes, so task bars group it with its entry.
    // Every desktop action is an export the program knows: run as its Exec says (with a table
    // for %f, without opening the file), each writes its file.
    void aktionen() {
        const QStringList zeilen = QString::fromUtf8(testumgebung::lies(eintrag())).split(u'\n');
        QStringList gruppen, befehle;
        for (const QString& z : zeilen) {
            if (z.startsWith(QStringLiteral("[Desktop Action ")))
                gruppen << z.mid(16).chopped(1);
            else if (z.startsWith(QStringLiteral("Exec=")) && gruppen.size() > befehle.size())
                befehle << z.mid(5);
        }
        QStringList genannt = eintragsWert(eintrag(), QStringLiteral("Actions")).split(u';', Qt::SkipEmptyParts);
        QCOMPARE(genannt, gruppen);
        QVERIFY(gruppen.size() >= 3);
        QCOMPARE(befehle.size(), gruppen.size());

        const QString ordner = testumgebung::wurzel() + QStringLiteral("/aktionen/");
        const QString tabelle = ordner + QStringLiteral("Anna_03_2024.tab");
        testumgebung::schreibe(tabelle,
                               testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("KORVANE_ORDNER"), ordner);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), ordner + QStringLiteral("config"));
        for (const QString& befehl : std::as_const(befehle)) {
            QStringList teile = befehl.split(u' ', Qt::SkipEmptyParts);
            QCOMPARE(teile.takeFirst(), QStringLiteral("korvane"));
            QVERIFY2(teile.removeAll(QStringLiteral("--zeigen")) == 1, qPrintable(befehl));
            QVERIFY2(teile.removeAll(QStringLiteral("%f")) == 1, qPrintable(befehl));
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(m_prefix + QStringLiteral("/bin/korvane"), teile << tabelle);
            QVERIFY(p.waitForFinished(60000));
            QVERIFY2(p.exitCode() == 0, qPrintable(befehl + u' ' + QString::fromLocal8Bit(p.readAllStandardError())));
            const QString datei = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
            QVERIFY2(QFileInfo(datei).size() > 0, qPrintable(befehl + QStringLiteral(": ") + datei));
        }
    }

    void fensterUnterX11() {
        QProcess x;
        x.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        x.start(QStringLiteral("Xvfb"),
                {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                 QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                 QStringLiteral("1024x768x24")});
        QVERIFY2(x.waitForStarted(10000), "Xvfb fehlt (scripts/korvane.sh installiert es)");
        QVERIFY(x.waitForReadyRead(20000));
        const QString anzeige = u':' + QString::fromLatin1(x.readLine()).trimmed();

        const QString ordner = testumgebung::wurzel() + QStringLiteral("/x11");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), anzeige);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("KORVANE_ORDNER"), ordner + QStringLiteral("/programm"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), ordner + QStringLiteral("/config"));
        QProcess korvane;
        korvane.setProcessEnvironment(env);
        korvane.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        korvane.start(QStringLiteral(KORVANE_BIN "/korvane"));
        QVERIFY(korvane.waitForStarted(10000));

        // The main window by its title; the user name dialog of a first start comes with it.
        static const QRegularExpression zeile(QStringLiteral("^\\s*(0x[0-9a-f]+) \"Korvanemesswerte"),
                                              QRegularExpression::MultilineOption);
        QString fenster;
        for (int i = 0; i < 200 && fenster.isEmpty(); ++i) {
            const Ausgabe baum =
                laufe(QStringLiteral("xwininfo"), {QStringLiteral("-display"), anzeige,
                                                   QStringLiteral("-root"), QStringLiteral("-tree")});
            fenster = zeile.match(baum.text).captured(1);
            if (fenster.isEmpty()) QThread::msleep(100);
        }
        QVERIFY2(!fenster.isEmpty(), "kein Hauptfenster erschienen");
        const Ausgabe klasse =
            laufe(QStringLiteral("xprop"), {QStringLiteral("-display"), anzeige, QStringLiteral("-id"),
                                            fenster, QStringLiteral("WM_CLASS")});
        const Ausgabe symbol =
            laufe(QStringLiteral("xprop"),
                  {QStringLiteral("-display"), anzeige, QStringLiteral("-len"), QStringLiteral("1000000"),
                   QStringLiteral("-id"), fenster, QStringLiteral("_NET_WM_ICON")});
        korvane.terminate();
        QVERIFY(korvane.waitForFinished(15000));
        x.terminate();
        x.waitForFinished(10000);

        const QString wmKlasse =
            eintragsWert(QStringLiteral(KORVANE_QUELLEN "/resources/desktop/de.orvalis.Korvane.desktop"),
                         QStringLiteral("StartupWMClass"));
        QCOMPARE(wmKlasse, QStringLiteral("Korvane"));
        QCOMPARE(klasse.text.trimmed(),
                 QStringLiteral("WM_CLASS(STRING) = \"korvane\", \"") + wmKlasse + u'"');
        QVERIFY2(symbol.text.contains(QStringLiteral("Icon (48 x 48)")), qPrintable(symbol.text.left(200)));
        QVERIFY(symbol.text.contains(QStringLiteral("Icon (256 x 256)")));
    }
};

KORVANE_TEST_MAIN(TestInstallation)
#include "test_installation.moc"
