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

bool schreibe(const QString& pfad, const QByteArray& inhalt) {
    if (!pfadGueltig(pfad)) return false;
    raeumeResteAuf(pfad);
    // Written whole beside the file first, then renamed over it: a kill leaves the old file whole,
    // and a link at the file's place is replaced, never followed out of its folder.
    const QString zwischen = zwischenName(pfad);
    {
        QSaveFile datei(zwischen);
        if (!datei.open(QIODevice::WriteOnly)) return false;
        if (datei.write(inhalt) != inhalt.size()) {
            datei.cancelWriting();
            return false;
        }
        if (!datei.commit()) return false;
    }
    const QFileInfo alt(pfad);
    if (alt.exists() && !alt.isSymLink()) QFile::setPermissions(zwischen, alt.permissions());
    if (::rename(QFile::encodeName(zwischen).constData(), QFile::encodeName(pfad).constData()) != 0) {
        QFile::remove(zwischen);
        return false;
    }
    return true;
}

bool schreibeMit(const QString& pfad, const std::function<bool(QIODevice&)>& schreiber) {
    if (!pfadGueltig(pfad)) return false;
    raeumeResteAuf(pfad);
    const QString zwischen = zwischenName(pfad);
    {
        QSaveFile datei(zwischen);
        if (!datei.open(QIODevice::WriteOnly)) return false;
        // A full disk or a file-size limit may only show when the buffer goes out.
        if (!schreiber(datei) || !datei.flush() || datei.error() != QFileDevice::NoError) {
            datei.cancelWriting();
            return false;
        }
        if (!datei.commit()) return false;
    }
    const QFileInfo alt(pfad);
    if (alt.exists() && !alt.isSymLink()) QFile::setPermissions(zwischen, alt.permissions());
    if (::rename(QFile::encodeName(zwischen).constData(), QFile::encodeName(pfad).constData()) != 0) {
        QFile::remove(zwischen);
        return false;
    }
    return true;
}

} // namespace datei
