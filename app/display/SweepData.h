#pragma once
// The last sweep of the main window: 400 points, each with its frequency in hertz, its raw
// detector count, its volts and its level in the unit of the scale shown. The numbers are the
// sweep; the three texts of each table row are made from them when they change (and kept, so
// a repaint does not format 400 numbers again) and are never read back as numbers.
// Rows are numbered as in the table: row 0 is the header, rows 1..400 the points.
//
// A row the table was rebuilt with and no sweep has reached yet ("never swept") holds the
// count 0, 0 V and the level 0, and shows "0" in its level and raw columns; converting the
// whole sweep (a scale switch, a new detector calibration) gives it the level of the count 0.
//
// Normalised ("Normalize"), the level of a row is measured against a reference's volts at its
// frequency: 20 log10(V / Vref) dB, or the ratio V / Vref on the linear scale. The volts and
// raw counts stay what was read, so the sweep file is the same either way.
#include "SampleConverter.h"
#include "SweepContract.h"

#include <QObject>
#include <QString>
#include <QVector>
#include <array>

class SweepData : public QObject {
    Q_OBJECT
public:
    static constexpr int kPoints = NUMERO_CAMPIONI;
    static constexpr int kColumns = 3; // frequency, level, raw count

    explicit SweepData(QObject* parent = nullptr);

    // The table rebuilt for a new range: header ("Volt" when linear, else "dB"), the
    // frequency of every point and every row never swept.
    void rebuild(qint32 freqStart, qint32 freqStep, bool linear);
    // One sweep of raw readings (indexes 0..n-1 for rows 1..n, n at most 400), converted to the
    // levels of the given scale and detector calibration.
    void setReadings(const QVector<double>& raw, int scala, float adcStep, float adcOffset);
    // Every row converted again from its raw count, for the given scale (the header follows)
    // and detector calibration.
    void convertAll(int scala, float adcStep, float adcOffset);
    // A sweep read from a file, shown in volts: each row's frequency (whole hertz), raw count
    // and volts. freqStart and freqStep place the rows for firstRowFrom.
    void setFileSweep(qint32 freqStart, qint32 freqStep, const QVector<qint64>& frequencies,
                      const QVector<double>& raw, const QVector<double>& volts);

    qint32 freqStart() const { return m_freqStart; }
    qint32 freqStep() const { return m_freqStep; }
    // The point under the horizontal graph position x (the point number): x taken to the
    // nearest integer, halves to even, and kept inside 1..400.
    static int rowAt(double x);
    // The first point, scanning upwards from row 1, whose place freqStart + (row - 1) x
    // freqStep is not below f; the last point when none is.
    int firstRowFrom(qint64 f) const;

    // The numbers of point row (1..400).
    qint64 frequencyOf(int row) const { return m_frequency[index(row)]; }
    double raw(int row) const { return m_raw[index(row)]; }
    // The linear level in volts, whatever the scale shown.
    double volts(int row) const { return m_volts[index(row)]; }
    // The level in the unit of the scale shown: volts on the linear scale, else dB.
    double level(int row) const { return m_level[index(row)]; }
    const QVector<double>& raws() const { return m_raw; }
    const QVector<double>& levels() const { return m_level; }
    // The levels as dB whatever the scale: on "Linear" (volts, or a normalised ratio)
    // 20 log10 of the level, -100 dB for 0 or less.
    double levelDb(int row) const;
    QVector<double> levelsDb() const;
    // The frequencies of rows 1..400 in hertz.
    QVector<double> frequenciesHz() const;

    // Normalises every row against refVolts (one entry per row, the reference's volts at its
    // frequency), every level following at once; an empty vector ends normalisation, and the
    // levels follow at the next conversion (convertAll).
    void setReferenceVolts(const QVector<double>& refVolts);
    bool normalised() const { return !m_refVolts.isEmpty(); }
    // The level point row shows for `volts` on scale scala: against the reference when
    // normalised, else volts on "Linear" and dB on the others (a memory drawn beside the sweep).
    double shownLevel(int row, double volts, int scala) const;

    // The table's text of a cell (row 0: the header): the frequency "###,###,##0", the level
    // "#0.000" volts or "#0.0" dB ("0" never swept), the raw count as a plain number.
    QString text(int row, int col) const;

signals:
    // The numbers and texts changed; newRange: the rows' frequencies too.
    void changed(bool newRange);

private:
    static int index(int row) { return row < 1 ? 0 : (row > kPoints ? kPoints - 1 : row - 1); }
    // Row i + 1 from the converter's point for its count.
    void store(int i, double raw, const SampleConverter::Point& p);
    void setLinear(bool linear);
    // The level of row i + 1 from its volts against the reference (normalised only).
    void storeNormalised(int i);

    qint32 m_freqStart = 0;
    qint32 m_freqStep = 0;
    QString m_levelHeader;
    QVector<qint64> m_frequency;
    QVector<double> m_raw;
    QVector<double> m_volts;
    QVector<double> m_level;
    QVector<std::array<QString, kColumns>> m_cells;
    QVector<double> m_refVolts; // empty: not normalised
    bool m_linear = true;
    SampleConverter m_converter;
};
