// The peak memory of the program exporting one PDF of chart and table for 1, 24 and 360 full
// months, each run as its own process: a document of many months must take little more than one.
#include "bench.h"

#include "platform/textdatei.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Runs korvane with the arguments through this program's own bench::spitzeVon; its peak resident
// memory in MiB, or -1 when it failed.
double spitzeDesLaufs(const QStringList& argumente, double* sekunden) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer uhr;
    uhr.start();
    p.start(QCoreApplication::applicationFilePath(),
            QStringList{QLatin1String(bench::kSpitzeVon), QCoreApplication::applicationDirPath() + "/korvane"}
                << argumente);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return -1;
    *sekunden = uhr.nsecsElapsed() / 1e9;
    return p.readAllStandardOutput().trimmed().toLongLong() / 1024.0;
}

} // namespace

int bench::spitzeVon(char** argv) {
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_addopen(&aktionen, 1, "/dev/null", O_WRONLY, 0); // the path it writes
    pid_t kind = 0;
    const int fehler = posix_spawn(&kind, argv[0], &aktionen, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&aktionen);
    if (fehler != 0) return 1;
    int status = 0;
    struct rusage r = {};
    if (wait4(kind, &status, 0, &r) != kind || !WIFEXITED(status)) return 1;
    std::printf("%ld\n", r.ru_maxrss);
    return WEXITSTATUS(status);
}

void bench_exportspeicher() {
    const QString ordner = QDir::currentPath() + QStringLiteral("/exportspeicher/");
    QDir().mkpath(ordner);
    qputenv("KORVANE_ORDNER", QFile::encodeName(ordner));
    qputenv("SOURCE_DATE_EPOCH", "1709624405");
    QStringList tabellen;
    for (int i = 0; i < 360; ++i) {
        const int jahr = 2000 + i / 12, m = i % 12 + 1;
        tabellen << ordner + QStringLiteral("Anna_%1_%2.tab").arg(m, 2, 10, QLatin1Char('0')).arg(jahr);
        textdatei::schreibeZeilen(tabellen.last(), bench::monat(jahr, m, m));
    }
    double einer = 0;
    for (int anzahl : {1, 24, 360}) {
        double sekunden = 0;
        const double spitze =
            spitzeDesLaufs(QStringList{QStringLiteral("--export"), QStringLiteral("pdf-grafik-tabelle"),
                                       QStringLiteral("--ausgabe"), ordner + QStringLiteral("monate.pdf")}
                               << tabellen.mid(0, anzahl),
                           &sekunden);
        if (spitze < 0) {
            std::printf("Speicherspitze PDF Grafik und Tabelle, %d Monate: korvane ist fehlgeschlagen\n",
                        anzahl);
            continue;
        }
        if (anzahl == 1) einer = spitze;
        std::printf("Speicherspitze PDF Grafik und Tabelle, %d %s: %.1f MiB (%.2f x ein Monat, %.1f s)\n",
                    anzahl, anzahl == 1 ? "Monat" : "Monate", spitze, einer > 0 ? spitze / einer : 0.0,
                    sekunden);
        std::fflush(stdout);
    }
    qunsetenv("SOURCE_DATE_EPOCH");
    qunsetenv("KORVANE_ORDNER");
}
