// The built program run as a process: usage and version, one document that
// cannot be opened, and batches. QUORVEX_NONINTERACTIVE makes the boxes go to standard error,
// so nothing waits for a person.

#include "AppFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace quorvex::testing {
namespace {

struct TRun {
    int ExitCode = -1;
    QString Errors;
    QString Output;
    bool Finished = false;
};

class ProgramStartTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return Folder.path().toStdString() + '/' + name; }
    bool Exists(const std::string& name) const { return QFile::exists(QString::fromStdString(Path(name))); }

    std::string WriteGood(const std::string& name) const
    {
        TFa4Builder().EmptyParagraphs(12).Line("Batch text\xFF\x01").WriteTo(Path(name));
        return Path(name);
    }

    QProcess* Start(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUORVEX_NONINTERACTIVE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Keeps Qt's note about a missing runtime folder off standard error.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFolder.path());
        Process.setProcessEnvironment(environment);
        Process.setWorkingDirectory(Folder.path());
        Process.start(QStringLiteral(QUORVEX_EXE), arguments);
        return &Process;
    }

    TRun Run(const QStringList& arguments)
    {
        Start(arguments);
        TRun run;
        run.Finished = Process.waitForFinished(30000);
        run.ExitCode = Process.exitCode();
        run.Errors = QString::fromLocal8Bit(Process.readAllStandardError());
        run.Output = QString::fromLocal8Bit(Process.readAllStandardOutput());
        return run;
    }

    void TearDown() override
    {
        if (Process.state() != QProcess::NotRunning) {
            Process.kill();
            Process.waitForFinished();
        }
    }

    QTemporaryDir Folder;
    QTemporaryDir RuntimeFolder;
    QProcess Process;
};

TEST_F(ProgramStartTest, HelpAndVersionAnswerAndEnd)
{
    const TRun help = Run({QStringLiteral("--help")});
    ASSERT_TRUE(help.Finished);
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Output.startsWith(QStringLiteral("Usage: quorvex [DOCUMENT]\n")))
        << help.Output.toStdString();
    EXPECT_TRUE(help.Errors.isEmpty());

    const TRun version = Run({QStringLiteral("--version")});
    ASSERT_TRUE(version.Finished);
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Output, QStringLiteral("quorvex (Quorvex) " QUORVEX_VERSION "\n"));

    // Among documents an option is a document name like any other.
    const TRun batch = Run({QStringLiteral("--help"), QStringLiteral("--version")});
    ASSERT_TRUE(batch.Finished);
    EXPECT_TRUE(batch.Output.isEmpty());
}

TEST_F(ProgramStartTest, ADocumentThatCannotBeOpenedEndsWithTheFatalReport)
{
    const TRun run = Run({QStringLiteral("missing.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Errors,
        QStringLiteral(
            "Application Error: Exception EZtError in module quorvex.\nCannot open file missing.fa4.\n"));
}

TEST_F(ProgramStartTest, OneGoodDocumentKeepsTheWindowOpen)
{
    WriteGood("one.fa4");
    Start({QStringLiteral("one.fa4")});
    EXPECT_FALSE(Process.waitForFinished(1500)) << "the event loop runs until the window is closed";
    EXPECT_FALSE(Process.readAllStandardError().contains("Error")) << "no box was shown";
    EXPECT_FALSE(Exists("one.fa4.html")) << "nothing is written unasked";
}

TEST_F(ProgramStartTest, ABatchWritesEachDocumentBesideIt)
{
    WriteGood("a.fa4");
    WriteGood("b.fa4");
    const TRun run = Run({QStringLiteral("a.fa4"), QStringLiteral("b.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Errors.isEmpty());
    ASSERT_TRUE(Exists("a.fa4.html"));
    ASSERT_TRUE(Exists("b.fa4.html"));
    const std::string html = ReadFileBytes(Path("a.fa4.html"));
    EXPECT_TRUE(html.starts_with("<head>\r\n<style type=\"text/css\">\r\n")) << "the default preferences";
    EXPECT_NE(html.find("Batch text"), std::string::npos);
}

TEST_F(ProgramStartTest, ABatchNeverWritesOverOneOfItsDocuments)
{
    WriteGood("a.fa4");
    const std::string second = ReadFileBytes(WriteGood("a.fa4.html"));
    const TRun run = Run({QStringLiteral("a.fa4"), QStringLiteral("a.fa4.html")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(Path("a.fa4.html")), second);
    EXPECT_TRUE(Exists("a.fa4.html.html"));
}

TEST_F(ProgramStartTest, ABatchPassesOverMissingDocumentsInSilence)
{
    WriteGood("good.fa4");
    const TRun run = Run({QStringLiteral("missing.fa4"), QStringLiteral("good.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Errors.isEmpty());
    EXPECT_FALSE(Exists("missing.fa4.html"));
    EXPECT_TRUE(Exists("good.fa4.html"));
}

TEST_F(ProgramStartTest, ABatchOfMissingDocumentsEndsWithZero)
{
    const TRun run = Run({QStringLiteral("x.fa4"), QStringLiteral("y.fa4"), QStringLiteral("z.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Errors.isEmpty());
    EXPECT_TRUE(QDir(Folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(ProgramStartTest, ABatchShowsOnlyTheConversionBox)
{
    TFa4Builder().EmptyParagraphs(12).Line("  \xDA\xC4\xBF").Line("x").WriteTo(Path("broken.fa4"));
    WriteGood("good.fa4");
    const TRun run = Run({QStringLiteral("broken.fa4"), QStringLiteral("good.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Errors, QStringLiteral("Error: Failed to convert FA4 text!\n\nRange check error\n"));
    EXPECT_FALSE(Exists("broken.fa4.html"));
    EXPECT_TRUE(Exists("good.fa4.html"));
}

TEST_F(ProgramStartTest, ABatchReadsADocumentNamedDashAsAFile)
{
    WriteGood("-");
    const TRun run = Run({QStringLiteral("-"), QStringLiteral("-")});
    ASSERT_TRUE(run.Finished) << "the batch waited on standard input";
    EXPECT_NE(ReadFileBytes(Path("-.html")).find("Batch text"), std::string::npos);
}

TEST_F(ProgramStartTest, ABatchAppendsHtmlToEveryName)
{
    WriteGood("page.html");
    const TRun run = Run({QStringLiteral("page.html"), QStringLiteral("page.html")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(Exists("page.html.html"));
}

} // namespace
} // namespace quorvex::testing
