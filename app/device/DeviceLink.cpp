#include "DeviceLink.h"

#include "FlowProxy.h"
#include "SweepContract.h"
#include "SweepDevice.h"
#include "TarvexLauncher.h"
#include "TarvexTypes.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

DeviceLink::DeviceLink(SweepDevice& device, const char* path, const QString& interfaceName,
                       const QString& serverProgram)
    : m_device(device), m_launcher(new TarvexLauncher(this)), m_path(QString::fromLatin1(path)),
      m_interface(interfaceName) {
    tarvex::registerTypes();
    if (!serverProgram.isEmpty())
        m_launcher->setProgram(serverProgram);
    connect(m_launcher, &TarvexLauncher::serverDied, &device, &SweepDevice::serverDied);
}

bool DeviceLink::open(const QStringList& args, QString* error, const Attach& attach) {
    if (!m_launcher->start(args, error))
        return false;
    const QDBusConnection c = m_launcher->connection();
    attach(c, m_path);
    m_flow = new FlowProxy(QString(), m_path, c, this);
    m_attached = true;
    // A window slower than the device must never make the server's queue grow.
    await(m_flow->SetVectorWindow(kVectorWindow));
    return true;
}

bool DeviceLink::isLive() const {
    return m_attached && m_launcher->isRunning();
}

qint64 DeviceLink::serverPid() const {
    return isLive() ? m_launcher->serverPid() : 0;
}

bool DeviceLink::ready() const {
    return isLive() && !m_failFast;
}

bool DeviceLink::await(const QDBusPendingCall& call) {
    if (!ready())
        return false;
    if (!call.isFinished()) {
        // The window's events run while the reply is awaited; a slow reply shows as waiting.
        QEventLoop loop;
        QDBusPendingCallWatcher watcher(call);
        connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        connect(this, &DeviceLink::waitsAbandoned, &loop, &QEventLoop::quit);
        connect(m_launcher, &TarvexLauncher::serverDied, &loop, &QEventLoop::quit);
        bool slow = false;
        QTimer slowTimer;
        slowTimer.setSingleShot(true);
        connect(&slowTimer, &QTimer::timeout, this, [this, &slow] {
            slow = true;
            if (m_slowWaits++ == 0)
                emit m_device.waitingChanged(true);
        });
        slowTimer.start(kSlowCallMs);
        ++m_waits;
        if (!call.isFinished() && !m_failFast)
            loop.exec();
        endWait();
        if (slow && --m_slowWaits == 0)
            emit m_device.waitingChanged(false);
    }
    return call.isFinished() && !call.isError() && !m_failFast;
}

void DeviceLink::pause(int ms) {
    if (!ready())
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    connect(this, &DeviceLink::waitsAbandoned, &loop, &QEventLoop::quit);
    ++m_waits;
    // Painting and the device's answers go on; clicks and keys wait for the pause's end.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    endWait();
}

void DeviceLink::endWait() {
    // The device's events held meanwhile are handed on once no wait is left.
    if (--m_waits == 0 && !m_held.isEmpty() && !m_replayPosted) {
        m_replayPosted = true;
        QTimer::singleShot(0, this, &DeviceLink::replay);
    }
}

bool DeviceLink::awaitTrue(const QDBusPendingReply<bool>& reply) {
    if (!await(reply))
        return false;
    return QDBusPendingReply<bool>(reply).value();
}

bool DeviceLink::setProp(const char* name, const QVariant& value) {
    if (!ready())
        return false;
    // An explicit Properties.Set, so that a refused or failed write is seen as such.
    QDBusMessage m = QDBusMessage::createMethodCall(
        QString(), m_path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Set"));
    m << m_interface << QString::fromLatin1(name) << QVariant::fromValue(QDBusVariant(value));
    return await(m_launcher->connection().asyncCall(m, tarvex::kCallTimeoutMs));
}

void DeviceLink::deliver(const QVector<double>& values) {
    if (m_flow && ready())
        m_flow->AckVettore();
    hand([this, values] { emit m_device.vettore(values); });
}

void DeviceLink::deliverComplete() {
    hand([this] { emit m_device.complete(); });
}

void DeviceLink::deliverErrore(qint16 tipoErrore, const QString& descrizione) {
    if (m_collectingFaults && tipoErrore == ErrorCode::kError)
        m_setUpFaults << descrizione;
    hand([this, tipoErrore, descrizione] { emit m_device.errore(tipoErrore, descrizione); });
}

void DeviceLink::beginSetUp() {
    m_setUpFaults.clear();
    m_collectingFaults = true;
}

bool DeviceLink::endSetUp(QObject* proxy) {
    // The lines raised during a call reach the queue before its reply is seen; those still
    // there are handed to the proxy now, and held like every event of a call.
    if (proxy) {
        ++m_waits;
        QCoreApplication::sendPostedEvents(proxy, QEvent::MetaCall);
        endWait();
    }
    m_collectingFaults = false;
    return m_setUpFaults.isEmpty();
}

void DeviceLink::hand(std::function<void()> event) {
    if (!m_attached)
        return;
    if (m_waits == 0 && m_held.isEmpty()) {
        event();
        return;
    }
    m_held.append(std::move(event));
}

void DeviceLink::replay() {
    m_replayPosted = false;
    // A handler may start another call: what is still held then waits for its end.
    while (m_waits == 0 && !m_held.isEmpty())
        m_held.takeFirst()();
}

void DeviceLink::flushEvents() {
    // Signals that came before the last reply may still wait in the queue of the window's
    // thread (a reply already there when the call was awaited skips the wait).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    replay();
}

void DeviceLink::expectServerExit() {
    m_launcher->expectExit();
}

void DeviceLink::abandonWaits() {
    m_failFast = true;
    emit waitsAbandoned();
}

void DeviceLink::resume() {
    m_failFast = false;
}

void DeviceLink::dispose(QObject* proxy) {
    if (!proxy)
        return;
    QCoreApplication::sendPostedEvents(proxy);
    delete proxy;
}

void DeviceLink::release(const std::function<void()>& detach) {
    // Disconnect first, so that nothing new arrives; then hand out what the D-Bus thread has
    // already queued for the proxies and the launcher. Destroying them with such events still
    // pending crashes inside QtDBus (seen when aExitCOMM ends tarvex just before the release).
    abandonWaits();
    m_held.clear();
    m_launcher->stop();
    if (m_attached) {
        detach();
        dispose(m_flow);
        m_flow = nullptr;
        m_attached = false;
    }
    QCoreApplication::sendPostedEvents(m_launcher);
}
