// From the last byte of a reading written on the pseudo-terminal's master to
// what the user sees, with the real control and the response byte count at
// 5: to the readout showing it (curve mode on), and to the receive box's
// pixels changing on the X server (curve mode off).
#include "support/DamageWatch.h"
#include "support/DialogOnPty.h"
#include "support/Row.h"
#include "support/RunFor.h"
#include "support/WaitUntil.h"

#include "platform/LiveEdit.h"
#include "platform/X11Repaint.h"
#include "resources/Resource.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kReadoutReadings = 2000;
constexpr int kBoxReadings = 200;
// Far apart enough that each reading has the box to itself.
constexpr auto kBoxInterval = 50ms;

// 20.00 to 20.99 in turn: consecutive readings differ, so each one changes the
// readout; after the first hundred, to a text it showed before.
QByteArray Reading(int i) {
    char text[8];
    std::snprintf(text, sizeof text, "%05.2f", 20.0 + (i % 100) / 100.0);
    return QByteArray(text, 5);
}

double Percentile(std::vector<double> values, int percent) {
    std::sort(values.begin(), values.end());
    return values[values.size() * std::size_t(percent) / 100];
}

void MeasureReadout() {
    DialogOnPty rig(5, true);
    CSerialDlg& dlg = rig.Dialog();
    Clock::time_point shown;
    bool changed = false;
    QObject::connect(qobject_cast<LiveEdit*>(dlg.GetDlgItem(IDC_TEMP)), &LiveEdit::Shown, [&] {
        shown = Clock::now();
        changed = true;
    });
    std::vector<double> micros;
    for (int i = 0; i < kReadoutReadings; ++i) {
        changed = false;
        rig.Board().Send(Reading(i));
        const Clock::time_point written = Clock::now();
        if (!WaitUntil([&] { return changed; }))
            throw std::runtime_error("a reading never reached the readout");
        micros.push_back(std::chrono::duration<double, std::micro>(shown - written).count());
    }
    const std::string over = " over " + std::to_string(kReadoutReadings) + " readings";
    const double median = Percentile(micros, 50);
    const double p99 = Percentile(micros, 99);
    PrintRow("3. reading to readout, median" + over, Figure(median, 0, "µs"), "< 250 µs",
             median < 250);
    PrintRow("3. reading to readout, 99th percentile", Figure(p99, 0, "µs"), "< 1000 µs",
             p99 < 1000);
}

void MeasureBox() {
    DialogOnPty rig(5, false);
    CSerialDlg& dlg = rig.Dialog();
    QWidget* viewport = qobject_cast<QPlainTextEdit*>(dlg.GetDlgItem(IDC_RECV))->viewport();
    const QRect box(viewport->mapTo(&dlg, QPoint()), viewport->size());
    DamageWatch watch(unsigned(dlg.winId()));
    RunFor(500ms); // the first frames

    // A board keeps its own time: the readings come at any point of the
    // clock's 10 ms, not at one the program's own timers would fall on.
    std::vector<Clock::time_point> written;
    QTimer writer;
    writer.setSingleShot(true);
    writer.setTimerType(Qt::PreciseTimer);
    QRandomGenerator offsets(kBoxReadings); // the same offsets in every run
    QObject::connect(&writer, &QTimer::timeout, [&] {
        if (written.size() < kBoxReadings) {
            rig.Board().Send(Reading(int(written.size())));
            written.push_back(Clock::now());
            writer.start(kBoxInterval + std::chrono::milliseconds(offsets.bounded(10)));
        }
    });
    writer.start(kBoxInterval);
    RunFor((kBoxInterval + 10ms) * (kBoxReadings + 10));

    // A reading not drawn before the next one is written counts as taking
    // the whole interval: more, but the interval is all this can tell.
    std::vector<double> millis;
    for (const Clock::time_point when : written) {
        DamageWatch::Damage damage;
        const bool drawn =
            watch.FirstAfter(when, box, &damage) && damage.when - when <= kBoxInterval;
        millis.push_back(std::chrono::duration<double, std::milli>(
                             drawn ? damage.when - when : Clock::duration(kBoxInterval))
                             .count());
    }
    const double median = Percentile(millis, 50);
    PrintRow("8. reading to receive box pixels on the X server, median of " +
                 std::to_string(kBoxReadings),
             Figure(median, 1, "ms"), "≤ 20 ms", median <= 20);
    PrintInformation("8. reading to receive box pixels, 90th percentile",
                     Figure(Percentile(millis, 90), 1, "ms"));
}

} // namespace

int main(int argc, char** argv) try {
    RepaintByCopyOnX11(); // as the program does
    QApplication app(argc, argv);
    MeasureReadout();
    MeasureBox();
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "serialtemp-latency: %s\n", error.what());
    return 1;
}
