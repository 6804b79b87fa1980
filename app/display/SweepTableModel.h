#pragma once
// The table's face of the sweep data: 400 rows of three text columns, the header row as the
// horizontal header. Read-only; it shows the texts the sweep data holds, so what a screen
// reader reads is what the files and the other panels read.
#include <QAbstractTableModel>

class SweepData;

class SweepTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SweepTableModel(SweepData* data, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    SweepData* m_data;
};
