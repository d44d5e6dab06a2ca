// The main window: its controls, the document it shows and converts, and
// the handlers of its commands.

#include "ZtFormQuorvexMain.h"

#include "ZtDamageText.h"

#include "ZtDefaultPreferences.h"
#include "ZtErrorReport.h"
#include "ZtErrors.h"
#include "ZtFileTarget.h"
#include "ZtHelpText.h"
#include "ZtFindBar.h"
#include "ZtHtmlPreview.h"
#include "ZtLineCells.h"
#include "ZtLineList.h"
#include "ZtPrompter.h"
#include "ZtQtText.h"
#include "ZtQuotedName.h"
#include "ZtSourceEditor.h"
#include "ZtWindowFont.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <initializer_list>

namespace quorvex {

namespace {

constexpr std::string_view DefaultPreferencesFileName = "FA4-Preferences.html";
constexpr std::string_view HtmlFilesFilter = "Html files (*.htm*)|*.htm*";
constexpr std::string_view AllFilesFilter = "all files (*.*)|*.*";
constexpr std::string_view HtmlOrAllFilesFilter = "Html files (*.htm*)|*.htm*|all files (*.*)|*.*";
constexpr std::string_view HtmlExtension = "html";
constexpr std::string_view HighlighterFilter = "HTML Document (*.htm,*.html)|*.htm;*.html";

// Sizes in pixels, as designed at 96 dots per inch.
constexpr int DesignWidth = 800;
constexpr int DesignHeight = 600;
constexpr int BarHeight = 41;
constexpr int InnerBorder = 4;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int SplitterWidth = 8;
constexpr int PagesMinWidth = 50;
constexpr int LineListSnapWidth = 30; // a narrower list closes
constexpr int WindowFontSize = 11; // 8 pt
constexpr int ListHeaderFontSize = 12;

QFrame* MakePanel(const char* name, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

// A page whose one control fills it.
// A page of the page control: its main widget, which takes the page's
// height, and the bars under it.
QWidget* MakePage(const char* name, QWidget* content, std::initializer_list<QWidget*> bars = {})
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content, 1);
    for (QWidget* bar : bars) layout->addWidget(bar);
    return page;
}

QString HelpText()
{
    QStringList lines;
    for (const std::string_view line : HelpTextLines)
        lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
    return lines.join(u'\n');
}

} // namespace

TZtFormQuorvex::TZtFormQuorvex(TZtPrompter& prompter, QWidget* parent)
    : QWidget(parent)
    , FPrompter(prompter)
    , FFileDialog(prompter, this)
    , FImageList1(MakeStatusImages())
{
    setWindowTitle(FromBytes(ProgramTitle));
    setFont(WindowFont(WindowFontSize));
    resize(DesignWidth, DesignHeight);
    CreatePanels();
    CreateLineList();
    CreatePages();
    CreateButtons();
    FormCreate();
    AcceptFileDrops();

    // Connected after FormCreate chose the first page: only the user's
    // switches reach PageControlChange.
    connect(Header, &TZtSourceEditor::UserChanged, this, &TZtFormQuorvex::HeaderChange);
    connect(PageControl, &QTabWidget::currentChanged, this, [this] { PageControlChange(); });
    connect(Splitter1, &QSplitter::splitterMoved, this, &TZtFormQuorvex::SnapLineList);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
        &TZtFormQuorvex::UpdateActions);
}

TZtFormQuorvex::~TZtFormQuorvex()
{
    // The editor is destroyed with the widgets, after the highlighter.
    Header->SetHighlighter(nullptr);
}

void TZtFormQuorvex::FormCreate()
{
    Splitter1->setSizes({0, DesignWidth});
    PageControl->setCurrentWidget(tsHtml);
    FPreferencesFileName = DefaultPreferencesFileName;
    // Installed, the program lives in a folder where a user can neither save
    // nor find documents; the dialogs start at home instead.
    FFileDialog.SetInitialDir(QFile::encodeName(QDir::homePath()).toStdString() + '/');
    FFileDialog.SetOverwritePrompt(true);
}

void TZtFormQuorvex::CreatePanels()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QLabel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(BarHeight);
    Panel1->setMargin(InnerBorder);
    Panel1->setAlignment(Qt::AlignCenter);
    // File names are shown as they are: a folder named like markup must not
    // colour the bar or make it load a picture.
    Panel1->setTextFormat(Qt::PlainText);

    Panel3 = MakePanel("Panel3", this);
    auto* clientLayout = new QHBoxLayout(Panel3);
    clientLayout->setContentsMargins(InnerBorder, InnerBorder, InnerBorder, InnerBorder);
    Splitter1 = new QSplitter(Qt::Horizontal, Panel3);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(SplitterWidth);
    Splitter1->setOpaqueResize(true);
    clientLayout->addWidget(Splitter1);

    Panel2 = MakePanel("Panel2", this);
    Panel2->setFixedHeight(BarHeight);
    Panel4 = MakePanel("Panel4", Panel2);
    Panel4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* barLayout = new QHBoxLayout(Panel2);
    barLayout->setContentsMargins(InnerBorder, InnerBorder, InnerBorder, InnerBorder);
    barLayout->addStretch();
    barLayout->addWidget(Panel4);

    layout->addWidget(Panel1);
    layout->addWidget(Panel3, 1);
    layout->addWidget(Panel2);
}

void TZtFormQuorvex::CreateLineList()
{
    vtRows = new TZtLineList(Splitter1);
    vtRows->setObjectName(QStringLiteral("vtRows"));
    vtRows->horizontalHeader()->setFont(WindowFont(ListHeaderFontSize));
    vtRows->SetInitNode([this](int row) { return vtRowsInitNode(row); });
    vtRows->SetGetText(
        [this](int row, const void* rowData, int column) { return vtRowsGetText(row, rowData, column); });
    // No minimum width of its own: the list can be 0 wide, and SnapLineList
    // closes it when it is dragged narrower than it is usable.
    vtRows->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    Splitter1->addWidget(vtRows);
}

void TZtFormQuorvex::CreatePages()
{
    Panel5 = MakePanel("Panel5", Splitter1);
    Panel5->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel5->setLineWidth(2);
    Panel5->setMinimumWidth(PagesMinWidth);
    Splitter1->addWidget(Panel5);
    Splitter1->setCollapsible(1, false);
    Splitter1->setStretchFactor(1, 1);

    PageControl = new QTabWidget(Panel5);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setIconSize(QSize(StatusImageSize, StatusImageSize));
    auto* frameLayout = new QVBoxLayout(Panel5);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(PageControl);

    Header = new TZtSourceEditor;
    Header->setObjectName(QStringLiteral("Header"));
    FHtmlHighlighter.SetDefaultFilter(std::string(HighlighterFilter));
    Header->SetHighlighter(&FHtmlHighlighter);
    Header->SetLines(SplitTextLines(DefaultPreferencesText).Lines);

    HtmlPreview = new TZtHtmlPreview;
    HtmlPreview->setObjectName(QStringLiteral("HtmlPreview"));
    FindBar = new TZtFindBar(HtmlPreview);

    HelpMemo = new QPlainTextEdit;
    HelpMemo->setObjectName(QStringLiteral("HelpMemo"));
    HelpMemo->setReadOnly(true);
    HelpMemo->setFrameShape(QFrame::NoFrame);
    HelpMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette memoPalette = HelpMemo->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Button));
    HelpMemo->setPalette(memoPalette);
    HelpMemo->setPlainText(HelpText());

    tsHeader = MakePage("tsHeader", Header);
    tsHtml = MakePage("tsHtml", HtmlPreview, {FindBar});
    tsInfo = MakePage("tsInfo", HelpMemo);
    PageControl->addTab(tsHeader, FImageList1[siOk], QStringLiteral("Preferences"));
    PageControl->addTab(tsHtml, FImageList1[siOk], QStringLiteral("Converted Text"));
    PageControl->addTab(tsInfo, QStringLiteral("Help!"));
}

void TZtFormQuorvex::CreateButtons()
{
    auto* layout = new QHBoxLayout(Panel4);
    layout->setContentsMargins(InnerBorder, InnerBorder, InnerBorder, InnerBorder);
    auto makeButton = [this, layout](const char* name, const char* caption) {
        auto* button = new QPushButton(QString::fromLatin1(caption), Panel4);
        button->setObjectName(QString::fromLatin1(name));
        button->setFixedSize(ButtonWidth, ButtonHeight);
        layout->addWidget(button);
        return button;
    };
    btnLoadFa4 = makeButton("btnLoadFa4", "Load...");
    btnAsHtml = makeButton("btnAsHtml", "Save...");
    btnOk = makeButton("btnOk", "Close");
    setTabOrder(btnOk, btnAsHtml);
    setTabOrder(btnAsHtml, btnLoadFa4);

    connect(btnLoadFa4, &QPushButton::clicked, this, [this] { Guarded([this] { btnLoadFa4Click(); }); });
    connect(btnAsHtml, &QPushButton::clicked, this, [this] { Guarded([this] { btnSaveHtmlClick(); }); });
    connect(btnOk, &QPushButton::clicked, this, [this] { Guarded([this] { btnOkClick(); }); });
    BindCommandKeys();
}

// The keys a desktop user tries first; the editor's own key bindings come
// first while it has the focus, as it claims their keys before shortcuts.
void TZtFormQuorvex::BindCommandKeys()
{
    struct TCommandKey {
        QKeyCombination Key;
        QPushButton* TZtFormQuorvex::*Button;
    };
    static constexpr std::array<TCommandKey, 3> CommandKeys{{
        {Qt::CTRL | Qt::Key_O, &TZtFormQuorvex::btnLoadFa4},
        {Qt::CTRL | Qt::Key_S, &TZtFormQuorvex::btnAsHtml},
        {Qt::CTRL | Qt::Key_Q, &TZtFormQuorvex::btnOk},
    }};
    for (const TCommandKey& command : CommandKeys) {
        QPushButton* button = this->*command.Button;
        // A click does nothing on a disabled button, as for the mouse.
        new QShortcut(QKeySequence(command.Key), this, [button] { button->click(); });
    }
    // Finding is for the converted text; the other pages have nothing to find.
    new QShortcut(QKeySequence::Find, this, [this] {
        if (PageControl->currentWidget() == tsHtml) FindBar->Open();
    });
}

template <typename THandler>
void TZtFormQuorvex::Guarded(THandler&& handler)
{
    RunGuarded(FPrompter, this, std::forward<THandler>(handler));
}

void TZtFormQuorvex::OpenDocument(const std::string& fileName)
{
    SetPageImage(wpConvertedText, siError);
    ClearDocument();
    FDocument.LoadFromFile(fileName);
    vtRows->SetRowCount(FDocument.LineCount());
    // The conversion tells of the boxes it could not read as tables.
    UpdatePreview();
    Panel1->setText(StatusText(fileName));
}

QString TZtFormQuorvex::StatusText(const std::string& fileName) const
{
    QString text =
        QStringLiteral("%1 Abschnitte in '%2'").arg(FDocument.LineCount()).arg(FromBytes(fileName));
    // Any file loads, most as an empty document.
    if (!FDocument.LooksLikeDocument())
        text += QStringLiteral(": die Datei sieht nicht wie ein F&A-4-Dokument aus");
    else if (FDocument.Damage().Damaged())
        text += QStringLiteral(": beschädigt, ") + DamageText(FDocument.Damage());
    return text;
}

void TZtFormQuorvex::UpdatePreview()
{
    try {
        const TZtConversion conversion = Conversion();
        HtmlPreview->ShowHtml(BuildHtml(conversion.Preferences, FDocument, conversion.Modes()));
        SetPageImage(wpConvertedText, siChanged);
    } catch (...) {
        const std::string message = CurrentExceptionMessage();
        HtmlPreview->ClearPreview();
        SetPageImage(wpConvertedText, siError);
        ReportConversionError(message);
    }
}

void TZtFormQuorvex::ReportConversionError(std::string_view message)
{
    FPrompter.ShowError(this, QStringLiteral("Error"),
        QStringLiteral("Failed to convert FA4 text!\n\n") + FromBytes(message));
}

TZtConversion TZtFormQuorvex::Conversion() const
{
    // The window converts in the default modes, as fa4tohtml does without
    // --classic.
    TZtConversion conversion;
    conversion.Preferences = Header->WholeText();
    return conversion;
}

void TZtFormQuorvex::ClearDocument()
{
    FDocument.Clear();
    vtRows->ClearRows();
    Panel1->clear();
}

void TZtFormQuorvex::SaveHtmlAs(const std::string& fileName)
{
    // The document stays on disk as it was loaded: its HTML never replaces it.
    const auto document = IdentityOfRegularFile(FDocument.FileName());
    if (document && document == IdentityOfRegularFile(fileName))
        throw EZtError("Cannot save the HTML to " + QuotedName(fileName) + ": it is the loaded document " +
            QuotedName(FDocument.FileName()));
    const TZtConversion conversion = Conversion();
    SaveHtml(fileName, conversion.Preferences, FDocument, conversion.Modes());
    SetPageImage(wpConvertedText, siOk);
}

void TZtFormQuorvex::UpdateActions()
{
    btnAsHtml->setEnabled(FPageImages[wpConvertedText] != siError);
}

TWorkPage TZtFormQuorvex::ActiveWorkPage() const
{
    const QWidget* page = PageControl->currentWidget();
    if (page == tsHtml) return wpConvertedText;
    if (page == tsHeader) return wpPreferences;
    throw EZtError("unrecognized page of page control");
}

void TZtFormQuorvex::PrepareFileDialog(
    std::string_view proposedName, std::string_view filter, std::string_view defaultExt)
{
    const auto separator = proposedName.rfind('/');
    if (separator != std::string_view::npos) {
        FFileDialog.SetInitialDir(std::string(proposedName.substr(0, separator + 1)));
        proposedName.remove_prefix(separator + 1);
    }
    FFileDialog.SetFileName(std::string(proposedName));
    FFileDialog.SetFilter(std::string(filter));
    FFileDialog.SetDefaultExt(std::string(defaultExt));
}

void TZtFormQuorvex::btnLoadFa4Click()
{
    switch (ActiveWorkPage()) {
    case wpPreferences:
        PrepareFileDialog(FPreferencesFileName, HtmlFilesFilter, HtmlExtension);
        if (FFileDialog.Execute("Load Preferences", false)) LoadPreferences(FFileDialog.FileName());
        break;
    case wpConvertedText:
        PrepareFileDialog(FDocument.FileName(), AllFilesFilter, "");
        if (FFileDialog.Execute("", false)) OpenDocument(FFileDialog.FileName());
        break;
    }
}

void TZtFormQuorvex::btnSaveHtmlClick()
{
    switch (ActiveWorkPage()) {
    case wpPreferences:
        PrepareFileDialog(FPreferencesFileName, HtmlFilesFilter, HtmlExtension);
        if (FFileDialog.Execute("Save Preferences As", true)) SavePreferences(FFileDialog.FileName());
        break;
    case wpConvertedText:
        PrepareFileDialog(
            FDocument.FileName() + '.' + std::string(HtmlExtension), HtmlOrAllFilesFilter, HtmlExtension);
        if (FFileDialog.Execute("", true)) SaveHtmlAs(FFileDialog.FileName());
        break;
    }
}

void TZtFormQuorvex::btnOkClick()
{
    close();
}

void TZtFormQuorvex::LoadPreferences(const std::string& fileName)
{
    const TTextLines text = ReadTextLinesFile(fileName);
    Header->SetLines(text.Lines);
    FPreferencesBreak = text.Break;
    FPreferencesFileName = fileName;
    // The preview was converted with the old head: a loaded file is an edit.
    SetPageImage(wpPreferences, siChanged);
}

void TZtFormQuorvex::SavePreferences(const std::string& fileName)
{
    WriteTextLinesFile(fileName, TTextLines{Header->Lines(), FPreferencesBreak});
    FPreferencesFileName = fileName;
}

void TZtFormQuorvex::HeaderChange()
{
    SetPageImage(wpPreferences, siChanged);
}

void TZtFormQuorvex::PageControlChange()
{
    if (PageControl->currentWidget() == tsHtml && FPageImages[wpPreferences] == siChanged &&
        FPageImages[wpConvertedText] != siError) {
        UpdatePreview();
        SetPageImage(wpPreferences, siOk);
    }
}

void TZtFormQuorvex::ShowPage(QWidget* page)
{
    const QSignalBlocker quiet(PageControl);
    PageControl->setCurrentWidget(page);
}

const void* TZtFormQuorvex::vtRowsInitNode(int row) const
{
    // The list has no more rows than the document has lines, so this cannot
    // fail; a row without data shows empty cells should it ever do so.
    try {
        return &FDocument.GetLine(row);
    } catch (const EZtError&) {
        return nullptr;
    }
}

QString TZtFormQuorvex::vtRowsGetText(int row, const void* rowData, int column) const
{
    if (rowData == nullptr) return QString();
    try {
        const auto& entry = *static_cast<const TFa4LineEntry*>(rowData);
        switch (column) {
        case TZtLineList::colLen:
            return QString::number(entry.Length);
        case TZtLineList::colId:
            return QString::fromStdString(ScreenText(FDocument.LineView(entry)));
        case TZtLineList::colHex:
            return QString::fromStdString(HexText(FDocument.LineView(entry)));
        case TZtLineList::colIndex:
            return QString::number(row);
        default:
            return QString();
        }
    } catch (...) {
        return u'<' + FromBytes(CurrentExceptionMessage()) + u'>';
    }
}

void TZtFormQuorvex::SetPageImage(TWorkPage page, TStatusImage image)
{
    FPageImages[page] = image;
    PageControl->setTabIcon(
        PageControl->indexOf(page == wpPreferences ? tsHeader : tsHtml), FImageList1[image]);
}

void TZtFormQuorvex::SnapLineList()
{
    QList<int> sizes = Splitter1->sizes();
    if (sizes.size() == 2 && sizes[0] > 0 && sizes[0] < LineListSnapWidth) {
        sizes[1] += sizes[0];
        sizes[0] = 0;
        Splitter1->setSizes(sizes);
    }
}

void TZtFormQuorvex::AcceptFileDrops()
{
    setAcceptDrops(true);
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TZtFormQuorvex::eventFilter(QObject* watched, QEvent* event)
{
    // The preview makes its drawing surface only once it shows a page.
    if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType()) child->installEventFilter(this);
    }
    if (HandleFileDrop(event)) return true;
    return QWidget::eventFilter(watched, event);
}

// A file dragged onto any part of the window opens as a document; other
// drags (text within the editor) go on as usual.
bool TZtFormQuorvex::HandleFileDrop(QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QMimeData* mime = drop->mimeData();
    if (mime == nullptr || !mime->hasUrls() || !mime->urls().constFirst().isLocalFile()) return false;
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        const std::string fileName = QFile::encodeName(mime->urls().constFirst().toLocalFile()).toStdString();
        Guarded([this, &fileName] { OpenDocument(fileName); });
    }
    return true;
}

} // namespace quorvex
