// The built program run as a process: options, one document that cannot be
// opened, and batches. QUORVEX_NONINTERACTIVE makes the boxes go to standard
// error, so nothing waits for a person.

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

    // Unless `withBoxes`, no box waits for a person.
    QProcess* Start(const QStringList& arguments, bool withBoxes = false)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (withBoxes)
            environment.remove(QStringLiteral("QUORVEX_NONINTERACTIVE"));
        else
            environment.insert(QStringLiteral("QUORVEX_NONINTERACTIVE"), QStringLiteral("1"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Keeps Qt's note about a missing runtime folder off standard error.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFolder.path());
        for (const QString& variable : Unset) environment.remove(variable);
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
    QStringList Unset; // variables the program does not see
};

TEST_F(ProgramStartTest, HelpAndVersionAnswerAndEnd)
{
    const TRun help = Run({QStringLiteral("--help")});
    ASSERT_TRUE(help.Finished);
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_TRUE(help.Output.startsWith(QStringLiteral("Usage: quorvex [OPTION]... [--] [DOCUMENT]\n")))
        << help.Output.toStdString();
    EXPECT_TRUE(help.Errors.isEmpty());

    const TRun version = Run({QStringLiteral("--version")});
    ASSERT_TRUE(version.Finished);
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Output, QStringLiteral("quorvex (Quorvex) " QUORVEX_VERSION "\n"));

    // Among documents an option is still one.
    const TRun among = Run({QStringLiteral("a.fa4"), QStringLiteral("--help"), QStringLiteral("b.fa4")});
    ASSERT_TRUE(among.Finished);
    EXPECT_EQ(among.ExitCode, 0);
    EXPECT_TRUE(among.Output.startsWith(QStringLiteral("Usage: "))) << among.Output.toStdString();

    // After "--" every argument is a document: here a batch of two missing ones.
    const TRun batch = Run({QStringLiteral("--"), QStringLiteral("--help"), QStringLiteral("--version")});
    ASSERT_TRUE(batch.Finished);
    EXPECT_EQ(batch.ExitCode, 0);
    EXPECT_TRUE(batch.Output.isEmpty());
    EXPECT_TRUE(batch.Errors.isEmpty());
}

TEST_F(ProgramStartTest, WithNoLocaleSetNothingIsSaidAboutIt)
{
    // As in cron or a container: the toolkit would call C unfit.
    Unset = {QStringLiteral("LC_ALL"), QStringLiteral("LC_CTYPE"), QStringLiteral("LANG")};
    WriteGood("a.fa4");
    const TRun run = Run({QStringLiteral("a.fa4"), QStringLiteral("a.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Errors, QString());
    EXPECT_TRUE(Exists("a.fa4.html"));
}

TEST_F(ProgramStartTest, AnUnknownOptionIsAUsageError)
{
    for (const QStringList& arguments : {QStringList{QStringLiteral("--bogus")},
             QStringList{QStringLiteral("a.fa4"), QStringLiteral("-xy"), QStringLiteral("b.fa4")}}) {
        const TRun run = Run(arguments);
        ASSERT_TRUE(run.Finished) << "the program waited";
        EXPECT_EQ(run.ExitCode, 2);
        const QString option = arguments.size() == 1 ? QStringLiteral("--bogus") : QStringLiteral("-x");
        EXPECT_EQ(run.Errors,
            QStringLiteral("quorvex: unknown option '%1'\nTry 'quorvex --help' for more "
                           "information.\n")
                .arg(option));
        EXPECT_TRUE(run.Output.isEmpty());
    }

    // A document named like an option is opened after "--".
    const TRun run = Run({QStringLiteral("--"), QStringLiteral("--bogus")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Errors.contains(QStringLiteral("Cannot open file --bogus: No such file or directory.")))
        << run.Errors.toStdString();
}

TEST_F(ProgramStartTest, ADocumentThatCannotBeOpenedEndsWithTheFatalReport)
{
    const TRun run = Run({QStringLiteral("missing.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Errors,
        QStringLiteral("Application Error: Exception EZtError in module quorvex.\nCannot open file "
                       "missing.fa4: No such file or "
                       "directory.\n"));

    // A name cannot clear the screen or start a line of its own.
    const TRun escaped = Run({QStringLiteral("x\x1b[2J\nquorvex")});
    ASSERT_TRUE(escaped.Finished);
    EXPECT_EQ(escaped.Errors,
        QStringLiteral("Application Error: Exception EZtError in module quorvex.\nCannot open file "
                       "'x'$'\\033''[2J'$'\\n''quorvex': No such file or directory.\n"));
}

// Started from a menu or a script, the box may go unseen: the report stays
// on standard error.
TEST_F(ProgramStartTest, TheFatalReportGoesToStandardErrorBesidesTheBox)
{
    Start({QStringLiteral("missing.fa4")}, true);
    const QString report = QStringLiteral("Application Error: Exception EZtError in module quorvex.\nCannot "
                                          "open file missing.fa4: No such file "
                                          "or directory.\n");
    QString errors;
    Process.setReadChannel(QProcess::StandardError);
    while (!errors.contains(report) && Process.waitForReadyRead(30000))
        errors += QString::fromLocal8Bit(Process.readAllStandardError());
    EXPECT_TRUE(errors.contains(report)) << errors.toStdString();
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
    EXPECT_TRUE(html.starts_with("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                                 "<head>\r\n<meta charset=\"utf-8\">\r\n"))
        << "the default preferences";
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

TEST_F(ProgramStartTest, ABatchNeverReplacesAFileThatLooksLikeADocument)
{
    WriteGood("a.fa4");
    WriteGood("b.fa4");
    const std::string other = ReadFileBytes(WriteGood("a.fa4.html"));
    const TRun run = Run({QStringLiteral("a.fa4"), QStringLiteral("b.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Errors,
        QStringLiteral("quorvex: the HTML of a.fa4 would overwrite a.fa4.html, which looks like "
                       "an F&A 4 document\n"));
    EXPECT_EQ(ReadFileBytes(Path("a.fa4.html")), other);
    EXPECT_TRUE(Exists("b.fa4.html"));
}

TEST_F(ProgramStartTest, ABatchNeverFollowsALinkInItsWay)
{
    WriteGood("a.fa4");
    WriteGood("b.fa4");
    WriteFileBytes(Path("victim.txt"), "my thesis");
    ASSERT_TRUE(
        QFile::link(QString::fromStdString(Path("victim.txt")), QString::fromStdString(Path("a.fa4.html"))));
    const TRun run = Run({QStringLiteral("a.fa4"), QStringLiteral("b.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.Errors, QStringLiteral("quorvex: a.fa4.html: is a symbolic link; not replaced\n"));
    EXPECT_EQ(ReadFileBytes(Path("victim.txt")), "my thesis");
    EXPECT_TRUE(Exists("b.fa4.html"));
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
    TFa4Builder().EmptyParagraphs(12).Lines(ConcentricBoxes(100)).WriteTo(Path("broken.fa4"));
    WriteGood("good.fa4");
    const TRun run = Run({QStringLiteral("broken.fa4"), QStringLiteral("good.fa4")});
    ASSERT_TRUE(run.Finished);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Errors,
        QStringLiteral("Error: Failed to convert FA4 text!\n\nDocument too complex to convert\n"));
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
