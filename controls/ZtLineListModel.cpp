// The line list's model: rows fetched on first use, column headers and
// alignment, and cell texts on demand.

#include "ZtLineListModel.h"

#include <array>

namespace quorvex {

namespace {

struct TColumnInfo {
    const char* Header;
    Qt::Alignment Alignment;
};

// By column index: "Len", "ID", "Hex", "#".
constexpr std::array<TColumnInfo, 4> Columns{{
    {"Len", Qt::AlignRight | Qt::AlignVCenter},
    {"ID", Qt::AlignLeft | Qt::AlignVCenter},
    {"Hex", Qt::AlignLeft | Qt::AlignVCenter},
    {"#", Qt::AlignRight | Qt::AlignVCenter},
}};

} // namespace

void TZtLineListModel::SetRowCount(int count)
{
    beginResetModel();
    FRowCount = std::max(count, 0);
    FRowData.assign(static_cast<size_t>(FRowCount), nullptr);
    FInitialised.assign(static_cast<size_t>(FRowCount), false);
    endResetModel();
}

const void* TZtLineListModel::RowData(int row)
{
    if (row < 0 || row >= FRowCount) return nullptr;
    const auto at = static_cast<size_t>(row);
    if (!FInitialised[at]) {
        FInitialised[at] = true;
        FRowData[at] = FInitNode ? FInitNode(row) : nullptr;
    }
    return FRowData[at];
}

int TZtLineListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FRowCount;
}

int TZtLineListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Columns.size());
}

QVariant TZtLineListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FRowCount || index.column() >= columnCount()) return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Columns[static_cast<size_t>(index.column())].Alignment);
    if (role != Qt::DisplayRole || !FGetText) return {};
    // Rows are initialised the first time any cell of theirs is needed,
    // which a const view query may trigger.
    const void* rowData = const_cast<TZtLineListModel*>(this)->RowData(index.row());
    return FGetText(index.row(), rowData, index.column());
}

QVariant TZtLineListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const TColumnInfo& column = Columns[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromLatin1(column.Header);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column.Alignment);
    return {};
}

} // namespace quorvex
