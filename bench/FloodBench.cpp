// The board sends readings as fast as the pseudo-terminal takes them for
// 10 s, from another process: the dialog (real control, curve mode on,
// response count 5) must keep its clock going and its memory bounded.
#include "support/DialogOnPty.h"
#include "support/ProcessStats.h"
#include "support/Row.h"
#include "support/RunFor.h"

#include "resources/Resource.h"

#include "platform/X11Repaint.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kWarmUp = std::chrono::seconds(2);
constexpr auto kFlood = std::chrono::seconds(10);

// The far end: readings back to back on the master until killed.
[[noreturn]] void Flood(int master) {
    static const char readings[] = "25.5025.5126.0024.99";
    const size_t size = sizeof readings - 1;
    size_t at = 0;
    for (;;) {
        pollfd ready{master, POLLOUT, 0};
        poll(&ready, 1, -1);
        const ssize_t n = write(master, readings + at, size - at);
        if (n > 0)
            at = (at + size_t(n)) % size;
    }
}

// Times between successive changes of the clock label, seen at each timer
// event the dialog receives and after each reading it handles (a reading
// near the tick's time carries the tick).
class ClockWatch : public QObject {
public:
    ClockWatch(CSerialDlg& dlg, CommControl& comm) : m_dlg(dlg) {
        dlg.installEventFilter(this);
        connect(&comm, &CommControl::OnComm, this, &ClockWatch::Check);
    }
    void Restart() {
        m_longest = {};
        m_last = Clock::now();
    }
    double LongestMs() const {
        return std::chrono::duration<double, std::milli>(m_longest).count();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer)
            Check();
        return false;
    }

private:
    void Check() {
        if (m_dlg.GetItemText(IDC_CLOCK) == m_text)
            return;
        m_text = m_dlg.GetItemText(IDC_CLOCK);
        const Clock::time_point now = Clock::now();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }

    CSerialDlg& m_dlg;
    QString m_text;
    Clock::time_point m_last = Clock::now();
    Clock::duration m_longest{};
};

} // namespace

int main(int argc, char** argv) {
    RepaintByCopyOnX11(); // as the program does
    QApplication app(argc, argv);
    DialogOnPty rig(5, true);
    CSerialDlg& dlg = rig.Dialog();
    long events = 0;
    QObject::connect(&rig.Control(), &CommControl::OnComm, [&] { ++events; });
    ClockWatch watch(dlg, rig.Control());

    const pid_t board = fork();
    if (board == 0)
        Flood(rig.Board().MasterFd());
    RunFor(kWarmUp);
    const long residentBefore = ResidentBytes();
    const double cpuBefore = CpuSeconds();
    const long eventsBefore = events;
    watch.Restart();
    RunFor(kFlood);
    const double seconds = std::chrono::duration<double>(kFlood).count();
    const double perSecond = double(events - eventsBefore) / seconds;
    const double cpu = (CpuSeconds() - cpuBefore) / seconds * 100;
    const long residentAfter = ResidentBytes();
    kill(board, SIGKILL);
    waitpid(board, nullptr, 0);

    const double growthMb = double(residentAfter - residentBefore) / (1 << 20);
    PrintInformation("5. flood: events handled per second", Figure(perSecond, 0));
    PrintRow("5. flood: longest gap between clock updates", Figure(watch.LongestMs(), 1, "ms"),
             "< 50 ms", watch.LongestMs() < 50);
    PrintInformation("5. flood: CPU", Figure(cpu, 0, "% of a core"));
    PrintRow("5. flood: resident memory after warm-up, before → after",
             Figure(double(residentBefore) / (1 << 20), 1) + " → " +
                 Figure(double(residentAfter) / (1 << 20), 1, "MiB"),
             "growth < 2 MiB", growthMb < 2);
    return 0;
}
