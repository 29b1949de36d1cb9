#include "export/image/gui/tbildexport.h"

#include "chart/tmonatsgrafik.h"
#include "export/image/gui/tbildspeichernform.h"
#include "platform/dialoge.h"
#include "storage/monatstabelle.h"

TBildExport::TBildExport(Zustand& zustand, TMonatsGrafik& g, TBildspeichernForm* f, QObject* parent)
    : QObject(parent), z(zustand), grafik(g), fenster(f) {}

void TBildExport::warte(int ms) {
    if (pause) pause(ms);
}

bildexport::Grafikseite TBildExport::seite() const {
    return bildexport::grafikseiteAus(grafik, gewichtSichtbar && gewichtSichtbar(),
                                      !bemerkungenSichtbar || bemerkungenSichtbar());
}

QString TBildExport::nachricht(const QString& was) const {
    return QStringLiteral("Es wird die %1 erstellt und im Ordner\r\n").arg(was) + z.tabellenOrdnerName +
           bildexport::jahrDesMonats(z) + QStringLiteral(" als  \".JPG\" gespeichert.");
}

bool TBildExport::GrafikspeichernalsBilddateiClick() {
    geschrieben.clear();
    if (hauptfensterWiederherstellen) hauptfensterWiederherstellen();
    warte(100);
    BildName = bildexport::BildName(grafik.Label1);
    const QString jahr = bildexport::jahrDesMonats(z);
    if (fenster) fenster->zeige(QStringLiteral("Grafik speichern"), nachricht(QStringLiteral("Korvane-Daten-Grafik")), 4);
    monatstabelle::legeJahrOrdnerAn(z.tabellenOrdner + jahr, jahr);
    const QImage bild = bildexport::Die4BilderZusammenfuegen(seite(), [this](int ms) { warte(ms); });
    warte(1000);
    const QString pfad = bildexport::jpegPfad(z, BildName);
    QString fehler;
    const bool ok = bildexport::schreibeJpeg(pfad, bild, &fehler);
    if (fenster) fenster->schliesse();
    if (!ok) {
        GrafikPlusTabelleLaeuft = false;
        Dialoge::seam().warnung(fehler);
        return false;
    }
    geschrieben = pfad;
    if (GrafikPlusTabelleLaeuft) {
        GrafikPlusTabelleLaeuft = false;
        return true;
    }
    Dialoge::seam().meldung(QStringLiteral("Ordner und Name der erstellten Grafik: ") + pfad);
    return true;
}

bool TBildExport::GrafikPlusTabelleSpeichern(const tabelle::Gitter& gitter) {
    geschrieben.clear();
    // Always a fresh chart page: never the file of an earlier export read back and stacked again.
    BildName = bildexport::BildName(grafik.Label1);
    const QString jahr = bildexport::jahrDesMonats(z);
    if (fenster)
        fenster->zeige(QStringLiteral("Grafik plus Tabelle speichern"),
                       nachricht(QStringLiteral("Korvane-Daten plus Tabellen Grafik")), 6);
    monatstabelle::legeJahrOrdnerAn(z.tabellenOrdner + jahr, jahr);
    const QImage seitenBild = bildexport::Die4BilderZusammenfuegen(seite(), [this](int ms) { warte(ms); });
    const QImage tabellenBild = bildexport::tabellenBildMitTitel(tabelle::TabelleAlsBild(gitter), grafik.Label1);
    warte(1000);
    warte(1000);
    const QImage bild = bildexport::BilderZusammenfuegen(seitenBild, tabellenBild);
    warte(1000);
    const QString pfad = bildexport::jpegPfad(z, BildName);
    QString fehler;
    const bool ok = bildexport::schreibeJpeg(pfad, bild, &fehler);
    if (fenster) fenster->schliesse();
    GrafikPlusTabelleLaeuft = false;
    if (!ok) {
        Dialoge::seam().warnung(fehler);
        return false;
    }
    geschrieben = pfad;
    Dialoge::seam().meldung(QStringLiteral("Ordner und Name der erstellten Grafik: ") + pfad);
    return true;
}
