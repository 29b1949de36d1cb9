#include "app/kommandozeile.h"

#include "chart/tmonatsgrafik.h"
#include "export/html/htmlexport.h"
#include "platform/dialoge.h"
#include "platform/pause.h"
#include "platform/umgebung.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace kommandozeile {
namespace {

void schreibeFehler(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

// What would be a message box in the window is a line on stderr; a question gets "Nein".
class StderrDialoge : public Dialoge {
public:
    void meldung(const QString& text) override { schreibeFehler(text); }
    void information(const QString& text) override { schreibeFehler(text); }
    void warnung(const QString& text) override { schreibeFehler(text); }
    bool frage(const QString& text) override {
        schreibeFehler(text + u" (ohne Fenster: Nein)"_s);
        return false;
    }
    QString dateiOeffnen(const QString&, const QString&, const QString&) override { return {}; }
    QString dateiSpeichern(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QRgb> farbe(QRgb) override { return std::nullopt; }
    int modal(QObject*) override { return 0; }
};

// The HTML chart page of each table, with the values a drawing of it would leave behind.
int exportiereHtml(const Aufruf& a, Zustand& z) {
    int status = 0;
    const bool inOrdner = !a.ausgabe.isEmpty() && (QFileInfo(a.ausgabe).isDir() || a.ausgabe.endsWith(u'/'));
    for (const QString& t : a.tabellen) {
        const QString tabelle = QFileInfo(t).absoluteFilePath();
        QString fehler;
        const std::optional<monatstabelle::Anzeige> anzeige = monatstabelle::liesZurAnzeige(tabelle, &fehler);
        if (!anzeige) {
            schreibeFehler(fehler);
            status = 1;
            continue;
        }
        if (anzeige->monat.isEmpty()) {
            schreibeFehler(tabelle + u": Es wurden noch keine Daten eingegeben!"_s);
            status = 1;
            continue;
        }
        TMonatsGrafik grafik(z);
        grafik.sammleWerte(*anzeige);

        THtmlSeite::Daten daten;
        daten.monatText = anzeige->monat;
        daten.jahrText = anzeige->jahr;
        daten.monatName = monatstabelle::GibMonatLang(anzeige->monat.toInt());
        daten.benutzerName = anzeige->kopf.benutzerName.isEmpty()
                                 ? Lies_String_aus_Registry(u"BenutzerName"_s)
                                 : anzeige->kopf.benutzerName;
        daten.tagesWerteSys = grafik.TagesWerteSys;
        daten.tagesWerteDia = grafik.TagesWerteDia;
        daten.tagesWertePuls = grafik.TagesWertePuls;
        daten.mittelSys = grafik.MonatsMittelTexte.sys;
        daten.mittelDia = grafik.MonatsMittelTexte.dia;
        daten.mittelPuls = grafik.MonatsMittelTexte.puls;
        daten.mittelGewicht = grafik.MonatsMittelGewicht;
        htmlexport::leseEinstellungen(daten);
        daten.bemerkungen = htmlexport::leseBemerkungen(monatstabelle::bemerkungsPfadZu(tabelle));

        // Named as the window names it: after the table filed under user, month and year.
        const QString kanonisch =
            monatstabelle::tabellenPfad(z, daten.benutzerName, anzeige->monat, anzeige->jahr);
        const QString name = htmlexport::seitenDateiName(kanonisch.isEmpty() ? tabelle : kanonisch);
        QString ordner, datei;
        if (a.ausgabe.isEmpty()) {
            ordner = z.htmlOrdner + anzeige->jahr;
            datei = ordner + u'/' + name;
        } else if (inOrdner) {
            ordner = QDir::cleanPath(QFileInfo(a.ausgabe).absoluteFilePath());
            datei = ordner + u'/' + name;
        } else {
            datei = QFileInfo(a.ausgabe).absoluteFilePath();
            ordner = QFileInfo(datei).path();
        }
        THtmlSeite seite(daten);
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(seite, {datei, ordner, z.datenOrdner});
        if (e.seiteGeschrieben) std::printf("%s\n", QFile::encodeName(datei).constData());
        if (!e.seiteGeschrieben || !e.skriptDa) status = 1;
    }
    std::fflush(stdout);
    return status;
}

struct Exportart {
    const char16_t* name;
    int (*ausfuehren)(const Aufruf&, Zustand&);
};
constexpr Exportart kArten[] = {
    {u"html", exportiereHtml},
};

const Exportart* artNamens(const QString& name) {
    for (const Exportart& a : kArten)
        if (name == QStringView(a.name)) return &a;
    return nullptr;
}

} // namespace

bool istBefehlszeile(const QStringList& argumente) {
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& a = argumente.at(i);
        if (a == u"--help" || a == u"-h" || a == u"--export" || a.startsWith(u"--export=") ||
            a == u"--ausgabe" || a.startsWith(u"--ausgabe="))
            return true;
    }
    return false;
}

Aufruf lies(const QStringList& argumente) {
    Aufruf a;
    auto wert = [&](qsizetype& i, const QString& option, QString* ziel) {
        if (i + 1 >= argumente.size()) {
            if (a.fehler.isEmpty()) a.fehler = u"Nach %1 fehlt ein Wert."_s.arg(option);
            return;
        }
        *ziel = argumente.at(++i);
    };
    bool nurTabellen = false;
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& arg = argumente.at(i);
        if (nurTabellen || !arg.startsWith(u'-') || arg == u"-") {
            a.tabellen << arg;
        } else if (arg == u"--") {
            nurTabellen = true;
        } else if (arg == u"--help" || arg == u"-h") {
            a.hilfe = true;
        } else if (arg == u"--export") {
            wert(i, arg, &a.art);
        } else if (arg.startsWith(u"--export=")) {
            a.art = arg.mid(9);
        } else if (arg == u"--ausgabe") {
            wert(i, arg, &a.ausgabe);
        } else if (arg.startsWith(u"--ausgabe=")) {
            a.ausgabe = arg.mid(10);
        } else if (a.fehler.isEmpty()) {
            a.fehler = u"Unbekannte Option \"%1\"."_s.arg(arg);
        }
    }
    if (!a.fehler.isEmpty() || a.hilfe) return a;
    QStringList bekannt;
    for (const Exportart& art : kArten)
        bekannt << QString::fromUtf16(art.name);
    if (a.art.isEmpty())
        a.fehler = u"Es fehlt --export ART (%1)."_s.arg(bekannt.join(u", "_s));
    else if (!artNamens(a.art))
        a.fehler = u"Unbekannte Exportart \"%1\"; bekannt: %2."_s.arg(a.art, bekannt.join(u", "_s));
    else if (a.tabellen.isEmpty())
        a.fehler = u"Es wurde keine Monatstabelle angegeben."_s;
    else if (a.tabellen.size() > 1 && !a.ausgabe.isEmpty() && !QFileInfo(a.ausgabe).isDir() &&
             !a.ausgabe.endsWith(u'/'))
        a.fehler =
            u"Mit mehreren Tabellen muss --ausgabe einen Ordner nennen (mit \"/\" am Ende legt Korvane "
            u"ihn an)."_s;
    return a;
}

QString hilfetext() {
    return u"Aufruf:\n"
           u"  korvane [--touch] [TABELLE.tab]\n"
           u"      öffnet das Fenster; eine angegebene Monatstabelle wird als Grafik gezeigt.\n"
           u"  korvane --export ART [--ausgabe PFAD] TABELLE.tab …\n"
           u"      schreibt ohne Fenster für jede Monatstabelle eine Datei. ART ist:\n"
           u"        html  die Seite mit den Diagrammen für den Browser, Chart.min.js daneben\n"
           u"      Ohne --ausgabe liegt die Datei dort, wo der Befehl im Fenster sie ablegt. --ausgabe\n"
           u"      nennt die Datei oder einen Ordner (bei mehreren Tabellen immer einen Ordner).\n"
           u"  korvane --help\n"
           u"      zeigt diese Hilfe.\n"
           u"Rückgabewert: 0 wenn alles geschrieben wurde, 1 bei einem Fehler, 2 bei falschem Aufruf.\n"_s;
}

int ausfuehren(int argc, char** argv) {
    // No window is ever shown: no display is needed, whatever the environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own notes are English and for developers; only its failures reach stderr.
    qInstallMessageHandler([](QtMsgType typ, const QMessageLogContext&, const QString& text) {
        if (typ == QtCriticalMsg || typ == QtFatalMsg) schreibeFehler(text);
    });
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(u"Korvane"_s);
    QGuiApplication::setOrganizationName(u"Orvalis"_s);
    umgebung::einrichten();
    Pause::setzeFaktor(0);
    StderrDialoge dialoge;
    Dialoge::setze(&dialoge);

    const Aufruf a = lies(QCoreApplication::arguments());
    if (a.hilfe) {
        std::printf("%s", hilfetext().toLocal8Bit().constData());
        return 0;
    }
    if (!a.fehler.isEmpty()) {
        schreibeFehler(a.fehler + u" \"korvane --help\" zeigt, wie es geht."_s);
        return 2;
    }
    Zustand z;
    z.programmOrdner = monatstabelle::mitSchraegstrich(QDir::currentPath());
    start::leseOrdner(z);
    const int status = artNamens(a.art)->ausfuehren(a, z);
    Dialoge::setze(nullptr);
    return status;
}

} // namespace kommandozeile
