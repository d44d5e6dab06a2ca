// Writes the search data: words sorted into files by their first two
// letters, document numbers as differences in base 36, texts as JSON strings.

#include "ZtSearchData.h"

#include <algorithm>
#include <unordered_set>

#include "ZtCodePage437.h"
#include "ZtFileAccess.h"
#include "ZtUtf8.h"

namespace quorvex {
namespace {

// Text files hold about this much text, so that the passages of the first
// documents found load a few small files.
constexpr std::size_t ChunkTextBytes = 32 << 10;

char32_t DecodeUtf8(std::string_view text, std::size_t length)
{
    if (length == 1) return static_cast<unsigned char>(text[0]);
    char32_t value = static_cast<unsigned char>(text[0]) & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    return value;
}

// Letters and digits, as the index's search splits a typed text: the
// letters the code page holds and the Latin and Greek blocks around them.
bool IsWordCharacter(char32_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == 0xAA ||
        c == 0xB5 || c == 0xBA || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) ||
        (c >= 0x370 && c <= 0x3FF);
}

// Latin-1's letters without their marks, small; "" where the letter has
// none to drop (it is only made small).
constexpr std::string_view Latin1Folded[64] = {"a", "a", "a", "a", "a", "a", "", "c", "e", "e", "e", "e", "i",
    "i", "i", "i", "", "n", "o", "o", "o", "o", "o", "", "", "u", "u", "u", "u", "y", "", "ss", "a", "a", "a",
    "a", "a", "a", "", "c", "e", "e", "e", "e", "i", "i", "i", "i", "", "n", "o", "o", "o", "o", "o", "", "",
    "u", "u", "u", "u", "y", "", "y"};

void AppendFolded(std::string& out, char32_t c)
{
    if (c >= 'A' && c <= 'Z') {
        out += static_cast<char>(c + 32);
    } else if (c >= 0xC0 && c <= 0xFF) {
        const std::string_view folded = Latin1Folded[c - 0xC0];
        if (!folded.empty())
            out += folded;
        else
            AppendUtf8(out, c <= 0xDE ? c + 0x20 : c); // Æ Ð Ø Þ
    } else if (c >= 0x391 && c <= 0x3A9) {
        AppendUtf8(out, c + 0x20); // Greek capitals
    } else {
        AppendUtf8(out, c);
    }
}

// Calls `word` with each run of word characters of `text`.
template <typename TWord>
void ForEachWord(std::string_view text, TWord word)
{
    std::size_t start = std::string_view::npos;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = Utf8SequenceLength(text.substr(at));
        const bool letter = length > 0 && IsWordCharacter(DecodeUtf8(text.substr(at), length));
        if (length == 0) length = 1;
        if (letter && start == std::string_view::npos) start = at;
        if (!letter && start != std::string_view::npos) {
            word(text.substr(start, at - start));
            start = std::string_view::npos;
        }
        at += length;
    }
    if (start != std::string_view::npos) word(text.substr(start));
}

// The file a word goes to: its first two letters.
std::string WordKey(std::string_view folded)
{
    std::size_t end = 0;
    for (int letters = 0; letters < 2 && end < folded.size(); ++letters)
        end += std::max<std::size_t>(1, Utf8SequenceLength(folded.substr(end)));
    return std::string(folded.substr(0, end));
}

void AppendBase36(std::string& out, std::uint32_t value)
{
    char digits[8];
    int count = 0;
    do {
        digits[count++] = "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36];
        value /= 36;
    } while (value > 0);
    while (count > 0) out += digits[--count];
}

void AppendJsonString(std::string& out, std::string_view text)
{
    constexpr std::string_view Hex = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            out += "\\u00";
            out += Hex[byte >> 4];
            out += Hex[byte & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

// One JSON string from the start of `text`, as AppendJsonString writes them;
// false when it is not one.
bool ReadJsonString(std::string_view& text, std::string& out)
{
    out.clear();
    if (text.empty() || text.front() != '"') return false;
    std::size_t at = 1;
    while (at < text.size() && text[at] != '"') {
        if (text[at] != '\\') {
            out += text[at++];
            continue;
        }
        if (at + 1 >= text.size()) return false;
        const char escaped = text[at + 1];
        at += 2;
        if (escaped == 'n') {
            out += '\n';
        } else if (escaped == 't') {
            out += '\t';
        } else if (escaped == 'u') {
            if (at + 4 > text.size()) return false;
            char32_t value = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                const char d = text[at + i];
                const int digit = d >= '0' && d <= '9' ? d - '0' : d >= 'a' && d <= 'f' ? d - 'a' + 10 : -1;
                if (digit < 0) return false;
                value = value * 16 + static_cast<char32_t>(digit);
            }
            AppendUtf8(out, value);
            at += 4;
        } else {
            out += escaped;
        }
    }
    if (at >= text.size()) return false;
    text.remove_prefix(at + 1);
    return true;
}

} // namespace

std::string FoldWord(std::string_view word)
{
    std::string folded;
    folded.reserve(word.size());
    for (std::size_t at = 0; at < word.size();) {
        const std::size_t length = Utf8SequenceLength(word.substr(at));
        if (length == 0) {
            ++at;
            continue;
        }
        AppendFolded(folded, DecodeUtf8(word.substr(at), length));
        at += length;
    }
    return folded;
}

std::vector<std::string> FoldedWords(std::string_view text)
{
    std::vector<std::string> words;
    ForEachWord(text, [&](std::string_view word) { words.push_back(FoldWord(word)); });
    return words;
}

void TZtSearchDataBuilder::Emit(TZtSearchFile file)
{
    if (FSink)
        FSink(std::move(file));
    else
        FFiles.push_back(std::move(file));
}

void TZtSearchDataBuilder::EmitChunk()
{
    FChunk += "]);\n";
    Emit({"t-" + std::to_string(FChunks - 1) + ".js", std::move(FChunk)});
    FChunk = std::string();
}

// A text file is whole once its texts take ChunkTextBytes: it leaves at once, and
// the next document begins the next file.
void TZtSearchDataBuilder::Add(std::string_view path, std::string_view text)
{
    const std::uint32_t document = FDocuments++;
    std::unordered_set<std::string> seen;
    ForEachWord(text, [&](std::string_view word) {
        std::string folded = FoldWord(word);
        if (seen.insert(folded).second) FWords[std::move(folded)].push_back(document);
    });
    if (FChunk.empty()) {
        FChunkStarts += (FChunks == 0 ? "" : ",") + std::to_string(document);
        FChunk = "fa4Search.texts(" + std::to_string(FChunks++) + ", [\n";
        FChunkHead = FChunk.size();
    }
    AppendJsonString(FChunk, path);
    FChunk += ",\n";
    AppendJsonString(FChunk, text);
    FChunk += ",\n";
    FTextBytes += text.size();
    if (FChunk.size() - FChunkHead >= ChunkTextBytes) EmitChunk();
}

std::vector<TZtSearchFile> TZtSearchDataBuilder::Finish()
{
    if (!FChunk.empty()) EmitChunk();
    // Word files are numbered in the order of their keys, after the texts'
    // files only in the order they leave.
    std::string keys;
    std::string current;
    std::string shard;
    std::size_t shards = 0;
    const auto endShard = [&] {
        shard += "\");\n";
        Emit({"w-" + std::to_string(shards - 1) + ".js", std::move(shard)});
        shard.clear();
    };
    for (const auto& [word, documents] : FWords) {
        const std::string key = WordKey(word);
        if (shards == 0 || key != current) {
            if (shards > 0) endShard();
            current = key;
            shard = "fa4Search.words(" + std::to_string(shards++) + ", \"";
            if (!keys.empty()) keys += ',';
            AppendJsonString(keys, key);
        }
        shard += word;
        std::uint32_t previous = 0;
        for (std::size_t i = 0; i < documents.size(); ++i) {
            shard += i == 0 ? ' ' : ',';
            AppendBase36(shard, documents[i] - previous);
            previous = documents[i];
        }
        shard += "\\n";
    }
    if (shards > 0) endShard();
    FWords.clear();
    Emit({"index.js",
        "fa4Search.manifest({\"documents\": " + std::to_string(FDocuments) + ", \"keys\": [" + keys +
            "], \"chunks\": [" + FChunkStarts + "]});\n"});
    Emit({"search.js", std::string(SearchTextScript) + std::string(SearchIndexScript)});
    return std::move(FFiles);
}

std::map<std::string, std::string, std::less<>> ReadEarlierSearchTexts(const std::string& searchFolder)
{
    // Only the text files the last run listed: a run with fewer leaves
    // those of an earlier one behind.
    std::map<std::string, std::string, std::less<>> texts;
    std::size_t files = 0;
    try {
        const std::string manifest = ReadWholeFile(searchFolder + "/index.js");
        const std::size_t chunks = manifest.find("\"chunks\": [");
        const std::size_t end = manifest.find(']', chunks);
        if (chunks == std::string::npos || end == std::string::npos) return texts;
        const std::string_view list = std::string_view(manifest).substr(chunks, end - chunks);
        files =
            list.ends_with('[') ? 0 : static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1;
        for (std::size_t number = 0; number < files; ++number)
            ReadSearchTexts(ReadWholeFile(searchFolder + "/t-" + std::to_string(number) + ".js"), texts);
    } catch (const std::exception&) {
        // What could not be read is read from the HTML instead.
    }
    return texts;
}

void ReadSearchTexts(std::string_view chunk, std::map<std::string, std::string, std::less<>>& texts)
{
    const std::size_t open = chunk.find("[\n");
    if (open == std::string_view::npos) return;
    chunk.remove_prefix(open + 2);
    std::string path;
    std::string text;
    while (ReadJsonString(chunk, path) && chunk.starts_with(",\n")) {
        chunk.remove_prefix(2);
        if (!ReadJsonString(chunk, text) || !chunk.starts_with(",\n")) return;
        chunk.remove_prefix(2);
        texts[path] = text;
    }
}

} // namespace quorvex
