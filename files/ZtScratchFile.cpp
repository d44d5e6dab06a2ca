// A scratch file: O_TMPFILE where the file system has it, else a temporary
// name that is removed as soon as the file is open.

#include "ZtScratchFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ZtErrors.h"
#include "ZtTemporaryFiles.h"

namespace quorvex {
namespace {

[[noreturn]] void Fail(const char* what, int error)
{
    throw EZtError(std::string(what) + ": " + std::strerror(error));
}

int OpenNamedAndRemoved(int folder)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = TemporaryEntryName(folder, "scratch", attempt);
        const int fd =
            ::openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            // Locked like a writer's temporary file, so that another run's
            // sweep leaves it in the moment before it is removed.
            ::flock(fd, LOCK_EX);
            ::unlinkat(folder, name.c_str(), 0);
            return fd;
        }
        if (errno != EEXIST) break;
    }
    Fail("Cannot create a scratch file", errno);
}

} // namespace

TZtScratchFile::TZtScratchFile(int folder)
{
    int fd = ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
        fd = OpenNamedAndRemoved(folder);
    if (fd < 0) Fail("Cannot create a scratch file", errno);
    FFile = TFileDescriptor(fd);
}

std::uint64_t TZtScratchFile::Append(std::string_view bytes)
{
    const std::uint64_t offset = FEnd.fetch_add(bytes.size());
    std::uint64_t at = offset;
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(FFile.Get(), bytes.data(), bytes.size(), static_cast<off_t>(at));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) Fail("Cannot write a scratch file", written < 0 ? errno : EIO);
        bytes.remove_prefix(static_cast<std::size_t>(written));
        at += static_cast<std::uint64_t>(written);
    }
    return offset;
}

std::string TZtScratchFile::Read(std::uint64_t offset, std::size_t size) const
{
    std::string bytes(size, '\0');
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(FFile.Get(), bytes.data() + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) Fail("Cannot read a scratch file", got < 0 ? errno : EIO);
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

} // namespace quorvex
