#include "entry/eingaberegeln.h"

#include "chart/tmonatsgrafik.h"
#include "storage/monatstabelle.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace eingaberegeln {

namespace {

QString zweistellig(int wert) {
    return QStringLiteral("%1").arg(wert, 2, 10, QLatin1Char('0'));
}

// The trimmed text after the key up to the next ",", or to the end when no "," follows.
QString wertNach(const QString& text, const QString& schluessel) {
    const int start = text.indexOf(schluessel);
    if (start < 0) return {};
    const int von = start + schluessel.size();
    const int komma = text.indexOf(QLatin1Char(','), von);
    return (komma < 0 ? text.mid(von) : text.mid(von, komma - von)).trimmed();
}

} // namespace

QString zeitSchritt(const QString& zeit, bool hoch) {
    QString t = zeit;
    if (!t.contains(QLatin1Char(':'))) t = QStringLiteral("24:00");
    const int doppelpunkt = t.indexOf(QLatin1Char(':'));
    int h = t.left(doppelpunkt).trimmed().toInt();
    int m = t.mid(doppelpunkt + 1).trimmed().toInt();
    if (hoch) {
        m += 10;
        if (m >= 60) {
            m = 0;
            if (h != 24) ++h;
        }
    } else {
        m -= 10;
        if (m < 0) {
            if (h == 0) {
                h = 24;
                m = 0;
            } else {
                m = 50;
                --h;
            }
        }
    }
    if (h == 24 && m > 0) h = 0;
    return zweistellig(h) + QLatin1Char(':') + zweistellig(m);
}

bool istUhrzeitForm(const QString& zeit) {
    return zeit.size() == 5 && zeit.indexOf(QLatin1Char(':')) == 2;
}

bool istUhrzeit(const QString& zeit) {
    static const QRegularExpression form(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$|^24:00$"));
    return form.match(zeit).hasMatch();
}

double gewichtsSchrittweite(int knopf) {
    switch (knopf) {
    case 1:
        return 10.0;
    case 2:
        return 1.0;
    default:
        return 0.1;
    }
}

double gewichtSchritt(double wert, double schritt, bool hoch) {
    if (hoch) return wert <= 500.0 ? wert + schritt : wert;
    // A weight below zero is no weight: such a step is not taken.
    if (wert >= 1.0 && wert - schritt >= -1e-9) return std::max(0.0, wert - schritt);
    return wert;
}

QString gewichtText(double wert) {
    // 12 significant digits hide the error that repeated 0.1 steps leave behind.
    QString text = QString::number(wert, 'g', 12);
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

std::optional<double> liesGewicht(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^[0-9]+([,.][0-9]+)?$"));
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch()) return std::nullopt;
    QString c = t;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double wert = c.toDouble(&ok);
    if (!ok) return std::nullopt;
    return wert;
}

QString meldungZuSchwer() {
    return QStringLiteral("Die Eingabe von mehr als %1 Kilogramm ist nicht möglich!").arg(monatstabelle::kMaxGewicht);
}

std::optional<double> pruefeGewichtEingabe(const QString& text, QString* meldung) {
    static const QRegularExpression form(QStringLiteral("^[0-9]{1,3}([,.][0-9])?$"));
    static const QRegularExpression zuGenau(QStringLiteral("^[0-9]+[,.][0-9]{2,}$"));
    const QString t = text.trimmed();
    if (!form.match(t).hasMatch()) {
        if (zuGenau.match(t).hasMatch())
            *meldung = QStringLiteral("\"%1\": Das Gewicht wird mit höchstens einer Stelle nach dem Komma "
                                      "eingegeben.")
                           .arg(t);
        else if (liesGewicht(t).value_or(0) > monatstabelle::kMaxGewicht)
            *meldung = meldungZuSchwer();
        else
            *meldung = QStringLiteral("\"") + text + QStringLiteral("\" ist kein gültiger Gleitkommawert.");
        return std::nullopt;
    }
    const double wert = QString(t).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    if (wert > monatstabelle::kMaxGewicht) {
        *meldung = meldungZuSchwer();
        return std::nullopt;
    }
    if (wert > 0 && wert < 1) {
        *meldung = QStringLiteral("Ein Gewicht unter 1 Kilogramm ist nicht möglich. Ohne Gewicht bleibt "
                                  "\"Das Gewicht eingeben\" ausgeschaltet.");
        return std::nullopt;
    }
    return wert;
}

QString datumsFehler(int tag, int monat, int jahr) {
    if (QDate(jahr, monat, tag).isValid()) return {};
    return QStringLiteral("Das Datum %1.%2.%3 gibt es nicht. Bitte prüfen Sie Tag, Monat und Jahr.")
        .arg(zweistellig(tag), zweistellig(monat))
        .arg(jahr);
}

QString mittelwertText(double mittel) {
    return QStringLiteral("Monatlicher Mittelwert: ") + TMonatsGrafik::formatiereGewicht(mittel) +
           QStringLiteral(" Kg");
}

bool fuenfzehnKiloAbstand(double gewicht, double mittel) {
    // Both come from decimal texts of a few decimals: a difference of exactly 15 that binary
    // fractions put a hair below (15,4 against 30,4) is still 15.
    return std::fabs(gewicht - mittel) >= 15.0 - 1e-9;
}

QString tagOderMonatNormal(const QString& text) {
    QString t = text;
    if (t.isEmpty() || t.size() > 3) t = QStringLiteral("1");
    if (t.size() == 1) t.prepend(QLatin1Char('0'));
    return t;
}

QString jahrNormal(const QString& text) {
    return text.size() == 4 ? text : QStringLiteral("1900");
}

QString wertNormal(const QString& text) {
    return text.isEmpty() ? QStringLiteral("1") : text;
}

QString monatAusEintrag(const QString& eintrag) {
    const int punkt = eintrag.indexOf(QLatin1Char('.'));
    return punkt < 0 ? QString() : eintrag.mid(punkt + 1, 2);
}

QString jahrAusEintrag(const QString& eintrag) {
    const int erster = eintrag.indexOf(QLatin1Char('.'));
    const int zweiter = erster < 0 ? -1 : eintrag.indexOf(QLatin1Char('.'), erster + 1);
    return zweiter < 0 ? QString() : eintrag.mid(zweiter + 1, 4);
}

namespace {
struct SlotTexte {
    const char* praefix; // in the table line
    const char* knopf;   // on the slot button
    const char* zeit;    // setting of its default time
};
constexpr SlotTexte kSlotTexte[4] = {{"Morgens den ", "Morgens", "UhrzeitMorgens"},
                                     {"Messung2 den ", "Messung 2", "UhrzeitMessung2"},
                                     {"Messung3 den ", "Messung 3", "UhrzeitMessung3"},
                                     {"Abends den ", "Abends", "UhrzeitAbends"}};
const SlotTexte& slotTexte(int slot) {
    return kSlotTexte[slot >= 2 && slot <= 4 ? slot - 1 : 0];
}
} // namespace

QString slotPraefix(int slot) {
    return QLatin1String(slotTexte(slot).praefix);
}

QString slotKnopfText(int slot) {
    return QLatin1String(slotTexte(slot).knopf);
}

QString slotZeitEinstellung(int slot) {
    return QLatin1String(slotTexte(slot).zeit);
}

int naechsterSlot(int slot, const std::array<bool, 4>& aktiv) {
    for (int schritt = 1; schritt < 4; ++schritt) {
        const int kandidat = (slot - 1 + schritt) % 4 + 1;
        if (aktiv[kandidat - 1]) return kandidat;
    }
    return slot;
}

int ersterSlot(const std::array<bool, 4>& aktiv) {
    for (int i = 0; i < 4; ++i)
        if (aktiv[i]) return i + 1;
    return 1;
}

QString neueZeile(int slot, const Messwerte& w) {
    return slotPraefix(slot) + QLatin1Char(' ') + w.tag + QLatin1Char('.') + w.monat + QLatin1Char('.') +
           w.jahr + QStringLiteral(" Z=") + w.zeit + QStringLiteral(" s=") + w.sys + QStringLiteral(", d=") +
           w.dia + QStringLiteral(", p=") + w.puls + QStringLiteral(", Gewicht=") + w.gewicht;
}

QString datumsSchluessel(int slot, const QString& tag, const QString& monat, const QString& jahr) {
    return slotPraefix(slot) + tag + QLatin1Char('.') + monat + QLatin1Char('.') + jahr;
}

int findeDuplikat(const QStringList& liste, const QString& schluessel) {
    for (int i = 0; i < liste.size(); ++i) {
        QString ohneTab = liste.at(i);
        ohneTab.remove(QLatin1Char('\t'));
        if (ohneTab.contains(schluessel)) return i;
    }
    return -1;
}

QString duplikatMeldung(const QString& schluessel) {
    return QStringLiteral("Ein Eintrag mit dem Datum: ") + schluessel +
           QStringLiteral(" existiert schon in der Liste!");
}

namespace {
QString abweichungsMeldung(const QString& anfang, const QString& feld, const QString& neuerSatz) {
    return anfang + feld +
           QStringLiteral("\" sie stimmt nicht mit den bisherigen Eintragungen überein!\r\n") + neuerSatz +
           QStringLiteral("\r\n\"OK/Grafik zeigen\" und wählen den Menüpunkt \"Tabelle|neu erstellen "
                          "(neuer Monat oder Jahr)\"\r\noder den Menüpunkt \"Datei|neu erstellen (neuer "
                          "Monat oder Jahr)\"");
}
} // namespace

QString monatsMeldung(const QString& monatFeld) {
    return abweichungsMeldung(QStringLiteral("Überprüfen Sie bitte die Monatsangabe \""), monatFeld,
                              QStringLiteral("Wenn Sie eine Tabelle für einen neuen Monat beginnen möchten, "
                                             "dann betätigen Sie den Schalter "));
}

QString jahresMeldung(const QString& jahrFeld) {
    return abweichungsMeldung(QStringLiteral("Überprüfen Sie bitte die Jahresangabe \""), jahrFeld,
                              QStringLiteral("Wenn Sie eine Tabelle für ein neues Jahr beginnen möchten, "
                                             "dann betätigen Sie den Schalter "));
}

Felder felderAusEintrag(const QString& eingabe) {
    QString text = eingabe;
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    Felder f;
    const int den = text.indexOf(QLatin1String("den "));
    if (den >= 0) {
        const QString praefix = text.left(den + 4);
        for (int slot = 1; slot <= 4; ++slot)
            if (praefix.startsWith(slotPraefix(slot).left(slotPraefix(slot).size() - 4))) f.slot = slot;
        const QString rest = text.mid(den + 4);
        const int p1 = rest.indexOf(QLatin1Char('.'));
        const int p2 = p1 < 0 ? -1 : rest.indexOf(QLatin1Char('.'), p1 + 1);
        if (p1 >= 0) f.tag = rest.left(p1).trimmed();
        if (p2 >= 0) {
            f.monat = rest.mid(p1 + 1, p2 - p1 - 1).trimmed();
            const int blank = rest.indexOf(QLatin1Char(' '), p2 + 1);
            f.jahr = (blank < 0 ? rest.mid(p2 + 1) : rest.mid(p2 + 1, blank - p2 - 1)).trimmed();
        }
    }
    const int z = text.indexOf(QLatin1String("Z="));
    if (z >= 0) f.zeit = text.mid(z + 2, 5);
    f.sys = wertNach(text, QStringLiteral("s="));
    f.dia = wertNach(text, QStringLiteral("d="));
    f.puls = wertNach(text, QStringLiteral("p="));
    const int gewicht = text.indexOf(QLatin1String("Gewicht="));
    if (gewicht >= 0) f.gewicht = text.mid(gewicht + 8).trimmed();
    return f;
}

QString touchTextNormal(const QString& text) {
    return text.isEmpty() || text.size() > 4 ? QStringLiteral("0") : text;
}

int touchSchritt(TouchZiel ziel, int wert, bool hoch) {
    switch (ziel) {
    case TouchZiel::Sys:
    case TouchZiel::Dia:
    case TouchZiel::Puls:
        if (hoch) return wert <= 500 ? wert + 1 : wert;
        return wert >= 2 ? wert - 1 : wert;
    case TouchZiel::Tag:
        if (hoch) return wert < 31 ? wert + 1 : wert;
        return wert >= 2 ? wert - 1 : wert;
    case TouchZiel::Monat:
        if (hoch) return wert < 12 ? wert + 1 : wert;
        return wert >= 2 ? wert - 1 : wert;
    case TouchZiel::Jahr:
        if (hoch) return wert + 1;
        return wert >= 1994 ? wert - 1 : wert;
    default:
        return wert;
    }
}

QString touchText(TouchZiel ziel, int wert) {
    if (ziel == TouchZiel::Tag || ziel == TouchZiel::Monat) return zweistellig(wert);
    return QString::number(wert);
}

bool istUhrzeitZeichen(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char(':') ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

int ersteFremdeStelle(const QString& text) {
    for (int i = 0; i < text.size(); ++i)
        if (!istUhrzeitZeichen(text.at(i))) return i;
    return -1;
}

bool uhrzeitWaehlbar(const QString& zeile) {
    return zeile.size() == 5 && ersteFremdeStelle(zeile) < 0;
}

} // namespace eingaberegeln
