#pragma once
// Files read whole or in the parts a reader needs, and written whole or not
// at all, whatever kind of file stands under the name.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ZtFileParts.h"
#include "ZtWriteHooks.h"

namespace quorvex {

// Writes `bytes` under `fileName`, by the kind of file that stands there:
// - none, or a regular file: a temporary file in the same folder renamed
//   over the name; on any failure it is removed and the earlier file stays;
// - a symbolic link: the same for the file it finally points to (created
//   when the link dangles), the link stays;
// - a character device or a FIFO: written directly;
// - anything else (a folder): nothing is done.
// Failures raise EZtError "Cannot create file %s". Only a replaced file is
// synced to the disk, with its folder: a new file can be made again.
void WriteWholeFile(const std::string& fileName, std::string_view bytes, const TFileWriteHooks& hooks = {});
// The same, leaving a regular file that `isProtected` keeps as it is, also
// one reached through a descriptor: EZtNotReplacedError "NAME: looks like
// ...; not replaced".
void WriteWholeFile(const std::string& fileName, std::string_view bytes, const TProtectedFile& isProtected,
    const TFileWriteHooks& hooks = {});
// Raises EZtNotReplacedError, named `name`, when `fd` is a regular file (as
// standard output may be) that `isProtected` keeps.
void RefuseProtectedStream(int fd, const std::string& name, const TProtectedFile& isProtected);

// Opens a regular file for reading and tells what fstat(2) tells of it; the
// caller closes the descriptor. EZtError "Cannot open file %s" followed by the
// reason when it cannot be opened or is no regular file: the system's text
// (a folder gives that of EISDIR), or NotRegularFileReason for a device, a
// pipe or a socket, which have no size to read.
int OpenRegularFile(const std::string& fileName, struct stat& info);
inline constexpr std::string_view NotRegularFileReason = ": Not a regular file";

// Reads a whole file; EZtError "Cannot open file %s" as OpenRegularFile,
// "Cannot read file %s" (with the system's reason where it gives one) when
// reading fails or delivers fewer bytes than the file's size.
std::string ReadWholeFile(const std::string& fileName);
// The same, raising ERangeError for a file larger than `maxSize` bytes before
// anything is read.
std::string ReadWholeFile(const std::string& fileName, std::int64_t maxSize);

// The first bytes of a regular file, and its size.
struct TFileHead {
    std::string Bytes; // as many as asked for, fewer where the file ends
    std::uint64_t FileSize = 0;
};
// Reads the first `size` bytes of a file; EZtError "Cannot open file %s" as
// OpenRegularFile.
TFileHead ReadFileHead(const std::string& fileName, std::size_t size);
// The same of an open descriptor, read from its start; nothing where it
// cannot be read.
TFileHead ReadDescriptorHead(int fd, std::size_t size);

// Reads the first `headSize` bytes of a file, then only the ranges `choose`
// names from them (cut at the file's end). Failures as ReadWholeFile's.
TFileParts ReadFileParts(
    const std::string& fileName, std::size_t headSize, std::int64_t maxSize, const TPartChooser& choose);
// The same from an open descriptor (standard input, a pipe) read to its end,
// keeping only the chosen ranges as the bytes pass; ERangeError as soon as it
// delivers more than `maxSize` bytes, EZtError "Cannot read file %s" with
// `name` and the system's reason when reading fails.
TFileParts ReadStreamParts(
    int fd, const std::string& name, std::size_t headSize, std::int64_t maxSize, const TPartChooser& choose);

} // namespace quorvex
