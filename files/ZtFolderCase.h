#pragma once
// Whether a folder's file system tells names apart by case.

#include <string>

namespace quorvex {

// Whether two names of `folder` that differ only in case name one file
// there; while the folder does not exist, of the nearest folder above it
// that does, whose file system a new folder shares. Found by creating a
// probe file there, looking up its name in the other case, and removing the
// probe (also when the program is interrupted); false where no probe can
// be created, as nothing can be written there either.
bool FolderFoldsCase(const std::string& folder);

} // namespace quorvex
