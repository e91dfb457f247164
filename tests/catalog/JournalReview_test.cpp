#include "catalog/CatalogFile.h"
#include "catalog/JournalReview.h"
#include "support/core/Sha256.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class JournalReviewTest : public testing::Test {
protected:
    JournalReviewTest()
    {
        folder_.Write("a.VrCat", CatalogText(a_));
        folder_.Write("VrCatCtl.ini", control_);
        state_.folder = Folder();
        state_.entries.push_back({a_, false, {}, a_.FileName});
    }
    std::string Folder() const { return folder_.Path() + "/"; }

    TempFolder folder_;
    const TCatalogEntry a_{folder_.Path("a.VrCat"), "A", {"/data/a"}};
    const std::string control_ = "[Extract]\r\n0=x.VrCat\r\n[Compress]\r\n0=a.VrCat\r\n";
    JournalState state_;
};

TEST_F(JournalReviewTest, AJournalMatchesTheDiskWhenASaveOfItWouldWriteNothing)
{
    EXPECT_TRUE(ReviewJournal(state_).matchesDisk) << "no change at all";

    TCatalogEntry changed = a_;
    changed.Objects.push_back("/data/new");
    state_.entries[0] = {changed, true, {}, a_.FileName};
    EXPECT_FALSE(ReviewJournal(state_).matchesDisk);
    folder_.Write("a.VrCat", CatalogText(changed));
    EXPECT_TRUE(ReviewJournal(state_).matchesDisk) << "another program saved the same change";

    state_.listChanged = true;
    state_.entries.push_back({{folder_.Path("b.VrCat"), {}, {}}, false, "unreadable", folder_.Path("b.VrCat")});
    EXPECT_FALSE(ReviewJournal(state_).matchesDisk);
    folder_.Write("VrCatCtl.ini", "[Extract]\r\n0=x.VrCat\r\n[Compress]\r\n0=a.VrCat\r\n1=b.VrCat\r\n");
    EXPECT_TRUE(ReviewJournal(state_).matchesDisk);

    state_.entries.clear();
    std::filesystem::remove(folder_.Path("VrCatCtl.ini"));
    EXPECT_TRUE(ReviewJournal(state_).matchesDisk) << "an empty list and no control file";
}

TEST_F(JournalReviewTest, TheFilesChangedOnDiskSinceAreNamedInTheOrderOfTheFingerprints)
{
    folder_.Write("gone.VrCat", "x");
    const struct {
        std::string name;
        std::optional<std::string> seen;   // nothing: no file was there
        std::optional<std::string> write;  // what another program wrote since
        bool removed;                      // another program removed it since
        bool named;
    } files[] = {
        {"VrCatCtl.ini", control_, control_ + "1=b.VrCat\r\n", false, true},
        {"a.VrCat", CatalogText(a_), std::nullopt, false, false},
        {"gone.VrCat", "x", std::nullopt, true, true},
        {"new.VrCat", std::nullopt, "x", false, true},
        {"never.VrCat", std::nullopt, std::nullopt, false, false},
    };
    std::vector<std::string> named;
    for (const auto& file : files) {
        state_.fingerprints.push_back({folder_.Path(file.name), file.seen ? std::optional(Sha256(*file.seen)) : std::nullopt,
                                       file.seen ? file.seen->size() : 0});
        if (file.write)
            folder_.Write(file.name, *file.write);
        if (file.removed)
            std::filesystem::remove(folder_.Path(file.name));
        if (file.named)
            named.push_back(folder_.Path(file.name));
    }
    EXPECT_EQ(ReviewJournal(state_).changedOnDisk, named);
}

}  // namespace
