#include "support/DialogFixture.h"
#include "support/ReadFile.h"
#include "support/WaitUntil.h"

#include "platform/FileDialog.h"
#include "platform/GbkCodec.h"

#include <QDir>
#include <QTemporaryDir>

// The header holds the clock at the click; the data is the capture as it
// stands when the file dialog closes, whatever the box shows.
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
    Select(IDC_RESPBYTES, 3);
    QTemporaryDir dir;
    std::vector<SaveFileRequest> asked;
    QString clicked;
    const QString answers[] = {{}, dir.filePath("missing/log.txt"), dir.filePath("log.txt")};
    SetSaveFileHook([&](const SaveFileRequest& request) -> std::optional<QString> {
        asked.push_back(request);
        clicked = Text(IDC_CLOCK);
        EXPECT_TRUE(WaitUntil([&] { return Text(IDC_CLOCK) != clicked; }));
        comm->Receive("25.5");
        return answers[asked.size() - 1].isEmpty() ? std::nullopt
                                                   : std::optional(answers[asked.size() - 1]);
    });
    for (int i = 0; i < 3; ++i) // cancelled, refused, saved
        Click(IDC_SAVEAS);
    EXPECT_EQ(ReadFile(answers[2]), header(clicked, 24) + "hello, board25.525.525.5");
    EXPECT_EQ(QDir(dir.path()).count(), 3u) << "one file, from the last click";
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "没有找到 log.txt。");
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[0].title, AppName());
    const SaveFileRequest& request = asked[0];
    EXPECT_EQ(request.title, "接收数据另存为...");
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_EQ(request.filters[0].caption + request.filters[0].patterns, "TEXT Files(*.txt)*.txt");
    EXPECT_EQ(request.filters[1].caption, "ALL Files(*.*)");
    EXPECT_EQ(request.defaultSuffix, "txt");
    EXPECT_TRUE(SaveAs().endsWith(":24\r\nhello, board25.525.525.5")) << "saving keeps the capture";
}
