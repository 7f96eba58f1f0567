#pragma once

#include <QProcess>

#include <chrono>

// The board simulator as the user runs it, a program of its own, publishing
// COM1 in the current port-link folder: after the start command it sends a
// 5-byte reading every interval. It ends with the object.
class BoardProcess {
public:
    explicit BoardProcess(std::chrono::milliseconds interval);
    ~BoardProcess();
    BoardProcess(const BoardProcess&) = delete;
    BoardProcess& operator=(const BoardProcess&) = delete;

private:
    QProcess m_process;
};
