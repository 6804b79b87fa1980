#include "DutModel.h"

#include "SimulatedDuts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kSampleClockHz = 100.0e6;
constexpr double kReconstructionHz = 40.0e6; // 5th-order Butterworth
constexpr double kDetectorCornerHz = 40.0e6; // first order

constexpr double kBandpassHz = 5.0e6;
constexpr double kBandpassQ = 8.0;
constexpr double kLowpassHz = 10.0e6;
constexpr double kNotchHz = 7.0e6;
constexpr double kNotchQ = 5.0;
constexpr double kNotchDepth = 0.01;

// f/f0 - f0/f: how far a tuned circuit at f0 is from resonance.
double detune(double f, double f0) {
    return f / f0 - f0 / f;
}

int clampCode(double v, int fullScale) {
    return static_cast<int>(std::clamp(std::floor(v), 0.0, static_cast<double>(fullScale)));
}
} // namespace

double generatorResponse(double freqHz) {
    const double f = std::abs(freqHz);
    const double a = std::numbers::pi * f / kSampleClockHz;
    const double sinc = a == 0.0 ? 1.0 : std::abs(std::sin(a) / a);
    const double lowpass = 1.0 / std::sqrt(1.0 + std::pow(f / kReconstructionHz, 10));
    const double detector = 1.0 / std::sqrt(1.0 + std::pow(f / kDetectorCornerHz, 2));
    return sinc * lowpass * detector;
}

std::unique_ptr<DutModel> DutModel::create(const QString& name) {
    if (name == QLatin1String("bandpass"))
        return std::make_unique<BandpassDut>();
    if (name == QLatin1String("through"))
        return std::make_unique<ThroughDut>();
    if (name == QLatin1String("lowpass"))
        return std::make_unique<LowpassDut>();
    if (name == QLatin1String("notch"))
        return std::make_unique<NotchDut>();
    if (name == QLatin1String("ramp"))
        return std::make_unique<RampDut>();
    if (name == QLatin1String("flat"))
        return std::make_unique<FlatDut>();
    return nullptr;
}

QStringList DutModel::names() {
    return simulatedDutNames();
}

int DutModel::phaseCode(double, int fullScale) {
    return (fullScale + 1) / 2;
}

int DetectedDut::code(double freqHz, int fullScale) {
    std::uniform_int_distribution<int> noise(-1, 1);
    const double level = kDetectorGain * generatorResponse(freqHz) * magnitude(freqHz);
    return clampCode(level * fullScale + noise(m_noise), fullScale);
}

double ThroughDut::magnitude(double) const {
    return 1.0;
}

double BandpassDut::magnitude(double freqHz) const {
    if (freqHz <= 0.0)
        return 0.0;
    const double qx = kBandpassQ * detune(freqHz, kBandpassHz);
    return 1.0 / std::sqrt(1.0 + qx * qx);
}

int BandpassDut::phaseCode(double freqHz, int fullScale) {
    if (freqHz <= 0.0)
        return 0;
    // Phase of a tuned circuit, -90..+90 degrees, mapped onto the converter's range.
    const double phase = -std::atan(kBandpassQ * detune(freqHz, kBandpassHz)); // -pi/2 .. pi/2
    return clampCode((phase / std::numbers::pi + 0.5) * fullScale, fullScale);
}

double LowpassDut::magnitude(double freqHz) const {
    return 1.0 / std::sqrt(1.0 + std::pow(freqHz / kLowpassHz, 14));
}

double NotchDut::magnitude(double freqHz) const {
    if (freqHz <= 0.0)
        return 1.0; // far below the notch
    const double qx = kNotchQ * detune(freqHz, kNotchHz);
    return std::sqrt((kNotchDepth * kNotchDepth + qx * qx) / (1.0 + qx * qx));
}

int RampDut::code(double freqHz, int fullScale) {
    return clampCode(freqHz / 10000.0, fullScale);
}

int FlatDut::code(double, int fullScale) {
    return (fullScale + 1) / 2;
}
