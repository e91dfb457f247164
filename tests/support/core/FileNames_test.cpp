#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "tests/common/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace {

const std::string So = "\x83\x5C";  // ソ: its trail byte is a backslash

}  // namespace

TEST(FileNameChars, OneBoxForTheFirstForbiddenCharacterInOrder)
{
    ScriptedPrompter owner;
    EXPECT_FALSE(CheckFileNameChars(owner, "a,b*c"));
    ASSERT_EQ(owner.boxes.size(), 1u);
    EXPECT_EQ(owner.boxes[0].msg,
        Cp932Text("ファイル：a,b*c\nファイル名には次の文字は使えません。\n")
            + "\\ / : , ; * ? \" < > |");
    EXPECT_EQ(owner.boxes[0].dlgType, MsgDlgType::mtError);
    EXPECT_EQ(owner.boxes[0].buttons, mbOK);
}

TEST(FileNameChars, TrailByte5CIsNotABackslash)
{
    ScriptedPrompter owner;
    EXPECT_TRUE(CheckFileNameChars(owner, So + Cp932Text("ート")));
    EXPECT_TRUE(owner.boxes.empty());
    EXPECT_EQ(FileNameCharsMessage(So), "");
    EXPECT_NE(FileNameCharsMessage(So + "\\"), "");
    for (const char ch : std::string("\\/:,;*?\"<>|"))
        EXPECT_FALSE(FileNameCharsMessage(std::string("x") + ch).empty()) << ch;
    EXPECT_EQ(FileNameCharsMessage("plain name.txt"), "");
}

TEST(FileNameChars, KeyFilterDropsPathCharactersOnlyWhenAsked)
{
    EXPECT_EQ(FilterNameChar('\\', false), '\0');
    EXPECT_EQ(FilterNameChar(':', false), '\0');
    EXPECT_EQ(FilterNameChar('\\', true), '\\');
    EXPECT_EQ(FilterNameChar(':', true), ':');
    for (const char ch : std::string("/*?\"<>|")) {
        EXPECT_EQ(FilterNameChar(ch, false), '\0') << ch;
        EXPECT_EQ(FilterNameChar(ch, true), '\0') << ch;
    }
    EXPECT_EQ(FilterNameChar(',', false), ',');
    EXPECT_EQ(FilterNameChar(';', false), ';');
    EXPECT_EQ(FilterNameChar('a', false), 'a');
    EXPECT_EQ(CharNotInSet('x', "xyz"), '\0');
    EXPECT_EQ(CharNotInSet('w', "xyz"), 'w');
}

TEST(FolderPaths, NormalizeDriveLettersAndTrailingDelimiters)
{
    EXPECT_EQ(NormalizeFolderPath("c", '\\'), "C:\\");
    EXPECT_EQ(NormalizeFolderPath("C:", '\\'), "C:\\");
    EXPECT_EQ(NormalizeFolderPath("c:", '\\'), "c:\\");
    EXPECT_EQ(NormalizeFolderPath("C:\\", '\\'), "C:\\");
    EXPECT_EQ(NormalizeFolderPath("C:\\Data\\", '\\'), "C:\\Data");
    EXPECT_EQ(NormalizeFolderPath("C:\\Data", '\\'), "C:\\Data");
    EXPECT_EQ(NormalizeFolderPath("", '\\'), "");
    EXPECT_EQ(NormalizeFolderPath("/", '\\'), "");
    EXPECT_EQ(NormalizeFolderPath("1", '\\'), "1");
    EXPECT_EQ(NormalizeFolderPath("C:\\" + So, '\\'), "C:\\" + So);
    EXPECT_EQ(NormalizeFolderPath("a" + So, '\\'), "a" + So);
}

TEST(FolderPaths, NormalizeWithTheHostDelimiter)
{
    EXPECT_EQ(NormalizeFolderPath("c", '/'), "C:/");
    EXPECT_EQ(NormalizeFolderPath("/home/u/", '/'), "/home/u");
    EXPECT_EQ(NormalizeFolderPath("/", '/'), "/");  // the root stays whole
    EXPECT_EQ(NormalizeFolderPath("/home/" + So + "/", '/'), "/home/" + So);
}

TEST(FolderPaths, AddAndRemoveOneDelimiter)
{
    EXPECT_EQ(AddPathDelimiter("", '\\'), "");
    EXPECT_EQ(AddPathDelimiter("C:\\Data", '\\'), "C:\\Data\\");
    EXPECT_EQ(AddPathDelimiter("C:/Data/", '\\'), "C:/Data/");
    EXPECT_EQ(AddPathDelimiter("C:\\" + So, '\\'), "C:\\" + So + "\\");
    EXPECT_EQ(AddPathDelimiter("/home", '/'), "/home/");
    // On the host a backslash is a character of the folder's name, not a delimiter.
    EXPECT_EQ(AddPathDelimiter("/home/a\\", '/'), "/home/a\\/");
    EXPECT_EQ(RemovePathDelimiter("C:\\Data\\\\"), "C:\\Data\\");
    EXPECT_EQ(RemovePathDelimiter("/home/"), "/home");
    EXPECT_EQ(RemovePathDelimiter("C:\\" + So), "C:\\" + So);
    EXPECT_EQ(RemovePathDelimiter(""), "");
}

TEST(FileTypeTexts, ExtensionWordOrTheShellsName)
{
    const std::string file = Cp932Text("ファイル");
    EXPECT_EQ(FileTypeText("readme.txt", ""), "TXT " + file);
    EXPECT_EQ(FileTypeText("/tmp/x.tar.gz", ""), "GZ " + file);
    EXPECT_EQ(FileTypeText("Makefile", ""), file);
    EXPECT_EQ(FileTypeText("", ""), file);
    EXPECT_EQ(FileTypeText(".profile", ""), "PROFILE " + file);
    EXPECT_EQ(FileTypeText("name.", ""), " " + file);
    EXPECT_EQ(FileTypeText("/a.b/Makefile", ""), file);
    EXPECT_EQ(FileTypeText("x." + So + "a", ""), So + "A " + file);
    EXPECT_EQ(FileTypeText("readme.txt", Cp932Text("テキスト")), Cp932Text("テキスト"));
}

TEST(Formats, GroupedCountsUseTheLocaleSeparators)
{
    EXPECT_EQ(FormatGrouped(1234567), "1,234,567");
    EXPECT_EQ(FormatGrouped(0), "0");
    EXPECT_EQ(FormatGrouped(999), "999");
    EXPECT_EQ(FormatGrouped(5000000000.0), "5,000,000,000");
}

TEST(Formats, SizeUnitsChangeAt1025)
{
    EXPECT_EQ(FormatSizeText(500, false), "0.49 KB");
    EXPECT_EQ(FormatSizeText(500, true), "0.48 KB");
    EXPECT_EQ(FormatSizeText(0, false), "0.00 KB");
    EXPECT_EQ(FormatSizeText(1048576, false), "1024.00 KB");
    EXPECT_EQ(FormatSizeText(1025.0 * 1024 - 1, false), "1025.00 KB");
    EXPECT_EQ(FormatSizeText(1025.0 * 1024, false), "1.00 MB");
    EXPECT_EQ(FormatSizeText(1073741824.0, false), "1024.00 MB");
    EXPECT_EQ(FormatSizeText(1025.0 * 1024 * 1024, false), "1.00 GB");
    EXPECT_EQ(FormatSizeText(5000.0 * 1024 * 1024 * 1024, false), "5000.00 GB");
}

TEST(Formats, SizeUsesTheLocalesDecimalSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatSizeText(1000.5 * 1024 * 1024, false), "1000,50 MB");
    EXPECT_EQ(FormatGrouped(1234567), "1.234.567");
    QLocale::setDefault(saved);
}

// Locales whose blanks or digits code page 932 cannot hold still show the number.
TEST(Formats, NumbersKeepAFormCodePage932CanHold)
{
    const QLocale saved;
    const struct {
        QLocale locale;
        std::string grouped;
        std::string size;
    } cases[] = {
        {QLocale(QLocale::French, QLocale::France), "1 234 567", "1000,50 MB"},
        {QLocale(QLocale::Russian, QLocale::Russia), "1 234 567", "1000,50 MB"},
        {QLocale(QLocale::Arabic, QLocale::Egypt), "1,234,567", "1000.50 MB"},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(FormatGrouped(1234567), c.grouped) << c.locale.name().toStdString();
        EXPECT_EQ(FormatGrouped(7), "7") << c.locale.name().toStdString();
        EXPECT_EQ(FormatSizeText(1000.5 * 1024 * 1024, false), c.size) << c.locale.name().toStdString();
    }
    QLocale::setDefault(saved);
}

TEST(FileNameOrder, AsciiCaseIgnoredAndKeysAgree)
{
    EXPECT_EQ(CompareFileNames("ReadMe.TXT", "readme.txt"), 0);
    EXPECT_EQ(CompareFileNames("a.txt", "B.txt"), -1);
    EXPECT_EQ(FileNameSortKey("ReadMe.TXT").compare(FileNameSortKey("readme.txt")), 0);
    EXPECT_LT(FileNameSortKey("a.txt").compare(FileNameSortKey("B.txt")), 0);
    EXPECT_TRUE(LastCharIs("a\\", '\\'));
    EXPECT_FALSE(LastCharIs("a" + So, '\\'));
    EXPECT_FALSE(LastCharIs("", '\0'));
    EXPECT_EQ(NamePos("\\", So + "\\"), 3);
    EXPECT_FALSE(HasNetworkFolder());
}
