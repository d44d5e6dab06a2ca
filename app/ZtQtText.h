// Text of the program's own (8-bit, as the system passes it) as Qt shows it.
#pragma once

#include <QString>

#include <string_view>

namespace quorvex {

// The system's 8-bit text, which on this platform is UTF-8.
inline QString FromBytes(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace quorvex
