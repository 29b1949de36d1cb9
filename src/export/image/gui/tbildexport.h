#pragma once
// The JPEG export of the main window and the table window: the chart page alone, or above the
// table, saved in the year folder of the month shown, with the save-image window counting down.
#include "export/image/grafikseite.h"
#include "storage/zustand.h"
#include "table/tabelle.h"

#include <QObject>
#include <functional>

class TBildspeichernForm;
class TMonatsGrafik;

class TBildExport : public QObject {
    Q_OBJECT
public:
    TBildExport(Zustand& z, TMonatsGrafik& grafik, TBildspeichernForm* fenster, QObject* parent = nullptr);

    // What the main window lends: its restore, its pause, and what it shows.
    std::function<void()> hauptfensterWiederherstellen;
    std::function<void(int)> pause;
    std::function<bool()> gewichtSichtbar;
    std::function<bool()> bemerkungenSichtbar;

    QString BildName;                      // of the last chart export
    bool GrafikPlusTabelleLaeuft = false;  // the chart export ends without its message then

    // "Grafik speichern als Bilddatei (.jpg)"; true when the file was written.
    bool GrafikspeichernalsBilddateiClick();
    // The table window's "Grafik plus Tabelle speichern als Bilddatei (.jpg)": a fresh chart page
    // above the table, into the file of the chart's name.
    bool GrafikPlusTabelleSpeichern(const tabelle::Gitter& gitter);

    // The file the last export wrote; empty when it failed.
    QString geschrieben;

private:
    void warte(int ms);
    bildexport::Grafikseite seite() const;
    QString nachricht(const QString& was) const;

    Zustand& z;
    TMonatsGrafik& grafik;
    TBildspeichernForm* fenster;
};
