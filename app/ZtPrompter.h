// The modal questions the program asks the user: message boxes and the file
// dialogs. Everything that would wait for a person goes through one object,
// so the program can run without one (tests, scripted runs).
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace quorvex {

// What a file dialog is opened with.
struct TFileDialogRequest {
    QString Title; // empty: the toolkit's standard caption
    bool Save = false; // save dialog, else open dialog
    QString Folder; // the folder the dialog opens in; empty: current folder
    QString FileName; // proposed name, without folder part
    QStringList Filters; // name filters in Qt's "description (patterns)" form
    int FilterIndex = 0; // 0-based entry of Filters selected at start
    QString DefaultSuffix; // appended to a typed name without extension
    bool ConfirmOverwrite = false;
};

// What a confirmed file dialog gives back.
struct TFileDialogChoice {
    QString FileName; // full name of the chosen file
    int FilterIndex = 0; // 0-based entry of Filters selected at the end
};

class TZtPrompter {
public:
    virtual ~TZtPrompter() = default;

    // A modal box with an error icon, the text and one OK button. Title and
    // text are plain text: a file name is shown as it is, whatever markup
    // it looks like.
    virtual void ShowError(QWidget* parent, const QString& title, const QString& text) = 0;
    // The box of a failure that ends the program. Its text is written to
    // standard error as well, so that the reason outlives the box where the
    // program was started from a menu, a file manager or a script.
    virtual void ShowFinalError(const QString& title, const QString& text);
    // A modal file dialog; nothing when the user cancels it.
    virtual std::optional<TFileDialogChoice> ChooseFile(
        QWidget* parent, const TFileDialogRequest& request) = 0;
};

// Asks a person, through QMessageBox and QFileDialog.
class TZtQtPrompter : public TZtPrompter {
public:
    void ShowError(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<TFileDialogChoice> ChooseFile(QWidget* parent, const TFileDialogRequest& request) override;
};

// For runs without a person: writes each box to standard error as
// "title: text" and cancels every file dialog.
class TZtConsolePrompter : public TZtPrompter {
public:
    void ShowError(QWidget* parent, const QString& title, const QString& text) override;
    // Standard error is where every box goes already: written once.
    void ShowFinalError(const QString& title, const QString& text) override;
    std::optional<TFileDialogChoice> ChooseFile(QWidget* parent, const TFileDialogRequest& request) override;
};

// Qt's file dialog with a question of the program's own before a save
// replaces a file: in plain text, so that a name is never read as markup,
// and telling when the file looks like an F&A 4 document.
class TZtFileChooser : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    bool ConfirmOverwrite() const { return FConfirmOverwrite; }
    void SetConfirmOverwrite(bool confirm) { FConfirmOverwrite = confirm; }

protected:
    void accept() override;

private:
    bool FConfirmOverwrite = false;
};

// The question before a save replaces the file `fileName`.
QString OverwriteQuestion(const QString& fileName);

// The two halves of TZtQtPrompter::ChooseFile around the modal loop.
void ApplyFileDialogRequest(TZtFileChooser& dialog, const TFileDialogRequest& request);
TFileDialogChoice ReadFileDialogChoice(const QFileDialog& dialog);

} // namespace quorvex
