#include "entry/gui/tform_uhrzeitdropdownmemo.h"

#include "entry/eingaberegeln.h"
#include "platform/dialoge.h"
#include "platform/textdatei.h"

#include <QHBoxLayout>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {
const QString kUhrzeitDatei = QStringLiteral("Uhrzeiten.txt");
}

void UhrzeitMemo::mousePressEvent(QMouseEvent* e) {
    QPlainTextEdit::mousePressEvent(e); // the cursor moves first, then the line is looked at
    Q_EMIT mausGedrueckt();
}

void UhrzeitMemo::keyReleaseEvent(QKeyEvent* e) {
    QPlainTextEdit::keyReleaseEvent(e);
    Q_EMIT tasteLosgelassen();
}

void UhrzeitMemo::mouseDoubleClickEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseDoubleClickEvent(e);
    Q_EMIT doppelklick();
}

TForm_UhrzeitDropdownMemo::TForm_UhrzeitDropdownMemo(Zustand& zustand, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), z(zustand) {
    setWindowTitle(QStringLiteral("Auswahl der Uhrzeit"));

    Memo1 = new UhrzeitMemo(this);
    Memo1->setAccessibleName(QStringLiteral("Uhrzeiten, eine je Zeile"));
    QFont memoSchrift(QStringLiteral("Verdana"));
    memoSchrift.setPixelSize(24);
    memoSchrift.setBold(true);
    Memo1->setFont(memoSchrift);
    QPalette gruen = Memo1->palette();
    gruen.setColor(QPalette::Text, QColor(0, 128, 0));
    Memo1->setPalette(gruen);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(QStringLiteral("06:00"));
    Memo1->setMinimumSize(150, 260);

    OKbtn = new QPushButton(QStringLiteral("Übernehmen"), this);
    OKbtn->setEnabled(false);
    OKbtn->setDefault(true);
    SpeichernBtn = new QPushButton(QStringLiteral("Speichern               "), this);
    AbbrechenBtn = new QPushButton(QStringLiteral("Abbrechen      "), this);

    Memo2 = new QPlainTextEdit(this);
    Memo2->setReadOnly(true);
    Memo2->setFocusPolicy(Qt::NoFocus);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setPlainText(QStringList{
        QStringLiteral("Wenn Sie hier mehrere Uhr-"), QStringLiteral("zeiten eintragen, z.B. für "),
        QStringLiteral("Morgens, dann brauchen "), QStringLiteral("Sie später nur noch die "),
        QStringLiteral("passende Uhrzeit auszu-"), QStringLiteral("wählen, \"Übernehmen\" "),
        QStringLiteral("betätigen und sie wird in "), QStringLiteral("das Uhrzeitfeld eingetragen.")}
                            .join(QLatin1Char('\n')));
    QPalette hinweis = Memo2->palette();
    hinweis.setColor(QPalette::Base, hinweis.color(QPalette::ToolTipBase));
    hinweis.setColor(QPalette::Text, hinweis.color(QPalette::ToolTipText));
    Memo2->setPalette(hinweis);
    Memo2->setFixedWidth(
        Memo2->fontMetrics().horizontalAdvance(QStringLiteral("das Uhrzeitfeld eingetragen.")) + 24);

    auto* rechts = new QVBoxLayout;
    rechts->addWidget(OKbtn);
    rechts->addWidget(SpeichernBtn);
    rechts->addWidget(AbbrechenBtn);
    rechts->addWidget(Memo2, 1);
    auto* haupt = new QHBoxLayout(this);
    haupt->addWidget(Memo1, 1);
    haupt->addLayout(rechts);
    // A small picker, not a window to arrange: the window manager offers no resizing for it.
    haupt->setSizeConstraint(QLayout::SetFixedSize);

    connect(Memo1, &UhrzeitMemo::mausGedrueckt, this, &TForm_UhrzeitDropdownMemo::Memo1MouseDown);
    connect(Memo1, &UhrzeitMemo::tasteLosgelassen, this, &TForm_UhrzeitDropdownMemo::Memo1KeyUp);
    connect(Memo1, &UhrzeitMemo::doppelklick, this, &TForm_UhrzeitDropdownMemo::OKbtnClick);
    connect(Memo1, &QPlainTextEdit::textChanged, this, &TForm_UhrzeitDropdownMemo::Memo1Change);
    connect(OKbtn, &QPushButton::clicked, this, &TForm_UhrzeitDropdownMemo::OKbtnClick);
    connect(SpeichernBtn, &QPushButton::clicked, this, &TForm_UhrzeitDropdownMemo::SpeichernBtnClick);
    connect(AbbrechenBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TForm_UhrzeitDropdownMemo::dateiPfad() const {
    return z.programmOrdner + kUhrzeitDatei;
}

void TForm_UhrzeitDropdownMemo::setzeZielfeld(QLineEdit* feld) {
    m_zielfeld = feld;
}

QStringList TForm_UhrzeitDropdownMemo::zeilen() const {
    QStringList liste = Memo1->toPlainText().split(QLatin1Char('\n'));
    // A line break after the last line starts no further line of the list.
    if (!liste.isEmpty() && liste.last().isEmpty()) liste.removeLast();
    return liste;
}

void TForm_UhrzeitDropdownMemo::setzeText(const QString& text) {
    const bool vorher = m_unterdrueckt;
    m_unterdrueckt = true;
    Memo1->setPlainText(text);
    m_unterdrueckt = vorher;
}

void TForm_UhrzeitDropdownMemo::ladeListe() {
    QString meldung;
    datei::Fehler fehler = datei::Fehler::Keiner;
    const auto gelesen = textdatei::liesZeilen(dateiPfad(), datei::kGrenzeUhrzeiten, &meldung, &fehler);
    // Something there that cannot be read is kept as it is: the list is then not saved over it.
    m_dateiGesperrt = !gelesen && fehler != datei::Fehler::Fehlt;
    if (m_dateiGesperrt) Dialoge::seam().warnung(meldung);
    if (!gelesen) return;
    setzeText(gelesen->join(QLatin1Char('\n')));
}

void TForm_UhrzeitDropdownMemo::zeilenBeschneiden() {
    QStringList liste = Memo1->toPlainText().split(QLatin1Char('\n'));
    for (QString& zeile : liste)
        zeile = zeile.trimmed();
    setzeText(liste.join(QLatin1Char('\n')));
}

void TForm_UhrzeitDropdownMemo::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormPaint();
}

void TForm_UhrzeitDropdownMemo::FormPaint() {
    Memo1->setFocus();
    m_unterdrueckt = false;
}

QString TForm_UhrzeitDropdownMemo::gewaehlteZeile() const {
    return Memo1->textCursor().block().text();
}

void TForm_UhrzeitDropdownMemo::auswahlPruefen() {
    const QString zeile = gewaehlteZeile();
    OKbtn->setEnabled(eingaberegeln::uhrzeitWaehlbar(zeile));
    setWindowTitle(QStringLiteral("Ausgewählte Uhrzeit: ") + zeile);
}

void TForm_UhrzeitDropdownMemo::Memo1MouseDown() {
    auswahlPruefen();
}
void TForm_UhrzeitDropdownMemo::Memo1KeyUp() {
    auswahlPruefen();
}

void TForm_UhrzeitDropdownMemo::Memo1Change() {
    if (m_unterdrueckt) return;
    const QString zeile = gewaehlteZeile();
    OKbtn->setEnabled(zeile.size() == 5);
    setWindowTitle(QStringLiteral("Ausgewählte Uhrzeit: ") + zeile);

    // Each character removed is one change of its own, with its own message.
    for (;;) {
        QString text = Memo1->toPlainText();
        const int stelle = eingaberegeln::ersteFremdeStelle(text);
        if (stelle < 0) return;
        text.remove(stelle, 1);
        setzeText(text);
        QTextCursor cursor = Memo1->textCursor();
        cursor.setPosition(stelle);
        Memo1->setTextCursor(cursor);
        setWindowTitle(QStringLiteral("Auswahl der Uhrzeit"));
        OKbtn->setEnabled(false);
        Dialoge::seam().information(QStringLiteral("Es sind nur Zahlen und der Doppelpunkt erlaubt."));
    }
}

bool TForm_UhrzeitDropdownMemo::speichern() {
    if (m_dateiGesperrt) {
        Dialoge::seam().warnung(QStringLiteral("Die Uhrzeitenliste wird nicht gespeichert, weil \"%1\" "
                                               "beim Start nicht gelesen werden konnte.")
                                    .arg(dateiPfad()));
        return false;
    }
    datei::Geschrieben g;
    const auto ergebnis = textdatei::schreibeZeilen(dateiPfad(), zeilen(), &g);
    if (ergebnis == textdatei::Ergebnis::Ok) return true;
    if (ergebnis == textdatei::Ergebnis::NichtDarstellbar)
        Dialoge::seam().warnung(textdatei::meldungNichtDarstellbar(zeilen().join(QLatin1Char('\n'))));
    else
        Dialoge::seam().warnung(QStringLiteral("Die Uhrzeitenliste konnte nicht gespeichert werden.\n") +
                                datei::schreibMeldung(dateiPfad(), g));
    return false;
}

void TForm_UhrzeitDropdownMemo::SpeichernBtnClick() {
    m_unterdrueckt = false;
    speichern();
}

void TForm_UhrzeitDropdownMemo::OKbtnClick() {
    const QString zeile = gewaehlteZeile();
    if (eingaberegeln::istUhrzeitForm(zeile)) {
        if (m_zielfeld) m_zielfeld->setText(zeile);
        speichern(); // the time is taken over even when the list cannot be saved
        accept();
        return;
    }
    Dialoge::seam().information(
        QStringLiteral("Falsche Eingabe der Uhrzeit.   Beispiel für richtige Eingabe: 06:00"));
    setWindowTitle(QStringLiteral("Falsche Eingabe der Uhrzeit."));
    // The line goes without a character check, so the caption keeps saying what was wrong.
    const bool vorher = m_unterdrueckt;
    m_unterdrueckt = true;
    QTextCursor cursor = Memo1->textCursor();
    const QTextBlock block = cursor.block();
    if (block.next().isValid()) {
        cursor.setPosition(block.position());
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else if (block.previous().isValid()) {
        cursor.setPosition(block.previous().position() + block.previous().length() - 1);
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    } else {
        cursor.select(QTextCursor::BlockUnderCursor);
    }
    cursor.removeSelectedText();
    Memo1->setTextCursor(cursor);
    m_unterdrueckt = vorher;
    OKbtn->setEnabled(false);
}
