// Reading and writing of whole files, the only place that opens them.

#include "ZtFileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>
#include <random>

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
int CreateTemporaryBeside(const std::string& fileName, std::string& tempName)
{
    std::random_device random;
    constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempName = fileName + ".tmp-";
        std::uint32_t value = random();
        for (int i = 0; i < 6; ++i, value /= 36) tempName += Digits[value % 36];
        const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

int Sync(int fd, const TFileWriteHooks& hooks)
{
    return hooks.Sync ? hooks.Sync(fd) : ::fsync(fd);
}

EZtError CannotCreate(const std::string& fileName)
{
    return EZtError(FormatFileMessage("Cannot create file %s", fileName));
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
    // A replaced file keeps its permissions.
    if (replacing) ::fchmod(file.Get(), target.Mode);
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
bool WriteStream(const std::string& name, std::string_view bytes, const TFileWriteHooks& hooks)
{
    TFileDescriptor stream(::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    struct stat info { };
    if (!stream.Valid() || ::fstat(stream.Get(), &info) != 0) return false;
    // The name may have changed its kind since it was looked at.
    if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) return false;
    return WriteAll(stream.Get(), bytes, hooks) && stream.Close();
}

} // namespace

void WriteWholeFile(const std::string& fileName, std::string_view bytes, const TFileWriteHooks& hooks)
{
    const TFileTarget target = ResolveTarget(fileName);
    switch (target.Kind) {
    case TTargetKind::tkNew:
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
    // Not blocking, so that opening a pipe with no writer returns at once; a
    // device or a pipe has no size to read, so only regular files are read.
    TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info { };
    if (!file.Valid() || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        throw EZtError(FormatFileMessage("Cannot open file %s", fileName));
    if (info.st_size > maxSize) throw ERangeError();
    std::string data;
    try {
        data.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        throw EZtError("Out of memory");
    }
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(file.Get(), data.data() + done, data.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    if (done < data.size()) throw EZtError(FormatFileMessage("Cannot read file %s", fileName));
    return data;
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
