#include "export/bericht/berichtdatei.h"

#include "chart/tmonatsgrafik.h"
#include "export/image/grafikseite.h"
#include "export/pdf/pdfdokument.h"
#include "platform/datei.h"
#include "storage/csv.h"
#include "storage/registry.h"

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

bool schreibePdf(const Zustand& z, const bericht::Auswertung& a, const QStringList& tabellen, const QString& ziel,
                 const QStringList& patientendaten, bericht::Platz platz, QString* fehler) {
    auto schalter = [](const QString& name, bool vorgabe) {
        const QString wert = Lies_Integer_aus_Registry_mit_Vorgabe(name);
        return wert == u"1" ? true : wert == u"0" ? false : vorgabe;
    };
    const bool gewicht = schalter(QStringLiteral("FarbkurveGewichtAnzeigen"), false);
    const bool bemerkungen = schalter(QStringLiteral("BemerkungenAnzeigen"), true);
    TmachPDF pdf;
    pdfdokument::richteEin(pdf);
    pdf.FileName = ziel;
    pdf.BeginDoc();
    int seite = 1;
    bericht::schreibeZahlenseiten(pdf, a, patientendaten, platz, &seite);
    for (const QString& tabelle : tabellen) {
        Zustand kopie = z;
        TMonatsGrafik grafik(kopie);
        grafik.nurZeichnen = true;
        grafik.gewichtSichtbar = gewicht;
        if (!grafik.GrafikZeichnen(tabelle)) {
            if (fehler) *fehler = QStringLiteral("Die Grafik von \"%1\" konnte nicht gezeichnet werden. Die Datei \"%2\" "
                                                 "wurde nicht geschrieben.").arg(tabelle, ziel);
            return false;
        }
        bericht::markiereZeitraum(grafik.Image, kopie.jahrText.toInt(), kopie.monatText.toInt(), a.ab, a.bis);
        bericht::schreibeGrafikseite(
            pdf, bildexport::Die4BilderZusammenfuegen(bildexport::grafikseiteAus(grafik, gewicht, bemerkungen)), &seite);
    }
    return pdf.EndDoc(fehler);
}

} // namespace berichtdatei
