#include "storage/monatstabelle.h"

#include "platform/dialoge.h"
#include "platform/textdatei.h"
#include "storage/registry.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

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

// The text between the start marker and the next end marker (or the end of the line).
QString wertNach(const QString& zeile, const QString& marke, const QString& ende, bool* gefunden) {
    const qsizetype pos = zeile.indexOf(marke);
    *gefunden = pos >= 0;
    if (pos < 0) return {};
    const qsizetype start = pos + marke.size();
    const qsizetype bis = ende.isEmpty() ? -1 : zeile.indexOf(ende, start);
    return bis < 0 ? zeile.mid(start) : zeile.mid(start, bis - start);
}

bool ganzzahl(const QString& text, int* wert) {
    bool ok = false;
    *wert = text.trimmed().toInt(&ok);
    return ok;
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

QString tabellenPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr) {
    return z.tabellenOrdner + jahr + u'/' + name + u'_' + monat + u'_' + jahr + QStringLiteral(".tab");
}

QString bemerkungsPfad(const Zustand& z, const QString& name, const QString& monat, const QString& jahr) {
    return z.tabellenOrdner + jahr + u'/' + name + u'_' + monat + u'_' + jahr + QStringLiteral(".txt");
}

QString bemerkungsPfadZu(const QString& tabellenPfad) {
    QString pfad = tabellenPfad;
    qsizetype pos = pfad.indexOf(QStringLiteral(".tab"));
    if (pos >= 0) pfad.remove(pos, 4);
    pos = pfad.indexOf(QStringLiteral(".TAB"));
    if (pos >= 0) pfad.remove(pos, 4);
    return pfad + QStringLiteral(".txt");
}

QString benutzerNameFehler(const QString& name) {
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return QStringLiteral("Der Benutzername \u00BB%1\u00AB enth\u00E4lt ein Zeichen, das in "
                                  "Dateinamen nicht erlaubt ist (\u00BB/\u00AB, \u00BB\\\u00AB oder ein "
                                  "Steuerzeichen). Bitte w\u00E4hlen Sie einen anderen Namen.")
                .arg(QString(name).replace(QRegularExpression(QStringLiteral("\\p{Cc}")),
                                           QStringLiteral("?")));
    }
    if (!textdatei::istDarstellbar(name)) return textdatei::meldungNichtDarstellbar(name);
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

Kopf liesKopf(const QStringList& zeilen) {
    Kopf kopf;
    bool imAbschnitt = false;
    bool gesetzt[6] = {};
    const QString schluessel[6] = {QStringLiteral("1m"),    QStringLiteral("2m"),
                                   QStringLiteral("3m"),    QStringLiteral("4m"),
                                   QStringLiteral("datum"), QStringLiteral("benutzername")};
    for (const QString& roh : zeilen) {
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

std::optional<Messung> werteAus(const QString& zeile, QString* fehler) {
    Messung m;
    for (int s = 1; s <= 4; ++s)
        if (zeile.contains(kSlotWorte[s - 1] + QStringLiteral(" den"))) {
            m.slot = s;
            break;
        }
    const qsizetype punkt = zeile.indexOf(u'.');
    if (punkt >= 2 && zweiZiffern(zeile.mid(punkt - 2, 2))) m.tag = zeile.mid(punkt - 2, 2).toInt();

    auto scheitern = [&](const QString& wert, bool gleitkomma) -> std::optional<Messung> {
        if (fehler) *fehler = meldungKeineZahl(wert, gleitkomma);
        return std::nullopt;
    };
    bool gefunden = false;
    m.sysText = wertNach(zeile, QStringLiteral("s="), QStringLiteral(","), &gefunden);
    if (!ganzzahl(m.sysText, &m.sys)) return scheitern(m.sysText, false);
    m.diaText = wertNach(zeile, QStringLiteral("d="), QStringLiteral(","), &gefunden);
    if (!ganzzahl(m.diaText, &m.dia)) return scheitern(m.diaText, false);
    m.pulsText = wertNach(zeile, QStringLiteral("p="), QStringLiteral(","), &gefunden);
    if (!ganzzahl(m.pulsText, &m.puls)) return scheitern(m.pulsText, false);
    m.gewichtText = wertNach(zeile, QStringLiteral("Gewicht="), QString(), &gefunden).trimmed();
    if (gefunden && !m.gewichtText.isEmpty()) {
        bool ok = false;
        m.gewicht = QLocale(QLocale::German, QLocale::Germany).toDouble(m.gewichtText, &ok);
        if (!ok) return scheitern(m.gewichtText, true);
    }
    return m;
}

bool schreibeTabelle(Zustand& z, Schreibart art) {
    if (z.ListBox1.isEmpty()) return false;
    const QString fehlerName = benutzerNameFehler(z.benutzerName);
    if (!fehlerName.isEmpty()) {
        Dialoge::seam().warnung(fehlerName);
        return false;
    }
    z.jahrOrdnerName = z.jahrText;
    if (art == Schreibart::Aufnehmen) legeJahrOrdnerAn(z.jahrOrdner(), z.jahrText);
    const QString pfad = tabellenPfad(z, z.benutzerName, z.monatText, z.jahrText);
    z.TabellenDateiName = pfad;
    z.monatName = GibMonatLang(z.monatText.toInt());

    QStringList zeilen;
    zeilen << QStringLiteral("[Personendaten]") << QStringLiteral("BenutzerName=") + z.benutzerName
           << QStringLiteral("Datum=") + z.monatName + u' ' + z.jahrText;
    for (int i = 0; i < 4; ++i)
        zeilen << QString::number(i + 1) + QStringLiteral("M=") + (z.slotAktiv[i] ? u'1' : u'0');
    zeilen << QString();
    for (const QString& eintrag : z.ListBox1)
        zeilen << QString(eintrag).remove(u'\t');

    switch (textdatei::schreibeZeilen(pfad, zeilen)) {
    case textdatei::Ergebnis::Ok:
        return true;
    case textdatei::Ergebnis::NichtDarstellbar:
        Dialoge::seam().warnung(textdatei::meldungNichtDarstellbar(zeilen.join(QString())));
        return false;
    case textdatei::Ergebnis::Schreibfehler:
        break;
    }
    if (art == Schreibart::Aufnehmen)
        Dialoge::seam().warnung(QStringLiteral("Fehler beim Erzeugen der Datei ") + pfad);
    else
        Dialoge::seam().warnung(QStringLiteral("Fehler beim Erzeugen der Datei ") + z.benutzerName + u'_' +
                                z.monatText + u'_' + z.jahrText + QStringLiteral(".tab!"));
    return false;
}

namespace {

struct Gelesen {
    QStringList eintraege;
    QString monat, jahr, letzteZeile;
};

// Reading lines of a file in list form, with month and year of the last one; every value
// checked so a broken file is refused before anything changes.
std::optional<Gelesen> liesMesszeilen(const QStringList& zeilen, QString* fehler) {
    Gelesen g;
    for (QString zeile : zeilen) {
        if (zeile.isEmpty()) zeile = QStringLiteral("test");
        if (!istMesszeile(zeile)) continue;
        if (!werteAus(zeile, fehler)) return std::nullopt;
        g.eintraege << listeneintrag(zeile);
        const qsizetype p1 = zeile.indexOf(u'.');
        const qsizetype p2 = p1 < 0 ? -1 : zeile.indexOf(u'.', p1 + 1);
        if (p2 > p1) {
            g.monat = zeile.mid(p1 + 1, p2 - p1 - 1);
            const qsizetype blank = zeile.indexOf(u' ', p2 + 1);
            g.jahr = zeile.mid(p2 + 1, blank < 0 ? -1 : blank - p2 - 1);
        }
        g.letzteZeile = zeile;
    }
    return g;
}

} // namespace

bool liesZumBearbeiten(Zustand& z, const QString& pfad, KopfLesen kopfLesen) {
    const auto zeilen = textdatei::liesZeilen(pfad);
    if (!zeilen) {
        Dialoge::seam().warnung(QStringLiteral("Fehler Lesen der Datei!"));
        return false;
    }
    QString fehler;
    const auto gelesen = liesMesszeilen(*zeilen, &fehler);
    if (!gelesen) {
        Dialoge::seam().warnung(fehler);
        return false;
    }
    if (kopfLesen != KopfLesen::Nein) {
        const Kopf kopf = liesKopf(*zeilen);
        const QString fehlerName = benutzerNameFehler(kopf.benutzerName);
        if (!fehlerName.isEmpty()) {
            Dialoge::seam().warnung(fehlerName);
            return false;
        }
        wendeSlotsAn(kopf, z.slotAktiv);
        z.listenTitel = QStringLiteral("Messwerte ") + kopf.datum + QStringLiteral("  ") + kopf.benutzerName;
        if (kopfLesen == KopfLesen::Ja || !kopf.benutzerName.isEmpty()) z.benutzerName = kopf.benutzerName;
    }
    z.ListBox1 << gelesen->eintraege;
    if (!gelesen->monat.isEmpty()) {
        z.monatText = gelesen->monat;
        z.monatName = GibMonatLang(gelesen->monat.toInt());
    }
    if (!gelesen->jahr.isEmpty()) z.jahrText = gelesen->jahr;
    return true;
}

std::optional<Anzeige> liesZurAnzeige(const QString& pfad, QString* fehler) {
    const auto zeilen = textdatei::liesZeilen(pfad);
    if (!zeilen) {
        if (fehler) *fehler = QStringLiteral("Fehler beim Lesen der Datei: ") + pfad;
        return std::nullopt;
    }
    Anzeige a;
    a.zeilen = *zeilen;
    a.kopf = liesKopf(a.zeilen);
    const QString fehlerName = benutzerNameFehler(a.kopf.benutzerName);
    if (!fehlerName.isEmpty()) {
        if (fehler) *fehler = fehlerName;
        return std::nullopt;
    }
    for (QString zeile : a.zeilen) {
        if (zeile.isEmpty()) zeile = QStringLiteral("test");
        if (!istMesszeile(zeile)) continue;
        const auto m = werteAus(zeile, fehler);
        if (!m) return std::nullopt;
        a.messzeilen << zeile;
        a.messungen << *m;
        const qsizetype p1 = zeile.indexOf(u'.');
        const qsizetype p2 = p1 < 0 ? -1 : zeile.indexOf(u'.', p1 + 1);
        if (p2 > p1) {
            a.monat = zeile.mid(p1 + 1, p2 - p1 - 1);
            const qsizetype blank = zeile.indexOf(u' ', p2 + 1);
            a.jahr = zeile.mid(p2 + 1, blank < 0 ? -1 : blank - p2 - 1);
        }
    }
    return a;
}

void nimmTabelleAuf(Zustand& z, const QString& pfad, const QString& name, const QString& monat,
                    const QString& jahr) {
    if (!benutzerNameFehler(name).isEmpty())
        return; // never a path from such a name; the readers have said why
    z.jahrOrdnerName = jahr;
    const QString kanonisch = tabellenPfad(z, name, monat, jahr);
    z.TabellenDateiName = kanonisch;
    if (kanonisch.toLower().contains(pfad.toLower())) return;
    legeJahrOrdnerAn(z.jahrOrdner(), jahr);
    Schreib_String_in_Registry(QStringLiteral("BenutzerName"), name);
    if (QFile::exists(kanonisch)) return;
    QFile quelle(pfad);
    QSaveFile ziel(kanonisch);
    if (quelle.open(QIODevice::ReadOnly) && ziel.open(QIODevice::WriteOnly)) {
        const QByteArray inhalt = quelle.readAll();
        if (ziel.write(inhalt) == inhalt.size() && ziel.commit()) return;
    }
    Dialoge::seam().warnung(QStringLiteral("Fehler beim Erzeugen der Datei ") + kanonisch);
}

} // namespace monatstabelle

namespace bemerkungen {

QString laden(const QString& pfad) {
    const auto zeilen = textdatei::liesZeilen(pfad);
    return zeilen ? zeilen->join(u'\n') : QString();
}

bool speichern(const QString& pfad, const QString& text) {
    QStringList zeilen = text.split(u'\n');
    if (text.isEmpty())
        zeilen.clear();
    else if (text.endsWith(u'\n'))
        zeilen.removeLast();
    if (!textdatei::istDarstellbar(text)) {
        // Warned before it is saved; the rest of the remarks must not be lost with them.
        Dialoge::seam().warnung(
            textdatei::meldungNichtDarstellbar(text) +
            QStringLiteral(" Die Bemerkungen werden mit \u00BB?\u00AB an ihrer Stelle gespeichert."));
        for (QString& z : zeilen)
            z = textdatei::ausWin1252(textdatei::nachWin1252(z));
    }
    if (textdatei::schreibeZeilen(pfad, zeilen) == textdatei::Ergebnis::Ok) return true;
    Dialoge::seam().warnung(QStringLiteral("Fehler beim Erzeugen der Datei ") + pfad);
    return false;
}

} // namespace bemerkungen
