#include "support/core/Cp932.h"

#include <gtest/gtest.h>

TEST(Cp932, RoundTripsJapaneseAndKeepsTrailByte5C)
{
    const std::string so = "\x83\x5C";  // ソ: its trail byte is a backslash
    EXPECT_EQ(Cp932ToUtf8(so), std::optional<std::string>("ソ"));
    EXPECT_EQ(Utf8ToCp932("ソ"), std::optional<std::string>(so));
    EXPECT_EQ(Cp932ToQString("C:\\" + so), std::optional<QString>(QStringLiteral("C:\\ソ")));
    EXPECT_EQ(QStringToCp932(QStringLiteral("表示")), Utf8ToCp932("表示"));
}

TEST(Cp932, RefusesWhatHasNoFormInsteadOfMangling)
{
    EXPECT_FALSE(Utf8ToCp932("emoji \xF0\x9F\x98\x80"));
    EXPECT_FALSE(QStringToCp932(QStringLiteral("한국어")));
    EXPECT_FALSE(Cp932ToUtf8("\x83"));          // lead byte without its trail byte
    EXPECT_FALSE(Utf8ToCp932("\xC3"));          // truncated UTF-8
    EXPECT_FALSE(Cp932ToQString("abc\x81\x20")); // trail byte out of range
}

TEST(Cp932, DisplayShowsStrayBytesAsReplacement)
{
    EXPECT_EQ(Cp932ToDisplay("a\x83"), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(Cp932ToDisplay("\x83\x5C"), QStringLiteral("ソ"));
}

TEST(Cp932, LongTextsConvertWhole)
{
    std::string long_text;
    for (int i = 0; i < 5000; ++i)
        long_text += "\x83\x5C";
    const auto utf8 = Cp932ToUtf8(long_text);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(utf8->size(), 15000u);
    EXPECT_EQ(Utf8ToCp932(*utf8), std::optional<std::string>(long_text));
}
