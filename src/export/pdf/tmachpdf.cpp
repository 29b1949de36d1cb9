#include "export/pdf/tmachpdf.h"

#include "platform/datei.h"
#include "platform/textdatei.h"
#include "platform/uhr.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <zlib.h>

const char* const TmachPDF::kSchriften[14] = {
    "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique", "Courier",
    "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique", "Times-Roman",        "Times-Bold",
    "Times-Italic", "Times-BoldItalic", "Symbol",            "ZapfDingbats"};

namespace {

const QByteArray kZeilenende("\r\n");

// A zlib stream (header and Adler-32 trailer) at the default level.
QByteArray deflate(const QByteArray& daten) {
    uLongf laenge = compressBound(uLong(daten.size()));
    QByteArray ergebnis(qsizetype(laenge), Qt::Uninitialized);
    const int status = compress2(reinterpret_cast<Bytef*>(ergebnis.data()), &laenge,
                                 reinterpret_cast<const Bytef*>(daten.constData()), uLong(daten.size()),
                                 Z_DEFAULT_COMPRESSION);
    if (status != Z_OK) return {};
    ergebnis.truncate(qsizetype(laenge));
    return ergebnis;
}

// A picture's red, green and blue bytes, rows from the top, no fill bytes; turned, the picture
// as turned a quarter clockwise (its left column, read from the bottom up, is the top row). The
// rows are made one at a time as zlib takes them, so the pixels are never copied whole: a table
// page would otherwise cost two more copies of itself.
class RgbZeilen {
public:
    RgbZeilen(const QImage& bild, bool gedreht)
        : m_quelle(bild.format() == QImage::Format_RGB32 || bild.format() == QImage::Format_RGB888
                       ? bild
                       : bild.convertToFormat(QImage::Format_RGB888)),
          m_gedreht(gedreht), m_breite(gedreht ? m_quelle.height() : m_quelle.width()) {}
    int hoehe() const { return m_gedreht ? m_quelle.width() : m_quelle.height(); }
    qsizetype laenge() const { return qsizetype(m_breite) * 3; }
    // Row r, valid until the next call with the same buffer.
    const Bytef* zeile(int r, QByteArray& puffer) const {
        const bool rgb888 = m_quelle.format() == QImage::Format_RGB888;
        if (rgb888 && !m_gedreht) return m_quelle.constScanLine(r);
        if (puffer.size() < laenge()) puffer.resize(laenge());
        Bytef* z = reinterpret_cast<Bytef*>(puffer.data());
        if (!m_gedreht) {
            const QRgb* p = reinterpret_cast<const QRgb*>(m_quelle.constScanLine(r));
            for (int x = 0; x < m_breite; ++x)
                setze(z + 3 * x, p[x]);
            return z;
        }
        // Turned: row r is the source's column r, from its last row up.
        const uchar* unten = m_quelle.constScanLine(m_breite - 1);
        const qsizetype schritt = m_quelle.bytesPerLine();
        for (int x = 0; x < m_breite; ++x) {
            const uchar* q = unten - schritt * x;
            if (rgb888) {
                std::memcpy(z + 3 * x, q + 3 * qsizetype(r), 3);
            } else {
                setze(z + 3 * x, reinterpret_cast<const QRgb*>(q)[r]);
            }
        }
        return z;
    }

private:
    static void setze(Bytef* z, QRgb farbe) {
        z[0] = Bytef(qRed(farbe));
        z[1] = Bytef(qGreen(farbe));
        z[2] = Bytef(qBlue(farbe));
    }
    const QImage m_quelle;
    const bool m_gedreht;
    const int m_breite;
};

// A picture is compressed in pieces of about this many bytes, each on a thread of its own, and
// the pieces are joined into one zlib stream at the default level: each piece is primed with the
// 32 KiB before it, as one stream would see them, and all but the last end on a byte boundary. The
// size is fixed, never taken from the machine, so every machine writes the same bytes; a picture
// of one piece gets exactly compress2's stream.
constexpr qsizetype kStueck = 512 * 1024;
constexpr qsizetype kFenster = 32 * 1024;

struct Stueck {
    QByteArray daten; // raw deflate
    uLong adler = 1;  // Adler-32 of the piece's bytes
    bool ok = false;
};

// Rows [von, bis) as raw deflate data.
Stueck komprimiereStueck(const RgbZeilen& zeilen, int von, int bis, bool letztes) {
    Stueck ergebnis;
    z_stream strom{};
    if (deflateInit2(&strom, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return ergebnis;
    QByteArray puffer;
    const qsizetype laenge = zeilen.laenge();
    int status = Z_OK;
    if (von > 0 && laenge > 0) {
        QByteArray davor;
        const int ab = std::max(0, von - int((kFenster + laenge - 1) / laenge));
        for (int r = ab; r < von; ++r)
            davor.append(reinterpret_cast<const char*>(zeilen.zeile(r, puffer)), laenge);
        const QByteArray fenster = davor.right(kFenster);
        status = deflateSetDictionary(&strom, reinterpret_cast<const Bytef*>(fenster.constData()), uInt(fenster.size()));
    }
    QByteArray& aus = ergebnis.daten;
    aus.resize(qsizetype(deflateBound(&strom, uLong(laenge * (bis - von)))) + 16);
    for (int r = laenge == 0 ? bis : von; r <= bis && status == Z_OK; ++r) {
        const bool ende = r == bis;
        const int flush = !ende ? Z_NO_FLUSH : letztes ? Z_FINISH : Z_SYNC_FLUSH;
        const Bytef* z = ende || laenge == 0 ? nullptr : zeilen.zeile(r, puffer);
        if (z) ergebnis.adler = adler32(ergebnis.adler, z, uInt(laenge));
        strom.next_in = const_cast<Bytef*>(z);
        strom.avail_in = z ? uInt(laenge) : 0;
        do {
            if (strom.total_out == uLong(aus.size())) aus.resize(aus.size() * 2 + 64);
            strom.next_out = reinterpret_cast<Bytef*>(aus.data()) + strom.total_out;
            strom.avail_out = uInt(aus.size() - qsizetype(strom.total_out));
            status = deflate(&strom, flush);
        } while (status == Z_OK && (strom.avail_in > 0 || (ende && strom.avail_out == 0)));
    }
    deflateEnd(&strom);
    ergebnis.ok = letztes ? status == Z_STREAM_END : status == Z_OK;
    aus.truncate(qsizetype(strom.total_out));
    return ergebnis;
}

QByteArray bildDaten(const QImage& bild, bool komprimiert, bool gedreht) {
    const RgbZeilen zeilen(bild, gedreht);
    const int hoehe = zeilen.hoehe();
    const qsizetype laenge = zeilen.laenge();
    QByteArray puffer;
    if (!komprimiert) {
        QByteArray roh;
        roh.reserve(laenge * hoehe);
        for (int r = 0; r < hoehe; ++r)
            roh.append(reinterpret_cast<const char*>(zeilen.zeile(r, puffer)), laenge);
        return roh;
    }
    const int proStueck = laenge == 0 ? std::max(hoehe, 1) : int(std::max<qsizetype>(1, kStueck / laenge));
    const int stuecke = std::max(1, (hoehe + proStueck - 1) / proStueck);
    std::vector<std::future<Stueck>> weitere;
    for (int i = 1; i < stuecke; ++i)
        weitere.push_back(std::async(std::launch::async, komprimiereStueck, std::cref(zeilen), i * proStueck,
                                     std::min(hoehe, (i + 1) * proStueck), i == stuecke - 1));
    std::vector<Stueck> teile;
    teile.push_back(komprimiereStueck(zeilen, 0, std::min(hoehe, proStueck), stuecke == 1));
    for (std::future<Stueck>& f : weitere)
        teile.push_back(f.get());

    // zlib's header for a 32 KiB window at the default level, the pieces, the Adler-32 of all.
    QByteArray aus("\x78\x9c", 2);
    uLong adler = 1;
    for (int i = 0; i < stuecke; ++i) {
        if (!teile[size_t(i)].ok) return {};
        aus += teile[size_t(i)].daten;
        const int zeilenImStueck = std::min(hoehe, (i + 1) * proStueck) - i * proStueck;
        adler = adler32_combine(adler, teile[size_t(i)].adler, z_off_t(laenge * zeilenImStueck));
    }
    for (int verschiebung = 24; verschiebung >= 0; verschiebung -= 8)
        aus += char((adler >> verschiebung) & 0xFF);
    return aus;
}

} // namespace

TmachPDF::TmachPDF() : Author(QStringLiteral("Korvane")), Creator(Author), Producer(Author) {}

void TmachPDF::zeile(const QByteArray& text) {
    m_objekt += text;
    m_objekt += kZeilenende;
}

QByteArray TmachPDF::text(const QString& t) {
    // Whole characters, each once: two emoji share their first UTF-16 unit.
    if (!textdatei::istDarstellbar(t))
        m_nichtDarstellbar = textdatei::nichtDarstellbareZeichen(m_nichtDarstellbar + t);
    const QByteArray roh = textdatei::nachWin1252(t);
    QByteArray s;
    s.reserve(roh.size() + 2);
    s += '(';
    for (char c : roh) {
        // A line break inside a string would end neither the string nor the line: escaped.
        if (c == '\\' || c == '(' || c == ')')
            s += '\\', s += c;
        else if (c == '\r')
            s += "\\r";
        else if (c == '\n')
            s += "\\n";
        else
            s += c;
    }
    s += ')';
    return s;
}

void TmachPDF::objektBeginnen(int nummer) {
    m_objekt.clear();
    zeile(zahl(nummer) + " 0 obj");
}

void TmachPDF::objektAbschliessen() {
    m_dokument += m_objekt;
    m_versatz << m_dokument.size(); // where the next object begins
    m_objekt.clear();
}

void TmachPDF::BeginDoc() {
    m_seiten = 1;
    m_nummer = 0;
    m_dokument.clear();
    m_objekt.clear();
    m_seite.clear();
    m_bilder.clear();
    m_versatz.clear();
    m_inhalte.clear();
    m_schriften.clear();
    m_nichtDarstellbar.clear();
    m_beendet = false;
    if (!erstellt.isValid()) erstellt = Uhr::dokumentZeit();

    m_dokument = "%PDF-1.4" + kZeilenende;
    m_versatz << m_dokument.size();

    objektBeginnen(++m_nummer);
    zeile("<<");
    zeile("/Producer " + text(Producer));
    zeile("/Author " + text(Author));
    zeile("/CreationDate (D:" + erstellt.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + ")");
    zeile("/Creator " + text(Creator));
    zeile("/Keywords " + text(Keywords));
    zeile("/Subject " + text(Subject));
    zeile("/Title " + text(TITLE));
    zeile("/ModDate ()");
    zeile(">>");
    zeile("endobj");
    objektAbschliessen();
    inhaltBeginnen();
}

void TmachPDF::inhaltBeginnen() {
    const int nummer = 2 * m_seiten;
    m_nummer = nummer;
    m_inhalte << nummer;
    objektBeginnen(nummer);
    zeile("<< /Length " + zahl(nummer + 1) + " 0 R");
    if (Compress) zeile("/Filter [/FlateDecode]");
    zeile(" >>");
    zeile("stream");
    m_seite.clear();
}

void TmachPDF::inhaltBeenden() {
    const qsizetype vorher = m_objekt.size();
    m_objekt += Compress ? deflate(m_seite) : m_seite;
    const qint64 laenge = m_objekt.size() - vorher;
    zeile("endstream");
    zeile("endobj");
    objektAbschliessen();
    m_nummer = 2 * m_seiten + 1;
    objektBeginnen(m_nummer);
    zeile(zahl(laenge));
    zeile("endobj");
    objektAbschliessen();
}

void TmachPDF::NewPage() {
    inhaltBeenden();
    ++m_seiten;
    inhaltBeginnen();
}

void TmachPDF::TextOut(int x, int y, const QString& t) {
    m_seite += "BT" + kZeilenende;
    m_seite += "/F" + zahl(Font.nummer + 1) + ' ' + zahl(Font.groesse) + " Tf" + kZeilenende;
    m_seite += zahl(x) + ' ' + zahl(PageHeight - y) + " Td" + kZeilenende;
    m_seite += text(t) + " Tj" + kZeilenende;
    m_seite += "ET" + kZeilenende;
}

void TmachPDF::TextLines(int x, int y, const QStringList& zeilen) {
    m_seite += "BT" + kZeilenende;
    m_seite += "/F" + zahl(Font.nummer + 1) + ' ' + zahl(Font.groesse) + " Tf" + kZeilenende;
    m_seite += zahl(x) + ' ' + zahl(PageHeight - y) + " Td" + kZeilenende;
    for (const QString& z : zeilen) {
        m_seite += text(z) + " Tj" + kZeilenende;
        m_seite += "0 -12.0 TD" + kZeilenende;
    }
    m_seite += "ET" + kZeilenende;
}

PdfBild PdfBild::aus(QImage bild, bool komprimiert, bool gedreht) {
    PdfBild b;
    b.m_breite = gedreht ? bild.height() : bild.width();
    b.m_hoehe = gedreht ? bild.width() : bild.height();
    b.m_komprimiert = komprimiert;
    b.m_daten = std::async(std::launch::async, [bild = std::move(bild), komprimiert, gedreht]() mutable {
        return bildDaten(std::exchange(bild, QImage()), komprimiert, gedreht);
    }).share();
    return b;
}

void TmachPDF::DrawImage(int x, int y, double breiteZoll, double hoeheZoll, const PdfBild& bild) {
    double sx, sy;
    if (breiteZoll != 0 && hoeheZoll != 0) {
        sx = PageWidth / (pixelProZollX * breiteZoll);
        sy = PageHeight / (pixelProZollY * hoeheZoll);
    } else {
        sx = PageWidth / (pixelProZollX * 8);
        sy = PageHeight / (pixelProZollY * 10.625);
    }
    const qsizetype nummer = m_bilder.size() + 1;
    const qint64 w = std::lround(bild.breite() * sx), h = std::lround(bild.hoehe() * sy);
    m_seite += "q" + kZeilenende;
    m_seite += zahl(w) + " 0 0 " + zahl(h) + ' ' + zahl(x) + ' ' + zahl(PageHeight - y - h) + " cm" + kZeilenende;
    m_seite += "/Im" + zahl(nummer) + " Do" + kZeilenende;
    m_seite += "Q" + kZeilenende;

    // A picture is compressed beside the document and lets go of its pixels when done. Before a
    // third is taken the one two back must be done, so a document of many months holds little
    // more than their compressed bytes.
    constexpr size_t kGleichzeitig = 2;
    if (m_bilder.size() >= kGleichzeitig) m_bilder[m_bilder.size() - kGleichzeitig].warte();
    m_bilder.push_back(bild);
}

QByteArray TmachPDF::EndDocBytes() {
    if (m_beendet) return m_dokument;
    m_beendet = true;
    inhaltBeenden();

    const int outlines = ++m_nummer;
    objektBeginnen(outlines);
    zeile("<< /Type /Outlines");
    zeile("/Count 0");
    zeile(">>");
    zeile("endobj");
    objektAbschliessen();

    for (int k = 1; k <= 14; ++k) {
        m_schriften << ++m_nummer;
        objektBeginnen(m_nummer);
        zeile("<< /Type /Font");
        zeile("/Subtype /Type1");
        zeile("/Name /F" + zahl(k));
        zeile("/BaseFont /" + QByteArray(kSchriften[k - 1]));
        zeile("/Encoding /WinAnsiEncoding");
        zeile(">>");
        zeile("endobj");
        objektAbschliessen();
    }

    const int seiten = ++m_nummer;
    const int bilder = int(m_bilder.size());
    objektBeginnen(seiten);
    zeile("<< /Type /Pages");
    zeile("/Kids [");
    for (int i = 1; i <= m_seiten; ++i)
        zeile(zahl(seiten + 1 + bilder + i) + " 0 R");
    zeile("]");
    zeile("/Count " + zahl(m_seiten));
    zeile(">>");
    zeile("endobj");
    objektAbschliessen();

    const int ressourcen = ++m_nummer;
    objektBeginnen(ressourcen);
    zeile("<< /ProcSet [ /PDF /Text /ImageC]");
    zeile("/XObject << ");
    for (int k = 1; k <= bilder; ++k)
        zeile("/Im" + zahl(k) + ' ' + zahl(ressourcen + k) + " 0 R");
    zeile(">>");
    zeile("/Font << ");
    for (int k = 1; k <= 14; ++k)
        zeile("/F" + zahl(k) + ' ' + zahl(m_schriften.at(k - 1)) + " 0 R ");
    zeile(">>");
    zeile(">>");
    zeile("endobj");
    objektAbschliessen();

    for (size_t i = 0; i < m_bilder.size(); ++i) {
        const PdfBild& bild = m_bilder[i];
        const QByteArray& daten = bild.daten();
        objektBeginnen(++m_nummer);
        zeile("<< /Type /XObject");
        zeile("/Subtype /Image");
        zeile("/Width " + zahl(bild.breite()));
        zeile("/Height " + zahl(bild.hoehe()));
        zeile("/ColorSpace /DeviceRGB");
        zeile("/BitsPerComponent 8");
        zeile("/Length " + zahl(daten.size()));
        zeile("/Name /Im" + zahl(qint64(i) + 1));
        if (bild.komprimiert()) zeile("/Filter [/FlateDecode]");
        zeile(">>");
        zeile("stream");
        m_objekt += daten;
        m_objekt += "\r\nendstream" + kZeilenende;
        zeile("endobj");
        objektAbschliessen();
    }

    for (int i = 0; i < m_seiten; ++i) {
        objektBeginnen(++m_nummer);
        zeile("<< /Type /Page");
        zeile("/Parent " + zahl(seiten) + " 0 R");
        zeile("/MediaBox [ 0 0 " + zahl(PageWidth) + ' ' + zahl(PageHeight) + "]");
        zeile("/Contents " + zahl(m_inhalte.at(i)) + " 0 R");
        zeile("/Resources " + zahl(ressourcen) + " 0 R");
        zeile(">>");
        zeile("endobj");
        objektAbschliessen();
    }

    const int katalog = ++m_nummer;
    objektBeginnen(katalog);
    zeile("<< /Type /Catalog");
    zeile("/Pages " + zahl(seiten) + " 0 R");
    zeile("/Outlines " + zahl(outlines) + " 0 R");
    zeile(">>");
    zeile("endobj");
    objektAbschliessen();

    // The offsets: object k starts at m_versatz[k - 1]; the last entry is where xref stands.
    const int groesse = katalog + 1;
    m_objekt.clear();
    zeile("xref");
    zeile("0 " + zahl(groesse));
    zeile("0000000000 65535 f");
    for (int k = 1; k < groesse; ++k)
        zeile(QByteArray::number(m_versatz.at(k - 1)).rightJustified(10, '0') + " 00000 n");
    zeile("trailer");
    zeile("<< /Size " + zahl(groesse));
    zeile("/Root " + zahl(katalog) + " 0 R");
    zeile("/Info 1 0 R");
    zeile(">>");
    zeile("startxref");
    zeile(zahl(m_versatz.last()));
    zeile("%%EOF");
    m_dokument += m_objekt;
    m_objekt.clear();
    return m_dokument;
}

bool TmachPDF::EndDoc(QString* fehler) {
    const QByteArray bytes = EndDocBytes();
    if (!m_nichtDarstellbar.isEmpty()) {
        if (fehler)
            *fehler = QStringLiteral("Die Zeichen \u00BB%1\u00AB k\u00F6nnen in der PDF-Datei nicht dargestellt werden. "
                                     "Die Datei \"%2\" wird nicht geschrieben.")
                          .arg(m_nichtDarstellbar, FileName);
        return false;
    }
    const datei::Geschrieben g = datei::schreibe(FileName, bytes);
    if (g) return true;
    if (fehler) *fehler = datei::schreibMeldung(FileName, g);
    return false;
}
