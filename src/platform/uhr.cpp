#include "platform/uhr.h"


namespace {
QDate g_fest;
QDateTime g_jetzt;
} // namespace

QDate Uhr::heute() {
    if (g_jetzt.isValid()) return g_jetzt.date();
    return g_fest.isValid() ? g_fest : QDate::currentDate();
}
void Uhr::setzeHeute(const QDate& tag) {
    g_fest = tag;
}

QDateTime Uhr::jetzt() {
    if (g_jetzt.isValid()) return g_jetzt;
    if (g_fest.isValid()) return QDateTime(g_fest, QTime(0, 0));
    return QDateTime::currentDateTime();
}
void Uhr::setzeJetzt(const QDateTime& zeitpunkt) {
    g_jetzt = zeitpunkt;
}

QDateTime Uhr::dokumentZeit() {
    bool ok = false;
    const qint64 sekunden = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (ok && sekunden >= 0) return QDateTime::fromSecsSinceEpoch(sekunden, Qt::UTC);
    return jetzt();
}
