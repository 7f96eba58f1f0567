#include "support/DialogFixture.h"

#include "app/Globals.h"
#include "resources/Resource.h"

#include <QPlainTextEdit>

namespace {

struct ReceiveCase {
    const char* name;
    int respBytes;
    bool hex;
    std::vector<QByteArray> reads; // one data event each
    QString box;
    QString rxLabel;
    QByteArray capture;
    QString bufLabel;
};

} // namespace

class ReceiveTest : public DialogTest, public ::testing::WithParamInterface<ReceiveCase> {};

TEST_P(ReceiveTest, ChunksAreShownCountedAndCaptured) {
    const ReceiveCase& c = GetParam();
    OpenPort();
    Select(IDC_RESPBYTES, c.respBytes - 1);
    if (c.hex)
        Click(IDC_RECVMODE);
    for (const QByteArray& read : c.reads)
        comm->Receive(read);
    EXPECT_EQ(dlg->m_editRecv->toPlainText(), c.box);
    EXPECT_EQ(Text(IDC_RXCOUNT), c.rxLabel);
    EXPECT_EQ(dlg->m_strRecv, c.capture);
    EXPECT_EQ(Text(IDC_BUFCOUNT), c.bufLabel);
    EXPECT_TRUE(comm->waiting.isEmpty()) << "every read empties the buffer";
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
        ReceiveCase{"GbkSplitBetweenChunksShowsWhole",
                    1,
                    false,
                    {"\xD6", "\xD0"},
                    "中",
                    "2",
                    "\xD6\xD0",
                    "1Bytes"},
        ReceiveCase{"InvalidBytesShowAsReplacement",
                    3,
                    false,
                    {"\xFF\x41"},
                    "\uFFFD"
                    "A",
                    "2",
                    "\xFF\x41",
                    "2Bytes"},
        ReceiveCase{
            "LineBreaks", 15, false, {"a\r\nb\nc\rd"}, "a\nb\nc\nd", "8", "a\r\nb\nc\rd", "8Bytes"},
        ReceiveCase{
            "CrLfSplitBetweenChunks", 2, false, {"a\r", "\nb"}, "a\nb", "4", "a\r\nb", "2Bytes"}),
    [](const ::testing::TestParamInfo<ReceiveCase>& row) { return std::string(row.param.name); });

TEST_F(DialogTest, NonDataEventsAndEmptyEventsChangeNothingElse) {
    OpenPort();
    comm->waiting = "xyz";
    // A carrier event while the port is still open is no loss either.
    comm->RaiseEvent(CommControl::comEvCD);
    EXPECT_EQ(comm->log, (QStringList{"CommEvent?", "PortOpen?"}));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Text(IDC_BUFCOUNT), "0");
    EXPECT_EQ(Text(IDC_RXCOUNT), "RX");

    comm->log.clear();
    comm->reportedCount = 0;
    comm->RaiseEvent(CommControl::comEvReceive);
    EXPECT_EQ(comm->log, (QStringList{"CommEvent?", "InBufferCount?"}));
    EXPECT_EQ(Text(IDC_BUFCOUNT), "0Bytes");
    EXPECT_EQ(Text(IDC_RXCOUNT), "RX");
    EXPECT_TRUE(dlg->m_strRecv.isEmpty());
}

TEST_F(DialogTest, RollOverPastTenThousandEmptiesBoxAndCapture) {
    OpenPort();
    Select(IDC_RESPBYTES, 1);
    dlg->m_nRxCount = 9998;
    comm->Receive("12");
    EXPECT_EQ(Text(IDC_RXCOUNT), "10000");
    EXPECT_EQ(dlg->m_strRecv, "12");

    Select(IDC_RESPBYTES, 2);
    comm->Receive("345");
    EXPECT_EQ(dlg->m_nRxCount, 0);
    EXPECT_EQ(Text(IDC_RXCOUNT), "0");
    EXPECT_EQ(dlg->m_editRecv->toPlainText(), "");
    EXPECT_EQ(dlg->m_strRecv, "345");
    comm->Receive("6");
    EXPECT_EQ(Text(IDC_RXCOUNT), "1");
}

TEST_F(DialogTest, ClearStopAndModeSwitchTouchOnlyTheBox) {
    OpenPort();
    Select(IDC_RESPBYTES, 2);
    comm->Receive("abc");
    Click(IDC_CLEAR);
    EXPECT_EQ(dlg->m_editRecv->toPlainText(), "");
    EXPECT_EQ(Text(IDC_RXCOUNT), "0");
    EXPECT_EQ(dlg->m_strRecv, "abc");

    Click(IDC_STOPDISP);
    EXPECT_EQ(Text(IDC_STOPDISP), "开始显示");
    comm->Receive("123");
    Click(IDC_STOPDISP);
    EXPECT_EQ(Text(IDC_STOPDISP), "停止显示");
    EXPECT_EQ(dlg->m_editRecv->toPlainText(), "");
    EXPECT_EQ(Text(IDC_RXCOUNT), "3");
    EXPECT_EQ(dlg->m_strRecv, "abc123");

    comm->Receive("12");
    Click(IDC_RECVMODE);
    EXPECT_EQ(Text(IDC_RECVMODE), "十六进制");
    comm->Receive("34");
    Click(IDC_RECVMODE);
    EXPECT_EQ(Text(IDC_RECVMODE), "文本形式");
    EXPECT_EQ(dlg->m_editRecv->toPlainText(), "1233 34 ");
}

TEST_F(DialogTest, EveryByteShowsAsTwoUpperCaseDigitsAndABlank) {
    OpenPort();
    Click(IDC_RECVMODE);
    QString expected;
    for (int b = 1; b < 256; ++b) {
        comm->Receive(QByteArray(1, static_cast<char>(b)));
        expected += QString::asprintf("%02X ", b);
    }
    EXPECT_EQ(dlg->m_editRecv->toPlainText(), expected);
    EXPECT_EQ(std::string(g_szHexPair), "FF ");
}
