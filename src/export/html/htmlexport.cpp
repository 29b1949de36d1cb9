#include "export/html/htmlexport.h"

#include "chart/tmonatsgrafik.h"
#include "platform/datei.h"
#include "platform/dialoge.h"
#include "platform/textdatei.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace htmlexport {
namespace {

const QString kSkript = u"Chart.min.js"_s;

QString skriptQuelle(const QString& datenOrdner) {
    return datenOrdner + u"scripts/"_s + kSkript;
}

// Something of that name is there, even a link that leads nowhere: it is never replaced.
bool liegtDa(const QString& pfad) {
    const QFileInfo info(pfad);
    return info.exists() || info.isSymLink();
}

bool legeSkriptDaneben(const QString& ordner, const QString& datenOrdner) {
    const QString kopie = ordner + u'/' + kSkript;
    if (liegtDa(kopie)) return true;
    sichereSkriptQuelle(datenOrdner);
    const QString quelle = skriptQuelle(datenOrdner);
    const datei::Gelesen g = datei::lies(quelle, kGrenzeSkript);
    datei::Geschrieben kopiert;
    if (g.ok() && !liegtDa(kopie)) {
        kopiert = datei::schreibe(kopie, g.inhalt);
        if (kopiert) return true;
    }
    // The copy that failed is named too: the first line names only where it came from.
    Dialoge::seam().meldung(u"Datei \""_s + quelle +
                            u"\" konnte nicht in den Ordner:\"JahrPfad\" kopiert werden! "_s +
                            (kopiert ? QString() : u'\n' + datei::schreibMeldung(kopie, kopiert)));
    return false;
}

QString ganzzahl(const QString& name) {
    const QString wert = Lies_Integer_aus_Registry(name);
    return wert.isEmpty() ? registry::vorgabe(name) : wert;
}

} // namespace

QByteArray eingebautesSkript() {
    QFile f(u":/skripte/"_s + kSkript);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool sichereSkriptQuelle(const QString& datenOrdner) {
    const QString pfad = skriptQuelle(datenOrdner);
    if (liegtDa(pfad)) return QFileInfo(pfad).isFile();
    const QByteArray skript = eingebautesSkript();
    return !skript.isEmpty() && QDir().mkpath(QFileInfo(pfad).path()) && datei::schreibe(pfad, skript);
}

void leseEinstellungen(THtmlSeite::Daten& daten) {
    auto farbe = [](const char* name) {
        return TMonatsGrafik::farbeAusText(registry::mitStandard(QLatin1String(name)));
    };
    daten.farbeSys = farbe("SystolischKurvenFarbe");
    daten.farbeDia = farbe("DiastolischKurvenFarbe");
    daten.farbePuls = farbe("PulsKurvenFarbe");
    daten.farbeDatenwerte = farbe("DatenwerteOberhalbFarbe");
    // As the chart draws it: a width that is no positive number is 2.
    const int breite = ganzzahl(u"StiftBreite"_s).toInt();
    daten.stiftBreite = QString::number(breite > 0 ? breite : 2);
    daten.werteOberhalb = ganzzahl(u"WerteOberhalbKurveAnzeigen"_s) == u"1";
    daten.linieBeiNullUnterbrechen = ganzzahl(u"LinieBeiNullUnterbrechen"_s).startsWith(u'1');
}

QStringList leseBemerkungen(const QString& pfad) {
    if (datei::pruefe(pfad, datei::kGrenzeBemerkungen) == datei::Fehler::Fehlt) return {};
    QString meldung;
    const std::optional<QStringList> zeilen =
        textdatei::liesZeilen(pfad, datei::kGrenzeBemerkungen, &meldung);
    if (!zeilen) {
        Dialoge::seam().warnung(meldung + u" Die Seite zeigt keine Bemerkungen."_s);
        return {};
    }
    return *zeilen;
}

QString seitenDateiName(const QString& tabellenPfad) {
    QString name = QFileInfo(tabellenPfad).fileName();
    if (name.endsWith(u".tab"_s, Qt::CaseInsensitive)) name.chop(4);
    return name + u".html"_s;
}

Ergebnis schreibeSeite(THtmlSeite& seite, const Ziel& ziel) {
    Ergebnis e;
    const QStringList zeilen = seite.Zeilen();
    if (zeilen.isEmpty()) {
        Dialoge::seam().warnung(seite.fehler());
        return e;
    }
    const QString ordner = QFileInfo(ziel.seitenDatei).absolutePath();
    if (!QDir(ordner).exists() && !QDir().mkpath(ordner))
        Dialoge::seam().meldung(u"Ordner \""_s + ziel.ordnerText + u"\" konnte nicht erstellt werden! "_s);
    datei::Geschrieben g;
    if (textdatei::schreibeZeilen(ziel.seitenDatei, zeilen, &g) != textdatei::Ergebnis::Ok) {
        Dialoge::seam().warnung(g ? u"Die Seite \""_s + ziel.seitenDatei +
                                        u"\" konnte nicht geschrieben werden."_s
                                  : datei::schreibMeldung(ziel.seitenDatei, g));
        return e;
    }
    e.seiteGeschrieben = true;
    e.skriptDa = legeSkriptDaneben(ordner, ziel.datenOrdner);
    return e;
}

THtmlSeite::Daten datenAus(const TMonatsGrafik& grafik, const QString& monat, const QString& jahr,
                           const QString& benutzerName, const QString& bemerkungsDatei) {
    THtmlSeite::Daten daten;
    daten.monatText = monat;
    daten.jahrText = jahr;
    daten.monatName = monatstabelle::GibMonatLang(monat.toInt());
    daten.benutzerName = benutzerName;
    daten.tagesWerteSys = grafik.TagesWerteSys;
    daten.tagesWerteDia = grafik.TagesWerteDia;
    daten.tagesWertePuls = grafik.TagesWertePuls;
    daten.mittelSys = grafik.MonatsMittelTexte.sys;
    daten.mittelDia = grafik.MonatsMittelTexte.dia;
    daten.mittelPuls = grafik.MonatsMittelTexte.puls;
    daten.mittelGewicht = grafik.MonatsMittelGewicht;
    leseEinstellungen(daten);
    daten.bemerkungen = leseBemerkungen(bemerkungsDatei);
    return daten;
}

QString DiagrammimBrowseranzeigen(Zustand& z, TMonatsGrafik& grafik) {
    // Saved first, so the page shows what the box shows.
    if (grafik.bemerkungenGeaendert && !grafik.bemerkungenDatei.isEmpty() && !grafik.bemerkungenSpeichern()) {
        QString grund = grafik.bemerkungenFehler;
        if (!textdatei::istDarstellbar(grafik.bemerkungen))
            grund = textdatei::meldungNichtDarstellbar(grafik.bemerkungen);
        else if (grund.isEmpty())
            grund =
                u"Die Bemerkungen konnten nicht in \"%1\" gespeichert werden."_s.arg(grafik.bemerkungenDatei);
        Dialoge::seam().warnung(grund + u" Die Seite zeigt die zuletzt gespeicherten Bemerkungen."_s);
    }
    // The month and year name the page folder and file: only checked ones do.
    if (z.TabellenDateiName.isEmpty() || !monatstabelle::istMonat(z.monatText) ||
        !monatstabelle::istJahr(z.jahrText)) {
        Dialoge::seam().meldung(u"Es wurden noch keine Daten eingegeben!"_s);
        return {};
    }

    THtmlSeite seite(datenAus(grafik, z.monatText, z.jahrText, z.benutzerName,
                              grafik.bemerkungenDatei.isEmpty() ? monatstabelle::bemerkungsPfadZu(z.TabellenDateiName)
                                                                : grafik.bemerkungenDatei));
    const QString ordner = z.htmlOrdner + z.jahrText;
    const Ergebnis e =
        schreibeSeite(seite, {ordner + u'/' + seitenDateiName(z.TabellenDateiName), ordner, z.datenOrdner});
    return e.seiteGeschrieben ? ordner + u'/' + seitenDateiName(z.TabellenDateiName) : QString();
}

} // namespace htmlexport
