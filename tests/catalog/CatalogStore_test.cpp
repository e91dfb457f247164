#include "catalog/CatalogFile.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>

namespace {

using Lines = std::vector<std::string>;

std::string Catalog(const std::string& title, const Lines& objects = {})
{
    return CatalogText({"", title, objects});
}

class CatalogStoreTest : public testing::Test {
protected:
    Lines Names() const
    {
        Lines names;
        for (const TCatalogEntry& entry : store.Catalogs())
            names.push_back(DisplayedName(entry.FileName));
        return names;
    }

    TCatalogParam WizardResult(const std::string& title, const Lines& objects) const
    {
        TCatalogParam data;
        data.Common = {"Operation=Compress", "Title=" + title};
        data.Options = {"Ignored=1"};
        data.Objects = objects;
        return data;
    }

    TempFolder folder;
    CatalogStore store{folder.Path()};
};

TEST_F(CatalogStoreTest, LoadsInTheOrderOfTheKeysAndSavesThemRenumberedOnceTheListChanges)
{
    folder.Write("b.VrCat", Catalog("B"));
    folder.Write("a.VrCat", Catalog("A"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n5=b.VrCat\r\n1=a.VrCat\r\n");
    int resets = 0;
    QObject::connect(&store, &CatalogStore::ListReset, [&] { ++resets; });

    store.LoadCatalogList();
    EXPECT_EQ(Names(), (Lines{"b", "a"}));
    EXPECT_EQ(resets, 1);
    EXPECT_FALSE(store.Modified());

    store.AddCatalogFromWizard(WizardResult("c", {}));
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=b.VrCat\r\n1=a.VrCat\r\n2=c.VrCat\r\n");
}

TEST_F(CatalogStoreTest, DropsValuesThatNameNoTextFileAndForgetsThemWhenTheListIsSaved)
{
    folder.Write("good.VrCat", Catalog("Good"));
    folder.Write("empty.VrCat", "");
    folder.Write("binary.VrCat", std::string("MZ\x90\0\x03", 5));
    folder.Write("keyless.VrCat", "[Common]\r\n\r\n[Objects]\r\n/a\r\n");
    folder.Write("sub/inner.VrCat", Catalog("Inner"));
    std::filesystem::create_directory(folder.Path("folder.VrCat"));
    folder.Write("VrCatCtl.ini",
                 "[Compress]\r\n0=missing.VrCat\r\n1=empty.VrCat\r\n2=binary.VrCat\r\n"
                 "3=keyless.VrCat\r\n4=folder.VrCat\r\n5=" + folder.Path("good.VrCat")
                 + "\r\n6=*.VrCat\r\n7=\r\n8=sub/inner.VrCat\r\n9=good.VrCat\r\n");

    store.LoadCatalogList();
    EXPECT_EQ(Names(), (Lines{"inner", "good"}));
    store.AddObjects(0, {"/x"});
    store.RemoveCatalog(1);
    store.AddCatalogFromWizard(WizardResult("good", {}));
    store.SaveCatalogList();
    // The catalog found in a subfolder is written back there, but listed by its name alone.
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=inner.VrCat\r\n1=good.VrCat\r\n");
    EXPECT_EQ(folder.Read("sub/inner.VrCat"), Catalog("Inner", {"/x"}));
    EXPECT_EQ(folder.Read("empty.VrCat"), "");

    store.LoadCatalogList();
    EXPECT_EQ(Names(), Lines{"good"});
}

TEST_F(CatalogStoreTest, TakesAFileListedTwiceOnce)
{
    folder.Write("a.VrCat", Catalog("A"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=a.VrCat\r\n1=b.VrCat\r\n2=a.VrCat\r\n3= a.VrCat \r\n");
    store.LoadCatalogList();
    EXPECT_EQ(Names(), Lines{"a"});
}

// Files that exist but cannot be read, even by root: a link to itself and a name longer than
// the file system allows.
TEST_F(CatalogStoreTest, ACatalogThatCannotBeReadStaysListedUnloadedAndIsNeverWritten)
{
    const std::string longName(300, 'x');
    folder.Write("a.VrCat", Catalog("A"));
    folder.Write("c.VrCat", Catalog("C", {"/c"}));
    std::filesystem::create_symlink(folder.Path("loop.VrCat"), folder.Path("loop.VrCat"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=a.VrCat\r\n1=loop.VrCat\r\n2=" + longName
                                     + ".VrCat\r\n3=c.VrCat\r\n");
    int resets = 0;
    QObject::connect(&store, &CatalogStore::ListReset, [&] { ++resets; });

    store.LoadCatalogList();
    EXPECT_EQ(Names(), (Lines{"a", "loop", longName, "c"}));
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(store.IsLoaded(0));
    EXPECT_FALSE(store.IsLoaded(1));
    EXPECT_FALSE(store.IsLoaded(2));
    const auto unreadable = store.UnreadableCatalogs();
    ASSERT_EQ(unreadable.size(), 2u);
    EXPECT_EQ(unreadable[0].fileName, folder.Path("loop.VrCat"));
    EXPECT_EQ(unreadable[1].reason, Cp932Text("名前が長すぎます"));
    const std::string message = UnreadableCatalogsMessage(unreadable);
    EXPECT_NE(message.find(Cp932Text("\nファイル loop.VrCat は開けません: リンク")), std::string::npos);
    // A name too long to break in a box is cut in the middle.
    EXPECT_NE(message.find(Cp932Text(std::string(24, 'x') + "…" + std::string(18, 'x') + ".VrCat は開けません: 名前が長すぎます")),
              std::string::npos);

    EXPECT_THROW(store.RenameCatalog(1, "other"), TessnaError);
    EXPECT_THROW(store.AddObjects(1, {"/x"}), TessnaError);
    EXPECT_THROW(store.RemoveObjects(2, {"/x"}), TessnaError);
    EXPECT_THROW(store.ReplaceObjects(2, {"/x"}), TessnaError);
    EXPECT_FALSE(store.Modified());

    store.AddObjects(3, {"/new"});
    store.SaveCatalogList();
    const std::string everyKey = "[Compress]\r\n0=a.VrCat\r\n1=loop.VrCat\r\n2=" + longName + ".VrCat\r\n3=c.VrCat\r\n";
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), everyKey);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("loop.VrCat")));
    EXPECT_EQ(folder.Read("c.VrCat"), Catalog("C", {"/c", "/new"}));

    // The next start tries again; only a delete shortens the list.
    store.LoadCatalogList();
    EXPECT_EQ(Names(), (Lines{"a", "loop", longName, "c"}));
    store.RemoveCatalog(1);
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=a.VrCat\r\n1=" + longName + ".VrCat\r\n2=c.VrCat\r\n");
}

// A catalog the list did not edit is never written, whatever its bytes; one edited is written
// unless its file holds its text already. The control file is written when the list changed.
TEST_F(CatalogStoreTest, ASaveWritesOnlyWhatWasEdited)
{
    // A title that does not read back as itself: rewriting this catalog would be refused.
    folder.Write("odd.VrCat", "[Common]\r\nTitle=\" padded \"\r\n[Objects]\r\n/o\r\n");
    folder.Write("b.VrCat", Catalog("B", {"/b"}));
    folder.Write("c.VrCat", Catalog("C", {"/c"}));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=odd.VrCat\r\n1=b.VrCat\r\n2=c.VrCat\r\n");
    store.LoadCatalogList();
    const auto inode = [&](const std::string& name) {
        struct stat facts {};
        return ::stat(folder.Path(name).c_str(), &facts) == 0 ? facts.st_ino : 0;
    };
    const auto before = std::map<std::string, ino_t>{{"odd", inode("odd.VrCat")}, {"ctl", inode("VrCatCtl.ini")}};
    store.AddObjects(1, {"/new"});
    store.AddObjects(2, {"/c2"});
    store.RemoveObjects(2, {"/c2"});
    std::filesystem::remove(folder.Path("c.VrCat"));

    store.SaveCatalogList();
    EXPECT_EQ(inode("odd.VrCat"), before.at("odd"));
    EXPECT_EQ(inode("VrCatCtl.ini"), before.at("ctl"));
    EXPECT_EQ(folder.Read("b.VrCat"), Catalog("B", {"/b", "/new"}));
    EXPECT_EQ(folder.Read("c.VrCat"), Catalog("C", {"/c"}));
    EXPECT_FALSE(store.IsEdited(1));
    EXPECT_FALSE(store.ListChanged());
}

TEST_F(CatalogStoreTest, ReadsTheSectionOfTheKind)
{
    folder.Write("c.VrCat", Catalog("C"));
    folder.Write("x.VrCat", Catalog("X"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=c.VrCat\r\n[Extract]\r\n0=x.VrCat\r\n");
    store.LoadCatalogList(1);
    EXPECT_EQ(Names(), Lines{"x"});
    store.LoadCatalogList(0);
    EXPECT_EQ(Names(), Lines{"c"});
}

TEST_F(CatalogStoreTest, GivesAnEmptyListWithoutControlFileOrSection)
{
    store.LoadCatalogList();
    EXPECT_TRUE(store.IsEmpty());
    folder.Write("VrCatCtl.ini", "[Extract]\r\n0=x.VrCat\r\n");
    store.LoadCatalogList();
    EXPECT_TRUE(store.IsEmpty());
}

TEST_F(CatalogStoreTest, SaveRewritesAnEditedCatalogInItsLayoutAndKeepsOtherSectionsByteForByte)
{
    const std::string head = "; Tessna\n[Extract]\r\n0 = x.VrCat\r\n\r\n";
    const std::string tail = "\r\n[Mine]\rodd=1\n";
    folder.Write("a.VrCat", "[Common]\r\nOperation=Extract\r\nTitle=A\r\nKey=1\r\n[Options]\r\n"
                            "Level=9\r\n[Objects]\r\n/a\r\n[Other]\r\n");
    folder.Write("VrCatCtl.ini", head + "[Compress]\r\n7=a.VrCat\r\n" + tail);
    store.LoadCatalogList();
    store.AddObjects(0, {"/b"});
    store.AddCatalogFromWizard(WizardResult("B", {}));

    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("a.VrCat"), Catalog("A", {"/a", "[Other]", "/b"}));
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), head + "[Compress]\r\n0=a.VrCat\r\n1=B.VrCat\r\n" + tail);
    EXPECT_FALSE(store.Modified());
}

TEST_F(CatalogStoreTest, SavingAnEmptyListErasesTheSection)
{
    folder.Write("a.VrCat", Catalog("A"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=a.VrCat\r\n[Extract]\r\n");
    store.LoadCatalogList();
    store.RemoveCatalog(0);
    ASSERT_TRUE(store.Modified());

    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Extract]\r\n");
    EXPECT_EQ(folder.Read("a.VrCat"), Catalog("A"));
    EXPECT_FALSE(store.Modified());
}

TEST_F(CatalogStoreTest, SavingAnEmptyListCreatesNoControlFile)
{
    store.SaveCatalogList();
    EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST_F(CatalogStoreTest, AddsTheWizardsCatalogUnderItsTitle)
{
    std::vector<int> appended;
    QObject::connect(&store, &CatalogStore::Edited, [&](const CatalogEdit& edit) {
        if (const auto* inserted = std::get_if<InsertCatalog>(&edit))
            appended.push_back(inserted->index);
    });
    const std::string title = Cp932Text("ソフト");

    EXPECT_EQ(store.AddCatalogFromWizard(WizardResult(title, {"/b", "/a"})), 0);
    const TCatalogEntry& entry = store.Catalog(0);
    EXPECT_EQ(entry.FileName, folder.Path() + "/" + title + ".VrCat");
    EXPECT_EQ(entry.Title, title);
    EXPECT_EQ(entry.Objects, (Lines{"/b", "/a"}));
    EXPECT_EQ(appended, std::vector<int>{0});
    EXPECT_TRUE(store.Modified());
    EXPECT_TRUE(store.IsListed(entry.FileName));
    EXPECT_FALSE(store.IsListed(folder.Path() + "/" + Cp932Text("ソフトx.VrCat")));
    EXPECT_EQ(store.IndexOfDisplayedName(title), 0);

    store.SaveCatalogList();
    EXPECT_EQ(folder.Read(Cp932ToUtf8(title).value() + ".VrCat"), Catalog(title, {"/b", "/a"}));
}

TEST_F(CatalogStoreTest, IsListedComparesNamesAsTheFileSystemDoes)
{
    store.AddCatalogFromWizard(WizardResult("Backup", {}));
    EXPECT_TRUE(store.IsListed(folder.Path() + "/Backup.VrCat"));
    EXPECT_FALSE(store.IsListed(folder.Path() + "/backup.VrCat"));
}

TEST_F(CatalogStoreTest, RenameKeepsTheFolderAndTheTitle)
{
    folder.Write("sub/old.VrCat", Catalog("Old"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=sub/old.VrCat\r\n");
    store.LoadCatalogList();
    std::vector<int> changed;
    QObject::connect(&store, &CatalogStore::Edited, [&](const CatalogEdit& edit) {
        if (const auto* renamed = std::get_if<SetFileName>(&edit))
            changed.push_back(renamed->catalog);
    });

    store.RenameCatalog(0, "new");
    EXPECT_EQ(store.Catalog(0).FileName, folder.Path("sub/new.VrCat"));
    EXPECT_EQ(store.Catalog(0).Title, "Old");
    EXPECT_EQ(changed, std::vector<int>{0});
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("sub/new.VrCat"), Catalog("Old"));
    EXPECT_EQ(folder.Read("sub/old.VrCat"), Catalog("Old"));
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=new.VrCat\r\n");
}

// Object paths are file names of a case-sensitive file system: a case twin is another object.
TEST_F(CatalogStoreTest, AddsAndRemovesObjectsComparingPathsExactly)
{
    const std::string wide = Cp932Text("/Ｄａｔａ");
    const std::string narrow = Cp932Text("/ｄａｔａ");
    store.AddCatalogFromWizard(WizardResult("C", {"/d/a.txt", wide}));
    store.SetModified(false);

    EXPECT_EQ(store.AddObjects(0, {"/d/A.TXT", "/d/a.txt", "/d/b", "/d/b", narrow, wide}),
              (Lines{"/d/A.TXT", "/d/b", narrow}));
    EXPECT_EQ(store.Catalog(0).Objects, (Lines{"/d/a.txt", wide, "/d/A.TXT", "/d/b", narrow}));
    EXPECT_TRUE(store.Modified());
    store.SetModified(false);
    EXPECT_TRUE(store.AddObjects(0, {"/d/a.txt"}).empty());
    EXPECT_FALSE(store.Modified());

    EXPECT_EQ(store.RemoveObjects(0, {"/d/A.TXT", "/D/B", "/missing"}), 1);
    EXPECT_EQ(store.Catalog(0).Objects, (Lines{"/d/a.txt", wide, "/d/b", narrow}));
    store.SetModified(false);
    EXPECT_EQ(store.RemoveObjects(0, {"/x"}), 0);
    EXPECT_FALSE(store.Modified());
}

TEST_F(CatalogStoreTest, RemovesTheFirstOccurrenceOfEachPath)
{
    store.AddCatalogFromWizard(WizardResult("C", {"/a", "/b", "/b", "/c", "/a"}));

    EXPECT_EQ(store.RemoveObjects(0, {"/b", "/a", "/a", "/a"}), 3);
    EXPECT_EQ(store.Catalog(0).Objects, (Lines{"/b", "/c"}));
}

TEST_F(CatalogStoreTest, SignalsModifiedOnlyWhenItChanges)
{
    std::vector<bool> seen;
    QObject::connect(&store, &CatalogStore::ModifiedChanged, [&](bool value) { seen.push_back(value); });
    store.SetModified(false);
    store.SetModified(true);
    store.SetModified(true);
    store.SetModified(false);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST_F(CatalogStoreTest, SaveCommandAsksAndSavesUnlessNo)
{
    ScriptedPrompter prompter;
    store.AddCatalogFromWizard(WizardResult("A", {}));
    prompter.Answer(mrNo);
    store.SaveCommand(prompter);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].msg, Cp932Text("カタログリストを保存しますか？"));
    EXPECT_EQ(prompter.boxes[0].dlgType, MsgDlgType::mtConfirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, mbYesNo);
    EXPECT_FALSE(folder.Exists("A.VrCat"));

    prompter.Answer(mrCancel);  // the close box
    store.SaveCommand(prompter);
    EXPECT_FALSE(folder.Exists("A.VrCat"));
    EXPECT_TRUE(store.Modified());

    prompter.Answer(mrYes);
    store.SaveCommand(prompter);
    EXPECT_TRUE(folder.Exists("A.VrCat"));
    EXPECT_FALSE(store.Modified());
}

// With every catalog deleted, Save asks as for any list and writes the empty list.
TEST_F(CatalogStoreTest, SaveCommandSavesAnEmptyList)
{
    folder.Write("a.VrCat", Catalog("A"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=a.VrCat\r\n");
    store.LoadCatalogList();
    store.RemoveCatalog(0);
    ScriptedPrompter prompter;
    prompter.Answer(mrNo);
    store.SaveCommand(prompter);
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=a.VrCat\r\n");

    prompter.Answer(mrYes);
    store.SaveCommand(prompter);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].msg, Cp932Text("カタログリストを保存しますか？"));
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "");
    EXPECT_FALSE(store.Modified());
}

TEST_F(CatalogStoreTest, CloseQueryAsksOnlyWhenModified)
{
    ScriptedPrompter prompter;
    EXPECT_TRUE(store.CloseQuery(prompter));
    EXPECT_TRUE(prompter.boxes.empty());

    store.AddCatalogFromWizard(WizardResult("A", {}));
    prompter.Answer(mrCancel);
    EXPECT_FALSE(store.CloseQuery(prompter));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].msg, Cp932Text("カタログリストは更新されています。保存しますか？"));
    EXPECT_EQ(prompter.boxes[0].buttons, mbYesNoCancel);

    prompter.Answer(mrNo);
    EXPECT_TRUE(store.CloseQuery(prompter));
    EXPECT_FALSE(folder.Exists("A.VrCat"));

    prompter.Answer(mrYes);
    EXPECT_TRUE(store.CloseQuery(prompter));
    EXPECT_TRUE(folder.Exists("A.VrCat"));
    EXPECT_FALSE(store.Modified());
}

// The failure goes on to the stop box of whoever runs the command, not into a box of its own.
TEST_F(CatalogStoreTest, CloseQueryPassesAFailedSaveOn)
{
    store.AddCatalogFromWizard(WizardResult("A", {"/a"}));
    std::filesystem::create_directory(folder.Path("A.VrCat"));
    ScriptedPrompter prompter;
    prompter.Answer(mrYes);

    try {
        store.CloseQuery(prompter);
        ADD_FAILURE() << "the failed save was not reported";
    } catch (const TessnaError& error) {
        EXPECT_EQ(error.what(), Cp932Text("ファイル " + folder.Path("A.VrCat") + " を作成できません"));
    }
    EXPECT_EQ(prompter.boxes.size(), 1u);
    EXPECT_TRUE(store.Modified());
    EXPECT_FALSE(folder.Exists("VrCatCtl.ini"));
}

}  // namespace
