#pragma once

#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <optional>

// Writing a whole file so that a failure never leaves half of it behind, and
// never waiting on another process.

// How far writing got. Create covers opening the file, making its temporary
// and putting that in place; Flush covers fsync and close.
enum class FileStage { Create, Write, Flush };

struct FileFailure {
    FileStage stage;
    int error; // errno; 0 when a write made no progress
};

// Writes pieces, one after another, as the whole content of the file at path.
// A regular file, new or existing (also through a symbolic link, which
// stays), is written beside itself under a temporary name and renamed into
// place once complete and flushed, keeping an existing file's permissions; on
// failure the old file is untouched and no temporary is left. Anything else
// that opens for writing at once, such as a character device or a FIFO with a
// reader, is written directly. Nothing blocks: a FIFO without a reader fails
// to open (ENXIO), and a device that cannot take more fails (EAGAIN).
std::optional<FileFailure> WriteFileSafely(const QString& path,
                                           std::initializer_list<QByteArrayView> pieces);
