#include "support/core/ObjectsTotal.h"
#include "support/core/SizeWalker.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

struct Counted {
    std::int64_t bytes;
    std::int64_t files;
    std::int64_t folders;
    friend bool operator==(const Counted&, const Counted&) = default;
};

std::ostream& operator<<(std::ostream& out, const Counted& c)
{
    return out << c.bytes << " bytes, " << c.files << " files, " << c.folders << " folders";
}

Counted CountsOf(const ObjectSize& size) { return {size.bytes, size.files, size.folders}; }
Counted CountsOf(const SizeTotal& total) { return {total.bytes, total.files, total.folders}; }

void Link(const std::string& target, const std::string& link)
{
    ASSERT_EQ(::link(target.c_str(), link.c_str()), 0);
}

void Symlink(const std::string& target, const std::string& link)
{
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
}

// A tree of a few files of known sizes:
//   top/a (100), top/b (20), top/sub/c (3), top/sub/deeper/d (4000)
class SizeWalkerTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_.MakeFile("top/a", 100);
        folder_.MakeFile("top/b", 20);
        folder_.MakeFile("top/sub/c", 3);
        folder_.MakeFile("top/sub/deeper/d", 4000);
    }

    std::string Path(const std::string& name) const { return folder_.Path(name); }

    TempFolder folder_;
};

TEST_F(SizeWalkerTest, CountsRegularFilesOnceAndFollowsNoLink)
{
    Link(Path("top/a"), Path("top/sub/a-again"));
    Symlink(Path("top/sub/deeper"), Path("top/link-to-folder"));
    Symlink(Path("top/sub/deeper/d"), Path("top/link-to-file"));
    Symlink(Path("nowhere"), Path("top/dangling"));
    ASSERT_EQ(mkfifo(Path("top/fifo").c_str(), 0600), 0);

    struct Case {
        const char* object;
        Counted expected;
    } const cases[] = {
        {"top", {4123, 4, 3}},  // the hard link a-again is a, counted once
        {"top/sub", {4103, 3, 2}},  // a-again counts here, where a is not
        {"top/a", {100, 1, 0}},
        {"top/link-to-folder", {0, 0, 0}},  // the link itself, not where it points
        {"top/link-to-file", {0, 0, 0}},
        {"top/dangling", {0, 0, 0}},
        {"top/fifo", {0, 0, 0}},
        {"top/*", {4123, 4, 2}},  // a, b and sub, whose a-again is a again; links count nothing
        {"top/?", {120, 2, 0}},
        {"top/sub/*/*", {0, 0, 0}},  // wildcards only in the last part
        {"missing", {0, 0, 0}},
        {"top/none*", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        const ObjectSize size = WalkObject(Path(c.object));
        EXPECT_EQ(CountsOf(size), c.expected);
        EXPECT_FALSE(size.Partial());
    }
    EXPECT_TRUE(WalkObject(Path("top/dangling")).exists);
    EXPECT_FALSE(WalkObject(Path("missing")).exists);
    ASSERT_EQ(chdir(Path("top").c_str()), 0);
    EXPECT_FALSE(WalkObject("a").exists);  // a relative path names nothing, not top/a
    EXPECT_FALSE(WalkObject("*").exists);
    ASSERT_EQ(chdir("/"), 0);
}

std::string Report(const ObjectSize& size)
{
    std::ostringstream out;
    out << CountsOf(size);
    for (const std::string& name : size.unreadable)
        out << "\n" << name;
    return out.str();
}

// Root reads every folder; a folder is unreadable only for someone else. The walk runs in a
// child process as that someone and reports through a pipe.
std::string WalkAsNobody(const std::string& path)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(1);
        const std::string text = Report(WalkObject(path));
        _exit(write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(got));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return text;
}

TEST_F(SizeWalkerTest, AFolderThatCannotBeReadGivesAPartialResultNamingIt)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to hand a folder to another user";
    folder_.MakeFile("top/sub/unsearchable/e", 50);
    std::filesystem::permissions(folder_.Path(), std::filesystem::perms(0755));
    ASSERT_EQ(chmod(Path("top/sub").c_str(), 0700), 0);  // when walked as nobody
    ASSERT_EQ(chmod(Path("top/sub/unsearchable").c_str(), 0644), 0);  // listed, not searched
    ASSERT_EQ(chown(Path("top/sub/unsearchable").c_str(), 65534, 65534), 0);
    EXPECT_EQ(WalkAsNobody(Path("top")), "120 bytes, 2 files, 2 folders\n" + Path("top/sub"));

    ASSERT_EQ(chmod(Path("top/sub").c_str(), 0755), 0);
    EXPECT_EQ(WalkAsNobody(Path("top")),
              "4123 bytes, 4 files, 4 folders\n" + Path("top/sub/unsearchable"));
}

TEST_F(SizeWalkerTest, NamesEveryFolderBeforeReadingIt)
{
    std::vector<std::string> folders;
    WalkControl control;
    control.onFolder = [&](const std::string& folder) { folders.push_back(folder); };
    WalkObject(Path("top"), control);
    EXPECT_EQ(folders, (std::vector<std::string>{Path("top"), Path("top/sub"), Path("top/sub/deeper")}));
}

TEST_F(SizeWalkerTest, ACancelledWalkStops)
{
    std::atomic<bool> cancelled = true;
    WalkControl control;
    control.cancelled = &cancelled;
    EXPECT_EQ(WalkObject(Path("top"), control).files, 0);
}

// An update reads the changed folders alone and comes to what a new walk counts.
TEST_F(SizeWalkerTest, AnUpdateAfterChangesCountsWhatANewWalkCounts)
{
    struct Case {
        const char* name;
        std::function<void()> change;
        std::vector<std::string> changed;  // below top
    } const cases[] = {  // each on the tree the one before left
        {"a file grows", [&] { std::ofstream(Path("top/sub/c"), std::ios::app) << "more"; }, {"sub"}},
        {"a file appears", [&] { folder_.MakeFile("top/sub/deeper/new", 9); }, {"sub/deeper"}},
        // The link count of a changes too, which its folder's watch reports.
        {"a second name", [&] { Link(Path("top/a"), Path("top/sub/deeper/a2")); }, {"", "sub/deeper"}},
        {"a folder appears", [&] { folder_.MakeFile("top/fresh/inner/f", 11); }, {""}},
        {"a folder goes", [&] { std::filesystem::remove_all(Path("top/sub/deeper")); }, {"sub", "sub/deeper"}},
        {"a folder is replaced",
         [&] {
             std::filesystem::rename(Path("top/sub"), Path("old-sub"));
             folder_.MakeFile("top/sub/g", 5);
         },
         {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ObjectWalk before = WalkTree(Path("top"));
        c.change();
        std::vector<std::string> changed;
        for (const std::string& folder : c.changed)
            changed.push_back(folder.empty() ? Path("top") : Path("top/" + folder));
        const ObjectWalk after = UpdateWalk(Path("top"), before, changed);
        EXPECT_EQ(CountsOf(after.Sum()), CountsOf(WalkObject(Path("top"))));
        for (const auto& [path, record] : after.folders) {
            const bool reread = std::find(changed.begin(), changed.end(), path) != changed.end();
            const auto old = before.folders.find(path);
            if (!reread && old != before.folders.end() && old->second->id == record->id) {
                EXPECT_EQ(record, old->second) << path << " was read again";
            }
        }
    }
}

TEST_F(SizeWalkerTest, AnUpdateOfAnObjectThatIsNoLongerTheSameFolderWalksAnew)
{
    const ObjectWalk before = WalkTree(Path("top"));
    std::filesystem::rename(Path("top"), Path("gone"));
    folder_.MakeFile("top/only", 3);
    EXPECT_EQ(CountsOf(UpdateWalk(Path("top"), before, {}).Sum()), (Counted{3, 1, 1}));
    std::filesystem::remove_all(Path("top"));
    EXPECT_FALSE(UpdateWalk(Path("top"), before, {}).Sum().exists);
}

TEST_F(SizeWalkerTest, EachObjectIsHeldByTheFirstListedObjectThatHoldsIt)
{
    folder_.MakeFile("other/x", 7);
    Link(Path("top/b"), Path("other/b-link"));
    Symlink(Path("top"), Path("via"));

    struct Case {
        const char* name;
        std::vector<std::string> objects;
        std::vector<int> holders;
        Counted total;
    } const cases[] = {
        {"apart", {"top/sub", "other"}, {-1, -1}, {4030, 4, 3}},
        {"a folder inside another", {"top/sub", "top"}, {1, -1}, {4123, 4, 3}},
        {"a file inside a folder", {"top/a", "top"}, {1, -1}, {4123, 4, 3}},
        {"a deep folder", {"top", "top/sub/deeper"}, {-1, 0}, {4123, 4, 3}},
        {"the first of two holders", {"top", "top/sub", "top/sub/deeper"}, {-1, 0, 0}, {4123, 4, 3}},
        {"the first of two holders, listed last", {"top/sub/deeper", "top/sub", "top"}, {1, 2, -1}, {4123, 4, 3}},
        {"a wildcard inside a folder", {"top/*", "top"}, {1, -1}, {4123, 4, 3}},
        {"a match of a wildcard", {"top/*", "top/sub"}, {-1, 0}, {4123, 4, 2}},
        {"a folder listed twice", {"top", "top"}, {-1, 0}, {4123, 4, 3}},
        {"a folder listed three times around a file in it", {"top/a", "top", "top", "top"}, {1, -1, 1, 1}, {4123, 4, 3}},
        {"one folder through a link above it", {"via/sub", "top/sub"}, {-1, 0}, {4003, 2, 2}},
        {"the link itself is another object", {"via", "top"}, {-1, -1}, {4123, 4, 3}},
        {"a file through its second name", {"top/b", "other/b-link"}, {-1, 0}, {20, 1, 0}},
        {"a second name in another folder", {"top", "other"}, {-1, -1}, {4130, 5, 4}},
        {"a missing object", {"missing", "top"}, {-1, -1}, {4123, 4, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ObjectSize> sizes;
        for (const std::string& object : c.objects)
            sizes.push_back(WalkObject(Path(object)));
        EXPECT_EQ(HoldingObjects(sizes), c.holders);
        EXPECT_EQ(CountsOf(TotalOf(sizes)), c.total);
    }
}

}  // namespace
