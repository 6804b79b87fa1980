#include "SweepTableModel.h"

#include "SweepData.h"

#include <QFont>

SweepTableModel::SweepTableModel(SweepData* data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data) {
    const auto all = [this] {
        emit dataChanged(index(0, 0), index(SweepData::kPoints - 1, SweepData::kColumns - 1));
        emit headerDataChanged(Qt::Horizontal, 0, SweepData::kColumns - 1);
    };
    connect(m_data, &SweepData::rebuilt, this, all);
    connect(m_data, &SweepData::valuesChanged, this, [this](int first, int last) {
        emit dataChanged(index(first - 1, 1), index(last - 1, 2));
    });
    connect(m_data, &SweepData::headerChanged, this,
            [this](int col) { emit headerDataChanged(Qt::Horizontal, col, col); });
    connect(m_data, &SweepData::cellChanged, this, [this](int row, int col) {
        emit dataChanged(index(row - 1, col), index(row - 1, col));
    });
}

int SweepTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SweepData::kPoints;
}

int SweepTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SweepData::kColumns;
}

QVariant SweepTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_data->text(index.row() + 1, index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant SweepTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_data->text(0, section);
    if (role == Qt::FontRole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignCenter);
    return {};
}
