// The editor's 82 key bindings, each checked through a real key press, and
// the behaviour of the commands the editor carries out itself.
#include "ZtSourceEditor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

using namespace quorvex;
using enum TZtEditorCommand;

namespace {

struct ExpectedBinding {
    const char* Key;
    TZtEditorCommand Command;
};

// The window's list, in its order, written as key names.
const std::vector<ExpectedBinding> Expected{
    {"Up", cmdUp},
    {"Shift+Up", cmdSelUp},
    {"Ctrl+Up", cmdScrollUp},
    {"Down", cmdDown},
    {"Shift+Down", cmdSelDown},
    {"Ctrl+Down", cmdScrollDown},
    {"Left", cmdLeft},
    {"Shift+Left", cmdSelLeft},
    {"Ctrl+Left", cmdWordLeft},
    {"Ctrl+Shift+Left", cmdSelWordLeft},
    {"Right", cmdRight},
    {"Shift+Right", cmdSelRight},
    {"Ctrl+Right", cmdWordRight},
    {"Ctrl+Shift+Right", cmdSelWordRight},
    {"PgDown", cmdPageDown},
    {"Shift+PgDown", cmdSelPageDown},
    {"Ctrl+PgDown", cmdPageBottom},
    {"Ctrl+Shift+PgDown", cmdSelPageBottom},
    {"PgUp", cmdPageUp},
    {"Shift+PgUp", cmdSelPageUp},
    {"Ctrl+PgUp", cmdPageTop},
    {"Ctrl+Shift+PgUp", cmdSelPageTop},
    {"Home", cmdLineStart},
    {"Shift+Home", cmdSelLineStart},
    {"Ctrl+Home", cmdEditorTop},
    {"Ctrl+Shift+Home", cmdSelEditorTop},
    {"End", cmdLineEnd},
    {"Shift+End", cmdSelLineEnd},
    {"Ctrl+End", cmdEditorBottom},
    {"Ctrl+Shift+End", cmdSelEditorBottom},
    {"Ins", cmdToggleMode},
    {"Ctrl+Ins", cmdCopy},
    {"Shift+Del", cmdCut},
    {"Shift+Ins", cmdPaste},
    {"Del", cmdDeleteChar},
    {"Backspace", cmdDeleteLastChar},
    {"Shift+Backspace", cmdDeleteLastChar},
    {"Ctrl+Backspace", cmdDeleteLastWord},
    {"Alt+Backspace", cmdUndo},
    {"Shift+Alt+Backspace", cmdRedo},
    {"Return", cmdLineBreak},
    {"Shift+Return", cmdLineBreak},
    {"Tab", cmdTab},
    {"Shift+Tab", cmdShiftTab},
    {"Ctrl+F1", cmdContextHelp},
    {"Ctrl+A", cmdSelectAll},
    {"Ctrl+C", cmdCopy},
    {"Ctrl+V", cmdPaste},
    {"Ctrl+X", cmdCut},
    {"Ctrl+Shift+I", cmdBlockIndent},
    {"Ctrl+Shift+U", cmdBlockUnindent},
    {"Ctrl+M", cmdLineBreak},
    {"Ctrl+N", cmdInsertLine},
    {"Ctrl+T", cmdDeleteWord},
    {"Ctrl+Y", cmdDeleteLine},
    {"Ctrl+Shift+Y", cmdDeleteEOL},
    {"Ctrl+Z", cmdUndo},
    {"Ctrl+Shift+Z", cmdRedo},
    {"Ctrl+0", cmdGotoMarker0},
    {"Ctrl+1", cmdGotoMarker1},
    {"Ctrl+2", cmdGotoMarker2},
    {"Ctrl+3", cmdGotoMarker3},
    {"Ctrl+4", cmdGotoMarker4},
    {"Ctrl+5", cmdGotoMarker5},
    {"Ctrl+6", cmdGotoMarker6},
    {"Ctrl+7", cmdGotoMarker7},
    {"Ctrl+8", cmdGotoMarker8},
    {"Ctrl+9", cmdGotoMarker9},
    {"Ctrl+Shift+0", cmdSetMarker0},
    {"Ctrl+Shift+1", cmdSetMarker1},
    {"Ctrl+Shift+2", cmdSetMarker2},
    {"Ctrl+Shift+3", cmdSetMarker3},
    {"Ctrl+Shift+4", cmdSetMarker4},
    {"Ctrl+Shift+5", cmdSetMarker5},
    {"Ctrl+Shift+6", cmdSetMarker6},
    {"Ctrl+Shift+7", cmdSetMarker7},
    {"Ctrl+Shift+8", cmdSetMarker8},
    {"Ctrl+Shift+9", cmdSetMarker9},
    {"Ctrl+Shift+N", cmdNormalSelect},
    {"Ctrl+Shift+C", cmdColumnSelect},
    {"Ctrl+Shift+L", cmdLineSelect},
    {"Ctrl+Shift+B", cmdMatchBracket},
};

QKeyCombination KeyOf(const char* name)
{
    const QKeySequence sequence = QKeySequence::fromString(QString::fromLatin1(name));
    EXPECT_EQ(sequence.count(), 1) << name;
    return sequence[0];
}

struct SourceEditorKeys : testing::Test {
    SourceEditorKeys()
    {
        editor.resize(500, 300);
        editor.show();
        editor.activateWindow();
        editor.setFocus();
        QApplication::processEvents();
        QObject::connect(&editor, &TZtSourceEditor::CommandExecuted,
            [this](TZtEditorCommand command) { executed.push_back(command); });
    }

    std::optional<TZtEditorCommand> Press(QKeyCombination key)
    {
        executed.clear();
        QTest::keyClick(&editor, key.key(), key.keyboardModifiers());
        if (executed.size() != 1) return std::nullopt;
        return executed.front();
    }

    // Moves the caret as a click does, so Up and Down keep its column.
    void Place(int line, int index)
    {
        editor.setCursorPosition(line, index);
        editor.SendScintilla(QsciScintillaBase::SCI_CHOOSECARETX);
    }

    std::pair<int, int> Caret()
    {
        int line = 0, index = 0;
        editor.getCursorPosition(&line, &index);
        return {line, index};
    }

    void SetNumberedLines(int count)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
        editor.SetLines(lines);
    }

    TZtSourceEditor editor;
    std::vector<TZtEditorCommand> executed;
};

TEST_F(SourceEditorKeys, TableHoldsTheEightyTwoPairsInOrder)
{
    const auto table = TZtSourceEditor::KeyBindings();
    ASSERT_EQ(table.size(), 82u);
    ASSERT_EQ(Expected.size(), 82u);
    for (size_t i = 0; i < Expected.size(); ++i) {
        EXPECT_EQ(table[i].Key, KeyOf(Expected[i].Key)) << "pair " << i << " " << Expected[i].Key;
        EXPECT_EQ(table[i].Command, Expected[i].Command) << "pair " << i << " " << Expected[i].Key;
    }
}

TEST_F(SourceEditorKeys, EveryKeyRunsItsCommand)
{
    for (const ExpectedBinding& binding : Expected) {
        SetNumberedLines(60);
        editor.setCursorPosition(10, 2);
        const auto command = Press(KeyOf(binding.Key));
        ASSERT_TRUE(command.has_value()) << binding.Key;
        EXPECT_EQ(*command, binding.Command) << binding.Key;
        EXPECT_TRUE(editor.hasFocus()) << binding.Key;
    }
}

TEST_F(SourceEditorKeys, KeysOutsideTheListDoNothing)
{
    editor.SetLines({"abc"});
    editor.setCursorPosition(0, 1);
    for (const char* key : {"Ctrl+D", "Ctrl+L", "Escape", "Ctrl+Shift+Up", "Alt+Left", "F3"}) {
        executed.clear();
        const QKeyCombination combination = KeyOf(key);
        QTest::keyClick(&editor, combination.key(), combination.keyboardModifiers());
        EXPECT_TRUE(executed.empty()) << key;
    }
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"abc"});
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
}

TEST_F(SourceEditorKeys, BookmarksAreSetFollowEditsAndAreGoneWhenSetTwice)
{
    SetNumberedLines(20);
    editor.setCursorPosition(5, 3);
    QTest::keyClick(&editor, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.BookmarkLine(3), 5);

    editor.setCursorPosition(12, 0);
    QTest::keyClick(&editor, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(5, 3));

    // A line inserted above moves the bookmark with its line.
    editor.setCursorPosition(0, 0);
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClick(&editor, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(6, 3));

    // An unset bookmark leaves the caret alone.
    QTest::keyClick(&editor, Qt::Key_7, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(6, 3));

    // Setting it again on its own line removes it.
    QTest::keyClick(&editor, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.BookmarkLine(3), -1);

    // New text starts without bookmarks.
    QTest::keyClick(&editor, Qt::Key_4, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(editor.BookmarkLine(4), 6);
    SetNumberedLines(20);
    EXPECT_EQ(editor.BookmarkLine(4), -1);
}

TEST_F(SourceEditorKeys, InsertLineBreaksTheLineAndLeavesTheCaret)
{
    editor.SetLines({"abcd", "next"});
    editor.setCursorPosition(0, 2);
    QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(editor.Lines(), (std::vector<std::string>{"ab", "cd", "next"}));
    EXPECT_EQ(Caret(), std::make_pair(0, 2));
}

TEST_F(SourceEditorKeys, PageTopAndBottomKeepTheColumn)
{
    SetNumberedLines(200);
    editor.setFirstVisibleLine(50);
    editor.setCursorPosition(60, 3);
    editor.setFirstVisibleLine(50);
    const int onScreen = static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN));
    ASSERT_GT(onScreen, 5);

    QTest::keyClick(&editor, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(50, 3));
    EXPECT_FALSE(editor.hasSelectedText());

    QTest::keyClick(&editor, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Caret(), std::make_pair(50 + onScreen - 1, 3));

    // The selecting variant keeps the anchor.
    QTest::keyClick(&editor, Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier);
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    editor.getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    EXPECT_EQ(fromLine, 50);
    EXPECT_EQ(toLine, 50 + onScreen - 1);
}

TEST_F(SourceEditorKeys, LineSelectModeSelectsWholeLines)
{
    editor.SetLines({"first", "second", "third"});
    Place(0, 2);
    QTest::keyClick(&editor, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.SelectionMode(), QsciScintillaBase::SC_SEL_LINES);
    QTest::keyClick(&editor, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(editor.selectedText().toStdString(), "first\r\nsecond");

    // Back in normal mode a selection runs from character to character.
    QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.SelectionMode(), QsciScintillaBase::SC_SEL_STREAM);
    Place(0, 2);
    QTest::keyClick(&editor, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(editor.selectedText().toStdString(), "rst\r\nse");
}

TEST_F(SourceEditorKeys, ColumnSelectModeSelectsABlock)
{
    editor.SetLines({"abcd", "efgh", "ijkl"});
    Place(0, 1);
    QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(editor.SendScintilla(QsciScintillaBase::SCI_SELECTIONISRECTANGLE));
    QTest::keyClick(&editor, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    editor.setCursorPosition(2, 4);
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.Lines()[2].substr(0, 6), "ijklbc");
}

TEST_F(SourceEditorKeys, BlockIndentAndUnindentTheSelectedLines)
{
    editor.SetLines({"a", "b", "c"});
    editor.setSelection(0, 0, 2, 0); // ends at the start of line 2: lines 0 and 1
    QTest::keyClick(&editor, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.Lines(), (std::vector<std::string>{"  a", "  b", "c"}));
    QTest::keyClick(&editor, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor.Lines(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(SourceEditorKeys, BracketMatchingWithoutHighlighterPairsNestedBrackets)
{
    editor.SetLines({"f(a, (b), c) + [x]"});
    editor.setCursorPosition(0, 1);
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Caret(), std::make_pair(0, 11));
    QTest::keyClick(&editor, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Caret(), std::make_pair(0, 1));
}

TEST_F(SourceEditorKeys, ContextHelpOnlyAnnounces)
{
    editor.SetLines({"abc"});
    int requests = 0;
    QObject::connect(&editor, &TZtSourceEditor::ContextHelpRequested, [&] { ++requests; });
    QTest::keyClick(&editor, Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(editor.Lines(), std::vector<std::string>{"abc"});
}

} // namespace
