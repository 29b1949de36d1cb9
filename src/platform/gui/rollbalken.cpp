#include "platform/gui/rollbalken.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>

namespace {

class DeutlicherGriff : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle; // no base style: the application's, whichever it is

    void drawComplexControl(ComplexControl art, const QStyleOptionComplex* option, QPainter* maler,
                            const QWidget* widget) const override {
        const auto* balken = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (art != CC_ScrollBar || !balken) {
            QProxyStyle::drawComplexControl(art, option, maler, widget);
            return;
        }
        QStyleOptionSlider ohneGriff(*balken);
        ohneGriff.subControls &= ~SC_ScrollBarSlider;
        QProxyStyle::drawComplexControl(art, &ohneGriff, maler, widget);
        if (!(balken->subControls & SC_ScrollBarSlider)) return;
        QRect griff = subControlRect(art, balken, SC_ScrollBarSlider, widget);
        if (griff.isEmpty()) return;
        griff = balken->orientation == Qt::Vertical ? griff.adjusted(2, 1, -2, -1) : griff.adjusted(1, 2, -1, -2);
        const bool aktiv = balken->activeSubControls & SC_ScrollBarSlider;
        QColor farbe = balken->palette.color(QPalette::Mid);
        if (aktiv && (balken->state & State_Sunken))
            farbe = farbe.darker(135);
        else if (aktiv && (balken->state & State_MouseOver))
            farbe = farbe.darker(115);
        maler->save();
        maler->setRenderHint(QPainter::Antialiasing);
        maler->setPen(QPen(balken->palette.color(QPalette::Dark), 1));
        maler->setBrush(farbe);
        maler->drawRoundedRect(QRectF(griff).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        maler->restore();
    }
};

} // namespace

void rollbalken::deutlich(QAbstractScrollArea* bereich) {
    auto* stil = new DeutlicherGriff;
    stil->setParent(bereich); // lives as long as the bars that use it
    for (QScrollBar* balken : {bereich->verticalScrollBar(), bereich->horizontalScrollBar()})
        balken->setStyle(stil);
}
