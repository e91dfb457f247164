// A catalog with other names (hard links) is written in place. A save killed during that
// write leaves the file as it was at the kill; the next holder of the folder's lock must leave
// it whole (here: new, as its new content was on disk before the write began), keep it one
// file under all its names, and leave nothing temporary behind.
#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "catalog/SafeSave.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

// Objects enough for a catalog of several copy blocks, so that a kill after the first block
// leaves it cut.
Lines ManyObjects()
{
    Lines objects;
    for (int i = 0; i < 6000; ++i)
        objects.push_back("/data/archive/" + std::to_string(i) + "/report.doc");
    return objects;
}

const std::string OldText = CatalogText({"", "Big", ManyObjects()});
const std::string NewText = [] {
    Lines objects = ManyObjects();
    objects.erase(objects.begin());
    return CatalogText({"", "Big", objects});
}();

// Runs the driver, which saves the folder's first catalog and kills itself at step; true
// when it died by SIGKILL.
bool SaveKilledAt(const std::string& folder, const char* step)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(TESSNA_IN_PLACE_KILL_DRIVER, "in_place_kill_driver", folder.c_str(), step, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

struct stat FactsOf(const std::string& path)
{
    struct stat facts {};
    ::stat(path.c_str(), &facts);
    return facts;
}

// The names of the folder that a save makes for its own use.
Lines SaveLeftovers(const TempFolder& folder)
{
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".tessna-"))
            names.push_back(name);
    }
    return names;
}

class KilledInPlaceWriteTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_.Write("Big.VrCat", OldText);
        folder_.Write("VrCatCtl.ini", "[Compress]\r\n0=Big.VrCat\r\n");
        std::filesystem::create_directories(folder_.Path("other"));
        ASSERT_EQ(::link(folder_.Path("Big.VrCat").c_str(), folder_.Path("other/Big").c_str()), 0);
        ::chmod(folder_.Path("Big.VrCat").c_str(), 0640);
        before_ = FactsOf(folder_.Path("Big.VrCat"));
    }

    void ExpectWholeNewUnderBothNames() const
    {
        EXPECT_EQ(folder_.Read("Big.VrCat"), NewText);
        EXPECT_EQ(folder_.Read("other/Big"), NewText);
        const struct stat after = FactsOf(folder_.Path("Big.VrCat"));
        EXPECT_EQ(after.st_ino, before_.st_ino);
        EXPECT_EQ(after.st_nlink, 2u);
        EXPECT_EQ(after.st_mode, before_.st_mode);
        EXPECT_EQ(after.st_uid, before_.st_uid);
        EXPECT_EQ(SaveLeftovers(folder_), Lines{});
    }

    TempFolder folder_;
    struct stat before_ {};
};

// Killed with the record on disk and the target untouched, in the middle of the copy, and
// with the copy done but its files not yet removed: the next start's load finishes the
// write before it reads the catalog.
TEST_F(KilledInPlaceWriteTest, TheNextLoadFinishesTheWriteBeforeReadingTheCatalog)
{
    const struct {
        const char* step;
        bool cut;  // the file is neither old nor new after the kill
    } kills[] = {{"recorded", false}, {"part", true}, {"copied", false}};
    for (const auto& kill : kills) {
        SCOPED_TRACE(kill.step);
        folder_.Write("Big.VrCat", OldText);
        ASSERT_TRUE(SaveKilledAt(folder_.Path(), kill.step));
        const std::string atKill = folder_.Read("other/Big");
        EXPECT_EQ(atKill != OldText && atKill != NewText, kill.cut);
        ASSERT_EQ(SaveLeftovers(folder_).size(), 2u) << "the temporary file and its record";

        CatalogStore store(folder_.Path());
        store.LoadCatalogList();
        ASSERT_EQ(store.Count(), 1);
        EXPECT_TRUE(store.UnreadableReason(0).empty());
        EXPECT_EQ(store.Catalog(0).Objects.size(), ManyObjects().size() - 1);
        ExpectWholeNewUnderBothNames();
    }
}

// The leftovers of a killed save, made by hand, each with what the cleanup must make of it.
TEST_F(KilledInPlaceWriteTest, TheCleanupFinishesOnlyAWholeRecordOfADeadWriter)
{
    const std::string temporary = ".tessna-999999999-5-1.tmp";
    const std::string record = ".tessna-999999999-5-1.copy";
    const std::string cutText = OldText.substr(0, 70000);
    enum class Record { None, Whole, CutShort, OtherLength };
    const struct {
        const char* what;
        Record record;
        bool withTemporary;
        const char* targetName;  // the target's name in the folder at the cleanup; "" for none
        const std::string& expected;
        Lines leftovers;
    } cases[] = {
        {"whole record", Record::Whole, true, "Big.VrCat", NewText, {}},
        {"record cut short: the target was never touched", Record::CutShort, true, "Big.VrCat", cutText, {}},
        {"record without its temporary file", Record::Whole, false, "Big.VrCat", cutText, {}},
        {"temporary file alone", Record::None, true, "Big.VrCat", cutText, {}},
        {"target renamed since", Record::Whole, true, "Renamed.VrCat", NewText, {}},
        {"temporary file of another length", Record::OtherLength, true, "Big.VrCat", cutText, {record, temporary}},
        {"no name of the target left in the folder", Record::Whole, true, "", cutText, {}},
    };
    for (const auto& leftover : cases) {
        SCOPED_TRACE(leftover.what);
        std::filesystem::remove_all(folder_.Path());
        folder_.Write("Big.VrCat", cutText);
        std::filesystem::create_directories(folder_.Path("other"));
        ASSERT_EQ(::link(folder_.Path("Big.VrCat").c_str(), folder_.Path("other/Big").c_str()), 0);
        const struct stat target = FactsOf(folder_.Path("Big.VrCat"));
        const std::size_t size = NewText.size() - (leftover.record == Record::OtherLength);
        std::string text = "tessna in-place copy\n" + std::to_string(target.st_dev) + ' ' + std::to_string(target.st_ino)
            + ' ' + std::to_string(size) + " 9\nBig.VrCat\nend\n";
        if (leftover.record == Record::CutShort)
            text.resize(text.size() - 3);
        if (leftover.record != Record::None)
            folder_.Write(record, text);
        if (leftover.withTemporary)
            folder_.Write(temporary, NewText);
        if (std::string(leftover.targetName) != "Big.VrCat")
            std::filesystem::remove(folder_.Path("Big.VrCat"));
        if (*leftover.targetName && std::string(leftover.targetName) != "Big.VrCat") {
            ASSERT_EQ(::link(folder_.Path("other/Big").c_str(), folder_.Path(leftover.targetName).c_str()), 0);
        }

        RemoveDeadTemporaries(folder_.Path());
        EXPECT_EQ(folder_.Read("other/Big"), leftover.expected);
        EXPECT_EQ(FactsOf(folder_.Path("other/Big")).st_ino, target.st_ino);
        Lines left = SaveLeftovers(folder_);
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, leftover.leftovers);
    }
}

}  // namespace
