#include "capture/CaptureFile.h"

#include <QFileInfo>

#include <cerrno>

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
// kOther, among them ENXIO from a FIFO with no reader or a socket. Linux has
// no "directory full" errno: creating a file in a directory (or on a device)
// with no room for another entry or inode fails with ENOSPC, so ENOSPC at
// creation is the full directory and ENOSPC later is the full disk.
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

const char16_t* TextFor(FileStage stage, int error) {
    for (const ErrnoText& row : kErrnoTexts) {
        if (row.error == error && (!row.createOnly || stage == FileStage::Create))
            return row.text;
    }
    return kOther;
}

} // namespace

QByteArray CaptureHeader(const QByteArray& time, qsizetype count) {
    // "保存时间:" and "   有效数据字节:" in GBK.
    static constexpr char kTimeLabel[] = "\xB1\xA3\xB4\xE6\xCA\xB1\xBC\xE4:";
    static constexpr char kCountLabel[] = "   \xD3\xD0\xD0\xA7\xCA\xFD\xBE\xDD\xD7\xD6\xBD\xDA:";
    return kTimeLabel + time + kCountLabel + QByteArray::number(count) + "\r\n";
}

std::optional<FileFailure> WriteCaptureFile(const QString& path, const QByteArray& time,
                                            const QByteArray& data) {
    const QByteArray header = CaptureHeader(time, data.size());
    return WriteFileSafely(path, {header, data});
}

QString CaptureErrorText(FileStage stage, int error, const QString& path) {
    QString name;
    switch (stage) {
    case FileStage::Create:
        name = QFileInfo(path).fileName();
        break;
    case FileStage::Write:
        name = path;
        break;
    case FileStage::Flush:
        name = QStringLiteral(u"一未命名文件");
        break;
    }
    // One literal replacement, so a "%1" inside the name stays as it is.
    QString text = QString::fromUtf16(TextFor(stage, error));
    text.replace(text.indexOf(u"%1"), 2, name);
    return text;
}
