#pragma once
// One program folder with settings, a table folder and the entry windows wired as the main
// window wires them: a redraw request loads the written table into the chart.
#include "testumgebung.h"

#include "chart/tmonatsgrafik.h"
#include "entry/gui/teingabedlg.h"
#include "entry/gui/tform_uhrzeitdropdownmemo.h"
#include "entry/gui/ttoucheingabedlg.h"
#include "platform/textdatei.h"
#include "platform/uhr.h"
#include "storage/registry.h"
#include "storage/zustand.h"

#include <QDir>
#include <functional>
#include <memory>

struct EingabeUmgebung {
    QString ordner;
    Zustand z;
    std::unique_ptr<TMonatsGrafik> grafik;
    std::unique_ptr<TForm_UhrzeitDropdownMemo> uhrzeit;
    std::unique_ptr<TTouchEingabeDlg> touch;
    std::unique_ptr<TEingabeDlg> dlg;
    int neuZeichnen = 0;

    explicit EingabeUmgebung(const QString& name, bool touchModus = false) {
        testumgebung::dialoge().leeren();
        testumgebung::einstellungenLoeschen();
        ordner = testumgebung::neuerProgrammOrdner(name);
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
        z.programmOrdner = ordner;
        z.datenOrdner = ordner;
        z.tabellenOrdnerName = QStringLiteral("Korvane-Daten-Galerie/");
        z.tabellenOrdner = ordner + z.tabellenOrdnerName;
        QDir().mkpath(z.tabellenOrdner);
        z.benutzerName = QStringLiteral("Anna");
        z.touchModus = touchModus;
        Uhr::setzeHeute(QDate(2024, 3, 5));
        grafik = std::make_unique<TMonatsGrafik>(z);
        uhrzeit = std::make_unique<TForm_UhrzeitDropdownMemo>(z);
        touch = std::make_unique<TTouchEingabeDlg>();
        dlg = std::make_unique<TEingabeDlg>(z, *grafik);
        dlg->setzeFenster(uhrzeit.get(), touch.get());
        QObject::connect(dlg.get(), &TEingabeDlg::grafikNeuZeichnen, [this] {
            ++neuZeichnen;
            grafik->GrafikZeichnen(z.TabellenDateiName);
        });
    }
    ~EingabeUmgebung() { Uhr::setzeHeute(QDate()); }

    QString tabelle(const QString& datei) const { return z.tabellenOrdner + QStringLiteral("2024/") + datei; }

    // A table file in the year folder, lines joined with CR LF.
    QString legeTabelleAn(const QString& datei, const QStringList& messzeilen,
                          const QString& kopfSlots = {}) const {
        QStringList zeilen{QStringLiteral("[Personendaten]"), QStringLiteral("BenutzerName=Anna"),
                           QStringLiteral("Datum=März 2024")};
        zeilen << (kopfSlots.isEmpty() ? QStringLiteral("1M=1\n2M=1\n3M=1\n4M=1") : kopfSlots).split('\n');
        zeilen << QString() << messzeilen;
        const QString pfad = tabelle(datei);
        QDir().mkpath(QFileInfo(pfad).absolutePath());
        textdatei::schreibeZeilen(pfad, zeilen);
        return pfad;
    }

    // Opens the dialog the given way; the function runs while it is shown.
    void imDialog(const std::function<int()>& oeffnen, const std::function<void(TEingabeDlg&)>& handlung) {
        testumgebung::dialoge().fenster.push_back([this, handlung](QObject*) {
            dlg->setResult(0);
            dlg->show();
            handlung(*dlg);
            const int ergebnis = dlg->result();
            dlg->hide();
            return ergebnis;
        });
        oeffnen();
    }
};

// The bytes of a table as the program writes it.
inline QByteArray tabellenBytes(const QStringList& kopfSlots, const QStringList& messzeilen,
                                const QString& name = QStringLiteral("Anna")) {
    QStringList zeilen{QStringLiteral("[Personendaten]"), QStringLiteral("BenutzerName=") + name,
                       QStringLiteral("Datum=März 2024")};
    zeilen << kopfSlots << QString() << messzeilen;
    QByteArray bytes;
    for (const QString& zeile : zeilen)
        bytes += textdatei::nachWin1252(zeile) + "\r\n";
    return bytes;
}

inline const QStringList alleSlots{QStringLiteral("1M=1"), QStringLiteral("2M=1"), QStringLiteral("3M=1"),
                                   QStringLiteral("4M=1")};
