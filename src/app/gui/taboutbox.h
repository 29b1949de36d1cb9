#pragma once
// "Info über Korvane": name, version, what Korvane is, its licence, and where its data and
// settings lie.
#include "storage/zustand.h"

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(const Zustand& z, QWidget* parent = nullptr);

    static QString version(); // from project() in CMakeLists.txt

    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Comments = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* DatenOrdner = nullptr;
    QLabel* EinstellungsDatei = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    // The folders in use now, not those at program start.
    void showEvent(QShowEvent* ereignis) override;

private:
    void zeigeOrte();
    const Zustand& z;
};
