#include "e2e/DialogOnBoard.h"

#include "app/Globals.h"
#include "platform/FileDialog.h"
#include "platform/GbkCodec.h"
#include "resources/Resource.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <sys/stat.h>

namespace {

// Where the curve draws a temperature reading: y = H - trunc(value / 100 * H).
int CurveRow(const QByteArray& reading, int height) {
    const int value = std::clamp(int(reading.toDouble() + 2), 0, 100);
    return height - int(value / 100.0 * height);
}

bool WhiteInColumn(const QImage& image, int x, int fromY, int toY) {
    for (int y = std::max(fromY, 0); y <= std::min(toY, image.height() - 1); ++y) {
        if (image.pixel(x, y) == qRgb(255, 255, 255))
            return true;
    }
    return false;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(DialogOnBoard, ReadingsReachReadoutCurveCounterCaptureAndFile) {
    Plug({.interval = 10ms});
    Click(IDC_CURVE);
    Open(5);
    Acquire(6);
    EXPECT_EQ(board->Received(), "\xFF");

    // The steady board reads about 25 °C, five bytes with two decimals.
    const QByteArray last = ExpectedCapture(5).right(5);
    EXPECT_EQ(dlg->m_editTemp->text(), QStringLiteral("摄氏%1℃").arg(QString::fromLatin1(last)));
    const QImage& curve = dlg->m_curve.Surface();
    const QByteArray previous = ExpectedCapture(5).right(10).left(5);
    const int from = CurveRow(previous, curve.height());
    const int to = CurveRow(last, curve.height());
    EXPECT_TRUE(
        WhiteInColumn(curve, curve.width() - 12, std::min(from, to) - 1, std::max(from, to) + 1))
        << "the last segment runs from " << previous.toStdString() << " to " << last.toStdString();

    StopAndDrain();
    EXPECT_EQ(board->Received(), "\xFF\xFE");
    EXPECT_EQ(Text(IDC_TXCOUNT), "2");
    QByteArray joined;
    for (const QByteArray& read : reads)
        joined += read;
    EXPECT_EQ(joined, board->Sent()) << "the line loses nothing";
    const QByteArray capture = ExpectedCapture(5);
    EXPECT_EQ(dlg->m_strRecv, capture);
    EXPECT_EQ(Text(IDC_RXCOUNT), QString::number(capture.size()));

    QTemporaryDir dir;
    const QString path = dir.filePath("capture.txt");
    SetSaveFileHook([&](const SaveFileRequest&) { return std::optional(path); });
    g_strTime = "14:3:27:512";
    Click(IDC_SAVEAS);
    EXPECT_EQ(ReadFile(path),
              GbkFromUnicode(QStringLiteral("保存时间:14:3:27:512   有效数据字节:")) +
                  QByteArray::number(capture.size()) + "\r\n" + capture);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DialogOnBoard, TextAndHexSendArriveByteForByteAndComeBackAsEcho) {
    Plug({.echo = true});
    Open(15);
    dlg->m_editSend->setPlainText(QStringLiteral("温度 25.5℃\n"));
    Click(IDC_SEND);
    Click(IDC_SENDMODE);
    // Every byte but the two commands, which would set the board going.
    QString hex;
    QByteArray bytes;
    for (int b = 0; b < 0xFE; ++b) {
        hex += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0'));
        bytes += char(b);
    }
    dlg->m_editSend->setPlainText(hex);
    Click(IDC_SEND);

    const QByteArray expected = GbkFromUnicode(QStringLiteral("温度 25.5℃\r\n")) + bytes;
    ASSERT_TRUE(WaitUntil([&] { return board->Received().size() >= expected.size(); }));
    EXPECT_EQ(board->Received(), expected);
    EXPECT_EQ(Text(IDC_TXCOUNT), QString::number(expected.size()));
    EXPECT_TRUE(boxes.empty());

    StopAndDrain();
    EXPECT_TRUE(dlg->m_editRecv->toPlainText().startsWith(QStringLiteral("温度 25.5℃\n")));
    EXPECT_EQ(dlg->m_strRecv, ExpectedCapture(15));
}

struct FaultRow {
    const char* name;
    LineFaults faults;
    int respBytes;
    // What must show that the fault reached the dialog and was dealt with.
    std::function<void(const CSerialDlg&, const std::vector<QByteArray>& reads)> check;
    friend void PrintTo(const FaultRow& row, std::ostream* os) { *os << row.name; }
};

class LineFaultsEndToEnd : public DialogOnBoard, public ::testing::WithParamInterface<FaultRow> {};

// A bad line's bytes are cut as the chunk rules say, whatever they hold.
TEST_P(LineFaultsEndToEnd, AreCutByTheChunkRules) {
    const FaultRow& row = GetParam();
    Plug({.interval = 10ms, .width = 5, .faults = row.faults});
    Open(row.respBytes);
    Acquire(8);
    StopAndDrain();
    const QByteArray capture = ExpectedCapture(row.respBytes);
    EXPECT_EQ(dlg->m_strRecv, capture);
    EXPECT_EQ(Text(IDC_RXCOUNT), QString::number(capture.size()));
    EXPECT_FALSE(capture.contains('\0'));
    row.check(*dlg, reads);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineFaultsEndToEnd,
    ::testing::Values(
        // A burst is one write and arrives in one read, of which one reading is kept.
        FaultRow{"BurstKeepsItsFirstReading",
                 {.burst = 3},
                 5,
                 [](const CSerialDlg& dlg, const std::vector<QByteArray>& reads) {
                     for (const QByteArray& read : reads)
                         EXPECT_GE(read.size(), 15);
                     EXPECT_EQ(dlg.m_strRecv.size(), 5 * qsizetype(reads.size()));
                 }},
        FaultRow{"ZeroByteEndsTheChunk",
                 {.zeroEvery = 1},
                 5,
                 [](const CSerialDlg& dlg, const std::vector<QByteArray>& reads) {
                     EXPECT_EQ(dlg.m_strRecv.size(), 2 * qsizetype(reads.size()));
                 }},
        FaultRow{"OverlongIsCutAtTheCount",
                 {.overlongEvery = 1},
                 5,
                 [](const CSerialDlg& dlg, const std::vector<QByteArray>& reads) {
                     EXPECT_EQ(dlg.m_strRecv.size(), 5 * qsizetype(reads.size()));
                 }},
        FaultRow{"NotGbkShowsReplacementAndIsCapturedRaw",
                 {.badGbkEvery = 1},
                 5,
                 [](const CSerialDlg& dlg, const std::vector<QByteArray>& reads) {
                     EXPECT_EQ(dlg.m_strRecv.count('\xFF'), qsizetype(reads.size()));
                     EXPECT_EQ(dlg.m_editRecv->toPlainText().count(QChar::ReplacementCharacter),
                               qsizetype(reads.size()));
                 }}),
    [](const auto& row) { return std::string(row.param.name); });

// Unplugged mid-acquisition: one box names the port and device, the buttons
// name what the next press does, and one press reopens on the board plugged
// in again, which restarts idle and gets the start command first.
TEST_F(DialogOnBoard, HangUpSaysSoOnceAndOnePressReopensANewBoard) {
    Plug({.interval = 10ms});
    Open(5);
    Acquire(1);
    const QString lost = board->Device();
    board->HangUp();
    ASSERT_TRUE(WaitUntil([&] { return !boxes.empty(); }));
    const int eventsAfterHangUp = events;
    DrainEvents();
    EXPECT_EQ(events, eventsAfterHangUp) << "a closed port raises nothing more";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[0].text, QStringLiteral("串口 COM1（%1）已断开：设备被拔出或挂断，串口已关闭。"
                                            "请接好设备后重新打开串口。")
                                 .arg(lost));
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    EXPECT_EQ(Text(IDC_ACQUIRE), "开始采集");
    EXPECT_FALSE(g_bPortOpen);

    Plug({.interval = 10ms});
    boxes.clear();
    Open(5);
    Acquire(2);
    EXPECT_EQ(board->Received(), "\xFF");
    EXPECT_TRUE(boxes.empty());
}

// Whoever may write a folder on the way to COM1's link could swap the board
// for a line of theirs: opening is refused with a stop box that says what to
// change, and works once the folder is private again.
TEST_F(DialogOnBoard, AFolderOthersMayWriteRefusesCom1UntilItIsPrivate) {
    Plug({.interval = 10ms});
    const QByteArray folder = QFile::encodeName(home.Path() + "/serialtemp");
    ASSERT_EQ(::chmod(folder.constData(), S_IRWXU | S_IRWXG), 0);
    Click(IDC_OPEN);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_TRUE(boxes[0].text.startsWith("无法打开串口 COM1：不使用端口链接 " + board->Link()))
        << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains("chmod go-w " + folder + " "))
        << boxes[0].text.toStdString();
    EXPECT_EQ(Text(IDC_OPEN), "打开串口");
    EXPECT_FALSE(control->GetPortOpen());

    ASSERT_EQ(::chmod(folder.constData(), S_IRWXU), 0);
    boxes.clear();
    Open(5);
    Acquire(1);
}
