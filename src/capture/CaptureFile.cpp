#include "capture/CaptureFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// The file is written with POSIX calls rather than QFile because the
// message depends on the exact errno of the call that failed.

namespace {

// The message texts; %1 stands for the file.
constexpr char16_t kNotFound[] = u"没有找到 %1。";
constexpr char16_t kBadPath[] = u"%1 中包含无效的路径。";
constexpr char16_t kTooManyOpen[] = u"无法打开 %1 因为太多文件已被打开。";
constexpr char16_t kAccessDenied[] = u"对 %1 的存取被拒绝。";
constexpr char16_t kDirectoryFull[] = u"该目录已满，无法创建 %1。";
constexpr char16_t kHardwareIo[] = u"在存取 %1 时一个硬件输入/输出错误被报告。";
constexpr char16_t kSharingViolation[] = u"在存取 %1 时发生共享违例。";
constexpr char16_t kLockViolation[] = u"在存取 %1 时发生锁违例。";
constexpr char16_t kDiskFull[] = u"在存取 %1 时磁盘已满。";
constexpr char16_t kOther[] = u"在对 %1 进行访问时发生了一个不明错误。";

struct ErrnoText {
    int error;
    bool createOnly; // the row applies only when creating the file failed
    const char16_t* text;
};

// The whole errno mapping; the first matching row wins, unlisted errors get
// kOther. Linux has no "directory full" errno: creating a file in a
// directory (or on a device) with no room for another entry or inode fails
// with ENOSPC, so ENOSPC at creation is the full directory and ENOSPC later
// is the full disk.
constexpr ErrnoText kErrnoTexts[] = {
    {ENOENT, false, kNotFound},
    {ENOTDIR, false, kBadPath},
    {ENAMETOOLONG, false, kBadPath},
    {EINVAL, false, kBadPath}, // e.g. a name the file system cannot hold
    {ELOOP, false, kBadPath},
    {EMFILE, false, kTooManyOpen},
    {ENFILE, false, kTooManyOpen},
    {EACCES, false, kAccessDenied},
    {EPERM, false, kAccessDenied}, // e.g. an immutable file
    {EROFS, false, kAccessDenied},
    {EISDIR, false, kAccessDenied},
    {ENOSPC, true, kDirectoryFull},
    {ENOSPC, false, kDiskFull},
    {EDQUOT, false, kDiskFull},
    {EFBIG, false, kDiskFull},
    {0, false, kDiskFull}, // a write that made no progress
    {EIO, false, kHardwareIo},
    {ETXTBSY, false, kSharingViolation},
    {EBUSY, false, kSharingViolation},
    {EAGAIN, false, kLockViolation}, // EWOULDBLOCK is the same value
    {EDEADLK, false, kLockViolation},
    {ENOLCK, false, kLockViolation},
};

const char16_t* TextFor(CaptureStage stage, int error) {
    for (const ErrnoText& row : kErrnoTexts) {
        if (row.error == error && (!row.createOnly || stage == CaptureStage::Create))
            return row.text;
    }
    return kOther;
}

// Writes all of bytes; the errno on failure, 0 when write made no progress.
std::optional<int> WriteAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t n = ::write(fd, bytes.data(), static_cast<size_t>(bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        bytes = bytes.sliced(n);
    }
    return std::nullopt;
}

} // namespace

QByteArray CaptureHeader(const QByteArray& time, qsizetype count) {
    // "保存时间:" and "   有效数据字节:" in GBK.
    static constexpr char kTimeLabel[] = "\xB1\xA3\xB4\xE6\xCA\xB1\xBC\xE4:";
    static constexpr char kCountLabel[] = "   \xD3\xD0\xD0\xA7\xCA\xFD\xBE\xDD\xD7\xD6\xBD\xDA:";
    return kTimeLabel + time + kCountLabel + QByteArray::number(count) + "\r\n";
}

std::optional<CaptureFailure> WriteCaptureFile(const QString& path, const QByteArray& time,
                                               const QByteArray& data) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return CaptureFailure{CaptureStage::Create, errno};

    std::optional<int> writeError = WriteAll(fd, CaptureHeader(time, data.size()));
    if (!writeError)
        writeError = WriteAll(fd, data);
    if (writeError) {
        // The write error is the cause to report; a close error after it adds nothing.
        ::close(fd);
        return CaptureFailure{CaptureStage::Write, *writeError};
    }

    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc < 0 && errno == EINTR);
    // EINVAL: a device such as /dev/null or a FIFO, which has nothing to flush.
    const int syncError = rc < 0 && errno != EINVAL ? errno : 0;
    // close is not retried: Linux frees the descriptor even when it reports
    // EINTR, and after a good fsync the data is already on the disk.
    const int closeError = ::close(fd) < 0 && errno != EINTR ? errno : 0;
    if (syncError != 0)
        return CaptureFailure{CaptureStage::Flush, syncError};
    if (closeError != 0)
        return CaptureFailure{CaptureStage::Flush, closeError};
    return std::nullopt;
}

QString CaptureErrorText(CaptureStage stage, int error, const QString& path) {
    QString name;
    switch (stage) {
    case CaptureStage::Create:
        name = QFileInfo(path).fileName();
        break;
    case CaptureStage::Write:
        name = path;
        break;
    case CaptureStage::Flush:
        name = QStringLiteral(u"一未命名文件");
        break;
    }
    // One literal replacement, so a "%1" inside the name stays as it is.
    QString text = QString::fromUtf16(TextFor(stage, error));
    text.replace(text.indexOf(u"%1"), 2, name);
    return text;
}
