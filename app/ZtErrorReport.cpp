// The texts and boxes with which failures reach the user, and the name of
// an exception's type for the fatal report.

#include "ZtErrorReport.h"

#include "ZtPrompter.h"
#include "ZtQtText.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace quorvex {

namespace {

// "EZtError" for quorvex::EZtError, "std::bad_alloc" for std::bad_alloc.
std::string ErrorKind(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> plain(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string kind = status == 0 && plain ? plain.get() : mangled;
    constexpr std::string_view ownNamespace = "quorvex::";
    if (kind.starts_with(ownNamespace)) kind.erase(0, ownNamespace.size());
    return kind;
}

} // namespace

QString SentenceText(std::string_view message)
{
    QString text = FromBytes(message);
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') text += u'.';
    return text;
}

void ShowStandardError(TZtPrompter& prompter, QWidget* parent, std::string_view message)
{
    prompter.ShowError(parent, FromBytes(ProgramTitle), SentenceText(message));
}

QString FatalErrorText(const std::exception& error)
{
    return QStringLiteral("Exception %1 in module quorvex.\n%2")
        .arg(FromBytes(ErrorKind(error)), SentenceText(error.what()));
}

void ShowFatalError(TZtPrompter& prompter, const std::exception& error)
{
    prompter.ShowFinalError(QStringLiteral("Application Error"), FatalErrorText(error));
}

std::string CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Unknown error";
    }
}

void ReportCurrentException(TZtPrompter& prompter, QWidget* parent)
{
    ShowStandardError(prompter, parent, CurrentExceptionMessage());
}

} // namespace quorvex
