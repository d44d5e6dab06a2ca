// Reading and writing of whole files, the only place that opens them.

#include "ZtFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
#include <new>
#include <thread>

#include "ZtErrors.h"
#include "ZtFileTarget.h"

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

// Removes a temporary file unless told it has been renamed.
class TTemporaryName {
public:
    explicit TTemporaryName(std::string name)
        : FName(std::move(name))
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
    bool FKept = false;
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
        if (written == 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Creates a new file beside `fileName` under a name no other file has.
// The names need not be hard to guess, O_EXCL refuses any that exists (a
// planted link too); they only have to differ between threads and attempts.
// The clock is far cheaper than a random device opened per file.
std::uint64_t TemporarySuffix(int attempt)
{
    std::uint64_t value =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    value ^= std::hash<std::thread::id>{}(std::this_thread::get_id()) + 0x9E3779B97F4A7C15u * (attempt + 1);
    // The finaliser of splitmix64 spreads every input bit over the digits.
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
    return value ^ (value >> 31);
}

int CreateTemporaryBeside(const std::string& fileName, std::string& tempName)
{
    constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempName = fileName + ".tmp-";
        std::uint64_t value = TemporarySuffix(attempt);
        for (int i = 0; i < 8; ++i, value /= 36) tempName += Digits[value % 36];
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

int Sync(int fd, const TFileWriteHooks& hooks)
{
    return hooks.Sync ? hooks.Sync(fd) : ::fsync(fd);
}

// Not blocking, so that opening a pipe with no writer returns at once; a
// device or a pipe has no size to read, so only regular files are read.
int OpenRegularFile(const std::string& fileName, struct stat& info)
{
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return fd;
    if (fd >= 0) ::close(fd);
    throw EZtError(FormatFileMessage("Cannot open file %s", fileName));
}

// Reads `size` bytes from `at` on to `buffer`; false when the file delivers
// fewer.
bool ReadRange(int fd, char* buffer, std::uint64_t at, std::uint64_t size)
{
    std::uint64_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer + done, size - done, static_cast<off_t>(at + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::uint64_t>(got);
    }
    return true;
}

// Fills `data`, which holds zeros, with the file's bytes. The holes of a
// sparse file read as zeros, so they are passed over: a document's line
// table is mostly zeros, and copies of documents are often sparse. Where the
// system knows of no holes, everything is read.
bool ReadDataOf(int fd, std::string& data)
{
    const auto size = static_cast<off_t>(data.size());
    off_t at = 0;
    while (at < size) {
        const off_t start = ::lseek(fd, at, SEEK_DATA);
        if (start < 0 && errno == ENXIO) {
            // Only a hole up to the end, unless the file has become shorter.
            struct stat info { };
            return ::fstat(fd, &info) == 0 && info.st_size >= size;
        }
        if (start < 0) return ReadRange(fd, data.data() + at, static_cast<std::uint64_t>(at), size - at);
        if (start >= size) return true;
        off_t end = ::lseek(fd, start, SEEK_HOLE);
        if (end < 0 || end > size) end = size;
        if (!ReadRange(fd, data.data() + start, static_cast<std::uint64_t>(start), end - start)) return false;
        at = end;
    }
    return true;
}

EZtError CannotCreate(const std::string& fileName)
{
    return EZtError(FormatFileMessage("Cannot create file %s", fileName));
}

enum class TNewFile { nfCreated, nfFailed, nfTryNamed };

// A new file is written without a name and linked in under its name once
// complete: the name never shows a part of the file, and the folder gets one
// entry, as a copy makes, instead of a temporary name and a rename. Where the
// file system cannot do that, the caller takes the way of a replacement.
TNewFile CreateUnnamedThenLink(
    const TFileTarget& target, std::string_view bytes, const TFileWriteHooks& hooks)
{
    TFileDescriptor file(::open(FolderOf(target.Name).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (!file.Valid())
        return errno == EOPNOTSUPP || errno == EISDIR ? TNewFile::nfTryNamed : TNewFile::nfFailed;
    if (!WriteAll(file.Get(), bytes, hooks)) return TNewFile::nfFailed;
    // Linking by the descriptor's name in /proc needs no privilege. A name
    // made by another program meanwhile is replaced, as any existing file.
    const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.Name.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return TNewFile::nfTryNamed;
    return file.Close() ? TNewFile::nfCreated : TNewFile::nfFailed;
}

// A temporary file beside the target, renamed over it. An earlier file is
// synced before and after the rename, so a crash leaves the old or the new
// content under the name, never an empty file.
bool ReplaceFile(const TFileTarget& target, std::string_view bytes, const TFileWriteHooks& hooks)
{
    const bool replacing = target.Kind == TTargetKind::tkRegular;
    std::string tempName;
    TFileDescriptor file(CreateTemporaryBeside(target.Name, tempName));
    if (!file.Valid()) return false;
    TTemporaryName temp(tempName);
    // A replaced file keeps its owner, where the user may give it (root
    // may), and its permissions; the owner first, as a change of owner
    // clears the set-user-ID bit.
    if (replacing) {
        [[maybe_unused]] const int owned = ::fchown(file.Get(), target.Owner, target.Group);
        ::fchmod(file.Get(), target.Mode);
    }
    if (!WriteAll(file.Get(), bytes, hooks)) return false;
    if (replacing && Sync(file.Get(), hooks) != 0) return false;
    if (!file.Close()) return false;
    if (hooks.BeforeRename && !hooks.BeforeRename(temp.Name())) return false;
    if (::rename(temp.Name().c_str(), target.Name.c_str()) != 0) return false;
    temp.Keep();
    if (replacing) {
        TFileDescriptor folder(::open(FolderOf(target.Name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.Valid()) Sync(folder.Get(), hooks);
    }
    return true;
}

// A device or a FIFO takes the bytes as they come; it has no folder entry to
// replace. Opening a FIFO waits for its reader, as every writer of one does.
// A regular file reached through a descriptor of a process is emptied and
// written in place, as every Unix tool writes to /dev/stdout.
bool WriteStream(const std::string& name, std::string_view bytes, const TFileWriteHooks& hooks)
{
    TFileDescriptor stream(::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    struct stat info { };
    if (!stream.Valid() || ::fstat(stream.Get(), &info) != 0) return false;
    if (S_ISREG(info.st_mode)) {
        if (::ftruncate(stream.Get(), 0) != 0) return false;
    } else if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        return false; // the name changed its kind since it was looked at
    }
    return WriteAll(stream.Get(), bytes, hooks) && stream.Close();
}

} // namespace

void WriteWholeFile(const std::string& fileName, std::string_view bytes, const TFileWriteHooks& hooks)
{
    const TFileTarget target = ResolveTarget(fileName);
    switch (target.Kind) {
    case TTargetKind::tkNew:
        switch (CreateUnnamedThenLink(target, bytes, hooks)) {
        case TNewFile::nfCreated:
            return;
        case TNewFile::nfFailed:
            throw CannotCreate(fileName);
        case TNewFile::nfTryNamed:
            break;
        }
        [[fallthrough]];
    case TTargetKind::tkRegular:
        if (!ReplaceFile(target, bytes, hooks)) throw CannotCreate(fileName);
        break;
    case TTargetKind::tkStream:
        if (!WriteStream(target.Name, bytes, hooks)) throw CannotCreate(fileName);
        break;
    case TTargetKind::tkOther:
        throw CannotCreate(fileName);
    }
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
    std::string data;
    try {
        data.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        throw EZtError("Out of memory");
    }
    if (!ReadDataOf(file.Get(), data)) throw EZtError(FormatFileMessage("Cannot read file %s", fileName));
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

std::string ReadWholeStream(int fd, const std::string& name, std::int64_t maxSize)
{
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw EZtError(FormatFileMessage("Cannot read file %s", name));
        if (got == 0) return data;
        if (static_cast<std::int64_t>(data.size()) + got > maxSize) throw ERangeError();
        try {
            data.append(buffer, static_cast<std::size_t>(got));
        } catch (const std::bad_alloc&) {
            throw EZtError("Out of memory");
        }
    }
}

} // namespace quorvex
