// Includes run from the windows to the core, never back, and no two folders include each other.
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
        static const QRegularExpression muster(u"^#include \"([^\"]+)\""_s, QRegularExpression::MultilineOption);
        // Window code lies below a gui/ folder or in app/; a folder is the first piece of a path.
        const auto istFenster = [](const QString& pfad) { return pfad.contains("/gui/") || pfad.startsWith("app/"); };
        int kanten = 0;
        QStringList falsch;
        QHash<QString, QSet<QString>> nach;
        QHash<QString, QString> beleg; // "a>b": one include that makes folder a use folder b
        for (QDirIterator it(wurzel, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString von = it.next().mid(wurzel.size());
            for (auto m = muster.globalMatch(QString::fromUtf8(testumgebung::lies(wurzel + von))); m.hasNext();) {
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
        // Folders that use none of those left, or that none of those left uses, are taken away until
        // none is; those left lie on circles.
        QStringList rest = nach.keys(), kreis;
        for (qsizetype vorher = -1; vorher != rest.size();) {
            vorher = rest.size();
            rest.removeIf([&, alle = rest](const QString& a) {
                const auto nutzt = [&](const QString& von, const QString& zu) { return nach.value(von).contains(zu); };
                return std::none_of(alle.begin(), alle.end(), [&](const QString& c) { return nutzt(a, c); }) ||
                       std::none_of(alle.begin(), alle.end(), [&](const QString& c) { return nutzt(c, a); });
            });
        }
        for (const QString& a : rest)
            for (const QString& c : nach.value(a))
                if (rest.contains(c)) kreis << beleg.value(a + u'>' + c);
        QVERIFY2(kreis.isEmpty(), qPrintable(kreis.join(u'\n')));
    }
};

KORVANE_TEST_MAIN(TestAufbau)
#include "test_aufbau.moc"
