// The program as the user runs it, on an X server of its own: the port
// opened from the keyboard, then the session ends with signals.
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

namespace {

using namespace std::chrono_literals;

// Xvfb, xdotool and a program starting under load on two cores take their time.
constexpr auto kDeadline = 60s;

struct SignalRow {
    const char* name;
    std::vector<int> signos; // arrive together
    bool aboutBoxOpen;        // the About box's modal loop runs inside the dialog's
    friend void PrintTo(const SignalRow& row, std::ostream* os) { *os << row.name; }
};

class ProgramSignals : public ::testing::TestWithParam<SignalRow> {
protected:
    static void SetUpTestSuite() {
        s_xvfb = new QProcess;
        // -noreset: between two clients the server would reset and refuse the next one.
        s_xvfb->start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0",
                               "1024x768x24"});
        if (WaitUntil([] { return s_xvfb->canReadLine(); }, kDeadline))
            s_display = ":" + QString::fromLatin1(s_xvfb->readLine()).trimmed();
    }
    static void TearDownTestSuite() {
        s_xvfb->terminate();
        s_xvfb->waitForFinished();
        delete s_xvfb;
    }
    void SetUp() override {
        if (s_display.isEmpty())
            GTEST_SKIP() << "Xvfb cannot start: " << s_xvfb->readAllStandardError().toStdString();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", s_display);
        env.remove("WAYLAND_DISPLAY");
        program.setProcessEnvironment(env);
        xdotool.setProcessEnvironment(env);
    }
    // Runs xdotool: its output, empty if it failed.
    QString XDoTool(const QStringList& arguments) {
        xdotool.start("xdotool", arguments);
        const bool ran = xdotool.waitForFinished() && xdotool.exitCode() == 0;
        return ran ? QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed() : QString();
    }
    // The first of the program's visible windows named title (a regular expression).
    QString Window(const QString& title) {
        return XDoTool({"search", "--onlyvisible", "--pid", QString::number(program.processId()),
                        "--name", title})
            .section('\n', 0, 0);
    }

    static inline QProcess* s_xvfb = nullptr;
    static inline QString s_display;

    TempConfigHome home;
    PseudoTerminal board;
    QProcess program, xdotool;
};

TEST_P(ProgramSignals, EndAsCancelDoesAndReleaseThePort) {
    board.PublishAs(1);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(SERIALTEMP_PROGRAM, {});
    // As a user would: the focus starts on 发送; seven tabs reach 打开串口.
    ASSERT_TRUE(WaitUntil([&] { return !Window("Serial Tools").isEmpty(); }, kDeadline));
    XDoTool({"windowfocus", "--sync", Window("Serial Tools")});
    XDoTool({"key", "--delay", "20", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});
    // QSerialPort locks /dev/pts/N as LCK..pts_N.
    const QString lock = "/run/lock/LCK.." + board.SlavePath().mid(5).replace('/', '_');
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(lock); }, kDeadline));
    if (GetParam().aboutBoxOpen) {
        XDoTool({"key", "alt+space"});
        XDoTool({"key", "--delay", "20", "a"});
        ASSERT_TRUE(WaitUntil([&] { return !Window("关于应用程序").isEmpty(); }, kDeadline));
    }
    // Stopped meanwhile, the program takes the signals at once when it goes on.
    const auto pid = pid_t(program.processId());
    ::kill(pid, SIGSTOP);
    for (const int signo : GetParam().signos)
        ::kill(pid, signo);
    ::kill(pid, SIGCONT);
    ASSERT_TRUE(program.waitForFinished(int(std::chrono::milliseconds(kDeadline).count())));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(lock)) << "the lock file stayed behind";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProgramSignals,
    ::testing::Values(SignalRow{"SIGTERM", {SIGTERM}, false}, SignalRow{"SIGHUP", {SIGHUP}, false},
                      SignalRow{"SIGINT", {SIGINT}, false},
                      SignalRow{"SIGHUPAndSIGTERMTogether", {SIGHUP, SIGTERM}, false},
                      SignalRow{"SIGTERMOverTheAboutBox", {SIGTERM}, true}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
