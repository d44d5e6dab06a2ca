// The line list: its columns, widths, fonts and the tooltip for cut-off
// cells.

#include "ZtLineList.h"

#include "ZtFonts.h"
#include "ZtLineListModel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include <array>

namespace quorvex {

namespace {

struct TColumnLayout {
    int Index;
    int Width;
};

// In display order: "#", "Len", "ID", "Hex"; "Hex" stretches as the last.
constexpr std::array<TColumnLayout, 4> DisplayOrder{{
    {TZtLineList::colIndex, 33},
    {TZtLineList::colLen, 33},
    {TZtLineList::colId, 350},
    {TZtLineList::colHex, 10},
}};

// A tooltip takes text that looks like markup for markup; a line of a
// document is shown as it is, on one line, as in its cell.
QString TipText(const QString& cellText)
{
    return QStringLiteral("<p style='white-space:pre'>") + cellText.toHtmlEscaped() + QStringLiteral("</p>");
}

// Shows a cell's whole text as a tooltip, but only where it is cut off.
class TCutOffTipDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
        const QModelIndex& index) override
    {
        if (!event || !view || event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        // The style keeps a margin on either side of the text.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
        const int room = textRect.width() - 2 * margin;
        if (item.fontMetrics.horizontalAdvance(item.text) > room) {
            QToolTip::showText(event->globalPos(), TipText(item.text), view, view->visualRect(index));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
};

} // namespace

TZtLineList::TZtLineList(QWidget* parent)
    : QTableView(parent)
    , FModel(new TZtLineListModel(this))
{
    setModel(FModel);
    setItemDelegate(new TCutOffTipDelegate(this));
    setFont(ListFont());
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setHorizontalScrollMode(ScrollPerPixel);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(QFontMetrics(font()).height() + 2);

    QHeaderView* columns = horizontalHeader();
    columns->setSectionsMovable(true);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    columns->setHighlightSections(false);
    for (size_t position = 0; position < DisplayOrder.size(); ++position) {
        const TColumnLayout& column = DisplayOrder[position];
        columns->moveSection(columns->visualIndex(column.Index), static_cast<int>(position));
        columns->resizeSection(column.Index, column.Width);
    }
}

TZtLineList::~TZtLineList() = default;

void TZtLineList::SetInitNode(TInitNode initNode)
{
    FModel->SetInitNode(std::move(initNode));
}

void TZtLineList::SetGetText(TGetText getText)
{
    FModel->SetGetText(std::move(getText));
}

void TZtLineList::ClearRows()
{
    FModel->SetRowCount(0);
}

void TZtLineList::SetRowCount(int count)
{
    FModel->SetRowCount(count);
}

int TZtLineList::RowCount() const
{
    return FModel->RowCount();
}

const void* TZtLineList::RowData(int row)
{
    return FModel->RowData(row);
}

} // namespace quorvex
