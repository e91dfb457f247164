#include "catalog/IniProfile.h"
#include "support/core/Cp932.h"

#include <gtest/gtest.h>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(IniProfile, MatchesSectionAndKeyNamesWithoutCaseAndDropsBlanks)
{
    const IniProfile ini("[ common ]\r\n\t TITLE \t=  Backup  \r\n");
    EXPECT_EQ(ini.ReadString("Common", "Title"), "Backup");
    EXPECT_EQ(ini.ReadString("COMMON", "title"), "Backup");
    EXPECT_EQ(ini.ReadString("Common", "Other"), std::nullopt);
    EXPECT_EQ(ini.ReadString("Options", "Title"), std::nullopt);
}

TEST(IniProfile, RemovesOnePairOfMatchingEnclosingQuotes)
{
    const IniProfile ini("[s]\na=\"x\"\nb='y'\nc=\"z'\nd=\"\"w\"\"\ne=\"\nf=\" in \" \ng=a\"b\"\n");
    EXPECT_EQ(ini.ReadString("s", "a"), "x");
    EXPECT_EQ(ini.ReadString("s", "b"), "y");
    EXPECT_EQ(ini.ReadString("s", "c"), "\"z'");
    EXPECT_EQ(ini.ReadString("s", "d"), "\"w\"");
    EXPECT_EQ(ini.ReadString("s", "e"), "\"");
    EXPECT_EQ(ini.ReadString("s", "f"), " in ");
    EXPECT_EQ(ini.ReadString("s", "g"), "a\"b\"");
}

TEST(IniProfile, CutsValuesAt2047BytesWithoutSplittingACharacter)
{
    const std::string longValue = "[s]\nk=" + std::string(3000, 'a') + "\n";
    const IniProfile ascii(longValue);
    EXPECT_EQ(ascii.ReadString("s", "k"), std::string(2047, 'a'));

    // With one ASCII byte first, the 1024th double-byte character straddles the limit.
    const std::string kanji = Cp932Text("漢");
    std::string value = "a";
    for (int i = 0; i < 1500; ++i)
        value += kanji;
    const std::string text = "[s]\nk=" + value + "\n";
    EXPECT_EQ(IniProfile(text).ReadString("s", "k"), value.substr(0, 2047));
    const std::string shiftedText = "[s]\nk=" + value.substr(1) + "\n";
    const IniProfile shifted(shiftedText);
    EXPECT_EQ(shifted.ReadString("s", "k"), value.substr(1, 2046));

    EXPECT_TRUE(ascii.ValueIsCut("s", "k"));
    EXPECT_TRUE(shifted.ValueIsCut("S", "K"));
    const std::string wholeText = "[s]\nk=\"" + std::string(2047, 'a') + "\"\nm=1\n";
    const IniProfile whole(wholeText);
    EXPECT_FALSE(whole.ValueIsCut("s", "k"));
    EXPECT_FALSE(whole.ValueIsCut("s", "m"));
    EXPECT_FALSE(whole.ValueIsCut("s", "absent"));
}

TEST(IniProfile, TakesTheFirstOfEqualNamesAndSkipsCommentsAndBareLines)
{
    const IniProfile ini(
        "[Compress]\n5=b.VrCat\n; 0=comment.VrCat\nbare line\n1=a.VrCat\n5=again.VrCat\n=x\n"
        "[compress]\n9=later.VrCat\n");
    EXPECT_EQ(ini.ReadSection("Compress"), (Pairs{{"5", "b.VrCat"}, {"1", "a.VrCat"}}));
    EXPECT_EQ(ini.ReadString("Compress", "5"), "b.VrCat");
    EXPECT_EQ(ini.ReadString("Compress", "9"), std::nullopt);
    EXPECT_TRUE(ini.SectionHasKeys("Compress"));
    EXPECT_FALSE(IniProfile("[Common]\n;k=v\nno key\n").SectionHasKeys("Common"));
}

TEST(IniProfile, EndsLinesAtCrOrLfAndTheTextAtNul)
{
    const std::string text = std::string("[s]\ra=1\r\nb=2\nc=3") + '\0' + "\nd=4\n";
    const IniProfile ini(text);
    EXPECT_EQ(ini.ReadSection("s"), (Pairs{{"a", "1"}, {"b", "2"}, {"c", "3"}}));
}

TEST(IniProfileWithSection, ReplacesTheSectionInPlaceKeepingEveryOtherByte)
{
    const std::string before = "; top\n[Extract]\r\n0 = x.VrCat \r\n\r\n";
    const std::string after = "\n\n[Other]\rodd line\r\n\tk=v";
    const std::string text = before + "[compress]\r\n5=b.VrCat\n; note\r\n1=a.VrCat\r\n" + after;
    const IniProfile ini(text);
    EXPECT_EQ(ini.WithSection("Compress", {"0=b.VrCat", "1=a.VrCat"}),
              before + "[Compress]\r\n0=b.VrCat\r\n1=a.VrCat\r\n" + after);
}

TEST(IniProfileWithSection, RemovesTheSectionForNoLines)
{
    const IniProfile ini("[Compress]\r\n0=a.VrCat\r\n\r\n[Extract]\r\n0=x.VrCat\r\n");
    EXPECT_EQ(ini.WithSection("Compress", {}), "\r\n[Extract]\r\n0=x.VrCat\r\n");
    EXPECT_EQ(IniProfile("[Extract]\r\n").WithSection("Compress", {}), "[Extract]\r\n");
}

TEST(IniProfileWithSection, RemovesLaterSectionsOfTheSameName)
{
    const IniProfile ini("[Compress]\r\n[Extract]\r\n0=x\r\n[COMPRESS]\r\n0=stale.VrCat\r\n\r\n[End]\r\n");
    EXPECT_EQ(ini.WithSection("Compress", {}), "[Extract]\r\n0=x\r\n\r\n[End]\r\n");
    EXPECT_EQ(ini.WithSection("Compress", {"0=a"}), "[Compress]\r\n0=a\r\n[Extract]\r\n0=x\r\n\r\n[End]\r\n");
}

TEST(IniProfileWithSection, AppendsAMissingSectionOnALineOfItsOwn)
{
    EXPECT_EQ(IniProfile("").WithSection("Compress", {"0=a.VrCat"}), "[Compress]\r\n0=a.VrCat\r\n");
    EXPECT_EQ(IniProfile("[Extract]\r\nk=v").WithSection("Compress", {"0=a"}),
              "[Extract]\r\nk=v\r\n[Compress]\r\n0=a\r\n");
    // What follows a NUL is no text: the section goes before it and the rest stays.
    const std::string withNul = std::string("[E]\n", 4) + '\0' + "junk";
    EXPECT_EQ(IniProfile(withNul).WithSection("Compress", {"0=a"}),
              std::string("[E]\n[Compress]\r\n0=a\r\n") + '\0' + "junk");
}

TEST(IniProfileWithSection, ReadsBackWhatItWrote)
{
    const IniProfile ini("[Extract]\r\n0=x\r\n[Compress]\r\n0=old\r\n");
    const std::string text = ini.WithSection("Compress", {"0=b.VrCat", "1=a.VrCat"});
    const IniProfile written(text);
    EXPECT_EQ(written.ReadSection("Compress"), (Pairs{{"0", "b.VrCat"}, {"1", "a.VrCat"}}));
    EXPECT_EQ(written.ReadSection("Extract"), (Pairs{{"0", "x"}}));
}

}  // namespace
