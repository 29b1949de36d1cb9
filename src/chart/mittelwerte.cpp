// The value lists of a drawing and the arithmetic of every mean.
#include "chart/tmonatsgrafik.h"
#include "platform/zahlen.h"

#include <QLocale>
#include <cmath>

double TMonatsGrafik::RundeAuf(double wert, int stellen) {
    const double faktor = std::pow(10.0, stellen);
    return std::trunc(wert * faktor + 0.50000000000001) / faktor;
}

double TMonatsGrafik::RundeGanzzahl(double wert) {
    const double ganz = std::trunc(wert);
    return std::trunc(ganz + std::trunc((wert - ganz) * 2));
}

int TMonatsGrafik::aufGanzeAufrunden(double wert) {
    const double ganz = std::trunc(wert);
    return int(ganz) + (wert - ganz > 0 ? 1 : 0);
}

double TMonatsGrafik::rundeHalbGerade(double wert, int stellen) {
    return zahlen::rundeHalbGerade(wert, stellen);
}

QString TMonatsGrafik::formatiereMittelwert(double wert) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(rundeHalbGerade(wert, 2), 'f', 2);
}

QString TMonatsGrafik::formatiereGewicht(double wert) {
    return QLocale().toString(rundeHalbGerade(wert, 1), 'f', 1);
}

TMonatsGrafik::Mittelwerte TMonatsGrafik::berechneMittelwerte(const QStringList& sys, const QStringList& dia,
                                                              const QStringList& puls) {
    Mittelwerte m;
    if (sys.isEmpty()) {
        const QString null = QStringLiteral("0");
        m.texte = {null, null, null, null};
        return m;
    }
    // The texts are whole numbers the reader checked (at most 999): integer sums are exact.
    auto wert = [](const QString& t) { return qint64(zahlen::ganzzahl(t).value_or(0)); };
    auto summe = [&](const QStringList& liste) {
        qint64 s = 0;
        for (const QString& t : liste)
            s += wert(t);
        return s;
    };
    m.sys = double(summe(sys)) / double(sys.size());
    m.dia = dia.isEmpty() ? 0 : double(summe(dia)) / double(dia.size());
    m.puls = puls.isEmpty() ? 0 : double(summe(puls)) / double(puls.size());
    m.texte.sys = formatiereMittelwert(m.sys);
    m.texte.dia = formatiereMittelwert(m.dia);
    m.texte.puls = formatiereMittelwert(m.puls);
    if (sys.size() == dia.size()) {
        qint64 differenzen = 0;
        for (qsizetype i = 0; i < sys.size(); ++i)
            differenzen += wert(sys.at(i)) - wert(dia.at(i));
        m.texte.pulsdruck = formatiereMittelwert(double(differenzen) / double(sys.size()));
    }
    return m;
}

QStringList TMonatsGrafik::tagesEnden(const QStringList& zeilen) {
    QStringList enden;
    int tag = 0;
    int vorherTag = 0;
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QString& zeile = zeilen.at(i);
        const qsizetype punkt = zeile.indexOf(u'.');
        if (punkt >= 0) {
            tag = 0;
            if (punkt >= 2 && zeile.at(punkt - 2).isDigit() && zeile.at(punkt - 1).isDigit())
                tag = zeile.mid(punkt - 2, 2).toInt();
        }
        if (tag != 0 && tag != vorherTag && !zeilen.at(i - 1).trimmed().isEmpty())
            enden << QString::number(i - 1);
        vorherTag = tag;
    }
    // Blank lines after the last reading must not hide the end of the last day.
    qsizetype letzte = zeilen.size() - 1;
    while (letzte >= 0 && zeilen.at(letzte).trimmed().isEmpty())
        --letzte;
    // The list is ascending, so only its last entry can already name that line.
    if (letzte >= 0 && (enden.isEmpty() || enden.last() != QString::number(letzte)))
        enden << QString::number(letzte);
    return enden;
}

void TMonatsGrafik::ErstelleMonatsMittelwert(const monatstabelle::Messung& m) {
    // The texts are recomputed once after the systolic pass; they depend only on the whole lists.
    MonatsWerteSys << m.sysText.trimmed();
    MonatsWerteDia << m.diaText.trimmed();
    MonatsWertePuls << m.pulsText.trimmed();
    if (m.gewichtMillionstel > 0) {
        gewichtSumme += m.gewichtMillionstel;
        ++gewichtAnzahl;
    }
}

void TMonatsGrafik::ErstelleTagesMittelwert(const monatstabelle::Messung& m) {
    const QString tag = QStringLiteral("%1_").arg(m.tag, 2, 10, QLatin1Char('0'));
    TagesWerteSys << tag + m.sysText.trimmed();
    TagesWerteDia << tag + m.diaText.trimmed();
    TagesWertePuls << tag + m.pulsText.trimmed();
}

void TMonatsGrafik::ErstelleGewichtsListe(const monatstabelle::Messung& m) {
    const double kg = RundeAuf(m.gewicht, 0);
    if (kg <= 0) return;
    const int x = TagX(m.tag) + SlotVersatz(m.slot);
    GewichtsListe << QString::number(x) + u' ' + QString::number(qlonglong(kg));
}

void TMonatsGrafik::EstelleMonatsMittelw_Zahlenausgabe(const monatstabelle::Messung& m) {
    AnzeigeWerteSys << m.sysText.trimmed();
    AnzeigeWerteDia << m.diaText.trimmed();
    AnzeigeWertePuls << m.pulsText.trimmed();
}

double TMonatsGrafik::gewichtsMittel() const {
    if (gewichtAnzahl == 0) return 0;
    // At most 310 kg in millionths per reading: the sum cannot overflow, and a tenth is 100000.
    return double(zahlen::teileHalbGerade(gewichtSumme, gewichtAnzahl * 100000)) / 10.0;
}

void TMonatsGrafik::sammleWerte(const monatstabelle::Anzeige& anzeige) {
    leereWerte();
    GewichtsListe.clear();
    // The readings a drawing takes, filled by the drawing's own fillers.
    for (const monatstabelle::Messung& m : anzeige.messungen) {
        if (TagX(m.tag) < 0 || SlotVersatz(m.slot) < 0) continue;
        ErstelleMonatsMittelwert(m);
        ErstelleTagesMittelwert(m);
        ErstelleGewichtsListe(m);
        EstelleMonatsMittelw_Zahlenausgabe(m);
    }
    MonatsMittelTexte = berechneMittelwerte(MonatsWerteSys, MonatsWerteDia, MonatsWertePuls).texte;
    MonatsMittelGewicht = gewichtsMittel();
}

void TMonatsGrafik::MachDieListenFuerDenBrowserLeer() {
    MonatsWerteSys.clear();
    MonatsWerteDia.clear();
    MonatsWertePuls.clear();
    TagesWerteSys.clear();
    TagesWerteDia.clear();
    TagesWertePuls.clear();
    const QString null = QStringLiteral("0");
    MonatsMittelTexte = {null, null, null, null};
}
