#include "app/programmstart.h"

#include "app/gui/taboutbox.h"
#include "app/gui/tmainform.h"
#include "entry/gui/teingabedlg.h"
#include "entry/gui/tform_uhrzeitdropdownmemo.h"
#include "entry/gui/tnameeingdlg.h"
#include "entry/gui/ttoucheingabedlg.h"
#include "export/image/gui/tbildspeichernform.h"
#include "export/pdf/gui/tpatientendateninpdfform.h"
#include "menus/gui/grossmenues.h"
#include "settings/gui/teinstelldlg.h"
#include "table/gui/ttabellendlg.h"
#include "platform/beenden.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTranslator>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalSocket[2] = {-1, -1};

// Only async-signal-safe work here: the rest runs in the event loop.
void signalEmpfangen(int) {
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

Programmstart::Programmstart() = default;

Programmstart::~Programmstart() = default;

bool Programmstart::erzeugeFenster(const Startoptionen& optionen) {
    z.touchModus = optionen.touch;
    m_mainForm = std::make_unique<TmainForm>(z);
    mainForm = m_mainForm.get();
    if (!mainForm->FormCreate()) return false;
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
    GrossMenues = new TGrossMenues(mainForm);
    AboutBox = new TAboutBox(z, mainForm);
    mainForm->setzeWeitereFenster(EinstellDlg, GrossMenues, AboutBox);
    if (!optionen.tabelle.isEmpty())
        mainForm->setzeStartTabelle(QFileInfo(optionen.tabelle).absoluteFilePath());
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

void ladeDeutscheQtTexte() {
    auto* uebersetzer = new QTranslator(qApp);
    if (uebersetzer->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(uebersetzer);
}
