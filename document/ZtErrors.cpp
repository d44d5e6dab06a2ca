// Messages with a file name in them.

#include "ZtErrors.h"

namespace quorvex {

std::string FormatFileMessage(const char* format, const std::string& fileName)
{
    std::string message(format);
    const auto at = message.find("%s");
    if (at != std::string::npos) message.replace(at, 2, fileName);
    return message;
}

} // namespace quorvex
