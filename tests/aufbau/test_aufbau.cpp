// The layout of the sources: includes run from the windows to the core and never back, and no
// two folders include each other, however long the way round.
#include "testumgebung.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

// "entry/gui/teingabedlg.cpp" -> "entry"
QString raum(const QString& pfad) {
    return pfad.section(u'/', 0, 0);
}
bool istFenster(const QString& pfad) {
    return pfad.contains(QLatin1String("/gui/")) || pfad.startsWith(QLatin1String("app/"));
}

struct Kante {
    QString von, nach, beleg;
};

QList<Kante> includes() {
    const QString wurzel = QStringLiteral(KORVANE_QUELLEN "/src/");
    static const QRegularExpression muster(QStringLiteral("^#include \"([^\"]+)\""),
                                           QRegularExpression::MultilineOption);
    QList<Kante> kanten;
    QDirIterator it(wurzel, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString datei = it.next().mid(wurzel.size());
        QFile f(wurzel + datei);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = muster.globalMatch(text); m.hasNext();)
            kanten.append({datei, m.next().captured(1), {}});
    }
    for (Kante& k : kanten)
        k.beleg = k.von + QStringLiteral(" -> ") + k.nach;
    return kanten;
}

} // namespace

class TestAufbau : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void kernKenntKeineFenster() {
        const QList<Kante> kanten = includes();
        QVERIFY(kanten.size() > 50);
        QStringList falsch;
        for (const Kante& k : kanten)
            if (!istFenster(k.von) && istFenster(k.nach)) falsch << k.beleg;
        QCOMPARE(falsch, QStringList());
    }

    void keineKreise() {
        QHash<QString, QSet<QString>> nach;
        QHash<QString, QString> beleg;
        for (const Kante& k : includes()) {
            const QString a = raum(k.von), b = raum(k.nach);
            if (a == b) continue;
            nach[a].insert(b);
            beleg.insert(a + u'>' + b, k.beleg);
        }
        // Depth-first search; a folder met again on the current way closes a circle.
        QStringList weg;
        QSet<QString> fertig;
        QStringList kreis;
        std::function<void(const QString&)> besuche = [&](const QString& r) {
            if (!kreis.isEmpty() || fertig.contains(r)) return;
            if (weg.contains(r)) {
                const QStringList runde = weg.mid(weg.indexOf(r)) << r;
                for (int i = 0; i + 1 < runde.size(); ++i)
                    kreis << beleg.value(runde.at(i) + u'>' + runde.at(i + 1));
                return;
            }
            weg << r;
            for (const QString& n : nach.value(r))
                besuche(n);
            weg.removeLast();
            fertig.insert(r);
        };
        for (const QString& r : nach.keys())
            besuche(r);
        QVERIFY2(kreis.isEmpty(), qPrintable(kreis.join(u'\n')));
    }
};

KORVANE_TEST_MAIN(TestAufbau)
#include "test_aufbau.moc"
