#include "support/DeviceCopy.h"
#include "support/DialogFixture.h"

#include "app/Globals.h"
#include "platform/FileDialog.h"
#include "platform/GbkCodec.h"
#include "resources/Resource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray Header(const char* time, int count) {
    return GbkFromUnicode(QStringLiteral("保存时间:")) + time +
           GbkFromUnicode(QStringLiteral("   有效数据字节:")) + QByteArray::number(count) + "\r\n";
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class SaveAsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        SetSaveFileHook([this](const SaveFileRequest& r) -> std::optional<QString> {
            requests.push_back(r);
            return answer;
        });
        OpenPort();
        Select(IDC_RESPBYTES, 14);
    }
    QString Save(const QString& name) {
        answer = dir.filePath(name);
        g_strTime = "8:0:5:3";
        Click(IDC_SAVEAS);
        return *answer;
    }

    QTemporaryDir dir;
    std::optional<QString> answer;
    std::vector<SaveFileRequest> requests;
};

TEST_F(SaveAsTest, AsksWithTitleFiltersAndSuffix) {
    answer.reset();
    Click(IDC_SAVEAS);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "接收数据另存为...");
    ASSERT_EQ(requests[0].filters.size(), 2);
    EXPECT_EQ(requests[0].filters[0].caption, "TEXT Files(*.txt)");
    EXPECT_EQ(requests[0].filters[0].patterns, "*.txt");
    EXPECT_EQ(requests[0].filters[1].caption, "ALL Files(*.*)");
    EXPECT_EQ(requests[0].defaultSuffix, "txt");
    EXPECT_TRUE(boxes.empty()) << "cancel shows nothing";
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(SaveAsTest, WritesTheHeaderAndTheCaptureBuffer) {
    EXPECT_EQ(ReadFile(Save("empty.txt")), Header("8:0:5:3", 0));

    comm->Receive("hello, board");
    EXPECT_EQ(ReadFile(Save("twelve.txt")), Header("8:0:5:3", 12) + "hello, board");

    Click(IDC_RECVMODE);
    Click(IDC_CLEAR);
    comm->Receive("25.5");
    EXPECT_EQ(ReadFile(Save("hex.txt")), Header("8:0:5:3", 16) + "hello, board25.5");
    EXPECT_EQ(ReadFile(Save("again.txt")), ReadFile(dir.filePath("hex.txt")));
    EXPECT_EQ(dlg->m_strRecv, "hello, board25.5") << "saving leaves the buffer";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SaveAsTest, AfterARollOverHoldsOnlyTheNewChunks) {
    dlg->m_nRxCount = 9999;
    comm->Receive("abc");
    EXPECT_EQ(ReadFile(Save("roll.txt")), Header("8:0:5:3", 3) + "abc");
}

TEST_F(SaveAsTest, ReplacesAnExistingFile) {
    QFile old(dir.filePath("old.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();
    comm->Receive("new");
    EXPECT_EQ(ReadFile(Save("old.txt")), Header("8:0:5:3", 3) + "new");
}

TEST_F(SaveAsTest, FileErrorsAreReportedAndChangeNothing) {
    comm->Receive("data");
    const QString full = DeviceCopy("/dev/full", dir.path());
    answer = full;
    Click(IDC_SAVEAS);
    answer = dir.filePath("missing/log.txt");
    Click(IDC_SAVEAS);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("在存取 %1 时磁盘已满。").arg(full));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Stop);
    EXPECT_EQ(boxes[0].title, AppName());
    EXPECT_EQ(boxes[1].text, "没有找到 log.txt。");
    EXPECT_EQ(dlg->m_strRecv, "data");
}
