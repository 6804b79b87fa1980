#include "LptWire.h"

#include "Rounding.h"

#include <cmath>

namespace lptwire {

double frequencyWord(double offset, double factor, double freqHz) {
    return roundHalfEven((offset + factor) * freqHz);
}

bool wordFits(double w) {
    return w >= 0.0 && w <= kMaxWord && w == std::floor(w);
}

std::array<uint8_t, 4> splitWord(double w) {
    const double hi = std::floor(w / 65536.0);
    const double lo = w - hi * 65536.0;
    const auto loBits = static_cast<uint32_t>(lo);
    const auto hiBits = static_cast<uint32_t>(hi);
    return {static_cast<uint8_t>(loBits & 0xFF), static_cast<uint8_t>(loBits >> 8),
            static_cast<uint8_t>(hiBits & 0xFF), static_cast<uint8_t>(hiBits >> 8)};
}

std::optional<uint8_t> ad9951ControlByte(int multiplier) {
    if (multiplier < 1 || multiplier > 31)
        return std::nullopt;
    return static_cast<uint8_t>(8 * multiplier + 1);
}

bool multiplierFits(bool ad9951, int multiplier) {
    return multiplier >= 0 && multiplier <= (ad9951 ? 31 : 255);
}

uint8_t ad985xControlByte(int multiplier) {
    return multiplier == 1 ? 0x01 : 0x00;
}

int slowAverage(int r2, int r3) {
    return static_cast<int>(roundHalfEven((r2 + r3) / 2.0));
}

int verySlowAverage(const std::array<int, 7>& reads) {
    // Reads 3 to 7 go to w(1)..w(5), w(6) stays 0; one bubble pass moves the largest of
    // them past w(5), so w(1)..w(4) are the other four.
    std::array<int, 8> w{};
    w[0] = reads[0];
    for (int i = 0; i <= 5; ++i)
        w[i] = reads[i + 1];
    for (int j = 1; j <= 5; ++j) {
        if (w[j] > w[j + 1]) {
            w[0] = w[j];
            w[j] = w[j + 1];
            w[j + 1] = w[0];
        }
    }
    return static_cast<int>(roundHalfEven((w[1] + w[2] + w[3] + w[4]) / 4.0));
}

} // namespace lptwire
