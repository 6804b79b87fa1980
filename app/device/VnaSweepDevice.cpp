#include "VnaSweepDevice.h"

#include "CAsyncMiniVNAProxy.h"
#include "SweepConfig.h"
#include "SweepContract.h"

const DeviceKind& VnaSweepDevice::kind() {
    static const DeviceKind vna{
        {.invertsDutReadings = true, .takesFrequencyOffset = true, .takesMeasureKind = true},
        QStringLiteral("V> "),
        [](const SweepConfig&) { return QStringLiteral("MiniVNA"); },
        [](const SweepConfig& cfg) {
            return QStringLiteral("MiniVNA connected to the USB port COM") +
                   QString::number(cfg.commPort);
        },
        QStringLiteral("The MiniVNA network analyser: thanks to its designers\nfor the "
                       "published serial protocol."),
        QStringLiteral(", step: "),
        [](const QString& serverProgram) -> std::unique_ptr<SweepDevice> {
            return std::make_unique<VnaSweepDevice>(serverProgram, nullptr);
        }};
    return vna;
}

VnaSweepDevice::VnaSweepDevice(const QString& serverProgram, QObject* parent)
    : SweepDevice(kind(), tarvex::kPathVNA, QStringLiteral("org.orvane.Tarvex.cAsyncMiniVNA"),
                  serverProgram, parent) {}

VnaSweepDevice::~VnaSweepDevice() {
    release();
}

void VnaSweepDevice::attach(const QDBusConnection& connection, const QString& path) {
    m_vna = new CAsyncMiniVNAProxy(QString(), path, connection, this);
    link().forwardEvents(m_vna);
}

void VnaSweepDevice::detach() {
    DeviceLink::dispose(m_vna);
    m_vna = nullptr;
}

QString VnaSweepDevice::bind(const SweepConfig& cfg) {
    const bool opened =
        link().callTrue([&] { return m_vna->aInizializzaCOMM(cfg.commPort, cfg.serialSettings); });
    // Whatever the port did: the analyser gets its configuration.
    link().setProp("aClock", QVariant::fromValue(double(cfg.ddsClock)));
    link().setProp("aMultiplier", QVariant::fromValue(cfg.ddsMultiplier));
    link().setProp("aDDSoffset", QVariant::fromValue(cfg.ddsOffset));
    link().setProp("aMisura", QVariant::fromValue(cfg.adcChannel));
    link().call([&] { return m_vna->aSetFrequenza(cfg.freqStart); });
    return opened ? QString() : wrongSerialPort(cfg.commPort);
}

void VnaSweepDevice::testReset(const std::function<void()>&) {
    setGeneratorFrequency(1000000);
}

bool VnaSweepDevice::setGeneratorFrequency(qint32 frequency) {
    link().call([&] { return m_vna->aSetFrequenza(frequency); });
    return true;
}

void VnaSweepDevice::setMeasureKind(qint16 kind) {
    link().setProp("aMisura", QVariant::fromValue(kind));
}

bool VnaSweepDevice::setUpSweep(const SweepConfig& cfg, qint32 freqStep) {
    link().setProp("aMisura", QVariant::fromValue(cfg.adcChannel));
    // The device has no verdict to return: it reports a range it cannot take as an error line.
    link().beginSetUp();
    link().call([&] { return m_vna->aInizializzaSweep(cfg.freqStart, freqStep, NUMERO_CAMPIONI); });
    return link().endSetUp(m_vna);
}

void VnaSweepDevice::start() {
    link().call([&] { return m_vna->Start(); });
}

bool VnaSweepDevice::setIdleFrequency(const SweepConfig& cfg) {
    link().setProp("aMisura", QVariant::fromValue(qint16(0)));
    link().call([&] { return m_vna->aSetFrequenza(cfg.freqStart); });
    link().setProp("aMisura", QVariant::fromValue(cfg.adcChannel));
    return true;
}

void VnaSweepDevice::shutdown(const SweepConfig&) {
    setSweepOn(SweepState::kStopRequested);
    link().callEndingServer([&] { return m_vna->aExitCOMM(); });
}

std::optional<double> VnaSweepDevice::liveCounts(qint32 freqStart, double lastSweepFirst) {
    // The analyser's single reading goes to its log only; the table's first point is the
    // reading the window has.
    if (!link().call([&] { return m_vna->aSetFrequenza(freqStart); }))
        return std::nullopt;
    return lastSweepFirst;
}
