// The one file dialog of the main window: its properties last from one use
// to the next, so the folder and the file type chosen stay for the next time.
#pragma once

#include <QStringList>

#include <string>
#include <string_view>

class QWidget;

namespace quorvex {

class TZtPrompter;

// "description|pattern|description|pattern" as Qt name filters
// "description (pattern pattern)": patterns separated by ';' become blanks,
// and "*.*", every file on the platform this form comes from, becomes "*".
QStringList TranslateFilter(std::string_view filter);

class TZtFileDialog {
public:
    TZtFileDialog(TZtPrompter& prompter, QWidget* owner);

    // Folder the dialog opens in, with its trailing separator.
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(std::string folder) { FInitialDir = std::move(folder); }
    // Before the dialog the proposed name without folder; after a confirmed
    // dialog the chosen file's full name.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(std::string name) { FFileName = std::move(name); }
    const std::string& Filter() const { return FFilter; }
    void SetFilter(std::string filter) { FFilter = std::move(filter); }
    // Without dot; empty: typed names are taken as they are.
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(std::string extension) { FDefaultExt = std::move(extension); }
    const std::string& Title() const { return FTitle; }
    bool OverwritePrompt() const { return FOverwritePrompt; }
    void SetOverwritePrompt(bool prompt) { FOverwritePrompt = prompt; }
    // 1-based entry of the filter the dialog starts with.
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int index) { FFilterIndex = index; }

    // Shows the save dialog when `save` is set, else the open dialog; true
    // when the user confirmed a file, whose full name is then FileName.
    bool Execute(std::string_view title, bool save);

private:
    TZtPrompter& FPrompter;
    QWidget* FOwner;
    std::string FInitialDir;
    std::string FFileName;
    std::string FFilter;
    std::string FDefaultExt;
    std::string FTitle;
    bool FOverwritePrompt = false;
    int FFilterIndex = 1;
};

} // namespace quorvex
