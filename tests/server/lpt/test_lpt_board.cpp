// The simulated board decoded from pin edges, driven here as a host would drive the port.
#include "LptBoard.h"

#include <gtest/gtest.h>

namespace {
constexpr int kData = 0, kStatus = 1, kControl = 2;

// Minimal host-side line driver, written from the chips' timing diagrams.
struct Lines {
    LptBoard& board;
    uint8_t data = 0;
    void set(uint8_t bits, bool on) {
        data = on ? (data | bits) : (data & ~bits);
        board.write(kData, data);
    }
    void ddsBit(bool b) { // D0 data, D1 W_CLK rising edge
        set(0x01, b);
        set(0x02, true);
        set(0x02, false);
    }
    void lsbByte(uint8_t b) {
        for (int k = 0; k < 8; ++k)
            ddsBit((b >> k) & 1);
    }
    void msbByte(uint8_t b) {
        for (int k = 7; k >= 0; --k)
            ddsBit((b >> k) & 1);
    }
    void update() { // FQ_UD low then high
        set(0x04, false);
        set(0x04, true);
    }
};

struct Fixture : ::testing::Test {
    LptBoard board{DutModel::create(QStringLiteral("ramp"))};
    Lines lines{board};
    void SetUp() override { board.setPaced(false); }

    // One converter read: clock low, select, then per bit sample/clock as given.
    int adcRead(int bits, bool sampleAfterRise) {
        uint8_t c = 0x01;
        board.write(kControl, c);
        c |= 0x02;
        board.write(kControl, c);
        int v = 0;
        for (int n = bits - 1; n >= 0; --n) {
            if (sampleAfterRise) {
                board.write(kControl, c & ~0x01);
                if (board.read(kStatus) & 0x20)
                    v |= 1 << n;
                board.write(kControl, c);
            } else {
                if (board.read(kStatus) & 0x20)
                    v |= 1 << n;
                board.write(kControl, c & ~0x01);
                board.write(kControl, c);
            }
        }
        board.write(kControl, c & ~0x02);
        return v;
    }
};
} // namespace

TEST_F(Fixture, Ad9850LoadIsFortyBitsLsbFirst) {
    board.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 125e6);
    lines.set(0x04, false);
    for (uint8_t b : {0x48, 0xE1, 0x7A, 0x14, 0x00})
        lines.lsbByte(b);
    lines.set(0x04, true);
    ASSERT_EQ(board.dds().log().size(), 1);
    const auto& r = board.dds().log().first();
    EXPECT_EQ(r.kind, DdsChip::Record::Kind::Load);
    EXPECT_EQ(r.bits, 40);
    EXPECT_EQ(r.word, 343597384u);
    EXPECT_EQ(r.control, 0);
    EXPECT_NEAR(board.dds().outputHz(), 10e6, 0.03);
    EXPECT_EQ(board.dds().serialBytes(), (QList<uint8_t>{0x48, 0xE1, 0x7A, 0x14, 0x00}));

    // The AD9850 ignores control bit 32; the AD9851 multiplies its clock by six.
    lines.set(0x04, false);
    for (uint8_t b : {0x48, 0xE1, 0x7A, 0x14, 0x01})
        lines.lsbByte(b);
    lines.set(0x04, true);
    EXPECT_NEAR(board.dds().outputHz(), 10e6, 0.03);
    board.configure(QStringLiteral("AD9851"), QStringLiteral("10bit"), 30e6);
    lines.set(0x04, false);
    for (uint8_t b : {0x48, 0xE1, 0x7A, 0x14, 0x01})
        lines.lsbByte(b);
    lines.set(0x04, true);
    EXPECT_NEAR(board.dds().outputHz(), 343597384.0 * 180e6 / 4294967296.0, 1e-6);
}

TEST_F(Fixture, ResetClearsTheWordAndAShortLoadIsSeenAsShort) {
    board.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6);
    lines.set(0x04, false);
    for (uint8_t b : {0x00, 0x00, 0x00, 0x10, 0x00})
        lines.lsbByte(b);
    lines.set(0x04, true);
    EXPECT_GT(board.dds().outputHz(), 0.0);
    lines.set(0x08, true);
    lines.set(0x08, false);
    EXPECT_EQ(board.dds().outputHz(), 0.0);
    EXPECT_EQ(board.dds().log().last().kind, DdsChip::Record::Kind::Reset);
    lines.set(0x04, false);
    lines.lsbByte(0xFF);
    lines.set(0x04, true);
    EXPECT_EQ(board.dds().log().last().bits, 8);
}

TEST_F(Fixture, Ad9951RegistersAndUpdate) {
    board.configure(QStringLiteral("AD9951"), QStringLiteral("10bit"), 20e6);
    lines.set(0x04, false);
    for (uint8_t b : {0x01, 0x00, 0x00, 0x21})
        lines.msbByte(b);
    lines.update();
    for (uint8_t b : {0x04, 0x20, 0x00, 0x00, 0x00})
        lines.msbByte(b);
    EXPECT_EQ(board.dds().outputHz(), 0.0); // buffered until the I/O update
    lines.update();
    const auto& log = board.dds().log();
    ASSERT_GE(log.size(), 4);
    EXPECT_EQ(log[0].kind, DdsChip::Record::Kind::Register);
    EXPECT_EQ(log[0].address, 1);
    EXPECT_EQ(log[0].bytes, (QList<uint8_t>{0x00, 0x00, 0x21}));
    EXPECT_EQ(log[2].address, 4);
    EXPECT_EQ(board.dds().activeWord(), 0x20000000u);
    EXPECT_DOUBLE_EQ(board.dds().systemClock(), 80e6); // multiplier 4
    EXPECT_DOUBLE_EQ(board.dds().outputHz(), 10e6);
}

TEST_F(Fixture, ConvertersDeliverThePreviousConversion) {
    board.configure(QStringLiteral("AD9850"), QStringLiteral("8bit"), 100e6);
    auto loadHz = [&](double hz) {
        const auto w = static_cast<uint32_t>(hz / 100e6 * 4294967296.0 + 0.5);
        lines.set(0x04, false);
        for (int k = 0; k < 4; ++k)
            lines.lsbByte(static_cast<uint8_t>(w >> (8 * k)));
        lines.lsbByte(0);
        lines.set(0x04, true);
    };
    loadHz(1.005e6); // ramp: code 100
    adcRead(8, false);
    loadHz(1.505e6);
    EXPECT_EQ(adcRead(8, false), 100);
    EXPECT_EQ(adcRead(8, false), 150);
    // The TLC1549 gives ten bits, sampled after each rising clock edge.
    board.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6);
    loadHz(7.005e6);
    adcRead(10, true);
    EXPECT_EQ(adcRead(10, true), 700);
    loadHz(20e6);
    adcRead(10, true);
    EXPECT_EQ(adcRead(10, true), 1023); // clipped at full scale
    EXPECT_TRUE(board.pin(14));         // deselected after the read
    EXPECT_FALSE(board.pin(1));         // clock left low
    EXPECT_EQ(board.adc().delivered().last(), 1023);
}

TEST_F(Fixture, ShiftRegistersLatchTheirOwnOutput) {
    auto shiftOut = [&](uint8_t value, uint8_t latch) {
        for (int k = 0; k < 8; ++k) {
            lines.set(0x01, (value >> k) & 1);
            lines.set(0x20, true);
            lines.set(0x20, false);
        }
        lines.set(latch, true);
        lines.set(latch, false);
    };
    shiftOut(0x01, 0x40);
    EXPECT_EQ(board.aux1().outputs(), 0x01);
    EXPECT_EQ(board.aux2().outputs(), 0x00); // shifted too, but not latched
    shiftOut(0xA5, 0x80);
    EXPECT_EQ(board.aux1().outputs(), 0x01);
    EXPECT_EQ(board.aux2().outputs(), 0xA5);
    EXPECT_EQ(board.aux2().latched(), (QList<uint8_t>{0xA5}));
}

TEST_F(Fixture, I2cBytesBetweenStartAndStop) {
    auto bus = [&](bool sda, bool scl) {
        uint8_t d = lines.data & ~0x11;
        d |= (sda ? 0x01 : 0) | (scl ? 0x10 : 0);
        lines.data = d;
        board.write(kData, d);
    };
    bus(true, true);
    bus(false, true); // start
    bus(false, false);
    for (uint8_t b : {0x50, 0xA9, 0x7F}) {
        for (int k = 7; k >= 0; --k) {
            bus((b >> k) & 1, false);
            bus((b >> k) & 1, true);
            bus((b >> k) & 1, false);
        }
        bus(false, false);
        bus(false, true); // acknowledge clock
        bus(false, false);
    }
    bus(false, true);
    bus(true, true); // stop
    ASSERT_EQ(board.pot().transfers().size(), 1);
    const auto& t = board.pot().transfers().first();
    EXPECT_EQ(t.bytes, (QList<uint8_t>{0x50, 0xA9, 0x7F}));
    EXPECT_EQ(t.ackClocks, 3);
    EXPECT_TRUE(t.stopped);
    EXPECT_EQ(board.pot().wiper(), 0x7F);
}

TEST_F(Fixture, RegistersAndCounts) {
    board.resetCounts();
    board.write(kControl, 0x04);
    EXPECT_TRUE(board.pin(16));
    EXPECT_TRUE(board.pin(1)); // bit 0 clear: pin 1 high
    EXPECT_EQ(board.read(kControl), 0x04);
    board.write(kData, 0x81);
    EXPECT_TRUE(board.pin(2));
    EXPECT_TRUE(board.pin(9));
    EXPECT_FALSE(board.pin(5));
    EXPECT_EQ(board.read(kData), 0x81);
    EXPECT_EQ(board.read(7), 0xFF);
    EXPECT_EQ(board.reads(), 3u);
    EXPECT_EQ(board.writes(), 2u);
}

TEST_F(Fixture, DecodeLogsKeepTheNewest4096EntriesAndTheEventsGoOn) {
    // Hours of sweeping must not grow the board: each log keeps its newest 4096 entries (the
    // serial bytes 16384), and the board's event record goes on past a full DDS log.
    board.configure(QStringLiteral("AD9850"), QStringLiteral("8bit"), 100e6);
    QStringList trace;
    auto sink = [&](const QString& line) { trace << line; };
    board.dds().setTrace(sink);
    const int loads = 5000;
    for (int n = 1; n <= loads; ++n) {
        lines.set(0x04, false);
        for (int k = 0; k < 4; ++k)
            lines.lsbByte(static_cast<uint8_t>(n >> (8 * k)));
        lines.lsbByte(0);
        lines.set(0x04, true);
        adcRead(8, false);
        for (int k = 0; k < 8; ++k) { // one AUX1 latch per load
            lines.set(0x01, (n >> k) & 1);
            lines.set(0x20, true);
            lines.set(0x20, false);
        }
        lines.set(0x40, true);
        lines.set(0x40, false);
    }
    const auto& log = board.dds().log();
    ASSERT_EQ(log.size(), 4096);
    EXPECT_EQ(log.first().word, uint32_t(loads - 4096 + 1));
    EXPECT_EQ(log.last().word, uint32_t(loads));
    EXPECT_EQ(board.dds().serialBytes().size(), 16384);
    EXPECT_EQ(board.adc().delivered().size(), 4096);
    EXPECT_EQ(board.adc().reads(), loads); // the count is not cut
    EXPECT_EQ(board.aux1().latched().size(), 4096);
    EXPECT_EQ(board.aux1().latched().last(), uint8_t(loads & 0xFF));
    const auto& events = board.events();
    ASSERT_EQ(events.size(), 4096);
    EXPECT_EQ(events.at(events.size() - 2).kind, LptBoard::Event::Kind::DdsLoad);
    EXPECT_EQ(events.at(events.size() - 2).value, loads);
    EXPECT_EQ(events.last().kind, LptBoard::Event::Kind::AdcRead);
    ASSERT_EQ(trace.size(), loads);
    EXPECT_EQ(trace.first(), QStringLiteral("load 1 control 0x00 bits 40 -> 0.023 Hz"));
    EXPECT_TRUE(trace.last().startsWith(QStringLiteral("load 5000 control 0x00 bits 40")));

    board.clearLogs();
    EXPECT_TRUE(board.dds().log().isEmpty());
    EXPECT_EQ(board.adc().reads(), 0);
    EXPECT_TRUE(board.events().isEmpty());
}
