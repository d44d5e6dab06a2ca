// Reading parts of an open file.

#include "ZtReadableFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include "ZtFileAccess.h"
#include "ZtStatusOfStat.h"

namespace quorvex {

TZtReadableFile::TZtReadableFile(const std::string& fileName)
{
    struct stat info { };
    FFile = TFileDescriptor(OpenRegularFile(fileName, info));
    FStatus = StatusOfStat(info);
}

std::string TZtReadableFile::Read(std::uint64_t offset, std::size_t size) const
{
    std::string bytes(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n =
            ::pread(FFile.Get(), bytes.data() + got, size - got, static_cast<off_t>(offset + got));
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

} // namespace quorvex
