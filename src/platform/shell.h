#pragma once
// Opening a document with the program the desktop associates with it, and starting a program
// with arguments. Tests record both instead.
#include <QList>
#include <QString>
#include <QStringList>

namespace shell {

// False when the desktop could not open it.
bool oeffneDokument(const QString& pfad);

// Tests: record the paths instead of opening them; nullptr opens for real again.
void zeichneAuf(QStringList* aufzeichnung);

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

} // namespace shell
