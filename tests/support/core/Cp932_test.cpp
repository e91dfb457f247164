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

// Characters that share a code page 932 form with another: only the one the form reads back
// as converts, at every border, and the refusal names the one that would be stored.
TEST(Cp932, RefusesACharacterThatWouldComeBackAsAnotherAndNamesTheOther)
{
    struct Case {
        const char* refused;
        const char* standIn;
        const char* refusedCode;
        const char* standInCode;
    };
    for (const Case& c : {Case{"〜", "～", "U+301C", "U+FF5E"}, Case{"−", "－", "U+2212", "U+FF0D"},
                          Case{"‖", "∥", "U+2016", "U+2225"}, Case{"¢", "￠", "U+00A2", "U+FFE0"}}) {
        const std::string refused = std::string("x") + c.refused + "y";
        EXPECT_FALSE(Utf8ToCp932(refused)) << c.refused;
        EXPECT_FALSE(QStringToCp932(QString::fromUtf8(refused))) << c.refused;
        EXPECT_TRUE(Utf8ToCp932(c.standIn)) << c.standIn;
        const std::string problem = Cp932Problem(QString::fromUtf8(refused));
        EXPECT_NE(problem.find(c.refusedCode), std::string::npos) << problem;
        EXPECT_NE(problem.find(Cp932Text(std::string("「") + c.standIn + "」(") + c.standInCode), std::string::npos)
            << Cp932ToDisplay(problem).toStdString();
        EXPECT_EQ(Cp932Problem(QString::fromUtf8(c.standIn)), "");
    }
    const std::string none = Cp932Problem(QStringLiteral("a\U0001F600"));
    EXPECT_EQ(none, Cp932Text("文字 U+1F600 は Shift-JIS (CP932) で書けません。"));
}
