// Frequency words, byte split, multiplier byte and detector averaging.
#include "LptWire.h"
#include "Rounding.h"

#include <gtest/gtest.h>

using namespace lptwire;

TEST(LptWire, FrequencyWordsOfTheThreeChips) {
    // AD9850 at 125 MHz, 10 MHz.
    const double w = frequencyWord(0.0, kTwo32 / 125e6, 10e6);
    EXPECT_EQ(w, 343597384.0);
    const auto bytes = splitWord(w);
    EXPECT_EQ(bytes[0], 0x48);
    EXPECT_EQ(bytes[1], 0xE1);
    EXPECT_EQ(bytes[2], 0x7A);
    EXPECT_EQ(bytes[3], 0x14);
    // The offset is a word correction per hertz: 0.001 at 10 MHz adds 10000.
    EXPECT_EQ(frequencyWord(0.001, kTwo32 / 125e6, 10e6), 343597384.0 + 10000.0);
    // Halves go to the even neighbour.
    EXPECT_EQ(frequencyWord(0.0, 0.5, 5.0), 2.0);
    EXPECT_EQ(frequencyWord(0.0, 0.5, 7.0), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
}

TEST(LptWire, WordRangeAndSplitEdges) {
    EXPECT_TRUE(wordFits(0.0));
    EXPECT_TRUE(wordFits(kMaxWord));
    EXPECT_FALSE(wordFits(kTwo32));
    EXPECT_FALSE(wordFits(-1.0));
    EXPECT_FALSE(wordFits(0.5));
    EXPECT_FALSE(wordFits(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(wordFits(std::numeric_limits<double>::infinity()));
    const auto top = splitWord(kMaxWord);
    for (uint8_t b : top)
        EXPECT_EQ(b, 0xFF);
    const auto mid = splitWord(65536.0 + 255.0);
    EXPECT_EQ(mid[0], 0xFF);
    EXPECT_EQ(mid[1], 0x00);
    EXPECT_EQ(mid[2], 0x01);
    EXPECT_EQ(mid[3], 0x00);
}

TEST(LptWire, Ad9951MultiplierByte) {
    EXPECT_EQ(ad9951ControlByte(4), std::optional<uint8_t>(0x21));
    EXPECT_EQ(ad9951ControlByte(1), std::optional<uint8_t>(0x09));
    EXPECT_EQ(ad9951ControlByte(31), std::optional<uint8_t>(0xF9));
    EXPECT_FALSE(ad9951ControlByte(0));
    EXPECT_FALSE(ad9951ControlByte(32));
    EXPECT_FALSE(ad9951ControlByte(-1));
}

TEST(LptWire, DetectorAveraging) {
    // Slow: the second and third of three reads.
    EXPECT_EQ(slowAverage(101, 102), 102); // 101.5 to the even 102
    EXPECT_EQ(slowAverage(100, 101), 100); // 100.5 to the even 100
    // Very slow: reads 3 to 7 without their largest.
    EXPECT_EQ(verySlowAverage({999, 999, 10, 50, 12, 11, 13}), 12); // 11.5 to 12
    EXPECT_EQ(verySlowAverage({0, 0, 7, 7, 7, 7, 7}), 7);
    EXPECT_EQ(verySlowAverage({500, 0, 1023, 1023, 1023, 1023, 1023}), 1023);
    // The largest is dropped wherever it stands; reads 1 and 2 never count.
    EXPECT_EQ(verySlowAverage({1000, 1000, 90, 1, 2, 3, 4}), 2); // 2.5 to the even 2
}
