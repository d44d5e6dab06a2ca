// The preview: Windows-1252 decoding, pt lengths turned into px so indented
// paragraphs show indented, shown from the top, no history.
#include "ZtHtmlPreview.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>
#include <string>

using namespace quorvex;

namespace {

QTextBlock BlockContaining(const QTextDocument& document, const QString& text)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.text().contains(text)) return block;
    return {};
}

TEST(HtmlPreviewDecoding, Windows1252BytesBecomeTheirCharacters)
{
    EXPECT_EQ(TZtHtmlPreview::DecodeWindows1252("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(TZtHtmlPreview::DecodeWindows1252("\xE4"), QString(QChar(0x00E4)));
    EXPECT_EQ(TZtHtmlPreview::DecodeWindows1252("a\x93q\x94\x96\x9F"),
        QString::fromUtf16(u"a\u201Cq\u201D\u2013\u0178"));
    // The five bytes Windows-1252 leaves open stay control characters.
    EXPECT_EQ(TZtHtmlPreview::DecodeWindows1252("\x81\x8D\x8F\x90\x9D"),
        QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D"));
    std::string all;
    for (int code = 0; code < 256; ++code) all.push_back(static_cast<char>(code));
    const QString decoded = TZtHtmlPreview::DecodeWindows1252(all);
    ASSERT_EQ(decoded.size(), 256);
    for (int code = 0; code < 256; ++code) {
        if (code < 0x80 || code > 0x9F) {
            EXPECT_EQ(decoded[code].unicode(), code);
        }
    }
}

TEST(HtmlPreviewLengths, PointsBecomePixels)
{
    EXPECT_EQ(TZtHtmlPreview::PointLengthsToPixels(
                  "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-20pt\">"),
        "<p class=\"indent\" style=\"margin-left:27px; text-indent:-27px\">");
    EXPECT_EQ(TZtHtmlPreview::PointLengthsToPixels("<p style=\"margin-left:0; text-indent:0\">"),
        "<p style=\"margin-left:0px; text-indent:0px\">");
    EXPECT_EQ(TZtHtmlPreview::PointLengthsToPixels("p {Margin-Left : 3PT;text-indent:1.5pt}"),
        "p {Margin-Left : 4px;text-indent:2px}");
    EXPECT_EQ(TZtHtmlPreview::PointLengthsToPixels("margin-left:1020pt"), "margin-left:1360px");
}

TEST(HtmlPreviewLengths, OtherTextIsLeftAlone)
{
    for (const char* html : {"margin-left:2em", "text-indent:10px", "margin-left:5%", "padding-left:20pt",
             "xmargin-left:20pt", "margin-left:", "text-indent:-", "margin-left:20ptx", "font:18pt",
             "margin-left 20pt", "<p>margin-left</p>"})
        EXPECT_EQ(TZtHtmlPreview::PointLengthsToPixels(html), html) << html;
    EXPECT_EQ(TZtHtmlPreview::PointLengthsToPixels(""), "");
}

struct HtmlPreviewShown : testing::Test {
    HtmlPreviewShown()
    {
        preview.resize(600, 400);
        preview.show();
        QApplication::processEvents();
    }

    TZtHtmlPreview preview;
};

TEST_F(HtmlPreviewShown, IndentedParagraphIsLaidOutWithTheMarginAskedFor)
{
    preview.ShowHtml("<html><head></head><body>"
                     "<p>flush</p>"
                     "<p class=\"indent\" style=\"margin-left:20pt; text-indent:-20pt\">hanging first line "
                     "that is long enough to wrap onto a second line in a narrow page, so the second line "
                     "shows the margin while the first line starts further left at the indent</p>"
                     "</body></html>");
    QTextDocument* document = preview.document();
    const QTextBlock flush = BlockContaining(*document, "flush");
    const QTextBlock indented = BlockContaining(*document, "hanging");
    ASSERT_TRUE(flush.isValid());
    ASSERT_TRUE(indented.isValid());
    const double wanted = std::round(20.0 * 96.0 / 72.0);
    EXPECT_DOUBLE_EQ(indented.blockFormat().leftMargin(), wanted);
    EXPECT_DOUBLE_EQ(indented.blockFormat().textIndent(), -wanted);

    // Laid out: the wrapped second line starts the margin to the right of
    // where the first line and the flush paragraph start.
    QTextLayout* layout = indented.layout();
    ASSERT_GE(layout->lineCount(), 2);
    const double flushX = flush.layout()->lineAt(0).x();
    EXPECT_NEAR(layout->lineAt(1).x() - flushX, wanted, 0.5);
    EXPECT_NEAR(layout->lineAt(0).x() - flushX, 0.0, 0.5);
}

TEST_F(HtmlPreviewShown, BytesAreShownAsWindows1252)
{
    preview.ShowHtml("<html><body><p>\x80 5 \xE4rger</p></body></html>");
    EXPECT_EQ(preview.toPlainText(), QString::fromUtf16(u"\u20AC 5 \u00E4rger"));
}

TEST_F(HtmlPreviewShown, NewTextIsShownFromTheTopAndClearShowsNothing)
{
    std::string long_html = "<html><body>";
    for (int i = 0; i < 500; ++i) long_html += "<p>paragraph " + std::to_string(i) + "</p>";
    long_html += "</body></html>";
    preview.ShowHtml(long_html);
    QApplication::processEvents();
    preview.verticalScrollBar()->setValue(preview.verticalScrollBar()->maximum());
    ASSERT_GT(preview.verticalScrollBar()->value(), 0);

    preview.ShowHtml(long_html);
    QApplication::processEvents();
    EXPECT_EQ(preview.verticalScrollBar()->value(), 0);
    EXPECT_FALSE(preview.isBackwardAvailable());

    preview.ClearPreview();
    EXPECT_TRUE(preview.toPlainText().isEmpty());
}

TEST_F(HtmlPreviewShown, LinksDoNotNavigateThePreview)
{
    preview.ShowHtml("<html><body><a href=\"https://example.org/\">x</a></body></html>");
    EXPECT_FALSE(preview.openLinks());
    EXPECT_TRUE(preview.textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(preview.historyUrl(0), QUrl());
}

} // namespace
