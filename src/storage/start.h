#pragma once
// The start-up rules of the main window's creation: program folder, first start, the data,
// table and HTML folders, the template paths and the line-interruption flag.
#include "storage/zustand.h"

namespace start {

// The program folder with "/": $KORVANE_ORDNER when set (relative to the working folder), else
// ~/Korvane, whatever the working folder is. Creates nothing.
QString programmOrdner();

// What tells one set-up from another for the one-running-Korvane rule: the settings file and the
// program folder.
QString einzelstartSchluessel();

// Settles the program folder (created when missing, with the built-in templates and help guide
// where they are missing), writes the defaults on first start or asks the data-folder question
// when the program folder moved. Returns false when the program, table or HTML folder cannot be
// created; the program must then end at once.
bool richteEin(Zustand& z);

// The data, table and HTML folders from the settings, below z.programmOrdner when no data folder
// is set, the template paths and the line-interruption flag. Creates and writes nothing.
void leseOrdner(Zustand& z);

// The stored table in use (TabellenDateiName), below the data folder when it is named from there;
// empty when none is stored. The file need not exist.
QString tabelleInGebrauch(const Zustand& z);

// The data-folder question, with its LF CR line breaks.
QString datenOrdnerFrage(const QString& installOrt);

} // namespace start
