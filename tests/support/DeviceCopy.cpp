#include "support/DeviceCopy.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

QString DeviceCopy(const QString& systemPath, const QString& folder) {
    struct stat device {};
    const QString copy = folder + '/' + systemPath.section('/', -1);
    const bool made = stat(QFile::encodeName(systemPath), &device) == 0 &&
                      mknod(QFile::encodeName(copy), S_IFCHR | 0666, device.st_rdev) == 0;
    // A folder on a file system mounted nodev holds the node but cannot open it.
    if (made && QFile(copy).open(QIODevice::WriteOnly))
        return copy;
    if (made)
        unlink(QFile::encodeName(copy));
    return systemPath;
}
