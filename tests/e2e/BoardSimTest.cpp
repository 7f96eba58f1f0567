#include "boardsim/Board.h"
#include "boardsim/BoardError.h"
#include "serial/PortNames.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

constexpr int kPort = 3;

QString LinkPath() {
    return QStringLiteral("%1/com%2").arg(PortLinkFolder()).arg(kPort);
}

struct LinkRow {
    const char* name;
    // What COM3's link is before the board starts: nothing, a link to a
    // path that is gone, a link to a file that exists, or a plain file.
    enum { None, Dangling, ToExisting, PlainFile } before;
    bool claimed;
    friend void PrintTo(const LinkRow& row, std::ostream* os) { *os << row.name; }
};

class LinkClaims : public ::testing::TestWithParam<LinkRow> {
protected:
    TempConfigHome home;
};

TEST_P(LinkClaims, OnlyAStaleLinkIsReplaced) {
    const LinkRow& row = GetParam();
    const QString adapter = home.Path() + "/adapter";
    if (row.before != LinkRow::None) {
        ASSERT_EQ(PublishPortLink(kPort, adapter), QString());
    }
    if (row.before == LinkRow::ToExisting || row.before == LinkRow::PlainFile) {
        QFile file(row.before == LinkRow::PlainFile && QFile::remove(LinkPath()) ? LinkPath()
                                                                                 : adapter);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString before = QFileInfo(LinkPath()).symLinkTarget();

    BoardOptions options;
    options.comPort = kPort;
    if (!row.claimed) {
        try {
            Board board(options, [](const QString&) {});
            ADD_FAILURE() << "the link was taken over";
        } catch (const BoardError& error) {
            EXPECT_NE(std::string(error.what()).find("COM3 is taken"), std::string::npos);
        }
        EXPECT_TRUE(QFileInfo(LinkPath()).exists());
        EXPECT_EQ(QFileInfo(LinkPath()).symLinkTarget(), before);
        return;
    }
    auto board = std::make_unique<Board>(options, [](const QString&) {});
    EXPECT_EQ(ResolveComPort(kPort).device, board->Device());
    board.reset();
    EXPECT_FALSE(QFileInfo(LinkPath()).isSymLink()) << "the link goes with the board";
}

INSTANTIATE_TEST_SUITE_P(Rows, LinkClaims,
                         ::testing::Values(LinkRow{"NoLink", LinkRow::None, true},
                                           LinkRow{"Dangling", LinkRow::Dangling, true},
                                           LinkRow{"ToAnExistingFile", LinkRow::ToExisting, false},
                                           LinkRow{"PlainFile", LinkRow::PlainFile, false}),
                         [](const auto& row) { return std::string(row.param.name); });

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
class Program : public ::testing::TestWithParam<int> {
protected:
    int Probe() {
        QProcess probe;
        probe.start(BOARDSIM_PROGRAM, {"--probe", "--com", QString::number(kPort)});
        EXPECT_TRUE(probe.waitForFinished());
        return probe.exitCode();
    }

    TempConfigHome home;
};

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

} // namespace
