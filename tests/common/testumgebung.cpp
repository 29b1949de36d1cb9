#include "testumgebung.h"

#include "app/gui/tmainform.h"
#include "app/programmstart.h"
#include "platform/pause.h"
#include "platform/umgebung.h"
#include "storage/registry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace testumgebung {
namespace {
QTemporaryDir* g_wurzel = nullptr;
TestDialoge* g_dialoge = nullptr;
} // namespace

void vorbereiten() {
    g_wurzel = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/korvane-test-XXXXXX"));
    const QString w = g_wurzel->path();
    for (const char* ordner : {"/config", "/programm", "/laufzeit"})
        QDir().mkpath(w + QLatin1String(ordner));
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

QString eingerichtet(const QString& name) {
    const QString ordner = neuerProgrammOrdner(name);
    einstellungenLoeschen();
    Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(ordner);
    return ordner;
}

QByteArray legeMaerzAn(const QString& pfad, int messungen) {
    const QList<QByteArray> zeilen = lies(testdaten(QStringLiteral("anna_maerz_2024.tab"))).split('\n');
    const QByteArray bytes = zeilen.mid(0, 8 + messungen).join('\n') + '\n';
    schreibe(pfad, bytes);
    return bytes;
}

void setzeRoh(const QString& name, const QVariant& wert) {
    QSettings roh(einstellungsDatei(), QSettings::NativeFormat);
    wert.isValid() ? roh.setValue(name, wert) : roh.remove(name);
}

QStringList allesUnter(const QString& ordner) {
    QStringList alles;
    for (QDirIterator it(ordner, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        alles << QDir(ordner).relativeFilePath(it.next());
    alles.sort();
    return alles;
}

int zaehle(const QImage& bild, const QColor& farbe, const QRect& bereich) {
    const QRect r = bereich.isNull() ? bild.rect() : bereich.intersected(bild.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += (bild.pixel(x, y) & 0xFFFFFF) == (farbe.rgb() & 0xFFFFFF);
    return n;
}

Ergebnis werkzeug(const QString& programm, const QStringList& argumente,
                  const std::function<void(QProcess&)>& einrichten) {
    QProcess p;
    if (einrichten) einrichten(p);
    p.start(programm, argumente);
    Ergebnis e;
    if (!p.waitForFinished(60000)) p.kill(), p.waitForFinished(5000);
    else if (p.exitStatus() == QProcess::NormalExit) e.status = p.exitCode();
    e.ausBytes = p.readAllStandardOutput();
    e.aus = QString::fromUtf8(e.ausBytes);
    e.fehler = QString::fromUtf8(p.readAllStandardError());
    return e;
}

bool laeuft(Programmstart& p, const QString& tabelle) {
    Startoptionen o;
    o.tabelle = tabelle;
    if (!p.erzeugeFenster(o)) return false;
    p.mainForm->show();
    return QTest::qWaitFor([&] { return !p.mainForm->ersteZeichnungAusstehend(); }, 10000);
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
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void schreibe(const QString& pfad, const QByteArray& inhalt) {
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    if (f.open(QIODevice::WriteOnly)) f.write(inhalt);
}

KleinesDateisystem::KleinesDateisystem(const QString& ordner) : m_ordner(ordner) {
    QDir().mkpath(ordner);
    m_da = ::mount("tmpfs", QFile::encodeName(ordner).constData(), "tmpfs", 0, "size=64k,mode=0755") == 0;
}

KleinesDateisystem::~KleinesDateisystem() {
    if (m_da) ::umount2(QFile::encodeName(m_ordner).constData(), MNT_DETACH);
}

void KleinesDateisystem::fuellen() {
    const int fd = ::open(QFile::encodeName(m_ordner + QStringLiteral("/.fueller")).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const QByteArray block(512, 'f');
    while (fd >= 0 && ::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    if (fd >= 0) ::close(fd);
}

void KleinesDateisystem::nurLesen() {
    ::mount(nullptr, QFile::encodeName(m_ordner).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
}

Groessengrenze::Groessengrenze(qint64 bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit r = {};
    ::getrlimit(RLIMIT_FSIZE, &r);
    m_vorher[0] = qint64(r.rlim_cur), m_vorher[1] = qint64(r.rlim_max);
    r.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &r);
}

Groessengrenze::~Groessengrenze() {
    const struct rlimit r = {rlim_t(m_vorher[0]), rlim_t(m_vorher[1])};
    ::setrlimit(RLIMIT_FSIZE, &r);
}

} // namespace testumgebung
