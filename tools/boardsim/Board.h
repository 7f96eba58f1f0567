#pragma once

#include "boardsim/BoardPty.h"
#include "boardsim/LineFaults.h"
#include "boardsim/PortLinkClaim.h"
#include "boardsim/TemperatureProfile.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

class QSocketNotifier;

struct BoardOptions {
    int comPort = 1;
    std::chrono::milliseconds interval{1000};
    int width = 5; // bytes per reading, 1 to 15
    ProfileShape profile = ProfileShape::Steady;
    std::uint32_t seed = 0;
    bool echo = false; // send back every byte that is no command
    LineFaults faults{};
    // The adapter is unplugged this long after the first start command.
    std::optional<std::chrono::milliseconds> hangUpAfter{};
};

// The temperature board on a pseudo-terminal published as COMn. After the
// start byte 0xFF it sends a reading every interval, after the stop byte
// 0xFE it stops. Everything it does is reported through the log, one line
// per event.
class Board : public QObject {
    Q_OBJECT

public:
    using Log = std::function<void(const QString& line)>;

    // Creates the line and claims the port link; throws BoardError.
    Board(const BoardOptions& options, Log log, QObject* parent = nullptr);
    // Releases the port link.
    ~Board() override;

    const QString& Device() const { return m_pty.SlavePath(); }
    const QString& Link() const { return m_link.Path(); }
    int SlaveFd() const { return m_pty.SlaveFd(); }
    bool IsConnected() const { return m_pty.MasterFd() >= 0; }
    bool IsSending() const { return m_readingTimer.isActive(); }
    // Every byte the terminal sent, and every byte written to it.
    const QByteArray& Received() const { return m_received; }
    const QByteArray& Sent() const { return m_sent; }

    // Unplugs the adapter: the line closes and the board ends.
    void HangUp();

signals:
    // The board has nothing more to do: after a hang-up (0) or a broken line (1).
    void Ended(int exitCode);

private:
    void OnReadable();
    // What the terminal sent: commands act, other bytes are logged (and echoed).
    void Take(const QByteArray& bytes);
    void OnCommand(char byte);
    void SendReadings();
    void Write(const QByteArray& bytes, const QString& what);
    void Close();
    void Fail(const QString& reason);

    BoardOptions m_options;
    Log m_log;
    BoardPty m_pty;
    PortLinkClaim m_link;
    TemperatureProfile m_profile;
    QSocketNotifier* m_pNotifier = nullptr;
    QTimer m_readingTimer;
    QTimer m_hangUpTimer;
    long long m_nReadings = 0;
    QByteArray m_received;
    QByteArray m_sent;
};
