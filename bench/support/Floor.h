#pragma once

#include <QWidget>

// The least a window pays to show the time every 10 ms: it fills a
// clock-sized rectangle anew at each tick. ShowReading() fills a
// reading-sized one anew, for the least a window pays to show each reading
// as it arrives. Programs are judged against it in the same run.
class Floor : public QWidget {
public:
    Floor();
    void ShowReading();

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nTicks = 0;
    int m_nReadings = 0;
};

// A program may cost at most half as much again as its floor.
constexpr double kOverFloor = 1.5;
