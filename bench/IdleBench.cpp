// What the terminal costs while nothing arrives: the dialog with COM1 open
// on a silent pseudo-terminal in this process and, if its path is given, the
// real program as it starts (port closed), each over 10 s.
#include "support/DialogOnPty.h"
#include "support/ProcessStats.h"
#include "support/Row.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kSeconds = 10;

// CPU time of another process, from the scheduler's own account in
// /proc/<pid>/schedstat: the tick-sampled times of /proc/<pid>/stat charge a
// process that wakes on a 10 ms timer with whole ticks it did not use.
double CpuSecondsOf(pid_t pid) {
    std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
    unsigned long long nanoseconds = 0;
    schedstat >> nanoseconds;
    return double(nanoseconds) / 1e9;
}

void MeasureProgram(const char* path) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(path, path, static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2)); // start-up is not idle
    const double before = CpuSecondsOf(pid);
    std::this_thread::sleep_for(std::chrono::seconds(kSeconds));
    const double share = (CpuSecondsOf(pid) - before) / kSeconds * 100;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    PrintRow("4. idle CPU, the program as started (port closed), 10 s", Figure(share, 2, "%"),
             "< 1 %", share < 1);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    {
        DialogOnPty rig(5, false);
        QTimer::singleShot(std::chrono::seconds(1), &app, &QApplication::quit);
        app.exec(); // let start-up settle
        const double before = CpuSeconds();
        QTimer::singleShot(std::chrono::seconds(kSeconds), &app, &QApplication::quit);
        app.exec();
        const double share = (CpuSeconds() - before) / kSeconds * 100;
        PrintRow("4. idle CPU, dialog with COM1 open on a silent line, 10 s",
                 Figure(share, 2, "% of a core"), "< 1 %", share < 1);
    }
    if (argc > 1)
        MeasureProgram(argv[1]);
    return 0;
}
