// A flat list with four columns whose rows and cell texts are computed only
// when a row is first needed or a cell is painted or measured.
#pragma once

#include "ZtLineListModel.h"

#include <QTableView>

namespace quorvex {

class TZtLineList : public QTableView {
    Q_OBJECT

public:
    // Column indices; the display order is "#", "Len", "ID", "Hex".
    enum TColumn { colLen = 0, colId = 1, colHex = 2, colIndex = 3 };

    using TInitNode = TZtLineListModel::TInitNode;
    using TGetText = TZtLineListModel::TGetText;

    explicit TZtLineList(QWidget* parent = nullptr);
    ~TZtLineList() override;

    void SetInitNode(TInitNode initNode);
    void SetGetText(TGetText getText);

    void ClearRows();
    void SetRowCount(int count);
    int RowCount() const;
    // The row's data, initialised through InitNode on first use.
    const void* RowData(int row);

private:
    TZtLineListModel* FModel;
};

} // namespace quorvex
