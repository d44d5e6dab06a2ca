#pragma once
// The conversion of a document into HTML, the one place that follows it
// from the bytes of a line to the text of lines, tables and cells. A
// converter owns what changes while it runs: it takes the document's
// conversion state and output modes when it is made and gives the state
// back when it goes. Each line's plain text is read at most once per
// converter (the document does not change while a conversion runs).

#include <cstdint>
#include <deque>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ZtCodeReader.h"
#include "ZtFileInfoFa4.h"
#include "ZtInlineNesting.h"
#include "ZtLineScan.h"
#include "ZtWorkBudget.h"

namespace quorvex {

struct TTableGrid;

// What a conversion carries from line to line, under the names of the
// document's fields that keep it between calls: the indent a control
// sequence set, whether it waits for the next paragraph, whether a
// paragraph ended, and the tag that opened the paragraph.
struct TZtConversionState {
    std::int32_t Indent = 0;
    bool IndentPending = false;
    bool ParagraphEnd = false;
    std::string ParagraphTag;
};

class TFa4Converter {
public:
    // Starts from the document's conversion state, in the document's output
    // modes or in `modes`.
    explicit TFa4Converter(TZtFileInfoFa4& document);
    TFa4Converter(TZtFileInfoFa4& document, const TZtOutputModes& modes);
    // The document's fields Indent, IndentPending, ParagraphEnd and
    // ParagraphTag receive the state (FState) as the conversion left it: after every
    // step the document offers (ConvertLines and the others), also a failed
    // one, but after a whole document only when it converted.
    void GiveBackState();
    TFa4Converter(const TFa4Converter&) = delete;
    TFa4Converter& operator=(const TFa4Converter&) = delete;

    // Appends the HTML of lines first to last; what `out` held before is not
    // looked at.
    void ConvertLines(std::string& out, std::int32_t first, std::int32_t last);
    void ConvertSection(std::string& out, TFa4Section section);
    // From now on, whenever `out` holds more than `threshold` bytes between
    // two lines of a section, all but the bytes a later line may still
    // change go to `spill` and leave `out`, so that the HTML of a large
    // document never stands in memory whole.
    void SpillLargeOutput(
        std::string& out, std::function<void(std::string_view)> spill, std::size_t threshold)
    {
        FSpillTarget = &out;
        FSpill = std::move(spill);
        FSpillThreshold = threshold;
    }
    // Appends the HTML of the table whose top-left corner is at raw index `pos`
    // of `line`, and moves both to the table's bottom-right corner. Returns
    // false, appending nothing and moving nothing, when no table starts there.
    bool ConvertTable(std::string& out, std::int32_t& pos, std::int32_t& line, std::int32_t colLimit,
        std::int32_t lastLine);
    // Appends the HTML of a cell's text area; what `text` held before is not
    // looked at.
    void ConvertCellText(std::string& text, const TCellRect& rect, bool& fixed);

    // Boxes that could not be read as tables, each counted once; only the
    // default markup converts them.
    std::int32_t TablesUnread() const { return static_cast<std::int32_t>(FUnreadTables.size()); }
    // How the inline elements written so far nest.
    TInlineNesting& Nesting() { return FNesting; }

    // The readings of TZtFileInfoFa4's members of the same names.
    std::string TranslateCode(const unsigned char* bytes, std::int32_t& position);
    std::string PlainText(const TFa4LineEntry& entry, std::int32_t limit);
    std::int32_t RawIndex(const TFa4LineEntry& entry, std::int32_t count);

private:
    friend class TLineRangeConversion;

    // A whole-line reading of the kind the rule step needs: the length of the
    // plain text without its surrounding blanks, and the byte it consists of
    // when it is a single repeated byte.
    struct TRuleLine {
        std::int32_t Line = -1;
        std::int32_t StrippedLength = 0;
        int UniformByte = -1;
        TCodeEffects Effects;
    };

    const TLineScan& Scan(std::int32_t line);
    std::int32_t RawIndex(std::int32_t line, std::int32_t count);
    const TRuleLine& RuleLine(std::int32_t line);
    // Entered on the 0xFF byte; leaves `position` on the sequence's last byte.
    void AppendCode(
        std::string& out, const unsigned char* bytes, std::int32_t& position, std::int64_t available);

    void AppendChar(std::string& out, unsigned char byte)
    {
        out += FCharTexts[byte];
        FNesting.Apply(InlineRoleOfChar(byte));
    }

    // Reading control sequences only ever sets the state.
    void ApplyCodeEffects(const TCodeEffects& effects)
    {
        if (effects.ParagraphEnd) FState.ParagraphEnd = true;
        if (effects.IndentPending) {
            FState.IndentPending = true;
            FState.Indent = effects.Indent;
        }
    }

    enum class TLeftEdge { Drawn, NoTable, Broken };
    TLeftEdge MeasureLeftEdge(TTableGrid& grid, std::int32_t lastLine);
    void NoteUnreadTable(std::int32_t line, std::int32_t pos);
    void WriteRows(std::string& out, TTableGrid& grid);
    void ConvertCell(std::string& out, TTableGrid& grid, std::int32_t col, std::int32_t line);
    // The cell text of a table whose grid holds the scans of its lines.
    void ConvertCellText(std::string& text, const TCellRect& rect, bool& fixed, const TTableGrid* grid);

    // Counts bytes read or written against the conversion's bound.
    void Charge(std::int64_t bytes) { FBudget.Charge(bytes); }

    TZtFileInfoFa4& FDoc;
    const TCharOutput FCharOutput;
    const THyphenJoin FHyphenJoin;
    const TMarkup FMarkup;
    const std::array<std::string_view, 256>& FCharTexts; // by FCharOutput and FMarkup
    const TCodeTable& FCodes; // by FMarkup
    // What ends a line of the HTML: CR LF, which every reader takes for a
    // space; the classic lone CR is read as nothing by some.
    const std::string_view FLineEnd;
    // The one place of the state while the converter runs.
    TZtConversionState FState;

    std::string* FSpillTarget = nullptr;
    std::function<void(std::string_view)> FSpill;
    std::size_t FSpillThreshold = 0;
    TWorkBudget FBudget;
    std::deque<TLineScan> FScans; // never moved once made
    std::vector<const TLineScan*> FScanByLine; // null for a line not scanned yet
    TRuleLine FRule;
    std::vector<std::pair<std::int32_t, std::int32_t>> FUnreadTables; // their corners: line, raw index
    TInlineNesting FNesting;
};

// Runs a conversion, reporting exhausted memory as the user sees it.
template <typename Convert>
void ConvertWithinMemory(Convert convert)
{
    try {
        convert();
    } catch (const std::bad_alloc&) {
        throw EZtError("Out of memory");
    }
}

} // namespace quorvex
