// The modal questions the program asks the user: message boxes and the file
// dialogs. Everything that would wait for a person goes through one object,
// so the program can run without one (tests, scripted runs).
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QFileDialog;
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

    // A modal box with an error icon, the text and one OK button.
    virtual void ShowError(QWidget* parent, const QString& title, const QString& text) = 0;
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
    std::optional<TFileDialogChoice> ChooseFile(QWidget* parent, const TFileDialogRequest& request) override;
};

// The two halves of TZtQtPrompter::ChooseFile around the modal loop.
void ApplyFileDialogRequest(QFileDialog& dialog, const TFileDialogRequest& request);
TFileDialogChoice ReadFileDialogChoice(const QFileDialog& dialog);

} // namespace quorvex
