#include "table/gui/ttabellendlg.h"

#include "chart/tmachpause.h"
#include "platform/dialoge.h"
#include "platform/gui/rollbalken.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// Cells as the table picture draws them: the text from two pixels in, clipped at the cell, never
// shortened with an ellipsis (the blanks before the values are part of the table).
class ZellenDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* maler, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, maler, w);
        maler->save();
        maler->setClipRect(opt.rect);
        maler->setFont(opt.font);
        maler->setPen(opt.palette.color(QPalette::Normal, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                               : QPalette::Text));
        maler->drawText(opt.rect.x() + 2, opt.rect.y() + 2 + QFontMetrics(opt.font).ascent(), text);
        maler->restore();
    }
};

} // namespace

TTabellenDlg::TTabellenDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TabellenDlg"));
    setWindowTitle(QStringLiteral("Korvanemesswerte-Tabelle"));
    resize(1210, 655);

    MachPause1 = new TMachPause(this);
    MainMenu1 = new QMenuBar(this);
    QMenu* datei = MainMenu1->addMenu(QStringLiteral("&Datei"));
    auto eintrag = [this](QMenu* menue, const char* name, const QString& text) {
        QAction* a = menue->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    drucken = eintrag(datei, "drucken", QStringLiteral("&Drucken"));
    eintrag(datei, "N1", QStringLiteral("  "));
    GrafikplusTabellespeichernalsBilddatei = eintrag(datei, "GrafikplusTabellespeichernalsBilddatei",
                                                     QStringLiteral("Grafik plus Tabelle speichern als &Bilddatei (.jpg)"));
    eintrag(datei, "N2", QStringLiteral("  "));
    GrafikspeichernalsPDFDatei1 = eintrag(datei, "GrafikspeichernalsPDFDatei1",
                                          QStringLiteral("&Grafik speichern als PDF-Datei (ohne Tabelle)"));
    TabellespeichernalsPDFDatei1 =
        eintrag(datei, "TabellespeichernalsPDFDatei1", QStringLiteral("&Tabelle speichern als  PDF-Datei"));
    GrafikundTabellespeichernalsPDFDatei1 = eintrag(datei, "GrafikundTabellespeichernalsPDFDatei1",
                                                    QStringLiteral("Grafik &und Tabelle speichern als PDF-Datei"));
    eintrag(datei, "N3", QStringLiteral("  "));
    Beenden1 = eintrag(datei, "Beenden1", QStringLiteral("Be&enden"));

    StringGrid1 = new QTableWidget(tabelle::kZeilen, tabelle::kSpalten, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Tabelle der Messwerte"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setShowGrid(true);
    StringGrid1->setWordWrap(false);
    StringGrid1->setItemDelegate(new ZellenDelegate(StringGrid1));
    StringGrid1->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    StringGrid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11); // 8 pt at 96 dpi
    font.setBold(true);
    StringGrid1->setFont(font);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    for (int r = 0; r < tabelle::kZeilen; ++r)
        StringGrid1->setRowHeight(r, tabelle::kHoehe + 1);
    StringGrid1->setContextMenuPolicy(Qt::NoContextMenu);
    StringGrid1->viewport()->installEventFilter(this);
    // Beside the white grid the style's light thumb is taken for the track.
    rollbalken::deutlich(StringGrid1);

    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->setMenuBar(MainMenu1);
    spalte->addWidget(StringGrid1);

    PopupMenu1 = new QMenu(this);
    QAction* druckenPopup = PopupMenu1->addAction(QStringLiteral("Drucken"));
    QAction* textKopieren = PopupMenu1->addAction(QStringLiteral("Markierter Text kopieren"));
    QAction* allesBild = PopupMenu1->addAction(QStringLiteral("Alles als Grafik kopieren"));
    QAction* bereichBild = PopupMenu1->addAction(QStringLiteral("Nur markierter Bereich als Grafik kopieren"));

    connect(drucken, &QAction::triggered, this, &TTabellenDlg::druckenClick);
    connect(druckenPopup, &QAction::triggered, this, &TTabellenDlg::druckenClick);
    connect(textKopieren, &QAction::triggered, this, &TTabellenDlg::TextKopierenClick);
    connect(allesBild, &QAction::triggered, this, &TTabellenDlg::Alles_alsGrafikkopierenClick);
    connect(bereichBild, &QAction::triggered, this, &TTabellenDlg::NurmarkierterBereichalsGrafikkopieren1Click);
    connect(GrafikplusTabellespeichernalsBilddatei, &QAction::triggered, this,
            &TTabellenDlg::GrafikplusTabellespeichernalsBilddateiClick);
    connect(GrafikspeichernalsPDFDatei1, &QAction::triggered, this, &TTabellenDlg::GrafikspeichernalsPDFDatei1Click);
    connect(TabellespeichernalsPDFDatei1, &QAction::triggered, this, &TTabellenDlg::TabellespeichernalsPDFDatei1Click);
    connect(GrafikundTabellespeichernalsPDFDatei1, &QAction::triggered, this,
            &TTabellenDlg::GrafikundTabellespeichernalsPDFDatei1Click);
    connect(Beenden1, &QAction::triggered, this, &QDialog::reject);

    // Created with no command pending.
    OffenTabellePdf = OffenGrafikUndTabellePdf = false;
    ErstelleTabelle({});
}

void TTabellenDlg::ErstelleTabelle(const QStringList& liste) {
    m_gitter = tabelle::ErstelleTabelle(liste);
    zeigeGitter();
}

void TTabellenDlg::zeigeGitter() {
    for (int s = 0; s < tabelle::kSpalten; ++s)
        StringGrid1->setColumnWidth(s, m_gitter.breiten[s] + 1);
    for (int r = 0; r < tabelle::kZeilen; ++r)
        for (int s = 0; s < tabelle::kSpalten; ++s) {
            QTableWidgetItem* zelle = StringGrid1->item(r, s);
            if (!zelle) {
                zelle = new QTableWidgetItem;
                StringGrid1->setItem(r, s, zelle);
            }
            zelle->setText(m_gitter.zelle(r, s));
        }
}

QRect TTabellenDlg::auswahl() const {
    const QList<QTableWidgetSelectionRange> bereiche = StringGrid1->selectedRanges();
    if (bereiche.isEmpty()) {
        const int r = StringGrid1->currentRow(), s = StringGrid1->currentColumn();
        return r >= 0 && s >= 0 ? QRect(s, r, 1, 1) : QRect();
    }
    const QTableWidgetSelectionRange& b = bereiche.first();
    return QRect(QPoint(b.leftColumn(), b.topRow()), QPoint(b.rightColumn(), b.bottomRow()));
}

void TTabellenDlg::setzeAuswahl(const QRect& bereich) {
    StringGrid1->clearSelection();
    StringGrid1->setRangeSelected(
        QTableWidgetSelectionRange(bereich.top(), bereich.left(), bereich.bottom(), bereich.right()), true);
}

void TTabellenDlg::TextKopierenClick() {
    const QRect bereich = auswahl();
    if (bereich.isEmpty()) return;
    QGuiApplication::clipboard()->setText(tabelle::TextKopieren(m_gitter, bereich));
}

void TTabellenDlg::Alles_alsGrafikkopierenClick() {
    QGuiApplication::clipboard()->setImage(tabelle::TabelleAlsBild(m_gitter));
}

void TTabellenDlg::NurmarkierterBereichalsGrafikkopieren1Click() {
    const QRect bereich = auswahl();
    if (bereich.isEmpty()) return;
    QGuiApplication::clipboard()->setImage(tabelle::markierterBereichAlsBild(m_gitter, bereich));
}

void TTabellenDlg::druckenClick() {
    QPrinter drucker(QPrinter::HighResolution);
    QPrintDialog dialog(&drucker, this);
    if (Dialoge::seam().modal(&dialog) != QDialog::Accepted) return;
    // Everything on one page, across it.
    if (drucker.pageLayout().fullRectPoints().width() < drucker.pageLayout().fullRectPoints().height())
        drucker.setPageOrientation(QPageLayout::Landscape);
    QPainter maler;
    if (!maler.begin(&drucker)) {
        Dialoge::seam().warnung(QStringLiteral("Der Drucker konnte nicht angesprochen werden."));
        return;
    }
    tabelle::TabelleDrucken(maler, m_gitter, windowTitle(), drucker.logicalDpiX(), drucker.logicalDpiY());
    maler.end();
}

void TTabellenDlg::GrafikplusTabellespeichernalsBilddateiClick() {
    if (grafikPlusTabelleSpeichern) grafikPlusTabelleSpeichern(m_gitter);
}

void TTabellenDlg::GrafikspeichernalsPDFDatei1Click() {
    if (pdfSpeichern) pdfSpeichern(0, m_gitter);
    reject();
}

void TTabellenDlg::TabellespeichernalsPDFDatei1Click() {
    if (pdfSpeichern) pdfSpeichern(1, m_gitter);
}

void TTabellenDlg::GrafikundTabellespeichernalsPDFDatei1Click() {
    if (pdfSpeichern) pdfSpeichern(2, m_gitter);
}

void TTabellenDlg::offeneBefehleAusfuehren() {
    // Shown first, then the command runs once; the mark is cleared before it runs.
    if (OffenBilddatei) {
        OffenBilddatei = false;
        GrafikplusTabellespeichernalsBilddateiClick();
    }
    if (OffenTabellePdf) {
        OffenTabellePdf = false;
        TabellespeichernalsPDFDatei1Click();
    }
    if (OffenGrafikUndTabellePdf) {
        OffenGrafikUndTabellePdf = false;
        GrafikundTabellespeichernalsPDFDatei1Click();
    }
}

void TTabellenDlg::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    if (const QScreen* schirm = screen()) {
        const QRect frei = schirm->availableGeometry();
        move(frei.center() - rect().center());
    }
    if (OffenBilddatei || OffenTabellePdf || OffenGrafikUndTabellePdf)
        QTimer::singleShot(0, this, &TTabellenDlg::offeneBefehleAusfuehren);
}

void TTabellenDlg::keyPressEvent(QKeyEvent* ereignis) {
    if (ereignis->matches(QKeySequence::Copy)) {
        TextKopierenClick();
        return;
    }
    QDialog::keyPressEvent(ereignis);
}

void TTabellenDlg::FormMouseWheel(int delta) {
    QScrollBar* leiste = StringGrid1->verticalScrollBar();
    leiste->setValue(leiste->value() - delta / 3);
}

bool TTabellenDlg::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == StringGrid1->viewport()) {
        if (ereignis->type() == QEvent::MouseButtonPress) {
            auto* maus = static_cast<QMouseEvent*>(ereignis);
            if (maus->button() == Qt::RightButton) {
                PopupMenu1->popup(maus->globalPosition().toPoint());
                return true;
            }
        } else if (ereignis->type() == QEvent::Wheel) {
            FormMouseWheel(static_cast<QWheelEvent*>(ereignis)->angleDelta().y());
            return true;
        }
    }
    return QDialog::eventFilter(objekt, ereignis);
}

void TTabellenDlg::done(int ergebnis) {
    QDialog::done(ergebnis);
    Q_EMIT geschlossen();
}
