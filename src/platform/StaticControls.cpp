#include "platform/StaticControls.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

StaticShape::StaticShape(Shape shape, QWidget* parent) : QWidget(parent), m_shape(shape) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StaticShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    switch (m_shape) {
    case Shape::BlackRect:
        p.fillRect(r, Qt::black);
        break;
    case Shape::BlackFrame:
    case Shape::WhiteFrame:
        p.setPen(m_shape == Shape::BlackFrame ? Qt::black : Qt::white);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        break;
    case Shape::EtchedVertLine:
        p.fillRect(QRect(r.left(), r.top(), 1, r.height()), QColor(128, 128, 128));
        p.fillRect(QRect(r.left() + 1, r.top(), 1, r.height()), Qt::white);
        break;
    }
}

void MultilineButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect().adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWrapAnywhere, caption);
}
