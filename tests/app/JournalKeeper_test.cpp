#include "app/JournalKeeper.h"
#include "catalog/JournalFormat.h"
#include "catalog/JournalMessages.h"
#include "tests/catalog/SampleJournal.h"
#include "tests/common/TempFolder.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr auto Never = std::chrono::hours(1);

class JournalKeeperTest : public testing::Test {
protected:
    std::string Folder() const { return folder_.Path() + "/"; }
    std::unique_ptr<JournalKeeper> Keeper()
    {
        return std::make_unique<JournalKeeper>(Folder(), [this] { return state_; }, nullptr, Never);
    }
    std::optional<JournalState> OnDisk() const { return DecodeJournal(folder_.Read(".TessnaJournal")); }

    TempFolder folder_;
    JournalState state_ = SampleJournal(Folder());
};

TEST_F(JournalKeeperTest, ChangesReachTheJournalAndACleanListRemovesIt)
{
    const auto keeper = Keeper();
    ASSERT_TRUE(keeper->Keeps());
    EXPECT_TRUE(keeper->ClaimMessage().empty());
    keeper->Changed();
    ASSERT_TRUE(keeper->Flush());
    EXPECT_EQ(OnDisk(), state_);

    state_.revision = 43;
    keeper->Changed();
    keeper->Clean();
    ASSERT_TRUE(keeper->Flush());
    EXPECT_FALSE(folder_.Exists(".TessnaJournal"));
}

TEST_F(JournalKeeperTest, AJournalLeftBehindIsFoundAndOneThatCannotBeReadGoesAside)
{
    EXPECT_FALSE(Keeper()->TakeFound().state);
    folder_.Write(".TessnaJournal", EncodeJournal(state_));
    EXPECT_EQ(Keeper()->TakeFound().state, state_);

    const std::string others[] = {EncodeJournal(SampleJournal("/elsewhere/")), "damaged"};
    for (const std::string& bytes : others) {
        folder_.Write(".TessnaJournal", bytes);
        const auto found = Keeper()->TakeFound();
        EXPECT_FALSE(found.state);
        EXPECT_NE(found.problem.find(".TessnaJournal.unreadable-"), std::string::npos) << found.problem;
        EXPECT_FALSE(folder_.Exists(".TessnaJournal"));
    }
    EXPECT_EQ(folder_.EntryCount(), 3u) << "both set aside, beside the lock";
}

TEST_F(JournalKeeperTest, ARunThatCannotOwnTheJournalKeepsNoneAndNeverTouchesIt)
{
    const auto owner = Keeper();
    owner->Changed();
    ASSERT_TRUE(owner->Flush());
    const std::string journal = folder_.Read(".TessnaJournal");

    const auto second = Keeper();
    EXPECT_FALSE(second->Keeps());
    EXPECT_EQ(second->ClaimMessage(), JournalOwnedElsewhereMessage());
    EXPECT_FALSE(second->TakeFound().state);
    second->Clean();
    EXPECT_TRUE(second->Flush());
    EXPECT_EQ(folder_.Read(".TessnaJournal"), journal);
}

TEST_F(JournalKeeperTest, AFailedWriteIsToldOnceUntilOneSucceeds)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication application(argc, argv);
    const auto keeper = Keeper();
    std::vector<std::string> told;
    QObject::connect(keeper.get(), &JournalKeeper::Failed, [&](const std::string& message) { told.push_back(message); });
    for (const bool blocked : {true, true, false, true}) {
        std::filesystem::remove(folder_.Path(".TessnaJournal"));
        if (blocked)
            folder_.MakeFolder(".TessnaJournal");  // something else took the journal's place
        keeper->Changed();
        EXPECT_EQ(keeper->Flush(), !blocked);
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0], JournalCannotWriteMessage(Folder() + ".TessnaJournal"));
}

// A display that goes away ends the program through exit: what is pending is written first.
TEST_F(JournalKeeperTest, WhatIsPendingIsWrittenWhenTheProcessExits)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        static const auto keeper = Keeper();
        keeper->Changed();
        std::exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(OnDisk(), state_);
}

}  // namespace
