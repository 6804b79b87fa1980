#include "SweepTableModel.h"

#include "SweepData.h"

#include <QFont>

SweepTableModel::SweepTableModel(SweepData* data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data) {
    connect(m_data, &SweepData::changed, this, [this](bool newRange) {
        emit dataChanged(index(0, newRange ? 0 : 1),
                         index(SweepData::kPoints - 1, SweepData::kColumns - 1));
        emit headerDataChanged(Qt::Horizontal, 0, SweepData::kColumns - 1);
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
