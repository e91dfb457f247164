#include "catalog/CatalogFile.h"
#include "catalog/CatalogMessages.h"
#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

namespace {

using Lines = std::vector<std::string>;

TEST(CatalogText, IsTheFixedLayoutWithCrLfAfterEveryLine)
{
    const TCatalogEntry entry{"/x/Backup.VrCat", "Backup", {"/Data/report.doc", "/Data/Photos"}};
    EXPECT_EQ(CatalogText(entry),
              "[Common]\r\nOperation=Compress\r\nTitle=Backup\r\n\r\n[Options]\r\n\r\n"
              "[Objects]\r\n/Data/report.doc\r\n/Data/Photos\r\n");
}

// ParsesAs answers what comparing ParseCatalog's result would: every difference of title or
// objects is seen, also one the reader's line rules make (a blank line, a lone CR, a NUL).
TEST(ParsesAs, AgreesWithParseCatalog)
{
    const std::string head = "[Common]\r\nTitle=T\r\n[Objects]\r\n";
    const struct {
        std::string text;
        std::string title;
        Lines objects;
    } cases[] = {
        {head + "/a\r\n/b\r\n", "T", {"/a", "/b"}},
        {head + "/a\r\n/b\r\n", "T", {"/a"}},
        {head + "/a\r\n", "T", {"/a", "/b"}},
        {head + "/a\r\n/b\r\n", "T", {"/b", "/a"}},
        {head + "/a\r\n/b\r\n", "U", {"/a", "/b"}},
        {head + "/a\r\n\r\n/b", "T", {"/a", "/b"}},
        {head + "/a\r/b\n", "T", {"/a\r/b"}},
        {head + "/a\r/b\n", "T", {"/a", "/b"}},
        {head + "/a", "T", {"/a "}},
        {head + "/a\r\n" + std::string(1, '\0') + "/b\r\n", "T", {"/a"}},
        {head + "/a\r\n" + std::string(1, '\0') + "/b\r\n", "T", {"/a", "/b"}},
        {head, "T", {}},
        {"[Objects]\r\n/a\r\n", "", {"/a"}},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseCatalog({}, c.text);
        const bool expected = parsed && parsed->Title == c.title && parsed->Objects == c.objects;
        EXPECT_EQ(ParsesAs(c.text, c.title, c.objects), expected) << c.text;
    }
}

TEST(CatalogText, EndsWithTheObjectsHeaderWhenThereAreNoObjects)
{
    const std::string text = CatalogText({"/x/Empty.VrCat", "Empty", {}});
    EXPECT_TRUE(text.ends_with("\r\n\r\n[Objects]\r\n")) << text;
}

TEST(ComposeCatalogText, PutsTheCallersBodiesBetweenTheHeaders)
{
    EXPECT_EQ(ComposeCatalogText({"Operation=Compress", "Title=A"}, {"Level=9"}, {"/a", "/b"}),
              (Lines{"[Common]", "Operation=Compress", "Title=A", "", "[Options]", "Level=9", "",
                     "[Objects]", "/a", "/b"}));
}

TEST(TitleOfCommonLines, TakesTheFirstTitleLineInAnyCaseAfterTheFirstEqualsSign)
{
    EXPECT_EQ(TitleOfCommonLines({"Operation=Compress", "TITLE=a=b", "Title=second"}), "a=b");
    EXPECT_EQ(TitleOfCommonLines({"Operation=Compress"}), "");
    EXPECT_EQ(TitleOfCommonLines({"Titles=x", "Title"}), "");
}

TEST(ReadObjectLines, EndsLinesAtCrLfOrCrLfAndTheTextAtNul)
{
    EXPECT_EQ(ReadObjectLines("[Objects]\r\n/a\r/b\n/c\r\n\r\n\n/d"), (Lines{"/a", "/b", "/c", "/d"}));
    EXPECT_EQ(ReadObjectLines(std::string("[Objects]\r\n/a\r\n/b", 18) + '\0' + "\r\n/c"),
              (Lines{"/a", "/b"}));
}

TEST(ReadObjectLines, StartsAtTheWholeObjectsLineInAnyCase)
{
    EXPECT_EQ(ReadObjectLines("[OBJECTS]\r\n/a\r\n"), Lines{"/a"});
    EXPECT_EQ(ReadObjectLines("[objects]\r\n/a\r\n"), Lines{"/a"});
    EXPECT_EQ(ReadObjectLines(" [Objects]\r\n/a\r\n[Objects] \r\n/b\r\n"), Lines{});
    EXPECT_EQ(ReadObjectLines("[Common]\r\nTitle=x\r\n"), Lines{});
}

TEST(ReadObjectLines, TakesEveryLaterLineVerbatimUpToTheEnd)
{
    EXPECT_EQ(ReadObjectLines("[Objects]\r\n[Common]\r\nTitle=x\r\n   \r\n [Objects]\r\n"),
              (Lines{"[Common]", "Title=x", "   ", " [Objects]"}));
}

TEST(ParseCatalog, NeedsAKeyInCommon)
{
    EXPECT_FALSE(ParseCatalog("/c.VrCat", "[Common]\r\n\r\n[Objects]\r\n/a\r\n"));
    EXPECT_FALSE(ParseCatalog("/c.VrCat", "[Objects]\r\n/a\r\n"));
    EXPECT_FALSE(ParseCatalog("/c.VrCat", "[Common]\r\n; Title=x\r\nno key\r\n"));
}

TEST(ParseCatalog, ReadsTheTitleByProfileRulesAndTheObjectsAsLines)
{
    const auto entry = ParseCatalog("/x/c.VrCat",
                                    "[common]\r\nOperation=Extract\r\nExtra=1\r\n title = \"  a=b \" \r\n"
                                    "[Options]\r\nLevel=9\r\n[Objects]\r\n/a\r\n/b\r\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->FileName, "/x/c.VrCat");
    EXPECT_EQ(entry->Title, "  a=b ");
    EXPECT_EQ(entry->Objects, (Lines{"/a", "/b"}));
    EXPECT_EQ(CatalogText(*entry),
              "[Common]\r\nOperation=Compress\r\nTitle=  a=b \r\n\r\n[Options]\r\n\r\n"
              "[Objects]\r\n/a\r\n/b\r\n");
}

TEST(ParseCatalog, GivesAnEmptyTitleWhenCommonHasNone)
{
    const auto entry = ParseCatalog("/c.VrCat", "[Common]\r\nOperation=Compress\r\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Title, "");
    EXPECT_TRUE(entry->Objects.empty());
}

TEST(CatalogFile, WritesAndReadsBackDoubleByteTextExactly)
{
    TempFolder folder;
    // ソ and 表 end in the byte 0x5C, which must never be taken for a delimiter.
    const TCatalogEntry entry{folder.Path("c.VrCat"), Cp932Text("ソフト 表"),
                              {Cp932Text("/データ/表.txt"), "[Section]", "key=value"}};
    WriteCatalog(entry);
    EXPECT_EQ(folder.Read("c.VrCat"), CatalogText(entry));
    const auto read = ReadCatalog(entry.FileName);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Title, entry.Title);
    EXPECT_EQ(read->Objects, entry.Objects);
}

// Only a name with nothing behind it is no catalog at all; whatever exists there and is not
// read whole as a catalog is reported with its reason, so that the list keeps it unwritten.
TEST(CatalogFile, NamesWhyAnythingThatExistsIsNotReadWhole)
{
    TempFolder folder;
    const std::string head = "[Common]\r\nTitle=x\r\n[Objects]\r\n/a\r\n" + std::string(30, 'p');
    folder.MakeFolder("folder.VrCat");
    ASSERT_EQ(::mkfifo(folder.Path("fifo.VrCat").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder.Path("gone/drive.VrCat"), folder.Path("dangling.VrCat"));
    folder.Write("empty.VrCat", "");
    folder.Write("binary.VrCat", std::string("MZ\x90\0\x03", 5));
    folder.Write("nul.VrCat", std::string("[Common]\r\nTitle=x\0\r\n", 20));
    folder.Write("brokenlead.VrCat", "[Common]\r\nTitle=\x83\x3F\r\n");
    folder.Write("keyless.VrCat", "[Common]\r\n\r\n[Objects]\r\n/a\r\n");
    folder.Write("latenul.VrCat", head + std::string("\r\n/b\0\r\n/c\r\n", 11));
    folder.Write("longtitle.VrCat", "[Common]\r\nTitle=" + std::string(2048, 't') + "\r\n");
    const std::map<std::string, std::string> reasons{
        {"folder.VrCat", NotCatalogReason::Folder()},
        {"fifo.VrCat", NotCatalogReason::NotAFile()},
        {"dangling.VrCat", NotCatalogReason::DanglingLink()},
        {"empty.VrCat", NotCatalogReason::EmptyFile()},
        {"binary.VrCat", NotCatalogReason::NotText()},
        {"nul.VrCat", NotCatalogReason::NotText()},
        {"brokenlead.VrCat", NotCatalogReason::NotText()},
        {"keyless.VrCat", NotCatalogReason::NoCommonKey()},
        {"latenul.VrCat", NotCatalogReason::NulByte()},
        {"longtitle.VrCat", NotCatalogReason::TitleTooLong()},
    };
    for (const auto& [name, reason] : reasons) {
        try {
            ReadCatalog(folder.Path(name));
            ADD_FAILURE() << name << " was read";
        } catch (const CannotReadError& error) {
            EXPECT_EQ(error.Reason(), reason) << name;
            EXPECT_EQ(error.what(), Cp932Text("ファイル " + folder.Path(name) + " は開けません")) << name;
        }
    }
    EXPECT_FALSE(ReadCatalog(folder.Path("missing.VrCat")));
    EXPECT_FALSE(ReadCatalog(folder.Path("empty.VrCat/below.VrCat")));
    // Only the first bytes are tested for text; a title of the longest kept length is whole.
    folder.Write("late.VrCat", "[Common]\r\nTitle=" + std::string(40, 'x') + "\x01\r\n");
    EXPECT_TRUE(ReadCatalog(folder.Path("late.VrCat")));
    folder.Write("longest.VrCat", "[Common]\r\nTitle=\"" + std::string(2047, 't') + "\"\r\n");
    EXPECT_EQ(ReadCatalog(folder.Path("longest.VrCat"))->Title, std::string(2047, 't'));
}

// A catalog an editor elsewhere saved with a byte-order mark reads as the same catalog in
// code page 932; a character without a faithful form keeps it from being read, by name.
TEST(CatalogFile, ReadsUtf8AndUtf16WithAByteOrderMark)
{
    TempFolder folder;
    const std::u16string text = u"[Common]\r\nTitle=写真\r\n[Objects]\r\n/データ/表.txt\r\n";
    std::string le = "\xFF\xFE";
    std::string be = "\xFE\xFF";
    for (const char16_t unit : text) {
        le += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        be += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    folder.Write("utf8.VrCat", "\xEF\xBB\xBF[Common]\r\nTitle=写真\r\n[Objects]\r\n/データ/表.txt\r\n");
    folder.Write("le.VrCat", le);
    folder.Write("be.VrCat", be);
    for (const char* name : {"utf8.VrCat", "le.VrCat", "be.VrCat"}) {
        const auto read = ReadCatalog(folder.Path(name));
        ASSERT_TRUE(read) << name;
        EXPECT_EQ(read->Title, Cp932Text("写真")) << name;
        EXPECT_EQ(read->Objects, Lines{Cp932Text("/データ/表.txt")}) << name;
    }

    folder.Write("wave.VrCat", "\xEF\xBB\xBF[Common]\r\nTitle=a〜b\r\n");
    folder.Write("odd.VrCat", le + "x");
    for (const auto& [name, code] : {std::pair{"wave.VrCat", "U+301C"}, std::pair{"odd.VrCat", "U+FFFD"}}) {
        try {
            ReadCatalog(folder.Path(name));
            ADD_FAILURE() << name << " was read";
        } catch (const CannotReadError& error) {
            EXPECT_NE(error.Reason().find(code), std::string::npos) << name;
        }
    }
}

TEST(CatalogFile, ReportsAFileThatExistsButCannotBeRead)
{
    TempFolder folder;
    std::filesystem::create_symlink(folder.Path("b.VrCat"), folder.Path("a.VrCat"));
    std::filesystem::create_symlink(folder.Path("a.VrCat"), folder.Path("b.VrCat"));
    try {
        ReadCatalog(folder.Path("a.VrCat"));
        FAIL() << "a link that leads nowhere was read";
    } catch (const TessnaError& error) {
        EXPECT_EQ(error.what(), Cp932Text("ファイル " + folder.Path("a.VrCat") + " は開けません"));
    }
}

TEST(DisplayedName, IsTheFileNameWithoutItsLastExtension)
{
    EXPECT_EQ(DisplayedName("/tool/Backup.VrCat"), "Backup");
    EXPECT_EQ(DisplayedName("/tool/a.b.VrCat"), "a.b");
    EXPECT_EQ(DisplayedName("/tool.d/NoExtension"), "NoExtension");
    EXPECT_EQ(DisplayedName(Cp932Text("/フォルダ/ソ.VrCat")), Cp932Text("ソ"));
}

}  // namespace
