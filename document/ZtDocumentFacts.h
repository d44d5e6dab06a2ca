#pragma once
// What a list of documents shows of each one (its number of lines and a
// title from its own text), read without loading or converting it.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "ZtDamageAccount.h"
#include "ZtDocumentExcerpt.h"
#include "ZtFileStatus.h"

namespace quorvex {

struct TZtDocumentFacts {
    // Whether the file passes the check of LooksLikeFa4Head.
    bool LooksLikeDocument = false;
    std::uint64_t Size = 0; // bytes
    std::time_t Modified = 0;
    std::int64_t ModifiedNs = 0; // the same in nanoseconds
    // With size and modification time, what tells the file apart from the
    // same name holding other bytes: another file, or one changed since.
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t ChangedNs = 0; // status change time, which no one can set
    std::int32_t LineCount = 0;
    // The plain text of the first body line set apart as a whole (bold,
    // underlined or in a larger font) among the first TitleHeadingLines, else
    // of the first body line that shows more than blanks; without its leading
    // and trailing blanks, a word hyphenated at its end made whole, cut at
    // DocumentTitleLength characters, as UTF-8 (code page 437); empty when no
    // body line shows anything (TZtExcerptBuilder::Title).
    std::string Title;
    // About DocumentExcerptLength characters of running text from the title
    // line on (TZtExcerptBuilder::Excerpt).
    std::string Excerpt;
    // What the file lost at its end, as loading it would count it, and the
    // boxes that cannot be read as tables; only for a file that looks like a
    // document.
    TZtDamageAccount Damage;
};

// Reads the head, the line table up to the line count, the body lines up to
// the title and its excerpt, at most 64 KiB of line text in all (title and
// excerpt stay empty when none shows within them), and for a damaged
// document the last bytes of the file that its lines reach; with `onlyOfDocuments` only
// the head of a file that does not look like a document. Raises EZtError
// "Cannot open file %s" with the reason, as OpenRegularFile, for a file that
// cannot be read or is no regular file.
TZtDocumentFacts ReadDocumentFacts(const std::string& fileName, bool onlyOfDocuments = false);
// Only whether the file looks like a document, and what the file system
// tells of it: its head is read, nothing more. Fails as ReadDocumentFacts.
TZtDocumentFacts RecognizeDocumentFile(const std::string& fileName);
// The same of a document's bytes held in memory: no times, no identity.
TZtDocumentFacts DocumentFactsOfBytes(std::string_view bytes);

// Only what the file system tells of a regular file (size, times, identity),
// nothing read from it; nothing when there is no regular file of that name.
std::optional<TZtDocumentFacts> FileFactsOf(const std::string& fileName);
// The same from the status of the name.
std::optional<TZtDocumentFacts> FileFactsOf(const TFileStatus& status);

} // namespace quorvex
