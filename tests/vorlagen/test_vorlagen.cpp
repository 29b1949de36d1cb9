// The built-in template pictures: the chart draws its curves straight onto them, so their grid
// has to sit exactly on the chart's day columns and value rows.
#include "testumgebung.h"

#include <QImage>
#include <QtEndian>

class TestVorlagen : public QObject {
    Q_OBJECT

private slots:
    void vorlagen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<QList<int>>("zeilen"); // grid rows met down a column between two days
        QList<int> mmHg;                        // 220 .. 20 mmHg
        for (int y = 61; y <= 461; y += 20)
            mmHg << y;
        QTest::newRow("Vorlage") << "Vorlage.bmp" << QSize(570, 464) << mmHg;
        QTest::newRow("GewichtVorlage") << "GewichtVorlage.bmp" << QSize(570, 136) << QList<int>{7, 42, 77, 112};
        QTest::newRow("Header") << "Header.bmp" << QSize(570, 21) << QList<int>();
    }
    // 24-bit bitmaps; on the grid pictures the day columns are one pixel wide at 41 + 16·(d − 1).
    void vorlagen() {
        QFETCH(QString, name);
        const QByteArray roh = testumgebung::lies(":/vorlagen/" + name);
        QVERIFY(roh.startsWith("BM") && roh.size() > 54);
        QCOMPARE(qFromLittleEndian<quint16>(roh.constData() + 28), quint16(24));
        const QImage bild = QImage::fromData(roh).convertToFormat(QImage::Format_RGB32);
        QTEST(bild.size(), "groesse");
        QFETCH(QList<int>, zeilen);
        // The legend strip has no grid; its strokes are drawn at row 11, into areas that must stay blank.
        if (zeilen.isEmpty()) {
            for (int links : {12, 147, 287, 437})
                for (int y = 3; y < 18; ++y)
                    for (int x = links; x < links + 47; ++x)
                        QVERIFY(bild.pixel(x, y) == bild.pixel(links, 3));
            return;
        }
        const QRgb grund = bild.pixel(49, bild.height() - 1);
        QList<int> gefunden;
        for (int y = 0; y < bild.height(); ++y)
            if (bild.pixel(49, y) != grund) gefunden << y;
        QCOMPARE(gefunden, zeilen);
        for (int x = 41, y = zeilen[0] + 10; x <= 521; x += 16)
            QVERIFY2(qGray(bild.pixel(x, y)) < qGray(grund) && bild.pixel(x - 1, y) == grund &&
                         bild.pixel(x + 1, y) == grund && bild.pixel(x + 8, y) == grund,
                     qPrintable(QString::number(x)));
    }
};

KORVANE_TEST_MAIN(TestVorlagen)
#include "test_vorlagen.moc"
