// The line list's model: a row count and, per row, one data pointer that is
// fetched on first use. Cell texts are asked for when a view needs them.
#pragma once

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace quorvex {

class TZtLineListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The data of a row, fetched once when the row is first needed.
    using TInitNode = std::function<const void*(int row)>;
    // The text of a cell, asked for whenever a view paints or measures it.
    using TGetText = std::function<QString(int row, const void* rowData, int column)>;

    using QAbstractTableModel::QAbstractTableModel;

    void SetInitNode(TInitNode initNode) { FInitNode = std::move(initNode); }
    void SetGetText(TGetText getText) { FGetText = std::move(getText); }
    void SetRowCount(int count);
    int RowCount() const { return FRowCount; }
    const void* RowData(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    TInitNode FInitNode;
    TGetText FGetText;
    int FRowCount = 0;
    std::vector<const void*> FRowData;
    std::vector<bool> FInitialised;
};

} // namespace quorvex
