// The PDF writer's exact bytes, read back by real readers.
#include "testumgebung.h"

#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "chart/tmonatsgrafik.h"
#include "export/pdf/gui/tpatientendateninpdfform.h"
#include "export/pdf/gui/tpdfexport.h"
#include "export/pdf/pdfdokument.h"
#include "export/pdf/tmachpdf.h"
#include "platform/shell.h"
#include "platform/textdatei.h"
#include "storage/registry.h"
#include "table/gui/ttabellendlg.h"

#include "platform/uhr.h"
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>

#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTransform>
#include <atomic>
#include <optional>
#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

// Noise and runs of white, so zlib's matcher has both to do.
QImage rauschbild(QSize groesse, QImage::Format format) {
    QImage bild(groesse, format);
    quint32 zufall = 12345;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            zufall = zufall * 1103515245u + 12345u;
            bild.setPixel(x, y, x % 50 < 25 ? qRgb(255, 255, 255) : qRgba(zufall >> 8, zufall >> 16, zufall >> 24, 200));
        }
    return bild;
}

// A picture's red, green and blue bytes, rows from the top, no fill bytes.
QByteArray rgbBytes(const QImage& bild) {
    const QImage rgb = bild.convertToFormat(QImage::Format_RGB888);
    QByteArray roh;
    for (int y = 0; y < rgb.height(); ++y)
        roh.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), qsizetype(rgb.width()) * 3);
    return roh;
}

// What poppler sees on each page: its text and the sizes of its images.
struct Seite {
    QString text;
    QStringList bilder; // "570x742"
};
QList<Seite> seitenVon(const QString& pdf) {
    const auto ausgabe = [](const QString& programm, const QStringList& argumente) {
        return testumgebung::werkzeug(programm, argumente).aus;
    };
    QList<Seite> seiten;
    for (const QString& text : ausgabe(u"pdftotext"_s, {pdf, u"-"_s}).split(u'\f')) // a form feed ends a page
        seiten << Seite{text.simplified(), {}};
    seiten.removeLast();
    for (const QString& z : ausgabe(u"pdfimages"_s, {u"-list"_s, pdf}).split(u'\n').mid(2)) {
        const QStringList teile = z.simplified().split(u' ');
        const int n = teile.value(0).toInt();
        if (teile.size() > 4 && n > 0 && n <= seiten.size())
            seiten[n - 1].bilder << teile[3] + u'x' + teile[4];
    }
    return seiten;
}

// compress2 of the bytes, as a PDF stream of them must be.
QByteArray zlib(const QByteArray& roh) {
    uLongf laenge = compressBound(uLong(roh.size()));
    QByteArray b(qsizetype(laenge), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef*>(b.data()), &laenge, reinterpret_cast<const Bytef*>(roh.constData()),
              uLong(roh.size()), Z_DEFAULT_COMPRESSION);
    b.truncate(qsizetype(laenge));
    return b;
}

// The stream of the document's first image, checked against its /Length and endstream.
QByteArray ersterBildStrom(const QByteArray& b) {
    const qsizetype kopf = b.indexOf("/Length ", b.indexOf("/Subtype /Image"));
    if (kopf < 0) return "kein Bild";
    const qsizetype strom = b.mid(kopf + 8, 12).split('\r').first().toLongLong();
    const qsizetype anfang = b.indexOf("stream\r\n", kopf) + 8;
    if (!b.mid(anfang + strom).startsWith("\r\nendstream")) return "Laenge falsch";
    return b.mid(anfang, strom);
}

// A document of one page showing the picture, as a writer compressing or not writes it.
QByteArray einBild(const QImage& bild, bool komprimiert, bool gedreht = false) {
    TmachPDF pdf;
    pdf.Compress = komprimiert;
    pdf.BeginDoc();
    pdf.DrawImage(0, 0, 0, 0, bild, gedreht);
    return pdf.EndDocBytes();
}

// Stands in for compress2: counts the calls, and fails those of at least (or below) a size.
std::atomic<int> g_aufrufe{0};
std::atomic<unsigned long> g_scheitertAb{~0ul}, g_scheitertUnter{0};
int zaehlendesCompress2(unsigned char* ziel, unsigned long* laenge, const unsigned char* quelle, unsigned long n,
                        int stufe) {
    ++g_aufrufe;
    if (n >= g_scheitertAb || n < g_scheitertUnter) return Z_MEM_ERROR;
    return compress2(ziel, laenge, quelle, n, stufe);
}

} // namespace

class TestPdf : public QObject {
    Q_OBJECT

    QTemporaryDir ordner;

    // A fresh program folder with first-start settings and Anna's March 2024 table; its path.
    static QString annasMaerz(const QString& name) {
        testumgebung::dialoge().leeren();
        testumgebung::einstellungenLoeschen();
        const QString programm = testumgebung::neuerProgrammOrdner(name);
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(programm);
        const QString tabelle = programm + u"Korvane-Daten-Galerie/2024/Anna_03_2024.tab"_s;
        testumgebung::schreibe(tabelle,
                               testumgebung::lies(testumgebung::testdaten(u"anna_maerz_2024.tab"_s)));
        return tabelle;
    }

private Q_SLOTS:
    void init() { Uhr::setzeJetzt(QDateTime(QDate(2024, 3, 5), QTime(7, 30, 5))); }
    void cleanup() { Uhr::setzeJetzt({}); }

    void leereSeite_data() {
        QTest::addColumn<bool>("komprimiert");
        QTest::addColumn<QByteArray>("epoche"); // SOURCE_DATE_EPOCH, taken in UTC before the clock
        QTest::addColumn<QByteArray>("datum");
        QTest::newRow("komprimiert") << true << QByteArray() << QByteArray("20240305073005");
        QTest::newRow("roh") << false << QByteArray() << QByteArray("20240305073005");
        QTest::newRow("Epoche") << true << QByteArray("1709624405") << QByteArray("20240305074005");
    }
    // One page, nothing drawn: objects 1 to 21, the catalog 22, /Size 23, /Kids naming 21.
    void leereSeite() {
        QFETCH(bool, komprimiert);
        QFETCH(QByteArray, epoche);
        QFETCH(QByteArray, datum);
        TmachPDF pdf;
        pdf.Compress = komprimiert;
        pdf.TITLE = u"Korvanemesswerte"_s;
        if (!epoche.isEmpty()) qputenv("SOURCE_DATE_EPOCH", epoche);
        pdf.BeginDoc();
        const QByteArray b = pdf.EndDocBytes();
        qunsetenv("SOURCE_DATE_EPOCH");
        QVERIFY(b.startsWith(
            QByteArray("%PDF-1.4\r\n1 0 obj\r\n<<\r\n/Producer (Korvane)\r\n/Author (Korvane)\r\n"
                       "/CreationDate (D:DATUM)\r\n/Creator (Korvane)\r\n/Keywords ()\r\n"
                       "/Subject ()\r\n/Title (Korvanemesswerte)\r\n/ModDate ()\r\n>>\r\n"
                       "endobj\r\n")
                .replace("DATUM", datum)));
        const QByteArray leer = komprimiert ? zlib({}) : QByteArray();
        const QByteArray inhalt = "2 0 obj\r\n<< /Length 3 0 R\r\n" +
                                  QByteArray(komprimiert ? "/Filter [/FlateDecode]\r\n" : "") + " >>\r\nstream\r\n" +
                                  leer + "endstream\r\nendobj\r\n3 0 obj\r\n" + QByteArray::number(leer.size()) +
                                  "\r\nendobj\r\n4 0 obj\r\n<< /Type /Outlines\r\n";
        QVERIFY(b.contains(inhalt));
        QVERIFY(b.contains("19 0 obj\r\n<< /Type /Pages\r\n/Kids [\r\n21 0 R\r\n]\r\n/Count 1\r\n>>\r\nendobj\r\n"));
        QVERIFY(b.contains("22 0 obj\r\n<< /Type /Catalog\r\n/Pages 19 0 R\r\n/Outlines 4 0 R\r\n>>\r\nendobj\r\n"));
        QVERIFY(b.contains("trailer\r\n<< /Size 23\r\n/Root 22 0 R\r\n/Info 1 0 R\r\n>>\r\n"));
        QVERIFY(b.contains("5 0 obj\r\n<< /Type /Font\r\n/Subtype /Type1\r\n/Name /F1\r\n/BaseFont /Helvetica\r\n"
                           "/Encoding /WinAnsiEncoding\r\n>>\r\nendobj\r\n"));
        QVERIFY(b.contains("/F14 18 0 R \r\n"));
        QCOMPARE(b.contains("/Filter"), komprimiert);
        // Every cross-reference line is 20 bytes and points at its object; startxref at xref.
        const qsizetype xref = b.lastIndexOf("\r\nxref\r\n") + 2;
        QVERIFY(b.endsWith("startxref\r\n" + QByteArray::number(xref) + "\r\n%%EOF\r\n"));
        const QList<QByteArray> zeilen = b.mid(xref).split('\n');
        QCOMPARE(zeilen.mid(1, 2), (QList<QByteArray>{"0 23\r", "0000000000 65535 f\r"}));
        for (int k = 1; k < 23; ++k) {
            const QByteArray z = zeilen.at(2 + k) + '\n';
            QCOMPARE(z.sliced(10), QByteArray(" 00000 n\r\n"));
            QVERIFY2(b.mid(z.left(10).toLongLong()).startsWith(QByteArray::number(k) + " 0 obj\r\n"),
                     z.constData());
        }
    }

    void bildMassstab_data() {
        QTest::addColumn<double>("breite");
        QTest::addColumn<double>("hoehe");
        QTest::addColumn<QByteArray>("cm");
        // 8 x 10.625 inches of 96-dpi pixels on a 596 x 842 page: 768 pixels across, 1020 down.
        QTest::newRow("ohne zoll") << 0.0 << 0.0 << QByteArray("596 0 0 842 0 0 cm");
        QTest::newRow("nur eine groesse") << 9.0 << 0.0 << QByteArray("596 0 0 842 0 0 cm");
        QTest::newRow("9 x 13 zoll") << 9.0 << 13.0 << QByteArray("530 0 0 688 0 154 cm");
    }
    void bildMassstab() {
        QFETCH(double, breite);
        QFETCH(double, hoehe);
        TmachPDF pdf;
        pdf.PageWidth = 596;
        pdf.PageHeight = 842;
        pdf.Compress = false;
        pdf.BeginDoc();
        pdf.DrawImage(0, 0, breite, hoehe, QImage(768, 1020, QImage::Format_RGB32));
        QByteArray cm;
        for (const QByteArray& z : pdf.EndDocBytes().split('\n'))
            if (z.endsWith(" cm\r")) cm = z.trimmed();
        QTEST(cm, "cm");
    }

    void texte_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("erwartet");
        QTest::newRow("klammern") << u"Wert (neu)"_s << QByteArray("(Wert \\(neu\\)) Tj");
        QTest::newRow("rueckstrich") << u"a\\b"_s << QByteArray("(a\\\\b) Tj");
        QTest::newRow("umlaut") << u"März"_s << QByteArray("(M\xe4rz) Tj");
        QTest::newRow("zeilenumbruch") << u"a\r\nb"_s << QByteArray("(a\\r\\nb) Tj");
        QTest::newRow("emoji") << u"a😀"_s << QByteArray("(a?) Tj");
    }
    void texte() {
        QFETCH(QString, text);
        QFETCH(QByteArray, erwartet);
        TmachPDF pdf;
        pdf.Compress = false;
        pdf.BeginDoc();
        pdf.TextOut(50, 15, text);
        pdf.Font = {1, 10};
        pdf.TextLines(60, 100, {text, u"zweite"_s});
        const QByteArray b = pdf.EndDocBytes();
        QVERIFY(b.contains(QByteArray("BT\r\n/F5 12 Tf\r\n50 777 Td\r\n") + erwartet + "\r\nET\r\n"));
        QVERIFY(b.contains(QByteArray("BT\r\n/F2 10 Tf\r\n60 692 Td\r\n") + erwartet +
                           "\r\n0 -12.0 TD\r\n(zweite) Tj\r\n0 -12.0 TD\r\nET"));
    }

    // An image's stream is compress2 of its RGB bytes, one call a picture whatever its size or format;
    // uncompressed, the bytes. Turned, those of the picture Qt turns a quarter clockwise.
    void bildStrom_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<bool>("komprimiert");
        QTest::addColumn<bool>("gedreht"); // RGB888 of odd width: rows with fill bytes
        QTest::newRow("RGB32 ungerade") << int(QImage::Format_RGB32) << QSize(333, 57) << true << false;
        QTest::newRow("ARGB32") << int(QImage::Format_ARGB32) << QSize(101, 40) << true << false;
        QTest::newRow("Graustufen") << int(QImage::Format_Grayscale8) << QSize(77, 13) << true << false;
        QTest::newRow("leer") << int(QImage::Format_RGB32) << QSize(0, 0) << true << false;
        QTest::newRow("RGB888 gross") << int(QImage::Format_RGB888) << QSize(1001, 700) << true << false;
        QTest::newRow("lange Zeilen") << int(QImage::Format_RGB32) << QSize(200000, 3) << true << false;
        QTest::newRow("ohne Kompression") << int(QImage::Format_RGB32) << QSize(802, 1164) << false << false;
        QTest::newRow("gedreht RGB32") << int(QImage::Format_RGB32) << QSize(37, 23) << false << true;
        QTest::newRow("gedreht RGB888") << int(QImage::Format_RGB888) << QSize(37, 23) << false << true;
        QTest::newRow("gedreht Tabelle") << int(QImage::Format_RGB32) << QSize(1164, 802) << true << true;
    }
    void bildStrom() {
        QFETCH(int, format);
        QFETCH(QSize, groesse);
        QFETCH(bool, komprimiert);
        QFETCH(bool, gedreht);
        const QImage bild = rauschbild(groesse, QImage::Format(format));
        const QImage soll = gedreht ? bild.transformed(QTransform().rotate(90)) : bild;
        const QByteArray roh = rgbBytes(soll);
        TmachPDF::setzeKomprimierer(zaehlendesCompress2);
        g_aufrufe = 0;
        const QByteArray b = einBild(bild, komprimiert, gedreht);
        TmachPDF::setzeKomprimierer(nullptr);
        QCOMPARE(g_aufrufe.load(), komprimiert ? 2 : 0); // the picture and the page content
        QVERIFY(ersterBildStrom(b) == (komprimiert ? zlib(roh) : roh));
        QVERIFY(b.contains("/Width " + QByteArray::number(soll.width()) + "\r\n/Height " +
                           QByteArray::number(soll.height()) +
                           "\r\n/ColorSpace /DeviceRGB\r\n/BitsPerComponent 8\r\n/Length " +
                           QByteArray::number(ersterBildStrom(b).size()) + "\r\n/Name /Im1\r\n" +
                           (komprimiert ? "/Filter [/FlateDecode]\r\n>>" : ">>")));
        QCOMPARE(b.contains("/FlateDecode"), komprimiert);
    }

    // A picture zlib cannot compress, or text Windows-1252 cannot hold, fails the document, writing nothing.
    void kompressionScheitert_data() {
        QTest::addColumn<unsigned long>("ab");
        QTest::addColumn<unsigned long>("unter");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<QString>("meldung"); // %1: the file
        const QString fehler = u"Fehler beim Erzeugen der Datei %1\n"_s;
        QTest::newRow("ein Bild") << 1000ul << 0ul << QStringList()
                                  << fehler + u"Ein Bild ließ sich nicht komprimieren."_s;
        QTest::newRow("eine Seite") << ~0ul << 1000ul << QStringList()
                                    << fehler + u"Eine Seite ließ sich nicht komprimieren."_s;
        QTest::newRow("nicht darstellbar")
            << ~0ul << 0ul << QStringList{u"Ελένη"_s, u"😀😁😀"_s}
            << u"Die Zeichen »Ελένη😀😁« können in der PDF-Datei nicht dargestellt "
               u"werden. Die Datei \"%1\" wird nicht geschrieben."_s;
    }
    void kompressionScheitert() {
        QFETCH(unsigned long, ab);
        QFETCH(unsigned long, unter);
        QFETCH(QStringList, zeilen);
        QTemporaryDir ziel;
        g_scheitertAb = ab;
        g_scheitertUnter = unter;
        TmachPDF::setzeKomprimierer(zaehlendesCompress2);
        TmachPDF pdf;
        pdf.FileName = ziel.filePath(u"alt.pdf"_s);
        testumgebung::schreibe(pdf.FileName, "alt");
        pdf.BeginDoc();
        pdf.TextOut(10, 20, u"Seite 1"_s);
        pdf.DrawImage(60, 40, rauschbild(QSize(300, 200), QImage::Format_RGB32));
        pdf.NewPage();
        pdf.DrawImage(60, 40, rauschbild(QSize(30, 20), QImage::Format_RGB32));
        pdf.TextLines(50, 50, zeilen);
        QString fehler;
        const bool geschrieben = pdf.EndDoc(&fehler);
        TmachPDF::setzeKomprimierer(nullptr);
        g_scheitertAb = ~0ul;
        g_scheitertUnter = 0;
        QVERIFY(!geschrieben);
        QFETCH(QString, meldung);
        QCOMPARE(fehler, meldung.arg(pdf.FileName));
        QCOMPARE(pdf.EndDocBytes().isEmpty(), zeilen.isEmpty()); // bytes to look at all the same
        QCOMPARE(testumgebung::lies(pdf.FileName), QByteArray("alt"));
        QCOMPARE(QDir(ziel.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"alt.pdf"_s});
    }

    void dokumente_data() {
        QTest::addColumn<int>("art");      // pdfdokument::Art
        QTest::addColumn<int>("platz");    // pdfdokument::Platz
        QTest::addColumn<bool>("daten");   // a patient data text is there
        QTest::addColumn<QString>("seiten"); // per page: G chart, T table, D data, G+D chart with data
        QTest::newRow("grafik") << 0 << 0 << true << "G";
        QTest::newRow("grafik, unter der grafik") << 0 << 1 << true << "G+D";
        QTest::newRow("tabelle") << 1 << 0 << true << "T";
        QTest::newRow("tabelle, oberhalb") << 1 << 2 << true << "D T";
        QTest::newRow("tabelle, unterhalb") << 1 << 3 << true << "T D";
        QTest::newRow("beides") << 2 << 0 << true << "G T";
        QTest::newRow("beides, unter der grafik") << 2 << 1 << true << "G+D T";
        QTest::newRow("beides, oberhalb") << 2 << 2 << true << "G D T";
        QTest::newRow("beides, unterhalb") << 2 << 3 << true << "G T D";
        QTest::newRow("leere daten fuegen keine seite an") << 2 << 2 << false << "G T";
    }
    // Each kind of document read back by real readers: which page holds the chart, the table and the
    // data (with characters a PDF string escapes); the file is EndDocBytes, no temporary file left.
    void dokumente() {
        QFETCH(int, art);
        QFETCH(int, platz);
        QFETCH(bool, daten);
        pdfdokument::Monat monat;
        monat.grafikseite = QImage(570, 742, QImage::Format_RGB32);
        monat.grafikseite.fill(Qt::white);
        monat.tabellenbild = QImage(1164, 802, QImage::Format_RGB32);
        monat.tabellenbild.fill(Qt::white);
        const QString hausarzt = u"Hausarzt: Dr. Beispiel (Straße 1\\2)"_s;
        if (daten) monat.patientendaten = QStringList{u"Anna Muster, geb. 01.02.1950"_s, hausarzt};
        monat.platz = static_cast<pdfdokument::Platz>(platz);
        TmachPDF pdf;
        pdfdokument::richteEin(pdf);
        pdf.FileName = ordner.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".pdf"_s);
        pdf.BeginDoc();
        int seite = 1;
        pdfdokument::schreibeMonat(pdf, static_cast<pdfdokument::Art>(art), monat, &seite);
        QVERIFY(pdf.EndDoc());
        QCOMPARE(testumgebung::lies(pdf.FileName), pdf.EndDocBytes());
        QCOMPARE(QDir(ordner.path()).entryList({u".*"_s}, QDir::Files | QDir::Hidden), QStringList());
        const testumgebung::Ergebnis qpdf = testumgebung::werkzeug(u"qpdf"_s, {u"--check"_s, pdf.FileName});
        QVERIFY2(qpdf.status == 0, qPrintable(qpdf.aus + qpdf.fehler));
        QStringList gefunden;
        int n = 0;
        for (const Seite& s : seitenVon(pdf.FileName)) {
            ++n;
            QString was;
            if (s.bilder == QStringList{u"570x742"_s}) was = u"G"_s;
            if (s.bilder == QStringList{u"802x1164"_s}) was = u"T"_s; // turned a quarter
            if (s.text.contains(hausarzt)) was += was.isEmpty() ? u"D"_s : u"+D"_s;
            // "Seite n" stands on the page as text, or on the table inside its picture.
            if (was != u"T"_s) QVERIFY2(s.text.startsWith(u"Seite "_s + QString::number(n)), qPrintable(s.text));
            gefunden << was;
        }
        QTEST(gefunden.join(u' '), "seiten");
        QCOMPARE(seite, gefunden.size());
        // The command line has each table picture made when its page is reached: the same bytes
        // as the picture handed over, for the month that begins a document and the one after it.
        const auto a = static_cast<pdfdokument::Art>(art);
        if (a == pdfdokument::Art::NurGrafik) return;
        auto dokument = [&](bool spaeter) {
            TmachPDF d;
            pdfdokument::richteEin(d);
            d.erstellt = QDateTime(QDate(2024, 3, 5), QTime(7, 40), Qt::UTC);
            d.BeginDoc();
            int s = 1;
            for (int m = 0; m < 2; ++m) {
                pdfdokument::Monat neu = monat;
                neu.tabellenbild.setPixelColor(m, 0, Qt::blue);
                if (spaeter) neu.machTabellenbild = [bild = std::exchange(neu.tabellenbild, {})] { return bild; };
                pdfdokument::schreibeMonat(d, a, neu, &s, m == 0);
            }
            return d.EndDocBytes();
        };
        const QByteArray vorher = dokument(false);
        QVERIFY(!vorher.isEmpty() && dokument(true) == vorher);
    }

    // Under a chart page taller than 830 pixels the data begin at (height - 100) from the top.
    void datenUnterHoherGrafik_data() {
        QTest::addColumn<int>("hoehe");
        QTest::addColumn<int>("y");
        QTest::newRow("742") << 742 << 722;
        QTest::newRow("830") << 830 << 810;
        QTest::newRow("831") << 831 << 731;
    }
    void datenUnterHoherGrafik() {
        QFETCH(int, hoehe);
        QFETCH(int, y);
        pdfdokument::Monat monat;
        monat.grafikseite = QImage(570, hoehe, QImage::Format_RGB32);
        monat.patientendaten = {u"Daten"_s};
        monat.platz = pdfdokument::Platz::UnterDerGrafik;
        TmachPDF pdf;
        pdfdokument::richteEin(pdf);
        pdf.Compress = false;
        pdf.BeginDoc();
        int seite = 1;
        pdfdokument::schreibeMonat(pdf, pdfdokument::Art::NurGrafik, monat, &seite);
        QVERIFY(pdf.EndDocBytes().contains("/F2 10 Tf\r\n60 " + QByteArray::number(842 - y) + " Td\r\n(Daten) Tj"));
    }

    // The page number on the table page is part of its picture, which the document turns whole.
    void tabellenSeiteMitNummer() {
        QImage tabelle(1164, 802, QImage::Format_RGB32);
        tabelle.fill(Qt::white);
        const QImage seite = pdfdokument::tabellenSeite(tabelle, 7);
        int dunkel = 0; // "Seite 7" at (width - 80, 30)
        for (int y = 25; y < 50; ++y)
            for (int x = 1164 - 80; x < 1164 - 30; ++x)
                dunkel += qGray(seite.pixel(x, y)) < 128;
        QVERIFY(dunkel > 10);
    }

    void patientenDialog_data() {
        QTest::addColumn<int>("art");
        QTest::addColumn<QString>("an"); // enabled boxes: u under the chart, o above, n below
        QTest::addColumn<QString>("haken");
        QTest::newRow("grafik") << 0 << "u" << "u";
        QTest::newRow("tabelle") << 1 << "on" << "o";
        QTest::newRow("beides") << 2 << "uon" << "u";
    }
    // The boxes per art, and a tick takes the others' away.
    void patientenDialog() {
        QFETCH(int, art);
        QFETCH(QString, an);
        TPatientenDatenInPDFform d(ordner.path() + u'/');
        d.InEigeneSeiteunterhalbDerTabelleCheckBox->setChecked(true);
        d.richteEinFuer(static_cast<pdfdokument::Art>(art));
        QCheckBox* kaesten[3] = {d.unterDieGrafikCheckBox, d.InEigeneSeiteOberhalbDerTabelleCheckBox,
                                 d.InEigeneSeiteunterhalbDerTabelleCheckBox};
        QString aktiv, gesetzt;
        for (int i = 0; i < 3; ++i) {
            if (kaesten[i]->isEnabled()) aktiv += QLatin1String("uon").at(i);
            if (kaesten[i]->isChecked()) gesetzt += QLatin1String("uon").at(i);
        }
        QCOMPARE(aktiv, an);
        QTEST(gesetzt, "haken");
        // Enter is OK at every opening, even after "Keine Daten einfügen" took the focus.
        d.PatientenDatenDatei = testumgebung::testdaten(u"anna_maerz_2024.tab"_s); // any text
        for (QPushButton* zuletzt : {d.Button2, d.Button3, d.Button1}) {
            d.show();
            QVERIFY(QTest::qWaitForWindowActive(&d));
            zuletzt->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        if (!an.contains(u'n')) return;
        d.show();
        QTest::mouseClick(d.InEigeneSeiteunterhalbDerTabelleCheckBox, Qt::LeftButton);
        QVERIFY(d.InEigeneSeiteunterhalbDerTabelleCheckBox->isChecked());
        QVERIFY(!d.unterDieGrafikCheckBox->isChecked() && !d.InEigeneSeiteOberhalbDerTabelleCheckBox->isChecked());
        QCOMPARE(d.platz(), pdfdokument::Platz::SeiteUnterhalb);
    }

    // Through the windows: the graph-and-table PDF with the patient data on a page; the viewer gets it.
    void ausDemHauptfenster() {
        const QString tabelle = annasMaerz(u"pdfablauf"_s), programm = testumgebung::programmOrdner();
        Schreib_String_in_Registry(u"BenutzerName"_s, u"Anna"_s);
        Schreib_String_in_Registry(u"TabellenDateiName"_s, tabelle);
        const QString daten = programm + u"Patientendaten.txt"_s;
        testumgebung::schreibe(daten, "Anna Muster\r\nHausarzt: Dr. M\xfcller\r\n");
        Programmstart p;
        QVERIFY(p.erzeugeFenster({}));
        p.mainForm->show();
        QTRY_VERIFY(!p.mainForm->ersteZeichnungAusstehend());
        TestDialoge& dlg = testumgebung::dialoge();
        bool fertig = false;
        dlg.fenster.push_back([&](QObject* f) { // the table window
            auto* t = qobject_cast<TTabellenDlg*>(f);
            if (!t) return 0;
            t->offeneBefehleAusfuehren();
            fertig = true;
            return 0;
        });
        dlg.fenster.push_back([&](QObject* f) { // the patient data dialog
            auto* d = qobject_cast<TPatientenDatenInPDFform*>(f);
            if (!d) return 0;
            dlg.dateien.push_front(daten);
            d->Button3Click();
            QTest::mouseClick(d->InEigeneSeiteunterhalbDerTabelleCheckBox, Qt::LeftButton);
            d->Button1Click();
            return d->result();
        });
        const QString pdf = programm + u"Korvane-Daten-Galerie/2024/März 2024 Anna"_s;
        dlg.dateien.push_back(pdf); // the save dialog; ".pdf" is added
        QStringList geoeffnet;
        shell::zeichneAuf(&geoeffnet);
        p.mainForm->GrafikUndTabelleSpeichernAlsPDFDateiClick();
        QTRY_VERIFY(fertig);
        shell::zeichneAuf(nullptr);
        QCOMPARE(dlg.unerwartet, QStringList());
        const QStringList gespeichert = dlg.texte(TestDialoge::Art::DateiSpeichern);
        QCOMPARE(gespeichert.size(), 1);
        QVERIFY2(gespeichert.first().endsWith(u"|"_s + pdf + u".pdf"_s), qPrintable(gespeichert.first()));
        QCOMPARE(geoeffnet, QStringList{pdf + u".pdf"_s});
        const QList<Seite> seiten = seitenVon(pdf + u".pdf"_s);
        QCOMPARE(seiten.size(), 3);
        QCOMPARE(seiten.at(1).bilder, QStringList{u"802x1164"_s});
        QCOMPARE(seiten.at(2).text, u"Seite 3 Anna Muster Hausarzt: Dr. Müller"_s);
    }

    void nichtSchreibbar_data() {
        QTest::addColumn<QString>("ziel");    // below the program folder; what is there before stays
        QTest::addColumn<QString>("warnung"); // %1: the whole path
        QTest::newRow("schreibgeschützt")
            << "fest.pdf"
            << "Die Datei \"%1\" ist schreibgeschützt und wurde nicht geändert.";
        // The month's remarks file, even before there is one, is never a document.
        QTest::newRow("bemerkungen in gebrauch") << "Korvane-Daten-Galerie/2024/Anna_03_2024.txt"
                                                 << "\"%1\" ist die Bemerkungsdatei der Monatstabelle "
                                                    "\"<T>\"; eine Export-Datei wird nie so genannt. "
                                                    "Die PDF-Datei wird nicht geschrieben.";
        // Written, but no program opens it: kept, and the message names it and the opener tried.
        QTest::newRow("öffnen scheitert") << "neu.pdf"
                                          << "Die PDF-Datei \"%1\" wurde gespeichert, konnte aber nicht geöffnet "
                                             "werden. \"xdg-open\" kennt kein Programm, das diese Art Datei öffnet.";
    }
    // A file that cannot or must not be written: one message names it, what was there stays.
    void nichtSchreibbar() {
        QFETCH(QString, ziel);
        QFETCH(QString, warnung);
        const QString tabelle = annasMaerz(u"pdfgesperrt"_s), programm = testumgebung::programmOrdner();
        Zustand z;
        z.tabellenOrdner = programm + u"Korvane-Daten-Galerie/"_s;
        z.benutzerName = u"Anna"_s;
        TMonatsGrafik g(z);
        QVERIFY(g.GrafikZeichnen(tabelle));
        const bool geschrieben = ziel == u"neu.pdf"_s;
        ziel.prepend(programm);
        warnung = warnung.arg(ziel).replace(u"<T>"_s, tabelle);
        if (!ziel.endsWith(u".txt"_s) && !geschrieben) testumgebung::schreibe(ziel, "vorher");
        if (ziel.endsWith(u"fest.pdf"_s)) QFile::setPermissions(ziel, QFileDevice::ReadOwner);
        testumgebung::dialoge().dateien.push_back(ziel);
        TPdfExport e(z, g, nullptr);
        QStringList geoeffnet;
        shell::zeichneAuf(&geoeffnet, false);
        QCOMPARE(e.exportieren(pdfdokument::Art::NurGrafik, nullptr), geschrieben);
        shell::zeichneAuf(nullptr);
        QCOMPARE(geoeffnet, geschrieben ? QStringList{ziel} : QStringList());
        QCOMPARE(testumgebung::dialoge().alleTexte(), QStringList{warnung});
        if (geschrieben) {
            QVERIFY(testumgebung::lies(ziel).startsWith("%PDF-"));
            return;
        }
        QCOMPARE(testumgebung::lies(ziel), ziel.endsWith(u".txt"_s) ? QByteArray() : QByteArray("vorher"));
        QCOMPARE(QFileInfo::exists(ziel), !ziel.endsWith(u".txt"_s));
    }
};

KORVANE_TEST_MAIN(TestPdf)
#include "test_pdf.moc"
