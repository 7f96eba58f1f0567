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

GroupFrame::GroupFrame(const QString& caption, bool centred, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_bCentred(centred) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GroupFrame::SetFrameGeometry(const QRect& frame) {
    const int overflow = fontMetrics().horizontalAdvance(m_caption) - frame.width();
    m_nOverhang = std::max(0, (overflow + 1) / 2);
    setGeometry(frame.adjusted(-m_nOverhang, 0, m_nOverhang, 0));
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    const int top = m_caption.isEmpty() ? 0 : fm.height() / 2;
    const QRect frame = rect().adjusted(m_nOverhang, top, -m_nOverhang - 1, -1);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(Qt::white);
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    if (m_caption.isEmpty())
        return;
    const int width = std::min(fm.horizontalAdvance(m_caption) + 4, this->width());
    const int left =
        m_bCentred ? (this->width() - width) / 2 : std::min(m_nOverhang + 8, this->width() - width);
    const QRect caption(left, 0, width, fm.height());
    p.fillRect(caption, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, m_caption);
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
