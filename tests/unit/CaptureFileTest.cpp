#include "capture/CaptureFile.h"
#include "platform/GbkCodec.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>

namespace {

using namespace Qt::Literals::StringLiterals;

// Creating names the bare file, writing the whole path, flushing no file;
// a "%1" in a name is no placeholder. Only creating makes ENOSPC a full folder.
TEST(CaptureFile, ErrorTextForEveryError) {
    const std::pair<const char16_t*, QList<int>> rows[] = {
        {u"没有找到 %1。", {ENOENT}},
        {u"%1 中包含无效的路径。", {ENOTDIR, ENAMETOOLONG, EINVAL, ELOOP}},
        {u"无法打开 %1 因为太多文件已被打开。", {EMFILE, ENFILE}},
        {u"对 %1 的存取被拒绝。", {EACCES, EPERM, EROFS, EISDIR}},
        {u"在存取 %1 时磁盘已满。", {ENOSPC, EDQUOT, EFBIG, 0}},
        {u"在存取 %1 时一个硬件输入/输出错误被报告。", {EIO}},
        {u"在存取 %1 时发生共享违例。", {ETXTBSY, EBUSY}},
        {u"在存取 %1 时发生锁违例。", {EAGAIN, EDEADLK, ENOLCK}},
        {u"在对 %1 进行访问时发生了一个不明错误。", {EBADF, ENXIO}}};
    for (const auto& [text, errors] : rows) {
        for (const int error : errors)
            EXPECT_EQ(CaptureErrorText(FileStage::Write, error, "/%1/b"),
                      QString::fromUtf16(text).replace("%1", "/%1/b"));
    }
    EXPECT_EQ(CaptureErrorText(FileStage::Create, ENOSPC, "/a/%1"), u"该目录已满，无法创建 %1。"_s);
    EXPECT_EQ(CaptureErrorText(FileStage::Flush, EIO, "/a/b"),
              u"在存取 一未命名文件 时一个硬件输入/输出错误被报告。"_s);
}

// Saves as a user meets the system (root's override of file permissions
// off), under a file-size limit past which a write fails as on a full disk.
// The message the user sees, "" on success.
QString Save(const QString& path, rlim_t sizeLimit = RLIM_INFINITY) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    syscall(SYS_capget, &header, caps);
    const auto usual = caps[0].effective;
    caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    syscall(SYS_capset, &header, caps);
    const rlimit limited{sizeLimit, RLIM_INFINITY}, unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &limited);
    const auto failure = WriteCaptureFile(path, "1:2:3:4", QByteArray(9570, 'c'));
    setrlimit(RLIMIT_FSIZE, &unlimited);
    caps[0].effective = usual;
    syscall(SYS_capset, &header, caps);
    return failure ? CaptureErrorText(failure->stage, failure->error, path) : QString();
}

// The file a link names is replaced whole beside itself, keeping its mode;
// a failure leaves it byte for byte; no temporary stays; nothing waits for a reader.
TEST(CaptureFile, SavedWholeOrNotAtAll) {
    const QTemporaryDir dir;
    const QString log = dir.filePath("d/log.txt"), link = dir.filePath("link"),
                  fifo = dir.filePath("fifo");
    QFile old(log);
    ASSERT_TRUE(QDir(dir.path()).mkdir("d") && old.open(QIODevice::WriteOnly) &&
                old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(old.link(link) && mkfifo(QFile::encodeName(fifo), 0600) == 0);
    old.close();
    signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(Save(link), "");
    EXPECT_EQ(Save(log, 4096), u"在存取 %1 时磁盘已满。"_s.arg(log));
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("d"), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(Save(log), u"对 log.txt 的存取被拒绝。"_s);
    EXPECT_EQ(Save(dir.filePath("d/new.txt")), u"对 new.txt 的存取被拒绝。"_s);
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("d"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_EQ(Save(fifo), u"在对 fifo 进行访问时发生了一个不明错误。"_s);
    old.open(QIODevice::ReadOnly);
    EXPECT_EQ(old.readAll(), GbkFromUnicode(u"保存时间:1:2:3:4   有效数据字节:9570\r\n"_s) +
                                 QByteArray(9570, 'c'));
    EXPECT_EQ(old.permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                     QFile::WriteUser | QFile::ReadGroup);
    EXPECT_EQ(QDir(dir.filePath("d")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"log.txt"});
    EXPECT_EQ(QFile::symLinkTarget(link), log);
}

} // namespace
