#pragma once
// The five display scales as numbers, with no widgets: the picture's user coordinates of each
// scale, its grid divisions, the captions and places of the scale labels, the corrections of
// the full-scale entries, and the conversion of the level markers when the scale changes.
//
// The scales are named below (kLinear .. kLog10VPlus10dB); "Linear" is in volts, the others in
// dB. On the picture x is the point number (0..NUMERO_CAMPIONI); y is millivolts on the linear
// scale (upwards) and -1000 x dB on the others.
#include <QString>
#include <QVector>
#include <array>
#include <optional>

namespace ScaleModel {

// The scale index scala: the Scale menu's order and Sweep.ini's [Main] Scale.
constexpr int kLinear = 0;         // "Linear"
constexpr int kLog1V = 1;          // "Logarithmic (1V)"
constexpr int kLog1VPlus10dB = 2;  // "Logarithmic (1V + 10dB)"
constexpr int kLog10V = 3;         // "Logarithmic (10V)"
constexpr int kLog10VPlus10dB = 4; // "Logarithmic (10V +10dB)"
constexpr int kScales = 5;

inline bool isValid(int scala) {
    return scala >= kLinear && scala < kScales;
}
inline bool isLinear(int scala) {
    return scala == kLinear;
}
// The +10 dB scales have 10 dB of room above 0 dB.
inline bool hasHeadroom(int scala) {
    return scala == kLog1VPlus10dB || scala == kLog10VPlus10dB;
}
// Reference voltage of the logarithmic scales.
inline double reference(int scala) {
    return (scala == kLog10V || scala == kLog10VPlus10dB) ? 10.0 : 1.0;
}
QString caption(int scala); // the menu caption
QString unit(int scala);    // "Volt" or "dB"
QString levelPicture(int scala);

// Level (volts or dB) to the picture's y, and back.
inline double userY(double level, int scala) {
    return isLinear(scala) ? level * 1000.0 : level * -1000.0;
}
inline double levelAt(double y, int scala) {
    return isLinear(scala) ? y / 1000.0 : -y / 1000.0;
}

// The full scale in dB the drawing uses: the magnitude of the leading number of the dB box.
// A full scale of 0 dB would leave "Logarithmic (1V)" and "(10V)" an empty range; those
// then show one major division (10 dB).
double drawnRangeDb(const QString& maxDbText);

struct Frame {
    double top = 0;
    double height = 0; // negative on the linear scale: y grows upwards
    double bottom() const { return top + height; }
};
// The picture's coordinates of a scale; none for an index outside 0..4 (the picture keeps
// the coordinates it has).
std::optional<Frame> frameOf(int scala, double maxScaleV, double rangeDb);

enum class LineKind { Minor, Major, Red };
struct GridLine {
    double at; // x of a vertical line, y of a horizontal one
    LineKind kind;
};
// Every 10 points; major every 50, red at the centre (200).
QVector<GridLine> verticalLines();
// In drawing order (minor, then major, then the red zero line), so a later line overdraws an
// earlier one at the same place. Lines beyond the picture's edges are included: the drawing
// clips them.
QVector<GridLine> horizontalLines(int scala, const Frame& frame);

struct ScaleLabel {
    QString caption;
    // Centre of the label below the picture's top, as a share of the picture's height.
    double at = 0;
    // Label 10 (the reference) stands one label height below the label with this index.
    int below = -1;
    // Shown: a label whose division lies outside the plotting area is hidden.
    bool shown = false;
};
// The labels lblVolt(0..10) of a scale.
std::array<ScaleLabel, 11> labels(int scala, double maxScaleV, double rangeDb);

// A full-scale box's text after leaving it, and whether the computer beeps.
struct Correction {
    QString text;
    bool beep = false;
};
// Volts: above 0 up to 10; anything else is the current full scale again (beep), above 10
// is "10" (beep).
Correction correctMaxVolt(const QString& text, float current);
// dB: 0 to -90, always written negative with "#0.0"; not a number gives the stored full
// scale back (beep); a magnitude above 90 gives -90 (beep).
Correction correctMaxDb(const QString& text, qint32 stored);

// The difference M4 - M3: |M4 - M3| on the linear scale; on the logarithmic ones M4 - M3
// when both have the same sign, else |M3| + |M4|.
double levelDifference(int scala, double m3, double m4);

// The texts of the level boxes M3, M4 and of their difference after switching from one
// scale to another: the same physical levels in the new unit.
struct LevelTexts {
    QString m3;
    QString m4;
    QString difference;
};
LevelTexts switchLevels(int from, int to, const QString& m3, const QString& m4);

} // namespace ScaleModel
