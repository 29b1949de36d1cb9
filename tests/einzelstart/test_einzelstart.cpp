// One running Korvane per set-up: a later start hands its table over or is told Korvane is open;
// what an ended Korvane left never blocks a start; two set-ups never meet.
#include "testumgebung.h"

#include "app/einzelstart.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using Ergebnis = Einzelstart::Ergebnis;

namespace {

// A later start runs in its own thread, as it would in its own process: the running one must
// answer from its event loop meanwhile.
std::future<Ergebnis> spaeterStarten(const QString& schluessel, const QString& tabelle, int wartezeitMs) {
    return std::async(std::launch::async, [=] {
        Einzelstart spaeter(schluessel);
        return spaeter.beginne(tabelle, wartezeitMs);
    });
}

Ergebnis abwarten(std::future<Ergebnis>& f) {
    while (f.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return f.get();
}

// Another process holds the lock: open file descriptions of their own conflict under flock as
// two processes' do.
int sperreHalten(const QString& pfad) {
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A socket file as a killed process leaves it: bound, never unlinked, no one listening.
bool totenSocketLassen(const QString& pfad) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un adresse = {};
    adresse.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(pfad);
    if (fd < 0 || size_t(name.size()) >= sizeof(adresse.sun_path)) return false;
    std::memcpy(adresse.sun_path, name.constData(), name.size());
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof(adresse)) == 0;
    ::close(fd);
    return ok;
}

} // namespace

class TestEinzelstart : public QObject {
    Q_OBJECT

    int m_lauf = 0;
    // Each case its own set-up, so nothing of one case reaches the next.
    QString neuerSchluessel() { return QStringLiteral("einrichtung-%1\n").arg(++m_lauf); }

private Q_SLOTS:
    void uebergabe_data() {
        QTest::addColumn<QString>("tabelle");
        QTest::newRow("tabelle") << testumgebung::wurzel() + "/Anna_03_2024.tab";
        QTest::newRow("ohne tabelle: nur nach vorn") << QString();
        QTest::newRow("leerzeichen, umlaut, zeilenumbruch")
            << testumgebung::wurzel() + "/Jörg Ärger/Jörg\n_03 2024.tab";
        QTest::newRow("prozent und raute") << testumgebung::wurzel() + "/a%20b#c?.tab";
        QTest::newRow("langer pfad, ueber 12 KiB als url")
            << testumgebung::wurzel() + (QStringLiteral("/") + QString(127, u'\u00e4')).repeated(16) + ".tab";
    }
    // The running Korvane receives exactly the path a later start was given, and only it.
    void uebergabe() {
        QFETCH(QString, tabelle);
        const QString schluessel = neuerSchluessel();
        Einzelstart laufend(schluessel);
        QCOMPARE(laufend.beginne(QString(), 2000), Ergebnis::Erster);
        QSignalSpy erhalten(&laufend, &Einzelstart::tabelleErhalten);
        auto spaeter = spaeterStarten(schluessel, tabelle, 5000);
        QCOMPARE(abwarten(spaeter), Ergebnis::Uebergeben);
        QTRY_COMPARE(erhalten.size(), 1);
        QCOMPARE(erhalten.first().first().toString(), tabelle);
    }

    // Parallel set-ups (other settings file or program folder) each get their own Korvane.
    void getrennteEinrichtungen() {
        Einzelstart a(neuerSchluessel());
        Einzelstart b(neuerSchluessel());
        QVERIFY(a.socketPfad() != b.socketPfad());
        QCOMPARE(a.beginne(QString(), 500), Ergebnis::Erster);
        QCOMPARE(b.beginne(QString(), 500), Ergebnis::Erster);
    }

    void hinterlassenes_data() {
        QTest::addColumn<QString>("fall");
        QTest::newRow("leere sperrdatei") << "leer";
        QTest::newRow("sperrdatei mit fremdem inhalt") << "inhalt";
        QTest::newRow("toter socket") << "socket";
        QTest::newRow("beendeter laeufer") << "beendet";
    }
    // Whatever an ended Korvane left (lock file, socket file) never blocks a start, and the new
    // one takes hand-overs.
    void hinterlassenes() {
        QFETCH(QString, fall);
        const QString schluessel = neuerSchluessel();
        Einzelstart probe(schluessel);
        if (fall == "leer") testumgebung::schreibe(probe.sperrPfad(), {});
        if (fall == "inhalt") testumgebung::schreibe(probe.sperrPfad(), "4711\nirgendwo\n");
        if (fall == "socket") QVERIFY(totenSocketLassen(probe.socketPfad()));
        if (fall == "beendet") {
            auto* vorher = new Einzelstart(schluessel);
            QCOMPARE(vorher->beginne(QString(), 500), Ergebnis::Erster);
            delete vorher;
            QVERIFY(!QFile::exists(probe.socketPfad())); // closed behind itself
        }
        QVERIFY(QFile::exists(probe.sperrPfad()) || fall == "socket");

        QElapsedTimer uhr;
        uhr.start();
        Einzelstart neu(schluessel);
        QCOMPARE(neu.beginne(QString(), 5000), Ergebnis::Erster);
        QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
        QSignalSpy erhalten(&neu, &Einzelstart::tabelleErhalten);
        auto spaeter = spaeterStarten(schluessel, QStringLiteral("/x.tab"), 5000);
        QCOMPARE(abwarten(spaeter), Ergebnis::Uebergeben);
        QTRY_COMPARE(erhalten.size(), 1);
    }

    void besetzt_data() {
        QTest::addColumn<bool>("horcht");
        QTest::newRow("sperre gehalten, niemand horcht") << false;
        QTest::newRow("horcht, antwortet nie") << true;
    }
    // A Korvane that holds the lock but takes nothing: the later start gives up after its wait
    // instead of starting a second one on the same files.
    void besetzt() {
        QFETCH(bool, horcht);
        const QString schluessel = neuerSchluessel();
        Einzelstart probe(schluessel);
        const int fd = sperreHalten(probe.sperrPfad());
        QVERIFY(fd >= 0);
        QLocalServer stumm;
        if (horcht) QVERIFY(stumm.listen(probe.socketPfad()));
        QElapsedTimer uhr;
        uhr.start();
        auto spaeter = spaeterStarten(schluessel, QStringLiteral("/x.tab"), 600);
        QCOMPARE(abwarten(spaeter), Ergebnis::Besetzt);
        QVERIFY2(uhr.elapsed() >= 600 && uhr.elapsed() < 3000, qPrintable(QString::number(uhr.elapsed())));
        ::close(fd);
    }

    // While the running Korvane closes it takes nothing; a later start waits, and runs itself
    // once the closing one has gone.
    void laeuferSchliesst() {
        const QString schluessel = neuerSchluessel();
        auto* schliessend = new Einzelstart(schluessel);
        QCOMPARE(schliessend->beginne(QString(), 500), Ergebnis::Erster);
        schliessend->setzeAnnahme([] { return false; });
        QSignalSpy erhalten(schliessend, &Einzelstart::tabelleErhalten);
        auto spaeter = spaeterStarten(schluessel, QStringLiteral("/x.tab"), 10000);
        QTest::qWait(500);
        QCOMPARE(erhalten.size(), 0);
        QCOMPARE(spaeter.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
        delete schliessend;
        QElapsedTimer uhr;
        uhr.start();
        QCOMPARE(abwarten(spaeter), Ergebnis::Erster);
        QVERIFY2(uhr.elapsed() < 2000, qPrintable(QString::number(uhr.elapsed())));
    }

    void fremdeNachrichten_data() {
        QTest::addColumn<QByteArray>("nachricht");
        QTest::newRow("keine datei-url") << QByteArray("http://example.org/x.tab\n");
        QTest::newRow("kein url") << QByteArray("%%%\n");
        QTest::newRow("ohne zeilenende, riesig") << QByteArray(100 * 1024, 'a');
        QTest::newRow("zeile ueber der grenze") << "file:///" + QByteArray(70 * 1024, 'a') + '\n';
    }
    // Whatever else reaches the socket opens nothing, and the running one still takes the next
    // real hand-over.
    void fremdeNachrichten() {
        QFETCH(QByteArray, nachricht);
        const QString schluessel = neuerSchluessel();
        Einzelstart laufend(schluessel);
        QCOMPARE(laufend.beginne(QString(), 500), Ergebnis::Erster);
        QSignalSpy erhalten(&laufend, &Einzelstart::tabelleErhalten);
        QLocalSocket fremd;
        fremd.connectToServer(laufend.socketPfad());
        QVERIFY(fremd.waitForConnected(1000));
        fremd.write(nachricht);
        QTRY_COMPARE(fremd.state(), QLocalSocket::UnconnectedState);
        QVERIFY(!fremd.bytesAvailable()); // no "taken"
        QCOMPARE(erhalten.size(), 0);

        auto spaeter = spaeterStarten(schluessel, QStringLiteral("/echt.tab"), 5000);
        QCOMPARE(abwarten(spaeter), Ergebnis::Uebergeben);
        QTRY_COMPARE(erhalten.size(), 1);
        QCOMPARE(erhalten.first().first().toString(), QStringLiteral("/echt.tab"));
    }
};

KORVANE_TEST_MAIN(TestEinzelstart)
#include "test_einzelstart.moc"
