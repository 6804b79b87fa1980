#pragma once
// The MiniVNA on a serial port (cAsyncMiniVNA): one raw 10-bit reading per frequency. The
// binding hands it the configuration even when the port did not open.
#include "SweepDevice.h"

class CAsyncMiniVNAProxy;

class VnaSweepDevice : public SweepDevice {
    Q_OBJECT
public:
    VnaSweepDevice(const QString& serverProgram, QObject* parent);
    ~VnaSweepDevice() override;

    static const DeviceKind& kind();

    void testReset(const std::function<void()>& onReset) override;
    bool setGeneratorFrequency(qint32 frequency) override;
    void setMeasureKind(qint16 kind) override;

    QString bind(const SweepConfig& cfg) override;
    bool setUpSweep(const SweepConfig& cfg, qint32 freqStep) override;
    void start() override;
    bool setIdleFrequency(const SweepConfig& cfg) override;
    void shutdown(const SweepConfig& cfg) override;
    std::optional<double> liveCounts(qint32 freqStart, double lastSweepFirst) override;

protected:
    void attach(const QDBusConnection& connection, const QString& path) override;
    void detach() override;

private:
    CAsyncMiniVNAProxy* m_vna = nullptr;
};
