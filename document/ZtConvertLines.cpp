// Line ranges: words, spaces, line-end hyphens, rules, tables, paragraph
// ends and indented paragraphs.

#include <array>

#include "ZtFa4Converter.h"

namespace quorvex {
namespace {

enum class TLineByte : std::uint8_t { Text, Space, Hyphen, Rule, Corner, Code };

constexpr auto LineByteKinds = [] {
  std::array<TLineByte, 256> kinds{};
  kinds.fill(TLineByte::Text);
  kinds[0x20] = TLineByte::Space;
  kinds[0x2D] = TLineByte::Hyphen;
  kinds[0xC4] = kinds[0xCD] = TLineByte::Rule;
  kinds[0xC9] = kinds[0xD5] = kinds[0xD6] = kinds[0xDA] = TLineByte::Corner;
  kinds[0xFF] = TLineByte::Code;
  return kinds;
}();

// Text bytes that are written as they are and can be copied in runs.
constexpr TByteSet MakeCopiedBytes(bool asciiOnly) {
  TByteSet set{};
  for (std::size_t b = 0; b < 256; ++b)
    set[b] = LineByteKinds[b] == TLineByte::Text && CharPassesThrough[b] && (!asciiOnly || b < 0x80);
  return set;
}
constexpr TByteSet CopiedBytes = MakeCopiedBytes(false);
constexpr TByteSet CopiedAsciiBytes = MakeCopiedBytes(true);

std::string ParagraphTagFor(std::int32_t indent) {
  if (indent == 0) return "<p style=\"margin-left:0; text-indent:0\">";
  const std::int32_t margin = 4 * (indent < 256 ? indent : indent % 256);
  const std::int32_t pullBack = indent < 256 ? margin : 4 * (indent / 256);
  return "<p class=\"indent\" style=\"margin-left:" + std::to_string(margin) +
         "pt; text-indent:-" + std::to_string(pullBack) + "pt\">";
}

void JoinHyphen(std::string& result, std::string_view joinText, bool& hyphenPending) {
  if (!result.empty() && result.back() == '\r') result.pop_back();
  result += joinText;
  hyphenPending = false;
}

// The line being converted; a table can move the conversion to another line.
struct TLineCursor {
  const unsigned char* Bytes = nullptr;
  std::int32_t Length = 0;
  std::int64_t Available = 0;
  std::int32_t LastNonSpace = -2;  // -2: not looked for yet

  TLineCursor(const TZtFileInfoFa4& document, std::int32_t line) {
    const TFa4LineEntry& entry = document.GetLine(line);
    Bytes = document.LineBytes(entry);
    Length = entry.Length;
    Available = document.AvailableFrom(Bytes);
  }
  // Whether every byte from `position` to the line's end is a space.
  bool OnlySpacesFrom(std::int32_t position) {
    if (LastNonSpace == -2) {
      LastNonSpace = Length - 1;
      while (LastNonSpace >= 0 && Bytes[LastNonSpace] == 0x20) --LastNonSpace;
    }
    return position > LastNonSpace;
  }
};

}  // namespace

void TFa4Converter::ConvertLines(std::string& result, std::int32_t first, std::int32_t last) {
  Doc_.IndentPending = false;
  Doc_.ParagraphEnd = false;
  Doc_.ParagraphTag.clear();
  result.clear();
  bool hyphenPending = false;
  std::int32_t linesSinceParagraphEnd = 0;
  const TByteSet& copied =
      Doc_.CharOutput() == TCharOutput::Bytes ? CopiedBytes : CopiedAsciiBytes;
  std::string lineText;
  for (std::int32_t line = first; line <= last; ++line) {
    TLineCursor cursor(Doc_, line);
    lineText.clear();
    bool ruleRun = false;
    bool nbspMode = cursor.Length > 0 && cursor.Bytes[0] == 0x20;
    for (std::int32_t position = 0; position < cursor.Length; ++position) {
      const unsigned char b = cursor.Bytes[position];
      if (hyphenPending) {
        if (CapitalLetters[b]) JoinHyphen(result, "-", hyphenPending);
        else if (SmallLetters[b]) JoinHyphen(result, "&shy;", hyphenPending);
      }
      switch (LineByteKinds[b]) {
        case TLineByte::Space:
          if (cursor.OnlySpacesFrom(position)) {
            lineText += ' ';
          } else if (nbspMode) {
            lineText += "&nbsp;";
          } else if (cursor.Bytes[position + 1] == 0x20) {
            nbspMode = true;
            lineText += "&nbsp;";
          } else {
            lineText += ' ';
          }
          break;
        case TLineByte::Hyphen:
          if (position == cursor.Length - 2 && cursor.Bytes[position + 1] == 0x20) {
            hyphenPending = true;
            ++position;
          } else {
            lineText += '-';
          }
          break;
        case TLineByte::Rule: {
          const TRuleLine& rule = RuleLine(line);
          ApplyCodeEffects(Doc_, rule.Effects);
          // An empty plain text is no whole-line rule: moving back by one
          // would never end.
          if (rule.UniformByte == b) {
            lineText += "<hr>\r";
            position += rule.StrippedLength - 1;
          } else {
            ruleRun = true;
            std::int32_t end = position + 1;
            while (end < cursor.Length && cursor.Bytes[end] == b) ++end;
            lineText.append(static_cast<std::size_t>(end - position), '-');
            position = end - 1;
          }
          break;
        }
        case TLineByte::Corner: {
          std::int32_t tablePos = position;
          std::int32_t tableLine = line;
          if (ConvertTable(lineText, tablePos, tableLine, INT32_MAX, last)) {
            position = tablePos;
            line = tableLine;
            cursor = TLineCursor(Doc_, line);
          } else {
            lineText += '+';
          }
          break;
        }
        case TLineByte::Code:
          ++position;
          AppendCode(lineText, cursor.Bytes, position, cursor.Available);
          break;
        case TLineByte::Text:
          if (!hyphenPending && copied[b]) {
            std::int32_t end = position + 1;
            while (end < cursor.Length && copied[cursor.Bytes[end]]) ++end;
            lineText.append(reinterpret_cast<const char*>(cursor.Bytes) + position,
                            static_cast<std::size_t>(end - position));
            position = end - 1;
          } else {
            Doc_.AppendChar(lineText, b);
          }
          break;
      }
    }

    const bool paragraphEnd = Doc_.ParagraphEnd;
    const bool indentPending = Doc_.IndentPending;
    if (!result.empty() && result.back() != '\r') result += '\r';
    result += "<!-- LINE ";
    result += std::to_string(line);
    result += " -->";
    if (indentPending) {
      Doc_.ParagraphTag = ParagraphTagFor(Doc_.Indent);
      result += Doc_.ParagraphTag;
    }
    if (!paragraphEnd) {
      result += lineText;
    } else if (indentPending && lineText.empty()) {
      result += "</p>";
    } else if (ruleRun || (linesSinceParagraphEnd == 0 && nbspMode)) {
      result += "<font class=\"fixed\">";
      result += lineText;
      result += "</font><br>";
    } else {
      result += lineText;
      result += "<br>";
    }
    Doc_.IndentPending = false;
    if (paragraphEnd) {
      Doc_.ParagraphEnd = false;
      linesSinceParagraphEnd = 0;
    } else {
      ++linesSinceParagraphEnd;
    }
  }
}

std::string TZtFileInfoFa4::ConvertLines(std::int32_t first, std::int32_t last) {
  std::string result;
  TFa4Converter(*this).ConvertLines(result, first, last);
  return result;
}

std::string TZtFileInfoFa4::ConvertSection(TFa4Section section) {
  switch (section) {
    case secHeader: return ConvertLines(6, 11);
    case secBody: return ConvertLines(12, LineCount_ - 1);
    case secFooter: return ConvertLines(0, 5);
  }
  throw ERangeError();
}

}  // namespace quorvex

