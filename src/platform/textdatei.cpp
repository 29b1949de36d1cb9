#include "platform/textdatei.h"

#include <QLocale>
#include <QSet>


namespace textdatei {
namespace {

// Bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves undefined.
constexpr char16_t kBereich80[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int byteFuer(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    // The five bytes Windows-1252 leaves undefined read as their own code: written back as read.
    if (c >= 0x80 && c < 0xA0 && kBereich80[c - 0x80] == 0) return c;
    for (int i = 0; i < 32; ++i)
        if (kBereich80[i] != 0 && kBereich80[i] == c) return 0x80 + i;
    return -1;
}

} // namespace

bool istDarstellbar(const QString& text) {
    for (QChar c : text)
        if (byteFuer(c.unicode()) < 0) return false;
    return true;
}

QString nichtDarstellbareZeichen(const QString& text) {
    QString fehlend;
    QSet<QString> gesehen;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (byteFuer(text.at(i).unicode()) >= 0) continue;
        QString zeichen = text.mid(i, 1);
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            zeichen = text.mid(i++, 2);
        if (!gesehen.contains(zeichen)) {
            gesehen.insert(zeichen);
            fehlend += zeichen;
        }
    }
    return fehlend;
}

QByteArray nachWin1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = byteFuer(text.at(i).unicode());
        bytes.append(b < 0 ? '?' : char(b));
        // One "?" for a character, also for one outside the BMP that takes two UTF-16 units.
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    }
    return bytes;
}

QString ausWin1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0 && kBereich80[b - 0x80] != 0)
            text.append(QChar(kBereich80[b - 0x80]));
        else
            text.append(QChar(b)); // undefined bytes keep their code, as Windows reads them
    }
    return text;
}

std::optional<QStringList> liesZeilen(const QString& pfad, qint64 grenze, QString* meldung, datei::Fehler* fehler,
                                      qsizetype maxZeilen) {
    const datei::Gelesen g = datei::lies(pfad, grenze);
    if (meldung) *meldung = g.meldung;
    if (fehler) *fehler = g.fehler;
    if (!g.ok()) return std::nullopt;
    // Each line decoded on its own: no second copy of the whole text is ever held.
    const QByteArray& b = g.inhalt;
    QStringList zeilen;
    qsizetype start = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const char c = b.at(i);
        if (c != '\r' && c != '\n') continue;
        // Many short lines cost more memory than their bytes: their number has a limit too.
        if (maxZeilen > 0 && zeilen.size() >= maxZeilen) {
            if (meldung)
                *meldung = QStringLiteral("Die Datei \"%1\" hat mehr als %2 Zeilen und wird nicht gelesen.")
                               .arg(pfad, QLocale().toString(maxZeilen));
            if (fehler) *fehler = datei::Fehler::ZuGross;
            return std::nullopt;
        }
        zeilen.append(ausWin1252(b.sliced(start, i - start)));
        if (c == '\r' && i + 1 < b.size() && b.at(i + 1) == '\n') ++i;
        start = i + 1;
    }
    if (start < b.size()) zeilen.append(ausWin1252(b.sliced(start)));
    return zeilen;
}

Ergebnis schreibeZeilen(const QString& pfad, const QStringList& zeilen, datei::Geschrieben* geschrieben) {
    QByteArray inhalt;
    for (const QString& zeile : zeilen) {
        if (!istDarstellbar(zeile)) return Ergebnis::NichtDarstellbar;
        inhalt += nachWin1252(zeile);
        inhalt += "\r\n";
    }
    const datei::Geschrieben g = datei::schreibe(pfad, inhalt);
    if (geschrieben) *geschrieben = g;
    return g ? Ergebnis::Ok : Ergebnis::Schreibfehler;
}

QString meldungNichtDarstellbar(const QString& text) {
    return QStringLiteral("Die Zeichen \u00BB%1\u00AB k\u00F6nnen in Korvanes Textdateien nicht gespeichert "
                          "werden. Bitte ersetzen Sie sie.")
        .arg(nichtDarstellbareZeichen(text));
}

} // namespace textdatei
