// The program's only window: the line list of the loaded document, the
// preferences editor, the HTML preview and the Load, Save and Close commands.
#pragma once

#include "ZtConvertDocument.h"
#include "ZtFileDialog.h"
#include "ZtFileInfoFa4.h"
#include "ZtHtmlHighlighter.h"
#include "ZtStatusImages.h"
#include "ZtTextLines.h"

#include <QWidget>

#include <array>
#include <string>
#include <string_view>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTabWidget;

namespace quorvex {

class TZtFindBar;
class TZtHtmlPreview;
class TZtLineList;
class TZtPrompter;
class TZtSourceEditor;

enum TWorkPage { wpPreferences = 0, wpConvertedText = 1 };

class TZtFormQuorvex : public QWidget {
    Q_OBJECT

public:
    explicit TZtFormQuorvex(TZtPrompter& prompter, QWidget* parent = nullptr);
    ~TZtFormQuorvex() override;

    // Loads a document and shows it. Errors of the load reach the caller;
    // errors of the conversion are reported here.
    void OpenDocument(const std::string& fileName);
    // Converts anew and shows the result; reports its own errors.
    void UpdatePreview();
    // The box that tells of a document that was read but did not convert.
    void ReportConversionError(std::string_view message);
    // What a conversion outside the window uses: the preferences editor's
    // whole text and the window's output modes.
    TZtConversion Conversion() const;
    void ClearDocument();
    // Writes the converted document and marks "Converted Text" as saved.
    void SaveHtmlAs(const std::string& fileName);
    // The idle update: "Save..." is usable while the conversion is not broken.
    void UpdateActions();

    TWorkPage ActiveWorkPage() const;
    void PrepareFileDialog(
        std::string_view proposedName, std::string_view filter, std::string_view defaultExt);

    // Handlers.
    void btnLoadFa4Click();
    void btnSaveHtmlClick();
    void btnOkClick();
    void HeaderChange();
    void PageControlChange();
    const void* vtRowsInitNode(int row) const;
    QString vtRowsGetText(int row, const void* rowData, int column) const;

    TStatusImage PageImage(TWorkPage page) const { return FPageImages[page]; }
    // A page switch of the program's own, which PageControlChange ignores.
    void ShowPage(QWidget* page);
    const std::string& PreferencesFileName() const { return FPreferencesFileName; }
    TLineBreak PreferencesLineBreak() const { return FPreferencesBreak; }
    const TZtFileInfoFa4& Document() const { return FDocument; }
    const TZtFileDialog& FileDialog() const { return FFileDialog; }

    // The controls, named by kind and role.
    QLabel* Panel1 = nullptr; // status text
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QFrame* Panel4 = nullptr;
    QFrame* Panel5 = nullptr;
    TZtLineList* vtRows = nullptr;
    QSplitter* Splitter1 = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* tsHeader = nullptr;
    QWidget* tsHtml = nullptr;
    QWidget* tsInfo = nullptr;
    TZtSourceEditor* Header = nullptr;
    TZtHtmlPreview* HtmlPreview = nullptr;
    TZtFindBar* FindBar = nullptr; // under the preview, shown by Ctrl+F
    QPlainTextEdit* HelpMemo = nullptr;
    QPushButton* btnLoadFa4 = nullptr;
    QPushButton* btnAsHtml = nullptr;
    QPushButton* btnOk = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void CreatePanels();
    void CreatePages();
    void CreateLineList();
    void CreateButtons();
    void BindCommandKeys();
    void AcceptFileDrops();
    bool HandleFileDrop(QEvent* event);
    void SnapLineList();
    // The count of the loaded document's lines and its name, and whether it
    // looks like a document at all.
    QString StatusText(const std::string& fileName) const;
    void SetPageImage(TWorkPage page, TStatusImage image);
    void LoadPreferences(const std::string& fileName);
    void SavePreferences(const std::string& fileName);
    template <typename THandler>
    void Guarded(THandler&& handler);

    TZtPrompter& FPrompter;
    std::string FPreferencesFileName;
    TZtFileInfoFa4 FDocument;
    TZtFileDialog FFileDialog;
    TZtHtmlHighlighter FHtmlHighlighter;
    TLineBreak FPreferencesBreak = TLineBreak::CrLf;
    std::array<QIcon, 3> FImageList1;
    std::array<TStatusImage, 2> FPageImages = {siOk, siOk};
};

} // namespace quorvex
