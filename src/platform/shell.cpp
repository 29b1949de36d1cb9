#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace {
QStringList* g_aufzeichnung = nullptr;
QList<shell::Aufruf>* g_starts = nullptr;
bool g_startGelingt = true;
} // namespace

bool shell::oeffneDokument(const QString& pfad) {
    if (g_aufzeichnung) {
        g_aufzeichnung->append(pfad);
        return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(pfad));
}

void shell::zeichneAuf(QStringList* aufzeichnung) {
    g_aufzeichnung = aufzeichnung;
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
