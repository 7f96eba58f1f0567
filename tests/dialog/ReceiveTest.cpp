#include "support/DialogFixture.h"
#include "support/ReadFile.h"
#include "support/WaitUntil.h"

#include "platform/FileDialog.h"
#include "platform/GbkCodec.h"

#include <QTemporaryDir>
#include <QThread>

// What a save writes after its header line.
static QByteArray Capture(QByteArray file) {
    return file.remove(0, file.indexOf("\r\n") + 2);
}

// Each event reads what waits and keeps a chunk: at most the response byte
// count, up to a zero byte. The box shows it as text or pairs; the capture
// keeps the bytes.
TEST_F(DialogTest, ChunksAreShownCountedAndCaptured) {
    // Response byte count, hexadecimal, reads; box, received and waiting labels, capture.
    const std::tuple<int, bool, std::vector<QByteArray>, QString, QString, QByteArray> rows[] = {
        {5, false, {"25.50"}, "25.50", "5 5Bytes", "25.50"},
        {5, true, {"\x01.5\x7F\xFF"}, "01 2E 35 7F FF ", "5 5Bytes", "\x01.5\x7F\xFF"},
        {1, false, {"AB"}, "A", "1 2Bytes", "A"},
        {3, false, {QByteArray("A\0B", 3)}, "A", "1 3Bytes", "A"},
        {3, true, {QByteArray("\0AB", 3)}, "", "0 3Bytes", ""},
        {2, false, {"25.5", "26.0"}, "2526", "4 4Bytes", "2526"},
        {1, false, {"\xD6", "\xD0"}, "中", "2 1Bytes", "\xD6\xD0"}, // split between chunks
        {2, false, {"\xFF\x41"}, "\uFFFDA", "2 2Bytes", "\xFF\x41"},
        {8, false, {"a\r\nb\nc\rd"}, "a\nb\nc\nd", "8 8Bytes", "a\r\nb\nc\rd"},
        {2, false, {"a\r", "\nb"}, "a\nb", "4 2Bytes", "a\r\nb"}};
    for (const auto& [respBytes, hex, reads, shown, labels, capture] : rows) {
        SCOPED_TRACE(capture.toStdString());
        TearDown();
        SetUp();
        OpenPort();
        Select(IDC_RESPBYTES, respBytes - 1);
        if (hex)
            Click(IDC_RECVMODE);
        EXPECT_EQ(Text(IDC_RECVMODE), hex ? "十六进制" : "文本形式");
        for (const QByteArray& read : reads)
            comm->Receive(read);
        EXPECT_EQ(Text(IDC_RECV), shown);
        EXPECT_EQ(Text(IDC_RXCOUNT) + ' ' + Text(IDC_BUFCOUNT), labels);
        EXPECT_EQ(Capture(SaveAs()), capture);
    }
}

// Clearing the box starts the text afresh: a line feed after it is a line
// break of its own, whatever came before.
TEST_F(DialogTest, ALineFeedAfterAClearStartsALine) {
    OpenPort();
    Select(IDC_RESPBYTES, 1);
    comm->Receive("ab");
    Click(IDC_CLEAR);
    comm->Receive("\nc");
    EXPECT_EQ(Text(IDC_RECV), "\nc");
}

// An event with nothing waiting, or of another kind, reads nothing. 10000
// bytes are kept; the chunk that passes them starts all afresh.
TEST_F(DialogTest, EmptyEventsAndTheRollOverPastTenThousandBytes) {
    OpenPort();
    Click(IDC_CURVE);
    comm->RaiseEvent(CommControl::comEvCD); // carrier, the port still open: no loss
    comm->RaiseEvent(1);
    comm->RaiseEvent(CommControl::comEvReceive);
    EXPECT_EQ(comm->log.join(' '), "CommEvent? PortOpen? CommEvent? CommEvent? InBufferCount?");
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_BUFCOUNT) + Text(IDC_TEMP), "RX0Bytes摄氏     ℃");
    Select(IDC_RESPBYTES, 9);
    for (int i = 0; i < 1000; ++i)
        comm->Receive("0123456789");
    EXPECT_EQ(Text(IDC_RXCOUNT) + ' ' + QString::number(Text(IDC_RECV).size()), "10000 10000");
    Select(IDC_RESPBYTES, 2);
    comm->Receive("abc");
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_RECV), "0");
    EXPECT_EQ(Capture(SaveAs()), "abc");
    comm->Receive("def");
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_RECV), "3def");
}

// The header holds the clock at the click; the data is the capture as it
// stands when the file dialog closes, whatever the box shows or stopped showing.
TEST_F(DialogTest, SaveWritesTheHeaderAndTheCapture) {
    const auto header = [](const QString& time, int count) {
        return GbkFromUnicode(
            QStringLiteral("保存时间:%1   有效数据字节:%2\r\n").arg(time).arg(count));
    };
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOCK).count(':') == 3; }));
    EXPECT_EQ(SaveAs(), header(Text(IDC_CLOCK), 0));
    OpenPort();
    Select(IDC_RESPBYTES, 11);
    comm->Receive("hello, board");
    Click(IDC_RECVMODE);
    Click(IDC_CLEAR);
    Click(IDC_STOPDISP);
    Select(IDC_RESPBYTES, 3);
    QTemporaryDir dir;
    std::vector<SaveFileRequest> asked;
    QString clicked;
    const std::optional<QString> answers[] = {std::nullopt, dir.filePath("missing/log.txt"),
                                              dir.filePath("log.txt")};
    SetSaveFileHook([&](const SaveFileRequest& request) -> std::optional<QString> {
        asked.push_back(request);
        clicked = Text(IDC_CLOCK);
        EXPECT_TRUE(WaitUntil([&] { return Text(IDC_CLOCK) != clicked; }));
        comm->Receive("25.5");
        return answers[asked.size() - 1];
    });
    for (int i = 0; i < 3; ++i) // cancelled, refused, saved
        Click(IDC_SAVEAS);
    EXPECT_EQ(ReadFile(*answers[2]), header(clicked, 24) + "hello, board25.525.525.5");
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_RECV) + Text(IDC_STOPDISP), "12开始显示");
    Click(IDC_STOPDISP);
    EXPECT_EQ(Text(IDC_STOPDISP), "停止显示");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "没有找到 log.txt。");
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[0].title, AppName());
    const SaveFileRequest& r = asked[0];
    EXPECT_EQ(QStringList({r.title, r.filters.value(0).caption, r.filters.value(0).patterns,
                           r.filters.value(1).caption, QString::number(r.filters.size()),
                           r.defaultSuffix}),
              QStringList({"接收数据另存为...", "TEXT Files(*.txt)", "*.txt", "ALL Files(*.*)", "2",
                           "txt"}));
    EXPECT_TRUE(SaveAs().endsWith(":24\r\nhello, board25.525.525.5")) << "saving keeps the capture";
    comm->Receive("25.5");
    EXPECT_EQ(Text(IDC_RECV), "32 35 2E 35 ") << "the box shows receptions again";
}

// A reading that comes when the clock's tick is nearly due carries it: the
// clock moves on with the reading, without waiting for its timer.
TEST_F(DialogTest, AReadingNearTheClocksTickCarriesIt) {
    OpenPort();
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CLOCK).count(':') == 3; }));
    const QString before = Text(IDC_CLOCK);
    QThread::msleep(12); // no event loop: the timer cannot tick meanwhile
    comm->Receive("25.50");
    EXPECT_NE(Text(IDC_CLOCK), before);
}
