// The line list: one row per document line, cell texts computed from the
// raw bytes, and its emptying whenever the document goes.

#include "AppFixture.h"
#include "ZtLineList.h"

#include <QAbstractItemModel>
#include <QLabel>

namespace quorvex::testing {
namespace {

class LineListTest : public WindowTest {
protected:
    // The text the list shows in a cell.
    QString Cell(int row, int column) const
    {
        const QAbstractItemModel* model = Window.vtRows->model();
        return model->data(model->index(row, column), Qt::DisplayRole).toString();
    }
};

TEST_F(LineListTest, ALineShowsItsLengthGlyphsHexAndIndex)
{
    const std::string fileName = Path("cells.fa4");
    TFa4Builder().Line("AB\xFF").Line(Bytes({0x01, 0xC9, 0xCD, 0xBB, 0x00, 0x20})).Line("").WriteTo(fileName);
    Window.OpenDocument(fileName);
    ASSERT_EQ(Window.vtRows->RowCount(), 2) << "the empty third line ends the document";

    EXPECT_EQ(Cell(0, TZtLineList::colLen), QStringLiteral("3"));
    EXPECT_EQ(Cell(0, TZtLineList::colHex), QStringLiteral("41 42 FF "));
    EXPECT_EQ(Cell(0, TZtLineList::colIndex), QStringLiteral("0"));
    EXPECT_EQ(Cell(0, TZtLineList::colId), QStringLiteral("AB\u00A0"));

    EXPECT_EQ(Cell(1, TZtLineList::colLen), QStringLiteral("6"));
    EXPECT_EQ(Cell(1, TZtLineList::colHex), QStringLiteral("01 C9 CD BB 00 20 "));
    EXPECT_EQ(Cell(1, TZtLineList::colIndex), QStringLiteral("1"));
    // A face, a double box corner, line and corner, the NUL as a blank.
    EXPECT_EQ(Cell(1, TZtLineList::colId), QStringLiteral("\u263A\u2554\u2550\u2557  "));
}

TEST_F(LineListTest, RowsReferToTheDocumentsLineEntries)
{
    Window.OpenDocument(WriteGoodDocument());
    EXPECT_EQ(Window.vtRows->RowData(12), &Window.Document().GetLine(12));
    EXPECT_EQ(Cell(12, TZtLineList::colLen), QStringLiteral("13"));
    EXPECT_EQ(Cell(13, TZtLineList::colIndex), QStringLiteral("13"));
}

TEST_F(LineListTest, CellsWithoutARowOrOfAnotherColumnStayEmpty)
{
    Window.OpenDocument(WriteGoodDocument());
    EXPECT_TRUE(Window.vtRowsGetText(0, nullptr, TZtLineList::colLen).isNull());
    EXPECT_TRUE(Window.vtRowsGetText(0, Window.vtRows->RowData(0), 4).isNull());
}

TEST_F(LineListTest, ADocumentWithoutLinesListsNothingYetConverts)
{
    const std::string fileName = Path("empty.fa4");
    TFa4Builder().WriteTo(fileName);
    Window.OpenDocument(fileName);
    EXPECT_EQ(Window.vtRows->RowCount(), 0);
    // Every document written by F&A 4 has its header and footer lines.
    EXPECT_EQ(Window.Panel1->text(),
        QStringLiteral("0 Abschnitte in '%1': die Datei sieht nicht wie ein F&A-4-Dokument aus")
            .arg(QString::fromStdString(fileName)));
    EXPECT_EQ(Window.PageImage(wpConvertedText), siChanged);
}

TEST_F(LineListTest, ClearingTheDocumentEmptiesTheList)
{
    Window.OpenDocument(WriteGoodDocument());
    ASSERT_EQ(Window.vtRows->RowCount(), 14);
    Window.ClearDocument();
    EXPECT_EQ(Window.vtRows->RowCount(), 0);
    EXPECT_TRUE(Window.Panel1->text().isEmpty());
    EXPECT_EQ(Window.Document().LineCount(), 0);
}

} // namespace
} // namespace quorvex::testing
