// The weight chart: a 15-kg window chosen from the month's weights, its scale, curve and mean.
#include "chart/schrift.h"
#include "chart/tmonatsgrafik.h"
#include "platform/zahlen.h"

#include <QPainter>

namespace {

struct Gewichtspunkt {
    int x;
    int kg;
};

QList<Gewichtspunkt> punkteAus(const QStringList& liste) {
    QList<Gewichtspunkt> punkte;
    punkte.reserve(liste.size());
    for (const QString& eintrag : liste) {
        const qsizetype blank = eintrag.indexOf(u' ');
        punkte.append({zahlen::ganzzahl(QStringView(eintrag).first(qMax<qsizetype>(blank, 0))).value_or(0),
                       zahlen::ganzzahl(QStringView(eintrag).sliced(blank + 1)).value_or(0)});
    }
    return punkte;
}

} // namespace

int TMonatsGrafik::waehleGewichtsFenster(int niedrigst, int hoechst) {
    int gewaehlt = -1;
    for (int k = 0; k <= 295; k += 5)
        if (niedrigst >= k && k <= hoechst && hoechst <= k + 15) gewaehlt = k;
    return gewaehlt;
}

QList<TMonatsGrafik::Beschriftung> TMonatsGrafik::gewichtsSkala(int k) {
    QList<Beschriftung> skala;
    const int werte[4] = {k + 15, k + 10, k + 5, k};
    const int zeilen[4] = {0, 35, 70, 105};
    for (int i = 0; i < 4; ++i) {
        if (werte[i] == 0) continue;
        const QString text = QString::number(werte[i]);
        const int x = text.size() >= 3 ? 8 : text.size() == 2 ? 14 : 20;
        skala.append({text, QPoint(x, zeilen[i]), QColor(Qt::black)});
    }
    return skala;
}

void TMonatsGrafik::SchreibeZahlenInGewichtsGrafikLinks() {
    QPainter p(&GewichtImage);
    const QFont font = schrift::fett(QStringLiteral("Verdana"), 8);
    for (const Beschriftung& b : gewichtsSkala(gewichtFensterStart))
        schrift::schreibe(p, b.ort.x(), b.ort.y(), b.text, font, b.farbe, Qt::white);
}

void TMonatsGrafik::ZeichneGewichtInGrafik() {
    const QList<Gewichtspunkt> punkte = punkteAus(GewichtsListe);
    if (punkte.isEmpty()) return;
    int niedrigst = punkte.first().kg, hoechst = punkte.first().kg;
    for (const Gewichtspunkt& g : punkte) {
        niedrigst = qMin(niedrigst, g.kg);
        hoechst = qMax(hoechst, g.kg);
    }
    const int k = waehleGewichtsFenster(niedrigst, hoechst);
    gewichtFensterPasst = k >= 0;
    if (gewichtFensterPasst) {
        gewichtFensterStart = k;
    } else {
        gewichtMeldung = QStringLiteral("Nicht eingeordnet! ") + QString::number(niedrigst) +
                         QStringLiteral("  ") + QString::number(hoechst);
        // The window that holds the lowest weight; the rest runs off the top.
        gewichtFensterStart = niedrigst / 5 * 5;
    }
    // Written after the window is chosen so the labels always belong to the curve.
    SchreibeZahlenInGewichtsGrafikLinks();

    int hoechsterPunkt = GewichtImage.height();
    {
        QPainter p(&GewichtImage);
        p.setPen(QPen(farbeGewicht, stiftBreite, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        QPoint vorher;
        for (qsizetype i = 0; i < punkte.size(); ++i) {
            const QPoint punkt(punkte.at(i).x, GewichtInPixel(punkte.at(i).kg));
            hoechsterPunkt = qMin(hoechsterPunkt, punkt.y());
            if (i > 0 && punkt != vorher) p.drawLine(punkt, vorher);
            vorher = punkt;
        }
    }
    SchreibeMonatsMittelwInGewichtsGrafik(hoechsterPunkt < 18 ? 122 : 6);
}

void TMonatsGrafik::SchreibeMonatsMittelwInGewichtsGrafik(int zeile) {
    if (!gewichtSichtbar || MittelwertModus) return;
    gewichtsMittelText = QStringLiteral("Kg = ") + formatiereGewicht(MonatsMittelGewicht);
    gewichtsMittelZeile = zeile;
    QPainter p(&GewichtImage);
    const QFont font = schrift::fett(QStringLiteral("Verdana"), 8);
    schrift::schreibe(p, 64, zeile, QStringLiteral("Mittelwert:"), font, Qt::black, Qt::white);
    schrift::schreibe(p, 150, zeile, gewichtsMittelText, font, farbeGewicht, Qt::white);
}

void TMonatsGrafik::zeichneGewichtsMittelLinie() {
    const QList<Gewichtspunkt> punkte = punkteAus(GewichtsListe);
    if (punkte.isEmpty()) return;
    const int y = GewichtInPixel(int(RundeGanzzahl(MonatsMittelGewicht)));
    QPainter p(&GewichtImage);
    waagerecht(p, punkte.first().x + 3, punkte.last().x - 3, y, FarbeAufhellen(farbeGewicht, 30),
               stiftBreite);
}
