#pragma once
// Small controls of the entry windows: a number field that shows its text as the rules leave
// it, and the up/down arrows that sit beside a field.
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QWidget>

// A number field whose editor the window watches: each change of the text runs the window's
// rule, and a tap on it can open the touch input.
class ZahlFeld : public QSpinBox {
    Q_OBJECT
public:
    explicit ZahlFeld(int min, int max, int start, bool zweistellig, QWidget* parent = nullptr);
    QLineEdit* editor() const { return lineEdit(); }

protected:
    QString textFromValue(int wert) const override;

private:
    bool m_zweistellig;
};

// Up and down arrows, one above the other.
class AufAbSchalter : public QWidget {
    Q_OBJECT
public:
    explicit AufAbSchalter(QWidget* parent = nullptr);
    // Large arrows for the touch window: the style's arrows do not grow with the button.
    void setzePfeilGroesse(int pixel);
    QToolButton* auf;
    QToolButton* ab;

Q_SIGNALS:
    void aufGeklickt();
    void abGeklickt();

protected:
    void resizeEvent(QResizeEvent* ereignis) override;
};

// Key filter of the number fields: digits, the one extra character and the editing keys (Home,
// End, the arrows left and right, select all, copy, cut, paste, undo) pass; every other key press
// is swallowed (true), the arrows up and down included.
bool tasteGesperrt(const QKeyEvent* taste, QChar zusatz, bool entfernenErlaubt);
