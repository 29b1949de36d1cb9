#pragma once
// Each figure prints one line "NAME: MEDIAN ms".
#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>
#include <sys/resource.h>

namespace bench {
inline void zeigeMedian(const char* name, std::vector<double> zeiten) {
    const auto mitte = zeiten.begin() + zeiten.size() / 2;
    std::nth_element(zeiten.begin(), mitte, zeiten.end());
    std::printf("%s: %.3f ms\n", name, *mitte);
    std::fflush(stdout);
}

// A full month of Anna: every day four readings with a weight each; `versatz` shifts the pressures
// so months differ; without the last day's evening reading when asked.
inline QStringList monat(int jahr, int m, int versatz = 0, bool ohneLetzten = false) {
    const int tage = QDate(jahr, m, 1).daysInMonth();
    QStringList zeilen{QStringLiteral("[Personendaten]"),
                       QStringLiteral("BenutzerName=Anna"),
                       QStringLiteral("Datum=%1 %2").arg(QLocale(QLocale::German).monthName(m)).arg(jahr),
                       QStringLiteral("1M=1"),
                       QStringLiteral("2M=1"),
                       QStringLiteral("3M=1"),
                       QStringLiteral("4M=1"),
                       QString()};
    const char* worte[4] = {"Morgens", "Messung2", "Messung3", "Abends"};
    for (int tag = 1; tag <= tage; ++tag)
        for (int slot = 0; slot < 4; ++slot) {
            if (ohneLetzten && tag == tage && slot == 3) break;
            zeilen << QStringLiteral("%1 den %2.%3.%4 Z=07:30 s=%5, d=%6, p=%7, Gewicht=%8,5")
                          .arg(QLatin1String(worte[slot]))
                          .arg(tag, 2, 10, QLatin1Char('0'))
                          .arg(m, 2, 10, QLatin1Char('0'))
                          .arg(jahr)
                          .arg(120 + (tag * 7 + slot * 3 + versatz) % 40)
                          .arg(75 + (tag * 5 + slot + versatz) % 20)
                          .arg(60 + (tag * 3 + slot * 2) % 25)
                          .arg(70 + (tag + slot) % 8);
        }
    return zeilen;
}

// A full March 2024 of Anna.
inline QStringList vollerMonat(bool ohneLetzten = false) {
    return monat(2024, 3, 0, ohneLetzten);
}

// Reading lines of the given size in bytes (as written, CR LF included): day and slot repeat
// through the month, every value in its range, a weight on each.
inline QStringList grosseTabelle(qint64 bytes) {
    QStringList zeilen = vollerMonat().mid(0, 8);
    const char* worte[4] = {"Morgens", "Messung2", "Messung3", "Abends"};
    qint64 summe = 0;
    for (int i = 0; summe < bytes; ++i) {
        const int tag = i / 4 % 31 + 1, slot = i % 4;
        zeilen << QStringLiteral("%1 den %2.03.2024 Z=07:30 s=%3, d=%4, p=%5, Gewicht=%6,5")
                      .arg(QLatin1String(worte[slot]))
                      .arg(tag, 2, 10, QLatin1Char('0'))
                      .arg(100 + i % 90)
                      .arg(60 + i % 40)
                      .arg(50 + i % 60)
                      .arg(60 + i % 30);
        summe += zeilen.last().size() + 2;
    }
    return zeilen;
}

// The process's peak resident memory so far, in MiB.
inline double spitzenSpeicherMiB() {
    struct rusage r = {};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss / 1024.0;
}

// Runs the work n times and prints the median.
inline void miss(const char* name, int n, const std::function<void()>& arbeit) {
    std::vector<double> zeiten;
    zeiten.reserve(n);
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        arbeit();
        zeiten.push_back(t.nsecsElapsed() / 1e6);
    }
    zeigeMedian(name, zeiten);
}

// Runs the program argv names (argv[0], nullptr-terminated), its stdout to /dev/null, and prints its
// peak resident memory in KiB; returns its exit status.
constexpr const char* kSpitzeVon = "--spitze-von";
int spitzeVon(char** argv);
} // namespace bench

void bench_grafik();   // chart drawing (bench_grafik.cpp)
void bench_programm(); // windows, first chart, one reading (bench_programm.cpp)
void bench_html();     // the HTML chart page of a full month (bench_html.cpp)
void bench_csv();      // ten years of readings imported from and exported to CSV (bench_csv.cpp)
void bench_exportspeicher(); // peak memory of korvane's PDF export of 1, 24, 360 months (bench_export.cpp)
void bench_speicher(); // peak memory of the largest table (bench_grafik.cpp); last
