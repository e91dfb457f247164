// tessna-cli end to end: the built program runs in a temporary folder and the files it
// leaves are checked byte for byte.
#include "catalog/CatalogFile.h"
#include "support/core/BuildInfo.h"
#include "support/core/Cp932.h"
#include "support/core/ProgramFolder.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempFolder.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using Lines = std::vector<std::string>;

struct Result {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ProgramFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

Result RunProgram(const std::string& program, const std::string& workingFolder, const Lines& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(workingFolder));
    process.start(QString::fromStdString(program), list);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

// UTF-8 of the program's text to code page 932, for the files.
std::string Sj(const std::string& utf8)
{
    return Cp932Text(utf8);
}

class CliTest : public testing::Test {
protected:
    // tessna-cli --folder <the temporary folder> ..., run from that folder.
    Result Cli(const Lines& arguments) const
    {
        Lines all{"--folder", folder.Path()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return RunProgram(ProgramFolder() + "/tessna-cli", folder.Path(), all);
    }

    // Two catalogs listed: Backup (with a Japanese title and two objects) and Empty.
    void ListTwoCatalogs() const
    {
        folder.Write("Backup.VrCat", CatalogText({"", Sj("バックアップ"), {"/data/Report.doc", Sj("/data/写真")}}));
        folder.Write("Empty.VrCat", CatalogText({"", "Empty", {}}));
        folder.Write("VrCatCtl.ini", "[Extract]\r\n0=x.VrCat\r\n[Compress]\r\n3=Backup.VrCat\r\n1=Empty.VrCat\r\n");
    }

    // Checks a refusal: exit 1, one message naming the problem, and no file touched.
    void ExpectRefused(const Lines& arguments, const std::string& messagePart) const
    {
        const auto before = Files();
        const Result result = Cli(arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find(messagePart), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(Files(), before);
    }

    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
            if (entry.is_regular_file())
                files[entry.path().string()] = folder.Read(entry.path().lexically_relative(folder.Path()).string());
        }
        return files;
    }

    TempFolder folder;
};

TEST_F(CliTest, ListShowAndTextPrintUtf8AndChangeNothing)
{
    ListTwoCatalogs();
    const auto before = Files();

    EXPECT_EQ(Cli({"list"}).out, "Backup\nEmpty\n");
    const Result show = Cli({"show", "Backup"});
    EXPECT_EQ(show.exitCode, 0);
    EXPECT_EQ(show.out, "Title=バックアップ\n/data/Report.doc\n/data/写真\n");
    EXPECT_EQ(Cli({"text", "Empty"}).out,
              "[Common]\r\nOperation=Compress\r\nTitle=Empty\r\n\r\n[Options]\r\n\r\n[Objects]\r\n");
    EXPECT_EQ(Files(), before);
}

TEST_F(CliTest, NewWritesTheCatalogInTheWizardsOrderAndListsIt)
{
    ListTwoCatalogs();
    folder.Write("work/b.txt", "b");
    folder.Write("work/a.txt", "a");
    folder.Write("work/フォルダ/x", "x");
    const std::string work = folder.Path("work");

    const Result result = Cli({"new", "新規", "work/b.txt", "nothing.txt", work + "/a.txt", "work/./フォルダ/",
                               "work/x/../b.txt", work});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(folder.Read("新規.VrCat"),
              CatalogText({"", Sj("新規"),
                           {work, Sj(work + "/フォルダ"), work + "/a.txt", work + "/b.txt",
                            folder.Path("nothing.txt")}}));
    EXPECT_EQ(folder.Read("VrCatCtl.ini"),
              "[Extract]\r\n0=x.VrCat\r\n[Compress]\r\n0=Backup.VrCat\r\n1=Empty.VrCat\r\n2=" + Sj("新規")
                  + ".VrCat\r\n");
    EXPECT_EQ(Cli({"list"}).out, "Backup\nEmpty\n新規\n");
}

TEST_F(CliTest, NewRefusesNamesTheRenameDialogRefusesAndListedNames)
{
    ListTwoCatalogs();
    ExpectRefused({"new", "Backup"}, "既にリストにあります");
    ExpectRefused({"new", "a;b"}, "ファイル名には次の文字は使えません。");
    ExpectRefused({"new", "  "}, "空");
    ExpectRefused({"new", "Ok", "/tmp/\xF0\x9F\x98\x80"}, "😀");
    ExpectRefused({"new", "한국"}, "한국");
}

TEST_F(CliTest, AddPutsFoldersBeforeFilesAndSkipsHeldAndMissingPaths)
{
    ListTwoCatalogs();
    folder.Write("d/one.txt", "1");
    folder.Write("d/Two.txt", "2");
    folder.Write("d/REPORT.DOC", "r");
    std::filesystem::create_directory(folder.Path("d/sub"));
    folder.Write("Backup.VrCat", CatalogText({"", "B", {folder.Path("d/report.doc")}}));

    const Result result = Cli({"add", "Backup", "d/Two.txt", "d/missing", "d/sub", "d/REPORT.DOC", "d/one.txt"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find("d/missing"), std::string::npos);
    EXPECT_EQ(folder.Read("Backup.VrCat"),
              CatalogText({"", "B",
                           {folder.Path("d/report.doc"), folder.Path("d/sub"), folder.Path("d/Two.txt"),
                            folder.Path("d/one.txt")}}));
}

TEST_F(CliTest, RemoveTakesTheFirstOccurrenceInAnyLetterCase)
{
    folder.Write("C.VrCat", CatalogText({"", "C", {"/x/A", "C:\\Data\\a.txt", "/x/a", "/x/b"}}));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=C.VrCat\r\n");

    const Result result = Cli({"remove", "C", "/X/a", "c:\\data\\A.TXT", "/x/none"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find("/x/none"), std::string::npos);
    EXPECT_EQ(folder.Read("C.VrCat"), CatalogText({"", "C", {"/x/a", "/x/b"}}));
}

TEST_F(CliTest, RenameWritesTheNewFileWithTheOldTitleAndKeepsTheOldFile)
{
    ListTwoCatalogs();
    const std::string oldText = folder.Read("Backup.VrCat");
    ExpectRefused({"rename", "Backup", "BACKUP"}, "変更前と変更後の名前が同じです。");
    ExpectRefused({"rename", "Backup", "Empty"}, "既にリストにあります");
    ExpectRefused({"rename", "Backup", "a*b"}, "ファイル名には次の文字は使えません。");
    ExpectRefused({"rename", "Nobody", "X"}, "リストにありません");

    ASSERT_EQ(Cli({"rename", "Backup", "保存用"}).exitCode, 0);
    EXPECT_EQ(folder.Read("保存用.VrCat"), oldText);
    EXPECT_EQ(folder.Read("Backup.VrCat"), oldText);
    EXPECT_EQ(Cli({"list"}).out, "保存用\nEmpty\n");
}

TEST_F(CliTest, DeletingTheLastCatalogErasesTheSectionAndKeepsTheFiles)
{
    ListTwoCatalogs();
    ASSERT_EQ(Cli({"delete", "Backup"}).exitCode, 0);
    ASSERT_EQ(Cli({"delete", "Empty"}).exitCode, 0);
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Extract]\r\n0=x.VrCat\r\n");
    EXPECT_TRUE(folder.Exists("Backup.VrCat"));
    EXPECT_TRUE(folder.Exists("Empty.VrCat"));
    EXPECT_EQ(Cli({"list"}).out, "");
}

TEST_F(CliTest, AFailedSaveIsReportedAndLeavesTheFilesAsTheyWere)
{
    ListTwoCatalogs();
    std::filesystem::create_directory(folder.Path("Neu.VrCat"));
    ExpectRefused({"new", "Neu"}, folder.Path("Neu.VrCat") + " を作成できません");
}

TEST_F(CliTest, WrongUsageExitsWithTwoAndTheUsage)
{
    for (const Lines& arguments : {Lines{}, Lines{"frobnicate"}, Lines{"show"}, Lines{"rename", "a"},
                                   Lines{"list", "extra"}, Lines{"--colour", "list"}}) {
        const Result result = RunProgram(ProgramFolder() + "/tessna-cli", folder.Path(), arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.err.find("使い方: tessna-cli"), std::string::npos);
    }
    const Result help = RunProgram(ProgramFolder() + "/tessna-cli", folder.Path(), {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("終了コード"), std::string::npos);
    const Result version = RunProgram(ProgramFolder() + "/tessna-cli", folder.Path(), {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("tessna-cli ") + TessnaVersion + "\n");
    EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST_F(CliTest, WorksInTheProgramsOwnFolderByDefaultAndInARelativeFolder)
{
    std::filesystem::copy_file(ProgramFolder() + "/tessna-cli", folder.Path("tessna-cli"));
    folder.Write(PortableMarkerName, "");
    const Result made = RunProgram(folder.Path("tessna-cli"), "/", {"new", "Here"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_EQ(folder.Read("VrCatCtl.ini"), "[Compress]\r\n0=Here.VrCat\r\n");

    std::filesystem::create_directory(folder.Path("other"));
    ASSERT_EQ(RunProgram(ProgramFolder() + "/tessna-cli", folder.Path(), {"--folder", "other", "new", "There"}).exitCode, 0);
    EXPECT_TRUE(folder.Exists("other/There.VrCat"));
    EXPECT_EQ(RunProgram(ProgramFolder() + "/tessna-cli", folder.Path(), {"--folder", "nowhere", "list"}).exitCode, 1);
}

TEST_F(CliTest, AnInstalledCopyKeepsItsCatalogsInTheUsersDataFolderUnlessItsFolderHoldsAList)
{
    folder.Write("bin/.keep", "");
    std::filesystem::copy_file(ProgramFolder() + "/tessna-cli", folder.Path("bin/tessna-cli"));
    const ScopedEnv home("XDG_DATA_HOME", QByteArray::fromStdString(folder.Path("data")));
    ASSERT_EQ(RunProgram(folder.Path("bin/tessna-cli"), "/", {"new", "Installed"}).exitCode, 0);
    EXPECT_EQ(folder.Read("data/Kavo/Tessna/VrCatCtl.ini"), "[Compress]\r\n0=Installed.VrCat\r\n");
    EXPECT_EQ(RunProgram(folder.Path("bin/tessna-cli"), "/", {"list"}).out, "Installed\n");
    EXPECT_FALSE(folder.Exists("bin/VrCatCtl.ini"));

    // A control file beside the program keeps that copy portable without the marker.
    folder.Write("bin/VrCatCtl.ini", "[Compress]\r\n");
    ASSERT_EQ(RunProgram(folder.Path("bin/tessna-cli"), "/", {"new", "Beside"}).exitCode, 0);
    EXPECT_EQ(folder.Read("bin/VrCatCtl.ini"), "[Compress]\r\n0=Beside.VrCat\r\n");
    EXPECT_EQ(RunProgram(folder.Path("bin/tessna-cli"), "/", {"list"}).out, "Beside\n");
}

}  // namespace
