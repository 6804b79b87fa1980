// Golden bytes of the PIC board's and the MiniVNA's wire formats, host side and model side.
#include "DutModel.h"
#include "PicFirmware.h"
#include "PicProtocol.h"
#include "VnaFirmware.h"
#include "VnaProtocol.h"

#include <gtest/gtest.h>

namespace {
QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}
} // namespace

TEST(PicWire, FramesPadAndTruncateTheArgumentToNineDigits) {
    EXPECT_EQ(picwire::encodeFrame("B", 1000000), QByteArray(":B001000000\r"));
    EXPECT_EQ(picwire::encodeFrame("A", 0), QByteArray(":A000000000\r"));
    EXPECT_EQ(picwire::encodeFrame("A", 1234567890), QByteArray(":A234567890\r"));
    EXPECT_EQ(picwire::encodeFrame("*", 0), QByteArray(":*000000000\r"));
    EXPECT_EQ(picwire::encodeFrame("F", 1), QByteArray(":F000000001\r"));
}

TEST(PicWire, OnlyTheFirstFiveCharactersOfAReplyCount) {
    EXPECT_TRUE(picwire::isAcknowledged("ACK\r\n"));
    EXPECT_TRUE(picwire::isAcknowledged("\r\nACK"));
    EXPECT_FALSE(picwire::isAcknowledged("xxxACK"));
    EXPECT_FALSE(picwire::isAcknowledged("NAK\r\n"));
    EXPECT_FALSE(picwire::isAcknowledged(""));
}

TEST(PicWire, BlockReadingsUse255AsTheHighByteWeight) {
    QByteArray block;
    for (int i = 0; i < 400; ++i)
        block += bytes({i % 255, i / 255});
    block[2 * 9] = 4; // reading 10 = 4 + 255 x 4 = 1024: still valid
    block[2 * 9 + 1] = 4;
    QList<qint16> v(406, -7);
    const auto r = picwire::decodeBlock(block, v);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(v[0], -7); // index 0 and 401.. are not the block's
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[10], 1024);
    EXPECT_EQ(v[400], 399);
    EXPECT_EQ(v[401], -7);
}

TEST(PicWire, OverflowStopsTheBlockAndShortBlocksAreRefused) {
    QByteArray block(800, '\0');
    block[0] = 1;
    block[2 * 199] = 5; // reading 200 = 5 + 255 x 4 = 1025
    block[2 * 199 + 1] = 4;
    block[2 * 300] = 9;
    QList<qint16> v(406, -1);
    const auto r = picwire::decodeBlock(block, v);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.overflowAt, 200);
    EXPECT_EQ(v[1], 1); // written before the overflow
    EXPECT_EQ(v[199], 0);
    EXPECT_EQ(v[200], -1); // not written
    EXPECT_EQ(v[301], -1);

    QList<qint16> w(406, -1);
    EXPECT_FALSE(picwire::decodeBlock(QByteArray(799, '\0'), w).ok);
    EXPECT_EQ(w[1], -1);
    QList<qint16> tooSmall(400, 0);
    EXPECT_FALSE(picwire::decodeBlock(QByteArray(800, '\0'), tooSmall).ok);
}

TEST(VnaWire, RequestLinesCarryABlankBeforeNonNegativeNumbers) {
    const auto lines = vnawire::requestLines(0, 42949673, 400, 429497);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QByteArray(" 0\r"));
    EXPECT_EQ(lines[1], QByteArray(" 42949673\r"));
    EXPECT_EQ(lines[2], QByteArray(" 400\r"));
    EXPECT_EQ(lines[3], QByteArray(" 429497\r"));
    EXPECT_EQ(vnawire::requestLines(1, -5, 1, 1)[1], QByteArray("-5\r"));
    EXPECT_EQ(vnawire::modeByte(3), 1);
    EXPECT_EQ(vnawire::modeByte(2), 0);
}

TEST(VnaWire, FactorAndTuningWords) {
    const auto f = vnawire::conversionFactor(1, 100000000.0, 0.0);
    ASSERT_TRUE(f);
    EXPECT_DOUBLE_EQ(*f, 42.94967296);
    EXPECT_EQ(vnawire::tuningWord(1000000, *f), 42949673);
    EXPECT_EQ(vnawire::tuningWord(100000000, *f), std::nullopt); // beyond 32 bits signed
    EXPECT_DOUBLE_EQ(*vnawire::conversionFactor(1, 100000000.0, 0.001), 42.95067296);
    EXPECT_FALSE(vnawire::conversionFactor(1, 0.0, 0.0));
    EXPECT_FALSE(vnawire::conversionFactor(0, 100000000.0, 0.0));
    // Halves go to the even word.
    EXPECT_EQ(vnawire::tuningWord(5, 0.5), 2);
    EXPECT_EQ(vnawire::tuningWord(7, 0.5), 4);
    EXPECT_EQ(vnawire::tuningWord(-7, 0.5), -4);
}

TEST(VnaWire, RecordsGiveOnlyTheBytesOfTheKind) {
    // record: phase low, high, magnitude low, high
    const QByteArray recs =
        bytes({0x10, 0x01, 0x20, 0x02, 0xff, 0x03, 0x00, 0x04, 0x05, 0x00, 0x06, 0x00});
    QList<double> phase(401, -1.0);
    vnawire::unpackRecords(recs, 3, 1, phase);
    EXPECT_EQ(phase[0], -1.0);
    EXPECT_EQ(phase[1], 0x110);
    EXPECT_EQ(phase[2], 1023);
    EXPECT_EQ(phase[3], 5);
    EXPECT_EQ(phase[4], -1.0);
    QList<double> mag(401, -1.0);
    vnawire::unpackRecords(recs, 3, 3, mag);
    EXPECT_EQ(mag[1], 0x220);
    EXPECT_EQ(mag[2], -1.0); // high byte 4: not a reading, element kept
    EXPECT_EQ(mag[3], 6);
    QList<double> none(401, -1.0);
    vnawire::unpackRecords(recs, 3, 4, none);
    EXPECT_EQ(none[1], -1.0);
    // A short buffer or a count past the vector never reads or writes out of range.
    QList<double> small(3, -1.0);
    vnawire::unpackRecords(recs.left(6), 400, 2, small);
    EXPECT_EQ(small[1], 0x220);
    EXPECT_EQ(small[2], -1.0);
}

TEST(PicModel, AnswersFramesSplitAcrossWritesAndIgnoresNoise) {
    PicFirmware pic(DutModel::create(QStringLiteral("ramp")));
    pic.hostBytes("zz\r:B00");
    pic.hostBytes("1000000");
    EXPECT_FALSE(pic.hasOutput());
    pic.hostBytes("\r");
    EXPECT_EQ(pic.takeOutput(100), QByteArray("ACK\r\n"));
    EXPECT_EQ(pic.startHz(), 1000000);
    pic.hostBytes(":*000000000\r:X\r"); // reset: no answer; a short frame is noise
    EXPECT_FALSE(pic.hasOutput());
    EXPECT_EQ(pic.log(), QStringList({QStringLiteral("CR"), QStringLiteral("B 1000000"),
                                      QStringLiteral("* 0")}));
}

TEST(PicModel, SweepsBlocksUntilEAndWaitsForTheHostWhenSlow) {
    PicFirmware pic(DutModel::create(QStringLiteral("ramp")));
    pic.hostBytes(":B001000000\r:D000010000\r:F000000001\r");
    EXPECT_EQ(pic.takeOutput(15), QByteArray("ACK\r\nACK\r\nACK\r\n"));
    const QByteArray block = pic.takeOutput(5000);
    ASSERT_EQ(block.size(), 802); // slow host: one block, then it waits for the CR
    EXPECT_EQ(block.front(), ':');
    EXPECT_EQ(block.back(), '\r');
    // point 1 at 1 MHz: ramp 100; point 400 at 4.99 MHz: 499 = 244 + 255 x 1
    EXPECT_EQ(block.mid(1, 2), bytes({100, 0}));
    EXPECT_EQ(block.mid(799, 2), bytes({244, 1}));
    EXPECT_FALSE(pic.hasOutput());
    pic.hostBytes("\r");
    EXPECT_EQ(pic.takeOutput(1).size(), 1);
    pic.hostBytes("E");
    EXPECT_FALSE(pic.hasOutput()); // the block under way is abandoned
}

TEST(PicModel, InjectsFaults) {
    PicFirmware pic(DutModel::create(QStringLiteral("flat")));
    pic.setFault(FirmwareFault::NoAck);
    pic.hostBytes(":A000000001\r");
    EXPECT_EQ(pic.takeOutput(10), QByteArray("NAK\r\n"));
    pic.setFault(FirmwareFault::NoAck, false);
    pic.setFault(FirmwareFault::Overflow);
    pic.setFault(FirmwareFault::NoEnd);
    pic.hostBytes(":F000000000\r");
    pic.takeOutput(5);
    const QByteArray two = pic.takeOutput(1604);
    EXPECT_EQ(two.mid(1 + 2 * 199, 2), bytes({5, 4}));       // 1025
    EXPECT_EQ(two.mid(802 + 1 + 2 * 199, 2), bytes({4, 4})); // 1024
    EXPECT_EQ(two.at(801), '!');
}

TEST(VnaModel, AnswersAFourLineRequestWithCountRecords) {
    VnaFirmware vna(DutModel::create(QStringLiteral("flat")));
    vna.hostBytes(" 0\r 4294");
    vna.hostBytes("9673\r 2\r");
    EXPECT_FALSE(vna.hasOutput());
    vna.hostBytes(" 1\r");
    // flat: phase and magnitude mid-scale, 512 = (0, 2)
    EXPECT_EQ(vna.takeOutput(100), bytes({0, 2, 0, 2, 0, 2, 0, 2}));
    EXPECT_EQ(vna.log(), QStringList(QStringLiteral("0 42949673 2 1")));
    vna.hostBytes("x\r 0\r 1\r 1\r"); // a garbled line starts the request over
    EXPECT_FALSE(vna.hasOutput());
    vna.setFault(FirmwareFault::Truncate);
    vna.hostBytes(" 1\r");
    EXPECT_EQ(vna.takeOutput(100).size(), 3); // one response one byte short, then whole again
    vna.hostBytes(" 0\r 0\r 1\r 1\r");
    EXPECT_EQ(vna.takeOutput(100).size(), 4);
}

TEST(FirmwareModels, LogsKeepTheNewest4096EntriesAndTraceEveryOne) {
    // A demo runs for hours: the decode logs keep only their newest 4096 entries, while a
    // trace sink (tarvex --sim-log) receives every entry in order.
    PicFirmware pic(DutModel::create(QStringLiteral("flat")));
    QStringList picTrace;
    pic.setTrace([&](const QString& line) { picTrace << line; });
    for (int i = 1; i <= 5000; ++i)
        pic.hostBytes(QStringLiteral(":A%1\r").arg(i, 9, 10, QLatin1Char('0')).toLatin1());
    ASSERT_EQ(pic.log().size(), 4096);
    EXPECT_EQ(pic.log().first(), QStringLiteral("A 905"));
    EXPECT_EQ(pic.log().last(), QStringLiteral("A 5000"));
    ASSERT_EQ(picTrace.size(), 5000);
    EXPECT_EQ(picTrace.first(), QStringLiteral("A 1"));
    EXPECT_EQ(picTrace.last(), QStringLiteral("A 5000"));

    VnaFirmware vna(DutModel::create(QStringLiteral("flat")));
    for (int i = 1; i <= 5000; ++i)
        vna.hostBytes(QStringLiteral(" 0\r %1\r 1\r 1\r").arg(i).toLatin1());
    EXPECT_EQ(vna.requests(), 5000);
    ASSERT_EQ(vna.log().size(), 4096);
    EXPECT_EQ(vna.log().first(), QStringLiteral("0 905 1 1"));
    EXPECT_EQ(vna.log().last(), QStringLiteral("0 5000 1 1"));
}
