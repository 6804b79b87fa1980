#include "DeviceBinding.h"

#include "CAsyncLPTProxy.h"
#include "CAsyncMiniVNAProxy.h"
#include "CAsyncPICProxy.h"
#include "FlowProxy.h"
#include "TarvexLauncher.h"
#include "TarvexTypes.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {
QVector<double> toDoubles(const QList<qint16>& v) {
    QVector<double> out;
    out.reserve(v.size());
    for (qint16 x : v)
        out.append(x);
    return out;
}
} // namespace

DeviceBinding::DeviceBinding(const QString& serverProgram, QObject* parent) : QObject(parent) {
    tarvex::registerTypes();
    m_launcher = new TarvexLauncher(this);
    if (!serverProgram.isEmpty())
        m_launcher->setProgram(serverProgram);
    connect(m_launcher, &TarvexLauncher::serverDied, this, &DeviceBinding::serverDied);
}

DeviceBinding::~DeviceBinding() {
    release();
}

bool DeviceBinding::create(int interfaccia, const QStringList& args, QString* error) {
    if (!m_launcher->start(args, error))
        return false;
    const QDBusConnection c = m_launcher->connection();
    const QString peer;
    switch (interfaccia) {
    case 1:
        m_path = QString::fromLatin1(tarvex::kPathPIC);
        m_interface = QStringLiteral("org.orvane.Tarvex.cAsyncPIC");
        m_pic = new CAsyncPICProxy(peer, QString::fromLatin1(tarvex::kPathPIC), c, this);
        m_flow = new FlowProxy(peer, QString::fromLatin1(tarvex::kPathPIC), c, this);
        connect(m_pic, &CAsyncPICProxy::aVettore, this, [this](const QList<qint16>& v) {
            acknowledge();
            emit vettore(toDoubles(v));
        });
        connect(m_pic, &CAsyncPICProxy::aComplete, this, &DeviceBinding::complete);
        connect(m_pic, &CAsyncPICProxy::aErrore, this, &DeviceBinding::errore);
        break;
    case 2:
        m_path = QString::fromLatin1(tarvex::kPathLPT);
        m_interface = QStringLiteral("org.orvane.Tarvex.cAsyncLPT");
        m_lpt = new CAsyncLPTProxy(peer, QString::fromLatin1(tarvex::kPathLPT), c, this);
        m_flow = new FlowProxy(peer, QString::fromLatin1(tarvex::kPathLPT), c, this);
        connect(m_lpt, &CAsyncLPTProxy::aVettore, this, [this](const QList<qint16>& v) {
            acknowledge();
            emit vettore(toDoubles(v));
        });
        connect(m_lpt, &CAsyncLPTProxy::aComplete, this, &DeviceBinding::complete);
        connect(m_lpt, &CAsyncLPTProxy::aErrore, this, &DeviceBinding::errore);
        break;
    case 3:
        m_path = QString::fromLatin1(tarvex::kPathVNA);
        m_interface = QStringLiteral("org.orvane.Tarvex.cAsyncMiniVNA");
        m_vna = new CAsyncMiniVNAProxy(peer, QString::fromLatin1(tarvex::kPathVNA), c, this);
        m_flow = new FlowProxy(peer, QString::fromLatin1(tarvex::kPathVNA), c, this);
        connect(m_vna, &CAsyncMiniVNAProxy::aVettore, this, [this](const QList<double>& v) {
            acknowledge();
            emit vettore(QVector<double>(v.begin(), v.end()));
        });
        connect(m_vna, &CAsyncMiniVNAProxy::aComplete, this, &DeviceBinding::complete);
        connect(m_vna, &CAsyncMiniVNAProxy::aErrore, this, &DeviceBinding::errore);
        break;
    default:
        break;
    }
    // A window slower than the device must never make the server's queue grow.
    if (m_flow)
        m_flow->SetVectorWindow(kVectorWindow).waitForFinished();
    return true;
}

bool DeviceBinding::isRunning() const {
    return m_launcher->isRunning();
}

qint64 DeviceBinding::serverPid() const {
    return m_launcher->serverPid();
}

void DeviceBinding::acknowledge() {
    if (m_flow)
        m_flow->AckVettore();
}

bool DeviceBinding::setProp(const char* name, const QVariant& value) {
    if (!m_launcher->isRunning() || m_path.isEmpty())
        return false;
    // An explicit Properties.Set, so that a refused or failed write is seen as such.
    QDBusMessage m = QDBusMessage::createMethodCall(
        QString(), m_path, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Set"));
    m << m_interface << QString::fromLatin1(name) << QVariant::fromValue(QDBusVariant(value));
    const QDBusMessage reply =
        m_launcher->connection().call(m, QDBus::Block, tarvex::kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void DeviceBinding::release() {
    // Disconnect first, so that nothing new arrives; then hand out what the D-Bus thread has
    // already queued for the proxies and the launcher. Destroying them with such events still
    // pending crashes inside QtDBus (seen when aExitCOMM ends tarvex just before the release).
    m_launcher->stop();
    QObject* proxies[] = {m_pic, m_lpt, m_vna, m_flow};
    for (QObject* p : proxies) {
        if (p) {
            QCoreApplication::sendPostedEvents(p);
            delete p;
        }
    }
    m_pic = nullptr;
    m_lpt = nullptr;
    m_vna = nullptr;
    m_flow = nullptr;
    m_path.clear();
    QCoreApplication::sendPostedEvents(m_launcher);
}
