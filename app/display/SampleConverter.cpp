#include "SampleConverter.h"

#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "Rounding.h"
#include "ScaleModel.h"

#include <QLocale>
#include <cmath>

double SampleConverter::volts(double raw, double adcStep, double adcOffset) {
    return roundHalfEven(raw * adcStep + adcOffset, 3);
}

void SampleConverter::prepare(int scala, float adcStep, float adcOffset) {
    const QLocale loc;
    const QString locale = loc.name() + loc.decimalPoint() + loc.groupSeparator();
    if (scala == m_scala && adcStep == m_adcStep && adcOffset == m_adcOffset &&
        locale == m_locale && !m_valid.isEmpty())
        return;
    m_scala = scala;
    m_adcStep = adcStep;
    m_adcOffset = adcOffset;
    m_locale = locale;
    m_cache = QVector<Point>(kCached);
    m_valid = QVector<bool>(kCached, false);
}

SampleConverter::Point SampleConverter::compute(double raw) const {
    Point p;
    p.rawText = numberToText(raw);
    p.volts = static_cast<float>(volts(raw, m_adcStep, m_adcOffset));
    if (!ScaleModel::isLinear(m_scala)) {
        p.level = voltToDb(p.volts, m_scala);
        p.levelText = formatNumber(p.level, QStringLiteral("#0.0"));
    } else {
        p.level = p.volts;
        p.levelText = formatNumber(p.volts, QStringLiteral("#0.000"));
    }
    return p;
}

const SampleConverter::Point& SampleConverter::convert(double raw) {
    if (m_valid.isEmpty())
        prepare(m_scala < 0 ? ScaleModel::kLinear : m_scala, m_adcStep, m_adcOffset);
    if (raw >= 0 && raw < kCached && std::floor(raw) == raw) {
        const int i = static_cast<int>(raw);
        if (!m_valid[i]) {
            m_cache[i] = compute(raw);
            m_valid[i] = true;
        }
        return m_cache[i];
    }
    m_scratch = compute(raw);
    return m_scratch;
}
