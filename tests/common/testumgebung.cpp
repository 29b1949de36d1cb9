#include "testumgebung.h"

#include "platform/pause.h"
#include "platform/umgebung.h"
#include "storage/registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

namespace testumgebung {
namespace {
QTemporaryDir* g_wurzel = nullptr;
TestDialoge* g_dialoge = nullptr;
} // namespace

void vorbereiten() {
    g_wurzel = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/korvane-test-XXXXXX"));
    const QString w = g_wurzel->path();
    QDir().mkpath(w + QStringLiteral("/config"));
    QDir().mkpath(w + QStringLiteral("/programm"));
    QDir().mkpath(w + QStringLiteral("/laufzeit"));
    QFile::setPermissions(w + QStringLiteral("/laufzeit"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(w + QStringLiteral("/config")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(w + QStringLiteral("/cache")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(w + QStringLiteral("/laufzeit")));
    // The program folder no longer follows the working folder; a test never reaches ~/Korvane.
    qputenv("KORVANE_ORDNER", QFile::encodeName(w + QStringLiteral("/programm")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QDir::setCurrent(w + QStringLiteral("/programm"));
}

void einrichten() {
    umgebung::einrichten();
    Pause::setzeFaktor(0);
    g_dialoge = new TestDialoge;
    Dialoge::setze(g_dialoge);
}

void aufraeumen() {
    delete g_wurzel;
    g_wurzel = nullptr;
}

TestDialoge& dialoge() {
    return *g_dialoge;
}
QString wurzel() {
    return g_wurzel->path();
}
QString programmOrdner() {
    return qEnvironmentVariable("KORVANE_ORDNER") + QLatin1Char('/');
}
QString einstellungsDatei() {
    return registry::dateiPfad();
}

QString neuerProgrammOrdner(const QString& name) {
    const QString pfad = wurzel() + QLatin1Char('/') + name;
    QDir(pfad).removeRecursively();
    QDir().mkpath(pfad);
    qputenv("KORVANE_ORDNER", QFile::encodeName(pfad));
    return pfad + QLatin1Char('/');
}

void einstellungenLoeschen() {
    QFile::remove(einstellungsDatei());
}

UmgebungSichern::UmgebungSichern()
    : m_heim(qgetenv("HOME")), m_ordner(qgetenv("KORVANE_ORDNER")),
      m_ordnerGesetzt(qEnvironmentVariableIsSet("KORVANE_ORDNER")), m_arbeit(QDir::currentPath()) {}

UmgebungSichern::~UmgebungSichern() {
    qputenv("HOME", m_heim);
    if (m_ordnerGesetzt)
        qputenv("KORVANE_ORDNER", m_ordner);
    else
        qunsetenv("KORVANE_ORDNER");
    QDir::setCurrent(m_arbeit);
}

QString testdaten(const QString& datei) {
    return QStringLiteral(KORVANE_TESTDATEN "/") + datei;
}

QByteArray lies(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void schreibe(const QString& pfad, const QByteArray& inhalt) {
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    if (f.open(QIODevice::WriteOnly)) f.write(inhalt);
}

} // namespace testumgebung
