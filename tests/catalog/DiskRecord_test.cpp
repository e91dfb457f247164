#include "catalog/DiskRecord.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace {

// What another program may do to a file after the record saw it, and whether a record with
// digests and one without tell it as a change.
struct Case {
    const char* what;
    std::function<void(const TempFolder&)> act;
    bool changedWithDigests;
    bool changedWithoutDigests;
};

void Replace(const TempFolder& folder, const std::string& bytes)
{
    folder.Write("new", bytes);
    std::rename(folder.Path("new").c_str(), folder.Path("f").c_str());
}

TEST(DiskRecord, TellsAChangeByContentWithDigestsAndByIdentityWithout)
{
    const Case cases[] = {
        {"left alone", [](const TempFolder&) {}, false, false},
        {"replaced by the same bytes", [](const TempFolder& f) { Replace(f, "abcd"); }, false, true},
        {"replaced by other bytes of its size", [](const TempFolder& f) { Replace(f, "abcx"); }, true, true},
        {"rewritten in place, same size", [](const TempFolder& f) { f.Write("f", "wxyz"); }, true, true},
        {"grown", [](const TempFolder& f) { f.Write("f", "abcde"); }, true, true},
        {"removed", [](const TempFolder& f) { std::remove(f.Path("f").c_str()); }, true, true},
    };
    for (const Case& c : cases) {
        for (const bool digests : {true, false}) {
            const TempFolder folder;
            folder.Write("f", "abcd");
            DiskRecord record;
            record.KeepDigests(digests);
            const std::string path = folder.Path("f");
            const DiskRecord::Fingerprint facts = DiskRecord::Look(path);
            record.Remember(path, record.Of(facts, "abcd"));
            EXPECT_EQ(record.Seen(path).sha256.has_value(), digests);
            c.act(folder);
            DiskRecord::Now now(path);
            EXPECT_EQ(record.ChangedSinceSeen(path, now), digests ? c.changedWithDigests : c.changedWithoutDigests)
                << c.what << (digests ? ", with digests" : ", without digests");
        }
    }
}

// A file never seen counts as none; a folder where a file was is no file.
TEST(DiskRecord, AFileNeverSeenOrAFolderInItsPlaceIsNoFile)
{
    const TempFolder folder;
    DiskRecord record;
    folder.Write("f", "x");
    DiskRecord::Now appeared(folder.Path("f"));
    EXPECT_TRUE(record.ChangedSinceSeen(folder.Path("f"), appeared));
    folder.MakeFolder("d");
    EXPECT_FALSE(DiskRecord::Look(folder.Path("d")).exists);
    DiskRecord::Now folderNow(folder.Path("d"));
    EXPECT_FALSE(record.ChangedSinceSeen(folder.Path("d"), folderNow));
    EXPECT_FALSE(folderNow.Bytes());
}

}  // namespace
