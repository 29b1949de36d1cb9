// The real file dialogs: German dates and sizes on an English system, and the chosen file handed back.
#include "testumgebung.h"

#include "platform/gui/qtdialoge.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

using namespace Qt::StringLiterals;

class DialogeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dateiliste_data() {
        QTest::addColumn<bool>("speichern");
        QTest::addColumn<QString>("waehlen"); // typed into the name field; empty: cancelled
        QTest::newRow("öffnen") << false << "Anna_03_2024.tab";
        QTest::newRow("öffnen abgebrochen") << false << "";
        QTest::newRow("speichern unter neuem Namen") << true << "Anna_04_2024.tab";
    }
    void dateiliste() {
        QFETCH(bool, speichern);
        QFETCH(QString, waehlen);
        QVERIFY(QLocale::system().name() != QLatin1String("de_DE"));
        QTemporaryDir ordner(testumgebung::wurzel() + QStringLiteral("/dateien-XXXXXX"));
        testumgebung::schreibe(ordner.filePath(QStringLiteral("Anna_03_2024.tab")), QByteArray(1536, 'x'));
        QFile datei(ordner.filePath(QStringLiteral("Anna_03_2024.tab")));
        QVERIFY(datei.open(QIODevice::Append) &&
                datei.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(7, 30)), QFileDevice::FileModificationTime));

        // Runs once the dialog waits: its list, filled in a thread, shows the file's date and size.
        QStringList gesehen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); // shown by exec()
            const auto* baum = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            const QAbstractItemModel* m = baum->model();
            QModelIndex eintrag;
            (void)QTest::qWaitFor([&] {
                eintrag = m->match(m->index(0, 0, baum->rootIndex()), Qt::DisplayRole, u"Anna_03_2024.tab"_s).value(0);
                return eintrag.isValid();
            });
            gesehen << eintrag.siblingAtColumn(3).data().toString()  // modified
                    << eintrag.siblingAtColumn(1).data().toString(); // size
            if (waehlen.isEmpty()) return dialog->reject();
            dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(waehlen); // selectFile() skips a focused field
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog checks the name first
        });
        QtDialoge echt;
        const QString filter = QStringLiteral("Korvanetabellen (*.tab);;Alle Dateien (*)");
        const QString gewaehlt = speichern ? echt.dateiSpeichern(QStringLiteral("Speichern"), ordner.path(), filter)
                                           : echt.dateiOeffnen(QStringLiteral("Öffnen"), ordner.path(), filter);
        QCOMPARE(gesehen, QStringList({"05.03.24 07:30", "1,50 KiB"}));
        QCOMPARE(gewaehlt, waehlen.isEmpty() ? QString() : ordner.filePath(waehlen));
    }
};

// An English system, set before main(): German dates can only come from the program's own locale.
static const bool englisch = qputenv("LC_ALL", "en_US.UTF-8") && qputenv("LANG", "en_US.UTF-8");

KORVANE_TEST_MAIN(DialogeTest)
#include "test_dialoge.moc"
