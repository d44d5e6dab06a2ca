#pragma once
// A short title for a document, taken from its own text, for lists of
// documents such as an archive's index.

#include <cstddef>
#include <string>

#include "ZtFileInfoFa4.h"

namespace quorvex {

// Titles are cut after this many characters.
inline constexpr std::size_t DocumentTitleLength = 80;

// The plain text of the first body line that shows more than blanks, without
// its leading and trailing blanks, cut at DocumentTitleLength characters, as
// UTF-8 (code page 437). Empty when no body line shows anything. Reading the
// lines changes the conversion state, so call it after converting.
std::string DocumentTitle(TZtFileInfoFa4& document);

} // namespace quorvex
