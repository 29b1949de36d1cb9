#include "export/pdf/gui/tpatientendateninpdfform.h"

#include "platform/dialoge.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TPatientenDatenInPDFform::TPatientenDatenInPDFform(const QString& programmOrdner, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_programmOrdner(programmOrdner) {
    setObjectName(QStringLiteral("PatientenDatenInPDFform"));
    setWindowTitle(QStringLiteral("Patientendaten"));
    Label1 = new QLabel(QStringLiteral("Einfügen von Patientendaten in das PDF-Dokument"), this);
    QFont fett = Label1->font();
    fett.setBold(true);
    Label1->setFont(fett);
    Label2 = new QLabel(QStringLiteral("Wählen Sie aus, wo die Daten in das PDF-Dokument eingetragen werden sollen."), this);
    unterDieGrafikCheckBox = new QCheckBox(QStringLiteral("Unterhalb der Grafik ist noch Platz, Daten dort einfügen."), this);
    InEigeneSeiteOberhalbDerTabelleCheckBox =
        new QCheckBox(QStringLiteral("Daten in eigene Seite oberhalb der Tabelle einfügen."), this);
    InEigeneSeiteunterhalbDerTabelleCheckBox =
        new QCheckBox(QStringLiteral("Daten in eigene Seite unterhalb der Tabelle einfügen."), this);
    Label3 = new QLabel(QStringLiteral("Es ist noch keine Datei mit Patientendaten zum Einfügen ausgewählt!"), this);
    Label3->setMinimumWidth(400);
    Button3 = new QPushButton(QStringLiteral("Datei auswählen"), this);
    Button3->setToolTip(QStringLiteral("Datei mit den Patientendaten auswählen"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setDefault(true);
    Button1->setToolTip(QStringLiteral("PDF-Datei erstellen"));
    Button2 = new QPushButton(QStringLiteral("Keine Daten einfügen"), this);
    Button2->setToolTip(QStringLiteral("PDF-Datei ohne Patientendaten erstellen"));
    // A button that keeps the focus from an earlier opening must not take Enter from OK: Enter
    // would then write the document without the data the dialog shows as chosen.
    Button2->setAutoDefault(false);
    Button3->setAutoDefault(false);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(Button3);
    knoepfe->addStretch(1);
    knoepfe->addWidget(Button1);
    knoepfe->addWidget(Button2);
    auto* spalte = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, unterDieGrafikCheckBox,
                                                      InEigeneSeiteOberhalbDerTabelleCheckBox,
                                                      InEigeneSeiteunterhalbDerTabelleCheckBox, Label3})
        spalte->addWidget(w);
    spalte->addLayout(knoepfe);
    spalte->setSizeConstraint(QLayout::SetFixedSize);

    for (QCheckBox* k : {unterDieGrafikCheckBox, InEigeneSeiteOberhalbDerTabelleCheckBox,
                         InEigeneSeiteunterhalbDerTabelleCheckBox})
        connect(k, &QCheckBox::clicked, this, [this, k] { kastenGeklickt(k); });
    connect(Button3, &QPushButton::clicked, this, &TPatientenDatenInPDFform::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TPatientenDatenInPDFform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TPatientenDatenInPDFform::kastenGeklickt(QCheckBox* kasten) {
    if (!kasten->isChecked()) return;
    for (QCheckBox* k : {unterDieGrafikCheckBox, InEigeneSeiteOberhalbDerTabelleCheckBox,
                         InEigeneSeiteunterhalbDerTabelleCheckBox})
        if (k != kasten) k->setChecked(false);
}

void TPatientenDatenInPDFform::richteEinFuer(pdfdokument::Art art) {
    using pdfdokument::Art;
    m_daten.clear();
    switch (art) {
    case Art::NurGrafik:
        unterDieGrafikCheckBox->setEnabled(true);
        unterDieGrafikCheckBox->setChecked(true);
        InEigeneSeiteOberhalbDerTabelleCheckBox->setEnabled(false);
        InEigeneSeiteOberhalbDerTabelleCheckBox->setChecked(false);
        InEigeneSeiteunterhalbDerTabelleCheckBox->setEnabled(false);
        InEigeneSeiteunterhalbDerTabelleCheckBox->setChecked(false);
        break;
    case Art::NurTabelle:
        unterDieGrafikCheckBox->setEnabled(false);
        unterDieGrafikCheckBox->setChecked(false);
        InEigeneSeiteOberhalbDerTabelleCheckBox->setEnabled(true);
        InEigeneSeiteOberhalbDerTabelleCheckBox->setChecked(true);
        InEigeneSeiteunterhalbDerTabelleCheckBox->setEnabled(true); // left as it was
        break;
    case Art::GrafikUndTabelle:
        unterDieGrafikCheckBox->setEnabled(true);
        unterDieGrafikCheckBox->setChecked(true);
        InEigeneSeiteOberhalbDerTabelleCheckBox->setEnabled(true);
        InEigeneSeiteOberhalbDerTabelleCheckBox->setChecked(false);
        InEigeneSeiteunterhalbDerTabelleCheckBox->setEnabled(true);
        InEigeneSeiteunterhalbDerTabelleCheckBox->setChecked(false);
        break;
    }
    // "Left as it was" must still leave at most one box ticked.
    if (InEigeneSeiteOberhalbDerTabelleCheckBox->isChecked()) InEigeneSeiteunterhalbDerTabelleCheckBox->setChecked(false);
}

pdfdokument::Platz TPatientenDatenInPDFform::platz() const {
    using pdfdokument::Platz;
    if (unterDieGrafikCheckBox->isChecked() && unterDieGrafikCheckBox->isEnabled()) return Platz::UnterDerGrafik;
    if (InEigeneSeiteOberhalbDerTabelleCheckBox->isChecked()) return Platz::SeiteOberhalb;
    if (InEigeneSeiteunterhalbDerTabelleCheckBox->isChecked()) return Platz::SeiteUnterhalb;
    return Platz::Keiner;
}

void TPatientenDatenInPDFform::zeigeDatei() {
    Label3->setText(QFontMetrics(Label3->font()).elidedText(PatientenDatenDatei, Qt::ElideMiddle, 400));
}

void TPatientenDatenInPDFform::Button3Click() {
    const QString pfad = Dialoge::seam().dateiOeffnen(QStringLiteral("Datei mit den Patientendaten auswählen"),
                                                      m_programmOrdner + QStringLiteral("Patientendaten.txt"),
                                                      QStringLiteral("Textdateien (*.txt);;Alle Dateien (*)"));
    if (pfad.isEmpty()) return;
    QString meldung;
    const auto daten = pdfdokument::liesPatientendaten(pfad, &meldung);
    if (!daten) {
        Dialoge::seam().warnung(meldung);
        return;
    }
    m_daten = *daten;
    PatientenDatenDatei = pfad;
    zeigeDatei();
}

void TPatientenDatenInPDFform::Button1Click() {
    if (PatientenDatenDatei.isEmpty() || !QFileInfo::exists(PatientenDatenDatei)) {
        Dialoge::seam().information(QStringLiteral("Sie haben keine Patientendaten-Datei ausgewählt!"));
        reject();
        return;
    }
    QString meldung;
    const auto daten = pdfdokument::liesPatientendaten(PatientenDatenDatei, &meldung);
    if (!daten) {
        // There, but no text file that can be read: the document goes without the data.
        Dialoge::seam().warnung(meldung);
        reject();
        return;
    }
    m_daten = *daten;
    accept();
}
