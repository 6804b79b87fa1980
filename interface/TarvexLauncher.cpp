#include "TarvexLauncher.h"

#include "SocketFolder.h"
#include "TarvexTypes.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

namespace {
const char* const kLocalPath = "/org/freedesktop/DBus/Local";
const char* const kLocalInterface = "org.freedesktop.DBus.Local";
constexpr qsizetype kTailChars = 4000;
// sockaddr_un.sun_path holds 108 bytes with the terminating zero.
constexpr qsizetype kMaxSocketPath = 107;

QString runtimeBase() {
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo fi(xdg);
    if (!xdg.isEmpty() && fi.isDir() && fi.isWritable())
        return xdg;
    return QStringLiteral("/tmp");
}

int nextConnectionId() {
    static int id = 0;
    return ++id;
}

// 256 random bits from the system's generator, as text.
QByteArray newSecret() {
    QByteArray bytes(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()),
                                          bytes.size() / 4);
    return bytes.toHex();
}
} // namespace

TarvexLauncher::TarvexLauncher(QObject* parent) : QObject(parent) {
    tarvex::registerTypes();
}

TarvexLauncher::~TarvexLauncher() {
    stop();
}

void TarvexLauncher::setProgramDir(const QString& dir) {
    m_programDir = dir;
}

void TarvexLauncher::setProgram(const QString& path) {
    m_program = path;
}

QString TarvexLauncher::program() const {
    if (!m_program.isEmpty())
        return m_program;
    const QString dir =
        m_programDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_programDir;
    return QDir(dir).filePath(QStringLiteral("tarvex"));
}

QDBusConnection TarvexLauncher::connection() const {
    return QDBusConnection(m_connectionName.isEmpty() ? QStringLiteral("tarvex-not-started")
                                                      : m_connectionName);
}

qint64 TarvexLauncher::serverPid() const {
    return m_process ? m_process->processId() : 0;
}

bool TarvexLauncher::fail(const QString& message, QString* error) {
    m_lastError = message;
    if (error)
        *error = message;
    stop();
    m_lastError = message;
    return false;
}

QString TarvexLauncher::outputNote() const {
    const QString out = m_stderrTail.trimmed();
    return out.isEmpty() ? QString() : QStringLiteral(" It said: %1").arg(out);
}

QString TarvexLauncher::describeExit() const {
    if (!m_process)
        return QStringLiteral("it is not running");
    if (m_process->exitStatus() == QProcess::CrashExit)
        return QStringLiteral("it crashed or was killed");
    return QStringLiteral("it ended with exit status %1").arg(m_process->exitCode());
}

bool TarvexLauncher::start(const QStringList& args, QString* error) {
    stop();
    m_stopping = false;
    m_stderrTail.clear();
    m_lastError.clear();

    const QString prog = program();
    const QFileInfo fi(prog);
    if (!fi.exists())
        return fail(QStringLiteral("The device server %1 is missing. Keep tarvex in the same "
                                   "folder as this program (reinstall Sweep if it was removed).")
                        .arg(prog),
                    error);
    if (!fi.isFile() || !fi.isExecutable())
        return fail(QStringLiteral("The device server %1 cannot be run: it is not an executable "
                                   "file. Reinstall Sweep or make it executable (chmod +x).")
                        .arg(prog),
                    error);

    // The socket lives in a folder only this user can enter. Folders of programs that were
    // killed are removed first, from both places a folder can be.
    QString base = runtimeBase();
    SocketFolder::removeStale(base);
    if (base != QLatin1String("/tmp"))
        SocketFolder::removeStale(QStringLiteral("/tmp"));
    m_dir = std::make_unique<SocketFolder>();
    QString folderError;
    bool made = m_dir->create(base, &folderError);
    if (made && m_dir->filePath(QStringLiteral("tarvex")).size() > kMaxSocketPath) {
        base = QStringLiteral("/tmp");
        made = m_dir->create(base, &folderError);
    }
    if (!made)
        return fail(QStringLiteral("Cannot create a private folder for the device server in %1: "
                                   "%2. Check that the folder exists and is writable.")
                        .arg(base, folderError),
                    error);
    const QString address =
        QStringLiteral("unix:path=") + m_dir->filePath(QStringLiteral("tarvex"));
    // Only the holder of this secret is served; it reaches tarvex through a pipe, which other
    // programs cannot read as they can read a command line.
    const QByteArray secret = newSecret();

    m_process = new QProcess(this);
    m_process->setProgram(prog);
    m_process->setArguments(QStringList{QStringLiteral("--listen"), address} + args);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    // Should this program die before connecting, tarvex must not wait for ever.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process->start();
    if (!m_process->waitForStarted(5000))
        return fail(QStringLiteral("Cannot start the device server %1: %2. Check that it is "
                                   "installed correctly.")
                        .arg(prog, m_process->errorString()),
                    error);
    m_process->write(secret + '\n');
    m_process->waitForBytesWritten(1000);
    m_process->closeWriteChannel();

    // Wait for the line READY: the server is listening then.
    QDeadlineTimer deadline(m_readyTimeoutMs);
    QByteArray out;
    bool ready = false;
    while (!ready) {
        drainStderr();
        out += m_process->readAllStandardOutput();
        for (const QByteArray& line : out.split('\n'))
            if (line.trimmed() == "READY")
                ready = true;
        if (ready)
            break;
        if (m_process->state() == QProcess::NotRunning) {
            drainStderr();
            return fail(QStringLiteral("The device server %1 did not start: %2.%3")
                            .arg(prog, describeExit(), outputNote()),
                        error);
        }
        if (deadline.hasExpired())
            return fail(QStringLiteral("The device server %1 did not become ready within %2 s. "
                                       "The computer may be overloaded; try again.%3")
                            .arg(prog)
                            .arg(m_readyTimeoutMs / 1000.0)
                            .arg(outputNote()),
                        error);
        m_process->waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 100)));
    }

    if (m_beforeConnect)
        m_beforeConnect(address);
    m_connectionName = QStringLiteral("tarvex-%1").arg(nextConnectionId());
    QDBusConnection c = QDBusConnection::connectToPeer(address, m_connectionName);
    if (!c.isConnected())
        return fail(QStringLiteral("Cannot connect to the device server %1 at %2: %3.")
                        .arg(prog, address, c.lastError().message()),
                    error);
    QDBusMessage hello = QDBusMessage::createMethodCall(QString(), QStringLiteral("/"),
                                                        QStringLiteral("org.orvane.Tarvex.Peer"),
                                                        QStringLiteral("Hello"));
    hello << QString::fromLatin1(secret);
    const QDBusMessage admitted = c.call(hello, QDBus::Block, m_readyTimeoutMs);
    if (admitted.type() != QDBusMessage::ReplyMessage) {
        drainStderr();
        return fail(QStringLiteral("The device server %1 did not accept this program as its "
                                   "client: %2. Start Sweep again.%3")
                        .arg(prog, admitted.errorMessage(), outputNote()),
                    error);
    }
    c.connect(QString(), QString::fromLatin1(kLocalPath), QString::fromLatin1(kLocalInterface),
              QStringLiteral("Disconnected"), this, SLOT(onDisconnected()));

    connect(m_process, &QProcess::readyReadStandardError, this, &TarvexLauncher::drainStderr);
    connect(m_process, &QProcess::readyReadStandardOutput, this,
            [this] { m_process->readAllStandardOutput(); });
    connect(m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        onProcessFinished(code, static_cast<int>(status));
    });
    m_running = true;
    return true;
}

void TarvexLauncher::drainStderr() {
    if (!m_process)
        return;
    const QByteArray data = m_process->readAllStandardError();
    if (data.isEmpty())
        return;
    // Shown on our own stderr too: that is where a user running from a terminal looks.
    std::fwrite(data.constData(), 1, static_cast<size_t>(data.size()), stderr);
    m_stderrTail += QString::fromLocal8Bit(data);
    if (m_stderrTail.size() > kTailChars)
        m_stderrTail = m_stderrTail.right(kTailChars);
}

void TarvexLauncher::onProcessFinished(int, int) {
    drainStderr();
    declareDead(QStringLiteral("The device server %1 has stopped: %2.%3 Restart the program to "
                               "reconnect to the hardware.")
                    .arg(program(), describeExit(), outputNote()));
}

void TarvexLauncher::onDisconnected() {
    declareDead(QStringLiteral("The connection to the device server %1 was lost. Restart the "
                               "program to reconnect to the hardware.")
                    .arg(program()));
}

void TarvexLauncher::declareDead(const QString& reason) {
    if (m_stopping || !m_running)
        return;
    m_running = false;
    m_lastError = reason;
    emit serverDied(reason);
}

bool TarvexLauncher::stop() {
    m_stopping = true;
    m_running = false;
    bool clean = true;
    if (!m_connectionName.isEmpty()) {
        QDBusConnection::disconnectFromPeer(m_connectionName);
        m_connectionName.clear();
    }
    if (m_process) {
        m_process->disconnect(this);
        if (m_process->state() != QProcess::NotRunning) {
            // The socket stays open while proxies still hold the connection, so tarvex is
            // also told with SIGTERM; either way it ends its loops and exits by itself.
            m_process->terminate();
            if (!m_process->waitForFinished(m_graceMs)) {
                clean = false;
                m_process->kill();
                m_process->waitForFinished(2000);
            }
        }
        if (m_process->exitStatus() == QProcess::CrashExit)
            clean = false;
        delete m_process;
        m_process = nullptr;
    }
    m_dir.reset();
    return clean;
}
