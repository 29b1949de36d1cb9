#pragma once
// A pause that keeps the window answering: timers and repaints run while it waits.
#include <QObject>

class TMachPause : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)
public:
    explicit TMachPause(QObject* parent = nullptr);

    int Interval() const { return m_interval; }
    void setInterval(int millisekunden) { m_interval = millisekunden; }

    // Waits the given time (scaled by the program's pause factor) while processing events;
    // the time becomes the new Interval.
    void Pause(int millisekunden);

private:
    int m_interval = 1000;
};
