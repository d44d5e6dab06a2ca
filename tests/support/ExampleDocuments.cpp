// The lines of the sample documents.

#include "ExampleDocuments.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace quorvex::testing {
namespace {

constexpr std::array<std::pair<std::string_view, char>, 72> Glyphs = {{
    {"ä", '\x84'},
    {"ö", '\x94'},
    {"ü", '\x81'},
    {"Ä", '\x8E'},
    {"Ö", '\x99'},
    {"Ü", '\x9A'},
    {"ß", '\xE1'},
    {"é", '\x82'},
    {"°", '\xF8'},
    {"²", '\xFD'},
    {"√", '\xFB'},
    {"«", '\xAE'},
    {"»", '\xAF'},
    {"─", '\xC4'},
    {"│", '\xB3'},
    {"┌", '\xDA'},
    {"┐", '\xBF'},
    {"└", '\xC0'},
    {"┘", '\xD9'},
    {"├", '\xC3'},
    {"┤", '\xB4'},
    {"┬", '\xC2'},
    {"┴", '\xC1'},
    {"┼", '\xC5'},
    {"═", '\xCD'},
    {"║", '\xBA'},
    {"╔", '\xC9'},
    {"╗", '\xBB'},
    {"╚", '\xC8'},
    {"╝", '\xBC'},
    {"╠", '\xCC'},
    {"╣", '\xB9'},
    {"╦", '\xCB'},
    {"╩", '\xCA'},
    {"╬", '\xCE'},
    {"½", '\xAB'},
    {"±", '\xF1'},
    {"µ", '\xE6'},
    {"π", '\xE3'},
    {"è", '\x8A'},
    {"û", '\x96'},
    {"à", '\x85'},
    {"ç", '\x87'},
    {"ñ", '\xA4'},
    {"Å", '\x8F'},
    {"Ç", '\x80'},
    {"α", '\xE0'},
    {"Γ", '\xE2'},
    {"Σ", '\xE4'},
    {"σ", '\xE5'},
    {"τ", '\xE7'},
    {"Φ", '\xE8'},
    {"Θ", '\xE9'},
    {"Ω", '\xEA'},
    {"δ", '\xEB'},
    {"ε", '\xEE'},
    {"¼", '\xAC'},
    {"≤", '\xF3'},
    {"≥", '\xF2'},
    {"≈", '\xF7'},
    {"∞", '\xEC'},
    {"÷", '\xF6'},
    {"£", '\x9C'},
    {"¥", '\x9D'},
    {"░", '\xB0'},
    {"▒", '\xB1'},
    {"▓", '\xB2'},
    {"█", '\xDB'},
    {"▄", '\xDC'},
    {"▌", '\xDD'},
    {"▐", '\xDE'},
    {"▀", '\xDF'},
}};

// Control sequences.
const std::string ParagraphEnd = "\xFF\x01";
const std::string BoldOn = "\xFF\x80";
const std::string BoldOff = "\xFF\x90";
const std::string UnderlineOn = "\xFF\x81";
const std::string UnderlineOff = "\xFF\x91";
const std::string ItalicOn = "\xFF\x85";
const std::string ItalicOff = "\xFF\x95";
const std::string SuperOn = "\xFF\x83";
const std::string SuperOff = "\xFF\x93";
const std::string SubOn = "\xFF\x84";
const std::string SubOff = "\xFF\x94";
const std::string SoftHyphen = "\xFF\x04";

std::string Font(int number)
{
    return std::string("\xFF") + static_cast<char>(0x87 + number);
}
std::string FontOff(int number)
{
    return std::string("\xFF") + static_cast<char>(0x97 + number);
}
std::string Indent(int steps)
{
    return std::string("\xFF\x21", 2) + static_cast<char>(steps) + '\0';
}
std::string HangingIndent(int margin, int pullBack)
{
    return std::string("\xFF\x21", 2) + static_cast<char>(margin) + static_cast<char>(pullBack);
}

// A German business letter: letterhead in the header lines, the sender's
// details in the footer lines, paragraphs with hyphenated line ends, an
// aligned date line and an indented list that ends as the word processor ends
// one: the indent code on an empty paragraph-end line.
TFa4Builder GermanLetter()
{
    TFa4Builder b;
    // Footer, lines 0 to 5.
    b.Line(Cp437("Musterfirma GmbH │ Hauptstraße 5 │ 12345 Beispielstadt") + ParagraphEnd);
    b.Line(Cp437("Telefon 01234/56789 │ Bankverbindung: Sparkasse Beispielstadt") + ParagraphEnd);
    b.EmptyParagraphs(4);
    // Header, lines 6 to 11.
    b.Line(Font(1) + BoldOn + "Musterfirma GmbH" + BoldOff + FontOff(1) + ParagraphEnd);
    b.Line(Font(6) + Cp437("Schrauben, Muttern und Zubehör seit 1952") + FontOff(6) + ParagraphEnd);
    b.EmptyParagraphs(4);
    // Body.
    b.Line("Herrn" + ParagraphEnd);
    b.Line(Cp437("Karl Müller") + ParagraphEnd);
    b.Line("Gartenweg 7" + ParagraphEnd);
    b.Line("54321 Irgendwo" + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("                                   Beispielstadt, 3. März 1994") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(BoldOn + "Ihre Anfrage vom 12. Februar 1994" + BoldOff + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("Sehr geehrter Herr Müller,") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("vielen Dank für Ihre Anfrage. Gerne senden wir Ihnen unser An- "));
    b.Line(Cp437("gebot für die Lieferung von 200 Stück Schrauben der Größe M8 zu "));
    b.Line(Cp437("einem Preis von 0,12 DM je Stück. Die Schrauben sind verzinkt und "));
    b.Line(Cp437("entsprechen der DIN-Norm 933.") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("Unsere Lieferbedingungen:") + ParagraphEnd);
    b.Line(Indent(5) + Cp437("1.  Lieferung innerhalb von zwei Wochen nach Eingang Ihrer Be- "));
    b.Line("stellung." + ParagraphEnd);
    b.Line(Indent(5) +
        "2.  Zahlung innerhalb von 30 Tagen ohne Abzug oder mit 2 % Skonto "
        "innerhalb von 10 Tagen." +
        ParagraphEnd);
    b.Line(HangingIndent(5, 3) + Cp437("3.  Es gelten unsere Allgemeinen Geschäfts- "));
    b.Line("Bedingungen." + ParagraphEnd);
    b.Line(Indent(0) + ParagraphEnd);
    b.Line(Cp437("Wir würden uns über Ihren Auftrag sehr freuen und stehen Ihnen für "));
    b.Line(Cp437("Rückfragen jederzeit gern zur Verfügung.") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("Mit freundlichen Grüßen") + ParagraphEnd);
    b.EmptyParagraphs(2);
    b.Line(ItalicOn + "Erika Beispiel" + ItalicOff + ParagraphEnd);
    b.Line(Font(7) + "Vertrieb" + FontOff(7) + ParagraphEnd);
    return b;
}

// A report with a double-lined table whose header cells span rows and
// columns, a rule, a sum line, and a single-lined table with a word
// hyphenated at the end of a cell line. No table is drawn inside a cell: the
// table rules repeat an inner table's cells in the outer one.
TFa4Builder Report()
{
    TFa4Builder b;
    b.Line(Cp437("Seite 1") + ParagraphEnd);
    b.EmptyParagraphs(5);
    b.Line(Font(2) + BoldOn + "Quartalsbericht Vertrieb" + BoldOff + FontOff(2) + ParagraphEnd);
    b.Line(Cp437("════════════════════════════════════════") + ParagraphEnd);
    b.EmptyParagraphs(4);
    b.Line(Cp437("Der Umsatz ist im Vergleich zum Vorjahr deutlich gestiegen. Die fol- "));
    b.Line(Cp437("gende Übersicht zeigt die Zahlen der beiden wichtigsten Produkte:") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("╔══════════╦═════════════════════╗"));
    b.Line(Cp437("║Produkt   ║Umsatz               ║"));
    b.Line(Cp437("║          ╠══════════╦══════════╣"));
    b.Line(Cp437("║          ║1993      ║1994      ║"));
    b.Line(Cp437("╠══════════╬══════════╬══════════╣"));
    b.Line(Cp437("║Schrauben ║ 12.400 DM║ 15.100 DM║"));
    b.Line(Cp437("╠══════════╬══════════╬══════════╣"));
    b.Line(Cp437("║Muttern   ║  8.300 DM║  9.050 DM║"));
    b.Line(Cp437("╚══════════╩══════════╩══════════╝") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("Summe 1994 ───────────────── 24.150 DM") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("Bestand am Quartalsende:") + ParagraphEnd);
    b.Line(Cp437("┌──────────┬───────┐"));
    b.Line(Cp437("│Teil      │Menge  │"));
    b.Line(Cp437("├──────────┼───────┤"));
    b.Line(Cp437("│Sechskant-│    200│"));
    b.Line(Cp437("│schrauben │       │"));
    b.Line(Cp437("├──────────┼───────┤"));
    b.Line(Cp437("│Muttern   │    150│"));
    b.Line(Cp437("└──────────┴───────┘") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(ItalicOn + Cp437("Alle Beträge ohne Mehrwertsteuer.") + ItalicOff + ParagraphEnd);
    return b;
}

// A technical note with formulas, marks shown in blue, codes the converter
// does not know, a fixed-width list, every kind of character the translation
// passes through (letters with diacritics, Greek, signs, shades, blocks) and
// the seven font sizes.
TFa4Builder TechnicalNote()
{
    TFa4Builder b;
    b.EmptyParagraphs(6);
    b.Line(UnderlineOn + "Technische Notiz Nr. 17" + UnderlineOff + ParagraphEnd);
    b.EmptyParagraphs(5);
    b.Line(Cp437("Die Fläche eines Kreises ist A = π r") + SuperOn + "2" + SuperOff +
        Cp437(", die Diagonale eines Quadrats d = √2 a.") + ParagraphEnd);
    b.Line(Cp437("Wasser siedet bei 100 °C; der Wert für H") + SubOn + "2" + SubOff +
        Cp437("O gilt bei 1013 hPa. Hinweise stehen »in Blau«.") + ParagraphEnd);
    b.Line(Cp437("Die Toleranz beträgt ± ½ µm & wird mit <Prüfgerät 3> gemessen.") + ParagraphEnd);
    b.Line(Cp437("Aus dem Ausland: Crème brûlée à la carte, garçon, señor, Ångström, Ça va.") + ParagraphEnd);
    b.Line(Cp437("Griechisch: α Γ π Σ σ µ τ Φ Θ Ω δ ε; Zeichen: ¼ ≤ ≥ ≈ ∞ ÷ £ ¥") + ParagraphEnd);
    b.Line(Cp437("Schattierungen ░▒▓ und Blöcke █▄▌▐▀") + ParagraphEnd);
    std::string sizes = "Schriftgrade:";
    for (int font = 1; font <= 7; ++font)
        sizes += " " + Font(font) + "Grad " + std::to_string(font) + FontOff(font);
    b.Line(sizes + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line(Cp437("  Maß        Sollwert   Istwert") + ParagraphEnd);
    b.Line(Cp437("  Länge      120 mm     120,2 mm") + ParagraphEnd);
    b.Line(Cp437("  Breite      80 mm      79,9 mm") + ParagraphEnd);
    b.EmptyParagraphs(1);
    b.Line("Trenn" + SoftHyphen + "stelle und ein unbekannter Code: " + "\xFF\x82" + "." + ParagraphEnd);
    b.Line(Cp437("──────────") + ParagraphEnd);
    b.Line(Cp437("Ende der Notiz.") + ParagraphEnd);
    return b;
}

} // namespace

std::string Cp437(std::string_view utf8)
{
    std::string bytes;
    while (!utf8.empty()) {
        if (static_cast<unsigned char>(utf8[0]) < 0x80) {
            bytes += utf8[0];
            utf8.remove_prefix(1);
            continue;
        }
        bool found = false;
        for (const auto& [glyph, byte] : Glyphs) {
            if (utf8.substr(0, glyph.size()) == glyph) {
                bytes += byte;
                utf8.remove_prefix(glyph.size());
                found = true;
                break;
            }
        }
        if (!found)
            throw std::invalid_argument("no code page 437 byte for " + std::string(utf8.substr(0, 4)));
    }
    return bytes;
}

std::vector<TExampleDocument> ExampleDocuments()
{
    std::vector<TExampleDocument> documents;
    documents.push_back({"brief.fa4", GermanLetter()});
    documents.push_back({"bericht.fa4", Report()});
    documents.push_back({"notiz.fa4", TechnicalNote()});
    return documents;
}

} // namespace quorvex::testing
