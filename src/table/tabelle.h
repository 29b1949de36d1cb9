#pragma once
// The month as a table: 32 rows (headers, then days 1 to 31) by 22 columns (date, four readings of
// time and three values each, separators, weight). One picture of it serves the window, the
// clipboard, printing and the exports.
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <array>

class QPainter;

namespace tabelle {

constexpr int kZeilen = 32;
constexpr int kSpalten = 22;
constexpr int kBreite = 60;          // a column in pixels
constexpr int kTrennerBreite = 15;   // columns 5, 10, 15, 20
constexpr int kHoehe = 24;           // a row in pixels
constexpr int kGewichtSpalte = 21;

bool istTrenner(int spalte);

struct Gitter {
    std::array<std::array<QString, kSpalten>, kZeilen> zellen;
    std::array<int, kSpalten> breiten{};
    const QString& zelle(int zeile, int spalte) const { return zellen[zeile][spalte]; }
};

// The header texts of row 0, and the short ones a text copy uses.
const std::array<QString, kSpalten>& kopfTexte();
const std::array<QString, kSpalten>& kurzeKopfTexte();

// The grid of the entry dialog's list (reading lines, TABs between their pieces or not): every
// reading cell four blanks and its value text, an empty cell two blanks, the day's weight (or the
// mean of its weights, "  * 75,5") in the last column.
Gitter ErstelleTabelle(const QStringList& liste);

// The text a selection copies (left, top, right, bottom inclusive): short headers joined by two
// blanks in row 0, other rows' cells by TABs without the separator columns, CR LF after each row.
QString TextKopieren(const Gitter& gitter, const QRect& auswahl);

// The whole grid as it shows on screen, surrounded by a frame: columns of width + 1 pixels, rows of
// 25; 1164 x 802 for the standard grid with a 1-pixel frame.
QImage TabelleAlsBild(const Gitter& gitter, const QColor& rahmenFarbe = Qt::black, int rahmenBreite = 1);

// The selection's part of the picture: 61 pixels a column (16 a separator), 25 a row, one pixel more
// each way; one cell gives 62 x 26.
QImage markierterBereichAlsBild(const Gitter& gitter, const QRect& auswahl);

// Prints the grid on one page of painter's device: title above it, margins in points (screen
// pixels count as points), scale, silver cells for fixed ones (there are none), dark grey lines.
// dpiX/dpiY are the device's dots per inch; seite is the page's full rectangle in device dots.
void TabelleDrucken(QPainter& maler, const Gitter& gitter, const QString& titel, int dpiX, int dpiY,
                    int linkerRand = 40, int obererRand = 65, double massstab = 0.65);

} // namespace tabelle
