#include "support/DeviceCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString DeviceCopy(const QString& systemPath, const QString& folder) {
    struct stat device {};
    if (stat(QFile::encodeName(systemPath), &device) != 0 || !S_ISCHR(device.st_mode))
        return systemPath;
    const QString copy = QDir(folder).filePath(QFileInfo(systemPath).fileName());
    const QByteArray name = QFile::encodeName(copy);
    if (mknod(name, S_IFCHR | 0666, device.st_rdev) != 0)
        return systemPath;
    // A folder on a file system mounted nodev holds the node but cannot open it.
    const int fd = open(name, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        unlink(name);
        return systemPath;
    }
    close(fd);
    return copy;
}
