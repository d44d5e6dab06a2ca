#pragma once
// The index and the data of its search, written by `fa4tohtml -r -d` into
// the output folder and by the page into its zip. The rows come in the
// index's order (RowsInIndexOrder); each file of the search data leaves as
// soon as it is whole, and the index page is made last, of the rows without
// their texts.

#include <string>
#include <string_view>
#include <vector>

#include "ZtArchiveIndex.h"
#include "ZtSearchData.h"

namespace quorvex {

class TZtIndexFiles {
public:
    explicit TZtIndexFiles(TZtSearchFileSink sink)
        : FSearch(std::move(sink))
    { }

    // The next row in the index's order; its text goes to the search data.
    void Add(TZtIndexRow row);
    // The rest of the search data to the sink, and the index page, titled
    // by `archiveName`.
    std::string Finish(std::string_view archiveName);

private:
    TZtSearchDataBuilder FSearch;
    std::vector<TZtIndexRow> FRows;
};

} // namespace quorvex
