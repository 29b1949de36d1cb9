#pragma once
// The program start: every window created once, in a fixed order, for the whole run; the
// main window's creation settles folders and settings. Shared by main() and the end-to-end tests.
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
class QSocketNotifier;

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

    // What a caught signal does: the close steps, then every event loop ends.
    void beendenDurchSignal();

private:
    std::unique_ptr<TmainForm> m_mainForm;
    QSocketNotifier* m_signalMelder = nullptr;
    bool m_bereit = false;
};

// Qt's own German texts ("Ja", "Nein", "Abbrechen") on standard buttons.
void ladeDeutscheQtTexte();
