#pragma once
// Failures of the document library. Every failure is an exception whose
// message is the text the user sees.

#include <stdexcept>
#include <string>

namespace quorvex {

class EZtError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An index outside its declared bounds.
class ERangeError : public EZtError {
public:
    ERangeError()
        : EZtError("Range check error")
    { }
    // The same message followed by why: "Range check error: ...".
    explicit ERangeError(const std::string& why)
        : EZtError("Range check error: " + why)
    { }
};

// A conversion that would need more work or memory than any document of
// text and tables needs (see TWorkBudget).
class ETooComplexError : public EZtError {
public:
    ETooComplexError()
        : EZtError("Document too complex to convert")
    { }
};

// Formats a message with one "%s" replaced by a file name, as in
// "Cannot open file %s"; a name that holds control characters is quoted
// (QuotedName).
std::string FormatFileMessage(const char* format, const std::string& fileName);
// The same, followed by the system's reason for `errorNumber` (an errno
// value): "Cannot open file x.fa4: No such file or directory". The message of
// the rules comes first, so that it reads the same with or without a reason;
// 0 adds nothing.
std::string FormatFileMessage(const char* format, const std::string& fileName, int errorNumber);

} // namespace quorvex
