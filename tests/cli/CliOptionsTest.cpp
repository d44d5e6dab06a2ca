// fa4tohtml's command line: options, usage errors and the HTML file names.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZtCliOptions.h"

namespace quorvex {
namespace {

using TArgs = std::vector<std::string>;

TEST(ParseCommandLine, OptionsWithSeparateAndAttachedValues)
{
    const TZtCliOptions options =
        ParseCommandLine({"-d", "out", "a.fa4", "-pprefs.html", "-j3", "--unicode", "b.fa4"});
    EXPECT_EQ(options.Documents, (TArgs{"a.fa4", "b.fa4"}));
    EXPECT_EQ(options.OutputDir, "out");
    EXPECT_EQ(options.PreferencesFile, "prefs.html");
    EXPECT_EQ(options.Jobs, 3u);
    EXPECT_TRUE(options.Unicode);
    EXPECT_FALSE(options.OutputFile);
}

TEST(ParseCommandLine, ShortOptionsCluster)
{
    const TZtCliOptions options = ParseCommandLine({"-ruj2", "-hVd", "out", "tree"});
    EXPECT_TRUE(options.Recursive && options.Update && options.Help && options.Version);
    EXPECT_EQ(options.Jobs, 2u);
    EXPECT_EQ(options.OutputDir, "out");
    EXPECT_EQ(options.Documents, (TArgs{"tree"}));
    EXPECT_EQ(ParseCommandLine({"-rdout", "tree"}).OutputDir, "out");
}

TEST(ParseCommandLine, LongOptionsWithSeparateAndJoinedValues)
{
    const TZtCliOptions options =
        ParseCommandLine({"--output-dir", "out", "--preferences=p=q.html", "--jobs", "2", "a.fa4"});
    EXPECT_EQ(options.OutputDir, "out");
    EXPECT_EQ(options.PreferencesFile, "p=q.html");
    EXPECT_EQ(options.Jobs, 2u);
    EXPECT_EQ(ParseCommandLine({"--output=x.html", "a.fa4"}).OutputFile, "x.html");
    EXPECT_EQ(ParseCommandLine({"--output", "-", "a.fa4"}).OutputFile, "-");
}

TEST(ParseCommandLine, DashIsAValueAndDoubleDashEndsOptions)
{
    const TZtCliOptions stdoutOptions = ParseCommandLine({"-o", "-", "a.fa4"});
    EXPECT_EQ(stdoutOptions.OutputFile, "-");
    EXPECT_EQ(stdoutOptions.Documents, (TArgs{"a.fa4"}));

    const TZtCliOptions ended = ParseCommandLine({"--", "-j", "--help"});
    EXPECT_EQ(ended.Documents, (TArgs{"-j", "--help"}));
    EXPECT_FALSE(ended.Help);
}

TEST(ParseCommandLine, HelpAndVersionNeedNoDocuments)
{
    EXPECT_TRUE(ParseCommandLine({"--help"}).Help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).Version);
    EXPECT_TRUE(ParseCommandLine({"-h"}).Help);
    EXPECT_TRUE(ParseCommandLine({"-V"}).Version);
}

TEST(ParseCommandLine, UsageErrors)
{
    const std::vector<std::pair<TArgs, std::string>> cases = {
        {{}, "no documents given"},
        {{"-x", "a.fa4"}, "unknown option '-x'"},
        {{"--verbose", "a.fa4"}, "unknown option '--verbose'"},
        {{"a.fa4", "-o"}, "option -o needs a value"},
        {{"a.fa4", "-ro"}, "option -o needs a value"},
        {{"-rx", "a.fa4"}, "unknown option '-x'"},
        {{"a.fa4", "--output"}, "option --output needs a value"},
        {{"--unicode=yes", "a.fa4"}, "unknown option '--unicode=yes'"},
        {{"--jobs=0", "a.fa4"}, "invalid number of jobs '0'"},
        {{"-o", "x.html", "a.fa4", "b.fa4"}, "-o can only be used with one document"},
        {{"-o", "x.html", "-d", "out", "a.fa4"}, "-o and -d cannot be used together"},
        {{"-j", "0", "a.fa4"}, "invalid number of jobs '0'"},
        {{"-j", "2x", "a.fa4"}, "invalid number of jobs '2x'"},
        {{"-j", "-1", "a.fa4"}, "invalid number of jobs '-1'"},
    };
    for (const auto& [args, message] : cases) {
        try {
            ParseCommandLine(args);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const EZtUsageError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

TEST(HtmlFileName, BesideTheDocumentInAFolderOrAsGiven)
{
    TZtCliOptions options;
    EXPECT_EQ(HtmlFileName(options, "docs/BRIEF.TXT"), "docs/BRIEF.TXT.html");
    EXPECT_EQ(HtmlFileName(options, "page.html"), "page.html.html");
    options.OutputDir = "out";
    EXPECT_EQ(HtmlFileName(options, "docs/BRIEF.TXT"), "out/BRIEF.TXT.html");
    // Standard input has no name to put beside: its HTML goes to standard output.
    EXPECT_EQ(HtmlFileName(options, "-"), "-");
    options.OutputDir.reset();
    options.OutputFile = "-";
    EXPECT_EQ(HtmlFileName(options, "docs/BRIEF.TXT"), "-");
    options.OutputFile = "x.html";
    EXPECT_EQ(HtmlFileName(options, "-"), "x.html");
    // Text goes where the HTML would, ending in .txt.
    options.Text = true;
    EXPECT_EQ(HtmlFileName(options, "-"), "x.html");
    options.OutputFile.reset();
    EXPECT_EQ(HtmlFileName(options, "docs/BRIEF.TXT"), "docs/BRIEF.TXT.txt");
    options.OutputDir = "out";
    EXPECT_EQ(HtmlFileName(options, "docs/BRIEF.TXT"), "out/BRIEF.TXT.txt");
}

} // namespace
} // namespace quorvex
