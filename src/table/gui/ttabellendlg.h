#pragma once
// "Korvanemesswerte-Tabelle": the month as a grid, with text and image copy, printing and the
// exports of its own menu. It never writes the month's table.
#include "table/tabelle.h"

#include <QDialog>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QTableWidget;
class TMachPause;

class TTabellenDlg : public QDialog {
    Q_OBJECT
public:
    explicit TTabellenDlg(QWidget* parent = nullptr);

    // Rebuilds the grid from the entry dialog's list of reading lines.
    void ErstelleTabelle(const QStringList& liste);
    const tabelle::Gitter& gitter() const { return m_gitter; }
    // The selection as left, top, right, bottom (inclusive); empty when nothing is selected.
    QRect auswahl() const;
    void setzeAuswahl(const QRect& bereich);

    // Pending marks: a command of the menu to run once the window is shown, then cleared.
    bool OffenBilddatei = false;
    bool OffenTabellePdf = false;
    bool OffenGrafikUndTabellePdf = false;
    // Runs the pending command, once; the window calls it after it is shown.
    void offeneBefehleAusfuehren();

    // The exports; set by the main window, beside which they live.
    std::function<void(const tabelle::Gitter&)> grafikPlusTabelleSpeichern;
    // art: 0 chart only, 1 table only, 2 chart and table.
    std::function<void(int art, const tabelle::Gitter&)> pdfSpeichern;

    // Controls
    QMenuBar* MainMenu1 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    TMachPause* MachPause1 = nullptr;
    QAction *drucken = nullptr, *GrafikplusTabellespeichernalsBilddatei = nullptr,
            *GrafikspeichernalsPDFDatei1 = nullptr, *TabellespeichernalsPDFDatei1 = nullptr,
            *GrafikundTabellespeichernalsPDFDatei1 = nullptr, *Beenden1 = nullptr;

    // Handlers
    void druckenClick();
    void TextKopierenClick();
    void Alles_alsGrafikkopierenClick();
    void NurmarkierterBereichalsGrafikkopieren1Click();
    void GrafikplusTabellespeichernalsBilddateiClick();
    void GrafikspeichernalsPDFDatei1Click();
    void TabellespeichernalsPDFDatei1Click();
    void GrafikundTabellespeichernalsPDFDatei1Click();
    void FormMouseWheel(int delta);

Q_SIGNALS:
    // The window closed: the entry dialog closes too and the main window redraws its chart.
    void geschlossen();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void keyPressEvent(QKeyEvent* ereignis) override;
    void done(int ergebnis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void zeigeGitter();
    tabelle::Gitter m_gitter;
};
