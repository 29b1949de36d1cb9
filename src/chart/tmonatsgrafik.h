#pragma once
// The month chart: the four pictures, the value lists and means of the last drawing, and the
// remarks of the month shown. The main window shows it, the exports copy it, tests read it.
#include "storage/zustand.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

class TMonatsGrafik : public QObject {
    Q_OBJECT
public:
    explicit TMonatsGrafik(Zustand& zustand, QObject* parent = nullptr);

    // --- pictures (bitmap pixels; the window scales them when maximised)
    QImage Image;        // blood-pressure chart, 570 x 464
    QImage GewichtImage; // weight chart below it
    QImage Image3;       // month title, as wide as its text
    QImage Image2;       // legend strip of the bottom panel
    QImage vorlageGrafik, vorlageGewicht, vorlageHeader; // templates as loaded at start

    // Loads the three templates from the paths in the Zustand, else the built-in copies, and
    // puts them into the pictures.
    void ladeVorlagen();
    // Curve colours from the settings (0x00BBGGRR text); an empty setting leaves black.
    void ladeFarben();
    QColor farbeSys, farbeDia, farbePuls, farbeGewicht, farbePulsdruck;

    // --- the value lists of a drawing
    QStringList Memo1; // the table file as lines
    QStringList TagesEndeZeilen;
    QStringList AnzeigeWerteSys, AnzeigeWerteDia, AnzeigeWertePuls;
    QStringList MonatsWerteSys, MonatsWerteDia, MonatsWertePuls;
    QStringList TagesWerteSys, TagesWerteDia, TagesWertePuls;
    QStringList GewichtsListe;
    QStringList TagesMittelPunkteSys, TagesMittelPunkteDia, TagesMittelPunktePuls;
    struct Mittelwerttexte {
        QString sys, dia, puls, pulsdruck;
    } MonatsMittelTexte;
    double monatsMittelSys = 0, monatsMittelDia = 0, monatsMittelPuls = 0;
    double MonatsMittelGewicht = 0;

    bool MittelwertModus = false; // means overlay instead of readings
    bool ueberlagerung = false;   // overlay flag: Image is not reset before a drawing

    // --- title and layout facts the drawing needs from the window
    QString Label1;            // "Korvanemesswerte  " + Datum + "  " + name, or "von " + name
    bool maximiert = false;    // title font 14 instead of 10
    double skalierung = 1.0;   // Image height / 464 when maximised
    bool gewichtSichtbar = false; // the mean weight text is written only when visible

    // --- remarks of the month shown
    QString bemerkungen;
    bool bemerkungenGeaendert = false;
    QString bemerkungenDatei; // remarks file of the table shown
    void setzeBemerkungen(const QString& text); // an edit in the remarks box
    void bemerkungenSpeichern();                // when changed; clears the flag

    // --- drawing
    // Draws the month table; does nothing when the file does not exist.
    void GrafikZeichnen(const QString& fileName);
    void SchreibeZahlenInGrafikLinks();
    void SchreibeNameUndMonatInGrafik();
    void SchreibeZahlenInGewichtsGrafikLinks();
    void ZeichneFarbErklaerung();
    void SchreibHinweisNurEinDatensatzVorhanden(int anzahl);
    void MachDieListenFuerDenBrowserLeer();

    static int TagX(int tag);
    static int SlotVersatz(int slot);
    static int WertInPixel(int wert);
    static QColor FarbeAufhellen(const QColor& farbe, int prozent);
    static double RundeAuf(double wert, int stellen);
    static double RundeGanzzahl(double wert);

Q_SIGNALS:
    void bemerkungenGeladen(const QString& text); // the remarks box shows this text
    void lesefehler(const QString& fileName);     // the table could not be read for drawing
    void gezeichnet();                            // the pictures changed

private:
    Zustand& z;
};
