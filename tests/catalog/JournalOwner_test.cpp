#include "catalog/JournalOwner.h"
#include "tests/catalog/SampleJournal.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempFolder.h"
#include "tests/common/Tmpfs.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>

namespace {

using Outcome = JournalOwner::Outcome;

class JournalOwnerTest : public testing::Test {
protected:
    std::string Folder() const { return folder_.Path() + "/"; }
    Outcome ClaimOutcome() const { return JournalOwner::ClaimFor(Folder()).outcome; }

    TempFolder folder_;
    TempFolder state_;
    ScopedEnv stateHome_{"XDG_STATE_HOME", QByteArray::fromStdString(state_.Path())};
};

// A child process owns the journal and has written it; it is killed as a crash would end it.
TEST_F(JournalOwnerTest, AnotherOwnerIsRefusedWhileTheOwnerLivesAndTakesOverWhenItIsKilled)
{
    std::array<int, 2> ready{};
    ASSERT_EQ(::pipe(ready.data()), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const auto claim = JournalOwner::ClaimFor(Folder());
        if (claim.outcome != Outcome::InFolder)
            ::_exit(1);
        claim.owner->File().Write(SampleJournal(Folder()));
        (void)!::write(ready[1], "k", 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the child did not claim the journal";
    ::close(ready[0]);

    const std::string journal = folder_.Read(".TessnaJournal");
    EXPECT_EQ(ClaimOutcome(), Outcome::Elsewhere);
    EXPECT_EQ(folder_.Read(".TessnaJournal"), journal);
    EXPECT_FALSE(state_.Exists("Kavo")) << "a busy journal must not send this run to the state folder";

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const auto claim = JournalOwner::ClaimFor(Folder());
    ASSERT_EQ(claim.outcome, Outcome::InFolder);
    EXPECT_EQ(claim.owner->File().Read()->state, SampleJournal(Folder()));
    // One process, two claims: the second is refused too.
    EXPECT_EQ(ClaimOutcome(), Outcome::Elsewhere);
}

// Files of another user: never read, never taken over, not even by root.
TEST_F(JournalOwnerTest, AJournalOrLockOfAnotherUserIsNeverTakenOver)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give files to another user";
    const uid_t other = 4242;
    for (const char* name : {".TessnaJournal.lock", ".TessnaJournal"}) {
        folder_.Write(name, "theirs");
        ASSERT_EQ(::chown(folder_.Path(name).c_str(), other, other), 0);
        EXPECT_EQ(ClaimOutcome(), Outcome::Elsewhere) << name;
        EXPECT_EQ(folder_.Read(name), "theirs");
        std::filesystem::remove(folder_.Path(name));
    }
    EXPECT_EQ(ClaimOutcome(), Outcome::InFolder);
}

// The lock file names the computer of the last owner: a journal another computer left on a
// shared folder stays its own.
TEST_F(JournalOwnerTest, AJournalAnotherComputerLeftIsNeverTakenOver)
{
    folder_.Write(".TessnaJournal.lock", "another-host.example");
    EXPECT_EQ(ClaimOutcome(), Outcome::InFolder) << "without a journal the lock is free to take";

    folder_.Write(".TessnaJournal", "their journal");
    EXPECT_EQ(ClaimOutcome(), Outcome::InFolder) << "the lock now names this computer";
    folder_.Write(".TessnaJournal.lock", "another-host.example");
    EXPECT_EQ(ClaimOutcome(), Outcome::Elsewhere);
    EXPECT_EQ(folder_.Read(".TessnaJournal"), "their journal");
}

TEST_F(JournalOwnerTest, AProgramFolderThatCannotHoldItSendsItToTheStateFolderKeyedByTheFolder)
{
    const std::string media = folder_.Path("media");
    Tmpfs tmpfs(media, "1m");
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "cannot mount a file system here";
    std::filesystem::create_directories(media + "/one");
    std::filesystem::create_directories(media + "/two");
    ASSERT_TRUE(tmpfs.MakeReadOnly());

    const auto one = JournalOwner::ClaimFor(media + "/one");
    const auto two = JournalOwner::ClaimFor(media + "/two");
    ASSERT_EQ(one.outcome, Outcome::InStateFolder);
    ASSERT_EQ(two.outcome, Outcome::InStateFolder);
    const std::string holder = one.owner->File().Holder();
    EXPECT_TRUE(holder.starts_with(state_.Path() + "/Kavo/Tessna/")) << holder;
    EXPECT_NE(holder, two.owner->File().Holder());
    EXPECT_EQ(holder, *JournalOwner::StateFolderFor(media + "/one/") + "/");
    EXPECT_EQ(std::filesystem::status(holder).permissions(), std::filesystem::perms(0700));
    one.owner->File().Write(SampleJournal(media + "/one/"));
    EXPECT_EQ(one.owner->File().Read()->state, SampleJournal(media + "/one/"));
    EXPECT_EQ(JournalOwner::ClaimFor(media + "/one").outcome, Outcome::Elsewhere);

    const ScopedEnv nowhere("XDG_STATE_HOME", QByteArray::fromStdString(media + "/state"));
    EXPECT_EQ(JournalOwner::ClaimFor(media + "/one").outcome, Outcome::Nowhere);
}

// A run on read-only media left its journal in the state folder; the folder can hold it now.
TEST_F(JournalOwnerTest, AJournalLeftInTheStateFolderMovesIntoTheProgramFolderWhenThatCanHoldIt)
{
    const std::string stateFolder = *JournalOwner::StateFolderFor(Folder());
    std::filesystem::create_directories(stateFolder);
    const JournalFile left(stateFolder);
    left.Write(SampleJournal(Folder()));

    folder_.Write(".TessnaJournal", "this folder's own");
    EXPECT_EQ(ClaimOutcome(), Outcome::InFolder);
    EXPECT_EQ(left.Read()->state, SampleJournal(Folder())) << "the program folder had one: both stay";

    std::filesystem::remove(folder_.Path(".TessnaJournal"));
    const auto claim = JournalOwner::ClaimFor(Folder());
    ASSERT_EQ(claim.outcome, Outcome::InFolder);
    EXPECT_EQ(claim.owner->File().Read()->state, SampleJournal(Folder()));
    EXPECT_FALSE(left.Exists());
}

}  // namespace
