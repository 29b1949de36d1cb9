#include "platform/gui/qtdialoge.h"

#include "platform/beenden.h"
#include "platform/gui/dateiliste.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <cstdlib>

namespace {

QWidget* elternfenster() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

// A signal ends every event loop, a dialog's too; what the dialog returns then is no answer.
// The close steps have run already, so the process ends here before its caller acts on it.
void nachDemWarten() {
    if (beenden::verlangt()) std::_Exit(beenden::exitStatus());
}

int zeige(QMessageBox::Icon symbol, const QString& text, QMessageBox::StandardButtons knoepfe) {
    QMessageBox box(symbol, QCoreApplication::applicationName(), text, knoepfe, elternfenster());
    const int antwort = box.exec();
    nachDemWarten();
    return antwort;
}

} // namespace

void QtDialoge::meldung(const QString& text) {
    zeige(QMessageBox::NoIcon, text, QMessageBox::Ok);
}
void QtDialoge::information(const QString& text) {
    zeige(QMessageBox::Information, text, QMessageBox::Ok);
}
void QtDialoge::warnung(const QString& text) {
    zeige(QMessageBox::Warning, text, QMessageBox::Ok);
}

bool QtDialoge::frage(const QString& text) {
    return zeige(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

namespace {

// Qt's own dialog, not the desktop's: only its file list can be given German dates without
// changing the process's locale.
QString waehleDatei(const QString& titel, const QString& startpfad, const QString& filter, bool speichern) {
    QFileDialog dialog(elternfenster(), titel, startpfad, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new Dateiliste(&dialog));
    dialog.setAcceptMode(speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(speichern ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const int ergebnis = dialog.exec();
    nachDemWarten();
    if (ergebnis != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString QtDialoge::dateiOeffnen(const QString& titel, const QString& startpfad, const QString& filter) {
    return waehleDatei(titel, startpfad, filter, false);
}

QString QtDialoge::dateiSpeichern(const QString& titel, const QString& startpfad, const QString& filter) {
    return waehleDatei(titel, startpfad, filter, true);
}

std::optional<QRgb> QtDialoge::farbe(QRgb start) {
    const QColor f = QColorDialog::getColor(QColor::fromRgb(start), elternfenster());
    nachDemWarten();
    if (!f.isValid()) return std::nullopt;
    return f.rgb();
}

int QtDialoge::modal(QObject* fenster) {
    auto* dialog = qobject_cast<QDialog*>(fenster);
    const int ergebnis = dialog ? dialog->exec() : QDialog::Rejected;
    nachDemWarten();
    return ergebnis;
}
