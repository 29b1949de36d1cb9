// Around the curves: title, means box, colour legend, few-records notes and the remarks.
#include "chart/schrift.h"
#include "chart/tmonatsgrafik.h"
#include "platform/datei.h"
#include "platform/dialoge.h"
#include "platform/textdatei.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

void TMonatsGrafik::SchreibeNameUndMonatInGrafik() {
    const QFont font = schrift::fett(QStringLiteral("Verdana"), maximiert ? 14 : 10);
    const QFontMetrics fm(font);
    const int breite = qMax(1, fm.horizontalAdvance(Label1));
    Image3 = QImage(breite, fm.height() + 2, QImage::Format_ARGB32);
    Image3.fill(Qt::transparent);
    QPainter p(&Image3);
    schrift::schreibe(p, 0, 0, Label1, font, Qt::black, QColor(223, 223, 223));
}

QPoint TMonatsGrafik::titelPosition(int imageBreite) const {
    const int oben = maximiert ? int(std::lround(skalierung * 40)) : 44;
    return QPoint(imageBreite / 2 - Image3.width() / 2, oben);
}

QList<TMonatsGrafik::Beschriftung> TMonatsGrafik::MittelwertKasten() const {
    if (AnzeigeWerteSys.size() < 2) return {};
    return {
        {QStringLiteral("Mittelwerte:"), QPoint(48, 68), QColor(Qt::black)},
        {QStringLiteral("Syst.= ") + GrafikMittelTexte.sys, QPoint(132, 68), farbeSys},
        {QStringLiteral("Diast.= ") + GrafikMittelTexte.dia, QPoint(236, 68), farbeDia},
        {QStringLiteral("Puls= ") + GrafikMittelTexte.puls, QPoint(336, 68), farbePuls},
        {QStringLiteral("Pulsdr.= ") + GrafikMittelTexte.pulsdruck, QPoint(424, 68), farbePulsdruck},
    };
}

void TMonatsGrafik::SchreibeMonatsMittelwInGrafik() {
    if (AnzeigeWerteSys.size() < 2) return;
    const Mittelwerte m = berechneMittelwerte(AnzeigeWerteSys, AnzeigeWerteDia, AnzeigeWertePuls);
    monatsMittelSys = m.sys;
    monatsMittelDia = m.dia;
    monatsMittelPuls = m.puls;
    GrafikMittelTexte = m.texte;
    QPainter p(&Image);
    const QFont font = schrift::fett(QStringLiteral("Verdana"), 8);
    for (const Beschriftung& b : MittelwertKasten())
        schrift::schreibe(p, b.ort.x(), b.ort.y(), b.text, font, b.farbe, Qt::white);
}

void TMonatsGrafik::ZeichneFarbErklaerung() {
    stiftBreite = liesStiftBreite();
    QPainter p(&Image2);
    const struct {
        QColor farbe;
        int von, bis;
    } striche[4] = {
        {farbeSys, 15, 55}, {farbeDia, 150, 190}, {farbePuls, 290, 330}, {farbeGewicht, 440, 480}};
    for (const auto& s : striche) {
        p.setPen(QPen(s.farbe, stiftBreite, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(s.von, 11, s.bis, 11);
    }
}

void TMonatsGrafik::SchreibHinweisNurEinDatensatzVorhanden(int anzahl) {
    if (anzahl == 1)
        hinweisText = QStringLiteral("Nur ") + QString::number(anzahl) +
                      QStringLiteral(" Datensatz vorhanden. Zu wenig um ihn als Farbkurve anzuzeigen!");
    else if (anzahl == 0)
        hinweisText =
            QStringLiteral("   Kein Datensatz vorhanden. Farbkurve kann nicht angezeigt werden!    ");
    else
        return;
    QPainter p(&Image);
    schrift::schreibe(p, 45, 170, hinweisText, schrift::fett(QStringLiteral("MS Sans Serif"), 10),
                      QColor(255, 0, 0), Qt::white);
}

void TMonatsGrafik::setzeBemerkungen(const QString& text) {
    if (text == bemerkungen) return; // the box echoing a loaded text is no edit
    bemerkungen = text;
    bemerkungenGeaendert = true;
}

bool TMonatsGrafik::bemerkungenSpeichern() {
    if (!bemerkungenGeaendert) return true;
    if (bemerkungenDatei.isEmpty()) return bemerkungen.isEmpty(); // no month yet to hold them
    if (bemerkungenGesperrt) return false;
    datei::Geschrieben g;
    bemerkungenFehler.clear();
    if (bemerkungen::speichern(bemerkungenDatei, bemerkungen, false, &g) != bemerkungen::Ergebnis::Ok) {
        if (textdatei::istDarstellbar(bemerkungen))
            bemerkungenFehler = datei::schreibMeldung(bemerkungenDatei, g);
        return false;
    }
    bemerkungenGeaendert = false;
    return true;
}

bool TMonatsGrafik::bemerkungenOhneFrageSichern() {
    if (bemerkungenSpeichern()) return true;
    // Nobody can be asked (the program ends on a signal): "?" for what the file cannot hold is
    // better than losing the whole text.
    if (bemerkungenDatei.isEmpty() || bemerkungenGesperrt) return false;
    if (bemerkungen::speichern(bemerkungenDatei, bemerkungen, true) != bemerkungen::Ergebnis::Ok) return false;
    bemerkungenGeaendert = false;
    return true;
}

bool TMonatsGrafik::bemerkungenSichern(bool beimBeenden) {
    Dialoge& dialoge = Dialoge::seam();
    for (;;) {
        if (bemerkungenSpeichern()) return true;
        if (!bemerkungenDatei.isEmpty() && !bemerkungenGesperrt && !textdatei::istDarstellbar(bemerkungen)) {
            // Never a "?" the user did not agree to; declined, the text stays for them to change.
            if (!dialoge.frage(textdatei::meldungNichtDarstellbar(bemerkungen) +
                               QStringLiteral("\n\nSollen diese Zeichen in den Bemerkungen durch \u00BB?\u00AB "
                                              "ersetzt und die Bemerkungen so gespeichert werden?")))
                return false;
            bemerkungen = textdatei::ausWin1252(textdatei::nachWin1252(bemerkungen));
            emit bemerkungenGeladen(bemerkungen, true);
            continue;
        }
        // The failed write's own message first: which file, and why.
        const QString wo = bemerkungenDatei.isEmpty() ? QString() : QStringLiteral(" in \"%1\"").arg(bemerkungenDatei);
        const QString warum =
            bemerkungenFehler.isEmpty() ? QString() : bemerkungenFehler + QStringLiteral("\n\n");
        if (beimBeenden) {
            if (!dialoge.frage(warum + QStringLiteral("Die Bemerkungen konnten%1 nicht gespeichert werden. "
                                                      "M\u00F6chten Sie das Programm trotzdem beenden?")
                                           .arg(wo)))
                return false;
        } else if (dialoge.frage(
                       warum + QStringLiteral("Die Bemerkungen konnten%1 nicht gespeichert werden. "
                                              "M\u00F6chten Sie es noch einmal versuchen?\n\nMit \"Nein\" "
                                              "wird der Monat verlassen, ohne die Bemerkungen zu speichern.")
                                   .arg(wo))) {
            continue;
        }
        bemerkungenGeaendert = false; // the user chose to leave them
        return true;
    }
}

void TMonatsGrafik::ladeBemerkungen(const QString& datei, const QString& ausweich, bool nurLesen) {
    // Remarks typed before any month was shown go into the first month, after what it holds.
    const QString getippt = bemerkungenDatei.isEmpty() && bemerkungenGeaendert ? bemerkungen : QString();
    QString quelle = datei;
    if (!ausweich.isEmpty() && datei::pruefe(datei, datei::kGrenzeBemerkungen) == datei::Fehler::Fehlt &&
        datei::pruefe(ausweich, datei::kGrenzeBemerkungen) != datei::Fehler::Fehlt)
        quelle = ausweich; // a table taken in from elsewhere brings its remarks along
    QString meldung;
    const std::optional<QString> text = bemerkungen::laden(quelle, &meldung);
    bemerkungenDatei = datei;
    if (!text) {
        // Something is there that cannot be read: shown as empty and never written over.
        bemerkungenGesperrt = true;
        bemerkungen.clear();
        bemerkungenGeaendert = false;
        emit bemerkungenGeladen(bemerkungen, false);
        Dialoge::seam().warnung(meldung + QStringLiteral(" Die Bemerkungen dieses Monats k\u00F6nnen deshalb "
                                                         "weder angezeigt noch ge\u00E4ndert werden."));
        return;
    }
    bemerkungen = *text;
    if (nurLesen) {
        bemerkungenGesperrt = true;
        bemerkungenGeaendert = false;
        emit bemerkungenGeladen(bemerkungen, false);
        return;
    }
    bemerkungenGesperrt = false;
    bemerkungenGeaendert = quelle != datei;
    if (!getippt.isEmpty()) {
        bemerkungen = bemerkungen.isEmpty() ? getippt : bemerkungen + u'\n' + getippt;
        bemerkungenGeaendert = true;
    }
    emit bemerkungenGeladen(bemerkungen, true);
}
