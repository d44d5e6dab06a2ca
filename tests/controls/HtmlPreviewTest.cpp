// The preview as a reader sees it: Windows-1252 text, each page from the
// top, an empty page after a clear, pages of any size, and a page that can
// neither run its scripts, read local files nor navigate the preview away.
#include "PreviewProbe.h"
#include "ZtHtmlPreview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineHistory>

#include <string>
#include <vector>

using namespace quorvex;
using namespace quorvex::testing;

namespace {

struct HtmlPreviewTest : ::testing::Test {
    HtmlPreviewTest()
    {
        preview.resize(600, 400);
        preview.show();
        preview.SetLinkOpener([this](const QUrl& url) { opened.push_back(url); });
    }

    QVariant Eval(const char* script) { return Evaluate(preview, QString::fromUtf8(script)); }

    TZtHtmlPreview preview;
    std::vector<QUrl> opened;
};

TEST_F(HtmlPreviewTest, BytesAreReadAsWindows1252)
{
    preview.ShowHtml("<html><head><title>Gr\xE4tz</title></head>"
                     "<body><p>\x80 5 \xE4rger \x93q\x94 \x96</p></body></html>");
    EXPECT_EQ(PageText(preview), QString::fromUtf16(u"\u20AC 5 \u00E4rger \u201Cq\u201D \u2013"));
    EXPECT_EQ(Eval("document.title").toString(), QString::fromUtf16(u"Gr\u00E4tz"));
}

TEST_F(HtmlPreviewTest, EachPageShowsFromTheTopWithoutHistory)
{
    std::string html = "<html><body>";
    for (int i = 0; i < 500; ++i) html += "<p>paragraph " + std::to_string(i) + "</p>";
    html += "</body></html>";
    preview.ShowHtml(html);
    ASSERT_GT(Eval("window.scrollTo(0, 5000); window.scrollY").toInt(), 0);

    preview.ShowHtml(html);
    EXPECT_EQ(Eval("window.scrollY").toInt(), 0);
    EXPECT_FALSE(preview.history()->canGoBack());
    EXPECT_EQ(preview.ShownHtml(), html);
}

TEST_F(HtmlPreviewTest, ClearShowsAnEmptyPage)
{
    preview.ShowHtml("<html><body><p>something</p></body></html>");
    ASSERT_EQ(PageText(preview), QStringLiteral("something"));
    preview.ClearPreview();
    EXPECT_EQ(PageText(preview), QString());
    EXPECT_TRUE(preview.ShownHtml().empty());
}

TEST_F(HtmlPreviewTest, PagesLargerThanADataUrlAreShown)
{
    const std::string html =
        "<html><body><!--" + std::string(3 * 1024 * 1024, 'x') + "--><p id=\"end\">end</p></body></html>";
    preview.ShowHtml(html);
    EXPECT_EQ(Eval("document.getElementById('end').textContent").toString(), QStringLiteral("end"));
}

TEST_F(HtmlPreviewTest, PageScriptsDoNotRun)
{
    preview.ShowHtml("<html><head><script>document.title = 'ran';</script></head>"
                     "<body onload=\"document.title = 'loaded'\"><p>text</p>"
                     "<img src=\"none\" onerror=\"document.title = 'error'\"></body></html>");
    EXPECT_EQ(Eval("document.title").toString(), QString());
}

TEST_F(HtmlPreviewTest, LocalFilesCannotBeRead)
{
    QTemporaryDir folder;
    const QString image = folder.filePath(QStringLiteral("dot.png"));
    QImage dot(4, 4, QImage::Format_RGB32);
    dot.fill(Qt::red);
    ASSERT_TRUE(dot.save(image));
    const std::string url = QUrl::fromLocalFile(image).toString().toStdString();
    preview.ShowHtml(
        "<html><body><img src=\"" + url + "\"><iframe src=\"" + url + "\"></iframe></body></html>");
    EXPECT_EQ(Eval("document.images[0].complete && document.images[0].naturalWidth").toInt(), 0);
    EXPECT_EQ(Eval("document.querySelector('iframe').contentDocument").toString(), QString());
}

TEST_F(HtmlPreviewTest, ClickedLinksOpenOutsideAndThePageStays)
{
    preview.ShowHtml("<html><body><p>page</p><a id=\"web\" href=\"https://example.org/x\">web</a>"
                     "<a id=\"blank\" href=\"http://example.org/y\" target=\"_blank\">blank</a>"
                     "<a id=\"near\" href=\"other.html\">near</a>"
                     "<a id=\"file\" href=\"file:///etc/hostname\">file</a></body></html>");
    ASSERT_TRUE(WaitUntilLoaded(preview));
    const QUrl shown = preview.url();
    for (const char* id : {"web", "blank", "near", "file"})
        Eval((std::string("document.getElementById('") + id + "').click(); 1").c_str());
    // The page is asked for once more after the clicks: by then every
    // navigation they started has been decided.
    EXPECT_EQ(PageText(preview).left(4), QStringLiteral("page"));
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl("https://example.org/x"), QUrl("http://example.org/y")}));
    EXPECT_EQ(preview.url(), shown);
    EXPECT_FALSE(preview.history()->canGoBack());
}

TEST_F(HtmlPreviewTest, APageThatLeavesInPlaceComesBack)
{
    preview.ShowHtml("<html><body><p>page</p><a id=\"gone\" href=\"about:blank\">gone</a></body></html>");
    ASSERT_TRUE(WaitUntilLoaded(preview));
    const QUrl shown = preview.url();
    Eval("document.getElementById('gone').click(); 1");
    // It comes back under an address of its own.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return preview.url() != shown && preview.url().scheme() == shown.scheme(); }, 30000));
    EXPECT_EQ(PageText(preview).left(4), QStringLiteral("page"));
    EXPECT_FALSE(preview.history()->canGoBack());
}

TEST_F(HtmlPreviewTest, TheContextMenuOffersNoWayToOtherPages)
{
    preview.ShowHtml("<html><body><p>page</p></body></html>");
    ASSERT_TRUE(WaitUntilLoaded(preview));
    QWidget* surface = preview.focusProxy();
    ASSERT_NE(surface, nullptr);
    QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(200, 200));
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 20000));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList offered;
    for (const QAction* action : menu->actions())
        if (action->isVisible() && !action->isSeparator()) offered << action->text();
    menu->close();
    EXPECT_FALSE(offered.isEmpty());
    for (const QString& text : offered)
        for (const char* word : {"Back", "Forward", "Reload", "Source"})
            EXPECT_FALSE(text.contains(QLatin1String(word))) << text.toStdString();
}

} // namespace
