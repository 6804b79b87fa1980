#include "SweepTable.h"

#include "NumberFormat.h"
#include "Rounding.h"

#include <QHeaderView>

namespace {
constexpr int kColumns = 3;
}

SweepTable::SweepTable(QWidget* parent) : QTableWidget(parent) {
    setObjectName(QStringLiteral("MSFlexGridV"));
    setAccessibleName(tr("Sweep table"));
    setColumnCount(kColumns);
    // Row 0 of the grid is the horizontal header, so it stays in view while the points scroll.
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(18);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    m_levels.fill(0.0, kPoints);
    m_raws.fill(0.0, kPoints);
}

QTableWidgetItem* SweepTable::itemAt(int row, int col) {
    QTableWidgetItem* it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        setItem(row, col, it);
    }
    return it;
}

QString SweepTable::cellText(int row, int col) const {
    const QTableWidgetItem* it = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return it ? it->text() : QString();
}

void SweepTable::setCellText(int row, int col, const QString& text) {
    if (row < 0 || row > rowCount() || col < 0 || col >= kColumns)
        return;
    if (row == 0) {
        if (auto* h = horizontalHeaderItem(col))
            h->setText(text);
        return;
    }
    itemAt(row - 1, col)->setText(text);
}

void SweepTable::inizializzaGrid(qint32 freqStart, qint32 freqStep, int scala, bool logEnabled) {
    setColumnCount(kColumns);
    if (rowCount() != kPoints)
        setRowCount(kPoints);

    const QStringList header{QStringLiteral("Frequency"),
                             scala == 0 ? QStringLiteral("Volt") : QStringLiteral("dB"),
                             QStringLiteral("Sample")};
    QFont bold = font();
    bold.setBold(true);
    for (int c = 0; c < kColumns; ++c) {
        auto* it = new QTableWidgetItem(header[c]);
        setHorizontalHeaderItem(c, it);
        it->setFont(bold);
        it->setBackground(palette().button());
        it->setTextAlignment(Qt::AlignCenter);
    }

    const int w = viewport()->width() > 0 ? viewport()->width() : width();
    if (logEnabled) {
        setColumnWidth(0, static_cast<int>(roundHalfEven(2.0 * w / 5)));
        setColumnWidth(1, static_cast<int>(roundHalfEven(2.0 * w / 9)));
        setColumnWidth(2, static_cast<int>(roundHalfEven(2.0 * w / 9)));
    } else {
        setColumnWidth(0, static_cast<int>(roundHalfEven(2.0 * w / 4)));
        setColumnWidth(1, static_cast<int>(roundHalfEven(2.0 * w / 6)));
    }

    // Model signals are held back while the texts are written: one change instead of 1,200.
    const bool wasBlocked = model()->blockSignals(true);
    const QString zero = QStringLiteral("0");
    for (int i = 1; i <= kPoints; ++i) {
        const qint64 f = static_cast<qint64>(i - 1) * freqStep + freqStart;
        auto* f0 = itemAt(i - 1, 0);
        f0->setText(formatNumber(static_cast<double>(f), QStringLiteral("###,###,##0")));
        f0->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* f1 = itemAt(i - 1, 1);
        f1->setText(zero);
        f1->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* f2 = itemAt(i - 1, 2);
        f2->setText(zero);
        f2->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_levels.fill(0.0, kPoints);
    m_raws.fill(0.0, kPoints);
    model()->blockSignals(wasBlocked);
    emit model()->dataChanged(model()->index(0, 0), model()->index(kPoints - 1, kColumns - 1));
}

void SweepTable::setSweep(const QVector<double>& raw, const QVector<double>& level,
                          const QStringList& rawTexts, const QStringList& levelTexts) {
    const int n = std::min<int>({kPoints, int(raw.size()), int(level.size()), int(rawTexts.size()),
                                 int(levelTexts.size()), rowCount()});
    const bool wasBlocked = model()->blockSignals(true);
    for (int i = 0; i < n; ++i) {
        itemAt(i, 2)->setText(rawTexts[i]);
        itemAt(i, 1)->setText(levelTexts[i]);
        m_raws[i] = raw[i];
        m_levels[i] = level[i];
    }
    model()->blockSignals(wasBlocked);
    if (n > 0)
        emit model()->dataChanged(model()->index(0, 1), model()->index(n - 1, 2));
}
