// The prompters: boxes and dialogs of Qt, or standard error and no choice
// for runs where nobody answers.

#include "ZtPrompter.h"

#include <QFileDialog>
#include <QMessageBox>

#include <cstdio>

namespace quorvex {

void TZtQtPrompter::ShowError(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<TFileDialogChoice> TZtQtPrompter::ChooseFile(QWidget* parent, const TFileDialogRequest& request)
{
    QFileDialog dialog(parent);
    ApplyFileDialogRequest(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ReadFileDialogChoice(dialog);
}

void TZtConsolePrompter::ShowError(QWidget*, const QString& title, const QString& text)
{
    const QByteArray line = (title + QStringLiteral(": ") + text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

std::optional<TFileDialogChoice> TZtConsolePrompter::ChooseFile(QWidget*, const TFileDialogRequest&)
{
    return std::nullopt;
}

void ApplyFileDialogRequest(QFileDialog& dialog, const TFileDialogRequest& request)
{
    // Qt's own dialog on every desktop, so that the default suffix and the
    // filters behave the same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions already show their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialog too accepts names of files that do not exist; opening
    // them then fails with the usual message.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.Title.isEmpty()) dialog.setWindowTitle(request.Title);
    if (!request.Folder.isEmpty()) dialog.setDirectory(request.Folder);
    dialog.setNameFilters(request.Filters);
    if (request.FilterIndex >= 0 && request.FilterIndex < request.Filters.size())
        dialog.selectNameFilter(request.Filters.at(request.FilterIndex));
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.selectFile(request.FileName);
}

// The selected filter comes back as shown, without the patterns hidden from
// the user.
int SelectedFilterIndex(const QFileDialog& dialog)
{
    const QString selected = dialog.selectedNameFilter();
    const QStringList filters = dialog.nameFilters();
    for (int index = 0; index < filters.size(); ++index) {
        const QString& filter = filters.at(index);
        if (filter == selected || filter.startsWith(selected + QStringLiteral(" ("))) return index;
    }
    return 0;
}

TFileDialogChoice ReadFileDialogChoice(const QFileDialog& dialog)
{
    TFileDialogChoice choice;
    choice.FileName = dialog.selectedFiles().value(0);
    choice.FilterIndex = SelectedFilterIndex(dialog);
    return choice;
}

} // namespace quorvex
