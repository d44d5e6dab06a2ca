#pragma once
// Looking at many files of a few folders: each folder is opened once for the
// files of it that come in a row, and each file found by its name in the
// open folder instead of by its whole path again.

#include <string>
#include <string_view>

#include "ZtFileStatus.h"

namespace quorvex {

class TZtFolderLookups {
public:
    TZtFolderLookups() = default;
    TZtFolderLookups(const TZtFolderLookups&) = delete;
    TZtFolderLookups& operator=(const TZtFolderLookups&) = delete;
    ~TZtFolderLookups();

    // As StatusOf(path).
    TFileStatus Status(const std::string& path);
    // Whether the last Status found that `path`'s folder does not exist.
    bool FolderMissing(const std::string& path) const;

private:
    bool OpenFolder(std::string_view folder);

    std::string FFolder;
    bool FOpened = false; // FFolder was tried
    int FFd = -1;
    int FOpenError = 0; // errno of a failed open
};

} // namespace quorvex
