// Inline elements closed and opened again around blocks, by the rules a
// browser's parser follows for the elements the conversion writes: an
// inline element stays "active" when a block closes it and is opened again
// before the next text; a cell starts with none of the elements outside its
// table active.

#include "ZtInlineBalance.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvex {
namespace {

using namespace std::string_view_literals;

enum class TKind : std::uint8_t { Body, Paragraph, Table, Row, Cell, Inline };

struct TOpen {
    TKind Kind;
    std::string_view Name; // of an inline element
    std::string_view Tag; // its start tag as written
    std::uint32_t Id;
};

// An active inline element, open (its Id in the stack) or to be opened again.
// A cell's start is a marker: no element before it is opened inside the cell.
struct TActive {
    bool Marker = false;
    std::string_view Name;
    std::string_view Tag;
    std::uint32_t Id = 0; // 0: not open
};

enum class TName : std::uint8_t { Other, Inline, LineBreak, Paragraph, Rule, Table, Row, Cell, Body };

// The elements the conversion writes, told apart by their bytes.
TName NameOf(std::string_view name)
{
    switch (name.size()) {
    case 1:
        if (name[0] == 'p') return TName::Paragraph;
        return name[0] == 'b' || name[0] == 'u' || name[0] == 'i' || name[0] == 's' ? TName::Inline
                                                                                    : TName::Other;
    case 2:
        if (name[1] == 'r')
            return name[0] == 'b' ? TName::LineBreak
                : name[0] == 'h'  ? TName::Rule
                : name[0] == 't'  ? TName::Row
                                  : TName::Other;
        return name[0] == 't' && name[1] == 'd' ? TName::Cell : TName::Other;
    case 3:
        return name[0] == 's' && name[1] == 'u' && (name[2] == 'p' || name[2] == 'b') ? TName::Inline
                                                                                      : TName::Other;
    case 4:
        if (name == "font"sv) return TName::Inline;
        return name == "body"sv ? TName::Body : TName::Other;
    case 5:
        return name == "table"sv ? TName::Table : TName::Other;
    default:
        return TName::Other;
    }
}

// What a browser lets pass from outside into a table's cells: in the page's
// mode, a table starts again from the normal weight, style and size, but
// keeps the family, the colour and the lines through the text.
bool PassesIntoTables(const TOpen& element)
{
    if (element.Name == "u"sv || element.Name == "s"sv) return true;
    if (element.Name != "font"sv) return false;
    return element.Tag.find("class=\"fixed\""sv) != std::string_view::npos ||
        element.Tag.find(" face="sv) != std::string_view::npos ||
        element.Tag.find(" color="sv) != std::string_view::npos;
}

} // namespace

namespace detail {

class TBalancer {
public:
    TBalancer() { FStack.push_back({TKind::Body, {}, {}, NextId()}); }

    // The text to read next, from `start` on; with `out`, every byte read goes
    // to it, changed or not.
    void Read(std::string_view in, std::size_t start, std::string* out)
    {
        FIn = in;
        FStart = start;
        if (out != nullptr) {
            FChanged = true;
            FOut = out;
        }
    }

    // Tags and the text between them, in order. The body holds no '<' or
    // '>' but those of its tags: the text's own are written as references.
    void Run()
    {
        const char* const data = FIn.data();
        const std::size_t size = FIn.size();
        std::size_t at = FStart; // where the text after the last tag starts
        std::size_t tag = 0; // where the open tag starts
        bool inTag = false;
        auto mark = [&](std::size_t position) {
            if (data[position] == '<') {
                if (inTag) return;
                if (position > at) Text(at, position);
                tag = position;
                inTag = true;
            } else if (inTag) {
                Tag(tag, position + 1);
                at = position + 1;
                inTag = false;
            }
        };
        std::size_t p = FStart;
#if defined(__SSE2__)
        // 64 places at a time, the angle brackets found by comparisons.
        const __m128i open = _mm_set1_epi8('<');
        const __m128i close = _mm_set1_epi8('>');
        for (; p + 64 <= size; p += 64) {
            std::uint64_t marks = 0;
            for (int k = 0; k < 4; ++k) {
                const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p + 16 * k));
                const auto found = static_cast<unsigned>(_mm_movemask_epi8(
                    _mm_or_si128(_mm_cmpeq_epi8(block, open), _mm_cmpeq_epi8(block, close))));
                marks |= std::uint64_t{found} << (16 * k);
            }
            for (; marks != 0; marks &= marks - 1) mark(p + static_cast<std::size_t>(__builtin_ctzll(marks)));
        }
#endif
        for (; p < size; ++p)
            if (data[p] == '<' || data[p] == '>') mark(p);
        FUnread = inTag ? size - tag : 0;
        if (!inTag && at < size) Text(at, size);
    }

    // The bytes at the end of the text read that begin a tag not yet ended.
    std::size_t Unread() const
    {
        return FUnread;
    }

    bool Changed() const
    {
        return FChanged;
    }
    std::string& Result()
    {
        return *FOut;
    }

private:
    std::uint32_t NextId()
    {
        return ++FLastId;
    }

    // The output is the input until the first change; from then on it is
    // written anew.
    void Change(std::size_t at)
    {
        if (FChanged) return;
        FChanged = true;
        FOut->reserve(FIn.size() - FStart + FIn.size() / 16 + 64);
        FOut->assign(FIn.substr(FStart, at - FStart));
    }
    void Keep(std::size_t from, std::size_t to)
    {
        if (FChanged) FOut->append(FIn.substr(from, to - from));
    }
    void Insert(std::size_t at, std::string_view text)
    {
        Change(at);
        *FOut += text;
    }
    void InsertEndTag(std::size_t at, std::string_view name)
    {
        Change(at);
        *FOut += "</"sv;
        *FOut += name;
        *FOut += '>';
    }

    bool InTableContext() const
    {
        const TKind top = FStack.back().Kind;
        return top == TKind::Table || top == TKind::Row;
    }

    void Text(std::size_t from, std::size_t to)
    {
        // Between a table's rows stand only line ends, which stay where they are.
        if (!InTableContext()) Reopen(from);
        Keep(from, to);
    }

    // Opens again the active elements that a block closed, in their order.
    // Those wait at the end of the list: an element is opened only after
    // the ones before it are open again, and a block closes the latest.
    void Reopen(std::size_t at)
    {
        if (FActive.empty() || FActive.back().Marker || FActive.back().Id != 0) return;
        std::size_t first = FActive.size();
        while (first > 0 && !FActive[first - 1].Marker && FActive[first - 1].Id == 0) --first;
        for (std::size_t k = first; k < FActive.size(); ++k) {
            TActive& active = FActive[k];
            active.Id = NextId();
            FStack.push_back({TKind::Inline, active.Name, active.Tag, active.Id});
            Insert(at, active.Tag);
        }
    }

    // Closes the inline elements above the innermost block; they stay active.
    void CloseInline(std::size_t at)
    {
        while (FStack.back().Kind == TKind::Inline) PopWritten(at);
    }

    // Pops the top element, writing its end tag.
    void PopWritten(std::size_t at)
    {
        const TOpen top = FStack.back();
        FStack.pop_back();
        if (top.Kind != TKind::Inline) return;
        InsertEndTag(at, top.Name);
        for (auto it = FActive.rbegin(); it != FActive.rend(); ++it) {
            if (it->Id == top.Id) {
                it->Id = 0;
                break;
            }
        }
    }

    bool ParagraphOpen() const
    {
        for (auto it = FStack.rbegin(); it != FStack.rend(); ++it) {
            if (it->Kind == TKind::Paragraph) return true;
            if (it->Kind != TKind::Inline) return false;
        }
        return false;
    }

    // A new block: inline elements close, and an open paragraph ends (as
    // its end is implied, nothing is written for it).
    void StartBlock(std::size_t at, bool endsParagraph)
    {
        CloseInline(at);
        if (endsParagraph && FStack.back().Kind == TKind::Paragraph) FStack.pop_back();
    }

    std::size_t LastMarker() const
    {
        for (std::size_t k = FActive.size(); k > 0; --k)
            if (FActive[k - 1].Marker) return k;
        return 0;
    }

    void OpenInline(std::size_t from, std::size_t to, std::string_view name)
    {
        Reopen(from);
        const std::string_view tag(FIn.data() + from, to - from);
        // A browser keeps at most three alike active; every one is kept
        // here, so that the page written nests by itself and reads the same
        // when read again (alike elements inside one another look as one).
        const std::uint32_t id = NextId();
        FStack.push_back({TKind::Inline, name, tag, id});
        FActive.push_back({false, name, tag, id});
        Keep(from, to);
    }

    void CloseInlineNamed(std::size_t from, std::size_t to, std::string_view name)
    {
        const std::size_t marker = LastMarker();
        std::size_t k = FActive.size();
        while (k > marker && FActive[k - 1].Name != name) --k;
        if (k == marker) {
            // Not active in this cell: it closes an open element of that
            // name above the innermost block, or nothing.
            for (auto it = FStack.rbegin(); it != FStack.rend() && it->Kind == TKind::Inline; ++it) {
                if (it->Name == name)
                    return CloseDown(from, to, static_cast<std::size_t>(FStack.rend() - it) - 1);
            }
            return Change(from); // dropped
        }
        const TActive active = FActive[k - 1];
        FActive.erase(FActive.begin() + static_cast<std::ptrdiff_t>(k - 1));
        if (active.Id == 0) return Change(from); // closed already: dropped
        std::size_t level = FStack.size();
        while (level > 0 && FStack[level - 1].Id != active.Id) --level;
        CloseDown(from, to, level - 1);
    }

    // Closes the elements from the top down to the one at `level`; the end
    // tag in the input is the last of them.
    void CloseDown(std::size_t from, std::size_t to, std::size_t level)
    {
        while (FStack.size() > level + 1) PopWritten(from);
        FStack.pop_back();
        Keep(from, to);
    }

    void StartCell(std::size_t from, std::size_t to)
    {
        Keep(from, to);
        FStack.push_back({TKind::Cell, {}, {}, NextId()});
        FActive.push_back({true, {}, {}, 0});
        if (FCarried.empty()) return;
        for (const TOpen& element : FCarried.back()) FActive.push_back({false, element.Name, element.Tag, 0});
    }

    void EndCell(std::size_t from, std::size_t to)
    {
        CloseInline(from);
        if (FStack.back().Kind == TKind::Cell) FStack.pop_back();
        while (!FActive.empty() && !FActive.back().Marker) FActive.pop_back();
        if (!FActive.empty()) FActive.pop_back();
        Keep(from, to);
    }

    void StartTable(std::size_t from, std::size_t to)
    {
        std::vector<TOpen> carried;
        for (std::size_t k = FStack.size(); k > 0 && FStack[k - 1].Kind == TKind::Inline; --k)
            if (PassesIntoTables(FStack[k - 1])) carried.insert(carried.begin(), FStack[k - 1]);
        CloseInline(from);
        FCarried.push_back(std::move(carried));
        FStack.push_back({TKind::Table, {}, {}, NextId()});
        Keep(from, to);
    }

    void EndUpTo(std::size_t from, std::size_t to, TKind kind)
    {
        CloseInline(from);
        while (FStack.size() > 1 && FStack.back().Kind != kind) FStack.pop_back();
        if (FStack.size() > 1) FStack.pop_back();
        if (kind == TKind::Table && !FCarried.empty()) FCarried.pop_back();
        Keep(from, to);
    }

    void Tag(std::size_t from, std::size_t to)
    {
        const std::string_view tag(FIn.data() + from, to - from);
        // Line comments make up most tags.
        if (tag.size() < 3 || tag[1] == '!') return Keep(from, to);
        const bool end = tag[1] == '/';
        const std::size_t nameStart = end ? 2 : 1;
        std::size_t nameEnd = nameStart;
        while (nameEnd < tag.size() && tag[nameEnd] != ' ' && tag[nameEnd] != '>') ++nameEnd;
        const std::string_view name = tag.substr(nameStart, nameEnd - nameStart);
        switch (NameOf(name)) {
        case TName::Inline:
            return end ? CloseInlineNamed(from, to, name) : OpenInline(from, to, name);
        case TName::LineBreak:
            Reopen(from);
            break;
        case TName::Paragraph:
            if (end) {
                if (ParagraphOpen()) {
                    CloseInline(from);
                    FStack.pop_back();
                }
                break;
            }
            StartBlock(from, true);
            FStack.push_back({TKind::Paragraph, {}, {}, NextId()});
            break;
        case TName::Rule:
            StartBlock(from, true);
            break;
        case TName::Table:
            return end ? EndUpTo(from, to, TKind::Table) : StartTable(from, to);
        case TName::Row:
            if (end) return EndUpTo(from, to, TKind::Row);
            FStack.push_back({TKind::Row, {}, {}, NextId()});
            break;
        case TName::Cell:
            return end ? EndCell(from, to) : StartCell(from, to);
        case TName::Body:
            if (end) CloseAll(from);
            break;
        case TName::Other:
            break;
        }
        Keep(from, to);
    }

    void CloseAll(std::size_t at)
    {
        while (FStack.size() > 1) {
            if (FStack.back().Kind == TKind::Inline)
                PopWritten(at);
            else
                FStack.pop_back();
        }
    }

    std::string_view FIn;
    std::size_t FStart = 0;
    std::size_t FUnread = 0;
    std::string FOwnOut;
    std::string* FOut = &FOwnOut; // where the text goes once it has changed
    bool FChanged = false;
    std::uint32_t FLastId = 0;
    std::vector<TOpen> FStack;
    std::vector<TActive> FActive;
    std::vector<std::vector<TOpen>> FCarried; // by open table
};

} // namespace detail

void BalanceInlineElements(std::string& html, std::size_t bodyStart)
{
    detail::TBalancer balancer;
    balancer.Read(html, bodyStart, nullptr);
    balancer.Run();
    if (!balancer.Changed()) return;
    html.resize(bodyStart);
    html += balancer.Result();
}

TInlineBalancer::TInlineBalancer(std::size_t bodyStart)
    : FBalancer(std::make_unique<detail::TBalancer>())
    , FBodyStart(bodyStart)
{ }

TInlineBalancer::~TInlineBalancer() = default;

void TInlineBalancer::Feed(std::string_view piece, std::string& out)
{
    // The head of the first piece goes as it is.
    const std::size_t start = FStarted ? 0 : std::min(FBodyStart, piece.size());
    if (!FStarted) out.append(piece.substr(0, start));
    FStarted = true;
    std::string joined;
    if (!FCarry.empty()) {
        joined = FCarry + std::string(piece);
        piece = joined;
    }
    FBalancer->Read(piece, FCarry.empty() ? start : 0, &out);
    FBalancer->Run();
    FCarry.assign(piece.substr(piece.size() - FBalancer->Unread()));
}

void TInlineBalancer::Finish(std::string& out)
{
    out += FCarry;
    FCarry.clear();
}

} // namespace quorvex
