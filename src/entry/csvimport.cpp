#include "entry/csvimport.h"

#include "entry/eingaberegeln.h"
#include "entry/eintragen.h"
#include "platform/datei.h"
#include "storage/csv.h"
#include "storage/monatstabelle.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <algorithm>
#include <cmath>

namespace csvimport {
namespace {

struct Neu {
    qsizetype zeile = 0; // line of the CSV file
    QString schluessel;  // "Morgens|05.03.2024"
    QString messzeile;   // as the table will hold it
    monatstabelle::Messung werte;
};

struct Monat {
    QString pfad;
    bool gibtEs = false;
    monatstabelle::Kopf kopf;
    QStringList eintraege;                            // what the table holds, as list entries
    QHash<QString, monatstabelle::Messung> vorhanden; // by reading key
    QHash<QString, qsizetype> ausDerDatei;            // key -> CSV line that brought it
    QStringList neu;
};

// The reading one CSV line stands for, checked with the entry dialog's rules; nullopt with the
// reason in *grund.
std::optional<QString> messzeile(const QStringList& f, QString* grund) {
    // What a message repeats of a field is short and visible: a field of megabytes or with a NUL is
    // refused before any rule looks at it.
    for (const QString& feld : f) {
        if (feld.size() > 40) {
            *grund = QStringLiteral("Das Feld \"%1\" ist zu lang.").arg(monatstabelle::sichtbarKurz(feld));
            return std::nullopt;
        }
        if (std::any_of(feld.begin(), feld.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; })) {
            *grund = QStringLiteral("Das Feld \"%1\" enthält ein Steuerzeichen.")
                         .arg(monatstabelle::sichtbarKurz(feld));
            return std::nullopt;
        }
    }
    const QString datumText = f.at(0).trimmed();
    const QDate datum = QDate::fromString(datumText, QStringLiteral("yyyy-MM-dd"));
    if (datumText.size() != 10 || !datum.isValid()) {
        *grund = u'"' + datumText + QStringLiteral("\" ist kein gültiges Datum (JJJJ-MM-TT).");
        return std::nullopt;
    }
    int slot = 0;
    for (int s = 1; s <= 4; ++s)
        if (f.at(2).trimmed() == monatstabelle::slotWort(s)) slot = s;
    if (slot == 0) {
        *grund = QStringLiteral("\"%1\" ist keine Messung (Morgens, Messung2, Messung3 oder Abends).")
                     .arg(f.at(2));
        return std::nullopt;
    }
    // The fields as the entry dialog's fields would hold them; its rules decide the rest.
    eintragen::Eingabe e;
    e.slot = slot;
    e.tag = datum.day(), e.monat = datum.month(), e.jahr = datum.year();
    e.zeit = f.at(1).trimmed();
    int* werte[3] = {&e.sys, &e.dia, &e.puls};
    for (int i = 0; i < 3; ++i) {
        const QString text = f.at(3 + i).trimmed();
        const bool ziffern =
            !text.isEmpty() && text.size() <= 3 &&
            std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!ziffern) {
            *grund = QStringLiteral("\"%1\" ist kein Wert von 0 bis %2.")
                         .arg(text)
                         .arg(eingaberegeln::kMaxEingabeWert);
            return std::nullopt;
        }
        *werte[i] = text.toInt();
    }
    if (!f.at(6).trimmed().isEmpty()) e.gewicht = f.at(6);
    return eintragen::messzeile(e, grund);
}

bool gleich(const monatstabelle::Messung& a, const monatstabelle::Messung& b) {
    return a.zeit == b.zeit && a.sys == b.sys && a.dia == b.dia && a.puls == b.puls &&
           std::llround(a.gewicht * 1000) == std::llround(b.gewicht * 1000);
}

QString zeilenMeldung(const QString& datei, qsizetype zeile, const QString& text) {
    return QFileInfo(datei).fileName() + QStringLiteral(", Zeile ") + QString::number(zeile) +
           QStringLiteral(": ") + text;
}

} // namespace

Ergebnis importiere(const Zustand& basis, const QString& csvDatei, bool probelauf) {
    Ergebnis e;
    const QString nameFehler =
        basis.benutzerName.isEmpty()
            ? QStringLiteral("Bitte starten Sie Korvane einmal und geben Sie Ihren Namen ein.")
            : monatstabelle::benutzerNameFehler(basis.benutzerName);
    if (!nameFehler.isEmpty()) {
        e.meldung = QStringLiteral("Es ist kein Benutzer in Gebrauch, dem die Messwerte gehören könnten. ") +
                    nameFehler;
        return e;
    }
    const datei::Gelesen gelesen = datei::lies(csvDatei, datei::kGrenzeTabelle);
    if (!gelesen.ok()) {
        e.meldung = gelesen.meldung;
        return e;
    }
    const auto csv = csv::lies(gelesen.inhalt, QFileInfo(csvDatei).fileName(), &e.meldung);
    if (!csv) return e;

    QMap<QString, Monat> monate; // "2024-03" -> the month, in calendar order
    for (const csv::Zeile& z : csv->zeilen) {
        QString grund;
        const std::optional<QString> zeile = messzeile(z.felder, &grund);
        monatstabelle::Zeilenfehler f;
        const std::optional<monatstabelle::Messung> werte =
            zeile ? monatstabelle::werteAus(*zeile, &f) : std::nullopt;
        if (!werte) {
            e.meldung = zeilenMeldung(csvDatei, z.nummer, zeile ? f.text : grund);
            return e;
        }
        const QString schluesselMonat = werte->jahr + u'-' + werte->monat;
        auto it = monate.find(schluesselMonat);
        if (it == monate.end()) {
            Monat m;
            m.pfad = monatstabelle::tabellenPfad(basis, basis.benutzerName, werte->monat, werte->jahr);
            const QFileInfo info(m.pfad);
            m.gibtEs = info.exists() || info.isSymLink();
            if (m.gibtEs) {
                QString fehler;
                const auto a = monatstabelle::liesZurAnzeige(m.pfad, &fehler);
                if (a && fehler.isEmpty()) fehler = monatstabelle::doppelteLesung(m.pfad, *a);
                // A table under this month's name that holds another month's readings stays as it is.
                if (a && fehler.isEmpty() && !a->monat.isEmpty() &&
                    (a->monat != werte->monat || a->jahr != werte->jahr))
                    fehler = QStringLiteral("\"%1\" enthält Messwerte vom %2.%3, nicht vom %4.%5.")
                                 .arg(m.pfad, a->monat, a->jahr, werte->monat, werte->jahr);
                if (!a || !fehler.isEmpty()) {
                    e.meldung = fehler + QStringLiteral(" Es wurde nichts übernommen.");
                    return e;
                }
                m.kopf = a->kopf;
                for (qsizetype i = 0; i < a->messzeilen.size(); ++i) {
                    m.eintraege << monatstabelle::listeneintrag(a->messzeilen.at(i));
                    m.vorhanden.insert(monatstabelle::lesungsSchluessel(a->messzeilen.at(i)),
                                       a->messungen.at(i));
                }
            }
            it = monate.insert(schluesselMonat, m);
        }
        const QString schluessel = monatstabelle::lesungsSchluessel(*zeile);
        const auto da = it->vorhanden.constFind(schluessel);
        if (da == it->vorhanden.constEnd()) {
            it->vorhanden.insert(schluessel, *werte);
            it->ausDerDatei.insert(schluessel, z.nummer);
            it->neu << *zeile;
            ++e.neu;
        } else if (gleich(*da, *werte)) {
            ++e.vorhanden;
        } else {
            const QString wo = it->ausDerDatei.contains(schluessel)
                                   ? QStringLiteral("in Zeile %1").arg(it->ausDerDatei.value(schluessel))
                                   : QStringLiteral("in %1").arg(QFileInfo(it->pfad).fileName());
            e.meldung = zeilenMeldung(
                csvDatei, z.nummer,
                QStringLiteral("Für %1 steht %2 schon ein anderer Eintrag. Es wurde nichts übernommen.")
                    .arg(QString(schluessel).replace(u'|', QStringLiteral(" den ")), wo));
            return e;
        }
    }

    // What can be seen before the first write refuses the whole import: no table is written unless
    // every one can be.
    for (auto it = monate.cbegin(); it != monate.cend(); ++it) {
        if (it->neu.isEmpty()) continue;
        ++e.tabellen;
        const QFileInfo jahrOrdner(QFileInfo(it->pfad).path());
        if (it->gibtEs && datei::schreibgeschuetzt(it->pfad))
            e.meldung = QStringLiteral("Die Monatstabelle \"%1\" ist schreibgeschützt.").arg(it->pfad);
        else if (jahrOrdner.exists() && !jahrOrdner.isDir())
            e.meldung = QStringLiteral("\"%1\" ist kein Ordner.").arg(jahrOrdner.filePath());
        if (!e.meldung.isEmpty()) {
            e.meldung += QStringLiteral(" Es wurde nichts übernommen.");
            return e;
        }
    }
    if (probelauf) {
        e.ok = true;
        return e;
    }
    for (auto it = monate.cbegin(); it != monate.cend(); ++it) {
        const Monat& m = it.value();
        if (m.neu.isEmpty()) continue;
        Zustand t = basis;
        t.monatText = it.key().mid(5, 2);
        t.jahrText = it.key().left(4);
        t.slotAktiv = {true, true, true, true};
        if (m.gibtEs) monatstabelle::wendeSlotsAn(m.kopf, t.slotAktiv);
        t.ListBox1 = m.eintraege;
        for (const QString& zeile : m.neu)
            t.ListBox1 << monatstabelle::listeneintrag(zeile);
        monatstabelle::sortiereListe(t.ListBox1);
        t.listenDatei = m.gibtEs ? m.pfad : QString();
        if (!monatstabelle::schreibeTabelle(t, monatstabelle::Schreibart::Aufnehmen)) {
            e.meldung =
                QStringLiteral("Die Monatstabelle \"%1\" konnte nicht geschrieben werden. ").arg(m.pfad) +
                (e.geschrieben.isEmpty() ? QStringLiteral("Es wurde keine Monatstabelle geschrieben.")
                                         : QStringLiteral("Schon geschrieben: ") +
                                               e.geschrieben.join(QStringLiteral(", ")) + u'.');
            return e;
        }
        e.geschrieben << m.pfad;
    }
    e.ok = true;
    return e;
}

QString zusammenfassung(const Ergebnis& e) {
    return QStringLiteral("%1 Messungen übernommen, %2 schon vorhanden, in %3 Monatstabellen")
        .arg(e.neu)
        .arg(e.vorhanden)
        .arg(e.tabellen);
}

} // namespace csvimport
