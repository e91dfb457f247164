#include "support/ui/RunCommand.h"
#include "support/ui/StopBox.h"

#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

TEST(StopBoxText, AppendsAPeriodAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(StopBoxText("Cannot open file"), "Cannot open file.");
    EXPECT_EQ(StopBoxText("error 42"), "error 42.");
    EXPECT_EQ(StopBoxText(Cp932Text("ファイルを開けません。")),
              Cp932Text("ファイルを開けません。."));
    // The last character ends in 0x5C, a trail byte that looks like a backslash.
    EXPECT_EQ(StopBoxText(Cp932Text("表")), Cp932Text("表."));
}

TEST(StopBoxText, LeavesMessagesEndingInPunctuationUpToThePeriod)
{
    EXPECT_EQ(StopBoxText("Done."), "Done.");
    EXPECT_EQ(StopBoxText("Really?!"), "Really?!");
    EXPECT_EQ(StopBoxText("(see above)"), "(see above)");
    EXPECT_EQ(StopBoxText("a-"), "a-");
    EXPECT_EQ(StopBoxText("path/"), "path/.");
    EXPECT_EQ(StopBoxText(""), "");
}

// The settings that could not be saved, the catalogs that could not be read, the
// characters a name may not hold: no period is added after the last of them.
TEST(StopBoxText, LeavesAMessageThatListsNamesBelowItAsItIs)
{
    const std::string cases[] = {
        Cp932Text("次の設定を保存できませんでした。\n  Catalog\\PlaceFlags\n  Wizard\\PlaceShowCmd"),
        Cp932Text("次のカタログを読み込めませんでした。\nファイル a.VrCat を開けません: 読めません"),
        Cp932Text("ファイル名には次の文字は使えません。\n\\ / : * ? \" < > |"),
        Cp932Text("次のファイル\r\nb.txt"),
    };
    for (const std::string& message : cases)
        EXPECT_EQ(StopBoxText(message), message);
}

class RunCommandTest : public testing::Test {
protected:
    std::vector<std::string> shown;
    const ScopedStopBoxHandler stopBox_{
        [this](QWidget*, const std::string& text) { shown.push_back(text); }};
};

TEST_F(RunCommandTest, RunsTheCommandAndShowsNothingWhenItSucceeds)
{
    bool ran = false;
    RunCommand(nullptr, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(shown.empty());
}

TEST_F(RunCommandTest, StopsTheCommandAtTheErrorAndShowsItsMessage)
{
    bool finished = false;
    RunCommand(nullptr, [&] {
        throw TessnaError(Cp932Text("'BeepSound' のデータ型が不正です"));
        finished = true;
    });
    EXPECT_FALSE(finished);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], Cp932Text("'BeepSound' のデータ型が不正です."));
}

TEST_F(RunCommandTest, CatchesEveryKindOfError)
{
    RunCommand(nullptr, [] { throw std::runtime_error("disk full"); });
    RunCommand(nullptr, [] { throw 42; });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "disk full.");
    EXPECT_EQ(shown[1], StopBoxText(UnknownErrorMessage()));
}

}  // namespace
