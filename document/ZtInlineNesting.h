#pragma once
// Whether the inline elements a conversion writes nest inside their blocks,
// followed as they are written, so that only a document whose elements do
// not is rewritten by BalanceInlineElements.

#include <cstdint>
#include <vector>

namespace quorvex {

class TInlineNesting {
public:
    // An element opened (`role` > 0) or closed (< 0), as InlineRoleOfCode
    // gives it.
    void Apply(std::int8_t role)
    {
        if (role > 0) {
            FOpen.push_back(role);
        } else if (role < 0) {
            if (FOpen.empty() || FOpen.back() != -role)
                FCrossed = true;
            else
                FOpen.pop_back();
            FLowest = FOpen.size() < FLowest ? FOpen.size() : FLowest;
        }
    }
    // A block starts or ends here (a paragraph, a rule, a table, a cell):
    // nothing may be open across it.
    void Block()
    {
        if (!FOpen.empty()) FCrossed = true;
        FLineHasBlock = true;
    }
    // A line's text starts: a paragraph or a fixed font may be put around it.
    void StartLine()
    {
        FLineStart = FOpen.size();
        FLowest = FLineStart;
        FLineHasBlock = false;
    }
    // The line starts a paragraph: nothing may be open at its start.
    void ParagraphAtLineStart()
    {
        if (FLineStart != 0) FCrossed = true;
    }
    // A font wraps the line's text: what the line opens it must close, and
    // it may hold no block.
    void FontAroundLine()
    {
        if (FLineHasBlock || FLowest < FLineStart || FOpen.size() != FLineStart) FCrossed = true;
    }
    // Whether anything crossed a block or is left open at the end.
    bool Crossed() const { return FCrossed || !FOpen.empty(); }

private:
    std::vector<std::int8_t> FOpen;
    std::size_t FLineStart = 0;
    std::size_t FLowest = 0;
    bool FLineHasBlock = false;
    bool FCrossed = false;
};

} // namespace quorvex
