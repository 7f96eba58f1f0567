#pragma once

#include <QRect>
#include <QScrollBar>

// A scroll bar that a box growing by a line at a time repaints only when
// what it shows moves. Each line changes the bar's range and then its value,
// and over hundreds of lines the slider mostly stays on the same pixels; the
// bar is not opaque, so each repaint of it repaints the box's frame as well.
class SteadyScrollBar : public QScrollBar {
    Q_OBJECT

public:
    using QScrollBar::QScrollBar;

    // Range and value changes made while one lives repaint the bar once, at
    // its end, if they moved what it shows.
    class Batch {
    public:
        explicit Batch(QScrollBar* bar);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SteadyScrollBar* m_bar;
    };

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What a range or value change can change in the picture: where the
    // slider is, and whether an arrow has nothing more to scroll.
    struct Look {
        QRect slider;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook() const;

    bool m_bBatching = false;
    bool m_bChanged = false;
    Look m_painted;
};
