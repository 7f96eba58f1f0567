#include "boardsim/Board.h"
#include "boardsim/BoardError.h"
#include "serial/PortNames.h"
#include "support/PseudoTerminal.h"
#include "support/TempConfigHome.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

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
        const QString link = PortLinkFolder() + "/com3";
        PseudoTerminal live;
        const QString target = QString(row.target).replace("<live>", live.SlavePath());
        const QString marker = QString(row.marker).replace("<live>", live.SlavePath());
        ASSERT_EQ(target.isEmpty() ? QString() : PublishPortLink(3, target), QString());
        QFile markerFile(link + ".boardsim");
        ASSERT_TRUE(marker.isEmpty() || (markerFile.open(QIODevice::WriteOnly) &&
                                         markerFile.write(marker.toUtf8()) > 0));
        markerFile.close();
        try {
            const Board board({.comPort = 3}, [](const QString&) {});
            EXPECT_TRUE(row.taken);
            EXPECT_EQ(ResolveComPort(3).device, board.Device());
        } catch (const PortTakenError& error) {
            EXPECT_FALSE(row.taken);
            EXPECT_TRUE(QString(error.what()).startsWith("COM3 is taken: " + link));
            EXPECT_TRUE(QString(error.what()).contains("--com N"));
            EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);
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

} // namespace
