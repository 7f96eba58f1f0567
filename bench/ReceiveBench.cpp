#include "support/DialogDriver.h"
#include "support/FakeCommControl.h"
#include "support/Row.h"
#include "support/Verdicts.h"

#include "app/SerialDlg.h"
#include "resources/Resource.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

// Readings received between two resets of the box: few enough that the box
// stays at the size under test.
constexpr int kBatch = 500;
// With a batch, just under the roll-over: 7,490 to 9,990 counted bytes of
// 5-byte readings.
constexpr int kReadingsBeforeBatch = 1498;

// One 5-byte reading per event, response count 5, the dialog shown with the
// port open over the recording control; each event followed by its frame:
// the box lays out and scrolls, and the window paints what changed, as the
// clock's next tick does. Arguments: hexadecimal display (0/1) and
// whether the box starts empty (0) or so full that the batch ends just
// before the roll-over (1), filled by receptions with a frame after every other one; and whether
// the curve is open (1), so that each reading is drawn and shown there too.
void BM_OnCommEvent(benchmark::State& state) {
    const bool hex = state.range(0) == 1;
    const bool full = state.range(1) == 1;
    const bool curve = state.range(2) == 1;
    auto control = std::make_unique<FakeCommControl>();
    FakeCommControl* comm = control.get();
    CSerialDlg dlg(std::move(control));
    dlg.Create();
    dlg.show();
    ClickItem(dlg, IDC_OPEN);
    SelectItem(dlg, IDC_RESPBYTES, 4);
    if (hex)
        ClickItem(dlg, IDC_RECVMODE);
    if (curve)
        ClickItem(dlg, IDC_CURVE);

    // Readings that differ, as a sensor's do, so the readout and the curve change.
    const QByteArray readings[] = {"25.50", "25.56", "25.44", "25.62"};
    // The clock's tick: the box laid out, and the window painting in one
    // pass what changed since.
    const auto frame = [&] {
        static_cast<MultilineEdit*>(dlg.GetDlgItem(IDC_RECV))->Settle();
        QCoreApplication::processEvents();
        dlg.GetDlgItem(IDC_CLOCK)->repaint(0, 0, 1, 1);
    };
    const auto reset = [&] {
        // Clearing the box also sets the counter to what the box holds, nothing.
        ClickItem(dlg, IDC_CLEAR);
        for (int i = 0; full && i < kReadingsBeforeBatch; ++i) {
            comm->Receive(readings[i % 4]);
            if (i % 2)
                frame();
        }
        frame();
        comm->log.clear();
        QCoreApplication::processEvents();
    };
    reset();
    int n = 0;
    for (auto _ : state) {
        comm->Receive(readings[n % 4]);
        frame();
        if (++n == kBatch) {
            state.PauseTiming();
            reset();
            n = 0;
            state.ResumeTiming();
        }
    }
}

BENCHMARK(BM_OnCommEvent)
    ->ArgNames({"hex", "full", "curve"})
    ->Args({0, 0, 0})
    ->Args({0, 1, 0})
    ->Args({1, 0, 0})
    ->Args({1, 1, 0})
    ->Args({0, 0, 1})
    ->Unit(benchmark::kMicrosecond);

const bool kVerdict = AddVerdict([](const BenchResults& results) {
    for (const char* mode : {"text", "hex"}) {
        const std::string key = std::string("BM_OnCommEvent/hex:") + (mode[0] == 'h' ? "1" : "0");
        const auto empty = results.find(key + "/full:0/curve:0");
        const auto full = results.find(key + "/full:1/curve:0");
        if (empty == results.end() || full == results.end())
            continue;
        const std::string name = std::string("1. OnCommEvent and its frame, ") + mode + " mode, ";
        PrintRow(name + "empty box", Figure(empty->second, 1, "µs"), "< 150 µs",
                 empty->second < 150);
        PrintRow(name + "box near roll-over", Figure(full->second, 1, "µs"), "< 150 µs",
                 full->second < 150);
        const double ratio = full->second / empty->second;
        PrintRow(name + "ratio near roll-over / empty", Figure(ratio, 2), "≤ 1.3", ratio <= 1.3);
    }
    const auto closed = results.find("BM_OnCommEvent/hex:0/full:0/curve:0");
    const auto open = results.find("BM_OnCommEvent/hex:0/full:0/curve:1");
    if (closed == results.end() || open == results.end())
        return;
    // Offscreen the window's backing store moves the curve's picture itself;
    // on an X server the server does, and the stream rows judge the ratio.
    PrintInformation("1. OnCommEvent and its frame, text mode, curve open",
                     Figure(open->second, 1, "µs"));
    PrintInformation("1. OnCommEvent and its frame, curve open / closed offscreen",
                     Figure(open->second / closed->second, 2));
});

} // namespace
