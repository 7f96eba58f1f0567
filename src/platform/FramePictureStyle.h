#pragma once

#include <QPixmap>
#include <QProxyStyle>

// The application's style, but an edit box's frame is drawn once and kept as
// a picture, over the box's own background if it fills one. For a box whose
// text changes many times a second (the curve's readout): the frame is what
// costs most in its repaint, and never changes.
class FramePictureStyle : public QProxyStyle {
    Q_OBJECT

public:
    FramePictureStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

private:
    struct Key {
        QSize size;
        int state;
        qint64 palette;
        qreal ratio;
        bool filled;
        bool operator==(const Key&) const = default;
    };
    mutable Key m_key{};
    mutable QPixmap m_frame;
};
