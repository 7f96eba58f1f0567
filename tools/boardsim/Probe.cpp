#include "boardsim/Probe.h"

#include "serial/PortNames.h"

#include <QFileInfo>
#include <QRegularExpression>

std::optional<QString> BoardDevice(int number) {
    static const QRegularExpression usb(QStringLiteral("^tty(USB|ACM)[0-9]+$"));
    const ComPortTarget target = ResolveComPort(number);
    const QFileInfo device(target.device);
    const bool present = target.link.isEmpty() ? usb.match(device.fileName()).hasMatch()
                                               : !target.device.isEmpty() && device.exists();
    if (!present)
        return std::nullopt;
    return target.device;
}
