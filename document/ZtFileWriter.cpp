#include "ZtFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>
#include <random>

#include "ZtErrors.h"

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

std::string FolderOf(const std::string& fileName)
{
    const auto slash = fileName.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return fileName.substr(0, slash);
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

} // namespace

void WriteFileReplacing(const std::string& fileName, std::string_view bytes, const TFileWriteHooks& hooks)
{
    const auto fail = [&] { return EZtError(FormatFileMessage("Cannot create file %s", fileName)); };
    std::string tempName;
    TFileDescriptor file(CreateTemporaryBeside(fileName, tempName));
    if (!file.Valid()) throw fail();
    TTemporaryName temp(tempName);
    // A replaced file keeps its permissions.
    struct stat existing { };
    if (::stat(fileName.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(file.Get(), existing.st_mode & 07777);
    if (!WriteAll(file.Get(), bytes, hooks) || ::fsync(file.Get()) != 0 || !file.Close()) throw fail();
    if (hooks.BeforeRename && !hooks.BeforeRename(temp.Name())) throw fail();
    if (::rename(temp.Name().c_str(), fileName.c_str()) != 0) throw fail();
    temp.Keep();
    TFileDescriptor folder(::open(FolderOf(fileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid()) ::fsync(folder.Get());
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

} // namespace quorvex
