#pragma once
// The pending list of start requests and its 1 ms single-shot timer. The first tick
// drains the list: each entry's loop runs to its end before the next one starts, and
// entries added meanwhile (a re-entrant start request) are served by the same tick.
#include "CommonAsync.h"

#include <QList>
#include <QPointer>
#include <QTimer>
#include <functional>

class DeviceObject;

class StartQueue {
public:
    static StartQueue& instance();

    // Locks obj (kept alive until its loop has ended), queues it and arms the 1 ms timer
    // if none is pending.
    void StartAsync(DeviceObject* obj);
    // The timer's callback: runs every pending loop in order; a failure escaping a loop
    // ends that loop like a normal end and the next entry is served.
    void StartTimerProc();

    // True while StartTimerProc runs a loop.
    bool running() const { return m_running; }
    int pending() const { return static_cast<int>(m_pending.size()); }
    // True when a start timer is armed (the timer identifier is not 0).
    bool timerArmed() const { return m_timer && m_timer->isActive(); }
    bool idle() const { return !m_running && m_pending.isEmpty(); }
    // Called after the queue has drained (the server uses it to exit once its peer is gone).
    void setDrainedHandler(std::function<void()> handler) { m_drained = std::move(handler); }

private:
    StartQueue() = default;
    void runOne(DeviceObject* obj);

    QList<QPointer<DeviceObject>> m_pending;
    QTimer* m_timer = nullptr;
    bool m_running = false;
    std::function<void()> m_drained;
};
