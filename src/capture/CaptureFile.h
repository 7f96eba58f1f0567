#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The capture file: one header line with the save time and the byte count,
// then the received bytes as they are.

// "保存时间:" time "   有效数据字节:" count "\r\n", the labels in GBK.
QByteArray CaptureHeader(const QByteArray& time, qsizetype count);

// Where saving stopped. Flush covers both fsync and close.
enum class CaptureStage { Create, Write, Flush };

struct CaptureFailure {
    CaptureStage stage;
    int error; // errno; 0 when a write made no progress
};

// Creates or empties the file at path and writes the header, then data; the
// header's count is data's size. Nothing on success. After a failure the
// file keeps what was written and is closed.
std::optional<CaptureFailure> WriteCaptureFile(const QString& path, const QByteArray& time,
                                               const QByteArray& data);

// The message for a failure, naming the file as the stage calls for: the bare
// file name (create), the full path (write), or an unnamed file (flush).
QString CaptureErrorText(CaptureStage stage, int error, const QString& path);
