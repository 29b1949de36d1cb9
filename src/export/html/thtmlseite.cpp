#include "export/html/thtmlseite.h"

#include "chart/tmonatsgrafik.h"
#include "platform/textdatei.h"
#include "platform/zahlen.h"
#include "storage/monatstabelle.h"

#include <QDate>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

const QString kGitterFarbe = u"#E5DFDF"_s; // the colour value 14671845

// The three day groups: name, first and last day.
struct Gruppe {
    const char16_t* name;
    int von, bis;
};
constexpr Gruppe kGruppen[4] = {
    {u"", 0, 0}, {u"zweiWochen1", 1, 14}, {u"zweiWochen2", 15, 28}, {u"RestdesMonats", 29, 31}};

// Trims as the page always has: every character up to the blank counts as blank.
bool leerNachTrimmen(const QString& zeile) {
    for (QChar c : zeile)
        if (c > u' ') return false;
    return true;
}

} // namespace

THtmlSeite::THtmlSeite(Daten daten) : d(std::move(daten)) {
    for (auto& messgroesse : TagesMittelTexte)
        messgroesse.fill(u"0"_s);
    m_tage = TageImMonat(d.monatText.toInt(), d.jahrText.toInt());
}

// ---------------------------------------------------------------------------------------------
// Helpers with names of their own

QString THtmlSeite::GibWochentagKurz(const QString& datum) {
    const QStringList teile = datum.split(u'.');
    if (teile.size() != 3) return {};
    const std::optional<int> tag = zahlen::ganzzahl(teile.at(0));
    const std::optional<int> monat = zahlen::ganzzahl(teile.at(1));
    std::optional<int> jahr = zahlen::ganzzahl(teile.at(2));
    if (!tag || !monat || !jahr || (teile.at(2).size() != 2 && teile.at(2).size() != 4)) return {};
    if (teile.at(2).size() == 2) *jahr += 2000;
    const QDate d(*jahr, *monat, *tag);
    if (!d.isValid()) return {};
    static const char16_t* const namen[7] = {u"Mo.", u"Di.", u"Mi.", u"Do.", u"Fr.", u"Sa.", u"So."};
    return QString::fromUtf16(namen[d.dayOfWeek() - 1]);
}

QString THtmlSeite::ErsetzeAlle(QString text, const QString& alt, const QString& neu) {
    if (alt.isEmpty()) return text;
    // From the start again after each replacement, so ",0,0," becomes ",NaN,NaN,".
    for (qsizetype pos = text.indexOf(alt); pos >= 0; pos = text.indexOf(alt))
        text.replace(pos, alt.size(), neu);
    return text;
}

int THtmlSeite::TageImMonat(int monat, int jahr) {
    if (monat == 2) return QDate::isLeapYear(jahr) && jahr > 0 ? 29 : 28;
    if (monat <= 7) return monat % 2 == 1 ? 31 : 30;
    return monat % 2 == 0 ? 31 : 30;
}

QString THtmlSeite::FarbeAlsHtml(const QColor& farbe) {
    return QStringLiteral("#%1%2%3")
        .arg(farbe.red(), 2, 16, QLatin1Char('0'))
        .arg(farbe.green(), 2, 16, QLatin1Char('0'))
        .arg(farbe.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

int THtmlSeite::YMaximum(int hoechster) {
    int zehner = hoechster / 10;
    const int rest = hoechster % 10;
    if (rest > 5 || (rest == 5 && zehner % 2 != 0)) ++zehner;
    return zehner * 10 + 10;
}

THtmlSeite::Grad THtmlSeite::HypertonieGrad(int s, int d) {
    auto in = [](int wert, int von, int bis) { return wert >= von && wert <= bis; };
    if (s >= 180 || in(d, 110, 200))
        return {u"Monatliche Mittelwerte: Grad 3 Hypertonie (schwerer Bluthochdruck)"_s, u"#ED1B24"_s};
    if (in(d, 100, 109) || in(s, 160, 179))
        return {u"Monatliche Mittelwerte: Grad 2 Hypertonie (mittelschwerer Bluthochdruck)"_s, u"#FA572E"_s};
    if (in(d, 90, 99) || in(s, 140, 159))
        return {u"Monatliche Mittelwerte: Grad 1 Hypertonie (leichter Bluthochdruck)"_s, u"#FF925F"_s};
    if (in(d, 85, 89) || in(s, 130, 139)) return {u"Monatliche Mittelwerte: Hochnormal"_s, u"#FEF200"_s};
    if (in(d, 50, 84) && in(s, 105, 129)) return {u"Monatliche Mittelwerte: Normal/Optimal "_s, u"#B5E51D"_s};
    return {u"Monatliche Mittelwerte: "_s, u"#FFFFFF"_s};
}

QString THtmlSeite::PlausibilitaetsHinweis(int s, int d) {
    QString hinweis; // a later test that holds replaces the earlier text
    if (s < 105)
        hinweis = u"Überprüfen Sie Ihre Eingaben der systolischen Werte! Die Werte sind sehr niedrig!"_s;
    if (d > 130)
        hinweis = u"Überprüfen Sie Ihre Eingaben der diastolischen Werte! Die Werte sind viel zu hoch!"_s;
    if (d < 50)
        hinweis = u"Überprüfen Sie Ihre Eingaben der diastolischen Werte! Die Werte sind viel zu niedrig!"_s;
    return hinweis;
}

QString THtmlSeite::HtmlText(const QString& text) {
    QString html;
    html.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'&':
            html += u"&amp;"_s;
            break;
        case u'<':
            html += u"&lt;"_s;
            break;
        case u'>':
            html += u"&gt;"_s;
            break;
        case u'"':
            html += u"&quot;"_s;
            break;
        case u'\'':
            html += u"&#39;"_s;
            break;
        default:
            if (textdatei::istDarstellbar(QString(c))) {
                html += c;
            } else {
                char32_t code = c.unicode();
                if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                    code = QChar::surrogateToUcs4(c, text.at(++i));
                html += u"&#"_s + QString::number(code) + u';';
            }
        }
    }
    return html;
}

// ---------------------------------------------------------------------------------------------
// Per-day values and groups

void THtmlSeite::GibDieTagesMittelwerte() {
    const QStringList* listen[3] = {&d.tagesWerteSys, &d.tagesWerteDia, &d.tagesWertePuls};
    for (int m = 0; m < 3; ++m) {
        TagesMittelTexte[m].fill(u"0"_s);
        QStringView vorherTag;
        qint64 summe = 0;
        int anzahl = 0;
        for (const QString& eintrag : *listen[m]) {
            const qsizetype strich = eintrag.indexOf(u'_');
            const QStringView tagText = QStringView(eintrag).first(qMax<qsizetype>(strich, 0));
            const QStringView wertText = QStringView(eintrag).sliced(strich + 1);
            const std::optional<int> tag = zahlen::ganzzahl(tagText);
            const std::optional<int> wert = zahlen::ganzzahl(wertText);
            if (!tag || !wert) {
                m_fehler = monatstabelle::meldungKeineZahl((tag ? wertText : tagText).toString(), false);
                return;
            }
            // A day's run restarts whenever another day came between.
            if (tagText != vorherTag) summe = 0, anzahl = 0;
            vorherTag = tagText;
            summe += *wert;
            ++anzahl;
            if (*tag < 1 || *tag > 31) continue;
            // The mean as a text with two decimals, then rounded half up from that text.
            const double zweiStellen = QString::number(double(summe) / anzahl, 'f', 2).toDouble();
            TagesMittelTexte[m][*tag] = QString::number(qlonglong(TMonatsGrafik::RundeGanzzahl(zweiStellen)));
        }
    }
}

bool THtmlSeite::HatTagesgruppeDaten(const QString& gruppe) const {
    for (int g = 1; g <= 3; ++g) {
        if (gruppe != QStringView(kGruppen[g].name)) continue;
        for (int tag = kGruppen[g].von; tag <= kGruppen[g].bis; ++tag)
            for (const auto& messgroesse : TagesMittelTexte)
                if (messgroesse[tag] != u"0") return true;
        return false;
    }
    return false;
}

QString THtmlSeite::FehlendeDatenHinweis() const {
    QString hinweis = u"[Es fehlen Daten der Tagesgruppe: "_s;
    const qsizetype anfang = hinweis.size();
    if (!HatTagesgruppeDaten(u"zweiWochen1"_s)) hinweis += u"1-14"_s;
    if (!HatTagesgruppeDaten(u"zweiWochen2"_s)) hinweis += u" , 15-28"_s;
    if (m_tage > 28 && !HatTagesgruppeDaten(u"RestdesMonats"_s)) hinweis += u" , 29-31"_s;
    if (hinweis.size() == anfang) return {};
    if (hinweis.startsWith(u"[Es fehlen Daten der Tagesgruppe:  ,")) hinweis.remove(hinweis.indexOf(u','), 1);
    return hinweis;
}

// ---------------------------------------------------------------------------------------------
// Template lines

QString THtmlSeite::tagesLabel(int tag) const {
    const QString tagMonat = QStringLiteral("%1.").arg(tag, 2, 10, QLatin1Char('0')) + d.monatText + u'.';
    const QString jahrKurz = d.jahrText.size() == 4 ? d.jahrText.right(2) : QString();
    // The weekday from the four-digit date: a two-digit year would not say its century.
    const QString wochentag = GibWochentagKurz(tagMonat + d.jahrText);
    const bool ersterDerGruppe = tag == 1 || tag == 15 || tag == 29;
    return wochentag + tagMonat + (ersterDerGruppe ? d.jahrText : jahrKurz);
}

QString THtmlSeite::datenZeile(int m, int von, int bis, bool letzte) const {
    QStringList werte;
    for (int tag = von; tag <= bis; ++tag)
        werte << TagesMittelTexte[m][tag];
    QString zeile = u"data: ["_s + werte.join(u',');
    if (von == 29) zeile += u",0,0,0,0,0,0,0,0,0,0,0"_s; // always 14 values
    zeile += letzte ? u"] , } "_s : u"] , }, "_s;
    if (d.linieBeiNullUnterbrechen) {
        zeile = ErsetzeAlle(zeile, u",0,"_s, u",NaN,"_s);
        zeile.replace(u"[0,"_s, u"[NaN,"_s);
        zeile.replace(u",0]"_s, u",NaN]"_s);
    }
    return zeile;
}

QString THtmlSeite::labelsZeile(int von, int bis) const {
    QString zeile = u"labels: ['"_s + tagesLabel(von) + u"' ,"_s;
    for (int tag = von + 1; tag < bis; ++tag)
        zeile += u'\'' + tagesLabel(tag) + u"' ,"_s;
    return zeile + u'\'' + tagesLabel(bis) + u"' "_s + u"], "_s;
}

QString THtmlSeite::restLabelsZeile() const {
    if (m_tage <= 28) return {};
    QString zeile = u"labels: ["_s;
    for (int tag = 29; tag <= m_tage; ++tag)
        zeile += u'\'' + tagesLabel(tag) + u"' ,"_s;
    return zeile + u"], "_s;
}

QString THtmlSeite::farbZeile(const QColor& farbe, bool systolisch) const {
    const QString f = FarbeAlsHtml(farbe);
    if (systolisch)
        return u"backgroundColor: '"_s + f + u"',borderColor: '"_s + f + u"' , borderWidth: "_s +
               d.stiftBreite + u", fill: false, "_s;
    return u"backgroundColor: '"_s + f + u"',borderColor: '"_s + f + u"' ,borderWidth: "_s + d.stiftBreite +
           u",fill: false, "_s;
}

QString THtmlSeite::mittelwertZeile() const {
    const QString gewicht =
        d.mittelGewicht > 0 ? u"Gewicht: "_s + TMonatsGrafik::formatiereGewicht(d.mittelGewicht) + u" kg"_s
                            : u"Gewicht: Keine Angabe!"_s;
    return u"Systole: "_s + QString::number(m_sys) + u" mmHg - Diastole: "_s + QString::number(m_dia) +
           u" mmHg - Puls: "_s + QString::number(m_puls) + u" (HF) - "_s + gewicht;
}

QString THtmlSeite::FuelleDieVorlagenZeile(const QString& vorlage) const {
    static const char16_t* const marken[] = {u"Dz1",
                                             u"Dz2_1",
                                             u"Dz2_2",
                                             u"Dz2_3",
                                             u"DzErste2Wochen",
                                             u"Dz3_1",
                                             u"Dz3_2",
                                             u"Dz3_3",
                                             u"DzZweiten2Wochen",
                                             u"DzRest1",
                                             u"DzRest2",
                                             u"DzRest3",
                                             u"DzRestWochen",
                                             u"Dz7",
                                             u"Dz7_",
                                             u"Dz7__",
                                             u"Dz17"};
    QStringView marke;
    for (const char16_t* m : marken)
        if (vorlage.contains(QStringView(m))) marke = m; // the last one contained decides
    if (marke == u"Dz1")
        return u"<h0><b>Korvanemesswerte von "_s + HtmlText(d.benutzerName) + u" im "_s + d.monatName + u' ' +
               d.jahrText + u"</b></h0>"_s;
    if (marke == u"Dz2_1") return datenZeile(0, 1, 14, false);
    if (marke == u"Dz2_2") return datenZeile(1, 1, 14, false);
    if (marke == u"Dz2_3") return datenZeile(2, 1, 14, true);
    if (marke == u"DzErste2Wochen") return labelsZeile(1, 14);
    if (marke == u"Dz3_1") return datenZeile(0, 15, 28, false);
    if (marke == u"Dz3_2") return datenZeile(1, 15, 28, false);
    if (marke == u"Dz3_3") return datenZeile(2, 15, 28, true);
    if (marke == u"DzZweiten2Wochen") return labelsZeile(15, 28);
    if (marke == u"DzRest1") return datenZeile(0, 29, 31, false);
    if (marke == u"DzRest2") return datenZeile(1, 29, 31, false);
    if (marke == u"DzRest3") return datenZeile(2, 29, 31, false);
    if (marke == u"DzRestWochen") return restLabelsZeile();
    if (marke == u"Dz7") return farbZeile(d.farbeSys, true);
    if (marke == u"Dz7_") return farbZeile(d.farbeDia, false);
    if (marke == u"Dz7__") return farbZeile(d.farbePuls, false);
    if (marke == u"Dz17") return mittelwertZeile();
    return vorlage;
}

// ---------------------------------------------------------------------------------------------
// The page

QStringList THtmlSeite::linienKonfiguration(int g) const {
    static const char16_t* const anfang[4] = {
        u"", u"function createConfig(colorName) {return {type:'line',\tdata: { ",
        u"function createConfig2(colorName) {return {\ttype:'line',\tdata: { ",
        u"function createConfig3(colorName) {return {\ttype:'line',\tdata: { "};
    static const char16_t* const titel[4] = {u"", u"Die ersten 14 Tage", u"Die nächsten 14 Tage",
                                             u"Die restlichen Tage des Monats"};
    static const char16_t* const labels[4] = {u"", u"DzErste2Wochen", u"DzZweiten2Wochen", u"DzRestWochen"};
    static const char16_t* const daten[4][3] = {{u"", u"", u""},
                                                {u"Dz2_1", u"Dz2_2", u"Dz2_3"},
                                                {u"Dz3_1", u"Dz3_2", u"Dz3_3"},
                                                {u"DzRest1", u"DzRest2", u"DzRest3"}};
    const QString gitter = kGitterFarbe;
    const QString maximum = QString::number(m_maximum[g]);

    QStringList z{QString::fromUtf16(anfang[g])};
    const QString labelZeile = FuelleDieVorlagenZeile(QString::fromUtf16(labels[g]));
    if (!labelZeile.isEmpty()) z << labelZeile; // a 28-day month has no rest labels
    z << u"datasets: [{label: 'Systole',"_s << FuelleDieVorlagenZeile(u"Dz7"_s)
      << FuelleDieVorlagenZeile(QString::fromUtf16(daten[g][0]));
    z << u"{label: 'Diastole',"_s << FuelleDieVorlagenZeile(u"Dz7_"_s)
      << FuelleDieVorlagenZeile(QString::fromUtf16(daten[g][1]));
    z << u"{label: 'Puls',"_s << FuelleDieVorlagenZeile(u"Dz7__"_s)
      << FuelleDieVorlagenZeile(QString::fromUtf16(daten[g][2]));
    z << u"]},"_s;
    z << u"options: {aspectRatio:1.6  , legend: {display: true,labels: {boxWidth :10}},elements: {line: "
         u"{tension: 0}},responsive: true,title: {display: true, fontSize : 14,text: '"_s +
             QString::fromUtf16(titel[g]) + u"'}, "_s;
    z << u"legend: {display: true,onClick: function(e, legendItem) {var index = legendItem.datasetIndex; var "
         u"actualChart = this.chart; var alreadyHidden = (actualChart.getDatasetMeta(index).hidden === null) "
         u"? "
         u"false : actualChart.getDatasetMeta(index).hidden;"_s
      << u"actualChart.data.datasets.forEach(function(e, i) { var meta = actualChart.getDatasetMeta(i);  if "
         u"(i "
         u"=== index) {if(!alreadyHidden){  "_s
      << u"meta.stop();  }  } });  }, },            "_s;
    if (d.werteOberhalb) {
        z << u"tooltips: {bodySpacing : 15, titleMarginBottom : 10, mode: 'index', intersect: true, }, "_s;
        z << u"hover:{animationDuration: 0},animation:{onComplete: function(){this.chart.controller.draw(); "
             u"drawValue(this, 1);},onProgress: function(state){var animation = "
             u"state.animationObject;drawValue("
             u"this,animation.currentStep / animation.numSteps); }}, "_s;
        z << u"scales: {xAxes: [{ gridLines: {  display: true ,  color: '"_s + gitter +
                 u"'}, scaleLabel: {display: true,labelString: '"_s + u"     "_s +
                 u"'}\t}],yAxes: [{ticks: { max:"_s + maximum +
                 u"},  gridLines: {  display: true ,  color: '"_s + gitter +
                 u"'},scaleLabel: {display: true,labelString: '"_s + u"mmHg"_s + u"'},}]}}};} "_s;
    } else {
        z << u"tooltips: {bodySpacing : 15, titleMarginBottom : 10, mode: 'index', intersect: true, },hover: "
             u"{mode: 'index',},scales: {xAxes: [{ gridLines: {  display: true ,  color: '"_s +
                 gitter + u"'}, scaleLabel: {display: true,labelString: '"_s + u"     "_s +
                 u"'}\t}],yAxes: [{ticks: { max:"_s + maximum +
                 u"}, gridLines: {  display: true ,  color: '"_s + gitter +
                 u"'},scaleLabel: {display: true,labelString: '"_s + u"mmHg"_s + u"'},}]}}};} "_s;
    }
    return z;
}

QStringList THtmlSeite::balkenKonfiguration() const {
    const Grad grad = HypertonieGrad(m_sys, m_dia);
    const QString gitter = kGitterFarbe;
    return {
        u"function createConfig4(colorName) {return {\ttype:'bar',\tdata: { "_s,
        u"labels: ['"_s + FuelleDieVorlagenZeile(u"Dz17"_s) + u"'], "_s,
        u"datasets: [{barPercentage: 0.3, label: '"_s + grad.text + u"',"_s,
        u"backgroundColor: '"_s + grad.farbe + u"' ,borderColor: '"_s + grad.farbe + u"',fill: false, "_s,
        u"data: [180] , },  "_s,
        u"]},"_s,
        u"options: {aspectRatio:1.6  , legend: {display: true,labels: {fontSize: 13 ,fontStyle : "
        u"'bold',boxWidth :10}},elements: {line: {tension: 0}},responsive: true,title: {display: true, "
        u"fontSize: 14 ,fontStyle : 'bold',text: 'Hypertonie Grad'}, "_s,
        u"tooltips: {enabled: false, mode: 'index', intersect: true, },hover: {mode: 'index',},scales: "
        u"{xAxes: [{  ticks: { fontSize: 13 , fontStyle : 'bold'},gridLines: {  display: false ,  color: '"_s +
            gitter + u"'}, scaleLabel: {display: true,labelString: '"_s + u"     "_s +
            u"'}\t}],yAxes: [{stacked: true, gridLines: {  display: false ,  color: '"_s + gitter +
            u"'},display: false,scaleLabel: {display: false,labelString: '"_s + u"mmHg"_s + u"'},}]}}};} "_s,
    };
}

bool THtmlSeite::leseMittel() {
    const QLocale locale;
    int* ziele[3] = {&m_sys, &m_dia, &m_puls};
    const QString* texte[3] = {&d.mittelSys, &d.mittelDia, &d.mittelPuls};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const double wert = locale.toDouble(*texte[i], &ok);
        if (!ok || wert < 0 || wert > 1e6) {
            m_fehler = monatstabelle::meldungKeineZahl(*texte[i], true);
            return false;
        }
        *ziele[i] = int(TMonatsGrafik::RundeAuf(wert, 0));
    }
    return true;
}

QStringList THtmlSeite::Zeilen() {
    m_fehler.clear();
    GibDieTagesMittelwerte();
    if (!m_fehler.isEmpty()) return {};
    for (int g = 1; g <= 3; ++g) {
        int hoechster = 0;
        for (int tag = kGruppen[g].von; tag <= kGruppen[g].bis; ++tag)
            hoechster = qMax(hoechster, zahlen::ganzzahl(TagesMittelTexte[0][tag]).value_or(0));
        m_maximum[g] = YMaximum(hoechster);
    }
    if (!leseMittel()) return {};

    const bool gruppe[4] = {false, HatTagesgruppeDaten(u"zweiWochen1"_s),
                            HatTagesgruppeDaten(u"zweiWochen2"_s), HatTagesgruppeDaten(u"RestdesMonats"_s)};
    const bool irgendeine = gruppe[1] || gruppe[2] || gruppe[3];

    QStringList z;
    z << u"<!doctype html><html><head><meta charset=\"windows-1252\"><style>h0{font-family: "
         u"Verdana;font-style:normal;font-weight:400;color:black;font-size:18px;}</style><title>Korvane</"
         u"title><script src=\"Chart.min.js\"></script>"_s;
    z << u"<style> h1{ font-family:Verdana;font-style:normal;font-weight:100;color:black;font-size:14px;} "
         u"</style>"_s;
    z << u"<style>canvas {-moz-user-select: none;-webkit-user-select: none;-ms-user-select: "
         u"none;}.chart-container {width: 600px;margin-left: 10px;margin-right: 10px;}.container {display: "
         u"flex;flex-direction: row;flex-wrap: wrap;justify-content: left;}"_s;
    z << u"</style></head><body><center>"_s;
    z << FuelleDieVorlagenZeile(u"Dz1"_s);
    z << u"<br><h1>Die täglichen Messwerte sind als Mittelwerte dargestellt. </h1></center>"_s;
    const QString hinweis = FehlendeDatenHinweis();
    if (!hinweis.isEmpty()) z << u"<center><h1>"_s + hinweis << u"]</h1></center>"_s;

    if (irgendeine) {
        QString container = u"<div class=\"container\">"_s;
        for (int g = 1; g <= 3; ++g)
            if (gruppe[g])
                container += u"<div class=\"chart-container\"><canvas id=\"diagramm"_s + QString::number(g) +
                             u"\"></canvas></div>"_s;
        z << container + u' ';
        const bool nurErste = gruppe[1] && !gruppe[2] && !gruppe[3];
        z << u"<div class=\"chart-container\"><canvas id=\"diagramm4\"></canvas></div>"_s +
                 (nurErste ? u" "_s : u"   "_s);
    }
    z << u"</div><script>"_s;
    z << u"var insideFontColor = '255,255,255'; var outsideFontColor = '0,0,0'; var topThreshold = 20;"_s;
    z << u"var fontSize = 12; var fontStyle = 'normal';  var fontFamily = 'Helvetica Neue'; "_s;
    z << u"var modifyCtx = function(ctx) { ctx.font = Chart.helpers.fontString(fontSize, fontStyle, "
         u"fontFamily);  "
         u"ctx.textAlign = 'center';  ctx.textBaseline = 'bottom';  return ctx;}; "_s;
    z << u"var fadeIn = function(ctx, obj, x, y, black, step) { var ctx = modifyCtx(ctx); var alpha = 0; "
         u"ctx.fillStyle =   '"_s +
             FarbeAlsHtml(d.farbeDatenwerte) + u"';   ctx.fillText(obj, x, y);};  "_s;
    z << u"var drawValue = function(context, step) { var ctx = context.chart.ctx; "
         u"context.data.datasets.forEach(function (dataset) { for (var i = 0; i < dataset.data.length; i++) "
         u"{ var "
         u"model = dataset._meta[Object.keys(dataset._meta)[0]].data[i]._model;  "_s;
    z << u"var textY = (model.y > topThreshold) ? model.y - 3 : model.y + 20; fadeIn(ctx, dataset.data[i], "
         u"model.x-5, textY, model.y+1 > topThreshold, step); }  });};   "_s;
    for (int g = 1; g <= 3; ++g)
        z << linienKonfiguration(g);
    z << balkenKonfiguration();
    for (const char16_t* f : {u"createConfig", u"createConfig2", u"createConfig3", u"createConfig4"})
        z << u"function createPointStyleConfig(colorName) {var config = "_s + QString::fromUtf16(f) +
                 u"(colorName);config.options.legend.labels.usePointStyle = true;return config;}"_s;

    if (irgendeine) {
        static const char16_t* const eintrag[4] = {u"", u"{id: 'diagramm1',config: createConfig()}",
                                                   u"{id: 'diagramm2',\tconfig: createConfig2()}",
                                                   u"{id: 'diagramm3',config: createConfig3()}"};
        QStringList eintraege;
        for (int g = 1; g <= 3; ++g)
            if (gruppe[g]) eintraege << QString::fromUtf16(eintrag[g]);
        z << u"window.onload = function() {["_s + eintraege.join(u", "_s) +
                 u",{id: 'diagramm4',config: createConfig4()}  ].forEach(function(details) {var ctx = "_s
                 u"document.getElementById(details.id).getContext('2d');new Chart(ctx, details.config);";
        z << u"});};</script>"_s;
    } else {
        // Without the onload line its closing brackets would be a script error.
        z << u"</script>"_s;
    }

    const QString plausibel = PlausibilitaetsHinweis(m_sys, m_dia);
    if (!plausibel.isEmpty()) z << u"<h1><font color=\"red\">"_s + plausibel + u"</font></h1>"_s;

    if (!d.bemerkungen.isEmpty()) {
        z << u"<h1><u>Meine Bemerkung:</u><br><h1><div>"_s;
        for (const QString& zeile : std::as_const(d.bemerkungen)) {
            if (leerNachTrimmen(zeile)) continue;
            z << HtmlText(zeile).replace(u'\t', u"&nbsp;&nbsp;&nbsp;&nbsp;"_s) + u" <br>"_s;
        }
    }
    z << u"</div></body></html>"_s;
    return z;
}
