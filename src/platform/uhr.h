#pragma once
// The one clock of the program; tests set "today".
#include <QDate>

namespace Uhr {
QDate heute();
void setzeHeute(const QDate& tag); // invalid date: back to the system clock
} // namespace Uhr
