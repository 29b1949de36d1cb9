#pragma once
// The rules behind the entry windows: time and weight steps, the number fields, the reading
// line a new entry becomes, the duplicate check, and taking an entry apart into the fields.
#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace eingaberegeln {

// --- time of day
// One 10-minute step; a time without ":" starts from "24:00".
QString zeitSchritt(const QString& zeit, bool hoch);
// Five characters with the first ":" as the third: the only form a reading line takes.
bool istUhrzeitForm(const QString& zeit);
// A time a reading may have: hh:mm, hours 00 to 23 with minutes 00 to 59, or 24:00.
bool istUhrzeit(const QString& zeit);

// Highest systolic, diastolic and pulse value the entry fields take.
constexpr int kMaxEingabeWert = 280;

// --- weight
// The step of the three step buttons: 10, 1 or 0.1 kg.
double gewichtsSchrittweite(int knopf); // knopf 1..3
// Up only while the value is 500 or less, down only while it is 1 or more and stays >= 0.
double gewichtSchritt(double wert, double schritt, bool hoch);
// Shortest decimal text with a decimal comma: 70,5; 71.
QString gewichtText(double wert);
// A weight as typed: digits with at most one "," or "." and digits after it.
std::optional<double> liesGewicht(const QString& text);
// "Die Eingabe von mehr als 310 Kilogramm ist nicht möglich!"
QString meldungZuSchwer();
// A weight for a new reading: 0 (no weight) or 1 to 310 kg with at most one decimal, "." taken
// as the comma. On failure nullopt and the German reason in *meldung.
std::optional<double> pruefeGewichtEingabe(const QString& text, QString* meldung);
// "Monatlicher Mittelwert: 1.234,5 Kg"
QString mittelwertText(double mittel);
// 15 kg or more between a weight and the monthly mean.
bool fuenfzehnKiloAbstand(double gewicht, double mittel);

// --- number fields, as each change leaves them
QString tagOderMonatNormal(const QString& text); // "" and > 3 characters: "01"; "7": "07"
QString jahrNormal(const QString& text);         // anything but four characters: "1900"
QString wertNormal(const QString& text);         // "": "1"

// Month and year of a list entry: two characters after the first ".", four after the second.
QString monatAusEintrag(const QString& eintrag);
QString jahrAusEintrag(const QString& eintrag);

// --- slots M1..M4
QString slotPraefix(int slot);         // "Morgens den ", "Messung2 den ", ...
QString slotKnopfText(int slot);       // "Morgens", "Messung 2", "Messung 3", "Abends"
QString slotZeitEinstellung(int slot); // "UhrzeitMorgens", ...
// The next ticked slot after the current one in the cycle M1..M4; the slot itself when no
// other is ticked.
int naechsterSlot(int slot, const std::array<bool, 4>& aktiv);
// The first ticked slot, M1 when none is.
int ersterSlot(const std::array<bool, 4>& aktiv);

// --- a new reading
struct Messwerte {
    QString tag, monat, jahr; // "05", "03", "2024"
    QString zeit;             // "07:30"
    QString sys, dia, puls;
    QString gewicht; // "0" when no weight is entered
};
// Slot prefix + " " + day ... + ", Gewicht=" + weight (two blanks after "den": the reread
// of the written table brings it back to one).
QString neueZeile(int slot, const Messwerte& w);
// «Das Datum 31.11.2024 gibt es nicht.» for a day the calendar does not have; empty otherwise.
QString datumsFehler(int tag, int monat, int jahr);
// Slot prefix + day + "." + month + "." + year, the text the duplicate check looks for.
QString datumsSchluessel(int slot, const QString& tag, const QString& monat, const QString& jahr);
// Index of the first entry that, with its TABs deleted, contains the key; -1 when none does.
int findeDuplikat(const QStringList& liste, const QString& schluessel);

QString duplikatMeldung(const QString& schluessel);
QString monatsMeldung(const QString& monatFeld);
QString jahresMeldung(const QString& jahrFeld);

// --- an entry or a reading line back into the fields
struct Felder {
    int slot = 0; // 0 when the text names no slot
    QString tag, monat, jahr, zeit, sys, dia, puls;
    std::optional<QString> gewicht; // only when the text holds "Gewicht="
};
// Works on a list entry (its TABs count as blanks) and on a reading line alike; a piece whose
// key is missing stays empty.
Felder felderAusEintrag(const QString& text);

// --- the touch number input
enum class TouchZiel { Keins, Tag, Monat, Jahr, Sys, Dia, Puls, Gewicht };
// Empty and more than four characters: "0".
QString touchTextNormal(const QString& text);
int touchSchritt(TouchZiel ziel, int wert, bool hoch);
QString touchText(TouchZiel ziel, int wert); // day and month with two digits

// --- the time list
// Digits, ":" and line breaks.
bool istUhrzeitZeichen(QChar c);
// Position of the first other character; -1 when there is none.
int ersteFremdeStelle(const QString& text);
// "Übernehmen" is offered for a line of five characters made of allowed characters only.
bool uhrzeitWaehlbar(const QString& zeile);

} // namespace eingaberegeln
