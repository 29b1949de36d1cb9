#include "export/bericht/berichtdatei.h"

#include "export/image/monatszeichner.h"
#include "export/pdf/pdfdokument.h"
#include "platform/datei.h"
#include "storage/csv.h"

namespace berichtdatei {

std::optional<Auswahl> sammle(const Zustand& z, const QStringList& tabellen, const QDate& von,
                              const QDate& bis, bool mitZeitraum, QString* fehler, bool* mehrereBenutzer) {
    if (mehrereBenutzer) *mehrereBenutzer = false;
    Auswahl a;
    a.tabellen = tabellen.isEmpty() ? zeitraum::tabellenImZeitraum(z, z.benutzerName, von, bis) : tabellen;
    const std::optional<zeitraum::Tabellen> gelesen = zeitraum::lies(a.tabellen, fehler, mehrereBenutzer);
    if (!gelesen) return std::nullopt;
    a.benutzer = gelesen->benutzer.isEmpty() ? z.benutzerName : gelesen->benutzer;
    a.monate = gelesen->monate;
    a.lesungen = mitZeitraum ? zeitraum::imZeitraum(gelesen->lesungen, von, bis) : gelesen->lesungen;
    return a;
}

QString zeitraumFehler(const QDate& von, const QDate& bis, bool bericht, bool ohneErstenTag) {
    if (von == bis && ohneErstenTag)
        return QStringLiteral("Ohne den ersten Tag bleibt vom Zeitraum %1 bis %2 kein Tag.")
            .arg(zeitraum::datumText(von), zeitraum::datumText(bis));
    if (von > bis)
        return QStringLiteral("Der Zeitraum beginnt am %1 nach seinem Ende am %2.")
            .arg(zeitraum::datumText(von), zeitraum::datumText(bis));
    if (bericht && von.daysTo(bis) + 1 > zeitraum::kMaxBerichtTage)
        return QStringLiteral("Eine Auswertung umfasst höchstens %1 Tage; %2 bis %3 sind %4.")
            .arg(zeitraum::kMaxBerichtTage)
            .arg(zeitraum::datumText(von), zeitraum::datumText(bis))
            .arg(von.daysTo(bis) + 1);
    return {};
}

QString vorgeschlagenerName(const Zustand& z, const QString& wort, const QString& name, const QDate& von,
                            const QDate& bis, const QString& endung) {
    const QString rest =
        u' ' + zeitraum::datumText(von) + QStringLiteral(" bis ") + zeitraum::datumText(bis) + endung;
    // The longest user names leave no room for the rest: the name is cut, never the dates.
    QString kurz = name;
    while (!kurz.isEmpty() && (wort + u' ' + kurz + rest).toUtf8().size() > datei::kLaengsterName)
        kurz.chop(kurz.size() > 1 && kurz.back().isLowSurrogate() ? 2 : 1);
    return z.tabellenOrdner + bis.toString(QStringLiteral("yyyy")) + u'/' + wort + u' ' + kurz + rest;
}

bool schreibeCsv(const QList<zeitraum::Lesung>& lesungen, const QString& ziel, QString* fehler) {
    const datei::Geschrieben g = datei::schreibe(ziel, csv::schreibe(lesungen));
    if (!g && fehler) *fehler = datei::schreibMeldung(ziel, g);
    return bool(g);
}

bool schreibePdf(const Zustand& z, const bericht::Auswertung& a, const QStringList& tabellen,
                 const QString& ziel, const QStringList& patientendaten, bericht::Platz platz,
                 QString* fehler) {
    TmachPDF pdf;
    pdfdokument::richteEin(pdf);
    pdf.FileName = ziel;
    pdf.BeginDoc();
    int seite = 1;
    bericht::schreibeZahlenseiten(pdf, a, patientendaten, platz, &seite);
    // One month at a time: only its chart page is held while its picture is compressed.
    Monatszeichner zeichner(z);
    for (const QString& tabelle : tabellen) {
        if (!zeichner.zeichne(tabelle)) {
            if (fehler)
                *fehler =
                    QStringLiteral("Die Grafik von \"%1\" konnte nicht gezeichnet werden. Die Datei \"%2\" "
                                   "wurde nicht geschrieben.")
                        .arg(tabelle, ziel);
            return false;
        }
        const Zustand& monat = zeichner.zustand();
        bericht::schreibeGrafikseite(pdf, zeichner.grafikseite([&](QImage& grafik) {
            bericht::markiereZeitraum(grafik, monat.jahrText.toInt(), monat.monatText.toInt(), a.ab, a.bis);
        }),
                                     &seite);
    }
    return pdf.EndDoc(fehler);
}

} // namespace berichtdatei
