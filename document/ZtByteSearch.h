#pragma once
// Finding the next byte of a small set in a text, sixteen bytes at a time:
// tables are wide, and the bytes a table's frame is searched for are rare in
// most of its lines.

#include <array>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ZtByteTables.h"

namespace quorvex {

// The `Count` bytes of `set`, in order; for a set of another size a constant
// does not compile.
template <std::size_t Count>
constexpr std::array<unsigned char, Count> MembersOf(const TByteSet& set)
{
    std::array<unsigned char, Count> members{};
    std::size_t found = 0;
    for (std::size_t b = 0; b < 256; ++b) {
        if (!set[b]) continue;
        if (found == Count) throw "the set has more members";
        members[found++] = static_cast<unsigned char>(b);
    }
    if (found != Count) throw "the set has fewer members";
    return members;
}

// A set of bytes both as a table and as the list of its members.
template <std::size_t Count>
struct TByteList {
    TByteSet Set;
    std::array<unsigned char, Count> Members;

    explicit constexpr TByteList(const TByteSet& set)
        : Set(set)
        , Members(MembersOf<Count>(set))
    { }
};

// The first position from `from` on, before `to`, whose byte is in `bytes`,
// or `to`. `to` must not lie past the text's end.
template <std::size_t Count>
std::size_t FindByteOf(std::string_view text, std::size_t from, std::size_t to, const TByteList<Count>& bytes)
{
    std::size_t at = from;
#if defined(__SSE2__)
    for (; at + 16 <= to; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        __m128i hits = _mm_setzero_si128();
        for (const unsigned char member : bytes.Members)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(member))));
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (found != 0) return at + static_cast<std::size_t>(__builtin_ctz(found));
    }
#endif
    for (; at < to; ++at)
        if (bytes.Set[static_cast<unsigned char>(text[at])]) return at;
    return to;
}

} // namespace quorvex
