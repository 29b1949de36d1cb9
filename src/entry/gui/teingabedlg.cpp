#include "entry/gui/teingabedlg.h"

#include "chart/tmonatsgrafik.h"
#include "entry/eingaberegeln.h"
#include "entry/eintragen.h"
#include "entry/gui/tform_uhrzeitdropdownmemo.h"
#include "entry/gui/ttoucheingabedlg.h"
#include "platform/dialoge.h"
#include "platform/uhr.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTextOption>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace regeln = eingaberegeln;

namespace {

// Draws each entry with its TABs at fixed stops, so the seven pieces stand in columns.
class TabStoppDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QList<qreal> stopps;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        QStyle* stil = w ? w->style() : QApplication::style();
        stil->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(QPalette::Normal, (opt.state & QStyle::State_Selected)
                                                                ? QPalette::HighlightedText
                                                                : QPalette::Text));
        QTextOption satz(Qt::AlignLeft | Qt::AlignVCenter);
        satz.setTabArray(stopps);
        satz.setWrapMode(QTextOption::NoWrap);
        painter->drawText(QRectF(opt.rect.adjusted(2, 0, 0, 0)), text, satz);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QString text = index.data().toString();
        const QFontMetrics fm(option.font);
        const QString letztes = text.section(QLatin1Char('\t'), -1);
        const int links = stopps.isEmpty() || !text.contains(QLatin1Char('\t')) ? 0 : int(stopps.last());
        return {links + fm.horizontalAdvance(letztes) + 8, fm.height() + 2};
    }
};

const int kTabStoppsDlu[] = {60, 110, 145, 180, 210, 240};

QFont verdana(int pixel, bool fett) {
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(pixel);
    f.setBold(fett);
    return f;
}

// x of a word of a label's text, so a field can stand under it.
int unterWort(const QLabel* label, const QString& wort) {
    const QString text = label->text();
    return label->x() + label->fontMetrics().horizontalAdvance(text.left(text.indexOf(wort)));
}

void setzeHinweis(QWidget* w, const QString& text) {
    w->setToolTip(text);
    w->setToolTipDuration(10000);
}

} // namespace

TEingabeDlg::TEingabeDlg(Zustand& zustand, TMonatsGrafik& g, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      z(zustand), grafik(g) {
    setWindowTitle(QStringLiteral("Eingabe der Korvanemesswerte"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 9));
    m_standardPalette = palette();
    baueOberflaeche();

    // FormCreate: the slot follows the slot boxes; the first showing prefills the fields.
    setzeSlot(regeln::ersterSlot(z.slotAktiv));
    m_vorbelegungOffen = true;
    zeigeSlotKaesten();
    GewichtsEingabeCheckBoxClick();
}

void TEingabeDlg::baueOberflaeche() {
    auto* rahmen = new QVBoxLayout(this);
    rahmen->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    rahmen->addWidget(ScrollBox1);
    auto* inhalt = new QWidget;
    inhalt->setObjectName(QStringLiteral("Inhalt"));
    ScrollBox1->setWidget(inhalt);

    // --- the list
    ListGroup = new QGroupBox(inhalt);
    Label4 = new QLabel(ListGroup);
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont fett = font();
    fett.setBold(true);
    Label4->setFont(fett);
    ListBox1 = new QListWidget(ListGroup);
    ListBox1->setFont(verdana(12, true));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* delegate = new TabStoppDelegate(ListBox1);
    // List box tab stops count in quarters of the list font's average character width; the
    // width of a digit stands for it, since the columns hold mostly digits.
    const QFontMetricsF listenMetrik(ListBox1->font());
    const qreal viertel =
        std::max(listenMetrik.averageCharWidth(), listenMetrik.horizontalAdvance(QLatin1Char('0'))) / 4.0;
    for (int dlu : kTabStoppsDlu)
        delegate->stopps << std::round(dlu * viertel);
    ListBox1->setItemDelegate(delegate);
    const int listenBreite =
        int(delegate->stopps.last()) +
        QFontMetrics(ListBox1->font()).horizontalAdvance(QStringLiteral("Gewicht=100,5")) + 30;

    // --- slot, time, slot boxes, date and values
    UpDownSchalterGroup = new QGroupBox(inhalt);
    Label3 = new QLabel(UpDownSchalterGroup);
    Label3->setFont(fett);
    Label3->setGeometry(10, 16, 260, 20);
    BitBtn3 = new QPushButton(UpDownSchalterGroup);
    BitBtn3->setGeometry(10, 42, 96, 40);
    Edit1 = new QLineEdit(QStringLiteral("07:00"), UpDownSchalterGroup);
    Edit1->setFont(verdana(24, true));
    QPalette gruen = Edit1->palette();
    gruen.setColor(QPalette::Text, QColor(0, 128, 0));
    Edit1->setPalette(gruen);
    Edit1->setGeometry(112, 42, 100, 40);
    SpinButton1 = new AufAbSchalter(UpDownSchalterGroup);
    SpinButton1->setGeometry(213, 42, 20, 40);
    SpeedButton1 = new QToolButton(UpDownSchalterGroup);
    SpeedButton1->setText(QStringLiteral("…"));
    SpeedButton1->setGeometry(238, 42, 32, 40);
    setzeHinweis(SpeedButton1, QStringLiteral("Auswahl einer Uhrzeit"));

    Bevel2 = new QFrame(UpDownSchalterGroup);
    Bevel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel2->setGeometry(10, 94, 260, 36);
    setzeHinweis(Bevel2, QStringLiteral("Wenn Sie regelmäßig weniger als 4 Messungen am Tag eingeben,\n"
                                        "dann entsprechend hier einstellen. Die nicht aktivierten Messungen\n"
                                        "werden dann übersprungen."));
    const QString slotHinweise[4] = {QStringLiteral("Messung 1 am Morgen"), QStringLiteral("Messung 2"),
                                     QStringLiteral("Messung 3"), QStringLiteral("Messung 4 am Abend")};
    for (int i = 0; i < 4; ++i) {
        auto* kasten = new QCheckBox(QStringLiteral("M%1").arg(i + 1), UpDownSchalterGroup);
        kasten->setChecked(true);
        kasten->setGeometry(20 + i * 62, 102, 56, 20);
        setzeHinweis(kasten, slotHinweise[i]);
        m_slotKaesten[i] = kasten;
    }
    CheckBoxM1 = m_slotKaesten[0];
    CheckBoxM2 = m_slotKaesten[1];
    CheckBoxM3 = m_slotKaesten[2];
    CheckBoxM4 = m_slotKaesten[3];

    DatumLabel = new QLabel(QStringLiteral("Tag               Monat             Jahr"), UpDownSchalterGroup);
    DatumLabel->move(12, 146);
    DatumLabel->adjustSize();
    SpinEdit1 = new ZahlFeld(1, 31, 31, true, UpDownSchalterGroup);
    SpinEdit2 = new ZahlFeld(1, 12, 12, true, UpDownSchalterGroup);
    SpinEdit3 = new ZahlFeld(1900, 9999, 1998, false, UpDownSchalterGroup);
    SpinEdit1->setGeometry(unterWort(DatumLabel, QStringLiteral("Tag")), 166, 58, 28);
    SpinEdit2->setGeometry(unterWort(DatumLabel, QStringLiteral("Monat")), 166, 58, 28);
    SpinEdit3->setGeometry(unterWort(DatumLabel, QStringLiteral("Jahr")), 166, 76, 28);

    WerteLabel =
        new QLabel(QStringLiteral("systolisch      diastolisch      Puls/Minute"), UpDownSchalterGroup);
    WerteLabel->move(12, 206);
    WerteLabel->adjustSize();
    SpinEdit4 = new ZahlFeld(0, regeln::kMaxEingabeWert, 140, false, UpDownSchalterGroup);
    SpinEdit5 = new ZahlFeld(0, regeln::kMaxEingabeWert, 90, false, UpDownSchalterGroup);
    SpinEdit6 = new ZahlFeld(0, regeln::kMaxEingabeWert, 70, false, UpDownSchalterGroup);
    SpinEdit4->setGeometry(unterWort(WerteLabel, QStringLiteral("systolisch")), 226, 64, 28);
    SpinEdit5->setGeometry(unterWort(WerteLabel, QStringLiteral("diastolisch")), 226, 64, 28);
    SpinEdit6->setGeometry(unterWort(WerteLabel, QStringLiteral("Puls/Minute")), 226, 64, 28);
    setzeHinweis(SpinEdit4, QStringLiteral("Geben sie hier den systolischen (oberen) Korvanemeßwert ein."));
    setzeHinweis(SpinEdit5, QStringLiteral("Geben sie hier den diastolischen Korvanemeßwert ein."));
    setzeHinweis(SpinEdit6, QStringLiteral("Geben Sie hier den Pulsschlag pro Minute ein."));

    // --- weight
    GewichtGroup = new QGroupBox(inhalt);
    GewichtTitelLabel =
        new QLabel(QStringLiteral("Gewicht:               Ganze Kilo , Zehntel"), GewichtGroup);
    GewichtTitelLabel->move(10, 16);
    GewichtTitelLabel->adjustSize();
    GewichtEdit = new QLineEdit(QStringLiteral("70,5"), GewichtGroup);
    GewichtEdit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    GewichtEdit->setGeometry(10, 36, 58, 28);
    SpinButton2 = new AufAbSchalter(GewichtGroup);
    SpinButton2->setGeometry(69, 36, 18, 28);
    RadioButton1 = new QRadioButton(GewichtGroup);
    RadioButton2 = new QRadioButton(GewichtGroup);
    RadioButton3 = new QRadioButton(GewichtGroup);
    RadioButton1->setChecked(true);
    setzeHinweis(RadioButton1, QStringLiteral("Ganzzahl vor dem Komma"));
    setzeHinweis(RadioButton2, QStringLiteral("1.Stelle nach dem Komma"));
    setzeHinweis(RadioButton3, QStringLiteral("2.Stelle nach dem Komma"));
    int frei = SpinButton2->geometry().right() + 6;
    const QString radioWoerter[3] = {QStringLiteral("Ganze"), QStringLiteral("Kilo"),
                                     QStringLiteral("Zehntel")};
    QRadioButton* radios[3] = {RadioButton1, RadioButton2, RadioButton3};
    for (int i = 0; i < 3; ++i) {
        radios[i]->adjustSize();
        const int x = std::max(frei, unterWort(GewichtTitelLabel, radioWoerter[i]));
        radios[i]->move(x, 40);
        frei = x + radios[i]->width() + 2;
    }
    GewichtsEingabeCheckBox = new QCheckBox(QStringLiteral("Das Gewicht eingeben"), GewichtGroup);
    GewichtsEingabeCheckBox->move(10, 72);
    GewichtsEingabeCheckBox->adjustSize();
    GewichtInfoLabel = new QLabel(GewichtGroup);
    GewichtInfoLabel->setFont(fett);
    GewichtInfoLabel->setToolTipDuration(10000);

    // --- buttons and their frames
    Bevel1 = new QFrame(inhalt);
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel3 = new QFrame(inhalt);
    Bevel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    BitBtn1 = new QPushButton(QStringLiteral("In Liste &aufnehmen"), inhalt);
    BitBtn2 = new QPushButton(QStringLiteral("Eintrag &bearbeiten"), inhalt);
    OKBtn = new QPushButton(QStringLiteral("OK / &Grafik zeigen"), inhalt);
    OKBtn->setDefault(true);
    BitBtn4 = new QPushButton(QStringLiteral("&Tabelle zeigen"), inhalt);
    for (QPushButton* k : {BitBtn1, BitBtn2, OKBtn, BitBtn4})
        k->setFont(fett);

    // Group sizes: the weight group's frame below it ends above the bottom of the slot group.
    const int gruppenBreite = 280;
    const int gewichtBreite =
        std::max({GewichtTitelLabel->width() + 24, gruppenBreite + 8, listenBreite + 16 - gruppenBreite - 4});
    GewichtInfoLabel->setGeometry(10, 98, gewichtBreite - 20, 20);
    GewichtGroup->resize(gewichtBreite, 126);
    UpDownSchalterGroup->resize(gruppenBreite, std::max(266, GewichtGroup->height() + 4 + 172 + 4));
    const int breite = std::max(listenBreite + 16, UpDownSchalterGroup->width() + 4 + GewichtGroup->width());
    Label4->setGeometry(8, 14, breite - 16, 20);
    ListBox1->setGeometry(8, 38, breite - 16, 150);
    ListGroup->resize(breite, 200);
    // Bevels lie behind the controls they frame.
    Bevel1->lower();
    Bevel3->lower();
    Bevel2->lower();

    ordneAn(8, 8, breite);
    setFixedSize(inhalt->size());

    // Names a screen reader says for controls whose caption is missing or says nothing alone.
    ScrollBox1->setAccessibleName(QStringLiteral("Eingabe der Korvanemesswerte"));
    ListBox1->setAccessibleName(QStringLiteral("Messwerte des Monats"));
    BitBtn3->setAccessibleDescription(
        QStringLiteral("Messzeitpunkt; jeder Klick schaltet zum nächsten weiter"));
    Edit1->setAccessibleName(QStringLiteral("Uhrzeit"));
    SpinButton1->auf->setAccessibleName(QStringLiteral("Uhrzeit 10 Minuten später"));
    SpinButton1->ab->setAccessibleName(QStringLiteral("Uhrzeit 10 Minuten früher"));
    SpeedButton1->setAccessibleName(QStringLiteral("Auswahl einer Uhrzeit"));
    const std::pair<ZahlFeld*, const char*> zahlNamen[] = {
        {SpinEdit1, "Tag"},        {SpinEdit2, "Monat"},       {SpinEdit3, "Jahr"},
        {SpinEdit4, "systolisch"}, {SpinEdit5, "diastolisch"}, {SpinEdit6, "Puls/Minute"}};
    for (const auto& [feld, name] : zahlNamen)
        feld->setAccessibleName(QString::fromUtf8(name));
    GewichtEdit->setAccessibleName(QStringLiteral("Gewicht in Kilogramm"));
    SpinButton2->auf->setAccessibleName(QStringLiteral("Gewicht erhöhen"));
    SpinButton2->ab->setAccessibleName(QStringLiteral("Gewicht verringern"));
    RadioButton1->setAccessibleName(QStringLiteral("Gewicht in Schritten von 10 kg"));
    RadioButton2->setAccessibleName(QStringLiteral("Gewicht in Schritten von 1 kg"));
    RadioButton3->setAccessibleName(QStringLiteral("Gewicht in Schritten von 0,1 kg"));

    // --- wiring
    connect(BitBtn1, &QPushButton::clicked, this, &TEingabeDlg::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TEingabeDlg::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TEingabeDlg::BitBtn3Click);
    connect(OKBtn, &QPushButton::clicked, this, &TEingabeDlg::OKBtnClick);
    connect(BitBtn4, &QPushButton::clicked, this, &TEingabeDlg::BitBtn4Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TEingabeDlg::SpeedButton1Click);
    connect(SpinButton1, &AufAbSchalter::aufGeklickt, this, &TEingabeDlg::SpinButton1UpClick);
    connect(SpinButton1, &AufAbSchalter::abGeklickt, this, &TEingabeDlg::SpinButton1DownClick);
    connect(SpinButton2, &AufAbSchalter::aufGeklickt, this, &TEingabeDlg::SpinButton2UpClick);
    connect(SpinButton2, &AufAbSchalter::abGeklickt, this, &TEingabeDlg::SpinButton2DownClick);
    connect(GewichtEdit, &QLineEdit::textChanged, this, &TEingabeDlg::GewichtEditChange);
    connect(GewichtsEingabeCheckBox, &QCheckBox::clicked, this, &TEingabeDlg::GewichtsEingabeCheckBoxClick);
    connect(CheckBoxM1, &QCheckBox::clicked, this, &TEingabeDlg::CheckBoxM1Click);
    connect(CheckBoxM2, &QCheckBox::clicked, this, &TEingabeDlg::CheckBoxM2Click);
    connect(CheckBoxM3, &QCheckBox::clicked, this, &TEingabeDlg::CheckBoxM3Click);
    connect(CheckBoxM4, &QCheckBox::clicked, this, &TEingabeDlg::CheckBoxM4Click);

    const std::pair<ZahlFeld*, void (TEingabeDlg::*)()> felder[] = {
        {SpinEdit1, &TEingabeDlg::SpinEdit1Change}, {SpinEdit2, &TEingabeDlg::SpinEdit2Change},
        {SpinEdit3, &TEingabeDlg::SpinEdit3Change}, {SpinEdit4, &TEingabeDlg::SpinEdit4Change},
        {SpinEdit5, &TEingabeDlg::SpinEdit5Change}, {SpinEdit6, &TEingabeDlg::SpinEdit6Change}};
    for (const auto& [feld, handler] : felder) {
        // Typing changes the editor; the arrows and setValue change the value. While a key is
        // typed the text is left as it is; the rules put it in form when editing is done.
        connect(feld->editor(), &QLineEdit::textChanged, this, handler);
        connect(feld, &QSpinBox::textChanged, this, handler);
        connect(feld, &QAbstractSpinBox::editingFinished, this, [this, handler] {
            const bool vorher = m_tippen;
            m_tippen = false;
            (this->*handler)();
            m_tippen = vorher;
        });
        feld->installEventFilter(this);
        feld->editor()->installEventFilter(this);
    }
    Edit1->installEventFilter(this);
    GewichtEdit->installEventFilter(this);
}

void TEingabeDlg::ordneAn(int listLinks, int listOben, int breite) {
    ListGroup->setGeometry(listLinks, listOben, breite, 200);
    ListBox1->setGeometry(8, 38, breite - 16, 150);
    Label4->setGeometry(8, 14, breite - 16, 20);
    const QRect liste = ListGroup->geometry();
    UpDownSchalterGroup->move(liste.left(), liste.top() + liste.height());
    const QRect schalter = UpDownSchalterGroup->geometry();
    GewichtGroup->move(schalter.left() + schalter.width() + 4, schalter.top());
    const QRect gewicht = GewichtGroup->geometry();
    const int unten = schalter.top() + schalter.height();

    Bevel1->setGeometry(liste.left(), unten + 5, liste.width(), 54);
    const int knopfBreite = schalter.width() - 8;
    OKBtn->setGeometry(liste.left() + 4, unten + 15, knopfBreite, 34);
    BitBtn4->setGeometry(liste.left() + liste.width() - 4 - knopfBreite, unten + 15, knopfBreite, 34);

    Bevel3->setGeometry(gewicht.left(), gewicht.top() + gewicht.height() + 4, gewicht.width(), 172);
    BitBtn1->setGeometry(gewicht.left() + 6, Bevel3->y() + 20, knopfBreite, 45);
    BitBtn2->setGeometry(gewicht.left() + 6, BitBtn1->y() + 45 + 44, knopfBreite, 45);

    QWidget* inhalt = ScrollBox1->widget();
    const int rechts = std::max({liste.right(), gewicht.right(), Bevel3->geometry().right()}) + 1 + listLinks;
    const int hoehe = std::max(Bevel1->geometry().bottom(), Bevel3->geometry().bottom()) + 1 + 8;
    inhalt->resize(std::max(rechts, z.touchModus ? ScrollBox1->viewport()->width() : 0), hoehe);
}

void TEingabeDlg::GroupsAusrichtung() {
    if (!z.touchModus) return;
    const int sichtbar = ScrollBox1->viewport()->width();
    const int links = std::max(0, (sichtbar - ListGroup->width()) / 2);
    ordneAn(links, 0, ListGroup->width());
}

void TEingabeDlg::setzeFenster(TForm_UhrzeitDropdownMemo* uhrzeit, TTouchEingabeDlg* touch) {
    m_uhrzeit = uhrzeit;
    m_touch = touch;
    if (m_uhrzeit) m_uhrzeit->setzeZielfeld(Edit1);
    if (m_touch) m_touch->setzeBezug({this, ListGroup, ListBox1, GewichtGroup, GewichtEdit});
}

QString TEingabeDlg::heuteText() const {
    return QStringLiteral("Heute ist der ") + Uhr::heute().toString(QStringLiteral("dd.MM.yyyy"));
}

void TEingabeDlg::setzeListenTitel(const QString& text) {
    z.listenTitel = text;
    Label4->setText(text);
}

void TEingabeDlg::zeigeListe() {
    QStringList angezeigt;
    for (int i = 0; i < ListBox1->count(); ++i)
        angezeigt << ListBox1->item(i)->text();
    if (angezeigt == z.ListBox1) return; // unchanged: the selection stays
    ListBox1->clear();
    ListBox1->addItems(z.ListBox1);
}

void TEingabeDlg::zeigeSlotKaesten() {
    for (int i = 0; i < 4; ++i)
        m_slotKaesten[i]->setChecked(z.slotAktiv[i]);
}

void TEingabeDlg::uebernimmGelesenes() {
    zeigeListe();
    zeigeSlotKaesten();
    Label4->setText(z.listenTitel);
    bool ok = false;
    const int monat = z.monatText.toInt(&ok);
    if (ok) SpinEdit2->setValue(monat);
    SpinEdit2Change();
    SpinEdit3Change();
}

void TEingabeDlg::setzeSlot(int slot) {
    m_slot = slot;
    m_praefix = regeln::slotPraefix(slot);
    BitBtn3->setText(regeln::slotKnopfText(slot));
}

void TEingabeDlg::setzeStandardZeit() {
    const QString zeit = Lies_String_aus_Registry_mit_Vorgabe(regeln::slotZeitEinstellung(m_slot));
    if (!zeit.isEmpty()) Edit1->setText(zeit);
}

// --- opening

int TEingabeDlg::neuerMonat() {
    setzeListenTitel(QStringLiteral("Messwerte von ") + z.benutzerName);
    z.ListBox1.clear();
    z.listenDatei.clear(); // comes from no file: a table on disk is read in before it is written
    zeigeListe();
    // The weight mean belongs to the month left.
    grafik.MonatsMittelGewicht = 0;
    GewichtInfoLabel->clear();
    m_neuerMonat = true;
    Label3->setText(heuteText());
    const QDate heute = Uhr::heute();
    SpinEdit1->setValue(1);
    SpinEdit2->setValue(heute.month());
    SpinEdit3->setValue(heute.year());
    SpinEdit2Change();
    SpinEdit3Change();
    setzeSlot(1);
    setzeStandardZeit();
    grafik.MonatsWerteSys.clear();
    grafik.MonatsWerteDia.clear();
    grafik.MonatsWertePuls.clear();
    return Dialoge::seam().modal(this);
}

int TEingabeDlg::tabelleBearbeiten(const QString& pfad, bool tabelleSofortZeigen) {
    if (tabelleSofortZeigen) m_tabelleSofort = true;
    GewichtInfoLabel->clear();
    z.ListBox1.clear();
    zeigeListe();
    setzeStandardZeit();
    // The fields are filled from this table, never from the month drawn before.
    const QString letzteVorher = z.letzteMesszeile;
    z.letzteMesszeile.clear();
    QString monat, jahr;
    if (!monatstabelle::liesZumBearbeiten(z, pfad, monatstabelle::KopfLesen::Ja, &monat, &jahr)) {
        m_tabelleSofort = false;
        z.letzteMesszeile = letzteVorher;
        zeigeListe();
        return QDialog::Rejected;
    }
    z.TabellenDateiName = pfad;
    z.jahrOrdnerName = QFileInfo(pfad).absolutePath().right(4);
    const QDate heute = Uhr::heute();
    setzeJahrFeld(jahr.isEmpty() ? QString::number(heute.year()) : jahr);
    uebernimmGelesenes();
    SpinEdit2->setValue(monat.isEmpty() ? heute.month() : monat.toInt());
    SpinEdit2Change();
    Label3->setText(heuteText());
    return Dialoge::seam().modal(this);
}

int TEingabeDlg::aktuelleBearbeiten() {
    z.ListBox1.clear();
    zeigeListe();
    setzeStandardZeit();
    if (z.TabellenDateiName.isEmpty() || !QFileInfo::exists(z.TabellenDateiName)) return neuerMonat();
    if (!monatstabelle::liesZumBearbeiten(z, z.TabellenDateiName,
                                          monatstabelle::KopfLesen::NameNurWennGesetzt)) {
        zeigeListe();
        return QDialog::Rejected;
    }
    uebernimmGelesenes();
    Label3->setText(heuteText());
    return Dialoge::seam().modal(this);
}

void TEingabeDlg::setzeJahrFeld(const QString& jahr) {
    bool ok = false;
    const int wert = jahr.trimmed().toInt(&ok);
    if (ok && jahr.trimmed().size() == 4)
        SpinEdit3->setValue(wert);
    else
        SpinEdit3->setValue(1900);
    SpinEdit3Change();
}

void TEingabeDlg::setzeGewichtAusEinstellung(const QString& gewicht) {
    if (gewicht.isEmpty()) return;
    const auto wert = regeln::liesGewicht(gewicht);
    if (!wert) return; // a setting that is no weight leaves the start values
    GewichtEdit->setText(gewicht);
    m_gewicht = *wert;
}

// --- paint and layout

void TEingabeDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) // not when the window comes back from being minimised
        FormPaint();
}

void TEingabeDlg::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    GroupsAusrichtung();
}

void TEingabeDlg::FormPaint() {
    // The readers fill the shared list and slot flags while the dialog is hidden.
    zeigeListe();
    zeigeSlotKaesten();
    Label4->setText(z.listenTitel);

    if (z.touchModus) {
        // Only the background and the list turn aqua; edit fields keep their base colour, which
        // a Base role set on the dialog would hand down to every one of them.
        const QColor aqua(0, 255, 255);
        QPalette hintergrund = m_standardPalette;
        hintergrund.setColor(QPalette::Window, aqua);
        setPalette(hintergrund);
        QPalette liste = m_standardPalette;
        liste.setColor(QPalette::Base, aqua);
        ListBox1->setPalette(liste);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (QScreen* bildschirm = screen()) {
            const QRect r = bildschirm->geometry();
            setGeometry(r.x(), r.y(), r.width(), r.height() - 25);
        }
        setWindowState(windowState() | Qt::WindowMaximized);
        GroupsAusrichtung();
    } else {
        setPalette(m_standardPalette);
        ListBox1->setPalette(m_standardPalette);
    }

    SpinEdit1Change();
    SpinEdit2Change();

    // "und Tabelle anzeigen": on to the table at once, once the dialog is up.
    if (m_tabelleSofort) {
        m_tabelleSofort = false;
        QTimer::singleShot(0, this, &TEingabeDlg::BitBtn4Click);
    }

    // Each opening starts with weight entry off.
    GewichtsEingabeCheckBox->setChecked(false);
    GewichtsEingabeCheckBoxClick();

    if (m_vorbelegungOffen) {
        if (std::none_of(z.slotAktiv.begin(), z.slotAktiv.end(), [](bool b) { return b; })) {
            z.slotAktiv[0] = true;
            zeigeSlotKaesten();
        }
        if (!z.letzteMesszeile.isEmpty() && !m_neuerMonat) ladeFelder(z.letzteMesszeile, true);
        m_neuerMonat = false;
        m_vorbelegungOffen = false;
        ListBox1->setFocus();
    }

    if (ListBox1->count() > 0) {
        QListWidgetItem* letzter = ListBox1->item(ListBox1->count() - 1);
        ListBox1->scrollToItem(letzter, QAbstractItemView::PositionAtTop);
        ListBox1->setCurrentItem(letzter);
    }
}

// --- fields

void TEingabeDlg::ladeFelder(const QString& text, bool vorbelegen) {
    const regeln::Felder f = regeln::felderAusEintrag(text);
    if (f.slot) setzeSlot(f.slot);
    auto setze = [](ZahlFeld* feld, const QString& wert) {
        bool ok = false;
        const int zahl = wert.toInt(&ok);
        if (ok) feld->setValue(zahl);
    };
    setze(SpinEdit1, f.tag);
    setze(SpinEdit2, f.monat);
    setze(SpinEdit3, f.jahr);
    if (!f.zeit.isEmpty()) Edit1->setText(f.zeit);
    setze(SpinEdit4, f.sys);
    setze(SpinEdit5, f.dia);
    setze(SpinEdit6, f.puls);
    SpinEdit2Change();
    SpinEdit3Change();
    if (f.gewicht || vorbelegen) {
        const QString gewicht = f.gewicht.value_or(QStringLiteral("0"));
        GewichtEdit->setText(gewicht);
        if (const auto wert = regeln::liesGewicht(gewicht)) m_gewicht = *wert;
    }
    // An entry taken back for editing keeps its weight unless the user changes it.
    if (!vorbelegen) {
        GewichtsEingabeCheckBox->setChecked(regeln::liesGewicht(f.gewicht.value_or(QString())).value_or(0) > 0);
        GewichtsEingabeCheckBoxClick();
    }
}

void TEingabeDlg::normalisiere(ZahlFeld* feld, QString (*regel)(const QString&)) {
    if (m_tippen) return; // a year cannot be typed if "2" turns into "1900" at once
    const QString text = feld->editor()->text();
    const QString normal = regel(text);
    if (normal != text) feld->editor()->setText(normal);
}

void TEingabeDlg::SpinEdit1Change() {
    normalisiere(SpinEdit1, regeln::tagOderMonatNormal);
}

void TEingabeDlg::SpinEdit2Change() {
    normalisiere(SpinEdit2, regeln::tagOderMonatNormal);
}

void TEingabeDlg::SpinEdit3Change() {
    normalisiere(SpinEdit3, regeln::jahrNormal);
}

void TEingabeDlg::SpinEdit4Change() {
    normalisiere(SpinEdit4, regeln::wertNormal);
}
void TEingabeDlg::SpinEdit5Change() {
    normalisiere(SpinEdit5, regeln::wertNormal);
}
void TEingabeDlg::SpinEdit6Change() {
    normalisiere(SpinEdit6, regeln::wertNormal);
}

void TEingabeDlg::SpinButton1UpClick() {
    Edit1->setText(regeln::zeitSchritt(Edit1->text(), true));
}
void TEingabeDlg::SpinButton1DownClick() {
    Edit1->setText(regeln::zeitSchritt(Edit1->text(), false));
}

double TEingabeDlg::gewichtsSchrittweite() const {
    return regeln::gewichtsSchrittweite(RadioButton1->isChecked() ? 1 : RadioButton2->isChecked() ? 2 : 3);
}

void TEingabeDlg::SpinButton2UpClick() {
    m_gewicht = regeln::gewichtSchritt(m_gewicht, gewichtsSchrittweite(), true);
    GewichtEdit->setText(regeln::gewichtText(m_gewicht));
}

void TEingabeDlg::SpinButton2DownClick() {
    m_gewicht = regeln::gewichtSchritt(m_gewicht, gewichtsSchrittweite(), false);
    GewichtEdit->setText(regeln::gewichtText(m_gewicht));
}

void TEingabeDlg::GewichtEditChange() {
    if (GewichtEdit->text().isEmpty()) {
        GewichtEdit->setText(QStringLiteral("1"));
        return; // the new text runs this handler again
    }
    ZeigGewichtInfo();
}

void TEingabeDlg::GewichtsEingabeCheckBoxClick() {
    const bool an = GewichtsEingabeCheckBox->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{GewichtEdit, SpinButton2, RadioButton1, RadioButton2, RadioButton3})
        w->setEnabled(an);
}

void TEingabeDlg::slotKastenGeklickt(int index) {
    z.slotAktiv[index] = m_slotKaesten[index]->isChecked();
    if (std::none_of(z.slotAktiv.begin(), z.slotAktiv.end(), [](bool b) { return b; })) {
        m_slotKaesten[index]->setChecked(true);
        z.slotAktiv[index] = true;
    }
}

void TEingabeDlg::CheckBoxM1Click() {
    slotKastenGeklickt(0);
}
void TEingabeDlg::CheckBoxM2Click() {
    slotKastenGeklickt(1);
}
void TEingabeDlg::CheckBoxM3Click() {
    slotKastenGeklickt(2);
}
void TEingabeDlg::CheckBoxM4Click() {
    slotKastenGeklickt(3);
}

void TEingabeDlg::ZeigGewichtInfo() {
    if (m_gewichtInfoLaeuft) return;
    m_gewichtInfoLaeuft = true;
    if (z.ListBox1.isEmpty()) {
        grafik.MonatsMittelGewicht = 0;
        GewichtInfoLabel->clear();
    }
    const double mittel = grafik.MonatsMittelGewicht;
    if (mittel != 0) {
        // A text that is no number counts as no weight here; the add command names it.
        double zahl = regeln::liesGewicht(GewichtEdit->text()).value_or(0.0);
        if (zahl > monatstabelle::kMaxGewicht) {
            Dialoge::seam().information(regeln::meldungZuSchwer());
            zahl = m_gewicht = monatstabelle::kMaxGewicht;
            GewichtEdit->setText(QString::number(monatstabelle::kMaxGewicht));
        }

        QPalette farbe = GewichtInfoLabel->palette();
        if (GewichtsEingabeCheckBox->isChecked()) {
            if (regeln::fuenfzehnKiloAbstand(zahl, mittel)) {
                farbe.setColor(QPalette::WindowText, QColor(255, 0, 0));
                GewichtInfoLabel->setToolTip(QStringLiteral(
                    "Bitte aktuelle Eingabe überprüfen. Rot = 15 Kg Unterschied zum bisherigen Mittelwert!"));
            } else {
                farbe.setColor(QPalette::WindowText, QColor(0, 0, 255));
                GewichtInfoLabel->setToolTip(
                    QStringLiteral("Zeigt den bisherigen monatlichen Mittelwert an."));
            }
        } else {
            farbe.setColor(QPalette::WindowText, QColor(128, 128, 128));
        }
        GewichtInfoLabel->setPalette(farbe);
        GewichtInfoLabel->setText(regeln::mittelwertText(mittel));
    }
    m_gewichtInfoLaeuft = false;
}

// --- slots

void TEingabeDlg::BitBtn3Click() {
    setzeSlot(regeln::naechsterSlot(m_slot, z.slotAktiv));
    setzeStandardZeit();
}

// --- add, edit, close

void TEingabeDlg::BitBtn1Click() {
    // Typed text is taken as the fields' values, in the form the rules give it.
    for (ZahlFeld* feld : {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, SpinEdit5, SpinEdit6})
        feld->interpretText();
    m_tippen = false;
    SpinEdit1Change();
    SpinEdit2Change();
    SpinEdit3Change();

    eintragen::Eingabe e;
    e.slot = m_slot;
    e.tag = SpinEdit1->value();
    e.monat = SpinEdit2->value();
    e.jahr = SpinEdit3->value();
    e.zeit = Edit1->text();
    e.sys = SpinEdit4->value();
    e.dia = SpinEdit5->value();
    e.puls = SpinEdit6->value();
    if (GewichtsEingabeCheckBox->isChecked()) e.gewicht = GewichtEdit->text();
    const eintragen::Ergebnis ergebnis = eintragen::nimmAuf(z, e, grafik.MonatsMittelGewicht);
    zeigeListe();
    if (ergebnis == eintragen::Ergebnis::Abgelehnt) return;
    m_inBearbeitung.clear(); // its corrected version is written
    if (ergebnis != eintragen::Ergebnis::Aufgenommen) return;

    ListBox1->setFocus();
    if (ListBox1->count() > 0) {
        ListBox1->setCurrentRow(ListBox1->count() - 1);
        ListBox1->scrollToBottom();
    }
    BitBtn3Click();
    GrafikZeigen();
    ZeigGewichtInfo();
}

void TEingabeDlg::BitBtn2Click() {
    Dialoge& dialoge = Dialoge::seam();
    const QModelIndexList auswahl = ListBox1->selectionModel()->selectedRows();
    const int zeile = auswahl.isEmpty() ? -1 : auswahl.first().row();
    if (zeile < 0 || zeile >= z.ListBox1.size()) {
        dialoge.information(
            QStringLiteral("Sie müssen zuerst einen Eintrag in der Liste durch Anklicken auswählen!"));
        return;
    }
    if (!dialoge.frage(
            QStringLiteral("Der ausgewählte Eintrag wird in der Liste gelöscht und die einzelnen "
                           "Werte in die Eingabefelder zum Bearbeiten eingetragen. Möchten Sie das?")))
        return;
    // An entry still being edited goes back before the next one is taken out.
    legeBearbeitetenZurueck();
    // Out of the list, but not off the disk: the table keeps the reading until its corrected
    // version is written, so Escape, closing or a kill loses nothing.
    m_inBearbeitung = z.ListBox1.takeAt(zeile);
    zeigeListe();
    ladeFelder(m_inBearbeitung, false);
    ZeigGewichtInfo();
}

void TEingabeDlg::legeBearbeitetenZurueck() {
    if (m_inBearbeitung.isEmpty()) return;
    z.ListBox1.append(m_inBearbeitung);
    monatstabelle::sortiereListe(z.ListBox1);
    m_inBearbeitung.clear();
    zeigeListe();
}

void TEingabeDlg::GrafikZeigen() {
    legeBearbeitetenZurueck(); // never a table written without a reading still being edited
    if (!z.ListBox1.isEmpty()) {
        if (m_slot == 1) {
            const QString morgens = Lies_String_aus_Registry_mit_Vorgabe(QStringLiteral("UhrzeitMorgens"));
            if (!morgens.isEmpty()) Edit1->setText(morgens);
        }
        if (monatstabelle::schreibeTabelle(z, monatstabelle::Schreibart::GrafikZeigen)) {
            Schreib_String_in_Registry(QStringLiteral("BenutzerName"), z.benutzerName);
            grafik.MachDieListenFuerDenBrowserLeer();
            Q_EMIT grafikNeuZeichnen();
            zeigeListe(); // the chart's reader refills the shared list
        }
    }
    const int anzahl = int(z.ListBox1.size());
    if (anzahl <= 1) grafik.SchreibHinweisNurEinDatensatzVorhanden(anzahl);
}

void TEingabeDlg::reject() {
    // Escape and the close box: no table is written, but the chart shows the month in use whole,
    // not a template under another month's title.
    legeBearbeitetenZurueck();
    Q_EMIT grafikNeuZeichnen();
    Q_EMIT hauptfensterAnpassen();
    QDialog::reject();
}

void TEingabeDlg::BitBtn4Click() {
    GrafikZeigen();
    Q_EMIT tabelleZeigen();
    accept();
}

void TEingabeDlg::OKBtnClick() {
    grafik.GewichtImage = grafik.vorlageGewicht;
    GrafikZeigen();
    Q_EMIT hauptfensterAnpassen();
    accept();
}

// --- time picker and touch input

void TEingabeDlg::SpeedButton1Click() {
    if (!m_uhrzeit) return;
    m_uhrzeit->zeilenBeschneiden();
    Dialoge::seam().modal(m_uhrzeit);
}

void TEingabeDlg::oeffneTouch(int ziel, const QString& prompt, ZahlFeld* feld) {
    if (!z.touchModus || !m_touch) return;
    if (m_touch->ziel() != regeln::TouchZiel::Keins)
        m_touch->Button1Click(); // the value still being edited goes back first
    m_touch->bearbeiteZahl(static_cast<regeln::TouchZiel>(ziel), prompt, feld);
    Dialoge::seam().modal(m_touch);
}

void TEingabeDlg::SpinEdit1Click() {
    oeffneTouch(int(regeln::TouchZiel::Tag), QStringLiteral("Geben Sie den Tag ein:"), SpinEdit1);
}
void TEingabeDlg::SpinEdit2Click() {
    oeffneTouch(int(regeln::TouchZiel::Monat), QStringLiteral("Geben Sie den Monat ein:"), SpinEdit2);
}
void TEingabeDlg::SpinEdit3Click() {
    oeffneTouch(int(regeln::TouchZiel::Jahr), QStringLiteral("Geben Sie das Jahr ein:"), SpinEdit3);
}
void TEingabeDlg::SpinEdit4Click() {
    oeffneTouch(int(regeln::TouchZiel::Sys), QStringLiteral("Geben sie den systolischen Korvanemeßwert ein:"),
                SpinEdit4);
}
void TEingabeDlg::SpinEdit5Click() {
    oeffneTouch(int(regeln::TouchZiel::Dia),
                QStringLiteral("Geben sie den diastolischen Korvanemeßwert ein:"), SpinEdit5);
}
void TEingabeDlg::SpinEdit6Click() {
    oeffneTouch(int(regeln::TouchZiel::Puls), QStringLiteral("Geben Sie den Pulsschlag pro Minute ein:"),
                SpinEdit6);
}

void TEingabeDlg::GewichtEditClick() {
    if (!z.touchModus || !m_touch) return;
    if (m_touch->ziel() != regeln::TouchZiel::Keins) m_touch->Button1Click();
    m_touch->bearbeiteGewicht(GewichtEdit, &m_gewicht);
    Dialoge::seam().modal(m_touch);
}

// --- keys and taps

bool TEingabeDlg::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (ereignis->type() == QEvent::MouseButtonRelease && z.touchModus) {
        const std::pair<QObject*, void (TEingabeDlg::*)()> taps[] = {
            {SpinEdit1->editor(), &TEingabeDlg::SpinEdit1Click},
            {SpinEdit2->editor(), &TEingabeDlg::SpinEdit2Click},
            {SpinEdit3->editor(), &TEingabeDlg::SpinEdit3Click},
            {SpinEdit4->editor(), &TEingabeDlg::SpinEdit4Click},
            {SpinEdit5->editor(), &TEingabeDlg::SpinEdit5Click},
            {SpinEdit6->editor(), &TEingabeDlg::SpinEdit6Click},
            {GewichtEdit, &TEingabeDlg::GewichtEditClick}};
        for (const auto& [feld, handler] : taps)
            if (objekt == feld) {
                (this->*handler)();
                return false;
            }
    }
    if (ereignis->type() != QEvent::KeyPress) return QDialog::eventFilter(objekt, ereignis);

    const bool zeitFeld = objekt == Edit1;
    const bool gewichtFeld = objekt == GewichtEdit;
    const bool zahlFeld = gewichtFeld || qobject_cast<ZahlFeld*>(objekt) ||
                          (objekt->parent() && qobject_cast<ZahlFeld*>(objekt->parent()));
    if (!zeitFeld && !zahlFeld) return QDialog::eventFilter(objekt, ereignis);

    auto* taste = static_cast<QKeyEvent*>(ereignis);
    // Enter in a field adds the reading, as the add button does (not the dialog's OK).
    if (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter) {
        BitBtn1Click();
        return true;
    }
    // The weight takes one decimal comma; "." typed is taken as one.
    if (gewichtFeld && (taste->text() == QLatin1String(".") || taste->text() == QLatin1String(","))) {
        QString ohneAuswahl = GewichtEdit->text();
        if (GewichtEdit->hasSelectedText())
            ohneAuswahl.remove(GewichtEdit->selectionStart(), GewichtEdit->selectedText().size());
        if (!ohneAuswahl.contains(QLatin1Char(','))) GewichtEdit->insert(QStringLiteral(","));
        return true;
    }
    const bool gesperrt = tasteGesperrt(taste, zeitFeld ? QLatin1Char(':') : QLatin1Char(','), true);
    if (!gesperrt && !zeitFeld && !gewichtFeld) {
        // The text this key makes is typing, put in form only when editing is done.
        m_tippen = true;
        QTimer::singleShot(0, this, [this] { m_tippen = false; });
    }
    return gesperrt;
}
