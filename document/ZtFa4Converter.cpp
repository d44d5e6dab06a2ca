#include "ZtFa4Converter.h"

namespace quorvex {

TFa4Converter::TFa4Converter(TZtFileInfoFa4& document)
    : FDoc(document)
    , FBudget(document.FileSize())
{ }

const TLineScan& TFa4Converter::Scan(std::int32_t line)
{
    const TFa4LineEntry& entry = FDoc.GetLine(line);
    if (FScanIndex.empty()) FScanIndex.assign(Fa4MaxLines, -1);
    std::int32_t& index = FScanIndex[static_cast<std::size_t>(line)];
    if (index < 0) {
        // A scan keeps its plain text and a raw index for every character.
        Charge(std::int64_t{entry.Length} * (1 + sizeof(std::int32_t)));
        index = static_cast<std::int32_t>(FScans.size());
        FScans.emplace_back(FDoc, entry);
    }
    return FScans[static_cast<std::size_t>(index)];
}

std::int32_t TFa4Converter::RawIndex(std::int32_t line, std::int32_t count)
{
    TCodeEffects effects;
    const std::int32_t index = Scan(line).RawIndex(count, effects);
    ApplyCodeEffects(FDoc, effects);
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
            ++position;
            const TCodeRead read = ReadCode(bytes, position, available);
            rule.Effects.Add(read.Effects);
            position += read.Operands;
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
    const TCodeRead read = ReadCode(bytes, position, available);
    ApplyCodeEffects(FDoc, read.Effects);
    AppendCodeText(out, read);
    position += read.Operands;
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

std::string& TFa4Converter::CellBuffer()
{
    while (FCellBuffers.size() <= FDepth) FCellBuffers.emplace_back();
    return FCellBuffers[FDepth];
}

} // namespace quorvex
