#include "support/core/SizeIndex.h"
#include "tests/common/HangingWalk.h"
#include "tests/common/TempFolder.h"
#include "tests/common/WaitFor.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
