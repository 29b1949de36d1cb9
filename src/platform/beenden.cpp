#include "platform/beenden.h"

namespace {
bool g_verlangt = false;
int g_status = 0;
} // namespace

void beenden::verlangen(int exitStatus) {
    g_verlangt = true;
    g_status = exitStatus;
}
bool beenden::verlangt() {
    return g_verlangt;
}
int beenden::exitStatus() {
    return g_status;
}
void beenden::zuruecksetzen() {
    g_verlangt = false;
    g_status = 0;
}
