#include "menus/gui/grossmenues.h"

#include "platform/dialoge.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kKnopfHoehe = 33;

QString blanks(int n) {
    return QString(n, u' ');
}

// The buttons of a second-level window stand centred in its group box.
QRect spalte(const QGroupBox* gruppe, int oben, int breite) {
    return {(gruppe->width() - breite) / 2, oben, breite, kKnopfHoehe};
}

} // namespace

// ---------------------------------------------------------------------------------------------

TMenueFenster::TMenueFenster(const char* name, const QString& titel, QSize innen, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QLatin1String(name));
    setWindowTitle(titel);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(innen); // a single-line border: not resizable
}

void TMenueFenster::zeigeMittig() {
    const bool schonOffen = isVisible();
    show();
    if (const QScreen* schirm = screen()) {
        const QRect rahmen = frameGeometry();
        const QPoint mitte = schirm->availableGeometry().center();
        move(mitte.x() - rahmen.width() / 2, mitte.y() - rahmen.height() / 2);
    }
    if (schonOffen) raise(); // one just shown is on top already
    activateWindow();
}

void TMenueFenster::keyPressEvent(QKeyEvent* ereignis) {
    if (ereignis->key() == Qt::Key_Escape && ereignis->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(ereignis);
}

QPushButton* TMenueFenster::knopf(const char* name, const QString& text, const QRect& ort, QWidget* eltern) {
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(QLatin1String(name));
    // A cell 19 pixels high, as the menus were drawn: 16 pixels for the letters themselves.
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(16);
    f.setBold(true);
    k->setFont(f);
    k->setGeometry(ort);
    k->setAutoDefault(false);
    return k;
}

QGroupBox* TMenueFenster::gruppe() {
    auto* g = new QGroupBox(this);
    g->setObjectName(QStringLiteral("GroupBox1"));
    g->setGeometry(8, 4, width() - 16, height() - 12);
    return g;
}

TMenueForm::TMenueForm(QWidget* parent) : TMenueFenster("MenueForm", QStringLiteral("Menü"), {589, 139}, parent) {
    Button1 = knopf("Button1", QStringLiteral("Datei"), {8, 16, 137, kKnopfHoehe}, this);
    Button2 = knopf("Button2", QStringLiteral("Einstellungen"), {152, 16, 137, kKnopfHoehe}, this);
    Button3 = knopf("Button3", QStringLiteral("Mittelwerte"), {296, 16, 137, kKnopfHoehe}, this);
    Button4 = knopf("Button4", QStringLiteral("Messwerte"), {440, 16, 137, kKnopfHoehe}, this);
    Button5 = knopf("Button5", QStringLiteral("Tabelle"), {152, 80, 137, kKnopfHoehe}, this);
    Button6 = knopf("Button6", QStringLiteral("Optionen"), {296, 80, 137, kKnopfHoehe}, this);
    Button7 = knopf("Button7", QStringLiteral("Hilfe"), {440, 80, 137, kKnopfHoehe}, this);
}

TMDateiForm::TMDateiForm(QWidget* parent)
    : TMenueFenster("MDateiForm", QStringLiteral("Datei-Menü"), {554, 453}, parent) {
    GroupBox1 = gruppe();
    auto k = [this](const char* name, const QString& text, int oben) {
        return knopf(name, text, spalte(GroupBox1, oben, 473), GroupBox1);
    };
    Button9 = k("Button9", QStringLiteral("Neu erstellen (neuer Monat oder Jahr)"), 17);
    Button1 = k("Button1", QStringLiteral("Datei öffnen "), 59);
    Button8 = k("Button8", QStringLiteral("Grafik im Browser anzeigen"), 98);
    Button2 = k("Button2", QStringLiteral("Grafik speichern als  Bilddatei (.jpg)") + blanks(19), 147);
    Button3 = k("Button3", QStringLiteral("Grafik plus Tabelle speichern als Bilddatei (.jpg)"), 187);
    Button4 = k("Button4", QStringLiteral("Grafik speichern als PDF-Datei") + blanks(27), 226);
    Button5 = k("Button5", QStringLiteral("Tabelle speichern als  PDF-Datei") + blanks(23), 266);
    Button6 = k("Button6", QStringLiteral("Grafik und Tabelle speichern als PDF-Datei") + blanks(7), 303);
    Button10 = k("Button10", QStringLiteral("Auswertung für einen Zeitraum"), 345);
    Button7 = k("Button7", QStringLiteral("Be&enden"), 385);
}

TMMDateiForm::TMMDateiForm(QWidget* parent)
    : TMenueFenster("MMDateiForm", QStringLiteral("Datei-Öffnen-Menü"), {443, 221}, parent) {
    GroupBox1 = gruppe();
    auto k = [this](const char* name, const QString& text, int oben) {
        return knopf(name, text, spalte(GroupBox1, oben, 377), GroupBox1);
    };
    Button1 = k("Button1", QStringLiteral("Datei öffnen und als Grafik anzeigen"), 16);
    Button2 = k("Button2", QStringLiteral("Datei öffnen und Tabelle anzeigen") + blanks(3), 80);
    Button3 = k("Button3", QStringLiteral("Datei öffnen und Tabelle bearbeiten") + blanks(1), 136);
}

TMTabelleForm::TMTabelleForm(QWidget* parent)
    : TMenueFenster("MTabelleForm", QStringLiteral("Tabelle-Menü"), {444, 218}, parent) {
    GroupBox1 = gruppe();
    auto k = [this](const char* name, const QString& text, int oben) {
        return knopf(name, text, spalte(GroupBox1, oben, 377), GroupBox1);
    };
    Button1 = k("Button1", QStringLiteral("Aktuelle Tabelle anzeigen"), 16);
    Button2 = k("Button2", QStringLiteral("Aktuelle Tabelle bearbeiten"), 64);
    Button3 = k("Button3", QStringLiteral("Neue Tabelle erstellen (neuer Monat)"), 144);
}

TMOptionenForm::TMOptionenForm(QWidget* parent)
    : TMenueFenster("MOptionenForm", QStringLiteral("Optionen-Menü"), {439, 134}, parent) {
    GroupBox1 = gruppe();
    Button1 = knopf("Button1", QStringLiteral("Benutzername ändern"), spalte(GroupBox1, 32, 377), GroupBox1);
}

TMHilfeForm::TMHilfeForm(QWidget* parent)
    : TMenueFenster("MHilfeForm", QStringLiteral("Hilfe-Menü"), {441, 192}, parent) {
    GroupBox1 = gruppe();
    Button1 = knopf("Button1", QStringLiteral("Hilfethemen"), spalte(GroupBox1, 32, 377), GroupBox1);
    Button2 = knopf("Button2", QStringLiteral("Info über.."), spalte(GroupBox1, 96, 377), GroupBox1);
}

// ---------------------------------------------------------------------------------------------

TGrossMenues::TGrossMenues(QWidget* fenster)
    : QObject(fenster), MenueForm(new TMenueForm(fenster)), MDateiForm(new TMDateiForm(fenster)),
      MMDateiForm(new TMMDateiForm(fenster)), MTabelleForm(new TMTabelleForm(fenster)),
      MOptionenForm(new TMOptionenForm(fenster)), MHilfeForm(new TMHilfeForm(fenster)) {
    zeigt(MenueForm->Button1, MDateiForm);
    zeigt(MenueForm->Button5, MTabelleForm);
    zeigt(MenueForm->Button6, MOptionenForm);
    zeigt(MenueForm->Button7, MHilfeForm);
    zeigt(MDateiForm->Button1, MMDateiForm);
}

QList<TMenueFenster*> TGrossMenues::fenster() const {
    return {MenueForm, MDateiForm, MMDateiForm, MTabelleForm, MOptionenForm, MHilfeForm};
}

void TGrossMenues::alleSchliessen() {
    for (TMenueFenster* f : fenster())
        f->close();
}

void TGrossMenues::zeigt(QPushButton* knopf, TMenueFenster* ziel) {
    m_art.insert(knopf, Art::Zeigen);
    connect(knopf, &QPushButton::clicked, ziel, &TMenueFenster::zeigeMittig);
}

void TGrossMenues::verbinde(const std::function<QAction*(const QString&)>& befehl) {
    const struct {
        QPushButton* knopf;
        Art art;
        const char* befehl;
    } knoepfe[] = {
        {MenueForm->Button2, Art::MenueSchliessen, "Einstellungen1"},
        {MenueForm->Button3, Art::MenueSchliessen, "Mittelwerte1"},
        {MenueForm->Button4, Art::MenueSchliessen, "Messwerte1"},
        {MDateiForm->Button9, Art::Offen, "Neu1"},
        {MDateiForm->Button8, Art::Offen, "DiagrammimBrowseranzeigen"},
        {MDateiForm->Button2, Art::AlleSchliessen, "GrafikspeichernalsBilddatei"},
        {MDateiForm->Button3, Art::AlleSchliessen, "GrafikplusTabellespeichernalsBilddatei"},
        {MDateiForm->Button4, Art::AlleSchliessen, "GrafikSpeichernAlsPdfDatei"},
        {MDateiForm->Button5, Art::AlleSchliessen, "TabelleSpeichernAlsPDFDatei"},
        {MDateiForm->Button6, Art::AlleSchliessen, "GrafikUndTabelleSpeichernAlsPDFDatei"},
        {MDateiForm->Button10, Art::AlleSchliessen, "AuswertungZeitraum1"},
        {MDateiForm->Button7, Art::AlleSchliessen, "beenden1"},
        {MMDateiForm->Button1, Art::AlleSchliessen, "OeffnenUndalsGrafikAnzeigen"},
        {MMDateiForm->Button2, Art::AlleSchliessen, "OffnenUndTabelleAnzeigen"},
        {MMDateiForm->Button3, Art::AlleSchliessen, "OeffnenUndTabelleBearbeiten"},
        {MTabelleForm->Button1, Art::AlleSchliessen, "anzeigen1"},
        {MTabelleForm->Button2, Art::AlleSchliessen, "aktuellebearbeiten1"},
        {MTabelleForm->Button3, Art::Fragen, "neuerstellen1"},
        {MOptionenForm->Button1, Art::AlleSchliessen, "Benutzernamendern1"},
        {MHilfeForm->Button1, Art::AlleSchliessen, "Hilfethemen1"},
        {MHilfeForm->Button2, Art::AlleSchliessen, "Infober1"},
    };
    for (const auto& k : knoepfe) {
        QAction* aktion = befehl(QLatin1String(k.befehl));
        m_art.insert(k.knopf, k.art);
        if (!aktion) { // no such command: the button cannot do anything
            k.knopf->setEnabled(false);
            continue;
        }
        m_befehl.insert(k.knopf, aktion);
        k.knopf->setEnabled(aktion->isEnabled());
        connect(aktion, &QAction::enabledChanged, k.knopf, &QWidget::setEnabled);
        connect(k.knopf, &QPushButton::clicked, this,
                [this, art = k.art, aktion] { fuehrtAus(art, aktion); });
    }
}

void TGrossMenues::fuehrtAus(Art art, QAction* aktion) {
    switch (art) {
    case Art::Zeigen:
        return;
    case Art::MenueSchliessen:
        MenueForm->close();
        break;
    case Art::Offen:
        break;
    case Art::AlleSchliessen:
        alleSchliessen();
        break;
    case Art::Fragen:
        if (!Dialoge::seam().frage(QStringLiteral("Sie möchten einen neue Tabelle erstellen?"))) return;
        alleSchliessen();
        break;
    }
    aktion->trigger();
}
