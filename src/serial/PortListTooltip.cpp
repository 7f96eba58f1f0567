#include "serial/PortListTooltip.h"

#include "serial/PortNames.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

QString PortListTooltip::Text() {
    QStringList lines;
    int number = kFirstComPort;
    for (const ComPortTarget& target : ListComPorts()) {
        QString line = QStringLiteral("COM%1：").arg(number++);
        if (!target.refusal.isEmpty())
            line += target.refusal;
        else if (target.device.isEmpty())
            line += QStringLiteral("无设备");
        else if (!target.link.isEmpty())
            line += QStringLiteral("%1（端口链接 %2）").arg(target.device, target.link);
        else
            line += target.device;
        lines.append(line);
    }
    return lines.join(u'\n');
}

bool PortListTooltip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    // Resolved at each showing: adapters come and go while the program runs.
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), Text(), static_cast<QWidget*>(watched));
    return true;
}
