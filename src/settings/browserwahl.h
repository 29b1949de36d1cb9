#pragma once
// The browsers the settings dialog offers as symbols: what the search for installed browsers
// hands over, and the rules that turn a browser's name into the symbols it shows.
#include <QList>
#include <QString>
#include <QStringList>

struct BrowserEintrag {
    QString name;       // display name of the installed browser, "Mozilla Firefox"
    QString symbol;     // its icon: a theme icon name or a file path; empty when it has none
    QString schluessel; // the word of the `Browser` setting its symbol writes: "firefox", "chrome" …
};

namespace browserwahl {

// The words of the `Browser` setting in the order the symbols stand: "standard",
// "internet explorer", "edge", "chrome", "opera", "safari", "firefox".
const QStringList& schluessel();

// The hint of a symbol, "FireFox" for "firefox"; empty for an unknown word.
QString hinweis(const QString& schluessel);

// The symbols a browser of that name shows, by containment and whatever the letter case:
// "internet explorer" shows Internet Explorer and Edge, "chrome" or "chromium" Chrome, and
// "edge", "opera", "safari", "firefox" their own.
QStringList symboleFuer(const QString& name);

// One entry per symbol the browsers found show, each keeping the name and icon of the first
// browser that shows it (the Edge shown for Internet Explorer is named "Microsoft Edge"); Edge
// also when its program is there. The key of an entry found is not read.
QList<BrowserEintrag> eintraegeAus(const QList<BrowserEintrag>& gefunden, bool edgeVorhanden);

// The browser in use for a `Browser` text: the last of the words, in the order above, that it
// contains; "standard" when it contains none (an empty or unknown text opens the default browser).
QString imEinsatz(const QString& einstellung);

} // namespace browserwahl
