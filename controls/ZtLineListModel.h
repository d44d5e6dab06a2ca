// The line list's model: a row count and, per row, one data pointer that is
// fetched on first use. Cell texts are asked for when a view needs them.
#pragma once

#include "ZtLineList.h"

#include <QAbstractTableModel>

#include <vector>

namespace quorvex {

class TZtLineListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetInitNode(TZtLineList::TInitNode initNode) { FInitNode = std::move(initNode); }
    void SetGetText(TZtLineList::TGetText getText) { FGetText = std::move(getText); }
    void SetRowCount(int count);
    int RowCount() const { return FRowCount; }
    const void* RowData(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TZtLineList::TInitNode FInitNode;
    TZtLineList::TGetText FGetText;
    int FRowCount = 0;
    std::vector<const void*> FRowData;
    std::vector<bool> FInitialised;
};

} // namespace quorvex
