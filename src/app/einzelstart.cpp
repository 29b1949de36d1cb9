#include "app/einzelstart.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A path as a file URL on one line: a newline in a file name cannot end the message early. The
// limit counts the line end and is far above any real path's URL.
constexpr qint64 kZeilenGrenze = 64 * 1024;
constexpr char kAngenommen = 'J';
// Hand-overs served at once; a further caller is closed at once and tries again.
constexpr int kHoechstens = 16;

// The lock and socket are only safe in a folder no one else can put a file into or read from.
bool eigenerOrdner(const QByteArray& pfad) {
    struct stat s;
    return ::lstat(pfad.constData(), &s) == 0 && S_ISDIR(s.st_mode) && s.st_uid == ::getuid() &&
           (s.st_mode & 077) == 0;
}

QByteArray privaterOrdner() {
    const QByteArray laufzeit = qgetenv("XDG_RUNTIME_DIR");
    if (laufzeit.startsWith('/') && eigenerOrdner(laufzeit)) return laufzeit;
    // Anyone can make a name below the temporary folder first: mkdir never takes one over, and
    // what is found there is checked like the runtime folder.
    const QByteArray ordner =
        QFile::encodeName(QDir::tempPath()) + "/korvane-" + QByteArray::number(::getuid());
    ::mkdir(ordner.constData(), 0700);
    return eigenerOrdner(ordner) ? ordner : QByteArray();
}

bool gleicherNutzer(int fd) {
    ucred peer = {};
    socklen_t laenge = sizeof(peer);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &laenge) == 0 && peer.uid == ::getuid();
}

bool fremdeDatei(const QString& pfad) {
    struct stat s;
    return ::lstat(QFile::encodeName(pfad).constData(), &s) == 0 && s.st_uid != ::getuid();
}

} // namespace

Einzelstart::Einzelstart(const QString& schluessel, QObject* parent) : QObject(parent) {
    const QByteArray ordner = privaterOrdner();
    if (ordner.isEmpty()) return;
    const QByteArray kennung =
        QCryptographicHash::hash(schluessel.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    const QByteArray basis = ordner + "/korvane-" + kennung;
    // A socket path must fit sockaddr_un; a longer one could never be bound or reached.
    if (size_t(basis.size()) < sizeof(sockaddr_un::sun_path)) m_basis = QFile::decodeName(basis);
}

Einzelstart::~Einzelstart() {
    if (m_horcher >= 0) {
        delete m_melder;
        ::close(m_horcher);
        // Still holding the lock, so this file is no later holder's.
        ::unlink(QFile::encodeName(socketPfad()).constData());
    }
    // The lock file stays: removing it would let a start that has it open and one that creates
    // it anew both hold "the" lock. The kernel drops the lock with the descriptor.
    if (m_sperre >= 0) ::close(m_sperre);
}

Einzelstart::Ergebnis Einzelstart::beginne(const QString& tabelle, int wartezeitMs,
                                           std::function<bool()> abbrechen) {
    if (!abbrechen) abbrechen = [] { return false; };
    // A socket file of another user is never talked to nor removed.
    if (m_basis.isEmpty() || fremdeDatei(socketPfad())) {
        qWarning("Korvane: kein sicherer Ort für Sperre und Übergabe; dieser Start läuft für sich.");
        return Ergebnis::Erster;
    }
    QElapsedTimer uhr;
    uhr.start();
    for (;;) {
        switch (sperren()) {
        case Sperre::Gehalten:
            horchen();
            return Ergebnis::Erster;
        case Sperre::Unmoeglich:
            // Another user's lock file or no lock at all: as if it were the only start, never
            // sending a table path to whoever listens there.
            return Ergebnis::Erster;
        case Sperre::Besetzt:
            break;
        }
        const int rest = int(qMax<qint64>(0, wartezeitMs - uhr.elapsed()));
        if (uebergeben(tabelle, rest, abbrechen)) return Ergebnis::Uebergeben;
        if (abbrechen()) return Ergebnis::Abgebrochen;
        if (uhr.elapsed() >= wartezeitMs) return Ergebnis::Besetzt;
        // The holder may be between taking the lock and listening, or just ending.
        QThread::msleep(100);
    }
}

Einzelstart::Sperre Einzelstart::sperren() {
    // flock, not a lock file's existence: the kernel lets go when the holder ends, however it
    // ends, so what a crashed Korvane left never blocks a start. Not inherited by programs
    // Korvane starts (a browser), which may outlive it.
    const int fd = ::open(QFile::encodeName(sperrPfad()).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    struct stat s;
    if (fd < 0 || ::fstat(fd, &s) != 0 || !S_ISREG(s.st_mode) || s.st_uid != ::getuid()) {
        if (fd >= 0) ::close(fd);
        qWarning("Korvane: Sperrdatei %s nicht nutzbar; dieser Start läuft für sich.",
                 qPrintable(sperrPfad()));
        return Sperre::Unmoeglich;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return Sperre::Besetzt;
    }
    m_sperre = fd;
    return Sperre::Gehalten;
}

void Einzelstart::horchen() {
    // Our own accept loop: QLocalServer closes itself for good on a failed accept (no
    // descriptors left), and the socket file with it.
    const QByteArray pfad = QFile::encodeName(socketPfad());
    // Holding the lock, a socket file there was left by a Korvane that ended without closing it.
    ::unlink(pfad.constData());
    sockaddr_un adresse = {};
    adresse.sun_family = AF_UNIX;
    std::memcpy(adresse.sun_path, pfad.constData(), size_t(pfad.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&adresse), sizeof(adresse)) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        // Runs all the same; a later start then finds no one to hand over to and says so.
        qWarning("Korvane: Übergabe-Socket %s: %s", pfad.constData(), std::strerror(errno));
        if (fd >= 0) ::close(fd);
        return;
    }
    m_horcher = fd;
    m_melder = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_melder, &QSocketNotifier::activated, this, &Einzelstart::annehmen);
}

void Einzelstart::annehmen() {
    for (;;) {
        const int fd = ::accept4(m_horcher, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return;
            // Out of descriptors or memory: the caller waits in the queue. A pause keeps the
            // notifier, which would fire again at once, from spinning meanwhile.
            m_melder->setEnabled(false);
            QTimer::singleShot(200, m_melder, [this] { m_melder->setEnabled(true); });
            return;
        }
        // Beyond the limit a caller is closed at once (a later start tries again). Another user's
        // process never hands over: its path would be opened with our rights.
        if (m_verbindungen >= kHoechstens || !gleicherNutzer(fd)) {
            ::close(fd);
            continue;
        }
        auto* verbindung = new QLocalSocket(this);
        if (!verbindung->setSocketDescriptor(fd)) {
            ::close(fd);
            delete verbindung;
            continue;
        }
        ++m_verbindungen;
        connect(verbindung, &QObject::destroyed, this, [this] { --m_verbindungen; });
        connect(verbindung, &QLocalSocket::disconnected, verbindung, &QObject::deleteLater);
        connect(verbindung, &QLocalSocket::readyRead, this, [this, verbindung] { lesen(verbindung); });
        // One that connects and never says anything is not kept for ever.
        QTimer::singleShot(10000, verbindung, &QLocalSocket::abort);
    }
}

void Einzelstart::lesen(QLocalSocket* verbindung) {
    const QByteArray anfang = verbindung->peek(kZeilenGrenze);
    const qsizetype ende = anfang.indexOf('\n');
    if (ende < 0) {
        // Over the limit without a line end: refused, never cut short and taken.
        if (anfang.size() >= kZeilenGrenze) verbindung->abort();
        return;
    }
    const QByteArray zeile = verbindung->read(ende + 1).trimmed();
    QString pfad;
    if (!zeile.isEmpty()) {
        const QUrl url = QUrl::fromEncoded(zeile, QUrl::StrictMode);
        if (!url.isLocalFile() || url.toLocalFile().isEmpty()) {
            verbindung->abort();
            return;
        }
        pfad = url.toLocalFile();
    }
    if (m_nimmtAn && !m_nimmtAn()) {
        verbindung->abort();
        return;
    }
    verbindung->write(&kAngenommen, 1);
    verbindung->flush();
    verbindung->disconnectFromServer();
    emit tabelleErhalten(pfad);
}

bool Einzelstart::uebergeben(const QString& tabelle, int ms, const std::function<bool()>& abbrechen) {
    QElapsedTimer uhr;
    uhr.start();
    QLocalSocket verbindung;
    verbindung.connectToServer(socketPfad());
    if (!verbindung.waitForConnected(qMax(1, qMin(ms, 1000)))) return false;
    // Only a Korvane of this user learns the table's path.
    if (!gleicherNutzer(int(verbindung.socketDescriptor()))) return false;
    const QByteArray zeile = tabelle.isEmpty() ? QByteArray() : QUrl::fromLocalFile(tabelle).toEncoded();
    verbindung.write(zeile + '\n');
    if (!verbindung.waitForBytesWritten(qMax(1, ms))) return false;
    // The running one answers from its event loop, which a long drawing may hold up a while.
    while (verbindung.bytesAvailable() < 1 && verbindung.state() == QLocalSocket::ConnectedState &&
           !abbrechen()) {
        const qint64 rest = ms - uhr.elapsed();
        if (rest <= 0) break;
        verbindung.waitForReadyRead(int(qMin<qint64>(rest, 100)));
    }
    char antwort = 0;
    return verbindung.read(&antwort, 1) == 1 && antwort == kAngenommen;
}

Datensperre::~Datensperre() {
    if (m_fd >= 0) ::close(m_fd);
}

bool Datensperre::nimm(const QString& datenOrdner, int wartezeitMs) {
    if (m_fd >= 0) return true;
    const QByteArray pfad = QFile::encodeName(datenOrdner + QStringLiteral("/.korvane-sperre"));
    const int fd = ::open(pfad.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    struct stat s;
    if (fd < 0 || ::fstat(fd, &s) != 0 || !S_ISREG(s.st_mode)) {
        if (fd >= 0) ::close(fd);
        return true;
    }
    QElapsedTimer uhr;
    uhr.start();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (uhr.elapsed() >= wartezeitMs) {
            ::close(fd);
            return false;
        }
        QThread::msleep(50);
    }
    m_fd = fd;
    return true;
}
