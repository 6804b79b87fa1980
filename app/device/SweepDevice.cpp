#include "SweepDevice.h"

SweepDevice::SweepDevice(const DeviceKind& kind, const char* path, const QString& interfaceName,
                         const QString& serverProgram, QObject* parent)
    : QObject(parent), m_kind(kind), m_link(*this, path, interfaceName, serverProgram) {}

SweepDevice::~SweepDevice() {
    // Subclasses have dropped their proxies in their own destructors (release()).
}

bool SweepDevice::open(const QStringList& args, QString* error) {
    return m_link.open(args, error, [this](const QDBusConnection& connection, const QString& path) {
        attach(connection, path);
    });
}

void SweepDevice::release() {
    m_link.release([this] { detach(); });
}

bool SweepDevice::setSweepOn(qint16 value) {
    return m_link.setProp("aSweepON", QVariant::fromValue(value));
}

void SweepDevice::reinitRange(qint32, qint32) {}

void SweepDevice::afterComplete(const SweepConfig&) {}

void SweepDevice::setSpeed(qint16) {}

void SweepDevice::tryFrequencyOffset(double offset, qint32 freqStart) {
    if (!capabilities().takesFrequencyOffset)
        return;
    setFrequencyOffset(offset);
    setGeneratorFrequency(freqStart);
}

void SweepDevice::setFrequencyOffset(double offset) {
    if (capabilities().takesFrequencyOffset)
        m_link.setProp("aDDSoffset", QVariant::fromValue(offset));
}

std::optional<double> SweepDevice::liveCounts(qint32, double) {
    return std::nullopt;
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

QString SweepDevice::wrongSerialPort(qint16 commPort) {
    return QStringLiteral(
               "Wrong serial port number (COM%1).\nPlease verify 'SetUp/Configuration/Ports'.")
        .arg(commPort);
}
