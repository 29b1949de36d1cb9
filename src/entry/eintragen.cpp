#include "entry/eintragen.h"

#include "entry/eingaberegeln.h"
#include "platform/dialoge.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QFileInfo>

namespace eintragen {
namespace {

QString zweistellig(int wert) {
    return QStringLiteral("%1").arg(wert, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<QString> messzeile(const Eingabe& e, QString* meldung, double* gewicht) {
    if (!eingaberegeln::istUhrzeit(e.zeit)) {
        *meldung = QStringLiteral("Falsche Eingabe der Uhrzeit.   Beispiel für richtige Eingabe: 06:00");
        return std::nullopt;
    }
    if (e.jahr < 1900 || e.jahr > 9999 || !eingaberegeln::datumsFehler(e.tag, e.monat, e.jahr).isEmpty()) {
        *meldung = eingaberegeln::datumsFehler(e.tag, e.monat, e.jahr);
        if (meldung->isEmpty())
            *meldung = QStringLiteral("Das Jahr %1 liegt nicht zwischen 1900 und 9999.").arg(e.jahr);
        return std::nullopt;
    }
    for (int wert : {e.sys, e.dia, e.puls})
        if (wert < 0 || wert > eingaberegeln::kMaxEingabeWert) {
            *meldung = QStringLiteral("\"%1\" ist kein Wert von 0 bis %2.")
                           .arg(wert)
                           .arg(eingaberegeln::kMaxEingabeWert);
            return std::nullopt;
        }
    double kg = 0;
    if (e.gewicht) {
        const std::optional<double> wert = eingaberegeln::pruefeGewichtEingabe(*e.gewicht, meldung);
        if (!wert) return std::nullopt;
        kg = *wert;
    }
    if (gewicht) *gewicht = kg;
    eingaberegeln::Messwerte w;
    w.tag = zweistellig(e.tag);
    w.monat = zweistellig(e.monat);
    w.jahr = QString::number(e.jahr);
    w.zeit = e.zeit;
    w.sys = QString::number(e.sys);
    w.dia = QString::number(e.dia);
    w.puls = QString::number(e.puls);
    w.gewicht = eingaberegeln::gewichtText(kg); // "72,5", "71", "0"
    // One blank after "den", as every table read back holds it.
    return QString(monatstabelle::listeneintrag(eingaberegeln::neueZeile(e.slot, w))).remove(u'\t');
}

Ergebnis nimmAuf(Zustand& z, const Eingabe& e, double mittelGewicht) {
    Dialoge& dialoge = Dialoge::seam();
    const QString monat = zweistellig(e.monat), jahr = QString::number(e.jahr);
    // A list holds one month: a reading of another month belongs into another table.
    const bool monatFalsch =
        !z.ListBox1.isEmpty() && eingaberegeln::monatAusEintrag(z.ListBox1.last()) != monat;
    const bool jahrFalsch = !z.ListBox1.isEmpty() && eingaberegeln::jahrAusEintrag(z.ListBox1.last()) != jahr;
    if (monatFalsch) dialoge.information(eingaberegeln::monatsMeldung(monat));
    if (jahrFalsch) dialoge.information(eingaberegeln::jahresMeldung(jahr));
    if (monatFalsch || jahrFalsch) return Ergebnis::Abgelehnt;

    QString meldung;
    double gewicht = 0;
    const std::optional<QString> zeile = messzeile(e, &meldung, &gewicht);
    if (!zeile) {
        dialoge.information(meldung);
        return Ergebnis::Abgelehnt;
    }
    Schreib_String_in_Registry(eingaberegeln::slotZeitEinstellung(e.slot), e.zeit);

    // Only a weight that goes into the table is held against the monthly mean.
    if (gewicht > 0 && mittelGewicht != 0 && eingaberegeln::fuenfzehnKiloAbstand(gewicht, mittelGewicht)) {
        dialoge.information(QStringLiteral("Bitte überprüfen Sie Ihre aktuelle Gewichtsangabe. Es sind 15 Kg "
                                           "Unterschied zum bisherigen Mittelwert!"));
        return Ergebnis::Abgelehnt;
    }

    // The month's table on disk: when the list did not come from it, its readings come in first,
    // so the duplicate check sees them and the write below keeps them.
    const QString ziel = monatstabelle::tabellenPfad(z, z.benutzerName, monat, jahr);
    if (!ziel.isEmpty() && !monatstabelle::gleicheDatei(z.listenDatei, ziel) && QFileInfo::exists(ziel) &&
        !monatstabelle::ergaenzeAusDatei(z, ziel))
        return Ergebnis::Abgelehnt;

    z.monatText = monat;
    z.jahrText = jahr;
    z.monatName = monatstabelle::GibMonatLang(e.monat);
    z.jahrOrdnerName = jahr;

    const QString schluessel = eingaberegeln::datumsSchluessel(e.slot, zweistellig(e.tag), monat, jahr);
    if (eingaberegeln::findeDuplikat(z.ListBox1, schluessel) >= 0) {
        dialoge.information(eingaberegeln::duplikatMeldung(schluessel));
        return Ergebnis::Abgelehnt;
    }
    if (!z.letzteMesszeile.isEmpty()) z.letzteMesszeile = *zeile;

    const QString eintrag = monatstabelle::listeneintrag(*zeile);
    z.ListBox1.append(eintrag);
    monatstabelle::sortiereListe(z.ListBox1);
    if (!monatstabelle::schreibeTabelle(z, monatstabelle::Schreibart::Aufnehmen)) {
        z.ListBox1.removeOne(eintrag); // the list goes on mirroring the table
        return Ergebnis::Abgelehnt;
    }
    z.ListBox1.clear();
    return monatstabelle::liesZumBearbeiten(z, z.TabellenDateiName, monatstabelle::KopfLesen::Nein)
               ? Ergebnis::Aufgenommen
               : Ergebnis::NichtZurueckGelesen;
}

} // namespace eintragen
