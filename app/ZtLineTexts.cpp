#include "ZtLineTexts.h"

#include "ZtCodePage437.h"

namespace quorvex {

QString LineGlyphText(std::string_view bytes)
{
    const std::string glyphs = Cp437ToUtf8(bytes);
    QString text = QString::fromUtf8(glyphs.data(), static_cast<qsizetype>(glyphs.size()));
    text.replace(QChar(u'\0'), QChar(u' '));
    return text;
}

QString LineHexText(std::string_view bytes)
{
    constexpr char16_t Digits[] = u"0123456789ABCDEF";
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size() * 3));
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += QChar(Digits[value >> 4]);
        text += QChar(Digits[value & 0x0F]);
        text += u' ';
    }
    return text;
}

}  // namespace quorvex
