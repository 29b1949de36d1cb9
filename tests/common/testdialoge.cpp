#include "testdialoge.h"

QStringList TestDialoge::texte(Art art) const {
    QStringList liste;
    for (const Gezeigt& g : gezeigt)
        if (g.art == art) liste << g.text;
    return liste;
}

QStringList TestDialoge::alleTexte() const {
    QStringList liste;
    for (const Gezeigt& g : gezeigt)
        if (g.art == Art::Meldung || g.art == Art::Information || g.art == Art::Warnung ||
            g.art == Art::Frage)
            liste << g.text;
    return liste;
}

void TestDialoge::leeren() {
    waehrendDesWartens = nullptr;
    fragen.clear();
    dateien.clear();
    farben.clear();
    fenster.clear();
    gezeigt.clear();
    unerwartet.clear();
}

void TestDialoge::meldung(const QString& text) {
    gezeigt.append({Art::Meldung, text});
}
void TestDialoge::information(const QString& text) {
    gezeigt.append({Art::Information, text});
}
void TestDialoge::warnung(const QString& text) {
    gezeigt.append({Art::Warnung, text});
}

bool TestDialoge::frage(const QString& text) {
    gezeigt.append({Art::Frage, text});
    if (waehrendDesWartens) waehrendDesWartens();
    if (fragen.empty()) {
        unerwartet << QStringLiteral("Frage: ") + text;
        return false;
    }
    const bool antwort = fragen.front();
    fragen.pop_front();
    return antwort;
}

QString TestDialoge::dateiOeffnen(const QString& titel, const QString& startpfad, const QString&) {
    gezeigt.append({Art::DateiOeffnen, titel + QLatin1Char('|') + startpfad});
    if (dateien.empty()) {
        unerwartet << QStringLiteral("Datei öffnen: ") + titel;
        return {};
    }
    const QString pfad = dateien.front();
    dateien.pop_front();
    return pfad;
}

QString TestDialoge::dateiSpeichern(const QString& titel, const QString& startpfad, const QString&) {
    gezeigt.append({Art::DateiSpeichern, titel + QLatin1Char('|') + startpfad});
    if (dateien.empty()) {
        unerwartet << QStringLiteral("Datei speichern: ") + titel;
        return {};
    }
    const QString pfad = dateien.front();
    dateien.pop_front();
    return pfad;
}

std::optional<QRgb> TestDialoge::farbe(QRgb) {
    gezeigt.append({Art::Farbe, QString()});
    if (farben.empty()) {
        unerwartet << QStringLiteral("Farbe");
        return std::nullopt;
    }
    const auto f = farben.front();
    farben.pop_front();
    return f;
}

int TestDialoge::modal(QObject* f) {
    const QString name = f ? QString::fromLatin1(f->metaObject()->className()) : QString();
    gezeigt.append({Art::Modal, name});
    if (fenster.empty()) {
        unerwartet << QStringLiteral("Fenster: ") + name;
        return 0;
    }
    auto handlung = std::move(fenster.front());
    fenster.pop_front();
    return handlung(f);
}
