#pragma once
// Stand-ins for the steps of a write where the system can fail or differ, so
// that tests can fail them on purpose. Empty members use the system.

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

struct TFileWriteHooks {
    // Stores up to `size` bytes as write(2) does: the number stored, or -1
    // with errno set (ENOSPC on a full device).
    std::function<ssize_t(int fd, const void* data, std::size_t size)> Write;
    // Flushes a file or a folder to the disk as fsync(2) does.
    std::function<int(int fd)> Sync;
    // Opens a file without a name in the folder `folder` as open(2) with
    // O_TMPFILE does: the descriptor, or -1 with errno set (EOPNOTSUPP on a
    // file system without such files).
    std::function<int(int folder)> OpenUnnamed;
    // Gives a file written without a name the name `name`, as linkat(2)
    // through /proc/self/fd does: 0, or -1 with errno set (ENOENT where no
    // /proc is mounted).
    std::function<int(int fd, const std::string& name)> NameUnnamed;
    // Renames `from` to `to` within `folder` as renameat2(2) with `flags`
    // does: 0, or -1 with errno set (EINVAL where the file system knows no
    // such flag).
    std::function<int(int folder, const std::string& from, const std::string& to, unsigned flags)> Rename;
    // Runs once the temporary file holds all bytes and is closed, just before
    // it is put in place; false fails the replacement there.
    std::function<bool(const std::string& temporaryName)> BeforeRename;
};

// The caller's judgement of a regular file that a write would replace, open
// for reading and named `entry`: why it must stay (it looks like a
// document), or nothing.
using TProtectedFile = std::function<std::optional<std::string>(int fd, std::string_view entry)>;

} // namespace quorvex
