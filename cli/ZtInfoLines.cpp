// The JSON Lines of --info, made with a JSON library so that every name,
// title and excerpt is escaped as JSON requires.

#include "ZtInfoLines.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

#include "ZtArchiveWalk.h"
#include "ZtBatchReport.h"
#include "ZtDamageAccount.h"
#include "ZtUtf8.h"

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using TJson = nlohmann::ordered_json;

// Strings that are not valid UTF-8 (file names may hold any bytes) are
// written with U+FFFD in place of each invalid byte instead of failing.
std::string Dump(const TJson& object)
{
    return object.dump(-1, ' ', false, TJson::error_handler_t::replace) + "\n";
}

std::string Hex(const std::string& bytes)
{
    constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * bytes.size());
    for (const char c : bytes) {
        hex += Digits[static_cast<unsigned char>(c) >> 4];
        hex += Digits[static_cast<unsigned char>(c) & 0x0F];
    }
    return hex;
}

TJson NameFields(const std::string& name)
{
    TJson object;
    object["name"] = name;
    if (!IsValidUtf8(name)) object["name_hex"] = Hex(name);
    return object;
}

// Local time with its offset from UTC: 2024-03-01T09:30:00+01:00.
std::string Iso8601(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // strftime writes the offset as +0100.
    const std::string_view written(text, length);
    if (written.size() < 5) return std::string(written);
    return std::string(written.substr(0, written.size() - 2)) + ":" +
        std::string(written.substr(written.size() - 2));
}

TJson DamageFields(const TZtDamageAccount& damage)
{
    return {{"lines_outside", damage.LinesOutside}, {"lines_cut", damage.LinesCut},
        {"bytes_missing", damage.BytesMissing}, {"sequences_cut", damage.SequencesCut},
        {"entries_missing", damage.EntriesMissing}, {"tables_unread", damage.TablesUnread},
        {"text", DescribeDamage(damage)}};
}

// A file of a walk, or a named file, with what was read of it.
struct TInfoFile {
    std::string Name;
    TZtDocumentFacts Facts;
};

// Documents and other files of one folder, in path order.
std::vector<TInfoFile> FilesOfWalk(TZtArchiveWalk walk)
{
    std::vector<TInfoFile> files;
    files.reserve(walk.Documents.size() + walk.OtherFiles.size());
    for (auto* found : {&walk.Documents, &walk.OtherFiles})
        for (auto& file : *found) files.push_back({std::move(file.Path), std::move(file.Facts)});
    std::sort(
        files.begin(), files.end(), [](const TInfoFile& a, const TInfoFile& b) { return a.Name < b.Name; });
    return files;
}

bool IsFolder(const std::string& name)
{
    std::error_code error;
    return fs::is_directory(name, error);
}

} // namespace

std::string InfoLine(const std::string& name, const TZtDocumentFacts& facts)
{
    TJson object = NameFields(name);
    object["document"] = facts.LooksLikeDocument;
    object["size"] = facts.Size;
    object["modified"] = Iso8601(facts.Modified);
    if (!facts.LooksLikeDocument) {
        // What a file that is no document would "hold" means nothing.
        for (const char* key : {"lines", "title", "excerpt", "damaged", "damage"}) object[key] = nullptr;
        return Dump(object);
    }
    object["lines"] = facts.LineCount;
    object["title"] = facts.Title;
    object["excerpt"] = facts.Excerpt;
    object["damaged"] = facts.Damage.DamagedLines();
    object["damage"] = facts.Damage.Damaged() ? DamageFields(facts.Damage) : TJson(nullptr);
    return Dump(object);
}

std::string InfoErrorLine(const std::string& name, const std::string& message)
{
    TJson object = NameFields(name);
    object["error"] = message;
    return Dump(object);
}

int PrintInfo(const TZtCliOptions& options, unsigned jobs)
{
    int status = 0;
    const auto failed = [&](const std::string& name, const std::string& message) {
        std::fputs(InfoErrorLine(name, message).c_str(), stdout);
        std::fputs(ErrorLine(name, message).c_str(), stderr);
        status = 1;
    };
    for (const auto& name : options.Documents) {
        if (options.Recursive && IsFolder(name)) {
            TZtArchiveWalk walk = WalkArchive(name, std::nullopt, jobs);
            for (const auto& unreadable : walk.Unreadable) failed(unreadable.Path, unreadable.Message);
            for (const auto& file : FilesOfWalk(std::move(walk)))
                std::fputs(InfoLine(file.Name, file.Facts).c_str(), stdout);
        } else if (IsFolder(name)) {
            failed(name, "is a folder; use -r to look at the documents in it");
        } else {
            try {
                std::fputs(InfoLine(name, ReadDocumentFacts(name)).c_str(), stdout);
            } catch (const std::exception& error) {
                failed(name, error.what());
            }
        }
    }
    return status;
}

} // namespace quorvex
