// From the last byte of a reading written on the pseudo-terminal's master to
// the readout showing it, with the real control, curve mode on and the
// response byte count at 5.
#include "support/DialogOnPty.h"
#include "support/Row.h"
#include "support/WaitUntil.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kReadings = 2000;

// 20.00 to 29.99: consecutive readings differ, so each one changes the readout.
QByteArray Reading(int i) {
    char text[8];
    std::snprintf(text, sizeof text, "%05.2f", 20.0 + (i % 1000) / 100.0);
    return QByteArray(text, 5);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DialogOnPty rig(5, true);
    CSerialDlg& dlg = rig.Dialog();

    Clock::time_point shown;
    bool changed = false;
    QObject::connect(dlg.m_editTemp, &QLineEdit::textChanged, [&] {
        shown = Clock::now();
        changed = true;
    });

    std::vector<double> micros;
    micros.reserve(kReadings);
    for (int i = 0; i < kReadings; ++i) {
        changed = false;
        rig.Board().Send(Reading(i));
        const Clock::time_point written = Clock::now();
        if (!WaitUntil([&] { return changed; })) {
            std::fprintf(stderr, "reading %d never reached the readout\n", i);
            return 1;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(shown - written).count());
    }
    std::sort(micros.begin(), micros.end());
    const double median = micros[micros.size() / 2];
    const double p99 = micros[micros.size() * 99 / 100];
    const std::string over = " over " + std::to_string(kReadings) + " readings";
    PrintRow("3. reading to readout, median" + over, Figure(median, 0, "µs"), "< 250 µs",
             median < 250);
    PrintRow("3. reading to readout, 99th percentile", Figure(p99, 0, "µs"), "< 1000 µs",
             p99 < 1000);
    return 0;
}
