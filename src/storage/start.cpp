#include "storage/start.h"

#include "platform/beenden.h"
#include "platform/dialoge.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"

#include "platform/datei.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace start {
namespace {

// Creates a folder the program cannot run without; false when it still does not exist.
bool ordnerBereit(const QString& name, const QString& pfad) {
    if (QDir(pfad).exists()) return true;
    if (!QDir().mkpath(pfad))
        Dialoge::seam().meldung(QStringLiteral("Ordner \"") + name +
                                QStringLiteral("\" konnte nicht erstellt werden! "));
    if (QDir(pfad).exists()) return true;
    Dialoge::seam().information(QStringLiteral("Ordner: ") + pfad + QStringLiteral("\" existiert nicht! ") +
                                QStringLiteral(" Das Programm wird beendet."));
    return false;
}

// A user's own templates and guide are kept; only missing ones come from the built-in copies. A
// copy that cannot be written is no reason to stop: the program reads the built-in one then.
void eingebauteKopienAblegen(const QString& ordner) {
    const struct {
        const char* datei;
        const char* quelle;
    } kopien[] = {{"Vorlage.bmp", ":/vorlagen/Vorlage.bmp"},
                  {"GewichtVorlage.bmp", ":/vorlagen/GewichtVorlage.bmp"},
                  {"Header.bmp", ":/vorlagen/Header.bmp"},
                  {"Korvane-Hilfe.pdf", ":/hilfe/Korvane-Hilfe.pdf"}};
    for (const auto& k : kopien) {
        const QString ziel = ordner + QLatin1String(k.datei);
        // Whatever is there, even a FIFO or a dangling link, is the user's and is left alone.
        if (QFileInfo::exists(ziel) || QFileInfo(ziel).isSymLink()) continue;
        QFile quelle(QLatin1String(k.quelle));
        if (quelle.open(QIODevice::ReadOnly)) datei::schreibe(ziel, quelle.readAll());
    }
}

} // namespace

QString programmOrdner() {
    const QString gesetzt = qEnvironmentVariable("KORVANE_ORDNER");
    const QString ordner = gesetzt.isEmpty() ? QDir::homePath() + QStringLiteral("/Korvane")
                                             : QFileInfo(gesetzt).absoluteFilePath();
    return monatstabelle::mitSchraegstrich(QDir::cleanPath(ordner));
}

QString einzelstartSchluessel() {
    return registry::dateiPfad() + u'\n' + programmOrdner();
}

QString datenOrdnerFrage(const QString& installOrt) {
    const QString umbruch = QStringLiteral("\n\r");
    return QStringLiteral("Sie haben f\u00FCr das Programm \"Korvane\" bereits in einem anderen Ordner Daten "
                          "angelegt:") +
           umbruch + u'"' + installOrt + u'"' + umbruch +
           QStringLiteral("M\u00F6chten Sie diesen Speicherort f\u00FCr Ihre Korvanedaten beibehalten?");
}

void leseOrdner(Zustand& z) {
    z.datenOrdner = Lies_String_aus_Registry(QStringLiteral("DatenSpeicherOrt"));
    if (z.datenOrdner.isEmpty()) z.datenOrdner = z.programmOrdner;
    z.datenOrdner = monatstabelle::mitSchraegstrich(z.datenOrdner);

    QString name = Lies_String_aus_Registry(QStringLiteral("GalerieVerzeichnisName"));
    z.tabellenOrdnerName =
        name.isEmpty() ? QStringLiteral("Korvane-Daten-Galerie/") : monatstabelle::mitSchraegstrich(name);
    z.tabellenOrdner = z.datenOrdner + z.tabellenOrdnerName;

    name = Lies_String_aus_Registry(QStringLiteral("HtmlVerzeichnisName"));
    z.htmlOrdnerName =
        name.isEmpty() ? QStringLiteral("Korvane-Daten im Browser/") : monatstabelle::mitSchraegstrich(name);
    z.htmlOrdner = z.datenOrdner + z.htmlOrdnerName;

    auto bildPfad = [&](const char* einstellung) {
        const QString wert = Lies_String_aus_Registry_mit_Vorgabe(QLatin1String(einstellung));
        return wert.isEmpty() ? QString() : z.programmOrdner + wert;
    };
    z.headerPfad = bildPfad("Header");
    z.grafikPfad = bildPfad("Grafik");
    z.gewichtGrafikPfad = bildPfad("GewichtGrafik");
}

QString tabelleInGebrauch(const Zustand& z) {
    const QString gespeichert = Lies_String_aus_Registry(QStringLiteral("TabellenDateiName"));
    if (!gespeichert.isEmpty() && !gespeichert.contains(z.datenOrdner) && QFileInfo::exists(z.datenOrdner + gespeichert))
        return z.datenOrdner + gespeichert;
    return gespeichert;
}

bool richteEin(Zustand& z) {
    z.programmOrdner = programmOrdner();

    // Something where the settings file belongs that cannot be read (a FIFO, a folder, a huge
    // file) is neither read nor replaced.
    const QString einstellungen = registry::dateiFehler();
    if (!einstellungen.isEmpty()) {
        Dialoge::seam().warnung(einstellungen + QStringLiteral(" Das Programm wird beendet."));
        return false;
    }

    const QString programmName = QFileInfo(QDir::cleanPath(z.programmOrdner)).fileName();
    if (!ordnerBereit(programmName, z.programmOrdner)) return false;
    eingebauteKopienAblegen(z.programmOrdner);

    const QString installOrt = Lies_String_aus_Registry(QStringLiteral("InstallOrt"));
    if (installOrt.isEmpty()) {
        // A settings folder that cannot be written would make every start a first one: the
        // store says so.
        Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(z.programmOrdner);
    } else if (!z.programmOrdner.toLower().contains(installOrt.toLower())) {
        const bool beibehalten = Dialoge::seam().frage(datenOrdnerFrage(installOrt));
        // A signal while the question waits is no answer: nothing is reset, the start ends.
        if (beenden::verlangt()) return false;
        if (!beibehalten) Wenn_Noch_Nicht_Installiert_SchreibRegistryEintraege(z.programmOrdner);
    }

    if (Lies_String_aus_Registry(QStringLiteral("Browser")).isEmpty())
        Schreib_String_in_Registry(QStringLiteral("Browser"), QStringLiteral("standard"));

    leseOrdner(z);
    if (!ordnerBereit(z.tabellenOrdnerName, z.tabellenOrdner)) return false;
    if (!ordnerBereit(z.htmlOrdnerName, z.htmlOrdner)) return false;
    return true;
}

} // namespace start
