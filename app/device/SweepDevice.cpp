#include "SweepDevice.h"

#include "FlowProxy.h"
#include "SweepContract.h"
#include "TarvexLauncher.h"
#include "TarvexTypes.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

SweepDevice::SweepDevice(const char* path, const QString& interfaceName,
                         const QString& serverProgram, QObject* parent)
    : QObject(parent), m_launcher(new TarvexLauncher(this)), m_path(QString::fromLatin1(path)),
      m_interface(interfaceName) {
    tarvex::registerTypes();
    if (!serverProgram.isEmpty())
        m_launcher->setProgram(serverProgram);
    connect(m_launcher, &TarvexLauncher::serverDied, this, &SweepDevice::serverDied);
}

SweepDevice::~SweepDevice() {
    // Subclasses have dropped their proxies in their own destructors (release()).
}

bool SweepDevice::invertsReadings(qint16) const {
    return false;
}

void SweepDevice::reinitRange(qint32, qint32) {}

void SweepDevice::afterComplete(const SweepConfig&) {}

void SweepDevice::setSpeed(qint16) {}

void SweepDevice::tryFrequencyOffset(double offset, qint32 freqStart) {
    if (!takesFrequencyOffset())
        return;
    setFrequencyOffset(offset);
    setGeneratorFrequency(freqStart);
}

void SweepDevice::setFrequencyOffset(double offset) {
    if (takesFrequencyOffset())
        setProp("aDDSoffset", QVariant::fromValue(offset));
}

std::optional<double> SweepDevice::liveCounts(qint32, double) {
    return std::nullopt;
}

bool SweepDevice::open(const QStringList& args, QString* error) {
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

bool SweepDevice::isLive() const {
    return m_attached && m_launcher->isRunning();
}

qint64 SweepDevice::serverPid() const {
    return isLive() ? m_launcher->serverPid() : 0;
}

bool SweepDevice::ready() const {
    return isLive() && !m_failFast;
}

bool SweepDevice::await(const QDBusPendingCall& call) {
    if (!ready())
        return false;
    if (!call.isFinished()) {
        // The window's events run while the reply is awaited; a slow reply shows as waiting.
        QEventLoop loop;
        QDBusPendingCallWatcher watcher(call);
        connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        connect(this, &SweepDevice::waitsAbandoned, &loop, &QEventLoop::quit);
        connect(m_launcher, &TarvexLauncher::serverDied, &loop, &QEventLoop::quit);
        bool slow = false;
        QTimer slowTimer;
        slowTimer.setSingleShot(true);
        connect(&slowTimer, &QTimer::timeout, this, [this, &slow] {
            slow = true;
            if (m_slowWaits++ == 0)
                emit waitingChanged(true);
        });
        slowTimer.start(kSlowCallMs);
        ++m_waits;
        if (!call.isFinished() && !m_failFast)
            loop.exec();
        endWait();
        if (slow && --m_slowWaits == 0)
            emit waitingChanged(false);
    }
    return call.isFinished() && !call.isError() && !m_failFast;
}

void SweepDevice::testReset(const std::function<void()>&) {}

bool SweepDevice::setGeneratorFrequency(qint32) {
    return false;
}

bool SweepDevice::testStart(qint32 frequency) {
    return setGeneratorFrequency(frequency);
}

bool SweepDevice::testStep(qint32) {
    return false;
}

void SweepDevice::setMeasureKind(qint16) {}

void SweepDevice::setAuxWord(int, quint8) {}

void SweepDevice::setPotentiometer(quint8, quint8, quint8) {}

void SweepDevice::pause(int ms) {
    if (!ready())
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    connect(this, &SweepDevice::waitsAbandoned, &loop, &QEventLoop::quit);
    ++m_waits;
    // Painting and the device's answers go on; clicks and keys wait for the pause's end.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    endWait();
}

void SweepDevice::endWait() {
    // The device's events held meanwhile are handed on once no wait is left.
    if (--m_waits == 0 && !m_held.isEmpty() && !m_replayPosted) {
        m_replayPosted = true;
        QTimer::singleShot(0, this, &SweepDevice::replay);
    }
}

bool SweepDevice::awaitTrue(const QDBusPendingReply<bool>& reply) {
    if (!await(reply))
        return false;
    return QDBusPendingReply<bool>(reply).value();
}

bool SweepDevice::setProp(const char* name, const QVariant& value) {
    if (!ready())
        return false;
    // An explicit Properties.Set, so that a refused or failed write is seen as such.
    QDBusMessage m = QDBusMessage::createMethodCall(
        QString(), m_path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Set"));
    m << m_interface << QString::fromLatin1(name) << QVariant::fromValue(QDBusVariant(value));
    return await(m_launcher->connection().asyncCall(m, tarvex::kCallTimeoutMs));
}

bool SweepDevice::setSweepOn(qint16 value) {
    return setProp("aSweepON", QVariant::fromValue(value));
}

void SweepDevice::deliver(const QVector<double>& values) {
    if (m_flow && ready())
        m_flow->AckVettore();
    hand([this, values] { emit vettore(values); });
}

void SweepDevice::deliverComplete() {
    hand([this] { emit complete(); });
}

void SweepDevice::deliverErrore(qint16 tipoErrore, const QString& descrizione) {
    if (m_collectingFaults && tipoErrore == ErrorCode::kError)
        m_setUpFaults << descrizione;
    hand([this, tipoErrore, descrizione] { emit errore(tipoErrore, descrizione); });
}

void SweepDevice::beginSetUp() {
    m_setUpFaults.clear();
    m_collectingFaults = true;
}

bool SweepDevice::endSetUp(QObject* proxy) {
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

void SweepDevice::hand(std::function<void()> event) {
    if (!m_attached)
        return;
    if (m_waits == 0 && m_held.isEmpty()) {
        event();
        return;
    }
    m_held.append(std::move(event));
}

void SweepDevice::replay() {
    m_replayPosted = false;
    // A handler may start another call: what is still held then waits for its end.
    while (m_waits == 0 && !m_held.isEmpty())
        m_held.takeFirst()();
}

void SweepDevice::flushEvents() {
    // Signals that came before the last reply may still wait in the queue of the window's
    // thread (a reply already there when the call was awaited skips the wait).
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    replay();
}

void SweepDevice::expectServerExit() {
    m_launcher->expectExit();
}

QString SweepDevice::wrongSerialPort(qint16 commPort) {
    return QStringLiteral(
               "Wrong serial port number (COM%1).\nPlease verify 'SetUp/Configuration/Ports'.")
        .arg(commPort);
}

void SweepDevice::abandonWaits() {
    m_failFast = true;
    emit waitsAbandoned();
}

void SweepDevice::resume() {
    m_failFast = false;
}

void SweepDevice::dispose(QObject* proxy) {
    if (!proxy)
        return;
    QCoreApplication::sendPostedEvents(proxy);
    delete proxy;
}

void SweepDevice::release() {
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
