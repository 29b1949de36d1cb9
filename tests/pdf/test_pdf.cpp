// The PDF writer's exact bytes, read back by real readers.
#include "testumgebung.h"

#include "export/pdf/tmachpdf.h"
#include "platform/uhr.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

// qpdf --check: 0 (fine) or 3 (warnings only) count as readable; its output for the message.
int qpdfPruefung(const QString& pfad, QString* ausgabe) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(u"qpdf"_s, {u"--check"_s, pfad});
    p.waitForFinished(30000);
    *ausgabe = QString::fromUtf8(p.readAll());
    return p.exitCode();
}

QByteArray zlibLeer() {
    uLongf laenge = 64;
    QByteArray b(64, 0);
    compress2(reinterpret_cast<Bytef*>(b.data()), &laenge, reinterpret_cast<const Bytef*>(""), 0,
              Z_DEFAULT_COMPRESSION);
    b.truncate(qsizetype(laenge));
    return b;
}

} // namespace

class TestPdf : public QObject {
    Q_OBJECT

    QTemporaryDir ordner;

private Q_SLOTS:
    void init() { Uhr::setzeJetzt(QDateTime(QDate(2024, 3, 5), QTime(7, 30, 5))); }
    void cleanup() { Uhr::setzeJetzt({}); }

    void leereSeite_data() {
        QTest::addColumn<bool>("komprimiert");
        QTest::newRow("komprimiert") << true;
        QTest::newRow("roh") << false;
    }
    // One page, nothing drawn: objects 1 to 21, the catalog 22, /Size 23, /Kids naming 21.
    void leereSeite() {
        QFETCH(bool, komprimiert);
        TmachPDF pdf;
        pdf.Compress = komprimiert;
        pdf.TITLE = u"Korvanemesswerte"_s;
        pdf.BeginDoc();
        const QByteArray b = pdf.EndDocBytes();
        QVERIFY(b.startsWith("%PDF-1.4\r\n1 0 obj\r\n<<\r\n/Producer (Korvane)\r\n/Author (Korvane)\r\n"
                             "/CreationDate (D:20240305073005)\r\n/Creator (Korvane)\r\n/Keywords ()\r\n"
                             "/Subject ()\r\n/Title (Korvanemesswerte)\r\n/ModDate ()\r\n>>\r\nendobj\r\n"));
        const QByteArray leer = komprimiert ? zlibLeer() : QByteArray();
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
        QVERIFY(b.endsWith("%%EOF\r\n"));
        QCOMPARE(b.contains("/Filter"), komprimiert);
    }

    // Every cross-reference line is 20 bytes and every offset points at its object; startxref at xref.
    void querverweise() {
        TmachPDF pdf;
        pdf.BeginDoc();
        pdf.TextOut(10, 20, u"Seite 1"_s);
        QImage bild(30, 20, QImage::Format_RGB32);
        bild.fill(Qt::red);
        pdf.DrawImage(60, 40, bild);
        pdf.NewPage();
        pdf.DrawImage(30, 30, 9, 13, bild);
        const QByteArray b = pdf.EndDocBytes();
        const qsizetype xref = b.lastIndexOf("\r\nxref\r\n") + 2;
        QVERIFY(b.contains("startxref\r\n" + QByteArray::number(xref) + "\r\n%%EOF\r\n"));
        const QList<QByteArray> zeilen = b.mid(xref).split('\n');
        const int anzahl = zeilen.at(1).trimmed().split(' ').at(1).toInt();
        QCOMPARE(anzahl, 2 * 2 + 20 + 2 + 2); // 2n + 20 + m + n
        QCOMPARE(zeilen.at(2), QByteArray("0000000000 65535 f\r"));
        for (int k = 1; k < anzahl; ++k) {
            const QByteArray z = zeilen.at(2 + k) + '\n';
            QCOMPARE(z.size(), 20);
            const qint64 versatz = z.left(10).toLongLong();
            QVERIFY2(b.mid(versatz).startsWith(QByteArray::number(k) + " 0 obj\r\n"), qPrintable(QString::number(k)));
        }
        // The images after the resources, each with CR LF before endstream.
        QVERIFY(b.contains("/XObject << \r\n/Im1 23 0 R\r\n/Im2 24 0 R\r\n>>"));
        QVERIFY(b.contains("/Name /Im1\r\n/Filter [/FlateDecode]\r\n>>\r\nstream\r\n"));
        QCOMPARE(b.count("\r\nendstream\r\nendobj\r\n"), 2);
        QVERIFY(b.contains("/Kids [\r\n25 0 R\r\n26 0 R\r\n]"));
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

    // Characters Windows-1252 cannot hold are never dropped silently: nothing is written.
    void nichtDarstellbar() {
        TmachPDF pdf;
        pdf.FileName = ordner.filePath(u"x.pdf"_s);
        pdf.BeginDoc();
        pdf.TextLines(50, 50, {u"Ελένη"_s});
        QString fehler;
        QVERIFY(!pdf.EndDoc(&fehler));
        QVERIFY(fehler.contains(u"Ε"_s) && fehler.contains(pdf.FileName));
        QVERIFY(!QFile::exists(pdf.FileName));
    }

    // What real readers say: qpdf finds no error and pdftoppm renders the page.
    void leser() {
        TmachPDF pdf;
        pdf.FileName = ordner.filePath(u"leser.pdf"_s);
        pdf.PageWidth = 596;
        pdf.PageHeight = 842;
        pdf.BeginDoc();
        pdf.Font = {0, 8};
        pdf.TextOut(288, 15, u"Seite 1"_s);
        QImage bild(200, 100, QImage::Format_RGB32);
        bild.fill(QColor(0, 0, 255));
        pdf.DrawImage(60, 40, bild);
        pdf.NewPage();
        pdf.TextLines(50, 50, {u"Patientendaten: Anna (geb. 1950)"_s, u"Straße 1\\2"_s});
        QVERIFY(pdf.EndDoc());
        QString ausgabe;
        QVERIFY2(qpdfPruefung(pdf.FileName, &ausgabe) == 0, qPrintable(ausgabe));
        QProcess p;
        p.start(u"pdftoppm"_s, {u"-r"_s, u"36"_s, u"-png"_s, pdf.FileName, ordner.filePath(u"s"_s)});
        QVERIFY(p.waitForFinished(30000));
        const QImage seite1(ordner.filePath(u"s-1.png"_s));
        QVERIFY(!seite1.isNull());
        QVERIFY(seite1.pixelColor(int(60 * 0.5 + 20), int(40 * 0.5 + 10)).blue() > 240);
        QVERIFY(seite1.pixelColor(int(60 * 0.5 + 20), int(40 * 0.5 + 10)).red() < 15);
        QVERIFY(QFile::exists(ordner.filePath(u"s-2.png"_s)));
        QProcess t;
        t.start(u"pdftotext"_s, {pdf.FileName, u"-"_s});
        QVERIFY(t.waitForFinished(30000));
        const QString text = QString::fromUtf8(t.readAllStandardOutput());
        QVERIFY2(text.contains(u"Patientendaten: Anna (geb. 1950)"_s) && text.contains(u"Straße 1\\2"_s), qPrintable(text));
    }

    // SOURCE_DATE_EPOCH: the moment in UTC, so two runs give the same bytes.
    void reproduzierbar() {
        qputenv("SOURCE_DATE_EPOCH", "1709624405"); // 2024-03-05 07:40:05 UTC
        Uhr::setzeJetzt({});
        auto erzeuge = [] {
            TmachPDF pdf;
            pdf.BeginDoc();
            pdf.TextOut(10, 10, u"x"_s);
            return pdf.EndDocBytes();
        };
        const QByteArray a = erzeuge();
        qunsetenv("SOURCE_DATE_EPOCH");
        QVERIFY(a.contains("/CreationDate (D:20240305074005)"));
        qputenv("SOURCE_DATE_EPOCH", "1709624405");
        QCOMPARE(erzeuge(), a);
        qunsetenv("SOURCE_DATE_EPOCH");
    }
};

KORVANE_TEST_MAIN(TestPdf)
#include "test_pdf.moc"
