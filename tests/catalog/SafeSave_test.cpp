// Saves that fail for real: a folder where a file should be, read-only files and folders, a
// full disk. After each, every file must be wholly old, nothing temporary may be left, the
// list must still be modified and the error must name what failed.
#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "catalog/SafeSave.h"
#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"
#include "tests/common/TempFolder.h"
#include "tests/common/Tmpfs.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

class SafeSaveTest : public testing::Test {
protected:
    // Three listed catalogs a, b, c in the folder, loaded, each then given a new object so
    // that a save would change every file.
    void ListThreeCatalogs(const std::string& in = {})
    {
        at_ = in;
        Write("a.VrCat", CatalogText({"", "A", {"/a"}}));
        Write("b.VrCat", CatalogText({"", "B", {"/b"}}));
        Write("c.VrCat", CatalogText({"", "C", {"/c"}}));
        Write("VrCatCtl.ini", "[Compress]\r\n0=a.VrCat\r\n1=b.VrCat\r\n2=c.VrCat\r\n[Extract]\r\n");
        store_ = std::make_unique<CatalogStore>(Folder());
        store_->LoadCatalogList();
        ASSERT_EQ(store_->Count(), 3);
        for (int i = 0; i < 3; ++i)
            store_->AddObjects(i, {"/new"});
        ASSERT_TRUE(store_->Modified());
        before_ = Snapshot();
    }

    // Saves, expecting the failure message; then checks that nothing changed on disk.
    void ExpectFailedSaveChangesNothing(const std::string& message)
    {
        try {
            store_->SaveCatalogList();
            ADD_FAILURE() << "the save reported success";
        } catch (const TessnaError& error) {
            EXPECT_EQ(error.what(), message);
        }
        EXPECT_EQ(Snapshot(), before_);
        EXPECT_TRUE(store_->Modified());
    }

    std::string Folder() const { return at_.empty() ? folder_.Path() : at_; }
    std::string PathOf(const std::string& name) const { return Folder() + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }

    // Every entry of the folder with its content: a temporary file left behind shows here.
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().filename().string()] = entry.is_directory()
                ? "<folder>"
                : std::string(std::istreambuf_iterator<char>(in), {});
        }
        return files;
    }

    TempFolder folder_;
    std::string at_;
    std::unique_ptr<CatalogStore> store_;
    std::map<std::string, std::string> before_;
};

TEST_F(SafeSaveTest, AFolderInPlaceOfACatalogStopsTheSaveBeforeAnyFileChanges)
{
    ListThreeCatalogs();
    std::filesystem::remove(PathOf("b.VrCat"));
    std::filesystem::create_directory(PathOf("b.VrCat"));
    before_ = Snapshot();
    ExpectFailedSaveChangesNothing(Cp932Text("ファイル " + PathOf("b.VrCat") + " を作成できません"));
}

TEST_F(SafeSaveTest, AReadOnlyCatalogFileIsNotReplaced)
{
    ListThreeCatalogs();
    std::filesystem::permissions(PathOf("c.VrCat"), std::filesystem::perms::owner_read);
    ExpectFailedSaveChangesNothing(Cp932Text("ファイル " + PathOf("c.VrCat") + " を作成できません"));
}

TEST_F(SafeSaveTest, AControlFileThatCannotBeWrittenLeavesTheCatalogsOld)
{
    ListThreeCatalogs();
    std::filesystem::remove(PathOf("VrCatCtl.ini"));
    std::filesystem::create_directory(PathOf("VrCatCtl.ini"));
    before_ = Snapshot();
    ExpectFailedSaveChangesNothing(Cp932Text(PathOf("VrCatCtl.ini") + " に書き込めません"));
}

TEST_F(SafeSaveTest, AReadOnlyFolderChangesNothing)
{
    const std::string mountPoint = folder_.Path("ro");
    Tmpfs tmpfs(mountPoint, "1m");
    if (::geteuid() == 0 && !tmpfs.Mounted())
        GTEST_SKIP() << "cannot mount a file system here";
    if (!tmpfs.Mounted())
        std::filesystem::create_directories(mountPoint);
    ListThreeCatalogs(mountPoint);
    if (tmpfs.Mounted())
        ASSERT_TRUE(tmpfs.MakeReadOnly());
    else
        ::chmod(mountPoint.c_str(), 0555);
    ExpectFailedSaveChangesNothing(Cp932Text("ファイル " + PathOf("a.VrCat") + " を作成できません"));
    ::chmod(mountPoint.c_str(), 0755);
}

TEST_F(SafeSaveTest, AFullDiskChangesNothingAndALaterSaveSucceeds)
{
    const std::string mountPoint = folder_.Path("small");
    Tmpfs tmpfs(mountPoint, "64k");
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "cannot mount a file system here";
    ListThreeCatalogs(mountPoint);
    store_->ReplaceObjects(1, Lines(2000, "/" + std::string(100, 'x')));
    ExpectFailedSaveChangesNothing(Cp932Text("ストリームへの書き込みエラー"));

    store_->ReplaceObjects(1, {"/b", "/new"});
    store_->SaveCatalogList();
    EXPECT_FALSE(store_->Modified());
    const auto after = Snapshot();
    EXPECT_EQ(after.size(), before_.size());
    EXPECT_EQ(after.at("b.VrCat"), CatalogText({"", "B", {"/b", "/new"}}));
    EXPECT_EQ(after.at("VrCatCtl.ini"), before_.at("VrCatCtl.ini"));
}

TEST_F(SafeSaveTest, AReplacedFileKeepsItsPermissionsAndLinksStayLinks)
{
    ListThreeCatalogs();
    std::filesystem::permissions(PathOf("a.VrCat"), std::filesystem::perms(0640));
    folder_.Write("elsewhere/b.VrCat", before_.at("b.VrCat"));
    std::filesystem::remove(PathOf("b.VrCat"));
    std::filesystem::create_symlink(folder_.Path("elsewhere/b.VrCat"), PathOf("b.VrCat"));

    store_->SaveCatalogList();
    EXPECT_EQ(std::filesystem::status(PathOf("a.VrCat")).permissions(), std::filesystem::perms(0640));
    EXPECT_TRUE(std::filesystem::is_symlink(PathOf("b.VrCat")));
    EXPECT_EQ(folder_.Read("elsewhere/b.VrCat"), CatalogText({"", "B", {"/b", "/new"}}));
}

}  // namespace

namespace {

// What killed saves leave: a temporary file is removed only when its name is one a save
// gives and the process it names (id and start time) no longer runs.
TEST(RemoveDeadTemporariesTest, RemovesOnlyTheFilesOfEndedWriters)
{
    TempFolder folder;
    const std::string pid = std::to_string(::getpid());
    const std::string gone = "999999999";  // above every pid_max
    const Lines dead = {".tessna-" + gone + "-5-1.tmp", ".tessna-" + pid + "-1-2.tmp", ".tessna-" + gone + "-3.tmp"};
    const Lines kept = {".tessna-1-7.tmp", ".tessna-x-1-1.tmp", ".tessna-" + gone + "-5.txt", "tessna-" + gone + "-5-1.tmp",
                        ".tessna-" + gone + "-1-2-3.tmp", "a.VrCat"};
    for (const std::string& name : dead)
        folder.Write(name, "old");
    for (const std::string& name : kept)
        folder.Write(name, "mine");
    std::filesystem::create_symlink("a.VrCat", folder.Path(".tessna-" + gone + "-9-9.tmp"));

    // A save of this process in progress: its temporary file is there until the commit.
    SafeSave save;
    save.Stage(folder.Path("b.VrCat"), "new", {"create", "write"});
    const std::size_t entries = folder.EntryCount();

    EXPECT_EQ(RemoveDeadTemporaries(folder.Path()), static_cast<int>(dead.size()));
    EXPECT_EQ(folder.EntryCount(), entries - dead.size());
    for (const std::string& name : kept)
        EXPECT_EQ(folder.Read(name), "mine") << name;
    save.Commit();
    EXPECT_EQ(folder.Read("b.VrCat"), "new");
    EXPECT_EQ(folder.EntryCount(), entries - dead.size());
}

}  // namespace
