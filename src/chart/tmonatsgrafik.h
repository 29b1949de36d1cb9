#pragma once
// The month chart: the four pictures, the value lists and means of the last drawing, and the
// remarks of the month shown. The main window shows it, the exports copy it, tests read it.
#include "storage/monatstabelle.h"
#include "storage/zustand.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>

class QPainter;

class TMonatsGrafik : public QObject {
    Q_OBJECT
public:
    explicit TMonatsGrafik(Zustand& zustand, QObject* parent = nullptr);

    // --- pictures (bitmap pixels; the window scales them when maximised)
    QImage Image;        // blood-pressure chart, 570 x 464
    QImage GewichtImage; // weight chart below it
    QImage Image3;       // month title, as wide as its text; transparent around the text
    QImage Image2;       // legend strip of the bottom panel
    QImage vorlageGrafik, vorlageGewicht, vorlageHeader; // templates as loaded at start

    // Loads the three templates from the paths in the Zustand, else the built-in copies, and
    // puts them into the pictures. A template that is there but cannot be used (no regular file,
    // too large, no picture) is named in a message and replaced by the built-in one.
    void ladeVorlagen();
    void GrafikVorlageLaden() { Image = vorlageGrafik; }
    void GewichtVorlageLaden() { GewichtImage = vorlageGewicht; }
    // Curve colours from the settings (0x00BBGGRR text); a missing setting or one that is no
    // colour gives the first-start colour.
    void ladeFarben();
    QColor farbeSys, farbeDia, farbePuls, farbeGewicht, farbePulsdruck;
    // "16711680" -> blue; empty, no number or out of range -> vorgabe.
    static QColor farbeAusText(const QString& text, const QColor& vorgabe = Qt::black);
    // Blue -> "16711680": the text a colour setting stores.
    static QString farbeAlsText(const QColor& farbe);
    // The colour setting of that name, read as ladeFarben reads it.
    static QColor liesFarbe(const QString& einstellung);
    // The line width of the chart: StiftBreite when it is a number from 1 to 7, else 2.
    static constexpr int kStiftBreiteMin = 1, kStiftBreiteMax = 7, kStiftBreiteVorgabe = 2;
    static int liesStiftBreite();

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
    // The texts of the means box in the chart (from the Anzeige lists).
    Mittelwerttexte GrafikMittelTexte;
    double monatsMittelSys = 0, monatsMittelDia = 0, monatsMittelPuls = 0;
    // The mean of every weight above 0 as written, to the tenth (halves to even); 0 without any.
    // The chart's text and line, the HTML page and the entry dialog's 15-kg check all use it.
    double MonatsMittelGewicht = 0;

    bool MittelwertModus = false; // means overlay instead of readings
    // Only the pictures and lists of the table: nothing filed, stored or asked, remarks only read
    // (the command line's exports).
    bool nurZeichnen = false;
    bool ueberlagerung = false;   // overlay flag: Image is not reset before a drawing

    // --- title and layout facts the drawing needs from the window
    QString Label1;               // "Korvanemesswerte  " + Datum + "  " + name, or "von " + name
    // The title a drawing of a table with this header sets.
    static QString titel(const monatstabelle::Kopf& kopf);
    bool maximiert = false;       // title font 14 instead of 10
    double skalierung = 1.0;      // Image height / 464 when maximised
    bool gewichtSichtbar = false; // the mean weight text is written only when visible
    // Where Image3 goes over an Image shown imageBreite wide.
    QPoint titelPosition(int imageBreite) const;

    // --- remarks of the month shown
    QString bemerkungen;
    bool bemerkungenGeaendert = false;
    QString bemerkungenDatei;           // remarks file of the table shown
    bool bemerkungenGesperrt = false;   // the file is there but could not be read: never written over
    void setzeBemerkungen(const QString& text); // an edit in the remarks box
    // Saves changed remarks, silently; true when saved or nothing was to be saved. A failed
    // write leaves its message naming the file in bemerkungenFehler.
    bool bemerkungenSpeichern();
    QString bemerkungenFehler;
    // Before the month shown is left, or the program closes: changed remarks are saved, and when
    // that fails the user decides. Characters the file cannot hold are only replaced by "?" when
    // the user agrees; otherwise the month is not left. A failed write is tried again, or the
    // month left without the remarks (on closing: the program stays open unless the user agrees).
    // True when the month (or the program) may be left.
    bool bemerkungenSichern(bool beimBeenden);
    // When nobody can be asked: saved, with "?" for characters the file cannot hold if need be.
    bool bemerkungenOhneFrageSichern();
    // The remarks of the month in the file named, shown in the box (none when there is no file).
    void zeigeBemerkungen(const QString& datei) { ladeBemerkungen(datei, QString()); }
    // Pictures back to their templates, every list and mean emptied: no month is shown.
    void leeren();

    // --- drawing
    // Draws the month table; does nothing when the file does not exist. A table that cannot be
    // read or holds a broken line is refused with a message naming file and line, and the month
    // shown before stays as it was: pictures, title, means, remarks and table in use.
    // True when drawn.
    bool GrafikZeichnen(const QString& gewaehlt);
    void SchreibeZahlenInGrafikLinks();
    void SchreibeNameUndMonatInGrafik();
    void SchreibeZahlenInGewichtsGrafikLinks();
    void ZeichneFarbErklaerung();
    void SchreibHinweisNurEinDatensatzVorhanden(int anzahl);
    void MachDieListenFuerDenBrowserLeer();
    // The value lists, monthly mean texts and mean weight a drawing of the table leaves behind,
    // without drawing, filing or remarks: what an export from the command line reads.
    void sammleWerte(const monatstabelle::Anzeige& anzeige);
    QString hinweisText; // the few-records note of the last drawing, empty when none

    // A text written on a picture: its top-left corner and colour.
    struct Beschriftung {
        QString text;
        QPoint ort;
        QColor farbe;
    };
    // The five texts of the means box, empty when the month has fewer than 2 readings.
    QList<Beschriftung> MittelwertKasten() const;

    // --- weight chart
    int gewichtFensterStart = 0; // k of the window k .. k + 15 kg
    bool gewichtFensterPasst = false;
    QString gewichtsMittelText;   // "Kg = 74,5" as written last, empty when none
    int gewichtsMittelZeile = -1; // 6 (top) or 122 (bottom)
    int GewichtInPixel(int kg) const { return 112 - 7 * (kg - gewichtFensterStart); }
    // The last window k (multiple of 5, 0..295) with lowest >= k and highest <= k + 15;
    // -1 when none fits.
    static int waehleGewichtsFenster(int niedrigst, int hoechst);
    // The labels of the weight scale for window k.
    static QList<Beschriftung> gewichtsSkala(int k);

    // --- frame and arithmetic
    static int TagX(int tag);         // -1 outside 1..31
    static int SlotVersatz(int slot); // -1 outside 1..4
    static int WertInPixel(int wert);
    static QColor FarbeAufhellen(const QColor& farbe, int prozent);
    static double RundeAuf(double wert, int stellen);
    static double RundeGanzzahl(double wert);
    // Whole mmHg, rounded up when a fraction remains.
    static int aufGanzeAufrunden(double wert);
    // "128,50": two decimals, decimal comma, no grouping; exact halves go to the even digit.
    static QString formatiereMittelwert(double wert);
    // The value rounded to the given decimals, exact halves to the even digit (128,125 -> 128,12).
    // Means are quotients of small integers, so a half that binary fractions miss by a rounding
    // error is still taken as a half.
    static double rundeHalbGerade(double wert, int stellen);
    // "74,2": the mean weight with one decimal, grouped ("1.234,5"), halves to even.
    static QString formatiereGewicht(double wert);

    struct Mittelwerte {
        Mittelwerttexte texte;
        double sys = 0, dia = 0, puls = 0;
    };
    // Means over value texts; the pulse pressure only when sys and dia have equal length.
    static Mittelwerte berechneMittelwerte(const QStringList& sys, const QStringList& dia,
                                           const QStringList& puls);
    // 0-based numbers of the last line of each day in the file's lines, ascending.
    static QStringList tagesEnden(const QStringList& zeilen);

    // The list fillers, one reading line each, in this calling order.
    void ErstelleMonatsMittelwert(const monatstabelle::Messung& m);
    void ErstelleTagesMittelwert(const monatstabelle::Messung& m);
    void ErstelleGewichtsListe(const monatstabelle::Messung& m);
    void EstelleMonatsMittelw_Zahlenausgabe(const monatstabelle::Messung& m);

    // The year a drawn table belongs to: its readings' year, else the year in its header's date,
    // else this year.
    static QString jahrDerTabelle(const monatstabelle::Anzeige& anzeige);

Q_SIGNALS:
    // The remarks box shows this text; bearbeitbar is false when the file could not be read.
    void bemerkungenGeladen(const QString& text, bool bearbeitbar = true);
    void lesefehler(const QString& fileName);     // the table could not be read for drawing
    void jahrFeldGesetzt(const QString& jahr);    // the entry dialog's year field SpinEdit3
    void gezeichnet();                            // the pictures changed

private:
    enum class Durchgang { Oben, Mitte, Unten, MittelwertSystolisch, MittelwertDiastolisch, MittelwertPuls };
    struct Lesung {
        monatstabelle::Messung m;
        bool tagesEnde = false;
    };

    void leereWerte(); // the value lists and means of the last drawing
    void ladeBemerkungen(const QString& datei, const QString& ausweich, bool nurLesen = false);
    void durchgang(const QList<Lesung>& lesungen, Durchgang d);
    void ZeichneInGrafik(QPainter* p, const Lesung& l, Durchgang d);
    QPoint Zeichne(QPainter* p, int x, int y);
    void SchreibeMonatsMittelwInGrafik();
    void zeichneMonatsMittelLinie(const QStringList& punkte, double mittel, const QColor& farbe);
    void ZeichneGewichtInGrafik();
    void SchreibeMonatsMittelwInGewichtsGrafik(int zeile);
    void zeichneGewichtsMittelLinie();
    double gewichtsMittel() const; // MonatsMittelGewicht of the weights summed so far

    Zustand& z;
    int stiftBreite = 2; // read from the settings at the start of each drawing
    int datensatz = 0;   // record counter of the current pass
    int vorherX = 0;     // previous point: column and the row of each measure
    std::array<int, 3> vorherY{};
    std::array<int, 4> register_{}; // daily-mean slot registers
    // The weights of the month in millionths of a kilogram: the mean is exact, whatever the
    // whole kilograms the curve rounds them to.
    qint64 gewichtSumme = 0, gewichtAnzahl = 0;
    QString gewichtMeldung;         // shown once the drawing is complete
};
