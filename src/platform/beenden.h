#pragma once
// The program's end asked for by a signal. Once asked, no question may be taken as answered and
// no pause may go on waiting: whoever waits in a dialog ends the process with this exit status.
namespace beenden {

void verlangen(int exitStatus);
bool verlangt();
int exitStatus();
void zuruecksetzen(); // tests only

} // namespace beenden
