#include "platform/shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
QStringList* g_aufzeichnung = nullptr;
}

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
