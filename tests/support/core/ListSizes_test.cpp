#include "support/core/ListSizes.h"
#include "support/core/SizeIndex.h"
#include "tests/common/HangingWalk.h"
#include "tests/common/SizeTree.h"
#include "tests/common/TempFolder.h"
#include "tests/common/WaitFor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An edit of the followed list: objects erased at positions, or entered at positions.
struct Edit {
    bool insert = false;
    std::vector<std::size_t> positions;
    std::vector<std::string> names;  // of the objects entered
};

class ListSizesTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "ListSizes_test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }

    void SetUp() override
    {
        MakeSizeTree(folder_);
        folder_.MakeFile("x", 5);
        folder_.MakeFile("y", 7);
    }

    std::vector<std::string> Paths(const std::vector<std::string>& names) const
    {
        std::vector<std::string> paths;
        for (const std::string& name : names)
            paths.push_back(folder_.Path(name));
        return paths;
    }

    void Apply(ListSizes& sizes, const Edit& edit) const
    {
        if (edit.insert)
            sizes.Insert(edit.positions, Paths(edit.names));
        else
            sizes.Erase(edit.positions);
    }

    TempFolder folder_;
};

// Following a list through its edits gives what following the edited list anew gives: the
// same objects, totals and holders, also with one path listed twice.
TEST_F(ListSizesTest, EditsGiveWhatFollowingTheEditedListGives)
{
    const struct {
        const char* name;
        std::vector<std::string> list;
        std::vector<Edit> edits;
        std::vector<std::string> edited;
    } cases[] = {
        {"the holder goes", {"x", "tree", "tree/a", "y"}, {{false, {1}, {}}}, {"x", "tree/a", "y"}},
        {"a holder enters", {"x", "tree/a", "y"}, {{true, {1}, {"tree"}}}, {"x", "tree", "tree/a", "y"}},
        {"at both ends", {"tree"}, {{true, {0, 2}, {"x", "y"}}}, {"x", "tree", "y"}},
        {"the first of a twin goes", {"tree/a", "tree", "tree/a"}, {{false, {0}, {}}}, {"tree", "tree/a"}},
        {"both twins go", {"tree/a", "tree/sub/b", "tree", "tree/a"}, {{false, {0, 3}, {}}}, {"tree/sub/b", "tree"}},
        {"a twin enters before the other",
         {"tree", "tree/a"},
         {{true, {0}, {"tree/a"}}},
         {"tree/a", "tree", "tree/a"}},
        {"most go and come back",
         {"x", "tree", "tree/a", "y"},
         {{false, {0, 1, 2}, {}}, {true, {0, 1, 2}, {"x", "tree", "tree/a"}}},
         {"x", "tree", "tree/a", "y"}},
        {"every other goes and comes back",
         {"x", "tree/sub/b", "tree", "y", "tree/a"},
         {{false, {0, 2, 4}, {}}, {true, {0, 2, 4}, {"x", "tree", "tree/a"}}, {false, {1, 3}, {}}},
         {"x", "tree", "tree/a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SizeIndex index;
        ListSizes edited(index);
        edited.Follow(Paths(c.list));
        for (const Edit& edit : c.edits)
            Apply(edited, edit);
        ListSizes anew(index);
        anew.Follow(Paths(c.edited));
        ASSERT_TRUE(WaitFor([&] { return edited.Total() && anew.Total(); }));

        EXPECT_EQ(edited.Followed(), Paths(c.edited));
        EXPECT_EQ(edited.Holders(), anew.Holders());
        EXPECT_EQ(edited.Total()->bytes, anew.Total()->bytes);
        EXPECT_EQ(edited.Total()->files, anew.Total()->files);
        EXPECT_EQ(edited.Total()->folders, anew.Total()->folders);
        for (const std::string& path : Paths(c.list))
            EXPECT_EQ(edited.HolderOf(path), anew.HolderOf(path)) << path;
    }
}

// An object that leaves the list is no longer counted: its walk ends, unless the list still
// holds the same path at another position.
TEST_F(ListSizesTest, AnErasedObjectsWalkEndsUnlessItsPathIsStillListed)
{
    const struct {
        const char* name;
        std::vector<std::string> list;  // the first object's walk hangs: a file, counted before any folder
        std::vector<std::size_t> erased;
        bool cancelled;
    } cases[] = {
        {"erased", {"x", "tree"}, {0}, true},
        {"another erased", {"x", "tree"}, {1}, false},
        {"its twin erased", {"x", "tree", "x"}, {2}, false},
        {"both twins erased", {"x", "tree", "x"}, {0, 2}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HangingWalk hanging(folder_.Path(std::string("fifo-") + c.name));
        SizeIndex::Options options;
        options.walk = hanging.Walk();
        options.workers = 1;
        SizeIndex index(options);
        ListSizes sizes(index);
        sizes.Follow(Paths(c.list));
        ASSERT_TRUE(WaitFor([&] { return hanging.Hung(); }));
        sizes.Erase(c.erased);
        EXPECT_EQ(hanging.Cancelled(), c.cancelled);
        hanging.LetGo();
        EXPECT_TRUE(WaitFor([&] { return hanging.Ended(); }));
        // What is still listed gets its total: nothing erased is waited for.
        EXPECT_TRUE(WaitFor([&] { return sizes.Total().has_value(); }));
    }
}

}  // namespace
