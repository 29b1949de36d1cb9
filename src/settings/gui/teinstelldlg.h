#pragma once
// "Einstellungen": line width, chart colours, weight chart and remarks shown or hidden, the two
// options of the browser page and the browser. Every change is stored at once; OK and "&Abbruch"
// only close the dialog.
#include "settings/browserwahl.h"
#include "storage/zustand.h"

#include <QDialog>
#include <QLabel>
#include <QList>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QSpinBox;
class TMonatsGrafik;

// A browser symbol, 40 × 40: reacts to a click only while it has a hint, so the empty
// placeholder keeps its place in the row and does nothing.
class TBrowserSymbol : public QLabel {
    Q_OBJECT
public:
    explicit TBrowserSymbol(QWidget* parent);
    void setzeBild(const QPixmap& bild, const QString& hinweis);
    bool aktiv() const { return !toolTip().isEmpty(); }

Q_SIGNALS:
    void geklickt();

protected:
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
};

class TEinstellDlg : public QDialog {
    Q_OBJECT
public:
    TEinstellDlg(Zustand& z, TMonatsGrafik& grafik, QWidget* parent = nullptr);

    // The main window's first paint: the controls from the store.
    void uebernehmeEinstellungen();
    // The check boxes for what the main window shows, without storing anything.
    void zeigeSichtbarkeit(bool gewicht, bool bemerkungen);
    // The installed browsers whose symbols are shown; every other symbol is an empty placeholder.
    void setzeBrowser(const QList<BrowserEintrag>& browser);
    // The symbol picture of a browser word: the installed browser's icon, else the theme's, else
    // one drawn here.
    QPixmap symbolBild(const QString& schluessel) const;
    // The word of the browser whose picture AktuellerBrowser_Image shows.
    QString aktuellerBrowser() const { return m_aktuellerBrowser; }

    // Controls, top to bottom
    QLabel* Label6 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label5 = nullptr, *Label4 = nullptr;
    QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr, *Button5 = nullptr,
                *Button4 = nullptr;
    QCheckBox* GewichtCheckBox = nullptr;
    QCheckBox* BemerkungenCheckBox = nullptr;
    QLabel* Label7 = nullptr;
    QCheckBox* LinieUnterbrechenCheckBox = nullptr;
    QCheckBox* WerteOberhalbKurveAnzeigenCheckBox = nullptr;
    QLabel* Label8 = nullptr;
    QPushButton* Button6 = nullptr;
    QGroupBox* BrowserGroupBox = nullptr;
    QLabel *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr, *Label12 = nullptr;
    TBrowserSymbol *standard_Image = nullptr, *ie_Image = nullptr, *edge_Image = nullptr, *chrome_Image = nullptr,
                   *opera_Image = nullptr, *safari_Image = nullptr, *firefox_Image = nullptr;
    QLabel* AktuellerBrowser_Image = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* AbbruchButton = nullptr;

    // Handlers
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void SpinEdit1Change(int breite);
    void GewichtCheckBoxClick();
    void BemerkungenCheckBoxClick();
    void LinieUnterbrechenCheckBoxClick();
    void WerteOberhalbKurveAnzeigenCheckBoxClick();
    // A click on a browser symbol.
    void BrowserSymbolClick(const QString& schluessel);
    // Colours Label1 to Label5 with the chart's colours in memory.
    void FormPaint();

Q_SIGNALS:
    // The chart is to be redrawn through the entry dialog (its templates may have been reloaded).
    void grafikZeigen();
    void gewichtUmgeschaltet(bool anzeigen);
    void bemerkungenUmgeschaltet(bool anzeigen);

protected:
    void showEvent(QShowEvent* ereignis) override;

private:
    void farbeAendern(QColor& farbe, const char* einstellung, QLabel* label);
    TBrowserSymbol* symbol(const QString& schluessel) const;
    // The desktop entry's own name of the browser found for a word ("Chromium"), else the word's hint.
    QString browserName(const QString& schluessel) const;
    void zeigeAktuellenBrowser();
    void zeigeBrowserImEinsatz(const QString& schluessel);

    Zustand& z;
    TMonatsGrafik& grafik;
    QList<BrowserEintrag> m_browser;
    QString m_aktuellerBrowser;
};
