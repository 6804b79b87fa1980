#include "TarvexServer.h"

#include "DeviceObject.h"
#include "PeerDoor.h"
#include "StartQueue.h"
#include "TarvexTypes.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusServer>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFds[2] = {-1, -1};

void onTerminateSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here; the event loop picks the byte up.
    [[maybe_unused]] const ssize_t n = ::write(g_signalFds[0], &byte, 1);
}

// SIGTERM and SIGINT end tarvex like a departing client: running loops end cleanly first.
// A second signal ends it at once.
void watchTerminateSignals(TarvexServer* server) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalFds) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, server);
    QObject::connect(notifier, &QSocketNotifier::activated, server, [server] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(g_signalFds[1], &byte, 1);
        // A second signal while a loop still runs: end at once.
        static bool asked = false;
        if (asked)
            ::_exit(1);
        asked = true;
        server->shutDown();
    });
    struct sigaction sa = {};
    sa.sa_handler = onTerminateSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

const char* const kLocalPath = "/org/freedesktop/DBus/Local";
const char* const kLocalInterface = "org.freedesktop.DBus.Local";

constexpr int kSecretWaitMs = 10000;
constexpr qsizetype kMaxSecretBytes = 512;

// The client's secret: the first line of standard input. The starting program writes it into
// a pipe, which no other program can read, unlike the command line or the environment.
bool readClientSecret(QByteArray* secret, QString* error) {
    QByteArray line;
    QDeadlineTimer deadline(kSecretWaitMs);
    bool ended = false;
    while (!ended && line.size() <= kMaxSecretBytes) {
        pollfd in = {STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&in, 1, static_cast<int>(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char ch = 0;
        const ssize_t n = ::read(STDIN_FILENO, &ch, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || ch == '\n')
            ended = true;
        else
            line += ch;
    }
    *secret = line.trimmed();
    if (ended && !secret->isEmpty())
        return true;
    *error = QStringLiteral("--listen needs the client's secret as the first line of standard "
                            "input within %1 s (sweep writes it there itself; a script "
                            "writes any line of its own and presents it with "
                            "org.orvane.Tarvex.Peer.Hello, or uses --session)")
                 .arg(kSecretWaitMs / 1000);
    return false;
}
} // namespace

TarvexServer::TarvexServer(const ServerOptions& options, const DeviceFactories& factories,
                           QObject* parent)
    : QObject(parent), m_peer(QStringLiteral("tarvex-none")) {
    tarvex::registerTypes();
    const std::pair<const char*, const DeviceFactory*> all[] = {
        {tarvex::kPathPIC, &factories.pic},
        {tarvex::kPathLPT, &factories.lpt},
        {tarvex::kPathVNA, &factories.vna},
    };
    for (const auto& [path, factory] : all) {
        if (!*factory)
            continue;
        if (DeviceObject* obj = (*factory)(options, this))
            m_objects.append({QString::fromLatin1(path), obj});
    }
}

TarvexServer::~TarvexServer() = default;

bool TarvexServer::listen(const QString& address, QString* error) {
    m_server = new QDBusServer(address, this);
    if (!m_server->isConnected()) {
        *error = QStringLiteral("cannot listen at %1: %2 (check that the folder exists and is "
                                "writable, and that no other server uses the address)")
                     .arg(address, m_server->lastError().message());
        return false;
    }
    m_door = new PeerDoor(this);
    connect(m_server, &QDBusServer::newConnection, m_door, &PeerDoor::arrive);
    connect(m_door, &PeerDoor::admitted, this, &TarvexServer::onClientAdmitted);
    return true;
}

void TarvexServer::setClientSecret(const QByteArray& secret) {
    if (m_door)
        m_door->setSecret(secret);
}

bool TarvexServer::serveSession(QString* error) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        *error = QStringLiteral("cannot reach the session bus: %1 (is DBUS_SESSION_BUS_ADDRESS "
                                "set?)")
                     .arg(bus.lastError().message());
        return false;
    }
    if (!registerObjects(bus, error))
        return false;
    if (!bus.registerService(QString::fromLatin1(tarvex::kService))) {
        *error = QStringLiteral("cannot take the name %1 on the session bus: %2 (is another "
                                "tarvex running?)")
                     .arg(QString::fromLatin1(tarvex::kService), bus.lastError().message());
        return false;
    }
    m_session = true;
    return true;
}

bool TarvexServer::registerObjects(QDBusConnection& connection, QString* error) {
    for (const Served& s : std::as_const(m_objects)) {
        if (!s.object)
            continue;
        if (!connection.registerObject(s.path, s.object, QDBusConnection::ExportAdaptors)) {
            *error = QStringLiteral("cannot register the object %1: %2")
                         .arg(s.path, connection.lastError().message());
            return false;
        }
    }
    return true;
}

void TarvexServer::onClientAdmitted(const QString& connectionName) {
    m_peer = QDBusConnection(connectionName);
    m_hasPeer = true;
    QString error;
    if (!registerObjects(m_peer, &error))
        std::fprintf(stderr, "tarvex: %s\n", qPrintable(error));
    m_peer.connect(QString(), QString::fromLatin1(kLocalPath), QString::fromLatin1(kLocalInterface),
                   QStringLiteral("Disconnected"), this, SLOT(onPeerDisconnected()));
}

void TarvexServer::onPeerDisconnected() {
    shutDown();
}

void TarvexServer::shutDown() {
    // The client is gone (or we were asked to end): stop the loops, let them end cleanly,
    // then end the process.
    if (m_shuttingDown)
        return;
    m_shuttingDown = true;
    for (const Served& s : std::as_const(m_objects)) {
        if (s.object) {
            s.object->peerGone();
            s.object->release();
        }
    }
    StartQueue& queue = StartQueue::instance();
    if (queue.idle())
        QCoreApplication::exit(0);
    else
        queue.setDrainedHandler([] { QCoreApplication::exit(0); });
}

void TarvexServer::flushOutgoing() {
    // Messages are sent in order, so the answer to a ping means that every event raised
    // before it has been written to the client.
    QDBusMessage ping;
    QDBusConnection connection = m_session ? QDBusConnection::sessionBus() : m_peer;
    if (m_session) {
        ping = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping"));
    } else if (m_hasPeer) {
        ping = QDBusMessage::createMethodCall(QString(), QStringLiteral("/"),
                                              QStringLiteral("org.freedesktop.DBus.Peer"),
                                              QStringLiteral("Ping"));
    } else {
        return;
    }
    connection.call(ping, QDBus::Block, 1000);
}

void TarvexServer::exitNow() {
    if (m_exiting)
        return;
    m_exiting = true;
    // Deferred to the event loop so that the reply of the call that asked for the end
    // (aExitCOMM) goes out first.
    QTimer::singleShot(0, this, [this] {
        flushOutgoing();
        std::fflush(stdout);
        std::fflush(stderr);
        ::_exit(0);
    });
}

int runTarvex(int argc, char** argv, const DeviceFactories& factories) {
    QCoreApplication app(argc, argv);
    TarvexCommandLine cl;
    QString error;
    if (!parseTarvexArguments(app.arguments().mid(1), &cl, &error)) {
        std::fprintf(stderr, "tarvex: %s\n%s", qPrintable(error), qPrintable(tarvexUsage()));
        return 2;
    }
    if (cl.help) {
        std::fputs(qPrintable(tarvexUsage()), stdout);
        return 0;
    }

    if (!cl.options.simLogPath.isEmpty()) {
        // Checked once here, so a bad path is reported before any client comes.
        QFile log(cl.options.simLogPath);
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
            std::fprintf(stderr,
                         "tarvex: cannot open the simulation log %s: %s (check that the folder "
                         "exists and is writable)\n",
                         qPrintable(cl.options.simLogPath), qPrintable(log.errorString()));
            return 1;
        }
    }
    TarvexServer server(cl.options, factories);
    DeviceObject::setExitHandler([&server] { server.exitNow(); });
    bool ok = cl.session ? server.serveSession(&error) : server.listen(cl.listenAddress, &error);
    if (ok && !cl.session) {
        QByteArray secret;
        ok = readClientSecret(&secret, &error);
        server.setClientSecret(secret);
    }
    if (!ok) {
        std::fprintf(stderr, "tarvex: %s\n", qPrintable(error));
        std::fflush(stderr);
        ::_exit(1);
    }
    watchTerminateSignals(&server);
    std::fputs("READY\n", stdout);
    std::fflush(stdout);

    const int rc = app.exec();
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(rc);
}
