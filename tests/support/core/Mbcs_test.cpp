#include "support/core/Cp932.h"
#include "support/core/Mbcs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const std::string So = "\x83\x5C";  // ソ: its trail byte is a backslash

}  // namespace

TEST(Mbcs, ByteTypesAlternateThroughMixedText)
{
    const std::string bytes = So + "A" + "\x82\xA0" + "\\";
    const char* start = bytes.data();
    EXPECT_EQ(MBByteType(start, start + 0), 1);
    EXPECT_EQ(MBByteType(start, start + 1), 2);
    EXPECT_EQ(MBByteType(start, start + 2), 0);
    EXPECT_EQ(MBByteType(start, start + 3), 1);
    EXPECT_EQ(MBByteType(start, start + 4), 2);
    EXPECT_EQ(MBByteType(start, start + 5), 0);
    const std::string withNul("\x83\0\x5C", 3);
    EXPECT_EQ(MBByteType(withNul.data(), withNul.data() + 2), 0);
}

TEST(Mbcs, LeadBytesAreTheCodePage932Ranges)
{
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_FALSE(IsLeadByte(0xA0));
    EXPECT_FALSE(IsLeadByte(0xDF));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0xFD));
}

TEST(Mbcs, LastCharacterIsNeverATrailByte)
{
    EXPECT_EQ(MBLastChar("C:\\" + So), '\0');
    EXPECT_EQ(MBLastChar("a\\"), '\\');
    EXPECT_EQ(MBLastChar(So + "\\"), '\\');
    EXPECT_EQ(MBLastChar(""), '\0');
    EXPECT_EQ(MBLastChar("ab\x83"), '\0');  // a lead byte with nothing after it
    EXPECT_FALSE(MBLastCharIs("dir\\" + So, '\\'));
    EXPECT_TRUE(MBLastCharIs("dir\\", '\\'));
    EXPECT_FALSE(MBLastCharIs("", '\0'));
}

TEST(Mbcs, PosMatchesOnlyAtCharacterStarts)
{
    EXPECT_EQ(MBPos("\\", So + "\\"), 3);
    EXPECT_EQ(MBPos("b", "abc"), 2);
    EXPECT_EQ(MBPos("", "abc"), 0);
    EXPECT_EQ(MBPos("cd", "abc"), 0);
    EXPECT_EQ(MBPos(So, "x" + So), 2);
    EXPECT_EQ(MBPos("A",
                  "\x82\x41"
                  "A"),
        3);  // trail byte 0x41 is not an "A"
    EXPECT_EQ(MBPos("B", "abc"), 0);  // exact, case matters
}

TEST(Mbcs, LowerCaseTouchesOnlySingleByteLetters)
{
    EXPECT_EQ(MBLowerCase("ABC\xB1"), "abc\xB1");
    EXPECT_EQ(MBLowerCase("\x82\x41Z"), "\x82\x41z");
    EXPECT_EQ(MBLowerCase("Q\x83"), "q\x83");
    const std::string fullWidthA = Cp932Text("Ａ");
    EXPECT_EQ(MBLowerCase(fullWidthA), fullWidthA);
}

TEST(Mbcs, CompareFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(MBCompareText("ReadMe.TXT", "readme.txt"), 0);
    EXPECT_EQ(MBCompareText("a", "b"), -1);
    EXPECT_EQ(MBCompareText("B", "a"), 1);
    EXPECT_NE(MBCompareText(Cp932Text("Ａ"), Cp932Text("ａ")), 0);
    EXPECT_EQ(MBCompareText(Cp932Text("日本"), Cp932Text("日本")), 0);
}

TEST(Mbcs, SortKeysOrderLikeTheComparison)
{
    std::vector<std::string> names = { "b", "A", Cp932Text("あ"), "a10", "a9", "C", So };
    std::vector<std::pair<QCollatorSortKey, std::string>> keyed;
    for (const auto& name : names)
        keyed.emplace_back(MBCompareKey(name), name);
    std::stable_sort(keyed.begin(), keyed.end(),
        [](const auto& x, const auto& y) { return x.first.compare(y.first) < 0; });
    std::stable_sort(names.begin(), names.end(),
        [](const auto& x, const auto& y) { return MBCompareText(x, y) < 0; });
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(keyed[i].second, names[i]) << i;
    EXPECT_EQ(names.front(), "A");
}

TEST(Mbcs, UpperCaseMirrorsLowerCase)
{
    EXPECT_EQ(MBUpperCase("abc\xB1"), "ABC\xB1");
    EXPECT_EQ(MBUpperCase("\x82\x61z"), "\x82\x61Z");  // trail byte 0x61 is not an "a"
}
