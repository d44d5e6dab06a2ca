// The cache of what a run read of the tree's files: a file is known again
// only as exactly the same file, and damaged cache bytes are no cache.

#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "ZtArchiveWalk.h"
#include "ZtFactsCache.h"

namespace quorvex::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t Now = 1'700'000'000'000'000'000;

TZtDocumentFacts Facts(bool isDocument, std::string title)
{
    TZtDocumentFacts facts;
    facts.LooksLikeDocument = isDocument;
    facts.Device = 3;
    facts.Inode = 77;
    facts.Size = 123456;
    facts.ModifiedNs = Now - 3600'000'000'000;
    facts.ChangedNs = Now - 60'000'000'000;
    facts.LineCount = isDocument ? 42 : 0;
    facts.Title = std::move(title);
    facts.Excerpt = isDocument ? "Sehr geehrte Damen und Herren" : "";
    facts.Damage.Lines = isDocument ? 42 : 0;
    facts.Damage.LinesCut = isDocument ? 1 : 0;
    facts.Damage.BytesMissing = isDocument ? 5'000'000'000 : 0;
    return facts;
}

std::string CacheOf(const std::string& path, const TZtDocumentFacts& facts)
{
    TZtFactsCacheWriter writer(Now);
    writer.Add(path, facts);
    writer.Add("archive/readme.txt", Facts(false, ""));
    return writer.Finish();
}

TEST(FactsCache, KnowsAFileOnlyAsTheSameFileUnchanged)
{
    const TZtDocumentFacts stored = Facts(true, "Brief \xC3\xA4");
    const TZtFactsCache cache(CacheOf("archive/BRIEF", stored));
    const auto found = cache.Find("archive/BRIEF", stored);
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->LooksLikeDocument);
    EXPECT_EQ(found->LineCount, 42);
    EXPECT_EQ(found->Title, "Brief \xC3\xA4");
    EXPECT_EQ(found->Excerpt, stored.Excerpt);
    EXPECT_EQ(found->Damage, stored.Damage);
    ASSERT_TRUE(cache.Find("archive/readme.txt", Facts(false, "")));
    EXPECT_FALSE(cache.Find("archive/readme.txt", Facts(false, ""))->LooksLikeDocument);
    EXPECT_FALSE(cache.Find("archive/OTHER", stored));

    // Rewritten in place with as many bytes and its time set back: only the
    // change time tells.
    for (const auto change : {&TZtDocumentFacts::ChangedNs, &TZtDocumentFacts::ModifiedNs}) {
        TZtDocumentFacts changed = stored;
        changed.*change += 1;
        EXPECT_FALSE(cache.Find("archive/BRIEF", changed));
    }
    for (const auto change : {&TZtDocumentFacts::Size, &TZtDocumentFacts::Inode, &TZtDocumentFacts::Device}) {
        TZtDocumentFacts changed = stored;
        changed.*change += 1;
        EXPECT_FALSE(cache.Find("archive/BRIEF", changed));
    }
}

TEST(FactsCache, FileModifiedJustBeforeTheRunIsNotKept)
{
    TZtDocumentFacts recent = Facts(true, "Neu");
    recent.ModifiedNs = Now - SettledAfterNs + 1;
    EXPECT_FALSE(TZtFactsCache(CacheOf("archive/NEU", recent)).Knows("archive/NEU"));
}

TEST(FactsCache, DamagedBytesAreNoCache)
{
    const std::string bytes = CacheOf("archive/BRIEF", Facts(true, "Brief"));
    ASSERT_TRUE(TZtFactsCache(bytes).Knows("archive/BRIEF"));
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(TZtFactsCache(bytes.substr(0, size)).Knows("archive/readme.txt")) << size;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::string garbled = bytes;
        garbled[at] = static_cast<char>(garbled[at] ^ 0x40);
        EXPECT_FALSE(TZtFactsCache(garbled).Knows("archive/readme.txt")) << at;
    }
    EXPECT_FALSE(TZtFactsCache(bytes + "x").Knows("archive/BRIEF"));
}

// The walk takes the cache's word for a file it knows as it is, and reads a
// file that changed.
TEST(FactsCache, WalkUsesWhatItKnowsOfAnUnchangedFile)
{
    const fs::path root = MakeTempFolder("quorvex-cache");
    const std::string text = (root / "notes.txt").string();
    WriteFileBytes(text, "kein Dokument\n");
    TZtDocumentFacts claimed = *FileFactsOf(text);
    claimed.LooksLikeDocument = true;
    claimed.Title = "Aus dem Speicher";
    TZtFactsCacheWriter writer(claimed.ModifiedNs + SettledAfterNs + 1);
    writer.Add(text, claimed);
    const TZtFactsCache cache(writer.Finish());

    const TZtArchiveWalk walk = WalkArchive(root, std::nullopt, 1, &cache);
    ASSERT_EQ(walk.Documents.size(), 1u);
    EXPECT_EQ(walk.Documents[0].Facts.Title, "Aus dem Speicher");

    WriteFileBytes(text, "kein Dokument, anders\n");
    EXPECT_TRUE(WalkArchive(root, std::nullopt, 1, &cache).Documents.empty());
    fs::remove_all(root);
}

} // namespace
} // namespace quorvex::testing
