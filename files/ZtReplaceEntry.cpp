// New files put in place by renameat2 on the folder's descriptor, and what
// they took out looked at before it goes.

#include "ZtReplaceEntry.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ZtWriteSteps.h"

namespace quorvex {
namespace {

// How often a name that keeps changing under the replacement is tried.
constexpr int PlaceAttempts = 8;

int Sync(int fd, const TFileWriteHooks& hooks)
{
    return hooks.Sync ? hooks.Sync(fd) : ::fsync(fd);
}

bool UnnamedFilesUnsupported(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

} // namespace

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

int LastError()
{
    return errno != 0 ? errno : EIO;
}

TZtNewEntry::TZtNewEntry(const TZtOutputFolder& folder, std::string entry, TProtectedFile isProtected,
    const TFileWriteHooks& hooks, std::string shown)
    : FFolder(folder)
    , FEntry(std::move(entry))
    , FShown(shown.empty() ? folder.NameOf(FEntry) : std::move(shown))
    , FProtected(std::move(isProtected))
    , FHooks(hooks)
{
    const int dir = FFolder.Descriptor();
    struct stat info { };
    errno = 0;
    if (::fstatat(dir, FEntry.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(info.st_mode)) Refuse(DescribeEntry(dir, FEntry));
        FReplacing = true;
    } else if (errno != ENOENT) {
        Fail(LastError());
    }
    const int fd = FHooks.OpenUnnamed ? FHooks.OpenUnnamed(dir)
                                      : ::openat(dir, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0) {
        FFile = TFileDescriptor(fd);
        FUnnamed = true;
    } else if (UnnamedFilesUnsupported(errno)) {
        OpenNamedTemporary();
    } else {
        Fail(LastError());
    }
    // A replaced file keeps its owner, where the user may give it (root
    // may), and its permissions; the owner first, as a change of owner
    // clears the set-user-ID bit. A new file gets what the mask leaves.
    if (FReplacing) {
        [[maybe_unused]] const int owned = ::fchown(FFile.Get(), info.st_uid, info.st_gid);
        ::fchmod(FFile.Get(), info.st_mode & 07777);
    }
}

TZtNewEntry::~TZtNewEntry()
{
    if (!FPlaced && !FTemporary.empty()) ::unlinkat(FFolder.Descriptor(), FTemporary.c_str(), 0);
}

void TZtNewEntry::Write(std::string_view bytes)
{
    if (!WriteAll(FFile.Get(), bytes, FHooks)) Fail(LastError());
}

// Each writer locks its temporary file from the moment it exists, so that a
// later run tells a live writer's file from a killed one's leftover.
void TZtNewEntry::OpenNamedTemporary()
{
    const int dir = FFolder.Descriptor();
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = TemporaryEntryName(dir, FEntry, attempt);
        const int fd = ::openat(dir, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX);
            FFile = TFileDescriptor(fd);
            FUnnamed = false;
            FTemporary = std::move(name);
            FGuard.emplace(dir, FTemporary);
            return;
        }
        if (errno != EEXIST) Fail(LastError());
    }
    Fail(EEXIST);
}

namespace {

// Links the unnamed file `fd` in as `entry`. Linking by the descriptor's
// name in /proc needs no privilege.
int LinkUnnamed(int fd, const TZtOutputFolder& folder, const std::string& entry, const TFileWriteHooks& hooks)
{
    errno = 0;
    if (hooks.NameUnnamed) return hooks.NameUnnamed(fd, folder.NameOf(entry)) == 0 ? 0 : LastError();
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), folder.Descriptor(), entry.c_str(), AT_SYMLINK_FOLLOW) == 0
        ? 0
        : LastError();
}

bool CopyAll(int from, int to, const TFileWriteHooks& hooks)
{
    std::string buffer(std::size_t{1} << 20, '\0');
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(from, buffer.data(), buffer.size(), at);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (!WriteAll(to, std::string_view(buffer.data(), static_cast<std::size_t>(got)), hooks))
            return false;
        at += got;
    }
}

} // namespace

// The unnamed file gets a temporary name of its own, from which it is put
// in place; where it cannot be named (no /proc in a bare chroot), its bytes
// move to a named temporary file.
void TZtNewEntry::NameTemporary()
{
    const int dir = FFolder.Descriptor();
    // Locked before it has a name, as a named temporary file is.
    ::flock(FFile.Get(), LOCK_EX);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = TemporaryEntryName(dir, FEntry, attempt);
        const int linked = LinkUnnamed(FFile.Get(), FFolder, name, FHooks);
        if (linked == 0) {
            FTemporary = std::move(name);
            FGuard.emplace(dir, FTemporary);
            FUnnamed = false;
            return;
        }
        if (linked != EEXIST) break;
    }
    TFileDescriptor unnamed(FFile.Release());
    OpenNamedTemporary();
    if (FReplacing) {
        struct stat info { };
        if (::fstat(unnamed.Get(), &info) == 0) ::fchmod(FFile.Get(), info.st_mode & 07777);
    }
    if (!CopyAll(unnamed.Get(), FFile.Get(), FHooks)) Fail(LastError());
}

void TZtNewEntry::Commit()
{
    // A crash leaves the old or the new content under the name, never an
    // empty file: the new one is on the disk before the rename.
    if (FReplacing && Sync(FFile.Get(), FHooks) != 0) Fail(LastError());
    if (FUnnamed && !FReplacing) {
        // A new file is linked in under its name once complete: the name
        // never shows a part of the file, and the folder gets one entry, as
        // a copy makes. The link never replaces what stands there.
        const int linked = LinkUnnamed(FFile.Get(), FFolder, FEntry, FHooks);
        if (linked == 0) {
            if (!FFile.Close()) Fail(LastError());
            FPlaced = true;
            return;
        }
    }
    if (FUnnamed) NameTemporary();
    // Closing reports what a network file system could not store; a second
    // descriptor keeps the lock until the file is in place.
    const TFileDescriptor lock(::dup(FFile.Get()));
    if (!FFile.Close()) Fail(LastError());
    if (FHooks.BeforeRename && !FHooks.BeforeRename(FFolder.NameOf(FTemporary))) Fail(EIO);
    bool unsupported = false;
    if (!PlaceByExchange(unsupported)) PlaceByCheck();
    FPlaced = true;
    if (FReplacing) Sync(FFolder.Descriptor(), FHooks);
}

int TZtNewEntry::Rename(const std::string& from, const std::string& to, unsigned flags) const
{
    const int dir = FFolder.Descriptor();
    errno = 0;
    if (FHooks.Rename) return FHooks.Rename(dir, from, to, flags);
    return ::renameat2(dir, from.c_str(), dir, to.c_str(), flags);
}

// What stood under the entry is swapped out in one step and looked at under
// the temporary name; what must stay goes straight back. False, with
// `unsupported`, where the file system cannot swap or create without
// replacing.
bool TZtNewEntry::PlaceByExchange(bool& unsupported)
{
    bool create = !FReplacing;
    for (int attempt = 0; attempt < PlaceAttempts; ++attempt) {
        if (create) {
            if (Rename(FTemporary, FEntry, RENAME_NOREPLACE) == 0) return true;
            if (errno == EEXIST) {
                create = false;
                continue;
            }
        } else {
            if (Rename(FTemporary, FEntry, RENAME_EXCHANGE) == 0) {
                if (const std::optional<std::string> why = WhyKept(FTemporary)) {
                    if (Rename(FTemporary, FEntry, RENAME_EXCHANGE) != 0) {
                        // Whatever stood there keeps the temporary name; the
                        // new file, under the entry, is the one to go.
                        const int error = LastError();
                        const std::string kept = FFolder.NameOf(FTemporary);
                        FTemporary = FEntry;
                        FGuard.reset();
                        throw EZtError(FShown + ": " + *why + "; moved to " + kept +
                            " and not put back: " + std::strerror(error));
                    }
                    Refuse(*why);
                }
                ::unlinkat(FFolder.Descriptor(), FTemporary.c_str(), 0);
                return true;
            }
            if (errno == ENOENT) {
                create = true;
                continue;
            }
        }
        if (errno == EINVAL) {
            unsupported = true;
            return false;
        }
        Fail(LastError());
    }
    Fail(EAGAIN);
    return false;
}

// Without the swap: what stands under the entry is looked at without
// following a link, then replaced by a rename, which replaces a link that
// appeared meanwhile itself and never what it points to.
void TZtNewEntry::PlaceByCheck()
{
    const int dir = FFolder.Descriptor();
    for (int attempt = 0; attempt < PlaceAttempts; ++attempt) {
        struct stat info { };
        if (::fstatat(dir, FEntry.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            if (const std::optional<std::string> why = WhyKept(FEntry)) Refuse(*why);
            if (Rename(FTemporary, FEntry, 0) != 0) Fail(LastError());
            return;
        }
        if (errno != ENOENT) Fail(LastError());
        if (Rename(FTemporary, FEntry, RENAME_NOREPLACE) == 0) return;
        if (errno == EEXIST) continue;
        if (errno != EINVAL) Fail(LastError());
        // A hard link, where there are any, creates without replacing too.
        if (::linkat(dir, FTemporary.c_str(), dir, FEntry.c_str(), 0) == 0) {
            ::unlinkat(dir, FTemporary.c_str(), 0);
            return;
        }
        if (errno == EEXIST) continue;
        if (Rename(FTemporary, FEntry, 0) != 0) Fail(LastError());
        return;
    }
    Fail(EAGAIN);
}

// Why the file under `name` must stay where it is: what it is when it is no
// regular file, else what the caller's judgement says of it.
std::optional<std::string> TZtNewEntry::WhyKept(const std::string& name) const
{
    const int dir = FFolder.Descriptor();
    const TFileDescriptor path(::openat(dir, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat info { };
    if (!path.Valid() || ::fstat(path.Get(), &info) != 0) return std::nullopt; // gone meanwhile
    if (!S_ISREG(info.st_mode)) return DescribeEntry(dir, name);
    if (!FProtected) return std::nullopt;
    const TFileDescriptor readable(
        ::openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened { };
    if (!readable.Valid() || ::fstat(readable.Get(), &opened) != 0) return "cannot be read to be checked";
    if (opened.st_ino != info.st_ino || opened.st_dev != info.st_dev) return "changed while it was checked";
    return FProtected(readable.Get(), FEntry);
}

void TZtNewEntry::Refuse(const std::string& what) const
{
    throw EZtNotReplacedError(FShown + ": " + what + "; not replaced");
}

void TZtNewEntry::Fail(int error) const
{
    throw EZtError(FormatFileMessage("Cannot create file %s", FShown, error));
}

void WriteEntry(const TZtOutputFolder& folder, const std::string& entry, std::string_view bytes,
    const TProtectedFile& isProtected, const TFileWriteHooks& hooks)
{
    TZtNewEntry file(folder, entry, isProtected, hooks);
    file.Write(bytes);
    file.Commit();
}

} // namespace quorvex
