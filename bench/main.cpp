#include "bench.h"

#include "platform/pause.h"
#include "platform/umgebung.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstring>

// Runs in a temporary settings and working folder so a user's data is never touched.
int main(int argc, char** argv) {
    // Started by bench_exportspeicher to run a program and tell its peak memory, from a process
    // still small: a child inherits the peak of the process it was started from.
    if (argc > 2 && std::strcmp(argv[1], bench::kSpitzeVon) == 0) return bench::spitzeVon(argv + 2);
    QTemporaryDir wurzel;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(wurzel.path() + QStringLiteral("/config")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(wurzel.path() + QStringLiteral("/programm"));
    QDir::setCurrent(wurzel.path() + QStringLiteral("/programm"));
    QApplication app(argc, argv);
    umgebung::einrichten();
    Pause::setzeFaktor(0);

    bench_grafik();
    bench_programm();
    bench_html();
    bench_csv();
    bench_exportspeicher();
    bench_speicher();

    return 0;
}
