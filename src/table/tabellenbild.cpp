// The table drawn: into an image at screen pixels (window, clipboard, exports) and on a printer page.
#include "chart/schrift.h"
#include "table/tabelle.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace tabelle {
namespace {

// Arial bold 8 pt, as the grid shows it.
QFont zellenSchrift() {
    return schrift::fett(QStringLiteral("Arial"), 8);
}

const QColor kGitterLinie(0xC0, 0xC0, 0xC0);

// Left edge of each column and the full width, at screen pixels (a column takes its width and a
// one-pixel line).
std::array<int, kSpalten + 1> spaltenKanten(const Gitter& g, int start) {
    std::array<int, kSpalten + 1> kanten{};
    kanten[0] = start;
    for (int s = 0; s < kSpalten; ++s)
        kanten[s + 1] = kanten[s] + g.breiten[s] + 1;
    return kanten;
}

} // namespace

QImage TabelleAlsBild(const Gitter& gitter, const QColor& rahmenFarbe, int rahmenBreite) {
    const auto x = spaltenKanten(gitter, rahmenBreite);
    const int breite = x[kSpalten] + rahmenBreite;
    const int hoehe = 2 * rahmenBreite + kZeilen * (kHoehe + 1);
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(rahmenFarbe);
    QPainter p(&bild);
    const QFont font = zellenSchrift();
    const QFontMetrics fm(font);
    p.setFont(font);
    for (int r = 0; r < kZeilen; ++r) {
        const int y = rahmenBreite + r * (kHoehe + 1);
        for (int s = 0; s < kSpalten; ++s) {
            const QRect zelle(x[s], y, gitter.breiten[s], kHoehe);
            // The cell and the grid line to its right and below it.
            p.fillRect(zelle.x(), zelle.y(), zelle.width() + 1, zelle.height() + 1, kGitterLinie);
            p.fillRect(zelle, Qt::white);
            p.save();
            p.setClipRect(zelle);
            p.setPen(Qt::black);
            p.drawText(zelle.x() + 2, zelle.y() + 2 + fm.ascent(), gitter.zelle(r, s));
            p.restore();
        }
    }
    return bild;
}

QImage markierterBereichAlsBild(const Gitter& gitter, const QRect& auswahl) {
    const QImage ganz = TabelleAlsBild(gitter);
    auto teilung = [](int spalte) { return istTrenner(spalte) ? kTrennerBreite + 1 : kBreite + 1; };
    int x0 = 0, x1 = kBreite + 1;
    for (int s = 0; s < auswahl.left(); ++s)
        x0 += teilung(s);
    for (int s = 0; s < auswahl.right(); ++s)
        x1 += teilung(s);
    const int y0 = (kHoehe + 1) * auswahl.top();
    const int y1 = (kHoehe + 1) * (auswahl.bottom() + 1);
    return ganz.copy(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

void TabelleDrucken(QPainter& maler, const Gitter& gitter, const QString& titel, int dpiX, int dpiY,
                    int linkerRand, int obererRand, double massstab) {
    if (massstab <= 0) return;
    // Points (screen pixels count as points) to printer dots at the scale.
    auto punkteX = [&](double l) { return int(std::lround(l * dpiX / 72.0 * massstab)); };
    auto punkteY = [&](double l) { return int(std::lround(l * dpiY / 72.0 * massstab)); };
    const int einzug = punkteX(3);
    const int groesse = int(std::lround(8 / 0.72 * massstab));

    QFont titelSchrift(QStringLiteral("Arial"));
    titelSchrift.setBold(true);
    titelSchrift.setPointSize(groesse + 5);
    const int titelBreiteAmSchirm = QFontMetrics(titelSchrift).horizontalAdvance(titel);
    const int seitenBreite = maler.device()->width();
    maler.setFont(titelSchrift);
    maler.setPen(Qt::black);
    maler.drawText(qMax(0, seitenBreite / 2 - 3 * titelBreiteAmSchirm - 100), 250, titel);

    QFont zellen(QStringLiteral("Arial"));
    zellen.setBold(true);
    zellen.setPointSize(groesse);
    maler.setFont(zellen);
    const QPen linie(QColor(0x33, 0x33, 0x33), 1, Qt::SolidLine);

    int x = 1 + punkteX(linkerRand);
    for (int s = 0; s < kSpalten; ++s) {
        const int rechts = x + punkteX(gitter.breiten[s] + 1);
        int y = 1 + punkteY(obererRand);
        for (int r = 0; r < kZeilen; ++r) {
            const int unten = y + punkteY(kHoehe + 1);
            maler.setPen(linie);
            maler.setBrush(Qt::white);
            maler.drawRect(QRect(QPoint(x, y), QPoint(rechts + 2, unten + 2)));
            maler.setPen(Qt::black);
            const QRect text(QPoint(x + einzug, y + 1), QPoint(rechts - einzug, unten - 2));
            maler.save();
            maler.setClipRect(text);
            maler.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, gitter.zelle(r, s));
            maler.restore();
            y = unten;
        }
        x = rechts;
    }
}

} // namespace tabelle
