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

// Each file is shorter than the one before at the same path: no old tail stays.
TEST_F(CaptureFileTest, WritesHeaderThenDataExactly) {
    const QByteArray rows[][2] = {
        {"14:3:27:512", "25.526.127.0"},
        {"8:0:5:3", "\xCE\xC2\xB6\xC8 ok"}, // GBK text stays byte for byte
        {"14:3:27:512", ""},
    };
    for (const auto& [time, data] : rows) {
        ASSERT_FALSE(WriteCaptureFile(PathOf("log.txt"), time, data).has_value());
        EXPECT_EQ(ReadAll(PathOf("log.txt")), ExpectedFile(time, data));
    }
}

TEST(CaptureErrorTextTest, MapsEveryTextAndNamesTheFilePerStage) {
    using enum CaptureStage;
    const struct {
        CaptureStage stage;
        int error;
        QString text;
    } rows[] = {
        {Create, ENOENT, u"没有找到 b.txt。"_qs},
        {Create, ENOTDIR, u"b.txt 中包含无效的路径。"_qs},
        {Create, EMFILE, u"无法打开 b.txt 因为太多文件已被打开。"_qs},
        {Create, EACCES, u"对 b.txt 的存取被拒绝。"_qs},
        {Create, ENOSPC, u"该目录已满，无法创建 b.txt。"_qs},
        {Write, ENOSPC, u"在存取 /a/b.txt 时磁盘已满。"_qs},
        {Write, 0, u"在存取 /a/b.txt 时磁盘已满。"_qs},
        {Write, EIO, u"在存取 /a/b.txt 时一个硬件输入/输出错误被报告。"_qs},
        {Create, ETXTBSY, u"在存取 b.txt 时发生共享违例。"_qs},
        {Write, EAGAIN, u"在存取 /a/b.txt 时发生锁违例。"_qs},
        {Flush, EIO, u"在存取 一未命名文件 时一个硬件输入/输出错误被报告。"_qs},
        {Write, EBADF, u"在对 /a/b.txt 进行访问时发生了一个不明错误。"_qs},
    };
    for (const auto& c : rows)
        EXPECT_EQ(CaptureErrorText(c.stage, c.error, "/a/b.txt"), c.text);
    // A "%1" in the name is not a placeholder.
    EXPECT_EQ(CaptureErrorText(Create, ENOENT, "/a/%2%1.txt"), u"没有找到 %2%1.txt。"_qs);
    EXPECT_EQ(CaptureErrorText(Write, EIO, "/%1/%2"),
              u"在存取 /%1/%2 时一个硬件输入/输出错误被报告。"_qs);
}

// Faults the system really raises, one per stage of the file operation.
TEST_F(CaptureFileTest, ReportsRealFaults) {
    const struct {
        QString path;
        CaptureStage stage;
        int error;
    } rows[] = {
        {"/dev/full", CaptureStage::Write, ENOSPC},
        {PathOf("missing/log.txt"), CaptureStage::Create, ENOENT},
    };
    for (const auto& c : rows) {
        const std::optional<CaptureFailure> failure = WriteCaptureFile(c.path, "1:2:3:4", "data");
        ASSERT_TRUE(failure.has_value()) << c.path.toStdString();
        EXPECT_EQ(failure->stage, c.stage);
        EXPECT_EQ(failure->error, c.error);
    }
    // A device with nothing to flush is a success.
    EXPECT_FALSE(WriteCaptureFile("/dev/null", "1:2:3:4", "data").has_value());
}

TEST_F(CaptureFileTest, ReadOnlyFileIsAccessDeniedAndKept) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write to read-only files";
    const QString path = PathOf("locked.txt");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("keep") == 4);
        ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner));
    }
    const std::optional<CaptureFailure> failure = WriteCaptureFile(path, "1:2:3:4", "data");
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(CaptureErrorText(failure->stage, failure->error, path),
              u"对 locked.txt 的存取被拒绝。"_qs);
    EXPECT_EQ(ReadAll(path), "keep");
}

} // namespace
