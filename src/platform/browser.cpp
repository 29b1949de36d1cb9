#include "platform/browser.h"

#include "platform/datei.h"

#include <QDir>
#include <QDirIterator>
#include <QSet>

namespace browser {
namespace {

// A desktop entry is a few KiB; anything far larger is no desktop entry.
constexpr qint64 kGrenzeEintrag = 256 * 1024;

QStringList anwendungsOrdner() {
    QString heim = qEnvironmentVariable("XDG_DATA_HOME");
    if (heim.isEmpty()) heim = QDir::homePath() + QStringLiteral("/.local/share");
    QString weitere = qEnvironmentVariable("XDG_DATA_DIRS");
    if (weitere.isEmpty()) weitere = QStringLiteral("/usr/local/share:/usr/share");
    QStringList ordner{heim};
    for (const QString& o : weitere.split(u':', Qt::SkipEmptyParts))
        ordner << o;
    for (QString& o : ordner)
        o = QDir::cleanPath(o) + QStringLiteral("/applications");
    return ordner;
}

// The escapes of a string value: \s \n \t \r \\.
QString entschluessle(const QString& wert) {
    QString text;
    text.reserve(wert.size());
    for (qsizetype i = 0; i < wert.size(); ++i) {
        const QChar c = wert.at(i);
        if (c != u'\\' || i + 1 >= wert.size()) {
            text += c;
            continue;
        }
        const QChar n = wert.at(++i);
        if (n == u's')
            text += u' ';
        else if (n == u'n')
            text += u'\n';
        else if (n == u't')
            text += u'\t';
        else if (n == u'r')
            text += u'\r';
        else if (n == u'\\')
            text += u'\\';
        else
            text += QString(u'\\') + n; // left for the Exec quoting rules
    }
    return text;
}

struct Gelesen {
    Eintrag eintrag;
    bool browser = false;
    bool sichtbar = true;
};

std::optional<Gelesen> lies(const QString& pfad) {
    const datei::Gelesen g = datei::lies(pfad, kGrenzeEintrag);
    if (!g.ok()) return std::nullopt;
    Gelesen e;
    e.eintrag.datei = pfad;
    bool inGruppe = false, anwendung = false;
    const QString text = QString::fromUtf8(g.inhalt); // the lines below are views into it
    for (QStringView zeile : QStringView(text).split(u'\n')) {
        zeile = zeile.trimmed();
        if (zeile.startsWith(u'[')) {
            inGruppe = zeile == u"[Desktop Entry]";
            continue;
        }
        const qsizetype gleich = zeile.indexOf(u'=');
        if (!inGruppe || zeile.startsWith(u'#') || gleich <= 0) continue;
        const QStringView schluessel = zeile.first(gleich).trimmed();
        const QString wert = zeile.sliced(gleich + 1).trimmed().toString();
        if (schluessel == u"Name")
            e.eintrag.name = entschluessle(wert);
        else if (schluessel == u"Exec")
            e.eintrag.exec = entschluessle(wert);
        else if (schluessel == u"Icon")
            e.eintrag.symbol = entschluessle(wert);
        else if (schluessel == u"Type")
            anwendung = wert == u"Application";
        else if (schluessel == u"Categories")
            e.browser = wert.split(u';').contains(QStringLiteral("WebBrowser"));
        else if ((schluessel == u"NoDisplay" || schluessel == u"Hidden") && wert == u"true")
            e.sichtbar = false;
    }
    if (!anwendung) e.browser = false;
    return e;
}

} // namespace

QList<Eintrag> installierte() {
    QList<Eintrag> liste;
    QSet<QString> gesehen; // desktop file IDs
    for (const QString& ordner : anwendungsOrdner()) {
        QStringList dateien;
        for (QDirIterator it(ordner, {QStringLiteral("*.desktop")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            dateien << it.next();
        dateien.sort(); // the order of a folder listing is no order
        for (const QString& pfad : std::as_const(dateien)) {
            // "kde/foo.desktop" below applications has the ID "kde-foo.desktop".
            const QString id = pfad.mid(ordner.size() + 1).replace(u'/', u'-');
            if (gesehen.contains(id)) continue;
            gesehen.insert(id);
            const std::optional<Gelesen> e = lies(pfad);
            // A hidden entry still hides the same ID in the folders after it.
            if (e && e->browser && e->sichtbar && !e->eintrag.name.isEmpty()) liste << e->eintrag;
        }
    }
    return liste;
}

void GibInstallierteBrowser(QStringList& liste) {
    for (const Eintrag& e : installierte())
        liste << e.name;
}

std::optional<Eintrag> eintragFuer(const QStringList& woerter) {
    for (const Eintrag& e : installierte()) {
        const QString name = e.name.toLower();
        for (const QString& w : woerter)
            if (name.contains(w)) return e;
    }
    return std::nullopt;
}

QStringList befehl(const QString& exec, const QString& pfad) {
    // Split at blanks outside quotes; inside quotes and before any character a backslash escapes.
    QStringList teile;
    QString teil;
    bool imTeil = false, inAnfuehrung = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (c == u'\\' && i + 1 < exec.size()) {
            teil += exec.at(++i);
            imTeil = true;
        } else if (inAnfuehrung) {
            if (c == u'"')
                inAnfuehrung = false;
            else
                teil += c;
        } else if (c == u' ' || c == u'\t') {
            if (imTeil) teile << teil;
            teil.clear();
            imTeil = false;
        } else if (c == u'"') {
            inAnfuehrung = imTeil = true;
        } else {
            teil += c;
            imTeil = true;
        }
    }
    if (inAnfuehrung) return {}; // a quote never closed: no command line a desktop would run
    if (imTeil) teile << teil;
    if (teile.isEmpty() || teile.first().startsWith(u'%')) return {}; // no program named

    QStringList argumente;
    bool pfadGesetzt = false;
    for (const QString& t : std::as_const(teile)) {
        QString arg;
        bool nurFeldcode = t.size() == 2 && t.at(0) == u'%';
        for (qsizetype i = 0; i < t.size(); ++i) {
            if (t.at(i) != u'%' || i + 1 >= t.size()) {
                arg += t.at(i);
                continue;
            }
            const QChar code = t.at(++i);
            if (code == u'%') {
                arg += u'%';
                nurFeldcode = false;
            } else if (QStringView(u"fFuU").contains(code)) {
                arg += pfad;
                pfadGesetzt = true;
                nurFeldcode = false;
            }
            // every other field code (%i %c %k and the deprecated ones) stands for nothing here
        }
        if (!nurFeldcode) argumente << arg;
    }
    if (argumente.isEmpty() || argumente.first().isEmpty()) return {};
    if (!pfadGesetzt) argumente << pfad;
    return argumente;
}

} // namespace browser
