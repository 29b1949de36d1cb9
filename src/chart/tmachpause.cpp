#include "chart/tmachpause.h"

#include "platform/beenden.h"
#include "platform/pause.h"

#include <QEventLoop>
#include <QTimer>

TMachPause::TMachPause(QObject* parent) : QObject(parent) {}

void TMachPause::Pause(int millisekunden) {
    if (millisekunden != m_interval) m_interval = millisekunden;
    if (beenden::verlangt()) return; // the program is ending: nothing is worth waiting for
    // A loop of its own per call: a pause started by a timer tick during another pause
    // must not end the outer one.
    QEventLoop schleife;
    QTimer uhr;
    uhr.setSingleShot(true);
    connect(&uhr, &QTimer::timeout, &schleife, &QEventLoop::quit);
    uhr.start(::Pause::skaliert(m_interval));
    schleife.exec();
}
