// One running Korvane per set-up: hand-over, leftovers of an ended one, set-ups that never meet.
#include "testumgebung.h"

#include "app/einzelstart.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QScopeGuard>
#include <QSignalSpy>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using Ergebnis = Einzelstart::Ergebnis;

namespace {

// A later start runs in a thread of its own, so the running one answers from its event loop.
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

sockaddr_un adresseVon(const QString& pfad) {
    sockaddr_un adresse = {};
    adresse.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(pfad);
    std::memcpy(adresse.sun_path, name.constData(), qMin(size_t(name.size()), sizeof(adresse.sun_path) - 1));
    return adresse;
}

// A socket file as a killed process leaves it: bound, never unlinked, no one listening.
bool totenSocketLassen(const QString& pfad) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un adresse = adresseVon(pfad);
    const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&adresse), sizeof(adresse)) == 0;
    ::close(fd);
    return ok;
}

constexpr uid_t kFremd = 65534;
bool fremdMachen(const QString& pfad) {
    return ::lchown(QFile::encodeName(pfad).constData(), kFremd, kFremd) == 0;
}

// rolle runs in a child under another user id (root only), file access staying ours (fsuid), so
// only the socket peer's id differs; endeAbwarten gives its exit status, 77 without another id.
template <typename Rolle> pid_t alsFremder(Rolle rolle) {
    const pid_t kind = ::fork();
    if (kind == 0) {
        if (::getuid() != 0 || ::syscall(SYS_setresuid, -1, kFremd, -1) != 0) ::_exit(77);
        ::setfsuid(::getuid());
        ::_exit(rolle());
    }
    return kind;
}
int endeAbwarten(pid_t kind) {
    int status = 0;
    while (::waitpid(kind, &status, WNOHANG) == 0)
        QTest::qWait(10);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
// Up to ms for one byte on fd; 0 when none came.
char einByte(int fd, int ms) {
    pollfd p = {fd, POLLIN, 0};
    char c = 0;
    return ::poll(&p, 1, ms) == 1 && ::read(fd, &c, 1) == 1 ? c : 0;
}

} // namespace

class TestEinzelstart : public QObject {
    Q_OBJECT

    int m_lauf = 0;
    // Each case its own set-up, so nothing of one case reaches the next.
    QString neuerSchluessel() { return QStringLiteral("einrichtung-%1\n").arg(++m_lauf); }

private Q_SLOTS:
    void uebergabe_data() {
        QTest::addColumn<QByteArray>("fremd"); // what reaches the socket first, if anything
        QTest::addColumn<QString>("tabelle");  // then handed over by a later start
        const QString w = testumgebung::wurzel();
        QTest::newRow("tabelle") << QByteArray() << w + "/Anna_03_2024.tab";
        QTest::newRow("ohne tabelle: nur nach vorn") << QByteArray() << QString();
        QTest::newRow("leerzeichen, umlaut, zeilenumbruch")
            << QByteArray() << w + "/Jörg Ärger/Jörg\n_03 2024.tab";
        QTest::newRow("langer pfad, ueber 12 KiB als url")
            << QByteArray() << w + (QStringLiteral("/") + QString(127, u'\u00e4')).repeated(16) + ".tab";
        // Whatever else reaches the socket opens nothing; the next real hand-over is still taken.
        QTest::newRow("keine datei-url") << QByteArray("http://example.org/x.tab\n") << w + "/echt.tab";
        QTest::newRow("ohne zeilenende, riesig") << QByteArray(100 * 1024, 'a') << w + "/echt.tab";
        QTest::newRow("zeile ueber der grenze") << "file:///" + QByteArray(70 * 1024, 'a') + '\n'
                                                << w + "/echt.tab";
    }
    // The running Korvane receives exactly the path a later start was given; another set-up runs alone.
    void uebergabe() {
        QFETCH(QByteArray, fremd);
        QFETCH(QString, tabelle);
        const QString schluessel = neuerSchluessel();
        Einzelstart laufend(schluessel);
        QCOMPARE(laufend.beginne(QString(), 2000), Ergebnis::Erster);
        QSignalSpy erhalten(&laufend, &Einzelstart::tabelleErhalten);
        Einzelstart andere(neuerSchluessel());
        QVERIFY(andere.socketPfad() != laufend.socketPfad());
        QCOMPARE(andere.beginne(QStringLiteral("/andere.tab"), 500), Ergebnis::Erster);
        if (!fremd.isEmpty()) {
            QLocalSocket s;
            s.connectToServer(laufend.socketPfad());
            QVERIFY(s.waitForConnected(1000));
            s.write(fremd);
            QTRY_COMPARE(s.state(), QLocalSocket::UnconnectedState);
            QVERIFY(!s.bytesAvailable()); // no "taken"
            QCOMPARE(erhalten.size(), 0);
        }
        auto spaeter = spaeterStarten(schluessel, tabelle, 5000);
        QCOMPARE(abwarten(spaeter), Ergebnis::Uebergeben);
        QTRY_COMPARE(erhalten.size(), 1);
        QCOMPARE(erhalten.first().first().toString(), tabelle);
    }

    void hinterlassenes_data() {
        QTest::addColumn<QString>("fall");
        QTest::newRow("sperrdatei mit fremdem inhalt") << "sperre";
        QTest::newRow("toter socket") << "socket";
        QTest::newRow("beendeter laeufer") << "beendet";
    }
    // Whatever an ended Korvane left (lock, socket) never blocks a start, and the new one takes hand-overs.
    void hinterlassenes() {
        QFETCH(QString, fall);
        const QString schluessel = neuerSchluessel();
        Einzelstart probe(schluessel);
        if (fall == "sperre") testumgebung::schreibe(probe.sperrPfad(), "4711\nirgendwo\n");
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

    // A Korvane that holds the lock but never answers: a later start gives up after its wait.
    void besetzt() {
        const QString schluessel = neuerSchluessel();
        Einzelstart probe(schluessel);
        // An open file description of our own conflicts under flock as another process's does.
        const int fd =
            ::open(QFile::encodeName(probe.sperrPfad()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0);
        QLocalServer stumm;
        QVERIFY(stumm.listen(probe.socketPfad()));
        QElapsedTimer uhr;
        uhr.start();
        auto spaeter = spaeterStarten(schluessel, QStringLiteral("/x.tab"), 600);
        QCOMPARE(abwarten(spaeter), Ergebnis::Besetzt);
        QVERIFY2(uhr.elapsed() >= 600 && uhr.elapsed() < 3000, qPrintable(QString::number(uhr.elapsed())));
        ::close(fd);
    }

    // A closing Korvane takes nothing; a later start waits and runs itself once that one has gone.
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

    void ordner_data() {
        QTest::addColumn<QString>("fall");   // where, then how it is not safe
        QTest::addColumn<bool>("uebergabe"); // else every start runs alone
        QTest::newRow("ohne laufzeitordner") << "" << true;
        QTest::newRow("laufzeitordner fremd") << "lauf fremd" << true;
        QTest::newRow("laufzeitordner offen") << "lauf offen" << true;
        QTest::newRow("laufzeitordner verweis") << "lauf verweis" << true;
        QTest::newRow("privater ordner offen") << "privat offen" << false;
        QTest::newRow("sperrdatei fremd") << "sperre fremd" << false;
        QTest::newRow("socket fremd") << "socket fremd" << false;
    }
    // Lock and socket live only in a folder of the user's own with mode 0700 (the runtime folder,
    // else <tmp>/korvane-<uid>); where none can be had, each start runs alone, without waiting.
    void ordner() {
        QFETCH(QString, fall);
        QFETCH(bool, uebergabe);
        const QString wo = fall.section(' ', 0, 0), art = fall.section(' ', 1);
        if (art == "fremd" && ::getuid() != 0) QSKIP("Was einem anderen Nutzer gehoert, legt nur root an.");
        const auto zurueck = qScopeGuard([l = qgetenv("XDG_RUNTIME_DIR"), t = qgetenv("TMPDIR")] {
            for (const auto& [name, wert] : {std::pair{"XDG_RUNTIME_DIR", l}, std::pair{"TMPDIR", t}})
                wert.isNull() ? qunsetenv(name) : qputenv(name, wert);
        });
        const QString basis = testumgebung::wurzel() + QStringLiteral("/ordner-%1").arg(++m_lauf);
        const QString lauf = basis + "/lauf", tmp = basis + "/tmp", echt = basis + "/echt";
        const QString vorgabe = tmp + "/korvane-" + QString::number(::getuid());
        const auto anlegen = [&](const QString& pfad, const QString& wie) {
            if (wie == "verweis") return QFile::link(echt, pfad);
            const QByteArray name = QFile::encodeName(pfad);
            return ::mkdir(name.constData(), 0700) == 0 &&
                   ::chmod(name.constData(), wie == "offen" ? 0777 : 0700) == 0 &&
                   (wie != "fremd" || fremdMachen(pfad));
        };
        QVERIFY(QDir().mkpath(tmp) && anlegen(echt, "eigen"));
        qputenv("TMPDIR", QFile::encodeName(tmp));
        qunsetenv("XDG_RUNTIME_DIR");
        if (wo == "lauf" || wo == "sperre" || wo == "socket") {
            QVERIFY(anlegen(lauf, wo == "lauf" ? art : "eigen"));
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(lauf));
        }
        if (wo == "privat") QVERIFY(anlegen(vorgabe, art));
        const QString schluessel = neuerSchluessel();
        Einzelstart erster(schluessel);
        const QString datei = wo == "sperre"   ? erster.sperrPfad()
                              : wo == "socket" ? erster.socketPfad()
                                               : QString();
        if (wo == "sperre") testumgebung::schreibe(datei, {});
        if (wo == "socket") QVERIFY(totenSocketLassen(datei));
        QVERIFY(datei.isEmpty() || fremdMachen(datei));

        QCOMPARE(erster.beginne(QString(), 5000), Ergebnis::Erster);
        struct stat s;
        if (uebergabe) {
            QVERIFY2(erster.socketPfad().startsWith(vorgabe + "/"), qPrintable(erster.socketPfad()));
            QVERIFY(::lstat(QFile::encodeName(vorgabe), &s) == 0 && S_ISDIR(s.st_mode) &&
                    (s.st_mode & 07777) == 0700);
            auto spaeter = spaeterStarten(schluessel, QStringLiteral("/x.tab"), 5000);
            QCOMPARE(abwarten(spaeter), Ergebnis::Uebergeben);
        } else {
            QElapsedTimer uhr;
            uhr.start();
            Einzelstart zweiter(schluessel);
            QCOMPARE(zweiter.beginne(QStringLiteral("/x.tab"), 5000), Ergebnis::Erster);
            QVERIFY2(uhr.elapsed() < 1000, qPrintable(QString::number(uhr.elapsed())));
            // Another user's file is left as it is, and nothing lands in a folder not safe.
            QVERIFY(datei.isEmpty() || (::lstat(QFile::encodeName(datei), &s) == 0 && s.st_uid == kFremd));
            QVERIFY(QDir(art == "verweis" ? echt : vorgabe).isEmpty());
        }
    }

    void fremderNutzer_data() {
        QTest::addColumn<bool>("fremdHorcht");
        QTest::newRow("spaeterer start eines fremden") << false;
        QTest::newRow("fremder horcht auf dem socket") << true;
    }
    // A table path passes only between processes of the same user, checked on every connection.
    void fremderNutzer() {
        QFETCH(bool, fremdHorcht);
        const QString schluessel = neuerSchluessel();
        Einzelstart eigen(schluessel);
        QSignalSpy erhalten(&eigen, &Einzelstart::tabelleErhalten);
        if (!fremdHorcht) QCOMPARE(eigen.beginne(QString(), 500), Ergebnis::Erster);
        const sockaddr_un adresse = adresseVon(eigen.socketPfad());
        const QByteArray sperre = QFile::encodeName(eigen.sperrPfad());
        int bereit[2];
        QVERIFY(::pipe(bereit) == 0);
        // The child answers 'J' to a line and says by its exit status whether one came.
        const pid_t kind = alsFremder([&]() -> int {
            const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
            const auto* a = reinterpret_cast<const sockaddr*>(&adresse);
            if (!fremdHorcht) {
                static const char zeile[] = "file:///fremd.tab\n";
                return ::connect(s, a, sizeof(adresse)) == 0 && ::write(s, zeile, sizeof(zeile) - 1) > 0 &&
                       einByte(s, 3000) == 'J';
            }
            const int l = ::open(sperre.constData(), O_RDWR | O_CREAT, 0600);
            if (::flock(l, LOCK_EX) != 0 || ::bind(s, a, sizeof(adresse)) != 0 || ::listen(s, 8) != 0)
                return 2;
            ::write(bereit[1], "!", 1);
            // Holds the lock and answers every caller until none has come for a while.
            bool gekommen = false;
            for (pollfd p = {s, POLLIN, 0}; ::poll(&p, 1, 1500) == 1;) {
                const int v = ::accept(s, nullptr, nullptr);
                if (einByte(v, 500) != 0) gekommen = ::write(v, "J", 1) == 1;
                ::close(v);
            }
            return int(gekommen);
        });
        ::close(bereit[1]);
        if (fremdHorcht && einByte(bereit[0], 5000) == '!')
            QCOMPARE(eigen.beginne(QStringLiteral("/geheim.tab"), 1000), Ergebnis::Besetzt);
        ::close(bereit[0]);
        const int status = endeAbwarten(kind);
        if (status == 77) QSKIP("Ein fremder Nutzer geht nur als root.");
        QCOMPARE(status, 0);
        QCOMPARE(erhalten.size(), 0);
    }

    void ueberlastung_data() {
        QTest::addColumn<bool>("ohneDeskriptoren");
        QTest::addColumn<int>("anrufer");
        QTest::newRow("keine deskriptoren frei") << true << 1;
        QTest::newRow("17 zugleich") << false << 17;
    }
    // Out of descriptors the running Korvane keeps its socket and serves a waiting caller once
    // there are some again; of 17 callers at once the 17th is closed at once, the rest are served.
    void ueberlastung() {
        QFETCH(bool, ohneDeskriptoren);
        QFETCH(int, anrufer);
        const QString schluessel = neuerSchluessel();
        Einzelstart laufend(schluessel);
        QCOMPARE(laufend.beginne(QString(), 500), Ergebnis::Erster);
        QSignalSpy erhalten(&laufend, &Einzelstart::tabelleErhalten);
        std::vector<std::unique_ptr<QLocalSocket>> rufer;
        for (int i = 0; i < anrufer; ++i) {
            rufer.push_back(std::make_unique<QLocalSocket>());
            rufer.back()->connectToServer(laufend.socketPfad());
            QVERIFY(rufer.back()->waitForConnected(1000));
        }
        QLocalSocket& erster = *rufer.front();
        erster.write("file:///erster.tab\n");
        QVERIFY(erster.waitForBytesWritten(1000));
        if (ohneDeskriptoren) {
            rlimit vorher;
            QVERIFY(::getrlimit(RLIMIT_NOFILE, &vorher) == 0);
            rlimit knapp = vorher;
            knapp.rlim_cur = qMin<rlim_t>(vorher.rlim_cur, 512);
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &knapp) == 0);
            std::vector<int> belegt;
            const int quelle = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            for (int fd = quelle; fd >= 0; fd = ::fcntl(quelle, F_DUPFD_CLOEXEC, 0))
                belegt.push_back(fd);
            QTest::qWait(500); // accept fails meanwhile
            const qsizetype waehrenddessen = erhalten.size();
            for (int fd : belegt)
                ::close(fd);
            ::setrlimit(RLIMIT_NOFILE, &vorher);
            QCOMPARE(waehrenddessen, 0);
        } else {
            QTRY_COMPARE(rufer.back()->state(), QLocalSocket::UnconnectedState);
            QVERIFY(!rufer.back()->bytesAvailable());
            QVERIFY(std::all_of(rufer.begin() + 1, rufer.end() - 1,
                                [](const auto& r) { return r->state() == QLocalSocket::ConnectedState; }));
        }
        QTRY_COMPARE(erhalten.size(), 1);
        QTRY_VERIFY(erster.bytesAvailable());
        QCOMPARE(erster.read(1), QByteArray("J"));
        rufer.clear();
        QVERIFY(QFile::exists(laufend.socketPfad()));
        auto spaeter = spaeterStarten(schluessel, QStringLiteral("/danach.tab"), 5000);
        QCOMPARE(abwarten(spaeter), Ergebnis::Uebergeben);
        QTRY_COMPARE(erhalten.size(), 2);
    }
};

KORVANE_TEST_MAIN(TestEinzelstart)
#include "test_einzelstart.moc"
