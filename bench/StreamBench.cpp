// The board simulator sends a 5-byte reading every 10 ms; the dialog (real
// control, response count 5, the window on the display the bench runs on)
// shows them in hexadecimal mode, in text mode with the curve closed, and in
// text mode with it open. CPU of this process, all threads, against the
// readings received; the reception cost is taken where the box holds at most
// 1,000 bytes and where it holds 9,000 to 9,990 (it rolls over past 10,000,
// every 20 s).
//
// What showing the time every 10 ms and each reading as it arrives costs at
// least is the floor the CPU target is set from (as the idle one is): for
// each mode, a window in a process of its own, reading from a simulator of
// its own, that shows the readings as the mode does, as text or in
// hexadecimal in a box, and charts them with the curve (support/Floor.h).
// Each mode has two: one draws its box, the least any window pays; the
// other shows the readings in Qt's own text box as it comes, fed the least
// way it can be: what a box the user can edit, select and copy from, as the
// program's receive box is, costs with the library. The target is set from
// the second.
// This machine's speed drifts from minute to minute (the floor alone
// measured from 1.6 to 4.1 % of a core in runs minutes apart), so a floor
// taken before the program is not the floor it ran against: the program's
// modes and the floors are measured in turns.
#include "support/BoardProcess.h"
#include "support/ChildProcess.h"
#include "support/DialogDriver.h"
#include "support/Floor.h"
#include "support/ProcessStats.h"
#include "support/Row.h"
#include "support/RunFor.h"
#include "support/TempConfigHome.h"
#include "support/XServer.h"

#include "app/Globals.h"
#include "app/SerialDlg.h"
#include "platform/X11Repaint.h"
#include "resources/Resource.h"
#include "serial/PortNames.h"
#include "serial/QtCommControl.h"

#include <QApplication>
#include <QProcess>
#include <QSerialPort>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr auto kWarmUp = 2s;
// Turns take this long, each after kSettle. The program's three modes
// stream 15 s a round, so each mode's turns start 5 s earlier in the box's
// 20 s between roll-overs at each round: every four rounds they have seen
// all of it, empty and full alike.
constexpr auto kTurn = 4s;
constexpr auto kSettle = 1s;
constexpr auto kSample = 100ms;
constexpr int kEmptyBelow = 1000;
constexpr int kFullFrom = 9000;

struct Sample {
    double cpu;
    long receptions;
    int boxBytes;
};

// How the dialog shows the readings, and its floor with it.
struct Mode {
    bool hex;
    bool curve;
};

// A mode's figures, and its floor's over as many turns of their own.
struct StreamFigures {
    double cpuShare = 0;     // of a core
    double xServerShare = 0; // with the idle floors'
    double emptyMicros = 0;  // per reception
    double fullMicros = 0;
    double wakeUps = 0;    // per second
    double floorShare = 0; // the floor that draws its box
    double floorWakeUps = 0;
    double textBoxFloorShare = 0;
};

// The floor: this program started with --floor N, showing the readings of
// COM N as text, in hexadecimal with --hex, in Qt's text box with
// --text-box, and charting them with --curve.
int RunFloor(int com, const Mode& mode, Floor::Box box) {
    QSerialPort port(ResolveComPort(com).device);
    if (!port.open(QIODevice::ReadWrite))
        throw std::runtime_error("the floor could not open COM" + std::to_string(com));
    Floor floor(mode.hex ? Floor::Shown::Hexadecimal : Floor::Shown::Text, box, mode.curve);
    QObject::connect(&port, &QSerialPort::readyRead, [&] { floor.ShowReading(port.readAll()); });
    port.write("\xFF", 1);
    floor.show();
    return QApplication::exec();
}

// The floor in a process of its own, on COM N from a simulator of its own,
// while it lives. Its readings flow only in its own turns.
class FloorProcess {
public:
    FloorProcess(int com, const Mode& mode, Floor::Box box) : m_board(10ms, com) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        EndWithThisProcess(m_process);
        QStringList arguments{QStringLiteral("--floor"), QString::number(com)};
        if (mode.hex)
            arguments << QStringLiteral("--hex");
        if (mode.curve)
            arguments << QStringLiteral("--curve");
        if (box == Floor::Box::TextBox)
            arguments << QStringLiteral("--text-box");
        m_process.start(QCoreApplication::applicationFilePath(), arguments);
        if (!m_process.waitForStarted())
            throw std::runtime_error("the floor did not start");
    }
    ~FloorProcess() {
        m_process.terminate();
        m_process.waitForFinished();
    }
    FloorProcess(const FloorProcess&) = delete;
    FloorProcess& operator=(const FloorProcess&) = delete;

    BoardProcess& Board() { return m_board; }
    double CpuSeconds() const {
        if (m_process.state() != QProcess::Running)
            throw std::runtime_error("the floor ended before it was measured");
        return CpuSecondsOf(pid_t(m_process.processId()));
    }
    long WakeUps() const { return WakeUpsOf(pid_t(m_process.processId())); }

private:
    BoardProcess m_board;
    QProcess m_process;
};

// The received-bytes counter as its label shows it ("RX" before the first reception).
int RxCount(const CSerialDlg& dlg) {
    return dlg.GetItemText(IDC_RXCOUNT).toInt();
}

// What one mode's turns add up to.
struct Totals {
    double cpu = 0;
    double xServerCpu = 0;
    long wakeUps = 0;
    long receptions = 0;
    double seconds = 0;
    double binCpu[2] = {}; // box nearly empty, nearly full
    long binCount[2] = {};
};

// What a floor's turns add up to.
struct FloorTotals {
    double cpu = 0;
    long wakeUps = 0;
    double seconds = 0;
};

// Each interval between samples goes to the bin of the box's fill at its
// start; one that holds a roll-over goes to neither.
void AddToBins(const std::vector<Sample>& samples, Totals& t) {
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const Sample& a = samples[i - 1];
        const Sample& b = samples[i];
        if (b.boxBytes < a.boxBytes)
            continue;
        const int bin = a.boxBytes < kEmptyBelow ? 0 : a.boxBytes >= kFullFrom ? 1 : -1;
        if (bin < 0)
            continue;
        t.binCpu[bin] += b.cpu - a.cpu;
        t.binCount[bin] += b.receptions - a.receptions;
    }
}

// A mode's figures from its turns' totals and its floors'.
StreamFigures Figures(const Totals& t, const FloorTotals& floor, const FloorTotals& textBoxFloor) {
    if (t.receptions < long(t.seconds * 50))
        throw std::runtime_error("fewer than half the readings arrived");
    if (t.binCount[0] == 0 || t.binCount[1] == 0)
        throw std::runtime_error("the box was never nearly empty or never nearly full");
    StreamFigures f;
    f.cpuShare = t.cpu / t.seconds * 100;
    f.xServerShare = t.xServerCpu / t.seconds * 100;
    f.wakeUps = double(t.wakeUps) / t.seconds;
    f.floorShare = floor.cpu / floor.seconds * 100;
    f.floorWakeUps = double(floor.wakeUps) / floor.seconds;
    f.textBoxFloorShare = textBoxFloor.cpu / textBoxFloor.seconds * 100;
    f.emptyMicros = t.binCpu[0] / double(t.binCount[0]) * 1e6;
    f.fullMicros = t.binCpu[1] / double(t.binCount[1]) * 1e6;
    return f;
}

// Puts the dialog in mode (from text mode with the curve closed, or from the
// mode before).
void Enter(CSerialDlg& dlg, const Mode& mode, const Mode& from) {
    if (mode.curve != from.curve)
        ClickItem(dlg, IDC_CURVE);
    if (mode.hex != from.hex)
        ClickItem(dlg, IDC_RECVMODE);
}

// The program's turn in a mode: its figures over kTurn.
void ProgramTurn(const CSerialDlg& dlg, const long& receptions, pid_t xServer, Totals& t) {
    std::vector<Sample> samples;
    const auto sample = [&] { samples.push_back({CpuSeconds(), receptions, RxCount(dlg)}); };
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, sample);
    const double xBefore = CpuSecondsOf(xServer);
    const long wakeUpsBefore = WakeUpsOf(getpid());
    sample();
    sampler.start(kSample);
    RunFor(kTurn);
    sampler.stop();
    sample();
    t.xServerCpu += CpuSecondsOf(xServer) - xBefore;
    t.wakeUps += WakeUpsOf(getpid()) - wakeUpsBefore;
    t.cpu += samples.back().cpu - samples.front().cpu;
    t.receptions += samples.back().receptions - samples.front().receptions;
    t.seconds += std::chrono::duration<double>(kTurn).count();
    AddToBins(samples, t);
}

// A floor's turn: its figures over kTurn.
void FloorTurn(const FloorProcess& floor, FloorTotals& t) {
    const double before = floor.CpuSeconds();
    const long wakeUpsBefore = floor.WakeUps();
    RunFor(kTurn);
    t.cpu += floor.CpuSeconds() - before;
    t.wakeUps += floor.WakeUps() - wakeUpsBefore;
    t.seconds += std::chrono::duration<double>(kTurn).count();
}

// Shows the readings in each of modes for length, on one dialog, and has
// each mode's floors show their own as long, all in turns of kTurn: what is
// compared shares the minutes, and this machine's drift from minute to
// minute falls on all alike. Only one of them gets readings at a time; the
// others show their clocks meanwhile, so none is measured while another's
// readings compete with it for the two cores and their caches.
std::vector<StreamFigures> Stream(const std::vector<Mode>& modes, std::chrono::seconds length,
                                  pid_t xServer) {
    TempConfigHome home;
    BoardProcess board(10ms);
    // Each mode's floor that draws its box, then each one's with a text box.
    std::vector<std::unique_ptr<FloorProcess>> floors;
    for (Floor::Box box : {Floor::Box::Drawn, Floor::Box::TextBox})
        for (const Mode& mode : modes)
            floors.push_back(std::make_unique<FloorProcess>(int(floors.size()) + 2, mode, box));
    // A new dialog starts from the program's start state, as a new run does.
    ResetGlobals();
    auto control = std::make_unique<QtCommControl>();
    CommControl* comm = control.get();
    CSerialDlg dlg(std::move(control));
    dlg.Create();
    dlg.show();
    SelectItem(dlg, IDC_RESPBYTES, 4);
    ClickItem(dlg, IDC_OPEN);
    if (dlg.GetItemText(IDC_OPEN) != QStringLiteral("关闭串口"))
        throw std::runtime_error("COM1 did not open on the board simulator");
    long receptions = 0;
    QObject::connect(comm, &CommControl::OnComm, [&] { ++receptions; });
    ClickItem(dlg, IDC_ACQUIRE);
    RunFor(kWarmUp);

    const auto flowOnly = [&](BoardProcess& flowing) {
        board.Pause();
        for (const auto& floor : floors)
            floor->Board().Pause();
        flowing.Resume();
    };
    std::vector<Totals> totals(modes.size());
    std::vector<FloorTotals> floorTotals(floors.size());
    Mode shown{false, false};
    for (long round = 0; round < length / kTurn; ++round) {
        for (std::size_t m = 0; m < modes.size(); ++m) {
            flowOnly(board);
            Enter(dlg, modes[m], shown);
            shown = modes[m];
            RunFor(kSettle); // past the window's resize and the box's refill
            ProgramTurn(dlg, receptions, xServer, totals[m]);
        }
        for (std::size_t f = 0; f < floors.size(); ++f) {
            flowOnly(floors[f]->Board());
            RunFor(kSettle);
            FloorTurn(*floors[f], floorTotals[f]);
        }
    }
    flowOnly(board);
    ClickItem(dlg, IDC_ACQUIRE);

    std::vector<StreamFigures> figures;
    for (std::size_t m = 0; m < modes.size(); ++m)
        figures.push_back(Figures(totals[m], floorTotals[m], floorTotals[modes.size() + m]));
    return figures;
}

// A mode's rows; its floors are described by what they show.
void PrintStream(const std::string& mode, const std::string& floorShows, const StreamFigures& f) {
    const std::string name = "7. stream 100 Hz, " + mode + ": ";
    PrintInformation(name + "floor in turns of its own (a window showing the time every 10 ms " +
                         floorShows + "): CPU",
                     Figure(f.floorShare, 2, "% of a core"));
    PrintInformation(name + "text box floor in turns of its own (the same, showing the "
                            "readings in Qt's text box set up as the receive box): CPU",
                     Figure(f.textBoxFloorShare, 2, "% of a core"));
    PrintRow(name + "program CPU", Figure(f.cpuShare, 2, "% of a core"),
             "≤ " + Figure(kOverTextBoxFloor * f.textBoxFloorShare, 2, "%") +
                 " (1.2 × text box floor)",
             f.cpuShare <= kOverTextBoxFloor * f.textBoxFloorShare);
    PrintInformation(name + "program CPU / floor", Figure(f.cpuShare / f.floorShare, 2));
    PrintInformation(name + "wake-ups per second, program / floor",
                     Figure(f.wakeUps, 0) + " / " + Figure(f.floorWakeUps, 0));
    PrintInformation(name + "X server CPU, for all windows",
                     Figure(f.xServerShare, 2, "% of a core"));
    PrintInformation(name + "per reception, box empty → near full",
                     Figure(f.emptyMicros, 0) + " → " + Figure(f.fullMicros, 0, "µs"));
    const double ratio = f.fullMicros / f.emptyMicros;
    PrintRow(name + "per reception, near full / empty", Figure(ratio, 2), "≤ 1.3", ratio <= 1.3);
}

} // namespace

int main(int argc, char** argv) try {
    RepaintByCopyOnX11(); // as the program does
    QApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--floor") == 0) {
        const std::vector<std::string> options(argv + 3, argv + argc);
        return RunFloor(
            std::atoi(argv[2]),
            {std::ranges::count(options, "--hex") > 0, std::ranges::count(options, "--curve") > 0},
            std::ranges::count(options, "--text-box") > 0 ? Floor::Box::TextBox
                                                          : Floor::Box::Drawn);
    }
    std::chrono::seconds length = 32s;
    if (argc > 2 && std::strcmp(argv[1], "--seconds") == 0)
        length = std::chrono::seconds(std::atoi(argv[2]));
    const pid_t xServer = XServerPid();
    const std::vector<StreamFigures> modes =
        Stream({{true, false}, {false, false}, {false, true}}, length, xServer);
    const StreamFigures& hex = modes[0];
    const StreamFigures& text = modes[1];
    const StreamFigures& curve = modes[2];
    const std::string box = "and, as each reading arrives, the count of received bytes and the "
                            "reading as text in a box that wraps and scrolls, drawing only its "
                            "new characters at most once a display frame";
    PrintStream("text", box, text);
    PrintStream("hexadecimal", box + ", each byte as two digits and a space", hex);
    PrintStream("text, curve open",
                box + ", filling a readout at each reading, and moving a strip chart of the "
                      "curve's size on at most once a display frame and filling its new strips "
                      "and its labels",
                curve);
    // What charting costs a window, from both pairs of floors: each pair's
    // difference scattered from 0.4 to 1.1 % of a core from run to run, as
    // much as it measures.
    const double charting =
        (curve.floorShare - text.floorShare + curve.textBoxFloorShare - text.textBoxFloorShare) / 2;
    PrintInformation("7. stream 100 Hz: what charting costs the floors, on average",
                     Figure(charting, 2, "% of a core"));
    PrintInformation("7. stream 100 Hz: what opening the curve costs the program",
                     Figure(curve.cpuShare - text.cpuShare, 2, "% of a core"));
    const double ratio = curve.cpuShare / text.cpuShare;
    const double bound = std::max(1.2, 1 + kOverFloor * charting / text.cpuShare);
    PrintRow("7. stream 100 Hz: program CPU with the curve open / closed", Figure(ratio, 2),
             "≤ " + Figure(bound, 2) +
                 " (1.2, or closed and 1.5 × what charting costs the floors, if higher)",
             ratio <= bound);
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "serialtemp-stream: %s\n", error.what());
    return 1;
}
