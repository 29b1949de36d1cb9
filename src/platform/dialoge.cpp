#include "platform/dialoge.h"

#include <cstdio>

namespace {
Dialoge* g_dialoge = nullptr;

// Before any seam is installed nobody can be asked: messages are printed, questions get "Nein".
class OhneFenster : public Dialoge {
public:
    void meldung(const QString& text) override { drucke(text); }
    void information(const QString& text) override { drucke(text); }
    void warnung(const QString& text) override { drucke(text); }
    bool frage(const QString& text) override {
        drucke(text);
        return false;
    }
    QString dateiOeffnen(const QString&, const QString&, const QString&) override { return {}; }
    QString dateiSpeichern(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QRgb> farbe(QRgb) override { return std::nullopt; }
    int modal(QObject*) override { return 0; }

private:
    static void drucke(const QString& text) { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); }
};
} // namespace

Dialoge& Dialoge::seam() {
    static OhneFenster ersatz;
    return g_dialoge ? *g_dialoge : ersatz;
}

void Dialoge::setze(Dialoge* dialoge) {
    g_dialoge = dialoge;
}

