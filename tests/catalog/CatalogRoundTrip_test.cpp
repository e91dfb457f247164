#include "catalog/CatalogFile.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/CatalogStore.h"
#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/core/HostPath.h"
#include "support/core/TessnaError.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

using Lines = std::vector<std::string>;

// Code page 932 texts built from the pieces the reader treats specially: blanks and tabs,
// full-width blanks, quotes, "=", ";", brackets, CR, LF, NUL, control bytes, a double-byte
// character whose trail byte is "\" (ソ), and now and then a run long enough for the
// profile's cut at 2047 bytes.
class TextGenerator {
public:
    std::string Next()
    {
        static const std::vector<std::string> pieces = {
            "a", "Z", "0", ".", " ", "  ", "\t", "\x81\x40", "\"", "'", "=", ";", "[", "]",
            "\r", "\n", "\r\n", std::string(1, '\0'), "\x01", "\x7F", "\x83\x5C", "\x82\xA0",
            "\\", "/", "Title", "[Objects]", "[Common]"};
        std::string text;
        const int count = Pick(9);
        for (int i = 0; i < count; ++i)
            text += pieces[static_cast<std::size_t>(Pick(static_cast<int>(pieces.size())))];
        if (Pick(50) == 0)
            text.insert(static_cast<std::size_t>(Pick(static_cast<int>(text.size()) + 1)),
                        std::string(2040 + static_cast<std::size_t>(Pick(16)), 'x'));
        return text;
    }

private:
    int Pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }

    std::mt19937 random_{20261209};
};

// What a load of the folder gives back: (file name, title, objects) of each catalog.
struct Loaded {
    std::string fileName;
    std::string title;
    Lines objects;
    bool operator==(const Loaded&) const = default;
};

void PrintTo(const Loaded& loaded, std::ostream* out)
{
    *out << testing::PrintToString(loaded.fileName) << ' ' << testing::PrintToString(loaded.title) << ' '
         << testing::PrintToString(loaded.objects);
}

std::vector<Loaded> Load(const std::string& folder)
{
    CatalogStore store(folder);
    store.LoadCatalogList();
    std::vector<Loaded> loaded;
    for (const TCatalogEntry& entry : store.Catalogs())
        loaded.push_back({ExtractFileName(entry.FileName), entry.Title, entry.Objects.ToStrings()});
    return loaded;
}

void Save(const std::string& folder, const std::vector<Loaded>& catalogs)
{
    CatalogStore store(folder);
    for (const Loaded& catalog : catalogs) {
        TCatalogParam data;
        data.Common = CatalogCommonLines(catalog.title);
        data.Objects = catalog.objects;
        store.AddCatalogFromWizard(data);
        store.RenameCatalog(store.Count() - 1, ChangeFileExt(catalog.fileName, ""));
    }
    store.SaveCatalogList();
}

TEST(CatalogRoundTrip, EveryTextIsRefusedOrReadBackUnchanged)
{
    TextGenerator generator;
    int accepted = 0;
    std::vector<Loaded> batch;
    std::vector<Loaded> refused;
    for (int i = 0; i < 12000; ++i) {
        const std::string title = generator.Next();
        const std::string path = generator.Next();
        const std::string fileName = generator.Next() + ".VrCat";
        const bool titleOk = TitleReadsBack(title);
        const bool pathOk = ObjectPathReadsBack(path);
        const bool nameOk = ListedFileNameReadsBack(fileName);
        accepted += titleOk + pathOk + nameOk;

        // In memory: the text a save writes, read back as a load reads it.
        const TCatalogEntry entry{"/f/" + fileName, titleOk ? title : "t", {pathOk ? path : "/p"}};
        const std::string text = CatalogText(entry);
        const auto back = ParseCatalog(entry.FileName, text);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Title, entry.Title);
        EXPECT_EQ(back->Objects, entry.Objects);
        if (fileName.find('/') == std::string::npos) {
            EXPECT_EQ(ReadBackProblem(entry, CatalogTextParts(entry)).empty(), nameOk);
        }

        // Through real files for some: accepted ones in batches, refused ones one by one.
        const bool newName = std::none_of(batch.begin(), batch.end(),
                                          [&](const Loaded& held) { return held.fileName == fileName; });
        if (i % 40 == 0 && titleOk && pathOk && nameOk && newName)
            batch.push_back({fileName, title, {path}});
        if (i % 40 == 20 && !(titleOk && pathOk))
            refused.push_back({"r" + std::to_string(i) + ".VrCat", title, {path}});
        if (batch.size() == 10) {
            const TempFolder folder;
            Save(folder.Path(), batch);
            EXPECT_EQ(Load(folder.Path()), batch);
            batch.clear();
        }
    }
    EXPECT_GT(accepted, 10000);

    // The writer refuses what would not read back, and nothing reaches the disk.
    for (const Loaded& catalog : refused) {
        const TempFolder folder;
        folder.Write("VrCatCtl.ini", "[Compress]\r\n");
        EXPECT_THROW(Save(folder.Path(), {{"ok.VrCat", "ok", {"/ok"}}, catalog}), TessnaError);
        EXPECT_EQ(folder.EntryCount(), 1u);
        EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n");
    }
    EXPECT_GT(refused.size(), 100u);
}

TEST(CatalogRoundTrip, KnownTextsAreJudgedByWhatTheReaderDoes)
{
    for (const std::string title : {"Backup", "a=b", "\x83\x5C", "\x81\x40x\x81\x40", "x;y", "[x]"})
        EXPECT_TRUE(TitleReadsBack(title)) << title;
    for (const std::string& title : Lines{" lead", "trail ", "x\ty\t", "\"q\"", "'q'", "a\nb", "a\rb",
                                         std::string("a\0b", 3), "\x01late", std::string(2048, 'x')})
        EXPECT_FALSE(TitleReadsBack(title)) << title;
    EXPECT_TRUE(TitleReadsBack("a late control byte " + std::string(1, '\x01')));

    for (const std::string path : {"/a b/c", " /x ", "/[Objects]", "/k=v;", "\"/q\""})
        EXPECT_TRUE(ObjectPathReadsBack(path)) << path;
    for (const std::string& path : Lines{"", "/a\nb", "/a\rb", std::string("/a\0b", 4)})
        EXPECT_FALSE(ObjectPathReadsBack(path)) << path;

    for (const std::string name : {"x .VrCat", "'x'.VrCat", "a=b.VrCat"})
        EXPECT_TRUE(ListedFileNameReadsBack(name)) << name;
    for (const std::string name : {" lead.VrCat", "\tx.VrCat", "a\nb.VrCat", "sub/x.VrCat", ""})
        EXPECT_FALSE(ListedFileNameReadsBack(name)) << name;
}

TEST(CatalogRoundTrip, TheWriterRefusesAndLeavesTheOldFileAsItWas)
{
    const TempFolder folder;
    folder.Write("x.VrCat", "old");
    try {
        WriteCatalog({folder.Path("x.VrCat"), "x", {"/a", "/b\nc"}});
        FAIL() << "written";
    } catch (const TessnaError& error) {
        EXPECT_EQ(std::string(error.what()), Cp932Text(folder.Path("x.VrCat") + " に書き込めません: オブジェクト「/b<LF>c」は保存すると元のとおりに読み戻せません"));
    }
    EXPECT_EQ(folder.Read("x.VrCat"), "old");
    EXPECT_EQ(folder.EntryCount(), 1u);
}

}  // namespace

// The save's check of a whole catalog finds a problem exactly when a reparse of the text it
// writes would not give the catalog back, also for objects read in place from a file and
// paths added to them.
TEST(CatalogRoundTrip, AProblemIsFoundExactlyWhenTheTextWouldNotReadBack)
{
    TextGenerator generator;
    const auto read = std::make_shared<const std::string>(CatalogText({"", "t", {"/r/a", "/r/b"}}));
    for (int i = 0; i < 4000; ++i) {
        TCatalogEntry entry{"/f/c.VrCat", i % 3 == 0 ? generator.Next() : "t", {}};
        entry.Objects = i % 2 == 0 ? ReadObjectLines(*read, read) : ObjectList{generator.Next()};
        entry.Objects.push_back(generator.Next());
        const std::string text = CatalogText(entry);
        const auto back = ParseCatalog(entry.FileName, text);
        const bool readsBack = StartsAsText(std::string_view(text).substr(0, TextTestLength)) && back
            && back->Title == entry.Title && back->Objects == entry.Objects;
        EXPECT_EQ(ReadBackProblem(entry, CatalogTextParts(entry)).empty(), readsBack) << i;
    }
}
