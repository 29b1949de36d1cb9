#include "testdialoge.h"

namespace {
// The queue's first answer, taken; an empty queue gives sonst and records was as unerwartet.
template <typename T> T naechste(std::deque<T>& schlange, QStringList& unerwartet, const QString& was, T sonst) {
    if (schlange.empty()) {
        unerwartet << was;
        return sonst;
    }
    T antwort = std::move(schlange.front());
    schlange.pop_front();
    return antwort;
}
} // namespace

QStringList TestDialoge::texte(Art art) const {
    QStringList liste;
    for (const Gezeigt& g : gezeigt)
        if (g.art == art) liste << g.text;
    return liste;
}

QStringList TestDialoge::alleTexte() const {
    QStringList liste;
    for (const Gezeigt& g : gezeigt)
        if (g.art <= Art::Frage) liste << g.text; // the four kinds of message come first
    return liste;
}

void TestDialoge::leeren() {
    *this = TestDialoge();
}

bool TestDialoge::frage(const QString& text) {
    gezeigt.append({Art::Frage, text});
    if (waehrendDesWartens) waehrendDesWartens();
    return naechste(fragen, unerwartet, QStringLiteral("Frage: ") + text, false);
}

QString TestDialoge::datei(Art art, const QString& titel, const QString& startpfad) {
    gezeigt.append({art, titel + QLatin1Char('|') + startpfad});
    const char* was = art == Art::DateiOeffnen ? "Datei öffnen: " : "Datei speichern: ";
    return naechste(dateien, unerwartet, QString::fromUtf8(was) + titel, QString());
}

std::optional<QRgb> TestDialoge::farbe(QRgb) {
    gezeigt.append({Art::Farbe, QString()});
    return naechste(farben, unerwartet, QStringLiteral("Farbe"), std::optional<QRgb>());
}

int TestDialoge::modal(QObject* f) {
    const QString name = f ? QString::fromLatin1(f->metaObject()->className()) : QString();
    gezeigt.append({Art::Modal, name});
    const auto handlung = naechste(fenster, unerwartet, QStringLiteral("Fenster: ") + name,
                                   std::function<int(QObject*)>([](QObject*) { return 0; }));
    return handlung(f);
}
