#include "export/image/grafikseite.h"

#include "chart/schrift.h"
#include "chart/tmonatsgrafik.h"
#include "export/image/jpeg.h"
#include "platform/datei.h"
#include "platform/uhr.h"
#include "storage/monatstabelle.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <QTextDocument>

namespace bildexport {
namespace {

const QColor kHellgrau(0xDF, 0xDF, 0xDF);

void warte(const std::function<void(int)>& pause, int ms) {
    if (pause) pause(ms);
}

// A caption centred on the picture, Verdana 10 bold, black on light grey.
void ueberschrift(QPainter& p, int breite, int y, const QString& text) {
    const QFont font = schrift::fett(QStringLiteral("Verdana"), 10);
    const int textBreite = QFontMetrics(font).horizontalAdvance(text);
    schrift::schreibe(p, breite / 2 - textBreite / 2, y, text, font, Qt::black, kHellgrau);
}

// A one-pixel frame whose right and bottom edges lie one pixel inside the corner given.
void rahmen(QPainter& p, int x1, int y1, int x2, int y2) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    // An outline of width w covers x .. x + w: the last column drawn is x2 - 1.
    p.drawRect(x1, y1, x2 - 1 - x1, y2 - 1 - y1);
}

QImage bemerkungsBild(const Grafikseite& s) {
    QImage bild(s.bemerkungGroesse, QImage::Format_RGB32);
    bild.fill(Qt::white);
    QTextDocument dokument;
    dokument.setDefaultFont(s.bemerkungSchrift);
    dokument.setDocumentMargin(1);
    dokument.setPlainText(s.bemerkungen);
    QPainter p(&bild);
    p.setClipRect(bild.rect());
    QAbstractTextDocumentLayout::PaintContext kontext;
    kontext.palette.setColor(QPalette::Text, Qt::black);
    kontext.clip = QRectF(bild.rect());
    dokument.documentLayout()->draw(&p, kontext);
    return bild;
}

} // namespace

Grafikseite grafikseiteAus(const TMonatsGrafik& g, bool gewichtSichtbar, bool bemerkungenSichtbar) {
    Grafikseite s;
    s.grafik = g.Image;
    s.gewicht = g.GewichtImage;
    s.gewichtSichtbar = gewichtSichtbar;
    s.gewichtHoehe = g.vorlageGewicht.isNull() ? 136 : g.vorlageGewicht.height();
    s.gewichtBreite = g.Image.width();
    s.bemerkungen = g.bemerkungen;
    s.bemerkungenSichtbar = bemerkungenSichtbar;
    s.bemerkungGroesse = QSize(g.Image.width(), 76);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    s.bemerkungSchrift = font;
    s.legende = g.Image2;
    s.titel = g.Label1;
    return s;
}

QImage Die4BilderZusammenfuegen(const Grafikseite& s, const std::function<void(int)>& pause) {
    const int hc = s.grafik.height(), wc = s.grafik.width(), hw = s.gewichtHoehe;
    const bool w = s.gewichtSichtbar, r = s.bemerkungenSichtbar;
    const int hoehe = w && r ? hc + 22 + hw + 22 + 76 + 22
                      : w    ? hc + 22 + hw + 22 + 2
                      : r    ? hc + 22 + 76 + 22
                             : hc + 22 + 22;
    QImage seite(wc, hoehe, QImage::Format_RGB32);
    seite.fill(Qt::white);

    QImage kopie = s.grafik.convertToFormat(QImage::Format_RGB32);
    {
        QPainter p(&kopie);
        const QFont font = schrift::fett(QStringLiteral("Verdana"), 10);
        const int textBreite = QFontMetrics(font).horizontalAdvance(s.titel);
        schrift::schreibe(p, kopie.width() / 2 - textBreite / 2, 44, s.titel, font, Qt::black, kHellgrau);
    }
    QPainter p(&seite);
    warte(pause, 1000);
    p.drawImage(wc / 2 - s.gewichtBreite / 2, 0, kopie);
    warte(pause, 1000);
    const QImage bemerkungen = r ? bemerkungsBild(s) : QImage();
    warte(pause, 1000);
    if (w && r) {
        p.drawImage(0, hc + 22, s.gewicht);
        p.drawImage(18, hc + 22 + hw + 22 + 2, bemerkungen);
        rahmen(p, 10, hc + 22 + hw + 22, seite.width() - 10, seite.height() - 2);
        ueberschrift(p, seite.width(), hc + 4, s.gewichtUeberschrift);
        ueberschrift(p, seite.width(), hc + 22 + hw + 6, s.bemerkungUeberschrift);
        p.drawImage(0, hc + 22 + hw + 22 + 76, s.legende);
    } else if (w) {
        p.drawImage(0, hc + 22, s.gewicht);
        ueberschrift(p, seite.width(), hc + 4, s.gewichtUeberschrift);
        p.drawImage(0, hc + 22 + hw + 2, s.legende);
    } else if (r) {
        p.drawImage(18, hc + 22 + 4, bemerkungen);
        ueberschrift(p, seite.width(), hc + 6, s.bemerkungUeberschrift);
        rahmen(p, 10, hc + 22, seite.width() - 10, seite.height() - 2);
        p.drawImage(0, hc + 22 + 76, s.legende);
    } else {
        p.drawImage(0, hc + 22, s.legende);
    }
    rahmen(p, 0, 0, seite.width(), seite.height());
    return seite;
}

QImage tabellenBildMitTitel(const QImage& tabelle, const QString& titel) {
    QImage bild(tabelle.size(), QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(0, 80, bild.width(), bild.height() - 80), tabelle);
    const QFont font = schrift::fett(QStringLiteral("Arial"), 12);
    const int textBreite = QFontMetrics(font).horizontalAdvance(titel);
    schrift::schreibe(p, bild.width() / 2 - textBreite / 2 - 10, 50, titel, font, Qt::black, Qt::white);
    return bild;
}

QImage BilderZusammenfuegen(const QImage& grafikseite, const QImage& tabellenbild) {
    QImage bild(tabellenbild.width(), tabellenbild.height() + grafikseite.height(), QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    p.drawImage(tabellenbild.width() / 2 - grafikseite.width() / 2, 0, grafikseite);
    p.drawImage(0, grafikseite.height(), tabellenbild);
    return bild;
}

QString BildName(const QString& kopfText) {
    const QString wort = QStringLiteral("Korvanemesswerte");
    QString name = kopfText;
    if (name.contains(wort)) name.remove(0, wort.size());
    name = name.trimmed();
    const qsizetype paar = name.indexOf(QStringLiteral("  "));
    if (paar >= 0) name.replace(paar, 2, QStringLiteral(" "));
    name.replace(u' ', u'_');
    for (QChar& c : name) {
        const bool erlaubt = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                             c == u'.' || c == u'_';
        if (!erlaubt) c = u'_';
    }
    // A file name holds 255 bytes: ".<name>.jpg.k.XXXXXX" is the longest the save needs.
    return name.left(240);
}

QString jahrDesMonats(const Zustand& z) {
    if (monatstabelle::istJahr(z.jahrText)) return z.jahrText;
    if (monatstabelle::istJahr(z.jahrOrdnerName)) return z.jahrOrdnerName;
    return QString::number(Uhr::heute().year());
}

QString jpegPfad(const Zustand& z, const QString& bildName) {
    return z.tabellenOrdner + jahrDesMonats(z) + u'/' + bildName + QStringLiteral(".jpg");
}

bool schreibeJpeg(const QString& pfad, const QImage& bild, QString* fehler) {
    const QByteArray bytes = jpeg::kodiere(bild);
    if (bytes.isEmpty()) {
        if (fehler) *fehler = QStringLiteral("Das Bild für \"%1\" konnte nicht erstellt werden.").arg(pfad);
        return false;
    }
    const datei::Geschrieben g = datei::schreibe(pfad, bytes);
    if (!g && fehler) *fehler = datei::schreibMeldung(pfad, g);
    return bool(g);
}

} // namespace bildexport
