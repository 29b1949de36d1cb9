// Drawing a month: the three curve passes, the means overlay and the filing of the table.
#include "chart/schrift.h"
#include "chart/tmonatsgrafik.h"
#include "platform/datei.h"
#include "platform/dialoge.h"
#include "platform/uhr.h"
#include "storage/registry.h"

#include <QFileInfo>
#include <QPainter>
#include <QSet>

namespace {

QPen stift(const QColor& farbe, int breite) {
    return QPen(farbe, breite, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

} // namespace

void TMonatsGrafik::leereWerte() {
    for (QStringList* liste :
         {&AnzeigeWerteSys, &AnzeigeWerteDia, &AnzeigeWertePuls, &MonatsWerteSys, &MonatsWerteDia,
          &MonatsWertePuls, &TagesWerteSys, &TagesWerteDia, &TagesWertePuls})
        liste->clear();
    const QString null = QStringLiteral("0");
    MonatsMittelTexte = {null, null, null, null};
    GrafikMittelTexte = {};
    monatsMittelSys = monatsMittelDia = monatsMittelPuls = 0;
    MonatsMittelGewicht = 0;
    gewichtSumme = gewichtAnzahl = 0;
    gewichtsMittelText.clear();
    gewichtsMittelZeile = -1;
    hinweisText.clear();
}

void TMonatsGrafik::leeren() {
    Image = vorlageGrafik;
    GewichtImage = vorlageGewicht;
    for (QStringList* liste : {&Memo1, &TagesEndeZeilen, &GewichtsListe, &TagesMittelPunkteSys,
                               &TagesMittelPunkteDia, &TagesMittelPunktePuls})
        liste->clear();
    leereWerte();
    emit gezeichnet();
}

QString TMonatsGrafik::jahrDerTabelle(const monatstabelle::Anzeige& anzeige) {
    if (monatstabelle::istJahr(anzeige.jahr)) return anzeige.jahr;
    const QString ausDatum = anzeige.kopf.datum.section(u' ', -1);
    if (monatstabelle::istJahr(ausDatum)) return ausDatum;
    return QString::number(Uhr::heute().year());
}

QString TMonatsGrafik::titel(const monatstabelle::Kopf& kopf) {
    return QStringLiteral("Korvanemesswerte  ") + kopf.datum + QStringLiteral("  ") + kopf.benutzerName;
}

bool TMonatsGrafik::GrafikZeichnen(const QString& gewaehlt) {
    if (datei::pruefe(gewaehlt, datei::kGrenzeTabelle) == datei::Fehler::Fehlt) return false;
    QString fileName = gewaehlt;

    // One snapshot of the file serves every pass, so a file that changes meanwhile cannot mix
    // two months; a broken file is refused before anything is drawn, written or replaced.
    QString fehler;
    bool nichtLesbar = false;
    std::optional<monatstabelle::Anzeige> anzeige = monatstabelle::liesZurAnzeige(fileName, &fehler, &nichtLesbar);
    if (!anzeige) {
        Dialoge::seam().warnung(fehler);
        if (nichtLesbar && !nurZeichnen) emit lesefehler(fileName);
        return false;
    }
    QString name = anzeige->kopf.benutzerName.isEmpty() ? z.benutzerName : anzeige->kopf.benutzerName;
    // Where the table is filed, and so where its remarks are kept. Empty without a reading line:
    // then the month is unknown and the table stays where it is.
    QString kanonisch =
        anzeige->monat.isEmpty() ? QString() : monatstabelle::tabellenPfad(z, name, anzeige->monat, anzeige->jahr);
    // A table from elsewhere for a month that already has its own, different one: that one is the
    // table in use, so that one is shown; the other is said, never silently mixed in.
    if (!nurZeichnen && !kanonisch.isEmpty() && !monatstabelle::gleicheDatei(fileName, kanonisch) &&
        datei::pruefe(kanonisch, datei::kGrenzeTabelle) != datei::Fehler::Fehlt &&
        datei::lies(kanonisch, datei::kGrenzeTabelle).inhalt != datei::lies(fileName, datei::kGrenzeTabelle).inhalt) {
        Dialoge::seam().information(QStringLiteral("F\u00FCr %1 %2 von %3 gibt es schon die Tabelle \"%4\". Sie wird "
                                                   "angezeigt; \"%5\" wird nicht \u00FCbernommen.")
                                        .arg(monatstabelle::GibMonatLang(anzeige->monat.toInt()), anzeige->jahr, name,
                                             kanonisch, fileName));
        QString fehlerKanonisch;
        auto vorhanden = monatstabelle::liesZurAnzeige(kanonisch, &fehlerKanonisch, &nichtLesbar);
        if (!vorhanden) {
            Dialoge::seam().warnung(fehlerKanonisch);
            return false;
        }
        fileName = kanonisch;
        anzeige = std::move(vorhanden);
        name = anzeige->kopf.benutzerName.isEmpty() ? z.benutzerName : anzeige->kopf.benutzerName;
        kanonisch = monatstabelle::tabellenPfad(z, name, anzeige->monat, anzeige->jahr);
    }
    const monatstabelle::Kopf kopf = anzeige->kopf;
    const QString monat = anzeige->monat, jahr = anzeige->jahr;
    // Remarks are kept beside the table's place in the year folders; a table elsewhere whose month
    // is unknown shows its remarks but never writes beside it.
    const bool bemerkungenNurLesen =
        kanonisch.isEmpty() && !QFileInfo(fileName).absoluteFilePath().startsWith(z.tabellenOrdner);
    const QString neueBemerkungen = monatstabelle::bemerkungsPfadZu(kanonisch.isEmpty() ? fileName : kanonisch);
    const bool andererMonat = !monatstabelle::gleicheDatei(neueBemerkungen, bemerkungenDatei);
    // Remarks typed before any month was shown belong to the first month drawn.
    const bool vorDemErstenMonat = bemerkungenDatei.isEmpty() && bemerkungenGeaendert;
    if (andererMonat && !vorDemErstenMonat && !nurZeichnen && !bemerkungenSichern(false)) return false;

    GewichtsListe.clear();
    z.TabellenDateiName = fileName;
    emit jahrFeldGesetzt(jahrDerTabelle(*anzeige));

    if (!ueberlagerung) Image = vorlageGrafik;
    // A weight curve of an earlier month must never show under a new one.
    if (!MittelwertModus) GewichtImage = vorlageGewicht;

    monatstabelle::wendeSlotsAn(kopf, z.slotAktiv);
    if (!kopf.benutzerName.isEmpty()) // an empty header keeps the user in use
        z.benutzerName = kopf.benutzerName;
    // Every write syncs the settings file to disk; an unchanged name needs none.
    if (!nurZeichnen && Lies_String_aus_Registry(QStringLiteral("BenutzerName")) != z.benutzerName)
        Schreib_String_in_Registry(QStringLiteral("BenutzerName"), z.benutzerName);
    Label1 = titel(kopf);

    Memo1 = anzeige->zeilen;
    TagesEndeZeilen = tagesEnden(Memo1);
    // Looked up once per line: a set keeps the drawing linear in the file's size.
    QSet<qsizetype> tagesEnde;
    tagesEnde.reserve(TagesEndeZeilen.size());
    for (const QString& n : std::as_const(TagesEndeZeilen))
        tagesEnde.insert(n.toLongLong());

    // The reading lines with their place in the file; lines without a day column or slot are
    // listed for the entry dialog but have no place in the chart.
    z.ListBox1.clear();
    z.ListBox1.reserve(anzeige->messzeilen.size());
    QList<Lesung> lesungen;
    lesungen.reserve(anzeige->messungen.size());
    for (qsizetype k = 0; k < anzeige->messungen.size(); ++k) {
        const monatstabelle::Messung& m = anzeige->messungen.at(k);
        z.ListBox1 << monatstabelle::listeneintrag(anzeige->messzeilen.at(k));
        if (TagX(m.tag) < 0 || SlotVersatz(m.slot) < 0) continue;
        lesungen.append({m, tagesEnde.contains(anzeige->indizes.at(k))});
    }
    z.listenDatei = fileName;
    if (!anzeige->messzeilen.isEmpty()) z.letzteMesszeile = anzeige->messzeilen.last();
    anzeige.reset(); // the lines live on in Memo1, the values in lesungen

    leereWerte();
    gewichtMeldung.clear();

    stiftBreite = liesStiftBreite();
    if (!lesungen.isEmpty()) ZeichneFarbErklaerung();

    const bool mittel = MittelwertModus;
    durchgang(lesungen, mittel ? Durchgang::MittelwertSystolisch : Durchgang::Oben);
    durchgang(lesungen, mittel ? Durchgang::MittelwertDiastolisch : Durchgang::Mitte);
    durchgang(lesungen, mittel ? Durchgang::MittelwertPuls : Durchgang::Unten);

    MonatsMittelGewicht = gewichtsMittel();
    if (GewichtsListe.isEmpty())
        GewichtImage = vorlageGewicht;
    else if (mittel)
        zeichneGewichtsMittelLinie();
    else
        ZeichneGewichtInGrafik();

    SchreibeZahlenInGrafikLinks();
    SchreibeNameUndMonatInGrafik();
    if (z.ListBox1.size() <= 1) SchreibHinweisNurEinDatensatzVorhanden(int(z.ListBox1.size()));

    // Filing under the canonical name; without a reading line the month is unknown and the
    // table stays where it is.
    if (!kanonisch.isEmpty()) {
        z.monatText = monat;
        z.jahrText = jahr;
        z.monatName = monatstabelle::GibMonatLang(monat.toInt());
        if (!nurZeichnen) monatstabelle::nimmTabelleAuf(z, fileName, name, monat, jahr);
    }
    if (andererMonat || vorDemErstenMonat)
        ladeBemerkungen(neueBemerkungen, monatstabelle::bemerkungsPfadZu(fileName), bemerkungenNurLesen || nurZeichnen);

    emit gezeichnet();
    if (!gewichtMeldung.isEmpty()) Dialoge::seam().meldung(gewichtMeldung);
    return true;
}

void TMonatsGrafik::durchgang(const QList<Lesung>& lesungen, Durchgang d) {
    datensatz = 0;
    register_.fill(0);
    QStringList* punkte = nullptr;
    switch (d) {
    case Durchgang::Oben:
    case Durchgang::MittelwertSystolisch:
        punkte = &TagesMittelPunkteSys;
        break;
    case Durchgang::Mitte:
    case Durchgang::MittelwertDiastolisch:
        punkte = &TagesMittelPunkteDia;
        break;
    case Durchgang::Unten:
    case Durchgang::MittelwertPuls:
        punkte = &TagesMittelPunktePuls;
        break;
    }
    punkte->clear();
    const bool systolisch = d == Durchgang::Oben || d == Durchgang::MittelwertSystolisch;

    {
        QPainter p(&Image);
        for (const Lesung& l : lesungen) {
            if (systolisch) {
                ErstelleMonatsMittelwert(l.m);
                ErstelleTagesMittelwert(l.m);
                ErstelleGewichtsListe(l.m);
                EstelleMonatsMittelw_Zahlenausgabe(l.m);
            }
            ++datensatz;
            ZeichneInGrafik(&p, l, d);
            if (systolisch) ErstelleGewichtsListe(l.m);
        }
    }

    switch (d) {
    case Durchgang::Oben:
    case Durchgang::MittelwertSystolisch:
        MonatsMittelTexte = berechneMittelwerte(MonatsWerteSys, MonatsWerteDia, MonatsWertePuls).texte;
        SchreibeMonatsMittelwInGrafik();
        if (d == Durchgang::MittelwertSystolisch)
            zeichneMonatsMittelLinie(TagesMittelPunkteSys, monatsMittelSys, farbeSys);
        break;
    case Durchgang::MittelwertDiastolisch:
        zeichneMonatsMittelLinie(TagesMittelPunkteDia, monatsMittelDia, farbeDia);
        break;
    case Durchgang::MittelwertPuls:
        zeichneMonatsMittelLinie(TagesMittelPunktePuls, monatsMittelPuls, farbePuls);
        break;
    default:
        break;
    }
}

QPoint TMonatsGrafik::Zeichne(QPainter* p, int x, int y) {
    QPen pen = p->pen();
    pen.setWidth(stiftBreite);
    p->setPen(pen);
    return QPoint(x, y); // the origin of the next connecting line; no mark of its own
}

void TMonatsGrafik::ZeichneInGrafik(QPainter* p, const Lesung& l, Durchgang d) {
    const monatstabelle::Messung& m = l.m;
    const int x = TagX(m.tag) + SlotVersatz(m.slot);
    const std::array<int, 3> werte{m.sys, m.dia, m.puls};
    std::array<int, 3> zeilen{};
    for (int i = 0; i < 3; ++i)
        zeilen[i] = WertInPixel(werte[i]);

    int messgroesse = -1;
    QColor farbe;
    switch (d) {
    case Durchgang::Oben:
        messgroesse = 0, farbe = farbeSys;
        break;
    case Durchgang::Mitte:
        messgroesse = 1, farbe = farbeDia;
        break;
    case Durchgang::Unten:
        messgroesse = 2, farbe = farbePuls;
        break;
    default:
        break;
    }

    if (messgroesse >= 0) {
        p->setPen(stift(farbe, stiftBreite));
        const QPoint von = Zeichne(p, x, zeilen[messgroesse]);
        const QPoint nach(vorherX, vorherY[messgroesse]);
        if (datensatz > 1 && von != nach) // a line to its own start leaves no mark
            p->drawLine(von, nach);
    } else {
        const int i = d == Durchgang::MittelwertSystolisch    ? 0
                      : d == Durchgang::MittelwertDiastolisch ? 1
                                                              : 2;
        register_[m.slot - 1] = werte[i];
        if (l.tagesEnde) {
            int summe = 0, anzahl = 0;
            for (int r : register_)
                if (r > 0) summe += r, ++anzahl;
            // A day measured only with zeros has no mean.
            if (anzahl > 0) {
                QStringList& punkte = i == 0   ? TagesMittelPunkteSys
                                      : i == 1 ? TagesMittelPunkteDia
                                               : TagesMittelPunktePuls;
                punkte << QString::number(x) + u' ' + QString::number(WertInPixel(summe / anzahl));
            }
            register_.fill(0);
        }
    }
    vorherX = x;
    vorherY = zeilen;
}

void TMonatsGrafik::zeichneMonatsMittelLinie(const QStringList& punkte, double mittel, const QColor& farbe) {
    if (punkte.isEmpty() || AnzeigeWerteSys.size() < 2) return;
    const int x1 = punkte.first().section(u' ', 0, 0).toInt();
    const int x2 = punkte.last().section(u' ', 0, 0).toInt();
    const int y = WertInPixel(aufGanzeAufrunden(mittel));
    QPainter p(&Image);
    waagerecht(p, x1 - 6, x2 - 3, y, FarbeAufhellen(farbe, 30), stiftBreite);
}
