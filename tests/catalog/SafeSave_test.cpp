// Saves that fail for real: a folder where a file should be, read-only files and folders, a
// full disk. After each, every file must be wholly old, nothing temporary may be left, the
// list must still be modified and the error must name what failed.
#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "catalog/SafeSave.h"
#include "support/core/Cp932.h"
#include "support/core/TessnaError.h"
#include "tests/common/LockHolder.h"
#include "tests/common/SecondUser.h"
#include "tests/common/TempFolder.h"
#include "tests/common/Tmpfs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <memory>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

// What a save must keep of a file: owner, group, mode and every extended attribute (the ACLs
// among them), read by path.
struct Identity {
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0;
    std::map<std::string, std::string> attributes;
    bool operator==(const Identity&) const = default;
};

std::string AttributeValue(const std::string& path, const char* name)
{
    std::string value(static_cast<std::size_t>(std::max<ssize_t>(0, ::getxattr(path.c_str(), name, nullptr, 0))), '\0');
    value.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::getxattr(path.c_str(), name, value.data(), value.size()))));
    return value;
}

Identity IdentityOf(const std::string& path)
{
    struct stat facts {};
    ::stat(path.c_str(), &facts);
    Identity identity{facts.st_uid, facts.st_gid, facts.st_mode & 07777, {}};
    std::string names(static_cast<std::size_t>(std::max<ssize_t>(0, ::listxattr(path.c_str(), nullptr, 0))), '\0');
    names.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::listxattr(path.c_str(), names.data(), names.size()))));
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1)
        identity.attributes[names.c_str() + at] = AttributeValue(path, names.c_str() + at);
    return identity;
}

bool SetAttribute(const std::string& path, const std::string& name, const std::string& value)
{
    return ::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) == 0;
}

// The temporary file name a save of a process that is gone would have left.
constexpr char DeadTemporary[] = ".tessna-999999999-5-1.tmp";

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
            if (entry.path().filename() == FolderLockFileName)
                continue;
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
    ExpectFailedSaveChangesNothing(Cp932Text("ファイル " + PathOf("b.VrCat") + " を作成できません: その名前のフォルダがあります"));
}

TEST_F(SafeSaveTest, AReadOnlyCatalogFileIsNotReplaced)
{
    ListThreeCatalogs();
    std::filesystem::permissions(PathOf("c.VrCat"), std::filesystem::perms::owner_read);
    ExpectFailedSaveChangesNothing(Cp932Text("ファイル " + PathOf("c.VrCat") + " を作成できません: 書き込みが許されていません"));
}

TEST_F(SafeSaveTest, AControlFileThatCannotBeWrittenLeavesTheCatalogsOld)
{
    ListThreeCatalogs();
    std::filesystem::remove(PathOf("VrCatCtl.ini"));
    std::filesystem::create_directory(PathOf("VrCatCtl.ini"));
    before_ = Snapshot();
    ExpectFailedSaveChangesNothing(Cp932Text(PathOf("VrCatCtl.ini") + " に書き込めません: その名前のフォルダがあります"));
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
    ExpectFailedSaveChangesNothing(Cp932Text("ファイル " + PathOf("a.VrCat") + " を作成できません: "
                                             + (tmpfs.Mounted() ? "読み取り専用のファイルシステムです"
                                                                : "書き込みが許されていません")));
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
    ExpectFailedSaveChangesNothing(Cp932Text("ストリームへの書き込みエラー: ディスクがいっぱいです"));

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

// Each file keeps what it had: the other user's file its owner and group, and every file
// its mode, its ACL entries and its extended attributes, after a save that replaces it.
TEST_F(SafeSaveTest, AReplacedFileKeepsItsOwnerModeACLsAndAttributes)
{
    const SecondUser user;
    ListThreeCatalogs();
    const std::string a = PathOf("a.VrCat");
    const std::string b = PathOf("b.VrCat");
    if (user.Problem().empty()) {
        ASSERT_EQ(::chown(a.c_str(), user.Uid(), user.Gid()), 0);
    }
    ::chmod(a.c_str(), 0640);
    ::chmod(b.c_str(), 0604);
    const std::string acl = "setfacl -m u:nobody:r--,g::r-- " + a + " && setfacl -m u:nobody:rw- " + b;
    ASSERT_EQ(std::system(acl.c_str()), 0) << "setfacl (Debian package acl) is needed";
    ASSERT_TRUE(SetAttribute(a, "user.origin", "desk"));
    ASSERT_TRUE(SetAttribute(b, "user.tag", std::string("\0binary\xff", 8)));
    const Identity oldA = IdentityOf(a);
    const Identity oldB = IdentityOf(b);
    ASSERT_TRUE(oldA.attributes.contains("system.posix_acl_access"));

    store_->SaveCatalogList();
    EXPECT_EQ(IdentityOf(a), oldA);
    EXPECT_EQ(IdentityOf(b), oldB);
    EXPECT_EQ(folder_.Read("a.VrCat"), CatalogText({"", "A", {"/a", "/new"}}));
    EXPECT_EQ(folder_.Read("b.VrCat"), CatalogText({"", "B", {"/b", "/new"}}));
    if (!user.Problem().empty())
        GTEST_SKIP() << "owner not checked: " << user.Problem();
}

// A catalog with a second name (a hard link) is written in place: both names see the new
// content, and the file stays one file.
TEST_F(SafeSaveTest, AFileWithOtherNamesIsWrittenInPlace)
{
    ListThreeCatalogs();
    ASSERT_EQ(::link(PathOf("b.VrCat").c_str(), folder_.Path("b-elsewhere").c_str()), 0);
    struct stat before {};
    ::stat(PathOf("b.VrCat").c_str(), &before);

    store_->SaveCatalogList();
    const std::string saved = CatalogText({"", "B", {"/b", "/new"}});
    EXPECT_EQ(folder_.Read("b.VrCat"), saved);
    EXPECT_EQ(folder_.Read("b-elsewhere"), saved);
    struct stat after {};
    ::stat(PathOf("b.VrCat").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    // Nothing temporary is left beside it.
    EXPECT_EQ(folder_.EntryCount(), 5u);
}

// A user who may not give a file its owner (root's file in the user's folder) gets a save
// that says so and writes nothing, instead of taking the file over.
TEST_F(SafeSaveTest, ASaveThatCannotKeepTheOwnerSaysSoAndWritesNothing)
{
    const SecondUser user;
    if (!user.Problem().empty())
        GTEST_SKIP() << user.Problem();
    at_ = folder_.MakeFolder("home");
    ::chmod(folder_.Path().c_str(), 0755);
    ListThreeCatalogs(at_);
    for (const std::string name : {"", "a.VrCat", "b.VrCat", "VrCatCtl.ini"})
        ASSERT_EQ(::chown(PathOf(name).c_str(), user.Uid(), user.Gid()), 0);
    ::chmod(PathOf("c.VrCat").c_str(), 0666);  // root's, but anyone may write it
    before_ = Snapshot();

    const auto message = user.RunAs([&] {
        CatalogStore store(Folder());
        store.LoadCatalogList();
        store.AddObjects(2, {"/new"});
        try {
            store.SaveCatalogList();
        } catch (const TessnaError& error) {
            return std::string(error.what());
        }
        return std::string("saved");
    });
    ASSERT_TRUE(message);
    EXPECT_NE(message->find(PathOf("c.VrCat")), std::string::npos) << *message;
    EXPECT_NE(message->find(Cp932Text("所有者")), std::string::npos) << *message;
    EXPECT_EQ(Snapshot(), before_);
    EXPECT_EQ(IdentityOf(PathOf("c.VrCat")).owner, 0u);
}

// Temporary files of killed saves are removed only under the folder lock (a save, or a load
// while nobody else holds it), also beside the target of a linked catalog, and never one whose writer still holds its
// lock, whatever process namespace that writer runs in.
TEST_F(SafeSaveTest, DeadTemporariesGoOnlyUnderTheFolderLockWhereverASaveWrites)
{
    folder_.Write("elsewhere/keep", "");
    folder_.Write(std::string("elsewhere/") + DeadTemporary, "killed");
    ListThreeCatalogs();
    folder_.Write("elsewhere/b.VrCat", before_.at("b.VrCat"));
    std::filesystem::remove(PathOf("b.VrCat"));
    std::filesystem::create_symlink(folder_.Path("elsewhere/b.VrCat"), PathOf("b.VrCat"));
    Write(DeadTemporary, "killed");
    // A live writer in another PID namespace: its process id means nothing here.
    const std::string live = ".tessna-999999998-5-1.tmp";
    LockHolder writer(PathOf(live));
    ASSERT_TRUE(writer.Holding());

    {
        LockHolder otherWriter(PathOf(FolderLockFileName));
        ASSERT_TRUE(otherWriter.Holding());
        CatalogStore reader(Folder());
        reader.LoadCatalogList();
        EXPECT_TRUE(folder_.Exists(DeadTemporary)) << "a load without the folder lock removed it";
    }

    store_->LoadCatalogList();
    for (int i = 0; i < 3; ++i)
        store_->AddObjects(i, {"/new"});
    store_->SaveCatalogList();
    EXPECT_FALSE(folder_.Exists(DeadTemporary));
    EXPECT_FALSE(folder_.Exists(std::string("elsewhere/") + DeadTemporary));
    EXPECT_TRUE(folder_.Exists(live));
    EXPECT_EQ(folder_.Read("elsewhere/b.VrCat"), CatalogText({"", "B", {"/b", "/new"}}));

    writer.Kill();
    EXPECT_EQ(RemoveDeadTemporaries(Folder()), 1);
    EXPECT_FALSE(folder_.Exists(live));
}

}  // namespace

namespace {

// What killed saves leave: a temporary file is removed only when its name is one a save
// gives and nobody holds its lock, whatever process its name names.
TEST(RemoveDeadTemporariesTest, RemovesOnlyTheFilesOfEndedWriters)
{
    TempFolder folder;
    const std::string pid = std::to_string(::getpid());
    const std::string gone = "999999999";  // above every pid_max
    const Lines dead = {".tessna-" + gone + "-5-1.tmp", ".tessna-" + pid + "-1-2.tmp", ".tessna-" + gone + "-3.tmp",
                        ".tessna-1-7.tmp"};
    const Lines kept = {".tessna-x-1-1.tmp", ".tessna-" + gone + "-5.txt", "tessna-" + gone + "-5-1.tmp",
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

namespace {

// Where saves of listed files put their temporary files: each file's folder, and for a link
// the folder of its target, each folder once, whatever the number of files.
TEST(TemporaryFoldersOfTest, GivesEachFilesFolderAndALinksTargetFolder)
{
    TempFolder folder;
    folder.Write("a.VrCat", "");
    folder.Write("sub/b.VrCat", "");
    folder.Write("far/c.VrCat", "");
    std::filesystem::create_symlink(folder.Path("far/c.VrCat"), folder.Path("c.VrCat"));
    std::filesystem::create_symlink(folder.Path("gone/d.VrCat"), folder.Path("d.VrCat"));
    const struct {
        Lines files;
        Lines folders;
    } cases[] = {
        {{"a.VrCat", "missing.VrCat"}, {""}},
        {{"a.VrCat", "sub/b.VrCat"}, {"", "/sub"}},
        {{"c.VrCat", "a.VrCat"}, {"", "/far"}},
        {{"d.VrCat"}, {""}},
        {{"sub/b.VrCat", "c.VrCat", "sub/b.VrCat"}, {"/sub", "", "/far"}},
    };
    for (const auto& listed : cases) {
        Lines paths;
        for (const std::string& file : listed.files)
            paths.push_back(folder.Path(file));
        Lines expected;
        for (const std::string& at : listed.folders)
            expected.push_back(folder.Path() + at);
        EXPECT_EQ(TemporaryFoldersOf(paths), expected) << listed.files.front();
    }
}

}  // namespace
