#include "app/kommandozeile.h"

#include "app/einzelstart.h"
#include "chart/tmonatsgrafik.h"
#include "entry/csvimport.h"
#include "export/bericht/berichtdatei.h"
#include "export/html/htmlexport.h"
#include "export/image/grafikseite.h"
#include "export/image/jpeg.h"
#include "export/image/monatszeichner.h"
#include "export/pdf/pdfdokument.h"
#include "platform/datei.h"
#include "platform/dialoge.h"
#include "platform/pause.h"
#include "platform/shell.h"
#include "platform/uhr.h"
#include "platform/umgebung.h"
#include "storage/csv.h"
#include "storage/monatstabelle.h"
#include "storage/registry.h"
#include "storage/start.h"
#include "table/tabelle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <optional>

using namespace Qt::StringLiterals;

namespace kommandozeile {
namespace {

// Every message of this run, for a desktop action's notification.
QStringList g_meldungen;

void schreibeFehler(const QString& text) {
    g_meldungen << text;
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

// A table given on the command line, read and checked before anything is written.
struct Tabelle {
    QString pfad; // absolute
    monatstabelle::Anzeige anzeige;
};

// Every table, or nullopt after naming each one that cannot be used. Without behalten only the
// paths are kept: the kinds that draw read each table again as they draw it, so a document of many
// months never holds them all.
std::optional<QList<Tabelle>> liesAlle(const QStringList& namen, bool behalten) {
    QList<Tabelle> alle;
    bool gut = true;
    for (const QString& name : namen) {
        Tabelle t;
        t.pfad = QFileInfo(name).absoluteFilePath();
        QString fehler;
        std::optional<monatstabelle::Anzeige> anzeige = monatstabelle::liesZurAnzeige(t.pfad, &fehler);
        if (!anzeige) {
            schreibeFehler(fehler);
            gut = false;
        } else if (anzeige->monat.isEmpty()) {
            schreibeFehler(t.pfad + u": Es wurden noch keine Daten eingegeben!"_s);
            gut = false;
        } else {
            if (behalten) t.anzeige = std::move(*anzeige);
            alle << std::move(t);
        }
    }
    if (!gut) {
        schreibeFehler(u"Es wurde nichts geschrieben."_s);
        return std::nullopt;
    }
    return alle;
}

// The entry dialog's list of the table: what the table window's grid is made of.
QStringList listeDer(const Tabelle& t) {
    QStringList liste;
    liste.reserve(t.anzeige.messzeilen.size());
    for (const QString& zeile : t.anzeige.messzeilen)
        liste << monatstabelle::listeneintrag(zeile);
    return liste;
}

tabelle::Gitter gitterDer(const Tabelle& t) {
    return tabelle::ErstelleTabelle(listeDer(t));
}

// The month drawn into the chart; a refused table is said, and so that nothing is written.
bool zeichne(Monatszeichner& zeichner, const Tabelle& t) {
    if (zeichner.zeichne(t.pfad)) return true;
    schreibeFehler(u"Es wurde nichts geschrieben."_s);
    return false;
}

struct Lauf {
    const Aufruf& aufruf;
    const QList<Tabelle>& tabellen;
    const Zustand& basis;
    QStringList patientendaten;
    pdfdokument::Platz platz = pdfdokument::Platz::Keiner;
    QStringList geschrieben; // the files written, for --zeigen
    // The kinds over a period: the period and its readings.
    QDate von, bis;
    const berichtdatei::Auswahl* auswahl = nullptr;
    // A target that must not be written gives this status: a wrong call when --ausgabe named it.
    int zielStatus() const { return aufruf.ausgabe.isEmpty() ? 1 : 2; }
};

bool gleicheDatei(const struct stat& a, const QString& pfad) {
    struct stat b {};
    return ::stat(QFile::encodeName(pfad).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Why the file an export would write must not be written, empty when it may: a month table, the
// remarks file of a table given or in use (there or not), an input of this call (a table, its
// remarks, the patient data), anything that is no regular file
// (a device, a FIFO, a link: writing would replace what it is), a write-protected file.
QString zielFehler(const Lauf& l, const QString& ziel) {
    QStringList tabellen{start::tabelleInGebrauch(l.basis)};
    for (const Tabelle& t : l.tabellen)
        tabellen << t.pfad;
    if (const QString fehler = monatstabelle::exportNameFehler(ziel, tabellen); !fehler.isEmpty())
        return fehler;
    struct stat st {};
    if (::lstat(QFile::encodeName(ziel).constData(), &st) != 0) return {};
    if (!S_ISREG(st.st_mode))
        return u"\"%1\" ist keine gewöhnliche Datei und wird nicht ersetzt (die Standardausgabe ist \"--ausgabe -\")."_s
            .arg(ziel);
    QStringList eingaben;
    for (const Tabelle& t : l.tabellen)
        eingaben << t.pfad << monatstabelle::bemerkungsPfadZu(t.pfad);
    if (!l.aufruf.patientendaten.isEmpty()) eingaben << l.aufruf.patientendaten;
    for (const QString& eingabe : std::as_const(eingaben))
        if (gleicheDatei(st, eingabe))
            return u"\"%1\" wird von diesem Aufruf gelesen und nicht überschrieben."_s.arg(ziel);
    // Without any write bit it is protected even from root, who may write anything.
    if ((st.st_mode & 0222) == 0 || ::access(QFile::encodeName(ziel).constData(), W_OK) != 0)
        return u"\"%1\" ist schreibgeschützt und wird nicht ersetzt."_s.arg(ziel);
    return {};
}

// Says why the target must not be written; true when it may.
bool zielErlaubt(const Lauf& l, const QString& ziel) {
    const QString fehler = zielFehler(l, ziel);
    if (fehler.isEmpty()) return true;
    schreibeFehler(fehler + u" Es wurde nichts geschrieben."_s);
    return false;
}

bool gibtEs(const QString& pfad) {
    const QFileInfo info(pfad);
    return info.exists() || info.isSymLink();
}

void geschrieben(Lauf& l, const QString& pfad) {
    std::printf("%s\n", QFile::encodeName(pfad).constData());
    l.geschrieben << pfad;
}

// --ausgabe as a folder: one that is there.
bool istOrdner(const QString& ausgabe) {
    return !ausgabe.isEmpty() && QFileInfo(ausgabe).isDir();
}

// The file --ausgabe names, with the suffix added when it has none and no such file is there,
// as the save dialog adds it.
QString ausgabeDatei(const QString& ausgabe, const QString& endung) {
    QString datei = QFileInfo(ausgabe).absoluteFilePath();
    if (QFileInfo(datei).suffix().isEmpty() && !gibtEs(datei)) datei += endung;
    return datei;
}

// Where a file art writes: the window's place, inside the folder --ausgabe names, or the file it
// names.
QString zielDatei(const QString& ausgabe, const QString& vorgabe, const QString& endung) {
    if (ausgabe.isEmpty()) return vorgabe;
    if (istOrdner(ausgabe))
        return QDir::cleanPath(QFileInfo(ausgabe).absoluteFilePath()) + u'/' + QFileInfo(vorgabe).fileName();
    return ausgabeDatei(ausgabe, endung);
}

// The year folder the window's command writes into, created as it creates it.
bool jahrOrdnerDa(const QString& datei) {
    const QString ordner = QFileInfo(datei).path();
    return monatstabelle::legeJahrOrdnerAn(ordner, QFileInfo(ordner).fileName());
}

// One document of every month, in the order given, pages numbered through.
int exportierePdf(Lauf& l, pdfdokument::Art art) {
    Monatszeichner zeichner(l.basis);
    TmachPDF pdf;
    pdfdokument::richteEin(pdf);
    pdf.BeginDoc();
    int seite = 1;
    QString vorgabe;
    for (qsizetype i = 0; i < l.tabellen.size(); ++i) {
        const Tabelle& t = l.tabellen.at(i);
        if (!zeichne(zeichner, t)) return 1;
        if (i == 0) {
            vorgabe = pdfdokument::vorgeschlagenerName(zeichner.zustand());
            pdf.FileName = zielDatei(l.aufruf.ausgabe, vorgabe, u".pdf"_s); // the pages wait beside it
        }
        pdfdokument::Monat monat;
        if (art != pdfdokument::Art::NurTabelle) monat.grafikseite = zeichner.grafikseite();
        if (art != pdfdokument::Art::NurGrafik)
            monat.machTabellenbild = [&zeichner] { return zeichner.tabellenbild(); };
        monat.patientendaten = l.patientendaten;
        monat.platz = l.platz;
        pdfdokument::schreibeMonat(pdf, art, std::move(monat), &seite, i == 0);
    }
    const QString ziel = zielDatei(l.aufruf.ausgabe, vorgabe, u".pdf"_s);
    if (!zielErlaubt(l, ziel)) return l.zielStatus();
    pdf.FileName = ziel;
    QString fehler;
    if (pdf.nichtDarstellbar().isEmpty() && l.aufruf.ausgabe.isEmpty() && !jahrOrdnerDa(ziel)) return 1;
    if (!pdf.EndDoc(&fehler)) {
        schreibeFehler(fehler);
        return 1;
    }
    geschrieben(l, ziel);
    return 0;
}

// Two months of one user and month would write one file twice: the first would be lost.
bool einmalig(QSet<QString>& ziele, const QString& ziel) {
    if (ziele.contains(ziel)) {
        schreibeFehler(u"Zwei Tabellen ergäben dieselbe Datei \"%1\". Es wurde nichts geschrieben."_s.arg(ziel));
        return false;
    }
    ziele.insert(ziel);
    return true;
}

// One picture a table: the chart page, or the chart page above the table.
int exportiereJpeg(Lauf& l, bool mitTabelle) {
    struct Bild {
        QString ziel;
        QByteArray jpeg;
    };
    QList<Bild> bilder;
    QSet<QString> ziele;
    Monatszeichner zeichner(l.basis);
    for (const Tabelle& t : l.tabellen) {
        if (!zeichne(zeichner, t)) return 1;
        QImage bild = zeichner.grafikseite();
        if (mitTabelle) bild = bildexport::BilderZusammenfuegen(bild, zeichner.tabellenbild());
        const QString name = bildexport::BildName(zeichner.grafik().Label1);
        Bild b{zielDatei(l.aufruf.ausgabe, bildexport::jpegPfad(zeichner.zustand(), name), u".jpg"_s),
               jpeg::kodiere(bild)};
        if (b.jpeg.isEmpty()) {
            schreibeFehler(u"Das Bild für \"%1\" konnte nicht erstellt werden. Es wurde nichts geschrieben."_s.arg(b.ziel));
            return 1;
        }
        if (!zielErlaubt(l, b.ziel)) return l.zielStatus();
        if (!einmalig(ziele, b.ziel)) return 1;
        bilder << std::move(b);
    }
    int status = 0;
    for (const Bild& b : std::as_const(bilder)) {
        if (l.aufruf.ausgabe.isEmpty() && !jahrOrdnerDa(b.ziel)) {
            status = 1;
            continue;
        }
        if (const datei::Geschrieben g = datei::schreibe(b.ziel, b.jpeg); !g) {
            schreibeFehler(datei::schreibMeldung(b.ziel, g));
            status = 1;
            continue;
        }
        geschrieben(l, b.ziel);
    }
    return status;
}

int gibAus(Lauf& l, const QByteArray& bytes);

// The text a copy of the whole grid gives, as UTF-8; several tables one after another, each
// under its title line, so the months can be told apart.
int exportiereText(Lauf& l) {
    constexpr QRect kAlles(QPoint(0, 0), QPoint(tabelle::kSpalten - 1, tabelle::kZeilen - 1));
    QString text;
    for (const Tabelle& t : l.tabellen) {
        if (l.tabellen.size() > 1) text += TMonatsGrafik::titel(t.anzeige.kopf) + u"\r\n"_s;
        text += tabelle::TextKopieren(gitterDer(t), kAlles);
    }
    return gibAus(l, text.toUtf8());
}

// Text to stdout, or into the file --ausgabe names.
int gibAus(Lauf& l, const QByteArray& bytes) {
    const QString& ausgabe = l.aufruf.ausgabe;
    if (ausgabe.isEmpty() || ausgabe == u"-") {
        const bool gut = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
                         std::fflush(stdout) == 0;
        if (!gut) schreibeFehler(u"Die Standardausgabe konnte nicht geschrieben werden."_s);
        return gut ? 0 : 1;
    }
    const QString ziel = QFileInfo(ausgabe).absoluteFilePath();
    if (!zielErlaubt(l, ziel)) return l.zielStatus();
    if (const datei::Geschrieben g = datei::schreibe(ziel, bytes); !g) {
        schreibeFehler(datei::schreibMeldung(ziel, g));
        return 1;
    }
    geschrieben(l, ziel);
    return 0;
}

// The HTML chart page of each table, with the values a drawing of it would leave behind.
int exportiereHtml(Lauf& l) {
    const Aufruf& a = l.aufruf;
    Zustand z = l.basis;
    int status = 0;
    const bool inOrdner = !a.ausgabe.isEmpty() && (QFileInfo(a.ausgabe).isDir() || a.ausgabe.endsWith(u'/'));
    struct Seite {
        THtmlSeite::Daten daten;
        QString ordner, datei;
    };
    QList<Seite> seiten;
    QSet<QString> ziele;
    for (const Tabelle& t : l.tabellen) {
        const monatstabelle::Anzeige& anzeige = t.anzeige;
        TMonatsGrafik grafik(z);
        grafik.sammleWerte(anzeige);

        THtmlSeite::Daten daten = htmlexport::datenAus(
            grafik, anzeige.monat, anzeige.jahr,
            anzeige.kopf.benutzerName.isEmpty() ? l.basis.benutzerName : anzeige.kopf.benutzerName,
            monatstabelle::bemerkungsPfadZu(t.pfad));

        // Named as the window names it: after the table filed under user, month and year.
        const QString kanonisch = monatstabelle::tabellenPfad(z, daten.benutzerName, anzeige.monat, anzeige.jahr);
        const QString name = htmlexport::seitenDateiName(kanonisch.isEmpty() ? t.pfad : kanonisch);
        QString ordner, datei;
        if (a.ausgabe.isEmpty()) {
            ordner = z.htmlOrdner + anzeige.jahr;
            datei = ordner + u'/' + name;
        } else if (inOrdner) {
            ordner = QDir::cleanPath(QFileInfo(a.ausgabe).absoluteFilePath());
            datei = ordner + u'/' + name;
        } else {
            datei = ausgabeDatei(a.ausgabe, u".html"_s);
            ordner = QFileInfo(datei).path();
        }
        if (!zielErlaubt(l, datei)) return l.zielStatus();
        if (!einmalig(ziele, datei)) return 1;
        seiten << Seite{std::move(daten), ordner, datei};
    }
    for (const Seite& s : std::as_const(seiten)) {
        THtmlSeite seite(s.daten);
        const htmlexport::Ergebnis e = htmlexport::schreibeSeite(seite, {s.datei, s.ordner, z.datenOrdner});
        if (e.seiteGeschrieben) geschrieben(l, s.datei);
        if (!e.seiteGeschrieben || !e.skriptDa) status = 1;
    }
    return status;
}

// The report places the patient data as the chart document does: under the figures, or on a page
// of its own before or after them.
bericht::Platz berichtPlatz(const QString& wort) {
    return wort == u"oben"    ? bericht::Platz::SeiteDavor
           : wort == u"unten" ? bericht::Platz::SeiteDanach
                              : bericht::Platz::UnterDenZahlen;
}

// The report's figures of the period; nullopt after saying that it holds no readings.
std::optional<bericht::Auswertung> auswertungDes(const Lauf& l) {
    bericht::Auswertung a =
        bericht::werteAus(l.auswahl->benutzer, l.auswahl->lesungen, l.von, l.bis, l.aufruf.ohneErstenTag);
    if (const QString keine = bericht::keineMessungen(a); !keine.isEmpty()) {
        schreibeFehler(keine + u" Es wurde nichts geschrieben."_s);
        return std::nullopt;
    }
    return a;
}

int exportiereBerichtText(Lauf& l) {
    const std::optional<bericht::Auswertung> a = auswertungDes(l);
    return a ? gibAus(l, (bericht::zeilen(*a).join(u'\n') + u'\n').toUtf8()) : 1;
}

int exportiereBerichtPdf(Lauf& l) {
    const std::optional<bericht::Auswertung> a = auswertungDes(l);
    if (!a) return 1;
    const QString ziel = zielDatei(
        l.aufruf.ausgabe,
        berichtdatei::vorgeschlagenerName(l.basis, u"Auswertung"_s, a->name, l.von, l.bis, u".pdf"_s), u".pdf"_s);
    if (!zielErlaubt(l, ziel)) return l.zielStatus();
    if (l.aufruf.ausgabe.isEmpty() && !jahrOrdnerDa(ziel)) return 1;
    // The charts of the months the period touches.
    QStringList monate;
    for (qsizetype i = 0; i < l.auswahl->tabellen.size(); ++i) {
        const QDate erster = l.auswahl->monate.value(i);
        if (erster.isValid() && erster <= l.bis && erster.addMonths(1) > l.von) monate << l.auswahl->tabellen.at(i);
    }
    QString fehler;
    if (!berichtdatei::schreibePdf(l.basis, *a, monate, ziel, l.patientendaten,
                                   l.patientendaten.isEmpty() ? bericht::Platz::Keiner : berichtPlatz(l.aufruf.platz),
                                   &fehler)) {
        schreibeFehler(fehler);
        return 1;
    }
    geschrieben(l, ziel);
    return 0;
}

int exportiereCsv(Lauf& l) {
    if (l.auswahl->lesungen.isEmpty()) {
        schreibeFehler((l.aufruf.tabellen.isEmpty() || !l.aufruf.von.isEmpty() || !l.aufruf.bis.isEmpty()
                            ? u"Im Zeitraum %1 bis %2 gibt es keine Messungen."_s.arg(zeitraum::datumText(l.von),
                                                                                      zeitraum::datumText(l.bis))
                            : u"Die Tabellen enthalten keine Messungen."_s) +
                       u" Es wurde nichts geschrieben."_s);
        return 1;
    }
    return gibAus(l, csv::schreibe(l.auswahl->lesungen));
}

struct Exportart {
    const char16_t* name;
    const char16_t* hilfe;
    int (*ausfuehren)(Lauf&);
    std::optional<pdfdokument::Art> pdf; // the document art of the month PDF kinds
    bool zeichnet = true;                // draws each table from its file
    bool zeitraum = false;               // over a period (--von, --bis), not month by month
};

constexpr Exportart kArten[] = {
    {u"pdf-grafik", u"ein PDF-Dokument mit der Grafik jedes Monats",
     [](Lauf& l) { return exportierePdf(l, pdfdokument::Art::NurGrafik); }, pdfdokument::Art::NurGrafik},
    {u"pdf-tabelle", u"ein PDF-Dokument mit der Tabelle jedes Monats",
     [](Lauf& l) { return exportierePdf(l, pdfdokument::Art::NurTabelle); }, pdfdokument::Art::NurTabelle},
    {u"pdf-grafik-tabelle", u"ein PDF-Dokument mit Grafik und Tabelle jedes Monats",
     [](Lauf& l) { return exportierePdf(l, pdfdokument::Art::GrafikUndTabelle); },
     pdfdokument::Art::GrafikUndTabelle},
    {u"jpg-grafik", u"ein JPEG-Bild der Grafik je Monat", [](Lauf& l) { return exportiereJpeg(l, false); },
     std::nullopt},
    {u"jpg-grafik-tabelle", u"ein JPEG-Bild von Grafik und Tabelle je Monat",
     [](Lauf& l) { return exportiereJpeg(l, true); }, std::nullopt},
    {u"tabelle-text", u"die Tabelle als Text (wie \"Markierter Text kopieren\"), UTF-8", exportiereText,
     std::nullopt, false},
    {u"html", u"die Seite mit den Diagrammen für den Browser, Chart.min.js daneben", exportiereHtml, std::nullopt,
     false},
    {u"bericht-text", u"die Auswertung des Zeitraums als Text, Zeilen \"Bezeichnung: Wert\"", exportiereBerichtText,
     std::nullopt, false, true},
    {u"bericht-pdf", u"die Auswertung mit den Grafiken der Monate als PDF-Dokument", exportiereBerichtPdf,
     std::nullopt, true, true},
    {u"csv", u"die Messwerte als CSV (UTF-8, \";\"), für Tabellenkalkulationen", exportiereCsv, std::nullopt,
     false, true},
};

const Exportart* artNamens(const QString& name) {
    for (const Exportart& a : kArten)
        if (name == QStringView(a.name)) return &a;
    return nullptr;
}

struct PlatzWort {
    const char16_t* wort;
    pdfdokument::Platz platz;
};
constexpr PlatzWort kPlaetze[] = {
    {u"unter", pdfdokument::Platz::UnterDerGrafik},
    {u"oben", pdfdokument::Platz::SeiteOberhalb},
    {u"unten", pdfdokument::Platz::SeiteUnterhalb},
};

std::optional<pdfdokument::Platz> platzNamens(const QString& wort) {
    for (const PlatzWort& p : kPlaetze)
        if (wort == QStringView(p.wort)) return p.platz;
    return std::nullopt;
}

bool platzErlaubt(const Exportart& art, pdfdokument::Platz platz) {
    return art.name == QStringView(u"bericht-pdf") || pdfdokument::platzMoeglich(*art.pdf, platz);
}

struct Zeitraum {
    QDate von, bis;
    bool gegeben = false; // --von or --bis named
};
// The period of the call: the dates given, else the dialog's last four weeks up to today; one date
// alone takes the other from that default.
Zeitraum zeitraumDes(const Aufruf& a) {
    Zeitraum z;
    z.gegeben = !a.von.isEmpty() || !a.bis.isEmpty();
    z.bis = a.bis.isEmpty() ? (a.von.isEmpty() ? Uhr::heute() : std::max(zeitraum::liesDatum(a.von), Uhr::heute()))
                            : zeitraum::liesDatum(a.bis);
    z.von = a.von.isEmpty() ? z.bis.addDays(-(berichtdatei::kStandardTage - 1)) : zeitraum::liesDatum(a.von);
    return z;
}

// What is wrong with the period, empty when nothing is.
QString zeitraumFehler(const Aufruf& a, bool bericht) {
    for (const QString& datum : {a.von, a.bis})
        if (!datum.isEmpty() && !zeitraum::liesDatum(datum).isValid())
            return u"\"%1\" ist kein gültiges Datum (TT.MM.JJJJ)."_s.arg(datum);
    const Zeitraum z = zeitraumDes(a);
    return berichtdatei::zeitraumFehler(z.von, z.bis, bericht, a.ohneErstenTag);
}


} // namespace

bool istBefehlszeile(const QStringList& argumente) {
    // The window's own option and Qt's, which Qt also takes with two dashes.
    static const QStringList kFenster = {
        u"touch"_s,     u"platform"_s, u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,
        u"qwindowgeometry"_s, u"qwindowicon"_s, u"qwindowtitle"_s, u"reverse"_s, u"session"_s,
        u"style"_s,     u"stylesheet"_s, u"widgetcount"_s, u"display"_s, u"geometry"_s,
        u"title"_s,     u"name"_s, u"nograb"_s, u"dograb"_s, u"sync"_s, u"qmljsdebugger"_s};
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& a = argumente.at(i);
        if (a == u"--") break;
        if (a == u"-h") return true;
        // Any other long option is the command line's, so a mistyped one is a wrong call, never
        // a table name for the window.
        if (a.startsWith(u"--") && !kFenster.contains(a.mid(2).section(u'=', 0, 0))) return true;
    }
    return false;
}

Aufruf lies(const QStringList& argumente) {
    Aufruf a;
    auto fehler = [&](const QString& text) {
        if (a.fehler.isEmpty()) a.fehler = text;
    };
    QSet<QString> genannt;
    // "--option WERT" or "--option=WERT"; each option once, with a value that is no option.
    auto wert = [&](qsizetype& i, const QString& option, QString* ziel) {
        const QString& arg = argumente.at(i);
        if (genannt.contains(option)) fehler(u"%1 wurde mehrmals angegeben."_s.arg(option));
        genannt.insert(option);
        if (arg.size() > option.size())
            *ziel = arg.mid(option.size() + 1);
        else if (i + 1 < argumente.size())
            *ziel = argumente.at(++i);
        else
            ziel->clear();
        if (ziel->isEmpty() || ziel->startsWith(u"--")) fehler(u"Nach %1 fehlt ein Wert."_s.arg(option));
    };
    auto istOption = [](const QString& arg, QStringView option) {
        return arg == option || (arg.startsWith(option) && arg.at(option.size()) == u'=');
    };
    bool nurTabellen = false;
    QString patientendaten;
    bool patientendatenGenannt = false;
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& arg = argumente.at(i);
        if (nurTabellen || !arg.startsWith(u'-') || arg == u"-") {
            a.tabellen << arg;
        } else if (arg == u"--") {
            nurTabellen = true;
        } else if (arg == u"--help" || arg == u"-h") {
            a.hilfe = true;
        } else if (istOption(arg, u"--export")) {
            wert(i, u"--export"_s, &a.art);
        } else if (istOption(arg, u"--ausgabe")) {
            wert(i, u"--ausgabe"_s, &a.ausgabe);
        } else if (arg == u"--zeigen") {
            a.zeigen = true;
        } else if (istOption(arg, u"--von")) {
            wert(i, u"--von"_s, &a.von);
        } else if (istOption(arg, u"--bis")) {
            wert(i, u"--bis"_s, &a.bis);
        } else if (arg == u"--ohne-ersten-tag") {
            a.ohneErstenTag = true;
        } else if (istOption(arg, u"--import")) {
            wert(i, u"--import"_s, &a.importDatei);
        } else if (arg == u"--probelauf") {
            a.probelauf = true;
        } else if (istOption(arg, u"--patientendaten")) {
            patientendatenGenannt = true;
            wert(i, u"--patientendaten"_s, &patientendaten);
        } else {
            fehler(u"Unbekannte Option \"%1\"."_s.arg(arg));
        }
    }
    // "DATEI:oben": a value that names an existing file is that file ("a:b.txt"); any other is split
    // at its last ":", and what follows is the place, which must be one.
    const qsizetype doppelpunkt = patientendaten.lastIndexOf(u':');
    const bool mitPlatz = doppelpunkt >= 0 && !QFileInfo::exists(patientendaten);
    if (mitPlatz) {
        a.platz = patientendaten.mid(doppelpunkt + 1);
        a.patientendaten = patientendaten.left(doppelpunkt);
    } else {
        a.patientendaten = patientendaten;
    }
    if (!a.fehler.isEmpty() || a.hilfe) return a;
    if (!a.importDatei.isEmpty()) {
        if (!a.art.isEmpty() || !a.tabellen.isEmpty() || !a.ausgabe.isEmpty() || a.zeigen || patientendatenGenannt ||
            !a.von.isEmpty() || !a.bis.isEmpty() || a.ohneErstenTag)
            a.fehler = u"--import nimmt nur die CSV-Datei und --probelauf."_s;
        return a;
    }
    if (a.probelauf) {
        a.fehler = u"--probelauf gibt es nur mit --import."_s;
        return a;
    }

    QStringList bekannt;
    for (const Exportart& art : kArten)
        bekannt << QString::fromUtf16(art.name);
    const Exportart* art = artNamens(a.art);
    const bool mehrere = a.tabellen.size() > 1;
    if (a.art.isEmpty())
        a.fehler = u"Es fehlt --export ART (%1)."_s.arg(bekannt.join(u", "_s));
    else if (!art)
        a.fehler = u"Unbekannte Exportart \"%1\"; bekannt: %2."_s.arg(a.art, bekannt.join(u", "_s));
    else if (patientendatenGenannt && !art->pdf && a.art != u"bericht-pdf")
        a.fehler = u"--patientendaten gibt es nur bei pdf-grafik, pdf-tabelle, pdf-grafik-tabelle und bericht-pdf."_s;
    else if (patientendatenGenannt && a.patientendaten.isEmpty())
        a.fehler = u"Nach --patientendaten fehlt ein Wert."_s;
    else if (mitPlatz && (!platzNamens(a.platz) || !platzErlaubt(*art, *platzNamens(a.platz)))) {
        QStringList moeglich;
        for (const PlatzWort& p : kPlaetze)
            if (platzErlaubt(*art, p.platz)) moeglich << QString::fromUtf16(p.wort);
        if (platzNamens(a.platz))
            a.fehler = u"Bei %1 können die Patientendaten nicht \"%2\" stehen; möglich: %3."_s.arg(
                a.art, a.platz, moeglich.join(u", "_s));
        else
            a.fehler = u"Unbekannter Platz \"%1\" für die Patientendaten (eine Datei \"%2\" gibt es nicht); "
                       u"möglich bei %3: %4."_s.arg(a.platz, patientendaten, a.art, moeglich.join(u", "_s));
    } else if (a.ausgabe == u"-" && a.art != u"tabelle-text" && a.art != u"bericht-text" && a.art != u"csv")
        a.fehler = u"\"--ausgabe -\" (die Standardausgabe) gibt es nur bei tabelle-text, bericht-text und csv."_s;
    else if (!art->zeitraum && (!a.von.isEmpty() || !a.bis.isEmpty() || a.ohneErstenTag))
        a.fehler = u"--von, --bis und --ohne-ersten-tag gibt es nur bei bericht-text, bericht-pdf und csv."_s;
    else if (a.ohneErstenTag && a.art == u"csv")
        a.fehler = u"--ohne-ersten-tag gibt es nur bei bericht-text und bericht-pdf."_s;
    else if (art->zeitraum && !zeitraumFehler(a, a.art != u"csv").isEmpty())
        a.fehler = zeitraumFehler(a, a.art != u"csv");
    else if ((a.art == u"bericht-text" || a.art == u"csv") && istOrdner(a.ausgabe))
        a.fehler = u"Bei %1 nennt --ausgabe eine Datei, keinen Ordner."_s.arg(a.art);
    else if (mehrere && a.art == u"html" && !a.ausgabe.isEmpty() && !QFileInfo(a.ausgabe).isDir() &&
             !a.ausgabe.endsWith(u'/'))
        a.fehler =
            u"Mit mehreren Tabellen muss --ausgabe einen Ordner nennen (mit \"/\" am Ende legt Korvane "
            u"ihn an)."_s;
    else if (mehrere && a.art.startsWith(u"jpg-") && !a.ausgabe.isEmpty() && !istOrdner(a.ausgabe))
        a.fehler = u"Mit mehreren Tabellen muss --ausgabe einen vorhandenen Ordner nennen."_s;
    else if (a.art == u"tabelle-text" && istOrdner(a.ausgabe))
        a.fehler = u"Bei tabelle-text nennt --ausgabe eine Datei, keinen Ordner."_s;
    return a;
}

QString hilfetext() {
    QString arten;
    for (const Exportart& art : kArten)
        arten += u"        %1%2\n"_s.arg(QString::fromUtf16(art.name), -20).arg(QString::fromUtf16(art.hilfe));
    return u"Aufruf:\n"
           u"  korvane [--touch] [TABELLE.tab]\n"
           u"      öffnet das Fenster; eine angegebene Monatstabelle wird als Grafik gezeigt.\n"
           u"  korvane --export ART [--patientendaten DATEI[:unter|oben|unten]] [--ausgabe PFAD]\n"
           u"          [--zeigen] [TABELLE.tab …]\n"
           u"      schreibt ohne Fenster, was die Befehle im Fenster schreiben. ART ist:\n"_s +
           arten +
           u"      Ohne --ausgabe liegt eine Datei dort, wo der Befehl im Fenster sie ablegt;\n"
           u"      tabelle-text schreibt dann (und mit \"--ausgabe -\") auf die Standardausgabe.\n"
           u"      --ausgabe nennt die Datei oder einen vorhandenen Ordner; jpg- und html-Arten\n"
           u"      schreiben für mehrere Tabellen je eine Datei in einen Ordner, pdf-Arten ein\n"
           u"      Dokument mit allen Monaten.\n"
           u"      --patientendaten (nur pdf-Arten) setzt den Text der Datei unter die Grafik (unter)\n"
           u"      oder auf eine eigene Seite vor (oben) oder nach (unten) der Tabelle; bei bericht-pdf\n"
           u"      unter die Zahlen oder auf eine eigene Seite davor oder danach. Nennt der\n"
           u"      ganze Wert eine vorhandene Datei, ist er die Datei; sonst steht nach dem letzten\n"
           u"      \":\" der Platz.\n"
           u"      Ohne TABELLE gilt die Monatstabelle in Gebrauch. --zeigen öffnet, was geschrieben\n"
           u"      wurde, mit dem Programm des Desktops. Ist eine Tabelle nicht lesbar, wird nichts\n"
           u"      geschrieben.\n"
           u"  korvane --export bericht-text|bericht-pdf|csv [--von TT.MM.JJJJ] [--bis TT.MM.JJJJ]\n"
           u"          [--ohne-ersten-tag] [--ausgabe PFAD] [TABELLE.tab …]\n"
           u"      wertet einen Zeitraum aus (höchstens 400 Tage) oder gibt seine Messwerte als CSV\n"
           u"      aus. Ohne --von und --bis sind es die letzten vier Wochen bis heute; ohne TABELLE\n"
           u"      jede Monatstabelle des Benutzers, die der Zeitraum berührt. --ohne-ersten-tag lässt\n"
           u"      den ersten Tag aus (Messreihe über sieben Tage). bericht-text und csv schreiben auf\n"
           u"      die Standardausgabe, wenn --ausgabe fehlt. csv mit TABELLE und ohne Zeitraum gibt\n"
           u"      jede Messung der Tabellen aus.\n"
           u"  korvane --import DATEI.csv [--probelauf]\n"
           u"      übernimmt die Messwerte einer CSV-Datei (wie csv sie schreibt) in die Monatstabellen\n"
           u"      des Benutzers; --probelauf prüft und zählt nur. Eine falsche Zeile oder ein\n"
           u"      abweichender Eintrag für denselben Tag und dieselbe Messung: nichts wird übernommen.\n"
           u"  korvane --help\n"
           u"      zeigt diese Hilfe.\n"
           u"Rückgabewert: 0 wenn alles geschrieben wurde, 1 bei einem Fehler, 2 bei falschem Aufruf.\n"_s;
}

namespace {

// The export of a call that is right: the exit status.
int exportiere(const Aufruf& a) {
    const Exportart& art = *artNamens(a.art);

    // The folders and user the window would use; nothing is created or stored.
    Zustand z;
    z.programmOrdner = start::programmOrdner();
    start::leseOrdner(z);
    z.benutzerName = Lies_String_aus_Registry(u"BenutzerName"_s);
    if (!monatstabelle::benutzerNameFehler(z.benutzerName).isEmpty()) z.benutzerName.clear();

    QList<Tabelle> gelesen;
    std::optional<berichtdatei::Auswahl> auswahl;
    const Zeitraum zeitraum = zeitraumDes(a);
    if (art.zeitraum) {
        // The tables named, or every table of the user in use that the period touches.
        QStringList namen;
        for (const QString& name : a.tabellen)
            namen << QFileInfo(name).absoluteFilePath();
        if (namen.isEmpty() && z.benutzerName.isEmpty()) {
            schreibeFehler(u"Es wurde keine Monatstabelle angegeben, und kein Benutzer ist in Gebrauch. "
                           u"\"korvane --help\" zeigt, wie es geht."_s);
            return 2;
        }
        // csv of the tables named without a period: every reading they hold.
        const bool mitZeitraum = a.art != u"csv" || zeitraum.gegeben || namen.isEmpty();
        QString fehler;
        bool mehrere = false;
        auswahl = berichtdatei::sammle(z, namen, zeitraum.von, zeitraum.bis, mitZeitraum, &fehler, &mehrere);
        if (!auswahl) {
            schreibeFehler(fehler + (mehrere ? u" \"korvane --help\" zeigt, wie es geht."_s
                                             : u" Es wurde nichts geschrieben."_s));
            return mehrere ? 2 : 1;
        }
        for (const QString& pfad : std::as_const(auswahl->tabellen))
            gelesen << Tabelle{pfad, {}};
    } else {
        // No table named: the month in use, as a desktop action asks for it.
        QStringList namen = a.tabellen;
        if (namen.isEmpty()) {
            const QString inGebrauch = start::tabelleInGebrauch(z);
            if (inGebrauch.isEmpty()) {
                schreibeFehler(u"Es wurde keine Monatstabelle angegeben, und keine ist in Gebrauch. "
                               u"\"korvane --help\" zeigt, wie es geht."_s);
                return 2;
            }
            namen << inGebrauch;
        }
        std::optional<QList<Tabelle>> tabellen = liesAlle(namen, !art.zeichnet);
        if (!tabellen) return 1;
        gelesen = std::move(*tabellen);
    }
    Lauf lauf{a, gelesen, z, {}, pdfdokument::Platz::Keiner, {}, zeitraum.von, zeitraum.bis,
              auswahl ? &*auswahl : nullptr};
    if (!a.patientendaten.isEmpty()) {
        QString meldung;
        const std::optional<QStringList> daten = pdfdokument::liesPatientendaten(a.patientendaten, &meldung);
        if (!daten) {
            schreibeFehler(meldung + u" Es wurde nichts geschrieben."_s);
            return 1;
        }
        lauf.patientendaten = *daten;
        if (art.pdf) lauf.platz = a.platz.isEmpty() ? pdfdokument::ersterPlatz(*art.pdf) : *platzNamens(a.platz);
    }
    // A file named by --ausgabe goes into a folder that is there; html creates its folder.
    if (a.art != u"html" && !a.ausgabe.isEmpty() && a.ausgabe != u"-" && !istOrdner(a.ausgabe)) {
        const QString ordner = QFileInfo(QFileInfo(a.ausgabe).absoluteFilePath()).path();
        if (!QFileInfo(ordner).isDir()) {
            schreibeFehler((gibtEs(ordner) ? u"\"%1\" ist kein Ordner. Es wurde nichts geschrieben."_s
                                           : u"Den Ordner \"%1\" gibt es nicht. Es wurde nichts geschrieben."_s)
                               .arg(ordner));
            return 1;
        }
    }
    int status = art.ausfuehren(lauf);
    // The paths written go to stdout for scripts: a stdout that cannot take them is a failure.
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && status == 0) {
        schreibeFehler(u"Die Standardausgabe konnte nicht geschrieben werden."_s);
        status = 1;
    }
    // The desktop's opener, as the window's commands open their files; xdg-open needs no display
    // of ours.
    if (a.zeigen)
        for (const QString& datei : std::as_const(lauf.geschrieben))
            if (!shell::starteProgramm(u"xdg-open"_s, {datei}))
                schreibeFehler(u"Die Datei \"%1\" wurde gespeichert, konnte aber nicht geöffnet werden."_s.arg(datei));
    return status;
}

// The CSV file into the month tables of the user in use; never beside a window of this set-up,
// which holds a month's list it would later write back without the readings imported.
int importiere(const Aufruf& a) {
    Zustand z;
    z.programmOrdner = start::programmOrdner();
    start::leseOrdner(z);
    z.benutzerName = Lies_String_aus_Registry(u"BenutzerName"_s);
    Datensperre sperre;
    if (!sperre.nimm(z.datenOrdner, 2000)) {
        schreibeFehler(u"Korvane ist mit diesem Datenordner geöffnet, oder ein anderer Import läuft. Bitte übernehmen "
                       u"Sie die Messwerte im Fenster mit \"Datei › Messwerte aus CSV übernehmen…\", oder schließen "
                       u"Sie Korvane zuerst. Es wurde nichts übernommen."_s);
        return 1;
    }
    const csvimport::Ergebnis e = csvimport::importiere(z, QFileInfo(a.importDatei).absoluteFilePath(), a.probelauf);
    if (!e.ok) {
        schreibeFehler(e.meldung);
        return 1;
    }
    std::printf("%s\n", csvimport::zusammenfassung(e).toLocal8Bit().constData());
    if (a.probelauf) std::printf("%s\n", "Probelauf: Es wurde nichts geschrieben.");
    return 0;
}

} // namespace

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
    int status = 2;
    if (a.hilfe) {
        std::printf("%s", hilfetext().toLocal8Bit().constData());
        status = 0;
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            schreibeFehler(u"Die Standardausgabe konnte nicht geschrieben werden."_s);
            status = 1;
        }
    } else if (!a.fehler.isEmpty())
        schreibeFehler(a.fehler + u" \"korvane --help\" zeigt, wie es geht."_s);
    else
        status = a.importDatei.isEmpty() ? exportiere(a) : importiere(a);
    if (!a.importDatei.isEmpty() && (std::fflush(stdout) != 0 || std::ferror(stdout)) && status == 0) {
        schreibeFehler(u"Die Standardausgabe konnte nicht geschrieben werden."_s);
        status = 1;
    }
    // A desktop action has no terminal: what went wrong is said as a desktop notification.
    if (a.zeigen && status != 0 && !g_meldungen.isEmpty())
        shell::starteProgramm(u"notify-send"_s, {u"--app-name=Korvane"_s, u"--icon=de.orvalis.Korvane"_s,
                                                 u"Korvane: Export fehlgeschlagen"_s, g_meldungen.join(u'\n')});
    return status;
}

} // namespace kommandozeile
