#pragma once
// Readings as CSV for spreadsheet programs: UTF-8 with a byte-order mark, CR LF, ";" between the
// fields, ISO dates, the decimal comma in weights; a field is quoted only when it must be.
#include "storage/zeitraum.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace csv {

// "Datum;Uhrzeit;Messung;Systolisch;Diastolisch;Puls;Gewicht"
const QStringList& kopf();

// The whole file: mark, header and one line per reading, in the order given.
QByteArray schreibe(const QList<zeitraum::Lesung>& lesungen);

// One field as RFC 4180 writes it: quoted, with quotes doubled, only when it holds the separator,
// a quote, CR or LF.
QString feld(const QString& text, QChar trenner = u';');

struct Zeile {
    qsizetype nummer = 0; // 1-based line of the file, the header line being 1
    QStringList felder;
};
struct Gelesen {
    QChar trenner;
    QList<Zeile> zeilen; // the data lines, empty lines left out
};
// Splits a file into lines and fields. The header line decides the separator (";" or ","); the
// byte-order mark is optional. nullopt, with «DATEI, Zeile N: …» in *fehler, for text that is
// no UTF-8, a quote left open at the end of a line, a wrong header or a line with another number
// of fields.
std::optional<Gelesen> lies(const QByteArray& inhalt, const QString& dateiName, QString* fehler);

} // namespace csv
