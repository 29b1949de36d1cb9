#include "export/pdf/tmachpdf.h"

#include "platform/datei.h"
#include "platform/textdatei.h"
#include "platform/uhr.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cerrno>
#include <atomic>
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

std::atomic<TmachPDF::Komprimierer> g_komprimierer{nullptr};

// A zlib stream (header and Adler-32 trailer) of daten at the default level, in one call, into
// aus; its length, -1 when zlib failed.
qsizetype deflate(QByteArrayView daten, QByteArray& aus) {
    uLongf laenge = compressBound(uLong(daten.size()));
    aus.resize(qsizetype(laenge));
    const TmachPDF::Komprimierer k = g_komprimierer.load();
    const int status = (k ? k : compress2)(reinterpret_cast<Bytef*>(aus.data()), &laenge,
                                           reinterpret_cast<const Bytef*>(daten.data()), uLong(daten.size()),
                                           Z_DEFAULT_COMPRESSION);
    return status == Z_OK ? qsizetype(laenge) : -1;
}

void setze(uchar* z, QRgb farbe) {
    z[0] = uchar(qRed(farbe));
    z[1] = uchar(qGreen(farbe));
    z[2] = uchar(qBlue(farbe));
}

// A picture's red, green and blue bytes into roh, rows from the top, no fill bytes; turned, the
// picture as turned a quarter clockwise (its left column, read from the bottom up, is the top row).
void rgbBytes(const QImage& bild, bool gedreht, QByteArray& roh) {
    const QImage quelle = bild.format() == QImage::Format_RGB32 || bild.format() == QImage::Format_RGB888
                              ? bild
                              : bild.convertToFormat(QImage::Format_RGB888);
    const bool rgb888 = quelle.format() == QImage::Format_RGB888;
    const int breite = gedreht ? quelle.height() : quelle.width();
    const int hoehe = gedreht ? quelle.width() : quelle.height();
    const qsizetype laenge = qsizetype(breite) * 3;
    roh.resize(laenge * hoehe);
    uchar* const anfang = reinterpret_cast<uchar*>(roh.data());
    if (!gedreht) {
        for (int r = 0; r < hoehe; ++r) {
            uchar* z = anfang + laenge * r;
            if (rgb888) {
                std::memcpy(z, quelle.constScanLine(r), size_t(laenge));
            } else {
                const QRgb* p = reinterpret_cast<const QRgb*>(quelle.constScanLine(r));
                for (int x = 0; x < breite; ++x)
                    setze(z + 3 * x, p[x]);
            }
        }
        return;
    }
    // Turned: row r is the source's column r, from its last row up. Taken in bands of rows, so the
    // band's pixels of a source row come from one cache line.
    constexpr int kBand = 16;
    for (int r0 = 0; r0 < hoehe; r0 += kBand) {
        const int r1 = std::min(hoehe, r0 + kBand);
        for (int x = 0; x < breite; ++x) {
            const uchar* q = quelle.constScanLine(breite - 1 - x);
            for (int r = r0; r < r1; ++r) {
                uchar* z = anfang + laenge * r + 3 * x;
                if (rgb888)
                    std::memcpy(z, q + 3 * qsizetype(r), 3);
                else
                    setze(z, reinterpret_cast<const QRgb*>(q)[r]);
            }
        }
    }
}

// Copies the piece of the temporary file into the document.
bool kopiere(QIODevice& von, qint64 ab, qint64 laenge, QIODevice& nach) {
    if (!von.seek(ab)) return false;
    constexpr qint64 kPuffer = 1 << 20;
    while (laenge > 0) {
        const QByteArray teil = von.read(std::min(laenge, kPuffer));
        if (teil.isEmpty() || nach.write(teil) != teil.size()) return false;
        laenge -= teil.size();
    }
    return true;
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

TmachPDF::~TmachPDF() {
    // A picture still being compressed holds nothing of ours, but is waited for, not cut off.
    if (m_offen) m_offen->laenge.waitForFinished();
}

void TmachPDF::setzeKomprimierer(Komprimierer k) {
    g_komprimierer = k;
}

void TmachPDF::BeginDoc() {
    if (m_offen) m_offen->laenge.waitForFinished();
    m_offen.reset();
    m_ablage.reset();
    m_seiten = 1;
    m_bildAnzahl = 0;
    m_objekt.clear();
    m_seite.clear();
    m_inhalte.clear();
    m_bilder.clear();
    m_fehler.clear();
    m_ablageNummer = 0;
    m_nichtDarstellbar.clear();
    m_beendet = false;
    if (!erstellt.isValid()) erstellt = Uhr::dokumentZeit();

    objektBeginnen(1);
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
    m_info = std::exchange(m_objekt, {});
    inhaltBeginnen();
}

TmachPDF::Stueck TmachPDF::ablegen(std::initializer_list<QByteArrayView> teile) {
    if (!m_fehler.isEmpty()) return {};
    if (!m_ablage) {
        // Beside the target, where the finished file goes; the system's temporary folder while the
        // target or its folder is not known yet. The file has no name, so it goes however the
        // program ends.
        const QString ordner = FileName.isEmpty() ? QString() : QFileInfo(FileName).absolutePath();
        for (const QString& o : {ordner, QDir::tempPath()}) {
            if (o.isEmpty() || !QFileInfo(o).isDir()) continue;
            m_ablage = std::make_unique<QTemporaryFile>(o + QStringLiteral("/.korvane-pdf-XXXXXX"));
            if (m_ablage->open()) break;
            m_ablage.reset();
        }
    }
    const qint64 ab = m_ablage ? m_ablage->pos() : 0;
    qint64 laenge = 0;
    for (QByteArrayView teil : teile) {
        errno = 0;
        if (!m_ablage || m_ablage->write(teil.data(), teil.size()) != teil.size()) {
            // The file the pages wait in lies beside the target: a full disk there is the target's.
            m_ablageNummer = errno ? errno : EIO;
            m_fehler = QStringLiteral("Für ihre Seiten ließ sich keine temporäre Datei schreiben.");
            m_ablage.reset();
            return {};
        }
        laenge += teil.size();
    }
    return {ab, laenge};
}

void TmachPDF::inhaltBeginnen() {
    m_seite.clear();
}

// Page n's content goes into object 2n, its length into 2n + 1.
void TmachPDF::inhaltBeenden() {
    const int nummer = 2 * m_seiten;
    objektBeginnen(nummer);
    zeile("<< /Length " + zahl(nummer + 1) + " 0 R");
    if (Compress) zeile("/Filter [/FlateDecode]");
    zeile(" >>");
    zeile("stream");
    const qsizetype vorher = m_objekt.size();
    if (Compress) {
        QByteArray aus;
        const qsizetype n = deflate(m_seite, aus);
        if (n < 0 && m_fehler.isEmpty())
            m_fehler = QStringLiteral("Eine Seite ließ sich nicht komprimieren.");
        m_objekt += QByteArrayView(aus).first(std::max<qsizetype>(n, 0));
    } else {
        m_objekt += m_seite;
    }
    m_seite.clear();
    const qint64 laenge = m_objekt.size() - vorher;
    zeile("endstream");
    zeile("endobj");
    m_inhalte << ablegen({m_objekt});
    objektBeginnen(nummer + 1);
    zeile(zahl(laenge));
    zeile("endobj");
    m_inhalte << ablegen({m_objekt});
    m_objekt.clear();
}

void TmachPDF::NewPage() {
    inhaltBeenden();
    ++m_seiten;
    inhaltBeginnen();
    if (m_offen && m_offen->laenge.isFinished()) bildAblegen();
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

void TmachPDF::DrawImage(int x, int y, double breiteZoll, double hoeheZoll, QImage bild, bool gedreht) {
    double sx, sy;
    if (breiteZoll != 0 && hoeheZoll != 0) {
        sx = PageWidth / (pixelProZollX * breiteZoll);
        sy = PageHeight / (pixelProZollY * hoeheZoll);
    } else {
        sx = PageWidth / (pixelProZollX * 8);
        sy = PageHeight / (pixelProZollY * 10.625);
    }
    Bild b;
    b.breite = gedreht ? bild.height() : bild.width();
    b.hoehe = gedreht ? bild.width() : bild.height();
    b.komprimiert = Compress;
    const int nummer = ++m_bildAnzahl;
    const qint64 w = std::lround(b.breite * sx), h = std::lround(b.hoehe * sy);
    m_seite += "q" + kZeilenende;
    m_seite += zahl(w) + " 0 0 " + zahl(h) + ' ' + zahl(x) + ' ' + zahl(PageHeight - y - h) + " cm" + kZeilenende;
    m_seite += "/Im" + zahl(nummer) + " Do" + kZeilenende;
    m_seite += "Q" + kZeilenende;

    // One picture at a time is turned into its stream, on Qt's pool, while the caller draws the
    // next one; its pixels go as soon as its rows are taken.
    bildAblegen();
    try {
        b.laenge = QtConcurrent::run([this, bild = std::move(bild), k = b.komprimiert, gedreht]() mutable {
            try {
                rgbBytes(std::exchange(bild, QImage()), gedreht, m_roh);
                return k ? deflate(m_roh, m_aus) : m_roh.size();
            } catch (const std::exception&) {
                return qsizetype(-1); // out of memory
            }
        });
    } catch (const std::exception&) {
        b.laenge = QtFuture::makeReadyFuture(qsizetype(-1)); // not started: the document is not written
    }
    m_offen = std::move(b);
}

void TmachPDF::bildAblegen() {
    if (!m_offen) return;
    const Bild b = std::move(*m_offen);
    m_offen.reset();
    const qsizetype laenge = b.laenge.result();
    if (laenge < 0 && m_fehler.isEmpty()) m_fehler = QStringLiteral("Ein Bild ließ sich nicht komprimieren.");
    const QByteArrayView daten =
        QByteArrayView(b.komprimiert ? m_aus : m_roh).first(std::max<qsizetype>(laenge, 0));
    // Without its header line: its number is known once the pages are.
    m_objekt.clear();
    zeile("<< /Type /XObject");
    zeile("/Subtype /Image");
    zeile("/Width " + zahl(b.breite));
    zeile("/Height " + zahl(b.hoehe));
    zeile("/ColorSpace /DeviceRGB");
    zeile("/BitsPerComponent 8");
    zeile("/Length " + zahl(daten.size()));
    zeile("/Name /Im" + zahl(m_bilder.size() + 1));
    if (b.komprimiert) zeile("/Filter [/FlateDecode]");
    zeile(">>");
    zeile("stream");
    m_bilder << ablegen({m_objekt, daten, "\r\nendstream\r\nendobj\r\n"});
    m_objekt.clear();
}

void TmachPDF::abschliessen() {
    if (m_beendet) return;
    m_beendet = true;
    inhaltBeenden();
    bildAblegen();
    // Only the next picture would have used them again.
    m_roh = QByteArray();
    m_aus = QByteArray();
    errno = 0;
    if (m_ablage && !m_ablage->flush() && m_fehler.isEmpty()) {
        m_ablageNummer = errno ? errno : EIO;
        m_fehler = QStringLiteral("Für ihre Seiten ließ sich keine temporäre Datei schreiben.");
    }
}

bool TmachPDF::schreibeDokument(QIODevice& ziel) {
    // Every object's offset, in the order of their numbers, which is the order in the file.
    QList<qint64> versatz;
    qint64 stelle = 0;
    bool ok = true;
    auto schreibe = [&](const QByteArray& b) {
        ok = ok && ziel.write(b) == b.size();
        stelle += b.size();
    };
    auto objekt = [&](const QByteArray& b) {
        versatz << stelle;
        schreibe(b);
    };
    auto abgelegt = [&](const Stueck& s) {
        versatz << stelle;
        ok = ok && kopiere(*m_ablage, s.ab, s.laenge, ziel);
        stelle += s.laenge;
    };
    if (!m_ablage) return false;
    schreibe("%PDF-1.4" + kZeilenende);
    objekt(m_info);
    for (const Stueck& s : std::as_const(m_inhalte))
        abgelegt(s);
    int nummer = 2 * m_seiten + 1;

    const int outlines = ++nummer;
    objektBeginnen(outlines);
    zeile("<< /Type /Outlines");
    zeile("/Count 0");
    zeile(">>");
    zeile("endobj");
    objekt(m_objekt);

    QList<int> schriften;
    for (int k = 1; k <= 14; ++k) {
        schriften << ++nummer;
        objektBeginnen(nummer);
        zeile("<< /Type /Font");
        zeile("/Subtype /Type1");
        zeile("/Name /F" + zahl(k));
        zeile("/BaseFont /" + QByteArray(kSchriften[k - 1]));
        zeile("/Encoding /WinAnsiEncoding");
        zeile(">>");
        zeile("endobj");
        objekt(m_objekt);
    }

    const int seiten = ++nummer;
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
    objekt(m_objekt);

    const int ressourcen = ++nummer;
    objektBeginnen(ressourcen);
    zeile("<< /ProcSet [ /PDF /Text /ImageC]");
    zeile("/XObject << ");
    for (int k = 1; k <= bilder; ++k)
        zeile("/Im" + zahl(k) + ' ' + zahl(ressourcen + k) + " 0 R");
    zeile(">>");
    zeile("/Font << ");
    for (int k = 1; k <= 14; ++k)
        zeile("/F" + zahl(k) + ' ' + zahl(schriften.at(k - 1)) + " 0 R ");
    zeile(">>");
    zeile(">>");
    zeile("endobj");
    objekt(m_objekt);

    for (const Stueck& s : std::as_const(m_bilder)) {
        objektBeginnen(++nummer);
        objekt(m_objekt);
        ok = ok && kopiere(*m_ablage, s.ab, s.laenge, ziel);
        stelle += s.laenge;
    }

    for (int i = 0; i < m_seiten; ++i) {
        objektBeginnen(++nummer);
        zeile("<< /Type /Page");
        zeile("/Parent " + zahl(seiten) + " 0 R");
        zeile("/MediaBox [ 0 0 " + zahl(PageWidth) + ' ' + zahl(PageHeight) + "]");
        zeile("/Contents " + zahl(2 * (i + 1)) + " 0 R");
        zeile("/Resources " + zahl(ressourcen) + " 0 R");
        zeile(">>");
        zeile("endobj");
        objekt(m_objekt);
    }

    const int katalog = ++nummer;
    objektBeginnen(katalog);
    zeile("<< /Type /Catalog");
    zeile("/Pages " + zahl(seiten) + " 0 R");
    zeile("/Outlines " + zahl(outlines) + " 0 R");
    zeile(">>");
    zeile("endobj");
    objekt(m_objekt);

    const qint64 xref = stelle;
    const int groesse = katalog + 1;
    m_objekt.clear();
    zeile("xref");
    zeile("0 " + zahl(groesse));
    zeile("0000000000 65535 f");
    for (int k = 1; k < groesse; ++k)
        zeile(QByteArray::number(versatz.at(k - 1)).rightJustified(10, '0') + " 00000 n");
    zeile("trailer");
    zeile("<< /Size " + zahl(groesse));
    zeile("/Root " + zahl(katalog) + " 0 R");
    zeile("/Info 1 0 R");
    zeile(">>");
    zeile("startxref");
    zeile(zahl(xref));
    zeile("%%EOF");
    schreibe(m_objekt);
    m_objekt.clear();
    return ok;
}

QByteArray TmachPDF::EndDocBytes() {
    abschliessen();
    QBuffer puffer;
    puffer.open(QIODevice::WriteOnly);
    if (!m_fehler.isEmpty() || !schreibeDokument(puffer)) return {};
    return puffer.data();
}

bool TmachPDF::EndDoc(QString* fehler) {
    abschliessen();
    if (!m_nichtDarstellbar.isEmpty()) {
        if (fehler)
            *fehler = QStringLiteral("Die Zeichen \u00BB%1\u00AB k\u00F6nnen in der PDF-Datei nicht dargestellt werden. "
                                     "Die Datei \"%2\" wird nicht geschrieben.")
                          .arg(m_nichtDarstellbar, FileName);
        return false;
    }
    if (m_ablageNummer) {
        if (fehler)
            *fehler = datei::schreibMeldung(FileName, {datei::Geschrieben::Fehler::Fehlgeschlagen, m_ablageNummer});
        return false;
    }
    if (!m_fehler.isEmpty()) {
        if (fehler) *fehler = QStringLiteral("Fehler beim Erzeugen der Datei ") + FileName + u'\n' + m_fehler;
        return false;
    }
    // Written only when every page and picture reached the temporary file whole.
    const datei::Geschrieben g =
        datei::schreibeMit(FileName, [this](QIODevice& d) { return schreibeDokument(d); });
    if (g) return true;
    if (fehler) *fehler = datei::schreibMeldung(FileName, g);
    return false;
}
