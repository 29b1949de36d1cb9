#include "app/gui/taboutbox.h"

#include "storage/registry.h"

#include "korvane_version.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* pfadLabel(QWidget* eltern) {
    auto* label = new QLabel(eltern);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse); // to be copied into a file manager
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMinimumWidth(360);
    return label;
}

} // namespace

TAboutBox::TAboutBox(const Zustand& zustand, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      z(zustand) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info über Korvane"));

    ProductName = new QLabel(QStringLiteral("Korvane"), this);
    QFont gross = ProductName->font();
    gross.setPointSize(gross.pointSize() * 2);
    gross.setBold(true);
    ProductName->setFont(gross);
    Version = new QLabel(QStringLiteral("Version ") + version(), this);
    Comments = new QLabel(QStringLiteral("Ein Blutdruck-Tagebuch für den Linux-Desktop."), this);
    Copyright = new QLabel(QStringLiteral("Lizenz: GNU General Public License, Version 3 oder neuer\n"
                                          "(GPL-3.0-or-later)"),
                           this);
    DatenOrdner = pfadLabel(this);
    DatenOrdner->setObjectName(QStringLiteral("DatenOrdner"));
    EinstellungsDatei = pfadLabel(this);
    EinstellungsDatei->setObjectName(QStringLiteral("EinstellungsDatei"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);

    auto* orte = new QGridLayout;
    orte->addWidget(new QLabel(QStringLiteral("Datenordner:"), this), 0, 0, Qt::AlignTop);
    orte->addWidget(DatenOrdner, 0, 1);
    orte->addWidget(new QLabel(QStringLiteral("Einstellungen:"), this), 1, 0, Qt::AlignTop);
    orte->addWidget(EinstellungsDatei, 1, 1);
    auto* knopf = new QHBoxLayout;
    knopf->addStretch(1);
    knopf->addWidget(OKButton);
    knopf->addStretch(1);
    auto* haupt = new QVBoxLayout(this);
    haupt->addWidget(ProductName);
    haupt->addWidget(Version);
    haupt->addSpacing(8);
    haupt->addWidget(Comments);
    haupt->addWidget(Copyright);
    haupt->addSpacing(8);
    haupt->addLayout(orte);
    haupt->addSpacing(8);
    haupt->addLayout(knopf);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    zeigeOrte();
}

QString TAboutBox::version() {
    return QStringLiteral(KORVANE_VERSION);
}

void TAboutBox::showEvent(QShowEvent* ereignis) {
    zeigeOrte();
    QDialog::showEvent(ereignis);
}

void TAboutBox::zeigeOrte() {
    DatenOrdner->setText(QDir::toNativeSeparators(z.datenOrdner));
    EinstellungsDatei->setText(QDir::toNativeSeparators(registry::dateiPfad()));
}
