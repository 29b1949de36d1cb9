#pragma once
// A new reading into the month's list and table: its own checks (time, date, values, weight), then
// the checks against the month (month and year of the list, the 15-kg distance to the monthly mean
// weight, one reading per day and slot), the readings the table on disk holds merged in, the table
// written whole and read back. The entry dialog's add command and the CSV import use these rules.
#include "storage/zustand.h"

#include <QString>
#include <optional>

namespace eintragen {

// The fields of a new reading as the entry dialog holds them.
struct Eingabe {
    int slot = 1; // 1..4
    int tag = 1, monat = 1, jahr = 1900;
    QString zeit; // "07:30"
    int sys = 0, dia = 0, puls = 0;
    std::optional<QString> gewicht; // the weight as typed, when a weight is entered
};

// The reading line of a reading that passes its own checks: "Morgens den 05.03.2024 Z=07:30
// s=140, d=90, p=70, Gewicht=72,5", as a table holds it. nullopt with the German message in
// *meldung otherwise; *gewicht receives the weight in kilograms (0: none).
std::optional<QString> messzeile(const Eingabe& e, QString* meldung, double* gewicht = nullptr);

// The add command on z.ListBox1, the list of the month in use. Every refusal is said through the
// dialogs seam and changes neither the list nor the table; readings of the month's table that the
// list lacked are taken into it first (they are on disk). The time is stored as the slot's default
// time once the reading itself passed its checks. mittelGewicht: the monthly mean weight the chart
// shows (0: none).
enum class Ergebnis {
    Abgelehnt,           // said why; list and table as they were
    NichtZurueckGelesen, // written, but the table could not be read back (said why)
    Aufgenommen,         // in the table, the list read back from it
};
Ergebnis nimmAuf(Zustand& z, const Eingabe& e, double mittelGewicht);

} // namespace eintragen
