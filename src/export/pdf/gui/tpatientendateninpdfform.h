#pragma once
// "Einfügen von Patientendaten in das PDF-Dokument": where a patient data text goes in the PDF,
// and which file holds it.
#include "export/pdf/pdfdokument.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

class TPatientenDatenInPDFform : public QDialog {
    Q_OBJECT
public:
    TPatientenDatenInPDFform(const QString& programmOrdner, QWidget* parent = nullptr);

    // Boxes enabled and ticked as the art wants them; the data loaded afresh from the file.
    void richteEinFuer(pdfdokument::Art art);
    pdfdokument::Platz platz() const;
    QStringList daten() const { return m_daten; }

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QCheckBox* unterDieGrafikCheckBox = nullptr;
    QCheckBox* InEigeneSeiteOberhalbDerTabelleCheckBox = nullptr;
    QCheckBox* InEigeneSeiteunterhalbDerTabelleCheckBox = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button3 = nullptr; // "Datei auswählen"
    QPushButton* Button1 = nullptr; // "OK"
    QPushButton* Button2 = nullptr; // "Keine Daten einfügen"

    // The chosen file, kept until the program ends.
    QString PatientenDatenDatei;

    void Button3Click();
    void Button1Click();

private:
    void kastenGeklickt(QCheckBox* kasten);
    void zeigeDatei();

    QString m_programmOrdner;
    QStringList m_daten;
};
