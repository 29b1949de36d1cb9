#include "storage/monatstabelle.h"

#include "platform/datei.h"
#include "platform/dialoge.h"
#include "platform/textdatei.h"
#include "platform/zahlen.h"
#include "storage/registry.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace monatstabelle {
namespace {

const QString kSlotWorte[4] = {QStringLiteral("Morgens"), QStringLiteral("Messung2"),
                               QStringLiteral("Messung3"), QStringLiteral("Abends")};

QString ohneFuehrendeBlanks(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == u' ')
        ++i;
    return s.mid(i);
}

// Cuts the rest up to (not including) the key; a missing key gives an empty piece.
QString schneide(QString& rest, const QString& schluessel) {
    const qsizetype pos = rest.indexOf(schluessel);
    if (pos < 0) return {};
    const QString stueck = rest.left(pos);
    rest = ohneFuehrendeBlanks(rest.mid(pos));
    return stueck;
}

bool zweiZiffern(const QString& s) {
    return s.size() == 2 && s.at(0).isDigit() && s.at(1).isDigit();
}

bool nurZiffern(const QString& s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The text between the start marker and the next end marker (or the end of the line).
QString wertNach(const QString& zeile, const QString& marke, const QString& ende, bool* gefunden) {
    const qsizetype pos = zeile.indexOf(marke);
    *gefunden = pos >= 0;
    if (pos < 0) return {};
    const qsizetype start = pos + marke.size();
    const qsizetype bis = ende.isEmpty() ? -1 : zeile.indexOf(ende, start);
    return bis < 0 ? zeile.mid(start) : zeile.mid(start, bis - start);
}

// Month and year as the readers take them: between the first and the second ".", and from the
// second "." up to the next blank.
void datumAus(const QString& zeile, QString* monat, QString* jahr) {
    const qsizetype p1 = zeile.indexOf(u'.');
    const qsizetype p2 = p1 < 0 ? -1 : zeile.indexOf(u'.', p1 + 1);
    if (p2 < 0) {
        monat->clear();
        jahr->clear();
        return;
    }
    *monat = zeile.mid(p1 + 1, p2 - p1 - 1);
    const qsizetype blank = zeile.indexOf(u' ', p2 + 1);
    *jahr = zeile.mid(p2 + 1, blank < 0 ? -1 : blank - p2 - 1);
}

// Control characters cannot stand in a table line; a NUL shows as "\0".
QString sichtbar(const QString& text) {
    QString s;
    for (QChar c : text)
        s += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')) : QString(c);
    return s;
}

// A table holds one month: a reading of another is refused, since it would move the whole table.
QString andererMonat(const QString& monat, const QString& jahr, const QString& ersterMonat,
                     const QString& erstesJahr) {
    if (ersterMonat.isEmpty() || (monat == ersterMonat && jahr == erstesJahr)) return {};
    return QStringLiteral("\"%1.%2\" passt nicht zu den Messwerten vom %3.%4 davor: eine Tabelle hält "
                          "nur einen Monat.")
        .arg(monat, jahr, ersterMonat, erstesJahr);
}

// Reads one file for the entry dialog's list: entries, month and year of the last reading line,
// that line, and the first broken value. nullopt, with the message, when the file cannot be
// read or holds a line that cannot belong to a month table.
struct Eintraege {
    QStringList liste;
    QString monat, jahr, letzteZeile;
    QString wertFehler; // the first broken value, named with file and line
    int anzahlWertFehler = 0;
};
std::optional<Eintraege> liesEintraege(const QString& pfad, const QStringList& zeilen, QString* meldung) {
    Eintraege e;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QString& zeile = zeilen.at(i);
        if (!istMesszeile(zeile)) continue;
        Zeilenfehler f;
        const auto m = werteAus(zeile, &f);
        if (!m && f.art == Zeilenfehler::Datei) {
            *meldung = meldungMitZeile(pfad, i, f.text);
            return std::nullopt;
        }
        // A broken value leaves the date intact: its checks run first.
        QString monat, jahr;
        datumAus(zeile, &monat, &jahr);
        const QString fremd = andererMonat(monat, jahr, e.monat, e.jahr);
        if (!fremd.isEmpty()) {
            *meldung = meldungMitZeile(pfad, i, fremd);
            return std::nullopt;
        }
        if (!m && e.anzahlWertFehler++ == 0) e.wertFehler = meldungMitZeile(pfad, i, f.text);
        e.liste << listeneintrag(zeile);
        e.monat = monat;
        e.jahr = jahr;
        e.letzteZeile = zeile;
    }
    return e;
}

std::optional<QStringList> liesTabellenZeilen(const QString& pfad, QString* meldung, bool* nichtLesbar) {
    auto zeilen = textdatei::liesZeilen(pfad, datei::kGrenzeTabelle, meldung, nullptr, datei::kMaxTabellenZeilen);
    if (nichtLesbar) *nichtLesbar = !zeilen;
    return zeilen;
}

QString kopfNameFehler(const QString& pfad, const Kopf& kopf) {
    const QString fehler = benutzerNameFehler(kopf.benutzerName);
    return fehler.isEmpty() ? QString() : QFileInfo(pfad).fileName() + QStringLiteral(": ") + fehler;
}

} // namespace

QString slotWort(int slot) {
    return slot >= 1 && slot <= 4 ? kSlotWorte[slot - 1] : QString();
}

QString GibMonatLang(int monat) {
    static const char* const namen[12] = {"Januar",    "Februar", "März",     "April",
                                          "Mai",       "Juni",    "Juli",     "August",
                                          "September", "Oktober", "November", "Dezember"};
    return monat >= 1 && monat <= 12 ? QString::fromUtf8(namen[monat - 1]) : QString();
}

QString mitSchraegstrich(const QString& ordner) {
    return ordner.endsWith(u'/') ? ordner : ordner + u'/';
}

QString benutzerNameFehler(const QString& name) {
    const QString anzeige = sichtbar(name);
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return QStringLiteral("Der Benutzername \u00BB%1\u00AB enth\u00E4lt ein Zeichen, das in "
                                  "Dateinamen nicht erlaubt ist (\u00BB/\u00AB, \u00BB\\\u00AB oder ein "
                                  "Steuerzeichen). Bitte w\u00E4hlen Sie einen anderen Namen.")
                .arg(anzeige);
    }
    if (name != name.trimmed())
        return QStringLiteral("Der Benutzername \u00BB%1\u00AB beginnt oder endet mit einem Leerzeichen. "
                              "Bitte geben Sie ihn ohne diese Leerzeichen ein.")
            .arg(anzeige);
    if (!textdatei::istDarstellbar(name)) return textdatei::meldungNichtDarstellbar(name);
    // The longest name a table needs is "<name>_MM_YYYY.tab".
    constexpr qsizetype kHoechstens = datei::kLaengsterName - qsizetype(sizeof("_MM_YYYY.tab") - 1);
    if (name.toUtf8().size() > kHoechstens)
        return QStringLiteral("Der Benutzername ist mit %1 Zeichen zu lang f\u00FCr einen Dateinamen "
                              "(h\u00F6chstens %2 Byte). Bitte w\u00E4hlen Sie einen k\u00FCrzeren Namen.")
            .arg(name.size())
            .arg(kHoechstens);
    return {};
}

bool istMonat(const QString& monat) {
    if (!zweiZiffern(monat)) return false;
    const int m = monat.toInt();
    return m >= 1 && m <= 12;
}

bool istJahr(const QString& jahr) {
    return jahr.size() == 4 && nurZiffern(jahr);
}

QString tabellenPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr) {
    if (!benutzerNameFehler(name).isEmpty() || !istMonat(monat) || !istJahr(jahr) || z.tabellenOrdner.isEmpty())
        return {};
    return z.tabellenOrdner + jahr + u'/' + name + u'_' + monat + u'_' + jahr + QStringLiteral(".tab");
}

QString bemerkungsPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr) {
    const QString tabelle = tabellenPfad(z, name, monat, jahr);
    return tabelle.isEmpty() ? QString() : tabelle.chopped(4) + QStringLiteral(".txt");
}

QString bemerkungsPfadZu(const QString& tabellenPfad) {
    if (tabellenPfad.endsWith(QStringLiteral(".tab")) || tabellenPfad.endsWith(QStringLiteral(".TAB")))
        return tabellenPfad.chopped(4) + QStringLiteral(".txt");
    return tabellenPfad + QStringLiteral(".txt");
}

namespace {
// Where the file system puts a name: its folder with the links resolved, the name as it stands.
QString ort(const QString& pfad) {
    const QFileInfo info(QFileInfo(pfad).absoluteFilePath());
    const QString ordner = QFileInfo(info.path()).canonicalFilePath();
    return (ordner.isEmpty() ? QDir::cleanPath(info.path()) : ordner) + u'/' + info.fileName();
}
} // namespace

bool gleicheDatei(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QFileInfo ia(a), ib(b);
    if (ia.exists() && ib.exists()) return ia.canonicalFilePath() == ib.canonicalFilePath();
    return ort(a) == ort(b);
}

QString exportNameFehler(const QString& ziel, const QStringList& tabellen) {
    if (ziel.endsWith(QStringLiteral(".tab"), Qt::CaseInsensitive))
        return QStringLiteral("\"%1\" w\u00E4re eine Monatstabelle; eine Export-Datei wird nie so genannt.")
            .arg(ziel);
    // A remarks file that is not there yet counts too: written now, it would load as the remarks.
    // So does that of any month table beside the target.
    QStringList alle = tabellen;
    if (ziel.endsWith(QStringLiteral(".txt")))
        for (const QString& endung : {QStringLiteral(".tab"), QStringLiteral(".TAB")})
            if (QFileInfo(ziel.chopped(4) + endung).isFile()) alle << ziel.chopped(4) + endung;
    for (const QString& tabelle : std::as_const(alle))
        if (!tabelle.isEmpty() && gleicheDatei(ziel, bemerkungsPfadZu(tabelle)))
            return QStringLiteral(
                       "\"%1\" ist die Bemerkungsdatei der Monatstabelle \"%2\"; eine Export-Datei "
                       "wird nie so genannt.")
                .arg(ziel, tabelle);
    return {};
}

bool legeJahrOrdnerAn(const QString& jahrOrdner, const QString& jahr) {
    if (QDir(jahrOrdner).exists()) return true;
    if (QDir().mkpath(jahrOrdner)) return true;
    Dialoge::seam().meldung(QStringLiteral("Ordner \"") + jahr +
                            QStringLiteral("\" konnte nicht erstellt werden! "));
    return false;
}

bool istMesszeile(const QString& zeile) {
    return !zeile.isEmpty() && (zeile.at(0) == u'M' || zeile.at(0) == u'A') &&
           zeile.contains(QStringLiteral("den"));
}

QString listeneintrag(const QString& zeile) {
    QString rest = zeile;
    QStringList stuecke;
    const qsizetype den = rest.indexOf(QStringLiteral("den"));
    const qsizetype slotEnde = den < 0 ? 0 : std::min<qsizetype>(den + 4, rest.size());
    stuecke << rest.left(slotEnde);
    rest = ohneFuehrendeBlanks(rest.mid(slotEnde));
    stuecke << schneide(rest, QStringLiteral("Z="));
    stuecke << schneide(rest, QStringLiteral("s="));
    stuecke << schneide(rest, QStringLiteral("d="));
    stuecke << schneide(rest, QStringLiteral("p="));
    if (rest.contains(QStringLiteral("Gewicht="))) {
        stuecke << schneide(rest, QStringLiteral("Gewicht="));
        stuecke << rest.trimmed();
    } else {
        stuecke << rest.trimmed();
        stuecke << QString();
    }
    return stuecke.join(u'\t');
}

void sortiereListe(QStringList& liste) {
    QStringList mitPrefix;
    mitPrefix.reserve(liste.size());
    for (const QString& eintrag : liste) {
        const qsizetype punkt = eintrag.indexOf(u'.');
        QString prefix = punkt >= 2 ? eintrag.mid(punkt - 2, 2) : eintrag.left(std::max<qsizetype>(punkt, 0));
        if (eintrag.contains(QStringLiteral("Morgens den")))
            prefix += u'a';
        else if (eintrag.contains(QStringLiteral("Messung2 den")))
            prefix += u'b';
        else if (eintrag.contains(QStringLiteral("Messung3 den")))
            prefix += u'c';
        else if (eintrag.contains(QStringLiteral("Abends den")))
            prefix += u'd';
        mitPrefix << prefix.leftJustified(3, u' ', true) + eintrag;
    }
    // Stable, so entries with equal keys keep their order.
    std::stable_sort(mitPrefix.begin(), mitPrefix.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    liste.clear();
    for (const QString& e : mitPrefix)
        liste << e.mid(3);
}

QString lesungsSchluessel(const QString& eintrag) {
    const QString zeile = QString(eintrag).remove(u'\t');
    const qsizetype den = zeile.indexOf(QStringLiteral(" den "));
    if (den < 0) return zeile;
    const QString rest = ohneFuehrendeBlanks(zeile.mid(den + 5));
    return zeile.left(den) + u'|' + rest.section(u' ', 0, 0);
}

Kopf liesKopf(const QStringList& zeilen) {
    Kopf kopf;
    bool imAbschnitt = false;
    bool gesetzt[6] = {};
    const QString schluessel[6] = {QStringLiteral("1m"),    QStringLiteral("2m"),
                                   QStringLiteral("3m"),    QStringLiteral("4m"),
                                   QStringLiteral("datum"), QStringLiteral("benutzername")};
    for (const QString& roh : zeilen) {
        // Reading lines never belong to the header; a long one costs nothing here.
        if (istMesszeile(roh)) continue;
        const QString zeile = roh.trimmed();
        if (zeile.startsWith(u'[')) {
            const qsizetype zu = zeile.indexOf(u']');
            const QString name = zeile.mid(1, zu < 0 ? -1 : zu - 1).trimmed();
            imAbschnitt = name.compare(QStringLiteral("Personendaten"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!imAbschnitt || zeile.startsWith(u';')) continue;
        const qsizetype gleich = zeile.indexOf(u'=');
        if (gleich < 0) continue;
        const QString name = zeile.left(gleich).trimmed().toLower();
        for (int i = 0; i < 6; ++i) {
            if (gesetzt[i] || name != schluessel[i]) continue;
            gesetzt[i] = true; // the first occurrence counts, as with an INI reader
            const QString wert = zeile.mid(gleich + 1).trimmed().left(255);
            if (i < 4)
                kopf.slot[i] = wert;
            else if (i == 4)
                kopf.datum = wert;
            else
                kopf.benutzerName = wert;
        }
    }
    return kopf;
}

void wendeSlotsAn(const Kopf& kopf, std::array<bool, 4>& slotAktiv) {
    for (int i = 0; i < 4; ++i) {
        if (kopf.slot[i].contains(u'1'))
            slotAktiv[i] = true;
        else if (kopf.slot[i].contains(u'0'))
            slotAktiv[i] = false;
    }
}

QString meldungKeineZahl(const QString& wert, bool gleitkomma) {
    return QStringLiteral("\"") + wert +
           (gleitkomma ? QStringLiteral("\" ist kein g\u00FCltiger Gleitkommawert.")
                       : QStringLiteral("\" ist kein g\u00FCltiger Ganzzahlwert."));
}

QString sichtbarKurz(const QString& text) {
    const QString s = sichtbar(text.left(41));
    return s.size() > 40 || text.size() > 40 ? s.left(40) + u'\u2026' : s;
}

QString doppelteLesung(const QString& pfad, const Anzeige& a) {
    QHash<QString, qsizetype> gesehen; // reading key -> line index
    for (qsizetype i = 0; i < a.messzeilen.size(); ++i) {
        const QString schluessel = lesungsSchluessel(a.messzeilen.at(i));
        const auto it = gesehen.constFind(schluessel);
        if (it != gesehen.constEnd())
            return meldungMitZeile(pfad, a.indizes.at(i),
                                   QStringLiteral("F\u00FCr %1 steht schon ein Eintrag in Zeile %2.")
                                       .arg(QString(schluessel).replace(u'|', QStringLiteral(" den ")))
                                       .arg(*it + 1));
        gesehen.insert(schluessel, a.indizes.at(i));
    }
    return {};
}

QString meldungMitZeile(const QString& pfad, qsizetype zeilenIndex, const QString& text) {
    return QFileInfo(pfad).fileName() + QStringLiteral(", Zeile ") + QString::number(zeilenIndex + 1) +
           QStringLiteral(": ") + text;
}

std::optional<Messung> werteAus(const QString& zeile, Zeilenfehler* fehler) {
    auto scheitern = [&](Zeilenfehler::Art art, const QString& text) -> std::optional<Messung> {
        if (fehler) *fehler = {art, text};
        return std::nullopt;
    };
    // What decides whether the line can belong to a table at all, and so go into a path.
    if (zeile.size() > kMaxZeilenLaenge)
        return scheitern(Zeilenfehler::Datei, QStringLiteral("Die Zeile ist mit %1 Zeichen zu lang f\u00FCr "
                                                             "eine Messzeile.")
                                                  .arg(zeile.size()));
    for (QChar c : zeile)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return scheitern(Zeilenfehler::Datei,
                             QStringLiteral("Die Zeile enth\u00E4lt ein Steuerzeichen (%1).")
                                 .arg(sichtbar(QString(c))));
    Messung m;
    datumAus(zeile, &m.monat, &m.jahr);
    if (!istMonat(m.monat))
        return scheitern(Zeilenfehler::Datei,
                         u'"' + m.monat + QStringLiteral("\" ist kein g\u00FCltiger Monat (01 bis 12)."));
    if (!istJahr(m.jahr))
        return scheitern(Zeilenfehler::Datei,
                         u'"' + m.jahr + QStringLiteral("\" ist keine g\u00FCltige Jahreszahl (vier Ziffern)."));

    // A day the calendar has, written with two digits: 31.11. or 5.03. cannot be placed.
    const qsizetype punkt = zeile.indexOf(u'.');
    if (punkt >= 2 && zweiZiffern(zeile.mid(punkt - 2, 2))) m.tag = zeile.mid(punkt - 2, 2).toInt();
    if (!QDate(m.jahr.toInt(), m.monat.toInt(), m.tag).isValid()) {
        const qsizetype anfang = qMax<qsizetype>(0, zeile.lastIndexOf(u' ', punkt) + 1);
        return scheitern(Zeilenfehler::Datei, u'"' + zeile.mid(anfang, punkt + 1 - anfang) + m.monat + u'.' + m.jahr +
                                                  QStringLiteral("\" ist kein g\u00FCltiges Datum."));
    }
    for (int s = 1; s <= 4; ++s)
        if (zeile.contains(kSlotWorte[s - 1] + QStringLiteral(" den"))) {
            m.slot = s;
            break;
        }

    auto ganzzahl = [&](const QString& text, int* wert) -> std::optional<QString> {
        const std::optional<int> zahl = zahlen::ganzzahl(text);
        if (!zahl) return meldungKeineZahl(text, false);
        *wert = *zahl;
        if (*wert < 0 || *wert > kMaxWert)
            return u'"' + text + QStringLiteral("\" liegt nicht zwischen 0 und %1.").arg(kMaxWert);
        return std::nullopt;
    };
    bool gefunden = false;
    m.zeit = wertNach(zeile, QStringLiteral("Z="), QStringLiteral("s="), &gefunden).trimmed();
    m.sysText = wertNach(zeile, QStringLiteral("s="), QStringLiteral(","), &gefunden);
    if (auto f = ganzzahl(m.sysText, &m.sys)) return scheitern(Zeilenfehler::Wert, *f);
    m.diaText = wertNach(zeile, QStringLiteral("d="), QStringLiteral(","), &gefunden);
    if (auto f = ganzzahl(m.diaText, &m.dia)) return scheitern(Zeilenfehler::Wert, *f);
    m.pulsText = wertNach(zeile, QStringLiteral("p="), QStringLiteral(","), &gefunden);
    if (auto f = ganzzahl(m.pulsText, &m.puls)) return scheitern(Zeilenfehler::Wert, *f);
    m.gewichtText = wertNach(zeile, QStringLiteral("Gewicht="), QString(), &gefunden).trimmed();
    if (gefunden && !m.gewichtText.isEmpty()) {
        // Digits with at most one decimal separator: "nan", "inf" or "1e9" are no weight.
        const qsizetype trenner = std::max(m.gewichtText.indexOf(u','), m.gewichtText.indexOf(u'.'));
        const QStringView ganz = QStringView(m.gewichtText).first(trenner < 0 ? m.gewichtText.size() : trenner);
        const QStringView bruch = trenner < 0 ? QStringView() : QStringView(m.gewichtText).sliced(trenner + 1);
        auto ziffern = [](QStringView t, qsizetype max) {
            return !t.isEmpty() && t.size() <= max &&
                   std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        };
        if (!ziffern(ganz, 6) || (trenner >= 0 && !ziffern(bruch, 6)))
            return scheitern(Zeilenfehler::Wert, meldungKeineZahl(m.gewichtText, true));
        m.gewicht = double(zahlen::ganzzahl(ganz).value_or(0));
        if (trenner >= 0) m.gewicht += zahlen::ganzzahl(bruch).value_or(0) / std::pow(10.0, double(bruch.size()));
        m.gewichtMillionstel = qint64(zahlen::ganzzahl(ganz).value_or(0)) * 1000000;
        if (trenner >= 0)
            m.gewichtMillionstel += zahlen::ganzzahl(bruch.toString().leftJustified(6, u'0')).value_or(0);
        if (m.gewicht > kMaxGewicht)
            return scheitern(Zeilenfehler::Wert, u'"' + m.gewichtText +
                                                     QStringLiteral("\" ist kein g\u00FCltiges Gewicht "
                                                                    "(h\u00F6chstens %1 Kilogramm).")
                                                         .arg(kMaxGewicht));
    }
    return m;
}

bool ergaenzeAusDatei(Zustand& z, const QString& pfad) {
    QString meldung;
    const auto zeilen = liesTabellenZeilen(pfad, &meldung, nullptr);
    if (!zeilen) {
        Dialoge::seam().warnung(meldung + QStringLiteral(" Die Tabelle wird deshalb nicht \u00FCberschrieben."));
        return false;
    }
    const auto gelesen = liesEintraege(pfad, *zeilen, &meldung);
    if (!gelesen) {
        Dialoge::seam().warnung(meldung + QStringLiteral(" Die Tabelle wird deshalb nicht \u00FCberschrieben."));
        return false;
    }
    QHash<QString, QString> vorhanden; // key -> entry without TABs
    for (const QString& e : std::as_const(z.ListBox1))
        vorhanden.insert(lesungsSchluessel(e), QString(e).remove(u'\t'));
    QStringList neu;
    for (const QString& e : gelesen->liste) {
        const QString schluessel = lesungsSchluessel(e);
        const auto it = vorhanden.constFind(schluessel);
        if (it == vorhanden.constEnd()) {
            neu << e;
            vorhanden.insert(schluessel, QString(e).remove(u'\t'));
        } else if (it->simplified() != QString(e).remove(u'\t').simplified()) {
            // Two different readings for one slot: neither may silently replace the other.
            Dialoge::seam().warnung(QStringLiteral("In \"%1\" steht f\u00FCr %2 schon ein anderer Eintrag. "
                                                   "Die Tabelle wird nicht \u00FCberschrieben.")
                                        .arg(pfad, QString(schluessel).replace(u'|', QStringLiteral(" den "))));
            return false;
        }
    }
    if (!neu.isEmpty()) {
        z.ListBox1 << neu;
        sortiereListe(z.ListBox1);
    }
    z.listenDatei = pfad;
    return true;
}

bool schreibeTabelle(Zustand& z, Schreibart art) {
    if (z.ListBox1.isEmpty()) return false;
    const QString fehlerName = benutzerNameFehler(z.benutzerName);
    if (!fehlerName.isEmpty()) {
        Dialoge::seam().warnung(fehlerName);
        return false;
    }
    const QString pfad = tabellenPfad(z, z.benutzerName, z.monatText, z.jahrText);
    if (pfad.isEmpty()) {
        Dialoge::seam().warnung(QStringLiteral("Monat \"%1\" und Jahr \"%2\" ergeben keinen g\u00FCltigen "
                                               "Tabellennamen. Die Tabelle wird nicht geschrieben.")
                                    .arg(sichtbar(z.monatText), sichtbar(z.jahrText)));
        return false;
    }
    // Never a table rewritten from a partial picture of it.
    if (!gleicheDatei(z.listenDatei, pfad) && QFileInfo::exists(pfad) && !ergaenzeAusDatei(z, pfad)) return false;

    QStringList zeilen;
    zeilen.reserve(z.ListBox1.size() + 8);
    zeilen << QStringLiteral("[Personendaten]") << QStringLiteral("BenutzerName=") + z.benutzerName
           << QStringLiteral("Datum=") + GibMonatLang(z.monatText.toInt()) + u' ' + z.jahrText;
    for (int i = 0; i < 4; ++i)
        zeilen << QString::number(i + 1) + QStringLiteral("M=") + (z.slotAktiv[i] ? u'1' : u'0');
    zeilen << QString();
    for (const QString& eintrag : std::as_const(z.ListBox1)) {
        const QString zeile = QString(eintrag).remove(u'\t');
        // A line must read back as the reading it is: TABs only between the pieces, a reading
        // line with a date and values in range.
        Zeilenfehler f;
        QString grund;
        if (eintrag.contains(u'\t') && listeneintrag(zeile) != eintrag)
            grund = QStringLiteral("ein Tabulatorzeichen steht innerhalb eines Wertes");
        else if (!istMesszeile(zeile))
            grund = QStringLiteral("das ist keine Messzeile");
        else if (!werteAus(zeile, &f))
            grund = f.text;
        if (!grund.isEmpty()) {
            Dialoge::seam().warnung(QStringLiteral("Der Eintrag \"%1\" kann so nicht in \"%2\" gespeichert werden: "
                                                   "%3 Bitte korrigieren oder l\u00F6schen Sie ihn. Die Tabelle "
                                                   "wird nicht geschrieben.")
                                        .arg(sichtbar(zeile).left(200), pfad, grund));
            return false;
        }
        zeilen << zeile;
    }

    z.jahrOrdnerName = z.jahrText;
    if (art == Schreibart::Aufnehmen) legeJahrOrdnerAn(z.jahrOrdner(), z.jahrText);
    z.TabellenDateiName = pfad;
    z.monatName = GibMonatLang(z.monatText.toInt());

    datei::Geschrieben g;
    switch (textdatei::schreibeZeilen(pfad, zeilen, &g)) {
    case textdatei::Ergebnis::Ok:
        z.listenDatei = pfad;
        return true;
    case textdatei::Ergebnis::NichtDarstellbar:
        Dialoge::seam().warnung(textdatei::meldungNichtDarstellbar(zeilen.join(QString())));
        return false;
    case textdatei::Ergebnis::Schreibfehler:
        break;
    }
    // Both writers name the whole path: the user must find the file the readings are missing from.
    if (g.fehler == datei::Geschrieben::Fehler::Schreibgeschuetzt)
        Dialoge::seam().warnung(
            QStringLiteral("Die Monatstabelle \"%1\" ist schreibgesch\u00FCtzt und wurde nicht "
                           "ge\u00E4ndert.")
                .arg(pfad));
    else
        Dialoge::seam().warnung(datei::schreibMeldung(pfad, g));
    return false;
}

bool monatAusDatum(const QString& datum, QString* monat, QString* jahr) {
    const QString name = datum.section(u' ', 0, 0, QString::SectionSkipEmpty);
    const QString j = datum.section(u' ', 1, 1, QString::SectionSkipEmpty);
    for (int m = 1; m <= 12; ++m)
        if (GibMonatLang(m) == name && istJahr(j)) {
            *monat = QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
            *jahr = j;
            return true;
        }
    return false;
}

bool liesZumBearbeiten(Zustand& z, const QString& pfad, KopfLesen kopfLesen, QString* monat, QString* jahr) {
    QString meldung;
    bool nichtLesbar = false;
    const auto zeilen = liesTabellenZeilen(pfad, &meldung, &nichtLesbar);
    if (!zeilen) {
        Dialoge::seam().warnung(QStringLiteral("Fehler Lesen der Datei!\n") + meldung);
        return false;
    }
    const auto gelesen = liesEintraege(pfad, *zeilen, &meldung);
    if (!gelesen) {
        Dialoge::seam().warnung(meldung);
        return false;
    }
    const Kopf kopf = liesKopf(*zeilen);
    if (kopfLesen != KopfLesen::Nein) {
        const QString fehlerName = kopfNameFehler(pfad, kopf);
        if (!fehlerName.isEmpty()) {
            Dialoge::seam().warnung(fehlerName);
            return false;
        }
        wendeSlotsAn(kopf, z.slotAktiv);
        z.listenTitel = QStringLiteral("Messwerte ") + kopf.datum + QStringLiteral("  ") + kopf.benutzerName;
        if (kopfLesen == KopfLesen::Ja || !kopf.benutzerName.isEmpty()) z.benutzerName = kopf.benutzerName;
    }
    z.ListBox1 << gelesen->liste;
    z.listenDatei = pfad;
    if (!gelesen->monat.isEmpty()) {
        z.monatText = gelesen->monat;
        z.monatName = GibMonatLang(gelesen->monat.toInt());
    }
    if (!gelesen->jahr.isEmpty()) z.jahrText = gelesen->jahr;
    if (!gelesen->letzteZeile.isEmpty()) z.letzteMesszeile = gelesen->letzteZeile;
    if (monat && jahr) {
        *monat = gelesen->monat;
        *jahr = gelesen->jahr;
        if (monat->isEmpty() && !monatAusDatum(kopf.datum, monat, jahr)) {
            monat->clear();
            jahr->clear();
        }
    }
    if (gelesen->anzahlWertFehler > 0) {
        QString text = gelesen->wertFehler;
        if (gelesen->anzahlWertFehler > 1)
            text += QStringLiteral(" (und %1 weitere Eintr\u00E4ge mit Fehlern)").arg(gelesen->anzahlWertFehler - 1);
        Dialoge::seam().warnung(text + QStringLiteral(" Bitte korrigieren oder l\u00F6schen Sie den Eintrag "
                                                      "mit \"Eintrag bearbeiten\"."));
    }
    return true;
}

std::optional<Anzeige> liesZurAnzeige(const QString& pfad, QString* fehler, bool* nichtLesbar) {
    QString meldung;
    const auto zeilen = liesTabellenZeilen(pfad, &meldung, nichtLesbar);
    if (!zeilen) {
        if (fehler) *fehler = QStringLiteral("Fehler beim Lesen der Datei: ") + pfad + u'\n' + meldung;
        return std::nullopt;
    }
    Anzeige a;
    a.zeilen = *zeilen;
    a.kopf = liesKopf(a.zeilen);
    const QString fehlerName = kopfNameFehler(pfad, a.kopf);
    if (!fehlerName.isEmpty()) {
        if (fehler) *fehler = fehlerName;
        return std::nullopt;
    }
    for (qsizetype i = 0; i < a.zeilen.size(); ++i) {
        const QString& zeile = a.zeilen.at(i);
        if (!istMesszeile(zeile)) continue;
        Zeilenfehler f;
        auto m = werteAus(zeile, &f);
        if (!m) {
            if (fehler) *fehler = meldungMitZeile(pfad, i, f.text);
            return std::nullopt;
        }
        const QString fremd = andererMonat(m->monat, m->jahr, a.monat, a.jahr);
        if (!fremd.isEmpty()) {
            if (fehler) *fehler = meldungMitZeile(pfad, i, fremd);
            return std::nullopt;
        }
        a.monat = m->monat;
        a.jahr = m->jahr;
        a.messzeilen << zeile;
        a.indizes << i;
        a.messungen << std::move(*m);
    }
    return a;
}

void nimmTabelleAuf(Zustand& z, const QString& pfad, const QString& name, const QString& monat,
                    const QString& jahr) {
    const QString kanonisch = tabellenPfad(z, name, monat, jahr);
    if (kanonisch.isEmpty()) return; // never a path from such pieces; the readers have said why
    z.jahrOrdnerName = jahr;
    z.TabellenDateiName = kanonisch;
    if (gleicheDatei(pfad, kanonisch)) return;
    legeJahrOrdnerAn(z.jahrOrdner(), jahr);
    Schreib_String_in_Registry(QStringLiteral("BenutzerName"), name);
    if (QFileInfo::exists(kanonisch)) return;
    const datei::Gelesen quelle = datei::lies(pfad, datei::kGrenzeTabelle);
    if (!quelle.ok()) {
        Dialoge::seam().warnung(QStringLiteral("Fehler beim Erzeugen der Datei ") + kanonisch + u'\n' +
                                quelle.meldung);
        return;
    }
    const datei::Geschrieben g = datei::schreibe(kanonisch, quelle.inhalt);
    if (!g) Dialoge::seam().warnung(datei::schreibMeldung(kanonisch, g));
}

} // namespace monatstabelle

namespace bemerkungen {

std::optional<QString> laden(const QString& pfad, QString* meldung) {
    datei::Fehler art = datei::Fehler::Keiner;
    const auto zeilen = textdatei::liesZeilen(pfad, datei::kGrenzeBemerkungen, meldung, &art);
    if (zeilen) return zeilen->join(u'\n');
    if (art == datei::Fehler::Fehlt) {
        if (meldung) meldung->clear();
        return QString();
    }
    return std::nullopt;
}

Ergebnis speichern(const QString& pfad, const QString& text, bool ersetzen, datei::Geschrieben* geschrieben) {
    QStringList zeilen;
    if (!text.isEmpty()) zeilen = text.split(u'\n');
    if (!textdatei::istDarstellbar(text)) {
        if (!ersetzen) return Ergebnis::NichtDarstellbar;
        for (QString& z : zeilen)
            z = textdatei::ausWin1252(textdatei::nachWin1252(z));
    }
    return textdatei::schreibeZeilen(pfad, zeilen, geschrieben);
}

} // namespace bemerkungen
