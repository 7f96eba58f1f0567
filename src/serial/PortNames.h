#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

// How COMn names a device on this platform, resolved anew at every use:
// a per-user port link comN in PortLinkFolder() names it if present and
// trusted (PortLinkDistrust); otherwise the numbers not taken by links go,
// in order, to the serial devices present (USB adapters, then USB CDC
// devices, then on-board UARTs).

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 15;

// What one COM number names right now.
struct ComPortTarget {
    QString device; // the device path; empty when the number names nothing
    QString link;   // the port link that names it; empty when numbered by detection
    // Why the number names nothing it may open, beyond "nothing is there":
    // a port link that is not followed, or no folder to look for links in.
    // The device is then empty.
    QString refusal;
};

// The user's configuration folder: $XDG_CONFIG_HOME if absolute, else
// $HOME/.config. Without either there is none (path empty), and why says
// so; the file system's root is no one's home.
struct ConfigFolder {
    QString path;
    QString why;
};
ConfigFolder UserConfigFolder();

// <configuration folder>/serialtemp/ports; empty when there is no
// configuration folder.
QString PortLinkFolder();

// Why the port link at path must not be followed, or empty when it may. As
// OpenSSH's StrictModes: the folder it is in, and each folder above that up
// to and including the configuration folder, belongs to the user or root
// and no one else may write it (whoever may write a folder can swap what is
// below it); and the link, if present, belongs to the user. The text names
// the folder or link and what to change. Folders above the configuration
// folder are not judged (a configuration folder under /tmp is fine), unless
// the ports folder really lies elsewhere: then every folder up to the root is.
QString PortLinkDistrust(const QString& link);

// Makes comN in PortLinkFolder() a symbolic link to device, replacing an
// older one. Creates the folders that are missing from the configuration
// folder down (the folder above it must exist), each for the user alone,
// and refuses a folder or link that PortLinkDistrust refuses. Returns an
// empty string on success, otherwise why it failed.
QString PublishPortLink(int number, const QString& device);

ComPortTarget ResolveComPort(int number);

// COM1 to COM15, in order. An untrusted link keeps its number, naming
// nothing, so that refusing it does not move detected devices to other
// numbers; the device it names is not read, so detection still numbers it.
std::vector<ComPortTarget> ListComPorts();

// The numbering of detected devices: the numbers from 1 to 15 not taken by a
// link go, in order, to ttyUSB*, then ttyACM*, then ttyS* devices, each class
// in numeric order (ttyUSB2 before ttyUSB10). A device that a link already
// names is not numbered twice; other devices are not numbered at all.
// linkedDevices holds the canonical paths the links lead to.
std::map<int, QString> NumberDetectedDevices(const QStringList& detected,
                                             const std::map<int, QString>& linkedDevices);
