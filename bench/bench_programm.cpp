// The program as a person meets it: from creating the windows to the first chart of a full
// month, and one reading added with its rewrite, reread and redraw.
#include "bench.h"

#include "app/programmstart.h"
#include "app/gui/tmainform.h"
#include "entry/gui/teingabedlg.h"
#include "platform/textdatei.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QApplication>
#include <QDir>

void bench_programm() {
    const QString programm = QDir::currentPath() + u'/';
    Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(programm);
    const QString tabelle = programm + QStringLiteral("Korvane-Daten-Galerie/2024/Anna_03_2024.tab");
    QDir().mkpath(programm + QStringLiteral("Korvane-Daten-Galerie/2024"));
    textdatei::schreibeZeilen(tabelle, bench::vollerMonat(false));
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
    const auto ohneLetzten = bench::vollerMonat(true);
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
