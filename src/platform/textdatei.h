#pragma once
// The program's 8-bit text files: Windows-1252, CR LF after every line, no byte order mark,
// always written whole through QSaveFile so a failed write leaves the old file untouched.
#include "platform/datei.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace textdatei {

// True when every character of the text has a Windows-1252 byte.
bool istDarstellbar(const QString& text);
// The characters of the text that Windows-1252 cannot hold, each once, in order of appearance.
QString nichtDarstellbareZeichen(const QString& text);

QByteArray nachWin1252(const QString& text); // characters without a byte become '?': check first
QString ausWin1252(const QByteArray& bytes);

// The lines of the file, split at CR LF (a lone CR or LF ends a line too); nullopt when the file
// is missing, no regular file, larger than grenze or unreadable, with the German reason naming the
// file in *meldung and the kind in *fehler.
// At most maxZeilen lines (0: no limit): a file of more is refused like one too large.
std::optional<QStringList> liesZeilen(const QString& pfad, qint64 grenze, QString* meldung = nullptr,
                                      datei::Fehler* fehler = nullptr, qsizetype maxZeilen = 0);

enum class Ergebnis { Ok, NichtDarstellbar, Schreibfehler };
// Writes every line followed by CR LF. Refuses, and leaves the file as it was, when a line
// holds a character Windows-1252 cannot store. *geschrieben tells why a write failed.
Ergebnis schreibeZeilen(const QString& pfad, const QStringList& zeilen,
                        datei::Geschrieben* geschrieben = nullptr);

// German message for a text that cannot be stored, naming the characters.
QString meldungNichtDarstellbar(const QString& text);

} // namespace textdatei
