#include "export/html/browserstart.h"

#include "platform/browser.h"
#include "platform/dialoge.h"
#include "platform/shell.h"
#include "storage/registry.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace browserstart {
namespace {

QStringList installiertOder(const QStringList& woerter, const QString& ersatz, const QString& pfad) {
    if (const std::optional<browser::Eintrag> e = browser::eintragFuer(woerter)) {
        const QStringList befehl = browser::befehl(e->exec, pfad);
        if (!befehl.isEmpty()) return befehl;
    }
    return {ersatz, pfad};
}

} // namespace

QStringList befehlFuer(const QString& wahl, const QString& pfad) {
    // Tested in this order, by containment.
    if (wahl.contains(u"standard")) return {};
    if (wahl.contains(u"firefox")) return installiertOder({u"firefox"_s}, u"firefox"_s, pfad);
    if (wahl.contains(u"internet explorer")) return {};
    if (wahl.contains(u"edge")) return installiertOder({u"edge"_s}, u"microsoft-edge"_s, pfad);
    if (wahl.contains(u"chrome")) {
        const QString ersatz =
            QStandardPaths::findExecutable(u"google-chrome"_s).isEmpty() ? u"chromium"_s : u"google-chrome"_s;
        return installiertOder({u"chrome"_s, u"chromium"_s}, ersatz, pfad);
    }
    return {};
}

void oeffne(const QString& seitenPfad) {
    QString wahl = Lies_String_aus_Registry(u"Browser"_s);
    if (wahl.isEmpty()) {
        wahl = u"standard"_s;
        Schreib_String_in_Registry(u"Browser"_s, wahl);
    }
    const QStringList befehl = befehlFuer(wahl, seitenPfad);
    if (befehl.isEmpty()) {
        shell::oeffneDokument(seitenPfad, [seitenPfad](const QString& grund) {
            Dialoge::seam().warnung(
                u"Die Seite \"%1\" wurde gespeichert, konnte aber nicht im Browser geöffnet werden. %2"_s.arg(
                    seitenPfad, grund));
        });
        return;
    }
    // The page is named as well: the program alone does not say what was not shown.
    if (!shell::starteProgramm(befehl.first(), befehl.mid(1)))
        Dialoge::seam().warnung(
            u"Datei: "_s + befehl.first() + u" kann nicht geöffnet werden"_s +
            u"\n\nDie Seite \"%1\" wurde gespeichert, aber nicht im Browser geöffnet."_s.arg(seitenPfad));
}

} // namespace browserstart
