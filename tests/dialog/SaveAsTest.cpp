#include "support/DeviceCopy.h"
#include "support/DialogFixture.h"
#include "support/ReadFile.h"
#include "support/WaitUntil.h"

#include "platform/FileDialog.h"
#include "platform/GbkCodec.h"
#include "resources/Resource.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

QByteArray Header(const QString& time, int count) {
    return GbkFromUnicode(QStringLiteral("保存时间:%1   有效数据字节:%2\r\n").arg(time).arg(count));
}

} // namespace

// The header holds the clock of the click; the data is the capture as it
// stands when the file dialog closes, whatever the box shows.
TEST_F(DialogTest, SaveWritesTheHeaderAndTheCapture) {
    OpenPort();
    Select(IDC_RESPBYTES, 11);
    const QRegularExpression clock(R"(^\d{1,2}:\d{1,2}:\d{1,2}:\d{1,3}$)");
    ASSERT_TRUE(WaitUntil([&] { return clock.match(Text(IDC_CLOCK)).hasMatch(); }));
    EXPECT_EQ(SaveAs(), Header(Text(IDC_CLOCK), 0));

    comm->Receive("hello, board");
    Click(IDC_RECVMODE);
    Click(IDC_CLEAR);
    Select(IDC_RESPBYTES, 3);
    QTemporaryDir dir;
    std::vector<SaveFileRequest> requests;
    QString clicked;
    SetSaveFileHook([&](const SaveFileRequest& request) -> std::optional<QString> {
        requests.push_back(request);
        clicked = Text(IDC_CLOCK);
        EXPECT_TRUE(WaitUntil([&] { return Text(IDC_CLOCK) != clicked; }));
        comm->Receive("25.5");
        return dir.filePath("log.txt");
    });
    Click(IDC_SAVEAS);
    EXPECT_EQ(ReadFile(dir.filePath("log.txt")), Header(clicked, 16) + "hello, board25.5");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "接收数据另存为...");
    ASSERT_EQ(requests[0].filters.size(), 2);
    EXPECT_EQ(requests[0].filters[0].caption, "TEXT Files(*.txt)");
    EXPECT_EQ(requests[0].filters[0].patterns, "*.txt");
    EXPECT_EQ(requests[0].filters[1].caption, "ALL Files(*.*)");
    EXPECT_EQ(requests[0].defaultSuffix, "txt");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(SaveAs().endsWith(":16\r\nhello, board25.5")) << "saving leaves the capture";
}

TEST_F(DialogTest, CancelledSaveWritesNothing) {
    SetSaveFileHook([](const SaveFileRequest&) { return std::nullopt; });
    Click(IDC_SAVEAS);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DialogTest, FileErrorsAreReportedAndChangeNothing) {
    QTemporaryDir dir;
    OpenPort();
    Select(IDC_RESPBYTES, 3);
    comm->Receive("data");
    const QString full = DeviceCopy("/dev/full", dir.path());
    for (const QString& path : {full, dir.filePath("missing/log.txt")}) {
        SetSaveFileHook([&](const SaveFileRequest&) { return std::optional(path); });
        Click(IDC_SAVEAS);
    }
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("在存取 %1 时磁盘已满。").arg(full));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[0].title, AppName());
    EXPECT_EQ(boxes[1].text, "没有找到 log.txt。");
    EXPECT_TRUE(SaveAs().endsWith("\r\ndata"));
}
