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

// The real control, keeping what each read of Input gave the dialog.
class RecordingControl : public QtCommControl {
public:
    QVariant GetInput() override {
        return reads.emplace_back(QtCommControl::GetInput().toByteArray());
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
    // Plugs a new board in, opens COM1 for 5-byte readings and starts the
    // board; returns once that many readings were read.
    void OpenAndAcquire(size_t readings) {
        board = std::make_unique<Board>(BoardOptions{.interval = std::chrono::milliseconds(10)},
                                        [](auto&) {});
        Select(IDC_RESPBYTES, 4);
        Click(IDC_OPEN);
        ASSERT_EQ(Text(IDC_OPEN), "关闭串口");
        Click(IDC_ACQUIRE);
        readings += control->reads.size();
        ASSERT_TRUE(WaitUntil([&] { return control->reads.size() >= readings; }));
    }

    TempConfigHome home;
    std::unique_ptr<Board> board;
    RecordingControl* control = nullptr;
};

TEST_F(DialogOnBoard, ReadingsReachReadoutCounterAndFileAndAHangUpIsToldOnce) {
    Click(IDC_CURVE);
    OpenAndAcquire(6);
    EXPECT_EQ(board->Received(), "\xFF");
    const QString last = QString::fromLatin1(control->reads.back().left(5));
    EXPECT_EQ(Text(IDC_TEMP), QStringLiteral("摄氏%1℃").arg(last));

    Click(IDC_ACQUIRE);
    QByteArray joined, kept;
    ASSERT_TRUE(WaitUntil([&] {
        joined.clear();
        for (const QByteArray& read : control->reads)
            joined += read;
        return !board->IsSending() && joined == board->Sent();
    })) << "the line lost bytes";
    for (const QByteArray& read : control->reads)
        kept += read.left(5);
    EXPECT_EQ(board->Received(), "\xFF\xFE");
    EXPECT_EQ(Text(IDC_TXCOUNT), "2");
    EXPECT_EQ(Text(IDC_RXCOUNT), QString::number(kept.size()));
    QTemporaryDir dir;
    SetSaveFileHook([&](const SaveFileRequest&) { return std::optional(dir.filePath("c.txt")); });
    Click(IDC_SAVEAS);
    QFile file(dir.filePath("c.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith(GbkFromUnicode(QStringLiteral("   有效数据字节:")) +
                                        QByteArray::number(kept.size()) + "\r\n" + kept));
    EXPECT_TRUE(boxes.empty());

    // Unplugged mid-acquisition: one box names port and device, the buttons
    // say what the next press does, and one press reopens on the board
    // plugged in again, which gets the start command first.
    Click(IDC_ACQUIRE);
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
    boxes.clear();
    OpenAndAcquire(2);
    EXPECT_EQ(board->Received(), "\xFF");
}

} // namespace
