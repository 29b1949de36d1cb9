#pragma once
// The per-user settings store: one QSettings file, $XDG_CONFIG_HOME/Orvalis/Korvane.conf.
// The key exists when that file exists; until the first-start defaults create it, every
// write does nothing.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

void Schreib_String_in_Registry(const QString& name, const QString& text);
// A text that is no number is refused: nothing is written and the result is false.
bool Schreib_Integer_in_Registry(const QString& name, const QString& text);
QString Lies_String_aus_Registry(const QString& name);  // empty when missing
QString Lies_Integer_aus_Registry(const QString& name); // decimal text; empty when missing or no number
// As above, but a setting the store lacks (a file of an older Korvane, or edited by hand) reads
// as its first-start value.
QString Lies_String_aus_Registry_mit_Vorgabe(const QString& name);
QString Lies_Integer_aus_Registry_mit_Vorgabe(const QString& name);

// Writes every first-start value in order, creating the key. programmOrdner ends with "/".
void Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(const QString& programmOrdner);

namespace registry {
QString dateiPfad(); // where the settings file lies
// Entries as QSettings reads them: name ("Abschnitt/Name" outside [General]) and value.
using Werte = QList<std::pair<QString, QVariant>>;
// The file holding these entries, in the INI form QSettings reads back to the same values.
QByteArray alsIni(const Werte& werte);
// The file exists and is a regular file within its size limit; it is never opened otherwise,
// so a FIFO there cannot make the program wait.
bool schluesselExistiert();
// German message when something is there that cannot be the settings file; empty otherwise.
QString dateiFehler();
// The first-start value of a setting; empty for the folders and for names without one.
QString vorgabe(const QString& name);
// The stored text, or the first-start value when the store holds none or an empty one.
QString mitStandard(const QString& name);
} // namespace registry
