#include "storage/registry.h"

#include "platform/datei.h"
#include "platform/dialoge.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <fcntl.h>
#include <algorithm>
#include <optional>
#include <sys/stat.h>

namespace {

// Opened afresh for every value, as each operation of the store does. Named by its path, so
// QSettings reads this one file and no fallback beside it. Only read through: QSettings writes
// through a QSaveFile whose failed flush it does not see, and a full disk left the file empty.
struct Schluessel : QSettings {
    Schluessel() : QSettings(registry::dateiPfad(), QSettings::NativeFormat) { setFallbacksEnabled(false); }
};

// A kill during a save through QSettings (as Korvane saved before) can leave an empty lock file
// (or the lock of its removal) on which QSettings would wait 30 s. A lock older than half a
// second, or one whose owner is gone, is taken away at the next write, never waited for longer
// than a second.
void sperrenFreigeben(const QString& datei) {
    for (const QString& sperre : {datei + QStringLiteral(".lock.rmlock"), datei + QStringLiteral(".lock")}) {
        if (!QFileInfo::exists(sperre)) continue;
        QLockFile vorher(sperre);
        vorher.setStaleLockTime(500);
        if (vorher.tryLock(1000)) vorher.unlock();
    }
}

// A whole copy a QSettings save left when killed between writing and renaming: the file's name,
// "." and six letters or digits, the names its QSaveFile gives.
void kopienEntfernen(const QString& datei) {
    const QFileInfo info(datei);
    const QRegularExpression muster(u'^' + QRegularExpression::escape(info.fileName()) +
                                    QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    QDir ordner = info.absoluteDir();
    for (const QString& name : ordner.entryList({info.fileName() + QStringLiteral(".*")},
                                                QDir::Files | QDir::Hidden | QDir::System))
        if (muster.match(name).hasMatch()) QFile::remove(ordner.filePath(name));
}

qint64 millisekunden(const struct timespec& t) {
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// QSettings keeps a file it read and reads it again only when its size or its time, to the
// millisecond, changed: two writes of one size within a millisecond would read as the first, even
// when the file was removed and made anew in between. Each file written is therefore later than the
// one before it and than every file this process wrote.
void zeitVoran(const QByteArray& name, const std::optional<qint64>& vorher) {
    static qint64 letzte = 0;
    struct stat st = {};
    if (::stat(name.constData(), &st) != 0) return;
    const qint64 jetzt = millisekunden(st.st_mtim);
    const qint64 mindestens = std::max(vorher.value_or(0), letzte) + 1;
    letzte = std::max(jetzt, mindestens);
    if (jetzt >= mindestens) return;
    const struct timespec zeiten[2] = {{0, UTIME_OMIT}, {time_t(letzte / 1000), long(letzte % 1000) * 1000000}};
    ::utimensat(AT_FDCWD, name.constData(), zeiten, 0);
}

bool g_gemeldet = false;

// Said once, until a write works again: every change would say it otherwise.
void meldeSchreibfehler(const QString& meldung, bool anlegen) {
    if (g_gemeldet) return;
    g_gemeldet = true;
    Dialoge::seam().warnung(meldung +
                            QStringLiteral("\nDie Einstellungen werden nicht gespeichert; Korvane arbeitet "
                                           "ohne sie weiter.") +
                            (anlegen
                                 ? QStringLiteral(" Name und Tabelle werden beim n\u00E4chsten Start wieder "
                                                  "erfragt.")
                                 : QString()));
}

// Integers among them (StiftBreite and the four flags) are stored as their decimal text, as
// QSettings stores an integer and reads it back.
struct Eintrag {
    const char* name;
    QString wert;
};

// Every first-start value, in the order it is written.
QList<Eintrag> ersteWerte(const QString& programmOrdner) {
    return {
        {"StiftBreite", QStringLiteral("2")},
        {"InstallOrt", programmOrdner},
        {"DatenSpeicherOrt", programmOrdner},
        {"BenutzerName", QString()},
        {"TabellenDateiName", QString()},
        {"Header", QStringLiteral("Header.bmp")},
        {"Grafik", QStringLiteral("Vorlage.bmp")},
        {"GewichtGrafik", QStringLiteral("GewichtVorlage.bmp")},
        {"UhrzeitMorgens", QStringLiteral("07:30")},
        {"UhrzeitMessung2", QStringLiteral("13:00")},
        {"UhrzeitMessung3", QStringLiteral("15:30")},
        {"UhrzeitAbends", QStringLiteral("20:40")},
        {"GalerieVerzeichnisName", QStringLiteral("Korvane-Daten-Galerie")},
        {"HtmlVerzeichnisName", QStringLiteral("Korvane-Daten im Browser")},
        {"CloudGalerieVerzeichnisName", QStringLiteral("Cloud-Korvane-Daten-Galerie")},
        {"SystolischKurvenFarbe", QStringLiteral("16711680")},
        {"DiastolischKurvenFarbe", QStringLiteral("32768")},
        {"PulsKurvenFarbe", QStringLiteral("8388863")},
        {"GewichtsKurvenFarbe", QStringLiteral("16512")},
        {"PulsdruckFarbe", QStringLiteral("33023")},
        {"DatenwerteOberhalbFarbe", QStringLiteral("128")},
        {"Grafikformat", QStringLiteral("DINA4")},
        {"Browser", QStringLiteral("standard")},
        {"FarbkurveGewichtAnzeigen", QStringLiteral("0")},
        {"BemerkungenAnzeigen", QStringLiteral("1")},
        {"LinieBeiNullUnterbrechen", QStringLiteral("1")},
        {"WerteOberhalbKurveAnzeigen", QStringLiteral("0")},
    };
}

// Order of the file: the first-start values in their order, then whatever else it holds.
registry::Werte geordnet(const registry::Werte& werte) {
    registry::Werte ordnung;
    for (const Eintrag& e : ersteWerte(QString()))
        for (const auto& w : werte)
            if (w.first == QLatin1String(e.name)) ordnung << w;
    for (const auto& w : werte)
        if (!ordnung.contains(w)) ordnung << w;
    return ordnung;
}

// Rewrites the whole file with the entries given changed or added, read through QSettings and
// written through datei::schreibe, so a failed write leaves the file as it was. anlegen creates
// the key; without it nothing is written while there is none.
bool schreibeEintraege(const QList<std::pair<QString, QString>>& neu, bool anlegen) {
    const QString pfad = registry::dateiPfad();
    const bool da = registry::schluesselExistiert();
    if (!da && (!anlegen || !registry::dateiFehler().isEmpty())) return false;
    sperrenFreigeben(pfad);
    kopienEntfernen(pfad);
    registry::Werte werte;
    std::optional<qint64> vorher;
    if (da) {
        Schluessel s;
        // A file QSettings cannot read would be written back empty.
        if (s.status() == QSettings::AccessError) {
            meldeSchreibfehler(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(pfad),
                               false);
            return false;
        }
        for (const QString& name : s.allKeys())
            werte.append({name, s.value(name)});
        struct stat st = {};
        if (::stat(QFile::encodeName(pfad).constData(), &st) == 0) vorher = millisekunden(st.st_mtim);
    }
    for (const auto& [name, text] : neu) {
        auto it = std::find_if(werte.begin(), werte.end(), [&](const auto& w) { return w.first == name; });
        if (it != werte.end())
            it->second = text;
        else
            werte.append({name, text});
    }
    QDir().mkpath(QFileInfo(pfad).path());
    const datei::Geschrieben g = datei::schreibe(pfad, registry::alsIni(geordnet(werte)));
    if (!g) {
        meldeSchreibfehler(datei::schreibMeldung(pfad, g), !da);
        return false;
    }
    zeitVoran(QFile::encodeName(pfad), vorher);
    g_gemeldet = false;
    return true;
}

// The stored value, or nothing when the store holds no entry of that name.
std::optional<QString> gespeichert(const QString& name) {
    if (!registry::schluesselExistiert()) return std::nullopt;
    Schluessel s;
    const QVariant v = s.value(name);
    if (!v.isValid()) return std::nullopt;
    return v.toString();
}

// A key as QSettings writes it: letters, digits, "_", "-" and "." as they are, "/" as "\\",
// everything else as %XX or %UXXXX.
void iniSchluessel(const QString& schluessel, QByteArray& aus) {
    static const char kHex[] = "0123456789ABCDEF";
    for (const QChar c : schluessel) {
        const char16_t ch = c.unicode();
        if (ch == u'/') {
            aus += '\\';
        } else if ((ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9') ||
                   ch == u'_' || ch == u'-' || ch == u'.') {
            aus += char(ch);
        } else if (ch <= 0xFF) {
            aus += '%';
            aus += kHex[ch / 16];
            aus += kHex[ch % 16];
        } else {
            aus += "%U";
            for (int stelle = 12; stelle >= 0; stelle -= 4)
                aus += kHex[(ch >> stelle) & 0xF];
        }
    }
}

// A text value as QSettings writes it: C escapes for control characters, quotes and
// backslashes, the text in quotes when it holds ";", "," or "=" or begins or ends with a blank,
// other characters as UTF-8 (a "@ByteArray(" value byte for byte).
void iniText(const QString& text, QByteArray& aus) {
    const bool utf8 =
        !text.startsWith(QLatin1String("@ByteArray(")) && !text.startsWith(QLatin1String("@Variant("));
    const qsizetype anfang = aus.size();
    bool inAnfuehrung = false;
    bool hexFolgtNicht = false; // a hex digit after \x.. or \0 would join the escape
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text.at(i).unicode();
        if (ch == u';' || ch == u',' || ch == u'=') inAnfuehrung = true;
        if (hexFolgtNicht &&
            ((ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F'))) {
            aus += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        hexFolgtNicht = false;
        static constexpr char16_t kZeichen[] = u"\a\b\f\n\r\t\v\"\\";
        static constexpr char kBuchstaben[] = "abfnrtv\"\\";
        const char16_t* c = std::char_traits<char16_t>::find(kZeichen, 9, ch);
        if (ch == 0) {
            aus += "\\0";
            hexFolgtNicht = true;
        } else if (c) {
            aus += '\\';
            aus += kBuchstaben[c - kZeichen];
        } else if (ch <= 0x1F || (ch >= 0x7F && !utf8)) {
            aus += "\\x" + QByteArray::number(ch, 16);
            hexFolgtNicht = true;
        } else if (ch >= 0x7F) {
            // A pair of surrogates is one character.
            const qsizetype laenge = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            aus += text.mid(i, laenge).toUtf8();
            i += laenge - 1;
        } else {
            aus += char(ch);
        }
    }
    if (inAnfuehrung || (anfang < aus.size() && (aus.at(anfang) == ' ' || aus.back() == ' '))) {
        aus.insert(anfang, '"');
        aus += '"';
    }
}

// A value as QSettings turns it into text before escaping it.
QString alsText(const QVariant& wert) {
    if (!wert.isValid()) return QStringLiteral("@Invalid()");
    if (wert.typeId() == QMetaType::QByteArray)
        return QStringLiteral("@ByteArray(") + QString::fromLatin1(wert.toByteArray()) + u')';
    QString text = wert.toString();
    if (text.contains(QChar(0))) return QStringLiteral("@String(") + text + u')';
    if (text.startsWith(u'@')) text.prepend(u'@');
    return text;
}

void iniWert(const QVariant& wert, QByteArray& aus) {
    if (wert.typeId() != QMetaType::QStringList) {
        iniText(alsText(wert), aus);
        return;
    }
    // An empty list reads back as an invalid value, as QSettings has it.
    const QStringList liste = wert.toStringList();
    if (liste.isEmpty()) aus += "@Invalid()";
    for (qsizetype i = 0; i < liste.size(); ++i) {
        if (i > 0) aus += ", ";
        iniText(alsText(liste.at(i)), aus);
    }
}

} // namespace

namespace registry {

QByteArray alsIni(const Werte& werte) {
    // Keys without "/" go into [General]; "a/b" is key b of section [a], as QSettings has it.
    QStringList abschnitte{QString()};
    QList<QByteArray> zeilen{QByteArray()};
    for (const auto& [name, wert] : werte) {
        const qsizetype strich = name.indexOf(u'/');
        const QString abschnitt = strich < 0 ? QString() : name.left(strich);
        qsizetype i = abschnitte.indexOf(abschnitt);
        if (i < 0) {
            i = abschnitte.size();
            abschnitte << abschnitt;
            zeilen << QByteArray();
        }
        iniSchluessel(name.mid(strich + 1), zeilen[i]);
        zeilen[i] += '=';
        iniWert(wert, zeilen[i]);
        zeilen[i] += '\n';
    }
    QByteArray aus;
    for (qsizetype i = 0; i < abschnitte.size(); ++i) {
        if (zeilen.at(i).isEmpty()) continue;
        if (!aus.isEmpty()) aus += '\n';
        QByteArray kopf = abschnitte.at(i).isEmpty() ? QByteArray("General") : QByteArray();
        iniSchluessel(abschnitte.at(i), kopf);
        // A section of that name would read as the keys outside any section.
        if (abschnitte.at(i).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) kopf.prepend('%');
        aus += '[' + kopf + "]\n" + zeilen.at(i);
    }
    return aus;
}

QString dateiPfad() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Orvalis/Korvane.conf");
}

bool schluesselExistiert() {
    return datei::pruefe(dateiPfad(), datei::kGrenzeEinstellungen) == datei::Fehler::Keiner;
}

QString dateiFehler() {
    QString meldung;
    const datei::Fehler f = datei::pruefe(dateiPfad(), datei::kGrenzeEinstellungen, &meldung);
    return f == datei::Fehler::Keiner || f == datei::Fehler::Fehlt ? QString() : meldung;
}

QString vorgabe(const QString& name) {
    // The folders depend on where the program ran first; they have no fixed value.
    for (const Eintrag& e : ersteWerte(QString()))
        if (name == QLatin1String(e.name)) return e.wert;
    return {};
}

QString mitStandard(const QString& name) {
    const QString wert = Lies_String_aus_Registry(name);
    return wert.isEmpty() ? vorgabe(name) : wert;
}

} // namespace registry

void Schreib_String_in_Registry(const QString& name, const QString& text) {
    schreibeEintraege({{name, text}}, false);
}

bool Schreib_Integer_in_Registry(const QString& name, const QString& text) {
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    if (!ok) return false; // no number: the stored value stays as it was
    return schreibeEintraege({{name, QString::number(wert)}}, false);
}

namespace {
QString alsGanzzahl(const QString& text) {
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok);
    return ok ? QString::number(wert) : QString();
}
} // namespace

QString Lies_String_aus_Registry(const QString& name) {
    return gespeichert(name).value_or(QString());
}

QString Lies_Integer_aus_Registry(const QString& name) {
    const std::optional<QString> text = gespeichert(name);
    return text ? alsGanzzahl(*text) : QString();
}

QString Lies_String_aus_Registry_mit_Vorgabe(const QString& name) {
    return gespeichert(name).value_or(registry::vorgabe(name));
}

QString Lies_Integer_aus_Registry_mit_Vorgabe(const QString& name) {
    return alsGanzzahl(Lies_String_aus_Registry_mit_Vorgabe(name));
}

void Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(const QString& programmOrdner) {
    // Creates the key: only a file that is there and unusable (a FIFO, a folder) stops it.
    QList<std::pair<QString, QString>> werte;
    for (const Eintrag& e : ersteWerte(programmOrdner))
        werte.append({QLatin1String(e.name), e.wert});
    schreibeEintraege(werte, true);
}
