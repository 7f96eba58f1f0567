#include "platform/SafeFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// POSIX calls rather than QFile or QSaveFile: callers word their messages by
// the exact errno of the call that failed, which Qt does not pass on.

namespace {

template <typename Call> auto RetryOnSignal(Call call) {
    decltype(call()) rc;
    do {
        rc = call();
    } while (rc < 0 && errno == EINTR);
    return rc;
}

// Closes fd and returns the failure; errno of the failed call must be read before.
FileFailure CloseAfter(int fd, FileStage stage, int error) {
    ::close(fd);
    return {stage, error};
}

// Writes all of bytes; the errno on failure, 0 when write made no progress.
std::optional<int> WriteAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t n = RetryOnSignal(
            [&] { return ::write(fd, bytes.data(), static_cast<size_t>(bytes.size())); });
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        bytes = bytes.sliced(n);
    }
    return std::nullopt;
}

// Writes the pieces, flushes and closes fd in every case.
std::optional<FileFailure> WriteAndClose(int fd, std::initializer_list<QByteArrayView> pieces) {
    for (const QByteArrayView piece : pieces) {
        // The write error is the cause to report; a close error after it adds nothing.
        if (const std::optional<int> error = WriteAll(fd, piece))
            return CloseAfter(fd, FileStage::Write, *error);
    }
    // EINVAL: a device such as /dev/null or a FIFO, which has nothing to flush.
    if (RetryOnSignal([&] { return ::fsync(fd); }) < 0 && errno != EINVAL)
        return CloseAfter(fd, FileStage::Flush, errno);
    // close is not retried: Linux frees the descriptor even when it reports
    // EINTR, and after a good fsync the data is already on the disk.
    if (::close(fd) < 0 && errno != EINTR)
        return FileFailure{FileStage::Flush, errno};
    return std::nullopt;
}

// Creates a new empty file in the folder of target (mode 0666 less the umask);
// its name goes to temporary.
int CreateTemporaryBeside(const QByteArray& target, QByteArray& temporary) {
    const QByteArray folder = target.left(target.lastIndexOf('/') + 1);
    for (;;) {
        temporary =
            folder + ".saving-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = RetryOnSignal([&] {
            return ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        });
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
}

// Writes the regular file target all or nothing: a temporary beside it
// takes the content and is renamed over it. mode: the permissions to keep.
std::optional<FileFailure> Replace(const QByteArray& target, std::optional<mode_t> mode,
                                   std::initializer_list<QByteArrayView> pieces) {
    QByteArray temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return FileFailure{FileStage::Create, errno};
    std::optional<FileFailure> failure;
    if (mode && ::fchmod(fd, *mode) < 0)
        failure = CloseAfter(fd, FileStage::Create, errno);
    else
        failure = WriteAndClose(fd, pieces);
    if (!failure && ::rename(temporary.constData(), target.constData()) < 0)
        failure = FileFailure{FileStage::Create, errno};
    if (failure)
        ::unlink(temporary.constData());
    return failure;
}

} // namespace

std::optional<FileFailure> WriteFileSafely(const QString& path,
                                           std::initializer_list<QByteArrayView> pieces) {
    const QByteArray name = QFile::encodeName(path);
    // Opening without creating tells what is there, and O_NONBLOCK keeps that
    // from waiting: a FIFO without a reader fails with ENXIO instead of
    // waiting for one. The type is read from the open file, so nothing that
    // could block can slip in between the look and the writing.
    const int fd = RetryOnSignal(
        [&] { return ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); });
    if (fd < 0)
        return errno == ENOENT ? Replace(name, std::nullopt, pieces)
                               : FileFailure{FileStage::Create, errno};
    struct stat status {};
    if (::fstat(fd, &status) < 0)
        return CloseAfter(fd, FileStage::Create, errno);
    if (!S_ISREG(status.st_mode))
        return WriteAndClose(fd, pieces);
    ::close(fd);

    // Through a symbolic link, the file it names is replaced and the link stays.
    const std::unique_ptr<char, decltype(&std::free)> target(::realpath(name.constData(), nullptr),
                                                             &std::free);
    if (!target)
        return FileFailure{FileStage::Create, errno};
    return Replace(target.get(), status.st_mode & 07777, pieces);
}
