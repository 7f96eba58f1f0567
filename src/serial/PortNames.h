#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// How COMn names a device on this platform, resolved anew at every use:
// a per-user port link comN in PortLinkFolder() names it if present;
// otherwise the numbers not taken by links go, in order, to the serial
// devices present (USB adapters, then USB CDC devices, then on-board UARTs).

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 15;

// What one COM number names right now.
struct ComPortTarget {
    QString device; // the device path; empty when the number names nothing
    QString link;   // the port link that names it; empty when numbered by detection
};

// $XDG_CONFIG_HOME/serialtemp/ports, by default ~/.config/serialtemp/ports.
QString PortLinkFolder();

// Makes comN in PortLinkFolder() a symbolic link to device, replacing an
// older one; creates the folder readable by the user only. Returns an empty
// string on success, otherwise why it failed.
QString PublishPortLink(int number, const QString& device);

ComPortTarget ResolveComPort(int number);

// COM1 to COM15, in order.
std::vector<ComPortTarget> ListComPorts();

// The numbering of detected devices: the numbers from 1 to 15 not taken by a
// link go, in order, to ttyUSB*, then ttyACM*, then ttyS* devices, each class
// in numeric order (ttyUSB2 before ttyUSB10). A device that a link already
// names is not numbered twice; other devices are not numbered at all.
// linkedDevices holds the canonical paths the links lead to.
std::map<int, QString> NumberDetectedDevices(const QStringList& detected,
                                             const std::map<int, QString>& linkedDevices);
