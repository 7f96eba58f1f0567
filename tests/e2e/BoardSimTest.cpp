#include "boardsim/Board.h"
#include "boardsim/BoardError.h"
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

namespace {

QString LinkPath() {
    return PortLinkFolder() + "/com3";
}

// The simulator takes only a free number or a stale link of its own (one
// its marker names); any other link stays as it was.
TEST(BoardLink, TakesOnlyAFreeNumberOrAStaleLinkOfItsOwn) {
    const QString gone = "/dev/pts/99999"; // as a killed board leaves it
    const struct {
        const char* name;
        QString target, marker; // <live>: a line in use
        bool taken;
    } rows[] = {
        {"free number", "", "", true},
        {"own stale link", gone, gone + "\n", true},
        {"unplugged adapter pin", "/dev/serial/by-id/usb-FTDI_A123-if00-port0", "", false},
        {"gone line without marker", gone, "", false},
        {"marker naming another line", gone, "/dev/pts/99998\n", false},
        {"board of another simulator", "<live>", "<live>\n", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempConfigHome home;
        PseudoTerminal live;
        const QString target = QString(row.target).replace("<live>", live.SlavePath());
        const QString marker = QString(row.marker).replace("<live>", live.SlavePath());
        ASSERT_EQ(target.isEmpty() ? QString() : PublishPortLink(3, target), QString());
        QFile markerFile(LinkPath() + ".boardsim");
        ASSERT_TRUE(marker.isEmpty() || (markerFile.open(QIODevice::WriteOnly) &&
                                         markerFile.write(marker.toUtf8()) > 0));
        markerFile.close();
        try {
            const Board board({.comPort = 3}, [](const QString&) {});
            EXPECT_TRUE(row.taken);
            EXPECT_EQ(ResolveComPort(3).device, board.Device());
        } catch (const PortTakenError& error) {
            EXPECT_FALSE(row.taken);
            EXPECT_TRUE(QString(error.what()).startsWith("COM3 is taken: " + LinkPath()));
            EXPECT_TRUE(QString(error.what()).contains("--com N"));
            EXPECT_EQ(QFileInfo(LinkPath()).symLinkTarget(), target);
        }
        EXPECT_EQ(QFileInfo::exists(markerFile.fileName()), !row.taken && !marker.isEmpty());
    }
}

TEST(BoardLink, AnUnpluggedBoardLeavesTheLinkOfItsSuccessor) {
    TempConfigHome home;
    auto unplugged = std::make_unique<Board>(BoardOptions{.comPort = 3}, [](const QString&) {});
    unplugged->HangUp();
    const Board successor({.comPort = 3}, [](const QString&) {});
    unplugged.reset();
    EXPECT_EQ(ResolveComPort(3).device, successor.Device());
}

// Run as the user runs it: each way of ending it removes the link, and a
// number someone else's link takes ends it with status 3.
TEST(BoardProgram, EndsOnSignalsWithoutItsLinkAndRefusesATakenNumber) {
    TempConfigHome home;
    for (const int signo : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sigabbrev_np(signo));
        QProcess board;
        board.start(BOARDSIM_PROGRAM, {"--com", "3", "--interval", "10", "--seed", "5"});
        ASSERT_TRUE(WaitUntil([&] { return board.canReadLine(); }));
        const QString first = QString::fromUtf8(board.readLine());
        EXPECT_TRUE(first.startsWith("COM3 is /dev/pts/") && first.contains("seed 5"))
            << first.toStdString();
        ::kill(pid_t(board.processId()), signo);
        ASSERT_TRUE(board.waitForFinished());
        EXPECT_EQ(board.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(board.exitCode(), 0);
        EXPECT_TRUE(board.readAll().endsWith("removed " + LinkPath().toUtf8() + "\n"));
        EXPECT_FALSE(QFileInfo(LinkPath()).isSymLink());
    }
    ASSERT_EQ(PublishPortLink(3, "/dev/null"), QString());
    QProcess board;
    board.start(BOARDSIM_PROGRAM, {"--com", "3"});
    ASSERT_TRUE(board.waitForFinished());
    EXPECT_EQ(board.exitCode(), 3);
    EXPECT_TRUE(board.readAllStandardError().contains("--com N"));
}

} // namespace
