#pragma once
// Whole numbers read from texts the readers have already checked, without the locale machinery
// of QString::toInt/toDouble: a drawing sums hundreds of thousands of them.
#include <QStringView>
#include <cmath>
#include <optional>

namespace zahlen {

// Blanks around, an optional sign, one to nine digits; nullopt for anything else.
inline std::optional<int> ganzzahl(QStringView text) {
    text = text.trimmed();
    bool negativ = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negativ = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    int wert = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        wert = wert * 10 + (c.unicode() - u'0');
    }
    return negativ ? -wert : wert;
}

// The value rounded to the given decimals, exact halves to the even digit (128,125 -> 128,12),
// as the platform's default rounding is described. Means are quotients of small integers, so a
// half that binary fractions miss by a rounding error is still taken as a half.
inline double rundeHalbGerade(double wert, int stellen) {
    const double faktor = std::pow(10.0, stellen);
    const double skaliert = wert * faktor;
    const double unten = std::floor(skaliert);
    double gerundet;
    if (std::fabs(skaliert - unten - 0.5) < 1e-7)
        gerundet = std::fmod(unten, 2.0) == 0 ? unten : unten + 1;
    else
        gerundet = std::round(skaliert);
    return gerundet / faktor;
}

// zaehler / nenner rounded to a whole number, exact halves to the even one, in integers only;
// zaehler >= 0, nenner > 0.
inline long long teileHalbGerade(long long zaehler, long long nenner) {
    long long quotient = zaehler / nenner;
    const long long rest2 = 2 * (zaehler % nenner);
    if (rest2 > nenner || (rest2 == nenner && quotient % 2 != 0)) ++quotient;
    return quotient;
}

} // namespace zahlen
