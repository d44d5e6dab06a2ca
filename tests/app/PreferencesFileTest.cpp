// Preferences files loaded into and saved from the editor: lines byte for
// byte, written back with the line breaks they were read with, and a loaded
// file reaching the preview as an edit does.

#include "AppFixture.h"
#include "PreviewProbe.h"
#include "ZtSourceEditor.h"

#include <QPushButton>
#include <QTabWidget>

#include <filesystem>
#include <ostream>

namespace quorvex::testing {
namespace {

class PreferencesFileTest : public WindowTest {
protected:
    void SetUp() override { Window.ShowPage(Window.tsHeader); }

    void Load(const std::string& fileName)
    {
        Prompter.AnswerFile(QString::fromStdString(fileName));
        Window.btnLoadFa4Click();
    }
    std::string SaveAndRead(const std::string& fileName)
    {
        Prompter.AnswerFile(QString::fromStdString(fileName));
        Window.btnSaveHtmlClick();
        return ReadFileBytes(fileName);
    }
};

const std::vector<std::string> ThreeLines = {"<head>", "  <title>T\xE4st</title>", "</head>"};

TEST_F(PreferencesFileTest, TheDefaultPreferencesAreSavedWithCrLf)
{
    const std::string bytes = SaveAndRead(Path("default.html"));
    EXPECT_TRUE(bytes.starts_with("<head>\r\n<meta charset=\"utf-8\">\r\n<style type=\"text/css\">\r\n"));
    EXPECT_TRUE(bytes.ends_with("</style>\r\n</head>\r\n"));
    EXPECT_EQ(Window.PreferencesFileName(), Path("default.html"));
}

struct TBreakCase {
    const char* Name;
    const char* Break;
};

void PrintTo(const TBreakCase& breakCase, std::ostream* out)
{
    *out << breakCase.Name;
}

class PreferencesBreakTest : public PreferencesFileTest, public ::testing::WithParamInterface<TBreakCase> { };

TEST_P(PreferencesBreakTest, AFileIsWrittenBackInItsOwnStyle)
{
    std::string original;
    for (const std::string& line : ThreeLines) original += line + GetParam().Break;
    const std::string loaded = Path("loaded.html");
    WriteFileBytes(loaded, original);

    Load(loaded);
    EXPECT_EQ(Window.Header->Lines(), ThreeLines);
    EXPECT_EQ(Window.PreferencesFileName(), loaded);
    EXPECT_EQ(SaveAndRead(Path("saved.html")), original);
}

TEST_P(PreferencesBreakTest, TheConversionAlwaysGetsCrLf)
{
    std::string original;
    for (const std::string& line : ThreeLines) original += line + GetParam().Break;
    WriteFileBytes(Path("loaded.html"), original);
    Load(Path("loaded.html"));
    EXPECT_EQ(Window.Header->WholeText(), "<head>\r\n  <title>T\xE4st</title>\r\n</head>\r\n");
}

INSTANTIATE_TEST_SUITE_P(Breaks, PreferencesBreakTest,
    ::testing::Values(TBreakCase{"CrLf", "\r\n"}, TBreakCase{"Cr", "\r"}, TBreakCase{"Lf", "\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(PreferencesFileTest, MixedBreaksAreWrittenBackAsCrLf)
{
    WriteFileBytes(Path("mixed.html"), "a\nb\rc");
    Load(Path("mixed.html"));
    EXPECT_EQ(SaveAndRead(Path("saved.html")), "a\r\nb\r\nc\r\n");
}

TEST_F(PreferencesFileTest, ALoadedFileIsAnEditThatTheNextSwitchConverts)
{
    Window.OpenDocument(WriteGoodDocument());
    Window.SaveHtmlAs(Path("good.html"));
    WriteFileBytes(Path("loaded.html"), "<head>\n<title>Gr\xE4tz</title>\n</head>\n");
    Load(Path("loaded.html"));
    EXPECT_EQ(Window.PageImage(wpPreferences), siChanged);
    EXPECT_EQ(Window.PageImage(wpConvertedText), siOk) << "nothing converted yet";

    Window.PageControl->setCurrentWidget(Window.tsHtml); // as the user's switch
    EXPECT_EQ(Window.PageImage(wpPreferences), siOk);
    EXPECT_EQ(Window.PageImage(wpConvertedText), siChanged);
    EXPECT_EQ(Evaluate(*Window.HtmlPreview, QStringLiteral("document.title")).toString(),
        QString::fromUtf16(u"Gr\u00E4tz"));
}

TEST_F(PreferencesFileTest, AMissingFileIsReportedAndChangesNothing)
{
    const auto before = Window.Header->Lines();
    Prompter.AnswerFile(QString::fromStdString(Path("missing.html")));
    Window.btnLoadFa4->click();
    ASSERT_EQ(Prompter.Boxes.size(), 1u);
    EXPECT_EQ(Prompter.Boxes[0].Text,
        QStringLiteral("Cannot open file %1: No such file or directory.")
            .arg(QString::fromStdString(Path("missing.html"))));
    EXPECT_EQ(Window.Header->Lines(), before);
    EXPECT_EQ(Window.PreferencesFileName(), "FA4-Preferences.html");
}

TEST_F(PreferencesFileTest, AFileAboveTheBoundIsRefusedBeforeItIsRead)
{
    // Sparse: reading it whole would take two gigabytes.
    const std::string huge = Path("huge.html");
    WriteFileBytes(huge, "");
    std::filesystem::resize_file(huge, 2000000000);
    const auto before = Window.Header->Lines();
    Prompter.AnswerFile(QString::fromStdString(huge));
    Window.btnLoadFa4->click();
    ASSERT_EQ(Prompter.Boxes.size(), 1u);
    EXPECT_EQ(Prompter.Boxes[0].Text,
        QStringLiteral(
            "Cannot open file %1: 2000000000 bytes, more than the 16 MiB a preferences file may hold.")
            .arg(QString::fromStdString(huge)));
    EXPECT_EQ(Window.Header->Lines(), before);
}

TEST_F(PreferencesFileTest, AFileThatCannotBeCreatedKeepsTheName)
{
    Prompter.AnswerFile(QString::fromStdString(Path("no-such-folder/p.html")));
    EXPECT_THROW(Window.btnSaveHtmlClick(), EZtError);
    EXPECT_EQ(Window.PreferencesFileName(), "FA4-Preferences.html");
}

} // namespace
} // namespace quorvex::testing
