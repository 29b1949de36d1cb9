#pragma once
// "Grafik speichern": a small window on top that says what is being saved and counts seconds
// down while the export runs.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QTimer;

class TBildspeichernForm : public QDialog {
    Q_OBJECT
public:
    explicit TBildspeichernForm(QWidget* parent = nullptr);

    // Shows the window with its caption and message and starts the countdown.
    void zeige(const QString& titel, const QString& nachricht, int sekunden);
    // Stops the countdown and closes the window.
    void schliesse();

    QPlainTextEdit* Memo1 = nullptr;
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;
    int Countdown = 0;

    void Timer1Timer();
};
