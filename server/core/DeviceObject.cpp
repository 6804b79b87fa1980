#include "DeviceObject.h"

#include "StartQueue.h"
#include "TarvexTypes.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <unistd.h>

namespace {
std::function<void()>& exitHandler() {
    static std::function<void()> handler;
    return handler;
}
} // namespace

DeviceObject::DeviceObject(const QString& prefix, QObject* parent)
    : QObject(parent), m_prefix(prefix) {
    // Before any adaptor is attached: an unregistered vector type drops aVettore silently.
    tarvex::registerTypes();
}

DeviceObject::~DeviceObject() = default;

void DeviceObject::endAfterFailure(const QString& what) {
    reportError(what);
    // A failure after the loop's own ending (the busy flag already cleared) must not
    // announce a second end.
    if (!m_busy)
        return;
    endLoop();
}

void DeviceObject::endLoop(StateAtEnd when) {
    const bool stoppedFirst = when == StateAtEnd::StoppedFirst;
    if (stoppedFirst)
        m_sweepOn = kStopped;
    log(QStringLiteral("fine ciclo sweep"));
    emit aComplete();
    if (!stoppedFirst)
        m_sweepOn = kStopped;
    clearBusy();
}

void DeviceObject::unlockExternal() {
    if (m_locks > 0)
        --m_locks;
    if (m_locks == 0 && m_released)
        deleteLater();
}

void DeviceObject::release() {
    m_released = true;
    if (m_locks == 0)
        deleteLater();
}

void DeviceObject::peerGone() {
    m_peerGone = true;
    if (m_sweepOn > kStopRequested)
        m_sweepOn = kStopRequested;
}

void DeviceObject::setExitHandler(std::function<void()> handler) {
    exitHandler() = std::move(handler);
}

void DeviceObject::endServerProcess() {
    if (exitHandler()) {
        exitHandler()();
        return;
    }
    ::_exit(0);
}

void DeviceObject::SetVectorWindow(int window) {
    m_window = window > 0 ? window : 0;
    m_unacked = 0;
}

void DeviceObject::AckVettore() {
    if (m_unacked > 0)
        --m_unacked;
}

void DeviceObject::requestStart() {
    if (m_busy) {
        reportError(QStringLiteral("Sweep già in esecuzione"));
        return;
    }
    m_busy = true;
    StartQueue::instance().StartAsync(this);
}

void DeviceObject::raise(short code, const QString& text) {
    emit aErrore(code, m_prefix + text);
}

void DeviceObject::yieldEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void DeviceObject::sleepServing(int ms) {
    if (ms <= 0) {
        yieldEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void DeviceObject::waitForVectorCredit() {
    while (m_window > 0 && m_unacked >= m_window && m_sweepOn > kStopRequested && !m_peerGone)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

void DeviceObject::noteVectorSent() {
    if (m_window > 0)
        ++m_unacked;
}
