#pragma once
// The files of a period: which readings go in (the user's tables the period touches, or the
// tables named), the report as a PDF document and the readings as CSV, for the window and the
// command line alike.
#include "export/bericht/auswertung.h"
#include "storage/zeitraum.h"
#include "storage/zustand.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace berichtdatei {

// The period offered first: the last four weeks up to today.
constexpr int kStandardTage = 28;

struct Auswahl {
    QString benutzer;                 // from the tables' headers, else the user in use
    QStringList tabellen;             // the tables read, in calendar order
    QList<QDate> monate;              // the first day of each table's month; invalid without readings
    QList<zeitraum::Lesung> lesungen; // by date and slot
};
// The readings of the tables named, or, when none is named, of every month table of the user in
// use that the period touches. mitZeitraum: only those dated von..bis. nullopt with the German
// reason in *fehler when a table cannot be read or holds a broken line, or when the tables belong
// to several users (then *mehrereBenutzer is set).
std::optional<Auswahl> sammle(const Zustand& z, const QStringList& tabellen, const QDate& von,
                              const QDate& bis, bool mitZeitraum, QString* fehler,
                              bool* mehrereBenutzer = nullptr);

// Why von..bis is no period a report may cover (von after bis; more than 400 days counted
// inclusively, unless bericht is false; no day left without the first); empty when it is one.
QString zeitraumFehler(const QDate& von, const QDate& bis, bool bericht = true, bool ohneErstenTag = false);

// "<table folder><year of bis>/<wort> <name> <von> bis <bis><endung>"
QString vorgeschlagenerName(const Zustand& z, const QString& wort, const QString& name, const QDate& von,
                            const QDate& bis, const QString& endung);

// The readings as CSV, written whole; false with the German message naming the file.
bool schreibeCsv(const QList<zeitraum::Lesung>& lesungen, const QString& ziel, QString* fehler);

// The report as a PDF document written whole at ziel: the figures page, then the chart of each
// table with the period marked, drawn one month at a time as the main window draws them (its
// weight chart and remarks as the settings say). False with the German message naming the file.
bool schreibePdf(const Zustand& z, const bericht::Auswertung& a, const QStringList& tabellen,
                 const QString& ziel, const QStringList& patientendaten, bericht::Platz platz,
                 QString* fehler);

} // namespace berichtdatei
