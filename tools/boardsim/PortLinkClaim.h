#pragma once

#include <QString>

// COMn's per-user port link, naming the board's device while the claim
// lives. A link that names something else that exists is left alone and the
// claim refused (BoardError); a dangling one, left by a board that is gone,
// is replaced.
class PortLinkClaim {
public:
    PortLinkClaim(int number, const QString& device);
    ~PortLinkClaim();
    PortLinkClaim(const PortLinkClaim&) = delete;
    PortLinkClaim& operator=(const PortLinkClaim&) = delete;

    const QString& Path() const { return m_path; }
    // Whether a dangling link was replaced.
    bool ReplacedStale() const { return m_replacedStale; }

    // Removes the link if it still names the device; a link someone has
    // since pointed elsewhere stays. Says which, as a line for the log.
    QString Release();

private:
    QString m_path;
    QString m_device;
    bool m_replacedStale = false;
    bool m_held = true;
};
