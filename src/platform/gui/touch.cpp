#include "platform/gui/touch.h"

#include <QInputDevice>
#include <QPointingDevice>

bool touch::mehrpunktBildschirm() {
    for (const QInputDevice* geraet : QInputDevice::devices()) {
        if (geraet->type() != QInputDevice::DeviceType::TouchScreen) continue;
        const auto* zeiger = qobject_cast<const QPointingDevice*>(geraet);
        if (zeiger && zeiger->maximumPoints() >= 2) return true;
    }
    return false;
}

bool touch::erkenne(bool erzwungen) {
    return erzwungen || mehrpunktBildschirm();
}
