#pragma once
// Draws a month that no window shows, as the main window draws it with the settings' weight chart
// and remarks: its chart page and its table picture. Files, stores and asks nothing. The command
// line draws every month of an export with it; a window can draw months beside the one it shows.
#include "chart/tmonatsgrafik.h"
#include "storage/zustand.h"

#include <QImage>
#include <functional>

class Monatszeichner {
public:
    // basis: the folders and user the window would use.
    explicit Monatszeichner(const Zustand& basis);

    // Draws the month table into the chart; false when the chart refuses it (its message said).
    // Afterwards zustand() holds the month, year, user and the entry dialog's list of its readings
    // as the window's would.
    bool zeichne(const QString& tabelle);
    // The chart page of the month drawn last; markieren, when given, draws on its chart picture
    // before the page is composed (a report marks its period there).
    QImage grafikseite(const std::function<void(QImage&)>& markieren = {}) const;
    // The table picture of the month drawn last, with its title: the same reading of the file.
    QImage tabellenbild() const;
    const Zustand& zustand() const { return z; }
    const TMonatsGrafik& grafik() const { return m_grafik; }

private:
    const Zustand m_basis;
    Zustand z;
    TMonatsGrafik m_grafik;
    bool m_gewicht = false, m_bemerkungen = true;
};
