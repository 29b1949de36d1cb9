// The program as a process: start in an empty folder, end by a signal, end when a folder
// cannot be created; the program folder whatever the working folder; a second start hands its
// table to the running one.
#include "testumgebung.h"

#include "app/einzelstart.h"
#include "chart/tmonatsgrafik.h"
#include "export/html/htmlexport.h"
#include "export/image/gui/tbildexport.h"
#include "export/pdf/gui/tpdfexport.h"
#include "platform/shell.h"
#include "storage/monatstabelle.h"
#include "table/gui/ttabellendlg.h"
#include "storage/registry.h"
#include "storage/start.h"

#include <QClipboard>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QThread>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

struct Lauf {
    QString ordner; // the program folder ($KORVANE_ORDNER)
    QString config;
    QString heim;   // when set: $HOME, and no $KORVANE_ORDNER
    QString arbeit; // the working folder; the program folder when empty
};

Lauf neuerLauf(const QString& name) {
    Lauf l;
    l.ordner = testumgebung::wurzel() + QStringLiteral("/") + name + QStringLiteral("/programm/");
    l.config = testumgebung::wurzel() + QStringLiteral("/") + name + QStringLiteral("/config");
    QDir(testumgebung::wurzel() + QStringLiteral("/") + name).removeRecursively();
    QDir().mkpath(l.ordner);
    QDir().mkpath(l.config);
    return l;
}

void starte(QProcess& p, const Lauf& l, const QStringList& argumente = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), l.config);
    env.insert(QStringLiteral("XDG_CACHE_HOME"), l.config + QStringLiteral("/../cache"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (l.heim.isEmpty()) {
        env.insert(QStringLiteral("KORVANE_ORDNER"), l.ordner);
    } else {
        env.insert(QStringLiteral("HOME"), l.heim);
        env.remove(QStringLiteral("KORVANE_ORDNER"));
    }
    p.setProcessEnvironment(env); // sanitizer options from ctest pass on unchanged
    // Its warnings and any sanitizer report belong in the test's output, not in an unread buffer.
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setWorkingDirectory(l.arbeit.isEmpty() ? l.ordner : l.arbeit);
    p.start(QStringLiteral(KORVANE_BIN "/korvane"), argumente);
    QVERIFY(p.waitForStarted(10000));
}

// Waits until the program has settled its folders and shows its first window.
bool wartetBis(const std::function<bool()>& bedingung, int ms = 15000) {
    for (int i = 0; i < ms / 50; ++i) {
        if (bedingung()) return true;
        QThread::msleep(50);
    }
    return bedingung();
}

QString einstellungen(const Lauf& l) {
    return l.config + QStringLiteral("/Orvalis/Korvane.conf");
}

// Anna with her March table in use, as a Korvane that ran before leaves the settings.
QString annaInGebrauch(const Lauf& l) {
    const QString tabelle = l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
    QDir().mkpath(l.config + QStringLiteral("/Orvalis"));
    QSettings s(einstellungen(l), QSettings::IniFormat);
    s.setValue(QStringLiteral("InstallOrt"), l.ordner);
    s.setValue(QStringLiteral("DatenSpeicherOrt"), l.ordner);
    s.setValue(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
    s.setValue(QStringLiteral("TabellenDateiName"), tabelle);
    testumgebung::schreibe(
        tabelle, testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
    return tabelle;
}

// Bert's March, somewhere outside the data folder (a download, say).
QString bertsTabelle(const QString& ordner) {
    QByteArray b = testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
    b.replace("BenutzerName=Anna", "BenutzerName=Bert");
    const QString pfad = ordner + QStringLiteral("/Bert_03_2024.tab");
    testumgebung::schreibe(pfad, b);
    return pfad;
}

bool laeuftGleich(QProcess& p, const Lauf& l) {
    return wartetBis([&] { return QDir(l.ordner + QStringLiteral("Korvane-Daten im Browser")).exists(); }) &&
           (QThread::msleep(1500), p.state() == QProcess::Running);
}

struct Ergebnis {
    int status = -1;
    QString aus, fehler; // stdout, stderr
};

// Runs korvane to its end without any display: neither DISPLAY, WAYLAND_DISPLAY nor a platform.
Ergebnis ohneFenster(const Lauf& l, const QStringList& argumente, const QString& pfadDavor = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!pfadDavor.isEmpty()) env.insert(QStringLiteral("PATH"), pfadDavor + u':' + env.value(QStringLiteral("PATH")));
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), l.config);
    env.insert(QStringLiteral("KORVANE_ORDNER"), l.ordner);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(l.ordner);
    p.start(QStringLiteral(KORVANE_BIN "/korvane"), argumente);
    Ergebnis e;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit) return e;
    e.status = p.exitCode();
    e.aus = QString::fromLocal8Bit(p.readAllStandardOutput());
    e.fehler = QString::fromLocal8Bit(p.readAllStandardError());
    return e;
}

// Every file and folder below ordner, relative, sorted.
QStringList allesUnter(const QString& ordner) {
    QStringList alles;
    QDirIterator it(ordner, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        alles << QDir(ordner).relativeFilePath(it.next());
    alles.sort();
    return alles;
}

// Anna's March filed in the program folder, with remarks.
QString maerzMitBemerkungen(const QString& programmOrdner) {
    const QString tabelle = programmOrdner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
    testumgebung::schreibe(tabelle,
                           testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
    testumgebung::schreibe(programmOrdner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt"),
                           "Nach dem Sport\r\n");
    return tabelle;
}

// The same readings in April.
QString aprilVon(const QString& programmOrdner) {
    QByteArray b = testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
    b.replace(".03.2024", ".04.2024").replace("Datum=M\xe4rz 2024", "Datum=April 2024");
    const QString tabelle = programmOrdner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_04_2024.tab");
    testumgebung::schreibe(tabelle, b);
    return tabelle;
}

// A stand-in for a desktop program in bin: it writes its arguments, each followed by "|", to the
// file whose path is returned (whole, once it has run).
QString aufzeichnendesProgramm(const QString& bin, const QString& name) {
    const QString aufruf = bin + u'/' + name + QStringLiteral(".aufruf");
    testumgebung::schreibe(bin + u'/' + name,
                           QStringLiteral("#!/bin/sh\nfor a; do printf '%s|' \"$a\"; done > '%1.neu' && mv '%1.neu' '%1'\n")
                               .arg(aufruf)
                               .toUtf8());
    QFile::setPermissions(bin + u'/' + name, QFile::ReadOwner | QFile::ExeOwner);
    return aufruf;
}

// A tool such as pdftotext, run to its end.
Ergebnis werkzeug(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    Ergebnis e;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit) return e;
    e.status = p.exitCode();
    e.aus = QString::fromUtf8(p.readAllStandardOutput());
    return e;
}

} // namespace

class TestProgramm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void signalBeendetSauber_data() {
        QTest::addColumn<bool>("mitTabelle");
        QTest::newRow("erster start") << false;
        QTest::newRow("mit monatstabelle") << true;
    }
    // SIGTERM closes like the close box: exit 0, settings and folders behind.
    void signalBeendetSauber() {
        QFETCH(bool, mitTabelle);
        const Lauf l = neuerLauf(mitTabelle ? QStringLiteral("mit") : QStringLiteral("erst"));
        const QString tabelle = l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
        if (mitTabelle) {
            QDir().mkpath(l.config + QStringLiteral("/Orvalis"));
            QSettings s(einstellungen(l), QSettings::IniFormat);
            s.setValue(QStringLiteral("InstallOrt"), l.ordner);
            s.setValue(QStringLiteral("DatenSpeicherOrt"), l.ordner);
            s.setValue(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
            s.setValue(QStringLiteral("TabellenDateiName"), tabelle);
            s.sync();
            testumgebung::schreibe(
                tabelle, testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
        }
        QProcess p;
        starte(p, l);
        QVERIFY(
            wartetBis([&] { return QDir(l.ordner + QStringLiteral("Korvane-Daten im Browser")).exists(); }));
        QThread::msleep(1500);
        QCOMPARE(p.state(), QProcess::Running);
        p.terminate(); // SIGTERM
        QVERIFY(p.waitForFinished(15000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QSettings s(einstellungen(l), QSettings::IniFormat);
        QVERIFY(s.contains(QStringLiteral("TabellenDateiName")));
        QCOMPARE(s.value(QStringLiteral("TabellenDateiName")).toString(), mitTabelle ? tabelle : QString());
        QCOMPARE(s.value(QStringLiteral("InstallOrt")).toString(), l.ordner);
        QVERIFY(QDir(l.ordner + QStringLiteral("Korvane-Daten-Galerie")).exists());
        QVERIFY(QDir(l.ordner + QStringLiteral("Korvane-Daten im Browser")).exists());
        if (mitTabelle) // the table itself is left as it was
            QCOMPARE(testumgebung::lies(tabelle),
                     testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
    }

    void signalWaehrendKorvaneWartet_data() {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<int>("status");
        QTest::newRow("frage nach dem datenort") << "frage" << 1;
        QTest::newRow("fifo als tabelle in gebrauch") << "fifo" << 0;
        QTest::newRow("fifo als einstellungsdatei") << "einstellungen" << 1;
        QTest::newRow("5 MB tabelle in gebrauch") << "gross" << 0;
    }
    // Wherever Korvane waits (a question, a message about a file that is no table, a large
    // table drawn), SIGTERM ends it at once; no setting a question was about changes.
    void signalWaehrendKorvaneWartet() {
        QFETCH(QString, fall);
        QFETCH(int, status);
        const Lauf l = neuerLauf(QStringLiteral("warten-") + fall);
        QDir().mkpath(l.config + QStringLiteral("/Orvalis"));
        const QString tabelle = l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
        if (fall == "einstellungen") {
            QCOMPARE(::mkfifo(QFile::encodeName(einstellungen(l)).constData(), 0600), 0);
        } else {
            QSettings s(einstellungen(l), QSettings::IniFormat);
            // "frage": the data were last used from another folder, so the start asks.
            s.setValue(QStringLiteral("InstallOrt"), fall == "frage" ? QStringLiteral("/anderswo/") : l.ordner);
            s.setValue(QStringLiteral("DatenSpeicherOrt"), l.ordner);
            s.setValue(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
            s.setValue(QStringLiteral("TabellenDateiName"), tabelle);
            s.setValue(QStringLiteral("StiftBreite"), 5);
        }
        QDir().mkpath(QFileInfo(tabelle).path());
        if (fall == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(tabelle).constData(), 0600), 0);
        if (fall == "gross") {
            QByteArray b = testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
            const QByteArray zeile = "Morgens den 05.03.2024 Z=07:30 s=140, d=90, p=70, Gewicht=70,5\r\n";
            b += zeile.repeated(5 * 1000 * 1000 / zeile.size());
            testumgebung::schreibe(tabelle, b);
        }
        const QByteArray vorher = fall == "einstellungen" ? QByteArray() : testumgebung::lies(einstellungen(l));
        QProcess p;
        starte(p, l);
        // Settled once the program folder's folders exist, or (settings unusable) shortly after start.
        QVERIFY(wartetBis([&] {
            return fall == "einstellungen" || fall == "frage" ||
                   QDir(l.ordner + QStringLiteral("Korvane-Daten im Browser")).exists();
        }));
        QThread::msleep(2500);
        QCOMPARE(p.state(), QProcess::Running); // waiting: in a message box, or drawn and idle
        QElapsedTimer uhr;
        uhr.start();
        p.terminate();
        // A generous bound: the fault it guards against never ended at all.
        QVERIFY(p.waitForFinished(10000));
        QVERIFY2(uhr.elapsed() < 5000, qPrintable(QString::number(uhr.elapsed())));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), status);
        if (fall == "einstellungen") {
            QVERIFY(!QFileInfo(einstellungen(l)).isFile()); // still the FIFO, never replaced
            return;
        }
        QSettings s(einstellungen(l), QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("BenutzerName")).toString(), QStringLiteral("Anna"));
        QCOMPARE(s.value(QStringLiteral("StiftBreite")).toInt(), 5);
        QCOMPARE(s.value(QStringLiteral("TabellenDateiName")).toString(), tabelle);
        if (fall == "frage") QCOMPARE(testumgebung::lies(einstellungen(l)), vorher);
    }

    // "--export html" writes the page where the window's command puts it, the same bytes, with
    // the script beside it and in the data folder; no display, no settings needed.
    void exportHtml() {
        const Lauf l = neuerLauf(QStringLiteral("export"));
        const QString tabelle = l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
        testumgebung::schreibe(
            tabelle, testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
        testumgebung::schreibe(l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt"),
                               "Nach dem \tSport <b>\r\n");
        const Ergebnis e = ohneFenster(l, {QStringLiteral("--export"), QStringLiteral("html"), tabelle});
        QCOMPARE(e.fehler, QString());
        QCOMPARE(e.status, 0);
        const QString seite = l.ordner + QStringLiteral("Korvane-Daten im Browser/2024/Anna_03_2024.html");
        QCOMPARE(e.aus, seite + u'\n');
        const QByteArray skript = testumgebung::lies(l.ordner + QStringLiteral("scripts/Chart.min.js"));
        QVERIFY(skript.startsWith("/*!\n * Chart.js v2.9.4"));
        QCOMPARE(testumgebung::lies(l.ordner + QStringLiteral("Korvane-Daten im Browser/2024/Chart.min.js")),
                 skript);

        // The window's command on the same table, with the first-start settings.
        testumgebung::neuerProgrammOrdner(QStringLiteral("export-fenster"));
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(testumgebung::programmOrdner());
        Zustand z;
        z.programmOrdner = testumgebung::programmOrdner();
        start::leseOrdner(z);
        z.tabellenOrdner = l.ordner + QStringLiteral("Korvane-Daten-Galerie/");
        TMonatsGrafik g(z);
        QVERIFY(g.GrafikZeichnen(tabelle));
        const QString imFenster = htmlexport::DiagrammimBrowseranzeigen(z, g);
        QVERIFY(!imFenster.isEmpty());
        QCOMPARE(testumgebung::lies(seite), testumgebung::lies(imFenster));
        QVERIFY(testumgebung::lies(seite).contains("Nach dem &nbsp;&nbsp;&nbsp;&nbsp;Sport &lt;b&gt; <br>"));
    }

    // --ausgabe: a file (a path with blanks), or a folder for several tables; a script already
    // beside the page is kept.
    void exportHtmlAusgabe() {
        const Lauf l = neuerLauf(QStringLiteral("ausgabe"));
        const QByteArray maerz =
            testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
        testumgebung::schreibe(l.ordner + QStringLiteral("a.tab"), maerz);
        testumgebung::schreibe(l.ordner + QStringLiteral("b/Anna_04_2024.tab"),
                               QByteArray(maerz).replace(".03.2024", ".04.2024"));
        testumgebung::schreibe(l.ordner + QStringLiteral("mit Leerzeichen/Chart.min.js"), "// eigene");
        Ergebnis e = ohneFenster(l, {QStringLiteral("--export=html"), QStringLiteral("--ausgabe"),
                                     QStringLiteral("mit Leerzeichen/März.html"), QStringLiteral("a.tab")});
        QCOMPARE(e.status, 0);
        QVERIFY(testumgebung::lies(l.ordner + QStringLiteral("mit Leerzeichen/März.html"))
                    .startsWith("<!doctype html>"));
        QCOMPARE(testumgebung::lies(l.ordner + QStringLiteral("mit Leerzeichen/Chart.min.js")),
                 QByteArray("// eigene"));

        e = ohneFenster(l, {QStringLiteral("--export"), QStringLiteral("html"),
                            QStringLiteral("--ausgabe=seiten/"), QStringLiteral("a.tab"),
                            QStringLiteral("b/Anna_04_2024.tab")});
        QCOMPARE(e.status, 0);
        // Named as the window names them: after user, month and year.
        QCOMPARE(e.aus.split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{l.ordner + QStringLiteral("seiten/Anna_03_2024.html"),
                              l.ordner + QStringLiteral("seiten/Anna_04_2024.html")}));
        QVERIFY(QFileInfo(l.ordner + QStringLiteral("seiten/Chart.min.js")).isFile());
    }

    void exportFalscherAufruf_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("ohne Art") << QStringList{"--export"} << 2 << "Nach --export fehlt ein Wert.";
        QTest::newRow("unbekannte Art")
            << QStringList{"--export", "gif", "a.tab"} << 2
            << "Unbekannte Exportart \"gif\"; bekannt: pdf-grafik, pdf-tabelle, pdf-grafik-tabelle, jpg-grafik,";
        QTest::newRow("ohne Tabelle")
            << QStringList{"--export", "html"} << 2
            << "Es wurde keine Monatstabelle angegeben, und keine ist in Gebrauch.";
        QTest::newRow("unbekannte Option")
            << QStringList{"--export", "html", "--bunt", "a.tab"} << 2 << "Unbekannte Option \"--bunt\".";
        QTest::newRow("Ausgabe ohne Export")
            << QStringList{"--ausgabe", "x.html", "a.tab"} << 2 << "Es fehlt --export ART (pdf-grafik,";
        QTest::newRow("zwei Tabellen in eine Datei")
            << QStringList{"--export", "html", "--ausgabe", "x.html", "a.tab", "b.tab"} << 2
            << "Mit mehreren Tabellen muss --ausgabe einen Ordner nennen";
        QTest::newRow("Tabelle fehlt")
            << QStringList{"--export", "html", "fehlt.tab"} << 1 << "gibt es nicht";
        QTest::newRow("Tabelle ohne Messung") << QStringList{"--export", "html", "leer.tab"} << 1
                                              << "leer.tab: Es wurden noch keine Daten eingegeben!";
        QTest::newRow("kaputte Tabelle")
            << QStringList{"--export", "html", "kaputt.tab"} << 1 << "kaputt.tab, Zeile";
        QTest::newRow("Platz, den der Dialog nicht anbietet")
            << QStringList{"--export", "pdf-tabelle", "--patientendaten", "daten.txt:unter", "a.tab"} << 2
            << "Bei pdf-tabelle können die Patientendaten nicht \"unter\" stehen; möglich: oben, unten.";
        QTest::newRow("Patientendaten ohne PDF")
            << QStringList{"--export", "jpg-grafik", "--patientendaten=daten.txt", "a.tab"} << 2
            << "--patientendaten gibt es nur bei pdf-grafik";
        QTest::newRow("Patientendaten fehlen")
            << QStringList{"--export", "pdf-grafik", "--patientendaten", "fehlt.txt", "a.tab"} << 1 << "fehlt.txt";
        QTest::newRow("Standardausgabe für ein PDF")
            << QStringList{"--export", "pdf-grafik", "--ausgabe", "-", "a.tab"} << 2 << "nur bei tabelle-text";
        QTest::newRow("zwei Bilder in eine Datei")
            << QStringList{"--export", "jpg-grafik", "--ausgabe", "x.jpg", "a.tab", "a.tab"} << 2
            << "muss --ausgabe einen vorhandenen Ordner nennen";
        QTest::newRow("zweimal derselbe Monat")
            << QStringList{"--export", "jpg-grafik", "a.tab", "a.tab"} << 1 << "Zwei Tabellen ergäben dieselbe Datei";
        QTest::newRow("Option zweimal")
            << QStringList{"--export", "pdf-grafik", "--export=jpg-grafik", "a.tab"} << 2
            << "--export wurde mehrmals angegeben.";
        QTest::newRow("Option statt Wert")
            << QStringList{"--export", "pdf-grafik", "--ausgabe", "--zeigen", "a.tab"} << 2
            << "Nach --ausgabe fehlt ein Wert.";
        QTest::newRow("leerer Wert")
            << QStringList{"--export", "pdf-grafik", "--ausgabe=", "a.tab"} << 2 << "Nach --ausgabe fehlt ein Wert.";
        // A mistyped option is a wrong call, never a window looking for a table "pdf-grafik".
        QTest::newRow("vertippte Option")
            << QStringList{"--Export", "pdf-grafik", "a.tab"} << 2 << "Unbekannte Option \"--Export\".";
        QTest::newRow("Text in einen Ordner")
            << QStringList{"--export", "tabelle-text", "--ausgabe", ".", "a.tab"} << 2 << "keinen Ordner";
        QTest::newRow("zweimal dieselbe Seite")
            << QStringList{"--export", "html", "--ausgabe", "seiten/", "a.tab", "a.tab"} << 1
            << "Zwei Tabellen ergäben dieselbe Datei";
        QTest::newRow("Ordner fehlt")
            << QStringList{"--export", "pdf-grafik", "--ausgabe", "fehlt/x.pdf", "a.tab"} << 1
            << "fehlt\" gibt es nicht";
    }
    // Wrong calls end with 2, failures with 1, each with a German reason on stderr.
    void exportFalscherAufruf() {
        QFETCH(QStringList, argumente);
        QFETCH(QString, meldung);
        const Lauf l = neuerLauf(QStringLiteral("falsch"));
        testumgebung::schreibe(l.ordner + QStringLiteral("leer.tab"),
                               "[Personendaten]\r\nBenutzerName=Anna\r\n");
        testumgebung::schreibe(
            l.ordner + QStringLiteral("kaputt.tab"),
            testumgebung::lies(testumgebung::testdaten(QStringLiteral("kaputt_wert.tab"))));
        testumgebung::schreibe(l.ordner + QStringLiteral("a.tab"),
                               testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab"))));
        testumgebung::schreibe(l.ordner + QStringLiteral("daten.txt"), "Hausarzt\n");
        const Ergebnis e = ohneFenster(l, argumente);
        QTEST(e.status, "status");
        QVERIFY2(e.fehler.contains(meldung), qPrintable(e.fehler));
        QCOMPARE(e.aus, QString());
        QCOMPARE(allesUnter(l.ordner), (QStringList{"a.tab", "daten.txt", "kaputt.tab", "leer.tab"}));
    }

    // The window's command and the command line on the same table and first-start settings give
    // the same bytes; the command line files its document where the window proposes it.
    void exportWieImFenster_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("datei"); // below the year folder
        QTest::newRow("pdf-grafik") << "pdf-grafik" << "März 2024 Anna.pdf";
        QTest::newRow("pdf-tabelle") << "pdf-tabelle" << "März 2024 Anna.pdf";
        QTest::newRow("pdf-grafik-tabelle") << "pdf-grafik-tabelle" << "März 2024 Anna.pdf";
        QTest::newRow("jpg-grafik") << "jpg-grafik" << "M_rz_2024_Anna.jpg";
        QTest::newRow("jpg-grafik-tabelle") << "jpg-grafik-tabelle" << "M_rz_2024_Anna.jpg";
    }
    void exportWieImFenster() {
        QFETCH(QString, art);
        QFETCH(QString, datei);
        qputenv("SOURCE_DATE_EPOCH", "1709251200");
        const Lauf l = neuerLauf(QStringLiteral("wie-im-fenster"));
        const QString tabelle = maerzMitBemerkungen(l.ordner);
        const Ergebnis e = ohneFenster(l, {QStringLiteral("--export"), art, tabelle});
        QCOMPARE(e.fehler, QString());
        QCOMPARE(e.status, 0);
        const QString geschrieben = l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/") + datei;
        QCOMPARE(e.aus, geschrieben + u'\n');
        // Settings are read, never written: no settings file appears.
        QCOMPARE(allesUnter(l.config), QStringList());

        // The window: first-start settings, the table opened, its list in the table window.
        testumgebung::dialoge().leeren();
        const QString fensterOrdner = testumgebung::neuerProgrammOrdner(QStringLiteral("fenster"));
        testumgebung::einstellungenLoeschen();
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(fensterOrdner);
        Zustand z;
        z.programmOrdner = fensterOrdner;
        start::leseOrdner(z);
        const QString fensterTabelle = maerzMitBemerkungen(fensterOrdner);
        TMonatsGrafik g(z);
        QVERIFY(g.GrafikZeichnen(fensterTabelle));
        QVERIFY(monatstabelle::liesZumBearbeiten(z, fensterTabelle, monatstabelle::KopfLesen::Ja));
        const tabelle::Gitter gitter = tabelle::ErstelleTabelle(z.ListBox1);
        QString imFenster;
        if (art.startsWith(u"pdf")) {
            imFenster = fensterOrdner + QStringLiteral("fenster.pdf");
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
        QCOMPARE(testumgebung::dialoge().unerwartet, QStringList());
        qunsetenv("SOURCE_DATE_EPOCH");
        const QByteArray erwartet = testumgebung::lies(imFenster);
        QVERIFY(!erwartet.isEmpty());
        QVERIFY(testumgebung::lies(geschrieben) == erwartet);
    }

    // "tabelle-text" is what a copy of the whole grid in the table window puts on the clipboard.
    void exportTextWieImFenster() {
        const Lauf l = neuerLauf(QStringLiteral("text"));
        const QString tabelle = maerzMitBemerkungen(l.ordner);
        const Ergebnis e = ohneFenster(l, {QStringLiteral("--export"), QStringLiteral("tabelle-text"), tabelle});
        QCOMPARE(e.status, 0);

        Zustand z;
        QVERIFY(monatstabelle::liesZumBearbeiten(z, tabelle, monatstabelle::KopfLesen::Ja));
        TTabellenDlg fenster;
        fenster.ErstelleTabelle(z.ListBox1);
        fenster.setzeAuswahl(QRect(QPoint(0, 0), QPoint(tabelle::kSpalten - 1, tabelle::kZeilen - 1)));
        fenster.TextKopierenClick();
        const QString kopiert = QGuiApplication::clipboard()->text();
        QVERIFY(kopiert.contains(QStringLiteral("\t    128 \t")));
        QCOMPARE(e.aus, kopiert);

        // "--ausgabe -" is stdout too; a file gets the same text as UTF-8.
        QCOMPARE(ohneFenster(l, {QStringLiteral("--export=tabelle-text"), QStringLiteral("--ausgabe"),
                                 QStringLiteral("-"), tabelle})
                     .aus,
                 kopiert);
        const Ergebnis inDatei = ohneFenster(l, {QStringLiteral("--export=tabelle-text"),
                                                 QStringLiteral("--ausgabe=März.txt"), tabelle});
        QCOMPARE(inDatei.status, 0);
        QCOMPARE(testumgebung::lies(l.ordner + QStringLiteral("März.txt")), kopiert.toUtf8());

        // Several months: each grid under its title line.
        const Ergebnis zwei = ohneFenster(l, {QStringLiteral("--export=tabelle-text"), aprilVon(l.ordner), tabelle});
        QVERIFY(zwei.aus.startsWith(QStringLiteral("Korvanemesswerte  April 2024  Anna\r\n  DATUM  MORGENS")));
        QVERIFY(zwei.aus.endsWith(QStringLiteral("\r\nKorvanemesswerte  März 2024  Anna\r\n") + kopiert));
    }

    // Several months in one document, in the order given, the pages numbered through, the patient
    // data (UTF-8) on a page of their own above each table.
    void exportMehrereMonateEinDokument() {
        const Lauf l = neuerLauf(QStringLiteral("mehrere"));
        const QString maerz = maerzMitBemerkungen(l.ordner);
        const QString april = aprilVon(l.ordner);
        testumgebung::schreibe(l.ordner + QStringLiteral("daten.txt"), "Hausarzt: Dr. Müller\nTel. 0123\n");
        const Ergebnis e = ohneFenster(l, {QStringLiteral("--export"), QStringLiteral("pdf-grafik-tabelle"),
                                           QStringLiteral("--patientendaten"), QStringLiteral("daten.txt:oben"),
                                           QStringLiteral("--ausgabe"), QStringLiteral("Arzt"), april, maerz});
        QCOMPARE(e.fehler, QString());
        QCOMPARE(e.status, 0);
        const QString pdf = l.ordner + QStringLiteral("Arzt.pdf");
        QCOMPARE(e.aus, pdf + u'\n');
        QCOMPARE(werkzeug(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}).status, 0);
        QStringList seiten;
        for (int s = 1; s <= 7; ++s)
            seiten << werkzeug(QStringLiteral("pdftotext"),
                               {QStringLiteral("-f"), QString::number(s), QStringLiteral("-l"), QString::number(s),
                                QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                          .aus.simplified();
        // Chart, data, table (its number is in the picture) for April, then for March; no page 7.
        QCOMPARE(seiten.at(0), QStringLiteral("Seite 1"));
        QCOMPARE(seiten.at(1), QStringLiteral("Seite 2 Hausarzt: Dr. Müller Tel. 0123"));
        QCOMPARE(seiten.at(2), QString());
        QCOMPARE(seiten.at(3), QStringLiteral("Seite 4"));
        QCOMPARE(seiten.at(4), QStringLiteral("Seite 5 Hausarzt: Dr. Müller Tel. 0123"));
        QCOMPARE(seiten.at(6), QString());
        QCOMPARE(werkzeug(QStringLiteral("pdfinfo"), {pdf}).aus.count(QStringLiteral("Pages:           6")), 1);
    }

    // A desktop action: no table named, so the month in use; the document opened with the
    // desktop's program; the settings as they were.
    void exportMonatInGebrauchZeigen() {
        const Lauf l = neuerLauf(QStringLiteral("in-gebrauch"));
        annaInGebrauch(l);
        const QByteArray einstellungenVorher = testumgebung::lies(einstellungen(l));
        const QString bin = l.ordner + QStringLiteral("bin");
        const QString aufruf = aufzeichnendesProgramm(bin, QStringLiteral("xdg-open"));
        const Ergebnis e = ohneFenster(
            l, {QStringLiteral("--export"), QStringLiteral("pdf-grafik-tabelle"), QStringLiteral("--zeigen")}, bin);
        QCOMPARE(e.fehler, QString());
        QCOMPARE(e.status, 0);
        const QString pdf = l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/März 2024 Anna.pdf");
        QCOMPARE(e.aus, pdf + u'\n');
        QVERIFY(wartetBis([&] { return QFileInfo::exists(aufruf); }));
        QCOMPARE(QString::fromUtf8(testumgebung::lies(aufruf)), pdf + u'|');
        QCOMPARE(testumgebung::lies(einstellungen(l)), einstellungenVorher);
    }

    // What an export must never write over: its own inputs, a month table, what is no regular
    // file, a write-protected file. Refused before anything is written; the file stays as it was.
    void exportAusgabeGeschuetzt_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("PDF über die Tabelle")
            << QStringList{"--export", "pdf-grafik-tabelle", "--ausgabe", "a.tab", "b.tab", "a.tab"} << "a.tab"
            << "wäre eine Monatstabelle";
        QTest::newRow("Text über eine andere Tabelle")
            << QStringList{"--export", "tabelle-text", "--ausgabe", "b.tab", "a.tab"} << "b.tab"
            << "wäre eine Monatstabelle";
        QTest::newRow("Text über die Bemerkungen")
            << QStringList{"--export", "tabelle-text", "--ausgabe", "a.txt", "a.tab"} << "a.txt"
            << "wird von diesem Aufruf gelesen";
        QTest::newRow("PDF über die Patientendaten")
            << QStringList{"--export", "pdf-grafik", "--patientendaten", "daten.txt", "--ausgabe", "daten.txt",
                           "a.tab"}
            << "daten.txt" << "wird von diesem Aufruf gelesen";
        QTest::newRow("Seite über die Patientendaten als Verknüpfung")
            << QStringList{"--export", "html", "--ausgabe", "verknuepfung.html", "a.tab"} << "verknuepfung.html"
            << "keine gewöhnliche Datei";
        QTest::newRow("FIFO") << QStringList{"--export", "jpg-grafik", "--ausgabe", "fifo", "a.tab"} << "fifo"
                              << "keine gewöhnliche Datei";
        QTest::newRow("Gerät") << QStringList{"--export", "pdf-grafik", "--ausgabe", "/dev/null", "a.tab"}
                               << "/dev/null" << "keine gewöhnliche Datei";
        QTest::newRow("schreibgeschützt")
            << QStringList{"--export", "pdf-tabelle", "--ausgabe", "fest.pdf", "a.tab"} << "fest.pdf"
            << "schreibgeschützt";
    }
    void exportAusgabeGeschuetzt() {
        QFETCH(QStringList, argumente);
        QFETCH(QString, ziel);
        QFETCH(QString, meldung);
        const Lauf l = neuerLauf(QStringLiteral("geschuetzt"));
        const QByteArray maerz = testumgebung::lies(testumgebung::testdaten(QStringLiteral("anna_maerz_2024.tab")));
        testumgebung::schreibe(l.ordner + QStringLiteral("a.tab"), maerz);
        testumgebung::schreibe(l.ordner + QStringLiteral("a.txt"), "Bemerkung\r\n");
        testumgebung::schreibe(l.ordner + QStringLiteral("b.tab"),
                               QByteArray(maerz).replace(".03.2024", ".04.2024").replace("M\xe4rz", "April"));
        testumgebung::schreibe(l.ordner + QStringLiteral("daten.txt"), "Hausarzt\n");
        testumgebung::schreibe(l.ordner + QStringLiteral("fest.pdf"), "alt");
        QFile::setPermissions(l.ordner + QStringLiteral("fest.pdf"), QFile::ReadOwner);
        QVERIFY(QFile::link(l.ordner + QStringLiteral("daten.txt"), l.ordner + QStringLiteral("verknuepfung.html")));
        QCOMPARE(::mkfifo(QFile::encodeName(l.ordner + QStringLiteral("fifo")).constData(), 0600), 0);
        const QStringList vorher = allesUnter(l.ordner);
        const QString pfad = ziel.startsWith(u'/') ? ziel : l.ordner + ziel;
        const QByteArray inhalt = QFileInfo(pfad).isFile() ? testumgebung::lies(pfad) : QByteArray();

        const Ergebnis e = ohneFenster(l, argumente);
        QFile::setPermissions(l.ordner + QStringLiteral("fest.pdf"), QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY2(e.fehler.contains(meldung), qPrintable(e.fehler));
        QCOMPARE(e.status, 2);
        QCOMPARE(e.aus, QString());
        QCOMPARE(allesUnter(l.ordner), vorher);
        if (!inhalt.isEmpty()) QVERIFY(testumgebung::lies(pfad) == inhalt);
        QVERIFY(QFileInfo(l.ordner + QStringLiteral("verknuepfung.html")).isSymLink());
        QVERIFY(!QFileInfo::exists(QStringLiteral("/dev/null.pdf")));
    }

    // A desktop action that fails has no terminal: its message comes as a notification.
    void exportZeigenMeldetFehler() {
        const Lauf l = neuerLauf(QStringLiteral("melden"));
        const QString bin = l.ordner + QStringLiteral("bin");
        const QString aufruf = aufzeichnendesProgramm(bin, QStringLiteral("notify-send"));
        const Ergebnis e = ohneFenster(l, {QStringLiteral("--export"), QStringLiteral("html"), QStringLiteral("--zeigen")}, bin);
        QCOMPARE(e.status, 2);
        QVERIFY(wartetBis([&] { return QFileInfo::exists(aufruf); }));
        const QString gemeldet = QString::fromUtf8(testumgebung::lies(aufruf));
        QVERIFY2(gemeldet.contains(QStringLiteral("|Korvane: Export fehlgeschlagen|Es wurde keine Monatstabelle angegeben")),
                 qPrintable(gemeldet));
    }

    // Paths on stdout are for scripts, and so is the usage: a stdout that cannot take them fails
    // the run.
    void exportStandardausgabeVoll_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("geschriebene Pfade") << QStringList{"--export=pdf-grafik"};
        QTest::newRow("Hilfe") << QStringList{"--help"};
    }
    void exportStandardausgabeVoll() {
        QFETCH(QStringList, argumente);
        const Lauf l = neuerLauf(QStringLiteral("voll"));
        const QString tabelle = maerzMitBemerkungen(l.ordner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), l.config);
        env.insert(QStringLiteral("KORVANE_ORDNER"), l.ordner);
        QProcess p;
        p.setProcessEnvironment(env);
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(KORVANE_BIN "/korvane"), argumente << tabelle);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("Die Standardausgabe konnte nicht geschrieben werden."));
    }

    // One table that cannot be used and nothing is written, whatever the art: not the other
    // month's file, no year folder, no script.
    void exportKaputteTabelleSchreibtNichts_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("pdf") << QStringList{"--export", "pdf-grafik-tabelle"};
        QTest::newRow("jpg") << QStringList{"--export", "jpg-grafik"};
        QTest::newRow("jpg in Ordner") << QStringList{"--export", "jpg-grafik-tabelle", "--ausgabe", "aus"};
        QTest::newRow("text") << QStringList{"--export", "tabelle-text", "--ausgabe", "aus/t.txt"};
        QTest::newRow("html") << QStringList{"--export", "html"};
    }
    void exportKaputteTabelleSchreibtNichts() {
        QFETCH(QStringList, argumente);
        const Lauf l = neuerLauf(QStringLiteral("kaputt"));
        const QString maerz = maerzMitBemerkungen(l.ordner);
        QDir().mkpath(l.ordner + QStringLiteral("aus"));
        testumgebung::schreibe(l.ordner + QStringLiteral("kaputt.tab"),
                               testumgebung::lies(testumgebung::testdaten(QStringLiteral("kaputt_wert.tab"))));
        const QStringList vorher = allesUnter(l.ordner);
        const Ergebnis e = ohneFenster(l, argumente << maerz << QStringLiteral("kaputt.tab"));
        QCOMPARE(e.status, 1);
        QVERIFY2(e.fehler.contains(QStringLiteral("kaputt.tab, Zeile 10: ")), qPrintable(e.fehler));
        QVERIFY2(e.fehler.contains(QStringLiteral("Es wurde nichts geschrieben.")), qPrintable(e.fehler));
        QCOMPARE(e.aus, QString());
        QCOMPARE(allesUnter(l.ordner), vorher);
    }

    void hilfe() {
        const Lauf l = neuerLauf(QStringLiteral("hilfe"));
        const Ergebnis e = ohneFenster(l, {QStringLiteral("--help")});
        QCOMPARE(e.status, 0);
        QVERIFY(e.aus.contains(QStringLiteral("korvane --export ART [--patientendaten DATEI[:unter|oben|unten]]")));
        QVERIFY(e.aus.contains(QStringLiteral("        tabelle-text        die Tabelle als Text")));
        QCOMPARE(e.fehler, QString());
    }

    // A plain file where the data folder should be: the program ends at once, non-zero.
    void ordnerNichtAnlegbarEndet() {
        const Lauf l = neuerLauf(QStringLiteral("blockiert"));
        testumgebung::schreibe(l.ordner + QStringLiteral("blockiert"), "datei");
        QDir().mkpath(l.config + QStringLiteral("/Orvalis"));
        {
            QSettings s(einstellungen(l), QSettings::IniFormat);
            s.setValue(QStringLiteral("InstallOrt"), l.ordner);
            s.setValue(QStringLiteral("DatenSpeicherOrt"), l.ordner + QStringLiteral("blockiert/"));
        }
        QProcess p;
        starte(p, l);
        // Its message waits for OK; offscreen nobody presses it, so the test ends it by a signal,
        // which must not turn the failed start into a success.
        QVERIFY(!p.waitForFinished(2000));
        p.terminate();
        QVERIFY(p.waitForFinished(15000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(!QDir(l.ordner + QStringLiteral("Korvane-Daten im Browser")).exists());
        QCOMPARE(testumgebung::lies(l.ordner + QStringLiteral("blockiert")), QByteArray("datei"));
        QSettings s(einstellungen(l), QSettings::IniFormat);
        QVERIFY(!s.contains(QStringLiteral("TabellenDateiName")));
    }

    void programmOrdnerUnabhaengigVomArbeitsordner_data() {
        QTest::addColumn<bool>("heim");
        QTest::newRow("~/Korvane") << true;
        QTest::newRow("KORVANE_ORDNER") << false;
    }
    // Started twice, from two other working folders: the same program folder both times, and no
    // data-location question (it would hold the start before its end, and SIGTERM then exits 1).
    void programmOrdnerUnabhaengigVomArbeitsordner() {
        QFETCH(bool, heim);
        Lauf l = neuerLauf(heim ? QStringLiteral("heim") : QStringLiteral("gesetzt"));
        const QString wurzel = QFileInfo(l.config).path();
        const QString heimOrdner = wurzel + QStringLiteral("/home");
        if (heim) {
            l.heim = heimOrdner;
            l.ordner = heimOrdner + QStringLiteral("/Korvane/");
        }
        for (const char* arbeit : {"/erster", "/zweiter"}) {
            l.arbeit = wurzel + QLatin1String(arbeit);
            QDir().mkpath(l.arbeit);
            QProcess p;
            starte(p, l);
            QVERIFY(laeuftGleich(p, l)); // a first start waits in the user name dialog
            p.terminate();
            QVERIFY(p.waitForFinished(15000));
            QCOMPARE(p.exitCode(), 0);
            QCOMPARE(QDir(l.arbeit).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        }
        QSettings s(einstellungen(l), QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("InstallOrt")).toString(), l.ordner);
        QCOMPARE(s.value(QStringLiteral("DatenSpeicherOrt")).toString(), l.ordner);
        for (const char* datei : {"Vorlage.bmp", "GewichtVorlage.bmp", "Header.bmp", "Korvane-Hilfe.pdf"})
            QVERIFY2(QFileInfo(l.ordner + QLatin1String(datei)).size() > 0, datei);
        QCOMPARE(QDir(heimOrdner).exists(), heim);
    }

    // A second Korvane started with a table (a double click) hands it to the running one and
    // ends at once; the running one shows it and files it.
    void zweiterStartUebergibt() {
        const Lauf l = neuerLauf(QStringLiteral("zweiter"));
        const QString anna = annaInGebrauch(l);
        const QByteArray annaVorher = testumgebung::lies(anna);
        const QString woanders = QFileInfo(l.config).path() + QStringLiteral("/Downloads");
        const QString bert = bertsTabelle(woanders);
        QProcess laufend;
        starte(laufend, l);
        QVERIFY(laeuftGleich(laufend, l));

        Lauf zweiter = l;
        zweiter.arbeit = woanders; // the path given is relative to it
        QProcess p;
        QElapsedTimer uhr;
        uhr.start();
        starte(p, zweiter, {QStringLiteral("Bert_03_2024.tab")});
        QVERIFY(p.waitForFinished(15000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(uhr.elapsed() < 5000, qPrintable(QString::number(uhr.elapsed())));

        const QString abgelegt = l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Bert_03_2024.tab");
        QVERIFY(wartetBis([&] { return QFileInfo::exists(abgelegt); }));
        QCOMPARE(laufend.state(), QProcess::Running);
        laufend.terminate();
        QVERIFY(laufend.waitForFinished(15000));
        QCOMPARE(laufend.exitCode(), 0);
        QSettings s(einstellungen(l), QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("TabellenDateiName")).toString(), abgelegt);
        QCOMPARE(testumgebung::lies(abgelegt), testumgebung::lies(bert));
        QCOMPARE(testumgebung::lies(anna), annaVorher);
    }

    // A Korvane killed outright leaves its lock and socket files; the next start runs all the
    // same and takes hand-overs itself.
    void getoetetesKorvaneBlockiertNicht() {
        const Lauf l = neuerLauf(QStringLiteral("getoetet"));
        annaInGebrauch(l);
        {
            QProcess vorher;
            starte(vorher, l);
            QVERIFY(laeuftGleich(vorher, l));
            vorher.kill();
            QVERIFY(vorher.waitForFinished(15000));
        }
        const QString bert = bertsTabelle(QFileInfo(l.config).path() + QStringLiteral("/Downloads"));
        QProcess laufend;
        starte(laufend, l, {bert});
        QVERIFY(laeuftGleich(laufend, l));
        QProcess nachVorn;
        starte(nachVorn, l);
        QVERIFY(nachVorn.waitForFinished(15000));
        QCOMPARE(nachVorn.exitCode(), 0);
        QCOMPARE(laufend.state(), QProcess::Running);
        laufend.terminate();
        QVERIFY(laufend.waitForFinished(15000));
        QCOMPARE(laufend.exitCode(), 0);
        QSettings s(einstellungen(l), QSettings::IniFormat);
        QCOMPARE(s.value(QStringLiteral("TabellenDateiName")).toString(),
                 l.ordner + QStringLiteral("Korvane-Daten-Galerie/2024/Bert_03_2024.tab"));
    }

    // A Korvane of the same set-up holds the lock and never answers: the new start waits for it,
    // writing nothing, and SIGTERM ends that wait at once.
    void signalWaehrendDerUebergabe() {
        const Lauf l = neuerLauf(QStringLiteral("stumm"));
        const QString tabelle = bertsTabelle(QFileInfo(l.config).path() + QStringLiteral("/Downloads"));
        const QByteArray tabelleVorher = testumgebung::lies(tabelle);
        // The same set-up as the child's: its settings file and program folder.
        const Einzelstart gleicheEinrichtung(einstellungen(l) + u'\n' + l.ordner);
        const int sperre = ::open(QFile::encodeName(gleicheEinrichtung.sperrPfad()).constData(),
                                  O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(sperre >= 0 && ::flock(sperre, LOCK_EX | LOCK_NB) == 0);
        QProcess p;
        starte(p, l, {tabelle});
        QVERIFY(!p.waitForFinished(2000));
        QElapsedTimer uhr;
        uhr.start();
        p.terminate();
        QVERIFY(p.waitForFinished(10000));
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
        ::close(sperre);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(!QFileInfo::exists(einstellungen(l)));
        QCOMPARE(QDir(l.ordner).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        QCOMPARE(testumgebung::lies(tabelle), tabelleVorher);
    }
};

KORVANE_TEST_MAIN(TestProgramm)
#include "test_programm.moc"
