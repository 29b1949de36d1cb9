#pragma once
// Opening a document with the program the desktop associates with it, and starting a program
// with arguments. Tests record both instead.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace shell {

// The desktop's opener: it asks the desktop which program shows the file.
inline constexpr char kOeffner[] = "xdg-open";

// Told why a document could not be opened: a German sentence naming the program tried.
using Fehlermeldung = std::function<void(const QString& grund)>;

// Opens the document with the desktop's opener. A failure reaches beiFehler: at once when the
// opener cannot be started, or later, from the event loop, when it ends reporting one (it may
// wait until its viewer is closed, so it is never waited for here).
void oeffneDokument(const QString& pfad, const Fehlermeldung& beiFehler);

// Tests: record the paths instead of opening them; a recorded open fails, as the opener's
// "no program for this kind of file" does, when gelingt is false. nullptr opens for real again.
void zeichneAuf(QStringList* aufzeichnung, bool gelingt = true);

struct Aufruf {
    QString programm;
    QStringList argumente;
};

// Starts the program detached with these arguments, each passed as it stands (no shell, so
// blanks in a path stay inside its argument). False when it could not be started.
bool starteProgramm(const QString& programm, const QStringList& argumente);

// Tests: record the starts instead of starting; a recorded start counts as started unless
// gelingt is false. nullptr starts for real again.
void zeichneStartsAuf(QList<Aufruf>* aufzeichnung, bool gelingt = true);

// Why a program could not be started, as a sentence for a message.
QString nichtGestartet(const QString& programm);

} // namespace shell
