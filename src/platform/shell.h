#pragma once
// Opening a document with the program the desktop associates with it.
#include <QString>
#include <QStringList>

namespace shell {

// False when the desktop could not open it.
bool oeffneDokument(const QString& pfad);

// Tests: record the paths instead of opening them; nullptr opens for real again.
void zeichneAuf(QStringList* aufzeichnung);

} // namespace shell
