#include "storage/registry.h"

#include "platform/datei.h"

#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <optional>

namespace {

// Opened afresh for every value, as each operation of the store does. Named by its path, so
// QSettings reads this one file and no fallback beside it.
struct Schluessel : QSettings {
    Schluessel() : QSettings(registry::dateiPfad(), QSettings::NativeFormat) { setFallbacksEnabled(false); }
};

// A kill during a save can leave an empty lock file (or the lock of its removal); QSettings
// would wait 30 s for it at every write. A lock older than half a second, or one whose owner is
// gone, is taken away here, and never waited for longer than a second (a save itself takes
// milliseconds).
void sperrenFreigeben(const QString& datei) {
    for (const QString& sperre : {datei + QStringLiteral(".lock.rmlock"), datei + QStringLiteral(".lock")}) {
        if (!QFileInfo::exists(sperre)) continue;
        QLockFile vorher(sperre);
        vorher.setStaleLockTime(500);
        if (vorher.tryLock(1000)) vorher.unlock();
    }
}

bool vorDemSchreiben() {
    if (!registry::schluesselExistiert()) return false;
    sperrenFreigeben(registry::dateiPfad());
    return true;
}

struct Eintrag {
    const char* name;
    QString wert;
    bool ganzzahl;
};

// Every first-start value, in the order it is written.
QList<Eintrag> ersteWerte(const QString& programmOrdner) {
    return {
        {"StiftBreite", QStringLiteral("2"), true},
        {"InstallOrt", programmOrdner, false},
        {"DatenSpeicherOrt", programmOrdner, false},
        {"BenutzerName", QString(), false},
        {"TabellenDateiName", QString(), false},
        {"Header", QStringLiteral("Header.bmp"), false},
        {"Grafik", QStringLiteral("Vorlage.bmp"), false},
        {"GewichtGrafik", QStringLiteral("GewichtVorlage.bmp"), false},
        {"UhrzeitMorgens", QStringLiteral("07:30"), false},
        {"UhrzeitMessung2", QStringLiteral("13:00"), false},
        {"UhrzeitMessung3", QStringLiteral("15:30"), false},
        {"UhrzeitAbends", QStringLiteral("20:40"), false},
        {"GalerieVerzeichnisName", QStringLiteral("Korvane-Daten-Galerie"), false},
        {"HtmlVerzeichnisName", QStringLiteral("Korvane-Daten im Browser"), false},
        {"CloudGalerieVerzeichnisName", QStringLiteral("Cloud-Korvane-Daten-Galerie"), false},
        {"SystolischKurvenFarbe", QStringLiteral("16711680"), false},
        {"DiastolischKurvenFarbe", QStringLiteral("32768"), false},
        {"PulsKurvenFarbe", QStringLiteral("8388863"), false},
        {"GewichtsKurvenFarbe", QStringLiteral("16512"), false},
        {"PulsdruckFarbe", QStringLiteral("33023"), false},
        {"DatenwerteOberhalbFarbe", QStringLiteral("128"), false},
        {"Grafikformat", QStringLiteral("DINA4"), false},
        {"Browser", QStringLiteral("standard"), false},
        {"FarbkurveGewichtAnzeigen", QStringLiteral("0"), true},
        {"BemerkungenAnzeigen", QStringLiteral("1"), true},
        {"LinieBeiNullUnterbrechen", QStringLiteral("1"), true},
        {"WerteOberhalbKurveAnzeigen", QStringLiteral("0"), true},
    };
}

// The stored value, or nothing when the store holds no entry of that name.
std::optional<QString> gespeichert(const QString& name) {
    if (!registry::schluesselExistiert()) return std::nullopt;
    Schluessel s;
    const QVariant v = s.value(name);
    if (!v.isValid()) return std::nullopt;
    return v.toString();
}

} // namespace

namespace registry {

QString dateiPfad() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Orvalis/Korvane.conf");
}

bool schluesselExistiert() {
    return datei::pruefe(dateiPfad(), datei::kGrenzeEinstellungen) == datei::Fehler::Keiner;
}

QString dateiFehler() {
    QString meldung;
    const datei::Fehler f = datei::pruefe(dateiPfad(), datei::kGrenzeEinstellungen, &meldung);
    return f == datei::Fehler::Keiner || f == datei::Fehler::Fehlt ? QString() : meldung;
}

QString vorgabe(const QString& name) {
    // The folders depend on where the program ran first; they have no fixed value.
    for (const Eintrag& e : ersteWerte(QString()))
        if (name == QLatin1String(e.name)) return e.wert;
    return {};
}

QString mitStandard(const QString& name) {
    const QString wert = Lies_String_aus_Registry(name);
    return wert.isEmpty() ? vorgabe(name) : wert;
}

} // namespace registry

void Schreib_String_in_Registry(const QString& name, const QString& text) {
    if (!vorDemSchreiben()) return;
    Schluessel s;
    s.setValue(name, text);
}

bool Schreib_Integer_in_Registry(const QString& name, const QString& text) {
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    if (!ok) return false; // no number: the stored value stays as it was
    if (!vorDemSchreiben()) return false;
    Schluessel s;
    s.setValue(name, wert);
    return true;
}

namespace {
QString alsGanzzahl(const QString& text) {
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    return ok ? QString::number(wert) : QString();
}
} // namespace

QString Lies_String_aus_Registry(const QString& name) {
    return gespeichert(name).value_or(QString());
}

QString Lies_Integer_aus_Registry(const QString& name) {
    const std::optional<QString> text = gespeichert(name);
    return text ? alsGanzzahl(*text) : QString();
}

QString Lies_String_aus_Registry_mit_Vorgabe(const QString& name) {
    return gespeichert(name).value_or(registry::vorgabe(name));
}

QString Lies_Integer_aus_Registry_mit_Vorgabe(const QString& name) {
    return alsGanzzahl(Lies_String_aus_Registry_mit_Vorgabe(name));
}

void Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(const QString& programmOrdner) {
    // Creates the key: only a file that is there and unusable (a FIFO, a folder) stops it.
    if (!registry::dateiFehler().isEmpty()) return;
    sperrenFreigeben(registry::dateiPfad());
    Schluessel s;
    for (const Eintrag& e : ersteWerte(programmOrdner)) {
        if (e.ganzzahl)
            s.setValue(QLatin1String(e.name), e.wert.toInt());
        else
            s.setValue(QLatin1String(e.name), e.wert);
    }
    s.sync(); // the key must exist before the next operation opens it
}
