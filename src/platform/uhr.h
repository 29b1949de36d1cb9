#pragma once
// The one clock of the program; tests set "today" and "now".
#include <QDate>
#include <QDateTime>

namespace Uhr {
QDate heute();
void setzeHeute(const QDate& tag); // invalid date: back to the system clock
// Now, local time. A date set by setzeHeute counts from midnight.
QDateTime jetzt();
void setzeJetzt(const QDateTime& zeitpunkt); // invalid: back to the system clock
// The moment written into generated documents: SOURCE_DATE_EPOCH in UTC when that is set (two
// runs then give the same bytes), else now, local time.
QDateTime dokumentZeit();
} // namespace Uhr
