#pragma once
// The one seam for every message box, question, file, colour and print dialog and every modal
// window. The program installs the Qt implementation; tests install TestDialoge and queue answers.
#include <QList>
#include <QObject>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
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

// Answers from queues; records every text shown. An empty queue answers "Nein", an empty
// path, no colour and Rejected, and records that as unerwartet.
class TestDialoge : public Dialoge {
public:
    enum class Art { Meldung, Information, Warnung, Frage, DateiOeffnen, DateiSpeichern, Farbe, Modal };
    struct Gezeigt {
        Art art;
        QString text; // message text, dialog title, or the window's class name
    };

    std::deque<bool> fragen;
    std::deque<QString> dateien;
    std::deque<std::optional<QRgb>> farben;
    // Called with the window instead of showing it; returns the window's result.
    std::deque<std::function<int(QObject*)>> fenster;

    // Runs while any dialog "waits", before its answer is taken: what a signal does then.
    std::function<void()> waehrendDesWartens;

    QList<Gezeigt> gezeigt;
    QStringList unerwartet;

    QStringList texte(Art art) const;
    QStringList alleTexte() const; // every message, information, warning and question text
    void leeren();

    void meldung(const QString& text) override;
    void information(const QString& text) override;
    void warnung(const QString& text) override;
    bool frage(const QString& text) override;
    QString dateiOeffnen(const QString& titel, const QString& startpfad, const QString& filter) override;
    QString dateiSpeichern(const QString& titel, const QString& startpfad, const QString& filter) override;
    std::optional<QRgb> farbe(QRgb start) override;
    int modal(QObject* fenster) override;
};
