// The layout of the sources: includes run from the windows to the core and never back, and no
// two folders include each other, however long the way round.
#include "testumgebung.h"

#include <QDirIterator>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

class TestAufbau : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void includes() {
        const QString wurzel = QStringLiteral(KORVANE_QUELLEN "/src/");
        static const QRegularExpression muster(u"^#include \"([^\"]+)\""_s,
                                               QRegularExpression::MultilineOption);
        // Window code lies below a gui/ folder or in app/; a folder is the first piece of a path.
        const auto istFenster = [](const QString& pfad) {
            return pfad.contains("/gui/") || pfad.startsWith("app/");
        };
        int kanten = 0;
        QStringList falsch;
        QHash<QString, QSet<QString>> nach;
        QHash<QString, QString> beleg; // "a>b": one include that makes folder a use folder b
        for (QDirIterator it(wurzel, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();) {
            const QString von = it.next().mid(wurzel.size());
            for (auto m = muster.globalMatch(QString::fromUtf8(testumgebung::lies(wurzel + von)));
                 m.hasNext();) {
                const QString zu = m.next().captured(1), b = von + " -> " + zu;
                const QString a = von.section(u'/', 0, 0), c = zu.section(u'/', 0, 0);
                ++kanten;
                if (!istFenster(von) && istFenster(zu)) falsch << b;
                if (a == c) continue;
                nach[a].insert(c);
                beleg.insert(a + u'>' + c, b);
            }
        }
        QVERIFY(kanten > 50);
        QCOMPARE(falsch, QStringList());
        // Depth-first search; a folder met again on the current way closes a circle.
        QStringList weg, kreis;
        QSet<QString> fertig;
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
