#pragma once
// The texts of the analysis figures, with the locale's separators: frequencies "###,###,##0"
// with " Hz", levels "#0.00" with " dB", Q, shape factor and SWR "#0.00" ("Inf" for an
// infinite SWR), and "n/a" for a figure the curve cannot give.
#include "FilterAnalysis.h"
#include "Reflection.h"

#include <QString>
#include <QVector>
#include <optional>

QString notAvailableText(); // "n/a"
QString frequencyText(std::optional<double> hz);
QString levelText(std::optional<double> db);
QString factorText(std::optional<double> value);

// The SWR with the return loss, "1.50 (RL 14.00 dB)" (SWR "Inf" at a full reflection), "n/a"
// without a value.
QString reflectionText(std::optional<Reflection> r);

// "Band-pass", "Band-stop", "Low-pass", "High-pass".
QString filterTypeCaption(FilterType type);

struct ResultLine {
    QString caption; // "Peak frequency", "Peak level", "Lower frequency", ...
    QString value;
};
// The eight figures in the order they are shown: peak frequency and level, lower and upper
// frequency, bandwidth, centre frequency, Q, shape factor.
QVector<ResultLine> resultLines(const FilterResult& result);
