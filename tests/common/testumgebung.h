#pragma once
// Each test runs offscreen with its own folders, German locale, pauses of factor 0 and TestDialoge.
#include "testdialoge.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QTest>

#include <functional>

class Programmstart;

namespace testumgebung {

// For KORVANE_TEST_MAIN: before and after the QApplication exists, and at the end (removes the root).
void vorbereiten();
void einrichten();
void aufraeumen();

TestDialoge& dialoge();
QString wurzel();         // the temporary root of this test run
QString programmOrdner(); // $KORVANE_ORDNER, with "/"
QString einstellungsDatei();
// A setting as an older Korvane or a hand edit left it; an invalid value removes it.
void setzeRoh(const QString& name, const QVariant& wert = {});
// Pixels of that colour, alpha aside, in bereich or in the whole picture.
int zaehle(const QImage& bild, const QColor& farbe, const QRect& bereich = {});

// A fresh, empty program folder below the root, named by $KORVANE_ORDNER from now on.
QString neuerProgrammOrdner(const QString& name);
void einstellungenLoeschen();
// neuerProgrammOrdner(name) with no settings but the first start's; the folder, with "/".
QString eingerichtet(const QString& name);
QString testdaten(const QString& datei); // tests/data/<datei>
// Anna's March (tests/data) with its first `messungen` readings at pfad; its bytes.
QByteArray legeMaerzAn(const QString& pfad, int messungen = 3);
// The windows created (a table given as on the command line), shown and past the first paint.
bool laeuft(Programmstart& p, const QString& tabelle = {});

// Puts $HOME, $KORVANE_ORDNER and the working folder back as they were when it goes.
class UmgebungSichern {
public:
    UmgebungSichern();
    ~UmgebungSichern();

private:
    QByteArray m_heim, m_ordner;
    bool m_ordnerGesetzt;
    QString m_arbeit;
};
QByteArray lies(const QString& pfad);
// Every file and folder below ordner, hidden ones too, relative to it and sorted.
QStringList allesUnter(const QString& ordner);
void schreibe(const QString& pfad, const QByteArray& inhalt);

struct Ergebnis {
    int status = -1;
    QString aus, fehler; // stdout, stderr
    QByteArray ausBytes; // stdout as written, a byte order mark included
};
// A program such as pdftotext run to its end, set up by einrichten; status -1 when it hung or crashed
// (what it printed is kept, to show why).
Ergebnis werkzeug(const QString& programm, const QStringList& argumente,
                  const std::function<void(QProcess&)>& einrichten = {});

// A tmpfs of 64 KiB on ordner while it lives (da(): mounting was allowed); fuellen() takes what is
// free, nurLesen() mounts it read-only.
class KleinesDateisystem {
public:
    explicit KleinesDateisystem(const QString& ordner);
    ~KleinesDateisystem();
    bool da() const { return m_da; }
    void fuellen();
    void nurLesen();

private:
    QString m_ordner;
    bool m_da = false;
};

// While it lives no file of this process grows past bytes; SIGXFSZ ignored, so the write just fails.
class Groessengrenze {
public:
    explicit Groessengrenze(qint64 bytes);
    ~Groessengrenze();

private:
    qint64 m_vorher[2];
};

} // namespace testumgebung

#define KORVANE_TEST_MAIN(Klasse)                                                                            \
    int main(int argc, char** argv) {                                                                        \
        testumgebung::vorbereiten();                                                                         \
        QApplication app(argc, argv);                                                                        \
        testumgebung::einrichten();                                                                          \
        Klasse test;                                                                                         \
        const int status = QTest::qExec(&test, argc, argv);                                                  \
        testumgebung::aufraeumen();                                                                          \
        return status;                                                                                       \
    }
