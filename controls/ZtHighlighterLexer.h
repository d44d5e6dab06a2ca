// Colours a QScintilla document through a TZtCustomHighlighter: one style
// per highlighter attribute, and the scan state at the end of each line kept
// as Scintilla's line state, so a restyle can start at any line.
#pragma once

#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QFont>

#include <vector>

namespace quorvex {

class TZtCustomHighlighter;
class TZtHighlighterAttributes;

class TZtHighlighterLexer : public QsciLexerCustom {
    Q_OBJECT

public:
    // Style 0 is the editor's own look; attribute i of the highlighter gets
    // style i + 1. Scintilla keeps styles 32 and above for itself.
    static constexpr int MaxAttributeStyles = 31;
    // Scintilla styles know no strike-out; struck tokens carry this
    // indicator, which the editor draws as a line through the text.
    static constexpr int StrikeIndicator = 8;

    explicit TZtHighlighterLexer(QObject* parent = nullptr);

    void SetHighlighter(TZtCustomHighlighter* highlighter);
    // The editor's own font and colours, used where an attribute has none.
    void SetOwnLook(const QFont& font, const QColor& text, const QColor& paper);
    // Reads the attributes again and hands the styles to the editor.
    void RefreshStyles();

    // The attribute of the token that covers a column, the rest of the line
    // left unscanned; nullptr without an enabled highlighter.
    TZtHighlighterAttributes* AttributeAt(int line, int column);
    int StyleOf(const TZtHighlighterAttributes* attribute) const;

    const char* language() const override { return "Highlighted"; }
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QColor defaultPaper(int style) const override;
    QFont defaultFont(int style) const override;
    bool defaultEolFill(int style) const override;
    void styleText(int start, int end) override;

private:
    const TZtHighlighterAttributes* AttributeOfStyle(int style) const;
    bool Active() const;
    const char* DocumentBytes() const;
    void StartLineScan(int line, const char* text);
    void StyleLine(int line, const char* text);
    void PaintToken(long position, int length, const TZtHighlighterAttributes* attribute);

    TZtCustomHighlighter* FHighlighter = nullptr;
    std::vector<const TZtHighlighterAttributes*> FStyleAttributes; // style - 1
    QFont FFont;
    QColor FText = Qt::black;
    QColor FPaper = Qt::white;
};

} // namespace quorvex
