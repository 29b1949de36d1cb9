#pragma once
// The report over a period ("Auswertung"): the figures a doctor asks for, computed exactly from the
// readings as stored, as text lines "Bezeichnung: Wert" that scripts read, and as a PDF document.
#include "export/pdf/tmachpdf.h"
#include "storage/zeitraum.h"

#include <QDate>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace bericht {

// Home measurements from this value on count as raised (European guidelines).
constexpr int kSchwelleSys = 135, kSchwelleDia = 85;

struct Summen {
    int anzahl = 0;
    qint64 sys = 0, dia = 0, puls = 0;
};
struct Extrem {
    int wert = 0;
    QDate datum;
    QString zeit;
};
struct Gewicht {
    QString text; // as stored, "72,5"
    QDate datum;
};

struct Auswertung {
    QString name;
    QDate von, bis; // the period asked for
    bool ohneErstenTag = false;
    QDate ab;     // the first day that counts: von, or the day after it
    int tage = 0; // days with readings
    Summen alle, morgens, abends;
    std::optional<Extrem> sysMin, sysMax, diaMin, diaMax;
    int ueberSchwelle = 0; // readings at or above 135 systolic or 85 diastolic
    std::optional<Gewicht> erstesGewicht, letztesGewicht;
    std::optional<qint64> gewichtZehntel; // mean weight in tenths of a kilogram
};

// The figures of the readings dated ab..bis. A reading with a systolic, diastolic or pulse value
// of 0 counts in none of the pressure figures; its weight still counts.
Auswertung werteAus(const QString& name, const QList<zeitraum::Lesung>& lesungen, const QDate& von,
                    const QDate& bis, bool ohneErstenTag);

// n / d in tenths, exact halves to the even tenth: 1325 for 5300 / 4.
qint64 zehntel(qint64 summe, qint64 anzahl);
QString zehntelText(qint64 zehntel); // 1325 -> "132,5"

// The grade of the means as the HTML page grades a month: "Hochnormal", "Grad 1 Hypertonie
// (leichter Bluthochdruck)", …; "nicht eingestuft" for means outside every grade.
QString grad(const Summen& s);

// "Auswertung Anna, 05.03.2024 bis 11.03.2024", then one line "Bezeichnung: Wert" per figure; the
// lines and their order never change, a missing figure reads "keine".
QStringList zeilen(const Auswertung& a);

// "Im Zeitraum … gibt es keine Messungen." when nothing counts; empty otherwise.
QString keineMessungen(const Auswertung& a);

// Marks the days of the period on a month's chart picture (the day columns of the chart), so the
// chart pages of a report show which of their days it covers.
void markiereZeitraum(QImage& grafik, int jahr, int monat, const QDate& ab, const QDate& bis);

enum class Platz { Keiner, UnterDenZahlen, SeiteDavor, SeiteDanach };

// The report's first pages into a writer just begun: the figures as text (patient data below
// them, or on a page of their own before or after them); *seite is then the last page's number.
void schreibeZahlenseiten(TmachPDF& pdf, const Auswertung& a, const QStringList& patientendaten, Platz platz,
                          int* seite);
// One month's chart page after them, on a new page numbered *seite + 1. The caller draws one
// month at a time, so a report holds no more than one chart page in memory.
void schreibeGrafikseite(TmachPDF& pdf, const QImage& grafikseite, int* seite);

} // namespace bericht
