#pragma once
// A folder a run writes into, held open by its descriptor: what the run
// writes lands in this folder whatever is renamed or linked in its path
// meanwhile, and folders below it are entered without following a link.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ZtFileDescriptor.h"

namespace quorvex {

class TZtOutputFolder {
public:
    // The folder as the user named it, its links followed; with `create`
    // made, with its parents, when missing. EZtError "Cannot create folder
    // %s" (with `create`) or "Cannot open folder %s", with the reason.
    static TZtOutputFolder OpenNamed(const std::string& name, bool create);
    // The same without creating; nothing, with the reason in `error`, when
    // it cannot be opened. "" names the current folder.
    static std::optional<TZtOutputFolder> OpenExisting(const std::string& name, int& error);
    // The folder `component` (one name, no '/') inside this one, entered
    // only when it is a folder and no symbolic link; with `create` made when
    // missing. EZtError "NAME: is a symbolic link; not entered" and the like
    // for what stands there instead, "Cannot create folder %s" when it
    // cannot be made.
    TZtOutputFolder Enter(std::string_view component, bool create) const;

    int Descriptor() const { return FFd.Get(); }
    // As messages show it: as named, components entered joined with '/'.
    const std::string& Name() const { return FName; }
    // `entry` of this folder as messages show it.
    std::string NameOf(std::string_view entry) const;

private:
    TZtOutputFolder(TFileDescriptor fd, std::string name)
        : FFd(std::move(fd))
        , FName(std::move(name))
    { }

    TFileDescriptor FFd;
    std::string FName;
};

// The output folders of a run, each opened once and kept open for the
// items that follow, from any thread. A folder is kept as it was entered:
// a link planted in its path later changes nothing for the run.
class TZtOutputFolders {
public:
    // `sweep`, when given, sees each folder once as it is first opened.
    explicit TZtOutputFolders(std::function<void(int folder)> sweep = {})
        : FSweep(std::move(sweep))
    { }
    TZtOutputFolders(const TZtOutputFolders&) = delete;
    TZtOutputFolders& operator=(const TZtOutputFolders&) = delete;

    // The folder `below` (names one by one, entered as Enter does) inside
    // the folder `named` (opened as OpenNamed does); failures as theirs.
    std::shared_ptr<const TZtOutputFolder> Open(
        const std::string& named, const std::vector<std::string>& below, bool create);

private:
    // Folders kept at most, far below the limit of open descriptors.
    static constexpr std::size_t Kept = 64;

    std::function<void(int folder)> FSweep;
    std::mutex FMutex;
    std::map<std::string, std::shared_ptr<const TZtOutputFolder>> FOpen;
};

// What stands under `entry` of the folder, as a message says it after the
// name: "is a symbolic link", "is a FIFO", "is a device", "is a socket",
// "is a folder", "is a file"; empty when nothing stands there.
std::string DescribeEntry(int folder, const std::string& entry);

} // namespace quorvex
