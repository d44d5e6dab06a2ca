// The texts and boxes with which failures reach the user.
#pragma once

#include <QString>

#include <exception>
#include <string>
#include <string_view>

class QWidget;

namespace quorvex {

class TZtPrompter;

inline constexpr std::string_view ProgramTitle = "Quorvex";

// A message as a user-visible sentence: a full stop is added when the last
// character sorts after "." (so "x" and ")" get one, "!" and "." do not).
QString SentenceText(std::string_view message);

// The standard error box: the program's title, an error icon, one OK button.
void ShowStandardError(TZtPrompter& prompter, QWidget* parent, std::string_view message);

// The report that ends the start-up: the kind of error and its message, in
// a box and on standard error.
QString FatalErrorText(const std::exception& error);
void ShowFatalError(TZtPrompter& prompter, const std::exception& error);

// Runs `command` and shows any error escaping it in the standard error box.
// Window handlers run through this so that no exception has to unwind
// through the toolkit's own frames.
template <typename TCommand>
void RunGuarded(TZtPrompter& prompter, QWidget* parent, TCommand&& command);

// The message of the exception being handled; for use inside a catch block.
std::string CurrentExceptionMessage();
// Shows the exception being handled in the standard error box.
void ReportCurrentException(TZtPrompter& prompter, QWidget* parent);

template <typename TCommand>
void RunGuarded(TZtPrompter& prompter, QWidget* parent, TCommand&& command)
{
    try {
        command();
    } catch (...) {
        ReportCurrentException(prompter, parent);
    }
}

} // namespace quorvex
