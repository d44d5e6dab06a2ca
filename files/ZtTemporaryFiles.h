#pragma once
// The temporary files a replacement makes beside the file it replaces: their
// names, and their removal when the program is interrupted.

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "ZtWriteHooks.h"

namespace quorvex {

// A name beside `fileName` for the attempt `attempt` (0, 1, ...): the file's
// own name, then ".tmp-" and eight letters or digits that differ between
// threads and attempts. A long name is cut so that the temporary name still
// fits the folder's limit on names: a file that can be written once can be
// replaced again.
std::string TemporaryNameBeside(const std::string& fileName, int attempt);
// The same for the entry `entry` of the open folder `folder`.
std::string TemporaryEntryName(int folder, const std::string& entry, int attempt);
// Whether `entry` is named as TemporaryNameBeside names files.
bool IsTemporaryName(std::string_view entry);

// While it lives, an interrupt (SIGINT, SIGTERM, SIGHUP) removes the file
// named, once InstallTemporaryFileCleanup has run. A name that does not fit
// the table of files in flight is left to the owner's own removal.
class TTemporaryFileGuard {
public:
    explicit TTemporaryFileGuard(const std::string& name);
    // The entry `entry` of the open folder `folder`, which stays open while
    // the guard lives.
    TTemporaryFileGuard(int folder, const std::string& entry);
    TTemporaryFileGuard(const TTemporaryFileGuard&) = delete;
    TTemporaryFileGuard& operator=(const TTemporaryFileGuard&) = delete;
    ~TTemporaryFileGuard();

private:
    int FSlot;
};

// Removes from the open folder the temporary files that a writer killed
// before it could remove them left behind: regular files named as
// temporary files whose lock no live writer holds (each writer locks its
// temporary file from its creation until it is renamed) and which
// `isProtected` lets go. A file of another program of the same name pattern
// that holds no lock is taken for a leftover too.
void RemoveLeftovers(int folder, const TProtectedFile& isProtected);

// RemoveLeftovers once for each folder a run writes into, from any thread.
class TZtLeftoverSweep {
public:
    explicit TZtLeftoverSweep(TProtectedFile isProtected)
        : FProtected(std::move(isProtected))
    { }
    TZtLeftoverSweep(const TZtLeftoverSweep&) = delete;
    TZtLeftoverSweep& operator=(const TZtLeftoverSweep&) = delete;
    // The first time the folder (by device and inode) is seen.
    void Sweep(int folder);

private:
    TProtectedFile FProtected;
    std::mutex FMutex;
    std::set<std::pair<std::uint64_t, std::uint64_t>> FSwept;
};

// On SIGINT, SIGTERM and SIGHUP: removes every temporary file in flight, then
// ends the program by the signal as it would have ended without this, so its
// caller sees the signal in the exit status. Call once at start.
void InstallTemporaryFileCleanup();

} // namespace quorvex
