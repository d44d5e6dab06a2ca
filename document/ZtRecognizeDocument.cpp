// Reads the head of a file and checks its leading line entries.

#include "ZtRecognizeDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex {
namespace {

constexpr std::uint64_t MinimumSize = Fa4HeadSize + std::uint64_t{Fa4LineEntrySize} * Fa4MaxLines;

std::uint32_t ReadLe(std::string_view bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// Closes the descriptor on every path.
class TReadOnlyFile {
public:
    explicit TReadOnlyFile(const std::string& fileName)
        // Not blocking, so that a pipe with no writer is passed over at once.
        : FFd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    { }
    TReadOnlyFile(const TReadOnlyFile&) = delete;
    TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
    ~TReadOnlyFile()
    {
        if (FFd >= 0) ::close(FFd);
    }
    int Get() const { return FFd; }

private:
    int FFd;
};

// Up to `size` bytes from the start of the file; fewer when it ends early.
std::string ReadHead(int fd, std::size_t size)
{
    std::string bytes(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, bytes.data() + got, size - got, static_cast<off_t>(got));
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

} // namespace

bool LooksLikeFa4Head(std::string_view head, std::uint64_t fileSize)
{
    if (fileSize < MinimumSize || head.size() < RecognitionHeadSize) return false;
    for (int i = 0; i < RecognitionEntries; ++i) {
        const std::size_t at = Fa4HeadSize + static_cast<std::size_t>(Fa4LineEntrySize) * i;
        const std::uint32_t length = ReadLe(head, at + 4, 2);
        if (length == 0) return i > 0; // the line count ends here
        const std::uint64_t end = std::uint64_t{Fa4HeadSize} + ReadLe(head, at + 6, 4) + length;
        if (end > fileSize) return false;
    }
    return true;
}

bool LooksLikeFa4Document(const std::string& fileName)
{
    const TReadOnlyFile file(fileName);
    struct stat info { };
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size < MinimumSize) return false;
    return LooksLikeFa4Head(ReadHead(file.Get(), RecognitionHeadSize), size);
}

} // namespace quorvex
