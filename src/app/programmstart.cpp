#include "app/programmstart.h"

#include "app/einzelstart.h"
#include "app/gui/taboutbox.h"
#include "app/gui/tmainform.h"
#include "platform/browser.h"
#include "settings/browserwahl.h"
#include "entry/gui/teingabedlg.h"
#include "entry/gui/tform_uhrzeitdropdownmemo.h"
#include "entry/gui/tnameeingdlg.h"
#include "entry/gui/ttoucheingabedlg.h"
#include "export/bericht/gui/tauswertungdlg.h"
#include "export/image/gui/tbildspeichernform.h"
#include "export/pdf/gui/tpatientendateninpdfform.h"
#include "menus/gui/grossmenues.h"
#include "settings/gui/teinstelldlg.h"
#include "table/gui/ttabellendlg.h"
#include "platform/beenden.h"
#include "platform/dialoge.h"
#include "storage/start.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalSocket[2] = {-1, -1};
volatile sig_atomic_t g_signalEmpfangen = 0; // for waits outside the event loop

// Only async-signal-safe work here: the rest runs in the event loop.
void signalEmpfangen(int) {
    g_signalEmpfangen = 1;
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalSocket[0], &c, 1);
}

} // namespace

Startoptionen Startoptionen::aus(const QStringList& argumente) {
    Startoptionen o;
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& a = argumente.at(i);
        if (a == QLatin1String("--touch"))
            o.touch = true;
        else if (!a.startsWith(QLatin1String("--")) && o.tabelle.isEmpty())
            o.tabelle = a;
    }
    return o;
}

Programmstart::Programmstart() {
    m_uebergabeTimer = new QTimer(this);
    m_uebergabeTimer->setSingleShot(true);
    m_uebergabeTimer->setInterval(250);
    connect(m_uebergabeTimer, &QTimer::timeout, this, &Programmstart::uebergabeAnwenden);
}

Programmstart::~Programmstart() = default;

int Programmstart::uebergibtOderBeginnt(const Startoptionen& optionen, int wartezeitMs) {
    const QString tabelle =
        optionen.tabelle.isEmpty() ? QString() : QFileInfo(optionen.tabelle).absoluteFilePath();
    m_einzelstart = std::make_unique<Einzelstart>(start::einzelstartSchluessel());
    switch (m_einzelstart->beginne(tabelle, wartezeitMs, [] { return g_signalEmpfangen != 0; })) {
    case Einzelstart::Ergebnis::Abgebrochen:
        return 1; // a start that never finished
    case Einzelstart::Ergebnis::Erster:
        connect(m_einzelstart.get(), &Einzelstart::tabelleErhalten, this, &Programmstart::tabelleUebergeben);
        // A closing window has stored the table in use already; a later start waits for the lock.
        m_einzelstart->setzeAnnahme([this] { return !mainForm || !mainForm->beendenVerlangt(); });
        return -1;
    case Einzelstart::Ergebnis::Uebergeben:
        return 0;
    case Einzelstart::Ergebnis::Besetzt:
        break;
    }
    // Never a second process on the same files: this one ends without touching them.
    QString text = QStringLiteral("Korvane ist bereits ge\u00F6ffnet, reagiert aber nicht.");
    if (!tabelle.isEmpty())
        text += QStringLiteral(" Die Tabelle \"") + tabelle +
                QStringLiteral("\" wird nicht ge\u00F6ffnet, damit nicht zwei Programme sie schreiben.");
    Dialoge::seam().information(text);
    return 1;
}

void Programmstart::tabelleUebergeben(const QString& pfad) {
    if (!pfad.isEmpty()) m_uebergeben = pfad; // the latest wins
    uebergabeAnwenden();
}

void Programmstart::uebergabeAnwenden() {
    if (!m_bereit) return; // erzeugeFenster() takes it
    if (!m_uebergeben.isEmpty()) {
        if (mainForm->ersteZeichnungAusstehend()) {
            mainForm->setzeStartTabelle(std::exchange(m_uebergeben, QString()));
        } else if (QApplication::activeModalWidget() || QThread::currentThread()->loopLevel() > 1) {
            // A dialog holds the month (the entry dialog's list) or a pause waits: drawing
            // another month under it would pull the data from under the dialog.
            m_uebergabeTimer->start();
            return;
        } else {
            mainForm->zeigeTabelleAlsGrafik(std::exchange(m_uebergeben, QString()));
        }
    }
    if (mainForm->isMinimized()) mainForm->showNormal();
    mainForm->raise();
    mainForm->activateWindow();
}

bool Programmstart::erzeugeFenster(const Startoptionen& optionen) {
    z.touchModus = optionen.touch;
    m_mainForm = std::make_unique<TmainForm>(z);
    mainForm = m_mainForm.get();
    if (!mainForm->FormCreate()) return false;
    // The data folder is settled now: while this window runs, no import writes into it. An import
    // that runs just now is waited for.
    m_datensperre.nimm(z.datenOrdner, 10000);
    // The dialogs are children of the main window so they die with it.
    EingabeDlg = new TEingabeDlg(z, mainForm->grafik(), mainForm);
    NameEingDlg = new TNameEingDlg(z, mainForm);
    TabellenDlg = new TTabellenDlg(mainForm);
    PatientenDatenInPDFform = new TPatientenDatenInPDFform(z.programmOrdner, mainForm);
    BildspeichernForm = new TBildspeichernForm(mainForm);
    TouchEingabeDlg = new TTouchEingabeDlg(mainForm);
    Form_UhrzeitDropdownMemo = new TForm_UhrzeitDropdownMemo(z, mainForm);
    EingabeDlg->setzeFenster(Form_UhrzeitDropdownMemo, TouchEingabeDlg);
    mainForm->setzeFenster(EingabeDlg, NameEingDlg, Form_UhrzeitDropdownMemo, TouchEingabeDlg, TabellenDlg,
                           BildspeichernForm, PatientenDatenInPDFform);
    EinstellDlg = new TEinstellDlg(z, mainForm->grafik(), mainForm);
    // The symbols of the browsers installed; Edge also when its program is on PATH.
    EinstellDlg->setzeBrowser(browserwahl::eintraegeAus(
        programmstart::gefundeneBrowser(), !QStandardPaths::findExecutable(QStringLiteral("microsoft-edge")).isEmpty()));
    GrossMenues = new TGrossMenues(mainForm);
    AboutBox = new TAboutBox(z, mainForm);
    AuswertungDlg = new TAuswertungDlg(z, mainForm);
    mainForm->setzeWeitereFenster(EinstellDlg, GrossMenues, AboutBox, AuswertungDlg);
    if (!optionen.tabelle.isEmpty())
        mainForm->setzeStartTabelle(QFileInfo(optionen.tabelle).absoluteFilePath());
    // One handed over while the main window was being created came later than this start's own.
    if (!m_uebergeben.isEmpty()) mainForm->setzeStartTabelle(std::exchange(m_uebergeben, QString()));
    m_bereit = true;
    return true;
}

int Programmstart::ausfuehren() {
    mainForm->show();
    return QApplication::exec();
}

void Programmstart::faengtSignale() {
    if (g_signalSocket[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalSocket) != 0) return;
    m_signalMelder = new QSocketNotifier(g_signalSocket[1], QSocketNotifier::Read, this);
    connect(m_signalMelder, &QSocketNotifier::activated, this, [this] {
        char c;
        [[maybe_unused]] const auto n = ::read(g_signalSocket[1], &c, 1);
        beendenDurchSignal();
    });
    struct sigaction aktion = {};
    aktion.sa_handler = signalEmpfangen;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &aktion, nullptr);
    ::sigaction(SIGINT, &aktion, nullptr);
}

void Programmstart::beendenDurchSignal() {
    // A start that never finished has nothing to save and did not succeed.
    beenden::verlangen(m_bereit ? 0 : 1);
    // Saved first: an open modal dialog must not keep the remarks from the disk.
    if (m_bereit) mainForm->beenden();
    QCoreApplication::exit(beenden::exitStatus()); // ends the main loop and every modal loop
}

void richteDesktopEin() {
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopKennung));
    QIcon symbol;
    for (int groesse : {48, 256})
        symbol.addFile(QStringLiteral(":/symbol/korvane-%1.png").arg(groesse), QSize(groesse, groesse));
    QApplication::setWindowIcon(symbol);
}

QList<BrowserEintrag> programmstart::gefundeneBrowser() {
    QList<BrowserEintrag> gefunden;
    for (const browser::Eintrag& e : browser::installierte())
        gefunden << BrowserEintrag{e.name, e.symbol, QString()};
    return gefunden;
}

void ladeDeutscheQtTexte() {
    auto* uebersetzer = new QTranslator(qApp);
    if (uebersetzer->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(uebersetzer);
}
