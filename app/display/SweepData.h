#pragma once
// The last sweep of the main window: 400 points, each with its frequency in Hz, its raw
// detector count and its level (volts on the linear scale, dB on the others), and the three
// cell texts of the table that every reader takes the sweep from. The numbers stand beside
// the texts so the graph and the markers need not parse 400 strings per sweep; the texts and
// their update order are what the table, the files and the calibration read and write.
// Rows are numbered as in the table: row 0 is the header, rows 1..400 the points.
#include "SweepContract.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class SampleConverter;

class SweepData : public QObject {
    Q_OBJECT
public:
    static constexpr int kPoints = NUMERO_CAMPIONI;
    static constexpr int kColumns = 3; // frequency, level, raw count

    explicit SweepData(QObject* parent = nullptr);

    // The table rebuilt for a new range: header ("Volt" when linear, else "dB"), the
    // frequency of every point ("###,###,##0") and "0" in the level and raw columns.
    void rebuild(qint32 freqStart, qint32 freqStep, bool linear);

    qint32 freqStart() const { return m_freqStart; }
    qint32 freqStep() const { return m_freqStep; }
    // Frequency of point row (1..400): freqStart + (row - 1) x freqStep, in 64 bits.
    qint64 frequencyOf(int row) const;
    // The point under the horizontal graph position x (the point number): x taken to the
    // nearest integer, halves to even, and kept inside 1..400.
    static int rowAt(double x);
    // The first point, scanning upwards from row 1, whose frequency is not below f; the last
    // point when none is.
    int firstRowFrom(qint64 f) const;

    QString text(int row, int col) const;
    // One cell (row 0: the header). Writing a level or raw text does not change the numbers
    // behind them; use setSweep for a whole sweep.
    void setText(int row, int col, const QString& text);

    // One finished sweep (or a rescaled one): columns 2 and 1 of every row in one pass, then
    // one change notice. Indexes 0..399 stand for rows 1..400.
    void setSweep(const QVector<double>& raw, const QVector<double>& level,
                  const QStringList& rawTexts, const QStringList& levelTexts);

    // One sweep of raw readings (indexes 0..399 for rows 1..400), converted to levels and
    // texts of the converter's scale, then stored as setSweep does.
    void setReadings(const QVector<double>& raw, SampleConverter& converter);

    double raw(int row) const { return m_raw[index(row)]; }
    double level(int row) const { return m_level[index(row)]; }
    const QVector<double>& raws() const { return m_raw; }
    const QVector<double>& levels() const { return m_level; }

signals:
    // Every cell changed (rebuild).
    void rebuilt();
    // Columns 1 and 2 of rows first..last changed.
    void valuesChanged(int first, int last);
    void headerChanged(int col);
    void cellChanged(int row, int col);

private:
    static int index(int row) { return row < 1 ? 0 : (row > kPoints ? kPoints - 1 : row - 1); }

    qint32 m_freqStart = 0;
    qint32 m_freqStep = 0;
    std::array<QString, kColumns> m_header;
    QVector<std::array<QString, kColumns>> m_cells;
    QVector<double> m_raw;
    QVector<double> m_level;
};
