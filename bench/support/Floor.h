#pragma once

#include <QWidget>

// The least a window pays to show the time every 10 ms: it fills a
// clock-sized rectangle anew at each tick. ShowReading() fills a
// reading-sized one anew, for the least a window pays to show each reading
// as it arrives. With the curve, each reading also moves a strip chart's
// picture on by one step and fills its new strip, its label column and a
// readout anew: the least a window pays to chart each reading. Programs are
// judged against it in the same run.
class Floor : public QWidget {
public:
    explicit Floor(bool curve = false);
    void ShowReading();

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_bCurve;
    int m_nTicks = 0;
    int m_nReadings = 0;
};

// A program may cost at most half as much again as its floor.
constexpr double kOverFloor = 1.5;
