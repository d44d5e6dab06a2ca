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

// The output of one call. The result so far lies from Start to LineStart;
// the current line's text is built after it and gets its comment and tags
// put in front when the line is done, since they depend on what the line
// turned out to hold.
struct TResult {
  std::string& Out;
  std::size_t Start;
  std::size_t LineStart;

  bool Empty() const { return LineStart == Start; }
  bool EndsWithCr() const { return !Empty() && Out[LineStart - 1] == '\r'; }
  bool LineEmpty() const { return Out.size() == LineStart; }

  void JoinHyphen(std::string_view joinText, bool& hyphenPending) {
    if (EndsWithCr()) Out.erase(--LineStart, 1);
    Out.insert(LineStart, joinText);
    LineStart += joinText.size();
    hyphenPending = false;
  }
};

void AppendLineComment(std::string& out, std::int32_t line) {
  char digits[12];
  int count = 0;
  auto value = static_cast<std::uint32_t>(line);
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  out += "<!-- LINE ";
  while (count > 0) out += digits[--count];
  out += " -->";
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

void TFa4Converter::ConvertLines(std::string& out, std::int32_t first, std::int32_t last) {
  Doc_.IndentPending = false;
  Doc_.ParagraphEnd = false;
  Doc_.ParagraphTag.clear();
  TResult result{out, out.size(), out.size()};
  bool hyphenPending = false;
  std::int32_t linesSinceParagraphEnd = 0;
  const TByteSet& copied =
      Doc_.CharOutput() == TCharOutput::Bytes ? CopiedBytes : CopiedAsciiBytes;
  std::string lineHead;
  for (std::int32_t line = first; line <= last; ++line) {
    TLineCursor cursor(Doc_, line);
    result.LineStart = out.size();
    bool ruleRun = false;
    bool nbspMode = cursor.Length > 0 && cursor.Bytes[0] == 0x20;
    for (std::int32_t position = 0; position < cursor.Length; ++position) {
      const unsigned char b = cursor.Bytes[position];
      if (hyphenPending) {
        if (CapitalLetters[b]) result.JoinHyphen("-", hyphenPending);
        else if (SmallLetters[b]) result.JoinHyphen("&shy;", hyphenPending);
      }
      switch (LineByteKinds[b]) {
        case TLineByte::Space:
          if (cursor.OnlySpacesFrom(position)) {
            out += ' ';
          } else if (nbspMode) {
            out += "&nbsp;";
          } else if (cursor.Bytes[position + 1] == 0x20) {
            nbspMode = true;
            out += "&nbsp;";
          } else {
            out += ' ';
          }
          break;
        case TLineByte::Hyphen:
          if (position == cursor.Length - 2 && cursor.Bytes[position + 1] == 0x20) {
            hyphenPending = true;
            ++position;
          } else {
            out += '-';
          }
          break;
        case TLineByte::Rule: {
          const TRuleLine& rule = RuleLine(line);
          ApplyCodeEffects(Doc_, rule.Effects);
          // An empty plain text is no whole-line rule: moving back by one
          // would never end.
          if (rule.UniformByte == b) {
            out += "<hr>\r";
            position += rule.StrippedLength - 1;
          } else {
            ruleRun = true;
            std::int32_t end = position + 1;
            while (end < cursor.Length && cursor.Bytes[end] == b) ++end;
            out.append(static_cast<std::size_t>(end - position), '-');
            position = end - 1;
          }
          break;
        }
        case TLineByte::Corner: {
          std::int32_t tablePos = position;
          std::int32_t tableLine = line;
          if (ConvertTable(out, tablePos, tableLine, INT32_MAX, last)) {
            position = tablePos;
            line = tableLine;
            cursor = TLineCursor(Doc_, line);
          } else {
            out += '+';
          }
          break;
        }
        case TLineByte::Code:
          ++position;
          AppendCode(out, cursor.Bytes, position, cursor.Available);
          break;
        case TLineByte::Text:
          if (!hyphenPending && copied[b]) {
            // A single space between copied bytes is written as it is
            // until the line has shown a run of spaces, so it joins the run.
            std::int32_t end = position + 1;
            while (end < cursor.Length) {
              if (copied[cursor.Bytes[end]]) {
                ++end;
              } else if (cursor.Bytes[end] == 0x20 && !nbspMode && end + 1 < cursor.Length &&
                         copied[cursor.Bytes[end + 1]]) {
                end += 2;
              } else {
                break;
              }
            }
            out.append(reinterpret_cast<const char*>(cursor.Bytes) + position,
                            static_cast<std::size_t>(end - position));
            position = end - 1;
          } else {
            AppendChar(out, b);
          }
          break;
      }
    }

    const bool paragraphEnd = Doc_.ParagraphEnd;
    const bool indentPending = Doc_.IndentPending;
    lineHead.clear();
    if (!result.Empty() && !result.EndsWithCr()) lineHead += '\r';
    AppendLineComment(lineHead, line);
    if (indentPending) {
      Doc_.ParagraphTag = ParagraphTagFor(Doc_.Indent);
      lineHead += Doc_.ParagraphTag;
    }
    if (paragraphEnd) {
      if (indentPending && result.LineEmpty()) {
        out += "</p>";
      } else if (ruleRun || (linesSinceParagraphEnd == 0 && nbspMode)) {
        lineHead += "<font class=\"fixed\">";
        out += "</font><br>";
      } else {
        out += "<br>";
      }
    }
    out.insert(result.LineStart, lineHead);
    CheckSize(out);
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
  ConvertWithinMemory([&] { TFa4Converter(*this).ConvertLines(result, first, last); });
  return result;
}

std::string TZtFileInfoFa4::ConvertSection(TFa4Section section) {
  std::string result;
  AppendSection(result, section);
  return result;
}

void TZtFileInfoFa4::AppendSection(std::string& out, TFa4Section section) {
  std::int32_t first = 0;
  std::int32_t last = 5;
  if (section == secHeader) {
    first = 6;
    last = 11;
  } else if (section == secBody) {
    first = 12;
    last = LineCount_ - 1;
  }
  ConvertWithinMemory([&] { TFa4Converter(*this).ConvertLines(out, first, last); });
}

}  // namespace quorvex

