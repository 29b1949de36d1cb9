#include "export/pdf/gui/tpdfexport.h"

#include "chart/tmonatsgrafik.h"
#include "export/image/grafikseite.h"
#include "export/pdf/gui/tpatientendateninpdfform.h"
#include "platform/dialoge.h"
#include "platform/shell.h"
#include "storage/monatstabelle.h"

#include <QDialog>
#include <QFileInfo>

TPdfExport::TPdfExport(Zustand& zustand, TMonatsGrafik& g, TPatientenDatenInPDFform* d, QObject* parent)
    : QObject(parent), z(zustand), grafik(g), dialog(d) {}

bool TPdfExport::exportieren(pdfdokument::Art art, const tabelle::Gitter* gitter) {
    using pdfdokument::Art;
    geschrieben.clear();
    pdfdokument::Monat monat;
    PatientenDatenEinfuegen = false;
    if (dialog) {
        dialog->richteEinFuer(art);
        PatientenDatenEinfuegen = Dialoge::seam().modal(dialog) == QDialog::Accepted;
        if (PatientenDatenEinfuegen) {
            monat.patientendaten = dialog->daten();
            monat.platz = dialog->platz();
        }
    }

    const QString jahr = bildexport::jahrDesMonats(z);
    monatstabelle::legeJahrOrdnerAn(z.tabellenOrdner + jahr, jahr);
    QString pfad = Dialoge::seam().dateiSpeichern(QStringLiteral("PDF-Erstellung"), pdfdokument::vorgeschlagenerName(z),
                                                  QStringLiteral("Acrobat Format (*.pdf)"));
    if (pfad.isEmpty()) return false;
    if (QFileInfo(pfad).suffix().isEmpty()) pfad += QStringLiteral(".pdf");
    // The month's own files are never written over by a document, nor its remarks file made.
    if (const QString fehler = monatstabelle::exportNameFehler(pfad, {z.TabellenDateiName});
        !fehler.isEmpty()) {
        Dialoge::seam().warnung(fehler + QStringLiteral(" Die PDF-Datei wird nicht geschrieben."));
        return false;
    }

    if (art != Art::NurTabelle) {
        const auto seite = bildexport::grafikseiteAus(grafik, gewichtSichtbar && gewichtSichtbar(),
                                                      !bemerkungenSichtbar || bemerkungenSichtbar());
        monat.grafikseite = bildexport::Die4BilderZusammenfuegen(seite, [this](int ms) {
            if (pause) pause(ms);
        });
    }
    if (art != Art::NurGrafik && gitter)
        monat.tabellenbild = bildexport::tabellenBildMitTitel(tabelle::TabelleAlsBild(*gitter), grafik.Label1);

    TmachPDF pdf;
    pdfdokument::richteEin(pdf);
    pdf.FileName = pfad; // 96 pixels per inch, whatever the screen: the command line's files are the same
    pdf.BeginDoc();
    int seite = 1;
    pdfdokument::schreibeMonat(pdf, art, std::move(monat), &seite);
    QString fehler;
    if (!pdf.EndDoc(&fehler)) {
        Dialoge::seam().warnung(fehler);
        return false;
    }
    geschrieben = pfad;
    oeffne(pfad);
    return true;
}

void TPdfExport::oeffne(const QString& pfad) {
    shell::oeffneDokument(pfad, [pfad](const QString& grund) {
        Dialoge::seam().warnung(
            QStringLiteral("Die PDF-Datei \"%1\" wurde gespeichert, konnte aber nicht geöffnet werden. %2")
                .arg(pfad, grund));
    });
}
