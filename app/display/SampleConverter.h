#pragma once
// The one conversion of a raw detector count: volts = count x adcStep + adcOffset to 3 decimals
// (halves to even), held in single precision, then dB (voltToDb) on the logarithmic scales;
// with the two cell texts of the table. Counts are whole numbers in a small range, so the
// results are kept per count: a sweep then costs lookups instead of 400 decimal conversions.
#include <QString>
#include <QVector>

class SampleConverter {
public:
    struct Point {
        double volts = 0;  // the linear level, whatever the scale
        double level = 0;  // volts (scale 0) or dB
        QString levelText; // "#0.000" volts or "#0.0" dB, locale separators
        QString rawText;   // the count as text
    };

    // raw x adcStep + adcOffset to 3 decimals, halves to even, before it is held in single
    // precision: what a detector reading (or an average of readings) gives in volts.
    static double volts(double raw, double adcStep, double adcOffset);

    // Call before each conversion pass: forgets the kept results when the scale, the
    // calibration or the locale changed.
    void prepare(int scala, float adcStep, float adcOffset);
    const Point& convert(double raw);

private:
    Point compute(double raw) const;

    static constexpr int kCached = 4096;
    int m_scala = -1;
    float m_adcStep = 0;
    float m_adcOffset = 0;
    QString m_locale;
    QVector<Point> m_cache;
    QVector<bool> m_valid;
    Point m_scratch;
};
