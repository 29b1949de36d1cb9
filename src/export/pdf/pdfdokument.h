#pragma once
// A month as a PDF document: the chart page, the table page or both, with patient data under the
// chart or on a page of their own above or below the table. Windows and the command line build
// their documents here, so the files are the same bytes.
#include "export/pdf/tmachpdf.h"
#include "storage/zustand.h"

#include <QImage>
#include <QStringList>
#include <functional>
#include <optional>

namespace pdfdokument {

enum class Art { NurGrafik, NurTabelle, GrafikUndTabelle };
enum class Platz { Keiner, UnterDerGrafik, SeiteOberhalb, SeiteUnterhalb };

// The places the patient data dialog offers for an art, and the one it ticks first.
bool platzMoeglich(Art art, Platz platz);
Platz ersterPlatz(Art art);

struct Monat {
    QImage grafikseite;      // the composed chart page (not needed for the table only)
    QImage tabellenbild;     // the table picture with its title (not needed for the chart only)
    // Or what makes it when its page is reached: it is then drawn while the chart page before it
    // is compressed.
    std::function<QImage()> machTabellenbild;
    QStringList patientendaten;
    Platz platz = Platz::Keiner;
};

// A month's pages in their order.
enum class Seite { Grafik, Daten, Tabelle };
QList<Seite> seiten(Art art, Platz platz, bool mitDaten);

// A writer set up as the documents want it: A4 in points, compressed, titled.
void richteEin(TmachPDF& pdf);

// The month's pages into the open document, numbered from *seite on ("Seite n"); afterwards
// *seite is the number of the last page written. A month after the first begins on a new page.
// The month is taken over: its table picture is written on in place, not copied once more.
void schreibeMonat(TmachPDF& pdf, Art art, Monat monat, int* seite, bool ersterMonat = true);

// The table page: "Seite n" written into the table picture, which goes into the document turned
// a quarter clockwise.
QImage tabellenSeite(QImage tabellenbild, int seite);

// month name + " " + year + " " + user name + ".pdf" in the month's year folder.
QString vorgeschlagenerName(const Zustand& z);

// Patient data read as the user wrote them: UTF-8 when the file is valid UTF-8, else
// Windows-1252; one entry a line. nullopt with a German message when the file cannot be read.
std::optional<QStringList> liesPatientendaten(const QString& pfad, QString* meldung);

} // namespace pdfdokument
