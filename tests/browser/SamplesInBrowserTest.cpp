// The sample documents converted and opened in a browser engine: whole
// words, every character right and the font sizes applied, where the classic
// output shows a space inside hyphenated words, wrong characters and one size.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "BrowserPage.h"
#include "ExampleDocuments.h"
#include "ZtDefaultPreferences.h"
#include "ZtFileInfoFa4.h"

namespace quorvex::testing {
namespace {

constexpr std::string_view SoftHyphen = "\xC2\xAD";

bool SoftHyphenBeforeWhiteSpace(const std::string& text)
{
    for (auto at = text.find(SoftHyphen); at != std::string::npos; at = text.find(SoftHyphen, at + 1)) {
        const auto next = at + SoftHyphen.size();
        if (next < text.size() && std::string_view(" \t\r\n").find(text[next]) != std::string_view::npos)
            return true;
    }
    return false;
}

// The text as a reader sees it where no line break falls on a soft hyphen.
std::string WithoutSoftHyphens(std::string text)
{
    for (auto at = text.find(SoftHyphen); at != std::string::npos; at = text.find(SoftHyphen, at))
        text.erase(at, SoftHyphen.size());
    return text;
}

bool Contains(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

// The sizes of fonts 1 to 7 in points, as the default preferences set them.
constexpr std::array<double, 7> FontPoints = {18, 16, 14, 13, 11, 10, 9};

class SamplesInBrowser : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FPage = std::make_unique<TBrowserPage>(); }
    static void TearDownTestSuite() { FPage.reset(); }

    // The sample as the window and fa4tohtml write it, or in the classic
    // output, saved to a file and opened.
    TPageReading Read(const std::string& name, bool classic = false)
    {
        TZtFileInfoFa4 document;
        for (const auto& example : ExampleDocuments())
            if (example.Name == name) document.LoadFromMemory(name, example.Builder.Bytes());
        if (classic) {
            document.SetCharOutput(TCharOutput::Bytes);
            document.SetHyphenJoin(hjLineBreak);
            document.SetMarkup(TMarkup::Classic);
        }
        const std::string html =
            BuildHtml(classic ? ClassicPreferencesText : DefaultPreferencesText, document);
        const QString file = FDir.filePath(QString::fromStdString(name) + ".html");
        std::ofstream(file.toStdString(), std::ios::binary) << html;
        return FPage->Read(file);
    }

    static inline std::unique_ptr<TBrowserPage> FPage;
    QTemporaryDir FDir;
};

TEST_F(SamplesInBrowser, HyphenatedWordsReadWhole)
{
    for (const auto& example : ExampleDocuments())
        EXPECT_FALSE(SoftHyphenBeforeWhiteSpace(Read(example.Name).Text)) << example.Name;
    const std::string letter = WithoutSoftHyphens(Read("brief.fa4").Text);
    // Spaces of lines with a run of spaces are no-break spaces: look at the words.
    for (std::string_view word : {"Angebot", "Bestellung.", "Geschäfts-Bedingungen."})
        EXPECT_TRUE(Contains(letter, word)) << word;
    const std::string report = WithoutSoftHyphens(Read("bericht.fa4").Text);
    EXPECT_TRUE(Contains(report, "Die folgende")) << report;
    EXPECT_TRUE(Contains(report, "Sechskantschrauben")) << report;
}

TEST_F(SamplesInBrowser, EveryCharacterAsInTheDocument)
{
    const std::string note = Read("notiz.fa4").Text;
    for (std::string_view part :
        {"A = π r", "± ½ µm", "Crème brûlée à la carte, garçon, señor, Ångström, Ça va.",
            "α Γ π Σ σ µ τ Φ Θ Ω δ ε", "░▒▓ und Blöcke █▄▌▐▀"})
        EXPECT_TRUE(Contains(note, part)) << part << "\n" << note;
}

TEST_F(SamplesInBrowser, TheSevenFontSizesApply)
{
    const TPageReading note = Read("notiz.fa4");
    int checked = 0;
    for (const auto& [fontClass, size] : note.FontSizes) {
        const int number = fontClass.size() == 5 ? fontClass[4] - '0' : 0;
        ASSERT_TRUE(number >= 1 && number <= 7) << fontClass;
        EXPECT_NEAR(std::stod(size), FontPoints[number - 1] * 4 / 3, 0.01) << fontClass << " " << size;
        if (number == 1) {
            EXPECT_EQ(size, "24px");
        }
        ++checked;
    }
    EXPECT_EQ(checked, 7);
}

// The same probes on the classic output find the faults they look for.
TEST_F(SamplesInBrowser, ClassicOutputShowsTheFaults)
{
    const std::string report = Read("bericht.fa4", true).Text;
    EXPECT_TRUE(SoftHyphenBeforeWhiteSpace(report));
    EXPECT_TRUE(Contains(WithoutSoftHyphens(report), "Die fol gende"));
    const TPageReading note = Read("notiz.fa4", true);
    EXPECT_FALSE(Contains(note.Text, "π"));
    EXPECT_FALSE(Contains(note.Text, "± ½ µm"));
    ASSERT_FALSE(note.FontSizes.empty());
    EXPECT_NE(note.FontSizes.front().second, "24px");
}

} // namespace
} // namespace quorvex::testing
