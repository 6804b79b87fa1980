#include "SweepData.h"

#include "CommonFunctions.h"
#include "Normalisation.h"
#include "NumberFormat.h"
#include "Rounding.h"
#include "ScaleModel.h"

#include <algorithm>

namespace {
const QString kFrequencyPicture = QStringLiteral("###,###,##0");
} // namespace

SweepData::SweepData(QObject* parent)
    : QObject(parent), m_levelHeader(ScaleModel::unit(0)), m_frequency(kPoints, 0),
      m_raw(kPoints, 0.0), m_volts(kPoints, 0.0), m_level(kPoints, 0.0), m_cells(kPoints) {}

void SweepData::setLinear(bool linear) {
    m_linear = linear;
    // A normalised linear level is a ratio, not volts.
    m_levelHeader = linear && normalised()
                        ? QStringLiteral("Ratio")
                        : ScaleModel::unit(linear ? ScaleModel::kLinear : ScaleModel::kLog1V);
}

void SweepData::setReferenceVolts(const QVector<double>& refVolts) {
    m_refVolts = refVolts.size() == kPoints ? refVolts : QVector<double>();
    setLinear(m_linear);
    if (!normalised())
        return;
    for (int i = 0; i < kPoints; ++i)
        storeNormalised(i);
    emit changed(false);
}

double SweepData::shownLevel(int row, double volts, int scala) const {
    const bool linear = ScaleModel::isLinear(scala);
    if (normalised())
        return normalisedLevel(volts, m_refVolts[index(row)],
                               linear ? NormalUnit::Ratio : NormalUnit::Decibel);
    return linear ? volts : voltToDb(volts, scala);
}

void SweepData::storeNormalised(int i) {
    m_level[i] = shownLevel(i + 1, m_volts[i], m_linear ? ScaleModel::kLinear : ScaleModel::kLog1V);
    m_cells[i][1] = formatNumber(
        m_level[i], ScaleModel::levelPicture(m_linear ? ScaleModel::kLinear : ScaleModel::kLog1V));
}

void SweepData::rebuild(qint32 freqStart, qint32 freqStep, bool linear) {
    m_freqStart = freqStart;
    m_freqStep = freqStep;
    setLinear(linear);
    const QString zero = QStringLiteral("0");
    for (int i = 0; i < kPoints; ++i) {
        m_frequency[i] = static_cast<qint64>(i) * freqStep + freqStart;
        m_cells[i] = {formatNumber(static_cast<double>(m_frequency[i]), kFrequencyPicture), zero,
                      zero};
    }
    m_raw.fill(0.0);
    m_volts.fill(0.0);
    m_level.fill(0.0);
    emit changed(true);
}

void SweepData::store(int i, double raw, const SampleConverter::Point& p) {
    m_raw[i] = raw;
    m_volts[i] = p.volts;
    m_level[i] = p.level;
    m_cells[i][1] = p.levelText;
    m_cells[i][2] = p.rawText;
    if (normalised())
        storeNormalised(i);
}

void SweepData::setReadings(const QVector<double>& raw, int scala, float adcStep, float adcOffset) {
    m_converter.prepare(scala, adcStep, adcOffset);
    const int n = std::min<int>(kPoints, int(raw.size()));
    for (int i = 0; i < n; ++i)
        store(i, raw[i], m_converter.convert(raw[i]));
    if (n > 0)
        emit changed(false);
}

void SweepData::convertAll(int scala, float adcStep, float adcOffset) {
    m_converter.prepare(scala, adcStep, adcOffset);
    setLinear(ScaleModel::isLinear(scala));
    for (int i = 0; i < kPoints; ++i)
        store(i, m_raw[i], m_converter.convert(m_raw[i]));
    emit changed(false);
}

void SweepData::setFileSweep(qint32 freqStart, qint32 freqStep, const QVector<qint64>& frequencies,
                             const QVector<double>& raw, const QVector<double>& volts) {
    m_freqStart = freqStart;
    m_freqStep = freqStep;
    setLinear(true);
    const QString picture = ScaleModel::levelPicture(0);
    const int n =
        std::min<int>({kPoints, int(frequencies.size()), int(raw.size()), int(volts.size())});
    for (int i = 0; i < n; ++i) {
        m_frequency[i] = frequencies[i];
        m_raw[i] = raw[i];
        m_volts[i] = volts[i];
        m_level[i] = volts[i];
        m_cells[i] = {formatNumber(static_cast<double>(frequencies[i]), kFrequencyPicture),
                      formatNumber(volts[i], picture), numberToText(raw[i])};
        if (normalised())
            storeNormalised(i);
    }
    emit changed(true);
}

double SweepData::levelDb(int row) const {
    const double level = m_level[index(row)];
    return m_linear ? normalisedLevel(level, 1.0, NormalUnit::Decibel) : level;
}

QVector<double> SweepData::levelsDb() const {
    QVector<double> db(kPoints);
    for (int row = 1; row <= kPoints; ++row)
        db[row - 1] = levelDb(row);
    return db;
}

QVector<double> SweepData::frequenciesHz() const {
    return QVector<double>(m_frequency.cbegin(), m_frequency.cend());
}

int SweepData::rowAt(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= 1))
        return 1;
    return r > kPoints ? kPoints : static_cast<int>(r);
}

int SweepData::firstRowFrom(qint64 f) const {
    // The rows' places on the sweep's grid: a file's frequencies need not be evenly spaced.
    int row = 1;
    while (row < kPoints && static_cast<qint64>(row - 1) * m_freqStep + m_freqStart < f)
        ++row;
    return row;
}

QString SweepData::text(int row, int col) const {
    if (col < 0 || col >= kColumns || row < 0 || row > kPoints)
        return QString();
    if (row == 0) {
        static const QString frequency = QStringLiteral("Frequency");
        static const QString sample = QStringLiteral("Sample");
        return col == 0 ? frequency : (col == 1 ? m_levelHeader : sample);
    }
    return m_cells[row - 1][col];
}
