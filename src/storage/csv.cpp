#include "storage/csv.h"

#include "platform/datei.h"
#include "storage/monatstabelle.h"

#include <QStringDecoder>

namespace csv {
namespace {

const QByteArray kMarke("\xEF\xBB\xBF");

QString meldung(const QString& datei, qsizetype nummer, const QString& text) {
    return datei + QStringLiteral(", Zeile ") + QString::number(nummer) + QStringLiteral(": ") + text;
}

// The fields of one line; nullopt when a quoted field is not closed on it.
std::optional<QStringList> felderDer(QStringView zeile, QChar trenner) {
    QStringList felder;
    QString feld;
    bool inAnfuehrung = false;
    bool warAngefuehrt = false;
    for (qsizetype i = 0; i < zeile.size(); ++i) {
        const QChar c = zeile.at(i);
        if (inAnfuehrung) {
            if (c != u'"') {
                feld += c;
            } else if (i + 1 < zeile.size() && zeile.at(i + 1) == u'"') {
                feld += c;
                ++i;
            } else {
                inAnfuehrung = false;
            }
        } else if (c == trenner) {
            felder << feld;
            feld.clear();
            warAngefuehrt = false;
        } else if (c == u'"' && feld.isEmpty() && !warAngefuehrt) {
            inAnfuehrung = warAngefuehrt = true;
        } else {
            feld += c;
        }
    }
    if (inAnfuehrung) return std::nullopt;
    felder << feld;
    return felder;
}

} // namespace

const QStringList& kopf() {
    static const QStringList k{QStringLiteral("Datum"),       QStringLiteral("Uhrzeit"),
                               QStringLiteral("Messung"),     QStringLiteral("Systolisch"),
                               QStringLiteral("Diastolisch"), QStringLiteral("Puls"),
                               QStringLiteral("Gewicht")};
    return k;
}

QString feld(const QString& text, QChar trenner) {
    if (!text.contains(trenner) && !text.contains(u'"') && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QByteArray schreibe(const QList<zeitraum::Lesung>& lesungen) {
    QString text = kopf().join(u';') + QStringLiteral("\r\n");
    for (const zeitraum::Lesung& l : lesungen) {
        const QStringList felder{l.datum.toString(Qt::ISODate),
                                 l.zeit,
                                 monatstabelle::slotWort(l.slot),
                                 l.sysText,
                                 l.diaText,
                                 l.pulsText,
                                 l.gewichtText};
        for (qsizetype i = 0; i < felder.size(); ++i) {
            if (i > 0) text += u';';
            text += feld(felder.at(i));
        }
        text += QStringLiteral("\r\n");
    }
    return kMarke + text.toUtf8();
}

std::optional<Gelesen> lies(const QByteArray& inhalt, const QString& dateiName, QString* fehler) {
    auto scheitern = [&](qsizetype nummer, const QString& text) -> std::optional<Gelesen> {
        if (fehler) *fehler = meldung(dateiName, nummer, text);
        return std::nullopt;
    };
    const qsizetype anfang = inhalt.startsWith(kMarke) ? kMarke.size() : 0;
    Gelesen g;
    qsizetype nummer = 0;
    bool kopfGelesen = false;
    qsizetype start = anfang;
    while (start < inhalt.size() || (!kopfGelesen && start == anfang)) {
        // A line ends at CR LF, LF or a lone CR, as spreadsheets of every system write them.
        qsizetype ende = start;
        while (ende < inhalt.size() && inhalt.at(ende) != '\n' && inhalt.at(ende) != '\r')
            ++ende;
        const QByteArrayView roh(inhalt.constData() + start, ende - start);
        start = ende +
                (ende + 1 < inhalt.size() && inhalt.at(ende) == '\r' && inhalt.at(ende + 1) == '\n' ? 2 : 1);
        ++nummer;
        if (nummer > datei::kMaxTabellenZeilen)
            return scheitern(
                nummer, QStringLiteral("Die Datei hat mehr als %1 Zeilen.").arg(datei::kMaxTabellenZeilen));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString zeile = utf8.decode(roh);
        if (utf8.hasError()) return scheitern(nummer, QStringLiteral("Der Text ist kein UTF-8."));
        if (!kopfGelesen) {
            g.trenner = zeile.contains(u';') ? u';' : u',';
            QStringList felder = zeile.split(g.trenner);
            for (QString& f : felder)
                f = f.trimmed();
            if (felder.size() != kopf().size() || !std::equal(felder.begin(), felder.end(), kopf().begin(),
                                                              [](const QString& a, const QString& b) {
                                                                  return a.compare(b, Qt::CaseInsensitive) ==
                                                                         0;
                                                              }))
                return scheitern(
                    nummer, QStringLiteral("Die erste Zeile muss \"%1\" lauten.").arg(kopf().join(u';')));
            kopfGelesen = true;
            continue;
        }
        if (zeile.trimmed().isEmpty()) continue;
        std::optional<QStringList> felder = felderDer(zeile, g.trenner);
        if (!felder)
            return scheitern(nummer, QStringLiteral("Ein Anführungszeichen wird nicht geschlossen."));
        // A spreadsheet may leave out the separator before an empty last field.
        if (felder->size() == kopf().size() - 1) *felder << QString();
        if (felder->size() != kopf().size())
            return scheitern(
                nummer,
                QStringLiteral("Die Zeile hat %1 Felder statt %2.").arg(felder->size()).arg(kopf().size()));
        g.zeilen << Zeile{nummer, *felder};
    }
    return g;
}

} // namespace csv
