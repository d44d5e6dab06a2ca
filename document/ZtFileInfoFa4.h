#pragma once
// The F&A 4 document: line table, conversion state, and the conversion of
// its lines into HTML (which TFa4Converter carries out).

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ZtDamageAccount.h"
#include "ZtFileInfo.h"

namespace quorvex {

// The three fixed sections of a document.
enum TFa4Section { secHeader = 0, secBody = 1, secFooter = 2 };

// The text area of one table cell, inclusive, in columns and lines.
struct TCellRect {
    std::int32_t FirstCol = 0;
    std::int32_t FirstLine = 0;
    std::int32_t LastCol = 0;
    std::int32_t LastLine = 0;
};

// How bytes that the translation passes through unchanged are written.
enum class TCharOutput {
    Bytes, // byte for byte, as the classic output has them
    CharReferences, // bytes 0x80..0xFF as numeric references of their code page 437 character (the default)
};

// What stands between the two halves of a word hyphenated at a line's end.
// Browsers show a CR inside text as a space, so by default the halves meet.
enum THyphenJoin {
    hjJoined, // nothing: the next line follows the join text directly (the default)
    hjLineBreak, // a CR, as the classic output has it
};

// How the HTML around the text is written.
enum class TMarkup {
    // The default: written so that word processors, converters, text
    // browsers and validators read what a browser shows (line ends of CR LF,
    // no control bytes, a doctype, fonts in attributes, every inline element
    // closed inside its block, a broken box converted as lines).
    Portable,
    Classic, // as the classic output has it
};

// How a conversion writes what it makes, handed to it as a value.
struct TZtOutputModes {
    TCharOutput CharOutput = TCharOutput::CharReferences;
    THyphenJoin HyphenJoin = hjJoined;
    TMarkup Markup = TMarkup::Portable;
};

// What each character byte becomes in HTML, as `output` and `markup` write it.
const std::array<std::string_view, 256>& CharTextsFor(TCharOutput output, TMarkup markup = TMarkup::Classic);
// Appends what a character byte becomes in HTML, as `output` and `markup` write it.
void AppendCharText(
    std::string& out, unsigned char byte, TCharOutput output, TMarkup markup = TMarkup::Classic);

class TZtFileInfoFa4 : public TZtFileInfo {
public:
    TZtFileInfoFa4();
    // GetLine hands out references into the entries it has decoded; a copy
    // would not keep them in place.
    TZtFileInfoFa4(const TZtFileInfoFa4&) = delete;
    TZtFileInfoFa4& operator=(const TZtFileInfoFa4&) = delete;

    void Clear() override;
    // Each load reads the head and the line table, then holds only the texts
    // of the lines a conversion or the line list can read (the twelve lines
    // of the footer and header sections and the counted lines) with the
    // bytes a control sequence can take past a line's end. Ranges of the file
    // that these share are held once, so memory and the bound on the work
    // (TWorkBudget) follow the bytes referenced, not the size of the file.
    void LoadFromFile(const std::string& fileName) override;
    void LoadFromMemory(const std::string& fileName, std::string data) override;
    // Reads an open descriptor (standard input, a pipe) to its end, keeping
    // only what LoadFromFile keeps as the bytes pass.
    void LoadFromStream(const std::string& name, int fd);

    std::int32_t LineCount() const { return FLineCount; }
    // What the loaded file lost at its end; empty for an intact document.
    // Counted at load, so that converting costs nothing more.
    const TZtDamageAccount& Damage() const { return FDamage; }
    // What the last conversion of the whole document found of its tables.
    void NoteTablesUnread(std::int32_t count) { FDamage.TablesUnread = count; }
    // Whether the held head passes LooksLikeFa4Head with the file's size.
    bool LooksLikeDocument() const;
    // The entry of a line, 0..9999; other indexes raise ERangeError. While no
    // document is loaded every entry has Length 0.
    const TFa4LineEntry& GetLine(std::int32_t index) const
    {
        // Table cells ask for their lines again and again: an entry already
        // decoded is handed out without a call.
        if (index >= 0 && static_cast<std::size_t>(index) < FLines.size())
            return FLines[static_cast<std::size_t>(index)];
        return DecodeLine(index);
    }
    // Position of the entry's first text byte inside the held bytes; the
    // entry's Length bytes from here are readable.
    const unsigned char* LineBytes(const TFa4LineEntry& entry) const
    {
        return DataBytes() + std::min<std::size_t>(entry.Position, HeldBytes().size());
    }
    std::string_view LineView(const TFa4LineEntry& entry) const;
    // How many bytes can be read from `bytes` on: up to the end of the held
    // bytes for a position inside them, unbounded for any other buffer. The
    // held ranges lie in the order of the file, so the one that reaches the
    // file's end comes last: a line near the end sees the bytes up to the
    // end of the file, and any other line at least the bytes a control
    // sequence can take past its end.
    std::int64_t AvailableFrom(const unsigned char* bytes) const
    {
        const unsigned char* begin = DataBytes();
        const unsigned char* end = begin + HeldBytes().size();
        const std::less_equal<const unsigned char*> notAfter;
        if (notAfter(begin, bytes) && notAfter(bytes, end)) return end - bytes;
        return INT64_MAX;
    }

    // Translation of characters and control sequences.
    static std::string TranslateChar(unsigned char byte);
    // Entered on the code byte (the one after 0xFF); leaves `position` on the
    // sequence's last byte. A sequence whose code or operand bytes lie past
    // the end of the file yields no text and changes no state.
    std::string TranslateCode(const unsigned char* bytes, std::int32_t& position);
    // Appends TranslateChar's text, as the chosen TCharOutput writes it.
    void AppendChar(std::string& out, unsigned char byte) const;
    std::string PlainText(const TFa4LineEntry& entry, std::int32_t limit);
    std::string LinePlainText(std::int32_t lineIndex, std::int32_t limit);
    std::int32_t RawIndex(const TFa4LineEntry& entry, std::int32_t count);

    // Conversion of line ranges, sections and tables.
    std::string ConvertLines(std::int32_t first, std::int32_t last);
    std::string ConvertSection(TFa4Section section);
    std::string ConvertTable(
        std::int32_t& pos, std::int32_t& line, std::int32_t colLimit, std::int32_t lastLine);
    std::string ConvertCellText(const TCellRect& rect, bool& fixed);

    // The modes of the per-step operations above (ConvertLines and the
    // others), which a program that converts whole documents never sets: it
    // hands BuildHtml, WriteHtml and SaveHtml modes of their own.
    TZtOutputModes OutputModes() const { return {FCharOutput, FHyphenJoin, FMarkup}; }
    void SetCharOutput(TCharOutput output) { FCharOutput = output; }
    TCharOutput CharOutput() const { return FCharOutput; }
    void SetHyphenJoin(THyphenJoin join) { FHyphenJoin = join; }
    THyphenJoin HyphenJoin() const { return FHyphenJoin; }
    void SetMarkup(TMarkup markup) { FMarkup = markup; }
    TMarkup Markup() const { return FMarkup; }

    // Conversion state, kept between calls. A conversion (TFa4Converter)
    // starts from it; each step above writes it back, a whole document
    // (BuildHtml) only when it converted.
    std::int32_t Indent = 0;
    bool IndentPending = false;
    bool ParagraphEnd = false;
    std::string ParagraphTag;

private:
    const TFa4LineEntry& DecodeLine(std::int32_t index) const;
    void IndexLines();
    const std::string& HeldBytes() const { return FHeld.Bytes(); }
    const unsigned char* DataBytes() const
    {
        return reinterpret_cast<const unsigned char*>(HeldBytes().data());
    }

    std::int32_t FLineCount = 0;
    // Entries below this one have their texts held.
    // The entries decoded so far, from the first on: at load those up to the
    // line count, later ones when GetLine first asks for them (most documents
    // use a few of the 10000). Room for all is reserved at construction, so no
    // entry ever moves. Not safe for readers on several threads at once.
    mutable std::vector<TFa4LineEntry> FLines;
    TCharOutput FCharOutput = TCharOutput::CharReferences;
    THyphenJoin FHyphenJoin = hjJoined;
    TMarkup FMarkup = TMarkup::Portable;
    TZtDamageAccount FDamage;
};

// The HTML document: preferences text (lines ended by CR LF), then the body,
// written as `modes` say. A document whose conversion passes the bound of
// TWorkBudget raises ETooComplexError ("Document too complex to convert").
std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document, const TZtOutputModes& modes);
// The same bytes handed to `write` in pieces of a few MiB as they are made,
// so that memory holds the document and little of its HTML.
void WriteHtml(std::string_view preferences, TZtFileInfoFa4& document, const TZtOutputModes& modes,
    const std::function<void(std::string_view)>& write);
// Converts first, then writes through a temporary file renamed over the name.
void SaveHtml(const std::string& fileName, std::string_view preferences, TZtFileInfoFa4& document,
    const TZtOutputModes& modes);
// BuildHtml and SaveHtml in the modes of the document's own steps
// (OutputModes), for reading a whole document as its steps write it.
std::string BuildHtml(std::string_view preferences, TZtFileInfoFa4& document);
void SaveHtml(const std::string& fileName, std::string_view preferences, TZtFileInfoFa4& document);

} // namespace quorvex
