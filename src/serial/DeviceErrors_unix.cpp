#include "serial/DeviceErrors.h"

#include <QFile>
#include <QLockFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr char kLockFolder[] = "/var/lock";

QString DescribeErrno(int error) {
    switch (error) {
    case ENOENT:
        return QStringLiteral("设备不存在");
    case ENODEV:
    case ENXIO:
        return QStringLiteral("设备不存在或已被拔出");
    case EBUSY:
        return QStringLiteral("该串口正被其他程序独占使用");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有访问该设备的权限，请将用户加入 dialout 组后重新登录");
    case ENOTTY:
        return QStringLiteral("该设备不是串口设备");
    case EIO:
        return QStringLiteral("设备输入/输出错误，设备可能已断开或没有接上");
    default:
        return QStringLiteral("系统错误 %1").arg(error);
    }
}

// The UUCP lock file that QSerialPort, like other serial programs, holds
// while a device is open: LCK.. and the name under /dev with '/' as '_'.
QString LockFilePath(const QString& device) {
    QString name = device.startsWith(u"/dev/") ? device.mid(5) : device;
    return QStringLiteral("%1/LCK..%2").arg(QLatin1String(kLockFolder), name.replace(u'/', u'_'));
}

// The error of opening device as QSerialPort does and reading its line
// settings; 0 when both work.
int OpenErrno(const QString& device) {
    const int fd =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    termios line{};
    const int error = ::tcgetattr(fd, &line) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace

QString WhyDeviceDidNotOpen(const QString& device) {
    // A lock file is checked before the device is touched: opening a port
    // that another program uses could disturb its line.
    const QString lockPath = LockFilePath(device);
    QLockFile lock(lockPath);
    qint64 pid = 0;
    QString host;
    QString program;
    if (lock.getLockInfo(&pid, &host, &program)) {
        const QString holder = program.isEmpty()
                                   ? QStringLiteral("进程 %1").arg(pid)
                                   : QStringLiteral("进程 %1 %2").arg(pid).arg(program);
        return QStringLiteral("该串口正被其他程序使用（%1，锁文件 %2）").arg(holder, lockPath);
    }
    if (const int error = OpenErrno(device))
        return DescribeErrno(error);
    if (::access(kLockFolder, W_OK) != 0)
        return QStringLiteral("无法在 %1 中建立串口的锁文件").arg(QLatin1String(kLockFolder));
    return QStringLiteral("设备不接受串口的初始设置");
}

QString WhyLineFails(int fd) {
    termios line{};
    if (::tcgetattr(fd, &line) == 0)
        return {};
    return DescribeErrno(errno);
}

bool LineHungUp(int fd) {
    pollfd line{fd, POLLIN | POLLOUT, 0};
    if (::poll(&line, 1, 0) < 0)
        return false;
    return (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}
