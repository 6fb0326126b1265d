#include "linux/ui/FrameWidget.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace palisade::qt {

namespace {

// The caption's distance from the frame's left edge, and the gap left in the border either side.
constexpr int CaptionLeft = 8;
constexpr int CaptionGap = 2;

} // namespace

int FrameWidget::borderTop() const {
    return fontMetrics().height() / 2 - 1;
}

void FrameWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Etched: a shadow line with a highlight line inside it, both from the frame's own ground, so
    // that the border reads alike on white and on a dark desktop's button face.
    const QColor ground = palette().color(backgroundRole());
    QPalette etch = palette();
    etch.setColor(QPalette::Dark, ground.darker(160));
    etch.setColor(QPalette::Light, ground.lighter(150));
    qDrawShadeRect(&painter, rect().adjusted(0, borderTop(), 0, 0), etch, true, 1);
    if (title().isEmpty())
        return;
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QRect text = fontMetrics()
                           .boundingRect(QRect(CaptionLeft, 0, width(), height()), flags, title())
                           .intersected(rect());
    painter.fillRect(text.adjusted(-CaptionGap, 0, CaptionGap, 0),
                     palette().brush(backgroundRole()));
    style()->drawItemText(&painter, text, flags, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}

} // namespace palisade::qt
