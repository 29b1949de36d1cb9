#include "platform/pause.h"

#include <cmath>

namespace {
double g_faktor = 1.0;
}

double Pause::faktor() {
    return g_faktor;
}
void Pause::setzeFaktor(double faktor) {
    g_faktor = faktor < 0 ? 0 : faktor;
}
int Pause::skaliert(int ms) {
    return int(std::lround(ms * g_faktor));
}
