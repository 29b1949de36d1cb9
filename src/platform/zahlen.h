#pragma once
// Whole numbers read from texts the readers have already checked, without the locale machinery
// of QString::toInt/toDouble: a drawing sums hundreds of thousands of them.
#include <QStringView>
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

} // namespace zahlen
