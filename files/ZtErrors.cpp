// Messages with a file name in them.

#include "ZtErrors.h"

#include <cstring>

#include "ZtQuotedName.h"

namespace quorvex {

std::string FormatFileMessage(const char* format, const std::string& fileName)
{
    // The message may reach a terminal: the name is quoted there if it holds
    // control characters.
    std::string message(format);
    const auto at = message.find("%s");
    if (at != std::string::npos) message.replace(at, 2, QuotedName(fileName));
    return message;
}

std::string FormatFileMessage(const char* format, const std::string& fileName, int errorNumber)
{
    std::string message = FormatFileMessage(format, fileName);
    if (errorNumber == 0) return message;
    // The C library's texts are constant for every known number, and an
    // unknown one is formatted per thread, so this is safe on any thread.
    return message + ": " + std::strerror(errorNumber);
}

} // namespace quorvex
