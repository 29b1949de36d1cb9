// The program as a process: the end by a signal, a second start's hand-over, the command line.
#include "testumgebung.h"

#include "app/einzelstart.h"
#include "chart/tmonatsgrafik.h"
#include "export/html/htmlexport.h"
#include "export/image/gui/tbildexport.h"
#include "export/pdf/gui/tpdfexport.h"
#include "platform/shell.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"
#include "table/gui/ttabellendlg.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QThread>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using testumgebung::Ergebnis, testumgebung::allesUnter, testumgebung::lies, testumgebung::schreibe,
    testumgebung::werkzeug;

namespace {

const QString kKorvane = QStringLiteral(KORVANE_BIN "/korvane");
const QString kMaerz = u"Korvane-Daten-Galerie/2024/Anna_03_2024.tab"_s; // below a program folder
const QString kBrowser = u"Korvane-Daten im Browser"_s;

struct Lauf {
    QString ordner; // the program folder ($KORVANE_ORDNER), also the working folder
    QString config;

    QString einstellungen() const { return config + "/Orvalis/Korvane.conf"; }
};

Lauf neuerLauf(const QString& name) {
    const QString wurzel = testumgebung::wurzel() + u'/' + name;
    QDir(wurzel).removeRecursively();
    Lauf l{wurzel + "/programm/", wurzel + "/config"};
    QDir().mkpath(l.ordner);
    QDir().mkpath(l.config);
    return l;
}

void starte(QProcess& p, const Lauf& l, const QStringList& argumente = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, l.config);
    env.insert(u"XDG_CACHE_HOME"_s, l.config + "/../cache");
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"KORVANE_ORDNER"_s, l.ordner);
    p.setProcessEnvironment(env); // sanitizer options from ctest pass on unchanged
    // Its warnings and any sanitizer report belong in the test's output, not in an unread buffer.
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setWorkingDirectory(l.ordner);
    p.start(kKorvane, argumente);
    QVERIFY(p.waitForStarted(10000));
}

// Ends p by SIGTERM: its exit code, or -1 when it did not end normally; dauer: how long that took.
int beende(QProcess& p, qint64* dauer = nullptr) {
    QElapsedTimer uhr;
    uhr.start();
    p.terminate();
    const bool beendet = p.waitForFinished(15000);
    if (dauer) *dauer = uhr.elapsed();
    return beendet && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Waits until the program has settled its folders and shows its first window.
bool wartetBis(const std::function<bool()>& bedingung, int ms = 15000) {
    for (int i = 0; i < ms / 50; ++i) {
        if (bedingung()) return true;
        QThread::msleep(50);
    }
    return bedingung();
}

// Settings as a Korvane that ran before leaves them.
void setzeEinstellungen(const Lauf& l, const QVariantMap& werte) {
    QDir().mkpath(l.config + "/Orvalis");
    QSettings s(l.einstellungen(), QSettings::IniFormat);
    for (auto it = werte.cbegin(); it != werte.cend(); ++it)
        s.setValue(it.key(), it.value());
}

QByteArray maerzDaten() {
    return lies(testumgebung::testdaten(u"anna_maerz_2024.tab"_s));
}

// The same readings in April.
QByteArray aprilDaten() {
    return maerzDaten().replace(".03.2024", ".04.2024").replace("M\xe4rz", "April");
}

// Anna with her March table in use, as a Korvane that ran before leaves the settings.
QString annaInGebrauch(const Lauf& l) {
    const QString tabelle = l.ordner + kMaerz;
    setzeEinstellungen(l, {{"InstallOrt", l.ordner},
                           {"DatenSpeicherOrt", l.ordner},
                           {"BenutzerName", "Anna"},
                           {"TabellenDateiName", tabelle}});
    schreibe(tabelle, maerzDaten());
    return tabelle;
}

// Runs korvane without a display, pfadDavor before $PATH, stdout into ausgabe, files up to grenze.
Ergebnis ohneFenster(const Lauf& l, const QStringList& argumente, const QString& pfadDavor = {},
                     const QString& ausgabe = {}, rlim_t grenze = 0) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!pfadDavor.isEmpty()) env.insert(u"PATH"_s, pfadDavor + u':' + env.value(u"PATH"_s));
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(u"XDG_CONFIG_HOME"_s, l.config);
    env.insert(u"KORVANE_ORDNER"_s, l.ordner);
    return werkzeug(kKorvane, argumente, [&](QProcess& p) {
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(l.ordner);
        if (!ausgabe.isEmpty()) p.setStandardOutputFile(ausgabe);
        if (grenze)
            p.setChildProcessModifier([grenze] {
                const struct rlimit r = {grenze, RLIM_INFINITY};
                ::setrlimit(RLIMIT_FSIZE, &r);
            });
    });
}

// A FIFO in place of a file that is read.
bool fifoStatt(const QString& pfad) {
    QFile::remove(pfad);
    QDir().mkpath(QFileInfo(pfad).path());
    return ::mkfifo(QFile::encodeName(pfad).constData(), 0600) == 0;
}

// Every file and folder below ordner, relative, sorted.

// Anna's March filed in the program folder, with remarks a page must escape.
QString maerzMitBemerkungen(const QString& programmOrdner) {
    const QString tabelle = programmOrdner + kMaerz;
    schreibe(tabelle, maerzDaten());
    schreibe(tabelle.chopped(3) + "txt", "Nach dem \tSport <b>\r\n");
    return tabelle;
}

QString aprilVon(const QString& programmOrdner) {
    const QString tabelle = programmOrdner + "Korvane-Daten-Galerie/2024/Anna_04_2024.tab";
    schreibe(tabelle, aprilDaten());
    return tabelle;
}

// A stand-in desktop program in bin; it writes its arguments, each followed by "|", to the file returned.
QString aufzeichnendesProgramm(const QString& bin, const QString& name) {
    const QString aufruf = bin + u'/' + name + ".aufruf";
    schreibe(bin + u'/' + name,
             u"#!/bin/sh\nfor a; do printf '%s|' \"$a\"; done > '%1.neu' && mv '%1.neu' '%1'\n"_s.arg(aufruf)
                 .toUtf8());
    QFile::setPermissions(bin + u'/' + name, QFile::ReadOwner | QFile::ExeOwner);
    return aufruf;
}

} // namespace

class TestProgramm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void signalBeendet_data() {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<int>("status"); // 1: the start is held before its end
        QTest::newRow("erster start") << "erst" << 0;
        QTest::newRow("mit monatstabelle") << "mit" << 0;
        QTest::newRow("fifo als einstellungsdatei") << "einstellungen" << 1;
        // A plain file where the data folder belongs: a signal in its message never makes a success.
        QTest::newRow("datenordner nicht anlegbar") << "blockiert" << 1;
        // A silent Korvane of the same set-up holds the lock: the start with a table waits, writing nothing.
        QTest::newRow("uebergabe an stummes korvane") << "stumm" << 1;
    }
    // SIGTERM closes like the close box, at once wherever Korvane waits: settings and folders
    // behind, the table as it was (a signal while the start asks: tests/storage).
    void signalBeendet() {
        QFETCH(QString, fall);
        QFETCH(int, status);
        const Lauf l = neuerLauf(u"signal-"_s + fall);
        const bool stumm = fall == u"stumm";
        const QString tabelle = stumm ? l.config + "/../Bert_03_2024.tab" : l.ordner + kMaerz;
        const bool inGebrauch = fall == u"mit";
        if (inGebrauch) {
            annaInGebrauch(l);
            setzeEinstellungen(l, {{"StiftBreite", 5}});
        }
        if (fall == u"einstellungen") QVERIFY(fifoStatt(l.einstellungen()));
        if (fall == u"blockiert") {
            schreibe(l.ordner + "blockiert", "datei");
            setzeEinstellungen(l, {{"InstallOrt", l.ordner}, {"DatenSpeicherOrt", l.ordner + "blockiert/"}});
        }
        int sperre = -1;
        if (stumm) {
            schreibe(tabelle, maerzDaten());
            // The same set-up as the child's: its settings file and program folder.
            const Einzelstart gleicheEinrichtung(l.einstellungen() + u'\n' + l.ordner);
            sperre = ::open(QFile::encodeName(gleicheEinrichtung.sperrPfad()).constData(),
                            O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            QVERIFY(sperre >= 0 && ::flock(sperre, LOCK_EX | LOCK_NB) == 0);
        }
        const QByteArray tabelleVorher = QFileInfo(tabelle).isFile() ? lies(tabelle) : QByteArray();
        QProcess p;
        starte(p, l, stumm ? QStringList{tabelle} : QStringList());
        // Settled once the program folder's folders exist, or (a start held) shortly after start.
        QVERIFY(wartetBis([&] { return status == 1 || QDir(l.ordner + kBrowser).exists(); }));
        QThread::msleep(2500);
        QCOMPARE(p.state(), QProcess::Running); // waiting: in a message box, or drawn and idle
        qint64 dauer = 0;
        QCOMPARE(beende(p, &dauer), status);
        if (sperre >= 0) ::close(sperre);
        // Generous bounds: the fault never ended, or waited out 10 s; a hand-over's wait ends at once.
        QVERIFY2(dauer < (stumm ? 1000 : 5000), qPrintable(QString::number(dauer)));
        if (!tabelleVorher.isEmpty()) QCOMPARE(lies(tabelle), tabelleVorher);
        if (fall == u"einstellungen" || stumm) {
            QVERIFY(!QFileInfo(l.einstellungen()).isFile()); // still the FIFO, never replaced; or none
            if (stumm) QCOMPARE(allesUnter(l.ordner), QStringList());
            return;
        }
        QSettings s(l.einstellungen(), QSettings::IniFormat);
        QCOMPARE(s.value(u"InstallOrt"_s).toString(), l.ordner);
        QCOMPARE(s.contains(u"TabellenDateiName"_s), fall != u"blockiert");
        QCOMPARE(s.value(u"TabellenDateiName"_s).toString(), inGebrauch ? tabelle : QString());
        if (inGebrauch) {
            QCOMPARE(s.value(u"BenutzerName"_s).toString(), u"Anna"_s);
            QCOMPARE(s.value(u"StiftBreite"_s).toInt(), 5);
        }
        QCOMPARE(QDir(l.ordner + kBrowser).exists(), status == 0);
        if (status == 0) QVERIFY(QDir(l.ordner + "Korvane-Daten-Galerie").exists());
        if (fall == u"blockiert") QCOMPARE(lies(l.ordner + "blockiert"), QByteArray("datei"));
    }

    // A second Korvane started with a table hands it to the running one, which files it; it ends with 0.
    void zweiterStartUebergibt() {
        const Lauf l = neuerLauf(u"zweiter"_s);
        const QString anna = annaInGebrauch(l);
        const QString bert = l.config + "/../Bert_03_2024.tab";
        schreibe(bert, maerzDaten().replace("BenutzerName=Anna", "BenutzerName=Bert"));
        QProcess laufend;
        starte(laufend, l);
        QVERIFY(wartetBis([&] { return QDir(l.ordner + kBrowser).exists(); })); // listening by then
        QProcess p;
        starte(p, l, {bert});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 0);
        const QString abgelegt = l.ordner + "Korvane-Daten-Galerie/2024/Bert_03_2024.tab";
        QVERIFY(wartetBis([&] { return QFileInfo::exists(abgelegt); }));
        QCOMPARE(beende(laufend), 0);
        QCOMPARE(QSettings(l.einstellungen(), QSettings::IniFormat).value(u"TabellenDateiName"_s).toString(),
                 abgelegt);
        QCOMPARE(lies(abgelegt), lies(bert));
        QCOMPARE(lies(anna), maerzDaten());
    }

    // --ausgabe: a file (with blanks), or a folder for several tables; a script beside the page is kept.
    void exportHtmlAusgabe() {
        const Lauf l = neuerLauf(u"ausgabe"_s);
        schreibe(l.ordner + "a.tab", maerzDaten());
        schreibe(l.ordner + "b/Anna_04_2024.tab", maerzDaten().replace(".03.2024", ".04.2024"));
        schreibe(l.ordner + "mit Leerzeichen/Chart.min.js", "// eigene");
        Ergebnis e = ohneFenster(l, {"--export=html", "--ausgabe", "mit Leerzeichen/März.html", "a.tab"});
        QCOMPARE(e.status, 0);
        QVERIFY(lies(l.ordner + "mit Leerzeichen/März.html").startsWith("<!doctype html>"));
        QCOMPARE(lies(l.ordner + "mit Leerzeichen/Chart.min.js"), QByteArray("// eigene"));

        e = ohneFenster(l, {"--export", "html", "--ausgabe=seiten/", "a.tab", "b/Anna_04_2024.tab"});
        QCOMPARE(e.status, 0);
        // Named as the window names them: after user, month and year.
        QCOMPARE(e.aus.split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{l.ordner + "seiten/Anna_03_2024.html", l.ordner + "seiten/Anna_04_2024.html"}));
        QVERIFY(QFileInfo(l.ordner + "seiten/Chart.min.js").isFile());
    }

    void exportFalscherAufruf_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("meldung");
        const QString bemerkungen = u"ist die Bemerkungsdatei der Monatstabelle"_s;
        const QString kaputt = u"kaputt.tab, Zeile 10: "_s;
        // The call (split at blanks) is the row's name.
        const std::tuple<const char*, int, QString> faelle[] = {
            {"--export", 2, u"Nach --export fehlt ein Wert."_s},
            {"--export gif a.tab", 2,
             u"Unbekannte Exportart \"gif\"; bekannt: pdf-grafik, pdf-tabelle, pdf-grafik-tabelle, "
             "jpg-grafik,"_s},
            {"--export html", 2, u"Es wurde keine Monatstabelle angegeben, und keine ist in Gebrauch."_s},
            {"--export html --bunt a.tab", 2, u"Unbekannte Option \"--bunt\"."_s},
            {"--ausgabe x.html a.tab", 2, u"Es fehlt --export ART (pdf-grafik,"_s},
            {"--export html --ausgabe x.html a.tab b.tab", 2,
             u"Mit mehreren Tabellen muss --ausgabe einen Ordner nennen"_s},
            {"--export html fehlt.tab", 1, u"gibt es nicht"_s},
            {"--export html leer.tab", 1, u"leer.tab: Es wurden noch keine Daten eingegeben!"_s},
            {"--export html kaputt.tab", 1, kaputt},
            {"--export pdf-tabelle --patientendaten daten.txt:unter a.tab", 2,
             u"Bei pdf-tabelle können die Patientendaten nicht \"unter\" stehen; möglich: oben, unten."_s},
            {"--export pdf-grafik --patientendaten daten.txt:seitlich a.tab", 2,
             u"Platz \"seitlich\" für die Patientendaten (eine Datei \"daten.txt:seitlich\" gibt es nicht); "
             "möglich bei pdf-grafik: unter."_s},
            // A file whose whole name has ":" is that file, never a file "x" with the place "unter".
            {"--export pdf-tabelle --patientendaten x:unter --ausgabe x:unter a.tab", 2,
             u"wird von diesem Aufruf gelesen"_s},
            {"--export jpg-grafik --patientendaten=daten.txt a.tab", 2,
             u"--patientendaten gibt es nur bei pdf-grafik"_s},
            {"--export pdf-grafik --patientendaten fehlt.txt a.tab", 1, u"fehlt.txt"_s},
            {"--export pdf-grafik --ausgabe - a.tab", 2, u"nur bei tabelle-text"_s},
            {"--export jpg-grafik --ausgabe x.jpg a.tab a.tab", 2,
             u"muss --ausgabe einen vorhandenen Ordner nennen"_s},
            {"--export jpg-grafik a.tab a.tab", 1, u"Zwei Tabellen ergäben dieselbe Datei"_s},
            {"--export html --ausgabe seiten/ a.tab a.tab", 1, u"Zwei Tabellen ergäben dieselbe Datei"_s},
            {"--export pdf-grafik --export=jpg-grafik a.tab", 2, u"--export wurde mehrmals angegeben."_s},
            {"--export pdf-grafik --ausgabe --zeigen a.tab", 2, u"Nach --ausgabe fehlt ein Wert."_s},
            {"--export pdf-grafik --ausgabe= a.tab", 2, u"Nach --ausgabe fehlt ein Wert."_s},
            // A mistyped option is a wrong call, never a window looking for a table "pdf-grafik".
            {"--Export pdf-grafik a.tab", 2, u"Unbekannte Option \"--Export\"."_s},
            {"--export tabelle-text --ausgabe . a.tab", 2, u"keinen Ordner"_s},
            {"--export pdf-grafik --ausgabe fehlt/x.pdf a.tab", 1, u"fehlt\" gibt es nicht"_s},
            // What an export must never write over: its own inputs, a month table, what is no regular
            // file (a link, a FIFO, a device), a write-protected file.
            {"--export pdf-grafik-tabelle --ausgabe a.tab b.tab a.tab", 2, u"wäre eine Monatstabelle"_s},
            {"--export tabelle-text --ausgabe a.txt a.tab", 2, u"ist die Bemerkungsdatei"_s},
            {"--export pdf-grafik --patientendaten daten.txt --ausgabe daten.txt a.tab", 2,
             u"wird von diesem Aufruf gelesen"_s},
            {"--export html --ausgabe verknuepfung.html a.tab", 2, u"keine gewöhnliche Datei"_s},
            {"--export jpg-grafik --ausgabe fifo a.tab", 2, u"keine gewöhnliche Datei"_s},
            {"--export pdf-grafik --ausgabe /dev/null a.tab", 2, u"keine gewöhnliche Datei"_s},
            {"--export pdf-tabelle --ausgabe fest.pdf a.tab", 2, u"schreibgeschützt"_s},
            // Nor a table's remarks file that is not there yet, by whatever path, nor that of the
            // table in use or of a table beside it: written now, it would load as the remarks.
            {"--export pdf-grafik --ausgabe b.txt b.tab", 2, bemerkungen},
            {"--export pdf-grafik --ausgabe leer.txt a.tab", 2, bemerkungen},
            {"--export jpg-grafik --ausgabe hier/b.txt b.tab", 2, bemerkungen},
            {"--export tabelle-text --ausgabe inGebrauch.txt a.tab", 2, bemerkungen},
            // One table unusable: nothing written, whatever the art (no other month, year folder or script).
            {"--export jpg-grafik-tabelle --ausgabe aus a.tab kaputt.tab", 1, kaputt},
            {"--export html a.tab kaputt.tab", 1, kaputt},
        };
        for (const auto& [aufruf, status, meldung] : faelle)
            QTest::newRow(aufruf) << status << meldung;
    }
    // Wrong calls end with 2, failures with 1, with a German reason, before anything is written.
    void exportFalscherAufruf() {
        QFETCH(int, status);
        QFETCH(QString, meldung);
        const QString aufruf = QString::fromUtf8(QTest::currentDataTag());
        const QStringList argumente = aufruf.split(u' ');
        const Lauf l = neuerLauf(u"falsch"_s);
        schreibe(l.ordner + "a.tab", maerzDaten());
        schreibe(l.ordner + "a.txt", "Bemerkung\r\n");
        schreibe(l.ordner + "b.tab", aprilDaten());
        schreibe(l.ordner + "leer.tab", "[Personendaten]\r\nBenutzerName=Anna\r\n");
        schreibe(l.ordner + "kaputt.tab", lies(testumgebung::testdaten(u"kaputt_wert.tab"_s)));
        schreibe(l.ordner + "daten.txt", "Hausarzt\n");
        schreibe(l.ordner + "x:unter", "Hausarzt\n");
        schreibe(l.ordner + "fest.pdf", "alt");
        QFile::setPermissions(l.ordner + "fest.pdf", QFile::ReadOwner);
        QVERIFY(QFile::link(l.ordner + "daten.txt", l.ordner + "verknuepfung.html"));
        QVERIFY(QFile::link(l.ordner, l.ordner + "hier"));
        if (aufruf.contains(u"inGebrauch"_s))
            setzeEinstellungen(l, {{"TabellenDateiName", l.ordner + "inGebrauch.tab"}});
        QVERIFY(fifoStatt(l.ordner + "fifo"));
        QDir().mkpath(l.ordner + "aus");
        const QStringList vorher = allesUnter(l.ordner);
        const qsizetype i = argumente.indexOf(u"--ausgabe"_s) + 1;
        const QString ziel =
            i > 0 && i < argumente.size() ? QDir(l.ordner).filePath(argumente.at(i)) : QString();
        const QByteArray inhalt = QFileInfo(ziel).isFile() ? lies(ziel) : QByteArray();

        const Ergebnis e = ohneFenster(l, argumente);
        QFile::setPermissions(l.ordner + "fest.pdf", QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(e.status, status);
        QVERIFY2(e.fehler.contains(meldung), qPrintable(e.fehler));
        if (status == 1) QVERIFY2(e.fehler.contains(u"Es wurde nichts geschrieben."_s), qPrintable(e.fehler));
        QCOMPARE(e.aus, QString());
        QCOMPARE(allesUnter(l.ordner), vorher);
        if (!inhalt.isEmpty()) QVERIFY(lies(ziel) == inhalt);
        QVERIFY(QFileInfo(l.ordner + "verknuepfung.html").isSymLink());
        QVERIFY(!QFileInfo::exists(u"/dev/null.pdf"_s));
    }

    void exportSchreibenScheitert_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<int>("grenze"); // the file-size limit; 0: a full disk
        for (const char* art : {"pdf-grafik", "jpg-grafik-tabelle", "tabelle-text", "html"})
            for (const int grenze : {0, 1024})
                QTest::newRow(
                    qPrintable(u"%1, %2"_s.arg(QLatin1String(art), grenze ? u"grenze"_s : u"voll"_s)))
                    << QString::fromLatin1(art) << grenze;
        // The page fits, the script beside it does not.
        QTest::newRow("html, grenze zwischen seite und skript") << "html" << 64 * 1024;
    }
    // A write the disk or a size limit stops: exit 1, the path and why said, the old file byte for byte.
    void exportSchreibenScheitert() {
        QFETCH(QString, art);
        QFETCH(int, grenze);
        const Lauf l = neuerLauf(u"scheitert"_s);
        schreibe(l.ordner + "a.tab", maerzDaten());
        schreibe(l.ordner + "scripts/Chart.min.js", htmlexport::eingebautesSkript());
        const QString aus = l.ordner + "aus";
        std::optional<testumgebung::KleinesDateisystem> platte;
        if (!grenze && !platte.emplace(aus).da()) QSKIP("no tmpfs can be mounted here");
        const QString ziel = aus + "/x." +
                             (art == "html"           ? "html"
                              : art.startsWith("pdf") ? "pdf"
                              : art.startsWith("jpg") ? "jpg"
                                                      : "txt");
        schreibe(ziel, "alt");
        if (platte) platte->fuellen();
        const Ergebnis e =
            ohneFenster(l, {u"--export"_s, art, u"--ausgabe"_s, ziel, u"a.tab"_s}, {}, {}, rlim_t(grenze));
        const bool skript = grenze > 1024;
        QCOMPARE(e.status, 1);
        QCOMPARE(e.aus, skript ? ziel + u'\n' : QString());
        const QString grund = grenze ? u"Die Datei wäre größer, als das System einer Datei erlaubt."_s
                                     : u"Auf dem Datenträger ist nicht genug Platz frei."_s;
        QVERIFY2(e.fehler.contains(u"Fehler beim Erzeugen der Datei "_s +
                                   (skript ? aus + "/Chart.min.js" : ziel) + u'\n' + grund),
                 qPrintable(e.fehler));
        if (!skript) QCOMPARE(lies(ziel), QByteArray("alt"));
        QStringList da = allesUnter(aus);
        da.removeOne(u".fueller"_s);
        QCOMPARE(da, QStringList{QFileInfo(ziel).fileName()});
    }

    // The window and the command line give the same bytes; the file where the window proposes it.
    void exportWieImFenster_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("datei"); // below the year folder
        QTest::newRow("html") << "html" << u"Anna_03_2024.html"_s;
        QTest::newRow("pdf-grafik") << "pdf-grafik" << u"März 2024 Anna.pdf"_s;
        QTest::newRow("pdf-tabelle") << "pdf-tabelle" << u"März 2024 Anna.pdf"_s;
        QTest::newRow("pdf-grafik-tabelle") << "pdf-grafik-tabelle" << u"März 2024 Anna.pdf"_s;
        QTest::newRow("jpg-grafik") << "jpg-grafik" << u"M_rz_2024_Anna.jpg"_s;
        QTest::newRow("jpg-grafik-tabelle") << "jpg-grafik-tabelle" << u"M_rz_2024_Anna.jpg"_s;
    }
    void exportWieImFenster() {
        QFETCH(QString, art);
        QFETCH(QString, datei);
        qputenv("SOURCE_DATE_EPOCH", "1709251200");
        const Lauf l = neuerLauf(u"wie-im-fenster"_s);
        const Ergebnis e = ohneFenster(l, {"--export", art, maerzMitBemerkungen(l.ordner)});
        QCOMPARE(e.fehler, QString());
        QCOMPARE(e.status, 0);
        const QString geschrieben =
            l.ordner + (art == u"html" ? kBrowser : u"Korvane-Daten-Galerie"_s) + "/2024/" + datei;
        QCOMPARE(e.aus, geschrieben + u'\n');
        QCOMPARE(allesUnter(l.config), QStringList());

        // The window: first-start settings, the table opened, its list in the table window.
        testumgebung::dialoge().leeren();
        const QString fensterOrdner = testumgebung::neuerProgrammOrdner(u"fenster"_s);
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(fensterOrdner);
        Zustand z;
        z.programmOrdner = fensterOrdner;
        start::leseOrdner(z);
        const QString fensterTabelle = maerzMitBemerkungen(fensterOrdner);
        TMonatsGrafik g(z);
        QVERIFY(g.GrafikZeichnen(fensterTabelle));
        QString imFenster;
        if (art == u"html") {
            imFenster = htmlexport::DiagrammimBrowseranzeigen(z, g);
        } else {
            QVERIFY(monatstabelle::liesZumBearbeiten(z, fensterTabelle, monatstabelle::KopfLesen::Ja));
            const tabelle::Gitter gitter = tabelle::ErstelleTabelle(z.ListBox1);
            if (art.startsWith(u"pdf")) {
                imFenster = fensterOrdner + "fenster.pdf";
                testumgebung::dialoge().dateien.push_back(imFenster);
                TPdfExport pdf(z, g, nullptr);
                QStringList geoeffnet;
                shell::zeichneAuf(&geoeffnet);
                const auto pdfArt = art == u"pdf-grafik"    ? pdfdokument::Art::NurGrafik
                                    : art == u"pdf-tabelle" ? pdfdokument::Art::NurTabelle
                                                            : pdfdokument::Art::GrafikUndTabelle;
                QVERIFY(pdf.exportieren(pdfArt, &gitter));
                shell::zeichneAuf(nullptr);
            } else {
                TBildExport bild(z, g, nullptr);
                QVERIFY(art == u"jpg-grafik" ? bild.GrafikspeichernalsBilddateiClick()
                                             : bild.GrafikPlusTabelleSpeichern(gitter));
                imFenster = bild.geschrieben;
            }
        }
        QCOMPARE(testumgebung::dialoge().unerwartet, QStringList());
        qunsetenv("SOURCE_DATE_EPOCH");
        const QByteArray erwartet = lies(imFenster);
        QVERIFY(!erwartet.isEmpty());
        QVERIFY(lies(geschrieben) == erwartet);
        if (art != u"html") return;
        // The script beside the page and in the data folder; the remarks escaped.
        const QByteArray skript = lies(l.ordner + "scripts/Chart.min.js");
        QVERIFY(skript.startsWith("/*!\n * Chart.js v2.9.4"));
        QCOMPARE(lies(l.ordner + kBrowser + "/2024/Chart.min.js"), skript);
        QVERIFY(erwartet.contains("Nach dem &nbsp;&nbsp;&nbsp;&nbsp;Sport &lt;b&gt; <br>"));
    }

    // "tabelle-text" is what a copy of the whole grid in the table window puts on the clipboard.
    void exportTextWieImFenster() {
        const Lauf l = neuerLauf(u"text"_s);
        const QString tabelle = maerzMitBemerkungen(l.ordner);
        const Ergebnis e = ohneFenster(l, {"--export", "tabelle-text", tabelle});
        QCOMPARE(e.status, 0);

        Zustand z;
        QVERIFY(monatstabelle::liesZumBearbeiten(z, tabelle, monatstabelle::KopfLesen::Ja));
        TTabellenDlg fenster;
        fenster.ErstelleTabelle(z.ListBox1);
        fenster.setzeAuswahl(QRect(QPoint(0, 0), QPoint(tabelle::kSpalten - 1, tabelle::kZeilen - 1)));
        fenster.TextKopierenClick();
        const QString kopiert = QGuiApplication::clipboard()->text();
        QVERIFY(kopiert.contains(u"\t    128 \t"_s));
        QCOMPARE(e.aus, kopiert);

        // "--ausgabe -" is stdout too; a file gets the same text as UTF-8.
        QCOMPARE(ohneFenster(l, {"--export=tabelle-text", "--ausgabe", "-", tabelle}).aus, kopiert);
        QCOMPARE(ohneFenster(l, {"--export=tabelle-text", "--ausgabe=März.txt", tabelle}).status, 0);
        QCOMPARE(lies(l.ordner + "März.txt"), kopiert.toUtf8());

        // Several months: each grid under its title line.
        const Ergebnis zwei = ohneFenster(l, {"--export=tabelle-text", aprilVon(l.ordner), tabelle});
        QVERIFY(zwei.aus.startsWith(u"Korvanemesswerte  April 2024  Anna\r\n  DATUM  MORGENS"_s));
        QVERIFY(zwei.aus.endsWith(u"\r\nKorvanemesswerte  März 2024  Anna\r\n"_s + kopiert));
    }

    // Several months in one document, in order, pages numbered through, patient data above each table.
    void exportMehrereMonateEinDokument() {
        const Lauf l = neuerLauf(u"mehrere"_s);
        const QString maerz = maerzMitBemerkungen(l.ordner);
        schreibe(l.ordner + "daten.txt", "Hausarzt: Dr. Müller\nTel. 0123\n");
        const Ergebnis e = ohneFenster(l, {"--export", "pdf-grafik-tabelle", "--patientendaten",
                                           "daten.txt:oben", "--ausgabe", "Arzt", aprilVon(l.ordner), maerz});
        QCOMPARE(e.fehler, QString());
        QCOMPARE(e.status, 0);
        const QString pdf = l.ordner + "Arzt.pdf";
        QCOMPARE(e.aus, pdf + u'\n');
        QCOMPARE(werkzeug(u"qpdf"_s, {"--check", pdf}).status, 0);
        QStringList seiten;
        for (const int s : {1, 2, 3, 4, 5, 7})
            seiten << werkzeug(u"pdftotext"_s,
                               {"-f", QString::number(s), "-l", QString::number(s), "-layout", pdf, "-"})
                          .aus.simplified();
        // Chart, data, table (its number is in the picture) for April, then for March; no page 7.
        QCOMPARE(seiten, (QStringList{u"Seite 1"_s, u"Seite 2 Hausarzt: Dr. Müller Tel. 0123"_s, QString(),
                                      u"Seite 4"_s, u"Seite 5 Hausarzt: Dr. Müller Tel. 0123"_s, QString()}));
        QCOMPARE(werkzeug(u"pdfinfo"_s, {pdf}).aus.count(u"Pages:           6"_s), 1);
    }

    // A desktop action has no terminal: a failure comes as a notification. With no table named,
    // the month in use; the document opened with the desktop's program; the settings as they were.
    void exportZeigen() {
        const Lauf l = neuerLauf(u"zeigen"_s);
        const QString bin = l.ordner + "bin";
        const QString gemeldet = aufzeichnendesProgramm(bin, u"notify-send"_s);
        const QString geoeffnet = aufzeichnendesProgramm(bin, u"xdg-open"_s);
        Ergebnis e = ohneFenster(l, {"--export", "html", "--zeigen"}, bin);
        QCOMPARE(e.status, 2);
        QVERIFY(wartetBis([&] { return QFileInfo::exists(gemeldet); }));
        const QString meldung = QString::fromUtf8(lies(gemeldet));
        QVERIFY2(
            meldung.contains(u"|Korvane: Export fehlgeschlagen|Es wurde keine Monatstabelle angegeben"_s),
            qPrintable(meldung));

        annaInGebrauch(l);
        const QByteArray einstellungenVorher = lies(l.einstellungen());
        e = ohneFenster(l, {"--export", "pdf-grafik-tabelle", "--zeigen"}, bin);
        QCOMPARE(e.fehler, QString());
        QCOMPARE(e.status, 0);
        const QString pdf = l.ordner + "Korvane-Daten-Galerie/2024/März 2024 Anna.pdf";
        QCOMPARE(e.aus, pdf + u'\n');
        QVERIFY(wartetBis([&] { return QFileInfo::exists(geoeffnet); }));
        QCOMPARE(QString::fromUtf8(lies(geoeffnet)), pdf + u'|');
        QCOMPARE(lies(l.einstellungen()), einstellungenVorher);
    }

    void hilfe() {
        const Lauf l = neuerLauf(u"hilfe"_s);
        const Ergebnis e = ohneFenster(l, {"--help"});
        QCOMPARE(e.status, 0);
        QVERIFY(e.aus.contains(u"korvane --export ART [--patientendaten DATEI[:unter|oben|unten]]"_s));
        QVERIFY(e.aus.contains(u"        tabelle-text        die Tabelle als Text"_s));
        QCOMPARE(e.fehler, QString());
        // A stdout that cannot take the paths or the usage fails the run.
        for (const QStringList& a :
             {QStringList{"--help"}, {"--export=pdf-grafik", maerzMitBemerkungen(l.ordner)}}) {
            const Ergebnis voll = ohneFenster(l, a, {}, u"/dev/full"_s);
            QCOMPARE(voll.status, 1);
            QVERIFY2(voll.fehler.contains(u"Die Standardausgabe konnte nicht geschrieben werden."_s),
                     qPrintable(voll.fehler));
        }

        // The user guide explains every option and every kind the usage lists, and promises nothing.
        const QString anleitung =
            werkzeug(u"pdftotext"_s,
                     {QStringLiteral(KORVANE_QUELLEN "/resources/hilfe/Korvane-Hilfe.pdf"), u"-"_s})
                .aus.simplified();
        QStringList fehlt;
        auto treffer =
            QRegularExpression(u"--[a-z]+|^ {8}([a-z][a-z-]+) "_s, QRegularExpression::MultilineOption)
                .globalMatch(e.aus);
        int begriffe = 0;
        while (treffer.hasNext()) {
            const QRegularExpressionMatch m = treffer.next();
            const QString begriff = m.captured(1).isEmpty() ? m.captured(0) : m.captured(1);
            ++begriffe;
            if (!anleitung.contains(begriff)) fehlt << begriff;
        }
        QVERIFY(begriffe >= 12);
        QCOMPARE(fehlt, QStringList());
        QVERIFY(!anleitung.contains(u"späteren Version"_s));
    }
};

KORVANE_TEST_MAIN(TestProgramm)
#include "test_programm.moc"
