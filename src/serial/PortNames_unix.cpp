#include "serial/PortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>
#include <optional>
#include <tuple>

namespace {

QString LinkPath(int number) {
    return QStringLiteral("%1/com%2").arg(PortLinkFolder()).arg(number);
}

// The device a port link names, or nothing when there is no link. A link
// whose device is gone still names it: that COM number is then missing,
// and detection must not hand it another device.
std::optional<QString> ReadLink(int number) {
    const QFileInfo entry(LinkPath(number));
    if (entry.isSymLink())
        return entry.symLinkTarget();
    if (entry.exists())
        return entry.absoluteFilePath();
    return std::nullopt;
}

// Qt already leaves out ttyS ports with no UART behind them: it asks the
// 8250 driver for the port type and skips the unknown ones.
QStringList DetectedDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.append(info.systemLocation());
    return devices;
}

} // namespace

QString PortLinkFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The base directory rules ignore a relative value.
    if (!QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/serialtemp/ports");
}

QString PublishPortLink(int number, const QString& device) {
    if (number < kFirstComPort || number > kLastComPort)
        return QStringLiteral("COM%1 is outside COM%2 to COM%3")
            .arg(number)
            .arg(kFirstComPort)
            .arg(kLastComPort);
    const QString folder = PortLinkFolder();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);
    if (!QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return QStringLiteral("cannot make %1 private").arg(folder);
    const QString link = LinkPath(number);
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
    if (const auto device = ReadLink(number))
        return {*device, LinkPath(number)};
    return ListComPorts()[number - kFirstComPort];
}

std::vector<ComPortTarget> ListComPorts() {
    std::vector<ComPortTarget> targets(kLastComPort - kFirstComPort + 1);
    std::map<int, QString> linked;
    for (int number = kFirstComPort; number <= kLastComPort; ++number) {
        if (const auto device = ReadLink(number)) {
            targets[number - kFirstComPort] = {*device, LinkPath(number)};
            linked[number] = QFileInfo(*device).canonicalFilePath();
        }
    }
    for (const auto& [number, device] : NumberDetectedDevices(DetectedDevices(), linked))
        targets[number - kFirstComPort].device = device;
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
