#include "LptSweepDevice.h"

#include "CAsyncLPTProxy.h"
#include "SweepConfig.h"

LptSweepDevice::LptSweepDevice(const QString& serverProgram, QObject* parent)
    : SweepDevice(tarvex::kPathLPT, QStringLiteral("org.orvane.Tarvex.cAsyncLPT"), serverProgram,
                  parent) {}

LptSweepDevice::~LptSweepDevice() {
    release();
}

void LptSweepDevice::attach(const QDBusConnection& connection, const QString& path) {
    m_lpt = new CAsyncLPTProxy(QString(), path, connection, this);
    connect(m_lpt, &CAsyncLPTProxy::aVettore, this,
            [this](const QList<qint16>& v) { deliver(QVector<double>(v.begin(), v.end())); });
    connect(m_lpt, &CAsyncLPTProxy::aComplete, this, &LptSweepDevice::deliverComplete);
    connect(m_lpt, &CAsyncLPTProxy::aErrore, this, &LptSweepDevice::deliverErrore);
}

void LptSweepDevice::detach() {
    dispose(m_lpt);
    m_lpt = nullptr;
}

QString LptSweepDevice::caption(const SweepConfig& cfg) const {
    return cfg.ddsDevice;
}

QString LptSweepDevice::bind(const SweepConfig& cfg) {
    if (!callTrue([&] { return m_lpt->aInizializzaLPT(cfg.lptAddress); }))
        return QStringLiteral(
            "Parallel port not initialized.\nDriver not found or wrong LPT address.\nPlease "
            "verify 'SetUp/Configuration/Ports'.");
    setProp("aDeviceDDS", cfg.ddsDevice);
    setProp("aDeviceADC", cfg.adcDevice);
    setProp("aClock", QVariant::fromValue(double(cfg.ddsClock)));
    setProp("aMultiplier", QVariant::fromValue(cfg.ddsMultiplier));
    setProp("aDDSoffset", QVariant::fromValue(cfg.ddsOffset));
    setProp("aSpeed", QVariant::fromValue(cfg.sweepMode));
    call([&] { return m_lpt->aInizializzaDDS(); });
    call([&] { return m_lpt->aSetFrequenzaDDS(cfg.freqStart); });
    restoreAuxOutputs(cfg);
    return QString();
}

void LptSweepDevice::restoreAuxOutputs(const SweepConfig& cfg) {
    const qint16 values[2] = {cfg.aux1Value, cfg.aux2Value};
    for (int n = 1; n <= 2; ++n) {
        const AuxConfig aux = cfg.readAux(n);
        if (!aux.enabled)
            continue;
        setAuxWord(n, aux.sentWord(values[n - 1] & 0xFF));
    }
}

void LptSweepDevice::testReset(const std::function<void()>&) {
    call([&] { return m_lpt->aInizializzaDDS(); });
    call([&] { return m_lpt->aSetFrequenzaDDS(1000000); });
}

bool LptSweepDevice::setGeneratorFrequency(qint32 frequency) {
    call([&] { return m_lpt->aSetFrequenzaDDS(frequency); });
    return true;
}

void LptSweepDevice::setAuxWord(int n, quint8 word) {
    call([&] { return m_lpt->aSetAttenuator(word, static_cast<short>(n)); });
}

void LptSweepDevice::setPotentiometer(quint8 control, quint8 command, quint8 position) {
    call([&] { return m_lpt->aSetAmpli(control, command, position); });
}

bool LptSweepDevice::setUpSweep(const SweepConfig& cfg, qint32 freqStep) {
    setSpeed(cfg.sweepMode);
    // The device has no verdict to return: it reports a range it cannot take as an error line.
    beginSetUp();
    call([&] { return m_lpt->aInizializzaSweep(cfg.freqStart, freqStep); });
    return endSetUp(m_lpt);
}

void LptSweepDevice::start() {
    call([&] { return m_lpt->aStartLPT(); });
}

bool LptSweepDevice::setIdleFrequency(const SweepConfig& cfg) {
    call([&] { return m_lpt->aSetFrequenzaDDS(cfg.freqStart); });
    return true;
}

void LptSweepDevice::reinitRange(qint32 freqStart, qint32 freqStep) {
    call([&] { return m_lpt->aInizializzaSweep(freqStart, freqStep); });
}

void LptSweepDevice::afterComplete(const SweepConfig& cfg) {
    call([&] { return m_lpt->aSetFrequenzaDDS(cfg.freqStart); });
}

void LptSweepDevice::setSpeed(qint16 sweepMode) {
    setProp("aSpeed", QVariant::fromValue(sweepMode));
}

void LptSweepDevice::shutdown(const SweepConfig&) {
    setSweepOn(SweepState::kStopRequested);
    call([&] { return m_lpt->aExitLPT(); });
}

std::optional<double> LptSweepDevice::liveCounts(qint32, double) {
    // Three readings 10 ms apart smooth the detector's noise; the window keeps painting.
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        if (!ready())
            return std::nullopt;
        QDBusPendingReply<short> reply = m_lpt->aReadADC();
        if (!await(reply) || reply.isError())
            return std::nullopt;
        sum += reply.value();
        pause(10);
    }
    return sum / 3;
}
