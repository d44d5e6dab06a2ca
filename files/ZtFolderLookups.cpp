// A folder opened with O_PATH only: it is looked at, never read.

#include "ZtFolderLookups.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "ZtStatusOfStat.h"

namespace quorvex {

TZtFolderLookups::~TZtFolderLookups()
{
    if (FFd >= 0) ::close(FFd);
}

bool TZtFolderLookups::OpenFolder(std::string_view folder)
{
    if (FOpened && folder == FFolder) return FFd >= 0;
    if (FFd >= 0) ::close(FFd);
    FFolder = folder;
    FFd = ::open(FFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    FOpenError = FFd >= 0 ? 0 : errno;
    FOpened = true;
    return FFd >= 0;
}

bool TZtFolderLookups::FolderMissing(const std::string& path) const
{
    const std::size_t slash = path.rfind('/');
    return FOpened && FFd < 0 && FOpenError == ENOENT && slash != std::string::npos &&
        std::string_view(path).substr(0, slash) == FFolder;
}

TFileStatus TZtFolderLookups::Status(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    // A name without a folder, a name in the root folder, a name that ends
    // in a slash: looked at whole.
    if (slash == std::string::npos || slash == 0 || slash + 1 == path.size()) return StatusOf(path);
    if (OpenFolder(std::string_view(path).substr(0, slash))) {
        struct stat info { };
        const int result = ::fstatat(FFd, path.c_str() + slash + 1, &info, 0);
        return StatusOfCall(result, info, errno);
    }
    // Nothing is found in a folder that does not exist, as the many targets
    // of a new folder are not.
    if (FOpenError == ENOENT) {
        TFileStatus missing;
        missing.Error = ENOENT;
        return missing;
    }
    return StatusOf(path);
}

} // namespace quorvex
