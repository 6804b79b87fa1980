#pragma once
// The door of tarvex's private socket. Anyone of the same user can connect to the socket, so a
// connection is not yet the client: it waits at the door until it presents the secret that the
// starting program handed to tarvex on its standard input, with one call
//
//     org.orvane.Tarvex.Peer.Hello(s secret) at the object path /
//
// The first connection with the right secret is admitted as the client (admitted() is
// emitted before Hello answers, so its objects can be registered first); a wrong secret is
// answered with an AccessDenied error and the connection is closed. Connections that never
// say Hello (a raw connect that sends nothing, a peer that does not authenticate) are closed
// after a time limit or once they drop; none of them ends the server.
#include <QByteArray>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDeadlineTimer>
#include <QHash>
#include <QObject>
#include <QString>

class QTimer;

class PeerDoor : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvane.Tarvex.Peer")

public:
    // Time a connection may wait at the door without presenting the secret (ms), and how many
    // may wait at once (more are refused at once).
    static constexpr int kWaitLimitMs = 10000;
    static constexpr int kMaxWaiting = 32;

    explicit PeerDoor(QObject* parent = nullptr);
    // The secret of the client (until it is set, nobody is admitted).
    void setSecret(const QByteArray& secret) { m_secret = secret; }

    // A new connection of the server: it waits at the door.
    void arrive(const QDBusConnection& connection);
    bool hasClient() const { return !m_client.isEmpty(); }
    // Connections still waiting (tests and diagnostics).
    int waiting() const { return static_cast<int>(m_waiting.size()); }

public Q_SLOTS:
    Q_SCRIPTABLE void Hello(const QString& secret);

Q_SIGNALS:
    // The connection of this name presented the secret: it is the client.
    void admitted(const QString& connectionName);

private:
    void refuse(const QString& name, const char* why);
    void checkWaiting();

    QByteArray m_secret;
    QString m_client;
    QHash<QString, QDeadlineTimer> m_waiting;
    QTimer* m_check;
};
