#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's whole content, or "<missing>" when it cannot be read.
inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
