// The sweep's numbers behind the table: frequencies in hertz, raw counts, volts whatever the
// scale, levels in the scale's unit, and the rows never swept.
#include "SweepData.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {
QString local(const char* english) {
    return QString::fromLatin1(english).replace(QLatin1Char('.'), QLocale().decimalPoint());
}
} // namespace

TEST(SweepDataTest, NumbersBehindTheTable) {
    SweepData d;
    QList<bool> changes;
    QObject::connect(&d, &SweepData::changed, [&changes](bool newRange) { changes << newRange; });
    d.rebuild(1000000, 10000, false);
    EXPECT_EQ(d.frequencyOf(400), 4990000);
    EXPECT_EQ(d.text(0, 1), QStringLiteral("dB"));
    EXPECT_EQ(d.text(17, 1), QStringLiteral("0"));
    EXPECT_EQ(d.level(17), 0.0);

    // On "Logarithmic (1V)" the volts stay linear and the level is in dB.
    QVector<double> raw(400, 0.0);
    raw[0] = 200;
    raw[1] = 100;
    d.setReadings(raw.mid(0, 2), 1, 0.005f, 0.0f);
    EXPECT_EQ(d.raw(1), 200.0);
    EXPECT_EQ(d.volts(1), 1.0);
    EXPECT_EQ(d.level(1), 0.0);
    EXPECT_EQ(d.volts(2), 0.5);
    EXPECT_EQ(d.level(2), -6.02);
    EXPECT_EQ(d.text(2, 1), local("-6.0"));
    EXPECT_EQ(d.text(3, 1), QStringLiteral("0")); // not in that sweep

    // Converted again, a row never swept reads the count 0: here the offset.
    d.convertAll(0, 0.005f, 0.25f);
    EXPECT_EQ(d.text(0, 1), QStringLiteral("Volt"));
    EXPECT_EQ(d.volts(3), 0.25);
    EXPECT_EQ(d.level(3), 0.25);
    EXPECT_EQ(d.text(3, 1), local("0.250"));
    EXPECT_EQ(d.volts(1), 1.25);

    // A file's rows keep its frequencies; a typed frequency still finds its row on the grid.
    QVector<qint64> f(400);
    QVector<double> volts(400, 0.125);
    for (int i = 0; i < 400; ++i)
        f[i] = 2000000 + 1000 * i;
    f[1] = 2001500;
    d.setFileSweep(2000000, 1000, f, raw, volts);
    EXPECT_EQ(d.frequencyOf(2), 2001500);
    EXPECT_EQ(d.firstRowFrom(2001000), 2);
    EXPECT_EQ(d.volts(1), 0.125);
    EXPECT_EQ(d.text(1, 2), QStringLiteral("200"));
    EXPECT_EQ(changes, (QList<bool>{true, false, false, true}));
}
