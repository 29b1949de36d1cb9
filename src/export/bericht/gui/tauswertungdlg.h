#pragma once
// "Auswertung für einen Zeitraum": from and to dates, the seven-day check box, the figures shown
// at once as the dates change, and the report saved as PDF or the readings as CSV.
#include "export/bericht/auswertung.h"
#include "storage/zustand.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

class TAuswertungDlg : public QDialog {
    Q_OBJECT
public:
    explicit TAuswertungDlg(Zustand& z, QWidget* parent = nullptr);

    // Opens the dialog on the period chosen last (at first: the last four weeks up to today).
    int zeigen();

    QDate von() const { return VonEdit->date(); }
    QDate bis() const { return BisEdit->date(); }
    bool ohneErstenTag() const { return OhneErstenTagCheckBox->isChecked(); }

    // --- controls
    QLabel* VonLabel;
    QDateEdit* VonEdit;
    QLabel* BisLabel;
    QDateEdit* BisEdit;
    QCheckBox* OhneErstenTagCheckBox;
    QPlainTextEdit* ZahlenMemo;
    QPushButton* PdfBtn;
    QPushButton* CsvBtn;
    QPushButton* SchliessenBtn;

    // --- handlers
    void VonEditChange();
    void BisEditChange();
    void OhneErstenTagCheckBoxClick();
    void PdfBtnClick();
    void CsvBtnClick();

private:
    // The figures of the period as the dialog shows them; false (with the reason shown instead)
    // when the period is no period or its tables cannot be read.
    bool zeigeZahlen();
    // The file the save dialog names, with the ending added; empty when cancelled or when it is a
    // file of the tables read (said).
    QString speicherZiel(const QString& titel, const QString& art, const QString& benutzer,
                         const QStringList& tabellen, const QString& endung, const QString& filter) const;

    Zustand& z;
    bool m_gewaehlt = false; // a period was chosen in this run
    std::optional<bericht::Auswertung> m_auswertung;
    QStringList m_tabellen;
};
