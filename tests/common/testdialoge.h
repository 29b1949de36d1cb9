#pragma once
// The tests' dialogs seam: answers from queues, every text shown recorded.
#include "platform/dialoge.h"

#include <QDialog>
#include <deque>
#include <functional>

// An empty queue answers "Nein", an empty path, no colour or Rejected, recorded as unerwartet.
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

    // The next window, a W, goes to handlung in place of the user; another class is unerwartet, rejected.
    template <typename W, typename H> void bei(H handlung) {
        fenster.push_back([this, handlung](QObject* o) mutable {
            auto* w = qobject_cast<W*>(o);
            if (!w) {
                unerwartet << QStringLiteral("Fenster: ") + QLatin1String(o->metaObject()->className());
                return int(QDialog::Rejected);
            }
            w->show();
            handlung(*w);
            w->hide();
            return w->result();
        });
    }

    QStringList texte(Art art) const;
    QStringList alleTexte() const; // every message, information, warning and question text
    void leeren();

    void meldung(const QString& text) override { gezeigt.append({Art::Meldung, text}); }
    void information(const QString& text) override { gezeigt.append({Art::Information, text}); }
    void warnung(const QString& text) override { gezeigt.append({Art::Warnung, text}); }
    bool frage(const QString& text) override;
    QString dateiOeffnen(const QString& titel, const QString& startpfad, const QString&) override {
        return datei(Art::DateiOeffnen, titel, startpfad);
    }
    QString dateiSpeichern(const QString& titel, const QString& startpfad, const QString&) override {
        return datei(Art::DateiSpeichern, titel, startpfad);
    }
    std::optional<QRgb> farbe(QRgb start) override;
    int modal(QObject* fenster) override;

private:
    QString datei(Art art, const QString& titel, const QString& startpfad);
};
