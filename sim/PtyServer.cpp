#include "PtyServer.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr qsizetype kUnpacedChunk = 4096;

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

PtyServer::PtyServer(std::unique_ptr<FirmwareModel> model, QObject* parent)
    : QObject(parent), m_model(std::move(model)) {}

PtyServer::~PtyServer() {
    if (!m_link.isEmpty())
        QFile::remove(m_link);
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PtyServer::open(QString* error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        *error = systemError("pseudo-terminal set-up");
        return false;
    }
    m_path = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = systemError("open slave");
        return false;
    }
    // Raw from the start: no echo, no line editing, no CR/LF translation.
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    m_pacer = WirePacer(m_baud > 0 ? WirePacer::byteRateOfBaud(m_baud) : 0.0);
    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyServer::readHost);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyServer::pump);
    m_tick = new QTimer(this);
    m_tick->setTimerType(Qt::PreciseTimer);
    m_tick->setInterval(1);
    connect(m_tick, &QTimer::timeout, this, &PtyServer::pump);
    return true;
}

bool PtyServer::link(const QString& linkPath, QString* error) {
    QFile::remove(linkPath);
    if (::symlink(m_path.toLocal8Bit().constData(), linkPath.toLocal8Bit().constData()) != 0) {
        *error = systemError("symlink");
        return false;
    }
    m_link = linkPath;
    return true;
}

void PtyServer::readHost() {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        m_pacer.hostSent(n);
        m_model->hostBytes(QByteArray(buf, static_cast<qsizetype>(n)));
    }
    if (!m_running && m_model->hasOutput()) {
        m_running = true;
        m_pacer.outputStarted();
    }
    pump();
}

void PtyServer::flushPending() {
    while (!m_pending.isEmpty()) {
        const ssize_t n =
            ::write(m_master, m_pending.constData(), static_cast<size_t>(m_pending.size()));
        if (n <= 0)
            break;
        m_pending.remove(0, n);
    }
}

void PtyServer::pump() {
    flushPending();
    if (!m_pending.isEmpty()) {
        // The terminal is full (the host is not reading): wait until it drains, and let
        // the line restart from then rather than burst.
        m_tick->stop();
        m_writeNotifier->setEnabled(true);
        if (m_pacer.paced())
            m_pacer.outputStarted();
        return;
    }
    m_writeNotifier->setEnabled(false);
    if (m_running) {
        const qsizetype room = m_pacer.paced() ? m_pacer.allowance() : kUnpacedChunk;
        if (room > 0) {
            m_pending = m_model->takeOutput(room);
            m_pacer.delivered(m_pending.size());
            flushPending();
        }
        if (!m_model->hasOutput() && m_pending.isEmpty())
            m_running = false;
    }
    if (!m_pending.isEmpty() || (m_running && !m_pacer.paced()))
        m_writeNotifier->setEnabled(true);
    else if (m_running)
        m_tick->start();
    else
        m_tick->stop();
}
