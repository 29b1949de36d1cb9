#include "platform/datei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace datei {
namespace {

QString groesseText(qint64 bytes) {
    return QLocale().toString(bytes) + QStringLiteral(" Byte");
}

QString meldungFuer(Fehler f, const QString& pfad, qint64 groesse, qint64 grenze, int fehlerNummer = 0) {
    const QString name = u'"' + pfad + u'"';
    switch (f) {
    case Fehler::Keiner:
        return {};
    case Fehler::Fehlt:
        return QStringLiteral("Die Datei %1 gibt es nicht.").arg(name);
    case Fehler::KeineDatei:
        return QStringLiteral("%1 ist keine gewöhnliche Datei und wird nicht gelesen.").arg(name);
    case Fehler::ZuGross:
        return QStringLiteral("Die Datei %1 ist mit %2 zu groß (höchstens %3) und wird nicht gelesen.")
            .arg(name, groesseText(groesse), groesseText(grenze));
    case Fehler::NichtLesbar:
        return QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2.")
            .arg(name, QString::fromLocal8Bit(std::strerror(fehlerNummer)));
    case Fehler::UngueltigerPfad:
        return QStringLiteral("Der Pfad %1 enthält Zeichen, die das Dateisystem so nicht kennt.").arg(name);
    }
    return {};
}

} // namespace

bool pfadGueltig(const QString& pfad) {
    if (pfad.isEmpty() || pfad.contains(QChar(0))) return false;
    // Lone surrogates have no UTF-8 form; U+FFFD stands where a name's bytes were not UTF-8.
    for (qsizetype i = 0; i < pfad.size(); ++i) {
        const QChar c = pfad.at(i);
        if (c == QChar(QChar::ReplacementCharacter)) return false;
        if (c.isHighSurrogate()) {
            if (i + 1 >= pfad.size() || !pfad.at(i + 1).isLowSurrogate()) return false;
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

Fehler pruefe(const QString& pfad, qint64 grenze, QString* meldung) {
    Fehler f = Fehler::Keiner;
    qint64 groesse = 0;
    int nummer = 0;
    struct stat st = {};
    if (pfad.isEmpty()) {
        f = Fehler::Fehlt; // no file named at all
    } else if (!pfadGueltig(pfad)) {
        f = Fehler::UngueltigerPfad;
    } else if (::stat(QFile::encodeName(pfad).constData(), &st) != 0) {
        nummer = errno;
        f = nummer == ENOENT || nummer == ENOTDIR ? Fehler::Fehlt : Fehler::NichtLesbar;
    } else if (!S_ISREG(st.st_mode)) {
        f = Fehler::KeineDatei;
    } else if (st.st_size > grenze) {
        f = Fehler::ZuGross;
        groesse = st.st_size;
    }
    if (meldung) *meldung = meldungFuer(f, pfad, groesse, grenze, nummer);
    return f;
}

Gelesen lies(const QString& pfad, qint64 grenze) {
    Gelesen g;
    auto scheitern = [&](Fehler f, qint64 groesse = 0, int nummer = 0) {
        g.inhalt.clear();
        g.fehler = f;
        g.meldung = meldungFuer(f, pfad, groesse, grenze, nummer);
        return g;
    };
    if (pfad.isEmpty()) return scheitern(Fehler::Fehlt);
    if (!pfadGueltig(pfad)) return scheitern(Fehler::UngueltigerPfad);
    // Non-blocking, so opening a FIFO without a writer returns at once; the type is then
    // checked on the open descriptor, so the file cannot be swapped in between.
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int nummer = errno;
        return scheitern(nummer == ENOENT || nummer == ENOTDIR ? Fehler::Fehlt : Fehler::NichtLesbar, 0,
                         nummer);
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0) {
        const int nummer = errno;
        ::close(fd);
        return scheitern(Fehler::NichtLesbar, 0, nummer);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return scheitern(Fehler::KeineDatei);
    }
    if (st.st_size > grenze) {
        ::close(fd);
        return scheitern(Fehler::ZuGross, st.st_size);
    }
    // Read up to one byte beyond the limit: a file that grows meanwhile is still refused.
    g.inhalt.resize(qsizetype(st.st_size) + 1);
    qsizetype gelesen = 0;
    for (;;) {
        if (gelesen == g.inhalt.size()) {
            if (gelesen > grenze) break;
            g.inhalt.resize(qMin<qsizetype>(grenze + 1, gelesen * 2 + 4096));
        }
        const ssize_t n = ::read(fd, g.inhalt.data() + gelesen, size_t(g.inhalt.size() - gelesen));
        if (n < 0) {
            if (errno == EINTR) continue;
            const int nummer = errno;
            ::close(fd);
            return scheitern(Fehler::NichtLesbar, 0, nummer);
        }
        if (n == 0) break;
        gelesen += n;
    }
    ::close(fd);
    if (gelesen > grenze) return scheitern(Fehler::ZuGross, gelesen);
    g.inhalt.truncate(gelesen);
    return g;
}

QString zwischenName(const QString& pfad) {
    const QFileInfo info(pfad);
    return info.absoluteDir().filePath(u'.' + info.fileName() + QStringLiteral(".k"));
}

int raeumeResteAuf(const QString& pfad) {
    // Only names no one but this writer uses: ".<name>.k" and QSaveFile's ".<name>.k.XXXXXX".
    const QString zwischen = zwischenName(pfad);
    const QFileInfo z(zwischen);
    QDir ordner = z.absoluteDir();
    const QRegularExpression muster(QStringLiteral("^") + QRegularExpression::escape(z.fileName()) +
                                    QStringLiteral("(\\.[A-Za-z0-9]{6})?$"));
    int entfernt = 0;
    const QStringList kandidaten = ordner.entryList({z.fileName() + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : kandidaten) {
        if (!muster.match(name).hasMatch()) continue;
        // A link of such a name goes, not what it points to.
        if (QFile::remove(ordner.filePath(name))) ++entfernt;
    }
    return entfernt;
}

namespace {

// Without any write bit a file is protected even from root, who may write every other file.
bool schreibgeschuetzt(const QByteArray& name) {
    struct stat st = {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return (st.st_mode & 0222) == 0 || ::access(name.constData(), W_OK) != 0;
}

// Every byte onto the descriptor, or the errno of the write that failed. Written here and not
// through QSaveFile::write: what QSaveFile buffers is flushed in commit(), which does not see a
// failed flush and renames a short or empty file over the old one.
int schreibeAlles(int fd, const char* rest, qint64 offen) {
    while (offen > 0) {
        const ssize_t n = ::write(fd, rest, size_t(offen));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        rest += n;
        offen -= n;
    }
    return 0;
}

// A device that writes straight onto a descriptor and keeps the errno of the first failed write.
class AufDeskriptor : public QIODevice {
public:
    explicit AufDeskriptor(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int fehler = 0;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* daten, qint64 laenge) override {
        if (!fehler) fehler = schreibeAlles(m_fd, daten, laenge);
        return fehler ? -1 : laenge;
    }

private:
    int m_fd;
};

// The folder's entry too, so the new name survives a power cut; the file is whole either way.
void ordnerSynchronisieren(const QString& pfad) {
    const int fd = ::open(QFile::encodeName(QFileInfo(pfad).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool schreibgeschuetzt(const QString& pfad) {
    return schreibgeschuetzt(QFile::encodeName(pfad));
}

QString Geschrieben::grund() const {
    switch (fehler) {
    case Fehler::Keiner:
        return {};
    case Fehler::Schreibgeschuetzt:
        return QStringLiteral("Die Datei ist schreibgesch\u00FCtzt.");
    case Fehler::UngueltigerPfad:
        return QStringLiteral("Der Pfad enth\u00E4lt Zeichen, die das Dateisystem so nicht kennt.");
    case Fehler::Fehlgeschlagen:
        break;
    }
    switch (nummer) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datentr\u00E4ger ist nicht genug Platz frei.");
    case EFBIG:
        return QStringLiteral("Die Datei w\u00E4re gr\u00F6\u00DFer, als das System einer Datei erlaubt.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Korvane darf dort nicht schreiben.");
    case EROFS:
        return QStringLiteral("Das Dateisystem ist schreibgesch\u00FCtzt.");
    case ENOENT:
        return QStringLiteral("Den Ordner gibt es nicht.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname oder der Pfad ist zu lang.");
    case EISDIR:
        return QStringLiteral("An dieser Stelle liegt ein Ordner.");
    case EIO:
        return QStringLiteral("Beim Schreiben ist ein Ein-/Ausgabefehler aufgetreten.");
    default:
        return QStringLiteral("Das Schreiben ist fehlgeschlagen (Systemfehler %1).").arg(nummer);
    }
}

Geschrieben schreibe(const QString& pfad, const QByteArray& inhalt) {
    return schreibeMit(pfad, [&](QIODevice& d) { return d.write(inhalt) == inhalt.size(); });
}

Geschrieben schreibeMit(const QString& pfad, const std::function<bool(QIODevice&)>& schreiber) {
    using F = Geschrieben::Fehler;
    if (!pfadGueltig(pfad)) return {F::UngueltigerPfad};
    const QByteArray ziel = QFile::encodeName(pfad);
    if (schreibgeschuetzt(ziel)) return {F::Schreibgeschuetzt};
    raeumeResteAuf(pfad);
    // Written whole beside the file first, then renamed over it: a kill leaves the old file whole,
    // and a link at the file's place is replaced, never followed out of its folder.
    const QString zwischen = zwischenName(pfad);
    {
        QSaveFile datei(zwischen);
        errno = 0;
        if (!datei.open(QIODevice::WriteOnly)) return {F::Fehlgeschlagen, errno ? errno : EIO};
        AufDeskriptor geraet(datei.handle());
        int nummer = schreiber(geraet) ? geraet.fehler : (geraet.fehler ? geraet.fehler : EIO);
        // A failed sync means the bytes may not be on the disk: as much a failure as a short write.
        if (!nummer && ::fsync(datei.handle()) != 0) nummer = errno;
        if (nummer) {
            datei.cancelWriting();
            return {F::Fehlgeschlagen, nummer};
        }
        errno = 0;
        if (!datei.commit()) return {F::Fehlgeschlagen, errno ? errno : EIO};
    }
    const QFileInfo alt(pfad);
    if (alt.exists() && !alt.isSymLink()) QFile::setPermissions(zwischen, alt.permissions());
    if (::rename(QFile::encodeName(zwischen).constData(), ziel.constData()) != 0) {
        const int nummer = errno;
        QFile::remove(zwischen);
        return {F::Fehlgeschlagen, nummer};
    }
    ordnerSynchronisieren(pfad);
    return {};
}

QString schreibMeldung(const QString& pfad, const Geschrieben& g) {
    if (g) return {};
    if (g.fehler == Geschrieben::Fehler::Schreibgeschuetzt)
        return QStringLiteral("Die Datei \"%1\" ist schreibgesch\u00FCtzt und wurde nicht ge\u00E4ndert.")
            .arg(pfad);
    QString text = QStringLiteral("Fehler beim Erzeugen der Datei ") + pfad + u'\n' + g.grund();
    if (QFileInfo(pfad).isFile()) text += QStringLiteral(" Die bisherige Datei ist unver\u00E4ndert.");
    return text;
}

} // namespace datei
