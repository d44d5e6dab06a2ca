// The editor colouring its text through the HTML highlighter: styles by
// token, scan states carried over lines, repaint on attribute changes.
#include "ZtHighlighterLexer.h"
#include "ZtHtmlHighlighter.h"
#include "ZtSourceEditor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace quorvex;

namespace {

// Scintilla colours are 0xBBGGRR.
long Bgr(int red, int green, int blue)
{
    return red | (green << 8) | (blue << 16);
}

long Bgr(const QColor& colour)
{
    return Bgr(colour.red(), colour.green(), colour.blue());
}

struct SourceEditorHighlight : testing::Test {
    SourceEditorHighlight()
    {
        editor.resize(600, 400);
        editor.show();
        editor.activateWindow();
        editor.setFocus();
        editor.SetHighlighter(&html);
        QApplication::processEvents();
    }

    void Show(const std::vector<std::string>& lines)
    {
        editor.SetLines(lines);
        Colourise();
    }

    void Colourise() { editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0L, -1L); }

    int StyleAt(int line, int column)
    {
        const long position = editor.positionFromLineIndex(line, column);
        return static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, position));
    }

    long Fore(int style) { return editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, style); }
    long Back(int style) { return editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK, style); }
    // QScintilla hands Qt's weight to Scintilla negated.
    bool Bold(int style)
    {
        return std::abs(editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETWEIGHT, style)) >=
            QFont::DemiBold;
    }
    bool Italic(int style) { return editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETITALIC, style); }
    bool Underline(int style)
    {
        return editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETUNDERLINE, style);
    }

    bool StruckAt(int line, int column)
    {
        const long position = editor.positionFromLineIndex(line, column);
        return editor.SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT,
                   TZtHighlighterLexer::StrikeIndicator, position) != 0;
    }

    long LineState(int line)
    {
        return editor.SendScintilla(QsciScintillaBase::SCI_GETLINESTATE, static_cast<unsigned long>(line));
    }

    TZtHtmlHighlighter html;
    TZtSourceEditor editor;
};

TEST_F(SourceEditorHighlight, TagsAreColouredByTheirAttributes)
{
    Show({"<style type=\"text/css\">", "  font.font1 {font:18pt}"});
    const int symbol = StyleAt(0, 0);
    const int tag = StyleAt(0, 1);
    const int identifier = StyleAt(0, 7);
    const int value = StyleAt(0, 12);
    const int text = StyleAt(1, 4);
    EXPECT_EQ(StyleAt(0, 5), tag); // the whole of "style"
    EXPECT_EQ(StyleAt(0, 22), symbol); // the closing ">"
    EXPECT_EQ(StyleAt(1, 0), text); // one text token, blanks included

    EXPECT_EQ(Fore(tag), Bgr(0x80, 0x00, 0xFF)); // violet, bold
    EXPECT_TRUE(Bold(tag));
    EXPECT_EQ(Fore(value), Bgr(0x00, 0x80, 0xFF)); // blue, not bold
    EXPECT_FALSE(Bold(value));
    EXPECT_TRUE(Bold(identifier));
    EXPECT_TRUE(Bold(symbol));
    // Attributes without colours take the editor's own.
    EXPECT_EQ(Fore(text), Bgr(editor.palette().color(QPalette::Text)));
    EXPECT_EQ(Back(text), Bgr(editor.palette().color(QPalette::Base)));
    EXPECT_FALSE(Bold(text));
}

TEST_F(SourceEditorHighlight, CommentsCarryOverLinesAndEditsRescanTheLinesAfter)
{
    Show({"<!-- a", "b -->c", "<p>"});
    const int comment = StyleAt(0, 0);
    EXPECT_EQ(StyleAt(1, 0), comment);
    EXPECT_EQ(StyleAt(1, 4), comment);
    EXPECT_NE(StyleAt(1, 5), comment);
    EXPECT_EQ(LineState(0), TZtHtmlHighlighter::hsComment);
    EXPECT_EQ(LineState(1), TZtHtmlHighlighter::hsText);

    // Taking the opener away turns the next line into text again.
    editor.setSelection(0, 0, 0, 4);
    editor.removeSelectedText();
    Colourise();
    EXPECT_EQ(LineState(0), TZtHtmlHighlighter::hsText);
    EXPECT_NE(StyleAt(1, 0), comment);
    EXPECT_EQ(StyleAt(1, 0), StyleAt(1, 5));

    // Opening a tag on the first line makes the next line its attributes.
    editor.setCursorPosition(0, 0);
    QTest::keyClicks(&editor, "<a ");
    Colourise();
    EXPECT_EQ(LineState(0), TZtHtmlHighlighter::hsAttributes);
    EXPECT_EQ(StyleAt(1, 0),
        editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, editor.positionFromLineIndex(0, 4)));
}

TEST_F(SourceEditorHighlight, AttributeChangesRepaintAtOnce)
{
    Show({"<p>text</p>"});
    const int tag = StyleAt(0, 1);
    const int text = StyleAt(0, 3);
    html.KeyAttri()->SetForeground(TZtColor{0, 0xC0, 0});
    EXPECT_EQ(Fore(tag), Bgr(0, 0xC0, 0));

    html.TextAttri()->SetStyle(fsItalic | fsUnderline | fsStrikeOut);
    Colourise();
    EXPECT_TRUE(Italic(text));
    EXPECT_TRUE(Underline(text));
    EXPECT_TRUE(StruckAt(0, 4));
    EXPECT_FALSE(StruckAt(0, 1));

    // The space attribute's background shows behind attributes without one.
    html.SpaceAttri()->SetBackground(TZtColor{0x11, 0x22, 0x33});
    EXPECT_EQ(Back(text), Bgr(0x11, 0x22, 0x33));
    EXPECT_EQ(Back(tag), Bgr(0x11, 0x22, 0x33));
    html.TextAttri()->SetBackground(TZtColor{0xFF, 0xFF, 0});
    EXPECT_EQ(Back(text), Bgr(0xFF, 0xFF, 0));
}

TEST_F(SourceEditorHighlight, TheWidgetsFontAndPaletteAreTheOwnLook)
{
    Show({"<p>text"});
    const int text = StyleAt(0, 3);
    QPalette palette = editor.palette();
    palette.setColor(QPalette::Text, QColor(0x40, 0x50, 0x60));
    palette.setColor(QPalette::Base, QColor(0xF0, 0xE0, 0xD0));
    editor.setPalette(palette);
    EXPECT_EQ(Fore(text), Bgr(0x40, 0x50, 0x60));
    EXPECT_EQ(Back(text), Bgr(0xF0, 0xE0, 0xD0));
    EXPECT_EQ(Fore(StyleAt(0, 1)), Bgr(0x80, 0x00, 0xFF)); // coloured tokens keep their colour

    QFont font = editor.font();
    font.setPointSize(15);
    static_cast<QWidget&>(editor).setFont(font);
    char family[200] = {};
    editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETFONT, text, family);
    EXPECT_EQ(editor.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, text), 15);
    EXPECT_EQ(QString::fromLatin1(family), font.family());
}

TEST_F(SourceEditorHighlight, DisabledHighlighterPaintsPlainText)
{
    Show({"<p class=x>text</p>"});
    EXPECT_NE(StyleAt(0, 1), 0);
    html.SetEnabled(false);
    Colourise();
    for (int column = 0; column < 19; ++column) EXPECT_EQ(StyleAt(0, column), 0) << column;
    html.SetEnabled(true);
    Colourise();
    EXPECT_NE(StyleAt(0, 1), 0);
}

TEST_F(SourceEditorHighlight, DetachingWithdrawsTheListener)
{
    auto other = std::make_unique<TZtSourceEditor>();
    other->SetHighlighter(&html);
    other.reset(); // an editor that goes away must not be called any more
    html.KeyAttri()->SetForeground(TZtColor{1, 2, 3});

    Show({"<p>"});
    editor.SetHighlighter(nullptr);
    Colourise();
    EXPECT_EQ(StyleAt(0, 1), 0);
}

TEST_F(SourceEditorHighlight, WordMovesStopAtTheLanguagesWordBoundaries)
{
    // 0xD7 (the multiplication sign) is no word character of the highlighter,
    // 0xE4 is; without a highlighter every byte above 0x7F joins words.
    Show({"ab\xE4\xD7"
          "cd x"});
    editor.setCursorPosition(0, 0);
    editor.ExecuteCommand(TZtEditorCommand::cmdWordRight);
    int line = 0, index = 0;
    editor.getCursorPosition(&line, &index);
    EXPECT_EQ(index, 3);

    editor.SetHighlighter(nullptr);
    editor.setCursorPosition(0, 0);
    editor.ExecuteCommand(TZtEditorCommand::cmdWordRight);
    editor.getCursorPosition(&line, &index);
    EXPECT_EQ(index, 7);
}

TEST_F(SourceEditorHighlight, BracketMatchingSkipsBracketsOfAnotherAttribute)
{
    // The ")" inside the comment does not close the "(" of the text.
    Show({"a ( <!-- ) --> )"});
    editor.setCursorPosition(0, 2);
    editor.ExecuteCommand(TZtEditorCommand::cmdMatchBracket);
    int line = 0, index = 0;
    editor.getCursorPosition(&line, &index);
    EXPECT_EQ(index, 15);

    // "<" and ">" of a tag pair up, and a tag spanning lines is followed.
    Show({"<a", " href=x>"});
    editor.setCursorPosition(0, 0);
    editor.ExecuteCommand(TZtEditorCommand::cmdMatchBracket);
    editor.getCursorPosition(&line, &index);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(index, 7);
}

} // namespace
