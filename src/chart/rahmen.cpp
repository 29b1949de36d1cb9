// The pictures, their templates and the pixel frame of the chart.
#include "chart/schrift.h"
#include "chart/tmonatsgrafik.h"
#include "platform/datei.h"
#include "platform/dialoge.h"
#include "storage/registry.h"

#include <QBuffer>
#include <QImageReader>
#include <QFontMetrics>
#include <QPainter>
#include <cmath>

namespace schrift {

QFont fett(const QString& familie, int punkte) {
    QFont f(familie);
    f.setPixelSize(qRound(punkte * 96.0 / 72.0));
    f.setBold(true);
    return f;
}

int schreibe(QPainter& p, int x, int y, const QString& text, const QFont& font, const QColor& farbe,
             const QColor& hintergrund) {
    const QFontMetrics fm(font);
    const int breite = fm.horizontalAdvance(text);
    if (hintergrund.isValid()) p.fillRect(x, y, breite, fm.height(), hintergrund);
    p.setFont(font);
    p.setPen(farbe);
    p.drawText(x, y + fm.ascent(), text);
    return breite;
}

} // namespace schrift

void waagerecht(QPainter& p, int x1, int x2, int y, const QColor& farbe, int breite) {
    if (x2 < x1) std::swap(x1, x2);
    p.fillRect(x1, y - breite / 2, x2 - x1 + 1, breite, farbe);
}

namespace {

// Larger templates are no chart templates; they would only cost memory: every picture made
// from one (chart, chart page, PDF page) is as large again.
constexpr int kMaxVorlagenSeite = 2000;

QImage ladeBild(const QString& pfad, const QString& eingebaut) {
    QImage bild;
    if (!pfad.isEmpty()) {
        const datei::Gelesen gelesen = datei::lies(pfad, datei::kGrenzeVorlage);
        QString grund = gelesen.meldung;
        if (gelesen.ok()) {
            QBuffer puffer;
            puffer.setData(gelesen.inhalt);
            QImageReader leser(&puffer);
            // The size from the header, before anything is decoded.
            const QSize groesse = leser.size();
            if (groesse.width() > kMaxVorlagenSeite || groesse.height() > kMaxVorlagenSeite)
                grund = QStringLiteral(
                            "Das Bild \"%1\" ist mit %2 \u00D7 %3 Pixeln zu gro\u00DF f\u00FCr eine Vorlage "
                            "(h\u00F6chstens %4 \u00D7 %4).")
                            .arg(pfad)
                            .arg(groesse.width())
                            .arg(groesse.height())
                            .arg(kMaxVorlagenSeite);
            else if (!groesse.isValid() || !leser.read(&bild))
                grund = QStringLiteral("Die Datei \"%1\" ist kein lesbares Bild.").arg(pfad);
        }
        // A missing template is usual (the built-in one stands in); anything else is said.
        if (bild.isNull() && gelesen.fehler != datei::Fehler::Fehlt)
            Dialoge::seam().warnung(grund + QStringLiteral(" Korvane verwendet die eingebaute Vorlage."));
    }
    if (bild.isNull()) bild.load(eingebaut);
    return bild.convertToFormat(QImage::Format_RGB32);
}

// Rows of the 10-mmHg steps k * 10, k = 2..22.
constexpr int rasterY(int k) {
    return 61 + 2 * (220 - k * 10);
}

} // namespace

TMonatsGrafik::TMonatsGrafik(Zustand& zustand, QObject* parent) : QObject(parent), z(zustand) {
    ladeVorlagen();
    ladeFarben();
}

void TMonatsGrafik::ladeVorlagen() {
    vorlageGrafik = ladeBild(z.grafikPfad, QStringLiteral(":/vorlagen/Vorlage.bmp"));
    vorlageGewicht = ladeBild(z.gewichtGrafikPfad, QStringLiteral(":/vorlagen/GewichtVorlage.bmp"));
    vorlageHeader = ladeBild(z.headerPfad, QStringLiteral(":/vorlagen/Header.bmp"));
    Image = vorlageGrafik;
    GewichtImage = vorlageGewicht;
    Image2 = vorlageHeader;
}

QColor TMonatsGrafik::farbeAusText(const QString& text, const QColor& vorgabe) {
    bool ok = false;
    const qlonglong wert = text.trimmed().toLongLong(&ok);
    if (!ok || wert < 0 || wert > 0xFFFFFF) return vorgabe;
    return QColor(int(wert & 0xFF), int((wert >> 8) & 0xFF), int((wert >> 16) & 0xFF));
}

QString TMonatsGrafik::farbeAlsText(const QColor& farbe) {
    return QString::number(farbe.red() | farbe.green() << 8 | farbe.blue() << 16);
}

QColor TMonatsGrafik::liesFarbe(const QString& einstellung) {
    // A hand-edited text that is no colour draws as the first-start colour, as a missing one does.
    return farbeAusText(Lies_String_aus_Registry_mit_Vorgabe(einstellung),
                        farbeAusText(registry::vorgabe(einstellung)));
}

void TMonatsGrafik::ladeFarben() {
    farbeSys = liesFarbe(QStringLiteral("SystolischKurvenFarbe"));
    farbeDia = liesFarbe(QStringLiteral("DiastolischKurvenFarbe"));
    farbePuls = liesFarbe(QStringLiteral("PulsKurvenFarbe"));
    farbeGewicht = liesFarbe(QStringLiteral("GewichtsKurvenFarbe"));
    farbePulsdruck = liesFarbe(QStringLiteral("PulsdruckFarbe"));
}

int TMonatsGrafik::liesStiftBreite() {
    bool ok = false;
    const int breite = Lies_String_aus_Registry_mit_Vorgabe(QStringLiteral("StiftBreite")).trimmed().toInt(&ok);
    return ok && breite >= kStiftBreiteMin && breite <= kStiftBreiteMax ? breite : kStiftBreiteVorgabe;
}

int TMonatsGrafik::TagX(int tag) {
    return tag >= 1 && tag <= 31 ? 41 + 16 * (tag - 1) : -1;
}

int TMonatsGrafik::SlotVersatz(int slot) {
    return slot >= 1 && slot <= 4 ? 4 * (slot - 1) : -1;
}

int TMonatsGrafik::WertInPixel(int wert) {
    if (wert < 20) return 461; // negatives count as 0
    if (wert < 220) return rasterY(wert / 10) - 2 * (wert % 10);
    if (wert == 220) return 61;
    return 40; // above the top row, still inside the picture
}

QColor TMonatsGrafik::FarbeAufhellen(const QColor& farbe, int prozent) {
    prozent = qBound(-128, prozent, 127);
    auto kanal = [prozent](int c) {
        if (prozent >= 0) return qMin(255, c + int(std::ceil((255 - c) * prozent / 100.0)));
        return qMax(0, int(c + c * prozent / 100.0));
    };
    return QColor(kanal(farbe.red()), kanal(farbe.green()), kanal(farbe.blue()));
}

void TMonatsGrafik::SchreibeZahlenInGrafikLinks() {
    QPainter p(&Image);
    schrift::schreibe(p, 2, 40, QStringLiteral("mmHg"), schrift::fett(QStringLiteral("Verdana"), 7),
                      Qt::black, Qt::white);
    const QFont zahlen = schrift::fett(QStringLiteral("Verdana"), 8);
    for (int k = 22; k >= 3; --k)
        schrift::schreibe(p, k >= 10 ? 8 : 14, rasterY(k) - 7, QString::number(k * 10), zahlen, Qt::black,
                          Qt::white);
}
