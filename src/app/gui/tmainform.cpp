#include "app/gui/tmainform.h"

#include "app/gui/taboutbox.h"

#include "chart/tmachpause.h"
#include "chart/tmonatsgrafik.h"
#include "entry/csvimport.h"
#include "export/bericht/gui/tauswertungdlg.h"
#include "export/html/browserstart.h"
#include "export/html/htmlexport.h"
#include "platform/datei.h"
#include "platform/dialoge.h"
#include "platform/gui/rollbalken.h"
#include "platform/gui/touch.h"
#include "platform/shell.h"
#include "platform/uhr.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"

#include "entry/gui/teingabedlg.h"
#include "entry/gui/tform_uhrzeitdropdownmemo.h"
#include "entry/gui/tnameeingdlg.h"
#include "export/image/gui/tbildexport.h"
#include "export/pdf/gui/tpdfexport.h"
#include "menus/gui/grossmenues.h"
#include "settings/gui/teinstelldlg.h"
#include "table/gui/ttabellendlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGestureEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QPanGesture>
#include <QPinchGesture>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int kHoehe = 795;           // window height (frame included) with weight chart and remarks
constexpr int kHoeheOhneBeides = 549; // neither of them
constexpr int kBildBreite = 570;
constexpr int kBildHoehe = 464;
constexpr int kFensterBreite = 574; // the chart plus the scroll box frame
constexpr int kBemerkungHoehe = 76;
constexpr int kTitelOben = 44;
const QColor kUeberschriftFarbe(223, 223, 223); // 14671839

const QString kHilfeDatei = QStringLiteral("Korvane-Hilfe.pdf");

QFont fett(const char* familie, int punkte) {
    QFont f(QString::fromLatin1(familie), punkte);
    f.setBold(true);
    return f;
}

QLabel* ueberschrift(const QString& text, const QFont& schrift, QWidget* eltern) {
    auto* label = new QLabel(text, eltern);
    label->setFont(schrift);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, kUeberschriftFarbe);
    p.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(p);
    label->adjustSize();
    return label;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TBild::TBild(const QImage* bild, bool gestreckt, QWidget* parent)
    : QWidget(parent), m_bild(bild), m_gestreckt(gestreckt) {
    if (!gestreckt) setAttribute(Qt::WA_TranslucentBackground);
}

void TBild::paintEvent(QPaintEvent*) {
    if (!m_bild || m_bild->isNull()) return;
    QPainter maler(this);
    if (m_gestreckt)
        maler.drawImage(rect(), *m_bild);
    else
        maler.drawImage(0, 0, *m_bild); // the title: its own size, the chart shows around the text
}

// ---------------------------------------------------------------------------------------------

TmainForm::TmainForm(Zustand& zustand, QWidget* parent)
    : QMainWindow(parent), z(zustand), Grafik(new TMonatsGrafik(zustand, this)) {
    setObjectName(QStringLiteral("mainForm"));
    setWindowTitle(QStringLiteral("Korvanemesswerte -  "));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);

    MachPause1 = new TMachPause(this);
    MachPause1->setObjectName(QStringLiteral("MachPause1"));
    MachPause1->setInterval(1000);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TmainForm::Timer1Timer);

    TabellenAnzeigeTimer = new QTimer(this);
    TabellenAnzeigeTimer->setObjectName(QStringLiteral("TabellenAnzeigeTimer"));
    TabellenAnzeigeTimer->setInterval(500);
    connect(TabellenAnzeigeTimer, &QTimer::timeout, this, &TmainForm::TabellenAnzeigeTimerTimer);

    m_groessenKorrektur = new QTimer(this);
    m_groessenKorrektur->setSingleShot(true);
    m_groessenKorrektur->setInterval(100);
    connect(m_groessenKorrektur, &QTimer::timeout, this, [this] { setzeNormalGroesse(); });

    baueFlaeche();
    baueMenues();

    connect(Grafik, &TMonatsGrafik::gezeichnet, this, &TmainForm::bilderAktualisieren);
    connect(Grafik, &TMonatsGrafik::bemerkungenGeladen, this, [this](const QString& text, bool bearbeitbar) {
        m_bemerkungenWerdenGesetzt = true;
        RichEdit1->setPlainText(text);
        // A remarks file that could not be read is not to be written over from an empty box.
        RichEdit1->setReadOnly(!bearbeitbar);
        m_bemerkungenWerdenGesetzt = false;
    });
    // Queued: the drawing that failed must be over before the open dialog comes.
    connect(
        Grafik, &TMonatsGrafik::lesefehler, this,
        [this](const QString&) {
            OeffnenUndTabelleBearbeitenClick();
            FormResize();
        },
        Qt::QueuedConnection);
    connect(Grafik, &TMonatsGrafik::jahrFeldGesetzt, this, [this](const QString& jahr) {
        if (EingabeDlg) EingabeDlg->setzeJahrFeld(jahr);
    });

    resize(kFensterBreite, kHoehe);
    Timer1->start();
}

TmainForm::~TmainForm() = default;

void TmainForm::baueFlaeche() {
    auto* zentral = new QWidget(this);
    auto* spalte = new QVBoxLayout(zentral);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->setSpacing(0);

    ScrollBox1 = new QScrollArea(zentral);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAccessibleName(QStringLiteral("Grafik des Monats"));
    ScrollBox1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ScrollBox1->setLineWidth(2);
    ScrollBox1->setWidgetResizable(false);
    m_inhalt = new QWidget;
    m_inhalt->setObjectName(QStringLiteral("ScrollBox1Inhalt"));
    m_inhalt->setAutoFillBackground(true);
    ScrollBox1->setWidget(m_inhalt);
    rollbalken::deutlich(ScrollBox1);

    Image = new TBild(&grafik().Image, true, m_inhalt);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setAccessibleName(QStringLiteral("Blutdruckgrafik"));
    Image->setGeometry(0, 0, kBildBreite, kBildHoehe);

    Image3 = new TBild(&grafik().Image3, false, m_inhalt);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->move(0, kTitelOben);

    Label1 = new QLabel(m_inhalt);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();

    GewichtImage = new TBild(&grafik().GewichtImage, true, m_inhalt);
    GewichtImage->setObjectName(QStringLiteral("GewichtImage"));
    GewichtImage->setGeometry(0, kBildHoehe + 20, kBildBreite, 136);
    GewichtImage->hide();

    GewichtLabel = ueberschrift(QStringLiteral("Gewichtsverlauf"), fett("Verdana", 10), m_inhalt);
    GewichtLabel->setObjectName(QStringLiteral("GewichtLabel"));
    GewichtLabel->hide();

    BemerkungLabel = ueberschrift(QStringLiteral("Bemerkungen"), fett("Arial", 10), m_inhalt);
    BemerkungLabel->setObjectName(QStringLiteral("BemerkungLabel"));

    RichEdit1 = new QPlainTextEdit(m_inhalt);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    QFont bemerkungSchrift(QStringLiteral("Arial"));
    bemerkungSchrift.setPixelSize(13);
    bemerkungSchrift.setBold(true);
    RichEdit1->setFont(bemerkungSchrift);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setTabChangesFocus(false);
    RichEdit1->setContextMenuPolicy(Qt::NoContextMenu);
    RichEdit1->setGeometry(0, kBildHoehe + 20, kBildBreite, kBemerkungHoehe);
    RichEdit1->setAccessibleName(QStringLiteral("Bemerkungen"));
    connect(RichEdit1, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_bemerkungenWerdenGesetzt) grafik().setzeBemerkungen(RichEdit1->toPlainText());
    });

    Panel1 = new QFrame(zentral);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    static_cast<QFrame*>(Panel1)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(24);
    Image2 = new TBild(&grafik().Image2, true, Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(0, 1, kBildBreite, 22);

    spalte->addWidget(ScrollBox1, 1);
    spalte->addWidget(Panel1);
    setCentralWidget(zentral);

    ScrollBox1->viewport()->installEventFilter(this);
    ScrollBox1->viewport()->grabGesture(Qt::PinchGesture);
    ScrollBox1->viewport()->grabGesture(Qt::PanGesture);
    // Wheel turns anywhere on the chart or the legend scroll the box; the remarks scroll themselves.
    for (QWidget* w : std::initializer_list<QWidget*>{Image, Image3, GewichtImage, Panel1, Image2})
        w->installEventFilter(this);
    RichEdit1->viewport()->installEventFilter(this);
    inhaltsGroesseAnpassen();
}

void TmainForm::baueMenues() {
    QMenuBar* MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    auto untermenue = [](QWidget* eltern, const char* name, const QString& text) {
        QMenu* menue = nullptr;
        if (auto* leiste = qobject_cast<QMenuBar*>(eltern))
            menue = leiste->addMenu(text);
        else
            menue = static_cast<QMenu*>(eltern)->addMenu(text);
        menue->setObjectName(QLatin1String(name));
        menue->menuAction()->setObjectName(QLatin1String(name));
        return menue;
    };
    // Commands whose work is not built yet stay disabled.
    auto eintrag = [](QWidget* menue, const char* name, const QString& text, bool aktiv = true) {
        auto* aktion = new QAction(text, menue);
        aktion->setObjectName(QLatin1String(name));
        aktion->setEnabled(aktiv);
        menue->addAction(aktion);
        return aktion;
    };
    auto trenner = [&](QWidget* menue, const char* name, const QString& text) {
        eintrag(menue, name, text, false);
    };

    QMenu* Datei = untermenue(MainMenu1, "Datei", QStringLiteral("Datei"));
    Neu1 = eintrag(Datei, "Neu1", QStringLiteral("Neu erstellen (neuer Monat oder Jahr)"));
    QMenu* Oeffnen = untermenue(Datei, "Oeffnen", QStringLiteral("Öffnen"));
    OeffnenUndalsGrafikAnzeigen =
        eintrag(Oeffnen, "OeffnenUndalsGrafikAnzeigen", QStringLiteral("und als Grafik anzeigen"));
    OffnenUndTabelleAnzeigen =
        eintrag(Oeffnen, "OffnenUndTabelleAnzeigen", QStringLiteral("und Tabelle anzeigen"));
    OeffnenUndTabelleBearbeiten =
        eintrag(Oeffnen, "OeffnenUndTabelleBearbeiten", QStringLiteral("und Tabelle bearbeiten"));
    trenner(Datei, "N7", QStringLiteral("      "));
    DiagrammimBrowseranzeigen =
        eintrag(Datei, "DiagrammimBrowseranzeigen", QStringLiteral("Grafik im Browser anzeigen"));
    trenner(Datei, "N4", QStringLiteral("  "));
    GrafikspeichernalsBilddatei = eintrag(Datei, "GrafikspeichernalsBilddatei",
                                          QStringLiteral("Grafik speichern als  Bilddatei (.jpg)"));
    GrafikplusTabellespeichernalsBilddatei =
        eintrag(Datei, "GrafikplusTabellespeichernalsBilddatei",
                QStringLiteral("Grafik plus Tabelle speichern als Bilddatei (.jpg)"));
    trenner(Datei, "N2", QStringLiteral(" "));
    GrafikSpeichernAlsPdfDatei = eintrag(Datei, "GrafikSpeichernAlsPdfDatei",
                                         QStringLiteral("&Grafik speichern als PDF-Datei"));
    TabelleSpeichernAlsPDFDatei = eintrag(Datei, "TabelleSpeichernAlsPDFDatei",
                                          QStringLiteral("&Tabelle speichern als  PDF-Datei"));
    GrafikUndTabelleSpeichernAlsPDFDatei =
        eintrag(Datei, "GrafikUndTabelleSpeichernAlsPDFDatei",
                QStringLiteral("Grafik &und Tabelle speichern als PDF-Datei"));
    trenner(Datei, "N8", QStringLiteral(" "));
    AuswertungZeitraum1 =
        eintrag(Datei, "AuswertungZeitraum1", QStringLiteral("Aus&wertung für einen Zeitraum…"));
    MesswerteAlsCsvSpeichern1 =
        eintrag(Datei, "MesswerteAlsCsvSpeichern1", QStringLiteral("Messwerte als &CSV speichern…"));
    MesswerteAusCsvUebernehmen1 =
        eintrag(Datei, "MesswerteAusCsvUebernehmen1", QStringLiteral("Messwerte aus CSV ü&bernehmen…"));
    trenner(Datei, "N1", QStringLiteral("  "));
    beenden1 = eintrag(Datei, "beenden1", QStringLiteral("Be&enden"));

    // Never shown.
    QMenu* Drucken1 = untermenue(MainMenu1, "Drucken1", QStringLiteral("&Drucken"));
    Drucken1->menuAction()->setVisible(false);
    eintrag(Drucken1, "Grafikskaliertdrucken1", QStringLiteral("Grafik &skaliert drucken"), false);
    eintrag(Drucken1, "GrafikalsHardcopydrucken1",
            QStringLiteral("Grafik als Hardcopy drucken (für ältere Druckertreiber)"), false);
    eintrag(Drucken1, "Tabelledrucken1", QStringLiteral("&Tabelle drucken"), false);

    Einstellungen1 = eintrag(MainMenu1, "Einstellungen1", QStringLiteral("Einstellungen"));
    Mittelwerte1 = eintrag(MainMenu1, "Mittelwerte1", QStringLiteral("Mittelwerte"));
    Messwerte1 = eintrag(MainMenu1, "Messwerte1", QStringLiteral("Messwerte"));

    QMenu* Tabelle = untermenue(MainMenu1, "Tabelle", QStringLiteral("&Tabelle"));
    anzeigen1 = eintrag(Tabelle, "anzeigen1", QStringLiteral("&aktuelle anzeigen"));
    aktuellebearbeiten1 = eintrag(Tabelle, "aktuellebearbeiten1", QStringLiteral("aktuelle &bearbeiten"));
    trenner(Tabelle, "N3", QStringLiteral(" "));
    neuerstellen1 =
        eintrag(Tabelle, "neuerstellen1", QStringLiteral("&neu erstellen (neuer Monat oder Jahr)"));

    QMenu* Optionen1 = untermenue(MainMenu1, "Optionen1", QStringLiteral("&Optionen"));
    Benutzernamendern1 = eintrag(Optionen1, "Benutzernamendern1", QStringLiteral("&Benutzername ändern"));

    QMenu* Hilfe1 = untermenue(MainMenu1, "Hilfe1", QStringLiteral("&Hilfe"));
    Hilfethemen1 = eintrag(Hilfe1, "Hilfethemen1", QStringLiteral("&Hilfethemen"));
    Infober1 = eintrag(Hilfe1, "Infober1", QStringLiteral("&Info über..."));

    // The blank entries around the one entry run it too: a larger target for a finger.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* N5 = eintrag(PopupMenu1, "N5", QStringLiteral(" "));
    Menuegrosseranzeigen1 =
        eintrag(PopupMenu1, "Menuegrosseranzeigen1", QStringLiteral("Menüleiste GROß anzeigen"));
    QAction* N6 = eintrag(PopupMenu1, "N6", QStringLiteral(" "));
    for (QAction* a : {N5, Menuegrosseranzeigen1, N6})
        connect(a, &QAction::triggered, this, &TmainForm::Menuegrosseranzeigen1Click);

    connect(Neu1, &QAction::triggered, this, &TmainForm::neuerstellen1Click);
    connect(neuerstellen1, &QAction::triggered, this, &TmainForm::neuerstellen1Click);
    connect(OeffnenUndalsGrafikAnzeigen, &QAction::triggered, this,
            &TmainForm::OeffnenUndalsGrafikAnzeigenClick);
    connect(OeffnenUndTabelleBearbeiten, &QAction::triggered, this,
            &TmainForm::OeffnenUndTabelleBearbeitenClick);
    connect(aktuellebearbeiten1, &QAction::triggered, this, &TmainForm::aktuellebearbeiten1Click);
    connect(OffnenUndTabelleAnzeigen, &QAction::triggered, this, &TmainForm::OffnenUndTabelleAnzeigenClick);
    connect(anzeigen1, &QAction::triggered, this, &TmainForm::anzeigen1Click);
    connect(GrafikSpeichernAlsPdfDatei, &QAction::triggered, this, &TmainForm::GrafikSpeichernAlsPdfDateiClick);
    connect(TabelleSpeichernAlsPDFDatei, &QAction::triggered, this, &TmainForm::TabelleSpeichernAlsPDFDateiClick);
    connect(GrafikUndTabelleSpeichernAlsPDFDatei, &QAction::triggered, this,
            &TmainForm::GrafikUndTabelleSpeichernAlsPDFDateiClick);
    connect(GrafikspeichernalsBilddatei, &QAction::triggered, this,
            &TmainForm::GrafikspeichernalsBilddateiClick);
    connect(GrafikplusTabellespeichernalsBilddatei, &QAction::triggered, this,
            &TmainForm::GrafikplusTabellespeichernalsBilddateiClick);
    connect(DiagrammimBrowseranzeigen, &QAction::triggered, this, &TmainForm::DiagrammimBrowseranzeigenClick);
    connect(beenden1, &QAction::triggered, this, &QWidget::close);
    connect(AuswertungZeitraum1, &QAction::triggered, this, &TmainForm::AuswertungZeitraum1Click);
    connect(MesswerteAlsCsvSpeichern1, &QAction::triggered, this, &TmainForm::MesswerteAlsCsvSpeichern1Click);
    connect(MesswerteAusCsvUebernehmen1, &QAction::triggered, this, &TmainForm::MesswerteAusCsvUebernehmen1Click);
    connect(Mittelwerte1, &QAction::triggered, this, &TmainForm::Mittelwerte1Click);
    connect(Messwerte1, &QAction::triggered, this, &TmainForm::Messwerte1Click);
    connect(Benutzernamendern1, &QAction::triggered, this, &TmainForm::Benutzernamendern1Click);
    connect(Hilfethemen1, &QAction::triggered, this, &TmainForm::Hilfethemen1Click);
    connect(Infober1, &QAction::triggered, this, &TmainForm::Infober1Click);
    connect(Einstellungen1, &QAction::triggered, this, &TmainForm::Einstellungen1Click);

    // Switching to another program closes the large-button menus.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState zustand) {
        if (zustand == Qt::ApplicationInactive) AlleMenuesSchliessen();
    });
}

// ---------------------------------------------------------------------------------------------
// Creation and the other windows

bool TmainForm::FormCreate() {
    z.touchModus = touch::erkenne(z.touchModus);
    m_ersteZeichnungAusstehend = true;
    if (!start::richteEin(z)) return false;
    // The page's chart script; a data folder that cannot take it is named when a page needs it.
    htmlexport::sichereSkriptQuelle(z.datenOrdner);
    grafik().ladeVorlagen();
    grafik().ladeFarben();
    GewichtImage->resize(GewichtImage->width(), gewichtVorlageHoehe());
    bilderAktualisieren();
    return true;
}

void TmainForm::setzeFenster(TEingabeDlg* eingabe, TNameEingDlg* name, TForm_UhrzeitDropdownMemo* uhrzeit,
                             TTouchEingabeDlg* touchEingabe, TTabellenDlg* tabelle, TBildspeichernForm* bildspeichern,
                             TPatientenDatenInPDFform* patientendaten) {
    EingabeDlg = eingabe;
    NameEingDlg = name;
    UhrzeitDlg = uhrzeit;
    TouchEingabeDlg = touchEingabe;
    TabellenDlg = tabelle;
    BildExport = new TBildExport(z, grafik(), bildspeichern, this);
    BildExport->hauptfensterWiederherstellen = [this] {
        if (isMaximized()) showNormal();
    };
    BildExport->pause = [this](int ms) { MachPause1->Pause(ms); };
    BildExport->gewichtSichtbar = [this] { return m_gewichtSichtbar; };
    BildExport->bemerkungenSichtbar = [this] { return m_bemerkungenSichtbar; };
    PdfExport = new TPdfExport(z, grafik(), patientendaten, this);
    PdfExport->pause = BildExport->pause;
    PdfExport->gewichtSichtbar = BildExport->gewichtSichtbar;
    PdfExport->bemerkungenSichtbar = BildExport->bemerkungenSichtbar;
    if (TabellenDlg) {
        TabellenDlg->grafikPlusTabelleSpeichern = [this](const tabelle::Gitter& gitter) {
            BildExport->GrafikPlusTabelleSpeichern(gitter);
        };
        TabellenDlg->pdfSpeichern = [this](int art, const tabelle::Gitter& gitter) {
            PdfExport->exportieren(static_cast<pdfdokument::Art>(art), &gitter);
        };
        // Closing the table closes the entry dialog too, and the chart follows the data.
        connect(TabellenDlg, &TTabellenDlg::geschlossen, this, [this] {
            if (EingabeDlg && EingabeDlg->isVisible()) EingabeDlg->reject();
            grafikNeuZeichnen();
        });
    }
    if (EingabeDlg) {
        connect(EingabeDlg, &TEingabeDlg::grafikNeuZeichnen, this, &TmainForm::grafikNeuZeichnen);
        connect(EingabeDlg, &TEingabeDlg::tabelleZeigen, this, &TmainForm::tabelleVorbereiten);
        connect(EingabeDlg, &TEingabeDlg::hauptfensterAnpassen, this, [this] {
            FormResize();
            schreibeTitel();
        });
    }
    if (NameEingDlg) {
        connect(NameEingDlg, &TNameEingDlg::tabelleLaden, this,
                [this](const QString& pfad) { grafik().GrafikZeichnen(pfad); });
        connect(NameEingDlg, &TNameEingDlg::neuerMonatBeginnen, this, &TmainForm::neuerstellen1Click);
        // Before another user's month is begun, the remarks of the month shown are settled.
        NameEingDlg->vorDemNamenswechsel = [this] { return grafik().bemerkungenSichern(false); };
        connect(NameEingDlg, &TNameEingDlg::nameGeaendert, this, [this](const QString& neu, bool anderer) {
            z.benutzerName = neu;
            grafik().Label1 = QStringLiteral(" von ") + neu;
            Label1->setText(grafik().Label1);
            if (EingabeDlg) EingabeDlg->setzeListenTitel(QStringLiteral("Messwerte von ") + neu);
            if (anderer) benutzerGewechselt();
        });
        // "Abbrechen" ends the program: at a first start before anything is written, later with the
        // close steps, so the month in use and its remarks are kept.
        connect(NameEingDlg, &TNameEingDlg::programmBeenden, this, [this] {
            if (m_ersteZeichnungAusstehend) {
                sofortBeenden();
                return;
            }
            if (QThread::currentThread()->loopLevel() > 0) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
            else close();
        });
    }
}

void TmainForm::setzeWeitereFenster(TEinstellDlg* einstellungen, TGrossMenues* menues, TAboutBox* info,
                                    TAuswertungDlg* auswertung) {
    AuswertungDlg = auswertung;
    for (QAction* a : {AuswertungZeitraum1, MesswerteAlsCsvSpeichern1})
        a->setEnabled(AuswertungDlg != nullptr);
    EinstellDlg = einstellungen;
    GrossMenues = menues;
    AboutBox = info;
    if (EinstellDlg) {
        connect(EinstellDlg, &TEinstellDlg::grafikZeigen, this, &TmainForm::einstellungGeaendert);
        connect(EinstellDlg, &TEinstellDlg::gewichtUmgeschaltet, this, &TmainForm::gewichtUmschalten);
        connect(EinstellDlg, &TEinstellDlg::bemerkungenUmgeschaltet, this, &TmainForm::bemerkungenUmschalten);
    }
    if (GrossMenues)
        GrossMenues->verbinde([this](const QString& name) { return findChild<QAction*>(name); });
}

void TmainForm::benutzerGewechselt() {
    // Another user's month is no longer shown, nor remembered as the table in use: otherwise the
    // next start would draw it and take its owner's name back.
    grafik().leeren();
    z.TabellenDateiName.clear();
    Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), QString());
    z.ListBox1.clear();
    z.listenDatei.clear();
    z.letzteMesszeile.clear();
    const QDate heute = Uhr::heute();
    grafik().zeigeBemerkungen(monatstabelle::bemerkungsPfad(z, z.benutzerName,
                                                            QStringLiteral("%1").arg(heute.month(), 2, 10, QLatin1Char('0')),
                                                            QString::number(heute.year())));
    bilderAktualisieren();
}

void TmainForm::setzeStartTabelle(const QString& pfad) {
    m_startTabelle = pfad;
    if (!m_ersteZeichnungAusstehend && !pfad.isEmpty()) zeigeStartTabelle();
}

void TmainForm::zeigeStartTabelle() {
    // A table asked for by name is said to be missing, not silently passed over.
    QString meldung;
    if (datei::pruefe(m_startTabelle, datei::kGrenzeTabelle, &meldung) == datei::Fehler::Fehlt)
        Dialoge::seam().warnung(meldung);
    else
        zeigeTabelleAlsGrafik(m_startTabelle);
}

// ---------------------------------------------------------------------------------------------
// Paint

void TmainForm::showEvent(QShowEvent* ereignis) {
    QMainWindow::showEvent(ereignis);
    if (m_ersteZeichnungAusstehend && !m_ersteZeichnungEingereiht) {
        m_ersteZeichnungEingereiht = true;
        setzeNormalGroesse(true, true);
        // A window manager tells the frame only after the window is mapped; moveEvent() then
        // sizes it again. This catches one that does so without moving the client area.
        m_groessenKorrektur->start();
        // Not inside the paint itself: the first paint may show the user name dialog.
        QMetaObject::invokeMethod(this, &TmainForm::FormPaint, Qt::QueuedConnection);
    }
}

void TmainForm::FormPaint() {
    if (m_ersteZeichnungAusstehend && !m_ersteZeichnungLaeuft) {
        m_ersteZeichnungLaeuft = true;

        // 1. settings that concern the settings dialog, this window and the entry dialog
        if (EinstellDlg) EinstellDlg->uebernehmeEinstellungen();
        const QString gewicht = Lies_String_aus_Registry(QStringLiteral("Gewicht"));
        if (EingabeDlg && !gewicht.isEmpty()) EingabeDlg->setzeGewichtAusEinstellung(gewicht);
        auto schalter = [](const char* name, bool bisher) {
            const QString wert = Lies_Integer_aus_Registry_mit_Vorgabe(QLatin1String(name));
            return wert == QLatin1String("1") ? true : wert == QLatin1String("0") ? false : bisher;
        };
        // 2. to 4. weight chart, remarks, window height
        setzeSichtbarkeit(schalter("FarbkurveGewichtAnzeigen", m_gewichtSichtbar),
                          schalter("BemerkungenAnzeigen", m_bemerkungenSichtbar));
        if (EinstellDlg) EinstellDlg->zeigeSichtbarkeit(m_gewichtSichtbar, m_bemerkungenSichtbar);

        // 5. the month in use, or the user name dialog
        const QString name = Lies_String_aus_Registry(QStringLiteral("BenutzerName"));
        const QString nameFehler = monatstabelle::benutzerNameFehler(name);
        if (!nameFehler.isEmpty()) {
            // A name no table can be filed under is asked for again, never used for a path.
            Dialoge::seam().warnung(QStringLiteral("Der gespeicherte Benutzername kann nicht verwendet werden. ") +
                                    nameFehler);
            nameErfragen();
            if (m_beendet) return;
        } else if (!name.isEmpty()) {
            z.benutzerName = name;
            grafik().Label1 = QStringLiteral("von ") + name;
            Label1->setText(grafik().Label1);
            if (EingabeDlg) EingabeDlg->setzeListenTitel(QStringLiteral("Messwerte von ") + name);
            const QString pfad = start::tabelleInGebrauch(z);
            if (!pfad.isEmpty()) {
                // Kept even when the file is gone, so closing stores it back unchanged.
                z.TabellenDateiName = pfad;
                if (UhrzeitDlg && QFileInfo::exists(z.programmOrdner + QStringLiteral("Uhrzeiten.txt")))
                    UhrzeitDlg->ladeListe();
                grafik().GrafikZeichnen(pfad);
            }
        } else {
            nameErfragen();
            if (m_beendet) return;
        }

        // 6. scale, title, weight scale
        grafik().SchreibeZahlenInGrafikLinks();
        schreibeTitel();
        grafik().SchreibeZahlenInGewichtsGrafikLinks();
        m_ersteZeichnungAusstehend = false;
        m_ersteZeichnungLaeuft = false;
        bilderAktualisieren();
        if (!m_startTabelle.isEmpty()) zeigeStartTabelle();
    }
    // 7. and 8.
    if (!isMaximized()) setzeNormalGroesse(true);
    jahrOrdnerPruefen();
}

QString TmainForm::grafikBeschreibung() const {
    const TMonatsGrafik& g = *Grafik;
    // "Korvanemesswerte  März 2024  Anna" says "März 2024, Anna".
    QStringList teile = g.Label1.split(QStringLiteral("  "), Qt::SkipEmptyParts);
    for (QString& teil : teile)
        teil = teil.trimmed();
    teile.removeAll(QStringLiteral("Korvanemesswerte"));
    teile.removeAll(QString());
    QString text = teile.join(QStringLiteral(", "));
    const TMonatsGrafik::Mittelwerttexte& m = g.GrafikMittelTexte;
    if (!m.sys.isEmpty())
        text += QStringLiteral(". Mittelwerte: systolisch %1, diastolisch %2, Puls %3, Pulsdruck %4")
                    .arg(m.sys, m.dia, m.puls, m.pulsdruck);
    if (!g.hinweisText.isEmpty()) text += QStringLiteral(". ") + g.hinweisText;
    return text;
}

void TmainForm::bilderAktualisieren() {
    Label1->setText(grafik().Label1);
    // What the picture shows, for a screen reader.
    Image->setAccessibleDescription(grafikBeschreibung());
    Image3->resize(grafik().Image3.size());
    Image3->move(Image->x() + Image->width() / 2 - Image3->width() / 2, Image3->y());
    Image3->raise();
    for (TBild* bild : {Image, Image3, GewichtImage, Image2})
        bild->update();
    jahrOrdnerPruefen();
}

QString TmainForm::jahrAusTitel(const QString& titel, const QString& bisher) {
    const QString wort = QStringLiteral("Korvanemesswerte");
    QString text = titel;
    const qsizetype pos = text.indexOf(wort);
    if (pos >= 0) text.remove(pos, wort.size());
    text = text.trimmed();
    QString jahr = bisher;
    for (const char* anfang : {"199", "200", "201", "202", "203"}) {
        const qsizetype fund = text.indexOf(QLatin1String(anfang));
        if (fund >= 0) jahr = text.mid(fund, 4);
    }
    return jahr;
}

void TmainForm::jahrOrdnerPruefen() {
    if (m_ersteZeichnungAusstehend || z.tabellenOrdner.isEmpty()) return;
    // The month shown names its year folder; digits in a user's name never do.
    z.jahrOrdnerName = monatstabelle::istJahr(z.jahrText) ? z.jahrText : jahrAusTitel(Label1->text(), z.jahrOrdnerName);
    if (!monatstabelle::istJahr(z.jahrOrdnerName)) return; // only four digits name a folder
    if (z.jahrOrdnerName.isEmpty()) return;
    const QString ordner = z.jahrOrdner();
    // A folder that cannot be made is reported once, not at every redraw.
    if (QDir(ordner).exists() || m_jahrOrdnerFehlerGemeldet == ordner) return;
    if (!monatstabelle::legeJahrOrdnerAn(ordner, z.jahrOrdnerName)) m_jahrOrdnerFehlerGemeldet = ordner;
}

void TmainForm::schreibeTitel() {
    const bool maximiert = isMaximized();
    grafik().maximiert = maximiert;
    grafik().skalierung = maximiert ? double(Image->height()) / kBildHoehe : 1.0;
    grafik().SchreibeNameUndMonatInGrafik();
    Image3->resize(grafik().Image3.size());
    Image3->move(Image->pos() + grafik().titelPosition(Image->width()));
    GewichtLabel->setText(QStringLiteral("Gewichtsverlauf"));
    GewichtLabel->adjustSize();
    GewichtLabel->move(bildMitte() - GewichtLabel->width() / 2, GewichtLabel->y());
    bilderAktualisieren();
    emit titelGeschrieben();
}

// ---------------------------------------------------------------------------------------------
// Layout

int TmainForm::gewichtVorlageHoehe() const {
    const QImage& vorlage = Grafik->vorlageGewicht.isNull() ? Grafik->GewichtImage : Grafik->vorlageGewicht;
    return vorlage.isNull() ? 136 : vorlage.height();
}

int TmainForm::normalHoehe() const {
    if (m_gewichtSichtbar && m_bemerkungenSichtbar) return kHoehe;
    if (m_bemerkungenSichtbar) return kHoehe - gewichtVorlageHoehe() - 20;
    if (m_gewichtSichtbar) return kHoehe - 96;
    return kHoeheOhneBeides;
}

void TmainForm::zentriereLabel(QLabel* label, int oben) {
    label->adjustSize();
    label->move(bildMitte() - label->width() / 2, oben);
}

void TmainForm::setzeSichtbarkeit(bool gewichtAnzeigen, bool bemerkungenAnzeigen) {
    m_gewichtSichtbar = gewichtAnzeigen;
    m_bemerkungenSichtbar = bemerkungenAnzeigen;
    grafik().gewichtSichtbar = gewichtAnzeigen;
    const int unterBild = Image->y() + Image->height() + 20;

    if (gewichtAnzeigen) {
        GewichtImage->move(Image->x(), unterBild);
        GewichtImage->show();
        zentriereLabel(GewichtLabel, GewichtImage->y() - (isMaximized() ? 20 : 18));
        GewichtLabel->show();
    } else {
        GewichtImage->hide();
        GewichtLabel->hide();
    }

    bemerkungenPlatzieren();
    RichEdit1->setVisible(bemerkungenAnzeigen);
    BemerkungLabel->setVisible(bemerkungenAnzeigen);
    inhaltsGroesseAnpassen(); // first: the normal size depends on it
    setzeNormalGroesse();
}

void TmainForm::bemerkungenPlatzieren() {
    // Below the weight chart when it shows, else below the chart; as wide as the chart, so in a
    // maximised window too they lie in the scroll box and are reached by scrolling.
    const QWidget* darueber = m_gewichtSichtbar ? GewichtImage : Image;
    const int oben = darueber->y() + darueber->height() + 20;
    int breite = Image->width();
    // Maximised, the box always scrolls down to them: no wider than what its scroll bar leaves.
    if (isMaximized())
        breite = qMin(breite, ScrollBox1->width() - 2 * ScrollBox1->frameWidth() -
                                  ScrollBox1->verticalScrollBar()->sizeHint().width());
    RichEdit1->setGeometry(Image->x(), oben, breite, kBemerkungHoehe);
    zentriereLabel(BemerkungLabel, oben - 17);
}

TmainForm::Normallage TmainForm::normalLage(int hoehe, int bedarf, const QMargins& rahmen, const QRect& frei,
                                            int leiste, const QPoint& bisher, bool waagrechtMittig) {
    const int rahmenBreite = rahmen.left() + rahmen.right();
    const int rahmenHoehe = rahmen.top() + rahmen.bottom();
    if (!frei.isValid()) return {QSize(kFensterBreite, hoehe - rahmenHoehe), bisher};

    // The design height is the whole window; a smaller screen gets a smaller one that scrolls.
    const int aussenHoehe = qMin(hoehe, frei.height());
    const int innenHoehe = aussenHoehe - rahmenHoehe;
    // A vertical scroll bar takes its width from the viewport; the window grows by it so the
    // chart still fits across and no horizontal bar appears.
    const int innenBreite =
        qMin(kFensterBreite + (innenHoehe < bedarf ? leiste : 0), frei.width() - rahmenBreite);
    const int aussenBreite = innenBreite + rahmenBreite;

    int x = waagrechtMittig ? frei.left() + (frei.width() - aussenBreite) / 2 : bisher.x();
    x = qMax(frei.left(), qMin(x, frei.right() + 1 - aussenBreite));
    // Centred in the free area: the title bar never above it, the bottom never below it.
    const int y = frei.top() + (frei.height() - aussenHoehe) / 2;
    return {QSize(innenBreite, innenHoehe), QPoint(x, y)};
}

QMargins TmainForm::rahmen() const {
    // Only a shown window has a frame; without a window manager it stays 0.
    if (!isVisible()) return {};
    const QRect aussen = frameGeometry();
    const QRect innen = geometry();
    return {innen.left() - aussen.left(), innen.top() - aussen.top(), aussen.right() - innen.right(),
            aussen.bottom() - innen.bottom()};
}

int TmainForm::inhaltsBedarf() const {
    // Laid out only once shown; until then the content counts as fitting.
    if (!isVisible()) return 0;
    // Everything of the client area that is not the scroll box's viewport (menu bar, legend
    // strip, the scroll box's frame), plus the chart's content.
    return height() - ScrollBox1->height() + 2 * ScrollBox1->frameWidth() + m_inhalt->height();
}

TmainForm::Normallage TmainForm::sollLage(bool waagrechtMittig) const {
    const QScreen* schirm = screen();
    const QRect frei = schirm ? schirm->availableGeometry() : QRect();
    return normalLage(normalHoehe(), inhaltsBedarf(), rahmen(), frei,
                      ScrollBox1->verticalScrollBar()->sizeHint().width(), pos(), waagrechtMittig);
}

void TmainForm::setzeNormalGroesse(bool platzieren, bool waagrechtMittig) {
    if (isMaximized() || isMinimized() || isFullScreen()) return;
    const QMargins r = rahmen();
    // The first frame a window manager reports places the window anew.
    const bool rahmenNeu = r != m_rahmen;
    m_rahmen = r;
    const Normallage soll = sollLage(waagrechtMittig || rahmenNeu);
    const bool neueGroesse = size() != soll.innen;
    if (neueGroesse) {
        m_groesseWirdGesetzt = true;
        resize(soll.innen);
        m_groesseWirdGesetzt = false;
    }
    if (isVisible() && (neueGroesse || platzieren || rahmenNeu) && pos() != soll.position)
        move(soll.position);
}

void TmainForm::moveEvent(QMoveEvent* ereignis) {
    QMainWindow::moveEvent(ereignis);
    if (rahmen() != m_rahmen && !isMaximized()) m_groessenKorrektur->start();
}

int TmainForm::bildMitte() const {
    return Image->x() + Image->width() / 2;
}

void TmainForm::inhaltsGroesseAnpassen() {
    // As wide as the chart: a label or title left where the maximised window had it must not
    // widen the content and bring a horizontal scroll bar.
    int unten = 0;
    for (QWidget* kind : m_inhalt->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!kind->isHidden()) unten = qMax(unten, kind->geometry().bottom() + 1);
    m_inhalt->resize(Image->x() + Image->width(), unten);
}

void TmainForm::resizeEvent(QResizeEvent* ereignis) {
    QMainWindow::resizeEvent(ereignis);
    if (!m_groesseWirdGesetzt) FormResize();
}

void TmainForm::changeEvent(QEvent* ereignis) {
    QMainWindow::changeEvent(ereignis);
    if (ereignis->type() == QEvent::WindowStateChange) FormResize();
}

void TmainForm::FormResize() {
    if (!m_inhalt) return;
    const int gewichtHoehe = gewichtVorlageHoehe();
    if (isMaximized()) {
        // Below a chart of the box's height the weight chart and the remarks need the vertical
        // scroll bar: the charts leave room for it, so no horizontal bar appears.
        const int leiste = m_gewichtSichtbar || m_bemerkungenSichtbar
                               ? ScrollBox1->verticalScrollBar()->sizeHint().width() + 2 * ScrollBox1->frameWidth()
                               : 0;
        const int breite = ScrollBox1->width() - 4 - leiste;
        Image->setGeometry(Image->x(), Image->y(), breite, ScrollBox1->height() - 24);
        GewichtImage->setGeometry(Image->x(), Image->y() + Image->height() + 20, Image->width(),
                                  gewichtHoehe + 58);
        Image2->resize(ScrollBox1->width() - 4, Image2->height());
        if (m_gewichtSichtbar) {
            GewichtLabel->setFont(fett("Verdana", 12));
            zentriereLabel(GewichtLabel, GewichtImage->y() - 20);
        }
        bemerkungenPlatzieren();
        grafik().skalierung = double(Image->height()) / kBildHoehe;
    } else if (!isMinimized()) {
        Image->setGeometry(Image->x(), Image->y(), kBildBreite, kBildHoehe);
        GewichtImage->setGeometry(Image->x(), Image->y() + Image->height() + 20, Image->width(),
                                  gewichtHoehe);
        Image2->resize(Image->width(), Image2->height());
        if (m_gewichtSichtbar) {
            GewichtLabel->setFont(fett("Verdana", 10));
            zentriereLabel(GewichtLabel, GewichtImage->y() - 18);
        }
        bemerkungenPlatzieren();
        grafik().skalierung = 1.0;
        inhaltsGroesseAnpassen();
        // Not resizable by dragging: a normal window returns to its size. A little later, since a
        // window manager may report the new size of a maximised window before its new state.
        if (size() != sollLage(false).innen) m_groessenKorrektur->start();
    }
    inhaltsGroesseAnpassen();
    Timer1->start();
}

void TmainForm::Timer1Timer() {
    if (!isMaximized()) {
        Image->resize(kBildBreite, Image->height());
        GewichtImage->resize(kBildBreite, GewichtImage->height());
    }
    schreibeTitel();
    if (++m_timer1Ticks >= 2) {
        Timer1->stop();
        m_timer1Ticks = 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse, wheel, gestures

bool TmainForm::eventFilter(QObject* objekt, QEvent* ereignis) {
    switch (ereignis->type()) {
    case QEvent::Wheel:
        if (objekt == ScrollBox1->viewport() || objekt == Image || objekt == Image3 ||
            objekt == GewichtImage || objekt == Panel1 || objekt == Image2) {
            ScrollBox1MouseWheel(static_cast<QWheelEvent*>(ereignis)->angleDelta().y());
            return true;
        }
        break;
    case QEvent::MouseButtonPress: {
        auto* maus = static_cast<QMouseEvent*>(ereignis);
        if (maus->button() != Qt::RightButton) break;
        if (objekt == Image && maus->globalPosition().y() <= 120) break;
        if (objekt == Image || objekt == GewichtImage || objekt == RichEdit1->viewport()) {
            PopupMenu1->popup(maus->globalPosition().toPoint());
            return true;
        }
        break;
    }
    case QEvent::Gesture:
        if (objekt == ScrollBox1->viewport()) return gesteBehandeln(static_cast<QGestureEvent*>(ereignis));
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

void TmainForm::wheelEvent(QWheelEvent* ereignis) {
    ScrollBox1MouseWheel(ereignis->angleDelta().y());
    ereignis->accept();
}

void TmainForm::ScrollBox1MouseWheel(int delta) {
    if (isMaximized()) {
        const QScreen* schirm = screen();
        const bool quer = !schirm || schirm->size().width() >= schirm->size().height();
        Image3->move(Image3->x(), Image->y() + (quer ? 70 : 120));
    }
    QScrollBar* leiste = ScrollBox1->verticalScrollBar();
    leiste->setValue(leiste->value() - delta / 3);
}

bool TmainForm::gesteBehandeln(QGestureEvent* ereignis) {
    if (QGesture* geste = ereignis->gesture(Qt::PinchGesture)) {
        pinchSchritt(geste->state());
        ereignis->accept(geste);
    }
    if (QGesture* geste = ereignis->gesture(Qt::PanGesture)) {
        panSchritt(geste->state(), static_cast<QPanGesture*>(geste)->delta().y());
        ereignis->accept(geste);
    }
    return true;
}

void TmainForm::pinchSchritt(Qt::GestureState zustand) {
    if (zustand == Qt::GestureStarted) {
        m_zoomUmgeschaltet = false;
        return;
    }
    // Once per pinch: toggling at every update would leave the window in a random state.
    if (zustand != Qt::GestureUpdated || m_zoomUmgeschaltet) return;
    m_zoomUmgeschaltet = true;
    MachPause1->Pause(200);
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void TmainForm::panSchritt(Qt::GestureState zustand, qreal deltaY) {
    if (zustand != Qt::GestureUpdated) return;
    QScrollBar* leiste = ScrollBox1->verticalScrollBar();
    leiste->setValue(leiste->value() - qRound(deltaY));
}

// ---------------------------------------------------------------------------------------------
// Commands

void TmainForm::neuerstellen1Click() {
    if (!grafik().bemerkungenSichern(false)) return;
    grafik().GrafikVorlageLaden();
    bilderAktualisieren();
    // The dialog empties its list and the month value lists itself.
    if (EingabeDlg) EingabeDlg->neuerMonat();
}

void TmainForm::OeffnenUndalsGrafikAnzeigenClick() {
    const QString pfad =
        Dialoge::seam().dateiOeffnen(QStringLiteral("Öffnen"), z.tabellenOrdner,
                                     QStringLiteral("Korvanetabellen (*.tab);;Alle Dateien (*)"));
    if (!pfad.isEmpty()) zeigeTabelleAlsGrafik(pfad);
}

void TmainForm::zeigeTabelleAlsGrafik(const QString& pfad) {
    // The drawing settles the remarks and replaces pictures, lists and means only once the table
    // has been read whole; a refused table leaves the month shown as it was.
    if (grafik().GrafikZeichnen(pfad) && EingabeDlg && EingabeDlg->GewichtInfoLabel)
        EingabeDlg->GewichtInfoLabel->clear();
    bilderAktualisieren();
    FormResize();
}

void TmainForm::OeffnenUndTabelleBearbeitenClick() {
    const QString pfad =
        Dialoge::seam().dateiOeffnen(QStringLiteral("Öffnen"), z.tabellenOrdner,
                                     QStringLiteral("Korvanetabellen (*.tab);;Alle Dateien (*)"));
    if (pfad.isEmpty()) return;
    if (!grafik().bemerkungenSichern(false)) return;
    grafik().MonatsMittelGewicht = 0;
    // The chart changes when the dialog closes: OK draws what was written, Escape the table.
    if (EingabeDlg) EingabeDlg->tabelleBearbeiten(pfad, false);
    FormResize();
}

void TmainForm::OffnenUndTabelleAnzeigenClick() {
    if (EingabeDlg) EingabeDlg->tabelleSofortZeigen();
    OeffnenUndTabelleBearbeitenClick();
}

void TmainForm::tabelleVorbereiten() {
    if (!TabellenDlg) return;
    TabellenDlg->setWindowTitle(Label1->text());
    TabellenDlg->ErstelleTabelle(z.ListBox1);
    TabellenAnzeigeTimer->start();
}

void TmainForm::anzeigen1Click() {
    if (isMaximized()) showNormal();
    MachPause1->Pause(100);
    tabelleVorbereiten();
}

void TmainForm::TabellenAnzeigeTimerTimer() {
    TabellenAnzeigeTimer->stop();
    if (TabellenDlg && !TabellenDlg->isVisible()) Dialoge::seam().modal(TabellenDlg);
}

void TmainForm::GrafikspeichernalsBilddateiClick() {
    if (BildExport) BildExport->GrafikspeichernalsBilddateiClick();
}

void TmainForm::GrafikplusTabellespeichernalsBilddateiClick() {
    if (!BildExport || !TabellenDlg) return;
    if (isMaximized()) showNormal();
    MachPause1->Pause(100);
    BildExport->GrafikPlusTabelleLaeuft = true;
    if (!BildExport->GrafikspeichernalsBilddateiClick()) return;
    MachPause1->Pause(1000);
    // The table window runs its own command once it is shown.
    TabellenDlg->OffenBilddatei = true;
    anzeigen1Click();
}

void TmainForm::GrafikSpeichernAlsPdfDateiClick() {
    if (!PdfExport) return;
    if (isMaximized()) showNormal();
    MachPause1->Pause(100);
    PdfExport->exportieren(pdfdokument::Art::NurGrafik, nullptr);
}

void TmainForm::TabelleSpeichernAlsPDFDateiClick() {
    if (!TabellenDlg) return;
    TabellenDlg->OffenTabellePdf = true;
    anzeigen1Click();
}

void TmainForm::GrafikUndTabelleSpeichernAlsPDFDateiClick() {
    if (!TabellenDlg) return;
    TabellenDlg->OffenGrafikUndTabellePdf = true;
    anzeigen1Click();
}

void TmainForm::aktuellebearbeiten1Click() {
    if (EingabeDlg) EingabeDlg->aktuelleBearbeiten();
}

void TmainForm::grafikNeuZeichnen() {
    grafik().GrafikZeichnen(z.TabellenDateiName);
    bilderAktualisieren();
}

void TmainForm::grafikZeigenLassen() {
    if (EingabeDlg) {
        EingabeDlg->GrafikZeigen();
        return;
    }
    grafikNeuZeichnen();
}

void TmainForm::Messwerte1Click() {
    grafik().GewichtVorlageLaden();
    if (!m_mittelwerteLaeuft) grafik().ueberlagerung = false;
    grafik().MittelwertModus = false;
    grafikZeigenLassen();
    schreibeTitel();
}

void TmainForm::Mittelwerte1Click() {
    if (grafik().AnzeigeWerteSys.size() < 2) {
        Dialoge::seam().information(
            QStringLiteral("Um die Mittelwerte anzuzeigen müssen Sie noch ein paar Daten eingeben!"));
        return;
    }
    grafik().GewichtsListe.clear();
    grafik().GrafikVorlageLaden();
    grafik().ueberlagerung = true;
    m_mittelwerteLaeuft = true;
    Messwerte1Click();
    grafik().MittelwertModus = true;
    grafikZeigenLassen();
    grafik().MittelwertModus = false;
    m_mittelwerteLaeuft = false;
    grafik().ueberlagerung = false;
    schreibeTitel();
}

void TmainForm::AuswertungZeitraum1Click() {
    if (AuswertungDlg) AuswertungDlg->zeigen();
}

void TmainForm::MesswerteAlsCsvSpeichern1Click() {
    if (AuswertungDlg) AuswertungDlg->CsvBtnClick(); // the period chosen in the report dialog
}

void TmainForm::MesswerteAusCsvUebernehmen1Click() {
    Dialoge& dialoge = Dialoge::seam();
    const QString datei = dialoge.dateiOeffnen(QStringLiteral("Messwerte aus CSV übernehmen"), z.programmOrdner,
                                               QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)"));
    if (datei.isEmpty()) return;
    const csvimport::Ergebnis probe = csvimport::importiere(z, datei, true);
    if (!probe.ok) {
        dialoge.warnung(probe.meldung);
        return;
    }
    if (probe.neu == 0) {
        dialoge.information(csvimport::zusammenfassung(probe) + u'.');
        return;
    }
    if (!dialoge.frage(QStringLiteral("Aus \"%1\": %2. Möchten Sie die Messwerte übernehmen?")
                           .arg(datei, csvimport::zusammenfassung(probe).replace(QStringLiteral("übernommen"),
                                                                                  QStringLiteral("zu übernehmen")))))
        return;
    const csvimport::Ergebnis e = csvimport::importiere(z, datei, false);
    // The month shown is read again before anything else can write it from a list without them.
    if (e.geschrieben.contains(z.TabellenDateiName)) zeigeTabelleAlsGrafik(z.TabellenDateiName);
    if (e.ok)
        dialoge.information(csvimport::zusammenfassung(e) + u'.');
    else
        dialoge.warnung(e.meldung);
}

void TmainForm::DiagrammimBrowseranzeigenClick() {
    const QString seite = htmlexport::DiagrammimBrowseranzeigen(z, grafik());
    if (!seite.isEmpty()) browserstart::oeffne(seite);
}

void TmainForm::Benutzernamendern1Click() {
    nameErfragen();
}

void TmainForm::nameErfragen() {
    if (NameEingDlg) Dialoge::seam().modal(NameEingDlg);
}

void TmainForm::Hilfethemen1Click() {
    QString pfad = z.programmOrdner + kHilfeDatei;
    if (!QFileInfo::exists(pfad)) {
        // The copy built into the program, put where the desktop can open it.
        QFile eingebaut(QStringLiteral(":/hilfe/") + kHilfeDatei);
        if (!eingebaut.open(QIODevice::ReadOnly)) {
            Dialoge::seam().warnung(QStringLiteral("Die Hilfedatei \"") + kHilfeDatei +
                                    QStringLiteral("\" ist nicht vorhanden."));
            return;
        }
        const QString ordner = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        pfad = ordner + QLatin1Char('/') + kHilfeDatei;
        QSaveFile kopie(pfad);
        if (!QDir().mkpath(ordner) || !kopie.open(QIODevice::WriteOnly) ||
            kopie.write(eingebaut.readAll()) < 0 || !kopie.commit()) {
            Dialoge::seam().warnung(QStringLiteral("Die Hilfedatei konnte nicht nach \"") + pfad +
                                    QStringLiteral("\" geschrieben werden."));
            return;
        }
    }
    shell::oeffneDokument(pfad, [pfad](const QString& grund) {
        Dialoge::seam().warnung(
            QStringLiteral("Die Hilfedatei \"%1\" konnte nicht geöffnet werden. %2").arg(pfad, grund));
    });
}

void TmainForm::Infober1Click() {
    if (AboutBox) Dialoge::seam().modal(AboutBox);
}

void TmainForm::Einstellungen1Click() {
    if (isMaximized()) showNormal();
    MachPause1->Pause(100);
    if (EinstellDlg) Dialoge::seam().modal(EinstellDlg);
}

void TmainForm::Menuegrosseranzeigen1Click() {
    AlleMenuesSchliessen();
    if (GrossMenues) GrossMenues->MenueForm->zeigeMittig();
}

void TmainForm::AlleMenuesSchliessen() {
    if (GrossMenues) GrossMenues->alleSchliessen();
}

void TmainForm::einstellungGeaendert() {
    // Without a month the redraw draws nothing: the freshly loaded templates keep their scales.
    grafik().SchreibeZahlenInGrafikLinks();
    grafik().SchreibeZahlenInGewichtsGrafikLinks();
    grafikZeigenLassen();
    schreibeTitel();
}

void TmainForm::gewichtUmschalten(bool anzeigen) {
    setzeSichtbarkeit(anzeigen, m_bemerkungenSichtbar);
    Messwerte1Click();
    StelleMainformHoeheEin();
}

void TmainForm::bemerkungenUmschalten(bool anzeigen) {
    setzeSichtbarkeit(m_gewichtSichtbar, anzeigen);
    StelleMainformHoeheEin();
}

void TmainForm::StelleMainformHoeheEin() {
    setzeNormalGroesse();
    if (m_bemerkungenSichtbar) zentriereLabel(BemerkungLabel, RichEdit1->y() - 15);
}

// ---------------------------------------------------------------------------------------------
// Closing

void TmainForm::closeEvent(QCloseEvent* ereignis) {
    // Remarks that could not be saved are not dropped, nor changed, without the user's word.
    if (!m_beendet && !grafik().bemerkungenSichern(true)) {
        ereignis->ignore();
        return;
    }
    beenden();
    Timer1->stop();
    ereignis->accept();
}

void TmainForm::beenden() {
    if (m_beendet) return;
    m_beendet = true;
    // Before the first paint has settled the table in use, the stored one stays as it is.
    if (!m_ersteZeichnungAusstehend || !z.TabellenDateiName.isEmpty())
        Schreib_String_in_Registry(QStringLiteral("TabellenDateiName"), z.TabellenDateiName);
    if (grafik().bemerkungenGeaendert) grafik().bemerkungenOhneFrageSichern();
}

void TmainForm::sofortBeenden() {
    m_beendet = true; // beenden() now writes nothing
    close();
    // Leaves every running loop, the modal dialog's included; before the program's loop runs,
    // the start asks beendenVerlangt().
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}
