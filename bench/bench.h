#pragma once
// Each figure prints one line "NAME: MEDIAN ms".
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {
inline void zeigeMedian(const char* name, std::vector<double> zeiten) {
    const auto mitte = zeiten.begin() + zeiten.size() / 2;
    std::nth_element(zeiten.begin(), mitte, zeiten.end());
    std::printf("%s: %.3f ms\n", name, *mitte);
    std::fflush(stdout);
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
} // namespace bench

void bench_grafik();   // chart drawing (bench_grafik.cpp)
void bench_programm(); // windows, first chart, one reading (bench_programm.cpp)
