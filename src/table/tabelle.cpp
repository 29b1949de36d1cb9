#include "table/tabelle.h"

#include "platform/zahlen.h"

#include <QLocale>
#include <cmath>
#include <optional>

namespace tabelle {
namespace {

// The piece of the rest before the marker, cut off with it; blanks at the start of what is left
// are dropped. A missing marker gives an empty piece and leaves the rest.
QString schneide(QString& rest, const QString& marke) {
    const qsizetype pos = rest.indexOf(marke);
    if (pos < 0) return {};
    const QString stueck = rest.left(pos);
    rest = rest.mid(pos);
    qsizetype i = 0;
    while (i < rest.size() && rest.at(i) == u' ')
        ++i;
    rest = rest.mid(i);
    return stueck;
}

void ohneBisGleich(QString& teil) {
    const qsizetype gleich = teil.indexOf(u'=');
    if (gleich >= 0) teil.remove(0, gleich + 1);
}

void ohneErstesKomma(QString& teil) {
    const qsizetype komma = teil.indexOf(u',');
    if (komma >= 0) teil.remove(komma, 1);
}

// A weight as the table stores it ("70,5"); nullopt when it is none.
std::optional<double> gewichtWert(const QString& text) {
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool ok = false;
    const double wert = t.toDouble(&ok);
    if (!ok || !std::isfinite(wert)) return std::nullopt;
    return wert;
}

} // namespace

bool istTrenner(int spalte) {
    return spalte == 5 || spalte == 10 || spalte == 15 || spalte == 20;
}

const std::array<QString, kSpalten>& kopfTexte() {
    static const std::array<QString, kSpalten> texte = {
        QStringLiteral("  DATUM"),  QStringLiteral("MORGENS"),  QStringLiteral("SYSTOLE"), QStringLiteral("DIASTOLE"),
        QStringLiteral("   PULS"),  QStringLiteral(" "),        QStringLiteral("  MESS.2"), QStringLiteral("SYSTOLE"),
        QStringLiteral("DIASTOLE"), QStringLiteral("   PULS"),  QStringLiteral(" "),        QStringLiteral("  MESS.3"),
        QStringLiteral("SYSTOLE"),  QStringLiteral("DIASTOLE"), QStringLiteral("   PULS"),  QStringLiteral(" "),
        QStringLiteral(" ABENDS"),  QStringLiteral("SYSTOLE"),  QStringLiteral("DIASTOLE"), QStringLiteral("   PULS"),
        QStringLiteral(" "),        QStringLiteral(" GEWICHT")};
    return texte;
}

const std::array<QString, kSpalten>& kurzeKopfTexte() {
    static const std::array<QString, kSpalten> texte = {
        QStringLiteral("  DATUM"),    QStringLiteral("MORGENS "), QStringLiteral("SYST.  "),    QStringLiteral("DIAST."),
        QStringLiteral("   PULS  "),  QStringLiteral(" "),        QStringLiteral("  MESS.2  "), QStringLiteral("SYST.   "),
        QStringLiteral("DIAST.  "),   QStringLiteral("   PULS"),  QStringLiteral(" "),          QStringLiteral("  MESS.3  "),
        QStringLiteral("SYST.   "),   QStringLiteral("DIAST."),   QStringLiteral("   PULS  "),  QStringLiteral(" "),
        QStringLiteral(" ABENDS  "),  QStringLiteral("SYST.   "), QStringLiteral("DIAST. "),    QStringLiteral("   PULS"),
        QStringLiteral(" "),          QStringLiteral(" GEWICHT")};
    return texte;
}

Gitter ErstelleTabelle(const QStringList& liste) {
    Gitter g;
    for (auto& zeile : g.zellen)
        zeile.fill(QStringLiteral("  "));
    for (int s = 0; s < kSpalten; ++s)
        g.breiten[s] = istTrenner(s) ? kTrennerBreite : kBreite;
    g.zellen[0] = kopfTexte();
    for (int tag = 1; tag <= 31; ++tag)
        g.zellen[tag][0] = QStringLiteral("      %1").arg(tag, 2, 10, QLatin1Char('0'));

    double summe = 0;
    int anzahl = 0;
    QString vorherTag;
    // A line without "den" repeats the previous reading: the parts outlive one line.
    QString slot, datum, zeit, sys, dia, puls, gewicht;

    // The day's weight, or the mean of its weights; a day that is no row (a one-digit day) has none.
    auto schreibeGewicht = [&](const QString& tagText) {
        bool ok = false;
        const int zeile = tagText.toInt(&ok);
        if (ok && zeile >= 1 && zeile <= 31) {
            QString text;
            if (anzahl > 1) {
                const double mittel = zahlen::rundeHalbGerade(summe / anzahl, 1);
                text = QStringLiteral("  * ") + QLocale().toString(mittel, 'f', 1).rightJustified(4, u'0');
            } else {
                QLocale deutsch;
                deutsch.setNumberOptions(QLocale::OmitGroupSeparator);
                text = QStringLiteral("    ") + deutsch.toString(summe, 'g', 12);
            }
            g.zellen[zeile][kGewichtSpalte] = text;
        }
        summe = 0;
        anzahl = 0;
    };

    for (const QString& eintrag : liste) {
        QString zeile = QString(eintrag).remove(u'\t');
        if (zeile.contains(QStringLiteral("den"))) {
            const qsizetype den = zeile.indexOf(QStringLiteral("den"));
            const qsizetype slotEnde = qMin<qsizetype>(den + 4, zeile.size());
            slot = zeile.left(slotEnde);
            QString rest = zeile.mid(slotEnde);
            qsizetype i = 0;
            while (i < rest.size() && rest.at(i) == u' ')
                ++i;
            rest = rest.mid(i);
            datum = schneide(rest, QStringLiteral("Z="));
            zeit = schneide(rest, QStringLiteral("s="));
            sys = schneide(rest, QStringLiteral("d="));
            dia = schneide(rest, QStringLiteral("p="));
            if (rest.contains(QStringLiteral("Gewicht="))) {
                puls = schneide(rest, QStringLiteral("Gewicht="));
                gewicht = rest.trimmed();
            } else {
                puls = rest.trimmed();
                gewicht.clear();
            }
            for (QString* teil : {&zeit, &sys, &dia, &puls, &gewicht})
                ohneBisGleich(*teil);
            for (QString* teil : {&sys, &dia, &puls})
                ohneErstesKomma(*teil);
            if (gewicht == QLatin1String("0")) gewicht.clear();
        }
        const QString tag = datum.left(2);
        if (!vorherTag.isEmpty() && vorherTag != tag) schreibeGewicht(vorherTag);

        for (int r = 1; r <= 31; ++r) {
            if (!datum.startsWith(g.zellen[r][0].trimmed() + u'.')) continue;
            int erste = -1;
            if (slot.contains(QStringLiteral("Morgens")))
                erste = 1;
            else if (slot.contains(QStringLiteral("Messung2")))
                erste = 6;
            else if (slot.contains(QStringLiteral("Messung3")))
                erste = 11;
            else if (slot.contains(QStringLiteral("Abend")))
                erste = 16;
            if (erste > 0) {
                const QString werte[4] = {zeit, sys, dia, puls};
                for (int k = 0; k < 4; ++k)
                    g.zellen[r][erste + k] = QStringLiteral("    ") + werte[k];
            }
            // A weight that is no number (a line still to be corrected) counts as none.
            if (!gewicht.isEmpty())
                if (const auto wert = gewichtWert(gewicht)) {
                    summe += *wert;
                    ++anzahl;
                }
            break;
        }
        vorherTag = tag;
    }
    if (!liste.isEmpty()) schreibeGewicht(vorherTag);
    return g;
}

QString TextKopieren(const Gitter& gitter, const QRect& auswahl) {
    const int links = qBound(0, auswahl.left(), kSpalten - 1), rechts = qBound(0, auswahl.right(), kSpalten - 1);
    const int oben = qBound(0, auswahl.top(), kZeilen - 1), unten = qBound(0, auswahl.bottom(), kZeilen - 1);
    QString text;
    for (int r = oben; r <= unten; ++r) {
        for (int s = links; s <= rechts; ++s) {
            const QString& zelle = r == 0 ? kurzeKopfTexte()[s] : gitter.zelle(r, s);
            if (s == rechts)
                text += zelle;
            else if (r == 0 && !zelle.isEmpty())
                text += zelle + QStringLiteral("  ");
            else if (r != 0 && !zelle.isEmpty() && !istTrenner(s))
                text += zelle + u'\t';
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace tabelle
