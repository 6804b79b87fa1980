#pragma once
// The figures of a filter read from one curve of (frequency, level in dB) points. The points
// may come in either direction (a downward sweep) or in any order: the analysis works on them
// sorted by frequency. Edges are found by walking outwards point by point and interpolating
// linearly (level in dB against frequency) between the two points around the crossing.
//
// A figure the curve cannot give is empty ("n/a"), never a number from somewhere else:
//  - Band-pass: the peak is the maximum; the lower and upper frequencies are the first points,
//    going down and up from the peak, where the curve has fallen by the level below the peak.
//    Bandwidth = upper - lower, centre = (lower + upper) / 2, Q = centre / bandwidth, shape
//    factor = bandwidth at 60 dB / bandwidth at 6 dB (whatever the chosen level).
//  - Band-stop: the peak is the minimum (the notch). The pass-band level is the mean of the
//    levels at the two ends of the sweep; the notch's edges are where the curve, going down and
//    up from the minimum, has risen back to (pass-band level - level). A notch that never gets
//    that deep has no edges. Bandwidth, centre and Q as for band-pass; the shape factor is the
//    wider over the narrower width, 6 dB over 60 dB, so that for both kinds it is 1 or more
//    and 1 is the ideal.
//  - Low-pass: the pass-band level is the level at the lowest frequency; the upper frequency
//    is the first crossing of (pass-band level - level) going up from there. Shape factor =
//    the 60 dB over the 6 dB cut-off frequency. No lower frequency, bandwidth, centre or Q.
//  - High-pass: the same from the highest frequency downwards, giving the lower frequency;
//    shape factor = the 6 dB over the 60 dB cut-off frequency.
// The peak of low- and high-pass is the curve's maximum. Where the extreme level is held by
// several adjacent points the peak frequency is the middle of them and the edges are sought
// from their outer ends; a curve that is flat over the whole sweep has no peak frequency.
#include <QVector>
#include <array>
#include <optional>

enum class FilterType { BandPass, BandStop, LowPass, HighPass };

// The levels offered: how far the curve must fall (or the notch reach below the pass band).
inline constexpr std::array<double, 5> kAnalysisLevels = {-3.0, -6.0, -10.0, -20.0, -60.0};

struct FilterResult {
    std::optional<double> peakHz;
    std::optional<double> peakDb;
    std::optional<double> lowerHz;
    std::optional<double> upperHz;
    std::optional<double> bandwidthHz;
    std::optional<double> centreHz;
    std::optional<double> q;
    std::optional<double> shapeFactor;
};

// Point i lies at hz[i] with level db[i]. levelDb is the fall, -3 or 3 alike (the sign is not
// looked at); a fall of 0 finds no edges. Points whose frequency or level is not finite are
// left out, and so is the tail of the longer vector.
FilterResult analyseFilter(const QVector<double>& hz, const QVector<double>& db, FilterType type,
                           double levelDb);
