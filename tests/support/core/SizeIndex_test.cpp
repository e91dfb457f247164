#include "support/core/SizeIndex.h"
#include "tests/common/HangingWalk.h"
#include "tests/common/TempFolder.h"
#include "tests/common/WaitFor.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

namespace {

void RunEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void Append(const std::string& path, std::size_t bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::app) << std::string(bytes, 'x');
}

class SizeIndexTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "SizeIndex_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }

    void SetUp() override
    {
        folder_.MakeFile("tree/a", 10);
        folder_.MakeFile("tree/sub/b", 200);
        folder_.MakeFile("tree/sub/deeper/c", 3000);
    }

    // The bytes the index has for an object, -1 while it has none.
    static std::int64_t Bytes(const SizeIndex& index, const std::string& path)
    {
        const ObjectSize* size = index.Find(path);
        return size ? size->bytes : -1;
    }

    TempFolder folder_;
};

TEST_F(SizeIndexTest, CountsEachPathOnceWhileNothingChanges)
{
    std::atomic<int> walks = 0;
    SizeIndex::Options options;
    options.walk = [&](const std::string& path, const ObjectWalk*, const std::vector<std::string>&,
                       const WalkControl& control) {
        ++walks;
        return WalkTree(path, control);
    };
    SizeIndex index(options);
    const std::vector<std::string> objects = {folder_.Path("tree"), folder_.Path("tree/sub/b")};
    EXPECT_FALSE(index.Total(objects));
    index.Request(objects);
    ASSERT_TRUE(WaitFor([&] { return !index.Counting(); }));
    EXPECT_EQ(Bytes(index, objects[0]), 3210);
    EXPECT_EQ(Bytes(index, objects[1]), 200);
    EXPECT_EQ(index.Total(objects)->bytes, 3210);  // b lies in tree

    index.Focus({});
    index.Request(objects);
    EXPECT_FALSE(index.Counting());
    EXPECT_EQ(walks, 2);
}

// Objects of many kinds in one list, counted in batches among several workers or one by one
// by one worker: each count is the object's own walk, each object is walked once and told
// once, and the total counts each file once.
TEST_F(SizeIndexTest, BatchesCountWhatWalksOfEachObjectCount)
{
    std::vector<std::string> objects;
    for (int file = 0; file < 300; ++file)
        objects.push_back(folder_.MakeFile("many/f" + std::to_string(file), file));
    std::filesystem::create_hard_link(folder_.Path("many/f7"), folder_.Path("linked"));
    const std::vector<std::string> others = {folder_.Path("tree"),   folder_.Path("tree/sub/b"), folder_.Path("none"),
                                             folder_.Path("linked"), folder_.Path("tree/*"),     folder_.Path("many/f3")};
    objects.insert(objects.begin() + 100, others.begin(), others.end());

    std::vector<ObjectSize> walked;
    for (const std::string& object : objects)
        walked.push_back(WalkObject(object));
    const SizeTotal expected = TotalOf(walked);

    struct Case {
        const char* name;
        int workers;
    } const cases[] = {{"two workers", 2}, {"one worker", 1}, {"more workers than needed", 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::mutex mutex;
        std::multiset<std::string> walks;
        SizeIndex::Options options;
        options.workers = c.workers;
        options.walk = [&](const std::string& path, const ObjectWalk*, const std::vector<std::string>&,
                           const WalkControl& control) {
            const std::lock_guard lock(mutex);
            walks.insert(path);
            return WalkTree(path, control);
        };
        SizeIndex index(options);
        std::multiset<std::string> told;
        int batches = 0;
        QObject::connect(&index, &SizeIndex::Counted, [&](const std::vector<std::string>& paths) {
            ++batches;
            told.insert(paths.begin(), paths.end());
        });
        index.Request(objects);
        ASSERT_TRUE(WaitFor([&] { return !index.Counting(); }));

        for (std::size_t i = 0; i < objects.size(); ++i) {
            SCOPED_TRACE(objects[i]);
            ASSERT_TRUE(index.Find(objects[i]));
            EXPECT_EQ(index.Find(objects[i])->bytes, walked[i].bytes);
            EXPECT_EQ(index.Find(objects[i])->files, walked[i].files);
            EXPECT_EQ(index.Find(objects[i])->folders, walked[i].folders);
            EXPECT_EQ(index.Find(objects[i])->exists, walked[i].exists);
        }
        const std::optional<SizeTotal> total = index.Total(objects);
        ASSERT_TRUE(total);
        EXPECT_EQ(total->bytes, expected.bytes);
        EXPECT_EQ(total->files, expected.files);
        EXPECT_EQ(total->folders, expected.folders);
        const std::set<std::string> distinct(objects.begin(), objects.end());  // many/f3 is listed twice
        const std::multiset<std::string> each(distinct.begin(), distinct.end());
        EXPECT_EQ(walks, each);
        EXPECT_EQ(told, each);
        EXPECT_LT(batches, int(objects.size()) / 10);
    }
}

// A worker walks its batch in order: when the object it hangs on is no longer shown, the
// objects behind it are counted by another worker; when none is shown, nothing is counted.
TEST_F(SizeIndexTest, ABatchBehindAHungWalkIsTakenBackWhenItsObjectGoes)
{
    std::vector<std::string> files;
    for (int file = 0; file < 20; ++file)
        files.push_back(folder_.MakeFile("many/f" + std::to_string(file), 1));
    struct Case {
        const char* name;
        std::size_t firstShown;  // the objects shown after the first one goes
        bool counted;
    } const cases[] = {{"the hung object goes", 1, true}, {"every object goes", files.size(), false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HangingWalk hanging(folder_.Path(std::string("fifo-") + c.name));
        SizeIndex::Options options;
        options.walk = hanging.Walk();
        options.workers = 1;  // the whole list in one batch
        SizeIndex index(options);
        index.Request(files);
        ASSERT_TRUE(WaitFor([&] { return hanging.Hung(); }));
        const std::vector<std::string> shown(files.begin() + std::ptrdiff_t(c.firstShown), files.end());
        index.Focus(shown);
        EXPECT_TRUE(hanging.Cancelled());
        if (c.counted) {
            EXPECT_TRUE(WaitFor([&] { return index.Total(shown).has_value(); }));
        }
        EXPECT_FALSE(index.Counting());
        hanging.LetGo();
        ASSERT_TRUE(WaitFor([&] { return hanging.Ended(); }));
        RunEventsFor(50);
        const auto counted = std::count_if(files.begin(), files.end(), [&](const std::string& file) {
            return index.Find(file) && index.Find(file)->files == 1;
        });
        EXPECT_EQ(std::size_t(counted), c.counted ? shown.size() : 0);
    }
}

// The progress counts the files of the counts that arrived since the count began, and those
// seen by the walks under way.
TEST_F(SizeIndexTest, TheProgressKeepsTheFilesOfArrivedCounts)
{
    std::vector<std::string> objects = {folder_.Path("tree")};
    for (int file = 0; file < 10; ++file)
        objects.push_back(folder_.MakeFile("many/f" + std::to_string(file), 1));
    std::atomic<bool> released = false;
    SizeIndex::Options options;
    options.walk = [&](const std::string& path, const ObjectWalk*, const std::vector<std::string>&,
                       const WalkControl& control) {
        if (path == objects.front()) {
            control.filesSeen->store(100);
            while (!released && !*control.cancelled)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return WalkTree(path, control);
    };
    SizeIndex index(options);
    index.Request(objects);
    EXPECT_TRUE(WaitFor([&] { return index.FilesInProgress() == 110; })) << index.FilesInProgress();
    released = true;
    ASSERT_TRUE(WaitFor([&] { return !index.Counting(); }));
    EXPECT_EQ(index.FilesInProgress(), 0);
}

TEST_F(SizeIndexTest, FollowsAGrownFileAndAVanishedObject)
{
    SizeIndex index;
    const std::vector<std::string> objects = {folder_.Path("tree"), folder_.Path("tree/sub/b")};
    index.Request(objects);
    ASSERT_TRUE(WaitFor([&] { return !index.Counting(); }));
    ASSERT_FALSE(index.Rescanning(objects)) << "inotify is needed";

    Append(folder_.Path("tree/sub/deeper/c"), 5);  // grows in place
    EXPECT_TRUE(WaitFor([&] { return Bytes(index, objects[0]) == 3215; })) << Bytes(index, objects[0]);

    std::filesystem::remove(folder_.Path("tree/sub/b"));
    EXPECT_TRUE(WaitFor([&] { return index.Find(objects[1]) && !index.Find(objects[1])->exists; }));
    EXPECT_TRUE(WaitFor([&] { return Bytes(index, objects[0]) == 3015; }));

    folder_.MakeFile("tree/sub/b", 7);  // appears again
    EXPECT_TRUE(WaitFor([&] { return Bytes(index, objects[1]) == 7; }));
}

TEST_F(SizeIndexTest, BeyondTheWatchBudgetObjectsAreCountedAgainAtTheInterval)
{
    SizeIndex::Options options;
    options.watchBudget = 2;  // the object's parent and the tree; sub and deeper go unwatched
    options.rescanMs = 100;
    SizeIndex index(options);
    const std::vector<std::string> objects = {folder_.Path("tree")};
    index.Request(objects);
    ASSERT_TRUE(WaitFor([&] { return !index.Counting(); }));
    EXPECT_TRUE(index.Rescanning(objects));

    Append(folder_.Path("tree/sub/deeper/c"), 1);
    EXPECT_TRUE(WaitFor([&] { return Bytes(index, objects[0]) == 3211; }));
}

TEST_F(SizeIndexTest, ACancelledWalkIsLeftBehindAndWhatItDeliversIsDropped)
{
    HangingWalk hanging(folder_.Path("fifo"));
    SizeIndex::Options options;
    options.walk = hanging.Walk();
    SizeIndex index(options);
    const std::string tree = folder_.Path("tree");
    int counted = 0;
    QObject::connect(&index, &SizeIndex::Counted, [&] { ++counted; });

    index.Request({tree});
    ASSERT_TRUE(WaitFor([&] { return hanging.Hung(); }));
    index.Focus({});  // returns although the walk hangs
    EXPECT_FALSE(index.Counting());

    index.Request({tree});
    ASSERT_TRUE(WaitFor([&] { return counted == 1; }));
    EXPECT_EQ(Bytes(index, tree), 3210);

    hanging.LetGo();
    ASSERT_TRUE(WaitFor([&] { return hanging.Ended(); }));
    RunEventsFor(200);  // what the let-go walk delivers
    EXPECT_EQ(Bytes(index, tree), 3210);
    EXPECT_EQ(counted, 1);
}

// Two lists share the index: a walk ends when the last list that shows its object lets it go.
TEST_F(SizeIndexTest, AWalkEndsOnlyWhenNoViewerShowsItsObject)
{
    HangingWalk hanging(folder_.Path("fifo"));
    SizeIndex::Options options;
    options.walk = hanging.Walk();
    SizeIndex index(options);
    const std::string tree = folder_.Path("tree");
    const int window = 0;
    const int wizard = 0;
    index.Request({tree}, &window);
    ASSERT_TRUE(WaitFor([&] { return hanging.Hung(); }));
    index.Request({tree, folder_.Path("tree/a")}, &wizard);

    index.Focus({}, &window);
    RunEventsFor(50);
    EXPECT_FALSE(hanging.Cancelled());
    EXPECT_TRUE(index.Counting());
    index.Focus({}, &wizard);
    EXPECT_TRUE(hanging.Cancelled());
    EXPECT_FALSE(index.Counting());
    hanging.LetGo();
    EXPECT_TRUE(WaitFor([&] { return hanging.Ended(); }));
}

TEST_F(SizeIndexTest, TheIndexGoesWhileAWalkHangs)
{
    HangingWalk hanging(folder_.Path("fifo"));
    {
        SizeIndex::Options options;
        options.walk = hanging.Walk();
        SizeIndex index(options);
        index.Request({folder_.Path("tree")});
        ASSERT_TRUE(WaitFor([&] { return hanging.Hung(); }));
    }
    hanging.LetGo();
    EXPECT_TRUE(WaitFor([&] { return hanging.Ended(); }));
    RunEventsFor(200);
}

}  // namespace
