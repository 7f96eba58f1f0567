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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    bool m_bCentred;
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
