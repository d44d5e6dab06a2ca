// The text of the page "Help!", one entry per line (UTF-8; the blanks at the
// ends of lines belong to them).
#pragma once

#include <array>
#include <string_view>

namespace quorvex {

inline constexpr std::array<std::string_view, 26> HelpTextLines = {
    "Preferences:",
    "",
    "Sie definieren das Aussehen der verschiedenen Teile des Textes. ",
    "Sie werden mit dem Text zusammen gespeichert. ",
    "Die F&A-Schriftarten 1 bis 8 werden in \"font.font1\" bis \"font.font8\" übersetzt. ",
    "Für den normalen Textkörper gibt \"body\" den Stil vor, für Tabellen ist zusätzlich \"table\" "
    "zuständig.",
    "",
    "Sie können separat geladen und gespeichert werden. ",
    "So stehen verschiedenen Formatierungen zur Verfügung.",
    "",
    "Grün = OK, ",
    "Gelb = Preferences wurden verändert, der Text aber noch nicht damit formatiert.",
    "",
    "",
    "Converted Text: ",
    "",
    "Grün = OK, ",
    "Gelb = noch nicht gespeichert, ",
    "Rot = Lesefehler",
    "",
    "",
    "Hier werden Sie geholfen: ",
    "",
    "https://developer.mozilla.org/docs/Web/CSS",
    "",
    "Für die Beschreibung der Stile siehe dort unter: \"CSS Style Sheets\"",
};

} // namespace quorvex
