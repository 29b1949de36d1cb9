#pragma once
// Readings kept elsewhere, taken from a CSV file into the month tables of the user in use: every
// line checked with the entry dialog's rules, merged in memory with what the tables hold, and each
// table written once, whole. Any bad line or any conflict refuses the whole import.
#include "storage/zustand.h"

#include <QString>
#include <QStringList>

namespace csvimport {

struct Ergebnis {
    bool ok = false;
    int neu = 0;             // readings taken over (or that would be, in a trial run)
    int vorhanden = 0;       // readings the tables already hold unchanged
    int tabellen = 0;        // month tables written (or that would be)
    QStringList geschrieben; // the tables written, in order
    QString meldung;         // German: why nothing (or not everything) was written; empty when ok
};

// Imports the file into the month tables of basis.benutzerName below basis's table folder.
// probelauf: everything is checked and counted, nothing is written. The settings are never touched.
Ergebnis importiere(const Zustand& basis, const QString& csvDatei, bool probelauf);

// "N Messungen übernommen, M schon vorhanden, in K Monatstabellen"
QString zusammenfassung(const Ergebnis& e);

} // namespace csvimport
