#include "platform/gui/qtdialoge.h"

#include "platform/gui/dateiliste.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QWidget* elternfenster() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

int zeige(QMessageBox::Icon symbol, const QString& text, QMessageBox::StandardButtons knoepfe) {
    QMessageBox box(symbol, QCoreApplication::applicationName(), text, knoepfe, elternfenster());
    return box.exec();
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
    if (dialog.exec() != QDialog::Accepted) return {};
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
    if (!f.isValid()) return std::nullopt;
    return f.rgb();
}

int QtDialoge::modal(QObject* fenster) {
    auto* dialog = qobject_cast<QDialog*>(fenster);
    return dialog ? dialog->exec() : QDialog::Rejected;
}
