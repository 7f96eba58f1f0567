#include "capture/CaptureFile.h"
#include "platform/GbkCodec.h"
#include "support/DeviceCopy.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <linux/capability.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
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
    QStringList Listing(const QString& name = {}) const {
        return QDir(PathOf(name)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QTemporaryDir m_dir;
};

// Root's override of file permissions, dropped so that root meets read-only
// files and folders as any user does.
void DropPermissionOverride() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    if (syscall(SYS_capget, &header, caps) == 0) {
        caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
        syscall(SYS_capset, &header, caps);
    }
}

// Saves in a child process, under a file-size limit (SIGXFSZ ignored, so a
// write past it fails with EFBIG) and without root's override. A save that
// blocks fails the test instead of stalling it. The message the user would
// see, "" on success.
QString SaveInChild(const QString& path, const QByteArray& data, rlim_t sizeLimit) {
    int answer[2];
    if (pipe(answer) != 0)
        return "<no pipe>";
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        DropPermissionOverride();
        const std::optional<FileFailure> failure = WriteCaptureFile(path, "1:2:3:4", data);
        const int result[] = {failure.has_value(), failure ? int(failure->stage) : 0,
                              failure ? failure->error : 0};
        _exit(write(answer[1], result, sizeof result) == sizeof result ? 0 : 1);
    }
    close(answer[1]);
    int result[3];
    pollfd ready{answer[0], POLLIN, 0};
    const bool answered =
        poll(&ready, 1, 60'000) == 1 && read(answer[0], result, sizeof result) == sizeof result;
    if (!answered)
        kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(answer[0]);
    if (!answered)
        return "<no answer within a minute>";
    return result[0] ? CaptureErrorText(FileStage(result[1]), result[2], path) : QString();
}

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
    EXPECT_EQ(Listing(), QStringList{"log.txt"}) << "no temporary stays";
    QFile usual(PathOf("usual.txt"));
    ASSERT_TRUE(usual.open(QIODevice::WriteOnly));
    EXPECT_EQ(QFileInfo(PathOf("log.txt")).permissions(), usual.permissions())
        << "a new capture has the mode any new file gets";
}

// The link's folder is read-only: the temporary belongs beside the file the
// link names.
TEST_F(CaptureFileTest, ReplacesThroughALinkKeepingTheLinkAndTheMode) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("d"));
    const QString real = PathOf("d/real.txt");
    const QString link = PathOf("link.txt");
    QFile old(real);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    ASSERT_EQ(chmod(QFile::encodeName(real), 0640), 0);
    ASSERT_TRUE(old.link(link));
    ASSERT_EQ(chmod(QFile::encodeName(m_dir.path()), 0555), 0);

    EXPECT_EQ(SaveInChild(link, "new", RLIM_INFINITY), "");
    chmod(QFile::encodeName(m_dir.path()), 0700);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
    EXPECT_EQ(ReadAll(real), ExpectedFile("1:2:3:4", "new"));
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(real), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Listing("d"), QStringList{"real.txt"});
}

TEST(CaptureErrorTextTest, MapsEveryTextAndNamesTheFilePerStage) {
    using enum FileStage;
    const struct {
        FileStage stage;
        int error;
        QString text;
    } rows[] = {
        {Create, ENOENT, u"没有找到 b.txt。"_qs},
        {Create, ENOTDIR, u"b.txt 中包含无效的路径。"_qs},
        {Create, EMFILE, u"无法打开 b.txt 因为太多文件已被打开。"_qs},
        {Flush, EACCES, u"对 一未命名文件 的存取被拒绝。"_qs}, // e.g. closing on NFS
        {Create, ENOSPC, u"该目录已满，无法创建 b.txt。"_qs},
        {Write, ENOSPC, u"在存取 /a/b.txt 时磁盘已满。"_qs},
        {Write, 0, u"在存取 /a/b.txt 时磁盘已满。"_qs},
        {Write, EIO, u"在存取 /a/b.txt 时一个硬件输入/输出错误被报告。"_qs},
        {Write, ETXTBSY, u"在存取 /a/b.txt 时发生共享违例。"_qs},
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

// Faults the system really raises. An existing file stays byte for byte and
// no file, whole or partial, is left beside it.
TEST_F(CaptureFileTest, ReportsRealFaultsAndKeepsWhatWasThere) {
    const QString fifo = PathOf("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo), 0600), 0);
    const QString full = DeviceCopy("/dev/full", m_dir.path());
    const QString null = DeviceCopy("/dev/null", m_dir.path());
    const QByteArray old(4526, 'o');
    const QByteArray capture(9570, 'c');
    const struct {
        const char* name;
        QString path;    // default: log.txt in the folder "d"
        bool existing;   // log.txt holds the old capture
        mode_t fileMode; // of log.txt
        mode_t dirMode;  // of "d"
        rlim_t sizeLimit;
        QString text; // "{path}" stands for the full path; "" is success
    } rows[] = {
        {"full disk, replacing", {}, true, 0644, 0755, 4096, u"在存取 {path} 时磁盘已满。"_qs},
        {"full disk, new file", {}, false, 0644, 0755, 4096, u"在存取 {path} 时磁盘已满。"_qs},
        {"read-only file", {}, true, 0444, 0755, RLIM_INFINITY, u"对 log.txt 的存取被拒绝。"_qs},
        {"read-only folder", {}, true, 0644, 0555, RLIM_INFINITY, u"对 log.txt 的存取被拒绝。"_qs},
        {"read-only folder, new file",
         {},
         false,
         0644,
         0555,
         RLIM_INFINITY,
         u"对 log.txt 的存取被拒绝。"_qs},
        {"missing folder", PathOf("d/missing/log.txt"), false, 0644, 0755, RLIM_INFINITY,
         u"没有找到 log.txt。"_qs},
        {"FIFO without a reader", fifo, false, 0644, 0755, RLIM_INFINITY,
         u"在对 fifo 进行访问时发生了一个不明错误。"_qs},
        {"/dev/full", full, false, 0644, 0755, RLIM_INFINITY, u"在存取 {path} 时磁盘已满。"_qs},
        {"/dev/null", null, false, 0644, 0755, RLIM_INFINITY, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QDir(PathOf("d")).removeRecursively();
        ASSERT_TRUE(QDir(m_dir.path()).mkdir("d"));
        const QString log = PathOf("d/log.txt");
        if (row.existing) {
            QFile file(log);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
            ASSERT_EQ(chmod(QFile::encodeName(log), row.fileMode), 0);
        }
        ASSERT_EQ(chmod(QFile::encodeName(PathOf("d")), row.dirMode), 0);
        const QString path = row.path.isEmpty() ? log : row.path;

        EXPECT_EQ(SaveInChild(path, capture, row.sizeLimit),
                  QString(row.text).replace("{path}", path));
        chmod(QFile::encodeName(PathOf("d")), 0755);
        EXPECT_EQ(Listing("d"), row.existing ? QStringList{"log.txt"} : QStringList{});
        if (row.existing) {
            EXPECT_TRUE(ReadAll(log) == old) << "the earlier capture changed";
        }
    }
}

} // namespace
