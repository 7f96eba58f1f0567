#pragma once

#include <QProcess>

#include <chrono>

// The board simulator as the user runs it, a program of its own, publishing
// COM<com> in the current port-link folder: after the start command it sends
// a 5-byte reading every interval. It ends with the object.
class BoardProcess {
public:
    explicit BoardProcess(std::chrono::milliseconds interval, int com = 1);
    ~BoardProcess();
    BoardProcess(const BoardProcess&) = delete;
    BoardProcess& operator=(const BoardProcess&) = delete;

    // Stops its readings by stopping the process, and lets them go on: its
    // timer fires once on resuming, with no readings caught up.
    void Pause();
    void Resume();

private:
    QProcess m_process;
};
