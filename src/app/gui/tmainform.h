#pragma once
// The main window: the month chart in a scroll box, the menu bar, the layout for the normal and
// the maximised window, the first paint that brings the last month back, and closing.
#include "storage/zustand.h"

#include <QImage>
#include <QMainWindow>
#include <QMargins>

class QAction;
class QGestureEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QScrollArea;
class QTimer;
class TEingabeDlg;
class TForm_UhrzeitDropdownMemo;
class TMachPause;
class TMonatsGrafik;
class TNameEingDlg;
class TTouchEingabeDlg;
class TTabellenDlg;
class TBildspeichernForm;
class TBildExport;
class TPdfExport;
class TPatientenDatenInPDFform;
class TEinstellDlg;
class TGrossMenues;
class TAuswertungDlg;
class TAboutBox;

// Shows one picture of the chart object, stretched to the control's size or at its own size.
class TBild : public QWidget {
public:
    TBild(const QImage* bild, bool gestreckt, QWidget* parent);
    const QImage* bild() const { return m_bild; }

protected:
    void paintEvent(QPaintEvent* ereignis) override;

private:
    const QImage* m_bild;
    bool m_gestreckt;
};

class TmainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TmainForm(Zustand& z, QWidget* parent = nullptr);
    ~TmainForm() override;

    // Creation: touch mode, working lists, folders and first start, templates, colours.
    // False when the program must end at once.
    bool FormCreate();
    // The windows the program start creates after this one; null until then.
    void setzeFenster(TEingabeDlg* eingabe, TNameEingDlg* name, TForm_UhrzeitDropdownMemo* uhrzeit,
                      TTouchEingabeDlg* touchEingabe, TTabellenDlg* tabelle = nullptr,
                      TBildspeichernForm* bildspeichern = nullptr,
                      TPatientenDatenInPDFform* patientendaten = nullptr);
    // The settings dialog, the large-button menus and the about box, created after the rest.
    void setzeWeitereFenster(TEinstellDlg* einstellungen, TGrossMenues* menues, TAboutBox* info,
                             TAuswertungDlg* auswertung = nullptr);

    TMonatsGrafik& grafik() { return *Grafik; }

    // A table to draw at the end of the first paint (a file handed to the program); drawn at
    // once when the first paint is already over.
    void setzeStartTabelle(const QString& pfad);
    // "und als Grafik anzeigen" for a chosen file.
    void zeigeTabelleAlsGrafik(const QString& pfad);

    // Weight chart and remarks shown or hidden, positions and window height.
    void setzeSichtbarkeit(bool gewichtAnzeigen, bool bemerkungenAnzeigen);
    // The window height in the normal state for the visibility in force: the whole window, frame
    // and title bar included.
    int normalHoehe() const;

    // Client size and frame position of the normal window.
    struct Normallage {
        QSize innen;     // without frame and title bar; what resize() takes
        QPoint position; // the frame's top-left; what move() takes
    };
    // hoehe: the window height with frame; bedarf: the client height at which the chart needs no
    // vertical scrolling; rahmen: the frame around the client area; frei: the screen's available
    // area (empty without a screen); leiste: the width of a vertical scroll bar; bisher: the frame's
    // top-left now; waagrechtMittig: centre horizontally instead of keeping x.
    static Normallage normalLage(int hoehe, int bedarf, const QMargins& rahmen, const QRect& frei, int leiste,
                                 const QPoint& bisher, bool waagrechtMittig);

    // The close steps, once: table in use and changed remarks are stored.
    void beenden();
    // Ends the program without storing anything (the user name dialog's cancel).
    void sofortBeenden();
    bool beendenVerlangt() const { return m_beendet; }
    bool ersteZeichnungAusstehend() const { return m_ersteZeichnungAusstehend; }

    // What the chart shows in words: month, user and the monthly means (or the note that there
    // are too few readings); the chart picture's accessible description.
    QString grafikBeschreibung() const;

    // The year folder name from the title: the four characters at the last of "199", "200",
    // "201", "202", "203" found; bisher when none is.
    static QString jahrAusTitel(const QString& titel, const QString& bisher);

    // Controls
    QScrollArea* ScrollBox1 = nullptr;
    TBild* Image = nullptr;
    TBild* Image3 = nullptr;
    QLabel* Label1 = nullptr;
    TBild* GewichtImage = nullptr;
    QLabel* GewichtLabel = nullptr;
    QLabel* BemerkungLabel = nullptr;
    QPlainTextEdit* RichEdit1 = nullptr;
    QWidget* Panel1 = nullptr;
    TBild* Image2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* TabellenAnzeigeTimer = nullptr;
    TMachPause* MachPause1 = nullptr;

    // Menu commands
    QAction *Neu1 = nullptr, *OeffnenUndalsGrafikAnzeigen = nullptr, *OffnenUndTabelleAnzeigen = nullptr,
            *OeffnenUndTabelleBearbeiten = nullptr, *DiagrammimBrowseranzeigen = nullptr,
            *GrafikspeichernalsBilddatei = nullptr, *GrafikplusTabellespeichernalsBilddatei = nullptr,
            *GrafikSpeichernAlsPdfDatei = nullptr, *TabelleSpeichernAlsPDFDatei = nullptr,
            *GrafikUndTabelleSpeichernAlsPDFDatei = nullptr, *beenden1 = nullptr, *Einstellungen1 = nullptr,
            *Mittelwerte1 = nullptr, *Messwerte1 = nullptr, *anzeigen1 = nullptr,
            *aktuellebearbeiten1 = nullptr, *neuerstellen1 = nullptr, *Benutzernamendern1 = nullptr,
            *Hilfethemen1 = nullptr, *Infober1 = nullptr, *Menuegrosseranzeigen1 = nullptr,
            *AuswertungZeitraum1 = nullptr, *MesswerteAlsCsvSpeichern1 = nullptr,
            *MesswerteAusCsvUebernehmen1 = nullptr;

public Q_SLOTS:
    // First paint (once) and the steps of every paint.
    void FormPaint();
    void FormResize();
    void Timer1Timer();
    void neuerstellen1Click();
    void OeffnenUndalsGrafikAnzeigenClick();
    void OeffnenUndTabelleBearbeitenClick();
    void aktuellebearbeiten1Click();
    void OffnenUndTabelleAnzeigenClick();
    void anzeigen1Click();
    void TabellenAnzeigeTimerTimer();
    void GrafikspeichernalsBilddateiClick();
    void GrafikplusTabellespeichernalsBilddateiClick();
    void GrafikSpeichernAlsPdfDateiClick();
    void TabelleSpeichernAlsPDFDateiClick();
    void GrafikUndTabelleSpeichernAlsPDFDateiClick();
    void Messwerte1Click();
    void Mittelwerte1Click();
    // Writes the month last drawn as the HTML chart page and opens it in the chosen browser.
    void DiagrammimBrowseranzeigenClick();
    void AuswertungZeitraum1Click();
    void MesswerteAlsCsvSpeichern1Click();
    void MesswerteAusCsvUebernehmen1Click();
    void Benutzernamendern1Click();
    void Hilfethemen1Click();
    void Infober1Click();
    // Restores a maximised window, waits 100 ms and opens the settings dialog.
    void Einstellungen1Click();
    // The pop-up entry: the large-button menus anew from their first window.
    void Menuegrosseranzeigen1Click();
    void AlleMenuesSchliessen();
    // The window height for what is shown, and the remarks heading above the remarks.
    void StelleMainformHoeheEin();
    // Writes the title picture and places it and the weight heading.
    void schreibeTitel();
    // Scroll by a wheel turn: delta 120 moves the scroll bar by 40.
    void ScrollBox1MouseWheel(int delta);
    // One step of a pinch or a pan on the chart.
    void pinchSchritt(Qt::GestureState zustand);
    void panSchritt(Qt::GestureState zustand, qreal deltaY);

Q_SIGNALS:
    void titelGeschrieben();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void resizeEvent(QResizeEvent* ereignis) override;
    void changeEvent(QEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;
    void moveEvent(QMoveEvent* ereignis) override;
    void wheelEvent(QWheelEvent* ereignis) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void baueMenues();
    void baueFlaeche();
    void bilderAktualisieren();
    void inhaltsGroesseAnpassen();
    // Normal size and, when it changes or platzieren is set, the position too.
    void setzeNormalGroesse(bool platzieren = false, bool waagrechtMittig = false);
    Normallage sollLage(bool waagrechtMittig) const;
    QMargins rahmen() const;
    int inhaltsBedarf() const;
    int bildMitte() const;
    void jahrOrdnerPruefen();
    void grafikNeuZeichnen();
    void grafikZeigenLassen();
    void nameErfragen();
    void benutzerGewechselt();
    void zeigeStartTabelle();
    // The table window gets the month's grid and the table timer starts.
    void tabelleVorbereiten();
    // The settings dialog's check boxes.
    void gewichtUmschalten(bool anzeigen);
    void bemerkungenUmschalten(bool anzeigen);
    // The chart redrawn after a colour or the line width changed.
    void einstellungGeaendert();
    bool gesteBehandeln(QGestureEvent* ereignis);
    void zentriereLabel(QLabel* label, int oben);
    // The remarks and their heading in their place below the charts.
    void bemerkungenPlatzieren();
    int gewichtVorlageHoehe() const;

    Zustand& z;
    TMonatsGrafik* Grafik;
    TEingabeDlg* EingabeDlg = nullptr;
    TNameEingDlg* NameEingDlg = nullptr;
    TForm_UhrzeitDropdownMemo* UhrzeitDlg = nullptr;
    TTouchEingabeDlg* TouchEingabeDlg = nullptr;
    TTabellenDlg* TabellenDlg = nullptr;
    TBildExport* BildExport = nullptr;
    TPdfExport* PdfExport = nullptr;
    TEinstellDlg* EinstellDlg = nullptr;
    TAuswertungDlg* AuswertungDlg = nullptr;
    TGrossMenues* GrossMenues = nullptr;
    TAboutBox* AboutBox = nullptr;

    QWidget* m_inhalt = nullptr;
    QTimer* m_groessenKorrektur = nullptr;
    QMargins m_rahmen; // the frame the normal size was last computed with
    bool m_ersteZeichnungAusstehend = true;
    bool m_ersteZeichnungEingereiht = false;
    bool m_ersteZeichnungLaeuft = false;
    bool m_gewichtSichtbar = false;
    bool m_bemerkungenSichtbar = true;
    bool m_bemerkungenWerdenGesetzt = false;
    bool m_mittelwerteLaeuft = false;
    bool m_zoomUmgeschaltet = false;
    bool m_beendet = false;
    bool m_groesseWirdGesetzt = false;
    int m_timer1Ticks = 0;
    QString m_startTabelle;
    QString m_jahrOrdnerFehlerGemeldet;
};
