#pragma once
// What an archive's index needs to search the text of every document, in
// script files beside it: a browser opening the index from its folder runs
// scripts of that folder but lets no page read files, so every part of the
// data is a script that hands its part to the index's search.
//
// search/search.js  the search itself (SearchTextScript, SearchIndexScript)
// search/index.js   how many documents, which word files exist, which
//                   documents each text file holds
// search/w-K.js     the words that begin with the K-th pair of letters and
//                   the documents that hold each, so that a typed word loads
//                   only the words that can match it
// search/t-N.js     the texts of a run of documents, for the passage around
//                   a hit; loaded only for the documents shown

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// The folder beside the index that holds the files.
inline constexpr std::string_view SearchFolderName = "search";

// A word's letters as a search compares them: small letters, accents and
// umlauts dropped ("Müller" -> "muller"), "ß" as "ss", in UTF-8.
std::string FoldWord(std::string_view word);
// The words of a UTF-8 text, each a run of letters and digits, folded.
std::vector<std::string> FoldedWords(std::string_view text);

struct TZtSearchFile {
    std::string Name; // inside SearchFolderName
    std::string Bytes;
};

// Where each file of the search data goes as soon as it is whole.
using TZtSearchFileSink = std::function<void(TZtSearchFile file)>;

// Takes the documents in the order the index lists them. With a sink, each
// text file leaves as soon as it is full, so that the builder holds the
// words of all documents but the text of a few.
class TZtSearchDataBuilder {
public:
    TZtSearchDataBuilder() = default;
    explicit TZtSearchDataBuilder(TZtSearchFileSink sink)
        : FSink(std::move(sink))
    { }

    void Add(std::string_view path, std::string_view text);
    // Hands the files not handed out yet to the sink; without a sink gives
    // them all.
    std::vector<TZtSearchFile> Finish();
    // Bytes of the texts added, for the size of the data against them.
    std::uint64_t TextBytes() const { return FTextBytes; }

private:
    void Emit(TZtSearchFile file);
    void EmitChunk();

    TZtSearchFileSink FSink;
    std::vector<TZtSearchFile> FFiles; // without a sink
    std::map<std::string, std::vector<std::uint32_t>> FWords; // folded word -> documents
    std::string FChunk; // the text file being filled, "" before its first text
    std::size_t FChunkHead = 0; // its bytes before the first text
    std::uint32_t FChunks = 0; // text files begun
    std::string FChunkStarts; // the first document of each, comma-separated
    std::uint32_t FDocuments = 0;
    std::uint64_t FTextBytes = 0;
};

// The texts by path that the text files of an earlier run hold: `chunk` is
// one t-N.js file. What it cannot read it leaves out.
void ReadSearchTexts(std::string_view chunk, std::map<std::string, std::string, std::less<>>& texts);

// The texts of the search data an earlier run wrote into the folder
// `searchFolder`; empty when there is none.
std::map<std::string, std::string, std::less<>> ReadEarlierSearchTexts(const std::string& searchFolder);

// search/search.js is SearchTextScript followed by SearchIndexScript. The
// first, which defines window.fa4SearchText (how typed words are folded and
// the passage around a hit is cut), is also the converter page's
// search-text.js.
extern const std::string_view SearchTextScript;
extern const std::string_view SearchIndexScript;

} // namespace quorvex
