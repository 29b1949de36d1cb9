#pragma once
// Opening the chart page in the browser chosen in the setting Browser, read anew at each export.
#include <QString>
#include <QStringList>

namespace browserstart {

// "standard", "internet explorer" (there is none on Linux), "opera", "safari" and anything else:
// the desktop's default handler. "firefox", "edge", "chrome": the installed browser of that name
// (Chromium counts as Chrome) with the page path in its Exec line; without one the usual program
// name. An empty setting is "standard" and is written back so.
void oeffne(const QString& seitenPfad);

// The program and its arguments for a choice; empty for the default handler.
QStringList befehlFuer(const QString& wahl, const QString& seitenPfad);

} // namespace browserstart
