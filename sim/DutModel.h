#pragma once
// Devices under test for the simulators: what the detector reads at a given output
// frequency. Shared by the parallel-port board, the PIC firmware and the MiniVNA models.
#include <QString>
#include <QStringList>
#include <memory>
#include <random>

class DutModel {
public:
    // "bandpass" (the default), "ramp" or "flat"; nullptr for any other name.
    static std::unique_ptr<DutModel> create(const QString& name);
    static QStringList names();

    virtual ~DutModel() = default;
    // Detector code for the output frequency freqHz on a converter whose largest code is
    // fullScale (255, 1023, ...). Never below 0 or above fullScale.
    virtual int code(double freqHz, int fullScale) = 0;
    // Phase detector code (MiniVNA), 0..fullScale.
    virtual int phaseCode(double freqHz, int fullScale);
};

// A tuned circuit (centre 5 MHz, loaded Q 8) seen through a detector, with one count of noise.
class BandpassDut : public DutModel {
public:
    int code(double freqHz, int fullScale) override;
    int phaseCode(double freqHz, int fullScale) override;

private:
    std::mt19937 m_noise{12345};
};

// Noise-free: floor(f / 10000), clipped to the converter's full scale.
class RampDut : public DutModel {
public:
    int code(double freqHz, int fullScale) override;
};

// A constant mid-scale code.
class FlatDut : public DutModel {
public:
    int code(double freqHz, int fullScale) override;
};
