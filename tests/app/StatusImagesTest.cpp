// The images on the tabs of the working pages, event by event, and what
// they decide: whether a page switch converts, whether "Save..." works.

#include "AppFixture.h"
#include "PreviewProbe.h"
#include "ZtHtmlPreview.h"
#include "ZtSourceEditor.h"

#include <QPushButton>
#include <filesystem>
#include <QTabBar>
#include <QTabWidget>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

namespace quorvex::testing {
namespace {

class StatusImagesTest : public WindowTest {
protected:
    void SetUp() override
    {
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }

    // An edit made the way a user makes it: a key typed into the editor.
    void TypeIntoPreferences() { QTest::keyClick(Window.Header, Qt::Key_X); }

    // A page switch made the way a user makes it: a click on the tab.
    // Lets the event loop run until it waits for events.
    static void RunEventLoopBriefly()
    {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }

    void ClickTab(QWidget* page)
    {
        QTabBar* bar = Window.PageControl->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(Window.PageControl->indexOf(page)).center());
    }

    TStatusImage Preferences() const { return Window.PageImage(wpPreferences); }
    TStatusImage ConvertedText() const { return Window.PageImage(wpConvertedText); }
};

TEST_F(StatusImagesTest, AWindowStartsWithBothPagesOkOnConvertedText)
{
    EXPECT_EQ(Preferences(), siOk);
    EXPECT_EQ(ConvertedText(), siOk);
    EXPECT_EQ(Window.PageControl->currentWidget(), Window.tsHtml);
    EXPECT_TRUE(Window.PageControl->tabIcon(Window.PageControl->indexOf(Window.tsInfo)).isNull());
}

TEST_F(StatusImagesTest, EditingThePreferencesMarksThemChanged)
{
    TypeIntoPreferences();
    EXPECT_EQ(Preferences(), siChanged);
    EXPECT_EQ(ConvertedText(), siOk);
}

TEST_F(StatusImagesTest, ReplacingThePreferencesByProgramIsNoEdit)
{
    Window.Header->SetLines({"<head>", "</head>"});
    EXPECT_EQ(Preferences(), siOk);
}

TEST_F(StatusImagesTest, OpeningMarksConvertedTextChangedAndSavingMarksItOk)
{
    Window.OpenDocument(WriteGoodDocument());
    EXPECT_EQ(ConvertedText(), siChanged);
    Window.SaveHtmlAs(Path("good.html"));
    EXPECT_EQ(ConvertedText(), siOk);
    EXPECT_EQ(Preferences(), siOk);
}

TEST_F(StatusImagesTest, AFailedLoadLeavesConvertedTextInError)
{
    Window.OpenDocument(WriteGoodDocument());
    EXPECT_THROW(Window.OpenDocument(Path("missing.fa4")), EZtError);
    EXPECT_EQ(ConvertedText(), siError);
    EXPECT_EQ(Preferences(), siOk);
}

TEST_F(StatusImagesTest, AFailedConversionMarksConvertedTextInError)
{
    Window.OpenDocument(WriteBrokenDocument());
    EXPECT_EQ(ConvertedText(), siError);
    ASSERT_EQ(Prompter.Boxes.size(), 1u);
}

TEST_F(StatusImagesTest, AFailedSaveKeepsTheImage)
{
    Window.OpenDocument(WriteGoodDocument());
    EXPECT_THROW(Window.SaveHtmlAs(Path("no-such-folder/good.html")), EZtError);
    EXPECT_EQ(ConvertedText(), siChanged);
}

TEST_F(StatusImagesTest, SavingOntoTheLoadedDocumentIsRefusedInABox)
{
    const std::string document = WriteGoodDocument();
    const std::string bytes = ReadFileBytes(document);
    std::filesystem::create_symlink(document, Path("link.html"));
    Window.OpenDocument(document);
    for (const std::string& chosen : {document, Path("link.html")}) {
        Prompter.AnswerFile(QString::fromStdString(chosen));
        Window.btnAsHtml->click();
        ASSERT_EQ(Prompter.Boxes.size(), 1u) << chosen;
        EXPECT_EQ(Prompter.Boxes.back().Text.toStdString(),
            "Cannot save the HTML to " + chosen + ": it is the loaded document " + document + ".");
        Prompter.Boxes.clear();
    }
    EXPECT_EQ(ReadFileBytes(document), bytes);
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.html")));
    EXPECT_EQ(ConvertedText(), siChanged);
}

TEST_F(StatusImagesTest, SwitchingToConvertedTextAfterAnEditConvertsAgain)
{
    Window.OpenDocument(WriteGoodDocument());
    Window.SaveHtmlAs(Path("good.html"));
    ClickTab(Window.tsHeader);
    TypeIntoPreferences();
    ASSERT_EQ(Preferences(), siChanged);

    ClickTab(Window.tsHtml);
    EXPECT_EQ(Window.PageControl->currentWidget(), Window.tsHtml);
    EXPECT_EQ(ConvertedText(), siChanged) << "converted again, so no longer saved";
    EXPECT_EQ(Preferences(), siOk);
}

TEST_F(StatusImagesTest, TheSwitchUsesTheEditedPreferences)
{
    Window.OpenDocument(WriteGoodDocument());
    ClickTab(Window.tsHeader);
    Window.Header->setCursorPosition(0, 0);
    QTest::keyClicks(Window.Header, "<title>Edited</title>");
    QTest::keyClick(Window.Header, Qt::Key_Return);
    ClickTab(Window.tsHtml);
    EXPECT_EQ(
        Evaluate(*Window.HtmlPreview, QStringLiteral("document.title")).toString(), QStringLiteral("Edited"));
}

TEST_F(StatusImagesTest, SwitchingWithUnchangedPreferencesConvertsNothing)
{
    Window.OpenDocument(WriteGoodDocument());
    Window.SaveHtmlAs(Path("good.html"));
    ClickTab(Window.tsHeader);
    ClickTab(Window.tsHtml);
    EXPECT_EQ(ConvertedText(), siOk) << "a conversion would have marked it changed";
}

TEST_F(StatusImagesTest, SwitchingWhileConvertedTextIsInErrorConvertsNothing)
{
    EXPECT_THROW(Window.OpenDocument(Path("missing.fa4")), EZtError);
    ClickTab(Window.tsHeader);
    TypeIntoPreferences();
    ClickTab(Window.tsHtml);
    EXPECT_EQ(ConvertedText(), siError);
    EXPECT_EQ(Preferences(), siChanged);
    EXPECT_TRUE(Prompter.Boxes.empty());
}

TEST_F(StatusImagesTest, AConversionThatFailsOnTheSwitchStillClearsThePreferencesImage)
{
    // Before any document was opened, converting may fail or not; either
    // way the switch marks the preferences as applied.
    ClickTab(Window.tsHeader);
    TypeIntoPreferences();
    ClickTab(Window.tsHtml);
    EXPECT_EQ(Preferences(), siOk);
    EXPECT_EQ(ConvertedText() == siError, Prompter.Boxes.size() == 1);
}

TEST_F(StatusImagesTest, SwitchingFromHelpConvertsOnlyOntoConvertedText)
{
    Window.OpenDocument(WriteGoodDocument());
    Window.SaveHtmlAs(Path("good.html"));
    ClickTab(Window.tsHeader);
    TypeIntoPreferences();

    ClickTab(Window.tsInfo);
    ClickTab(Window.tsHeader);
    EXPECT_EQ(Preferences(), siChanged);
    EXPECT_EQ(ConvertedText(), siOk);

    ClickTab(Window.tsInfo);
    ClickTab(Window.tsHtml);
    EXPECT_EQ(Preferences(), siOk);
    EXPECT_EQ(ConvertedText(), siChanged);
}

TEST_F(StatusImagesTest, SwitchingByKeyboardCountsAsAUserSwitch)
{
    Window.OpenDocument(WriteGoodDocument());
    Window.SaveHtmlAs(Path("good.html"));
    ClickTab(Window.tsHeader);
    TypeIntoPreferences();
    QTest::keyClick(Window.PageControl->tabBar(), Qt::Key_Right);
    ASSERT_EQ(Window.PageControl->currentWidget(), Window.tsHtml);
    EXPECT_EQ(Preferences(), siOk);
}

TEST_F(StatusImagesTest, TheProgramsOwnPageSwitchConvertsNothing)
{
    Window.OpenDocument(WriteGoodDocument());
    Window.SaveHtmlAs(Path("good.html"));
    ClickTab(Window.tsHeader);
    TypeIntoPreferences();
    Window.ShowPage(Window.tsHtml);
    EXPECT_EQ(Preferences(), siChanged);
    EXPECT_EQ(ConvertedText(), siOk);
}

TEST_F(StatusImagesTest, OpeningAfterAnEditLeavesThePreferencesChanged)
{
    ClickTab(Window.tsHeader);
    TypeIntoPreferences();
    Window.OpenDocument(WriteGoodDocument());
    EXPECT_EQ(Preferences(), siChanged);
    EXPECT_EQ(ConvertedText(), siChanged);
}

// "Save..." follows the image of "Converted Text", whatever page is shown.
TEST_F(StatusImagesTest, SaveIsEnabledExactlyWhileConvertedTextIsNotInError)
{
    const std::string good = WriteGoodDocument();
    for (QWidget* page : {Window.tsHeader, Window.tsHtml, Window.tsInfo}) {
        SCOPED_TRACE(page->objectName().toStdString());
        Window.ShowPage(page);

        Window.OpenDocument(good);
        Window.UpdateActions();
        EXPECT_TRUE(Window.btnAsHtml->isEnabled()) << "changed";

        Window.SaveHtmlAs(Path("good.html"));
        Window.UpdateActions();
        EXPECT_TRUE(Window.btnAsHtml->isEnabled()) << "ok";

        EXPECT_THROW(Window.OpenDocument(Path("missing.fa4")), EZtError);
        Window.UpdateActions();
        EXPECT_FALSE(Window.btnAsHtml->isEnabled()) << "error";
        EXPECT_TRUE(Window.btnLoadFa4->isEnabled());
        EXPECT_TRUE(Window.btnOk->isEnabled());
    }
}

TEST_F(StatusImagesTest, SaveIsReEvaluatedWhenTheEventLoopGoesIdle)
{
    EXPECT_THROW(Window.OpenDocument(Path("missing.fa4")), EZtError);
    RunEventLoopBriefly();
    EXPECT_FALSE(Window.btnAsHtml->isEnabled());
    Window.OpenDocument(WriteGoodDocument());
    RunEventLoopBriefly();
    EXPECT_TRUE(Window.btnAsHtml->isEnabled());
}

TEST_F(StatusImagesTest, TheTabShowsTheImageOfTheState)
{
    const int html = Window.PageControl->indexOf(Window.tsHtml);
    const QImage okImage = Window.PageControl->tabIcon(html).pixmap(16, 16).toImage();
    EXPECT_THROW(Window.OpenDocument(Path("missing.fa4")), EZtError);
    const QImage errorImage = Window.PageControl->tabIcon(html).pixmap(16, 16).toImage();
    EXPECT_NE(okImage, errorImage);
    const QColor centre = errorImage.pixelColor(8, 8);
    EXPECT_GT(centre.red(), 2 * centre.green()) << "a red dot";
}

} // namespace
} // namespace quorvex::testing
