#pragma once
// What stands under a name, looked at without opening it, and what the
// programs ask of their standard streams.

#include <cstdint>
#include <string>

namespace quorvex {

enum class TFileKind { fkRegular, fkFolder, fkLink, fkOther };

struct TFileStatus {
    // The errno value that tells why the name could not be looked at
    // (ENOENT where nothing stands there); 0 when it was.
    int Error = 0;
    TFileKind Kind = TFileKind::fkOther;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::uint64_t Size = 0;
    std::int64_t ModifiedNs = 0; // nanoseconds since the epoch
    std::int64_t ChangedNs = 0; // the status change, which no one can set

    bool Found() const { return Error == 0; }
    bool IsRegular() const { return Error == 0 && Kind == TFileKind::fkRegular; }
    bool IsFolder() const { return Error == 0 && Kind == TFileKind::fkFolder; }
    // Two statuses of one file.
    bool SameFile(const TFileStatus& other) const
    {
        return Found() && other.Found() && Device == other.Device && Inode == other.Inode;
    }
};

// Through symbolic links, as the file a reader of the name gets.
TFileStatus StatusOf(const std::string& name);
// The name itself: a symbolic link is a link.
TFileStatus LinkStatusOf(const std::string& name);

// The descriptors of the standard streams, the same on every system.
inline constexpr int StandardInputDescriptor = 0;
inline constexpr int StandardOutputDescriptor = 1;

// Whether standard error goes to a terminal, which can show progress.
bool StandardErrorIsTerminal();

} // namespace quorvex
