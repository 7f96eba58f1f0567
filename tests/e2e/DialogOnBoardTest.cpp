// The real dialog with the real control on the board simulator, which runs
// in-process on the test's event loop as COM1 of a temporary port-link folder.
#include "boardsim/Board.h"
#include "platform/FileDialog.h"
#include "platform/GbkCodec.h"
#include "resources/Resource.h"
#include "serial/QtCommControl.h"
#include "support/DialogFixture.h"
#include "support/TempConfigHome.h"
#include "support/WaitUntil.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace std::chrono_literals;

// The real control, keeping what each read of Input gave the dialog.
class RecordingControl : public QtCommControl {
public:
    QVariant GetInput() override {
        reads.push_back(QtCommControl::GetInput().toByteArray());
        return reads.back();
    }
    std::vector<QByteArray> reads;
};

class DialogOnBoard : public DialogTest {
protected:
    std::unique_ptr<CommControl> MakeControl() override {
        auto real = std::make_unique<RecordingControl>();
        control = real.get();
        return real;
    }
    // A new board on COM1; the one before is dropped only once it is in place.
    void Plug() {
        board = std::make_unique<Board>(BoardOptions{.interval = 10ms}, [](auto&) {});
    }
    // Picks the response byte count, then opens COM1 with the open button.
    void Open(int respBytes) {
        Select(IDC_RESPBYTES, respBytes - 1);
        Click(IDC_OPEN);
        ASSERT_EQ(Text(IDC_OPEN), "关闭串口");
    }
    // Sends the start command and waits for that many more receptions.
    void Acquire(size_t receptions) {
        Click(IDC_ACQUIRE);
        const size_t target = control->reads.size() + receptions;
        ASSERT_TRUE(WaitUntil([&] { return control->reads.size() >= target; }));
    }
    // Sends the stop command and waits until the dialog has read all the board wrote.
    void StopAndDrain() {
        Click(IDC_ACQUIRE);
        ASSERT_TRUE(WaitUntil([&] {
            qsizetype read = 0;
            for (const QByteArray& bytes : control->reads)
                read += bytes.size();
            return !board->IsSending() && read == board->Sent().size();
        }));
    }

    TempConfigHome home;
    std::unique_ptr<Board> board;
    RecordingControl* control = nullptr;
};

TEST_F(DialogOnBoard, ReadingsReachReadoutCounterAndFileAndNothingIsLost) {
    Plug();
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
    QTemporaryDir dir;
    SetSaveFileHook([&](const SaveFileRequest&) { return std::optional(dir.filePath("c.txt")); });
    Click(IDC_SAVEAS);
    QFile file(dir.filePath("c.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith(GbkFromUnicode(QStringLiteral("   有效数据字节:")) +
                                        QByteArray::number(kept.size()) + "\r\n" + kept));
    EXPECT_TRUE(boxes.empty());
}

// Unplugged mid-acquisition: one box names port and device, the buttons say
// what the next press does, and one press reopens on the board plugged in
// again, which gets the start command first.
TEST_F(DialogOnBoard, HangUpSaysSoOnceAndOnePressReopensANewBoard) {
    Plug();
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

    Plug();
    boxes.clear();
    Open(5);
    Acquire(2);
    EXPECT_EQ(board->Received(), "\xFF");
}

} // namespace
