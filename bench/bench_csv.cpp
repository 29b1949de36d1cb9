// Ten years of readings as CSV, taken into an empty data folder, and written out again.
#include "bench.h"

#include "entry/csvimport.h"
#include "export/bericht/berichtdatei.h"
#include "platform/datei.h"
#include "storage/csv.h"

#include <QDate>
#include <QDir>

void bench_csv() {
    const QString programm = QDir::currentPath() + u'/';
    QByteArray text = "Datum;Uhrzeit;Messung;Systolisch;Diastolisch;Puls;Gewicht\r\n";
    int lesungen = 0;
    for (QDate d(2015, 1, 1); d < QDate(2025, 1, 1); d = d.addDays(1))
        for (const char* slot : {"Morgens", "Messung2", "Messung3", "Abends"}) {
            text += d.toString(Qt::ISODate).toLatin1() + ";07:30;" + slot + ';' +
                    QByteArray::number(110 + lesungen % 50) + ';' + QByteArray::number(70 + lesungen % 25) +
                    ';' + QByteArray::number(55 + lesungen % 30) + ';' +
                    (slot[0] == 'M' && slot[1] == 'o' ? "72,5" : "") + "\r\n";
            ++lesungen;
        }
    const QString datei = programm + QStringLiteral("zehn-jahre.csv");
    datei::schreibe(datei, text);
    std::printf("CSV von zehn Jahren: %d Messungen, %lld KiB\n", lesungen, qint64(text.size() / 1024));
    int lauf = 0;
    bench::miss("CSV-Import zehn Jahre (leerer Datenordner)", 5, [&] {
        Zustand z;
        z.datenOrdner = programm + QStringLiteral("import%1/").arg(++lauf);
        z.tabellenOrdner = z.datenOrdner + QStringLiteral("Korvane-Daten-Galerie/");
        z.benutzerName = QStringLiteral("Anna");
        const csvimport::Ergebnis e = csvimport::importiere(z, datei, false);
        if (!e.ok || e.neu != lesungen) std::printf("Import gescheitert: %s\n", qPrintable(e.meldung));
    });
    Zustand z;
    z.datenOrdner = programm + QStringLiteral("import1/");
    z.tabellenOrdner = z.datenOrdner + QStringLiteral("Korvane-Daten-Galerie/");
    z.benutzerName = QStringLiteral("Anna");
    bench::miss("CSV-Export zehn Jahre", 5, [&] {
        QString fehler;
        const auto a = berichtdatei::sammle(z, {}, QDate(2015, 1, 1), QDate(2024, 12, 31), true, &fehler);
        if (!a || !berichtdatei::schreibeCsv(a->lesungen, programm + QStringLiteral("aus.csv"), &fehler))
            std::printf("Export gescheitert: %s\n", qPrintable(fehler));
    });
}
