#pragma once
// Locale and fonts every part of the program expects: German numbers and dates whatever the
// system says, and the Windows font names mapped to the fonts Debian ships.
namespace umgebung {
void einrichten();
} // namespace umgebung
