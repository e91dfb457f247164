#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/TessnaError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

const std::string So = "\x83\x5C";  // ソ: its trail byte is a backslash

// 2000-01-01 12:00:01 in Tokyo: day 36526 and a half, the odd second dropped.
constexpr time_t NoonOf2000Plus1s = 946695601;

class FileFactsTest : public testing::Test {
protected:
    // The program's form of a path below the temporary folder.
    std::string Path(const std::string& relative) const
    {
        return *QStringToCp932(dir_.path()) + "/" + relative;
    }

    std::string Write(const std::string& relative, const QByteArray& bytes) const
    {
        QFile file(*Cp932ToQString(Path(relative)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(relative);
    }

    std::string MakeDir(const std::string& relative) const
    {
        EXPECT_EQ(mkdir(Cp932ToUtf8(Path(relative))->c_str(), 0755), 0);
        return Path(relative);
    }

    static void SetTime(const std::string& path, time_t when)
    {
        const timeval times[2] = { { when, 0 }, { when, 0 } };
        ASSERT_EQ(utimes(Cp932ToUtf8(path)->c_str(), times), 0);
    }

    static bool IsRoot() { return geteuid() == 0; }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(FileFactsTest, AttributesTellFoldersFilesAndReadOnly)
{
    const std::string file = Write("a.txt", "x");
    EXPECT_EQ(GetFileAttributesOf(file), faArchive);
    EXPECT_EQ(GetFileAttributesOf(Path("")), faDirectory);
    EXPECT_EQ(GetFileAttributesOf(Path("missing")), -1);
    EXPECT_EQ(GetFileAttributesOf(""), -1);
    EXPECT_EQ(GetFileAttributesOf(file + "/"), -1);
    chmod(Cp932ToUtf8(file)->c_str(), 0444);
    if (!IsRoot()) {
        EXPECT_EQ(GetFileAttributesOf(file), faArchive | faReadOnly);
    }
}

TEST_F(FileFactsTest, TrailByte5CNamesAreFoundThroughTheHostBorder)
{
    const std::string folder = MakeDir(So);
    const std::string file = Write(So + "/" + So + ".txt", "12345");
    EXPECT_TRUE(DirExists(folder));
    EXPECT_FALSE(FileExistsQuiet(folder));
    EXPECT_TRUE(FileExistsQuiet(file));
    EXPECT_FALSE(DirExists(file));
    EXPECT_EQ(GetFileSizeOf(file), 5);
    EXPECT_EQ(GetFileSizeOf(folder + "/*.txt"), 5);
    EXPECT_FALSE(FileExistsQuiet(Path("\x83")));  // no host form: nothing there
    EXPECT_FALSE(DirExists(Path("\x83")));
}

TEST_F(FileFactsTest, WildcardSearchesAnswerWithTheLowestMatch)
{
    MakeDir("d");
    Write("d/b.txt", "22");
    Write("d/a.TXT", "1");
    Write("d/c.log", "333");
    EXPECT_TRUE(FileExistsQuiet(Path("d/*.txt")));
    EXPECT_EQ(GetFileSizeOf(Path("d/*.txt")), 1);
    EXPECT_EQ(GetFileSizeOf(Path("d/?.log")), 3);
    EXPECT_EQ(FindFirstFileFacts(Path("d/*.txt"))->name, "a.TXT");
    EXPECT_FALSE(FileExistsQuiet(Path("d/*.doc")));
    EXPECT_EQ(GetFileSizeOf(Path("d/*.doc")), 0);
    EXPECT_EQ(GetFileDateOf(Path("d/*.doc")), 0);
    EXPECT_FALSE(FileExistsQuiet(Path("nowhere/*.txt")));
    MakeDir("d/0sub");
    EXPECT_FALSE(FileExistsQuiet(Path("d/*")));  // the first match is a folder
    EXPECT_FALSE(IsExistingFile(Path("d/*.txt")));  // looked up as named, never matched
    EXPECT_TRUE(IsExistingFile(Path("d/b.txt")));
    EXPECT_FALSE(IsExistingFile(Path("d/0sub")));
    EXPECT_FALSE(IsExistingFile(Path("d/missing")));
}

TEST_F(FileFactsTest, FoldersHaveADateButNoSize)
{
    const std::string folder = MakeDir("f");
    Write("f/x", "abc");
    SetTime(folder, NoonOf2000Plus1s);
    EXPECT_EQ(GetFileSizeOf(folder), 0);
    EXPECT_DOUBLE_EQ(GetFileDateOf(folder), 36526.5);
    EXPECT_EQ(GetFileSizeOf(Path("missing")), 0);
    EXPECT_EQ(GetFileDateOf(Path("missing")), 0);
}

TEST_F(FileFactsTest, FileDatesAreLocalInTwoSecondSteps)
{
    const std::string file = Write("t", "x");
    SetTime(file, NoonOf2000Plus1s);
    EXPECT_DOUBLE_EQ(GetFileDateOf(file), 36526.5);
    SetTime(file, NoonOf2000Plus1s + 1);
    EXPECT_DOUBLE_EQ(GetFileDateOf(file), 36526.5 + 2.0 / 86400);
}

TEST_F(FileFactsTest, SizesOfTwoGigabytesAndMoreKeepAllTheirBits)
{
    const std::string file = Write("big", "");
    constexpr std::int64_t size = (std::int64_t { 5 } << 30) + 7;
    ASSERT_EQ(truncate(Cp932ToUtf8(file)->c_str(), size), 0);
    EXPECT_EQ(GetFileSizeOf(file), size);
}

TEST_F(FileFactsTest, TextSniffingByteClasses)
{
    const QByteArray text50 = QByteArray("\x83\x5C\xB1\tLine\r\n") + QByteArray(40, 'a');
    EXPECT_TRUE(IsTextFile(Write("sjis", text50 + QByteArray("\0\x01\x02", 3))));
    EXPECT_FALSE(IsTextFile(Write("empty", "")));
    EXPECT_FALSE(IsTextFile(Write("nul", QByteArray("ab\0cd", 5))));
    EXPECT_FALSE(IsTextFile(Write("lowtrail", "a\x83\x3F")));
    EXPECT_TRUE(IsTextFile(Write("trail7f", "a\x83\x7F")));
    EXPECT_FALSE(IsTextFile(Write("del", "a\x7F")));
    EXPECT_FALSE(IsTextFile(Write("x80", "a\x80")));
    EXPECT_FALSE(IsTextFile(Write("xa0", "a\xA0")));
    EXPECT_FALSE(IsTextFile(Write("xfd", "a\xFD")));
    EXPECT_TRUE(IsTextFile(Write("cutlead", QByteArray(49, 'a') + "\x83")));
    EXPECT_TRUE(IsTextFile(Write("leadat50", QByteArray(49, 'a') + "\x83\x01")));
    EXPECT_FALSE(IsTextFile(Path("missing")));
    EXPECT_FALSE(IsTextFile(MakeDir("folder")));
}

TEST_F(FileFactsTest, UnreadableFileIsAnError)
{
    if (IsRoot())
        GTEST_SKIP() << "root reads every file";
    const std::string file = Write("locked", "abc");
    chmod(Cp932ToUtf8(file)->c_str(), 0);
    try {
        IsTextFile(file);
        FAIL() << "no error";
    } catch (const TessnaError& error) {
        EXPECT_EQ(error.what(), Cp932Text("ファイル ") + file + Cp932Text(" は開けません"));
    }
}

TEST_F(FileFactsTest, LinksAreTheirTargetsAndDanglingLinksStillExist)
{
    const std::string folder = MakeDir("target");
    ASSERT_EQ(symlink(Cp932ToUtf8(folder)->c_str(), Cp932ToUtf8(Path("link"))->c_str()), 0);
    ASSERT_EQ(symlink("/nowhere/at/all", Cp932ToUtf8(Path("dangling"))->c_str()), 0);
    EXPECT_TRUE(DirExists(Path("link")));
    EXPECT_EQ(GetFileAttributesOf(Path("dangling")), faArchive);
    EXPECT_TRUE(FileExistsQuiet(Path("dangling")));
}
