// The kill soak's driver: owns the journal of a folder and makes the scripted edits of a seed
// at a human pace, bursts and pauses longer than the journal's delay, posting each to the
// journal writer, until it is killed. It logs every edit ("E <revision> <ns>") before posting
// it and every finished write ("W <revision> <ns>"), on the monotonic clock that the killer
// reads too.
//
//     journal_soak_driver <folder> <log file> <seed>
#include "catalog/JournalOwner.h"
#include "catalog/JournalWriter.h"
#include "tests/catalog/JournalSoakScript.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

void Log(int fd, char kind, std::uint64_t revision)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const std::string line = std::string(1, kind) + ' ' + std::to_string(revision) + ' '
        + std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) + '\n';
    (void)!::write(fd, line.data(), line.size());
}

std::int64_t NowMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string folder = std::string(argv[1]) + '/';
    const int log = ::open(argv[2], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const auto claim = JournalOwner::ClaimFor(folder);
    if (log < 0 || claim.outcome != JournalOwner::Outcome::InFolder)
        return 1;
    const auto seed = static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10));
    JournalWriter writer(claim.owner->File(), JournalWriter::DefaultDelay,
                         [log](const JournalWriter::Done& done) { Log(log, 'W', done.revision); });
    JournalSoakScript script(seed, folder);
    std::mt19937 pace(seed ^ 0x9e3779b9u);
    for (;;) {
        JournalState state = script.Next();
        state.takenAt = NowMilliseconds();
        Log(log, 'E', state.revision);
        writer.Post(std::move(state));
        const bool pause = pace() % 4 == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause ? 1000 + pace() % 1500 : 10 + pace() % 190));
    }
}
