// The probe of a folder's case folding.

#include "ZtFolderCase.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>

#include "ZtTemporaryFiles.h"

namespace quorvex {
namespace {

// The folder itself, or the nearest one above it that exists.
std::filesystem::path ExistingFolder(const std::string& folder)
{
    std::filesystem::path path = folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder);
    for (;;) {
        struct stat info { };
        if (::stat(path.c_str(), &info) == 0 || errno != ENOENT) return path;
        const std::filesystem::path parent = path.parent_path();
        if (parent.empty()) return ".";
        if (parent == path) return path;
        path = parent;
    }
}

std::string InOtherCase(std::string name)
{
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

class TFolderDescriptor {
public:
    explicit TFolderDescriptor(const std::filesystem::path& folder)
        : FFd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
    { }
    TFolderDescriptor(const TFolderDescriptor&) = delete;
    TFolderDescriptor& operator=(const TFolderDescriptor&) = delete;
    ~TFolderDescriptor()
    {
        if (FFd >= 0) ::close(FFd);
    }
    int Get() const { return FFd; }

private:
    int FFd;
};

} // namespace

bool FolderFoldsCase(const std::string& folder)
{
    const std::filesystem::path existing = ExistingFolder(folder);
    const TFolderDescriptor dir(existing);
    if (dir.Get() < 0) return false;
    // Letters in one case only, so that the other spelling is another name.
    const std::string probe = ".fa4tohtml-case-probe-" + std::to_string(::getpid());
    const TTemporaryFileGuard guard((existing / probe).string());
    const int fd =
        ::openat(dir.Get(), probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    struct stat made { };
    struct stat other { };
    const bool folds = ::fstat(fd, &made) == 0 &&
        ::fstatat(dir.Get(), InOtherCase(probe).c_str(), &other, AT_SYMLINK_NOFOLLOW) == 0 &&
        other.st_dev == made.st_dev && other.st_ino == made.st_ino;
    ::close(fd);
    ::unlinkat(dir.Get(), probe.c_str(), 0);
    return folds;
}

} // namespace quorvex
