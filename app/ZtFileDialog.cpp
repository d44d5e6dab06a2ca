// The main window's file dialog: its filters in Qt's form and the choice
// it hands back.

#include "ZtFileDialog.h"

#include "ZtPrompter.h"
#include "ZtQtText.h"

#include <QFile>

namespace quorvex {

namespace {

QString TranslatePatterns(std::string_view patterns)
{
    QStringList result;
    for (const QString& pattern : FromBytes(patterns).split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        result << (trimmed == QStringLiteral("*.*") ? QStringLiteral("*") : trimmed);
    }
    return result.join(u' ');
}

} // namespace

QStringList TranslateFilter(std::string_view filter)
{
    QStringList filters;
    while (!filter.empty()) {
        const auto bar = filter.find('|');
        const std::string_view description = filter.substr(0, bar);
        if (bar == std::string_view::npos) break; // a description without patterns offers nothing
        filter.remove_prefix(bar + 1);
        const auto next = filter.find('|');
        const std::string_view patterns = filter.substr(0, next);
        filter.remove_prefix(next == std::string_view::npos ? filter.size() : next + 1);
        filters << FromBytes(description) + QStringLiteral(" (") + TranslatePatterns(patterns) + u')';
    }
    return filters;
}

TZtFileDialog::TZtFileDialog(TZtPrompter& prompter, QWidget* owner)
    : FPrompter(prompter)
    , FOwner(owner)
{ }

bool TZtFileDialog::Execute(std::string_view title, bool save)
{
    FTitle = title;
    TFileDialogRequest request;
    request.Title = FromBytes(FTitle);
    request.Save = save;
    request.Folder = QFile::decodeName(FInitialDir.c_str());
    request.FileName = QFile::decodeName(FFileName.c_str());
    request.Filters = TranslateFilter(FFilter);
    // An index beyond this filter's entries starts on the first entry.
    request.FilterIndex = FFilterIndex >= 1 && FFilterIndex <= request.Filters.size() ? FFilterIndex - 1 : 0;
    request.DefaultSuffix = FromBytes(FDefaultExt);
    request.ConfirmOverwrite = FOverwritePrompt;

    const auto choice = FPrompter.ChooseFile(FOwner, request);
    if (!choice) return false;
    FFileName = QFile::encodeName(choice->FileName).toStdString();
    FFilterIndex = choice->FilterIndex + 1;
    return true;
}

} // namespace quorvex
