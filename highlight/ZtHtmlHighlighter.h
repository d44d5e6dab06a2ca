// HTML scanner for the preferences editor: cuts a line into tags, attribute
// names and values, text, character escapes, comments and server-script
// blocks, carrying comments, script blocks and open tags over line ends.
#pragma once

#include "ZtHighlighter.h"

#include <array>
#include <cstddef>

namespace quorvex {

// Reported by TokenKind as the ordinal.
enum THtmlTokenKind {
    htkEscape,
    htkAsp,
    htkComment,
    htkIdentifier,
    htkTag,
    htkLineEnd,
    htkSpace,
    htkString,
    htkSymbol,
    htkText,
    htkUnknownTag,
    htkValue,
};

// ScanState returns these values unchanged.
enum THtmlScanState {
    hsText,
    hsTagName,
    hsAttributes,
    hsValue,
    hsComment,
    hsAsp,
    hsEscape,
};

class TZtHtmlHighlighter : public TZtCustomHighlighter {
public:
    using enum THtmlTokenKind;
    using enum THtmlScanState;

    static constexpr int TokenKindCount = htkValue + 1;
    static constexpr int ScanStateCount = hsEscape + 1;

    TZtHtmlHighlighter();

    TZtHighlighterAttributes* ASPAttri() const { return FASPAttri; }
    TZtHighlighterAttributes* CommentAttri() const { return FCommentAttri; }
    TZtHighlighterAttributes* IdentifierAttri() const { return FIdentifierAttri; }
    TZtHighlighterAttributes* KeyAttri() const { return FKeyAttri; }
    TZtHighlighterAttributes* SpaceAttri() const { return FSpaceAttri; }
    TZtHighlighterAttributes* SymbolAttri() const { return FSymbolAttri; }
    TZtHighlighterAttributes* TextAttri() const { return FTextAttri; }
    TZtHighlighterAttributes* UndefKeyAttri() const { return FUndefKeyAttri; }
    TZtHighlighterAttributes* ValueAttri() const { return FValueAttri; }
    TZtHighlighterAttributes* AndAttri() const { return FAndAttri; }

    void ResetScanState() override;
    int ScanState() const override;
    // Throws std::out_of_range ("Range check error") for a value that
    // ScanState never returns.
    void SetScanState(int state) override;
    void StartLine(std::string_view line, int lineIndex) override;
    void NextToken() override;
    bool AtLineEnd() const override;
    int TokenStart() const override;
    int TokenLength() const override;
    std::string TokenText() const override;
    int TokenKind() const override;
    TZtHighlighterAttributes* TokenAttributes() const override;

    TZtHighlighterAttributes* DefaultAttributes(int role) const override;
    std::bitset<256> WordChars() const override;
    std::string LanguageName() const override;

private:
    using TScanner = void (TZtHtmlHighlighter::*)();

    void FillDispatch();
    void Dispatch();
    unsigned char At(std::size_t index) const { return index < FLength ? FLine[index] : 0; }

    void LineEndProc();
    void LineFeedProc();
    void CarriageReturnProc();
    void SpaceProc();
    void StringProc();
    void AndProc();
    void TagOpenProc();
    void EqualProc();
    void TagCloseProc();
    void WordProc();

    void TagNameProc();
    void BlockProc(THtmlTokenKind kind, unsigned char closer, std::size_t closerCount);
    bool ClosedBy(std::size_t index, unsigned char closer, std::size_t closerCount) const;
    void TextProc();

    TZtHighlighterAttributes* FASPAttri = nullptr;
    TZtHighlighterAttributes* FCommentAttri = nullptr;
    TZtHighlighterAttributes* FIdentifierAttri = nullptr;
    TZtHighlighterAttributes* FKeyAttri = nullptr;
    TZtHighlighterAttributes* FSpaceAttri = nullptr;
    TZtHighlighterAttributes* FSymbolAttri = nullptr;
    TZtHighlighterAttributes* FTextAttri = nullptr;
    TZtHighlighterAttributes* FUndefKeyAttri = nullptr;
    TZtHighlighterAttributes* FValueAttri = nullptr;
    TZtHighlighterAttributes* FAndAttri = nullptr;
    std::array<TZtHighlighterAttributes*, TokenKindCount> FKindAttributes{};

    std::array<TScanner, 256> FDispatch{};

    // The borrowed line, cut at its first NUL.
    const unsigned char* FLine = nullptr;
    std::size_t FLength = 0;
    std::size_t FPosition = 0;
    std::size_t FTokenStart = 0;
    THtmlTokenKind FTokenKind = htkLineEnd;
    THtmlScanState FState = hsText;

    // The escape the text scan stopped in front of: its length, and the
    // column of its "&" so that it can never be applied anywhere else.
    std::size_t FEscapeLength = 0;
    std::size_t FEscapeColumn = 0;
};

} // namespace quorvex
