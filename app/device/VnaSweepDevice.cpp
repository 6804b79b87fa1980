#include "VnaSweepDevice.h"

#include "CAsyncMiniVNAProxy.h"
#include "SweepConfig.h"

VnaSweepDevice::VnaSweepDevice(const QString& serverProgram, QObject* parent)
    : SweepDevice(tarvex::kPathVNA, QStringLiteral("org.orvane.Tarvex.cAsyncMiniVNA"),
                  serverProgram, parent) {}

VnaSweepDevice::~VnaSweepDevice() {
    release();
}

void VnaSweepDevice::attach(const QDBusConnection& connection, const QString& path) {
    m_vna = new CAsyncMiniVNAProxy(QString(), path, connection, this);
    connect(m_vna, &CAsyncMiniVNAProxy::aVettore, this,
            [this](const QList<double>& v) { deliver(QVector<double>(v.begin(), v.end())); });
    connect(m_vna, &CAsyncMiniVNAProxy::aComplete, this, &VnaSweepDevice::deliverComplete);
    connect(m_vna, &CAsyncMiniVNAProxy::aErrore, this, &VnaSweepDevice::deliverErrore);
}

void VnaSweepDevice::detach() {
    dispose(m_vna);
    m_vna = nullptr;
}

QString VnaSweepDevice::caption(const SweepConfig&) const {
    return QStringLiteral("MiniVNA");
}

QString VnaSweepDevice::bind(const SweepConfig& cfg) {
    const bool opened =
        callTrue([&] { return m_vna->aInizializzaCOMM(cfg.commPort, cfg.serialSettings); });
    // Whatever the port did: the analyser gets its configuration.
    setProp("aClock", QVariant::fromValue(double(cfg.ddsClock)));
    setProp("aMultiplier", QVariant::fromValue(cfg.ddsMultiplier));
    setProp("aDDSoffset", QVariant::fromValue(cfg.ddsOffset));
    setProp("aMisura", QVariant::fromValue(cfg.adcChannel));
    call([&] { return m_vna->aSetFrequenza(cfg.freqStart); });
    return opened ? QString() : wrongSerialPort(cfg.commPort);
}

void VnaSweepDevice::testReset(const std::function<void()>&) {
    setGeneratorFrequency(1000000);
}

bool VnaSweepDevice::setGeneratorFrequency(qint32 frequency) {
    call([&] { return m_vna->aSetFrequenza(frequency); });
    return true;
}

void VnaSweepDevice::setMeasureKind(qint16 kind) {
    setProp("aMisura", QVariant::fromValue(kind));
}

bool VnaSweepDevice::setUpSweep(const SweepConfig& cfg, qint32 freqStep) {
    setProp("aMisura", QVariant::fromValue(cfg.adcChannel));
    // The device has no verdict to return: it reports a range it cannot take as an error line.
    beginSetUp();
    call([&] { return m_vna->aInizializzaSweep(cfg.freqStart, freqStep, NUMERO_CAMPIONI); });
    return endSetUp(m_vna);
}

void VnaSweepDevice::start() {
    call([&] { return m_vna->Start(); });
}

bool VnaSweepDevice::setIdleFrequency(const SweepConfig& cfg) {
    setProp("aMisura", QVariant::fromValue(qint16(0)));
    call([&] { return m_vna->aSetFrequenza(cfg.freqStart); });
    setProp("aMisura", QVariant::fromValue(cfg.adcChannel));
    return true;
}

void VnaSweepDevice::shutdown(const SweepConfig&) {
    setSweepOn(SweepState::kStopRequested);
    callEndingServer([&] { return m_vna->aExitCOMM(); });
}

std::optional<double> VnaSweepDevice::liveCounts(qint32 freqStart, double lastSweepFirst) {
    // The analyser's single reading goes to its log only; the table's first point is the
    // reading the window has.
    if (!call([&] { return m_vna->aSetFrequenza(freqStart); }))
        return std::nullopt;
    return lastSweepFirst;
}
