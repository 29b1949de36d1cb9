#include "storage/zeitraum.h"

#include "storage/monatstabelle.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace zeitraum {

QDate liesDatum(const QString& text) {
    // Exactly TT.MM.JJJJ: "5.3.2024" or "05.03.24" would be read as another day by a lenient parser.
    if (text.size() != 10 || text.at(2) != u'.' || text.at(5) != u'.') return {};
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!text.at(i).isDigit() || text.at(i).unicode() > 0x7F) return {};
    return QDate(text.mid(6, 4).toInt(), text.mid(3, 2).toInt(), text.left(2).toInt());
}

QString datumText(const QDate& datum) {
    return datum.toString(QStringLiteral("dd.MM.yyyy"));
}

QStringList tabellenImZeitraum(const Zustand& z, const QString& name, const QDate& von, const QDate& bis) {
    QStringList pfade;
    if (!von.isValid() || !bis.isValid() || bis < von) return pfade;
    // Only the year folders that are there: a period without limit spans thousands of years.
    const QStringList jahre = QDir(z.tabellenOrdner).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& jahrText : jahre) {
        if (!monatstabelle::istJahr(jahrText)) continue;
        const int jahr = jahrText.toInt();
        if (jahr < von.year() || jahr > bis.year()) continue;
        const int erster = jahr == von.year() ? von.month() : 1;
        const int letzter = jahr == bis.year() ? bis.month() : 12;
        for (int monat = erster; monat <= letzter; ++monat) {
            const QString pfad = monatstabelle::tabellenPfad(
                z, name, QStringLiteral("%1").arg(monat, 2, 10, QLatin1Char('0')), jahrText);
            const QFileInfo info(pfad);
            if (!pfad.isEmpty() && (info.exists() || info.isSymLink())) pfade << pfad;
        }
    }
    return pfade;
}

std::optional<Tabellen> lies(const QStringList& tabellen, QString* fehler, bool* mehrereBenutzer) {
    if (mehrereBenutzer) *mehrereBenutzer = false;
    Tabellen t;
    QString ersteTabelle;
    for (const QString& pfad : tabellen) {
        QString meldung;
        const std::optional<monatstabelle::Anzeige> a = monatstabelle::liesZurAnzeige(pfad, &meldung);
        if (!a) {
            if (fehler) *fehler = meldung;
            return std::nullopt;
        }
        // Two readings of one day and slot are no table Korvane wrote; figures and CSV would count
        // both, and a hostile table of them would hold memory without end.
        if (const QString doppelt = monatstabelle::doppelteLesung(pfad, *a); !doppelt.isEmpty()) {
            if (fehler) *fehler = doppelt;
            return std::nullopt;
        }
        t.monate << (a->monat.isEmpty() ? QDate() : QDate(a->jahr.toInt(), a->monat.toInt(), 1));
        const QString& name = a->kopf.benutzerName;
        if (!name.isEmpty()) {
            if (t.benutzer.isEmpty()) {
                t.benutzer = name;
                ersteTabelle = pfad;
            } else if (name != t.benutzer) {
                if (fehler)
                    *fehler = QStringLiteral(
                                  "\"%1\" gehört %2, \"%3\" aber %4: eine Auswertung gilt nur einer Person.")
                                  .arg(ersteTabelle, t.benutzer, pfad, name);
                if (mehrereBenutzer) *mehrereBenutzer = true;
                return std::nullopt;
            }
        }
        for (const monatstabelle::Messung& m : a->messungen) {
            // A line without a slot word is no reading of any slot; the chart leaves it out too.
            if (m.slot < 1 || m.slot > 4) continue;
            Lesung l;
            l.datum = QDate(m.jahr.toInt(), m.monat.toInt(), m.tag);
            l.slot = m.slot;
            l.zeit = m.zeit;
            l.sys = m.sys;
            l.dia = m.dia;
            l.puls = m.puls;
            l.sysText = m.sysText.trimmed();
            l.diaText = m.diaText.trimmed();
            l.pulsText = m.pulsText.trimmed();
            if (m.gewichtMillionstel > 0) {
                l.gewichtText = QString(m.gewichtText).replace(u'.', u',');
                l.gewichtMillionstel = m.gewichtMillionstel;
            }
            t.lesungen << l;
        }
    }
    std::stable_sort(t.lesungen.begin(), t.lesungen.end(), [](const Lesung& a, const Lesung& b) {
        return a.datum != b.datum ? a.datum < b.datum : a.slot < b.slot;
    });
    return t;
}

QList<Lesung> imZeitraum(const QList<Lesung>& lesungen, const QDate& von, const QDate& bis) {
    QList<Lesung> auswahl;
    for (const Lesung& l : lesungen)
        if (l.datum >= von && l.datum <= bis) auswahl << l;
    return auswahl;
}

} // namespace zeitraum
