#include "SweepData.h"

#include "NumberFormat.h"
#include "Rounding.h"
#include "SampleConverter.h"

#include <algorithm>

SweepData::SweepData(QObject* parent)
    : QObject(parent), m_header{QStringLiteral("Frequency"), QStringLiteral("Volt"),
                                QStringLiteral("Sample")},
      m_cells(kPoints), m_raw(kPoints, 0.0), m_level(kPoints, 0.0) {}

void SweepData::rebuild(qint32 freqStart, qint32 freqStep, bool linear) {
    m_freqStart = freqStart;
    m_freqStep = freqStep;
    m_header = {QStringLiteral("Frequency"), linear ? QStringLiteral("Volt") : QStringLiteral("dB"),
                QStringLiteral("Sample")};
    const QString zero = QStringLiteral("0");
    const QString picture = QStringLiteral("###,###,##0");
    for (int row = 1; row <= kPoints; ++row) {
        auto& cells = m_cells[row - 1];
        cells[0] = formatNumber(static_cast<double>(frequencyOf(row)), picture);
        cells[1] = zero;
        cells[2] = zero;
    }
    m_raw.fill(0.0);
    m_level.fill(0.0);
    emit rebuilt();
}

qint64 SweepData::frequencyOf(int row) const {
    return static_cast<qint64>(row - 1) * m_freqStep + m_freqStart;
}

int SweepData::rowAt(double x) {
    const double r = roundHalfEven(x);
    if (!(r >= 1))
        return 1;
    return r > kPoints ? kPoints : static_cast<int>(r);
}

int SweepData::firstRowFrom(qint64 f) const {
    int row = 1;
    while (row < kPoints && frequencyOf(row) < f)
        ++row;
    return row;
}

QString SweepData::text(int row, int col) const {
    if (col < 0 || col >= kColumns || row < 0 || row > kPoints)
        return QString();
    return row == 0 ? m_header[col] : m_cells[row - 1][col];
}

void SweepData::setText(int row, int col, const QString& text) {
    if (col < 0 || col >= kColumns || row < 0 || row > kPoints)
        return;
    if (row == 0) {
        m_header[col] = text;
        emit headerChanged(col);
        return;
    }
    m_cells[row - 1][col] = text;
    emit cellChanged(row, col);
}

void SweepData::setSweep(const QVector<double>& raw, const QVector<double>& level,
                         const QStringList& rawTexts, const QStringList& levelTexts) {
    const int n = std::min<int>({kPoints, int(raw.size()), int(level.size()), int(rawTexts.size()),
                                 int(levelTexts.size())});
    for (int i = 0; i < n; ++i) {
        m_cells[i][2] = rawTexts[i];
        m_cells[i][1] = levelTexts[i];
        m_raw[i] = raw[i];
        m_level[i] = level[i];
    }
    if (n > 0)
        emit valuesChanged(1, n);
}

void SweepData::setReadings(const QVector<double>& raw, SampleConverter& converter) {
    const int n = std::min<int>(kPoints, int(raw.size()));
    for (int i = 0; i < n; ++i) {
        const SampleConverter::Point& p = converter.convert(raw[i]);
        m_cells[i][2] = p.rawText;
        m_cells[i][1] = p.levelText;
        m_raw[i] = raw[i];
        m_level[i] = p.level;
    }
    if (n > 0)
        emit valuesChanged(1, n);
}
