#include "AnalysisText.h"

#include "NumberFormat.h"

QString notAvailableText() {
    return QStringLiteral("n/a");
}

QString frequencyText(std::optional<double> hz) {
    if (!hz)
        return notAvailableText();
    return formatNumber(*hz, QStringLiteral("###,###,##0")) + QStringLiteral(" Hz");
}

QString levelText(std::optional<double> db) {
    if (!db)
        return notAvailableText();
    return formatNumber(*db, QStringLiteral("#0.00")) + QStringLiteral(" dB");
}

QString factorText(std::optional<double> value) {
    if (!value)
        return notAvailableText();
    return formatNumber(*value, QStringLiteral("#0.00"));
}

QString reflectionText(std::optional<Reflection> r) {
    if (!r)
        return notAvailableText();
    return QStringLiteral("%1 (RL %2)").arg(factorText(r->swr), levelText(r->returnLossDb));
}

QString filterTypeCaption(FilterType type) {
    switch (type) {
    case FilterType::BandPass:
        return QStringLiteral("Band-pass");
    case FilterType::BandStop:
        return QStringLiteral("Band-stop");
    case FilterType::LowPass:
        return QStringLiteral("Low-pass");
    case FilterType::HighPass:
        return QStringLiteral("High-pass");
    }
    return {};
}

QVector<ResultLine> resultLines(const FilterResult& r) {
    return {
        {QStringLiteral("Peak frequency"), frequencyText(r.peakHz)},
        {QStringLiteral("Peak level"), levelText(r.peakDb)},
        {QStringLiteral("Lower frequency"), frequencyText(r.lowerHz)},
        {QStringLiteral("Upper frequency"), frequencyText(r.upperHz)},
        {QStringLiteral("Bandwidth"), frequencyText(r.bandwidthHz)},
        {QStringLiteral("Centre frequency"), frequencyText(r.centreHz)},
        {QStringLiteral("Q"), factorText(r.q)},
        {QStringLiteral("Shape factor"), factorText(r.shapeFactor)},
    };
}
