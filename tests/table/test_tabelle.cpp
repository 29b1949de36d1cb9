// The month as a table: its cells, the text and image copies, the window and printing.
#include "testumgebung.h"

#include "table/gui/ttabellendlg.h"
#include "table/tabelle.h"

#include <QClipboard>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QString zeile(const QString& slot, const QString& gewicht, const QString& tag = u"05"_s, int sys = 140) {
    return u"%1 den %2.03.2024 Z=07:30 s=%3, d=90, p=70, Gewicht=%4"_s.arg(slot, tag, QString::number(sys), gewicht);
}

// A full month in list form: TABs between the pieces, as the entry dialog keeps it.
QStringList vollerMonat() {
    QStringList liste;
    for (int tag = 1; tag <= 31; ++tag)
        for (const char* slot : {"Morgens", "Messung2", "Messung3", "Abends"})
            liste << u"%1 den \t%2.03.2024 \tZ=07:30 \ts=%3, \td=80, \tp=60, \tGewicht=7%4,5"_s.arg(QLatin1String(slot))
                         .arg(tag, 2, 10, QLatin1Char('0')).arg(110 + tag).arg(tag % 10);
    return liste;
}

} // namespace

class TestTabelle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { testumgebung::dialoge().leeren(); }

    void zellen_data() {
        QTest::addColumn<QStringList>("liste");
        QTest::addColumn<QPoint>("zelle"); // column, row
        QTest::addColumn<QString>("text");
        const QStringList eine{zeile("Morgens", "75,5")};
        const auto zwei = [](const char* m, const char* a) { return QStringList{zeile("Morgens", m), zeile("Abends", a)}; };
        QTest::newRow("kopf gewicht") << QStringList() << QPoint(21, 0) << " GEWICHT";
        QTest::newRow("tage zweistellig") << QStringList() << QPoint(0, 7) << "      07";
        QTest::newRow("zeit mit blank") << eine << QPoint(1, 5) << "    07:30 ";
        QTest::newRow("puls") << eine << QPoint(4, 5) << "    70 ";
        QTest::newRow("ein gewicht") << eine << QPoint(21, 5) << "    75,5";
        QTest::newRow("zwei gewichte") << zwei("75,0", "76,0") << QPoint(21, 5) << "  * 75,5";
        QTest::newRow("mittel zweistellig") << zwei("5", "6") << QPoint(21, 5) << "  * 05,5";
        QTest::newRow("mittel rundet halb gerade") << zwei("70,1", "70,2") << QPoint(21, 5) << "  * 70,2";
        QTest::newRow("ohne gewicht") << QStringList{zeile("Morgens", "0")} << QPoint(21, 5) << "    0";
        QTest::newRow("tag ohne messung") << eine << QPoint(21, 6) << "  ";
        QTest::newRow("abends") << QStringList{zeile("Abends", "0", "31")} << QPoint(17, 31) << "    140 ";
        QTest::newRow("messung 3") << QStringList{zeile("Messung3", "0", "12")} << QPoint(12, 12) << "    140 ";
        QTest::newRow("gleicher platz zweimal")
            << QStringList{zeile("Morgens", "0", "05", 120), zeile("Morgens", "0", "05", 130)} << QPoint(2, 5) << "    130 ";
        QTest::newRow("einstelliger tag fuellt nichts") << QStringList{zeile("Morgens", "70", "5")} << QPoint(1, 5) << "  ";
        // A line without "den" repeats the previous reading and counts its weight again.
        QTest::newRow("zeile ohne den")
            << QStringList{zeile("Morgens", "70"), u"Notiz"_s, zeile("Morgens", "80", "06")} << QPoint(21, 5) << "  * 70,0";
        QTest::newRow("gewicht keine zahl") << zwei("7x", "70") << QPoint(21, 5) << "    70";
    }
    void zellen() {
        QFETCH(QStringList, liste);
        QFETCH(QPoint, zelle);
        QTEST(tabelle::ErstelleTabelle(liste).zelle(zelle.y(), zelle.x()), "text");
    }

    // A text copy over a separator: TABs between the cells, none for the separator, CRLF after rows.
    void textKopieren() {
        const QStringList liste{zeile("Morgens", "0"), zeile("Messung2", "0", "05", 141)};
        QCOMPARE(tabelle::TextKopieren(tabelle::ErstelleTabelle(liste), QRect(QPoint(3, 5), QPoint(7, 6))),
                 u"    90 \t    70 \t    07:30 \t    141 \r\n  \t  \t  \t  \r\n"_s);
    }

    // The window: grid, Ctrl+C, image copies, closing; the scroll thumb is dark and where the rows shown are.
    void fenster() {
        TTabellenDlg d;
        d.ErstelleTabelle(vollerMonat());
        d.show();
        QCOMPARE(d.StringGrid1->item(5, 21)->text(), u"  * 75,5"_s);
        d.setzeAuswahl(QRect(QPoint(0, 0), QPoint(3, 0))); // the short headers, without TABs
        QTest::keyClick(&d, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"  DATUM  MORGENS   SYST.    DIAST.\r\n"_s);
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
        QVERIFY(geschlossen && !d.isVisible());
    }

    // Printed to a PDF: one landscape page with the title and the grid, as poppler reads it.
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
        const auto werkzeug = [](const QString& programm, const QStringList& argumente) {
            return testumgebung::werkzeug(programm, argumente).aus;
        };
        const QString inhalt = werkzeug(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        QVERIFY2(inhalt.simplified().startsWith(u"Korvanemesswerte März 2024 Anna DATUM MORGENS SYSTOLE"_s),
                 qPrintable(inhalt.left(300)));
        QVERIFY(inhalt.contains(u"GEWICHT"_s) && inhalt.contains(u"141"_s));
        const QString info = werkzeug(u"pdfinfo"_s, {pdf}); // one page, A4 across
        QVERIFY2(info.contains(u"Pages:           1\n"_s) && info.contains(u"Page size:       842 x 595 pts"_s),
                 qPrintable(info));
        // Cancelled: nothing is printed.
        QFile::remove(pdf);
        d.druckenClick();
        QVERIFY(!QFile::exists(pdf));
    }
};

KORVANE_TEST_MAIN(TestTabelle)
#include "test_tabelle.moc"
