// The kill soak: the driver makes scripted edits with the journal writer running and is
// killed with SIGKILL at a random moment, round after round (10, or TESSNA_JOURNAL_ROUNDS).
// Every journal left behind must read and equal the state after one of the edits the driver
// made. The timings are printed, never asserted: how often the journal held the last edit
// older than a second at the kill, and how long edits took to reach the journal.
#include "catalog/JournalFile.h"
#include "tests/catalog/JournalSoakScript.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <thread>

namespace {

using Nanoseconds = std::int64_t;

struct DriverLog {
    std::map<std::uint64_t, Nanoseconds> edits;   // revision -> when it was made
    std::vector<std::pair<std::uint64_t, Nanoseconds>> writes;  // in order
};

DriverLog ReadLog(const std::string& path)
{
    DriverLog log;
    std::ifstream in(path);
    char kind = 0;
    std::uint64_t revision = 0;
    Nanoseconds at = 0;
    while (in >> kind >> revision >> at) {
        if (kind == 'E')
            log.edits[revision] = at;
        else
            log.writes.emplace_back(revision, at);
    }
    return log;
}

Nanoseconds Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

pid_t StartDriver(const std::string& folder, const std::string& log, unsigned seed)
{
    const std::string seedText = std::to_string(seed);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(TESSNA_JOURNAL_SOAK_DRIVER, "journal_soak_driver", folder.c_str(), log.c_str(), seedText.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

TEST(JournalSoak, EveryJournalAKilledWriterLeavesReadsAsTheStateAfterOneOfItsEdits)
{
    const char* roundsSetting = std::getenv("TESSNA_JOURNAL_ROUNDS");
    const int rounds = roundsSetting ? std::atoi(roundsSetting) : 10;
    std::mt19937 random(20);
    int journalsLeft = 0;
    int heldOldEdit = 0;
    int withOldEdit = 0;
    std::vector<double> delays;  // milliseconds from an edit to the first write that held it
    for (int round = 0; round < rounds; ++round) {
        TempFolder folder;
        const std::string log = folder.Path("driver.log");
        const auto seed = static_cast<unsigned>(round + 1);
        const pid_t driver = StartDriver(folder.Path(), log, seed);
        ASSERT_GT(driver, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200 + random() % 2800));
        const Nanoseconds killedAt = Now();
        ::kill(driver, SIGKILL);
        int status = 0;
        ::waitpid(driver, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the driver ended by itself, status " << status;

        const DriverLog made = ReadLog(log);
        const auto found = JournalFile(folder.Path()).Read();
        std::uint64_t held = 0;
        if (found) {
            ++journalsLeft;
            ASSERT_TRUE(found->state) << "round " << round << ": the journal left behind does not read";
            held = found->state->revision;
            ASSERT_TRUE(made.edits.count(held)) << "round " << round << ": revision " << held << " was never made";
            JournalSoakScript script(seed, folder.Path() + "/");
            while (script.State().revision < held)
                script.Next();
            JournalState expected = script.State();
            expected.takenAt = found->state->takenAt;
            EXPECT_EQ(*found->state, expected) << "round " << round;
        }

        const auto old = std::find_if(made.edits.rbegin(), made.edits.rend(), [&](const auto& edit) {
            return edit.second <= killedAt - 1'000'000'000;
        });
        if (old != made.edits.rend()) {
            ++withOldEdit;
            heldOldEdit += held >= old->first;
        }
        for (const auto& [revision, madeAt] : made.edits) {
            const auto write = std::find_if(made.writes.begin(), made.writes.end(),
                                            [&](const auto& w) { return w.first >= revision; });
            if (write != made.writes.end())
                delays.push_back(static_cast<double>(write->second - madeAt) / 1e6);
        }
    }
    std::printf("journal kill soak: %d rounds, %d left a journal, every one read as a state the driver made\n"
                "the last edit older than 1 s was in the journal at %d of %d kills\n"
                "edit to journal (%zu edits): median %.0f ms, 90%% %.0f ms, 99%% %.0f ms, most %.0f ms\n",
                rounds, journalsLeft, heldOldEdit, withOldEdit, delays.size(), Percentile(delays, 0.5),
                Percentile(delays, 0.9), Percentile(delays, 0.99), Percentile(delays, 1.0));
}

}  // namespace
