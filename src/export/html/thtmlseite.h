#pragma once
// The HTML chart page of a month: three line charts of the daily values (days 1-14, 15-28 and
// the rest) and a bar grading the monthly means, drawn in the browser by Chart.js 2. Built from
// the value lists of the last chart drawing; every line as the browser page has always had it,
// except that user name and remarks are HTML-escaped and the page names its character set.
#include <QColor>
#include <QString>
#include <QStringList>
#include <array>

class THtmlSeite {
public:
    // What the page shows.
    struct Daten {
        QString monatText; // "03"; empty while no month is in use
        QString jahrText;  // "2024"
        QString monatName; // "März"
        QString benutzerName;
        QStringList tagesWerteSys, tagesWerteDia, tagesWertePuls; // "05_128", one per reading
        QString mittelSys, mittelDia, mittelPuls;                 // "128,50"; "0" after a reset
        double mittelGewicht = 0;                                 // 0: no weight
        QColor farbeSys, farbeDia, farbePuls, farbeDatenwerte;
        QString stiftBreite = QStringLiteral("2");
        bool werteOberhalb = false;           // values written at the points
        bool linieBeiNullUnterbrechen = true; // a day without readings leaves a gap (NaN)
        QStringList bemerkungen;              // lines of the remarks file; empty when none
    };

    explicit THtmlSeite(Daten daten);

    // Per-day values: [0] systolic, [1] diastolic, [2] pulse, indexed by day 1..31; "0" for a
    // day without a reading.
    std::array<std::array<QString, 32>, 3> TagesMittelTexte;
    void GibDieTagesMittelwerte();
    // "zweiWochen1", "zweiWochen2", "RestdesMonats"; any other name has no data.
    bool HatTagesgruppeDaten(const QString& gruppe) const;
    // "[Es fehlen Daten der Tagesgruppe: …"; empty when every group that counts has data.
    QString FehlendeDatenHinweis() const;
    // The page line for a template line, by the last marker it contains.
    QString FuelleDieVorlagenZeile(const QString& vorlage) const;

    // The page's lines; empty, with the reason in fehler(), when a value is no number.
    QStringList Zeilen();
    const QString& fehler() const { return m_fehler; }

    // "Fr." for "01.03.2024" or "01.03.24" (years 2000-2099), German whatever the locale;
    // empty for a text that is no date.
    static QString GibWochentagKurz(const QString& datum);
    // Replaces until no occurrence is left, searching again from the start each time.
    static QString ErsetzeAlle(QString text, const QString& alt, const QString& neu);
    static int TageImMonat(int monat, int jahr);
    // "#RRGGBB", upper-case hex.
    static QString FarbeAlsHtml(const QColor& farbe);
    // Round(hoechster / 10) * 10 + 10, halves to even: 125 -> 130, 135 -> 150, 0 -> 10.
    static int YMaximum(int hoechster);
    struct Grad {
        QString text, farbe;
    };
    // The hypertension grade of the rounded monthly means.
    static Grad HypertonieGrad(int sys, int dia);
    // The plausibility note, empty when the means look plausible.
    static QString PlausibilitaetsHinweis(int sys, int dia);
    // & < > " ' as entities, and characters Windows-1252 cannot hold as numeric references.
    static QString HtmlText(const QString& text);

private:
    QString tagesLabel(int tag) const;
    QString datenZeile(int messgroesse, int vonTag, int bisTag, bool letzte) const;
    QString labelsZeile(int vonTag, int bisTag) const;
    QString restLabelsZeile() const;
    QString farbZeile(const QColor& farbe, bool systolisch) const;
    QString mittelwertZeile() const;
    QStringList linienKonfiguration(int gruppe) const;
    QStringList balkenKonfiguration() const;
    bool leseMittel();

    Daten d;
    int m_tage = 31;
    int m_sys = 0, m_dia = 0, m_puls = 0; // rounded half up
    std::array<int, 4> m_maximum{};       // [1..3]
    QString m_fehler;
};
