#include "platform/shell.h"

#include <QFileInfo>
#include <QObject>
#include <QProcess>

namespace {
QStringList* g_aufzeichnung = nullptr;
bool g_oeffnenGelingt = true;
QList<shell::Aufruf>* g_starts = nullptr;
bool g_startGelingt = true;

// The opener's exit status as a reason (its manual page lists them).
QString grund(int status) {
    const QString oeffner = QString::fromLatin1(shell::kOeffner);
    switch (status) {
    case 2:
        return QStringLiteral("\"%1\" findet die Datei nicht.").arg(oeffner);
    case 3:
        return QStringLiteral("\"%1\" kennt kein Programm, das diese Art Datei öffnet.").arg(oeffner);
    case 4:
        return QStringLiteral("\"%1\" meldet, dass das Programm zum Öffnen gescheitert ist.").arg(oeffner);
    case 5:
        return QStringLiteral("\"%1\" darf die Datei nicht lesen.").arg(oeffner);
    default:
        return QStringLiteral("\"%1\" meldet einen Fehler (Rückgabewert %2).").arg(oeffner).arg(status);
    }
}
} // namespace

QString shell::nichtGestartet(const QString& programm) {
    return QStringLiteral("Das Programm \"%1\" ließ sich nicht starten.").arg(programm);
}

void shell::oeffneDokument(const QString& pfad, const Fehlermeldung& beiFehler) {
    if (g_aufzeichnung) {
        g_aufzeichnung->append(pfad);
        if (!g_oeffnenGelingt && beiFehler) beiFehler(grund(3));
        return;
    }
    // Without a parent and never deleted while it runs: a viewer the opener waits for is not
    // killed when Korvane ends. Its output is not read, so nothing may block on a full pipe.
    auto* prozess = new QProcess;
    prozess->setStandardInputFile(QProcess::nullDevice());
    prozess->setStandardOutputFile(QProcess::nullDevice());
    prozess->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(prozess, &QProcess::errorOccurred, prozess,
                     [prozess, beiFehler](QProcess::ProcessError fehler) {
                         if (fehler != QProcess::FailedToStart) return; // a crash also ends in finished()
                         if (beiFehler) beiFehler(nichtGestartet(QString::fromLatin1(kOeffner)));
                         prozess->deleteLater();
                     });
    QObject::connect(prozess, &QProcess::finished, prozess,
                     [prozess, beiFehler](int status, QProcess::ExitStatus art) {
                         if (beiFehler && art != QProcess::NormalExit)
                             beiFehler(QStringLiteral("\"%1\" brach ab.").arg(QString::fromLatin1(kOeffner)));
                         else if (beiFehler && status != 0)
                             beiFehler(grund(status));
                         prozess->deleteLater();
                     });
    // Absolute, so no name is ever taken for an option of the opener.
    prozess->start(QString::fromLatin1(kOeffner), {QFileInfo(pfad).absoluteFilePath()});
}

void shell::zeichneAuf(QStringList* aufzeichnung, bool gelingt) {
    g_aufzeichnung = aufzeichnung;
    g_oeffnenGelingt = gelingt;
}

bool shell::starteProgramm(const QString& programm, const QStringList& argumente) {
    if (g_starts) {
        g_starts->append({programm, argumente});
        return g_startGelingt;
    }
    return QProcess::startDetached(programm, argumente);
}

void shell::zeichneStartsAuf(QList<Aufruf>* aufzeichnung, bool gelingt) {
    g_starts = aufzeichnung;
    g_startGelingt = gelingt;
}
