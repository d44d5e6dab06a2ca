// Output folders opened once and entered one name at a time.

#include "ZtOutputFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "ZtErrors.h"

namespace quorvex {
namespace {

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

std::string KindOf(mode_t mode)
{
    if (S_ISLNK(mode)) return "is a symbolic link";
    if (S_ISFIFO(mode)) return "is a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device";
    if (S_ISSOCK(mode)) return "is a socket";
    if (S_ISDIR(mode)) return "is a folder";
    return "is a file";
}

} // namespace

TZtOutputFolder TZtOutputFolder::OpenNamed(const std::string& name, bool create)
{
    const std::string shown = name.empty() ? "." : name;
    if (create) {
        std::error_code error;
        std::filesystem::create_directories(shown, error);
        if (error) throw EZtError(FormatFileMessage("Cannot create folder %s", shown, error.value()));
    }
    TFileDescriptor fd(::open(shown.c_str(), FolderFlags));
    if (!fd.Valid()) throw EZtError(FormatFileMessage("Cannot open folder %s", shown, errno));
    return TZtOutputFolder(std::move(fd), name);
}

std::optional<TZtOutputFolder> TZtOutputFolder::OpenExisting(const std::string& name, int& error)
{
    TFileDescriptor fd(::open(name.empty() ? "." : name.c_str(), FolderFlags));
    if (!fd.Valid()) {
        error = errno;
        return std::nullopt;
    }
    return TZtOutputFolder(std::move(fd), name);
}

TZtOutputFolder TZtOutputFolder::Enter(std::string_view component, bool create) const
{
    const std::string entry(component);
    const std::string shown = NameOf(entry);
    for (int attempt = 0; attempt < 2; ++attempt) {
        TFileDescriptor fd(::openat(Descriptor(), entry.c_str(), FolderFlags | O_NOFOLLOW));
        if (fd.Valid()) return TZtOutputFolder(std::move(fd), shown);
        const int error = errno;
        if (error == ENOENT && create && attempt == 0) {
            if (::mkdirat(Descriptor(), entry.c_str(), 0777) == 0 || errno == EEXIST) continue;
            throw EZtError(FormatFileMessage("Cannot create folder %s", shown, errno));
        }
        if (error == ELOOP || error == ENOTDIR) {
            const std::string kind = DescribeEntry(Descriptor(), entry);
            if (!kind.empty()) throw EZtError(shown + ": " + kind + "; not entered");
        }
        throw EZtError(FormatFileMessage("Cannot open folder %s", shown, error));
    }
    throw EZtError(FormatFileMessage("Cannot open folder %s", shown, ENOENT));
}

std::string TZtOutputFolder::NameOf(std::string_view entry) const
{
    if (FName.empty()) return std::string(entry);
    std::string name = FName;
    if (name.back() != '/') name += '/';
    name += entry;
    return name;
}

std::shared_ptr<const TZtOutputFolder> TZtOutputFolders::Open(
    const std::string& named, const std::vector<std::string>& below, bool create)
{
    std::string key = named;
    for (const std::string& name : below) key += '\0' + name;
    const std::lock_guard<std::mutex> lock(FMutex);
    if (const auto found = FOpen.find(key); found != FOpen.end()) return found->second;
    auto folder = std::make_shared<TZtOutputFolder>(TZtOutputFolder::OpenNamed(named, create));
    for (const std::string& name : below) *folder = folder->Enter(name, create);
    if (FSweep) FSweep(folder->Descriptor());
    // Items come folder by folder: the folders of earlier items are done.
    if (FOpen.size() >= Kept) FOpen.clear();
    FOpen.emplace(std::move(key), folder);
    return folder;
}

std::string DescribeEntry(int folder, const std::string& entry)
{
    struct stat info { };
    if (::fstatat(folder, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return {};
    return KindOf(info.st_mode);
}

} // namespace quorvex
