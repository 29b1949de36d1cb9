#include "export/bericht/berichtdatei.h"

#include "platform/datei.h"
#include "storage/csv.h"

namespace berichtdatei {

std::optional<Auswahl> sammle(const Zustand& z, const QStringList& tabellen, const QDate& von, const QDate& bis,
                              bool mitZeitraum, QString* fehler, bool* mehrereBenutzer) {
    if (mehrereBenutzer) *mehrereBenutzer = false;
    Auswahl a;
    a.tabellen = tabellen.isEmpty() ? zeitraum::tabellenImZeitraum(z, z.benutzerName, von, bis) : tabellen;
    const std::optional<zeitraum::Tabellen> gelesen = zeitraum::lies(a.tabellen, fehler, mehrereBenutzer);
    if (!gelesen) return std::nullopt;
    a.benutzer = gelesen->benutzer.isEmpty() ? z.benutzerName : gelesen->benutzer;
    a.lesungen = mitZeitraum ? zeitraum::imZeitraum(gelesen->lesungen, von, bis) : gelesen->lesungen;
    return a;
}

QString vorgeschlagenerName(const Zustand& z, const QString& wort, const QString& name, const QDate& von,
                            const QDate& bis, const QString& endung) {
    return z.tabellenOrdner + bis.toString(QStringLiteral("yyyy")) + u'/' + wort + u' ' + name + u' ' +
           zeitraum::datumText(von) + QStringLiteral(" bis ") + zeitraum::datumText(bis) + endung;
}

bool schreibeCsv(const QList<zeitraum::Lesung>& lesungen, const QString& ziel, QString* fehler) {
    if (datei::schreibe(ziel, csv::schreibe(lesungen))) return true;
    if (fehler) *fehler = QStringLiteral("Fehler beim Erzeugen der Datei ") + ziel;
    return false;
}

} // namespace berichtdatei
