// A preferences file read and written back: its lines and its line-break
// style survive the round trip.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ZtTextLines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvex;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TTextLines read = SplitTextLines(bytes);
    for (const auto& line : read.Lines) {
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) __builtin_trap();
    }
    const std::string written = JoinTextLines(read.Lines, read.Break);
    const TTextLines again = SplitTextLines(written);
    if (again.Lines != read.Lines) __builtin_trap();
    if (!read.Lines.empty() && again.Break != read.Break) __builtin_trap();
    if (JoinTextLines(again.Lines, again.Break) != written) __builtin_trap();
    return 0;
}
