#include "boardsim/Board.h"
#include "boardsim/BoardError.h"
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

constexpr int kPort = 3;

QString LinkPath() {
    return QStringLiteral("%1/com%2").arg(PortLinkFolder()).arg(kPort);
}

QString MarkerPath() {
    return LinkPath() + ".boardsim";
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A pseudo-terminal that no longer exists, as a board that was killed leaves it.
const QString kGonePty = "/dev/pts/99999";

struct LinkRow {
    const char* name;
    // Where COM3's link points before the board starts (nothing when empty),
    // and what the marker beside it says (no marker when empty). <home> is
    // the configuration folder, <live> the line of a board that runs.
    QString target;
    QString marker;
    bool claimed;
    friend void PrintTo(const LinkRow& row, std::ostream* os) { *os << row.name; }
};

class LinkClaims : public ::testing::TestWithParam<LinkRow> {
protected:
    QString Filled(const QString& text) const {
        return QString(text).replace("<home>", home.Path()).replace("<live>", live.SlavePath());
    }

    TempConfigHome home;
    PseudoTerminal live;
};

TEST_P(LinkClaims, OnlyAFreeNumberOrAStaleLinkOfItsOwnIsTaken) {
    const LinkRow& row = GetParam();
    const QByteArray marker = Filled(row.marker).toUtf8();
    if (!row.target.isEmpty()) {
        ASSERT_EQ(PublishPortLink(kPort, Filled(row.target)), QString());
    }
    if (!marker.isEmpty())
        WriteFile(MarkerPath(), marker);
    const QString before = QFileInfo(LinkPath()).symLinkTarget();

    BoardOptions options;
    options.comPort = kPort;
    if (!row.claimed) {
        try {
            Board board(options, [](const QString&) {});
            ADD_FAILURE() << "the link was taken over";
        } catch (const PortTakenError& error) {
            const QString message = QString::fromUtf8(error.what());
            EXPECT_TRUE(message.startsWith("COM3 is taken: " + LinkPath())) << error.what();
            EXPECT_TRUE(message.contains("--com N")) << error.what();
        }
        EXPECT_EQ(QFileInfo(LinkPath()).symLinkTarget(), before);
        EXPECT_EQ(ReadFile(MarkerPath()), marker.isEmpty() ? "<none>" : marker);
        return;
    }
    auto board = std::make_unique<Board>(options, [](const QString&) {});
    EXPECT_EQ(ResolveComPort(kPort).device, board->Device());
    EXPECT_EQ(ReadFile(MarkerPath()), board->Device().toUtf8() + "\n");
    board.reset();
    EXPECT_FALSE(QFileInfo(LinkPath()).isSymLink()) << "the link goes with the board";
    EXPECT_FALSE(QFileInfo::exists(MarkerPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LinkClaims,
    ::testing::Values(LinkRow{"NoLink", {}, {}, true},
                      LinkRow{"OwnStaleLink", kGonePty, kGonePty + "\n", true},
                      LinkRow{"UnpluggedAdapterPin",
                              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A123-if00-port0",
                              {},
                              false},
                      LinkRow{"GonePseudoTerminalWithoutMarker", kGonePty, {}, false},
                      LinkRow{"MarkerNamingAnotherPseudoTerminal", kGonePty, "/dev/pts/99998\n",
                              false},
                      LinkRow{"ToAnExistingFile", "<home>", {}, false},
                      LinkRow{"RunningBoardOfAnotherSimulator", "<live>", "<live>\n", false}),
    [](const auto& row) { return std::string(row.param.name); });

// A killed board's pseudo-terminal number often comes back to the next
// board, whose own line the stale link then names.
TEST(BoardLink, AStaleLinkToItsOwnNewLineIsTakenBack) {
    TempConfigHome home;
    PseudoTerminal line;
    ASSERT_EQ(PublishPortLink(kPort, line.SlavePath()), QString());
    WriteFile(MarkerPath(), line.SlavePath().toUtf8() + "\n");
    PortLinkClaim claim(kPort, line.SlavePath());
    EXPECT_TRUE(claim.ReplacedStale());
}

TEST(BoardLink, AnUnpluggedBoardLeavesTheLinkOfItsSuccessor) {
    TempConfigHome home;
    BoardOptions options;
    options.comPort = kPort;
    auto unplugged = std::make_unique<Board>(options, [](const QString&) {});
    unplugged->HangUp();
    EXPECT_FALSE(QFileInfo(LinkPath()).exists()) << "the device is gone, the link dangles";

    Board successor(options, [](const QString&) {});
    unplugged.reset();
    EXPECT_EQ(ResolveComPort(kPort).device, successor.Device());
}

// The program as the user runs it: options reach the board, the probe sees
// it, and each way of ending it removes the link.
class BoardProgram : public ::testing::Test {
protected:
    int Probe() {
        QProcess probe;
        probe.start(BOARDSIM_PROGRAM, {"--probe", "--com", QString::number(kPort)});
        EXPECT_TRUE(probe.waitForFinished());
        return probe.exitCode();
    }
    // Starts the board on COM3 and returns its first line.
    QString Start(QProcess& board) {
        board.start(BOARDSIM_PROGRAM, {"--com", QString::number(kPort)});
        EXPECT_TRUE(WaitUntil([&] { return board.canReadLine(); }));
        return QString::fromUtf8(board.readLine());
    }

    TempConfigHome home;
};

class Program : public BoardProgram, public ::testing::WithParamInterface<int> {};

TEST_P(Program, EndsOnSignalAndRemovesItsLink) {
    EXPECT_EQ(Probe(), 1) << "no board yet";
    QProcess board;
    board.start(BOARDSIM_PROGRAM, {"--com", QString::number(kPort), "--interval", "10", "--width",
                                   "7", "--seed", "5"});
    ASSERT_TRUE(WaitUntil([&] { return board.canReadLine(); }));
    const QString first = QString::fromUtf8(board.readLine());
    EXPECT_TRUE(first.startsWith("COM3 is /dev/pts/")) << first.toStdString();
    EXPECT_TRUE(first.contains("7 bytes every 10 ms, steady profile, seed 5"))
        << first.toStdString();
    EXPECT_TRUE(QFileInfo(LinkPath()).isSymLink());
    EXPECT_EQ(Probe(), 0);

    ::kill(static_cast<pid_t>(board.processId()), GetParam());
    ASSERT_TRUE(board.waitForFinished());
    EXPECT_EQ(board.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(board.exitCode(), 0);
    EXPECT_TRUE(board.readAll().endsWith("removed " + LinkPath().toUtf8() + "\n"));
    EXPECT_FALSE(QFileInfo(LinkPath()).isSymLink());
    EXPECT_EQ(Probe(), 1);
}

INSTANTIATE_TEST_SUITE_P(Signals, Program, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& row) { return std::string(sigabbrev_np(row.param)); });

// A board killed outright leaves its link and marker; the next one takes
// the link back, and ends leaving nothing.
TEST_F(BoardProgram, NextRunReclaimsTheLinkOfAKilledOne) {
    QProcess killed;
    Start(killed);
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished());
    ASSERT_TRUE(QFileInfo(LinkPath()).isSymLink());
    const QString stale = QFileInfo(LinkPath()).symLinkTarget();

    QProcess next;
    next.start(BOARDSIM_PROGRAM, {"--com", QString::number(kPort)});
    ASSERT_TRUE(
        WaitUntil([&] { return next.canReadLine() || next.state() == QProcess::NotRunning; }));
    // Another program may open a pseudo-terminal in between and get the
    // killed board's number: the link then names a line that is not ours.
    if (!next.canReadLine() && next.exitCode() == 3 && QFileInfo::exists(stale))
        GTEST_SKIP() << stale.toStdString() << " went to another program meanwhile";
    const QString first = QString::fromUtf8(next.readLine());
    EXPECT_TRUE(first.contains("replacing a stale one")) << first.toStdString();
    EXPECT_TRUE(first.startsWith("COM3 is " + ResolveComPort(kPort).device)) << stale.toStdString();
    next.terminate();
    ASSERT_TRUE(next.waitForFinished());
    EXPECT_FALSE(QFileInfo(LinkPath()).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(MarkerPath()));
}

// The user's pin to an adapter that is unplugged stays, and the status
// tells a script to try another number.
TEST_F(BoardProgram, APinnedNumberStaysAndEndsItWithStatusThree) {
    const QString pin = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A123-if00-port0";
    ASSERT_EQ(PublishPortLink(kPort, pin), QString());
    QProcess board;
    board.start(BOARDSIM_PROGRAM, {"--com", QString::number(kPort)});
    ASSERT_TRUE(board.waitForFinished());
    EXPECT_EQ(board.exitCode(), 3);
    const QString error = QString::fromUtf8(board.readAllStandardError());
    EXPECT_TRUE(error.contains(LinkPath() + " names " + pin)) << error.toStdString();
    EXPECT_TRUE(error.contains("--com N")) << error.toStdString();
    EXPECT_EQ(QFileInfo(LinkPath()).symLinkTarget(), pin);
    EXPECT_EQ(Probe(), 1);
}

// As root with no HOME, the board says why and creates nothing, above all
// not at the file system's root.
TEST(BoardWithoutHome, CreatesNothingAndSaysWhy) {
    const QTemporaryDir cwd;
    const bool rootHadConfig = QFileInfo::exists("/.config");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("HOME");
    env.remove("XDG_CONFIG_HOME");
    QProcess board;
    board.setProcessEnvironment(env);
    board.setWorkingDirectory(cwd.path());
    board.start(BOARDSIM_PROGRAM, {"--com", QString::number(kPort)});
    ASSERT_TRUE(board.waitForFinished());
    EXPECT_EQ(board.exitCode(), 1);
    const QString error = QString::fromUtf8(board.readAllStandardError());
    EXPECT_TRUE(error.contains("环境变量 HOME 未设置，XDG_CONFIG_HOME 也不是绝对路径"))
        << error.toStdString();
    EXPECT_EQ(QDir(cwd.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    EXPECT_EQ(QFileInfo::exists("/.config"), rootHadConfig);
}

} // namespace
