#pragma once
// Each figure prints one line "NAME: MEDIAN ms".
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {
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
    std::nth_element(zeiten.begin(), zeiten.begin() + n / 2, zeiten.end());
    std::printf("%s: %.3f ms\n", name, zeiten[n / 2]);
    std::fflush(stdout);
}
} // namespace bench

void bench_grafik(); // chart drawing (bench_grafik.cpp)
