// The line list: nothing computed up front, rows initialised once, texts by
// column index, the display order, tooltips only for cut-off cells.
#include "ZtLineList.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include <map>
#include <string>

using namespace quorvex;

namespace {

struct LineList : testing::Test {
    LineList()
    {
        list.resize(500, 300);
        list.SetInitNode([this](int row) -> const void* {
            ++initCalls;
            return &rows[row % 4];
        });
        list.SetGetText([this](int row, const void* data, int column) {
            ++textCalls;
            const auto& text = *static_cast<const std::string*>(data);
            if (column == 1) return QString::fromStdString(text);
            return QString::number(row) + QLatin1Char('/') + QString::number(column);
        });
    }

    std::string rows[4] = {"alpha", "beta", "gamma", "<b>" + std::string(200, 'W') + "</b>"};
    int initCalls = 0;
    int textCalls = 0;
    TZtLineList list;
};

TEST_F(LineList, SettingTheRowCountComputesNothing)
{
    list.SetRowCount(10000);
    EXPECT_EQ(list.RowCount(), 10000);
    EXPECT_EQ(list.model()->rowCount(), 10000);
    EXPECT_EQ(initCalls, 0);
    EXPECT_EQ(textCalls, 0);

    // Shown, only the visible rows are asked for.
    list.show();
    QApplication::processEvents();
    EXPECT_GT(textCalls, 0);
    EXPECT_LT(initCalls, 100);
    EXPECT_LT(textCalls, 100 * 4 * 4);
}

TEST_F(LineList, RowsAreInitialisedOnceOnFirstUse)
{
    list.SetRowCount(10);
    EXPECT_EQ(list.RowData(5), &rows[1]);
    EXPECT_EQ(list.RowData(5), &rows[1]);
    EXPECT_EQ(initCalls, 1);
    EXPECT_EQ(list.RowData(10), nullptr);
    EXPECT_EQ(list.RowData(-1), nullptr);
    EXPECT_EQ(initCalls, 1);

    // Clearing forgets every row; a new count starts afresh.
    list.ClearRows();
    EXPECT_EQ(list.RowCount(), 0);
    list.SetRowCount(10);
    list.RowData(5);
    EXPECT_EQ(initCalls, 2);
}

TEST_F(LineList, CellTextsGoByColumnIndex)
{
    list.SetRowCount(3);
    const QAbstractItemModel* model = list.model();
    EXPECT_EQ(model->data(model->index(2, 1)).toString(), "gamma");
    EXPECT_EQ(model->data(model->index(2, 0)).toString(), "2/0");
    EXPECT_EQ(model->data(model->index(1, 3)).toString(), "1/3");
    EXPECT_EQ(model->data(model->index(1, 2)).toString(), "1/2");
    EXPECT_FALSE(model->data(model->index(3, 0)).isValid());
}

TEST_F(LineList, ColumnsHaveTheirHeadersAlignmentsWidthsAndOrder)
{
    const QAbstractItemModel* model = list.model();
    const QHeaderView* header = list.horizontalHeader();
    const std::map<int, std::pair<QString, Qt::Alignment>> columns{{0, {"Len", Qt::AlignRight}},
        {1, {"ID", Qt::AlignLeft}}, {2, {"Hex", Qt::AlignLeft}}, {3, {"#", Qt::AlignRight}}};
    list.SetRowCount(1);
    for (const auto& [index, column] : columns) {
        EXPECT_EQ(model->headerData(index, Qt::Horizontal).toString(), column.first);
        const auto alignment =
            model->data(model->index(0, index), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_TRUE(alignment & column.second) << index;
    }
    EXPECT_EQ(header->logicalIndex(0), 3);
    EXPECT_EQ(header->logicalIndex(1), 0);
    EXPECT_EQ(header->logicalIndex(2), 1);
    EXPECT_EQ(header->logicalIndex(3), 2);
    EXPECT_EQ(header->sectionSize(3), 33);
    EXPECT_EQ(header->sectionSize(0), 33);
    EXPECT_EQ(header->sectionSize(1), 350);
    EXPECT_TRUE(header->sectionsMovable());
    EXPECT_EQ(header->sectionResizeMode(1), QHeaderView::Interactive);
    EXPECT_TRUE(header->stretchLastSection());
    EXPECT_FALSE(list.showGrid());
    EXPECT_FALSE(list.wordWrap());

    // "Hex" takes the width that is left.
    list.show();
    QApplication::processEvents();
    EXPECT_EQ(header->sectionSize(2), list.viewport()->width() - 33 - 33 - 350);
}

// The tooltip as a person reads it (and a screen reader): markup it took for
// markup is not read.
QString ShownTip()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* label = qobject_cast<QLabel*>(widget);
        if (label != nullptr && label->objectName() == QLatin1String("qtooltip_label") && label->isVisible())
            return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    }
    return QString();
}

TEST_F(LineList, TooltipOnlyForCutOffText)
{
    list.SetRowCount(4);
    list.show();
    QApplication::processEvents();
    const auto tipAt = [this](int row, int column) {
        QToolTip::hideText();
        const QRect cell = list.visualRect(list.model()->index(row, column));
        const QPoint at = cell.center();
        QHelpEvent event(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(list.viewport(), &event);
        // A cell that fits declines the event and shows no tip.
        return event.isAccepted() && QToolTip::isVisible() ? ShownTip() : QString();
    };
    EXPECT_EQ(tipAt(0, 1), QString()); // "alpha" fits
    EXPECT_EQ(tipAt(3, 1), QString::fromStdString(rows[3])); // cut off, shown as it is
    EXPECT_EQ(tipAt(3, 3), QString());
}

} // namespace
