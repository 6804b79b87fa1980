#include "SweepTable.h"

#include "Rounding.h"
#include "SweepData.h"
#include "SweepTableModel.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>

SweepTable::SweepTable(SweepData* data, QWidget* parent)
    : QTableView(parent), m_model(new SweepTableModel(data, this)) {
    setObjectName(QStringLiteral("MSFlexGridV"));
    setAccessibleName(tr("Sweep table"));
    setModel(m_model);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(18);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    // A new range may bring wider frequencies.
    connect(data, &SweepData::changed, this, [this](bool newRange) {
        if (newRange)
            applyColumnWidths();
    });
}

void SweepTable::setLogLayout(bool logEnabled) {
    m_logLayout = logEnabled;
    applyColumnWidths();
}

QString SweepTable::cellText(int row, int col) const {
    if (row == 0)
        return m_model->headerData(col, Qt::Horizontal).toString();
    return m_model->data(m_model->index(row - 1, col)).toString();
}

void SweepTable::applyColumnWidths() {
    const int w = viewport()->width();
    if (w <= 0)
        return;
    // The share of the width, but never less than the column's texts need: a frequency or a
    // level cut to "0...." tells the user nothing.
    const auto fit = [this, w](int col, double share) {
        int needed = std::max(sizeHintForColumn(col), horizontalHeader()->sectionSizeHint(col));
        // Levels change with every sweep: room for the widest one a scale writes.
        if (col == 1)
            needed =
                std::max(needed, fontMetrics().horizontalAdvance(QStringLiteral("00.000")) +
                                     2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 4);
        setColumnWidth(col, std::max(static_cast<int>(roundHalfEven(share * w)), needed));
    };
    if (m_logLayout) {
        fit(0, 2.0 / 5);
        fit(1, 2.0 / 9);
        fit(2, 2.0 / 9);
    } else {
        fit(0, 2.0 / 4);
        fit(1, 2.0 / 6);
    }
}

void SweepTable::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    applyColumnWidths();
}

void SweepTable::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    applyColumnWidths();
}
