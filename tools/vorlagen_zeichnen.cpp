// Draws the three template pictures the chart starts from: Vorlage.bmp (day grid and mmHg rows),
// GewichtVorlage.bmp (day grid of the weight chart) and Header.bmp (legend strip).
// Usage: korvane_vorlagen <folder>   (writes 24-bit BMP files into <folder>)
//
// The grid must match the chart's pixel frame exactly, since the program draws the curves
// onto these pictures without any grid of its own. Everything stays light so that the blue,
// green, pink and brown curves and the red notes stand out.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>

namespace {

// Frame of the chart, in bitmap pixels.
constexpr int kBreite = 570;
constexpr int kHoeheKurven = 464;
constexpr int kHoeheGewicht = 136;
constexpr int kHoeheKopf = 21;

constexpr int tagX(int tag) {
    return 41 + 16 * (tag - 1);
}
constexpr int rasterY(int mmHg) {
    return 61 + 2 * (220 - mmHg);
}

// Grid area: x < 33 stays free for the scales the program writes there.
constexpr int kRasterLinks = 33;
constexpr int kRasterRechts = 545;
constexpr int kSpalteOben = 40;
constexpr int kSpalteUnten = 461;

const QColor kHintergrund(255, 255, 255);
const QColor kTagesLinie(228, 228, 236);
const QColor kZeilenLinie(218, 228, 244);
const QColor kGrenzLinie(190, 206, 236); // 140 and 90 mmHg
const QColor kTagesZahl(120, 120, 120);
const QColor kKopfHintergrund(215, 248, 252);
const QColor kKopfRand(180, 226, 234);

QImage leeresBild(int hoehe, const QColor& farbe) {
    QImage bild(kBreite, hoehe, QImage::Format_RGB888);
    bild.fill(farbe);
    return bild;
}

void linie(QPainter& p, const QColor& farbe, int x1, int y1, int x2, int y2) {
    p.setPen(QPen(farbe, 1, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(x1, y1, x2, y2);
}

void tagesSpalten(QPainter& p, int oben, int unten) {
    for (int tag = 1; tag <= 31; ++tag)
        linie(p, kTagesLinie, tagX(tag), oben, tagX(tag), unten);
}

QFont schrift(const QString& familie, int pixel, bool fett) {
    QFont f(familie);
    f.setPixelSize(pixel);
    f.setBold(fett);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QImage kurvenVorlage() {
    QImage bild = leeresBild(kHoeheKurven, kHintergrund);
    QPainter p(&bild);

    // Day numbers centred on their columns between rows 20 and 38.
    p.setFont(schrift(QStringLiteral("DejaVu Sans"), 10, false));
    p.setPen(kTagesZahl);
    for (int tag = 1; tag <= 31; ++tag)
        p.drawText(QRect(tagX(tag) - 8, 20, 17, 18), Qt::AlignCenter, QString::number(tag));

    tagesSpalten(p, kSpalteOben, kSpalteUnten);
    // Rows after columns, so the 10-mmHg lines run through unbroken.
    for (int mmHg = 220; mmHg >= 20; mmHg -= 10) {
        const bool grenze = mmHg == 140 || mmHg == 90;
        linie(p, grenze ? kGrenzLinie : kZeilenLinie, kRasterLinks, rasterY(mmHg), kRasterRechts,
              rasterY(mmHg));
    }
    return bild;
}

QImage gewichtVorlage() {
    QImage bild = leeresBild(kHoeheGewicht, kHintergrund);
    QPainter p(&bild);
    tagesSpalten(p, 7, 112);
    for (int y : {7, 42, 77, 112})
        linie(p, kZeilenLinie, kRasterLinks, y, kRasterRechts, y);
    return bild;
}

QImage kopfLeiste() {
    QImage bild = leeresBild(kHoeheKopf, kKopfHintergrund);
    QPainter p(&bild);
    linie(p, kKopfRand, 0, 0, kBreite - 1, 0);
    linie(p, kKopfRand, 0, kHoeheKopf - 1, kBreite - 1, kHoeheKopf - 1);

    // The program draws the coloured legend strokes at row 11 left of each word
    // (x 15-55, 150-190, 290-330, 440-480), so the words start just after them.
    p.setFont(schrift(QStringLiteral("Liberation Sans"), 12, true));
    p.setPen(Qt::black);
    const struct {
        int x;
        const char* wort;
    } woerter[] = {{65, "systolisch"}, {200, "diastolisch"}, {343, "Puls/Minute"}, {490, "Gewicht"}};
    for (const auto& w : woerter)
        p.drawText(QRect(w.x, 1, kBreite - w.x, kHoeheKopf - 2), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(w.wort));
    return bild;
}

bool speichern(const QImage& bild, const QString& ordner, const QString& name) {
    const QString pfad = QDir(ordner).filePath(name);
    if (!bild.save(pfad, "BMP")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(pfad));
        return false;
    }
    std::printf("%s\n", qPrintable(pfad));
    return true;
}

// Substitutes would move the day numbers and legend words; refuse to draw with them.
bool schriftVorhanden(const QString& familie) {
    const QFontInfo info(QFont{familie});
    if (info.family().compare(familie, Qt::CaseInsensitive) == 0) return true;
    std::fprintf(stderr, "font \"%s\" not installed (got \"%s\")\n", qPrintable(familie),
                 qPrintable(info.family()));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    if (!schriftVorhanden(QStringLiteral("DejaVu Sans")) ||
        !schriftVorhanden(QStringLiteral("Liberation Sans")))
        return 1;
    const QString ordner = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(ordner)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const bool ok = speichern(kurvenVorlage(), ordner, QStringLiteral("Vorlage.bmp")) &&
                    speichern(gewichtVorlage(), ordner, QStringLiteral("GewichtVorlage.bmp")) &&
                    speichern(kopfLeiste(), ordner, QStringLiteral("Header.bmp"));
    return ok ? 0 : 1;
}
