#include "entry/gui/ttoucheingabedlg.h"

#include "platform/dialoge.h"
#include "storage/monatstabelle.h"

#include <QKeyEvent>

namespace {

QFont verdana(int pixel, bool fett) {
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(pixel);
    f.setBold(fett);
    return f;
}

} // namespace

TTouchEingabeDlg::TTouchEingabeDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Eingabe"));

    Label1 = new QLabel(this);
    Label1->setFont(verdana(15, true));
    Label1->setGeometry(8, 36, 560, 22);

    GewichtLabel = new QLabel(QStringLiteral(" Ganze Kilo , Zehntel"), this);
    GewichtLabel->move(8, 26);
    GewichtLabel->adjustSize();
    const QFontMetrics fm(GewichtLabel->font());
    const QString text = GewichtLabel->text();
    auto unter = [&](const QString& wort) { return 8 + fm.horizontalAdvance(text.left(text.indexOf(wort))); };

    RadioButton1 = new QRadioButton(this);
    RadioButton2 = new QRadioButton(this);
    RadioButton3 = new QRadioButton(this);
    RadioButton1->setToolTip(QStringLiteral("Ganzzahl vor dem Komma"));
    RadioButton2->setToolTip(QStringLiteral("1.Stelle nach dem Komma"));
    RadioButton3->setToolTip(QStringLiteral("2.Stelle nach dem Komma"));
    RadioButton1->setChecked(true);
    RadioButton1->move(unter(QStringLiteral("Ganze")), 44);
    RadioButton2->move(unter(QStringLiteral("Kilo")), 44);
    RadioButton3->move(unter(QStringLiteral("Zehntel")), 44);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) {
        r->adjustSize();
        r->setToolTipDuration(10000);
    }
    KommaLabel = new QLabel(QStringLiteral(","), this);
    QFont komma = font();
    komma.setBold(true);
    KommaLabel->setFont(komma);
    KommaLabel->move(unter(QStringLiteral(",")), 44);
    KommaLabel->adjustSize();

    Edit1 = new QLineEdit(QStringLiteral("0"), this);
    Edit1->setFont(verdana(96, false));
    QPalette gruen = Edit1->palette();
    gruen.setColor(QPalette::Text, QColor(0, 128, 0));
    Edit1->setPalette(gruen);
    Edit1->setGeometry(8, 64, 300, 129);
    Edit1->installEventFilter(this);

    SpinButton1 = new AufAbSchalter(this);
    SpinButton1->setGeometry(316, 64, 131, 129);
    SpinButton1->setzePfeilGroesse(40);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setFont(verdana(19, true));
    Button1->setGeometry(455, 64, 113, 129);

    // The prompt names the field (set with it); the arrows and the step buttons say what they do.
    Edit1->setAccessibleName(QStringLiteral("Eingabe"));
    SpinButton1->auf->setAccessibleName(QStringLiteral("Wert erhöhen"));
    SpinButton1->ab->setAccessibleName(QStringLiteral("Wert verringern"));
    RadioButton1->setAccessibleName(QStringLiteral("In Schritten von 10 kg"));
    RadioButton2->setAccessibleName(QStringLiteral("In Schritten von 1 kg"));
    RadioButton3->setAccessibleName(QStringLiteral("In Schritten von 0,1 kg"));

    setFixedSize(576, 201);
    zeigeGewichtTeile(false);

    connect(Edit1, &QLineEdit::textChanged, this, &TTouchEingabeDlg::Edit1Change);
    connect(SpinButton1, &AufAbSchalter::aufGeklickt, this, &TTouchEingabeDlg::SpinButton1UpClick);
    connect(SpinButton1, &AufAbSchalter::abGeklickt, this, &TTouchEingabeDlg::SpinButton1DownClick);
    connect(Button1, &QPushButton::clicked, this, &TTouchEingabeDlg::Button1Click);
}

void TTouchEingabeDlg::setzeBezug(const Bezug& bezug) {
    m_bezug = bezug;
}

void TTouchEingabeDlg::zeigeGewichtTeile(bool sichtbar) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{GewichtLabel, KommaLabel, RadioButton1, RadioButton2, RadioButton3})
        w->setVisible(sichtbar);
}

void TTouchEingabeDlg::bearbeiteZahl(Ziel ziel, const QString& prompt, QSpinBox* feld) {
    zeigeGewichtTeile(false);
    Label1->move(Label1->x(), 36);
    m_ziel = ziel;
    m_zahlFeld = feld;
    m_gewichtFeld = nullptr;
    m_gewichtWert = nullptr;
    Label1->setText(prompt);
    Edit1->setAccessibleName(prompt);
    Edit1->setText(eingaberegeln::touchText(ziel, feld->value()));
    m_wert = feld->value();
}

void TTouchEingabeDlg::bearbeiteGewicht(QLineEdit* feld, double* gewichtWert) {
    m_ziel = Ziel::Gewicht;
    m_zahlFeld = nullptr;
    m_gewichtFeld = feld;
    m_gewichtWert = gewichtWert;
    zeigeGewichtTeile(true);
    Label1->move(Label1->x(), 4);
    Label1->setText(QStringLiteral("Geben Sie das Gewicht ein:"));
    Edit1->setAccessibleName(Label1->text());
    Edit1->setText(feld->text());
    Edit1Change(); // the same text as before still sets the weight value
}

void TTouchEingabeDlg::Edit1Change() {
    const QString normal = eingaberegeln::touchTextNormal(Edit1->text());
    if (normal != Edit1->text()) {
        Edit1->setText(normal); // runs this handler again with the normal text
        return;
    }
    if (m_ziel == Ziel::Gewicht) {
        // A text that is no number leaves the weight value as it was.
        if (const auto wert = eingaberegeln::liesGewicht(normal); wert && m_gewichtWert)
            *m_gewichtWert = *wert;
        return;
    }
    bool ok = false;
    const int wert = normal.toInt(&ok);
    if (ok) m_wert = wert;
}

double TTouchEingabeDlg::schrittweite() const {
    return eingaberegeln::gewichtsSchrittweite(RadioButton1->isChecked()   ? 1
                                               : RadioButton2->isChecked() ? 2
                                                                           : 3);
}

void TTouchEingabeDlg::schritt(bool hoch) {
    if (m_ziel == Ziel::Gewicht) {
        if (!m_gewichtWert) return;
        *m_gewichtWert = eingaberegeln::gewichtSchritt(*m_gewichtWert, schrittweite(), hoch);
        Edit1->setText(eingaberegeln::gewichtText(*m_gewichtWert));
        return;
    }
    if (m_ziel == Ziel::Keins) return;
    m_wert = eingaberegeln::touchSchritt(m_ziel, m_wert, hoch);
    Edit1->setText(eingaberegeln::touchText(m_ziel, m_wert));
}

void TTouchEingabeDlg::SpinButton1UpClick() {
    schritt(true);
}

void TTouchEingabeDlg::SpinButton1DownClick() {
    schritt(false);
}

void TTouchEingabeDlg::Button1Click() {
    const QString text = Edit1->text();
    if (m_ziel == Ziel::Gewicht) {
        // Only a number goes back; otherwise the window stays open for a correction.
        if (!eingaberegeln::liesGewicht(text)) {
            Dialoge::seam().warnung(monatstabelle::meldungKeineZahl(text, true));
            return;
        }
        if (m_gewichtFeld) m_gewichtFeld->setText(text);
    } else if (m_ziel != Ziel::Keins) {
        bool ok = false;
        const int wert = text.toInt(&ok);
        if (!ok) {
            Dialoge::seam().warnung(monatstabelle::meldungKeineZahl(text, false));
            return;
        }
        if (m_zahlFeld) m_zahlFeld->setValue(wert); // the field keeps to its own range
    }
    m_ziel = Ziel::Keins;
    accept();
}

void TTouchEingabeDlg::reject() {
    m_ziel = Ziel::Keins;
    QDialog::reject();
}

void TTouchEingabeDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormPaint();
}

void TTouchEingabeDlg::FormPaint() {
    if (!m_bezug.dialog || !m_bezug.listGroup) return;
    const QPoint gruppe = m_bezug.listGroup->mapToGlobal(QPoint(0, 0));
    if (m_bezug.dialog->isMaximized()) {
        int oben = gruppe.y();
        if (m_ziel == Ziel::Gewicht && m_bezug.gewichtFeld)
            oben = m_bezug.gewichtFeld->mapToGlobal(QPoint(0, m_bezug.gewichtFeld->height())).y() + 20;
        else if (m_bezug.liste)
            oben = m_bezug.liste->mapToGlobal(QPoint(0, 0)).y();
        move(gruppe.x(), oben);
    } else {
        move(gruppe.x() + m_bezug.listGroup->width() - frameGeometry().width(), y());
    }
}

bool TTouchEingabeDlg::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt != Edit1 || ereignis->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objekt, ereignis);
    return tasteGesperrt(static_cast<QKeyEvent*>(ereignis), QLatin1Char(','), false);
}
