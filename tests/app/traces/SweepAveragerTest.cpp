// Averaging over the last N sweeps, and its restart.
#include "SweepAverager.h"

#include <gtest/gtest.h>

TEST(SweepAverager, MeansTheLastSweepsAndRestartsWhenAsked) {
    SweepAverager avg;
    avg.setCount(4);
    // Fewer than N sweeps in: the mean of those there are.
    EXPECT_EQ(avg.add({10, 100}), (QVector<double>{10, 100}));
    EXPECT_EQ(avg.add({20, 200}), (QVector<double>{15, 150}));
    EXPECT_EQ(avg.add({30, 300}), (QVector<double>{20, 200}));
    EXPECT_EQ(avg.add({40, 400}), (QVector<double>{25, 250}));
    // The fifth pushes out the first: (20 + 30 + 40 + 50) / 4.
    EXPECT_EQ(avg.add({50, 500}), (QVector<double>{35, 350}));
    EXPECT_EQ(avg.sweepsIn(), 4);

    // Restart (range changed or sweeping started): nothing of the old sweeps remains.
    avg.reset();
    EXPECT_EQ(avg.add({7, 8}), (QVector<double>{7, 8}));
    EXPECT_EQ(avg.add({9, 10}), (QVector<double>{8, 9}));

    // A smaller N keeps the newest sweeps only; "Off" shows each sweep as it is.
    avg.add({11, 12});
    avg.setCount(2);
    EXPECT_EQ(avg.add({13, 14}), (QVector<double>{12, 13}));
    avg.setCount(1);
    EXPECT_EQ(avg.add({1, 2}), (QVector<double>{1, 2}));
    avg.setCount(0);
    EXPECT_EQ(avg.count(), 1);

    // A sweep of another length never mixes with the ones before it.
    avg.setCount(16);
    avg.add({100, 100});
    EXPECT_EQ(avg.add({1, 2, 3}), (QVector<double>{1, 2, 3}));
    EXPECT_EQ(avg.sweepsIn(), 1);
}
