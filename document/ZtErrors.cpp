// Messages with a file name in them.

#include "ZtErrors.h"

#include <cstring>

namespace quorvex {

std::string FormatFileMessage(const char* format, const std::string& fileName)
{
    std::string message(format);
    const auto at = message.find("%s");
    if (at != std::string::npos) message.replace(at, 2, fileName);
    return message;
}

std::string FormatFileMessage(const char* format, const std::string& fileName, int errorNumber)
{
    std::string message = FormatFileMessage(format, fileName);
    if (errorNumber == 0) return message;
    // strerror_r of the GNU library may hand back a text of its own instead of
    // filling the buffer.
    char buffer[256] = {};
    const char* reason = ::strerror_r(errorNumber, buffer, sizeof buffer);
    return message + ": " + reason;
}

} // namespace quorvex
