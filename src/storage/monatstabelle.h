#pragma once
// The month table: where it lies, its exact lines, the entry dialog's list form, sorting,
// and the readers for editing and for display.
#include "storage/zustand.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace monatstabelle {

// "Morgens", "Messung2", "Messung3", "Abends" (slots M1..M4).
QString slotWort(int slot);
// "Januar" .. "Dezember"; empty outside 1..12.
QString GibMonatLang(int monat);
QString mitSchraegstrich(const QString& ordner);

// year folder + "/" + name + "_" + month + "_" + year + ".tab"
QString tabellenPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr);
// the same with ".txt"
QString bemerkungsPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr);
// For a table chosen anywhere: the first ".tab" and the first ".TAB" removed, ".txt" appended.
QString bemerkungsPfadZu(const QString& tabellenPfad);

// German message when a user name cannot be part of a file name ("/", "\", control characters,
// or characters the table file cannot store); empty when the name is fine.
QString benutzerNameFehler(const QString& name);

// Creates the year folder with its parents when missing; shows the Part's message on failure.
bool legeJahrOrdnerAn(const QString& jahrOrdner, const QString& jahr);

// First character "M" or "A" and the text "den".
bool istMesszeile(const QString& zeile);
// The seven pieces of a reading line joined by six TABs.
QString listeneintrag(const QString& zeile);
// Day ascending, then Morgens, Messung2, Messung3, Abends.
void sortiereListe(QStringList& liste);

struct Kopf {
    QString datum;
    QString benutzerName;
    std::array<QString, 4> slot; // values of "1M".."4M"
};
// The [Personendaten] section: keys case-insensitive, values cut at 255 characters.
Kopf liesKopf(const QStringList& zeilen);
// "1" ticks, "0" clears, empty leaves the box.
void wendeSlotsAn(const Kopf& kopf, std::array<bool, 4>& slotAktiv);

// The values of one reading line by the value rule.
struct Messung {
    int slot = 0; // 1..4, 0 when no slot word is found
    int tag = 0;  // 0 unless the two characters before the first "." are digits
    int sys = 0, dia = 0, puls = 0;
    QString sysText, diaText, pulsText;
    double gewicht = 0; // 0: no weight
    QString gewichtText;
};
// nullopt and a German message naming the value when a value is not a number.
std::optional<Messung> werteAus(const QString& zeile, QString* fehler = nullptr);
// «"12a" ist kein gültiger Ganzzahlwert.»
QString meldungKeineZahl(const QString& wert, bool gleitkomma);

enum class Schreibart {
    Aufnehmen,    // the add command: creates the year folder first
    GrafikZeigen, // the redraw: no folder creation, its own failure text
};
// Writes z.ListBox1 under z.benutzerName, z.monatText, z.jahrText as the canonical table and
// stores its path as TabellenDateiName. Does nothing with an empty list. Replaces the file
// atomically; on failure shows the message and leaves the old file as it was.
bool schreibeTabelle(Zustand& z, Schreibart art);

enum class KopfLesen { Nein, Ja, NameNurWennGesetzt };
// Reads the table for the entry dialog: appends its entries to z.ListBox1, takes month and
// year from the lines, with the header also the slot boxes, caption and user name.
// Unreadable or broken file: the Part's message, and z stays as it was.
bool liesZumBearbeiten(Zustand& z, const QString& pfad, KopfLesen kopf);

struct Anzeige {
    Kopf kopf;
    QStringList zeilen;       // the whole file, as lines
    QStringList messzeilen;   // the reading lines in file order
    QList<Messung> messungen; // their values, same order
    QString monat, jahr;      // from the last reading line
};
// Reads the table for display. nullopt with a German message in *fehler when the file cannot
// be read, holds a value that is no number, or names a user that cannot be a file name.
std::optional<Anzeige> liesZurAnzeige(const QString& pfad, QString* fehler);

// Files a table read from pfad under its canonical path (user name, month, year): stores the
// path as TabellenDateiName and, for a table from elsewhere, copies it there unless a file
// already lies there.
void nimmTabelleAuf(Zustand& z, const QString& pfad, const QString& name, const QString& monat,
                    const QString& jahr);

} // namespace monatstabelle

namespace bemerkungen {
// The remarks as one text (lines joined by "\n"); empty when there is no file.
QString laden(const QString& pfad);
// Writes the remarks as lines. Characters the file cannot hold are named in a warning first.
bool speichern(const QString& pfad, const QString& text);
} // namespace bemerkungen
