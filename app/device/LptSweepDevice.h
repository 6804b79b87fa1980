#pragma once
// The DDS generator and converter on the parallel port (cAsyncLPT), driven line by line by
// tarvex, with the two auxiliary outputs. A running loop takes a new range in place.
#include "SweepDevice.h"

class CAsyncLPTProxy;

class LptSweepDevice : public SweepDevice {
    Q_OBJECT
public:
    LptSweepDevice(const QString& serverProgram, QObject* parent);
    ~LptSweepDevice() override;

    static const DeviceKind& kind();

    void testReset(const std::function<void()>& onReset) override;
    bool setGeneratorFrequency(qint32 frequency) override;
    void setAuxWord(int n, quint8 word) override;
    void setPotentiometer(quint8 control, quint8 command, quint8 position) override;

    QString bind(const SweepConfig& cfg) override;
    bool setUpSweep(const SweepConfig& cfg, qint32 freqStep) override;
    void start() override;
    bool setIdleFrequency(const SweepConfig& cfg) override;
    void reinitRange(qint32 freqStart, qint32 freqStep) override;
    void afterComplete(const SweepConfig& cfg) override;
    void setSpeed(qint16 sweepMode) override;
    void shutdown(const SweepConfig& cfg) override;
    std::optional<double> liveCounts(qint32 freqStart, double lastSweepFirst) override;

protected:
    void attach(const QDBusConnection& connection, const QString& path) override;
    void detach() override;

private:
    void restoreAuxOutputs(const SweepConfig& cfg);

    CAsyncLPTProxy* m_lpt = nullptr;
};
