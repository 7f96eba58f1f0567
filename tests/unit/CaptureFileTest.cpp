#include "capture/CaptureFile.h"
#include "platform/GbkCodec.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The labels come from the codec here, so a wrong byte in the writer's literals shows.
QByteArray ExpectedFile(const QByteArray& time, const QByteArray& data) {
    return GbkFromUnicode(u"保存时间:"_qs) + time + GbkFromUnicode(u"   有效数据字节:"_qs) +
           QByteArray::number(data.size()) + "\r\n" + data;
}

class CaptureFileTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(CaptureFileTest, WritesHeaderThenDataExactly) {
    struct Case {
        QByteArray time;
        QByteArray data;
    };
    const Case cases[] = {
        {"14:3:27:512", ""},
        {"14:3:27:512", "25.526.127.0"},
        {"8:0:5:3", "\xCE\xC2\xB6\xC8 ok"}, // GBK text stays byte for byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.time + " / " + c.data).toStdString());
        const QString path = PathOf("log.txt");
        ASSERT_FALSE(WriteCaptureFile(path, c.time, c.data).has_value());
        EXPECT_EQ(ReadAll(path), ExpectedFile(c.time, c.data));
    }
    EXPECT_TRUE(CaptureHeader("8:0:5:3", 0).startsWith(GbkFromUnicode(u"保存时间:8:0:5:3"_qs)));
}

TEST_F(CaptureFileTest, ReplacingALongerFileLeavesNoTail) {
    const QString path = PathOf("old.txt");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
    }
    ASSERT_FALSE(WriteCaptureFile(path, "1:2:3:4", "abc").has_value());
    EXPECT_EQ(ReadAll(path), ExpectedFile("1:2:3:4", "abc"));
}

TEST_F(CaptureFileTest, SavingTwiceGivesTheSameFile) {
    const QByteArray data(3000, '7');
    ASSERT_FALSE(WriteCaptureFile(PathOf("a.txt"), "9:5:7:40", data).has_value());
    ASSERT_FALSE(WriteCaptureFile(PathOf("b.txt"), "9:5:7:40", data).has_value());
    EXPECT_EQ(ReadAll(PathOf("a.txt")), ReadAll(PathOf("b.txt")));
}

TEST(CaptureErrorTextTest, MapsEveryCauseAndNamesTheFilePerStage) {
    struct Case {
        CaptureStage stage;
        int error;
        QString path;
        QString text;
    };
    const Case cases[] = {
        {CaptureStage::Create, ENOENT, "/home/u/log.txt", u"没有找到 log.txt。"_qs},
        {CaptureStage::Create, ENOTDIR, "/a/b.txt", u"b.txt 中包含无效的路径。"_qs},
        {CaptureStage::Create, EMFILE, "/a/b.txt", u"无法打开 b.txt 因为太多文件已被打开。"_qs},
        {CaptureStage::Create, EACCES, "/a/b.txt", u"对 b.txt 的存取被拒绝。"_qs},
        {CaptureStage::Create, ENOSPC, "/a/b.txt", u"该目录已满，无法创建 b.txt。"_qs},
        {CaptureStage::Write, ENOSPC, "/a/b.txt", u"在存取 /a/b.txt 时磁盘已满。"_qs},
        {CaptureStage::Write, 0, "/a/b.txt", u"在存取 /a/b.txt 时磁盘已满。"_qs},
        {CaptureStage::Write, EIO, "/a/b.txt",
         u"在存取 /a/b.txt 时一个硬件输入/输出错误被报告。"_qs},
        {CaptureStage::Create, ETXTBSY, "/a/b.txt", u"在存取 b.txt 时发生共享违例。"_qs},
        {CaptureStage::Write, EAGAIN, "/a/b.txt", u"在存取 /a/b.txt 时发生锁违例。"_qs},
        {CaptureStage::Flush, EIO, "/a/b.txt",
         u"在存取 一未命名文件 时一个硬件输入/输出错误被报告。"_qs},
        {CaptureStage::Write, EBADF, "/a/b.txt",
         u"在对 /a/b.txt 进行访问时发生了一个不明错误。"_qs},
        {CaptureStage::Create, ENOENT, "/a/%2%1.txt", u"没有找到 %2%1.txt。"_qs},
        {CaptureStage::Write, EIO, "/%1/%2", u"在存取 /%1/%2 时一个硬件输入/输出错误被报告。"_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(CaptureErrorText(c.stage, c.error, c.path), c.text);
    }
}

// Faults the system really raises, one file operation each.
TEST_F(CaptureFileTest, ReportsRealFaultsWithTheirText) {
    const QString plainFile = PathOf("plain");
    ASSERT_TRUE(QFile(plainFile).open(QIODevice::WriteOnly));
    struct Case {
        QString path;
        CaptureStage stage;
        int error;
        QString text;
    };
    const Case cases[] = {
        {"/dev/full", CaptureStage::Write, ENOSPC, u"在存取 /dev/full 时磁盘已满。"_qs},
        {PathOf("missing/log.txt"), CaptureStage::Create, ENOENT, u"没有找到 log.txt。"_qs},
        {m_dir.path(), CaptureStage::Create, EISDIR,
         u"对 "_qs + QFileInfo(m_dir.path()).fileName() + u" 的存取被拒绝。"_qs},
        {plainFile + "/log.txt", CaptureStage::Create, ENOTDIR, u"log.txt 中包含无效的路径。"_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const std::optional<CaptureFailure> failure = WriteCaptureFile(c.path, "1:2:3:4", "data");
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->stage, c.stage);
        EXPECT_EQ(failure->error, c.error);
        EXPECT_EQ(CaptureErrorText(failure->stage, failure->error, c.path), c.text);
    }
}

TEST(CaptureDeviceTest, ADeviceWithNothingToFlushIsASuccess) {
    EXPECT_FALSE(WriteCaptureFile("/dev/null", "1:2:3:4", "data").has_value());
}

TEST_F(CaptureFileTest, ReadOnlyFileIsAccessDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write to read-only files";
    const QString path = PathOf("locked.txt");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep");
        ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner));
    }
    const std::optional<CaptureFailure> failure = WriteCaptureFile(path, "1:2:3:4", "data");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(CaptureErrorText(failure->stage, failure->error, path),
              u"对 locked.txt 的存取被拒绝。"_qs);
    EXPECT_EQ(ReadAll(path), "keep");
}

} // namespace
