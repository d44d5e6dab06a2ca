// The prompters: boxes and dialogs of Qt, or standard error and no choice
// for runs where nobody answers.

#include "ZtPrompter.h"

#include "ZtFileStatus.h"
#include "ZtQuotedName.h"
#include "ZtRecognizeDocument.h"

#include <QFileInfo>
#include <QMessageBox>

#include <cstdio>

namespace quorvex {

namespace {

// The text's names were quoted where its message was made; no other control
// character reaches the terminal either, only the text's own line breaks.
void WriteToStandardError(const QString& title, const QString& text)
{
    const QByteArray line = (title + QStringLiteral(": ") + text).toLocal8Bit();
    const std::string safe = WithoutControls(std::string_view(line.constData(), line.size()), true);
    std::fprintf(stderr, "%s\n", safe.c_str());
    std::fflush(stderr);
}

} // namespace

void TZtPrompter::ShowFinalError(const QString& title, const QString& text)
{
    WriteToStandardError(title, text);
    ShowError(nullptr, title, text);
}

void TZtQtPrompter::ShowError(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<TFileDialogChoice> TZtQtPrompter::ChooseFile(QWidget* parent, const TFileDialogRequest& request)
{
    TZtFileChooser dialog(parent);
    ApplyFileDialogRequest(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ReadFileDialogChoice(dialog);
}

void TZtConsolePrompter::ShowError(QWidget*, const QString& title, const QString& text)
{
    WriteToStandardError(title, text);
}

void TZtConsolePrompter::ShowFinalError(const QString& title, const QString& text)
{
    WriteToStandardError(title, text);
}

std::optional<TFileDialogChoice> TZtConsolePrompter::ChooseFile(QWidget*, const TFileDialogRequest&)
{
    return std::nullopt;
}

QString OverwriteQuestion(const QString& fileName)
{
    QString question = QStringLiteral("%1 already exists.").arg(QFileInfo(fileName).fileName());
    if (LooksLikeFa4Document(QFile::encodeName(fileName).toStdString()))
        question +=
            QStringLiteral("\nIt looks like an F&A 4 document: replacing it with HTML loses the document.");
    return question + QStringLiteral("\nDo you want to replace it?");
}

void TZtFileChooser::accept()
{
    const QString fileName = selectedFiles().value(0);
    const TFileStatus file = StatusOf(QFile::encodeName(fileName).toStdString());
    // A folder is entered, not replaced: Qt's dialog does that itself.
    if (FConfirmOverwrite && acceptMode() == AcceptSave && file.Found() && !file.IsFolder()) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), OverwriteQuestion(fileName),
            QMessageBox::Yes | QMessageBox::No, this);
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes) return;
    }
    QFileDialog::accept();
}

void ApplyFileDialogRequest(TZtFileChooser& dialog, const TFileDialogRequest& request)
{
    // Qt's own dialog on every desktop, so that the default suffix and the
    // filters behave the same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions already show their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // Qt's own question would read a file name as markup; TZtFileChooser asks.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.SetConfirmOverwrite(request.ConfirmOverwrite);
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
