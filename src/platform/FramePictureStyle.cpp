#include "platform/FramePictureStyle.h"

#include <QPainter>
#include <QStyleOption>
#include <QWidget>

FramePictureStyle::FramePictureStyle() : QProxyStyle(nullptr) {}

void FramePictureStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const {
    const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
    if (element != PE_PanelLineEdit || frame == nullptr) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatio();
    const bool filled = widget != nullptr && widget->autoFillBackground();
    const Key key{frame->rect.size(), int(frame->state), frame->palette.cacheKey(), ratio, filled};
    if (!(key == m_key) || m_frame.isNull()) {
        m_frame = QPixmap(frame->rect.size() * ratio);
        m_frame.setDevicePixelRatio(ratio);
        m_frame.fill(Qt::transparent);
        QPainter picture(&m_frame);
        // Over the background the box fills itself, if it does: the frame's
        // antialiased edges are then blended as they would be on the window.
        if (filled)
            picture.fillRect(m_frame.rect(), widget->palette().brush(widget->backgroundRole()));
        QStyleOptionFrame atOrigin(*frame);
        atOrigin.rect.moveTo(0, 0);
        QProxyStyle::drawPrimitive(element, &atOrigin, &picture, widget);
        m_key = key;
    }
    painter->drawPixmap(frame->rect.topLeft(), m_frame);
}
