// Writes the inputs of bench/compare-cmark.sh: realistic F&A 4 documents
// into one folder, and Markdown paragraphs of the same size in all into
// one file, so that both converters get the same amount of running text.
// The Markdown is plain paragraphs of the documents' words, without
// emphasis, lists or characters that HTML escapes: the text cmark converts
// fastest, so that the comparison never flatters fa4tohtml.
//
//   make_cmark_inputs DOCUMENT_DIR MARKDOWN_FILE COUNT

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchDocuments.h"

namespace {

const std::vector<std::string> Words = {"der", "die", "das", "und", "für", "Lieferung", "Schrauben", "Größe",
    "Angebot", "Preis", "jederzeit", "März", "Ihre", "Anfrage", "wir", "freuen", "uns", "über", "den",
    "Auftrag", "Zahlung", "innerhalb", "von", "Tagen", "ohne", "Abzug", "Straße", "Menge", "und", "DIN",
    "1994", "12,50", "M8"};

// Paragraphs of a few lines of about 70 characters, some ending in a
// hyphenated word, as the documents have them.
std::string MarkdownOfSize(std::size_t size)
{
    std::mt19937 random(7);
    std::string text;
    text.reserve(size + 1024);
    while (text.size() < size) {
        const int lines = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < lines; ++i) {
            std::string line;
            while (line.size() < 66) {
                line += Words[random() % Words.size()];
                line += ' ';
            }
            if (i + 1 < lines) {
                if (random() % 4 == 0) line += "An-";
            } else {
                line += "Ende.";
            }
            text += line;
            text += '\n';
        }
        text += '\n';
    }
    return text;
}

bool WriteFile(const std::string& name, const std::string& bytes)
{
    std::ofstream file(name, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: make_cmark_inputs DOCUMENT_DIR MARKDOWN_FILE COUNT\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const int count = std::atoi(argv[3]);
    std::size_t total = 0;
    for (int i = 0; i < count; ++i) {
        const std::string bytes = quorvex::bench::RealisticDocument(7 + static_cast<unsigned>(i));
        const std::string name = folder + "/doc" + std::to_string(i) + ".fa4";
        if (!WriteFile(name, bytes)) {
            std::fprintf(stderr, "make_cmark_inputs: cannot write %s\n", name.c_str());
            return 1;
        }
        total += bytes.size();
    }
    if (!WriteFile(argv[2], MarkdownOfSize(total))) {
        std::fprintf(stderr, "make_cmark_inputs: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%zu\n", total);
    return 0;
}
