#include "export/pdf/tmachpdf.h"

#include "platform/datei.h"
#include "platform/textdatei.h"
#include "platform/uhr.h"

#include <cmath>
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

// The image's red, green and blue bytes, rows from the top, no fill bytes; compressed, the zlib
// stream compress2 makes of them at the default level. The rows go to zlib one by one, so the
// pixels are never copied whole: a table page would otherwise cost two more copies of itself.
QByteArray bildDaten(const QImage& bild, bool komprimiert) {
    const QImage quelle = bild.format() == QImage::Format_RGB32 ? bild : bild.convertToFormat(QImage::Format_RGB888);
    const int breite = quelle.width(), hoehe = quelle.height();
    const qsizetype zeilenLaenge = qsizetype(breite) * 3;
    QByteArray puffer(zeilenLaenge, Qt::Uninitialized);
    auto zeile = [&](int r) -> const Bytef* {
        if (quelle.format() == QImage::Format_RGB888) return quelle.constScanLine(r);
        const QRgb* p = reinterpret_cast<const QRgb*>(quelle.constScanLine(r));
        Bytef* z = reinterpret_cast<Bytef*>(puffer.data());
        for (int x = 0; x < breite; ++x) {
            z[3 * x] = Bytef(qRed(p[x]));
            z[3 * x + 1] = Bytef(qGreen(p[x]));
            z[3 * x + 2] = Bytef(qBlue(p[x]));
        }
        return z;
    };
    if (!komprimiert) {
        QByteArray roh;
        roh.reserve(zeilenLaenge * hoehe);
        for (int r = 0; r < hoehe; ++r)
            roh.append(reinterpret_cast<const char*>(zeile(r)), zeilenLaenge);
        return roh;
    }
    z_stream strom{};
    if (deflateInit(&strom, Z_DEFAULT_COMPRESSION) != Z_OK) return {};
    QByteArray aus(qsizetype(deflateBound(&strom, uLong(zeilenLaenge * hoehe))), Qt::Uninitialized);
    int status = Z_OK;
    for (int r = zeilenLaenge == 0 ? hoehe : 0; r <= hoehe && status == Z_OK; ++r) {
        const bool ende = r == hoehe;
        strom.next_in = const_cast<Bytef*>(ende ? nullptr : zeile(r));
        strom.avail_in = ende ? 0 : uInt(zeilenLaenge);
        do {
            if (strom.total_out == uLong(aus.size())) aus.resize(aus.size() * 2 + 64);
            strom.next_out = reinterpret_cast<Bytef*>(aus.data()) + strom.total_out;
            strom.avail_out = uInt(aus.size() - qsizetype(strom.total_out));
            status = deflate(&strom, ende ? Z_FINISH : Z_NO_FLUSH);
        } while (status == Z_OK && (strom.avail_in > 0 || (ende && strom.avail_out == 0)));
    }
    deflateEnd(&strom);
    if (status != Z_STREAM_END) return {};
    aus.truncate(qsizetype(strom.total_out));
    return aus;
}

} // namespace

TmachPDF::TmachPDF() : Author(QStringLiteral("Korvane")), Creator(Author), Producer(Author) {}

void TmachPDF::zeile(const QByteArray& text) {
    m_objekt += text;
    m_objekt += kZeilenende;
}

QByteArray TmachPDF::text(const QString& t) {
    if (!textdatei::istDarstellbar(t)) {
        for (QChar c : textdatei::nichtDarstellbareZeichen(t))
            if (!m_nichtDarstellbar.contains(c)) m_nichtDarstellbar += c;
    }
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

void TmachPDF::DrawImage(int x, int y, double breiteZoll, double hoeheZoll, const QImage& bild) {
    double sx, sy;
    if (breiteZoll != 0 && hoeheZoll != 0) {
        sx = PageWidth / (pixelProZollX * breiteZoll);
        sy = PageHeight / (pixelProZollY * hoeheZoll);
    } else {
        sx = PageWidth / (pixelProZollX * 8);
        sy = PageHeight / (pixelProZollY * 10.625);
    }
    const qsizetype nummer = m_bilder.size() + 1;
    const qint64 w = std::lround(bild.width() * sx), h = std::lround(bild.height() * sy);
    m_seite += "q" + kZeilenende;
    m_seite += zahl(w) + " 0 0 " + zahl(h) + ' ' + zahl(x) + ' ' + zahl(PageHeight - y - h) + " cm" + kZeilenende;
    m_seite += "/Im" + zahl(nummer) + " Do" + kZeilenende;
    m_seite += "Q" + kZeilenende;

    // Compressing a page's picture takes longer than drawing the next one: it runs beside the
    // document and the next pictures. At most two run at once, and each lets go of its picture
    // when done, so a document of many months holds only their compressed bytes.
    constexpr size_t kGleichzeitig = 2;
    if (m_bilder.size() >= kGleichzeitig) m_bilder[m_bilder.size() - kGleichzeitig].wait();
    m_bilder.push_back(std::async(std::launch::async, [bild = QImage(bild), nummer, komprimiert = Compress]() mutable {
        const QImage eigenes = std::exchange(bild, QImage());
        const QByteArray daten = bildDaten(eigenes, komprimiert);
        QByteArray koerper;
        auto koerperZeile = [&](const QByteArray& z) { koerper += z + kZeilenende; };
        koerperZeile("<< /Type /XObject");
        koerperZeile("/Subtype /Image");
        koerperZeile("/Width " + QByteArray::number(eigenes.width()));
        koerperZeile("/Height " + QByteArray::number(eigenes.height()));
        koerperZeile("/ColorSpace /DeviceRGB");
        koerperZeile("/BitsPerComponent 8");
        koerperZeile("/Length " + QByteArray::number(daten.size()));
        koerperZeile("/Name /Im" + QByteArray::number(nummer));
        if (komprimiert) koerperZeile("/Filter [/FlateDecode]");
        koerperZeile(">>");
        koerperZeile("stream");
        koerper += daten;
        return koerper;
    }));
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

    for (std::future<QByteArray>& koerper : m_bilder) {
        objektBeginnen(++m_nummer);
        m_objekt += koerper.get();
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
    if (datei::schreibe(FileName, bytes)) return true;
    if (fehler) *fehler = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.").arg(FileName);
    return false;
}
