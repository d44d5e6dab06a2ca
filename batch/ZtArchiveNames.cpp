// Entry names for a zip of an archive, made from paths alone.

#include "ZtArchiveNames.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "ZtArchiveIndex.h"
#include "ZtBatchRequest.h"

namespace quorvex {
namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The segments that name something inside the archive's folder. Windows
// reads '\' as '/', so both separate folders; "C:" at the start names a
// drive there.
std::vector<std::string_view> InsideSegments(std::string_view path)
{
    std::vector<std::string_view> segments;
    while (!path.empty()) {
        const auto end = std::find_if(path.begin(), path.end(), IsSeparator);
        std::string_view segment = path.substr(0, static_cast<std::size_t>(end - path.begin()));
        path.remove_prefix(std::min(path.size(), segment.size() + 1));
        if (segments.empty() && segment.size() >= 2 && IsAsciiLetter(segment[0]) && segment[1] == ':')
            segment.remove_prefix(2);
        if (!segment.empty() && segment != "." && segment != "..") segments.push_back(segment);
    }
    return segments;
}

// Names as systems that ignore case compare them: ASCII and the Latin-1
// letters (as UTF-8) in lower case.
std::string Folded(std::string_view name)
{
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        char& c = folded[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (c == '\xC3' && i + 1 < folded.size()) {
            char& next = folded[i + 1];
            const auto low = static_cast<unsigned char>(next);
            if (low >= 0x80 && low <= 0x9E && low != 0x97) next = static_cast<char>(low + 0x20);
            ++i;
        }
    }
    return folded;
}

std::string Joined(const std::string& folder, std::string_view name)
{
    return folder.empty() ? std::string(name) : folder + '/' + std::string(name);
}

// The names of the zip so far, compared as folded.
class TEntryNames {
public:
    TEntryNames() { FTaken.insert(Folded(IndexFileName)); }

    // The folder that `segments` name, made once for all its documents.
    std::string Folder(const std::vector<std::string_view>& segments)
    {
        std::string source;
        std::string folder;
        for (const auto segment : segments) {
            source = Joined(source, segment);
            const auto [known, added] = FFolders.try_emplace(source);
            if (added) known->second = FreeName(folder, std::string(segment), "");
            folder = known->second;
        }
        return folder;
    }

    // `name` in `folder`, or the first of "name~2", "name~3" ... that is
    // free, with `suffix` after it.
    std::string FreeName(const std::string& folder, const std::string& name, std::string_view suffix)
    {
        for (int number = 1;; ++number) {
            std::string candidate = name;
            if (number > 1) candidate += '~' + std::to_string(number);
            candidate += suffix;
            const std::string path = Joined(folder, candidate);
            if (FTaken.insert(Folded(path)).second) return path;
        }
    }

private:
    std::unordered_set<std::string> FTaken; // folded paths of files and folders
    std::unordered_map<std::string, std::string> FFolders; // source folder -> its entry
};

// The conflicts the command line finds by name for a folder's documents.
std::vector<std::string> NameConflicts(const std::vector<std::string>& paths)
{
    std::vector<std::string> conflicts;
    std::unordered_map<std::string, const std::string*> writers;
    const std::string index(IndexFileName);
    for (const auto& path : paths) {
        const std::string target = WithHtmlExtension(path);
        if (target == index) {
            conflicts.push_back(path + " and the index would both be written to " + index);
            continue;
        }
        const auto [first, added] = writers.try_emplace(target, &path);
        if (!added)
            conflicts.push_back(*first->second + " and " + path + " would both be written to " + target);
    }
    return conflicts;
}

} // namespace

TZtArchivePlan PlanArchiveEntries(const std::vector<std::string>& paths)
{
    std::vector<std::vector<std::string_view>> inside;
    inside.reserve(paths.size());
    for (const auto& path : paths) inside.push_back(InsideSegments(path));
    // A path that had to be made safe never takes the name of one that is
    // safe as it is: those are named first.
    std::vector<char> safe(paths.size(), 0);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::string joined;
        for (const auto segment : inside[i]) joined = Joined(joined, segment);
        safe[i] = joined == paths[i] ? 1 : 0;
    }
    TZtArchivePlan plan;
    plan.Entries.resize(paths.size());
    TEntryNames names;
    const std::string html = WithHtmlExtension("");
    for (const char pass : {1, 0}) {
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (safe[i] != pass) continue;
            std::vector<std::string_view>& segments = inside[i];
            const std::string name = segments.empty() ? "_" : std::string(segments.back());
            if (!segments.empty()) segments.pop_back();
            const std::string folder = names.Folder(segments);
            std::string entry = names.FreeName(folder, name, html);
            plan.Entries[i].IndexPath = entry.substr(0, entry.size() - html.size());
            plan.Entries[i].Entry = std::move(entry);
        }
    }
    plan.Conflicts = NameConflicts(paths);
    return plan;
}

std::vector<std::size_t> WalkOrder(const std::vector<std::string>& paths)
{
    std::vector<std::size_t> order(paths.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Segment by segment, each compared as the walk compares names.
    const auto precedes = [&](std::size_t a, std::size_t b) {
        std::string_view x = paths[a];
        std::string_view y = paths[b];
        for (;;) {
            const std::string_view first = x.substr(0, x.find('/'));
            const std::string_view second = y.substr(0, y.find('/'));
            if (first != second) return first < second;
            const bool xEnds = first.size() == x.size();
            const bool yEnds = second.size() == y.size();
            if (xEnds || yEnds) return xEnds && !yEnds;
            x.remove_prefix(first.size() + 1);
            y.remove_prefix(second.size() + 1);
        }
    };
    std::stable_sort(order.begin(), order.end(), precedes);
    return order;
}

} // namespace quorvex
