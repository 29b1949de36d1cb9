#pragma once
// Reading and writing whole files safely: only regular files are read, never more than a limit,
// and without ever waiting on a FIFO or a device; every write goes through QSaveFile and first
// removes what an interrupted save of the same file left behind.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

namespace datei {

// Limits per kind of file. A month holds at most 124 readings (a few KiB); the limits leave
// room for tables written by hand while keeping the memory and the time a drawing needs bounded.
constexpr qint64 kGrenzeTabelle = 8 * 1024 * 1024;
constexpr qsizetype kMaxTabellenZeilen = 200000;
constexpr qint64 kGrenzeBemerkungen = 1024 * 1024;
constexpr qint64 kGrenzeUhrzeiten = 64 * 1024;
constexpr qint64 kGrenzeVorlage = 8 * 1024 * 1024;
constexpr qint64 kGrenzeEinstellungen = 1024 * 1024;
constexpr qint64 kGrenzePatientendaten = 1024 * 1024;
// The longest file name a save can write: it stages the file as ".<name>.k.XXXXXX", and the file
// system takes 255 bytes for a name.
constexpr qsizetype kLaengsterName = 255 - qsizetype(sizeof("." ".k" ".XXXXXX") - 1);

enum class Fehler {
    Keiner,
    Fehlt,          // no file of that name
    KeineDatei,     // a folder, FIFO, device or socket
    ZuGross,        // more bytes than the limit
    NichtLesbar,    // exists but cannot be opened or read
    UngueltigerPfad // the name cannot be given to the file system as it stands
};

struct Gelesen {
    QByteArray inhalt;
    Fehler fehler = Fehler::Keiner;
    QString meldung; // German, names the file; empty when read
    bool ok() const { return fehler == Fehler::Keiner; }
};

// The whole file, when it is a regular file of at most grenze bytes.
Gelesen lies(const QString& pfad, qint64 grenze);

// What a check of the path alone says: Fehlt, KeineDatei, ZuGross, UngueltigerPfad or Keiner.
// Does not open the file, so a FIFO cannot block it.
Fehler pruefe(const QString& pfad, qint64 grenze, QString* meldung = nullptr);

// True when the text can name a file as it stands (no NUL, no character that has no UTF-8 form).
bool pfadGueltig(const QString& pfad);

// What a write came to. Converts to true only when every byte reached the file.
struct Geschrieben {
    enum class Fehler {
        Keiner,
        Schreibgeschuetzt, // a file without any write bit, or one this user may not write: refused
        UngueltigerPfad,
        Fehlgeschlagen // nummer holds the errno of the step that failed
    };
    Fehler fehler = Fehler::Keiner;
    int nummer = 0;
    explicit operator bool() const { return fehler == Fehler::Keiner; }
    QString grund() const; // German, one sentence: why it failed
};

// A file that schreibe would refuse as write-protected: no write bit, or one this user may not write.
bool schreibgeschuetzt(const QString& pfad);

// Writes the bytes whole: through QSaveFile into ".<name>.k" beside the file, then renamed over
// it, only after every byte was written and synced. A failed write leaves the old file as it was;
// a write-protected file is refused, never replaced; a link at the file's place is replaced,
// never followed. What an interrupted save of this file left beside it is removed first.
Geschrieben schreibe(const QString& pfad, const QByteArray& inhalt);

// The message of a failed write, naming the full path: "Fehler beim Erzeugen der Datei " + pfad
// and the reason; for a write-protected file, that it is write-protected and was not changed.
QString schreibMeldung(const QString& pfad, const Geschrieben& g);

// As schreibe, for a file too large to hold whole: schreiber puts the bytes onto the device, piece
// by piece; each write goes to the file at once. The file replaces the old one only when schreiber
// returns true and every byte reached the file.
Geschrieben schreibeMit(const QString& pfad, const std::function<bool(QIODevice&)>& schreiber);

// Removes what an interrupted save of pfad left: ".<name>.k" and ".<name>.k.XXXXXX", names only
// this writer uses. Returns how many were removed.
int raeumeResteAuf(const QString& pfad);

} // namespace datei
