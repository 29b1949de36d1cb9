#include "settings/gui/teinstelldlg.h"

#include "chart/tmonatsgrafik.h"
#include "platform/dialoge.h"
#include "storage/registry.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kSymbolSeite = 40;

void faerbe(QLabel* label, const QColor& farbe) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, farbe);
    label->setPalette(p);
}

QLabel* farbLabel(const QString& text, QWidget* eltern) {
    auto* label = new QLabel(text, eltern);
    QFont f = label->font();
    f.setBold(true); // thin strokes would hide a light colour
    label->setFont(f);
    return label;
}

// Theme icon names tried for a browser word when the installed browser brings none.
QStringList themaNamen(const QString& schluessel) {
    if (schluessel == QLatin1String("standard"))
        return {QStringLiteral("web-browser"), QStringLiteral("internet-web-browser")};
    if (schluessel == QLatin1String("edge")) return {QStringLiteral("microsoft-edge")};
    if (schluessel == QLatin1String("chrome"))
        return {QStringLiteral("google-chrome"), QStringLiteral("chromium"), QStringLiteral("chromium-browser")};
    if (schluessel == QLatin1String("opera")) return {QStringLiteral("opera")};
    if (schluessel == QLatin1String("firefox")) return {QStringLiteral("firefox"), QStringLiteral("firefox-esr")};
    return {};
}

// A round symbol with the browser's letter, for a desktop whose theme has no picture of it.
QPixmap gezeichnetesSymbol(const QString& schluessel) {
    struct Art {
        const char* wort;
        QRgb farbe;
        const char* zeichen;
    };
    static const Art arten[] = {{"standard", 0x2a6ebb, ""},        {"internet explorer", 0x1ebbee, "e"},
                                {"edge", 0x0078d7, "e"},           {"chrome", 0xdb4437, "C"},
                                {"opera", 0xff1b2d, "O"},          {"safari", 0x1a8cff, "S"},
                                {"firefox", 0xff7139, "F"}};
    Art art = arten[0];
    for (const Art& a : arten)
        if (schluessel == QLatin1String(a.wort)) art = a;

    QPixmap bild(kSymbolSeite, kSymbolSeite);
    bild.fill(Qt::transparent);
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF kreis(3, 3, kSymbolSeite - 6, kSymbolSeite - 6);
    p.setPen(QPen(QColor::fromRgb(art.farbe).darker(130), 2));
    p.setBrush(QColor::fromRgb(art.farbe));
    p.drawEllipse(kreis);
    p.setPen(QPen(Qt::white, 2));
    if (*art.zeichen == '\0') { // the default browser: a globe
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(kreis.adjusted(9, 1, -9, -1));
        p.drawLine(QPointF(kreis.left() + 1, kreis.center().y()), QPointF(kreis.right() - 1, kreis.center().y()));
        p.drawLine(QPointF(kreis.center().x(), kreis.top() + 1), QPointF(kreis.center().x(), kreis.bottom() - 1));
    } else {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(22);
        f.setBold(true);
        p.setFont(f);
        p.drawText(kreis, Qt::AlignCenter, QString::fromLatin1(art.zeichen));
    }
    return bild;
}

QPixmap leeresSymbol() {
    QPixmap bild(kSymbolSeite, kSymbolSeite);
    bild.fill(Qt::transparent);
    return bild;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TBrowserSymbol::TBrowserSymbol(QWidget* parent) : QLabel(parent) {
    setFixedSize(kSymbolSeite, kSymbolSeite);
    setAlignment(Qt::AlignCenter);
}

void TBrowserSymbol::setzeBild(const QPixmap& bild, const QString& hinweis) {
    setPixmap(bild);
    setToolTip(hinweis);
    setCursor(hinweis.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void TBrowserSymbol::mouseReleaseEvent(QMouseEvent* ereignis) {
    QLabel::mouseReleaseEvent(ereignis);
    if (ereignis->button() == Qt::LeftButton && rect().contains(ereignis->position().toPoint()) && aktiv())
        Q_EMIT geklickt();
}

// ---------------------------------------------------------------------------------------------

TEinstellDlg::TEinstellDlg(Zustand& zustand, TMonatsGrafik& g, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      z(zustand), grafik(g) {
    setObjectName(QStringLiteral("EinstellDlg"));
    setWindowTitle(QStringLiteral("Einstellungen"));

    auto aendern = [this] { return new QPushButton(QStringLiteral("Ändern"), this); };

    Label6 = new QLabel(QStringLiteral("Breite der Grafik-Linien"), this);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setRange(TMonatsGrafik::kStiftBreiteMin, TMonatsGrafik::kStiftBreiteMax);
    SpinEdit1->setValue(TMonatsGrafik::kStiftBreiteVorgabe);
    Label6->setBuddy(SpinEdit1);

    Label1 = farbLabel(QStringLiteral("Farbe der Messkurve - systolisch"), this);
    Button1 = aendern();
    Label2 = farbLabel(QStringLiteral("Farbe der Messkurve - diastolisch"), this);
    Button2 = aendern();
    Label3 = farbLabel(QStringLiteral("Farbe der Messkurve - Puls"), this);
    Button3 = aendern();
    Label5 = farbLabel(QStringLiteral("Farbe des Mittelwertes - Pulsdruck"), this);
    Button5 = aendern();
    Label4 = farbLabel(QStringLiteral("Farbe der Messkurve - Gewicht"), this);
    Button4 = aendern();

    GewichtCheckBox = new QCheckBox(QStringLiteral("Farbkurve Gewicht anzeigen"), this);
    BemerkungenCheckBox = new QCheckBox(QStringLiteral("Bemerkung anzeigen"), this);

    Label7 = new QLabel(QStringLiteral("Beim Liniendiagramm im Browser:"), this);
    QFont fett = Label7->font();
    fett.setBold(true);
    Label7->setFont(fett);
    LinieUnterbrechenCheckBox = new QCheckBox(QStringLiteral("Ist Mittelwert = 0 dann Linie unterbrechen."), this);
    WerteOberhalbKurveAnzeigenCheckBox = new QCheckBox(QStringLiteral("Die Datenwerte anzeigen"), this);
    Label8 = farbLabel(QStringLiteral("Farbe der Datenwerte"), this);
    Button6 = aendern();

    BrowserGroupBox = new QGroupBox(QStringLiteral("Browser"), this);
    Label9 = new QLabel(QStringLiteral("Diese Browser sind auf Ihrem PC installiert:"), BrowserGroupBox);
    Label10 = new QLabel(QStringLiteral("Symbol anklicken für Browser Auswahl."), BrowserGroupBox);
    Label11 = new QLabel(QStringLiteral("Ihre Browser Standardeinstellung wird NICHT geändert."), BrowserGroupBox);
    standard_Image = new TBrowserSymbol(BrowserGroupBox);
    ie_Image = new TBrowserSymbol(BrowserGroupBox);
    edge_Image = new TBrowserSymbol(BrowserGroupBox);
    chrome_Image = new TBrowserSymbol(BrowserGroupBox);
    opera_Image = new TBrowserSymbol(BrowserGroupBox);
    safari_Image = new TBrowserSymbol(BrowserGroupBox);
    firefox_Image = new TBrowserSymbol(BrowserGroupBox);
    Label12 = new QLabel(QStringLiteral("Dieser Browser zeigt aktuell die Suchergebnisse an:"), BrowserGroupBox);
    AktuellerBrowser_Image = new QLabel(BrowserGroupBox);
    AktuellerBrowser_Image->setFixedSize(kSymbolSeite, kSymbolSeite);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setDefault(true);
    AbbruchButton = new QPushButton(QStringLiteral("&Abbruch"), this);

    // Layout, top to bottom in the order above.
    auto* raster = new QGridLayout;
    raster->setColumnStretch(0, 1);
    raster->setHorizontalSpacing(16);
    int zeile = 0;
    raster->addWidget(Label6, zeile, 0);
    raster->addWidget(SpinEdit1, zeile++, 1);
    for (const auto& [label, knopf] : {std::pair{Label1, Button1}, {Label2, Button2}, {Label3, Button3},
                                       {Label5, Button5}, {Label4, Button4}}) {
        raster->addWidget(label, zeile, 0);
        raster->addWidget(knopf, zeile++, 1);
    }
    // Six buttons say "Ändern": a screen reader names the colour each changes.
    for (const auto& [label, knopf] : {std::pair{Label1, Button1},
                                       {Label2, Button2},
                                       {Label3, Button3},
                                       {Label5, Button5},
                                       {Label4, Button4},
                                       {Label8, Button6}})
        knopf->setAccessibleName(label->text() + QStringLiteral(" ändern"));
    raster->setRowMinimumHeight(zeile++, 6);
    raster->addWidget(GewichtCheckBox, zeile++, 0, 1, 2);
    raster->addWidget(BemerkungenCheckBox, zeile++, 0, 1, 2);
    raster->setRowMinimumHeight(zeile++, 6);
    raster->addWidget(Label7, zeile++, 0, 1, 2);
    raster->addWidget(LinieUnterbrechenCheckBox, zeile++, 0, 1, 2);
    raster->addWidget(WerteOberhalbKurveAnzeigenCheckBox, zeile++, 0, 1, 2);
    raster->addWidget(Label8, zeile, 0);
    raster->addWidget(Button6, zeile++, 1);

    auto* symbole = new QHBoxLayout;
    symbole->setSpacing(6);
    for (TBrowserSymbol* s : {standard_Image, ie_Image, edge_Image, chrome_Image, opera_Image, safari_Image,
                              firefox_Image})
        symbole->addWidget(s);
    symbole->addStretch(1);
    auto* aktuell = new QHBoxLayout;
    aktuell->addWidget(Label12);
    aktuell->addWidget(AktuellerBrowser_Image);
    aktuell->addStretch(1);
    auto* gruppe = new QVBoxLayout(BrowserGroupBox);
    gruppe->addWidget(Label9);
    gruppe->addWidget(Label10);
    gruppe->addWidget(Label11);
    gruppe->addLayout(symbole);
    gruppe->addLayout(aktuell);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(OKBtn);
    knoepfe->addWidget(AbbruchButton);

    auto* haupt = new QVBoxLayout(this);
    haupt->addLayout(raster);
    haupt->addSpacing(8);
    haupt->addWidget(BrowserGroupBox);
    haupt->addSpacing(4);
    haupt->addLayout(knoepfe);
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TEinstellDlg::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TEinstellDlg::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TEinstellDlg::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TEinstellDlg::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TEinstellDlg::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TEinstellDlg::Button6Click);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TEinstellDlg::SpinEdit1Change);
    // clicked, not toggled: only the user's click stores, not the first paint's setting.
    connect(GewichtCheckBox, &QCheckBox::clicked, this, &TEinstellDlg::GewichtCheckBoxClick);
    connect(BemerkungenCheckBox, &QCheckBox::clicked, this, &TEinstellDlg::BemerkungenCheckBoxClick);
    connect(LinieUnterbrechenCheckBox, &QCheckBox::clicked, this, &TEinstellDlg::LinieUnterbrechenCheckBoxClick);
    connect(WerteOberhalbKurveAnzeigenCheckBox, &QCheckBox::clicked, this,
            &TEinstellDlg::WerteOberhalbKurveAnzeigenCheckBoxClick);
    for (const QString& wort : browserwahl::schluessel()) {
        TBrowserSymbol* s = symbol(wort);
        connect(s, &TBrowserSymbol::geklickt, this, [this, wort] { BrowserSymbolClick(wort); });
    }
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(AbbruchButton, &QPushButton::clicked, this, &QDialog::reject);

    faerbe(Label8, TMonatsGrafik::farbeAusText(QString::number(z.datenwerteOberhalbFarbe)));
    setzeBrowser({});
    FormPaint();
}

TBrowserSymbol* TEinstellDlg::symbol(const QString& schluessel) const {
    const QList<TBrowserSymbol*> symbole{standard_Image, ie_Image,     edge_Image,   chrome_Image,
                                         opera_Image,    safari_Image, firefox_Image};
    return symbole.value(browserwahl::schluessel().indexOf(schluessel));
}

// --- the main window's first paint

void TEinstellDlg::uebernehmeEinstellungen() {
    z.werteOberhalbKurveAnzeigen =
        Lies_Integer_aus_Registry_mit_Vorgabe(QStringLiteral("WerteOberhalbKurveAnzeigen")).startsWith(u'1');
    WerteOberhalbKurveAnzeigenCheckBox->setChecked(z.werteOberhalbKurveAnzeigen);
    const QColor daten = TMonatsGrafik::liesFarbe(QStringLiteral("DatenwerteOberhalbFarbe"));
    z.datenwerteOberhalbFarbe = TMonatsGrafik::farbeAlsText(daten).toInt();
    faerbe(Label8, daten);
    {
        // Shown, not stored: a width that is no number stays in the store until the user changes it.
        const QSignalBlocker still(SpinEdit1);
        SpinEdit1->setValue(TMonatsGrafik::liesStiftBreite());
    }
    z.linieBeiNullUnterbrechen =
        Lies_Integer_aus_Registry_mit_Vorgabe(QStringLiteral("LinieBeiNullUnterbrechen")).startsWith(u'1');
    LinieUnterbrechenCheckBox->setChecked(z.linieBeiNullUnterbrechen);
    zeigeAktuellenBrowser();
}

void TEinstellDlg::zeigeSichtbarkeit(bool gewicht, bool bemerkungen) {
    GewichtCheckBox->setChecked(gewicht);
    BemerkungenCheckBox->setChecked(bemerkungen);
}

void TEinstellDlg::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    FormPaint();
}

void TEinstellDlg::FormPaint() {
    faerbe(Label1, grafik.farbeSys);
    faerbe(Label2, grafik.farbeDia);
    faerbe(Label3, grafik.farbePuls);
    faerbe(Label4, grafik.farbeGewicht);
    faerbe(Label5, grafik.farbePulsdruck);
}

// --- colours and width

void TEinstellDlg::farbeAendern(QColor& farbe, const char* einstellung, QLabel* label) {
    if (const std::optional<QRgb> gewaehlt = Dialoge::seam().farbe(farbe.rgb()))
        farbe = QColor::fromRgb(*gewaehlt);
    // Cancelled too: the colour in memory is what the store holds from now on.
    Schreib_String_in_Registry(QLatin1String(einstellung), TMonatsGrafik::farbeAlsText(farbe));
    faerbe(label, farbe);
}

void TEinstellDlg::Button1Click() {
    farbeAendern(grafik.farbeSys, "SystolischKurvenFarbe", Label1);
    Q_EMIT grafikZeigen();
}

void TEinstellDlg::Button2Click() {
    farbeAendern(grafik.farbeDia, "DiastolischKurvenFarbe", Label2);
    Q_EMIT grafikZeigen();
}

void TEinstellDlg::Button3Click() {
    farbeAendern(grafik.farbePuls, "PulsKurvenFarbe", Label3);
    Q_EMIT grafikZeigen();
}

void TEinstellDlg::Button4Click() {
    farbeAendern(grafik.farbeGewicht, "GewichtsKurvenFarbe", Label4);
    Q_EMIT grafikZeigen();
}

void TEinstellDlg::Button5Click() {
    farbeAendern(grafik.farbePulsdruck, "PulsdruckFarbe", Label5);
    Q_EMIT grafikZeigen();
}

void TEinstellDlg::Button6Click() {
    // The colour of the values on the browser page: nothing in the chart changes.
    QColor farbe = TMonatsGrafik::farbeAusText(QString::number(z.datenwerteOberhalbFarbe));
    farbeAendern(farbe, "DatenwerteOberhalbFarbe", Label8);
    z.datenwerteOberhalbFarbe = TMonatsGrafik::farbeAlsText(farbe).toInt();
}

void TEinstellDlg::SpinEdit1Change(int breite) {
    Schreib_Integer_in_Registry(QStringLiteral("StiftBreite"), QString::number(breite));
    // Fresh templates: lines drawn in the old width must not show under the new ones.
    grafik.ladeVorlagen();
    Q_EMIT grafikZeigen();
}

// --- what the main window shows

void TEinstellDlg::GewichtCheckBoxClick() {
    const bool an = GewichtCheckBox->isChecked();
    Schreib_Integer_in_Registry(QStringLiteral("FarbkurveGewichtAnzeigen"), an ? QStringLiteral("1") : QStringLiteral("0"));
    Q_EMIT gewichtUmgeschaltet(an);
}

void TEinstellDlg::BemerkungenCheckBoxClick() {
    const bool an = BemerkungenCheckBox->isChecked();
    Schreib_Integer_in_Registry(QStringLiteral("BemerkungenAnzeigen"), an ? QStringLiteral("1") : QStringLiteral("0"));
    Q_EMIT bemerkungenUmgeschaltet(an);
}

// --- the browser page

void TEinstellDlg::LinieUnterbrechenCheckBoxClick() {
    z.linieBeiNullUnterbrechen = LinieUnterbrechenCheckBox->isChecked();
    Schreib_Integer_in_Registry(QStringLiteral("LinieBeiNullUnterbrechen"),
                                z.linieBeiNullUnterbrechen ? QStringLiteral("1") : QStringLiteral("0"));
}

void TEinstellDlg::WerteOberhalbKurveAnzeigenCheckBoxClick() {
    z.werteOberhalbKurveAnzeigen = WerteOberhalbKurveAnzeigenCheckBox->isChecked();
    Schreib_Integer_in_Registry(QStringLiteral("WerteOberhalbKurveAnzeigen"),
                                z.werteOberhalbKurveAnzeigen ? QStringLiteral("1") : QStringLiteral("0"));
}

// --- browsers

QPixmap TEinstellDlg::symbolBild(const QString& schluessel) const {
    QIcon bild;
    for (const BrowserEintrag& e : m_browser) {
        if (e.schluessel != schluessel || e.symbol.isEmpty()) continue;
        if (QFileInfo(e.symbol).isAbsolute())
            bild = QFileInfo(e.symbol).isFile() ? QIcon(e.symbol) : QIcon();
        else
            bild = QIcon::fromTheme(e.symbol);
        break;
    }
    for (const QString& name : themaNamen(schluessel))
        if (bild.isNull()) bild = QIcon::fromTheme(name);
    const QPixmap gemalt = bild.isNull() ? QPixmap() : bild.pixmap(kSymbolSeite, kSymbolSeite);
    return gemalt.isNull() ? gezeichnetesSymbol(schluessel) : gemalt;
}

void TEinstellDlg::setzeBrowser(const QList<BrowserEintrag>& browser) {
    m_browser = browser;
    for (const QString& wort : browserwahl::schluessel()) {
        bool da = wort == QLatin1String("standard"); // the default browser is always there
        for (const BrowserEintrag& e : browser)
            da = da || e.schluessel == wort;
        TBrowserSymbol* s = symbol(wort);
        s->setzeBild(da ? symbolBild(wort) : leeresSymbol(), da ? browserName(wort) : QString());
        s->setAccessibleName(da ? browserName(wort) : QStringLiteral("Kein Browser"));
    }
    zeigeAktuellenBrowser();
}

QString TEinstellDlg::browserName(const QString& schluessel) const {
    for (const BrowserEintrag& e : m_browser)
        if (e.schluessel == schluessel && !e.name.isEmpty()) return e.name;
    return browserwahl::hinweis(schluessel);
}

void TEinstellDlg::zeigeAktuellenBrowser() {
    zeigeBrowserImEinsatz(
        browserwahl::imEinsatz(Lies_String_aus_Registry_mit_Vorgabe(QStringLiteral("Browser"))));
}

void TEinstellDlg::zeigeBrowserImEinsatz(const QString& schluessel) {
    m_aktuellerBrowser = schluessel;
    AktuellerBrowser_Image->setPixmap(symbolBild(schluessel));
    AktuellerBrowser_Image->setToolTip(browserName(schluessel));
    AktuellerBrowser_Image->setAccessibleName(QStringLiteral("Browser im Einsatz: ") +
                                              browserName(schluessel));
}

void TEinstellDlg::BrowserSymbolClick(const QString& schluessel) {
    if (!symbol(schluessel)->aktiv()) return;
    Schreib_String_in_Registry(QStringLiteral("Browser"), schluessel);
    zeigeBrowserImEinsatz(schluessel);
}
