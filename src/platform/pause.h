#pragma once
// Every pause of the program scales by one factor; tests run with 0.
namespace Pause {
double faktor();
void setzeFaktor(double faktor);
int skaliert(int millisekunden);
} // namespace Pause
