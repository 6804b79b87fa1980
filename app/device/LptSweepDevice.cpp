#include "LptSweepDevice.h"

#include "CAsyncLPTProxy.h"
#include "SweepConfig.h"

const DeviceKind& LptSweepDevice::kind() {
    static const DeviceKind lpt{
        {.hasSpeedAndAux = true,
         .countsRetryWarnings = false,
         .takesRangeWhileRunning = true,
         .takesFrequencyOffset = true},
        QStringLiteral("L> "),
        [](const SweepConfig& cfg) { return cfg.ddsDevice; },
        [](const SweepConfig& cfg) {
            // The address in hexadecimal digits: 0x378 shows as LPT 0378.
            return QStringLiteral("DDS Generator/Detector connected to the parallel port LPT 0") +
                   QString::number(quint16(cfg.lptAddress), 16).toUpper();
        },
        QStringLiteral("The DDS generator, detector and auxiliary outputs on the parallel "
                       "port:\ndesigned for home construction; thanks to their designer\n"
                       "and to everyone who built and tested them."),
        QStringLiteral(", step: "),
        [](const QString& serverProgram) -> std::unique_ptr<SweepDevice> {
            return std::make_unique<LptSweepDevice>(serverProgram, nullptr);
        }};
    return lpt;
}

LptSweepDevice::LptSweepDevice(const QString& serverProgram, QObject* parent)
    : SweepDevice(kind(), tarvex::kPathLPT, QStringLiteral("org.orvane.Tarvex.cAsyncLPT"),
                  serverProgram, parent) {}

LptSweepDevice::~LptSweepDevice() {
    release();
}

void LptSweepDevice::attach(const QDBusConnection& connection, const QString& path) {
    m_lpt = new CAsyncLPTProxy(QString(), path, connection, this);
    link().forwardEvents(m_lpt);
}

void LptSweepDevice::detach() {
    DeviceLink::dispose(m_lpt);
    m_lpt = nullptr;
}

QString LptSweepDevice::bind(const SweepConfig& cfg) {
    if (!link().callTrue([&] { return m_lpt->aInizializzaLPT(cfg.lptAddress); }))
        return QStringLiteral(
            "Parallel port not initialized.\nDriver not found or wrong LPT address.\nPlease "
            "verify 'SetUp/Configuration/Ports'.");
    link().setProp("aDeviceDDS", cfg.ddsDevice);
    link().setProp("aDeviceADC", cfg.adcDevice);
    link().setProp("aClock", QVariant::fromValue(double(cfg.ddsClock)));
    link().setProp("aMultiplier", QVariant::fromValue(cfg.ddsMultiplier));
    link().setProp("aDDSoffset", QVariant::fromValue(cfg.ddsOffset));
    link().setProp("aSpeed", QVariant::fromValue(cfg.sweepMode));
    link().call([&] { return m_lpt->aInizializzaDDS(); });
    link().call([&] { return m_lpt->aSetFrequenzaDDS(cfg.freqStart); });
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
    link().call([&] { return m_lpt->aInizializzaDDS(); });
    link().call([&] { return m_lpt->aSetFrequenzaDDS(1000000); });
}

bool LptSweepDevice::setGeneratorFrequency(qint32 frequency) {
    link().call([&] { return m_lpt->aSetFrequenzaDDS(frequency); });
    return true;
}

void LptSweepDevice::setAuxWord(int n, quint8 word) {
    link().call([&] { return m_lpt->aSetAttenuator(word, static_cast<short>(n)); });
}

void LptSweepDevice::setPotentiometer(quint8 control, quint8 command, quint8 position) {
    link().call([&] { return m_lpt->aSetAmpli(control, command, position); });
}

bool LptSweepDevice::setUpSweep(const SweepConfig& cfg, qint32 freqStep) {
    setSpeed(cfg.sweepMode);
    // The device has no verdict to return: it reports a range it cannot take as an error line.
    link().beginSetUp();
    link().call([&] { return m_lpt->aInizializzaSweep(cfg.freqStart, freqStep); });
    return link().endSetUp(m_lpt);
}

void LptSweepDevice::start() {
    link().call([&] { return m_lpt->aStartLPT(); });
}

bool LptSweepDevice::setIdleFrequency(const SweepConfig& cfg) {
    link().call([&] { return m_lpt->aSetFrequenzaDDS(cfg.freqStart); });
    return true;
}

void LptSweepDevice::reinitRange(qint32 freqStart, qint32 freqStep) {
    link().call([&] { return m_lpt->aInizializzaSweep(freqStart, freqStep); });
}

void LptSweepDevice::afterComplete(const SweepConfig& cfg) {
    link().call([&] { return m_lpt->aSetFrequenzaDDS(cfg.freqStart); });
}

void LptSweepDevice::setSpeed(qint16 sweepMode) {
    link().setProp("aSpeed", QVariant::fromValue(sweepMode));
}

void LptSweepDevice::shutdown(const SweepConfig&) {
    setSweepOn(SweepState::kStopRequested);
    link().call([&] { return m_lpt->aExitLPT(); });
}

std::optional<double> LptSweepDevice::liveCounts(qint32, double) {
    // Three readings 10 ms apart smooth the detector's noise; the window keeps painting.
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        if (!link().ready())
            return std::nullopt;
        QDBusPendingReply<short> reply = m_lpt->aReadADC();
        if (!link().await(reply) || reply.isError())
            return std::nullopt;
        sum += reply.value();
        link().pause(10);
    }
    return sum / 3;
}
