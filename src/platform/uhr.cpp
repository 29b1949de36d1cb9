#include "platform/uhr.h"

namespace {
QDate g_fest;
}

QDate Uhr::heute() {
    return g_fest.isValid() ? g_fest : QDate::currentDate();
}
void Uhr::setzeHeute(const QDate& tag) {
    g_fest = tag;
}
