// cAsyncLPT: the serial A/D converter (TLC549, TLC1549) on control bits 0/1 and status bit 5.
#include "LptWire.h"
#include "PortIo.h"
#include "cAsyncLPT.h"

#include <array>

namespace {
constexpr int32_t kClock = 0x01;  // set: pin 1 low
constexpr int32_t kSelect = 0x02; // set: pin 14 low, chip selected
constexpr uint32_t kData = 0x20;  // status bit 5, pin 12
// Chip select to the first clock: the converters need about 1.4 us.
constexpr int kSelectSettleNs = 2000;

} // namespace

short cAsyncLPT::aReadADC() {
    if (!requirePort("aReadADC"))
        return 0;
    return readDetector(m_velocita);
}

short cAsyncLPT::readDetector(int speed) {
    if (speed == 1) {
        rawRead(); // still the conversion of the previous point
        const int r2 = rawRead();
        const int r3 = rawRead();
        return static_cast<short>(lptwire::slowAverage(r2, r3));
    }
    if (speed == 2) {
        std::array<int, 7> reads{};
        for (int& r : reads)
            r = rawRead();
        return static_cast<short>(lptwire::verySlowAverage(reads));
    }
    return static_cast<short>(rawRead());
}

int cAsyncLPT::rawRead() {
    return m_tipoADC == QLatin1String("8bit") ? leggiTLC549() : leggiTLC1549();
}

// Clock low, then the chip selected; the image is read once and then only written.
void cAsyncLPT::selectConverter() {
    m_valoreControllo = static_cast<int32_t>(readRegister(2));
    setControlBits(kClock, true);
    setControlBits(kSelect, true);
    m_port->settle(kSelectSettleNs);
}

// The chip deselected; the clock stays low.
void cAsyncLPT::deselectConverter() {
    setControlBits(kSelect, false);
}

void cAsyncLPT::setControlBits(int32_t bits, bool set) {
    if (set)
        m_valoreControllo |= bits;
    else
        m_valoreControllo &= ~bits;
    writeRegister(2, static_cast<uint32_t>(m_valoreControllo));
}

int cAsyncLPT::leggiTLC549() {
    selectConverter();
    int result = 0;
    // Data is valid before each clock pulse: sample, then clock.
    for (int n = 7; n >= 0; --n) {
        if (readRegister(1) & kData)
            result += 1 << n;
        setControlBits(kClock, false);
        setControlBits(kClock, true);
    }
    deselectConverter();
    return result;
}

int cAsyncLPT::leggiTLC1549() {
    selectConverter();
    int result = 0;
    // Data is sampled while the clock is high, after its rising edge.
    for (int n = 9; n >= 0; --n) {
        setControlBits(kClock, false);
        if (readRegister(1) & kData)
            result += 1 << n;
        setControlBits(kClock, true);
    }
    deselectConverter();
    return result;
}
