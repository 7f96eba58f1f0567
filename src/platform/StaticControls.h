#pragma once

#include <QPushButton>
#include <QWidget>

// Static rectangles, frames and etched lines, painted as the dialog manager
// paints the static control styles of the same names.
class StaticShape : public QWidget {
    Q_OBJECT

public:
    enum class Shape { BlackRect, BlackFrame, WhiteFrame, EtchedVertLine };
    StaticShape(Shape shape, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shape m_shape;
};

// A group box as the dialog manager draws it: an etched frame whose top line
// runs through the middle of the caption. It only frames its neighbours.
class GroupFrame : public QWidget {
    Q_OBJECT

public:
    GroupFrame(const QString& caption, bool centred, QWidget* parent);
    QString title() const { return m_caption; }
    // Puts the frame at frame (parent coordinates). A caption wider than the
    // frame runs past its sides instead of being cut.
    void SetFrameGeometry(const QRect& frame);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    bool m_bCentred;
    int m_nOverhang = 0; // pixels the widget reaches past each side of the frame
};

// A push button whose caption wraps onto several lines, one character a
// line when the button is that narrow.
class MultilineButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
