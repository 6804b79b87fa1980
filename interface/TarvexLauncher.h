#pragma once
// How this fits: sweep talks to its device server tarvex over D-Bus, peer-to-peer on a
// private unix socket. TarvexLauncher starts tarvex, connects to it and watches it:
//
//     TarvexLauncher launcher;
//     QString error;
//     if (!launcher.start({"--lpt-driver", "sim", "--com", "1=/dev/ttyUSB0"}, &error))
//         ... show error (it names the program, the reason and the likely fix) ...
//     QDBusConnection c = launcher.connection();
//     auto* lpt = new CAsyncLPTProxy(QString(), "/cAsyncLPT", c, parent);
//     auto* flow = new FlowProxy(QString(), "/cAsyncLPT", c, parent);
//     flow->SetVectorWindow(4);   // then flow->AckVettore() once per aVettore received
//
// The service name is empty: it addresses the peer. The proxies (CAsyncPICProxy.h,
// CAsyncLPTProxy.h, CAsyncMiniVNAProxy.h, FlowProxy.h) carry a call time-out of
// tarvex::kCallTimeoutMs, longer than any device call can take.
//
// tarvex is started from the folder of the calling program (applicationDirPath(), or
// setProgramDir / setProgram), with its socket in a private folder (SocketFolder; folders left
// by programs that were killed are removed first). The launcher hands tarvex a fresh secret on
// its standard input, waits for its "READY" line (bounded by readyTimeout), connects and
// presents the secret (org.orvane.Tarvex.Peer.Hello): tarvex serves only the peer that does,
// whoever else connects to the socket. If tarvex dies later, every pending and later call fails at
// once with a D-Bus error and serverDied(reason) is emitted as soon as the event loop runs.
// stop() (and the destructor) disconnects and sends SIGTERM, which lets tarvex end its
// loops and exit, and kills it if it has not exited after gracePeriod. Proxies made on the
// connection fail with an error after stop(); delete them when convenient.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QProcess;
class SocketFolder;

class TarvexLauncher : public QObject {
    Q_OBJECT

public:
    explicit TarvexLauncher(QObject* parent = nullptr);
    ~TarvexLauncher() override;

    // The folder that holds tarvex (default: the calling program's folder).
    void setProgramDir(const QString& dir);
    // The full path of the server program; overrides the folder (tests use their own server).
    void setProgram(const QString& path);
    QString program() const;

    // Longest wait for "READY" (ms, default 10000) and for tarvex to exit after stop()
    // (ms, default 3000).
    void setReadyTimeout(int ms) { m_readyTimeoutMs = ms; }
    void setGracePeriod(int ms) { m_graceMs = ms; }

    // Runs once tarvex listens, with its address, before this launcher connects (tests put a
    // stranger at the socket first).
    void setBeforeConnect(std::function<void(const QString& address)> hook) {
        m_beforeConnect = std::move(hook);
    }

    // Starts tarvex with the private socket and args (driver, --com mappings, sim options),
    // waits for READY and connects. A running server is stopped first. On failure returns
    // false, nothing is left running, and *error (if given) and lastError() say why.
    bool start(const QStringList& args, QString* error = nullptr);

    // The peer connection (not connected before start() or after stop()).
    QDBusConnection connection() const;
    // True between a successful start() and stop() or the server's death.
    bool isRunning() const { return m_running; }
    qint64 serverPid() const;
    QString lastError() const { return m_lastError; }
    // The end of what tarvex wrote to stderr (kept for messages).
    QString serverOutput() const { return m_stderrTail; }

    // The server is about to end on request (aExitCOMM at shutdown): its end is not reported
    // through serverDied.
    void expectExit() { m_stopping = true; }

    // Disconnects, waits up to the grace period for tarvex to exit, then kills it. Returns
    // false when it had to be killed (or had crashed), true when it ended by itself or none
    // was running.
    bool stop();

Q_SIGNALS:
    // tarvex ended or the connection broke while running (not after stop()). Emitted once.
    void serverDied(const QString& reason);

private Q_SLOTS:
    // org.freedesktop.DBus.Local.Disconnected on the peer connection.
    void onDisconnected();

private:
    bool fail(const QString& message, QString* error);
    void drainStderr();
    void onProcessFinished(int exitCode, int exitStatus);
    void declareDead(const QString& reason);
    QString describeExit() const;
    QString outputNote() const;

    QString m_programDir;
    QString m_program;
    int m_readyTimeoutMs = 10000;
    int m_graceMs = 3000;
    std::function<void(const QString&)> m_beforeConnect;
    std::unique_ptr<SocketFolder> m_dir;
    QProcess* m_process = nullptr;
    QString m_connectionName;
    QString m_lastError;
    QString m_stderrTail;
    bool m_running = false;
    bool m_stopping = false;
};
