#pragma once
// "Auswahl der Uhrzeit": the user's list of frequent times, one per line, kept in
// "Uhrzeiten.txt" in the program folder; the chosen line goes into the entry dialog's time field.
#include "storage/zustand.h"

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

class UhrzeitMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

Q_SIGNALS:
    void mausGedrueckt();
    void tasteLosgelassen();
    void doppelklick();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};

class TForm_UhrzeitDropdownMemo : public QDialog {
    Q_OBJECT
public:
    explicit TForm_UhrzeitDropdownMemo(Zustand& z, QWidget* parent = nullptr);

    // Replaces the list by the file's lines when the file exists; the character check rests
    // meanwhile, so lines of an earlier run come in as they were.
    void ladeListe();
    void setzeZielfeld(QLineEdit* feld);
    // Before each opening from the entry dialog: every line without outer blanks.
    void zeilenBeschneiden();
    QString dateiPfad() const;
    QStringList zeilen() const;

    UhrzeitMemo* Memo1;
    QPushButton* OKbtn;
    QPushButton* SpeichernBtn;
    QPushButton* AbbrechenBtn;
    QPlainTextEdit* Memo2;

    void FormPaint();
    void Memo1MouseDown();
    void Memo1KeyUp();
    void Memo1Change();
    void OKbtnClick();
    void SpeichernBtnClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QString gewaehlteZeile() const;
    void auswahlPruefen();
    void setzeText(const QString& text); // without the character check
    bool speichern();

    Zustand& z;
    QLineEdit* m_zielfeld = nullptr;
    bool m_unterdrueckt = false;
    bool m_dateiGesperrt = false; // the file was there but could not be read
};
