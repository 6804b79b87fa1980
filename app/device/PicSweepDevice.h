#pragma once
// The PIC board on a serial port (cAsyncPIC): it runs each sweep itself and sends the 400
// readings back in one block. Command "A" sets the generator, "B" loads the start frequency.
#include "SweepDevice.h"

class CAsyncPICProxy;

class PicSweepDevice : public SweepDevice {
    Q_OBJECT
public:
    PicSweepDevice(const QString& serverProgram, QObject* parent);
    ~PicSweepDevice() override;

    static const DeviceKind& kind();

    void testReset(const std::function<void()>& onReset) override;
    bool setGeneratorFrequency(qint32 frequency) override;
    bool testStart(qint32 frequency) override;
    bool testStep(qint32 freqStep) override;

    QString bind(const SweepConfig& cfg) override;
    bool setUpSweep(const SweepConfig& cfg, qint32 freqStep) override;
    void start() override;
    bool setIdleFrequency(const SweepConfig& cfg) override;
    void shutdown(const SweepConfig& cfg) override;

protected:
    void attach(const QDBusConnection& connection, const QString& path) override;
    void detach() override;

private:
    CAsyncPICProxy* m_pic = nullptr;
};
