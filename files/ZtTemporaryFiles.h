#pragma once
// The temporary files a replacement makes beside the file it replaces: their
// names, and their removal when the program is interrupted.

#include <string>

namespace quorvex {

// A name beside `fileName` for the attempt `attempt` (0, 1, ...): the file's
// own name, then ".tmp-" and eight letters or digits that differ between
// threads and attempts. A long name is cut so that the temporary name still
// fits the folder's limit on names: a file that can be written once can be
// replaced again.
std::string TemporaryNameBeside(const std::string& fileName, int attempt);

// While it lives, an interrupt (SIGINT, SIGTERM, SIGHUP) removes the file
// named, once InstallTemporaryFileCleanup has run. A name that does not fit
// the table of files in flight is left to the owner's own removal.
class TTemporaryFileGuard {
public:
    explicit TTemporaryFileGuard(const std::string& name);
    TTemporaryFileGuard(const TTemporaryFileGuard&) = delete;
    TTemporaryFileGuard& operator=(const TTemporaryFileGuard&) = delete;
    ~TTemporaryFileGuard();

private:
    int FSlot;
};

// On SIGINT, SIGTERM and SIGHUP: removes every temporary file in flight, then
// ends the program by the signal as it would have ended without this, so its
// caller sees the signal in the exit status. Call once at start.
void InstallTemporaryFileCleanup();

} // namespace quorvex
