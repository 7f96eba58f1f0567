#pragma once

#include <QRect>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

struct xcb_connection_t;

// What the X server changes in a window, as it changes it: a thread with a
// connection of its own takes the window's DAMAGE events, one per rectangle
// drawn, and keeps when each came.
class DamageWatch {
public:
    using Clock = std::chrono::steady_clock;
    struct Damage {
        Clock::time_point when;
        QRect area; // in the window
    };

    // window is an X window id; throws std::runtime_error without the
    // server's DAMAGE extension.
    explicit DamageWatch(unsigned window);
    ~DamageWatch();
    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;

    // The first damage touching area that came at or after since; false if none did.
    bool FirstAfter(Clock::time_point since, const QRect& area, Damage* found) const;

private:
    void Run();

    xcb_connection_t* m_connection;
    unsigned m_firstEvent = 0;
    std::atomic<bool> m_bStop = false;
    mutable std::mutex m_lock;
    std::vector<Damage> m_damages;
    std::thread m_thread;
};
