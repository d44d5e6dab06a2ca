// The window as built: its parts, the status images, the help text, the
// splitter that keeps the line list shut until it is dragged open, and the
// editor with its key bindings.

#include "AppFixture.h"
#include "PreviewProbe.h"
#include "ZtFindBar.h"
#include "ZtHelpText.h"
#include "ZtHtmlPreview.h"
#include "ZtLineList.h"
#include "ZtSourceEditor.h"

#include <QFrame>
#include <QGuiApplication>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTest>

namespace quorvex::testing {
namespace {

class WindowLayoutTest : public WindowTest {
protected:
    void ShowWindow()
    {
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    void DragListTo(int width)
    {
        const int total = Window.Splitter1->sizes().value(0) + Window.Splitter1->sizes().value(1);
        Window.Splitter1->setSizes({width, total - width});
        emit Window.Splitter1->splitterMoved(width, 1);
    }
};

TEST_F(WindowLayoutTest, ThePartsAreThereByName)
{
    EXPECT_EQ(Window.windowTitle(), QStringLiteral("Quorvex"));
    for (const char* name : {"Panel1", "Panel2", "Panel3", "Panel4", "Panel5", "vtRows", "Splitter1",
             "PageControl", "Header", "HtmlPreview", "HelpMemo", "btnLoadFa4", "btnAsHtml", "btnOk"})
        EXPECT_NE(Window.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_TRUE(Window.Panel1->text().isEmpty());
}

// Ctrl+F finds in the converted text only, wherever the focus is on its page.
TEST_F(WindowLayoutTest, CtrlFOpensTheFindBarUnderThePreview)
{
    ShowWindow();
    Window.ShowPage(Window.tsHeader);
    Window.Header->setFocus();
    QTest::keyClick(Window.Header, Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(Window.FindBar->isVisible());

    Window.ShowPage(Window.tsHtml);
    Window.HtmlPreview->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Window.FindBar->isVisible());
    EXPECT_TRUE(Window.FindBar->Field->hasFocus());
    EXPECT_EQ(Window.FindBar->parentWidget(), Window.tsHtml);
}

TEST_F(WindowLayoutTest, ThePagesComeInTabOrder)
{
    ASSERT_EQ(Window.PageControl->count(), 3);
    EXPECT_EQ(Window.PageControl->tabText(0), QStringLiteral("Preferences"));
    EXPECT_EQ(Window.PageControl->tabText(1), QStringLiteral("Converted Text"));
    EXPECT_EQ(Window.PageControl->tabText(2), QStringLiteral("Help!"));
    EXPECT_EQ(Window.PageControl->widget(0), Window.tsHeader);
    EXPECT_EQ(Window.PageControl->widget(1), Window.tsHtml);
}

TEST_F(WindowLayoutTest, TheButtonsStandLeftToRightAndTabRightToLeft)
{
    ShowWindow();
    EXPECT_EQ(Window.btnLoadFa4->text(), QStringLiteral("Load..."));
    EXPECT_EQ(Window.btnAsHtml->text(), QStringLiteral("Save..."));
    EXPECT_EQ(Window.btnOk->text(), QStringLiteral("Close"));
    EXPECT_LT(Window.btnLoadFa4->x(), Window.btnAsHtml->x());
    EXPECT_LT(Window.btnAsHtml->x(), Window.btnOk->x());
    EXPECT_EQ(Window.btnOk->nextInFocusChain(), Window.btnAsHtml);
    EXPECT_EQ(Window.btnAsHtml->nextInFocusChain(), Window.btnLoadFa4);
    EXPECT_EQ(Window.btnOk->size(), QSize(75, 25));
}

TEST_F(WindowLayoutTest, StatusImagesAreColouredDotsOnATransparentGround)
{
    const int header = Window.PageControl->indexOf(Window.tsHeader);
    const QImage ok = Window.PageControl->tabIcon(header).pixmap(16, 16).toImage();
    ASSERT_EQ(ok.size(), QSize(16, 16));
    EXPECT_EQ(ok.pixelColor(0, 0).alpha(), 0);
    const QColor centre = ok.pixelColor(8, 8);
    EXPECT_EQ(centre.alpha(), 255);
    EXPECT_GT(centre.green(), 2 * centre.red()) << "a green dot";

    QTest::keyClick(Window.Header, Qt::Key_X);
    const QColor changed = Window.PageControl->tabIcon(header).pixmap(16, 16).toImage().pixelColor(8, 8);
    EXPECT_GT(changed.red(), 200) << "a yellow dot";
    EXPECT_GT(changed.green(), 150);
    EXPECT_LT(changed.blue(), 100);
}

TEST_F(WindowLayoutTest, TheEditorStartsWithTheDefaultPreferences)
{
    const auto lines = Window.Header->Lines();
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines.front(), "<head>");
    EXPECT_EQ(lines[3], "  body  {font-family:Times New Roman, Verdana, Arial, Helvetica, serif}");
    EXPECT_EQ(lines.back(), "</head>");
    EXPECT_EQ(Window.Header->Highlighter()->DefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
}

TEST_F(WindowLayoutTest, TheHelpPageShowsTheGermanHelpText)
{
    const QStringList lines = Window.HelpMemo->toPlainText().split(u'\n');
    ASSERT_EQ(lines.size(), 26);
    EXPECT_EQ(lines[10], QStringLiteral("Gr\u00FCn = OK, "));
    EXPECT_TRUE(lines[23].startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(Window.HelpMemo->isReadOnly());
    EXPECT_EQ(Window.HelpMemo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(WindowLayoutTest, TheLineListStartsShut)
{
    ShowWindow();
    EXPECT_EQ(Window.vtRows->width(), 0);
    EXPECT_EQ(Window.Splitter1->sizes().value(0), 0);
}

TEST_F(WindowLayoutTest, ALineListDraggedNarrowerThan30SnapsShut)
{
    ShowWindow();
    DragListTo(29);
    EXPECT_EQ(Window.Splitter1->sizes().value(0), 0);
    DragListTo(30);
    EXPECT_EQ(Window.Splitter1->sizes().value(0), 30);
    DragListTo(150);
    EXPECT_EQ(Window.vtRows->width(), 150);
}

TEST_F(WindowLayoutTest, DraggingTheSplitterWithTheMouseOpensAndSnaps)
{
    ShowWindow();
    QSplitterHandle* handle = Window.Splitter1->handle(1);
    const QPoint grip(handle->width() / 2, handle->height() / 2);
    auto drag = [&](int dx) {
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(dx, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(dx, 0));
    };
    drag(20);
    EXPECT_EQ(Window.vtRows->width(), 0);
    drag(120);
    EXPECT_EQ(Window.vtRows->width(), 120);
    drag(-100);
    EXPECT_EQ(Window.vtRows->width(), 0) << "20 wide snaps shut";
}

TEST_F(WindowLayoutTest, ThePagesStayAtLeast50Wide)
{
    ShowWindow();
    DragListTo(Window.width());
    EXPECT_GE(Window.Panel5->width(), 50);
}

TEST_F(WindowLayoutTest, CloseClosesTheWindow)
{
    ShowWindow();
    Window.btnOk->click();
    EXPECT_FALSE(Window.isVisible());
}

TEST_F(WindowLayoutTest, TheWindowShowsTheProgramsIcon)
{
    EXPECT_FALSE(Window.windowIcon().pixmap(32, 32).isNull());
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("quorvex"));
}

TEST_F(WindowLayoutTest, ControlOSAndQRunLoadSaveAndCloseFromEditorAndPreview)
{
    ShowWindow();
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    Window.ShowPage(Window.tsHeader);
    Window.Header->setFocus();
    QTest::keyClick(Window.Header, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(Window.Header, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(Prompter.Requests.size(), 2u);
    EXPECT_EQ(Prompter.Requests[0].Title, QStringLiteral("Load Preferences"));
    EXPECT_EQ(Prompter.Requests[1].Title, QStringLiteral("Save Preferences As"));
    EXPECT_EQ(Window.Header->Lines().size(), 16u) << "the keys typed nothing";

    Window.ShowPage(Window.tsHtml);
    ASSERT_TRUE(WaitUntilLoaded(*Window.HtmlPreview));
    QWidget* surface = Window.HtmlPreview->focusProxy();
    ASSERT_NE(surface, nullptr);
    surface->setFocus();
    QTest::keyClick(surface, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(Prompter.Requests.size(), 3u);
    EXPECT_FALSE(Prompter.Requests[2].Save);
    EXPECT_TRUE(Prompter.Requests[2].Title.isEmpty()) << "the document's dialog";

    QTest::keyClick(surface, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Window.isVisible());
}

TEST_F(WindowLayoutTest, TheEditorGetsTheKeyBindings)
{
    EXPECT_EQ(TZtSourceEditor::KeyBindings().size(), 82u);
    ShowWindow();
    Window.ShowPage(Window.tsHeader);
    Window.Header->setFocus();

    // Ctrl+Y deletes the line with the caret, and counts as the user's edit.
    Window.Header->setCursorPosition(0, 0);
    QTest::keyClick(Window.Header, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Window.Header->Lines().size(), 15u);
    EXPECT_EQ(Window.Header->Lines().front(), "<meta charset=\"utf-8\">");
    EXPECT_EQ(Window.PageImage(wpPreferences), siChanged);

    // Alt+Backspace undoes it.
    QTest::keyClick(Window.Header, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(Window.Header->Lines().size(), 16u);

    // Tab inserts blanks and keeps the focus in the editor.
    const std::string before = Window.Header->Lines()[3];
    Window.Header->setCursorPosition(3, 0);
    QTest::keyClick(Window.Header, Qt::Key_Tab);
    EXPECT_TRUE(Window.Header->hasFocus());
    const std::string after = Window.Header->Lines()[3];
    ASSERT_GT(after.size(), before.size());
    EXPECT_TRUE(after.ends_with(before));
    EXPECT_EQ(after.find_first_not_of(' '), after.size() - before.size() + before.find_first_not_of(' '))
        << "only blanks were inserted";
}

} // namespace
} // namespace quorvex::testing
