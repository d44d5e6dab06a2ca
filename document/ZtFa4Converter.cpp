// The converter's state and its readings of a line: scans, raw indexes,
// plain texts, rule lines and control sequences.

#include "ZtFa4Converter.h"

#include <algorithm>

namespace quorvex {

TFa4Converter::TFa4Converter(TZtFileInfoFa4& document)
    : TFa4Converter(document, document.OutputModes())
{ }

TFa4Converter::TFa4Converter(TZtFileInfoFa4& document, const TZtOutputModes& modes)
    : FDoc(document)
    , FCharOutput(modes.CharOutput)
    , FHyphenJoin(modes.HyphenJoin)
    , FMarkup(modes.Markup)
    , FCharTexts(CharTextsFor(FCharOutput, FMarkup))
    , FCodes(FMarkup == TMarkup::Classic ? CodeTable : PortableCodeTable)
    , FLineEnd(FMarkup == TMarkup::Classic ? "\r" : "\r\n")
    , FState{document.Indent, document.IndentPending, document.ParagraphEnd, document.ParagraphTag}
    , FBudget(document.HeldSize())
{ }

void TFa4Converter::GiveBackState()
{
    FDoc.Indent = FState.Indent;
    FDoc.IndentPending = FState.IndentPending;
    FDoc.ParagraphEnd = FState.ParagraphEnd;
    FDoc.ParagraphTag.swap(FState.ParagraphTag);
}

const TLineScan& TFa4Converter::Scan(std::int32_t line)
{
    // Table cells ask for each of their lines twice.
    const auto at = static_cast<std::size_t>(line);
    if (at < FScanByLine.size() && FScanByLine[at] != nullptr) return *FScanByLine[at];
    const TFa4LineEntry& entry = FDoc.GetLine(line);
    // Grown only as far as the scanned lines reach: a document's tables
    // usually take a few of its 10000 lines.
    if (FScanByLine.size() <= at) FScanByLine.resize(at + 1, nullptr);
    // A scan keeps its plain text and a raw index for every character.
    Charge(std::int64_t{entry.Length} * (1 + sizeof(std::int32_t)));
    FScanByLine[at] = &FScans.emplace_back(FDoc, entry);
    return *FScanByLine[at];
}

std::int32_t TFa4Converter::RawIndex(std::int32_t line, std::int32_t count)
{
    TCodeEffects effects;
    const std::int32_t index = Scan(line).RawIndex(count, effects);
    ApplyCodeEffects(effects);
    return index;
}

const TFa4Converter::TRuleLine& TFa4Converter::RuleLine(std::int32_t line)
{
    if (FRule.Line == line) return FRule;
    const TFa4LineEntry& entry = FDoc.GetLine(line);
    const unsigned char* bytes = FDoc.LineBytes(entry);
    const std::int64_t available = FDoc.AvailableFrom(bytes);
    Charge(entry.Length);
    TRuleLine rule;
    rule.Line = line;
    std::int32_t count = 0;
    std::int32_t first = -1;
    std::int32_t last = -1;
    bool blankAfterFirst = false;
    bool mixed = false;
    for (std::int32_t position = 0; position < entry.Length; ++position) {
        const unsigned char b = bytes[position];
        if (b == 0xFF) {
            rule.Effects.Add(PassOverCode(bytes, position, available).Effects);
            continue;
        }
        if (b > 0x20) {
            if (first < 0) {
                first = count;
                rule.UniformByte = b;
            } else if (b != rule.UniformByte || blankAfterFirst) {
                mixed = true;
            }
            last = count;
        } else if (first >= 0) {
            blankAfterFirst = true;
        }
        ++count;
    }
    rule.StrippedLength = first < 0 ? 0 : last - first + 1;
    if (mixed || first < 0) rule.UniformByte = -1;
    FRule = rule;
    return FRule;
}

void TFa4Converter::AppendCode(
    std::string& out, const unsigned char* bytes, std::int32_t& position, std::int64_t available)
{
    const TCodeRead read = PassOverCode(bytes, position, available, FCodes);
    ApplyCodeEffects(read.Effects);
    AppendCodeText(out, read);
    if (read.Complete) FNesting.Apply(InlineRoleOfCode[read.Code]);
}

std::string TFa4Converter::TranslateCode(const unsigned char* bytes, std::int32_t& position)
{
    std::string text;
    const TCodeRead read = ReadCode(bytes, position, FDoc.AvailableFrom(bytes), FCodes);
    ApplyCodeEffects(read.Effects);
    AppendCodeText(text, read);
    position += read.Operands;
    return text;
}

// Reading a line as plain text drops a control sequence's text but keeps its
// effect on the conversion state.
std::string TFa4Converter::PlainText(const TFa4LineEntry& entry, std::int32_t limit)
{
    std::string text;
    const unsigned char* bytes = FDoc.LineBytes(entry);
    const std::int64_t available = FDoc.AvailableFrom(bytes);
    const std::int32_t bound = std::min<std::int32_t>(limit, entry.Length);
    for (std::int32_t position = 0; position < bound; ++position) {
        if (bytes[position] == 0xFF)
            ApplyCodeEffects(PassOverCode(bytes, position, available).Effects);
        else
            text += static_cast<char>(bytes[position]);
    }
    return text;
}

std::int32_t TFa4Converter::RawIndex(const TFa4LineEntry& entry, std::int32_t count)
{
    const unsigned char* bytes = FDoc.LineBytes(entry);
    const std::int64_t available = FDoc.AvailableFrom(bytes);
    std::int32_t counted = 0;
    std::int32_t position = 0;
    for (; counted < count && position < entry.Length; ++position) {
        if (bytes[position] == 0xFF)
            ApplyCodeEffects(PassOverCode(bytes, position, available).Effects);
        else
            ++counted;
    }
    return position;
}

void TFa4Converter::ConvertSection(std::string& out, TFa4Section section)
{
    switch (section) {
    case secHeader:
        return ConvertLines(out, 6, 11);
    case secBody:
        return ConvertLines(out, 12, FDoc.LineCount() - 1);
    case secFooter:
        return ConvertLines(out, 0, 5);
    }
}

} // namespace quorvex
