#pragma once
// The month table: where it lies, its exact lines, the entry dialog's list form, sorting,
// the checks every line passes before it is read into a path or written, and the readers for
// editing and for display.
#include "platform/datei.h"
#include "platform/textdatei.h"
#include "storage/zustand.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace monatstabelle {

// A reading line longer than this is no reading line the program wrote (those are ~70 characters).
constexpr int kMaxZeilenLaenge = 1000;
// Highest systolic, diastolic and pulse value a table may hold: three digits.
constexpr int kMaxWert = 999;
// Highest weight a table may hold, in kilograms.
constexpr int kMaxGewicht = 310;

// "Morgens", "Messung2", "Messung3", "Abends" (slots M1..M4).
QString slotWort(int slot);
// "Januar" .. "Dezember"; empty outside 1..12.
QString GibMonatLang(int monat);
QString mitSchraegstrich(const QString& ordner);

// --- the pieces of a path
// German message when a user name cannot be part of a file name: "/", "\", control characters,
// blanks at either end, characters the table file cannot store, or a table name longer than
// the file system's 255 bytes. Empty when the name is fine.
QString benutzerNameFehler(const QString& name);
bool istMonat(const QString& monat); // "01".."12"
bool istJahr(const QString& jahr);   // four digits
// year folder + "/" + name + "_" + month + "_" + year + ".tab"; empty unless every piece passes
// its check, so no path built from a file's or a setting's content leaves the year folders.
QString tabellenPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr);
// the same with ".txt"
QString bemerkungsPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr);
// For a table chosen anywhere: its own ".tab" (or ".TAB") suffix replaced by ".txt"; any other
// name gets ".txt" appended. Folders named "x.tab" are left alone.
QString bemerkungsPfadZu(const QString& tabellenPfad);
// Two paths naming the same file, compared as the file system does (letter case counts): a
// file that is not there by its folder with the links resolved and its name.
bool gleicheDatei(const QString& a, const QString& b);
// Why an export file must not be written at ziel, empty when its name is fine: a month table's
// name, or the remarks file of one of the tables (whether that file is there yet or not) or of a
// month table beside it.
QString exportNameFehler(const QString& ziel, const QStringList& tabellen);

// Creates the year folder with its parents when missing; shows the message on failure.
bool legeJahrOrdnerAn(const QString& jahrOrdner, const QString& jahr);

// --- lines
// First character "M" or "A" and the text "den".
bool istMesszeile(const QString& zeile);
// The seven pieces of a reading line joined by six TABs.
QString listeneintrag(const QString& zeile);
// Day ascending, then Morgens, Messung2, Messung3, Abends.
void sortiereListe(QStringList& liste);
// "Morgens|05.03.2024": slot word and date of a list entry or reading line; what makes two
// readings the same reading.
QString lesungsSchluessel(const QString& eintrag);

struct Kopf {
    QString datum;
    QString benutzerName;
    std::array<QString, 4> slot; // values of "1M".."4M"
};
// The [Personendaten] section: keys case-insensitive, values cut at 255 characters.
Kopf liesKopf(const QStringList& zeilen);
// "1" ticks, "0" clears, empty leaves the box.
void wendeSlotsAn(const Kopf& kopf, std::array<bool, 4>& slotAktiv);

// The values of one reading line by the value rule, each checked for its range.
struct Messung {
    int slot = 0; // 1..4, 0 when no slot word is found
    int tag = 0;  // 0 unless the two characters before the first "." are digits
    QString zeit; // the text after "Z=", trimmed: "07:30"
    int sys = 0, dia = 0, puls = 0;
    QString sysText, diaText, pulsText;
    double gewicht = 0; // 0: no weight
    qint64 gewichtMillionstel = 0; // the weight as written, exactly: 70,25 -> 70250000
    QString gewichtText;
    QString monat, jahr; // "03", "2024"
};

// What is wrong with a reading line, if anything.
struct Zeilenfehler {
    enum Art {
        Keiner,
        Wert,  // a value is no number or out of range: the line can still be shown and corrected
        Datei, // the line cannot belong to a month table (date, length, control characters)
    } art = Keiner;
    QString text; // «"12a" ist kein gültiger Ganzzahlwert.»
};
// The values of a reading line; on failure nullopt and the reason in *fehler.
std::optional<Messung> werteAus(const QString& zeile, Zeilenfehler* fehler = nullptr);
// «"12a" ist kein gültiger Ganzzahlwert.»
QString meldungKeineZahl(const QString& wert, bool gleitkomma);
// A value from a file as a message shows it: control characters as "\x00", at most 40 characters.
QString sichtbarKurz(const QString& text);
// «Anna_03_2024.tab, Zeile 19: …» (the line 1-based)
QString meldungMitZeile(const QString& pfad, qsizetype zeilenIndex, const QString& text);

enum class Schreibart {
    Aufnehmen,    // the add command: creates the year folder first
    GrafikZeigen, // the redraw: no folder creation, its own failure text
};
// Before a table that exists at pfad is written from a list that did not come from it, every
// reading it holds that the list lacks is taken into the list (sorted). False, with a message,
// when the file is there but cannot be read: it must then not be written at all.
bool ergaenzeAusDatei(Zustand& z, const QString& pfad);
// Writes z.ListBox1 under z.benutzerName, z.monatText, z.jahrText as the canonical table and
// stores its path as TabellenDateiName. Does nothing with an empty list. Readings already on disk
// are merged in first (ergaenzeAusDatei). Refuses, with a message and nothing written, a list
// entry that would not read back as it stands. Replaces the file atomically; on failure shows the
// message and leaves the old file as it was.
bool schreibeTabelle(Zustand& z, Schreibart art);

enum class KopfLesen { Nein, Ja, NameNurWennGesetzt };
// Reads the table for the entry dialog: appends its entries to z.ListBox1, takes month and
// year from the lines, with the header also the slot boxes, caption and user name. A line whose
// value is broken is listed all the same so it can be corrected, and named in a message.
// Unreadable file, or a line that cannot belong to a table: a message, and z stays as it was.
// *monat and *jahr, when given, receive the month the table belongs to: from its readings, else
// from its header's date, else empty.
bool liesZumBearbeiten(Zustand& z, const QString& pfad, KopfLesen kopf, QString* monat = nullptr,
                       QString* jahr = nullptr);
// "März 2024" -> "03" and "2024"; false when the text names no month and year.
bool monatAusDatum(const QString& datum, QString* monat, QString* jahr);

struct Anzeige {
    Kopf kopf;
    QStringList zeilen;       // the whole file, as lines
    QStringList messzeilen;   // the reading lines in file order
    QList<qsizetype> indizes; // their places in zeilen
    QList<Messung> messungen; // their values, same order
    QString monat, jahr;      // from the last reading line
};
// A table holds at most one reading per day and slot: «Anna_03_2024.tab, Zeile 12: Für Morgens den
// 05.03.2024 steht schon ein Eintrag in Zeile 9.» for the first second one; empty when there is none.
QString doppelteLesung(const QString& pfad, const struct Anzeige& a);

// Reads the table for display. nullopt with a German message in *fehler when the file cannot
// be read, a line is broken (named with its number) or the header names a user that cannot be
// a file name. *dateiFehler tells a file that could not be read at all from a broken one.
std::optional<Anzeige> liesZurAnzeige(const QString& pfad, QString* fehler, bool* nichtLesbar = nullptr);

// Files a table read from pfad under its canonical path (user name, month, year): stores the
// path as TabellenDateiName and, for a table from elsewhere, copies it there unless a file
// already lies there.
void nimmTabelleAuf(Zustand& z, const QString& pfad, const QString& name, const QString& monat,
                    const QString& jahr);

} // namespace monatstabelle

namespace bemerkungen {
// The remarks as one text (lines joined by "\n"); empty when there is no file. nullopt, with the
// reason in *meldung, when something is there that cannot be read (a FIFO, too large).
std::optional<QString> laden(const QString& pfad, QString* meldung = nullptr);

// Remarks are a text file: the same outcomes.
using textdatei::Ergebnis;
// Writes the remarks as lines; every line of the box is kept, a last empty one too. Characters
// the file cannot hold refuse the write unless ersetzen is set, which stores "?" for them.
// *geschrieben tells why a write failed.
Ergebnis speichern(const QString& pfad, const QString& text, bool ersetzen = false,
                   datei::Geschrieben* geschrieben = nullptr);
} // namespace bemerkungen
