#include "e2e/DialogOnBoard.h"

#include "platform/GbkCodec.h"
#include "resources/Resource.h"
#include "support/WaitUntil.h"

#include <QFile>

#include <algorithm>
#include <sys/stat.h>

TEST_F(DialogOnBoard, ReadingsReachReadoutCounterAndFileAndNothingIsLost) {
    Plug({.interval = 10ms});
    Click(IDC_CURVE);
    Open(5);
    Acquire(6);
    EXPECT_EQ(board->Received(), "\xFF");
    const QByteArray last = control->reads.back().left(5);
    EXPECT_EQ(Text(IDC_TEMP), QStringLiteral("摄氏%1℃").arg(QString::fromLatin1(last)));

    StopAndDrain();
    EXPECT_EQ(board->Received(), "\xFF\xFE");
    EXPECT_EQ(Text(IDC_TXCOUNT), "2");
    QByteArray joined, kept;
    for (const QByteArray& read : control->reads) {
        joined += read;
        kept += read.left(5);
    }
    EXPECT_EQ(joined, board->Sent());
    EXPECT_EQ(Text(IDC_RXCOUNT), QString::number(kept.size()));
    EXPECT_TRUE(SaveAs().endsWith(GbkFromUnicode(QStringLiteral("   有效数据字节:")) +
                                  QByteArray::number(kept.size()) + "\r\n" + kept));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DialogOnBoard, TextAndHexSendArriveByteForByteAndComeBackAsEcho) {
    Plug({.echo = true});
    Open(15);
    Type(QStringLiteral("温度 25.5℃\n"));
    Click(IDC_SEND);
    Click(IDC_SENDMODE);
    // Every byte but the two commands, which would set the board going.
    QString hex;
    QByteArray bytes;
    for (int b = 0; b < 0xFE; ++b) {
        hex += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0'));
        bytes += char(b);
    }
    Type(hex);
    Click(IDC_SEND);
    const QByteArray expected = GbkFromUnicode(QStringLiteral("温度 25.5℃\r\n")) + bytes;
    ASSERT_TRUE(WaitUntil([&] { return board->Received().size() >= expected.size(); }));
    EXPECT_EQ(board->Received(), expected);
    EXPECT_EQ(Text(IDC_TXCOUNT), QString::number(expected.size()));
    StopAndDrain();
    EXPECT_TRUE(Text(IDC_RECV).startsWith(QStringLiteral("温度 25.5℃\n")));
    EXPECT_TRUE(boxes.empty());
}

// A bad line's bytes are cut by the reception rules, whatever they hold.
TEST_F(DialogOnBoard, LineFaultsAreCutAndCounted) {
    const struct {
        const char* name;
        LineFaults faults;
        int keptPerRead;
    } rows[] = {{"burst", {.burst = 3}, 5},
                {"zero byte", {.zeroEvery = 1}, 2},
                {"overlong", {.overlongEvery = 1}, 5},
                {"not GBK", {.badGbkEvery = 1}, 5}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const qsizetype rx = Text(IDC_RXCOUNT).toLongLong();
        const qsizetype replaced = Text(IDC_RECV).count(QChar::ReplacementCharacter);
        control->reads.clear();
        board.reset();
        Plug({.interval = 10ms, .width = 5, .faults = row.faults});
        Open(5);
        Acquire(8);
        StopAndDrain();
        const auto reads =
            std::ranges::count_if(control->reads, [](auto& r) { return !r.isEmpty(); });
        EXPECT_EQ(Text(IDC_RXCOUNT), QString::number(rx + row.keptPerRead * reads));
        EXPECT_EQ(Text(IDC_RECV).count(QChar::ReplacementCharacter) - replaced,
                  row.faults.badGbkEvery ? reads : 0);
        EXPECT_FALSE(SaveAs().contains('\0'));
        Click(IDC_OPEN);
    }
}

// Unplugged mid-acquisition: one box names port and device, the buttons say
// what the next press does, and one press reopens on the board plugged in
// again, which gets the start command first.
TEST_F(DialogOnBoard, HangUpSaysSoOnceAndOnePressReopensANewBoard) {
    Plug({.interval = 10ms});
    Open(5);
    Acquire(1);
    const QString lost = board->Device();
    board->HangUp();
    ASSERT_TRUE(WaitUntil([&] { return !boxes.empty(); }));
    DrainEvents();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[0].text, QStringLiteral("串口 COM1（%1）已断开：设备被拔出或挂断，串口已关闭。"
                                            "请接好设备后重新打开串口。")
                                 .arg(lost));
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");

    Plug({.interval = 10ms});
    boxes.clear();
    Open(5);
    Acquire(2);
    EXPECT_EQ(board->Received(), "\xFF");
}

// Whoever may write a folder on the way to COM1's link could swap the board
// for a line of theirs: opening is refused until the folder is private again.
TEST_F(DialogOnBoard, AFolderOthersMayWriteRefusesCom1UntilItIsPrivate) {
    Plug({.interval = 10ms});
    const QByteArray folder = QFile::encodeName(home.Path() + "/serialtemp");
    ASSERT_EQ(::chmod(folder.constData(), S_IRWXU | S_IRWXG), 0);
    Click(IDC_OPEN);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith("无法打开串口 COM1：不使用端口链接 " + board->Link()));
    EXPECT_TRUE(boxes[0].text.contains("chmod go-w " + folder + " "))
        << boxes[0].text.toStdString();
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    ASSERT_EQ(::chmod(folder.constData(), S_IRWXU), 0);
    boxes.clear();
    Open(5);
}
