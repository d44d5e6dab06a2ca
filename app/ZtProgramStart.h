// What the program does with its command line before the event loop runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

class TZtFormQuorvex;
class TZtPrompter;

// No argument: nothing. One: opens that document; when it cannot be opened,
// shows the fatal report and gives exit code 1. Two or more: converts each
// document into a file of its name with ".html" appended, passing over those
// that fail and those whose HTML file looks like a document, and gives exit
// code 0. Without an exit code the program goes
// on into the event loop with the window shown.
std::optional<int> ActOnArguments(
    TZtFormQuorvex& window, TZtPrompter& prompter, const std::vector<std::string>& arguments);

// QUORVEX_NONINTERACTIVE set to a non-empty value: boxes go to standard error
// and file dialogs are cancelled, so that scripts and tests never wait.
bool NonInteractiveRun();

} // namespace quorvex
