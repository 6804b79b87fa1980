#include "ScaleModel.h"

#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SweepContract.h"

#include <cmath>

namespace ScaleModel {

namespace {
constexpr double kEmptyRangeDb = 10.0;

double typed(const QString& text) {
    return parseNumber(text, ParseFlag::AllowGroupSeparator).value_or(0.0);
}
} // namespace

QString caption(int scala) {
    switch (scala) {
    case kLinear:
        return QStringLiteral("Linear");
    case kLog1V:
        return QStringLiteral("Logarithmic (1V)");
    case kLog1VPlus10dB:
        return QStringLiteral("Logarithmic (1V + 10dB)");
    case kLog10V:
        return QStringLiteral("Logarithmic (10V)");
    case kLog10VPlus10dB:
        return QStringLiteral("Logarithmic (10V +10dB)");
    default:
        return QString();
    }
}

QString unit(int scala) {
    return isLinear(scala) ? QStringLiteral("Volt") : QStringLiteral("dB");
}

QString levelPicture(int scala) {
    return isLinear(scala) ? QStringLiteral("#0.000") : QStringLiteral("#0.0");
}

double drawnRangeDb(const QString& maxDbText) {
    const double range = std::abs(leadingNumber(maxDbText));
    return range < 0.05 ? kEmptyRangeDb : range;
}

std::optional<Frame> frameOf(int scala, double maxScaleV, double rangeDb) {
    if (!isValid(scala))
        return std::nullopt;
    if (isLinear(scala))
        return Frame{998.0 * maxScaleV, -1000.0 * maxScaleV};
    if (hasHeadroom(scala))
        return Frame{-10000.0, 1000.0 * (rangeDb + 10.0)};
    return Frame{0.0, 1000.0 * rangeDb};
}

QVector<GridLine> verticalLines() {
    QVector<GridLine> lines;
    for (int x = 0; x <= NUMERO_CAMPIONI; x += 10) {
        const LineKind kind = x == NUMERO_CAMPIONI / 2 ? LineKind::Red
                              : x % 50 == 0            ? LineKind::Major
                                                       : LineKind::Minor;
        lines.append({double(x), kind});
    }
    return lines;
}

QVector<GridLine> horizontalLines(int scala, const Frame& f) {
    QVector<GridLine> lines;
    if (isLinear(scala)) {
        if (!(f.height < 0))
            return lines;
        for (int k = 0; f.top + k * f.height / 20.0 >= 0; ++k)
            lines.append({f.top + k * f.height / 20.0, LineKind::Minor});
        for (int k = 0; f.top + k * f.height / 4.0 >= 0; ++k)
            lines.append({f.top + k * f.height / 4.0, LineKind::Major});
    } else {
        for (int k = 0; - 10000.0 + 2000.0 * k <= f.height; ++k)
            lines.append({-10000.0 + 2000.0 * k, LineKind::Minor});
        for (int k = 0; 10000.0 * k <= f.height; ++k)
            lines.append({10000.0 * k, LineKind::Major});
    }
    lines.append({0.0, LineKind::Red});
    return lines;
}

std::array<ScaleLabel, 11> labels(int scala, double maxScaleV, double rangeDb) {
    std::array<ScaleLabel, 11> out;
    if (!isValid(scala))
        return out;
    const double room = hasHeadroom(scala) ? 10.0 : 0.0;
    for (int k = 0; k < 10; ++k) {
        ScaleLabel& l = out[k];
        if (isLinear(scala)) {
            l.caption = formatNumber(maxScaleV - maxScaleV * k / 4.0, QStringLiteral("#0.00"));
            l.at = k / 4.0;
            l.shown = k >= 1 && k <= 4;
        } else {
            l.caption = formatNumber(room - 10.0 * k, QStringLiteral("#0.0"));
            l.at = k * 10.0 / (rangeDb + room);
            l.shown = l.at <= 1.0 + 1e-9;
        }
    }
    if (!isLinear(scala)) {
        ScaleLabel& ref = out[10];
        ref.caption =
            reference(scala) == 10.0 ? QStringLiteral("(Vref 10V)") : QStringLiteral("(Vref 1V)");
        ref.below = hasHeadroom(scala) ? 1 : 0;
        ref.at = out[ref.below].at;
        ref.shown = out[ref.below].shown;
    }
    return out;
}

Correction correctMaxVolt(const QString& text, float current) {
    const auto v = parseNumber(text, ParseFlag::AllowGroupSeparator);
    if (!v || *v <= 0)
        return {numberToText(current), true};
    if (*v > 10)
        return {QStringLiteral("10"), true};
    return {text, false};
}

Correction correctMaxDb(const QString& text, qint32 stored) {
    Correction c;
    double value = stored;
    if (const auto v = parseNumber(text, ParseFlag::AllowGroupSeparator))
        value = *v;
    else
        c.beep = true;
    if (std::abs(value) > 90) {
        value = -90;
        c.beep = true;
    }
    // Adding 0.0 turns -0.0 into 0.0, so 0 dB is not shown as "-0.0".
    c.text = formatNumber(-std::abs(value) + 0.0, QStringLiteral("#0.0"));
    return c;
}

double levelDifference(int scala, double m3, double m4) {
    if (isLinear(scala))
        return std::abs(m4 - m3);
    if ((m3 > 0 && m4 > 0) || (m3 < 0 && m4 < 0))
        return m4 - m3;
    return std::abs(m3) + std::abs(m4);
}

LevelTexts switchLevels(int from, int to, const QString& m3Text, const QString& m4Text) {
    double level[2] = {typed(m3Text), typed(m4Text)};
    if (isLinear(to)) {
        if (!isLinear(from))
            for (double& l : level)
                l = dbToVolt(l, from);
        const QString picture = levelPicture(to);
        return {formatNumber(level[0], picture), formatNumber(level[1], picture),
                formatNumber(std::abs(level[1] - level[0]), picture)};
    }
    if (isLinear(from)) {
        for (double& l : level)
            l = voltToDb(l, to);
    } else if (reference(from) != reference(to)) {
        for (double& l : level)
            l = voltToDb(dbToVolt(l, from), to);
    }
    const QString picture = levelPicture(to);
    LevelTexts out{formatNumber(level[0], picture), formatNumber(level[1], picture), {}};
    // "Logarithmic (10V)" takes the difference of the levels as the boxes show them.
    if (to == kLog10V)
        out.difference = formatNumber(levelDifference(to, typed(out.m3), typed(out.m4)), picture);
    else
        out.difference = formatNumber(levelDifference(to, level[0], level[1]), picture);
    return out;
}

} // namespace ScaleModel
