#pragma once
// MSFlexGridV: the view "Table" of the sweep. Row 0 of the grid is the horizontal header, so
// it stays in view while the points scroll. Column widths follow the view's real width: with
// the diagnostic log on, 2/5, 2/9 and 2/9 of it; otherwise 2/4 and 2/6, the raw column keeping
// its own width; a column is never narrower than its texts. They are computed again whenever
// the table is shown or resized, so a table built while hidden is not cut off when it appears.
#include <QTableView>

class SweepData;
class SweepTableModel;

class SweepTable : public QTableView {
    Q_OBJECT
public:
    explicit SweepTable(SweepData* data, QWidget* parent = nullptr);

    void setLogLayout(bool logEnabled);
    // Cell text as shown (row 0: the header, rows 1..400 the points).
    QString cellText(int row, int col) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyColumnWidths();

    SweepTableModel* m_model;
    bool m_logLayout = false;
};
