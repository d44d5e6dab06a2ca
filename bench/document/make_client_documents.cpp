// Writes the documents that bench/clients.sh hands to other programs:
// letters and reports of a few pages with every kind of text the conversion
// knows (fonts, bold and italic that run across paragraphs and cells,
// aligned lines, rules, indented lists, hyphenated line ends, tables, signs
// and stray control bytes), and documents made of tables, a few of them with
// a broken box.
//
//   make_client_documents DIR [REALISTIC [TABLES [plain]]]
//
// With "plain", the documents hold no root sign and no control byte, whose
// HTML looks other than it did before those were written as a browser shows
// them: screenshots of the rest can be compared pixel for pixel.

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Fa4Builder.h"

namespace {

using quorvex::testing::TFa4Builder;

const std::vector<std::string> WordList = {"der", "die", "das", "und", "f\x81r", "Lieferung", "Schrauben",
    "Gr\x94\xE1"
    "e",
    "Angebot", "Preis", "jederzeit", "M\x84rz", "Ihre", "Anfrage", "wir", "freuen", "uns",
    "\x81"
    "ber",
    "den", "Auftrag", "Zahlung", "innerhalb", "von", "Tagen", "ohne", "Abzug",
    "Stra\xE1"
    "e",
    "Menge", "&", "<DIN>", "1994", "12,50", "\"M8\"", "Dach", "Bericht", "K\x94ln", "Wert"};

const std::string ParagraphEnd = "\xFF\x01";
const std::string Horizontal = "\xC4";

struct TWriter {
    std::mt19937 Random;
    TFa4Builder Builder;

    bool Plain = false;

    TWriter(unsigned seed, bool plain)
        : Random(seed)
        , Plain(plain)
    {
        Builder.Line("Seite 1" + ParagraphEnd);
        Builder.EmptyParagraphs(5);
        Builder.Line("\xFF\x88\xFF\x80Musterfirma GmbH\xFF\x90\xFF\x98" + ParagraphEnd);
        Builder.EmptyParagraphs(5);
    }
    bool Chance(unsigned percent) { return Random() % 100 < percent; }
    const std::string& Word() { return WordList[Random() % WordList.size()]; }
    std::string Phrase(std::size_t length)
    {
        std::string text;
        while (text.size() < length) {
            if (!text.empty()) text += ' ';
            text += Word();
        }
        return text;
    }

    // A paragraph of running text; a marked word, a sign or a stray
    // control byte here and there. `open` is an attribute code left open at
    // the paragraph's end, to be closed in a later one.
    void Paragraph(int& open)
    {
        const int lines = 1 + static_cast<int>(Random() % 5);
        for (int i = 0; i < lines; ++i) {
            std::string line;
            if (i == 0 && open != 0) {
                line += "\xFF" + std::string(1, static_cast<char>(open + 0x10));
                open = 0;
            }
            while (line.size() < 64) {
                const unsigned kind = Random() % 40;
                if (kind == 0)
                    line += "\xFF\x80" + Word() + "\xFF\x90";
                else if (kind == 1)
                    line += "\xFF\x85" + Word() + " " + Word() + "\xFF\x95";
                else if (kind == 2)
                    line += "\xFF\x81" + Word() + "\xFF\x91";
                else if (kind == 3 && !Plain)
                    line += "\xFB"
                            "2 = 1,41";
                else if (kind == 4)
                    line += "12 m\xFD bei 20\xF8";
                else if (kind == 5)
                    line += "x\xFF\x83"
                            "3\xFF\x93";
                else if (kind == 6)
                    line += "\xAF" + Word() + "\xAE";
                else if (kind == 7 && !Plain && Chance(20))
                    line += Word() + "\x1F" + Word();
                else if (kind == 8 && !Plain && Chance(10))
                    line += Word() + std::string(1, '\0') + Word();
                else
                    line += Word();
                line += ' ';
            }
            if (i + 1 < lines) {
                if (Chance(25)) line += "Ange- ";
            } else {
                if (Chance(8)) {
                    open = Chance(50) ? 0x80 : 0x85;
                    line += "\xFF" + std::string(1, static_cast<char>(open)) + Word();
                }
                line += "Ende." + ParagraphEnd;
            }
            Builder.Line(line);
            if (i + 1 < lines && line.size() > 5 && line.compare(line.size() - 2, 2, "- ") == 0)
                Builder.Line("bot " + Phrase(58));
        }
    }

    void Heading()
    {
        const int font = 0x88 + static_cast<int>(Random() % 7);
        Builder.Line("\xFF" + std::string(1, static_cast<char>(font)) + Phrase(20) + "\xFF" +
            std::string(1, static_cast<char>(font + 0x10)) + ParagraphEnd);
        if (Chance(40)) Builder.Line(std::string(60, '\xC4'));
    }

    void AlignedLines()
    {
        for (int i = 0; i < 3; ++i)
            Builder.Line("  " + Word() + std::string(12, ' ') + std::to_string(Random() % 1000) + ",00 DM" +
                ParagraphEnd);
        Builder.Line(
            "Summe " + std::string(20, '\xCD') + " " + std::to_string(Random() % 5000) + ParagraphEnd);
    }

    void List()
    {
        for (int i = 1; i <= 3; ++i)
            Builder.Line(
                std::string("\xFF\x21\x05\x00", 4) + std::to_string(i) + ".  " + Phrase(50) + ParagraphEnd);
    }

    // A table of `columns` cells; some cells with aligned numbers, some bold
    // opened in one cell and closed in the next, an indent in front.
    void Table(int columns, int rows, int indent, bool broken)
    {
        const int width = 10 + static_cast<int>(Random() % 6);
        const std::string left(static_cast<std::size_t>(indent), ' ');
        auto rule = [&](const char* l, const char* m, const char* r) {
            std::string line = left + l;
            for (int c = 0; c < columns; ++c) {
                for (int k = 0; k < width; ++k) line += Horizontal;
                line += c + 1 < columns ? m : r;
            }
            return line;
        };
        Builder.Line(rule("\xDA", "\xC2", "\xBF"));
        for (int r = 0; r < rows; ++r) {
            std::string line = left + "\xB3";
            for (int c = 0; c < columns; ++c) {
                std::string cell;
                if (c > 0 && Chance(40)) {
                    cell = std::string(3, ' ') + std::to_string(Random() % 900 + 100) + ",50";
                } else {
                    cell = Word();
                    if (Chance(10)) cell = "\xFF\x80" + cell; // closed in a later cell
                    if (Chance(10)) cell += "\xFF\x90";
                }
                std::size_t visible = 0;
                for (std::size_t k = 0; k < cell.size(); ++k) {
                    if (cell[k] == '\xFF') {
                        ++k;
                        continue;
                    }
                    ++visible;
                }
                while (visible > static_cast<std::size_t>(width)) {
                    cell.pop_back();
                    --visible;
                }
                cell.append(static_cast<std::size_t>(width) - visible, ' ');
                line += cell + "\xB3";
            }
            Builder.Line(line);
            if (r + 1 < rows) Builder.Line(rule("\xC3", "\xC5", "\xB4"));
        }
        if (broken) {
            // The bottom line lost: the box runs into an empty line.
            Builder.Line(ParagraphEnd);
            return;
        }
        Builder.Line(rule("\xC0", "\xC1", "\xD9") + (indent > 0 ? ParagraphEnd : std::string()));
    }
};

std::string Realistic(unsigned seed, bool plain)
{
    TWriter w(seed, plain);
    int open = 0;
    while (w.Builder.LineCount() < 140) {
        const unsigned kind = w.Random() % 12;
        if (kind == 0)
            w.Heading();
        else if (kind == 1)
            w.AlignedLines();
        else if (kind == 2)
            w.List();
        else if (kind == 3)
            w.Table(2 + static_cast<int>(w.Random() % 3), 2 + static_cast<int>(w.Random() % 3),
                w.Chance(30) ? 2 : 0, false);
        else
            w.Paragraph(open);
        if (w.Chance(30)) w.Builder.EmptyParagraphs(1);
    }
    w.Builder.Line("Mit freundlichen Gr\x81\xE1"
                   "en" +
        ParagraphEnd);
    return w.Builder.Bytes();
}

std::string Tables(unsigned seed, bool broken, bool plain)
{
    TWriter w(seed, plain);
    int open = 0;
    w.Paragraph(open);
    const int tables = 1 + static_cast<int>(w.Random() % 3);
    for (int t = 0; t < tables; ++t) {
        const bool last = t + 1 == tables;
        w.Table(2 + static_cast<int>(w.Random() % 4), 1 + static_cast<int>(w.Random() % 5),
            broken && last ? 4 : (w.Chance(30) ? 2 : 0), broken && last);
        w.Builder.EmptyParagraphs(1);
        w.Paragraph(open);
    }
    return w.Builder.Bytes();
}

void Write(const std::string& name, const std::string& bytes)
{
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
        std::fprintf(stderr, "make_client_documents: cannot write %s\n", name.c_str());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: make_client_documents DIR [REALISTIC [TABLES [plain]]]\n", stderr);
        return 2;
    }
    const std::string dir = argv[1];
    const int realistic = argc > 2 ? std::atoi(argv[2]) : 20;
    const int tables = argc > 3 ? std::atoi(argv[3]) : 60;
    const bool plain = argc > 4 && std::string(argv[4]) == "plain";
    for (int i = 0; i < realistic; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/real-%02d.fa4", i + 1);
        Write(dir + name, Realistic(static_cast<unsigned>(100 + i), plain));
    }
    for (int i = 0; i < tables; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/table-%02d.fa4", i + 1);
        // One in twenty has a box whose bottom line is lost.
        Write(dir + name, Tables(static_cast<unsigned>(500 + i), i % 20 == 7, plain));
    }
    return 0;
}
