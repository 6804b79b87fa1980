#include "StartQueue.h"

#include "DeviceObject.h"

#include <exception>

StartQueue& StartQueue::instance() {
    static StartQueue queue;
    return queue;
}

void StartQueue::StartAsync(DeviceObject* obj) {
    if (!obj)
        return;
    obj->lockExternal();
    m_pending.append(QPointer<DeviceObject>(obj));
    if (!m_timer) {
        // Lives as long as the process; parentless because the queue outlives every object.
        m_timer = new QTimer;
        m_timer->setSingleShot(true);
        m_timer->setInterval(1);
        QObject::connect(m_timer, &QTimer::timeout, [this] { StartTimerProc(); });
    }
    // While a tick is draining the list the new entry is served by that same tick.
    if (!m_timer->isActive() && !m_running)
        m_timer->start();
}

void StartQueue::StartTimerProc() {
    if (m_running)
        return;
    m_running = true;
    while (!m_pending.isEmpty()) {
        QPointer<DeviceObject> obj = m_pending.takeFirst();
        if (!obj)
            continue;
        runOne(obj);
        // The last release may destroy the object (deferred to the event loop).
        if (obj)
            obj->unlockExternal();
    }
    if (m_timer)
        m_timer->stop();
    m_running = false;
    if (m_drained)
        m_drained();
}

void StartQueue::runOne(DeviceObject* obj) {
    // A loop queued for a client that has since gone would run with nobody to stop it.
    if (obj->isPeerGone()) {
        obj->setMySweepON(DeviceObject::kStopped);
        obj->clearBusy();
        return;
    }
    QPointer<DeviceObject> guard(obj);
    try {
        obj->Runnable_Start();
    } catch (const std::exception& e) {
        if (guard)
            guard->endAfterFailure(QString::fromUtf8(e.what()));
    } catch (...) {
        if (guard)
            guard->endAfterFailure(QStringLiteral("errore imprevisto nel ciclo di sweep"));
    }
}
