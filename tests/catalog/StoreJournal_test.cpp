#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "catalog/JournalReview.h"
#include "catalog/StoreJournal.h"
#include "support/core/Sha256.h"
#include "tests/common/CatalogFolder.h"
#include "tests/common/ScriptedPrompter.h"
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
    EXPECT_EQ(state.listedOnDisk, state.savedList);
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

// An earlier run edited A and B and was killed; before the next start another program changed
// B and C, listed D and took E off the list. Recovered, the list is the journal's with the
// other program's C, and the save tells both sides' changes apart as it would have in the
// earlier run: it asks about B alone, keeps C, D and the removal of E.
class RecoverJournalTest : public testing::Test {
protected:
    RecoverJournalTest()
    {
        for (const char* title : {"A", "B", "C", "E"})
            folder_.AddCatalog(title, {QStringLiteral("/data/") + title});
        CatalogStore earlier(folder_.Path());
        earlier.LoadCatalogList();
        earlier.AddObjects(0, {"/mine/a"});
        earlier.AddObjects(1, {"/mine/b"});
        journal_ = JournalStateOf(earlier, 0);

        CatalogStore other(folder_.Path());
        other.LoadCatalogList();
        other.AddObjects(1, {"/theirs/b"});
        other.AddObjects(2, {"/theirs/c"});
        other.RemoveCatalog(3);
        other.SaveCatalogList();
        folder_.AddCatalog("D", {"/data/D"});
        store_.LoadCatalogList();
        loaded_ = store_.Catalogs();
    }
    std::vector<std::string> ObjectsOf(const char* name) const
    {
        const auto catalog = ReadCatalog(folder_.Path() + name + ".VrCat");
        return catalog ? catalog->Objects.ToStrings() : std::vector<std::string>{};
    }
    std::string File(const char* name) const { return folder_.Path() + name + ".VrCat"; }

    CatalogFolder folder_;
    JournalState journal_;
    CatalogStore store_{folder_.Path()};
    std::vector<TCatalogEntry> loaded_;
    ScriptedPrompter prompter_;
};

TEST_F(RecoverJournalTest, TheRecoveredListIsTheJournalsAndItsUndoIsTheListAsLoaded)
{
    const CatalogEdit undo = store_.Apply(RecoverJournal(store_, journal_));
    const std::vector<std::vector<std::string>> objects = {
        {"/data/A", "/mine/a"}, {"/data/B", "/mine/b"}, {"/data/C", "/theirs/c"}, {"/data/E"}};
    ASSERT_EQ(store_.Count(), 4);
    for (int i = 0; i < store_.Count(); ++i) {
        EXPECT_EQ(store_.Catalog(i).Objects, objects[std::size_t(i)]) << i;
        EXPECT_EQ(store_.IsEdited(i), i < 2) << i;
    }
    store_.Apply(undo);
    EXPECT_EQ(store_.Catalogs(), loaded_);
}

TEST_F(RecoverJournalTest, TheSaveAsksAboutWhatBothSidesChangedAndKeepsTheOtherProgramsWork)
{
    store_.Apply(RecoverJournal(store_, journal_));
    prompter_.Answer(mrNo);
    EXPECT_FALSE(store_.SaveCheckingDisk(prompter_));
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_EQ(prompter_.boxes[0].msg, ChangedOnDiskQuestion({File("B")}));
    EXPECT_EQ(ObjectsOf("B"), (std::vector<std::string>{"/data/B", "/theirs/b"})) << "No writes nothing";

    prompter_.Answer(mrYes);
    EXPECT_TRUE(store_.SaveCheckingDisk(prompter_));
    EXPECT_EQ(ObjectsOf("A"), (std::vector<std::string>{"/data/A", "/mine/a"}));
    EXPECT_EQ(ObjectsOf("B"), (std::vector<std::string>{"/data/B", "/mine/b"}));
    EXPECT_EQ(ObjectsOf("C"), (std::vector<std::string>{"/data/C", "/theirs/c"}));
    CatalogStore after(folder_.Path());
    after.LoadCatalogList();
    std::vector<std::string> listed;
    for (const TCatalogEntry& catalog : after.Catalogs())
        listed.push_back(catalog.FileName);
    EXPECT_EQ(listed, (std::vector<std::string>{File("A"), File("B"), File("C"), File("D")}));
}

}  // namespace
