#include "entry/gui/tnameeingdlg.h"

#include "platform/dialoge.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TNameEingDlg::TNameEingDlg(Zustand& zustand, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), z(zustand) {
    setWindowTitle(QStringLiteral("Benutzername"));
    Label1 = new QLabel(QStringLiteral("Geben Sie Ihren Namen ein:"), this);
    Edit1 = new QLineEdit(this);
    Label1->setBuddy(Edit1); // its name for a screen reader
    Label2 = new QLabel(QStringLiteral("Der Name, gefolgt von dem aktuellen Monat und Jahr wird "), this);
    Label3 = new QLabel(QStringLiteral("für die Kennzeichnung der Tabellen-Dateien benutzt."), this);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Abbrechen"), this);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(OKBtn);
    knoepfe->addWidget(CancelBtn);
    auto* haupt = new QVBoxLayout(this);
    haupt->addWidget(Label1);
    haupt->addWidget(Edit1);
    haupt->addSpacing(6);
    haupt->addWidget(Label2);
    haupt->addWidget(Label3);
    haupt->addSpacing(6);
    haupt->addLayout(knoepfe);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKBtn, &QPushButton::clicked, this, &TNameEingDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TNameEingDlg::CancelBtnClick);
    FormCreate();
}

void TNameEingDlg::FormCreate() {
    Edit1->clear();
    z.benutzerName = Lies_String_aus_Registry(QStringLiteral("BenutzerName"));
    if (!z.benutzerName.isEmpty()) Edit1->setText(z.benutzerName);
}

void TNameEingDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormPaint();
}

void TNameEingDlg::FormPaint() {
    Edit1->setFocus();
}

void TNameEingDlg::OKBtnClick() {
    const QString eingabe = Edit1->text();
    // Blanks at either end would start a second set of tables, or switch to another user's.
    const QString name = eingabe.trimmed();
    // A name that cannot be part of a file name would make every later write fail; without any,
    // tables named "_03_2024.tab" would be lost to the next start, which asks again.
    const QString fehler = name.isEmpty() ? QStringLiteral("Bitte geben Sie einen Namen ein.")
                                          : monatstabelle::benutzerNameFehler(name);
    if (!fehler.isEmpty()) {
        Dialoge::seam().warnung(fehler);
        Edit1->setFocus();
        return;
    }
    if (name != eingabe) {
        Edit1->setText(name);
        Dialoge::seam().information(QStringLiteral("Der Name wird ohne die Leerzeichen am Anfang und am Ende "
                                                   "übernommen: »") +
                                    name + QStringLiteral("«."));
    }
    const bool anderer = name != z.benutzerName;
    if (anderer && vorDemNamenswechsel && !vorDemNamenswechsel()) return;

    // Read before the change: a new user's month must not inherit the old table in use.
    const QString tabelle = Lies_String_aus_Registry(QStringLiteral("TabellenDateiName"));
    z.benutzerName = name;
    Schreib_String_in_Registry(QStringLiteral("BenutzerName"), name);
    z.listenTitel = QStringLiteral("Messwerte von ") + name;
    Q_EMIT nameGeaendert(name, anderer);

    const QString dateiName = tabelle.mid(
        std::max(tabelle.lastIndexOf(QLatin1Char('/')), tabelle.lastIndexOf(QLatin1Char(':'))) + 1);
    // Closed first, so the entry dialog that follows does not open over this one.
    done(QDialog::Accepted);
    // The table's own name, as the file system compares it: "Anna" does not open Annabelle's.
    if (!tabelle.isEmpty() && dateiName.startsWith(name + QLatin1Char('_'))) Q_EMIT tabelleLaden(tabelle);
    Q_EMIT neuerMonatBeginnen();
}

void TNameEingDlg::CancelBtnClick() {
    reject();
}

void TNameEingDlg::reject() {
    QDialog::reject();
    Q_EMIT programmBeenden();
}
