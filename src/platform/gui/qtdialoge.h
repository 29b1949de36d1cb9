#pragma once
// The program's side of the dialogs seam: real message boxes and dialogs.
#include "platform/dialoge.h"

class QtDialoge : public Dialoge {
public:
    void meldung(const QString& text) override;
    void information(const QString& text) override;
    void warnung(const QString& text) override;
    bool frage(const QString& text) override;
    QString dateiOeffnen(const QString& titel, const QString& startpfad, const QString& filter) override;
    QString dateiSpeichern(const QString& titel, const QString& startpfad, const QString& filter) override;
    std::optional<QRgb> farbe(QRgb start) override;
    int modal(QObject* fenster) override;
};
