// The program as a person meets it: from creating the windows to the first chart of a full
// month, and one reading added with its rewrite, reread and redraw.
#include "bench.h"

#include "app/programmstart.h"
#include "chart/gui/tmainform.h"
#include "entry/gui/teingabedlg.h"
#include "platform/textdatei.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QApplication>
#include <QDir>

namespace {

QStringList vollerMonat(bool ohneLetzten) {
    QStringList zeilen{QStringLiteral("[Personendaten]"), QStringLiteral("BenutzerName=Anna"),
                       QStringLiteral("Datum=M\u00E4rz 2024"), QStringLiteral("1M=1"), QStringLiteral("2M=1"),
                       QStringLiteral("3M=1"), QStringLiteral("4M=1"), QString()};
    const char* worte[4] = {"Morgens", "Messung2", "Messung3", "Abends"};
    for (int tag = 1; tag <= 31; ++tag)
        for (int slot = 0; slot < 4; ++slot) {
            if (ohneLetzten && tag == 31 && slot == 3)
                break;
            zeilen << QStringLiteral("%1 den %2.03.2024 Z=07:30 s=%3, d=%4, p=%5, Gewicht=%6,5")
                          .arg(QLatin1String(worte[slot]))
                          .arg(tag, 2, 10, QLatin1Char('0'))
                          .arg(120 + (tag * 7 + slot * 3) % 40)
                          .arg(75 + (tag * 5 + slot) % 20)
                          .arg(60 + (tag * 3 + slot * 2) % 25)
                          .arg(70 + (tag + slot) % 8);
        }
    return zeilen;
}

} // namespace

void bench_programm() {
    const QString programm = QDir::currentPath() + u'/';
    Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(programm);
    const QString tabelle = programm + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
    QDir().mkpath(programm + QStringLiteral("Korvane-Daten-Galerie/2024"));
    textdatei::schreibeZeilen(tabelle, vollerMonat(false));
    textdatei::schreibeZeilen(programm + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.txt"),
                              {QStringLiteral("Bemerkungen des Monats")});
    Schreib_String_in_Registry(QStringLiteral("BenutzerName"), QStringLiteral("Anna"));
    Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), tabelle);
    Schreib_Integer_in_Registry(QStringLiteral("FarbkurveGewichtAnzeigen"), QStringLiteral("1"));

    bench::miss("Start bis erste Grafik", 30, [&] {
        Programmstart p;
        p.erzeugeFenster({});
        p.mainForm->show();
        while (p.mainForm->ersteZeichnungAusstehend())
            QApplication::processEvents();
        p.mainForm->hide();
    });

    // The month without its last reading; each run adds day 31 "Abends" to it.
    Programmstart p;
    p.erzeugeFenster({});
    p.mainForm->show();
    while (p.mainForm->ersteZeichnungAusstehend())
        QApplication::processEvents();
    const auto ohneLetzten = vollerMonat(true);
    TEingabeDlg* d = p.EingabeDlg;
    std::vector<double> zeiten;
    for (int i = 0; i < 50; ++i) {
        textdatei::schreibeZeilen(tabelle, ohneLetzten);
        p.z.ListBox1.clear();
        monatstabelle::liesZumBearbeiten(p.z, tabelle, monatstabelle::KopfLesen::Ja);
        while (d->BitBtn3->text() != QStringLiteral("Abends"))
            d->BitBtn3Click();
        d->SpinEdit1->setValue(31);
        d->SpinEdit2->setValue(3);
        d->SpinEdit3->setValue(2024);
        QElapsedTimer t;
        t.start();
        d->BitBtn1Click();
        zeiten.push_back(t.nsecsElapsed() / 1e6);
    }
    bench::zeigeMedian("Eintrag aufnehmen", zeiten);
    p.mainForm->hide();
}
