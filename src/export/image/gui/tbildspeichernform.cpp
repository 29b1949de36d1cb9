#include "export/image/gui/tbildspeichernform.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

TBildspeichernForm::TBildspeichernForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("BildspeichernForm"));
    setWindowTitle(QStringLiteral("Grafik speichern"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    QFont memo = Memo1->font();
    memo.setPixelSize(13);
    memo.setBold(true);
    Memo1->setFont(memo);
    Memo1->setFixedSize(521, 105);
    Label1 = new QLabel(this);
    QFont zahl = Label1->font();
    zahl.setPixelSize(16);
    zahl.setBold(true);
    Label1->setFont(zahl);
    Label1->setAlignment(Qt::AlignCenter);
    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(Memo1);
    spalte->addWidget(Label1);
    spalte->setSizeConstraint(QLayout::SetFixedSize);
    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TBildspeichernForm::Timer1Timer);
}

void TBildspeichernForm::zeige(const QString& titel, const QString& nachricht, int sekunden) {
    setWindowTitle(titel);
    Memo1->setPlainText(nachricht);
    Countdown = sekunden;
    Label1->setText(QString::number(Countdown));
    show();
    if (const QScreen* schirm = screen()) move(schirm->availableGeometry().center() - rect().center());
    Timer1->start();
}

void TBildspeichernForm::schliesse() {
    Timer1->stop();
    close();
}

void TBildspeichernForm::Timer1Timer() {
    --Countdown;
    Label1->setText(QString::number(Countdown));
}
