#pragma once

#include <QString>

// COMn's per-user port link, naming the board's device while the claim
// lives. The simulator takes only a free number or a stale link of its own:
// one that names a pseudo-terminal that is gone (or is this board's own
// again), with the marker comN.boardsim beside it naming the same one. Any other link or file is
// the user's (a pinned adapter that is unplugged, say) and stays; the claim is then refused with
// PortTakenError. Other failures throw BoardError.
class PortLinkClaim {
public:
    PortLinkClaim(int number, const QString& device);
    ~PortLinkClaim();
    PortLinkClaim(const PortLinkClaim&) = delete;
    PortLinkClaim& operator=(const PortLinkClaim&) = delete;

    const QString& Path() const { return m_path; }
    // Whether a stale link of the simulator's was replaced.
    bool ReplacedStale() const { return m_replacedStale; }

    // Removes the link and its marker if they still name the device; a link
    // someone has since pointed elsewhere stays. Says which, as a line for
    // the log.
    QString Release();

private:
    bool IsOwnStaleLink() const;
    // Whether the marker names the device.
    bool MarkerNames(const QString& device) const;

    QString m_path;
    QString m_marker;
    QString m_device;
    bool m_replacedStale = false;
    bool m_held = true;
};
