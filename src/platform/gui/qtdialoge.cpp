#include "platform/gui/qtdialoge.h"

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

QString QtDialoge::dateiOeffnen(const QString& titel, const QString& startpfad, const QString& filter) {
    return QFileDialog::getOpenFileName(elternfenster(), titel, startpfad, filter);
}

QString QtDialoge::dateiSpeichern(const QString& titel, const QString& startpfad, const QString& filter) {
    return QFileDialog::getSaveFileName(elternfenster(), titel, startpfad, filter);
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
