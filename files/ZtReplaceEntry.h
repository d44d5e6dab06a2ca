#pragma once
// A new regular file written into an open folder and put in place of an
// entry there, deciding on what stood under the entry at the very moment of
// the replacement: a symbolic link, FIFO, device, socket or folder is never
// followed, opened or written into, and a file the caller protects stays.

#include <optional>
#include <string>
#include <string_view>

#include "ZtErrors.h"
#include "ZtFileDescriptor.h"
#include "ZtOutputFolder.h"
#include "ZtTemporaryFiles.h"
#include "ZtWriteHooks.h"

namespace quorvex {

// What stood under the name was left as it was: "NAME: is a symbolic link;
// not replaced".
class EZtNotReplacedError : public EZtError {
public:
    using EZtError::EZtError;
};

class TZtNewEntry {
public:
    // Starts the file; the entry is looked at already, so that a name that
    // cannot be replaced fails before anything is written. EZtError "Cannot
    // create file %s" with the reason, EZtNotReplacedError. Messages name
    // the file `shown`, or as the folder names its entry.
    TZtNewEntry(const TZtOutputFolder& folder, std::string entry, TProtectedFile isProtected,
        const TFileWriteHooks& hooks = {}, std::string shown = {});
    TZtNewEntry(const TZtNewEntry&) = delete;
    TZtNewEntry& operator=(const TZtNewEntry&) = delete;
    // Removes the file unless it was put in place.
    ~TZtNewEntry();

    // Appends to the file; EZtError "Cannot create file %s" with the reason.
    void Write(std::string_view bytes);
    // Puts the file under the entry: the earlier regular file there is
    // replaced unless it is protected; anything else stays and the new file
    // goes. EZtNotReplacedError, or EZtError "Cannot create file %s".
    void Commit();

private:
    void OpenNamedTemporary();
    void NameTemporary();
    void PutInPlace();
    bool PlaceByExchange(bool& unsupported);
    void PlaceByCheck();
    void Refuse(const std::string& what) const;
    std::optional<std::string> WhyKept(const std::string& name) const;
    int Rename(const std::string& from, const std::string& to, unsigned flags) const;
    void Fail(int error) const;

    const TZtOutputFolder& FFolder;
    std::string FEntry;
    std::string FShown; // the entry as messages name it
    TProtectedFile FProtected;
    TFileWriteHooks FHooks;
    bool FReplacing = false; // a regular file stood there when it started
    TFileDescriptor FFile;
    bool FUnnamed = false;
    std::string FTemporary; // the file's name while it has one of its own
    std::optional<TTemporaryFileGuard> FGuard;
    bool FPlaced = false;
};

// The whole file at once.
void WriteEntry(const TZtOutputFolder& folder, const std::string& entry, std::string_view bytes,
    const TProtectedFile& isProtected, const TFileWriteHooks& hooks = {});

} // namespace quorvex
