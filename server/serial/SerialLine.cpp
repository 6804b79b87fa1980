#include "SerialLine.h"

#include "FirmwareModel.h"
#include "SimSerialLink.h"
#include "SimTrace.h"
#include "SimulatedDuts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QSerialPort>
#include <QTimer>
#include <cmath>
#include <unistd.h>

namespace {
const QString kSimPrefix = QStringLiteral("sim:");

QSerialPort::Parity parityOf(char p) {
    switch (p) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}
} // namespace

SerialLine::SerialLine(const ServerOptions& options, QObject* parent)
    : QObject(parent), m_options(options), m_wake(new QTimer(this)) {
    m_wake->setSingleShot(true);
    m_wake->setTimerType(Qt::PreciseTimer);
}

SerialLine::~SerialLine() {
    setPortOpen(false);
}

QString SerialLine::target() const {
    const auto it = m_options.comMap.constFind(m_commPort);
    if (it != m_options.comMap.constEnd())
        return it.value();
    return QStringLiteral("/dev/ttyS%1").arg(m_commPort - 1);
}

bool SerialLine::portOpen() const {
    return m_sim != nullptr || (m_port != nullptr && m_port->isOpen());
}

bool SerialLine::setPortOpen(bool open) {
    if (!open) {
        m_sim.reset();
        if (m_port) {
            m_port->close();
            delete m_port;
            m_port = nullptr;
        }
        m_in.clear();
        return true;
    }
    if (portOpen())
        return true;
    m_error.clear();
    return openPort();
}

bool SerialLine::openPort() {
    const QString path = target();
    if (path.startsWith(kSimPrefix)) {
        auto model = FirmwareModel::create(path.mid(kSimPrefix.size()), m_options.simDut);
        if (!model) {
            m_error =
                openFailure(path, QStringLiteral("no such simulated device"),
                            QStringLiteral("Use sim:pic or sim:vna, and a device under test %1.")
                                .arg(simulatedDutChoices()));
            return false;
        }
        if (!m_options.simLogPath.isEmpty()) {
            // The path was checked when tarvex started; a trace that cannot be opened now
            // leaves the port working untraced.
            if (const auto trace = SimTrace::open(m_options.simLogPath))
                model->setTrace(trace->sink(model->name()));
        }
        m_sim = std::make_unique<SimSerialLink>(std::move(model), m_options.simPaceReal);
        return true;
    }
    return openDevice(path);
}

QString SerialLine::openFailure(const QString& path, const QString& reason,
                                const QString& fix) const {
    return QStringLiteral("Cannot open %1 (COM%2): %3. %4")
        .arg(path)
        .arg(m_commPort)
        .arg(reason, fix);
}

bool SerialLine::openDevice(const QString& path) {
    if (!QFileInfo::exists(path)) {
        m_error = openFailure(path, QStringLiteral("no such device"),
                              QStringLiteral("Check that the adapter is plugged in and that the "
                                             "port number, or its mapping to a device, is right."));
        return false;
    }
    m_port = new QSerialPort(this);
    m_port->setPortName(path);
    m_port->setBaudRate(m_settings.baud);
    m_port->setParity(parityOf(m_settings.parity));
    m_port->setDataBits(static_cast<QSerialPort::DataBits>(m_settings.dataBits));
    m_port->setStopBits(m_settings.stopBits == 2   ? QSerialPort::TwoStop
                        : m_settings.stopBits == 3 ? QSerialPort::OneAndHalfStop
                                                   : QSerialPort::OneStop);
    m_port->setFlowControl(m_handshaking == Handshaking::XonXoff  ? QSerialPort::SoftwareControl
                           : m_handshaking == Handshaking::RtsCts ? QSerialPort::HardwareControl
                                                                  : QSerialPort::NoFlowControl);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const auto error = m_port->error();
        const QString systemReason = m_port->errorString();
        delete m_port;
        m_port = nullptr;
        if (error == QSerialPort::DeviceNotFoundError) {
            m_error =
                openFailure(path, QStringLiteral("no such device"),
                            QStringLiteral("Check that the adapter is plugged in and that the port "
                                           "number, or its mapping to a device, is right."));
        } else if (error == QSerialPort::PermissionError &&
                   ::access(path.toLocal8Bit().constData(), R_OK | W_OK) != 0) {
            m_error =
                openFailure(path, QStringLiteral("Permission denied"),
                            QStringLiteral("Add your user to the group dialout and log in again."));
        } else if (error == QSerialPort::PermissionError) {
            m_error = openFailure(
                path, QStringLiteral("the port is busy"),
                QStringLiteral("Another program holds it; close that program and try again."));
        } else {
            m_error = openFailure(path, systemReason,
                                  QStringLiteral("Check the adapter and the port settings."));
        }
        return false;
    }
    applyModemLines();
    // An unplugged adapter: the port is gone, later operations report it.
    connect(m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError && m_port) {
            m_error =
                QStringLiteral("%1 (COM%2) failed: %3. Check the cable and open the port again.")
                    .arg(m_port->portName())
                    .arg(m_commPort)
                    .arg(m_port->errorString());
            m_port->close();
        }
    });
    return true;
}

void SerialLine::applyModemLines() {
    if (!m_port || !m_port->isOpen())
        return;
    // Pseudo-terminals have no modem lines and refuse with ENOTTY: not a fault of the line.
    m_port->setDataTerminalReady(m_dtr);
    m_port->setRequestToSend(m_rts);
    m_port->clearError();
}

bool SerialLine::setSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    LineSettings s;
    bool ok = parts.size() == 4;
    if (ok) {
        s.baud = parts[0].trimmed().toInt(&ok);
        ok = ok && s.baud > 0;
    }
    if (ok) {
        const QString p = parts[1].trimmed().toUpper();
        ok = p.size() == 1 && QStringLiteral("NEOMS").contains(p);
        if (ok)
            s.parity = p[0].toLatin1();
    }
    if (ok) {
        s.dataBits = parts[2].trimmed().toInt(&ok);
        ok = ok && s.dataBits >= 5 && s.dataBits <= 8;
    }
    if (ok) {
        const QString stop = parts[3].trimmed();
        s.stopBits = stop == QLatin1String("1")     ? 1
                     : stop == QLatin1String("2")   ? 2
                     : stop == QLatin1String("1.5") ? 3
                                                    : 0;
        ok = s.stopBits != 0;
    }
    if (!ok) {
        m_error = QStringLiteral(
                      "The line settings \"%1\" of COM%2 are not valid. Use the form 115200,N,8,1.")
                      .arg(text)
                      .arg(m_commPort);
        return false;
    }
    m_settings = s;
    m_settingsText = text;
    if (m_port && m_port->isOpen()) {
        m_port->setBaudRate(s.baud);
        m_port->setParity(parityOf(s.parity));
        m_port->setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits));
    }
    return true;
}

void SerialLine::setHandshaking(Handshaking h) {
    m_handshaking = h;
}

void SerialLine::setDTREnable(bool on) {
    m_dtr = on;
    applyModemLines();
}

void SerialLine::setRTSEnable(bool on) {
    m_rts = on;
    applyModemLines();
}

qsizetype SerialLine::inBufferCount() {
    if (m_sim) {
        m_sim->pump(m_in);
        return m_in.size();
    }
    if (!m_port || !m_port->isOpen())
        return -1;
    if (m_port->bytesAvailable() > 0)
        m_in.append(m_port->readAll());
    return m_in.size();
}

void SerialLine::clearInBuffer() {
    inBufferCount();
    m_in.clear();
    if (m_port && m_port->isOpen())
        m_port->clear(QSerialPort::Input); // also what the driver holds but has not passed on
}

void SerialLine::clearOutBuffer() {
    if (m_port && m_port->isOpen())
        m_port->clear(QSerialPort::Output);
}

bool SerialLine::output(const QByteArray& bytes) {
    if (m_sim) {
        if (m_sim->write(bytes))
            return true;
        m_error = QStringLiteral("Cannot write to %1 (COM%2): the simulated adapter is unplugged.")
                      .arg(target())
                      .arg(m_commPort);
        return false;
    }
    if (!m_port || !m_port->isOpen()) {
        m_error = QStringLiteral("COM%1 is not open.").arg(m_commPort);
        return false;
    }
    if (m_port->write(bytes) != bytes.size()) {
        m_error = QStringLiteral("Cannot write to %1 (COM%2): %3.")
                      .arg(m_port->portName())
                      .arg(m_commPort)
                      .arg(m_port->errorString());
        return false;
    }
    // Hand the bytes to the driver now: the caller goes on to wait for the answer.
    m_port->flush();
    return true;
}

bool SerialLine::input(QByteArray* bytes) {
    if (inBufferCount() < 0) {
        m_error = QStringLiteral("COM%1 is not open.").arg(m_commPort);
        return false;
    }
    const qsizetype n =
        m_inputLen == 0 ? m_in.size() : std::min<qsizetype>(m_inputLen, m_in.size());
    *bytes = m_in.left(n);
    m_in.remove(0, n);
    return true;
}

void SerialLine::waitTurn(qsizetype wanted, qint64 msLeft) {
    qint64 sleepMs = msLeft;
    if (m_sim) {
        const qsizetype have = m_in.size();
        const double due = m_sim->msUntil(wanted - have);
        if (due >= 0.0)
            sleepMs = std::min<qint64>(msLeft, static_cast<qint64>(std::ceil(due)));
    }
    if (sleepMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    m_wake->start(static_cast<int>(std::min<qint64>(sleepMs, 1 << 30)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

FirmwareModel* SerialLine::simModel() const {
    return m_sim ? m_sim->model() : nullptr;
}

bool SerialLine::setSimUnplugged(bool unplugged) {
    if (!m_sim)
        return false;
    m_sim->setUnplugged(unplugged);
    return true;
}
