#pragma once
// Looking at many files of a few folders: each folder is opened once for the
// files of it that come in a row, and each file found by its name in the
// open folder instead of by its whole path again.

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace quorvex {

class TZtFolderLookups {
public:
    TZtFolderLookups() = default;
    TZtFolderLookups(const TZtFolderLookups&) = delete;
    TZtFolderLookups& operator=(const TZtFolderLookups&) = delete;
    ~TZtFolderLookups();

    // As stat(2) on `path`: 0, or -1 with errno set.
    int Stat(const std::string& path, struct stat& info);
    // Whether the last Stat found that `path`'s folder does not exist.
    bool FolderMissing(const std::string& path) const;

private:
    bool OpenFolder(std::string_view folder);

    std::string FFolder;
    bool FOpened = false; // FFolder was tried
    int FFd = -1;
    int FOpenError = 0; // errno of a failed open
};

} // namespace quorvex
