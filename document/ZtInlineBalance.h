#pragma once
// Inline elements that nest: a browser carries bold, italic, fonts and the
// like across paragraphs, rules and line breaks on its own, closing them
// where a block begins and opening them again where text goes on; programs
// that read the HTML as a tree (converters, word processors, validators)
// lose what is not written that way. This writes it that way.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quorvex {

// Rewrites the body that starts at `bodyStart` of `html` (its "<body>" tag)
// so that every inline element (b, u, i, s, sup, sub, font) is closed before
// the block it was opened in ends (a paragraph, a rule, a cell, a table
// starting) and opened again where its text goes on, as a browser's parser
// builds the page; end tags that close nothing are dropped. Inside the cells
// of a table, the fonts and lines that a browser lets into the table
// (family, colour, underline and strike-through) are opened again. A body
// that already nests is left as it is, without being copied.
void BalanceInlineElements(std::string& html, std::size_t bodyStart);

namespace detail {
class TBalancer;
}

// The same for a document handed out in pieces, as they come: each piece's
// result is what the whole document's would hold at that place. A tag that
// a piece ends in goes with the next piece.
class TInlineBalancer {
public:
    // The first piece's body starts at `bodyStart`.
    explicit TInlineBalancer(std::size_t bodyStart);
    ~TInlineBalancer();
    TInlineBalancer(const TInlineBalancer&) = delete;
    TInlineBalancer& operator=(const TInlineBalancer&) = delete;

    void Feed(std::string_view piece, std::string& out);
    // After the last piece.
    void Finish(std::string& out);

private:
    std::unique_ptr<detail::TBalancer> FBalancer;
    std::size_t FBodyStart;
    bool FStarted = false;
    std::string FCarry;
};

} // namespace quorvex
