#pragma once
// The PDF commands of the main window and the table window: the patient data dialog, the save
// dialog, the document built and opened in the desktop's PDF viewer.
#include "export/pdf/pdfdokument.h"
#include "storage/zustand.h"
#include "table/tabelle.h"

#include <QObject>
#include <functional>

class TMonatsGrafik;
class TPatientenDatenInPDFform;

class TPdfExport : public QObject {
    Q_OBJECT
public:
    TPdfExport(Zustand& z, TMonatsGrafik& grafik, TPatientenDatenInPDFform* dialog, QObject* parent = nullptr);

    std::function<void(int)> pause;
    std::function<bool()> gewichtSichtbar;
    std::function<bool()> bemerkungenSichtbar;

    bool PatientenDatenEinfuegen = false;
    // The file the last export wrote; empty when none was.
    QString geschrieben;

    // One document of the art; the table's grid for the arts with the table. True when written.
    bool exportieren(pdfdokument::Art art, const tabelle::Gitter* gitter);
    // A written PDF opened in the desktop's viewer; a failure is said, naming the file.
    static void oeffne(const QString& pfad);

private:
    Zustand& z;
    TMonatsGrafik& grafik;
    TPatientenDatenInPDFform* dialog;
};
