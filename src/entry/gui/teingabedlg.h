#pragma once
// "Eingabe der Korvanemesswerte": the month's readings as a list, the fields of one reading,
// the checks before a reading is added, and the rewrite of the month table after each change.
#include "entry/gui/eingabefelder.h"
#include "storage/zustand.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <array>

class TMonatsGrafik;
class TForm_UhrzeitDropdownMemo;
class TTouchEingabeDlg;

class TEingabeDlg : public QDialog {
    Q_OBJECT
public:
    TEingabeDlg(Zustand& z, TMonatsGrafik& grafik, QWidget* parent = nullptr);
    void setzeFenster(TForm_UhrzeitDropdownMemo* uhrzeit, TTouchEingabeDlg* touch);

    // Writes the month table from the list and has the main window redraw the chart.
    void GrafikZeigen();

    // The three ways the main window opens the dialog; each returns the dialog's result.
    int neuerMonat();
    int tabelleBearbeiten(const QString& pfad, bool tabelleSofortZeigen);
    int aktuelleBearbeiten();

    void setzeJahrFeld(const QString& jahr);
    // "und Tabelle anzeigen": the next opening goes on to the table at once.
    void tabelleSofortZeigen() { m_tabelleSofort = true; }
    void setzeGewichtAusEinstellung(const QString& gewicht);
    void setzeListenTitel(const QString& text);
    double gewichtWert() const { return m_gewicht; }

    // --- controls
    QScrollArea* ScrollBox1;
    QGroupBox* ListGroup;
    QLabel* Label4;
    QListWidget* ListBox1;

    QGroupBox* UpDownSchalterGroup;
    QLabel* Label3;
    QPushButton* BitBtn3;
    QLineEdit* Edit1;
    AufAbSchalter* SpinButton1;
    QToolButton* SpeedButton1;
    QFrame* Bevel2;
    QCheckBox* CheckBoxM1;
    QCheckBox* CheckBoxM2;
    QCheckBox* CheckBoxM3;
    QCheckBox* CheckBoxM4;
    QLabel* DatumLabel;
    ZahlFeld* SpinEdit1;
    ZahlFeld* SpinEdit2;
    ZahlFeld* SpinEdit3;
    QLabel* WerteLabel;
    ZahlFeld* SpinEdit4;
    ZahlFeld* SpinEdit5;
    ZahlFeld* SpinEdit6;

    QGroupBox* GewichtGroup;
    QLabel* GewichtTitelLabel;
    QLineEdit* GewichtEdit;
    AufAbSchalter* SpinButton2;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QCheckBox* GewichtsEingabeCheckBox;
    QLabel* GewichtInfoLabel;

    QFrame* Bevel1;
    QFrame* Bevel3;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* OKBtn;
    QPushButton* BitBtn4;

    // --- handlers
    void FormPaint();
    void GroupsAusrichtung();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void OKBtnClick();
    void SpeedButton1Click();
    void SpinButton1UpClick();
    void SpinButton1DownClick();
    void SpinButton2UpClick();
    void SpinButton2DownClick();
    void SpinEdit1Change();
    void SpinEdit2Change();
    void SpinEdit3Change();
    void SpinEdit4Change();
    void SpinEdit5Change();
    void SpinEdit6Change();
    void GewichtEditChange();
    void CheckBoxM1Click();
    void CheckBoxM2Click();
    void CheckBoxM3Click();
    void CheckBoxM4Click();
    void GewichtsEingabeCheckBoxClick();
    void ZeigGewichtInfo();
    // Escape and the close box act alike: the chart shows the month in use.
    void reject() override;
    // Taps in touch mode.
    void SpinEdit1Click();
    void SpinEdit2Click();
    void SpinEdit3Click();
    void SpinEdit4Click();
    void SpinEdit5Click();
    void SpinEdit6Click();
    void GewichtEditClick();

Q_SIGNALS:
    void grafikNeuZeichnen();
    void tabelleZeigen(); // the table window builds its grid, the main window's timer shows it
    void hauptfensterAnpassen();

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void baueOberflaeche();
    void ordneAn(int listLinks, int listOben, int breite);
    void zeigeListe();         // the list control follows z.ListBox1
    void uebernimmGelesenes(); // list, slot boxes, caption and month after a reader ran
    void zeigeSlotKaesten();
    void setzeSlot(int slot);
    void setzeStandardZeit(); // the current slot's stored time, when there is one
    void ladeFelder(const QString& text, bool vorbelegen);
    // The entry taken out for editing goes back into the list (it never left the table on disk).
    void legeBearbeitetenZurueck();
    void normalisiere(ZahlFeld* feld, QString (*regel)(const QString&));
    void slotKastenGeklickt(int index);
    double gewichtsSchrittweite() const;
    void oeffneTouch(int ziel, const QString& prompt, ZahlFeld* feld);
    QString heuteText() const;

    Zustand& z;
    TMonatsGrafik& grafik;
    TForm_UhrzeitDropdownMemo* m_uhrzeit = nullptr;
    TTouchEingabeDlg* m_touch = nullptr;
    std::array<QCheckBox*, 4> m_slotKaesten{};

    int m_slot = 1;
    QString m_praefix;
    double m_gewicht = 70.5;
    bool m_vorbelegungOffen = true;
    bool m_neuerMonat = false;
    bool m_gewichtInfoLaeuft = false;
    bool m_tippen = false; // a key is being typed into a number field
    bool m_tabelleSofort = false;
    QString m_inBearbeitung; // the entry taken out by "Eintrag bearbeiten", until its new version is written
    QPalette m_standardPalette;
};
