// The program's real file dialogs: German dates and sizes in the file list on an English system,
// and the chosen file handed back.
#include "testumgebung.h"

#include "platform/gui/qtdialoge.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <functional>

namespace {

struct Gesehen {
    QString datum;
    QString groesse;
};

// Once the file dialog that aufruf() opens lists `name`, notes its date and size, chooses
// `waehlen` (empty: cancels) and returns what aufruf() returned.
QString imDateiDialog(const std::function<QString()>& aufruf, const QString& name, const QString& waehlen,
                      Gesehen& gesehen) {
    QTimer pruefer;
    int runden = 0;
    QObject::connect(&pruefer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        const auto* baum = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        const QAbstractItemModel* liste = baum ? baum->model() : nullptr;
        for (int zeile = 0; liste && zeile < liste->rowCount(baum->rootIndex()); ++zeile) {
            const QModelIndex eintrag = liste->index(zeile, 0, baum->rootIndex());
            if (eintrag.data().toString() != name) continue;
            gesehen = {eintrag.siblingAtColumn(3).data().toString(),
                       eintrag.siblingAtColumn(1).data().toString()};
            break;
        }
        if (gesehen.datum.isEmpty() && ++runden < 250) return; // the list fills in a thread
        pruefer.stop();
        auto* eingabe = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (waehlen.isEmpty() || !eingabe) {
            dialog->reject();
        } else {
            eingabe->setText(waehlen);               // typed: selectFile() leaves a focused name field alone
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog checks the name first
        }
    });
    pruefer.start(20);
    return aufruf();
}

} // namespace

class DialogeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dateiliste_data() {
        QTest::addColumn<bool>("speichern");
        QTest::addColumn<QString>("waehlen");
        QTest::newRow("öffnen") << false << "Anna_03_2024.tab";
        QTest::newRow("öffnen abgebrochen") << false << "";
        QTest::newRow("speichern unter neuem Namen") << true << "Anna_04_2024.tab";
    }
    void dateiliste() {
        QFETCH(bool, speichern);
        QFETCH(QString, waehlen);
        QVERIFY(QLocale::system().name() != QLatin1String("de_DE"));
        QTemporaryDir ordner(testumgebung::wurzel() + QStringLiteral("/dateien-XXXXXX"));
        const QString name = QStringLiteral("Anna_03_2024.tab");
        QFile datei(ordner.filePath(name));
        QVERIFY(datei.open(QIODevice::ReadWrite));
        datei.write(QByteArray(1536, 'x'));
        datei.flush(); // else the buffered write comes after the time
        QVERIFY(
            datei.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(7, 30)), QFileDevice::FileModificationTime));
        datei.close();

        QtDialoge echt;
        Gesehen gesehen;
        const QString filter = QStringLiteral("Korvanetabellen (*.tab);;Alle Dateien (*)");
        const QString gewaehlt = imDateiDialog(
            [&] {
                return speichern ? echt.dateiSpeichern(QStringLiteral("Speichern"), ordner.path(), filter)
                                 : echt.dateiOeffnen(QStringLiteral("Öffnen"), ordner.path(), filter);
            },
            name, waehlen, gesehen);
        QCOMPARE(gesehen.datum, QStringLiteral("05.03.24 07:30"));
        QCOMPARE(gesehen.groesse, QStringLiteral("1,50 KiB"));
        QCOMPARE(gewaehlt, waehlen.isEmpty() ? QString() : ordner.filePath(waehlen));
    }
};

int main(int argc, char** argv) {
    // An English system: German dates can only come from the program's own locale.
    qputenv("LC_ALL", "en_US.UTF-8");
    qputenv("LANG", "en_US.UTF-8");
    testumgebung::vorbereiten();
    QApplication app(argc, argv);
    testumgebung::einrichten();
    DialogeTest test;
    const int status = QTest::qExec(&test, argc, argv);
    testumgebung::aufraeumen();
    return status;
}

#include "test_dialoge.moc"
