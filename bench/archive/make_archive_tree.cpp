// Writes a generated archive for the archive benchmark: documents of letters
// and reports spread over nested folders, with a text file in every folder.
//
//   make_archive_tree FOLDER DOCUMENTS FOLDERS [varied]
//
// With "varied" every paragraph also holds a line of made-up words, so that
// the documents' texts differ as real ones do (for the search benchmark).

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "Fa4Builder.h"
#include "MadeUpWords.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using quorvex::testing::TFa4Builder;

constexpr const char* Sentences[] = {
    "Sehr geehrte Damen und Herren, wir danken f\x81r Ihre Anfrage vom 3. M\x84rz.",
    "Die Lieferung von 200 St\x81"
    "ck Schrauben der Gr\x94\xE1"
    "e M8 erfolgt innerhalb von zwei Wochen.",
    "\xFF\x80Zahlung\xFF\x90 innerhalb von 30 Tagen ohne Abzug, & Preise <netto>.",
    "Mit freundlichen Gr\x81\xE1"
    "en aus der Hauptstra\xE1"
    "e 5.",
};

// A letter or report of `paragraphs` paragraphs and a small table.
TFa4Builder Document(int number, int paragraphs, bool varied)
{
    quorvex::bench::TMadeUpText words(static_cast<std::uint32_t>(number));
    TFa4Builder builder;
    builder.Line("Musterfirma GmbH | Hauptstra\xE1"
                 "e 5\xFF\x01");
    builder.EmptyParagraphs(5);
    builder.Line("\xFF\x88\xFF\x80Musterfirma GmbH\xFF\x90\xFF\x98\xFF\x01");
    builder.EmptyParagraphs(5);
    builder.Line("Schreiben Nr. " + std::to_string(number) + "\xFF\x01");
    for (int p = 0; p < paragraphs; ++p) {
        for (int s = 0; s < 4; ++s) builder.Line(Sentences[(p + s + number) % 4]);
        if (varied) builder.Line(words.Line(50000, 70));
        builder.Line("\xFF\x01");
        if (p % 10 == 5) {
            builder.Line("\xDA\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC2\xC4\xC4\xC4\xC4\xC4\xC4\xBF");
            builder.Line("\xB3Menge   \xB3Preis \xB3");
            builder.Line("\xB3" + std::to_string(p) + " St.  \xB3 12,50\xB3");
            builder.Line("\xC0\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC1\xC4\xC4\xC4\xC4\xC4\xC4\xD9");
        }
    }
    return builder;
}

// Folders two levels deep: years, and kinds of documents within them.
int YearOf(int folder)
{
    return 1988 + folder / 4;
}

fs::path FolderName(int folder)
{
    constexpr const char* Kinds[] = {"briefe", "berichte", "formulare", "notizen"};
    return fs::path("jahr-" + std::to_string(YearOf(folder))) / Kinds[folder % 4];
}

// An archive's documents were last changed in the year of their folder, not
// a moment before the run that converts them.
void DateIn(const fs::path& file, int year, int day)
{
    std::tm date{};
    date.tm_year = year - 1900;
    date.tm_mday = 1 + day % 365; // normalised by timegm
    date.tm_hour = 9 + day % 8;
    const timespec time{timegm(&date), 0};
    const timespec times[2] = {time, time};
    ::utimensat(AT_FDCWD, file.c_str(), times, 0);
}

} // namespace

int main(int argc, char** argv)
{
    const bool varied = argc == 5 && std::string(argv[4]) == "varied";
    if (argc != 4 && !varied) {
        std::fputs("usage: make_archive_tree FOLDER DOCUMENTS FOLDERS [varied]\n", stderr);
        return 2;
    }
    const fs::path root = argv[1];
    const int documents = std::stoi(argv[2]);
    const int folders = std::stoi(argv[3]);
    for (int f = 0; f < folders; ++f) {
        fs::create_directories(root / FolderName(f));
        const fs::path readme = root / FolderName(f) / "LIESMICH.TXT";
        quorvex::testing::WriteFileBytes(readme.string(), "Archiv\r\n");
        DateIn(readme, YearOf(f), 0);
    }
    for (int d = 0; d < documents; ++d) {
        const fs::path name = root / FolderName(d % folders) / ("DOK" + std::to_string(d) + ".TXT");
        // From short notes to reports of a few hundred lines.
        Document(d, 5 + (d * 7) % 60, varied).WriteTo(name.string());
        DateIn(name, YearOf(d % folders), d);
    }
    return 0;
}
