#include "catalog/CatalogStore.h"
#include "catalog/JournalFile.h"
#include "catalog/JournalFormat.h"
#include "catalog/JournalOwner.h"
#include "catalog/SafeSave.h"
#include "support/core/TessnaError.h"
#include "tests/catalog/SampleJournal.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace {

class JournalFileTest : public testing::Test {
protected:
    std::filesystem::perms Mode(const std::string& name) const
    {
        return std::filesystem::symlink_status(folder_.Path(name)).permissions();
    }

    TempFolder folder_;
    JournalFile journal_{folder_.Path()};
    const JournalState state_ = SampleJournal(folder_.Path() + "/");
};

TEST_F(JournalFileTest, AWrittenJournalIsHiddenOnlyItsOwnerMayReadItAndItReadsBack)
{
    EXPECT_FALSE(journal_.Read());
    const mode_t umask = ::umask(0);
    journal_.Write(state_);
    ::umask(umask);
    EXPECT_EQ(journal_.Path(), folder_.Path() + "/.TessnaJournal");
    EXPECT_EQ(Mode(".TessnaJournal"), std::filesystem::perms(0600));
    EXPECT_EQ(journal_.Read()->state, state_);

    // One that someone opened up is closed again by the next write.
    std::filesystem::permissions(journal_.Path(), std::filesystem::perms(0644));
    JournalState next = state_;
    ++next.revision;
    journal_.Write(next);
    EXPECT_EQ(Mode(".TessnaJournal"), std::filesystem::perms(0600));
    EXPECT_EQ(journal_.Read()->state, next);
    EXPECT_EQ(folder_.EntryCount(), 1u) << "a temporary file was left";

    EXPECT_TRUE(journal_.Remove());
    EXPECT_FALSE(journal_.Read());
    EXPECT_TRUE(journal_.Remove());
}

TEST_F(JournalFileTest, OneThatCannotBeReadIsSetAsideUnderANewNameNeverDeleted)
{
    const std::string damaged = EncodeJournal(state_).substr(0, 100);
    std::vector<std::string> asideNames;
    for (int round = 0; round < 2; ++round) {
        folder_.Write(".TessnaJournal", damaged);
        const auto found = journal_.Read();
        ASSERT_TRUE(found);
        EXPECT_FALSE(found->state);
        const auto aside = journal_.SetAside();
        ASSERT_TRUE(aside);
        EXPECT_TRUE(aside->starts_with(folder_.Path() + "/.TessnaJournal.unreadable-")) << *aside;
        EXPECT_EQ(folder_.Read(aside->substr(folder_.Path().size() + 1)), damaged);
        asideNames.push_back(*aside);
    }
    EXPECT_NE(asideNames[0], asideNames[1]);
    EXPECT_FALSE(journal_.Read());

    // A folder in its place is no journal either, and goes aside whole.
    folder_.MakeFolder(".TessnaJournal/inside");
    ASSERT_TRUE(journal_.Read());
    EXPECT_FALSE(journal_.Read()->state);
    EXPECT_THROW(journal_.Write(state_), TessnaError);
    ASSERT_TRUE(journal_.SetAside());
    EXPECT_FALSE(journal_.Read());
}

TEST_F(JournalFileTest, ALinkInItsPlaceIsNeverWrittenThrough)
{
    folder_.Write("victim", "precious");
    std::filesystem::create_symlink(folder_.Path("victim"), journal_.Path());
    EXPECT_THROW(journal_.Write(state_), TessnaError);
    EXPECT_EQ(folder_.Read("victim"), "precious");
}

// Neither a list nor a cleanup of killed saves takes the journal, its lock or one set aside:
// listed by hand, the journal is an entry that is not loaded, so never written.
TEST_F(JournalFileTest, NoListTakesItAndNoCleanupRemovesIt)
{
    journal_.Write(state_);
    folder_.Write(".TessnaJournal.lock", "");
    folder_.Write(".TessnaJournal.unreadable-20261209-101010", "x");
    folder_.Write("VrCatCtl.ini", "[Compress]\r\n0=.TessnaJournal\r\n");
    EXPECT_EQ(RemoveDeadTemporaries(folder_.Path()), 0);
    CatalogStore store(folder_.Path());
    store.LoadCatalogList();
    ASSERT_EQ(store.Count(), 1);
    EXPECT_FALSE(store.IsLoaded(0));
    EXPECT_EQ(folder_.EntryCount(), 4u);
    EXPECT_FALSE(journal_.Path().ends_with(CatalogExtension));
    EXPECT_EQ(journal_.Read()->state, state_);
}

}  // namespace
