#pragma once
// Asks for the user name that names every month table and stands in the chart's captions.
#include "storage/zustand.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

public Q_SLOTS:
    void reject() override; // Escape and the close button end the program like "Abbrechen"

Q_SIGNALS:
    void nameGeaendert(const QString& name);
    void tabelleLaden(const QString& pfad);
    void neuerMonatBeginnen();
    void programmBeenden();

protected:
    void showEvent(QShowEvent* e) override;

private:
    Zustand& z;
};
