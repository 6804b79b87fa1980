#pragma once
// The wire of the parallel-port DDS and detector as pure functions: frequency words and
// their byte split, the AD9951 multiplier byte and the detector averaging. No I/O.
#include <array>
#include <cstdint>
#include <optional>

namespace lptwire {

inline constexpr double kTwo32 = 4294967296.0;
inline constexpr double kMaxWord = 4294967295.0;

// Frequency word of freqHz: Round((offset + factor) x freqHz), where factor is word units
// per hertz and offset a correction per hertz (the configured offset / 1000).
double frequencyWord(double offset, double factor, double freqHz);

// True when w can be loaded: a whole number 0 .. 2^32 - 1.
bool wordFits(double w);

// The four bytes of a word, least significant first (byte0 .. byte3). w must fit.
std::array<uint8_t, 4> splitWord(double w);

// AD9951 CFR2 low byte for a reference multiplier: multiplier in bits 7..3, bit 0 set.
// Empty when the multiplier does not fit the five bits (accepted: 1 .. 31).
std::optional<uint8_t> ad9951ControlByte(int multiplier);

// Whether a reference multiplier can be written for the chip: the AD9951 takes 0 .. 31 (the
// five bits of CFR2; 0 is refused later, at the initialisation, as it divides), the AD9850 and
// AD9851 0 .. 255 (1 means the AD9851's 6x multiplier, anything else none).
bool multiplierFits(bool ad9951, int multiplier);

// Control byte of an AD9850/AD9851 load (bits 32..39) for a multiplier: 0x01 (bit 32, the
// AD9851's 6x multiplier) for 1, else 0x00. Bit 33 is a factory test bit that must stay 0,
// bit 34 powers the chip down and bits 35..39 shift its phase: the host never sets them.
uint8_t ad985xControlByte(int multiplier);

// Slow speed: the mean of the second and third of three reads, halves to even.
int slowAverage(int r2, int r3);
// Very slow speed: seven reads in order; the mean of reads 3 to 7 without their largest.
int verySlowAverage(const std::array<int, 7>& reads);

} // namespace lptwire
