// The four dialogs of "Load..." and "Save...": what each proposes, and what
// the one dialog carries from one use to the next.

#include "AppFixture.h"
#include "ShownText.h"
#include "ZtFileDialog.h"
#include "ZtSourceEditor.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace quorvex::testing {
namespace {

class FileDialogTest : public WindowTest {
protected:
    const TFileDialogRequest& LastRequest() const { return Prompter.Requests.back(); }
    QString FolderOf(const std::string& fileName) const
    {
        return QString::fromStdString(fileName.substr(0, fileName.rfind('/') + 1));
    }
    QString HomeFolder() const { return QDir::homePath() + u'/'; }
};

const QStringList HtmlFilters = {QStringLiteral("Html files (*.htm*) (*.htm*)")};
const QStringList HtmlOrAllFilters = {
    QStringLiteral("Html files (*.htm*) (*.htm*)"), QStringLiteral("all files (*.*) (*)")};
const QStringList AllFilters = {QStringLiteral("all files (*.*) (*)")};

TEST_F(FileDialogTest, LoadPreferences)
{
    Window.ShowPage(Window.tsHeader);
    Window.btnLoadFa4Click();
    ASSERT_EQ(Prompter.Requests.size(), 1u);
    const TFileDialogRequest& request = LastRequest();
    EXPECT_EQ(request.Title, QStringLiteral("Load Preferences"));
    EXPECT_FALSE(request.Save);
    EXPECT_EQ(request.Folder, HomeFolder());
    EXPECT_EQ(request.FileName, QStringLiteral("FA4-Preferences.html"));
    EXPECT_EQ(request.Filters, HtmlFilters);
    EXPECT_EQ(request.FilterIndex, 0);
    EXPECT_EQ(request.DefaultSuffix, QStringLiteral("html"));
}

TEST_F(FileDialogTest, LoadDocument)
{
    Window.ShowPage(Window.tsHtml);
    Window.btnLoadFa4Click();
    ASSERT_EQ(Prompter.Requests.size(), 1u);
    const TFileDialogRequest& request = LastRequest();
    EXPECT_TRUE(request.Title.isEmpty()) << "the standard caption";
    EXPECT_FALSE(request.Save);
    EXPECT_TRUE(request.FileName.isEmpty()) << "no document yet";
    EXPECT_EQ(request.Filters, AllFilters);
    EXPECT_TRUE(request.DefaultSuffix.isEmpty());
}

TEST_F(FileDialogTest, SavePreferences)
{
    Window.ShowPage(Window.tsHeader);
    Window.btnSaveHtmlClick();
    ASSERT_EQ(Prompter.Requests.size(), 1u);
    const TFileDialogRequest& request = LastRequest();
    EXPECT_EQ(request.Title, QStringLiteral("Save Preferences As"));
    EXPECT_TRUE(request.Save);
    EXPECT_TRUE(request.ConfirmOverwrite);
    EXPECT_EQ(request.FileName, QStringLiteral("FA4-Preferences.html"));
    EXPECT_EQ(request.Filters, HtmlFilters);
    EXPECT_EQ(request.DefaultSuffix, QStringLiteral("html"));
}

TEST_F(FileDialogTest, SaveHtmlProposesTheDocumentsNameInItsFolder)
{
    const std::string document = WriteGoodDocument();
    Window.OpenDocument(document);
    Window.btnSaveHtmlClick();
    ASSERT_EQ(Prompter.Requests.size(), 1u);
    const TFileDialogRequest& request = LastRequest();
    EXPECT_TRUE(request.Title.isEmpty());
    EXPECT_TRUE(request.Save);
    EXPECT_TRUE(request.ConfirmOverwrite);
    EXPECT_EQ(request.Folder, FolderOf(document));
    EXPECT_EQ(request.FileName, QStringLiteral("good.fa4.html"));
    EXPECT_EQ(request.Filters, HtmlOrAllFilters);
    EXPECT_EQ(request.DefaultSuffix, QStringLiteral("html"));
}

TEST_F(FileDialogTest, SaveHtmlWithoutDocumentProposesABareExtension)
{
    Window.btnSaveHtmlClick();
    ASSERT_EQ(Prompter.Requests.size(), 1u);
    EXPECT_EQ(LastRequest().FileName, QStringLiteral(".html"));
    EXPECT_EQ(LastRequest().Folder, HomeFolder());
}

TEST_F(FileDialogTest, OnHelpThereIsNoDialog)
{
    Window.ShowPage(Window.tsInfo);
    try {
        Window.btnLoadFa4Click();
        FAIL() << "no error";
    } catch (const EZtError& error) {
        EXPECT_STREQ(error.what(), "unrecognized page of page control");
    }
    EXPECT_THROW(Window.btnSaveHtmlClick(), EZtError);
    EXPECT_TRUE(Prompter.Requests.empty());

    Window.btnAsHtml->click();
    ASSERT_EQ(Prompter.Boxes.size(), 1u);
    EXPECT_EQ(Prompter.Boxes[0].Title, QStringLiteral("Quorvex"));
    EXPECT_EQ(Prompter.Boxes[0].Text, QStringLiteral("unrecognized page of page control."));
}

TEST_F(FileDialogTest, CancellingChangesNothing)
{
    const std::string document = WriteGoodDocument();
    Window.OpenDocument(document);
    const auto lines = Window.Header->Lines();
    for (QWidget* page : {Window.tsHeader, Window.tsHtml}) {
        Window.ShowPage(page);
        Prompter.AnswerFile(std::nullopt);
        Window.btnLoadFa4Click();
        Prompter.AnswerFile(std::nullopt);
        Window.btnSaveHtmlClick();
    }
    EXPECT_EQ(Prompter.Requests.size(), 4u);
    EXPECT_EQ(Window.PreferencesFileName(), "FA4-Preferences.html");
    EXPECT_EQ(Window.Document().FileName(), document);
    EXPECT_EQ(Window.Header->Lines(), lines);
    EXPECT_EQ(Window.PageImage(wpPreferences), siOk);
    EXPECT_EQ(Window.PageImage(wpConvertedText), siChanged);
}

TEST_F(FileDialogTest, ThePreferencesDialogFollowsTheLastDocumentDialog)
{
    const std::string document = WriteGoodDocument();
    Window.OpenDocument(document);

    // Opening by program does not move the dialog.
    Window.ShowPage(Window.tsHeader);
    Window.btnLoadFa4Click();
    EXPECT_EQ(LastRequest().Folder, HomeFolder());

    Window.ShowPage(Window.tsHtml);
    Window.btnSaveHtmlClick(); // cancelled; the folder moved all the same
    Window.ShowPage(Window.tsHeader);
    Window.btnLoadFa4Click();
    EXPECT_EQ(LastRequest().Folder, FolderOf(document));
    EXPECT_EQ(LastRequest().FileName, QStringLiteral("FA4-Preferences.html"));
}

TEST_F(FileDialogTest, APreferencesFileUsedOnceIsProposedFromThenOn)
{
    const std::string saved = Path("mine.html");
    Window.ShowPage(Window.tsHeader);
    Prompter.AnswerFile(QString::fromStdString(saved));
    Window.btnSaveHtmlClick();
    EXPECT_EQ(Window.PreferencesFileName(), saved);

    Window.btnLoadFa4Click();
    EXPECT_EQ(LastRequest().Folder, FolderOf(saved));
    EXPECT_EQ(LastRequest().FileName, QStringLiteral("mine.html"));
}

TEST_F(FileDialogTest, TheChosenFileTypeIsOfferedFirstNextTime)
{
    Window.OpenDocument(WriteGoodDocument());
    Prompter.AnswerFile(QString::fromStdString(Path("out.txt")), 1);
    Window.btnSaveHtmlClick();
    EXPECT_EQ(Window.FileDialog().FilterIndex(), 2);

    Window.btnSaveHtmlClick();
    EXPECT_EQ(LastRequest().FilterIndex, 1);

    // A filter with fewer entries starts on its first.
    Window.btnLoadFa4Click();
    EXPECT_EQ(LastRequest().FilterIndex, 0);
}

TEST_F(FileDialogTest, FiltersBecomeQtNameFilters)
{
    EXPECT_EQ(TranslateFilter("Html files (*.htm*)|*.htm*"), HtmlFilters);
    EXPECT_EQ(TranslateFilter("Html files (*.htm*)|*.htm*|all files (*.*)|*.*"), HtmlOrAllFilters);
    EXPECT_EQ(TranslateFilter("HTML Document (*.htm,*.html)|*.htm;*.html"),
        QStringList{QStringLiteral("HTML Document (*.htm,*.html) (*.htm *.html)")});
    EXPECT_TRUE(TranslateFilter("").isEmpty());
    EXPECT_TRUE(TranslateFilter("no patterns").isEmpty());
}

// The Qt dialog itself, set up as the window asks, without its modal loop.
TEST_F(FileDialogTest, ATypedNameGetsTheDefaultExtension)
{
    TFileDialogRequest request;
    request.Save = true;
    request.Folder = Folder.path();
    request.Filters = HtmlOrAllFilters;
    request.FilterIndex = 1;
    request.DefaultSuffix = QStringLiteral("html");
    request.ConfirmOverwrite = true;
    request.FileName = QStringLiteral("typed");

    TZtFileChooser dialog;
    ApplyFileDialogRequest(dialog, request);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.ConfirmOverwrite());
    const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->currentText(), QStringLiteral("all files (*.*)")) << "shown without the patterns";
    const TFileDialogChoice choice = ReadFileDialogChoice(dialog);
    EXPECT_EQ(choice.FileName, Folder.path() + QStringLiteral("/typed.html"));
    EXPECT_EQ(choice.FilterIndex, 1);
}

TEST_F(FileDialogTest, WithoutDefaultExtensionATypedNameStaysAsItIs)
{
    TFileDialogRequest request;
    request.Folder = Folder.path();
    request.Filters = AllFilters;
    request.FileName = QStringLiteral("BRIEF");

    TZtFileChooser dialog;
    ApplyFileDialogRequest(dialog, request);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open")) << "the standard caption";
    EXPECT_EQ(ReadFileDialogChoice(dialog).FileName, Folder.path() + QStringLiteral("/BRIEF"));
}

// The toolkit's dialog run modally, answered by a timer as a person would.
std::optional<TFileDialogChoice> ChooseAndAnswer(const TFileDialogRequest& request, bool confirm)
{
    QTimer::singleShot(50, [confirm] {
        if (QDialog* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            confirm ? dialog->accept() : dialog->reject();
    });
    TZtQtPrompter prompter;
    return prompter.ChooseFile(nullptr, request);
}

TEST_F(FileDialogTest, TheToolkitDialogGivesTheConfirmedName)
{
    TFileDialogRequest request;
    request.Save = true;
    request.Folder = Folder.path();
    request.Filters = HtmlFilters;
    request.DefaultSuffix = QStringLiteral("html");
    request.FileName = QStringLiteral("new");
    const auto choice = ChooseAndAnswer(request, true);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->FileName, Folder.path() + QStringLiteral("/new.html"));
    EXPECT_EQ(choice->FilterIndex, 0);

    EXPECT_FALSE(ChooseAndAnswer(request, false).has_value()) << "cancelled";
}

// Confirms the toolkit's save dialog on a file that exists and answers the
// question that follows; "No" goes back to the dialog, which is then
// cancelled. `question` receives the question as shown.
std::optional<TFileDialogChoice> ReplaceAndAnswer(
    const TFileDialogRequest& request, QMessageBox::StandardButton answer, QString& question)
{
    QObject answering; // timers still pending end with it
    QTimer::singleShot(50, &answering, [&] {
        QDialog* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QTimer::singleShot(50, &answering, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                question = ShownText(*label);
            QTimer::singleShot(50, &answering, [] {
                if (QDialog* back = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                    back->reject();
            });
            box->button(answer)->click();
        });
        if (dialog != nullptr) dialog->accept();
    });
    TZtQtPrompter prompter;
    return prompter.ChooseFile(nullptr, request);
}

TEST_F(FileDialogTest, TheQuestionBeforeReplacingAFileTellsOfADocument)
{
    TFileDialogRequest request;
    request.Save = true;
    request.Folder = Folder.path();
    request.Filters = AllFilters;
    request.ConfirmOverwrite = true;

    const std::string document = WriteGoodDocument("<u>old.fa4");
    const std::string before = ReadFileBytes(document);
    request.FileName = QStringLiteral("<u>old.fa4");
    QString question;
    EXPECT_FALSE(ReplaceAndAnswer(request, QMessageBox::No, question).has_value());
    EXPECT_EQ(question,
        QStringLiteral("<u>old.fa4 already exists.\nIt looks like an F&A 4 document: replacing it with "
                       "HTML loses the document.\nDo you want to replace it?"));
    EXPECT_EQ(ReadFileBytes(document), before);

    WriteFileBytes(Path("page.html"), "<p>old</p>");
    request.FileName = QStringLiteral("page.html");
    question.clear();
    const auto choice = ReplaceAndAnswer(request, QMessageBox::Yes, question);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->FileName, QString::fromStdString(Path("page.html")));
    EXPECT_EQ(question, QStringLiteral("page.html already exists.\nDo you want to replace it?"));
}

} // namespace
} // namespace quorvex::testing
