// The built-in template pictures: the chart draws its curves straight onto them, so their grid
// has to sit exactly on the chart's day columns and mmHg rows, and they must stay light.
#include "testumgebung.h"

#include <QFile>
#include <QImage>
#include <QRect>
#include <QtEndian>

namespace {

int tagX(int tag) {
    return 41 + 16 * (tag - 1);
}
int rasterY(int mmHg) {
    return 61 + 2 * (220 - mmHg);
}

QImage vorlage(const QString& name) {
    return QImage(QStringLiteral(":/vorlagen/") + name);
}

int dunkelsterKanal(QRgb p) {
    return qMin(qRed(p), qMin(qGreen(p), qBlue(p)));
}
int helligkeit(QRgb p) {
    return qRed(p) + qGreen(p) + qBlue(p);
}

QString farbText(QRgb p) {
    return QStringLiteral("(%1,%2,%3)").arg(qRed(p)).arg(qGreen(p)).arg(qBlue(p));
}

// Dark pixels (text) inside a rectangle, as their bounding box; empty when none.
QRect dunkleFlaeche(const QImage& bild, const QRect& bereich, int grenze) {
    QRect box;
    for (int y = bereich.top(); y <= bereich.bottom(); ++y)
        for (int x = bereich.left(); x <= bereich.right(); ++x)
            if (dunkelsterKanal(bild.pixel(x, y)) < grenze) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestVorlagen : public QObject {
    Q_OBJECT

private slots:
    void groesseUndFarbtiefe_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("groesse");
        QTest::newRow("Vorlage") << QStringLiteral("Vorlage.bmp") << QSize(570, 464);
        QTest::newRow("GewichtVorlage") << QStringLiteral("GewichtVorlage.bmp") << QSize(570, 136);
        QTest::newRow("Header") << QStringLiteral("Header.bmp") << QSize(570, 21);
    }

    void groesseUndFarbtiefe() {
        QFETCH(QString, name);
        QFETCH(QSize, groesse);
        QFile datei(QStringLiteral(":/vorlagen/") + name);
        QVERIFY2(datei.open(QIODevice::ReadOnly), "template missing from the built-in resources");
        const QByteArray roh = datei.readAll();
        QVERIFY(roh.size() > 54);
        QCOMPARE(roh.left(2), QByteArray("BM"));
        QCOMPARE(int(qFromLittleEndian<quint16>(roh.constData() + 28)), 24);

        const QImage bild = vorlage(name);
        QVERIFY(!bild.isNull());
        QCOMPARE(bild.size(), groesse);

        // The copy beside the program is the one a user sees first; it must be the same picture.
        const QImage daneben(QStringLiteral(KORVANE_BIN "/") + name);
        QVERIFY2(!daneben.isNull(), "template missing beside the program");
        QCOMPARE(daneben.convertToFormat(QImage::Format_RGB32), bild.convertToFormat(QImage::Format_RGB32));
    }

    // Each day column is one pixel wide at x = 41 + 16·(d − 1); halfway to the next one is blank.
    void tagesSpalten_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("y");
        QTest::newRow("Vorlage oben") << QStringLiteral("Vorlage.bmp") << 71;
        QTest::newRow("Vorlage Mitte") << QStringLiteral("Vorlage.bmp") << 250;
        QTest::newRow("Vorlage unten") << QStringLiteral("Vorlage.bmp") << 455;
        QTest::newRow("GewichtVorlage oben") << QStringLiteral("GewichtVorlage.bmp") << 20;
        QTest::newRow("GewichtVorlage unten") << QStringLiteral("GewichtVorlage.bmp") << 100;
    }

    void tagesSpalten() {
        QFETCH(QString, name);
        QFETCH(int, y);
        const QImage bild = vorlage(name);
        QVERIFY(!bild.isNull());
        const QRgb grund = bild.pixel(5, y);
        for (int tag = 1; tag <= 31; ++tag) {
            const int x = tagX(tag);
            const QRgb linie = bild.pixel(x, y);
            QVERIFY2(helligkeit(linie) < helligkeit(grund),
                     qPrintable(QStringLiteral("day %1: no column at x %2").arg(tag).arg(x)));
            for (int daneben : {x - 1, x + 1, x + 8})
                QVERIFY2(bild.pixel(daneben, y) == grund,
                         qPrintable(QStringLiteral("day %1: x %2 is %3, not background")
                                        .arg(tag)
                                        .arg(daneben)
                                        .arg(farbText(bild.pixel(daneben, y)))));
        }
    }

    // Scanning down a pixel column between two day columns meets exactly the grid rows.
    void zeilen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("x");
        QTest::addColumn<QList<int>>("zeilen");
        QList<int> mmHg;
        for (int v = 220; v >= 20; v -= 10)
            mmHg << rasterY(v);
        QTest::newRow("Vorlage links") << QStringLiteral("Vorlage.bmp") << 34 << mmHg;
        QTest::newRow("Vorlage Tag 1") << QStringLiteral("Vorlage.bmp") << 49 << mmHg;
        QTest::newRow("Vorlage Tag 16") << QStringLiteral("Vorlage.bmp") << 289 << mmHg;
        QTest::newRow("Vorlage rechts") << QStringLiteral("Vorlage.bmp") << 544 << mmHg;
        const QList<int> gewicht{7, 42, 77, 112};
        QTest::newRow("GewichtVorlage links") << QStringLiteral("GewichtVorlage.bmp") << 34 << gewicht;
        QTest::newRow("GewichtVorlage Tag 31") << QStringLiteral("GewichtVorlage.bmp") << 529 << gewicht;
    }

    void zeilen() {
        QFETCH(QString, name);
        QFETCH(int, x);
        QFETCH(QList<int>, zeilen);
        const QImage bild = vorlage(name);
        QVERIFY(!bild.isNull());
        const QRgb grund = bild.pixel(x, bild.height() - 1);
        QList<int> gefunden;
        for (int y = 0; y < bild.height(); ++y)
            if (bild.pixel(x, y) != grund) gefunden << y;
        QCOMPARE(gefunden, zeilen);
    }

    void grenzwerteHervorgehoben() {
        const QImage bild = vorlage(QStringLiteral("Vorlage.bmp"));
        QVERIFY(!bild.isNull());
        const int normal = helligkeit(bild.pixel(49, rasterY(150)));
        for (int v : {140, 90})
            QVERIFY2(helligkeit(bild.pixel(49, rasterY(v))) < normal,
                     qPrintable(QStringLiteral("%1 mmHg row not stronger than the others").arg(v)));
        QCOMPARE(bild.pixel(49, rasterY(100)), bild.pixel(49, rasterY(150)));
    }

    void tagesZahlenMittigUeberSpalten() {
        const QImage bild = vorlage(QStringLiteral("Vorlage.bmp"));
        QVERIFY(!bild.isNull());
        for (int tag = 1; tag <= 31; ++tag) {
            const QRect zahl = dunkleFlaeche(bild, QRect(tagX(tag) - 8, 0, 16, 40), 200);
            QVERIFY2(!zahl.isEmpty(), qPrintable(QStringLiteral("no number over day %1").arg(tag)));
            QVERIFY2(zahl.top() >= 20 && zahl.bottom() <= 38,
                     qPrintable(QStringLiteral("number of day %1 at rows %2..%3")
                                    .arg(tag)
                                    .arg(zahl.top())
                                    .arg(zahl.bottom())));
            const double mitte = (zahl.left() + zahl.right()) / 2.0;
            QVERIFY2(qAbs(mitte - tagX(tag)) <= 1.5,
                     qPrintable(QStringLiteral("number of day %1 centred at %2").arg(tag).arg(mitte)));
        }
    }

    // Light everywhere the program writes or draws, so black text and coloured curves stand out;
    // only the given text areas may hold darker pixels, and those never black.
    void hell_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("text");
        QTest::addColumn<int>("textMindestens");
        QTest::newRow("Vorlage") << QStringLiteral("Vorlage.bmp") << QRect(33, 20, 537, 19) << 80;
        QTest::newRow("GewichtVorlage") << QStringLiteral("GewichtVorlage.bmp") << QRect() << 0;
        QTest::newRow("Header") << QStringLiteral("Header.bmp") << QRect(60, 0, 510, 21) << 0;
    }

    void hell() {
        QFETCH(QString, name);
        QFETCH(QRect, text);
        QFETCH(int, textMindestens);
        const QImage bild = vorlage(name);
        QVERIFY(!bild.isNull());
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x) {
                const QRgb p = bild.pixel(x, y);
                const int grenze = text.contains(x, y) ? textMindestens : 170;
                if (dunkelsterKanal(p) < grenze)
                    QFAIL(qPrintable(QStringLiteral("pixel (%1,%2) is %3").arg(x).arg(y).arg(farbText(p))));
            }
    }

    // The program writes its scales left of x 33 and the legend strokes at row 11 of the strip.
    void freieFlaechen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("frei");
        QTest::newRow("mmHg-Skala") << QStringLiteral("Vorlage.bmp") << QRect(0, 0, 33, 464);
        QTest::newRow("Gewichtsskala") << QStringLiteral("GewichtVorlage.bmp") << QRect(0, 0, 33, 136);
        QTest::newRow("Strich systolisch") << QStringLiteral("Header.bmp") << QRect(12, 3, 47, 15);
        QTest::newRow("Strich diastolisch") << QStringLiteral("Header.bmp") << QRect(147, 3, 47, 15);
        QTest::newRow("Strich Puls") << QStringLiteral("Header.bmp") << QRect(287, 3, 47, 15);
        QTest::newRow("Strich Gewicht") << QStringLiteral("Header.bmp") << QRect(437, 3, 47, 15);
    }

    void freieFlaechen() {
        QFETCH(QString, name);
        QFETCH(QRect, frei);
        const QImage bild = vorlage(name);
        QVERIFY(!bild.isNull());
        const QRgb grund = bild.pixel(frei.topLeft());
        for (int y = frei.top(); y <= frei.bottom(); ++y)
            for (int x = frei.left(); x <= frei.right(); ++x)
                if (bild.pixel(x, y) != grund)
                    QFAIL(qPrintable(
                        QStringLiteral("pixel (%1,%2) is %3").arg(x).arg(y).arg(farbText(bild.pixel(x, y)))));
    }

    void kopfWoerter_data() {
        QTest::addColumn<int>("anfang");
        QTest::addColumn<int>("naechsterStrich");
        QTest::newRow("systolisch") << 65 << 150;
        QTest::newRow("diastolisch") << 200 << 290;
        QTest::newRow("Puls/Minute") << 343 << 440;
        QTest::newRow("Gewicht") << 490 << 570;
    }

    void kopfWoerter() {
        QFETCH(int, anfang);
        QFETCH(int, naechsterStrich);
        const QImage bild = vorlage(QStringLiteral("Header.bmp"));
        QVERIFY(!bild.isNull());
        const QRgb grund = bild.pixel(2, 10);
        QVERIFY2(qGreen(grund) > qRed(grund) + 20 && qBlue(grund) > qRed(grund) + 20 && qRed(grund) >= 170,
                 qPrintable(QStringLiteral("background %1 is not light cyan").arg(farbText(grund))));
        // Black bold text: the word's darkest pixels are near black.
        const QRect wort = dunkleFlaeche(bild, QRect(anfang - 10, 0, naechsterStrich - anfang + 10, 21), 60);
        QVERIFY2(!wort.isEmpty(), "no black word");
        QVERIFY2(qAbs(wort.left() - anfang) <= 4,
                 qPrintable(QStringLiteral("word starts at %1").arg(wort.left())));
        QVERIFY2(wort.right() < naechsterStrich - 5,
                 qPrintable(QStringLiteral("word runs to %1").arg(wort.right())));
        QVERIFY2(wort.width() > 30, qPrintable(QStringLiteral("word only %1 wide").arg(wort.width())));
        QVERIFY2(wort.top() <= 11 && wort.bottom() >= 11, "word not on the stroke row");
    }
};

KORVANE_TEST_MAIN(TestVorlagen)
#include "test_vorlagen.moc"
