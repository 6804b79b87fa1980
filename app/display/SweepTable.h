#pragma once
// MSFlexGridV: the one store of the last sweep. Row 0 is the header, rows 1..400 the points;
// column 0 frequency ("###,###,##0"), column 1 level ("#0.000" volts or "#0.0" dB), column 2 the
// raw detector count. Every cell is text; the numbers behind columns 1 and 2 are kept beside the
// texts so the graph need not parse 400 strings per sweep.
#include <QTableWidget>
#include <QVector>

class SweepTable : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kPoints = 400; // NUMERO_CAMPIONI

    explicit SweepTable(QWidget* parent = nullptr);

    // Rebuilds header and rows: frequencies of the points, "0" in the value and sample columns.
    void inizializzaGrid(qint32 freqStart, qint32 freqStep, int scala, bool logEnabled);

    // Cell text by the grid's own numbering: row 0 is the header, rows 1..400 the points.
    QString cellText(int row, int col) const;
    void setCellText(int row, int col, const QString& text);

    // One finished sweep: writes column 2 (raw) and column 1 (level text) of every row in one
    // pass and repaints once. raw and level are numbered 0..399 for rows 1..400.
    void setSweep(const QVector<double>& raw, const QVector<double>& level,
                  const QStringList& rawTexts, const QStringList& levelTexts);

    // Level of row 1..400 as last written (the number behind the column-1 text).
    const QVector<double>& levels() const { return m_levels; }
    const QVector<double>& raws() const { return m_raws; }

private:
    QTableWidgetItem* itemAt(int row, int col);

    QVector<double> m_levels;
    QVector<double> m_raws;
};
