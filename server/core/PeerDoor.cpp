#include "PeerDoor.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QTimer>
#include <cstdio>

namespace {
// A refused peer still gets its error reply before the connection closes.
constexpr int kCloseDelayMs = 100;

bool sameSecret(const QByteArray& a, const QByteArray& b) {
    // Compared to the end whatever the first difference, so the time taken tells nothing.
    if (a.isEmpty() || a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}
} // namespace

PeerDoor::PeerDoor(QObject* parent) : QObject(parent), m_check(new QTimer(this)) {
    m_check->setInterval(500);
    connect(m_check, &QTimer::timeout, this, &PeerDoor::checkWaiting);
}

void PeerDoor::arrive(const QDBusConnection& connection) {
    const QString name = connection.name();
    if (hasClient()) {
        // One client per server: the objects and their loops belong to it.
        refuse(name, "a second client tried to connect");
        return;
    }
    if (m_waiting.size() >= kMaxWaiting) {
        refuse(name, "too many connections wait without the secret");
        return;
    }
    QDBusConnection c(connection);
    c.registerObject(QStringLiteral("/"), this, QDBusConnection::ExportScriptableSlots);
    m_waiting.insert(name, QDeadlineTimer(kWaitLimitMs));
    if (!m_check->isActive())
        m_check->start();
}

void PeerDoor::Hello(const QString& secret) {
    const QString name = connection().name();
    if (name == m_client)
        return; // the client again: nothing changes
    const bool ok =
        !hasClient() && m_waiting.contains(name) && sameSecret(secret.toUtf8(), m_secret);
    const QDBusMessage call = message();
    setDelayedReply(true);
    // Answered from the event loop, outside the delivery of this call, so that the client's
    // objects are registered before it learns that it was admitted.
    QTimer::singleShot(0, this, [this, name, call, ok] {
        m_waiting.remove(name);
        QDBusConnection c(name);
        if (!ok) {
            c.send(call.createErrorReply(
                QDBusError::AccessDenied,
                QStringLiteral("this tarvex serves only the program that started it")));
            refuse(name, "a peer presented a wrong secret");
            return;
        }
        m_client = name;
        emit admitted(name);
        c.send(call.createReply());
        // Whoever else waits at the door will never be served.
        const QStringList others = m_waiting.keys();
        m_waiting.clear();
        m_check->stop();
        for (const QString& other : others)
            refuse(other, "a connection without the secret was closed");
    });
}

void PeerDoor::refuse(const QString& name, const char* why) {
    std::fprintf(stderr, "tarvex: %s; refused\n", why);
    std::fflush(stderr);
    QTimer::singleShot(kCloseDelayMs, this, [name] { QDBusConnection::disconnectFromPeer(name); });
}

void PeerDoor::checkWaiting() {
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        const QString name = it.key();
        if (!QDBusConnection(name).isConnected()) {
            // It went away by itself: nothing to report.
            it = m_waiting.erase(it);
            QDBusConnection::disconnectFromPeer(name);
        } else if (it.value().hasExpired()) {
            it = m_waiting.erase(it);
            refuse(name, "a connection did not present the secret in time");
        } else {
            ++it;
        }
    }
    if (m_waiting.isEmpty())
        m_check->stop();
}
