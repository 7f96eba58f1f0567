#include "support/DialogDriver.h"
#include "support/FakeCommControl.h"
#include "support/Row.h"
#include "support/Verdicts.h"

#include "app/SerialDlg.h"
#include "resources/Resource.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

namespace {

// Readings received between two resets of the box: few enough that the box
// stays at the size under test.
constexpr int kBatch = 500;
// Just under the roll-over: 9,990 counted bytes of 5-byte readings.
constexpr int kReadingsBeforeRollOver = 1998;

// One 5-byte reading per event, response count 5, the dialog shown with the
// port open over the recording control. Arguments: hexadecimal display (0/1)
// and whether the box starts empty (0) or as full as just before roll-over (1).
void BM_OnCommEvent(benchmark::State& state) {
    const bool hex = state.range(0) == 1;
    const bool full = state.range(1) == 1;
    auto control = std::make_unique<FakeCommControl>();
    FakeCommControl* comm = control.get();
    CSerialDlg dlg(std::move(control));
    dlg.Create();
    dlg.show();
    ClickItem(dlg, IDC_OPEN);
    SelectItem(dlg, IDC_RESPBYTES, 4);
    if (hex)
        ClickItem(dlg, IDC_RECVMODE);

    const QByteArray reading("25.50");
    const QString shown = hex ? QStringLiteral("32 35 2E 35 30 ") : QString::fromLatin1(reading);
    const QString before = full ? shown.repeated(kReadingsBeforeRollOver) : QString();
    const auto reset = [&] {
        dlg.m_editRecv->setPlainText(before);
        dlg.m_editRecv->moveCursor(QTextCursor::End);
        // The box is filled by hand: keep the counter from rolling it over.
        dlg.m_nRxCount = 0;
        dlg.m_strRecv.clear();
        comm->log.clear();
        QCoreApplication::processEvents();
    };
    reset();
    int n = 0;
    for (auto _ : state) {
        comm->Receive(reading);
        if (++n == kBatch) {
            state.PauseTiming();
            reset();
            n = 0;
            state.ResumeTiming();
        }
    }
    state.counters["box_chars"] = double(before.size());
}

BENCHMARK(BM_OnCommEvent)
    ->ArgNames({"hex", "full"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond);

const bool kVerdict = AddVerdict([](const BenchResults& results) {
    for (const char* mode : {"text", "hex"}) {
        const std::string key = std::string("BM_OnCommEvent/hex:") + (mode[0] == 'h' ? "1" : "0");
        const auto empty = results.find(key + "/full:0");
        const auto full = results.find(key + "/full:1");
        if (empty == results.end() || full == results.end())
            continue;
        const std::string name = std::string("1. OnCommEvent, ") + mode + " mode, ";
        PrintRow(name + "empty box", Figure(empty->second, 1, "µs"), "< 50 µs", empty->second < 50);
        PrintRow(name + "box near roll-over", Figure(full->second, 1, "µs"), "< 50 µs",
                 full->second < 50);
        const double ratio = full->second / empty->second;
        PrintRow(name + "ratio near roll-over / empty", Figure(ratio, 2), "< 1.5", ratio < 1.5);
    }
});

} // namespace
