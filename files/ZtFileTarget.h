#pragma once
// What a file name stands for when something is to be written under it, and
// how two names are found to mean the same file.

#include <sys/types.h>

#include <optional>
#include <string>
#include <tuple>

namespace quorvex {

enum class TTargetKind {
    tkNew, // nothing stands under the name yet
    tkRegular, // a regular file, to be replaced whole
    tkStream, // a character device, a FIFO, or a file open on a descriptor, written as it stands
    tkOther, // a folder, a socket, a name that cannot be looked at
};

struct TFileTarget {
    TTargetKind Kind = TTargetKind::tkOther;
    // The name to create or replace: the name given, or the file its
    // symbolic links finally point to.
    std::string Name;
    // Permissions and owner of a regular file.
    mode_t Mode = 0;
    uid_t Owner = 0;
    gid_t Group = 0;
};

// The folder part of a name: "." for a name without one.
std::string FolderOf(const std::string& name);

// Looks at the name and at every symbolic link it leads through. A dangling
// link gives the name its last link points to, as tkNew.
TFileTarget ResolveTarget(const std::string& name);

// Device and inode of a file; `Name` tells apart new files of one folder,
// whose identity is that of the folder.
struct TFileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    std::string Name;
    bool operator==(const TFileIdentity&) const = default;
    // Spelt out: the standard library of the browser build orders strings
    // only with <, not with <=>.
    bool operator<(const TFileIdentity& other) const
    {
        return std::tie(Device, Inode, Name) < std::tie(other.Device, other.Inode, other.Name);
    }
};

// The regular file the name denotes through its links; nothing for any
// other kind of file or none. Only regular files hold documents.
std::optional<TFileIdentity> IdentityOfRegularFile(const std::string& name);
// The same for an open descriptor (standard input or output).
std::optional<TFileIdentity> IdentityOfRegularDescriptor(int fd);
// The file that writing under the name would create or replace, so that two
// spellings of one output give one identity before it exists.
TFileIdentity IdentityOfTarget(const std::string& name);

} // namespace quorvex
