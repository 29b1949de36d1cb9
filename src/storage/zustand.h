#pragma once
// Run-time values shared by the windows and the rules: folders, the user name in use, the
// month table in use and the entry dialog's list (shown by the dialog, filled by the readers).
#include <QString>
#include <QStringList>
#include <array>

struct Zustand {
    // Folders; each ends with "/" except the year folder.
    QString programmOrdner;
    QString datenOrdner;
    QString tabellenOrdnerName; // "Korvane-Daten-Galerie/"
    QString tabellenOrdner;     // datenOrdner + tabellenOrdnerName
    QString htmlOrdnerName;
    QString htmlOrdner;
    QString jahrOrdnerName; // four-digit year of the month in use

    QString benutzerName;
    QString TabellenDateiName; // full path of the month table in use
    QString monatText;         // "03"
    QString jahrText;          // "2024"
    QString monatName;         // "März"

    bool touchModus = false;
    bool linieBeiNullUnterbrechen = true; // HTML page: interrupt lines at 0 values
    // HTML page: the values written at the points of its line charts, and their colour (0x00BBGGRR).
    // Set from the settings at the main window's first paint and by the settings dialog.
    bool werteOberhalbKurveAnzeigen = false;
    int datenwerteOberhalbFarbe = 128;

    // Template image paths (program folder + setting); empty: the built-in copies.
    QString headerPfad;
    QString grafikPfad;
    QString gewichtGrafikPfad;

    // The entry dialog's list: one entry per reading, seven pieces joined by six TABs.
    QStringList ListBox1;
    // The month table the list was read from or last written to; empty for a new month's list.
    // A table is only ever rewritten from a list that came from it (or took in its readings).
    QString listenDatei;
    // The slot check boxes CheckBoxM1..CheckBoxM4.
    std::array<bool, 4> slotAktiv{true, true, true, true};
    QString listenTitel; // caption over the list (Label4)
    // The last reading line of the month drawn last; the entry dialog prefills from it.
    QString letzteMesszeile;

    QString jahrOrdner() const { return tabellenOrdner + jahrOrdnerName; }
};
