#pragma once
// The program start: every window created once, in a fixed order, for the whole run; the
// main window's creation settles folders and settings. Shared by main() and the end-to-end tests.
#include "app/einzelstart.h"
#include "storage/zustand.h"

#include <QObject>
#include <QString>
#include <memory>

class TmainForm;
class TEingabeDlg;
class TNameEingDlg;
class TTouchEingabeDlg;
class TForm_UhrzeitDropdownMemo;
class TTabellenDlg;
class TBildspeichernForm;
class TPatientenDatenInPDFform;
class TEinstellDlg;
class TGrossMenues;
class TAboutBox;
class TAuswertungDlg;
class QSocketNotifier;
class QTimer;

struct Startoptionen {
    bool touch = false; // --touch
    QString tabelle;    // a month table given on the command line
    static Startoptionen aus(const QStringList& argumente);
};

class Programmstart : public QObject {
    Q_OBJECT
public:
    Programmstart();
    ~Programmstart() override;

    // Before any window and any write: this start becomes the one running Korvane of its set-up,
    // or hands its table to the running one. Returns the exit status when this start ends here,
    // -1 when it goes on.
    int uebergibtOderBeginnt(const Startoptionen& optionen, int wartezeitMs = 10000);
    // Creates the windows; false when the main window's creation ended the program.
    bool erzeugeFenster(const Startoptionen& optionen);
    // Shows the main window and runs until it closes.
    int ausfuehren();
    // SIGTERM and SIGINT close the main window as its close box does.
    void faengtSignale();

    Zustand z;
    TmainForm* mainForm = nullptr;
    TEingabeDlg* EingabeDlg = nullptr;
    TNameEingDlg* NameEingDlg = nullptr;
    TTouchEingabeDlg* TouchEingabeDlg = nullptr;
    TForm_UhrzeitDropdownMemo* Form_UhrzeitDropdownMemo = nullptr;
    TTabellenDlg* TabellenDlg = nullptr;
    TBildspeichernForm* BildspeichernForm = nullptr;
    TPatientenDatenInPDFform* PatientenDatenInPDFform = nullptr;
    TEinstellDlg* EinstellDlg = nullptr;
    TGrossMenues* GrossMenues = nullptr;
    TAboutBox* AboutBox = nullptr;
    TAuswertungDlg* AuswertungDlg = nullptr;

    // What a caught signal does: the close steps, then every event loop ends.
    void beendenDurchSignal();

    // A table handed over by a later start: drawn at once when no dialog or pause waits, else
    // as soon as none does; the window comes forward.
    void tabelleUebergeben(const QString& pfad);

private:
    void uebergabeAnwenden();

    // Declared first, so they go last: the locks are held until every window has written its files.
    std::unique_ptr<Einzelstart> m_einzelstart;
    Datensperre m_datensperre;
    std::unique_ptr<TmainForm> m_mainForm;
    QString m_uebergeben;
    QTimer* m_uebergabeTimer = nullptr;
    QSocketNotifier* m_signalMelder = nullptr;
    bool m_bereit = false;
};

// Qt's own German texts ("Ja", "Nein", "Abbrechen") on standard buttons.
void ladeDeutscheQtTexte();

struct BrowserEintrag;
namespace programmstart {
// The installed browsers as the settings dialog takes them: name and icon of each desktop entry.
QList<BrowserEintrag> gefundeneBrowser();
} // namespace programmstart

// The name the desktop entry, icon and metainfo carry.
inline constexpr char kDesktopKennung[] = "de.orvalis.Korvane";
// Desktop file name and window icon, so task bars group the window with its entry.
void richteDesktopEin();
