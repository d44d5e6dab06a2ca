// Symbolic links followed by hand, so that a dangling link still says which
// file it is meant to point to.

#include "ZtFileTarget.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>

namespace quorvex {
namespace {

// The kernel gives up after as many links in a row.
constexpr int MaxLinks = 40;

std::optional<std::string> ReadLink(const std::string& name)
{
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(name.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
    target.resize(static_cast<std::size_t>(length));
    return target;
}

// Where the chain of links starting at `name` ends in a name that does not
// exist, when it does.
std::optional<std::string> DanglingEnd(std::string name)
{
    for (int i = 0; i <= MaxLinks; ++i) {
        struct stat info { };
        if (::lstat(name.c_str(), &info) != 0) {
            if (errno == ENOENT) return name;
            return std::nullopt;
        }
        if (!S_ISLNK(info.st_mode)) return std::nullopt;
        const std::optional<std::string> next = ReadLink(name);
        if (!next) return std::nullopt;
        name = next->starts_with('/') ? *next : FolderOf(name) + "/" + *next;
    }
    return std::nullopt;
}

std::optional<std::string> RealName(const std::string& name)
{
    const std::unique_ptr<char, decltype(&::free)> real(::realpath(name.c_str(), nullptr), &::free);
    if (!real) return std::nullopt;
    return std::string(real.get());
}

// Whether the links from `name` on pass through a process's descriptor table
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N): the file behind it is open in
// some process, such as the shell's redirection, which keeps writing to the
// file it opened, so that file must be written in place and not replaced.
bool LeadsThroughDescriptor(std::string name)
{
    for (int i = 0; i <= MaxLinks; ++i) {
        struct stat info { };
        if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return false;
        const std::optional<std::string> folder = RealName(FolderOf(name));
        if (folder && folder->starts_with("/proc/")) return true;
        const std::optional<std::string> next = ReadLink(name);
        if (!next) return false;
        name = next->starts_with('/') ? *next : FolderOf(name) + "/" + *next;
    }
    return false;
}

TFileTarget ExistingTarget(const std::string& name, const struct stat& info, bool throughLink)
{
    if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) return {TTargetKind::tkStream, name};
    if (!S_ISREG(info.st_mode)) return {TTargetKind::tkOther, name};
    if (throughLink && LeadsThroughDescriptor(name)) return {TTargetKind::tkStream, name};
    const std::optional<std::string> real = throughLink ? RealName(name) : name;
    if (!real) return {TTargetKind::tkOther, name};
    return {
        TTargetKind::tkRegular, *real, static_cast<mode_t>(info.st_mode & 07777), info.st_uid, info.st_gid};
}

TFileIdentity IdentityOf(const struct stat& info, std::string name = {})
{
    return {info.st_dev, info.st_ino, std::move(name)};
}

} // namespace

std::string FolderOf(const std::string& name)
{
    const auto slash = name.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return name.substr(0, slash);
}

TFileTarget ResolveTarget(const std::string& name)
{
    struct stat link { };
    if (::lstat(name.c_str(), &link) != 0)
        return {errno == ENOENT ? TTargetKind::tkNew : TTargetKind::tkOther, name};
    if (!S_ISLNK(link.st_mode)) return ExistingTarget(name, link, false);
    struct stat target { };
    if (::stat(name.c_str(), &target) == 0) return ExistingTarget(name, target, true);
    if (errno != ENOENT) return {TTargetKind::tkOther, name};
    const std::optional<std::string> end = DanglingEnd(name);
    if (!end) return {TTargetKind::tkOther, name};
    return {TTargetKind::tkNew, *end};
}

std::optional<TFileIdentity> IdentityOfRegularFile(const std::string& name)
{
    struct stat info { };
    if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return IdentityOf(info);
}

std::optional<TFileIdentity> IdentityOfRegularDescriptor(int fd)
{
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return IdentityOf(info);
}

TFileIdentity IdentityOfTarget(const std::string& name)
{
    struct stat existing { };
    if (::stat(name.c_str(), &existing) == 0) return IdentityOf(existing);
    const TFileTarget target = ResolveTarget(name);
    const std::filesystem::path path(target.Name);
    struct stat folder { };
    if (::stat(FolderOf(target.Name).c_str(), &folder) == 0) return IdentityOf(folder, path.filename());
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return {0, 0, (error ? path : absolute).lexically_normal().string()};
}

} // namespace quorvex
