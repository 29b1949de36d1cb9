#include "storage/registry.h"

#include <QFile>
#include <QSettings>

namespace {

// Opened afresh for every value, as each operation of the store does.
struct Schluessel : QSettings {
    Schluessel()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvalis"),
                    QStringLiteral("Korvane")) {
        setFallbacksEnabled(false);
    }
};

} // namespace

namespace registry {

QString dateiPfad() {
    Schluessel s;
    return s.fileName();
}

bool schluesselExistiert() {
    return QFile::exists(dateiPfad());
}

} // namespace registry

void Schreib_String_in_Registry(const QString& name, const QString& text) {
    if (!registry::schluesselExistiert()) return;
    Schluessel s;
    s.setValue(name, text);
}

void Schreib_Integer_in_Registry(const QString& name, const QString& text) {
    if (!registry::schluesselExistiert()) return;
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    Schluessel s;
    s.setValue(name, ok ? wert : 0);
}

QString Lies_String_aus_Registry(const QString& name) {
    if (!registry::schluesselExistiert()) return {};
    Schluessel s;
    return s.value(name).toString();
}

QString Lies_Integer_aus_Registry(const QString& name) {
    if (!registry::schluesselExistiert()) return {};
    Schluessel s;
    const QVariant v = s.value(name);
    if (!v.isValid()) return {};
    bool ok = false;
    const int wert = v.toString().trimmed().toInt(&ok);
    return ok ? QString::number(wert) : QString();
}

void Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(const QString& programmOrdner) {
    struct Eintrag {
        const char* name;
        QString wert;
        bool ganzzahl;
    };
    const Eintrag eintraege[] = {
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
    Schluessel s;
    for (const Eintrag& e : eintraege) {
        if (e.ganzzahl)
            s.setValue(QLatin1String(e.name), e.wert.toInt());
        else
            s.setValue(QLatin1String(e.name), e.wert);
    }
    s.sync(); // the key must exist before the next operation opens it
}
