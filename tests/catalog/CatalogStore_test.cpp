#include "catalog/CatalogFile.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogStore.h"
#include "catalog/IniProfile.h"
#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

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

    // Opens the catalog file at path through its edit; the refusal, or "".
    std::string Open(const std::string& path)
    {
        auto opened = store.OpenCatalogEdit(path);
        if (const auto* problem = std::get_if<std::string>(&opened))
            return *problem;
        store.Apply(std::get<InsertCatalog>(std::move(opened)));
        return {};
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

// Only a value with no directory entry behind it leaves the list. Whatever else is there
// stays listed, not loaded, with its reason; a save keeps it listed and never writes it, and
// the next load tries again (a drive that comes back brings its catalog back).
TEST_F(CatalogStoreTest, OnlyAValueWithNothingBehindItLeavesTheList)
{
    folder.Write("good.VrCat", Catalog("Good"));
    folder.Write("empty.VrCat", "");
    folder.Write("binary.VrCat", std::string("MZ\x90\0\x03", 5));
    folder.Write("keyless.VrCat", "[Common]\r\n\r\n[Objects]\r\n/a\r\n");
    folder.MakeFolder("folder.VrCat");
    ASSERT_EQ(::mkfifo(folder.Path("fifo.VrCat").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder.Path("drive/d.VrCat"), folder.Path("dangling.VrCat"));
    const std::string listed = "0=empty.VrCat\r\n1=binary.VrCat\r\n2=keyless.VrCat\r\n3=folder.VrCat\r\n"
                               "4=fifo.VrCat\r\n5=dangling.VrCat\r\n6=good.VrCat\r\n";
    folder.Write("VrCatCtl.ini", "[Compress]\r\n9=missing.VrCat\r\n" + listed + "7=*.VrCat\r\n8=\r\n");
    const Lines names{"empty", "binary", "keyless", "folder", "fifo", "dangling", "good"};

    store.LoadCatalogList();
    EXPECT_EQ(Names(), names);
    const auto unreadable = store.UnreadableCatalogs();
    ASSERT_EQ(unreadable.size(), 6u);
    EXPECT_EQ(unreadable[0].reason, NotCatalogReason::EmptyFile());
    EXPECT_EQ(unreadable[4].reason, NotCatalogReason::NotAFile());
    EXPECT_EQ(unreadable[5].reason, NotCatalogReason::DanglingLink());
    EXPECT_THROW(store.AddObjects(5, {"/x"}), TessnaError);

    store.AddObjects(6, {"/new"});
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n" + listed);
    EXPECT_EQ(folder.Read("empty.VrCat"), "");
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("folder.VrCat")));
    EXPECT_TRUE(std::filesystem::is_fifo(folder.Path("fifo.VrCat")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("dangling.VrCat")));
    EXPECT_FALSE(folder.Exists("drive"));

    folder.Write("drive/d.VrCat", Catalog("D", {"/d"}));
    store.LoadCatalogList();
    EXPECT_EQ(Names(), names);
    EXPECT_TRUE(store.IsLoaded(5));
    EXPECT_EQ(store.Catalog(5).Objects, Lines{"/d"});
}

// A value with a subfolder is read, written and listed there; one that leads out of the
// folder by its own text is never opened, so another program's file keeps its bytes.
TEST_F(CatalogStoreTest, AValueIsWrittenBackAsReadAndNeverLeadsOutOfTheFolder)
{
    TempFolder other;
    const std::string foreign = "[Common]\r\nLanguage=en\r\n[Window]\r\nWidth=640\r\n";
    other.Write("app.ini", foreign);
    const std::string climbing = "../" + std::filesystem::path(other.Path()).filename().string() + "/app.ini";
    folder.Write("sub/inner.VrCat", Catalog("Inner"));
    folder.Write("sub/deeper/x.VrCat", Catalog("X"));
    const std::string listed = "0=sub/inner.VrCat\r\n1=" + climbing + "\r\n2=" + other.Path("app.ini")
                               + "\r\n3=sub/deeper/../../../escape.VrCat\r\n4=./sub/deeper/x.VrCat\r\n";
    folder.Write("VrCatCtl.ini", "[Compress]\r\n" + listed);

    store.LoadCatalogList();
    EXPECT_EQ(Names(), (Lines{"inner", "app", "app", "escape", "x"}));
    EXPECT_TRUE(store.IsLoaded(0));
    EXPECT_TRUE(store.IsLoaded(4));
    for (int outside : {1, 2, 3})
        EXPECT_EQ(store.UnreadableReason(outside), NotCatalogReason::OutsideFolder()) << outside;

    store.AddObjects(0, {"/new"});
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n" + listed);
    EXPECT_EQ(folder.Read("sub/inner.VrCat"), Catalog("Inner", {"/new"}));
    EXPECT_EQ(other.Read("app.ini"), foreign);

    store.RenameCatalog(0, "renamed");
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("sub/renamed.VrCat"), Catalog("Inner", {"/new"}));
    store.LoadCatalogList();
    EXPECT_EQ(Names(), (Lines{"renamed", "app", "app", "escape", "x"}));
    EXPECT_TRUE(store.IsLoaded(0));
}

// A value read and not changed is written back byte for byte when the list is saved: quotes
// (which keep blanks that the reader would otherwise drop) and a length the reader cuts
// (that entry is listed but never opened, as the cut value names another file).
TEST_F(CatalogStoreTest, AnUnchangedValueIsWrittenBackByteForByte)
{
    const std::string longValue = [] {
        std::string value;
        while (value.size() <= IniProfile::MaxValueLength)
            value += "deep/";
        return value + "x.VrCat";
    }();
    const struct {
        std::string written;  // the value in the control file
        std::string file;     // the catalog file it names, made for the test; "" for none
    } values[] = {
        {"\"q.VrCat\"", "q.VrCat"},
        {"\" b.VrCat \"", " b.VrCat "},
        {"'s.VrCat'", "s.VrCat"},
        {longValue, ""},
    };
    std::string listed;
    for (std::size_t i = 0; i < std::size(values); ++i) {
        listed += std::to_string(i) + "=" + values[i].written + "\r\n";
        if (!values[i].file.empty())
            folder.Write(values[i].file, Catalog(values[i].file));
    }
    folder.Write("z.VrCat", Catalog("Z"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n" + listed + "9=z.VrCat\r\n");

    store.LoadCatalogList();
    ASSERT_EQ(store.Count(), 5);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(values[i].written.substr(0, 20));
        EXPECT_EQ(store.IsLoaded(i), !values[i].file.empty());
        if (values[i].file.empty()) {
            EXPECT_EQ(store.UnreadableReason(i), NotCatalogReason::ValueTooLong());
        }
    }
    store.RemoveCatalog(4);
    store.AddObjects(0, {"/new"});
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n" + listed);
    EXPECT_EQ(folder.Read("q.VrCat"), Catalog("q.VrCat", {"/new"}));
}

// What the reader would cut (objects after a NUL byte, a title over 2,047 bytes) is listed
// but cannot be changed, and no save writes the shorter copy over it.
TEST_F(CatalogStoreTest, ACatalogTheReaderWouldCutIsListedUnchangeableAndNeverWritten)
{
    const std::string head = Catalog("Nul", {"/a", std::string(40, 'p')});
    const std::string cut = head + std::string("/b\0\r\n/c\r\n", 9);
    const std::string longTitle = Catalog(std::string(2048, 't'), {"/a"});
    folder.Write("cut.VrCat", cut);
    folder.Write("long.VrCat", longTitle);
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=cut.VrCat\r\n1=long.VrCat\r\n");

    store.LoadCatalogList();
    EXPECT_EQ(Names(), (Lines{"cut", "long"}));
    EXPECT_EQ(store.UnreadableReason(0), NotCatalogReason::NulByte());
    EXPECT_EQ(store.UnreadableReason(1), NotCatalogReason::TitleTooLong());
    EXPECT_THROW(store.AddObjects(0, {"/x"}), TessnaError);
    EXPECT_THROW(store.RenameCatalog(1, "short"), TessnaError);

    store.AddCatalogFromWizard(WizardResult("Third", {"/t"}));
    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("cut.VrCat"), cut);
    EXPECT_EQ(folder.Read("long.VrCat"), longTitle);
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=cut.VrCat\r\n1=long.VrCat\r\n2=Third.VrCat\r\n");
}

// A control file or a catalog an editor elsewhere saved in UTF-8 or UTF-16 with a
// byte-order mark is read; a save writes it in code page 932 without the mark.
TEST_F(CatalogStoreTest, ReadsFilesWithAByteOrderMarkAndWritesThemBackInCodePage932)
{
    const auto utf16 = [](const std::u16string& text, bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const std::string control = Cp932Text("[Mine]\r\nk=データ\r\n[Compress]\r\n0=写真.VrCat\r\n");
    // A save writes only what changed: here the catalog and the list.
    for (const std::string& marked :
         {std::string("\xEF\xBB\xBF[Mine]\r\nk=データ\r\n[Compress]\r\n0=写真.VrCat\r\n"),
          utf16(u"[Mine]\r\nk=データ\r\n[Compress]\r\n0=写真.VrCat\r\n", false),
          utf16(u"[Mine]\r\nk=データ\r\n[Compress]\r\n0=写真.VrCat\r\n", true)}) {
        folder.Write("VrCatCtl.ini", marked);
        folder.Write("写真.VrCat", utf16(u"[Common]\r\nTitle=写真\r\n[Objects]\r\n/表\r\n", false));
        store.LoadCatalogList();
        ASSERT_EQ(Names(), Lines{Cp932Text("写真")});
        EXPECT_EQ(store.Catalog(0).Objects, Lines{Cp932Text("/表")});
        store.AddObjects(0, {"/n"});
        store.AddCatalogFromWizard(WizardResult("New", {}));
        store.SaveCatalogList();
        EXPECT_EQ(folder.Read("VrCatCtl.ini"), control + "1=New.VrCat\r\n");
        EXPECT_EQ(folder.Read("写真.VrCat"), Catalog(Cp932Text("写真"), {Cp932Text("/表"), "/n"}));
    }

    folder.Write("VrCatCtl.ini", "\xEF\xBB\xBF[Compress]\r\n0=a〜b.VrCat\r\n");
    try {
        store.LoadCatalogList();
        FAIL() << "a control file with U+301C was read";
    } catch (const TessnaError& error) {
        EXPECT_NE(std::string(error.what()).find("U+301C"), std::string::npos) << error.what();
    }
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

// A save that would write a catalog that does not read back refuses, naming the file and what
// would not come back, and writes nothing.
TEST_F(CatalogStoreTest, ACatalogThatWouldNotReadBackIsRefusedWithWhatWouldNotComeBack)
{
    const struct {
        const char* what;
        std::function<void(CatalogStore&)> edit;
        std::string file;
        std::string reason;
    } cases[] = {
        {"title", [](CatalogStore& s) { s.AddObjects(0, {"/new"}); }, "odd.VrCat",
         "タイトル「 padded 」は保存すると元のとおりに読み戻せません"},
        {"object", [](CatalogStore& s) { s.ReplaceObjects(1, {"/b", "/two\nlines"}); }, "b.VrCat",
         "オブジェクト「/two<LF>lines」は保存すると元のとおりに読み戻せません"},
        {"file name", [](CatalogStore& s) { s.RenameCatalog(1, " lead"); }, " lead.VrCat",
         "ファイル名はコントロールファイルに保存すると元のとおりに読み戻せません"},
    };
    for (const auto& c : cases) {
        const TempFolder at;
        at.Write("odd.VrCat", "[Common]\r\nTitle=\" padded \"\r\n[Objects]\r\n/o\r\n");
        at.Write("b.VrCat", Catalog("B", {"/b"}));
        at.Write("VrCatCtl.ini", "[Compress]\r\n0=odd.VrCat\r\n1=b.VrCat\r\n");
        CatalogStore edited(at.Path());
        edited.LoadCatalogList();
        c.edit(edited);
        try {
            edited.SaveCatalogList();
            ADD_FAILURE() << c.what << ": saved";
        } catch (const TessnaError& error) {
            EXPECT_EQ(error.what(), Cp932Text(at.Path(c.file) + " に書き込めません: " + c.reason)) << c.what;
        }
        EXPECT_EQ(at.Read("b.VrCat"), Catalog("B", {"/b"})) << c.what;
        EXPECT_TRUE(edited.Modified()) << c.what;
    }
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

// Each refusal names the file and leaves the list as it was.
TEST_F(CatalogStoreTest, OpensOnlyCatalogFilesOfTheFolderThatTheListCanHold)
{
    const TempFolder elsewhere;
    elsewhere.Write("Far.VrCat", Catalog("Far"));
    folder.Write("Listed.VrCat", Catalog("Listed"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=Listed.VrCat\r\n");
    folder.Write("listed.VrCat", Catalog("Other"));
    folder.Write("line\nbreak.VrCat", Catalog("Broken"));
    store.LoadCatalogList();
    const auto revision = store.Revision();

    const std::pair<std::string, std::string> refusals[] = {
        {elsewhere.Path("Far.VrCat"), "カタログファイル「" + elsewhere.Path("Far.VrCat") + "」はプログラムフォルダにないため開けません。"},
        {folder.Path("listed.VrCat"), "カタログ「listed」は既にカタログリストにあります（大文字と小文字は区別しません）。"},
        {folder.Path("none.VrCat"), "ファイル「" + folder.Path("none.VrCat") + "」はないか、空か、カタログファイルではありません。"},
        {folder.Path("line\nbreak.VrCat"), "カタログファイル「" + folder.Path("line<LF>break.VrCat") + "」の名前はコントロールファイル"},
    };
    for (const auto& [path, refusal] : refusals) {
        const std::string problem = Open(path);
        EXPECT_EQ(problem.substr(0, Cp932Text(refusal).size()), Cp932Text(refusal)) << path;
    }
    EXPECT_EQ(Names(), Lines{"Listed"});
    EXPECT_EQ(store.Revision(), revision);
    EXPECT_FALSE(store.Modified());
}

// A catalog taken out of the list comes back as it is on disk, title and objects; a file
// that cannot be read comes back as not loaded, as the load lists it.
TEST_F(CatalogStoreTest, OpensAnExistingCatalogFileAsTheLoadReadsIt)
{
    folder.Write("Listed.VrCat", Catalog("Listed"));
    folder.Write("Kept.VrCat", Catalog("Old title", {"/a", "/b"}));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=Listed.VrCat\r\n");
    ASSERT_EQ(::symlink("loop.VrCat", folder.Path("loop.VrCat").c_str()), 0);
    folder.Write("empty.VrCat", "");
    store.LoadCatalogList();

    EXPECT_EQ(Open(folder.Path("Kept.VrCat")), "");
    EXPECT_EQ(Open(folder.Path("loop.VrCat")), "");
    EXPECT_EQ(Open(folder.Path("empty.VrCat")), "");
    EXPECT_EQ(Names(), (Lines{"Listed", "Kept", "loop", "empty"}));
    EXPECT_FALSE(store.IsLoaded(3));
    EXPECT_EQ(store.Catalog(1).Title, "Old title");
    EXPECT_EQ(store.Catalog(1).Objects, (Lines{"/a", "/b"}));
    EXPECT_FALSE(store.IsLoaded(2));
    EXPECT_TRUE(store.Modified());

    store.SaveCatalogList();
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=Listed.VrCat\r\n1=Kept.VrCat\r\n2=loop.VrCat\r\n3=empty.VrCat\r\n");
    EXPECT_EQ(folder.Read("Kept.VrCat"), Catalog("Old title", {"/a", "/b"}));
    EXPECT_EQ(folder.Read("empty.VrCat"), "");
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
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=sub/new.VrCat\r\n");
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
        EXPECT_EQ(error.what(), Cp932Text("ファイル " + folder.Path("A.VrCat") + " を作成できません: その名前のフォルダがあります"));
    }
    EXPECT_EQ(prompter.boxes.size(), 1u);
    EXPECT_TRUE(store.Modified());
    EXPECT_FALSE(folder.Exists("VrCatCtl.ini"));
}

}  // namespace
