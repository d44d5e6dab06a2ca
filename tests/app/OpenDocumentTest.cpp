// Loading documents into the window: what a good, a missing and a broken
// document leave in the status text, the list and the preview.

#include "AppFixture.h"
#include "PreviewProbe.h"
#include "ShownText.h"
#include "ZtHtmlPreview.h"
#include "ZtLineList.h"

#include "ZtSourceEditor.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <filesystem>

namespace quorvex::testing {
namespace {

using OpenDocumentTest = WindowTest;

QString PreviewText(TZtFormQuorvex& window)
{
    return PageText(*window.HtmlPreview);
}

TEST_F(OpenDocumentTest, AGoodDocumentIsListedCountedAndPreviewed)
{
    const std::string fileName = WriteGoodDocument();
    Window.OpenDocument(fileName);
    EXPECT_EQ(
        Window.Panel1->text(), QStringLiteral("14 Abschnitte in '%1'").arg(QString::fromStdString(fileName)));
    EXPECT_EQ(Window.vtRows->RowCount(), 14);
    EXPECT_TRUE(PreviewText(Window).contains(QStringLiteral("Hello world")));
    EXPECT_EQ(Window.Document().FileName(), fileName);
    EXPECT_TRUE(Prompter.Boxes.empty());
}

TEST_F(OpenDocumentTest, TheStatusTextNamesTheFileAsGiven)
{
    WriteGoodDocument();
    const QString relative = QStringLiteral("%1/./good.fa4").arg(Folder.path());
    Window.OpenDocument(relative.toStdString());
    EXPECT_EQ(Window.Panel1->text(), QStringLiteral("14 Abschnitte in '%1'").arg(relative));
}

// Watches a FIFO while it lives: whoever opens it for reading gets a writer
// at once, and so an end of file instead of waiting for ever.
class TFifoWatch {
public:
    explicit TFifoWatch(std::string fifo)
        : FThread([this, fifo] { Watch(fifo); })
    { }
    ~TFifoWatch() { Stop(); }

    // Whether anyone opened the FIFO for reading.
    bool Stop()
    {
        FStop = true;
        if (FThread.joinable()) FThread.join();
        return FOpened;
    }

private:
    void Watch(const std::string& fifo)
    {
        while (!FStop) {
            // Succeeds only while the FIFO has a reader.
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0) {
                FOpened = true;
                ::close(writer);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    std::atomic<bool> FStop{false};
    std::atomic<bool> FOpened{false};
    std::thread FThread;
};

TEST_F(OpenDocumentTest, TheStatusTextShowsNamesAsTheyAreNeverAsMarkup)
{
    const std::string fifo = Path("picture");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Folders whose names, read as markup, colour the text and show the FIFO
    // as a picture.
    const std::string folder = "<font color=red size=7>X<u><img src=\"" + fifo + "\">";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Path(folder))));
    const std::string fileName = WriteGoodDocument(folder + "/doc.fa4");

    TFifoWatch watch(fifo);
    Window.OpenDocument(fileName);
    Window.show();
    Window.Panel1->grab();
    QApplication::processEvents();
    EXPECT_FALSE(watch.Stop()) << "the status line read the FIFO";
    EXPECT_EQ(ShownText(*Window.Panel1),
        QStringLiteral("14 Abschnitte in '%1'").arg(QString::fromStdString(fileName)));
}

TEST_F(OpenDocumentTest, TheStatusTextTellsOfAFileThatIsNoDocument)
{
    const std::string fileName = Path("notes.txt");
    WriteFileBytes(fileName, "Just a few words of text.\n");
    Window.OpenDocument(fileName);
    EXPECT_EQ(Window.Panel1->text(),
        QStringLiteral("0 Abschnitte in '%1': die Datei sieht nicht wie ein F&A-4-Dokument aus")
            .arg(QString::fromStdString(fileName)));
    EXPECT_TRUE(Prompter.Boxes.empty());
}

TEST_F(OpenDocumentTest, TheStatusTextTellsWhatADamagedDocumentLost)
{
    const std::string bytes = ReadFileBytes(WriteGoodDocument());
    const std::string fileName = Path("cut.fa4");
    WriteFileBytes(fileName, bytes.substr(0, bytes.size() - 3));
    Window.OpenDocument(fileName);
    EXPECT_EQ(Window.Panel1->text(),
        QStringLiteral("14 Abschnitte in '%1': besch\u00e4digt, 1 von 14 Zeilen am Dateiende abgeschnitten "
                       "(3 Bytes fehlen)")
            .arg(QString::fromStdString(fileName)));
}

TEST_F(OpenDocumentTest, AFailedLoadEmptiesListAndStatusButKeepsThePreview)
{
    Window.OpenDocument(WriteGoodDocument());
    const std::string missing = Path("missing.fa4");
    try {
        Window.OpenDocument(missing);
        FAIL() << "the load succeeded";
    } catch (const EZtError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + missing + ": No such file or directory");
    }
    EXPECT_EQ(Window.vtRows->RowCount(), 0);
    EXPECT_TRUE(Window.Panel1->text().isEmpty());
    EXPECT_TRUE(PreviewText(Window).contains(QStringLiteral("Hello world"))) << "the old preview stays";
    EXPECT_TRUE(Prompter.Boxes.empty()) << "the caller reports a failed load";
}

TEST_F(OpenDocumentTest, ABrokenDocumentIsListedButNotPreviewed)
{
    Window.OpenDocument(WriteGoodDocument());
    const std::string fileName = WriteBrokenDocument();
    Window.OpenDocument(fileName);

    ASSERT_EQ(Prompter.Boxes.size(), 1u);
    EXPECT_EQ(Prompter.Boxes[0].Title, QStringLiteral("Error"));
    EXPECT_EQ(Prompter.Boxes[0].Text,
        QStringLiteral("Failed to convert FA4 text!\n\nDocument too complex to convert"));
    EXPECT_TRUE(PreviewText(Window).isEmpty());
    EXPECT_EQ(Window.vtRows->RowCount(), 112);
    EXPECT_EQ(Window.Panel1->text(),
        QStringLiteral("112 Abschnitte in '%1'").arg(QString::fromStdString(fileName)));
}

TEST_F(OpenDocumentTest, ABoxThatCannotBeReadAsATableIsConvertedAndNamedInTheStatus)
{
    // The box's left edge meets a line too short to hold it.
    const std::string fileName = WriteDocument("box.fa4", {"  \xDA\xC4\xBF", "x"});
    Window.OpenDocument(fileName);
    EXPECT_TRUE(Prompter.Boxes.empty());
    EXPECT_TRUE(PreviewText(Window).contains(QStringLiteral("+-+")));
    EXPECT_EQ(Window.Panel1->text(),
        QStringLiteral("14 Abschnitte in '%1': beschädigt, 1 Tabelle nicht als Tabelle lesbar")
            .arg(QString::fromStdString(fileName)));
}

TEST_F(OpenDocumentTest, LoadOnConvertedTextOpensTheChosenDocument)
{
    const std::string fileName = WriteGoodDocument();
    Prompter.AnswerFile(QString::fromStdString(fileName));
    Window.btnLoadFa4Click();
    EXPECT_EQ(Window.Document().FileName(), fileName);
    EXPECT_EQ(Window.vtRows->RowCount(), 14);
}

TEST_F(OpenDocumentTest, ALoadCommandThatFailsShowsTheStandardErrorBox)
{
    const std::string missing = Path("missing.fa4");
    Prompter.AnswerFile(QString::fromStdString(missing));
    Window.btnLoadFa4->click();
    ASSERT_EQ(Prompter.Boxes.size(), 1u);
    EXPECT_EQ(Prompter.Boxes[0].Title, QStringLiteral("Quorvex"));
    EXPECT_EQ(Prompter.Boxes[0].Text,
        QStringLiteral("Cannot open file %1: No such file or directory.")
            .arg(QString::fromStdString(missing)));
    EXPECT_EQ(Window.PageImage(wpConvertedText), siError);
}

TEST_F(OpenDocumentTest, ADocumentOfTwoGibibytesSaysWhyItIsOutOfRange)
{
    const std::string huge = Path("huge.fa4");
    WriteFileBytes(huge, "");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 31); // sparse
    Prompter.AnswerFile(QString::fromStdString(huge));
    Window.btnLoadFa4->click();
    ASSERT_EQ(Prompter.Boxes.size(), 1u);
    EXPECT_EQ(Prompter.Boxes[0].Text,
        QStringLiteral("Range check error: 2147483648 bytes; a document holds less than 2 GiB."));
}

TEST_F(OpenDocumentTest, SaveOnConvertedTextWritesTheConvertedDocument)
{
    const std::string fileName = WriteGoodDocument();
    Window.OpenDocument(fileName);
    Prompter.AnswerFile(QString::fromStdString(fileName + ".html"));
    Window.btnSaveHtmlClick();
    const std::string html = ReadFileBytes(fileName + ".html");
    EXPECT_TRUE(html.starts_with("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                                 "<head>\r\n<meta charset=\"utf-8\">\r\n"));
    EXPECT_TRUE(html.ends_with("</body>"));
    EXPECT_NE(html.find("Hello world"), std::string::npos);
    EXPECT_EQ(Window.PageImage(wpConvertedText), siOk);
}

// Whole words, character references and the font-size head: what browsers
// read right, never the classic bytes.
TEST_F(OpenDocumentTest, SaveWritesTheOutputBrowsersRead)
{
    const std::string fileName = WriteDocument("sound.fa4", {"caf\x82 Wort- ", "teil\xFF\x01"});
    Window.OpenDocument(fileName);
    Prompter.AnswerFile(QString::fromStdString(fileName + ".html"));
    Window.btnSaveHtmlClick();
    const std::string html = ReadFileBytes(fileName + ".html");
    EXPECT_NE(html.find("  .font1 {font-size:18pt}\r\n"), std::string::npos);
    EXPECT_NE(html.find("<!-- LINE 12 -->caf&#233; Wort&shy;<!-- LINE 13 -->teil<br>"), std::string::npos);
}

TEST_F(OpenDocumentTest, SavingABrokenDocumentFailsAndKeepsTheImage)
{
    Window.OpenDocument(WriteBrokenDocument());
    Prompter.Boxes.clear();
    Prompter.AnswerFile(QString::fromStdString(Path("broken.html")));
    EXPECT_THROW(Window.btnSaveHtmlClick(), EZtError);
    EXPECT_EQ(Window.PageImage(wpConvertedText), siError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("broken.html"))));
}

// Delivers a drag and drop as the toolkit does: to the nearest widget, from
// the one under the mouse outwards, that accepts drops.
bool DropOn(QWidget* widget, const QMimeData& mime)
{
    while (widget != nullptr && !widget->acceptDrops()) widget = widget->parentWidget();
    if (widget == nullptr) return false;
    const QPoint point(5, 5);
    QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(point), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &drop);
    return drop.isAccepted();
}

QMimeData* FileDrag(const std::string& fileName)
{
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(QString::fromStdString(fileName))});
    return mime;
}

TEST_F(OpenDocumentTest, ADroppedFileOpensOnAnyPage)
{
    const std::string fileName = WriteGoodDocument();
    const std::unique_ptr<QMimeData> mime(FileDrag(fileName));
    // The preview's drawing surface exists once it has shown a page.
    Window.show();
    ASSERT_TRUE(WaitUntilLoaded(*Window.HtmlPreview));
    ASSERT_NE(Window.HtmlPreview->focusProxy(), nullptr);
    const std::vector<QWidget*> targets = {Window.Header->viewport(), Window.HtmlPreview->focusProxy(),
        Window.HelpMemo->viewport(), Window.Panel1, Window.btnOk};
    const std::vector<QWidget*> pages = {
        Window.tsHeader, Window.tsHtml, Window.tsInfo, Window.tsInfo, Window.tsHtml};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        SCOPED_TRACE(targets[i]->objectName().toStdString() + " " + std::to_string(i));
        Window.ClearDocument();
        Window.ShowPage(pages[i]);
        EXPECT_TRUE(DropOn(targets[i], *mime));
        EXPECT_EQ(Window.Document().FileName(), fileName);
    }
    EXPECT_EQ(Window.Header->Lines().size(), 16u) << "the file's name went nowhere into the editor";
}

TEST_F(OpenDocumentTest, DroppedTextIsLeftToTheEditor)
{
    Window.ShowPage(Window.tsHeader);
    QMimeData mime;
    mime.setText(QStringLiteral("plain"));
    DropOn(Window.Header->viewport(), mime);
    EXPECT_TRUE(Window.Document().FileName().empty());
}

TEST_F(OpenDocumentTest, ADroppedFileThatCannotBeOpenedIsReported)
{
    const std::unique_ptr<QMimeData> mime(FileDrag(Path("missing.fa4")));
    EXPECT_TRUE(DropOn(Window.Panel1, *mime));
    ASSERT_EQ(Prompter.Boxes.size(), 1u);
    EXPECT_EQ(Prompter.Boxes[0].Title, QStringLiteral("Quorvex"));
    EXPECT_EQ(Window.PageImage(wpConvertedText), siError);
}

} // namespace
} // namespace quorvex::testing
