#pragma once
// The start-up rules of the main window's creation: program folder, first start, the data,
// table and HTML folders, the template paths and the line-interruption flag.
#include "storage/zustand.h"

namespace start {

// Program folder = current folder with "/". Writes the defaults on first start or asks the
// data-folder question when started from another folder. Returns false when the table or
// HTML folder cannot be created; the program must then end at once.
bool richteEin(Zustand& z);

// The data, table and HTML folders from the settings, below z.programmOrdner when no data folder
// is set. Creates and writes nothing.
void leseOrdner(Zustand& z);

// The data-folder question, with its LF CR line breaks.
QString datenOrdnerFrage(const QString& installOrt);

} // namespace start
