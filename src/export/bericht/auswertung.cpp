#include "export/bericht/auswertung.h"

#include "chart/tmonatsgrafik.h"
#include "export/html/thtmlseite.h"
#include "platform/zahlen.h"

#include <QPainter>

namespace bericht {
namespace {

// summe / anzahl in units of 1/faktor, exact halves to the even unit, alike on both sides of 0 (a
// pulse pressure can be negative when a diastolic value was typed above its systolic one).
qint64 gerundet(qint64 summe, qint64 anzahl, qint64 faktor) {
    const qint64 betrag = zahlen::teileHalbGerade((summe < 0 ? -summe : summe) * faktor, anzahl);
    return summe < 0 ? -betrag : betrag;
}

void addiere(Summen& s, const zeitraum::Lesung& l) {
    ++s.anzahl;
    s.sys += l.sys;
    s.dia += l.dia;
    s.puls += l.puls;
}

void extrem(std::optional<Extrem>& e, const zeitraum::Lesung& l, int wert, bool kleiner) {
    if (!e || (kleiner ? wert < e->wert : wert > e->wert)) e = Extrem{wert, l.datum, l.zeit};
}

QString mittelText(qint64 summe, int anzahl, const QString& einheit) {
    return anzahl == 0 ? QStringLiteral("keine") : zehntelText(zehntel(summe, anzahl)) + u' ' + einheit;
}

QString extremText(const std::optional<Extrem>& e) {
    if (!e) return QStringLiteral("keine");
    return QStringLiteral("%1 mmHg am %2 um %3").arg(e->wert).arg(zeitraum::datumText(e->datum), e->zeit);
}

QString gewichtText(const std::optional<Gewicht>& g) {
    return g ? g->text + QStringLiteral(" kg am ") + zeitraum::datumText(g->datum) : QStringLiteral("keine");
}

} // namespace

qint64 zehntel(qint64 summe, qint64 anzahl) {
    return anzahl > 0 ? gerundet(summe, anzahl, 10) : 0;
}

QString zehntelText(qint64 z) {
    const qint64 betrag = z < 0 ? -z : z;
    return (z < 0 ? QStringLiteral("-") : QString()) + QString::number(betrag / 10) + u',' +
           QString::number(betrag % 10);
}

Auswertung werteAus(const QString& name, const QList<zeitraum::Lesung>& lesungen, const QDate& von,
                    const QDate& bis, bool ohneErstenTag) {
    Auswertung a;
    a.name = name;
    a.von = von;
    a.bis = bis;
    a.ohneErstenTag = ohneErstenTag;
    a.ab = ohneErstenTag ? von.addDays(1) : von;
    QDate letzterTag;
    qint64 gewichtSumme = 0;
    int gewichte = 0;
    for (const zeitraum::Lesung& l : lesungen) {
        if (l.datum < a.ab || l.datum > bis) continue;
        if (!l.gewichtText.isEmpty()) {
            if (!a.erstesGewicht) a.erstesGewicht = Gewicht{l.gewichtText, l.datum};
            a.letztesGewicht = Gewicht{l.gewichtText, l.datum};
            gewichtSumme += l.gewichtMillionstel;
            ++gewichte;
        }
        // 0 stands for "not measured": such a reading is no pressure reading.
        if (l.sys == 0 || l.dia == 0 || l.puls == 0) continue;
        if (l.datum != letzterTag) ++a.tage;
        letzterTag = l.datum;
        addiere(a.alle, l);
        if (l.slot == 1) addiere(a.morgens, l);
        if (l.slot == 4) addiere(a.abends, l);
        extrem(a.sysMin, l, l.sys, true);
        extrem(a.sysMax, l, l.sys, false);
        extrem(a.diaMin, l, l.dia, true);
        extrem(a.diaMax, l, l.dia, false);
        if (l.sys >= kSchwelleSys || l.dia >= kSchwelleDia) ++a.ueberSchwelle;
    }
    if (gewichte > 0) a.gewichtZehntel = gerundet(gewichtSumme, qint64(gewichte) * 100000, 1);
    return a;
}

QString grad(const Summen& s) {
    if (s.anzahl == 0) return QStringLiteral("keine");
    // As the HTML page: the mean with two decimals, then rounded half up to whole mmHg.
    auto ganz = [&](qint64 summe) { return int((gerundet(summe, s.anzahl, 100) + 50) / 100); };
    QString text = THtmlSeite::HypertonieGrad(ganz(s.sys), ganz(s.dia)).text;
    text = text.mid(text.indexOf(u':') + 1).trimmed();
    return text.isEmpty() ? QStringLiteral("nicht eingestuft") : text;
}

QStringList zeilen(const Auswertung& a) {
    QStringList z;
    z << QStringLiteral("Auswertung %1, %2 bis %3")
             .arg(a.name, zeitraum::datumText(a.von), zeitraum::datumText(a.bis));
    z << QStringLiteral("Ausgewertet: %1 bis %2%3")
             .arg(zeitraum::datumText(a.ab), zeitraum::datumText(a.bis),
                  a.ohneErstenTag ? QStringLiteral(" (erster Tag ausgelassen)") : QString());
    z << QStringLiteral("Tage mit Messungen: %1").arg(a.tage);
    z << QStringLiteral("Messungen: %1").arg(a.alle.anzahl);
    const std::pair<QString, const Summen*> gruppen[] = {{QStringLiteral("Mittelwert"), &a.alle},
                                                         {QStringLiteral("Morgens"), &a.morgens},
                                                         {QStringLiteral("Abends"), &a.abends}};
    for (const auto& [wort, s] : gruppen) {
        if (s != &a.alle) z << wort + QStringLiteral(" Messungen: ") + QString::number(s->anzahl);
        z << wort + QStringLiteral(" systolisch: ") + mittelText(s->sys, s->anzahl, QStringLiteral("mmHg"));
        z << wort + QStringLiteral(" diastolisch: ") + mittelText(s->dia, s->anzahl, QStringLiteral("mmHg"));
        z << wort + QStringLiteral(" Puls: ") + mittelText(s->puls, s->anzahl, QStringLiteral("/min"));
        z << wort + QStringLiteral(" Pulsdruck: ") +
                 mittelText(s->sys - s->dia, s->anzahl, QStringLiteral("mmHg"));
    }
    z << QStringLiteral("Niedrigster systolischer Wert: ") + extremText(a.sysMin);
    z << QStringLiteral("Höchster systolischer Wert: ") + extremText(a.sysMax);
    z << QStringLiteral("Niedrigster diastolischer Wert: ") + extremText(a.diaMin);
    z << QStringLiteral("Höchster diastolischer Wert: ") + extremText(a.diaMax);
    z << QStringLiteral("Anteil ab %1/%2 mmHg: ").arg(kSchwelleSys).arg(kSchwelleDia) +
             (a.alle.anzahl == 0
                  ? QStringLiteral("keine")
                  : QStringLiteral("%1 % (%2 von %3)")
                        .arg(zehntelText(zehntel(qint64(a.ueberSchwelle) * 100, a.alle.anzahl)))
                        .arg(a.ueberSchwelle)
                        .arg(a.alle.anzahl));
    z << QStringLiteral("Grad der Mittelwerte: ") + grad(a.alle);
    z << QStringLiteral("Gewicht erster Wert: ") + gewichtText(a.erstesGewicht);
    z << QStringLiteral("Gewicht letzter Wert: ") + gewichtText(a.letztesGewicht);
    z << QStringLiteral("Gewicht Mittelwert: ") +
             (a.gewichtZehntel ? zehntelText(*a.gewichtZehntel) + QStringLiteral(" kg")
                               : QStringLiteral("keine"));
    return z;
}

QString keineMessungen(const Auswertung& a) {
    if (a.alle.anzahl > 0) return {};
    return QStringLiteral("Im Zeitraum %1 bis %2 gibt es keine Messungen.")
        .arg(zeitraum::datumText(a.ab), zeitraum::datumText(a.bis));
}

void markiereZeitraum(QImage& grafik, int jahr, int monat, const QDate& ab, const QDate& bis) {
    const QDate erster(jahr, monat, 1);
    if (!erster.isValid() || grafik.isNull()) return;
    const QDate von = std::max(ab, erster), letzter = std::min(bis, erster.addMonths(1).addDays(-1));
    if (von > letzter) return;
    // A light band behind the curves from the first to the last day of the period: the day
    // columns are 16 pixels apart, the four slots 0 to 12 pixels right of a column.
    const int links = TMonatsGrafik::TagX(von.day()) - 3;
    const int rechts = TMonatsGrafik::TagX(letzter.day()) + 15;
    QPainter p(&grafik);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.fillRect(QRect(QPoint(links, 40), QPoint(rechts, std::min(grafik.height() - 2, 463))),
               QColor(255, 244, 190));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(QColor(200, 140, 0), 1));
    p.drawLine(links, 40, links, 463);
    p.drawLine(rechts, 40, rechts, 463);
}

void schreibeZahlenseiten(TmachPDF& pdf, const Auswertung& a, const QStringList& patientendaten, Platz platz,
                          int* seite) {
    const bool daten = !patientendaten.isEmpty() && platz != Platz::Keiner;
    auto seitenNummer = [&] {
        pdf.Font = {0, 8};
        pdf.TextOut(pdf.PageWidth / 2 - 10, 15, QStringLiteral("Seite ") + QString::number(*seite));
    };
    auto datenSeite = [&] {
        seitenNummer();
        pdf.Font = {1, 8};
        pdf.TextLines(50, 50, patientendaten);
    };
    *seite = 1;
    if (daten && platz == Platz::SeiteDavor) {
        datenSeite();
        pdf.NewPage();
        ++*seite;
    }
    seitenNummer();
    const QStringList z = zeilen(a);
    pdf.Font = {1, 14};
    pdf.TextOut(50, 60, z.first());
    pdf.Font = {0, 10};
    const QStringList zahlen = z.mid(1);
    pdf.TextLines(50, 90, zahlen);
    if (daten && platz == Platz::UnterDenZahlen) {
        pdf.Font = {1, 10};
        pdf.TextLines(50, 90 + 12 * int(zahlen.size()) + 24, patientendaten);
    }
    if (daten && platz == Platz::SeiteDanach) {
        pdf.NewPage();
        ++*seite;
        datenSeite();
    }
}

void schreibeGrafikseite(TmachPDF& pdf, const QImage& grafikseite, int* seite) {
    pdf.NewPage();
    ++*seite;
    pdf.Font = {0, 8};
    pdf.TextOut(pdf.PageWidth / 2 - 10, 15, QStringLiteral("Seite ") + QString::number(*seite));
    pdf.DrawImage(60, 40, grafikseite);
}

} // namespace bericht
