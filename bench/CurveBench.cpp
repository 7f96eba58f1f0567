#include "support/DialogDriver.h"
#include "support/FakeCommControl.h"
#include "support/Row.h"
#include "support/Verdicts.h"

#include "app/SerialDlg.h"
#include "resources/Resource.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

// A value a little different from the last, as readings are.
int NextValue(int i) {
    return 20 + (i * 7) % 13;
}

// One value and the paint of what it changed (the window moves its picture
// and paints the new strips and the labels) in the real dialog, shown with
// the curve open. Argument: values added before timing.
void BM_CurveAddValue(benchmark::State& state) {
    CSerialDlg dlg(std::make_unique<FakeCommControl>());
    dlg.Create();
    dlg.show();
    ClickItem(dlg, IDC_CURVE);
    QCoreApplication::processEvents();
    CCurveWnd& curve = *dlg.findChild<CCurveWnd*>();
    const auto before = static_cast<int>(state.range(0));
    for (int i = 0; i < before; ++i)
        curve.AddValue(NextValue(i));
    QCoreApplication::processEvents();
    int i = before;
    for (auto _ : state) {
        curve.AddValue(NextValue(i++));
        QCoreApplication::processEvents();
    }
}

BENCHMARK(BM_CurveAddValue)
    ->ArgName("before")
    ->Arg(10)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

const bool kVerdict = AddVerdict([](const BenchResults& results) {
    const auto few = results.find("BM_CurveAddValue/before:10");
    const auto many = results.find("BM_CurveAddValue/before:1000000");
    if (few == results.end() || many == results.end())
        return;
    // Offscreen, moving the window's picture is a copy in the backing store;
    // on an X server the server does it, and the stream rows judge the cost.
    PrintInformation("2. AddValue + paint offscreen, after 10 values",
                     Figure(few->second, 1, "µs"));
    PrintInformation("2. AddValue + paint offscreen, after 1,000,000 values",
                     Figure(many->second, 1, "µs"));
    const double ratio = many->second / few->second;
    PrintRow("2. ratio after 1,000,000 / after 10", Figure(ratio, 2), "< 1.1", ratio < 1.1);
});

} // namespace
