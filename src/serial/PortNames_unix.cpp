#include "serial/PortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

QString LinkPath(const QString& folder, int number) {
    // Not arg(folder).arg(number): a % in the folder would take the number.
    return folder + QStringLiteral("/com%1").arg(number);
}

QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The path as one word of a shell command the user may copy.
QString ShellWord(const QString& path) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(path).hasMatch())
        return path;
    return u'\'' + QString(path).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

QString UserName(uid_t uid) {
    if (const passwd* user = ::getpwuid(uid))
        return QString::fromLocal8Bit(user->pw_name);
    return QString::number(uid);
}

// What the entry comN in folder says, if there is one. A link whose device
// is gone still names it: that COM number is then missing, and detection
// must not hand it another device.
std::optional<ComPortTarget> ReadLink(const QString& folder, int number) {
    if (folder.isEmpty())
        return std::nullopt;
    const QString path = LinkPath(folder, number);
    const QFileInfo entry(path);
    if (!entry.isSymLink() && !entry.exists())
        return std::nullopt;
    if (QString distrust = PortLinkDistrust(path); !distrust.isEmpty())
        return ComPortTarget{{}, path, std::move(distrust)};
    return ComPortTarget{
        entry.isSymLink() ? entry.symLinkTarget() : entry.absoluteFilePath(), path, {}};
}

// Qt already leaves out ttyS ports with no UART behind them: it asks the
// 8250 driver for the port type and skips the unknown ones.
QStringList DetectedDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.append(info.systemLocation());
    return devices;
}

// Why a folder on the way to a port link cannot be trusted, or empty.
QString FolderDistrust(const QString& link, const QString& folder) {
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
        return QStringLiteral("不使用端口链接 %1：无法检查文件夹 %2（%3）。")
            .arg(link, folder, SystemError());
    const uid_t user = ::geteuid();
    if (st.st_uid != user && st.st_uid != 0)
        return QStringLiteral("不使用端口链接 %1：文件夹 %2 属于用户 %3，而不是您（%4）。请改用"
                              "您自己的文件夹，或请管理员运行 chown %4 %5 后再试。")
            .arg(link, folder, UserName(st.st_uid), UserName(user), ShellWord(folder));
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("不使用端口链接 %1：其他用户可以写入文件夹 %2，能把这个串口换成"
                              "他们的设备。请运行 chmod go-w %3 后再试。")
            .arg(link, folder, ShellWord(folder));
    return {};
}

// The real path of folder, or empty with errno set.
QString RealPath(const QString& folder) {
    char real[PATH_MAX];
    if (!::realpath(QFile::encodeName(folder).constData(), real))
        return {};
    return QFile::decodeName(real);
}

} // namespace

ConfigFolder UserConfigFolder() {
    // The base directory rules ignore a relative value.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.startsWith(u'/'))
        return {config, {}};
    const QString home = qEnvironmentVariable("HOME");
    QString why;
    if (home.isEmpty())
        why = QStringLiteral("环境变量 HOME 未设置");
    else if (!home.startsWith(u'/'))
        why = QStringLiteral("环境变量 HOME 的值“%1”不是绝对路径").arg(home);
    else if (QDir::cleanPath(home) == QStringLiteral("/"))
        why = QStringLiteral("环境变量 HOME 是文件系统的根目录 /");
    else
        return {QDir::cleanPath(home) + QStringLiteral("/.config"), {}};
    return {{}, why + QStringLiteral("，XDG_CONFIG_HOME 也不是绝对路径")};
}

QString PortLinkFolder() {
    const QString config = UserConfigFolder().path;
    return config.isEmpty() ? QString() : config + QStringLiteral("/serialtemp/ports");
}

QString PortLinkDistrust(const QString& link) {
    const QString folder = QFileInfo(link).absolutePath();
    // Judged where the entries really are, as OpenSSH does: a folder reached
    // through a symbolic link is checked, and so is each one above it.
    const QString realFolder = RealPath(folder);
    if (realFolder.isEmpty())
        return QStringLiteral("不使用端口链接 %1：无法检查文件夹 %2（%3）。")
            .arg(link, folder, SystemError());
    const QString config = UserConfigFolder().path;
    const QString realConfig = config.isEmpty() ? QString() : RealPath(config);
    for (QDir dir(realFolder);; dir.setPath(QFileInfo(dir.path()).path())) {
        if (QString distrust = FolderDistrust(link, dir.path()); !distrust.isEmpty())
            return distrust;
        if (dir.path() == realConfig || dir.isRoot())
            break;
    }
    struct stat st {};
    if (::lstat(QFile::encodeName(link).constData(), &st) != 0) {
        if (errno == ENOENT)
            return {};
        return QStringLiteral("不使用端口链接 %1：无法检查它（%2）。").arg(link, SystemError());
    }
    if (st.st_uid != ::geteuid())
        return QStringLiteral("不使用端口链接 %1：它属于用户 %2，而不是您（%3）。请确认后删除它"
                              "（rm %4），需要时由您自己重新创建。")
            .arg(link, UserName(st.st_uid), UserName(::geteuid()), ShellWord(link));
    return {};
}

QString PublishPortLink(int number, const QString& device) {
    if (number < kFirstComPort || number > kLastComPort)
        return QStringLiteral("COM%1 is outside COM%2 to COM%3")
            .arg(number)
            .arg(kFirstComPort)
            .arg(kLastComPort);
    const ConfigFolder config = UserConfigFolder();
    if (config.path.isEmpty())
        return QStringLiteral("no folder for port links: %1").arg(config.why);
    // Missing folders are made for the user alone, as the base directory
    // rules ask; existing ones are the user's to set, and judged below.
    for (const QString& folder : {config.path, config.path + QStringLiteral("/serialtemp"),
                                  config.path + QStringLiteral("/serialtemp/ports")}) {
        if (::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) != 0 && errno != EEXIST)
            return QStringLiteral("cannot create %1: %2").arg(folder, SystemError());
    }
    const QString link = LinkPath(PortLinkFolder(), number);
    if (const QString distrust = PortLinkDistrust(link); !distrust.isEmpty())
        return distrust;
    QFile old(link);
    if (QFileInfo(link).isSymLink() || old.exists()) {
        if (!old.remove())
            return QStringLiteral("cannot replace %1: %2").arg(link, old.errorString());
    }
    QFile target(device);
    if (!target.link(link))
        return QStringLiteral("cannot link %1 to %2: %3").arg(link, device, target.errorString());
    return {};
}

ComPortTarget ResolveComPort(int number) {
    if (number < kFirstComPort || number > kLastComPort)
        return {};
    if (auto link = ReadLink(PortLinkFolder(), number))
        return *link;
    return ListComPorts()[number - kFirstComPort];
}

std::vector<ComPortTarget> ListComPorts() {
    std::vector<ComPortTarget> targets(kLastComPort - kFirstComPort + 1);
    const ConfigFolder config = UserConfigFolder();
    const QString folder = PortLinkFolder();
    std::map<int, QString> linked;
    for (int number = kFirstComPort; number <= kLastComPort; ++number) {
        if (auto link = ReadLink(folder, number)) {
            linked[number] = QFileInfo(link->device).canonicalFilePath();
            targets[number - kFirstComPort] = std::move(*link);
        }
    }
    for (const auto& [number, device] : NumberDetectedDevices(DetectedDevices(), linked))
        targets[number - kFirstComPort].device = device;
    if (config.path.isEmpty()) {
        for (ComPortTarget& target : targets) {
            if (target.device.isEmpty())
                target.refusal =
                    QStringLiteral("没有找到对应的串口设备；也不查找端口链接，因为%1。")
                        .arg(config.why);
        }
    }
    return targets;
}

std::map<int, QString> NumberDetectedDevices(const QStringList& detected,
                                             const std::map<int, QString>& linkedDevices) {
    static const QRegularExpression name(QStringLiteral("^(ttyUSB|ttyACM|ttyS)([0-9]+)$"));
    static const QStringList classes{QStringLiteral("ttyUSB"), QStringLiteral("ttyACM"),
                                     QStringLiteral("ttyS")};

    std::vector<std::tuple<qsizetype, qulonglong, QString>> ordered;
    for (const QString& device : detected) {
        const auto match = name.match(QFileInfo(device).fileName());
        if (!match.hasMatch())
            continue;
        const bool named = std::any_of(linkedDevices.begin(), linkedDevices.end(),
                                       [&](const auto& link) { return link.second == device; });
        if (!named)
            ordered.emplace_back(classes.indexOf(match.captured(1)),
                                 match.captured(2).toULongLong(), device);
    }
    std::sort(ordered.begin(), ordered.end());

    std::map<int, QString> numbered;
    auto next = ordered.begin();
    for (int number = kFirstComPort; number <= kLastComPort && next != ordered.end(); ++number) {
        if (!linkedDevices.contains(number))
            numbered[number] = std::get<2>(*next++);
    }
    return numbered;
}
