// The editor's text as the window sees it: lines, whole text, bytes kept
// as bytes, change notification for the user's edits only, trailing blanks.
#include "ZtSourceEditor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>
#include <QTest>

#include <string>
#include <vector>

using namespace quorvex;

namespace {

struct SourceEditorText : testing::Test {
    SourceEditorText()
    {
        editor.resize(600, 400);
        editor.show();
        editor.activateWindow();
        editor.setFocus();
        QApplication::processEvents();
        QObject::connect(&editor, &TZtSourceEditor::UserChanged, [this] { ++changes; });
    }

    TZtSourceEditor editor;
    int changes = 0;
};

std::string AllBytesFrom(int first)
{
    std::string bytes;
    for (int code = first; code < 256; ++code) bytes.push_back(static_cast<char>(code));
    return bytes;
}

TEST_F(SourceEditorText, LinesRoundTripWithWholeTextEndingEveryLineInCrLf)
{
    editor.SetLines({"<head>", "  p.indent {}", "", "</head>"});
    EXPECT_EQ(editor.Lines(), (std::vector<std::string>{"<head>", "  p.indent {}", "", "</head>"}));
    EXPECT_EQ(editor.WholeText(), "<head>\r\n  p.indent {}\r\n\r\n</head>\r\n");
    EXPECT_EQ(editor.lines(), 4);
}

TEST_F(SourceEditorText, EmptyEditorHasNoLinesAndNoText)
{
    editor.SetLines({"x"});
    editor.SetLines({});
    EXPECT_TRUE(editor.Lines().empty());
    EXPECT_EQ(editor.WholeText(), "");
    // One empty line is shown as an empty editor as well.
    editor.SetLines({""});
    EXPECT_EQ(editor.WholeText(), "");
    // A trailing empty line is a line of its own.
    editor.SetLines({"a", ""});
    EXPECT_EQ(editor.WholeText(), "a\r\n\r\n");
}

TEST_F(SourceEditorText, EightBitBytesRoundTripUnchanged)
{
    const std::string high = AllBytesFrom(0x80);
    const std::string printable = AllBytesFrom(0x20).substr(0, 0x60); // 0x20-0x7F
    editor.SetLines({high, printable, "\xE4\xF6\xFC\xDF \x80 \x9F"});
    const auto lines = editor.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], high);
    EXPECT_EQ(lines[1], printable);
    EXPECT_EQ(lines[2], "\xE4\xF6\xFC\xDF \x80 \x9F");
    EXPECT_EQ(editor.WholeText(), high + "\r\n" + printable + "\r\n\xE4\xF6\xFC\xDF \x80 \x9F\r\n");
}

TEST_F(SourceEditorText, SetLinesRaisesNoChangeAndClearsUndo)
{
    editor.SetLines({"one", "two"});
    QApplication::processEvents();
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(editor.isUndoAvailable());
}

TEST_F(SourceEditorText, UserEditsRaiseTheChangeNotification)
{
    editor.SetLines({"abc"});
    editor.setCursorPosition(0, 3);
    QTest::keyClicks(&editor, "de");
    EXPECT_GE(changes, 1);
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"abcde"});

    changes = 0;
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"abcd"});

    changes = 0;
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"abcde"});

    changes = 0;
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"abcd"});

    changes = 0;
    QTest::keyClick(&editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_GE(changes, 1);
    EXPECT_TRUE(editor.Lines().empty());

    changes = 0;
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"abcd"});
}

TEST_F(SourceEditorText, TabStaysInTheEditorAndInsertsBlanksToTheNextStop)
{
    editor.SetLines({"ab"});
    editor.setCursorPosition(0, 2);
    QTest::keyClick(&editor, Qt::Key_Tab);
    EXPECT_TRUE(editor.hasFocus());
    QTest::keyClicks(&editor, "x");
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"ab      x"});
}

TEST_F(SourceEditorText, TabLinesUpWithTheWordsOfTheLineAbove)
{
    editor.SetLines({"  <style type=x>", "", "a"});
    editor.setCursorPosition(2, 1);
    QTest::keyClick(&editor, Qt::Key_Tab); // the empty line is passed over
    QTest::keyClicks(&editor, "b");
    QTest::keyClick(&editor, Qt::Key_Tab);
    QTest::keyClicks(&editor, "c");
    // Past the last word of the line above, the next tab stop.
    QTest::keyClick(&editor, Qt::Key_Tab);
    QTest::keyClicks(&editor, "d");
    EXPECT_EQ(editor.Lines()[2], "a b      c      d");
}

TEST_F(SourceEditorText, EnterKeepsTheIndentOfTheLineAbove)
{
    editor.SetLines({"  <style>"});
    editor.setCursorPosition(0, 9);
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, "x");
    EXPECT_EQ(editor.Lines(), (std::vector<std::string>{"  <style>", "  x"}));
}

TEST_F(SourceEditorText, TrailingBlanksOfAnEditedLineGoWhenTheCaretLeavesIt)
{
    editor.SetLines({"keep   ", "b"});
    editor.setCursorPosition(1, 1);
    QTest::keyClicks(&editor, "c  ");
    // While the caret is on the line the blanks are in the editor, but the
    // text handed out never has them.
    EXPECT_EQ(editor.text(1).toLatin1().toStdString(), "bc  ");
    EXPECT_EQ(editor.Lines(), (std::vector<std::string>{"keep   ", "bc"}));

    QTest::keyClick(&editor, Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_EQ(editor.text(1).toLatin1().toStdString(), "bc");
    // A line that was not edited keeps its blanks.
    EXPECT_EQ(editor.text(0).toLatin1().toStdString(), "keep   \r\n");
}

TEST_F(SourceEditorText, EnterDropsTheBlanksBeforeTheBreak)
{
    editor.SetLines({"a"});
    editor.setCursorPosition(0, 1);
    QTest::keyClicks(&editor, "b   ");
    QTest::keyClick(&editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(editor.text(0).toLatin1().toStdString(), "ab\r\n");
    EXPECT_EQ(editor.WholeText(), "ab\r\n\r\n");
}

TEST_F(SourceEditorText, DroppedFilesAreLeftToTheWindowAndTextIsTaken)
{
    const auto accepts = [this](QMimeData& data) {
        const QPoint at = editor.viewport()->rect().center();
        QDragEnterEvent event(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &event);
        return event.isAccepted();
    };
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile("/tmp/letter.fa4")});
    file.setText("/tmp/letter.fa4");
    EXPECT_FALSE(accepts(file));
    QMimeData text;
    text.setText("<p>");
    EXPECT_TRUE(accepts(text));
}

} // namespace
