// Reading and writing of whole files, the only place that opens them.

#include "ZtFileAccess.h"

#include <fcntl.h>
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
#include "ZtFileTarget.h"
#include "ZtTemporaryFiles.h"

namespace quorvex {
namespace {

// Closes a descriptor on every way out.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd)
        : FFd(fd)
    { }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor()
    {
        if (FFd >= 0) ::close(FFd);
    }
    int Get() const { return FFd; }
    bool Valid() const { return FFd >= 0; }
    // Hands the descriptor over to the caller, who closes it.
    int Release() { return std::exchange(FFd, -1); }
    // Closes now and tells whether the close reported no error.
    bool Close()
    {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd) == 0;
    }

private:
    int FFd;
};

bool WriteAll(int fd, std::string_view bytes, const TFileWriteHooks& hooks)
{
    while (!bytes.empty()) {
        const ssize_t written = hooks.Write ? hooks.Write(fd, bytes.data(), bytes.size())
                                            : ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (written == 0) {
            errno = EIO; // stores nothing, says nothing: no way to go on
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The reason of the last failed call, never 0: a write that stored nothing
// and reported no error leaves errno as it was.
int LastError()
{
    return errno != 0 ? errno : EIO;
}

// Creates a new file beside `fileName` under a name no other file has; -1
// with errno set when none can be made.
int CreateTemporaryBeside(const std::string& fileName, std::string& tempName)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempName = TemporaryNameBeside(fileName, attempt);
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Removes a named temporary file unless told it has been renamed, also when
// the program is interrupted meanwhile.
class TTemporaryName {
public:
    explicit TTemporaryName(std::string name)
        : FName(std::move(name))
        , FGuard(FName)
    { }
    TTemporaryName(const TTemporaryName&) = delete;
    TTemporaryName& operator=(const TTemporaryName&) = delete;
    ~TTemporaryName()
    {
        if (!FKept) ::unlink(FName.c_str());
    }
    const std::string& Name() const { return FName; }
    void Keep() { FKept = true; }

private:
    std::string FName;
    TTemporaryFileGuard FGuard;
    bool FKept = false;
};

int Sync(int fd, const TFileWriteHooks& hooks)
{
    return hooks.Sync ? hooks.Sync(fd) : ::fsync(fd);
}

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

// A file without a name in the folder of `name`; -1 with errno set where the
// file system cannot make one.
int OpenUnnamedBeside(const std::string& name)
{
    return ::open(FolderOf(name).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

bool UnnamedFilesUnsupported(int error)
{
    return error == EOPNOTSUPP || error == EISDIR;
}

// Links a complete unnamed file in under `name`. Linking by the descriptor's
// name in /proc needs no privilege.
int LinkUnnamed(int fd, const std::string& name, const TFileWriteHooks& hooks)
{
    if (hooks.NameUnnamed) return hooks.NameUnnamed(fd, name) == 0 ? Done : LastError();
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? Done
                                                                                            : LastError();
}

// Why nothing can be written under a name that is no file to write: a
// folder, or a name that cannot be looked at. 0 for other kinds (a socket).
int WhyNotWritable(const std::string& name)
{
    struct stat info { };
    if (::stat(name.c_str(), &info) != 0) return LastError();
    return S_ISDIR(info.st_mode) ? EISDIR : Done;
}

enum class TNewFile { nfCreated, nfFailed, nfTryNamed };

// A new file is written without a name and linked in under its name once
// complete: the name never shows a part of the file, and the folder gets one
// entry, as a copy makes, instead of a temporary name and a rename. Where the
// file system cannot do that, the caller takes the way of a replacement.
TNewFile CreateUnnamedThenLink(
    const TFileTarget& target, std::string_view bytes, const TFileWriteHooks& hooks, int& error)
{
    TFileDescriptor file(OpenUnnamedBeside(target.Name));
    if (!file.Valid()) {
        error = LastError();
        return UnnamedFilesUnsupported(error) ? TNewFile::nfTryNamed : TNewFile::nfFailed;
    }
    if (!WriteAll(file.Get(), bytes, hooks)) {
        error = LastError();
        return TNewFile::nfFailed;
    }
    // A name made by another program meanwhile is replaced, as any existing
    // file.
    if (LinkUnnamed(file.Get(), target.Name, hooks) != Done) return TNewFile::nfTryNamed;
    if (!file.Close()) {
        error = LastError();
        return TNewFile::nfFailed;
    }
    return TNewFile::nfCreated;
}

// The new content, complete and closed, under a temporary name beside the
// target, then renamed over it. The temporary file is written without a name
// where the file system allows, and named only for the moment between its
// link and the rename, so that a program killed while writing leaves nothing
// behind; elsewhere it is named from the start. An interrupt removes it in
// either case.
// Returned by a replacement whose unnamed file cannot be given a name (no
// /proc in a bare chroot): the replacement starts again with a named file.
constexpr int NameUnnamedFailed = -1;

int ReplaceFileVia(
    const TFileTarget& target, std::string_view bytes, const TFileWriteHooks& hooks, bool tryUnnamed)
{
    const bool replacing = target.Kind == TTargetKind::tkRegular;
    std::string tempName;
    int fd = tryUnnamed ? OpenUnnamedBeside(target.Name) : -1;
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        if (tryUnnamed && !UnnamedFilesUnsupported(errno)) return LastError();
        fd = CreateTemporaryBeside(target.Name, tempName);
        if (fd < 0) return LastError();
    }
    TFileDescriptor file(fd);
    std::optional<TTemporaryName> temp;
    if (!unnamed) temp.emplace(tempName);
    // A replaced file keeps its owner, where the user may give it (root
    // may), and its permissions; the owner first, as a change of owner
    // clears the set-user-ID bit.
    if (replacing) {
        [[maybe_unused]] const int owned = ::fchown(file.Get(), target.Owner, target.Group);
        ::fchmod(file.Get(), target.Mode);
    } else if (unnamed) {
        // An unnamed file is made with the mode asked for, not the one the
        // umask leaves, which a named new file gets.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(file.Get(), 0666 & ~mask);
    }
    if (!WriteAll(file.Get(), bytes, hooks)) return LastError();
    // A crash leaves the old or the new content under the name, never an
    // empty file: the new one is on the disk before the rename.
    if (replacing && Sync(file.Get(), hooks) != 0) return LastError();
    for (int attempt = 0; unnamed && !temp; ++attempt) {
        tempName = TemporaryNameBeside(target.Name, attempt);
        const int linked = LinkUnnamed(file.Get(), tempName, hooks);
        if (linked == Done) temp.emplace(tempName);
        if (linked != Done && linked != EEXIST) return NameUnnamedFailed;
        if (linked != Done && attempt == 15) return linked;
    }
    if (!file.Close()) return LastError();
    if (hooks.BeforeRename && !hooks.BeforeRename(temp->Name())) return EIO;
    if (::rename(temp->Name().c_str(), target.Name.c_str()) != 0) return LastError();
    temp->Keep();
    if (replacing) {
        TFileDescriptor folder(::open(FolderOf(target.Name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.Valid()) Sync(folder.Get(), hooks);
    }
    return Done;
}

int ReplaceFile(const TFileTarget& target, std::string_view bytes, const TFileWriteHooks& hooks)
{
    const int result = ReplaceFileVia(target, bytes, hooks, true);
    return result == NameUnnamedFailed ? ReplaceFileVia(target, bytes, hooks, false) : result;
}

// A device or a FIFO takes the bytes as they come; it has no folder entry to
// replace. Opening a FIFO waits for its reader, as every writer of one does.
// A regular file reached through a descriptor of a process is emptied and
// written in place, as every Unix tool writes to /dev/stdout.
int WriteStream(const std::string& name, std::string_view bytes, const TFileWriteHooks& hooks)
{
    TFileDescriptor stream(::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    struct stat info { };
    if (!stream.Valid() || ::fstat(stream.Get(), &info) != 0) return LastError();
    if (S_ISREG(info.st_mode)) {
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
    const TFileTarget target = ResolveTarget(fileName);
    errno = 0;
    int error = Done;
    switch (target.Kind) {
    case TTargetKind::tkNew:
        switch (CreateUnnamedThenLink(target, bytes, hooks, error)) {
        case TNewFile::nfCreated:
            return;
        case TNewFile::nfFailed:
            throw CannotCreate(fileName, error);
        case TNewFile::nfTryNamed:
            break;
        }
        [[fallthrough]];
    case TTargetKind::tkRegular:
        error = ReplaceFile(target, bytes, hooks);
        break;
    case TTargetKind::tkStream:
        error = WriteStream(target.Name, bytes, hooks);
        break;
    case TTargetKind::tkOther:
        throw CannotCreate(fileName, WhyNotWritable(target.Name));
    }
    if (error != Done) throw CannotCreate(fileName, error);
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
    TFileHead head;
    head.FileSize = static_cast<std::uint64_t>(info.st_size);
    head.Bytes.resize(std::min<std::uint64_t>(size, head.FileSize));
    std::size_t done = 0;
    while (done < head.Bytes.size()) {
        const ssize_t got =
            ::pread(file.Get(), head.Bytes.data() + done, head.Bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    head.Bytes.resize(done);
    return head;
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
