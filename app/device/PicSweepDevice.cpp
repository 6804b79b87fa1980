#include "PicSweepDevice.h"

#include "CAsyncPICProxy.h"
#include "SweepConfig.h"

PicSweepDevice::PicSweepDevice(const QString& serverProgram, QObject* parent)
    : SweepDevice(tarvex::kPathPIC, QStringLiteral("org.orvane.Tarvex.cAsyncPIC"), serverProgram,
                  parent) {}

PicSweepDevice::~PicSweepDevice() {
    release();
}

void PicSweepDevice::attach(const QDBusConnection& connection, const QString& path) {
    m_pic = new CAsyncPICProxy(QString(), path, connection, this);
    connect(m_pic, &CAsyncPICProxy::aVettore, this,
            [this](const QList<qint16>& v) { deliver(QVector<double>(v.begin(), v.end())); });
    connect(m_pic, &CAsyncPICProxy::aComplete, this, &PicSweepDevice::deliverComplete);
    connect(m_pic, &CAsyncPICProxy::aErrore, this, &PicSweepDevice::deliverErrore);
}

void PicSweepDevice::detach() {
    dispose(m_pic);
    m_pic = nullptr;
}

QString PicSweepDevice::caption(const SweepConfig& cfg) const {
    return cfg.ddsDevice;
}

QString PicSweepDevice::bind(const SweepConfig& cfg) {
    if (!callTrue([&] { return m_pic->aInizializzaCOMM(cfg.commPort, cfg.serialSettings); }))
        return wrongSerialPort(cfg.commPort);
    if (!callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("A"), cfg.freqStart); }))
        return QStringLiteral("DDS not initialized\nVerify the serial interface.");
    return QString();
}

void PicSweepDevice::testReset(const std::function<void()>& onReset) {
    // The board answers nothing to its reset; it takes a new frequency a second later.
    call([&] { return m_pic->aScriviPIC(QStringLiteral("*"), 0); });
    onReset();
    pause(1000);
    call([&] { return m_pic->aScriviPIC(QStringLiteral("A"), 1000000); });
}

bool PicSweepDevice::setGeneratorFrequency(qint32 frequency) {
    return callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("A"), frequency); });
}

bool PicSweepDevice::testStart(qint32 frequency) {
    return callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("B"), frequency); });
}

bool PicSweepDevice::testStep(qint32 freqStep) {
    return callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("D"), freqStep); });
}

bool PicSweepDevice::setUpSweep(const SweepConfig& cfg, qint32 freqStep) {
    beginSetUp();
    const bool accepted =
        callTrue([&] { return m_pic->aInizializzaSweep(cfg.freqStart, freqStep); });
    return endSetUp(m_pic) && accepted;
}

void PicSweepDevice::start() {
    call([&] { return m_pic->Start(); });
}

bool PicSweepDevice::setIdleFrequency(const SweepConfig& cfg) {
    return callTrue([&] { return m_pic->aScriviPIC(QStringLiteral("B"), cfg.freqStart); });
}

void PicSweepDevice::shutdown(const SweepConfig& cfg) {
    setSweepOn(SweepState::kStopRequested);
    call([&] { return m_pic->aScriviPIC(QStringLiteral("A"), cfg.freqStart); });
    callEndingServer([&] { return m_pic->aExitCOMM(); });
}
