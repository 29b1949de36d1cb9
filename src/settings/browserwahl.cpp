#include "settings/browserwahl.h"

namespace browserwahl {

const QStringList& schluessel() {
    static const QStringList worte{QStringLiteral("standard"), QStringLiteral("internet explorer"),
                                   QStringLiteral("edge"),     QStringLiteral("chrome"),
                                   QStringLiteral("opera"),    QStringLiteral("safari"),
                                   QStringLiteral("firefox")};
    return worte;
}

QString hinweis(const QString& schluessel) {
    static const QStringList hinweise{QStringLiteral("Standard Browser"), QStringLiteral("Microsoft Internet Explorer"),
                                      QStringLiteral("Microsoft Edge"),   QStringLiteral("Google Chrome"),
                                      QStringLiteral("Opera"),            QStringLiteral("Safari"),
                                      QStringLiteral("FireFox")};
    return hinweise.value(browserwahl::schluessel().indexOf(schluessel));
}

QStringList symboleFuer(const QString& name) {
    const QString klein = name.toLower();
    QStringList symbole;
    if (klein.contains(QLatin1String("internet explorer")))
        symbole << QStringLiteral("internet explorer") << QStringLiteral("edge");
    // Chromium is Chrome's open sibling and takes its symbol.
    if (klein.contains(QLatin1String("chrome")) || klein.contains(QLatin1String("chromium")))
        symbole << QStringLiteral("chrome");
    for (const char* wort : {"edge", "opera", "safari", "firefox"})
        if (klein.contains(QLatin1String(wort)) && !symbole.contains(QLatin1String(wort)))
            symbole << QString::fromLatin1(wort);
    return symbole;
}

QList<BrowserEintrag> eintraegeAus(const QList<BrowserEintrag>& gefunden, bool edgeVorhanden) {
    QList<BrowserEintrag> eintraege;
    auto aufnehmen = [&](const BrowserEintrag& e) {
        for (const BrowserEintrag& da : std::as_const(eintraege))
            if (da.schluessel == e.schluessel) return;
        eintraege << e;
    };
    for (const BrowserEintrag& b : gefunden)
        for (const QString& s : symboleFuer(b.name)) {
            // Edge shown for Internet Explorer is another program: neither its name nor its icon.
            const bool eigenes = s != QLatin1String("edge") || b.name.toLower().contains(s);
            aufnehmen({eigenes ? b.name : hinweis(s), eigenes ? b.symbol : QString(), s});
        }
    if (edgeVorhanden) aufnehmen({QStringLiteral("Microsoft Edge"), QString(), QStringLiteral("edge")});
    return eintraege;
}

QString imEinsatz(const QString& einstellung) {
    QString gefunden = QStringLiteral("standard");
    for (const QString& wort : schluessel())
        if (einstellung.contains(wort)) gefunden = wort;
    return gefunden;
}

} // namespace browserwahl
