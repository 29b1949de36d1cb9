#pragma once
// The one seam for every message box, question, file, colour and print dialog and every modal
// window. The program installs the Qt implementation, the command line one that prints, tests one
// that answers from queues. Until one is installed, messages go to stderr and every question is
// answered "Nein".
#include <QList>
#include <QObject>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <optional>

class Dialoge {
public:
    virtual ~Dialoge() = default;

    virtual void meldung(const QString& text) = 0;     // plain message, OK
    virtual void information(const QString& text) = 0; // information box, OK
    virtual void warnung(const QString& text) = 0;     // warning box, OK
    virtual bool frage(const QString& text) = 0;       // Ja/Nein; true for Ja

    // Empty text when the user cancels.
    virtual QString dateiOeffnen(const QString& titel, const QString& startpfad, const QString& filter) = 0;
    virtual QString dateiSpeichern(const QString& titel, const QString& startpfad, const QString& filter) = 0;
    virtual std::optional<QRgb> farbe(QRgb start) = 0;

    // Shows a window modally (a QDialog in the program) and returns its result code
    // (QDialog::Accepted = 1, Rejected = 0).
    virtual int modal(QObject* fenster) = 0;

    static Dialoge& seam();
    static void setze(Dialoge* dialoge); // not owned
};
