#include "export/bericht/gui/tauswertungdlg.h"

#include "export/bericht/berichtdatei.h"
#include "export/pdf/gui/tpdfexport.h"
#include "platform/dialoge.h"
#include "platform/uhr.h"
#include "storage/monatstabelle.h"
#include "storage/zeitraum.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>

TAuswertungDlg::TAuswertungDlg(Zustand& zustand, QWidget* parent) : QDialog(parent), z(zustand) {
    setWindowTitle(QStringLiteral("Auswertung für einen Zeitraum"));
    auto* raster = new QGridLayout(this);
    VonLabel = new QLabel(QStringLiteral("&Von:"), this);
    VonEdit = new QDateEdit(this);
    BisLabel = new QLabel(QStringLiteral("&Bis:"), this);
    BisEdit = new QDateEdit(this);
    for (QDateEdit* feld : {VonEdit, BisEdit}) {
        feld->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        feld->setCalendarPopup(true);
        feld->setDateRange(QDate(1900, 1, 1), QDate(9999, 12, 31));
    }
    VonLabel->setBuddy(VonEdit);
    BisLabel->setBuddy(BisEdit);
    VonEdit->setAccessibleName(QStringLiteral("Erster Tag des Zeitraums"));
    BisEdit->setAccessibleName(QStringLiteral("Letzter Tag des Zeitraums"));
    OhneErstenTagCheckBox =
        new QCheckBox(QStringLiteral("&Ersten Tag nicht auswerten (Messreihe über sieben Tage)"), this);
    ZahlenMemo = new QPlainTextEdit(this);
    ZahlenMemo->setReadOnly(true);
    ZahlenMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ZahlenMemo->setAccessibleName(QStringLiteral("Ergebnisse der Auswertung"));
    // Room for every line of the report without a scroll bar on a 768-pixel screen.
    const QFontMetrics metrik(ZahlenMemo->font());
    ZahlenMemo->setMinimumSize(metrik.horizontalAdvance(QLatin1Char('x')) * 64, metrik.lineSpacing() * 29);
    PdfBtn = new QPushButton(QStringLiteral("Als &PDF speichern"), this);
    CsvBtn = new QPushButton(QStringLiteral("Messwerte als &CSV speichern"), this);
    SchliessenBtn = new QPushButton(QStringLiteral("&Schließen"), this);
    SchliessenBtn->setDefault(true);

    raster->addWidget(VonLabel, 0, 0);
    raster->addWidget(VonEdit, 0, 1);
    raster->addWidget(BisLabel, 0, 2);
    raster->addWidget(BisEdit, 0, 3);
    raster->setColumnStretch(4, 1);
    raster->addWidget(OhneErstenTagCheckBox, 1, 0, 1, 5);
    raster->addWidget(ZahlenMemo, 2, 0, 1, 5);
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(PdfBtn);
    knoepfe->addWidget(CsvBtn);
    knoepfe->addStretch();
    knoepfe->addWidget(SchliessenBtn);
    raster->addLayout(knoepfe, 3, 0, 1, 5);

    connect(VonEdit, &QDateEdit::dateChanged, this, &TAuswertungDlg::VonEditChange);
    connect(BisEdit, &QDateEdit::dateChanged, this, &TAuswertungDlg::BisEditChange);
    connect(OhneErstenTagCheckBox, &QCheckBox::clicked, this, &TAuswertungDlg::OhneErstenTagCheckBoxClick);
    connect(PdfBtn, &QPushButton::clicked, this, &TAuswertungDlg::PdfBtnClick);
    connect(CsvBtn, &QPushButton::clicked, this, &TAuswertungDlg::CsvBtnClick);
    connect(SchliessenBtn, &QPushButton::clicked, this, &QDialog::accept);
}

int TAuswertungDlg::zeigen() {
    if (!m_gewaehlt) {
        const QSignalBlocker a(VonEdit), b(BisEdit);
        const QDate heute = Uhr::heute();
        BisEdit->setDate(heute);
        VonEdit->setDate(heute.addDays(-(berichtdatei::kStandardTage - 1)));
        m_gewaehlt = true;
    }
    zeigeZahlen(); // the tables may have changed since the last opening
    return Dialoge::seam().modal(this);
}

void TAuswertungDlg::VonEditChange() {
    zeigeZahlen();
}
void TAuswertungDlg::BisEditChange() {
    zeigeZahlen();
}
void TAuswertungDlg::OhneErstenTagCheckBoxClick() {
    zeigeZahlen();
}

bool TAuswertungDlg::zeigeZahlen() {
    m_auswertung.reset();
    QString fehler = berichtdatei::zeitraumFehler(von(), bis(), true, ohneErstenTag());
    std::optional<berichtdatei::Auswahl> auswahl;
    if (fehler.isEmpty()) auswahl = berichtdatei::sammle(z, {}, von(), bis(), true, &fehler);
    if (auswahl) {
        m_auswertung = bericht::werteAus(auswahl->benutzer, auswahl->lesungen, von(), bis(), ohneErstenTag());
        m_tabellen = auswahl->tabellen;
        fehler = bericht::keineMessungen(*m_auswertung);
    }
    ZahlenMemo->setPlainText(fehler.isEmpty() ? bericht::zeilen(*m_auswertung).join(u'\n') : fehler);
    const bool zahlen = fehler.isEmpty();
    PdfBtn->setEnabled(zahlen);
    CsvBtn->setEnabled(auswahl.has_value() && !auswahl->lesungen.isEmpty());
    return zahlen;
}

QString TAuswertungDlg::speicherZiel(const QString& titel, const QString& art, const QString& benutzer,
                                     const QStringList& tabellen, const QString& endung,
                                     const QString& filter) const {
    // The save dialog proposes the file in the year folder of the period's end.
    const QString jahr = bis().toString(QStringLiteral("yyyy"));
    monatstabelle::legeJahrOrdnerAn(z.tabellenOrdner + jahr, jahr);
    const QString pfad = Dialoge::seam().dateiSpeichern(
        titel, berichtdatei::vorgeschlagenerName(z, art, benutzer, von(), bis(), endung), filter);
    if (pfad.isEmpty()) return {};
    const QString ziel = QFileInfo(pfad).suffix().isEmpty() ? pfad + endung : pfad;
    // A table's own files are never written over by an export, nor a remarks file made.
    const QString fehler = monatstabelle::exportNameFehler(ziel, tabellen + QStringList{z.TabellenDateiName});
    if (fehler.isEmpty()) return ziel;
    Dialoge::seam().warnung(fehler + QStringLiteral(" Die Datei wird nicht geschrieben."));
    return {};
}

void TAuswertungDlg::PdfBtnClick() {
    if (!zeigeZahlen()) return;
    const QString ziel = speicherZiel(QStringLiteral("Auswertung speichern"), QStringLiteral("Auswertung"),
                                      m_auswertung->name, m_tabellen, QStringLiteral(".pdf"),
                                      QStringLiteral("Acrobat Format (*.pdf)"));
    if (ziel.isEmpty()) return;
    QString fehler;
    if (berichtdatei::schreibePdf(z, *m_auswertung, m_tabellen, ziel, {}, bericht::Platz::Keiner, &fehler))
        TPdfExport::oeffne(ziel);
    else
        Dialoge::seam().warnung(fehler);
}

void TAuswertungDlg::CsvBtnClick() {
    QString fehler = berichtdatei::zeitraumFehler(von(), bis(), false);
    std::optional<berichtdatei::Auswahl> auswahl;
    if (fehler.isEmpty()) auswahl = berichtdatei::sammle(z, {}, von(), bis(), true, &fehler);
    if (!auswahl || auswahl->lesungen.isEmpty()) {
        Dialoge::seam().information(auswahl ? QStringLiteral("Im Zeitraum %1 bis %2 gibt es keine Messungen.")
                                                  .arg(zeitraum::datumText(von()), zeitraum::datumText(bis()))
                                            : fehler);
        return;
    }
    const QString ziel = speicherZiel(QStringLiteral("Messwerte als CSV speichern"), QStringLiteral("Messwerte"),
                                      auswahl->benutzer, auswahl->tabellen, QStringLiteral(".csv"),
                                      QStringLiteral("CSV-Dateien (*.csv)"));
    if (!ziel.isEmpty() && !berichtdatei::schreibeCsv(auswahl->lesungen, ziel, &fehler))
        Dialoge::seam().warnung(fehler);
}
