#include "export/pdf/pdfdokument.h"

#include "chart/schrift.h"
#include "export/image/grafikseite.h"
#include "platform/datei.h"
#include "platform/textdatei.h"
#include "storage/monatstabelle.h"

#include <QPainter>
#include <QStringDecoder>

namespace pdfdokument {

bool platzMoeglich(Art art, Platz platz) {
    switch (platz) {
    case Platz::Keiner:
        return true;
    case Platz::UnterDerGrafik:
        return art != Art::NurTabelle;
    case Platz::SeiteOberhalb:
    case Platz::SeiteUnterhalb:
        return art != Art::NurGrafik;
    }
    return false;
}

Platz ersterPlatz(Art art) {
    return art == Art::NurTabelle ? Platz::SeiteOberhalb : Platz::UnterDerGrafik;
}

void richteEin(TmachPDF& pdf) {
    pdf.TITLE = QStringLiteral("Korvanemesswerte");
    pdf.Compress = true;
    pdf.PageWidth = 596;
    pdf.PageHeight = 842;
}

QImage tabellenSeite(QImage bild, int seite) {
    if (bild.format() != QImage::Format_RGB32) bild = bild.convertToFormat(QImage::Format_RGB32);
    {
        QPainter p(&bild);
        schrift::schreibe(p, bild.width() - 80, 30, QStringLiteral("Seite ") + QString::number(seite),
                          schrift::fett(QStringLiteral("MS Sans Serif"), 6), Qt::black, Qt::white);
    }
    return bild;
}

QList<Seite> seiten(Art art, Platz platz, bool mitDaten) {
    QList<Seite> liste;
    const bool tabelle = art != Art::NurGrafik;
    if (art != Art::NurTabelle) liste << Seite::Grafik; // patient data under the chart are on it
    if (tabelle && mitDaten && platz == Platz::SeiteOberhalb) liste << Seite::Daten;
    if (tabelle) liste << Seite::Tabelle;
    if (tabelle && mitDaten && platz == Platz::SeiteUnterhalb) liste << Seite::Daten;
    return liste;
}

void schreibeMonat(TmachPDF& pdf, Art art, Monat m, int* seite, bool ersterMonat) {
    const bool daten = !m.patientendaten.isEmpty();
    auto seitenNummer = [&] {
        pdf.Font = {0, 8};
        pdf.TextOut(pdf.PageWidth / 2 - 10, 15, QStringLiteral("Seite ") + QString::number(*seite));
    };
    const QList<Seite> plan = seiten(art, m.platz, daten);
    for (qsizetype i = 0; i < plan.size(); ++i) {
        // The document begins with its first page; every other page is begun here.
        if (i > 0 || !ersterMonat) {
            pdf.NewPage();
            ++*seite;
        }
        switch (plan.at(i)) {
        case Seite::Grafik: {
            seitenNummer();
            const int hoehe = m.grafikseite.height();
            pdf.DrawImage(60, 40, 0, 0, std::move(m.grafikseite)); // its pixels go once compressed
            if (daten && m.platz == Platz::UnterDerGrafik) {
                int y = hoehe - 20;
                if (y > 810) y -= 80;
                pdf.Font = {1, 10};
                pdf.TextLines(60, y, m.patientendaten);
            }
            break;
        }
        case Seite::Daten:
            seitenNummer();
            pdf.Font = {1, 8};
            pdf.TextLines(50, 50, m.patientendaten);
            break;
        case Seite::Tabelle:
            // The number is in the picture, written before it was turned.
            if (m.machTabellenbild) m.tabellenbild = m.machTabellenbild();
            pdf.DrawImage(30, 30, 9, 13, tabellenSeite(std::move(m.tabellenbild), *seite), true);
            break;
        }
    }
}

QString vorgeschlagenerName(const Zustand& z) {
    const QString jahr = bildexport::jahrDesMonats(z);
    QString name = z.monatName + u' ' + jahr + u' ' + z.benutzerName;
    return z.tabellenOrdner + jahr + u'/' + name + QStringLiteral(".pdf");
}

std::optional<QStringList> liesPatientendaten(const QString& pfad, QString* meldung) {
    const datei::Gelesen g = datei::lies(pfad, datei::kGrenzePatientendaten);
    if (!g.ok()) {
        if (meldung) *meldung = g.meldung;
        return std::nullopt;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(g.inhalt);
    if (utf8.hasError()) text = textdatei::ausWin1252(g.inhalt);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList zeilen = text.split(u'\n');
    if (!zeilen.isEmpty() && zeilen.last().isEmpty()) zeilen.removeLast();
    return zeilen;
}

} // namespace pdfdokument
