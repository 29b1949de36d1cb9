#pragma once
// The browsers installed on this desktop: the XDG desktop entries of the data folders whose
// Categories hold WebBrowser, and the command line each entry starts.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace browser {

struct Eintrag {
    QString name;  // Name=, as the desktop shows it
    QString exec;  // Exec=, with its field codes
    QString symbol; // Icon=: a theme icon name or a file path; empty when it has none
    QString datei; // the desktop entry's path
};

// $XDG_DATA_HOME/applications first, then each $XDG_DATA_DIRS folder's applications (with the
// XDG defaults when unset). An entry's ID found again in a later folder is the same program and
// is skipped; NoDisplay or Hidden entries, and entries that are no application, are left out.
QList<Eintrag> installierte();

// Appends the display names of the installed browsers.
void GibInstallierteBrowser(QStringList& liste);

// The first installed browser whose lower-cased name contains one of the words.
std::optional<Eintrag> eintragFuer(const QStringList& woerter);

// An Exec line split into program and arguments as a desktop does: quotes and escapes
// resolved, %f %F %u %U replaced by the path as one argument (appended when the line has none
// of them), every other field code dropped, %% kept as %. Empty when the line names no program.
QStringList befehl(const QString& exec, const QString& pfad);

} // namespace browser
