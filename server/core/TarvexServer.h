#pragma once
// The objects of one tarvex process and the D-Bus side that serves them: either one
// client peer-to-peer over a private socket (--listen) or the session bus (--session).
// On the socket the client is the peer that presents the secret read from standard input
// (PeerDoor); other peers are refused and do not affect the server. The process ends when
// the client disconnects or on SIGTERM / SIGINT (in both cases after any running loop has
// ended cleanly), or at once through endServerProcess (aExitCOMM).
#include "ServerOptions.h"

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QPointer>

class PeerDoor;
class QDBusServer;

class TarvexServer : public QObject {
    Q_OBJECT

public:
    // Builds the objects whose factory gives one; they are registered once a client comes.
    TarvexServer(const ServerOptions& options, const DeviceFactories& factories,
                 QObject* parent = nullptr);
    ~TarvexServer() override;

    // Number of objects served.
    int servedCount() const { return static_cast<int>(m_objects.size()); }

    // Listens at a D-Bus server address; serves one client, the peer that presents the secret
    // given to setClientSecret. On failure *error says why.
    bool listen(const QString& address, QString* error);
    void setClientSecret(const QByteArray& secret);
    // Serves the objects on the session bus under org.orvane.Tarvex.
    bool serveSession(QString* error);

    // Ends the process after the events raised so far have reached the client.
    void exitNow();

    // Asks the running loops to stop, releases the objects and ends the event loop once
    // the loops have ended. Run when the peer disconnects and on SIGTERM / SIGINT.
    void shutDown();

private Q_SLOTS:
    // org.freedesktop.DBus.Local.Disconnected of the peer connection.
    void onPeerDisconnected();

private:
    struct Served {
        QString path;
        QPointer<DeviceObject> object;
    };

    void onClientAdmitted(const QString& connectionName);
    bool registerObjects(QDBusConnection& connection, QString* error);
    void flushOutgoing();

    QList<Served> m_objects;
    QDBusServer* m_server = nullptr;
    PeerDoor* m_door = nullptr;
    QDBusConnection m_peer;
    bool m_hasPeer = false;
    bool m_session = false;
    bool m_exiting = false;
    bool m_shuttingDown = false;
};

// The whole tarvex program: parses the command line (exit status 2 with a message on
// stderr when it is bad), builds the objects with factories, serves them and ends the
// process with _exit (Qt's teardown from the disconnect handler can deadlock).
int runTarvex(int argc, char** argv, const DeviceFactories& factories);
