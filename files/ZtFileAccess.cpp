// Reading and writing of whole files, the only place that opens them.

#include "ZtFileAccess.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "ZtErrors.h"
#include "ZtFileDescriptor.h"
#include "ZtFileTarget.h"
#include "ZtOutputFolder.h"
#include "ZtReplaceEntry.h"
#include "ZtTemporaryFiles.h"
#include "ZtWriteSteps.h"

namespace quorvex {
namespace {

// What a read that failed tells: the system's reason (an errno value), or 0
// when the file only ended early.
using TReadFailure = std::optional<int>;

EZtError CannotRead(const std::string& fileName, int reason)
{
    return EZtError(FormatFileMessage("Cannot read file %s", fileName, reason));
}

// Reads `size` bytes from `at` on to `buffer`.
TReadFailure ReadRange(int fd, char* buffer, std::uint64_t at, std::uint64_t size)
{
    std::uint64_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer + done, size - done, static_cast<off_t>(at + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        done += static_cast<std::uint64_t>(got);
    }
    return std::nullopt;
}

// Fills `buffer`, which holds zeros, with the file's bytes of `range`. The
// holes of a sparse file read as zeros, so they are passed over: a
// document's line table is mostly zeros, and copies of documents are often
// sparse. Where the system knows of no holes, everything is read.
TReadFailure ReadDataOf(int fd, char* buffer, const TByteRange& range)
{
    const auto end = static_cast<off_t>(range.End);
    auto at = static_cast<off_t>(range.Start);
    const auto into = [&](off_t offset) { return buffer + (offset - static_cast<off_t>(range.Start)); };
    while (at < end) {
        const off_t start = ::lseek(fd, at, SEEK_DATA);
        if (start < 0 && errno == ENXIO) {
            // Only a hole up to the end, unless the file has become shorter.
            struct stat info { };
            if (::fstat(fd, &info) != 0) return errno;
            return info.st_size >= end ? TReadFailure() : TReadFailure(0);
        }
        if (start < 0) return ReadRange(fd, into(at), static_cast<std::uint64_t>(at), end - at);
        if (start >= end) return std::nullopt;
        off_t stop = ::lseek(fd, start, SEEK_HOLE);
        if (stop < 0 || stop > end) stop = end;
        if (const TReadFailure failure =
                ReadRange(fd, into(start), static_cast<std::uint64_t>(start), stop - start))
            return failure;
        at = stop;
    }
    return std::nullopt;
}

std::string ZerosOfSize(std::uint64_t size)
{
    try {
        return std::string(static_cast<std::size_t>(size), '\0');
    } catch (const std::bad_alloc&) {
        throw EZtError("Out of memory");
    }
}

std::uint64_t TotalSize(const std::vector<TByteRange>& ranges)
{
    std::uint64_t total = 0;
    for (const TByteRange& range : ranges) total += range.End - range.Start;
    return total;
}

EZtError CannotCreate(const std::string& fileName, int error)
{
    return EZtError(FormatFileMessage("Cannot create file %s", fileName, error));
}

// Each step below gives 0 when it succeeded, else the system's reason.
constexpr int Done = 0;

// Why nothing can be written under a name that is no file to write: a
// folder, or a name that cannot be looked at. 0 for other kinds (a socket).
int WhyNotWritable(const std::string& name)
{
    struct stat info { };
    if (::stat(name.c_str(), &info) != 0) return LastError();
    return S_ISDIR(info.st_mode) ? EISDIR : Done;
}

// The name's folder, as the user named it, and the name in it.
void ReplaceFile(const std::string& fileName, const TFileTarget& target, std::string_view bytes,
    const TProtectedFile& isProtected, const TFileWriteHooks& hooks)
{
    const std::size_t slash = target.Name.rfind('/');
    const std::string folderName = slash == std::string::npos ? std::string() : FolderOf(target.Name);
    int error = Done;
    const std::optional<TZtOutputFolder> folder = TZtOutputFolder::OpenExisting(folderName, error);
    if (!folder) throw CannotCreate(fileName, error);
    const std::string entry = slash == std::string::npos ? target.Name : target.Name.substr(slash + 1);
    TZtNewEntry file(*folder, entry, isProtected, hooks, fileName);
    file.Write(bytes);
    file.Commit();
}

// A device or a FIFO takes the bytes as they come; it has no folder entry to
// replace. Opening a FIFO waits for its reader, as every writer of one does.
// A regular file reached through a descriptor of a process is emptied and
// written in place, as every Unix tool writes to /dev/stdout.
int WriteStream(const std::string& name, std::string_view bytes, const TProtectedFile& isProtected,
    const TFileWriteHooks& hooks)
{
    TFileDescriptor stream(::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    struct stat info { };
    if (!stream.Valid() || ::fstat(stream.Get(), &info) != 0) return LastError();
    if (S_ISREG(info.st_mode)) {
        RefuseProtectedStream(stream.Get(), name, isProtected);
        if (::ftruncate(stream.Get(), 0) != 0) return LastError();
    } else if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        return EISDIR; // the name changed its kind since it was looked at
    }
    if (!WriteAll(stream.Get(), bytes, hooks)) return LastError();
    return stream.Close() ? Done : LastError();
}

} // namespace

void WriteWholeFile(const std::string& fileName, std::string_view bytes, const TFileWriteHooks& hooks)
{
    WriteWholeFile(fileName, bytes, {}, hooks);
}

void WriteWholeFile(const std::string& fileName, std::string_view bytes, const TProtectedFile& isProtected,
    const TFileWriteHooks& hooks)
{
    const TFileTarget target = ResolveTarget(fileName);
    errno = 0;
    int error = Done;
    switch (target.Kind) {
    case TTargetKind::tkNew:
    case TTargetKind::tkRegular:
        return ReplaceFile(fileName, target, bytes, isProtected, hooks);
    case TTargetKind::tkStream:
        error = WriteStream(target.Name, bytes, isProtected, hooks);
        break;
    case TTargetKind::tkOther:
        throw CannotCreate(fileName, WhyNotWritable(target.Name));
    }
    if (error != Done) throw CannotCreate(fileName, error);
}

void RefuseProtectedStream(int fd, const std::string& name, const TProtectedFile& isProtected)
{
    if (!isProtected) return;
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return;
    // A descriptor open for writing only is read through its name in /proc.
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const TFileDescriptor readable((::fcntl(fd, F_GETFL) & O_ACCMODE) == O_WRONLY
            ? ::open(self.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
            : ::dup(fd));
    // The name ends in .fa4 or not by the file's own name, not by "-".
    std::string entry = name;
    std::string linked(PATH_MAX, '\0');
    const ssize_t length = ::readlink(self.c_str(), linked.data(), linked.size());
    if (length > 0) entry.assign(linked.data(), static_cast<std::size_t>(length));
    entry = entry.substr(entry.rfind('/') + 1);
    const std::optional<std::string> why =
        readable.Valid() ? isProtected(readable.Get(), entry) : "cannot be read to be checked";
    if (why) throw EZtNotReplacedError(name + ": " + *why + "; not replaced");
}

TFileHead ReadDescriptorHead(int fd, std::size_t size)
{
    struct stat info { };
    TFileHead head;
    if (::fstat(fd, &info) != 0) return head;
    head.FileSize = static_cast<std::uint64_t>(info.st_size);
    head.Bytes.resize(std::min<std::uint64_t>(size, head.FileSize));
    std::size_t done = 0;
    while (done < head.Bytes.size()) {
        const ssize_t got =
            ::pread(fd, head.Bytes.data() + done, head.Bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    head.Bytes.resize(done);
    return head;
}

int OpenRegularFile(const std::string& fileName, struct stat& info)
{
    // Not blocking, so that opening a pipe with no writer returns at once.
    TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0)
        throw EZtError(FormatFileMessage("Cannot open file %s", fileName, errno));
    if (S_ISDIR(info.st_mode)) throw EZtError(FormatFileMessage("Cannot open file %s", fileName, EISDIR));
    if (!S_ISREG(info.st_mode))
        throw EZtError(
            FormatFileMessage("Cannot open file %s", fileName) + std::string(NotRegularFileReason));
    return file.Release();
}

std::string ReadWholeFile(const std::string& fileName)
{
    return ReadWholeFile(fileName, INT64_MAX);
}

std::string ReadWholeFile(const std::string& fileName, std::int64_t maxSize)
{
    struct stat info { };
    const TFileDescriptor file(OpenRegularFile(fileName, info));
    if (info.st_size > maxSize) throw ERangeError();
    const auto size = static_cast<std::uint64_t>(info.st_size);
    std::string data = ZerosOfSize(size);
    if (const TReadFailure failure = ReadDataOf(file.Get(), data.data(), {0, size}))
        throw CannotRead(fileName, *failure);
    return data;
}

TFileHead ReadFileHead(const std::string& fileName, std::size_t size)
{
    struct stat info { };
    const TFileDescriptor file(OpenRegularFile(fileName, info));
    return ReadDescriptorHead(file.Get(), size);
}

TFileParts ReadFileParts(
    const std::string& fileName, std::size_t headSize, std::int64_t maxSize, const TPartChooser& choose)
{
    struct stat info { };
    const TFileDescriptor file(OpenRegularFile(fileName, info));
    if (info.st_size > maxSize) throw ERangeError();
    const auto size = static_cast<std::uint64_t>(info.st_size);
    const TByteRange headRange{0, std::min<std::uint64_t>(headSize, size)};
    std::string head = ZerosOfSize(headRange.End);
    if (const TReadFailure failure = ReadDataOf(file.Get(), head.data(), headRange))
        throw CannotRead(fileName, *failure);
    std::vector<TByteRange> ranges = choose(head);
    ClipRanges(ranges, size);
    std::string bytes = ZerosOfSize(TotalSize(ranges));
    char* into = bytes.data();
    for (TByteRange range : ranges) {
        // What the head holds is not read again.
        const std::uint64_t fromHead =
            range.Start < head.size() ? std::min<std::uint64_t>(range.End, head.size()) - range.Start : 0;
        into = std::copy_n(head.data() + range.Start, fromHead, into);
        range.Start += fromHead;
        if (const TReadFailure failure = ReadDataOf(file.Get(), into, range))
            throw CannotRead(fileName, *failure);
        into += range.End - range.Start;
    }
    return TFileParts(std::move(bytes), std::move(ranges), size);
}

TFileParts ReadStreamParts(
    int fd, const std::string& name, std::size_t headSize, std::int64_t maxSize, const TPartChooser& choose)
{
    try {
        std::string head;
        std::optional<TPartsCollector> collector;
        std::uint64_t offset = 0;
        std::string buffer(std::size_t{1} << 16, '\0');
        for (;;) {
            const ssize_t got = ::read(fd, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw CannotRead(name, errno);
            if (got > 0 && static_cast<std::int64_t>(offset) + got > maxSize) throw ERangeError();
            std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
            if (!collector) {
                // The head decides which ranges are kept; until it is whole
                // it is kept entire.
                const std::size_t toHead = std::min(bytes.size(), headSize - head.size());
                head.append(bytes.substr(0, toHead));
                offset += toHead;
                if (head.size() < headSize && got > 0) continue;
                collector.emplace(choose(head));
                collector->Take(0, head);
                bytes.remove_prefix(toHead);
            }
            if (got == 0) return std::move(*collector).Finish(offset);
            collector->Take(offset, bytes);
            offset += bytes.size();
        }
    } catch (const std::bad_alloc&) {
        throw EZtError("Out of memory");
    }
}

} // namespace quorvex
