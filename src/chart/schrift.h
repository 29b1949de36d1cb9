#pragma once
// Fonts and text output of the chart pictures. Sizes are points at 96 dpi, turned into pixels
// so a template's own resolution never changes the lettering.
#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

namespace schrift {

// "Verdana", "MS Sans Serif" ... (substituted at start), bold.
QFont fett(const QString& familie, int punkte);
// Writes text with its top-left corner at (x, y), like a canvas text output: when hintergrund
// is valid the text cell is filled with it first. Returns the width of the text.
int schreibe(QPainter& p, int x, int y, const QString& text, const QFont& font, const QColor& farbe,
             const QColor& hintergrund = QColor());

} // namespace schrift

// A horizontal line from x1 to x2, both ends included, the width centred on row y.
void waagerecht(QPainter& p, int x1, int x2, int y, const QColor& farbe, int breite);
