// The month as a table: its cells, the text and image copies, the window and printing.
#include "testumgebung.h"

#include "table/gui/ttabellendlg.h"
#include "table/tabelle.h"

#include <QClipboard>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QString zeile(const char* slot, const char* tag, const QString& gewicht, int sys = 140) {
    return u"%1 den %2.03.2024 Z=07:30 s=%3, d=90, p=70, Gewicht=%4"_s.arg(QLatin1String(slot),
                                                                           QLatin1String(tag))
        .arg(sys)
        .arg(gewicht);
}

// A full month in list form: TABs between the pieces, as the entry dialog keeps it.
QStringList vollerMonat() {
    QStringList liste;
    for (int tag = 1; tag <= 31; ++tag)
        for (const char* slot : {"Morgens", "Messung2", "Messung3", "Abends"})
            liste << u"%1 den \t%2.03.2024 \tZ=07:30 \ts=%3, \td=80, \tp=60, \tGewicht=7%4,5"_s
                         .arg(QLatin1String(slot))
                         .arg(tag, 2, 10, QLatin1Char('0'))
                         .arg(110 + tag)
                         .arg(tag % 10);
    return liste;
}

} // namespace

class TestTabelle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { testumgebung::dialoge().leeren(); }

    void zellen_data() {
        QTest::addColumn<QStringList>("liste");
        QTest::addColumn<int>("zeile");
        QTest::addColumn<int>("spalte");
        QTest::addColumn<QString>("text");
        const QStringList eine{zeile("Morgens", "05", "75,5")};
        QTest::newRow("kopf") << QStringList() << 0 << 0 << "  DATUM";
        QTest::newRow("kopf gewicht") << QStringList() << 0 << 21 << " GEWICHT";
        QTest::newRow("tage zweistellig") << QStringList() << 7 << 0 << "      07";
        QTest::newRow("leere zelle") << QStringList() << 31 << 20 << "  ";
        QTest::newRow("zeit mit blank") << eine << 5 << 1 << "    07:30 ";
        QTest::newRow("systolisch") << eine << 5 << 2 << "    140 ";
        QTest::newRow("puls") << eine << 5 << 4 << "    70 ";
        QTest::newRow("ein gewicht") << eine << 5 << 21 << "    75,5";
        QTest::newRow("zwei gewichte")
            << QStringList{zeile("Morgens", "05", "75,0"), zeile("Abends", "05", "76,0")} << 5 << 21 << "  * 75,5";
        QTest::newRow("mittel zweistellig")
            << QStringList{zeile("Morgens", "05", "5"), zeile("Abends", "05", "6")} << 5 << 21 << "  * 05,5";
        QTest::newRow("mittel rundet halb gerade")
            << QStringList{zeile("Morgens", "05", "70,1"), zeile("Abends", "05", "70,2")} << 5 << 21 << "  * 70,2";
        QTest::newRow("ohne gewicht") << QStringList{zeile("Morgens", "05", "0")} << 5 << 21 << "    0";
        QTest::newRow("tag ohne messung") << eine << 6 << 21 << "  ";
        QTest::newRow("abends") << QStringList{zeile("Abends", "31", "0")} << 31 << 17 << "    140 ";
        QTest::newRow("messung 3") << QStringList{zeile("Messung3", "12", "0")} << 12 << 12 << "    140 ";
        QTest::newRow("gleicher platz zweimal")
            << QStringList{zeile("Morgens", "05", "0", 120), zeile("Morgens", "05", "0", 130)} << 5 << 2 << "    130 ";
        QTest::newRow("einstelliger tag fuellt nichts")
            << QStringList{u"Morgens den 5.03.2024 Z=07:30 s=1, d=1, p=1, Gewicht=70"_s} << 5 << 1 << "  ";
        // A line without "den" repeats the previous reading and counts its weight again.
        QTest::newRow("zeile ohne den")
            << QStringList{zeile("Morgens", "05", "70"), u"Notiz"_s, zeile("Morgens", "06", "80")} << 5 << 21
            << "  * 70,0";
        QTest::newRow("gewicht keine zahl")
            << QStringList{zeile("Morgens", "05", "7x"), zeile("Abends", "05", "70")} << 5 << 21 << "    70";
        QTest::newRow("listenform mit tabs")
            << QStringList{u"Morgens den \t05.03.2024 \tZ=07:30 \ts=140, \td=90, \tp=70, \tGewicht=72,5"_s} << 5
            << 21 << "    72,5";
    }
    void zellen() {
        QFETCH(QStringList, liste);
        QFETCH(int, zeile);
        QFETCH(int, spalte);
        QTEST(tabelle::ErstelleTabelle(liste).zelle(zeile, spalte), "text");
    }

    void textKopieren_data() {
        QTest::addColumn<QRect>("auswahl");
        QTest::addColumn<QString>("text");
        QTest::newRow("kopfzeile") << QRect(QPoint(0, 0), QPoint(3, 0)) << "  DATUM  MORGENS   SYST.    DIAST.\r\n";
        QTest::newRow("ueber einen trenner")
            << QRect(QPoint(3, 5), QPoint(7, 6))
            << "    90 \t    70 \t    13:00 \t    141 \r\n  \t  \t  \t  \r\n";
        QTest::newRow("eine zelle") << QRect(0, 5, 1, 1) << "      05\r\n";
    }
    void textKopieren() {
        QFETCH(QRect, auswahl);
        const QStringList liste{zeile("Morgens", "05", "0"),
                                u"Messung2 den 05.03.2024 Z=13:00 s=141, d=91, p=71, Gewicht=0"_s};
        QTEST(tabelle::TextKopieren(tabelle::ErstelleTabelle(liste), auswahl), "text");
    }

    // The window: its grid, Ctrl+C, the image copies (the picture's sizes: a cell, the whole grid;
    // where each text stands in it is the picture's own layout), closing; the thumb is the one dark
    // block of the vertical scroll bar and stands where the rows shown are, at the top, then at the
    // bottom.
    void fenster() {
        TTabellenDlg d;
        d.ErstelleTabelle(vollerMonat());
        d.show();
        QCOMPARE(d.StringGrid1->item(5, 21)->text(), u"  * 75,5"_s);
        d.setzeAuswahl(QRect(QPoint(0, 0), QPoint(1, 0)));
        QTest::keyClick(&d, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"  DATUM  MORGENS \r\n"_s);
        QCOMPARE(d.StringGrid1->item(0, 1)->text(), u"MORGENS"_s); // the long headers again
        d.setzeAuswahl(QRect(QPoint(4, 4), QPoint(6, 4)));         // over a separator
        d.NurmarkierterBereichalsGrafikkopieren1Click();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(61 + 16 + 61 + 1, 26));
        d.Alles_alsGrafikkopierenClick();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(1164, 802));
        QScrollBar* balken = d.StringGrid1->verticalScrollBar();
        QVERIFY(QTest::qWaitForWindowExposed(&d) && balken->maximum() > 0);
        for (bool unten : {false, true}) {
            balken->setValue(unten ? balken->maximum() : 0);
            const QImage bild = balken->grab().toImage();
            QList<int> dunkel; // rows down the middle, between the square arrow buttons
            for (int y = bild.width(); y < bild.height() - bild.width(); ++y)
                if (qGray(bild.pixel(bild.width() / 2, y)) < 200) dunkel << y;
            QVERIFY(dunkel.size() > 20);
            QCOMPARE(dunkel.last() - dunkel.first() + 1, dunkel.size()); // one block
            QCOMPARE(dunkel.first() + dunkel.last() > bild.height(), unten);
        }
        bool geschlossen = false;
        connect(&d, &TTabellenDlg::geschlossen, this, [&] { geschlossen = true; });
        d.Beenden1->trigger();
        QVERIFY(geschlossen);
        QVERIFY(!d.isVisible());
    }

    // Printed to a PDF: one landscape page with the title and the grid, as pdftoppm shows it.
    void drucken() {
        QTemporaryDir ordner;
        const QString pdf = ordner.filePath(u"tabelle.pdf"_s);
        TTabellenDlg d;
        d.setWindowTitle(u"Korvanemesswerte  März 2024  Anna"_s);
        d.ErstelleTabelle(vollerMonat());
        testumgebung::dialoge().fenster.push_back([&](QObject* f) {
            QPrinter* drucker = qobject_cast<QPrintDialog*>(f)->printer();
            drucker->setOutputFormat(QPrinter::PdfFormat);
            drucker->setOutputFileName(pdf);
            drucker->setPageSize(QPageSize(QPageSize::A4));
            drucker->setPageOrientation(QPageLayout::Portrait);
            return int(QDialog::Accepted);
        });
        d.druckenClick();
        QCOMPARE(testumgebung::dialoge().unerwartet, QStringList());
        QProcess text;
        text.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        QVERIFY(text.waitForFinished(20000));
        const QString inhalt = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(inhalt.simplified().startsWith(u"Korvanemesswerte März 2024 Anna DATUM MORGENS SYSTOLE"_s),
                 qPrintable(inhalt.left(300)));
        QVERIFY(inhalt.contains(u"GEWICHT"_s) && inhalt.contains(u"141"_s));
        QCOMPARE(inhalt.count(u'\f'), 1); // one page
        QProcess bild;
        bild.start(u"pdftoppm"_s, {u"-r"_s, u"30"_s, u"-png"_s, pdf, ordner.filePath(u"seite"_s)});
        QVERIFY(bild.waitForFinished(20000));
        const QImage seite(ordner.filePath(u"seite-1.png"_s));
        QVERIFY(seite.width() > seite.height()); // across the page
        // Cancelled: nothing is printed.
        QFile::remove(pdf);
        d.druckenClick();
        QVERIFY(!QFile::exists(pdf));
    }
};

KORVANE_TEST_MAIN(TestTabelle)
#include "test_tabelle.moc"
