// The converter as a WebAssembly module: the project's own conversion,
// recognition, document facts and archive index, handed bytes from
// JavaScript and handing bytes back. Failures come back as the message the
// command line would show, so that the JavaScript side throws it.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "ZtArchiveIndex.h"
#include "ZtConvertDocument.h"
#include "ZtDefaultPreferences.h"
#include "ZtDamageAccount.h"
#include "ZtDocumentFacts.h"
#include "ZtRecognizeDocument.h"
#include "ZtTextLines.h"

namespace quorvex {
namespace {

using emscripten::val;

// A copy the module's memory can grow under without taking it along.
val BytesToJs(std::string_view bytes)
{
    return val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(
            bytes.size(), reinterpret_cast<const unsigned char*>(bytes.data())));
}

// What `fa4tohtml -o -` with --classic and -p would take.
TZtConversion ConversionFor(bool classic, const val& preferences)
{
    TZtConversion conversion;
    conversion.Preferences = DefaultPreferencesText;
    if (classic) {
        conversion.CharOutput = TCharOutput::Bytes;
        conversion.HyphenJoin = hjLineBreak;
        conversion.Preferences = ClassicPreferencesText;
    }
    if (!preferences.isUndefined() && !preferences.isNull())
        conversion.Preferences =
            JoinTextLines(SplitTextLines(preferences.as<std::string>()).Lines, TLineBreak::CrLf);
    return conversion;
}

// The HTML as a Uint8Array, or the message as a string.
val ConvertBytes(std::string document, bool classic, val preferences)
{
    try {
        const TZtConversion conversion = ConversionFor(classic, preferences);
        TZtFileInfoFa4 fa4;
        fa4.SetCharOutput(conversion.CharOutput);
        fa4.SetHyphenJoin(conversion.HyphenJoin);
        fa4.LoadFromMemory(std::string(StandardInputName), std::move(document));
        return BytesToJs(BuildHtml(conversion.Preferences, fa4));
    } catch (const std::exception& error) {
        return val(std::string(error.what()));
    }
}

bool LooksLikeDocument(std::string head, double fileSize)
{
    return LooksLikeFa4Head(head, static_cast<std::uint64_t>(fileSize));
}

// The facts a folder's list shows of a document, read as the command line
// reads them from a file: the bytes stand in a file of the module's own
// memory file system for the time it takes.
val DocumentFacts(std::string document)
{
    const std::string name = "/tmp/fa4tohtml-facts";
    val result = val::object();
    try {
        std::ofstream(name, std::ios::binary | std::ios::trunc)
            .write(document.data(), static_cast<std::streamsize>(document.size()));
        const TZtDocumentFacts facts = ReadDocumentFacts(name);
        std::remove(name.c_str());
        result.set("looksLikeDocument", facts.LooksLikeDocument);
        result.set("lines", facts.LineCount);
        result.set("title", facts.Title);
        result.set("excerpt", facts.Excerpt);
        result.set("damage", DescribeDamage(facts.Damage));
    } catch (const std::exception& error) {
        std::remove(name.c_str());
        result.set("error", std::string(error.what()));
    }
    return result;
}

// `rows` are objects {path, failure?, title, excerpt, damage, lines, size,
// modified (seconds)}.
val ArchiveIndex(std::string archiveName, val rows)
{
    std::vector<TZtIndexRow> indexRows;
    const auto count = rows["length"].as<unsigned>();
    for (unsigned i = 0; i < count; ++i) {
        const val row = rows[i];
        TZtIndexRow indexRow;
        indexRow.Path = row["path"].as<std::string>();
        if (row["failure"].isString()) indexRow.Failure = row["failure"].as<std::string>();
        if (row["title"].isString()) indexRow.Title = row["title"].as<std::string>();
        if (row["excerpt"].isString()) indexRow.Excerpt = row["excerpt"].as<std::string>();
        if (row["damage"].isString()) indexRow.Damage = row["damage"].as<std::string>();
        if (row["lines"].isNumber()) indexRow.Lines = row["lines"].as<std::int32_t>();
        indexRow.Size = static_cast<std::uint64_t>(row["size"].as<double>());
        indexRow.Modified = static_cast<std::time_t>(row["modified"].as<double>());
        indexRows.push_back(std::move(indexRow));
    }
    return BytesToJs(BuildArchiveIndex(archiveName, std::move(indexRows)));
}

} // namespace
} // namespace quorvex

EMSCRIPTEN_BINDINGS(fa4tohtml)
{
    emscripten::function("convertBytes", &quorvex::ConvertBytes);
    emscripten::function("looksLikeDocument", &quorvex::LooksLikeDocument);
    emscripten::function("documentFacts", &quorvex::DocumentFacts);
    emscripten::function("archiveIndex", &quorvex::ArchiveIndex);
    emscripten::constant("recognitionHeadSize", static_cast<double>(quorvex::RecognitionHeadSize));
}
