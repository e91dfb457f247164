#include "support/core/PathCaption.h"

#include <gtest/gtest.h>

namespace {

// One pixel per byte, as in a fixed-width font.
int Bytes(std::string_view text)
{
    return static_cast<int>(text.size());
}

std::vector<std::string> Split(std::string_view s, std::string_view sep)
{
    std::vector<std::string> list;
    SplitByText(s, sep, list);
    return list;
}

using Parts = std::vector<std::string>;

TEST(SplitByText, GivesOnePieceMoreThanSeparators)
{
    EXPECT_EQ(Split("C:\\Users\\a.txt", "\\"), (Parts{"C:", "Users", "a.txt"}));
    EXPECT_EQ(Split("\\\\server\\share\\", "\\"), (Parts{"", "", "server", "share", ""}));
    EXPECT_EQ(Split("", "\\"), (Parts{""}));
    EXPECT_EQ(Split("a.txt", "\\"), (Parts{"a.txt"}));
}

TEST(SplitByText, SplitsAtLongSeparatorsAndBeyondByte255)
{
    EXPECT_EQ(Split("one::two::::three", "::"), (Parts{"one", "two", "", "three"}));
    const std::string longName(300, 'x');
    EXPECT_EQ(Split(longName + "/tail", "/"), (Parts{longName, "tail"}));
}

TEST(SplitByText, AnEmptySeparatorSplitsNothing)
{
    EXPECT_EQ(Split("a\\b", ""), (Parts{"a\\b"}));
}

TEST(PathCaption, RecognisesADriveInTheFirstPart)
{
    EXPECT_TRUE(PathCaption("C:\\x", "\\").HasDrive());
    EXPECT_TRUE(PathCaption("AB:\\x", "\\").HasDrive());
    EXPECT_FALSE(PathCaption(":\\x", "\\").HasDrive());
    EXPECT_FALSE(PathCaption("\\\\server\\share", "\\").HasDrive());
    EXPECT_FALSE(PathCaption("", "\\").HasDrive());
}

const std::string kReport = "C:\\Users\\Documents\\Reports\\summary.txt";

std::string Layout(const std::string& path, int width, TDirection direction = TDirection::drFromLeft,
                   const std::string& sep = "\\")
{
    return PathCaption(path, sep).Layout(width, direction, Bytes);
}

TEST(PathCaption, ShowsAPathThatFitsWhole)
{
    ASSERT_EQ(kReport.size(), 38u);
    EXPECT_EQ(Layout(kReport, 38), kReport);
    EXPECT_EQ(Layout(kReport, 500), kReport);
    EXPECT_EQ(Layout("", 0), "");
}

TEST(PathCaption, FromLeftKeepsTheFoldersNearestTheFileName)
{
    EXPECT_EQ(Layout(kReport, 30), "C:\\...\\Reports\\summary.txt");
    // The middle may fill the label exactly: 18 + "Documents\Reports\" (18) = 36.
    EXPECT_EQ(Layout(kReport, 36), "C:\\...\\Documents\\Reports\\summary.txt");
    EXPECT_EQ(Layout(kReport, 35), "C:\\...\\Reports\\summary.txt");
    EXPECT_EQ(Layout(kReport, 37), "C:\\...\\Documents\\Reports\\summary.txt");
}

TEST(PathCaption, FromRightKeepsTheFoldersAfterTheDrive)
{
    EXPECT_EQ(Layout(kReport, 30, TDirection::drFromRight), "C:\\Users\\...\\summary.txt");
    EXPECT_EQ(Layout(kReport, 34, TDirection::drFromRight),
              "C:\\Users\\Documents\\...\\summary.txt");
}

TEST(PathCaption, DropsTheHeadThenEverythingButTheFileName)
{
    EXPECT_EQ(Layout(kReport, 19), "C:\\...\\summary.txt");
    EXPECT_EQ(Layout(kReport, 18), "...\\summary.txt");
    EXPECT_EQ(Layout(kReport, 16), "...\\summary.txt");
    EXPECT_EQ(Layout(kReport, 15), "summary.txt");
    EXPECT_EQ(Layout(kReport, 3), "summary.txt");
}

TEST(PathCaption, APathWithoutADriveKeepsItsLeadingSeparators)
{
    const std::string unc = "\\\\server\\share\\file.txt";
    ASSERT_EQ(unc.size(), 23u);
    EXPECT_EQ(Layout(unc, 21, TDirection::drFromRight), "\\\\server\\...\\file.txt");
    EXPECT_EQ(Layout(unc, 21), "...\\share\\file.txt");
}

TEST(PathCaption, ASeparatorThePathDoesNotUseLeavesItWhole)
{
    EXPECT_EQ(Layout(kReport, 20, TDirection::drFromLeft, "/"), kReport);
    EXPECT_EQ(Layout("/home/user/docs/report.txt", 20, TDirection::drFromLeft, "/"),
              ".../docs/report.txt");
}

}  // namespace
