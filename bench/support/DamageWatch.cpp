#include "support/DamageWatch.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <poll.h>
#include <stdexcept>

DamageWatch::DamageWatch(unsigned window) : m_connection(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(m_connection))
        throw std::runtime_error("cannot connect to the X server");
    const xcb_query_extension_reply_t* damage =
        xcb_get_extension_data(m_connection, &xcb_damage_id);
    if (damage == nullptr || !damage->present)
        throw std::runtime_error("the X server has no DAMAGE extension");
    m_firstEvent = damage->first_event;
    std::free(xcb_damage_query_version_reply(
        m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));
    xcb_damage_create(m_connection, xcb_generate_id(m_connection), window,
                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(m_connection);
    m_thread = std::thread([this] { Run(); });
}

DamageWatch::~DamageWatch() {
    m_bStop = true;
    m_thread.join();
    xcb_disconnect(m_connection);
}

void DamageWatch::Run() {
    pollfd ready{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    while (!m_bStop) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const Clock::time_point now = Clock::now();
            if ((event->response_type & 0x7f) == m_firstEvent + XCB_DAMAGE_NOTIFY) {
                const auto* notify = reinterpret_cast<xcb_damage_notify_event_t*>(event);
                const std::lock_guard<std::mutex> hold(m_lock);
                m_damages.push_back({now, QRect(notify->area.x, notify->area.y, notify->area.width,
                                                notify->area.height)});
            }
            std::free(event);
        }
        poll(&ready, 1, 50);
    }
}

bool DamageWatch::FirstAfter(Clock::time_point since, const QRect& area, Damage* found) const {
    const std::lock_guard<std::mutex> hold(m_lock);
    for (const Damage& damage : m_damages) {
        if (damage.when >= since && damage.area.intersects(area)) {
            *found = damage;
            return true;
        }
    }
    return false;
}
