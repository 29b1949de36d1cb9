#pragma once
// The chart page: the chart with its title, the weight chart and the remarks when they are shown,
// their captions and the legend strip, composed into one picture; and that page above the table.
// The JPEG export, the PDF documents and the command line all take it from here.
#include "storage/zustand.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

class TMonatsGrafik;

namespace bildexport {

struct Grafikseite {
    QImage grafik;               // the chart picture
    QImage gewicht;              // the weight chart picture
    bool gewichtSichtbar = false;
    int gewichtHoehe = 136;      // the weight chart as shown in the normal window
    int gewichtBreite = 570;
    QString bemerkungen;
    bool bemerkungenSichtbar = true;
    QSize bemerkungGroesse{570, 76};
    QFont bemerkungSchrift;
    QImage legende;              // the legend strip of the bottom panel
    QString titel;               // "Korvanemesswerte  März 2024  Anna"
    QString gewichtUeberschrift = QStringLiteral("Gewichtsverlauf");
    QString bemerkungUeberschrift = QStringLiteral("Bemerkungen");
};

// The page as the main window shows it in its normal size.
Grafikseite grafikseiteAus(const TMonatsGrafik& grafik, bool gewichtSichtbar, bool bemerkungenSichtbar);

// Composes the chart page. pause (milliseconds) runs between the steps, so a window can show the
// work going on; nothing waits when it is not given.
QImage Die4BilderZusammenfuegen(const Grafikseite& seite, const std::function<void(int)>& pause = {});

// The table picture with the title above it: the table squeezed into all but the top 80 pixels.
QImage tabellenBildMitTitel(const QImage& tabelle, const QString& titel);

// The chart page centred above the table picture, as wide as the table; white beside the chart.
QImage BilderZusammenfuegen(const QImage& grafikseite, const QImage& tabellenbild);

// "Korvanemesswerte  März 2024  Anna" -> "M_rz_2024_Anna": letters, digits, "." and "_" only, short
// enough for a file name with ".jpg".
QString BildName(const QString& kopfText);

// The year folder of the month shown: its year, never digits of the user's name; this year when no
// month is shown.
QString jahrDesMonats(const Zustand& z);

// Where a chart JPEG of that name goes: the month's year folder.
QString jpegPfad(const Zustand& z, const QString& bildName);

// Writes the picture as a JPEG whole; false with a German message naming the path.
bool schreibeJpeg(const QString& pfad, const QImage& bild, QString* fehler);

} // namespace bildexport
