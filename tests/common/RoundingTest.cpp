#include "Rounding.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(Rounding, WholeNumbersHalvesToEven) {
    EXPECT_EQ(roundHalfEven(0.5), 0.0);
    EXPECT_EQ(roundHalfEven(1.5), 2.0);
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(-3.5), -4.0);
    EXPECT_EQ(roundHalfEven(2.5000001), 3.0);
    EXPECT_EQ(roundHalfEven(-2.4999), -2.0);
    // (stop - start) / 400 for a 1000 Hz range: 2.5 Hz per step -> 2.
    EXPECT_EQ(roundHalfEven((1001000.0 - 1000000.0) / 400.0), 2.0);
}

TEST(Rounding, DecimalsHalvesToEvenOnTheDecimalForm) {
    EXPECT_DOUBLE_EQ(roundHalfEven(0.0025, 3), 0.002);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.0035, 3), 0.004);
    EXPECT_DOUBLE_EQ(roundHalfEven(2.675, 2), 2.68);
    EXPECT_DOUBLE_EQ(roundHalfEven(2.665, 2), 2.66);
    EXPECT_DOUBLE_EQ(roundHalfEven(-1.005, 2), -1.0);
    EXPECT_DOUBLE_EQ(roundHalfEven(1.2346, 3), 1.235);
    EXPECT_DOUBLE_EQ(roundHalfEven(-6.0206, 2), -6.02);
    EXPECT_DOUBLE_EQ(roundHalfEven(9.9995, 3), 10.0);
    // raw x step + offset as the table computes it: 1023 x 0.0049 + 0.0005 = 5.013.
    EXPECT_DOUBLE_EQ(roundHalfEven(1023 * 0.0049 + 0.0005, 3), 5.013);
    EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""), 3)));
}

TEST(Rounding, Int16RangeAndOverflow) {
    EXPECT_EQ(toInt16(32767.4), qint16(32767));
    EXPECT_EQ(toInt16(32766.5), qint16(32766));
    EXPECT_EQ(toInt16(32767.5), std::nullopt); // rounds to 32768
    EXPECT_EQ(toInt16(-32768.5), qint16(-32768));
    EXPECT_EQ(toInt16(-32769.0), std::nullopt);
    EXPECT_EQ(toInt16(1e300), std::nullopt);
    EXPECT_EQ(toInt16(std::nan("")), std::nullopt);
    EXPECT_EQ(toInt16(std::numeric_limits<double>::infinity()), std::nullopt);
    bool ok = true;
    EXPECT_EQ(toInt16(40000.0, &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(toInt16(-7.5, &ok), -8);
    EXPECT_TRUE(ok);
}

TEST(Rounding, Int32AndByteRangeAndOverflow) {
    EXPECT_EQ(toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(toInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(toInt32(-2147483648.0), std::numeric_limits<qint32>::min());
    EXPECT_EQ(toInt32(1e10), std::nullopt);
    EXPECT_EQ(toInt32(99999999.5), 100000000);
    bool ok = true;
    EXPECT_EQ(toInt32(-1e12, &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(toByte(254.5), quint8(254));
    EXPECT_EQ(toByte(255.5), std::nullopt);
    EXPECT_EQ(toByte(-0.5), quint8(0));
    EXPECT_EQ(toByte(-1.0), std::nullopt);
}

} // namespace
