#pragma once
// Devices under test for the simulators: what the detector reads at a given output
// frequency. Shared by the parallel-port board, the PIC firmware and the MiniVNA models.
//
// The physical devices (bandpass, through, lowpass, notch) sit between the generator and a
// linear detector, so the code is proportional to the volts at the detector:
//
//   code(f) = floor(kDetectorGain * fullScale * G(f) * |H(f)|) + n, clipped to 0..fullScale
//
// with kDetectorGain = 0.95, G(f) = generatorResponse(f) below, |H(f)| the device's own
// magnitude, and n a noise of -1, 0 or +1 count (uniform, from a generator seeded with 12345
// when the model is made, so every run reads the same). A device's response is therefore
// |H| = code(device) / code(through) at the same frequency, in dB 20*log10 of that ratio, to
// within the noise; normalising "through" by itself gives 0 dB. With a converter offset of 0
// the program's volts are proportional to the code too, so a dB difference on its scale is a
// difference of 20*log10|H|, plus the generator's slope unless normalised. The count of noise
// weighs where the code is small: 40 dB down a 10-bit converter reads about 9. The "ramp" and
// "flat" test signals do not pass through the generator or the detector and have no noise.
//
// Magnitudes, with x = f/f0 - f0/f (the detuning of a tuned circuit):
//   through   |H| = 1.
//   bandpass  a tuned circuit, f0 = 5 MHz, loaded Q = 8:  |H| = 1 / sqrt(1 + Q^2 x^2).
//             At L dB below the peak, Q^2 x^2 = 10^(L/10) - 1, and since f1 * f2 = f0^2 the
//             bandwidth there is f2 - f1 = (f0 / Q) * sqrt(10^(L/10) - 1): 625 kHz at 3.01 dB
//             (centre f0 = sqrt(f1 * f2), Q = f0 / bandwidth at 3.01 dB). Unnormalised, the
//             generator's slope moves the peak to 4.9995 MHz and the -3 dB width to 624.8 kHz.
//   lowpass   7th-order Butterworth, fc = 10 MHz:  |H|^2 = 1 / (1 + (f/fc)^14).
//   notch     a band-stop with finite depth, f0 = 7 MHz, Q = 5, depth d = 0.01 (-40 dB):
//             H = (d + jQx) / (1 + jQx), |H|^2 = (d^2 + Q^2 x^2) / (1 + Q^2 x^2); deepest at
//             f0, -3 dB where Q^2 x^2 = 1 - 2 d^2, i.e. 1.4 MHz wide.
//   ramp      floor(f / 10000), clipped to the converter's full scale.
//   flat      (fullScale + 1) / 2.
// The phase detector (MiniVNA) reads the tuned circuit's phase for bandpass and mid-scale
// (0 degrees) for every other device.
#include <QString>
#include <QStringList>
#include <memory>
#include <random>

// The simulated generator's output into the detector relative to its output at 0 Hz, as a
// DDS board delivers it: the sampling's sinc |sin(pi f/fs) / (pi f/fs)| with fs = 100 MHz,
// the reconstruction low-pass (5th-order Butterworth, -3 dB at 40 MHz) and the detector's
// own first-order slope (-3 dB at 40 MHz):
//   G(f) = |sinc(f/fs)| / sqrt(1 + (f/40 MHz)^10) / sqrt(1 + (f/40 MHz)^2).
// About -0.004 dB at 1 MHz, -0.41 dB at 10 MHz, -3.5 dB at 30 MHz. One fixed sampling clock
// for every board: the PIC and MiniVNA models never learn the host's clock, and one curve
// for every configuration keeps a stored "through" valid after a clock change.
double generatorResponse(double freqHz);

class DutModel {
public:
    // A name of kSimulatedDuts (SimulatedDuts.h); nullptr for any other name.
    static std::unique_ptr<DutModel> create(const QString& name);
    static QStringList names();

    virtual ~DutModel() = default;
    // Detector code for the output frequency freqHz on a converter whose largest code is
    // fullScale (255, 1023, ...). Never below 0 or above fullScale.
    virtual int code(double freqHz, int fullScale) = 0;
    // Phase detector code (MiniVNA), 0..fullScale.
    virtual int phaseCode(double freqHz, int fullScale);
};

// A device between the generator and the detector (see above): the code follows
// kDetectorGain * G(f) * |H(f)|, with one count of noise.
class DetectedDut : public DutModel {
public:
    static constexpr double kDetectorGain = 0.95;
    int code(double freqHz, int fullScale) override;
    // |H(f)| of the device alone.
    virtual double magnitude(double freqHz) const = 0;

private:
    std::mt19937 m_noise{12345};
};

class ThroughDut : public DetectedDut {
public:
    double magnitude(double freqHz) const override;
};

class BandpassDut : public DetectedDut {
public:
    double magnitude(double freqHz) const override;
    int phaseCode(double freqHz, int fullScale) override;
};

class LowpassDut : public DetectedDut {
public:
    double magnitude(double freqHz) const override;
};

class NotchDut : public DetectedDut {
public:
    double magnitude(double freqHz) const override;
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
