#include "catalog/JournalWriter.h"
#include "tests/catalog/SampleJournal.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr auto Never = std::chrono::hours(1);
constexpr auto Plenty = std::chrono::seconds(30);

class JournalWriterTest : public testing::Test {
protected:
    JournalState Revision(std::uint64_t revision) const
    {
        JournalState state = SampleJournal(folder_.Path() + "/");
        state.revision = revision;
        return state;
    }
    std::optional<std::uint64_t> RevisionOnDisk() const
    {
        const auto found = file_.Read();
        if (!found)
            return std::nullopt;
        return found->state ? found->state->revision : 0;
    }
    JournalWriter::Report Recorder()
    {
        return [this](const JournalWriter::Done& done) {
            const std::lock_guard lock(mutex_);
            done_.push_back(done);
        };
    }
    std::vector<JournalWriter::Done> Reports()
    {
        const std::lock_guard lock(mutex_);
        return done_;
    }

    TempFolder folder_;
    JournalFile file_{folder_.Path()};
    std::mutex mutex_;
    std::vector<JournalWriter::Done> done_;
};

TEST_F(JournalWriterTest, AFlushWritesTheLastStatePostedAtOnce)
{
    JournalWriter writer(file_, Never, Recorder());
    for (std::uint64_t revision = 1; revision <= 5; ++revision)
        writer.Post(Revision(revision));
    EXPECT_FALSE(RevisionOnDisk()) << "written before its deadline";
    ASSERT_TRUE(writer.Flush(Plenty));
    EXPECT_EQ(RevisionOnDisk(), 5u);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].revision, 5u);
    EXPECT_TRUE(Reports()[0].error.empty());
}

// Changes that never stop for longer than the delay must still reach the disk.
TEST_F(JournalWriterTest, SteadyChangesDoNotPushTheDeadlineBack)
{
    JournalWriter writer(file_, 100ms);
    std::uint64_t revision = 0;
    const auto end = std::chrono::steady_clock::now() + 2s;
    while (std::chrono::steady_clock::now() < end && !RevisionOnDisk()) {
        writer.Post(Revision(++revision));
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(RevisionOnDisk()) << "nothing written while changes kept coming";
    EXPECT_LE(*RevisionOnDisk(), revision);
}

TEST_F(JournalWriterTest, ARemovalDropsWhatIsPendingAndALaterPostComesAfterIt)
{
    JournalWriter writer(file_, Never, Recorder());
    writer.Post(Revision(1));
    ASSERT_TRUE(writer.Flush(Plenty));
    writer.Post(Revision(2));
    writer.Remove();
    ASSERT_TRUE(writer.Flush(Plenty));
    EXPECT_FALSE(RevisionOnDisk());

    writer.Remove();
    writer.Post(Revision(3));
    ASSERT_TRUE(writer.Flush(Plenty));
    EXPECT_EQ(RevisionOnDisk(), 3u);
    const auto reports = Reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_TRUE(reports[1].removed);
    EXPECT_EQ(reports[3].revision, 3u);
}

TEST_F(JournalWriterTest, WhatIsPendingAtTheEndIsWrittenBeforeTheWriterGoes)
{
    {
        JournalWriter writer(file_, Never);
        writer.Post(Revision(7));
    }
    EXPECT_EQ(RevisionOnDisk(), 7u);
}

TEST_F(JournalWriterTest, AFailedWriteIsReportedAndTheFlushSaysSo)
{
    JournalWriter writer(JournalFile(folder_.Path("missing")), Never, Recorder());
    writer.Post(Revision(1));
    EXPECT_FALSE(writer.Flush(Plenty));
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_NE(Reports()[0].error.find(folder_.Path("missing/.TessnaJournal")), std::string::npos);
}

}  // namespace
