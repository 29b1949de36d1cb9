#pragma once
// The touch number input: one very large field that edits one value of the entry dialog at a
// time and writes it back into the field that was tapped.
#include "entry/eingaberegeln.h"
#include "entry/gui/eingabefelder.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

class TTouchEingabeDlg : public QDialog {
    Q_OBJECT
public:
    using Ziel = eingaberegeln::TouchZiel;

    explicit TTouchEingabeDlg(QWidget* parent = nullptr);

    // The entry dialog's widgets the window places itself by.
    struct Bezug {
        QWidget* dialog = nullptr;
        QWidget* listGroup = nullptr;
        QWidget* liste = nullptr;
        QWidget* gewichtGroup = nullptr;
        QWidget* gewichtFeld = nullptr;
    };
    void setzeBezug(const Bezug& bezug);

    // Prepare one opening; the caller shows the window.
    void bearbeiteZahl(Ziel ziel, const QString& prompt, QSpinBox* feld);
    void bearbeiteGewicht(QLineEdit* feld, double* gewichtWert);
    Ziel ziel() const { return m_ziel; }

    QLabel* Label1;
    QLineEdit* Edit1;
    AufAbSchalter* SpinButton1;
    QPushButton* Button1;
    QLabel* GewichtLabel;
    QLabel* KommaLabel;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;

    void Button1Click();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void Edit1Change();
    void FormPaint();

public Q_SLOTS:
    void reject() override; // closed without "OK": nothing is written back

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void zeigeGewichtTeile(bool sichtbar);
    double schrittweite() const;
    void schritt(bool hoch);

    Ziel m_ziel = Ziel::Keins;
    int m_wert = 0;
    QPointer<QSpinBox> m_zahlFeld;
    QPointer<QLineEdit> m_gewichtFeld;
    double* m_gewichtWert = nullptr;
    Bezug m_bezug;
};
