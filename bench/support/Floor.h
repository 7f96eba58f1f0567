#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

// The least a window pays to show the time every 10 ms: it fills a
// clock-sized rectangle anew at each tick. ShowReading() fills a
// reading-sized one anew, for the least a window pays to show each reading
// as it arrives. With the curve, each reading also fills a readout anew and
// steps a strip chart, which moves its picture on at most once a display
// frame and fills its new strips and its label column anew: the least a
// window pays to chart each reading. Programs are judged against it in the
// same run.
class Floor : public QWidget {
public:
    explicit Floor(bool curve = false);
    void ShowReading();

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void MoveOnFrame();

    bool m_bCurve;
    int m_nTicks = 0;
    int m_nReadings = 0;
    int m_nUnshown = 0; // steps the chart has not moved on yet
    QElapsedTimer m_sinceMove;
    QRect m_rcStrip; // what the last move left to fill
};

// A program may cost at most half as much again as its floor.
constexpr double kOverFloor = 1.5;
