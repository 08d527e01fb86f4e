#include "CStaticControls.h"

#include <QPainter>
#include <QStyleOptionFrame>

QRect CGroupBox::FrameGeometry() const
{
    const int top = fontMetrics().height() / 2;
    return geometry().adjusted(0, top, 0, 0);
}

void CGroupBox::paintEvent(QPaintEvent*)
{
    if (!title().isEmpty()) {
        QGroupBox::paintEvent(nullptr);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, fontMetrics().height() / 2, 0, 0);
    frame.features = QStyleOptionFrame::None;
    frame.lineWidth = 1;
    frame.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_FrameGroupBox, &frame, &painter, this);
}

void CCentredText::SetTemplateGeometry(const QRect& rect)
{
    m_templateRect = rect;
    setGeometry(rect);
}

void CCentredText::SetText(const QString& text)
{
    setText(text);
    const int needed = fontMetrics().horizontalAdvance(text) + 2;
    QRect rect = m_templateRect;
    if (needed > rect.width()) {
        const int grow = needed - rect.width();
        rect.adjust(-(grow + 1) / 2, 0, grow / 2, 0);
    }
    setGeometry(rect);
}
