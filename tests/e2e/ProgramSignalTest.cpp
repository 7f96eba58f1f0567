// The program as the user runs it, on an X server: the port opened from the
// keyboard, then the session ends with a signal.
#include "serial/PortNames.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Xvfb, xdotool and a program starting under load on two cores take their time.
constexpr auto kDeadline = 60s;

// The board's end of a pseudo-terminal whose other end only the program
// opens: once the program has opened the port, the master reads a hang-up
// whenever the port is closed.
class FarEnd {
public:
    FarEnd() : m_master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            ::close(m_master);
            throw std::runtime_error("no pseudo-terminal");
        }
        m_slave = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~FarEnd() { ::close(m_master); }
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    const QString& Slave() const { return m_slave; }
    bool HungUp() const {
        pollfd ready{m_master, POLLIN, 0};
        return ::poll(&ready, 1, 0) == 1 && (ready.revents & POLLHUP);
    }
    // Where QSerialPort locks the device: /dev/pts/N as LCK..pts_N.
    QString LockFile() const {
        return "/run/lock/LCK.." + m_slave.mid(QStringLiteral("/dev/").size()).replace('/', '_');
    }

private:
    int m_master;
    QString m_slave;
};

struct SignalRow {
    const char* name;
    int signo;
    bool aboutBoxOpen; // the About box's modal loop runs inside the dialog's
    friend void PrintTo(const SignalRow& row, std::ostream* os) { *os << row.name; }
};

class ProgramSignals : public ::testing::TestWithParam<SignalRow> {
protected:
    static void SetUpTestSuite() {
        s_xvfb = new QProcess;
        // -noreset: between two clients the server would reset and refuse the next one.
        s_xvfb->start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0",
                               "1024x768x24"});
        const auto reported = [] {
            return s_xvfb->canReadLine() || s_xvfb->state() == QProcess::NotRunning;
        };
        if (!WaitUntil(reported, kDeadline) || !s_xvfb->canReadLine()) {
            s_xvfbFailure = s_xvfb->errorString() + " " + s_xvfb->readAllStandardError();
            return;
        }
        s_display = ":" + QString::fromLatin1(s_xvfb->readLine()).trimmed();
        if (!WaitUntil([] { return XDoTool({"getdisplaygeometry"}).has_value(); }, kDeadline)) {
            s_xvfbFailure = "no client can connect to " + s_display;
            s_display.clear();
        }
    }
    static void TearDownTestSuite() {
        s_xvfb->terminate();
        s_xvfb->waitForFinished();
        delete s_xvfb;
        s_xvfb = nullptr;
    }
    void SetUp() override {
        if (s_display.isEmpty())
            GTEST_SKIP() << "Xvfb cannot start: " << s_xvfbFailure.toStdString();
    }

    // Runs xdotool on the test's display: its output, nothing if it failed.
    static std::optional<QString> XDoTool(const QStringList& arguments) {
        QProcess xdotool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", s_display);
        xdotool.setProcessEnvironment(env);
        xdotool.start("xdotool", arguments);
        if (!xdotool.waitForFinished() || xdotool.exitStatus() != QProcess::NormalExit ||
            xdotool.exitCode() != 0)
            return std::nullopt;
        return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    }
    // The program's visible windows named title (a regular expression).
    QStringList Windows(const QString& title) {
        return XDoTool({"search", "--onlyvisible", "--pid", QString::number(program.processId()),
                        "--name", title})
            .value_or(QString())
            .split('\n', Qt::SkipEmptyParts);
    }
    // What the program shows, to tell why it did not do what was asked.
    std::string Shown() {
        QStringList titles;
        for (const QString& id : Windows(""))
            titles << XDoTool({"getwindowname", id}).value_or("?");
        return "its windows: " + titles.join(" | ").toStdString();
    }

    static QProcess* s_xvfb;
    static QString s_display;
    static QString s_xvfbFailure;

    TempConfigHome home;
    FarEnd board;
    QProcess program;
};

QProcess* ProgramSignals::s_xvfb = nullptr;
QString ProgramSignals::s_display;
QString ProgramSignals::s_xvfbFailure;

TEST_P(ProgramSignals, EndAsCancelDoesAndReleaseThePort) {
    const SignalRow& row = GetParam();
    ASSERT_EQ(PublishPortLink(1, board.Slave()), QString());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", s_display);
    env.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(SERIALTEMP_PROGRAM, {});
    ASSERT_TRUE(program.waitForStarted());

    // As a user would: the focus starts on 发送; seven tabs reach 打开串口.
    ASSERT_TRUE(WaitUntil([&] { return !Windows("Serial Tools").isEmpty(); }, kDeadline))
        << "the dialog never showed";
    XDoTool({"windowfocus", "--sync", Windows("Serial Tools").value(0)});
    XDoTool({"key", "--delay", "20", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});
    // The first press opens the port twice: once to configure it, then for good.
    const auto opened = [&] { return QFileInfo::exists(board.LockFile()) && !board.HungUp(); };
    ASSERT_TRUE(
        WaitUntil([&] { return opened() || program.state() != QProcess::Running; }, kDeadline) &&
        opened())
        << "the port never opened; " << Shown();

    if (row.aboutBoxOpen) {
        XDoTool({"key", "alt+space"});
        XDoTool({"key", "--delay", "20", "a"});
        ASSERT_TRUE(WaitUntil([&] { return !Windows("关于应用程序").isEmpty(); }, kDeadline))
            << "the About box never showed; " << Shown();
    }

    ::kill(static_cast<pid_t>(program.processId()), row.signo);
    ASSERT_TRUE(program.waitForFinished(std::chrono::milliseconds(kDeadline).count()))
        << "still running after " << sigabbrev_np(row.signo);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(WaitUntil([&] { return board.HungUp(); }, kDeadline)) << "the port stayed open";
    EXPECT_FALSE(QFileInfo::exists(board.LockFile())) << "the lock file stayed behind";
}

INSTANTIATE_TEST_SUITE_P(Rows, ProgramSignals,
                         ::testing::Values(SignalRow{"SIGTERM", SIGTERM, false},
                                           SignalRow{"SIGHUP", SIGHUP, false},
                                           SignalRow{"SIGINT", SIGINT, false},
                                           SignalRow{"SIGTERMOverTheAboutBox", SIGTERM, true}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
