// Writes an archive's index and its search data for DOCUMENTS made-up
// documents without converting any, to see how an index of 100000 documents
// opens and searches:
//
//   make_search_site FOLDER DOCUMENTS
//
// Prints the bytes of text and of search data.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "MadeUpWords.h"
#include "TestFiles.h"
#include "ZtArchiveIndex.h"
#include "ZtSearchData.h"

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    using namespace quorvex;
    if (argc != 3) {
        std::fputs("usage: make_search_site FOLDER DOCUMENTS\n", stderr);
        return 2;
    }
    const fs::path root = argv[1];
    const int documents = std::stoi(argv[2]);
    std::vector<TZtIndexRow> rows;
    for (int d = 0; d < documents; ++d) {
        bench::TMadeUpText words(static_cast<std::uint32_t>(d));
        TZtIndexRow row;
        row.Path = "jahr-" + std::to_string(1988 + d % 40) + "/DOK" + std::to_string(d) + ".TXT";
        row.Title = "Schreiben Nr. " + std::to_string(d);
        row.Excerpt =
            "Sehr geehrte Damen und Herren, wir danken Ihnen f\xC3\xBCr Ihre Anfrage vom 3. M\xC3\xA4rz.";
        row.Lines = 40 + d % 300;
        row.Size = 110038 + 40 * static_cast<std::uint64_t>(row.Lines);
        row.Modified = 600000000 + d * 1000;
        // From short notes to letters of several pages, as UTF-8.
        for (int line = 0; line < 5 + (d * 7) % 50; ++line) row.Text += words.Line(50000, 70) + "\n";
        std::string utf8;
        for (const char c : row.Text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte == 0x81)
                utf8 += "\xC3\xBC";
            else if (byte == 0x84)
                utf8 += "\xC3\xA4";
            else if (byte == 0x94)
                utf8 += "\xC3\xB6";
            else if (byte == 0xE1)
                utf8 += "\xC3\x9F";
            else
                utf8 += c;
        }
        row.Text = std::move(utf8);
        rows.push_back(std::move(row));
    }
    TZtSearchDataBuilder builder;
    for (const std::size_t i : RowsInIndexOrder(rows)) builder.Add(rows[i].Path, rows[i].Text);
    fs::create_directories(root / SearchFolderName);
    std::uint64_t dataBytes = 0;
    for (const TZtSearchFile& file : builder.Finish()) {
        testing::WriteFileBytes((root / SearchFolderName / file.Name).string(), file.Bytes);
        dataBytes += file.Bytes.size();
    }
    const std::string index = BuildArchiveIndex("generated archive", std::move(rows), true);
    testing::WriteFileBytes((root / IndexFileName).string(), index);
    std::printf("text %llu bytes, search data %llu bytes, index %zu bytes\n",
        static_cast<unsigned long long>(builder.TextBytes()), static_cast<unsigned long long>(dataBytes),
        index.size());
    return 0;
}
