// Named character escapes recognised by the HTML scanner.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvex::html {

// Each entry stands for "&", the name and ";". Entries that differ only in
// letter case match the same texts; only the matched length matters.
constexpr std::array<std::string_view, 249> EscapeNames = {
    "Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta", "Iota", "Kappa", "Lambda", "Mu",
    "Nu", "Xi", "Omicron", "Pi", "Rho", "Sigma", "Tau", "Upsilon", "Phi", "Chi", "Psi", "Omega", "alpha",
    "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota", "kappa", "lambda", "mu", "nu", "xi",
    "omicron", "pi", "rho", "sigmaf", "sigma", "tau", "upsilon", "phi", "chi", "psi", "omega", "thetasym",
    "upsih", "piv", "bull", "hellip", "prime", "Prime", "oline", "frasl", "weierp", "image", "real", "trade",
    "alefsym", "larr", "uarr", "rarr", "darr", "harr", "crarr", "lArr", "uArr", "rArr", "dArr", "hArr",
    "forall", "part", "exist", "empty", "nabla", "isin", "notin", "ni", "prod", "sum", "minus", "lowast",
    "radic", "prop", "infin", "ang", "and", "or", "cap", "cup", "int", "there4", "sim", "cong", "asymp",
    "ne", "equiv", "le", "ge", "sub", "sup", "nsub", "sube", "supe", "oplus", "otimes", "perp", "sdot",
    "lceil", "rceil", "lfloor", "rfloor", "lang", "rang", "loz", "spades", "clubs", "hearts", "diams",
    "lsquo", "rsquo", "sbquo", "ldquo", "rdquo", "bdquo", "dagger", "Dagger", "permil", "lsaquo", "rsaquo",
    "quot", "amp", "lt", "gt", "ndash", "mdash", "nbsp", "thinsp", "ensp", "emsp", "iexcl", "cent", "pound",
    "curren", "yen", "brvbar", "brkbar", "sect", "uml", "die", "copy", "ordf", "laquo", "not", "shy", "reg",
    "macr", "hibar", "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot", "cedil", "sup1",
    "ordm", "raquo", "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc", "Atilde", "Auml",
    "Aring", "AElig", "Ccedil", "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml",
    "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times", "Oslash", "Ugrave", "Uacute",
    "Ucirc", "Uuml", "Yacute", "THORN", "szlig", "agrave", "aacute", "acirc", "atilde", "auml", "aring",
    "aelig", "ccedil", "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml", "eth",
    "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide", "oslash", "ugrave", "uacute", "ucirc",
    "uuml", "yacute", "thorn", "yuml", "euro", "OElig", "oelig", "scaron", "Scaron", "fnof", "circ",
};

constexpr std::size_t LongestEscapeName = [] {
    std::size_t longest = 0;
    for (std::string_view name : EscapeNames)
        longest = name.size() > longest ? name.size() : longest;
    return longest;
}();

constexpr unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

constexpr bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr bool SameEscapeName(std::string_view entry, std::string_view text) {
    if (entry.size() != text.size())
        return false;
    for (std::size_t i = 0; i < entry.size(); ++i)
        if (FoldAscii(static_cast<unsigned char>(entry[i])) != FoldAscii(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

// Length of the escape entry that begins at text[0] (which is "&"), the
// closing ";" included, or 0 when none does. Names are letters and digits,
// so the only candidate name is the run of them in front of the ";".
constexpr std::size_t MatchEscape(std::string_view text) {
    std::size_t end = 1;
    while (end < text.size() && end <= LongestEscapeName + 1 && IsAsciiAlnum(static_cast<unsigned char>(text[end])))
        ++end;
    if (end >= text.size() || text[end] != ';' || end == 1)
        return 0;
    const std::string_view name = text.substr(1, end - 1);
    for (std::string_view entry : EscapeNames)
        if (SameEscapeName(entry, name))
            return end + 1;
    return 0;
}

}  // namespace quorvex::html
