#pragma once
// Readings over a period that does not follow months: which month tables a period touches, and
// every reading of some tables with its date, in date and slot order.
#include "storage/zustand.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zeitraum {

// The longest period a report covers, counted inclusively.
constexpr qint64 kMaxBerichtTage = 400;

struct Lesung {
    QDate datum;
    int slot = 0; // 1..4 (Morgens, Messung2, Messung3, Abends)
    QString zeit; // as stored, "07:30"
    int sys = 0, dia = 0, puls = 0;
    QString sysText, diaText, pulsText; // as stored
    QString gewichtText;                // as stored with the decimal comma; empty when none
    qint64 gewichtMillionstel = 0;      // the same, exactly
};

// "05.03.2024" -> the date; an invalid QDate for anything else (31.02., 5.3.2024, words).
QDate liesDatum(const QString& text);
QString datumText(const QDate& datum); // "05.03.2024"

// The paths of the user's month tables that lie in the data folder for the months of the period
// (von..bis, inclusive). Only files that are there; nothing is created.
QStringList tabellenImZeitraum(const Zustand& z, const QString& name, const QDate& von, const QDate& bis);

struct Tabellen {
    QString benutzer;       // the name the tables' headers give; empty when none names one
    QList<Lesung> lesungen; // every reading of every table, by date and slot (stable)
    QList<QDate> monate;    // per table, in the order given: the first day of its month; invalid
                            // for a table without readings
};
// Reads every table. nullopt with the German reason in *fehler when one cannot be read or holds a
// broken line (named with file and line), or when the tables belong to more than one user
// (*mehrereBenutzer is then set).
std::optional<Tabellen> lies(const QStringList& tabellen, QString* fehler, bool* mehrereBenutzer = nullptr);

// The readings dated from von through bis (both inclusive), in their order.
QList<Lesung> imZeitraum(const QList<Lesung>& lesungen, const QDate& von, const QDate& bis);

} // namespace zeitraum
