#pragma once

#include "platform/SafeFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The capture file: one header line with the save time and the byte count,
// then the received bytes as they are.

// "保存时间:" time "   有效数据字节:" count "\r\n", the labels in GBK.
QByteArray CaptureHeader(const QByteArray& time, qsizetype count);

// Writes the header, then data, as the whole file at path; the header's count
// is data's size. Nothing on success. A failure leaves an existing file as it
// was and no new one (WriteFileSafely).
std::optional<FileFailure> WriteCaptureFile(const QString& path, const QByteArray& time,
                                            const QByteArray& data);

// The message for a failure, naming the file as the stage calls for: the bare
// file name (create), the full path (write), or an unnamed file (flush).
QString CaptureErrorText(FileStage stage, int error, const QString& path);
