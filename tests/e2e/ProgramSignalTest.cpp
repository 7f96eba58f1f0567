// The program as the user runs it, on an X server of its own: the port
// opened from the keyboard, then the session ends with signals.
#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Xvfb, xdotool and a program starting under load on two cores take their time.
constexpr std::chrono::milliseconds kDeadline = std::chrono::seconds(60);

struct SignalRow {
    const char* name;
    std::vector<int> signos; // arrive together
    bool aboutBoxOpen;       // the About box's modal loop runs inside the dialog's
};

class ProgramSignals : public ::testing::TestWithParam<SignalRow> {
protected:
    static void SetUpTestSuite() {
        // -noreset: between two clients the server would reset and refuse the next one.
        s_xvfb = new QProcess;
        s_xvfb->start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0",
                               "1024x768x24"});
        if (WaitUntil([] { return s_xvfb->canReadLine(); }, kDeadline))
            s_display = ":" + QString::fromLatin1(s_xvfb->readLine()).trimmed();
    }
    static void TearDownTestSuite() { delete s_xvfb; } // which ends the server
    // Runs xdotool on the program's display; whether it succeeded.
    bool XDoTool(const QStringList& arguments) {
        QProcess xdotool;
        xdotool.setProcessEnvironment(program.processEnvironment());
        xdotool.start("xdotool", arguments);
        return xdotool.waitForFinished(int(kDeadline.count())) && xdotool.exitCode() == 0;
    }

    static inline QProcess* s_xvfb = nullptr;
    static inline QString s_display;
    TempConfigHome home;
    PseudoTerminal board;
    QProcess program;
};

TEST_P(ProgramSignals, EndAsCancelDoesAndReleaseThePort) {
    if (s_display.isEmpty())
        GTEST_SKIP() << "Xvfb cannot start: " << s_xvfb->readAllStandardError().toStdString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", s_display);
    env.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(env);
    board.PublishAs(1);
    program.start(SERIALTEMP_PROGRAM, {});
    // As a user would: the focus starts on 发送; seven tabs reach 打开串口.
    ASSERT_TRUE(XDoTool({"search", "--sync", "--onlyvisible", "--name", "Serial Tools",
                         "windowfocus", "--sync", "key", "--delay", "20", "Tab", "Tab", "Tab",
                         "Tab", "Tab", "Tab", "Tab", "space"}));
    // QSerialPort locks /dev/pts/N as LCK..pts_N.
    const QString lock = "/run/lock/LCK.." + board.SlavePath().mid(5).replace('/', '_');
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo::exists(lock); }, kDeadline));
    if (GetParam().aboutBoxOpen) {
        ASSERT_TRUE(XDoTool({"key", "--delay", "20", "alt+space", "a", "search", "--sync",
                             "--onlyvisible", "--name", "关于应用程序"}));
    }
    // Stopped meanwhile, the program takes the signals at once when it goes on.
    const auto pid = pid_t(program.processId());
    ::kill(pid, SIGSTOP);
    for (const int signo : GetParam().signos)
        ::kill(pid, signo);
    ::kill(pid, SIGCONT);
    ASSERT_TRUE(program.waitForFinished(int(kDeadline.count())));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(lock)) << "the lock file stayed behind";
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramSignals,
                         ::testing::Values(SignalRow{"SIGTERM", {SIGTERM}, false},
                                           SignalRow{"SIGHUP", {SIGHUP}, false},
                                           SignalRow{"SIGINT", {SIGINT}, false},
                                           SignalRow{"SIGHUPAndSIGTERM", {SIGHUP, SIGTERM}, false},
                                           SignalRow{"SIGTERMOverTheAboutBox", {SIGTERM}, true}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
