// opendir(3) and readdir(3).

#include "ZtFolderWalk.h"

#include <dirent.h>

#include <cerrno>
#include <memory>
#include <string_view>

namespace quorvex {
namespace {

struct TDirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

TEntryType TypeOf(unsigned char type)
{
    switch (type) {
    case DT_UNKNOWN:
        return TEntryType::etUnknown;
    case DT_REG:
        return TEntryType::etFile;
    case DT_DIR:
        return TEntryType::etFolder;
    case DT_LNK:
        return TEntryType::etLink;
    default:
        return TEntryType::etOther;
    }
}

} // namespace

TFolderListing ListFolder(const std::string& folder)
{
    TFolderListing listing;
    const std::unique_ptr<DIR, TDirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        listing.Error = errno;
        return listing;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) break;
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..")
            listing.Entries.push_back({std::string(name), TypeOf(entry->d_type)});
    }
    listing.Error = errno;
    return listing;
}

} // namespace quorvex
