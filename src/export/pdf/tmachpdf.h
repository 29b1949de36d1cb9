#pragma once
// The program's own PDF 1.4 writer: pages of text lines (the fourteen standard fonts, never
// embedded) and RGB images. It knows no layout: callers place everything by coordinates, in points
// from the top-left of the page. A finished page's content and pictures wait in a temporary file,
// so a document of many months takes no more memory than one; EndDoc puts them in place.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QFuture>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <memory>
#include <optional>

class QIODevice;
class QTemporaryFile;

struct TPDFFont {
    quint8 nummer = 4; // 0..13, see the font table
    int groesse = 12;  // points
};

class TmachPDF {
public:
    TmachPDF();
    ~TmachPDF();
    TmachPDF(const TmachPDF&) = delete;
    TmachPDF& operator=(const TmachPDF&) = delete;

    // The target; when it is known before the pages are drawn, they wait beside it.
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

    void BeginDoc();
    void TextOut(int x, int y, const QString& text);
    void TextLines(int x, int y, const QStringList& zeilen);
    // The whole page stands for breiteZoll x hoeheZoll inches of screen pixels; both 0: 8 x 10.625.
    // gedreht: the picture goes in turned a quarter clockwise (its left column, read from the
    // bottom up, becomes the top row), without a turned copy. The picture is compressed while the
    // caller draws the next one.
    void DrawImage(int x, int y, double breiteZoll, double hoeheZoll, QImage bild, bool gedreht = false);
    void DrawImage(int x, int y, const QImage& bild) { DrawImage(x, y, 0, 0, bild); }
    void NewPage();
    // The finished file's bytes, empty when the document cannot be written; the document stays as
    // it is until the next BeginDoc.
    QByteArray EndDocBytes();
    // Ends the document and writes FileName whole; false with a German message naming the file,
    // and then nothing is written.
    bool EndDoc(QString* fehler = nullptr);

    // Characters of the texts drawn so far that Windows-1252 cannot hold; a document with any is
    // not written.
    QString nichtDarstellbar() const { return m_nichtDarstellbar; }

    static const char* const kSchriften[14];

    // zlib's compress2, the one call each picture and page content is compressed with; a test
    // puts in one that fails. nullptr: compress2.
    using Komprimierer = int (*)(unsigned char*, unsigned long*, const unsigned char*, unsigned long, int);
    static void setzeKomprimierer(Komprimierer k);

private:
    // Bytes in the temporary file.
    struct Stueck {
        qint64 ab = 0, laenge = 0;
    };
    struct Bild {
        int breite = 0, hoehe = 0;
        bool komprimiert = true;
        QFuture<qsizetype> laenge; // of its stream in m_roh or m_aus; -1 when it could not be made
    };

    void zeile(const QByteArray& text);
    void objektBeginnen(int nummer);
    void inhaltBeginnen();
    void inhaltBeenden();
    QByteArray text(const QString& t);
    QByteArray zahl(qint64 n) const { return QByteArray::number(n); }
    // Puts a finished object into the temporary file.
    Stueck ablegen(std::initializer_list<QByteArrayView> teile);
    // The picture compressed last, once it is done, into the temporary file.
    void bildAblegen();
    void abschliessen();
    bool schreibeDokument(QIODevice& ziel);

    QByteArray m_info, m_objekt, m_seite; // the information object; the object and page content being built
    std::unique_ptr<QTemporaryFile> m_ablage;
    QList<Stueck> m_inhalte;     // each page's content and length objects, in order
    QList<Stueck> m_bilder;      // each image object, in image order
    std::optional<Bild> m_offen; // the picture being compressed
    QByteArray m_roh, m_aus;     // its RGB rows and their zlib stream; reused by the next picture
    int m_bildAnzahl = 0;
    QString m_fehler; // why the document cannot be written; empty while it can
    int m_ablageNummer = 0; // errno of a failed write of the parts waiting in the temporary file
    int m_seiten = 0;
    bool m_beendet = false;
    QString m_nichtDarstellbar;
};
