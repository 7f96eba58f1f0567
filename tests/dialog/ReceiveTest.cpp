#include "support/DialogFixture.h"

namespace {

// What a save writes after its header line.
QByteArray Capture(QByteArray file) {
    return file.remove(0, file.indexOf("\r\n") + 2);
}

} // namespace

// Each event reads what waits and keeps a chunk: at most the response byte
// count, up to a zero byte. The box shows it as text or pairs; the capture
// keeps the bytes.
TEST_F(DialogTest, ChunksAreShownCountedAndCaptured) {
    const struct {
        int respBytes;
        bool hex;
        std::vector<QByteArray> reads;
        QString box, labels; // received, waiting
        QByteArray capture;
    } rows[] = {
        {5, false, {"25.50"}, "25.50", "5 5Bytes", "25.50"},
        {5, true, {"\x01.5\x7F\xFF"}, "01 2E 35 7F FF ", "5 5Bytes", "\x01.5\x7F\xFF"},
        {1, false, {"AB"}, "A", "1 2Bytes", "A"},
        {3, false, {QByteArray("A\0B", 3)}, "A", "1 3Bytes", "A"},
        {3, true, {QByteArray("\0AB", 3)}, "", "0 3Bytes", ""},
        {2, false, {"25.5", "26.0"}, "2526", "4 4Bytes", "2526"},
        {1, false, {"\xD6", "\xD0"}, "中", "2 1Bytes", "\xD6\xD0"}, // split between chunks
        {2, false, {"\xFF\x41"}, "\uFFFDA", "2 2Bytes", "\xFF\x41"},
        {8, false, {"a\r\nb\nc\rd"}, "a\nb\nc\nd", "8 8Bytes", "a\r\nb\nc\rd"},
        {2, false, {"a\r", "\nb"}, "a\nb", "4 2Bytes", "a\r\nb"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.capture.toStdString());
        TearDown();
        SetUp();
        OpenPort();
        Select(IDC_RESPBYTES, row.respBytes - 1);
        if (row.hex)
            Click(IDC_RECVMODE);
        for (const QByteArray& read : row.reads)
            comm->Receive(read);
        EXPECT_EQ(Text(IDC_RECV), row.box);
        EXPECT_EQ(Text(IDC_RXCOUNT) + ' ' + Text(IDC_BUFCOUNT), row.labels);
        EXPECT_TRUE(comm->waiting.isEmpty()) << "every read empties the buffer";
        EXPECT_EQ(Capture(SaveAs()), row.capture);
    }
}

// An event with nothing waiting, or of another kind, reads nothing.
TEST_F(DialogTest, EventsWithoutDataReadNothing) {
    OpenPort();
    Click(IDC_CURVE);
    comm->RaiseEvent(CommControl::comEvCD); // carrier, the port still open: no loss
    comm->RaiseEvent(1);
    comm->RaiseEvent(CommControl::comEvReceive);
    EXPECT_EQ(comm->log.join(' '), "CommEvent? PortOpen? CommEvent? CommEvent? InBufferCount?");
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_BUFCOUNT) + Text(IDC_TEMP), "RX0Bytes摄氏     ℃");
    EXPECT_TRUE(boxes.empty());
}

// 10000 bytes are kept; the chunk that passes them starts all afresh.
TEST_F(DialogTest, RollOverPastTenThousandBytes) {
    OpenPort();
    Select(IDC_RESPBYTES, 9);
    for (int i = 0; i < 1000; ++i)
        comm->Receive("0123456789");
    EXPECT_EQ(Text(IDC_RXCOUNT), "10000");
    EXPECT_EQ(Text(IDC_RECV).size(), 10000);
    Select(IDC_RESPBYTES, 2);
    comm->Receive("abc");
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_RECV), "0");
    EXPECT_EQ(Capture(SaveAs()), "abc");
    comm->Receive("def");
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_RECV), "3def");
}

// Clearing, stopping the display and switching the mode change the box, never the capture.
TEST_F(DialogTest, ClearStopAndModeSwitchTouchOnlyTheBox) {
    OpenPort();
    Select(IDC_RESPBYTES, 2);
    comm->Receive("abc");
    Click(IDC_CLEAR);
    EXPECT_EQ(Text(IDC_RXCOUNT) + Text(IDC_RECV), "0");
    Click(IDC_STOPDISP);
    EXPECT_EQ(Text(IDC_STOPDISP), "开始显示");
    comm->Receive("123");
    Click(IDC_STOPDISP);
    EXPECT_EQ(Text(IDC_STOPDISP), "停止显示");
    EXPECT_EQ(Text(IDC_RXCOUNT), "3");
    Select(IDC_RESPBYTES, 1);
    comm->Receive("12");
    Click(IDC_RECVMODE);
    EXPECT_EQ(Text(IDC_RECVMODE), "十六进制");
    comm->Receive("\xD6\xFF");
    Click(IDC_RECVMODE);
    EXPECT_EQ(Text(IDC_RECVMODE), "文本形式");
    comm->Receive("\xD6\xD0");
    EXPECT_EQ(Text(IDC_RECV), "12D6 FF 中");
    EXPECT_EQ(Capture(SaveAs()), "abc12312\xD6\xFF\xD6\xD0");
}
