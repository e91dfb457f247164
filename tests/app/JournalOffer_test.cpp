#include "app/JournalKeeper.h"
#include "app/JournalOffer.h"
#include "catalog/CatalogFile.h"
#include "catalog/JournalFormat.h"
#include "support/core/Sha256.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/TempFolder.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

class JournalOfferTest : public testing::Test {
protected:
    JournalOfferTest()
    {
        folder_.Write("a.VrCat", CatalogText(saved_));
        state_.folder = folder_.Path() + "/";
        state_.takenAt = QDateTime(QDate(2026, 12, 9), QTime(18, 5), QTimeZone("Asia/Tokyo")).toMSecsSinceEpoch();
        TCatalogEntry changed = saved_;
        changed.Objects.push_back("/data/new");
        state_.entries.push_back({changed, true, {}, saved_.FileName});
        state_.fingerprints.push_back({saved_.FileName, Sha256(CatalogText(saved_)), CatalogText(saved_).size()});
    }
    std::optional<JournalState> Offer(int answer)
    {
        prompter_.Answer(answer);
        JournalKeeper keeper(state_.folder, [] { return JournalState{}; });
        auto offered = OfferJournal(keeper, prompter_);
        keeper.Flush();
        return offered;
    }
    void LeaveJournal() const { folder_.Write(".TessnaJournal", EncodeJournal(state_)); }

    TempFolder folder_;
    const TCatalogEntry saved_{folder_.Path("a.VrCat"), "A", {"/data/a"}};
    JournalState state_;
    ScriptedPrompter prompter_;
};

TEST_F(JournalOfferTest, YesGivesTheStateBackAndKeepsTheJournal)
{
    LeaveJournal();
    EXPECT_EQ(Offer(mrYes), state_);
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_EQ(prompter_.boxes[0].text, QStringLiteral("保存されていない変更が残っています（2026/12/09 18:05）。復元しますか？"));
    EXPECT_EQ(prompter_.boxes[0].buttons, mbYesNo) << "Yes is the default";
    EXPECT_TRUE(folder_.Exists(".TessnaJournal"));
}

TEST_F(JournalOfferTest, TheQuestionNamesTheFilesChangedOnDiskSince)
{
    folder_.Write("a.VrCat", CatalogText({saved_.FileName, "A", {"/data/cli"}}));
    LeaveJournal();
    EXPECT_EQ(Offer(mrYes), state_);
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_TRUE(prompter_.boxes[0].text.endsWith(QString::fromStdString("\n" + saved_.FileName)))
        << prompter_.boxes[0].text.toStdString();
}

TEST_F(JournalOfferTest, NoRemovesTheJournal)
{
    LeaveJournal();
    EXPECT_FALSE(Offer(mrNo));
    EXPECT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_FALSE(folder_.Exists(".TessnaJournal"));
}

TEST_F(JournalOfferTest, AJournalASaveWouldNotChangeGoesWithoutAQuestion)
{
    folder_.Write("a.VrCat", CatalogText(state_.entries[0].catalog));
    LeaveJournal();
    EXPECT_FALSE(Offer(mrYes));
    EXPECT_TRUE(prompter_.boxes.empty());
    EXPECT_FALSE(folder_.Exists(".TessnaJournal"));
}

TEST_F(JournalOfferTest, OneThatCannotBeReadIsSetAsideAndTheUserIsTold)
{
    folder_.Write(".TessnaJournal", "damaged");
    EXPECT_FALSE(Offer(mrOk));
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_EQ(prompter_.boxes[0].dlgType, MsgDlgType::mtWarning);
    EXPECT_TRUE(prompter_.boxes[0].text.contains(QStringLiteral(".TessnaJournal.unreadable-")));
    EXPECT_FALSE(folder_.Exists(".TessnaJournal"));
    EXPECT_EQ(folder_.EntryCount(), 3u) << "a.VrCat, the lock and the journal set aside";

    EXPECT_FALSE(Offer(mrYes)) << "no journal, no question";
    EXPECT_EQ(prompter_.boxes.size(), 1u);
}

}  // namespace
