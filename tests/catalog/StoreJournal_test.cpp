#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "catalog/JournalReview.h"
#include "catalog/StoreJournal.h"
#include "support/core/Sha256.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(StoreJournal, HoldsEditedCatalogsInFullTheOthersByNameAndWhatTheStoreSawOnDisk)
{
    TempFolder folder;
    const std::string control = "[Compress]\r\n0=a.VrCat\r\n1=b.VrCat\r\n";
    const TCatalogEntry a{folder.Path("a.VrCat"), "A", {"/data/a"}};
    const TCatalogEntry b{folder.Path("b.VrCat"), "B", {"/data/b"}};
    folder.Write("a.VrCat", CatalogText(a));
    folder.Write("b.VrCat", CatalogText(b));
    folder.Write("VrCatCtl.ini", control);
    CatalogStore store(folder.Path());
    store.LoadCatalogList();
    store.AddObjects(1, {"/data/new"});
    store.RenameCatalog(0, "c");

    const JournalState state = JournalStateOf(store, 1234);
    EXPECT_EQ(state.folder, folder.Path() + "/");
    EXPECT_EQ(state.takenAt, 1234);
    EXPECT_EQ(state.revision, store.Revision());
    EXPECT_TRUE(state.listChanged);
    const TCatalogEntry renamed{folder.Path("c.VrCat"), "A", {"/data/a"}};
    const TCatalogEntry added{b.FileName, "B", {"/data/b", "/data/new"}};
    const std::vector<JournalEntry> entries = {{renamed, true, {}, a.FileName}, {added, true, {}, b.FileName}};
    EXPECT_EQ(state.entries, entries);
    EXPECT_EQ(state.savedList, (std::vector<std::string>{a.FileName, b.FileName}));
    const std::vector<JournalFingerprint> seen = {
        {folder.Path("VrCatCtl.ini"), Sha256(control), control.size()},
        {a.FileName, Sha256(CatalogText(a)), CatalogText(a).size()},
        {b.FileName, Sha256(CatalogText(b)), CatalogText(b).size()}};
    EXPECT_EQ(state.fingerprints, seen);
    EXPECT_TRUE(ReviewJournal(state).changedOnDisk.empty());

    store.SaveCatalogList();
    const JournalState saved = JournalStateOf(store, 0);
    EXPECT_FALSE(saved.listChanged);
    EXPECT_FALSE(saved.entries[0].changed);
    EXPECT_EQ(saved.entries[0].catalog, (TCatalogEntry{renamed.FileName, {}, {}}));
    EXPECT_TRUE(ReviewJournal(saved).matchesDisk);
}

}  // namespace
