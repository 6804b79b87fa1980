#include "DutModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kCentreHz = 5.0e6;
constexpr double kQ = 8.0;

double bandpassMagnitude(double f) {
    if (f <= 0.0)
        return 0.0;
    const double detune = f / kCentreHz - kCentreHz / f;
    return 1.0 / std::sqrt(1.0 + kQ * kQ * detune * detune);
}

int clampCode(double v, int fullScale) {
    return static_cast<int>(std::clamp(std::floor(v), 0.0, static_cast<double>(fullScale)));
}
} // namespace

std::unique_ptr<DutModel> DutModel::create(const QString& name) {
    if (name == QLatin1String("bandpass"))
        return std::make_unique<BandpassDut>();
    if (name == QLatin1String("ramp"))
        return std::make_unique<RampDut>();
    if (name == QLatin1String("flat"))
        return std::make_unique<FlatDut>();
    return nullptr;
}

QStringList DutModel::names() {
    return {QStringLiteral("bandpass"), QStringLiteral("ramp"), QStringLiteral("flat")};
}

int DutModel::phaseCode(double, int fullScale) {
    return (fullScale + 1) / 2;
}

int BandpassDut::code(double freqHz, int fullScale) {
    std::uniform_int_distribution<int> noise(-1, 1);
    const double level = 0.04 + 0.9 * bandpassMagnitude(freqHz);
    return clampCode(level * fullScale + noise(m_noise), fullScale);
}

int BandpassDut::phaseCode(double freqHz, int fullScale) {
    if (freqHz <= 0.0)
        return 0;
    // Phase of a tuned circuit, -90..+90 degrees, mapped onto the converter's range.
    const double detune = freqHz / kCentreHz - kCentreHz / freqHz;
    const double phase = -std::atan(kQ * detune); // -pi/2 .. pi/2
    return clampCode((phase / std::numbers::pi + 0.5) * fullScale, fullScale);
}

int RampDut::code(double freqHz, int fullScale) {
    return clampCode(freqHz / 10000.0, fullScale);
}

int FlatDut::code(double, int fullScale) {
    return (fullScale + 1) / 2;
}
