#pragma once
// Asks for the user name that names every month table and stands in the chart's captions.
#include "storage/zustand.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

class TNameEingDlg : public QDialog {
    Q_OBJECT
public:
    explicit TNameEingDlg(Zustand& z, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void FormCreate();
    void FormPaint();
    void OKBtnClick();
    void CancelBtnClick();

    // Asked before another name is taken; false keeps the dialog open (the month shown could not
    // be left, its remarks unsettled).
    std::function<bool()> vorDemNamenswechsel;

public Q_SLOTS:
    void reject() override; // Escape and the close button end the program like "Abbrechen"

Q_SIGNALS:
    // anderer: the name differs from the one in use before.
    void nameGeaendert(const QString& name, bool anderer);
    void tabelleLaden(const QString& pfad);
    void neuerMonatBeginnen();
    void programmBeenden();

protected:
    void showEvent(QShowEvent* e) override;

private:
    Zustand& z;
};
