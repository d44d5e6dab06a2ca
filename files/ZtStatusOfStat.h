#pragma once
// The status of a name as stat(2) told it; for the files of this folder only.

#include <sys/stat.h>

#include "ZtFileStatus.h"

namespace quorvex {

inline std::int64_t NanosecondsOf(const struct timespec& time)
{
    return std::int64_t{time.tv_sec} * 1000000000 + time.tv_nsec;
}

inline TFileStatus StatusOfStat(const struct stat& info)
{
    TFileStatus status;
    if (S_ISREG(info.st_mode))
        status.Kind = TFileKind::fkRegular;
    else if (S_ISDIR(info.st_mode))
        status.Kind = TFileKind::fkFolder;
    else if (S_ISLNK(info.st_mode))
        status.Kind = TFileKind::fkLink;
    status.Device = info.st_dev;
    status.Inode = info.st_ino;
    status.Size = static_cast<std::uint64_t>(info.st_size);
    status.ModifiedNs = NanosecondsOf(info.st_mtim);
    status.ChangedNs = NanosecondsOf(info.st_ctim);
    return status;
}

// The status for the result of a stat call: `result` 0, or -1 with errno set.
inline TFileStatus StatusOfCall(int result, const struct stat& info, int error)
{
    if (result == 0) return StatusOfStat(info);
    TFileStatus status;
    status.Error = error;
    return status;
}

} // namespace quorvex
