// Around the curves: title, means box, colour legend, few-records notes and the remarks.
#include "chart/schrift.h"
#include "chart/tmonatsgrafik.h"

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
    stiftBreite = leseStiftBreite();
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
    if (!bemerkungen::speichern(bemerkungenDatei, bemerkungen)) return false;
    bemerkungenGeaendert = false;
    return true;
}

void TMonatsGrafik::wechsleBemerkungen(const QString& neueDatei) {
    // Remarks typed before any month was shown belong to the first month drawn.
    if (bemerkungenDatei.isEmpty() && bemerkungenGeaendert && !bemerkungen.isEmpty()) {
        const QString vorhanden = bemerkungen::laden(neueDatei);
        if (!vorhanden.isEmpty()) bemerkungen = vorhanden + u'\n' + bemerkungen;
        bemerkungenDatei = neueDatei;
        emit bemerkungenGeladen(bemerkungen);
        return;
    }
    if (!bemerkungenSpeichern() && neueDatei == bemerkungenDatei)
        return; // not saved: the same month keeps the text rather than lose it
    bemerkungen = bemerkungen::laden(neueDatei);
    bemerkungenGeaendert = false;
    bemerkungenDatei = neueDatei;
    emit bemerkungenGeladen(bemerkungen);
}
