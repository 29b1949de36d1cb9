#pragma once
// The program's own PDF 1.4 writer: pages of text lines (the fourteen standard fonts, never
// embedded) and RGB images, held in memory and written whole when the document ends. It knows no
// layout: callers place everything by coordinates, in points from the top-left of the page.
#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <future>
#include <vector>

// A picture on its way into a document: its stream bytes (red, green and blue, compressed or
// not) are made on threads of their own from the moment it is made, so a caller can start a
// picture before the page that shows it. Copies share the bytes.
class PdfBild {
public:
    PdfBild() = default;
    // gedreht: the picture as turned a quarter clockwise (its left column, read from the bottom
    // up, becomes the top row), without a turned copy in memory.
    static PdfBild aus(QImage bild, bool komprimiert, bool gedreht = false);

    int breite() const { return m_breite; }
    int hoehe() const { return m_hoehe; }
    bool komprimiert() const { return m_komprimiert; }
    bool begonnen() const { return m_daten.valid(); }
    // The stream bytes; waits until they are made. None for a picture never made.
    const QByteArray& daten() const {
        static const QByteArray keine;
        return m_daten.valid() ? m_daten.get() : keine;
    }
    void warte() const {
        if (m_daten.valid()) m_daten.wait();
    }

private:
    int m_breite = 0, m_hoehe = 0;
    bool m_komprimiert = true;
    std::shared_future<QByteArray> m_daten;
};

struct TPDFFont {
    quint8 nummer = 4; // 0..13, see the font table
    int groesse = 12;  // points
};

class TmachPDF {
public:
    TmachPDF();

    QString FileName;
    QString TITLE;
    int PageWidth = 612;
    int PageHeight = 792;
    QString Author;
    QString Creator;
    QString Producer;
    QString Keywords;
    QString Subject;
    TPDFFont Font;
    bool Compress = true;
    // Screen pixels per inch: the images' scale. 96 without a screen.
    double pixelProZollX = 96;
    double pixelProZollY = 96;
    // /CreationDate; the clock's document time unless set.
    QDateTime erstellt;

    int PageNumber() const { return m_seiten; }

    void BeginDoc();
    void TextOut(int x, int y, const QString& text);
    void TextLines(int x, int y, const QStringList& zeilen);
    // The whole page stands for breiteZoll x hoeheZoll inches of screen pixels; both 0: 8 x 10.625.
    void DrawImage(int x, int y, double breiteZoll, double hoeheZoll, const QImage& bild) {
        DrawImage(x, y, breiteZoll, hoeheZoll, PdfBild::aus(bild, Compress));
    }
    void DrawImage(int x, int y, const QImage& bild) { DrawImage(x, y, 0, 0, bild); }
    // A picture started before: it keeps the compression it was started with.
    void DrawImage(int x, int y, double breiteZoll, double hoeheZoll, const PdfBild& bild);
    void NewPage();
    // The finished file's bytes; the document stays as it is until the next BeginDoc.
    QByteArray EndDocBytes();
    // Ends the document and writes FileName whole; false with a German message naming the file.
    bool EndDoc(QString* fehler = nullptr);

    // Characters of the texts drawn so far that Windows-1252 cannot hold; a document with any is
    // not written.
    QString nichtDarstellbar() const { return m_nichtDarstellbar; }

    static const char* const kSchriften[14];

private:
    void zeile(const QByteArray& text);
    void objektBeginnen(int nummer);
    void objektAbschliessen();
    void inhaltBeginnen();
    void inhaltBeenden();
    QByteArray text(const QString& t);
    QByteArray zahl(qint64 n) const { return QByteArray::number(n); }

    QByteArray m_dokument, m_objekt, m_seite;
    std::vector<PdfBild> m_bilder; // in image order
    QList<qint64> m_versatz;    // offsets: where each object starts, then the cross-reference table
    QList<int> m_inhalte, m_schriften;
    int m_nummer = 0, m_seiten = 0;
    bool m_beendet = false;
    QString m_nichtDarstellbar;
};
