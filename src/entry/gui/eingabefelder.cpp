#include "entry/gui/eingabefelder.h"

ZahlFeld::ZahlFeld(int min, int max, int start, bool zweistellig, QWidget* parent)
    : QSpinBox(parent), m_zweistellig(zweistellig) {
    setRange(min, max);
    setValue(start);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QString ZahlFeld::textFromValue(int wert) const {
    if (m_zweistellig) return QStringLiteral("%1").arg(wert, 2, 10, QLatin1Char('0'));
    return QString::number(wert);
}

AufAbSchalter::AufAbSchalter(QWidget* parent)
    : QWidget(parent), auf(new QToolButton(this)), ab(new QToolButton(this)) {
    auf->setArrowType(Qt::UpArrow);
    ab->setArrowType(Qt::DownArrow);
    for (QToolButton* k : {auf, ab}) {
        k->setFocusPolicy(Qt::NoFocus);
        k->setAutoRepeat(true);
    }
    connect(auf, &QToolButton::clicked, this, &AufAbSchalter::aufGeklickt);
    connect(ab, &QToolButton::clicked, this, &AufAbSchalter::abGeklickt);
    resize(18, 24);
}

void AufAbSchalter::resizeEvent(QResizeEvent*) {
    const int oben = height() / 2;
    auf->setGeometry(0, 0, width(), oben);
    ab->setGeometry(0, oben, width(), height() - oben);
}

void AufAbSchalter::setzePfeilGroesse(int pixel) {
    QFont f = font();
    f.setPixelSize(pixel);
    auf->setArrowType(Qt::NoArrow);
    ab->setArrowType(Qt::NoArrow);
    auf->setText(QStringLiteral("\u25B2"));
    ab->setText(QStringLiteral("\u25BC"));
    auf->setFont(f);
    ab->setFont(f);
}

bool tasteGesperrt(const QKeyEvent* taste, QChar zusatz, bool entfernenErlaubt) {
    // The usual editing keys: select all, copy, cut, paste, undo (a pasted text is checked
    // where the value is used).
    for (QKeySequence::StandardKey k : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                        QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})
        if (taste->matches(k)) return false;
    switch (taste->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return false;
    case Qt::Key_Delete:
        return !entfernenErlaubt;
    default:
        break;
    }
    const QString zeichen = taste->text();
    if (zeichen.size() != 1 || (taste->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return true;
    const QChar c = zeichen.at(0);
    return !((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == zusatz);
}
