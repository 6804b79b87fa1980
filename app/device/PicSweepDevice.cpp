#include "PicSweepDevice.h"

#include "CAsyncPICProxy.h"
#include "SweepConfig.h"

const DeviceKind& PicSweepDevice::kind() {
    static const DeviceKind pic{
        {.takesStepCommand = true},
        QStringLiteral("P> "),
        [](const SweepConfig& cfg) { return cfg.ddsDevice; },
        [](const SweepConfig& cfg) {
            return QStringLiteral("PIC connected to the USB port COM") +
                   QString::number(cfg.commPort);
        },
        QStringLiteral("The PIC 16F877 board and its firmware: part of the Sweep project."),
        QStringLiteral("by PIC 16F877, step: "),
        [](const QString& serverProgram) -> std::unique_ptr<SweepDevice> {
            return std::make_unique<PicSweepDevice>(serverProgram, nullptr);
        }};
    return pic;
}

PicSweepDevice::PicSweepDevice(const QString& serverProgram, QObject* parent)
    : SweepDevice(kind(), tarvex::kPathPIC, QStringLiteral("org.orvane.Tarvex.cAsyncPIC"),
                  serverProgram, parent) {}

PicSweepDevice::~PicSweepDevice() {
    release();
}

void PicSweepDevice::attach(const QDBusConnection& connection, const QString& path) {
    m_pic = new CAsyncPICProxy(QString(), path, connection, this);
    link().forwardEvents(m_pic);
}

void PicSweepDevice::detach() {
    DeviceLink::dispose(m_pic);
    m_pic = nullptr;
}

QString PicSweepDevice::bind(const SweepConfig& cfg) {
    if (!link().callTrue([&] { return m_pic->aInizializzaCOMM(cfg.commPort, cfg.serialSettings); }))
        return wrongSerialPort(cfg.commPort);
    if (!link().callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("A"), cfg.freqStart); }))
        return QStringLiteral("DDS not initialized\nVerify the serial interface.");
    return QString();
}

void PicSweepDevice::testReset(const std::function<void()>& onReset) {
    // The board answers nothing to its reset; it takes a new frequency a second later.
    link().call([&] { return m_pic->aScriviPIC(QStringLiteral("*"), 0); });
    onReset();
    link().pause(1000);
    link().call([&] { return m_pic->aScriviPIC(QStringLiteral("A"), 1000000); });
}

bool PicSweepDevice::setGeneratorFrequency(qint32 frequency) {
    return link().callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("A"), frequency); });
}

bool PicSweepDevice::testStart(qint32 frequency) {
    return link().callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("B"), frequency); });
}

bool PicSweepDevice::testStep(qint32 freqStep) {
    return link().callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("D"), freqStep); });
}

bool PicSweepDevice::setUpSweep(const SweepConfig& cfg, qint32 freqStep) {
    link().beginSetUp();
    const bool accepted =
        link().callTrue([&] { return m_pic->aInizializzaSweep(cfg.freqStart, freqStep); });
    return link().endSetUp(m_pic) && accepted;
}

void PicSweepDevice::start() {
    link().call([&] { return m_pic->Start(); });
}

bool PicSweepDevice::setIdleFrequency(const SweepConfig& cfg) {
    return link().callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("B"), cfg.freqStart); });
}

void PicSweepDevice::shutdown(const SweepConfig& cfg) {
    setSweepOn(SweepState::kStopRequested);
    link().call([&] { return m_pic->aScriviPIC(QStringLiteral("A"), cfg.freqStart); });
    link().callEndingServer([&] { return m_pic->aExitCOMM(); });
}
