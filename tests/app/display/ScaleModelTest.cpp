// The scale model: marker levels carried across scales, the level difference, the full-scale
// corrections, the grid and the labels of each scale.
#include "ScaleModel.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {
using namespace ScaleModel;

// Expected texts are written with '.'; the locale under test may show ','.
QString local(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

int count(const QVector<GridLine>& lines, LineKind kind) {
    int n = 0;
    for (const GridLine& l : lines)
        n += l.kind == kind;
    return n;
}
} // namespace

TEST(ScaleModel, MarkerLevelsKeepTheirPhysicalLevelAcrossScales) {
    // 1 V is -20 dB below 10 V, 0 dB at 1 V, and 1 V again on the linear scale.
    LevelTexts t = switchLevels(0, 3, local("1.000"), local("0.000"));
    EXPECT_EQ(t.m3, local("-20.0"));
    EXPECT_EQ(t.m4, local("-100.0")); // 0 V has no logarithm
    t = switchLevels(3, 1, t.m3, t.m4);
    EXPECT_EQ(t.m3, local("0.0"));
    t = switchLevels(1, 0, t.m3, local("-6.0"));
    EXPECT_EQ(t.m3, local("1.000"));
    EXPECT_EQ(t.m4, local("0.501"));
    EXPECT_EQ(t.difference, local("0.499"));

    // The +10 dB scales convert like their plain counterparts.
    EXPECT_EQ(switchLevels(0, 4, local("1.000"), QStringLiteral("0")).m3, local("-20.0"));
    EXPECT_EQ(switchLevels(0, 2, local("0.500"), QStringLiteral("0")).m3, local("-6.0"));
    // Same reference: the texts stay, only re-written.
    t = switchLevels(1, 2, QStringLiteral("-7"), QStringLiteral("3"));
    EXPECT_EQ(t.m3, local("-7.0"));
    EXPECT_EQ(t.m4, local("3.0"));
    EXPECT_EQ(t.difference, local("10.0"));
    // Far below the millivolt, a level carried through volts becomes 0 V, then -100 dB.
    EXPECT_EQ(switchLevels(1, 3, QStringLiteral("-70"), QStringLiteral("0")).m3, local("-100.0"));
}

TEST(ScaleModel, LogarithmicTenVoltTakesTheDifferenceOfTheShownLevels) {
    // 0.995 V and 0.703 V are -20.04 and -23.06 dB at 10 V: shown -20.0 and -23.1.
    EXPECT_EQ(switchLevels(0, 3, local("0.995"), local("0.703")).difference, local("-3.1"));
    EXPECT_EQ(switchLevels(0, 4, local("0.995"), local("0.703")).difference, local("-3.0"));
}

TEST(ScaleModel, LevelDifferenceFollowsTheSigns) {
    EXPECT_DOUBLE_EQ(levelDifference(1, -10, -30), -20.0);
    EXPECT_DOUBLE_EQ(levelDifference(1, 5, -3), 8.0);
    EXPECT_DOUBLE_EQ(levelDifference(1, -3, 5), 8.0);
    EXPECT_DOUBLE_EQ(levelDifference(1, 0, -4), 4.0);
    EXPECT_DOUBLE_EQ(levelDifference(3, 2, 6), 4.0);
    EXPECT_DOUBLE_EQ(levelDifference(0, 0.8, 0.3), 0.5);
}

TEST(ScaleModel, FullScaleCorrections) {
    Correction c = correctMaxVolt(QStringLiteral("12"), 1.5f);
    EXPECT_EQ(c.text, QStringLiteral("10"));
    EXPECT_TRUE(c.beep);
    for (const char* bad : {"abc", "-1", "0", ""}) {
        c = correctMaxVolt(QString::fromLatin1(bad), 1.5f);
        EXPECT_EQ(c.text, local("1.5")) << bad;
        EXPECT_TRUE(c.beep) << bad;
    }
    c = correctMaxVolt(local("2.5"), 1.5f);
    EXPECT_EQ(c.text, local("2.5"));
    EXPECT_FALSE(c.beep);

    c = correctMaxDb(QStringLiteral("40"), -60);
    EXPECT_EQ(c.text, local("-40.0"));
    EXPECT_FALSE(c.beep);
    c = correctMaxDb(QStringLiteral("-120"), -60);
    EXPECT_EQ(c.text, local("-90.0"));
    EXPECT_TRUE(c.beep);
    c = correctMaxDb(QStringLiteral("dB"), -60);
    EXPECT_EQ(c.text, local("-60.0"));
    EXPECT_TRUE(c.beep);
    EXPECT_EQ(correctMaxDb(QStringLiteral("0"), -60).text, local("0.0"));
}

TEST(ScaleModel, CoordinatesAndGridOfEachScale) {
    // Linear, 1.5 V: top 1497 mV, bottom -3 mV; 20 minor lines down to 72 mV, 4 major, red 0.
    const Frame lin = *frameOf(0, 1.5, 0);
    EXPECT_DOUBLE_EQ(lin.top, 1497.0);
    EXPECT_DOUBLE_EQ(lin.bottom(), -3.0);
    QVector<GridLine> h = horizontalLines(0, lin);
    ASSERT_EQ(h.size(), 25);
    EXPECT_EQ(count(h, LineKind::Minor), 20);
    EXPECT_DOUBLE_EQ(h[19].at, 72.0);
    EXPECT_EQ(count(h, LineKind::Major), 4);
    EXPECT_DOUBLE_EQ(h[23].at, 372.0);
    EXPECT_EQ(h.last().kind, LineKind::Red);
    EXPECT_DOUBLE_EQ(h.last().at, 0.0);

    // "Logarithmic (1V + 10dB)", -40 dB: +10 dB at the top, majors 0..-40 dB inside the
    // picture, minor every 2 dB from +10 dB down.
    const Frame plus = *frameOf(2, 0, 40);
    EXPECT_DOUBLE_EQ(plus.top, -10000.0);
    EXPECT_DOUBLE_EQ(plus.bottom(), 40000.0);
    h = horizontalLines(2, plus);
    QVector<double> majors;
    for (const GridLine& l : h)
        if (l.kind == LineKind::Major && l.at <= plus.bottom())
            majors << l.at;
    EXPECT_EQ(majors, (QVector<double>{0, 10000, 20000, 30000, 40000}));
    EXPECT_EQ(h.first().at, -10000.0);
    EXPECT_EQ(h[1].at, -8000.0);

    // A full scale of 0 dB still has a range to draw.
    EXPECT_DOUBLE_EQ(drawnRangeDb(QStringLiteral("0.0")), 10.0);
    EXPECT_DOUBLE_EQ(frameOf(1, 0, drawnRangeDb(QStringLiteral("-0")))->height, 10000.0);
    EXPECT_DOUBLE_EQ(drawnRangeDb(QStringLiteral("-55.0 dB")), 55.0);
    EXPECT_FALSE(frameOf(7, 1.5, 40).has_value());

    // Vertical: 41 lines, red at 200, major every 50.
    const QVector<GridLine> v = verticalLines();
    ASSERT_EQ(v.size(), 41);
    EXPECT_EQ(v[20].kind, LineKind::Red);
    EXPECT_EQ(count(v, LineKind::Major), 8);
    EXPECT_EQ(v[5].kind, LineKind::Major);
    EXPECT_EQ(v[6].kind, LineKind::Minor);
}

TEST(ScaleModel, LabelsOfEachScale) {
    auto l = labels(0, 1.5, 40);
    EXPECT_FALSE(l[0].shown);
    EXPECT_EQ(l[1].caption, local("1.13"));
    EXPECT_EQ(l[4].caption, local("0.00"));
    EXPECT_DOUBLE_EQ(l[2].at, 0.5);
    EXPECT_TRUE(l[4].shown);
    EXPECT_FALSE(l[5].shown);
    EXPECT_FALSE(l[10].shown);

    // -40 dB on "Logarithmic (1V)": a quarter apart; -50.0 .. -90.0 would stand below the
    // picture and are not shown.
    l = labels(1, 1.5, 40);
    EXPECT_EQ(l[0].caption, local("0.0"));
    EXPECT_EQ(l[9].caption, local("-90.0"));
    EXPECT_DOUBLE_EQ(l[1].at, 0.25);
    EXPECT_TRUE(l[4].shown);
    EXPECT_FALSE(l[5].shown);
    EXPECT_EQ(l[10].caption, QStringLiteral("(Vref 1V)"));
    EXPECT_EQ(l[10].below, 0);

    l = labels(4, 1.5, 40);
    EXPECT_EQ(l[0].caption, local("10.0"));
    EXPECT_EQ(l[1].caption, local("0.0"));
    EXPECT_DOUBLE_EQ(l[1].at, 0.2);
    EXPECT_EQ(l[10].caption, QStringLiteral("(Vref 10V)"));
    EXPECT_EQ(l[10].below, 1);
    EXPECT_EQ(labels(3, 1.5, 40)[10].caption, QStringLiteral("(Vref 10V)"));
}
