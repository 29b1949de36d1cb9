#include "bench.h"

#include "platform/pause.h"
#include "platform/umgebung.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

// Runs in a temporary settings and working folder so a user's data is never touched.
int main(int argc, char** argv) {
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
    bench_speicher();

    return 0;
}
