#include "support/DialogFixture.h"

#include "resources/Resource.h"

namespace {

struct ReceiveCase {
    const char* name;
    int respBytes;
    bool hex;
    std::vector<QByteArray> reads; // as they reach the line
    QString box;
    QString rxLabel;
    QByteArray capture;
    QString bufLabel;
};

} // namespace

class ReceiveTest : public DialogTest, public ::testing::WithParamInterface<ReceiveCase> {
protected:
    // What a save writes after its header line.
    QByteArray Capture() {
        const QByteArray file = SaveAs();
        return file.mid(file.indexOf("\r\n") + 2);
    }
};

TEST_P(ReceiveTest, ChunksAreShownCountedAndCaptured) {
    const ReceiveCase& c = GetParam();
    OpenPort();
    Select(IDC_RESPBYTES, c.respBytes - 1);
    if (c.hex)
        Click(IDC_RECVMODE);
    for (const QByteArray& read : c.reads)
        comm->Receive(read);
    EXPECT_EQ(Text(IDC_RECV), c.box);
    EXPECT_EQ(Text(IDC_RXCOUNT), c.rxLabel);
    EXPECT_EQ(Text(IDC_BUFCOUNT), c.bufLabel);
    EXPECT_TRUE(comm->waiting.isEmpty()) << "every read empties the buffer";
    EXPECT_EQ(Capture(), c.capture);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, ReceiveTest,
    ::testing::Values(
        ReceiveCase{"Text", 5, false, {"25.50"}, "25.50", "5", "25.50", "5Bytes"},
        ReceiveCase{"Hex", 5, true, {"25.50"}, "32 35 2E 35 30 ", "5", "25.50", "5Bytes"},
        ReceiveCase{"BeyondTheCountIsLost", 1, false, {"AB"}, "A", "1", "A", "2Bytes"},
        ReceiveCase{
            "ZeroByteEndsTheChunk", 3, false, {QByteArray("A\0B", 3)}, "A", "1", "A", "3Bytes"},
        ReceiveCase{
            "LeadingZeroGivesNothing", 3, true, {QByteArray("\0AB", 3)}, "", "0", "", "3Bytes"},
        ReceiveCase{"CountCutsEachRead", 2, false, {"25.5", "26.0"}, "2526", "4", "2526", "4Bytes"},
        ReceiveCase{
            "GbkSplitShowsWhole", 1, false, {"\xD6", "\xD0"}, "中", "2", "\xD6\xD0", "1Bytes"},
        ReceiveCase{"InvalidByte", 2, false, {"\xFF\x41"}, "\uFFFDA", "2", "\xFF\x41", "2Bytes"},
        ReceiveCase{
            "LineBreaks", 8, false, {"a\r\nb\nc\rd"}, "a\nb\nc\nd", "8", "a\r\nb\nc\rd", "8Bytes"},
        ReceiveCase{
            "CrLfSplitBetweenChunks", 2, false, {"a\r", "\nb"}, "a\nb", "4", "a\r\nb", "2Bytes"}),
    [](const auto& row) { return std::string(row.param.name); });

// An event with nothing waiting, or of another kind, reads nothing.
TEST_F(DialogTest, EventsWithoutDataReadNothing) {
    OpenPort();
    Click(IDC_CURVE);
    comm->waiting = "xyz";
    comm->RaiseEvent(CommControl::comEvCD); // carrier, the port still open: no loss
    comm->RaiseEvent(1);
    EXPECT_EQ(comm->log, (QStringList{"CommEvent?", "PortOpen?", "CommEvent?"}));
    EXPECT_EQ(Text(IDC_BUFCOUNT), "0");
    comm->log.clear();
    comm->reportedCount = 0;
    comm->RaiseEvent(CommControl::comEvReceive);
    EXPECT_EQ(comm->log, (QStringList{"CommEvent?", "InBufferCount?"}));
    EXPECT_EQ(Text(IDC_BUFCOUNT), "0Bytes");
    EXPECT_EQ(Text(IDC_RXCOUNT), "RX");
    EXPECT_EQ(Text(IDC_TEMP), "摄氏     ℃");
    EXPECT_TRUE(boxes.empty());
}

// 10000 bytes are kept; the chunk that passes them starts everything afresh.
TEST_F(DialogTest, RollOverPastTenThousandBytes) {
    OpenPort();
    Select(IDC_RESPBYTES, 9);
    for (int i = 0; i < 1000; ++i)
        comm->Receive("0123456789");
    EXPECT_EQ(Text(IDC_RXCOUNT), "10000");
    EXPECT_EQ(Text(IDC_RECV).size(), 10000);
    Select(IDC_RESPBYTES, 2);
    comm->Receive("abc");
    EXPECT_EQ(Text(IDC_RXCOUNT), "0");
    EXPECT_EQ(Text(IDC_RECV), "");
    EXPECT_TRUE(SaveAs().endsWith(":3\r\nabc"));
    comm->Receive("def");
    EXPECT_EQ(Text(IDC_RXCOUNT), "3");
    EXPECT_EQ(Text(IDC_RECV), "def");
}

TEST_F(DialogTest, ClearStopAndModeSwitchTouchOnlyTheBox) {
    OpenPort();
    Select(IDC_RESPBYTES, 2);
    comm->Receive("abc");
    Click(IDC_CLEAR);
    EXPECT_EQ(Text(IDC_RECV), "");
    EXPECT_EQ(Text(IDC_RXCOUNT), "0");

    Click(IDC_STOPDISP);
    EXPECT_EQ(Text(IDC_STOPDISP), "开始显示");
    comm->Receive("123");
    Click(IDC_STOPDISP);
    EXPECT_EQ(Text(IDC_STOPDISP), "停止显示");
    EXPECT_EQ(Text(IDC_RECV), "");
    EXPECT_EQ(Text(IDC_RXCOUNT), "3");

    Select(IDC_RESPBYTES, 1);
    comm->Receive("12");
    Click(IDC_RECVMODE);
    EXPECT_EQ(Text(IDC_RECVMODE), "十六进制");
    comm->Receive("34");
    Click(IDC_RECVMODE);
    EXPECT_EQ(Text(IDC_RECVMODE), "文本形式");
    comm->Receive("\xD6\xD0");
    EXPECT_EQ(Text(IDC_RECV), "1233 34 中");
    EXPECT_TRUE(SaveAs().endsWith("abc1231234\xD6\xD0"));
}

TEST_F(DialogTest, EveryByteShowsAsTwoUpperCaseDigitsAndABlank) {
    OpenPort();
    Click(IDC_RECVMODE);
    QString expected;
    for (int b = 1; b < 256; ++b) {
        comm->Receive(QByteArray(1, char(b)));
        expected += QString::asprintf("%02X ", b);
    }
    EXPECT_EQ(Text(IDC_RECV), expected);
}
