// tessna-cli end to end: the built program runs in a temporary folder and the files it
// leaves are checked byte for byte.
#include "catalog/CatalogFile.h"
#include "catalog/CatalogStore.h"
#include "support/core/BuildInfo.h"
#include "support/core/Cp932.h"
#include "support/core/ProgramFolder.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/ScriptedPrompter.h"
#include "tests/common/TempFolder.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

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

void Start(QProcess& process, const std::string& program, const std::string& workingFolder, const Lines& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
    process.setWorkingDirectory(QString::fromStdString(workingFolder));
    process.start(QString::fromStdString(program), list);
}

Result RunProgram(const std::string& program, const std::string& workingFolder, const Lines& arguments)
{
    QProcess process;
    Start(process, program, workingFolder, arguments);
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

    // Starts tessna-cli --folder <the temporary folder> ... without waiting for it.
    void StartCli(QProcess& process, const Lines& arguments) const
    {
        Lines all{"--folder", folder.Path()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        Start(process, ProgramFolder() + "/tessna-cli", folder.Path(), all);
        ASSERT_TRUE(process.waitForStarted());
    }

    // The files saves make for their own use in the folder (temporary files, records of
    // writes in place), those whose name ends so when suffix is given.
    std::size_t Temporaries(const std::string& suffix = {}) const
    {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            const std::string name = entry.path().filename().string();
            count += name.starts_with(".tessna-") && name.ends_with(suffix);
        }
        return count;
    }

    static ino_t FileInode(const std::filesystem::path& path)
    {
        struct stat facts {};
        return ::stat(path.c_str(), &facts) == 0 ? facts.st_ino : 0;
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
            std::error_code error;  // a link to itself is no file
            if (entry.is_regular_file(error) && entry.path().filename() != FolderLockFileName)
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
    ExpectRefused({"new", "Backup"}, "既にカタログリストにあります");
    ExpectRefused({"new", "a;b"}, "ファイル名には次の文字は使えません。");
    ExpectRefused({"new", "  "}, "空白だけ");
    ExpectRefused({"new", "Ok", "/tmp/\xF0\x9F\x98\x80"}, "😀");
    ExpectRefused({"new", "한국"}, "한국");
    // A character that code page 932 would store as another one is refused by both borders,
    // naming the one to type instead.
    ExpectRefused({"new", "x〜y"}, "「～」(U+FF5E)");
    ExpectRefused({"new", "Ok", "/tmp/a−b"}, "「－」(U+FF0D)");
    ExpectRefused({"add", "Backup", "/tmp/a‖b"}, "「∥」(U+2225)");
}

TEST_F(CliTest, NewAndRenameRefuseWhatTheCatalogNameRuleRefuses)
{
    ListTwoCatalogs();
    folder.Write("既存.VrCat", "mine");
    const std::string listed = "カタログ「BACKUP」は既にカタログリストにあります（大文字と小文字は区別しません）。\n"
                               "別のカタログ名を指定してください。";
    ExpectRefused({"new", "BACKUP"}, listed);
    ExpectRefused({"rename", "Empty", "BACKUP"}, listed);
    ExpectRefused({"new", "x\ny"}, "元のとおりに読み戻せない");
    ExpectRefused({"new", " lead"}, "元のとおりに読み戻せない");
    ExpectRefused({"new", "\u3000"}, "空白だけのカタログ名は使えません。");
    ExpectRefused({"new", std::string(250, 'n')}, "カタログ名が長すぎます。");
    ExpectRefused({"new", "既存"}, "ファイル「" + folder.Path("既存.VrCat") + "」は既にあり");
    ExpectRefused({"rename", "Empty", "既存"}, "ファイル「" + folder.Path("既存.VrCat") + "」は既にあり");
    // A renamed catalog keeps its title, so its name may end in a blank.
    EXPECT_EQ(Cli({"rename", "Empty", "Empty "}).exitCode, 0);
}

TEST_F(CliTest, NewAndAddNameThePathsACatalogCannotHoldAndTakeTheRest)
{
    ListTwoCatalogs();
    folder.Write("d/a\nb.txt", "1");
    folder.Write("d/ok.txt", "2");
    const Result added = Cli({"add", "Backup", "d/a\nb.txt", "d/ok.txt"});
    EXPECT_EQ(added.exitCode, 1);
    EXPECT_NE(added.err.find("「" + folder.Path("d/a<LF>b.txt") + "」はカタログに保存できない"), std::string::npos);
    EXPECT_EQ(Cli({"show", "Backup"}).out, "Title=バックアップ\n/data/Report.doc\n/data/写真\n" + folder.Path("d/ok.txt") + "\n");

    const Result made = Cli({"new", "Neu", "d/a\nb.txt", "d/ok.txt"});
    EXPECT_EQ(made.exitCode, 1);
    EXPECT_NE(made.err.find("はカタログに保存できない"), std::string::npos);
    EXPECT_EQ(folder.Read("Neu.VrCat"), CatalogText({"", "Neu", {folder.Path("d/ok.txt")}}));
}

TEST_F(CliTest, AddPutsFoldersBeforeFilesAndSkipsHeldAndMissingPaths)
{
    ListTwoCatalogs();
    folder.Write("d/one.txt", "1");
    folder.Write("d/Two.txt", "2");
    folder.Write("d/REPORT.DOC", "r");
    std::filesystem::create_directory(folder.Path("d/sub"));
    folder.Write("Backup.VrCat", CatalogText({"", "B", {folder.Path("d/report.doc")}}));

    // REPORT.DOC is another file than the report.doc the catalog holds.
    const Result result = Cli({"add", "Backup", "d/Two.txt", "d/missing", "d/sub", "d/REPORT.DOC", "d/one.txt",
                               folder.Path("d/report.doc")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("d/missing"), std::string::npos);
    EXPECT_EQ(folder.Read("Backup.VrCat"),
              CatalogText({"", "B",
                           {folder.Path("d/report.doc"), folder.Path("d/sub"), folder.Path("d/Two.txt"),
                            folder.Path("d/REPORT.DOC"), folder.Path("d/one.txt")}}));
}

TEST_F(CliTest, RemoveTakesTheFirstOccurrenceOfTheExactPath)
{
    folder.Write("C.VrCat", CatalogText({"", "C", {"/x/A", "C:\\Data\\a.txt", "/x/a", "/x/b", "/x/a"}}));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=C.VrCat\r\n");

    const Result result = Cli({"remove", "C", "/x/a", "C:\\Data\\a.txt", "/X/B", "c:\\data\\A.TXT"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("/X/B"), std::string::npos);
    EXPECT_NE(result.err.find("A.TXT"), std::string::npos);
    EXPECT_EQ(folder.Read("C.VrCat"), CatalogText({"", "C", {"/x/A", "/x/b", "/x/a"}}));
}

// Anything given that was refused, missing or not listed ends the tool with exit code 1,
// after the rest was done and saved, as cp and rm do; a new whose every path is refused
// makes no catalog.
TEST_F(CliTest, AnythingNotTakenExitsWithOneAfterDoingTheRest)
{
    struct Row {
        Lines arguments;
        std::string named;      // on the error stream
        Lines backupObjects;    // Backup's objects afterwards
        bool neuListed;
    };
    const Lines old = {"/data/Report.doc", "/data/写真"};
    const std::string ok = folder.Path("d/ok.txt");
    const std::vector<Row> rows = {
        {{"add", "Backup", "d/gone1", "d/gone2"}, "d/gone2", old, false},
        {{"add", "Backup", "d/ok.txt", "d/gone1"}, "d/gone1", {old[0], old[1], ok}, false},
        {{"remove", "Backup", "/not/listed"}, "/not/listed", old, false},
        {{"remove", "Backup", "/data/Report.doc", "/not/listed"}, "/not/listed", {old[1]}, false},
        {{"new", "Neu", "d/a\nb.txt"}, "Neu", old, false},
        {{"new", "Neu", "d/a\nb.txt", "d/ok.txt"}, "d/a<LF>b.txt", old, true},
    };
    for (const Row& row : rows) {
        ListTwoCatalogs();
        std::filesystem::remove(folder.Path("Neu.VrCat"));
        folder.Write("d/a\nb.txt", "1");
        folder.Write("d/ok.txt", "2");
        const Result result = Cli(row.arguments);
        const std::string shown = row.arguments[0] + " " + row.arguments[2];
        EXPECT_EQ(result.exitCode, 1) << shown;
        EXPECT_NE(result.err.find(row.named), std::string::npos) << shown << ": " << result.err;
        Lines expected;
        for (const std::string& object : row.backupObjects)
            expected.push_back(Sj(object));
        EXPECT_EQ(folder.Read("Backup.VrCat"), CatalogText({"", Sj("バックアップ"), expected})) << shown;
        EXPECT_EQ(folder.Exists("Neu.VrCat"), row.neuListed) << shown;
        EXPECT_EQ(Cli({"list"}).out, row.neuListed ? "Backup\nEmpty\nNeu\n" : "Backup\nEmpty\n") << shown;
    }
}

TEST_F(CliTest, RenameWritesTheNewFileWithTheOldTitleAndKeepsTheOldFile)
{
    ListTwoCatalogs();
    const std::string oldText = folder.Read("Backup.VrCat");
    ExpectRefused({"rename", "Backup", "BACKUP"}, "変更前と変更後の名前が同じです。");
    ExpectRefused({"rename", "Backup", "Empty"}, "既にカタログリストにあります");
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
    std::filesystem::permissions(folder.Path("Backup.VrCat"), std::filesystem::perms::owner_read);
    ExpectRefused({"add", "Backup", folder.Path("VrCatCtl.ini")}, folder.Path("Backup.VrCat") + " を作成できません: 書き込みが許されていません");
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

    // A folder whose name ends in a backslash keeps its files inside it.
    std::filesystem::create_directory(folder.Path("odd\\"));
    ASSERT_EQ(RunProgram(ProgramFolder() + "/tessna-cli", folder.Path(), {"--folder", "odd\\", "new", "Inside"}).exitCode, 0);
    EXPECT_TRUE(folder.Exists("odd\\/VrCatCtl.ini"));
    EXPECT_TRUE(folder.Exists("odd\\/Inside.VrCat"));
    EXPECT_FALSE(folder.Exists("odd\\VrCatCtl.ini"));
}

TEST_F(CliTest, ACatalogThatCannotBeReadIsListedRefusedAndKept)
{
    ListTwoCatalogs();
    std::filesystem::create_symlink(folder.Path("loop.VrCat"), folder.Path("loop.VrCat"));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=Backup.VrCat\r\n1=loop.VrCat\r\n2=Empty.VrCat\r\n");

    const Result list = Cli({"list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "Backup\nloop\nEmpty\n");
    EXPECT_NE(list.err.find("ファイル loop.VrCat は開けません: リンク"), std::string::npos) << list.err;
    for (const Lines& refused : {Lines{"show", "loop"}, Lines{"text", "loop"}, Lines{"add", "loop", folder.Path()},
                                 Lines{"remove", "loop", "/x"}, Lines{"rename", "loop", "ring"}})
        ExpectRefused(refused, "カタログ loop は読み込めなかったので");

    ASSERT_EQ(Cli({"new", "Third"}).exitCode, 0);
    EXPECT_EQ(folder.Read("VrCatCtl.ini"),
              "[Compress]\r\n0=Backup.VrCat\r\n1=loop.VrCat\r\n2=Empty.VrCat\r\n3=Third.VrCat\r\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("loop.VrCat")));
    ASSERT_EQ(Cli({"delete", "loop"}).exitCode, 0);
    EXPECT_EQ(Cli({"list"}).out, "Backup\nEmpty\nThird\n");
}

// The program's store and a real tessna-cli on one folder. The program's save keeps what the
// tool changed in catalogs and list entries the program did not touch, and asks nothing.
TEST_F(CliTest, TheProgramsSaveKeepsWhatTheToolChangedElsewhere)
{
    ListTwoCatalogs();
    folder.Write("d/tool.txt", "t");
    CatalogStore program(folder.Path());
    program.LoadCatalogList();
    program.AddObjects(0, {"/mine"});
    ASSERT_EQ(Cli({"add", "Empty", folder.Path("d/tool.txt")}).exitCode, 0);
    ASSERT_EQ(Cli({"new", "Third"}).exitCode, 0);

    ScriptedPrompter prompter;
    prompter.Answer(mrYes);  // カタログリストを保存しますか？
    program.SaveCommand(prompter);
    EXPECT_EQ(prompter.boxes.size(), 1u);
    EXPECT_FALSE(program.Modified());
    EXPECT_EQ(Cli({"list"}).out, "Backup\nEmpty\nThird\n");
    EXPECT_EQ(Cli({"show", "Empty"}).out, "Title=Empty\n" + folder.Path("d/tool.txt") + "\n");
    EXPECT_EQ(Cli({"show", "Backup"}).out, "Title=バックアップ\n/data/Report.doc\n/data/写真\n/mine\n");
    // The program's list shows the tool's work after the save.
    ASSERT_EQ(program.Count(), 3);
    EXPECT_EQ(program.Catalog(1).Objects, Lines{folder.Path("d/tool.txt")});
    EXPECT_EQ(DisplayedName(program.Catalog(2).FileName), "Third");
}

// Both changed Backup: the save asks, naming it, with No the default; No writes nothing. A
// Yes covers what the question showed: the tool's next change, made while the question was
// open, is asked about again.
TEST_F(CliTest, WhenBothChangedOneCatalogTheSaveAsksAboutExactlyWhatItShows)
{
    ListTwoCatalogs();
    folder.Write("d/one.txt", "1");
    folder.Write("d/two.txt", "2");
    CatalogStore program(folder.Path());
    program.LoadCatalogList();
    program.AddObjects(0, {"/mine"});
    ASSERT_EQ(Cli({"add", "Backup", folder.Path("d/one.txt")}).exitCode, 0);
    const auto written = Files();

    ScriptedPrompter prompter;
    prompter.Answer(mrYes);
    prompter.Answer(mrNo);
    program.SaveCommand(prompter);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].msg, Cp932Text("次のファイルは、読み込んだあとにほかのプログラムが変更しました。"
                                               "上書きして保存しますか？\n")
                                         + folder.Path("Backup.VrCat"));
    EXPECT_EQ(prompter.boxes[1].buttons, mbYesNo | mbDefaultNo);
    EXPECT_EQ(Files(), written);
    EXPECT_TRUE(program.Modified());

    prompter.WhileOpen([&] {
        if (prompter.boxes.size() == 4) {
            const Result tool = Cli({"add", "Backup", folder.Path("d/two.txt")});
            EXPECT_EQ(tool.exitCode, 0) << tool.err;
        }
    });
    prompter.Answer(mrYes);  // カタログリストを保存しますか？
    prompter.Answer(mrYes);  // overwrite one.txt's version: the tool adds two.txt meanwhile
    prompter.Answer(mrNo);   // overwrite two.txt's version
    program.SaveCommand(prompter);
    EXPECT_EQ(prompter.boxes.size(), 5u);
    EXPECT_NE(Cli({"show", "Backup"}).out.find("two.txt"), std::string::npos);

    prompter.WhileOpen({});
    prompter.Answer(mrYes);
    prompter.Answer(mrYes);
    program.SaveCommand(prompter);
    EXPECT_EQ(Cli({"show", "Backup"}).out, "Title=バックアップ\n/data/Report.doc\n/data/写真\n/mine\n");
    EXPECT_FALSE(program.Modified());
}

TEST_F(CliTest, TheToolWaitsWhileAnotherHoldsTheFolder)
{
    ListTwoCatalogs();
    CatalogStore program(folder.Path());
    auto hold = program.HoldFolder();
    QProcess tool;
    StartCli(tool, {"new", "Third"});
    EXPECT_FALSE(tool.waitForFinished(700));
    EXPECT_FALSE(folder.Exists("Third.VrCat"));
    hold.Release();
    ASSERT_TRUE(tool.waitForFinished(10000));
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_TRUE(folder.Exists("Third.VrCat"));
}

// tessna-cli killed by SIGKILL in the middle of its saves, round after round: every catalog
// must still read whole, as it was before the save or after it, and after one good save no
// temporary file may be left. The big catalog has a second name (a hard link), so its saves
// write it in place: both names must always read the same. A third of the rounds kill as
// soon as a temporary file shows, a third as soon as the big catalog's first bytes are written
// in place (inotify tells), the rest after a random time. Each pair of rounds moves one object from the start
// of the big catalog to its end (remove, then add), so that every save changes it from its
// first bytes. TESSNA_KILL_ROUNDS sets the number of rounds (scripts/soak-killed-saves runs
// many).
TEST_F(CliTest, KilledSavesLeaveNoLitter)
{
    const char* roundsSetting = std::getenv("TESSNA_KILL_ROUNDS");
    const int rounds = roundsSetting ? std::atoi(roundsSetting) : 10;
    ListTwoCatalogs();
    Lines objects;
    for (int i = 0; i < 20000; ++i) {
        objects.push_back(i < (rounds + 1) / 2 ? folder.MakeFile("moved/" + std::to_string(i))
                                                : "/data/archive/" + std::to_string(i) + "/report.doc");
    }
    folder.Write("Big.VrCat", CatalogText({"", "Big", objects}));
    folder.Write("VrCatCtl.ini", "[Compress]\r\n0=Backup.VrCat\r\n1=Big.VrCat\r\n2=Empty.VrCat\r\n");
    std::filesystem::create_directories(folder.Path("other"));
    ASSERT_EQ(::link(folder.Path("Big.VrCat").c_str(), folder.Path("other/Big").c_str()), 0);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(Cli({"add", "Big", folder.Path("VrCatCtl.ini")}).exitCode, 0);
    const qint64 fullRun = clock.nsecsElapsed() / 1000;
    objects.push_back(folder.Path("VrCatCtl.ini"));
    const std::filesystem::path bigFile = folder.Path("Big.VrCat");
    const auto bigInode = std::filesystem::hard_link_count(bigFile) == 2 ? FileInode(bigFile) : 0;
    ASSERT_NE(bigInode, 0u);

    std::mt19937 random(42);
    int leftTemporaries = 0;
    int cutInPlace = 0;
    std::size_t mostTemporaries = 0;
    for (int round = 0; round < rounds; ++round) {
        const std::string moved = folder.Path("moved/" + std::to_string(round / 2));
        Lines next = objects;
        const auto at = std::find(next.begin(), next.end(), moved);
        if (round % 2 == 0 && at != next.end())
            next.erase(at);
        else if (round % 2 == 1 && at == next.end())
            next.push_back(moved);
        const int changes = ::inotify_init1(IN_CLOEXEC);
        ::inotify_add_watch(changes, bigFile.c_str(), IN_MODIFY);
        QProcess tool;
        StartCli(tool, {round % 2 ? "add" : "remove", "Big", moved});
        if (round % 3 == 0) {
            while (Temporaries() == 0 && !tool.waitForFinished(0))
                std::this_thread::sleep_for(std::chrono::microseconds(50));
        } else if (round % 3 == 1) {
            // The first change is the space taken for the content, the second its first block.
            pollfd written{changes, POLLIN, 0};
            for (int seen = 0; seen < 2 && !tool.waitForFinished(0);) {
                if (::poll(&written, 1, 1) <= 0)
                    continue;
                char events[4096];
                seen += ::read(changes, events, sizeof events) > 0;
            }
        } else {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % fullRun));
        }
        tool.kill();  // SIGKILL, sent only while the process runs
        tool.waitForFinished();
        ::close(changes);
        const std::size_t temporaries = Temporaries();
        leftTemporaries += temporaries > 0;
        cutInPlace += Temporaries(".copy") > 0;
        mostTemporaries = std::max(mostTemporaries, temporaries);

        const Result list = Cli({"list"});
        ASSERT_EQ(list.exitCode, 0) << list.err;
        ASSERT_EQ(list.out, "Backup\nBig\nEmpty\n");
        const std::string big = folder.Read("Big.VrCat");
        const bool saved = big == CatalogText({"", "Big", next});
        ASSERT_TRUE(saved || big == CatalogText({"", "Big", objects})) << "round " << round << ": Big is cut";
        ASSERT_EQ(folder.Read("other/Big"), big) << "round " << round;
        ASSERT_EQ(FileInode(bigFile), bigInode);
        if (saved)
            objects = std::move(next);
        const Result shown = Cli({"show", "Big"});
        ASSERT_EQ(shown.exitCode, 0);
        ASSERT_EQ(shown.out.substr(0, 10), "Title=Big\n");
    }
    ASSERT_EQ(Cli({"add", "Big", folder.Path("Backup.VrCat")}).exitCode, 0);
    EXPECT_EQ(Temporaries(), 0u);
    EXPECT_EQ(folder.Read("other/Big"), folder.Read("Big.VrCat"));
    EXPECT_GT(leftTemporaries, 0) << "no kill fell into a save";
    // A kill falls into the short copy in place in about one round of ten: only a soak is sure
    // to see one.
    if (rounds >= 100) {
        EXPECT_GT(cutInPlace, 0) << "no kill fell into a write in place";
    }
    std::printf("killed saves: %d rounds, %d left temporary files (at most %zu at once), %d killed during the write "
                "in place of the linked catalog, every catalog read whole, both names alike, %zu left after the next "
                "save\n",
                rounds, leftTemporaries, mostTemporaries, cutInPlace, Temporaries());
}

// The program's journal of unsaved changes, its lock and a journal set aside are the
// program's alone: no command of the tool reads, writes or removes them.
TEST_F(CliTest, TheProgramsJournalIsNeverTouched)
{
    ListTwoCatalogs();
    const std::map<std::string, std::string> journal = {
        {".TessnaJournal", std::string("TessnaJournal") + '\0' + "unsaved"},
        {".TessnaJournal.lock", "this-host"},
        {".TessnaJournal.unreadable-20261209-101010", "damaged"}};
    for (const auto& [name, bytes] : journal)
        folder.Write(name, bytes);
    folder.Write("object", "");
    const std::vector<Lines> commands = {{"list"},  {"show", "Backup"}, {"add", "Backup", folder.Path("object")},
                                         {"remove", "Backup", folder.Path("object")}, {"new", "Neu"},
                                         {"rename", "Neu", "Alt"}, {"delete", "Alt"}};
    for (const Lines& command : commands) {
        ASSERT_EQ(Cli(command).exitCode, 0) << command[0];
        for (const auto& [name, bytes] : journal)
            EXPECT_EQ(folder.Read(name), bytes) << command[0] << " touched " << name;
    }
    EXPECT_EQ(Cli({"list"}).out, "Backup\nEmpty\n");
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

// A tree with hard links within it and across objects, a link, a nested folder and a nested
// wildcard: the catalog's total is every regular file once, as find and du count them.
class CliSizeTest : public CliTest {
protected:
    void SetUp() override
    {
        folder.MakeFile("tree/a", 1000);
        folder.MakeFile("tree/sub/b", 20000);
        folder.MakeFile("tree/sub/deep/c", 5);
        folder.MakeFile("tree/d.log", 77);
        folder.MakeFile("other/e", 300);
        std::filesystem::create_hard_link(folder.Path("tree/a"), folder.Path("tree/sub/a2"));
        std::filesystem::create_hard_link(folder.Path("tree/sub/b"), folder.Path("other/b2"));
        std::filesystem::create_directory_symlink("sub", folder.Path("tree/link"));
        const std::string objects = folder.Path("tree") + "\r\n" + folder.Path("tree/sub") + "\r\n"
            + folder.Path("tree/*.log") + "\r\n" + folder.Path("other") + "\r\n";
        folder.Write("Sizes.VrCat", "[Common]\r\nTitle=Sizes\r\n[Objects]\r\n" + objects);
        folder.Write("VrCatCtl.ini", "[Compress]\r\n0=Sizes.VrCat\r\n");
    }

    std::string Shell(const std::string& command) const
    {
        return RunProgram("/bin/sh", folder.Path(), {"-c", command}).out;
    }
};

TEST_F(CliSizeTest, TheTotalAgreesWithFindAndDu)
{
    const std::string files = Shell("find tree other -type f -printf '%i %s\\n' | sort -u"
                                    " | awk '{n++; s+=$2} END {printf \"%d\\t%d\", s, n}'");
    const std::string folders = Shell("find tree other -type d | wc -l");
    const std::string du = Shell("find tree other -type f -print0 | du -b --apparent-size -c --files0-from=- | tail -n 1 | cut -f 1");
    ASSERT_EQ(files, "21382\t5");
    ASSERT_EQ(du, "21382\n");

    const Result result = Cli({"size", "Sizes"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, files + "\t" + folders);
}

TEST_F(CliSizeTest, EachAndJsonNameTheObjectThatHoldsAnother)
{
    const std::string tree = folder.Path("tree");
    const Result each = Cli({"size", "Sizes", "--each"});
    EXPECT_EQ(each.out, "21082\t4\t3\t" + tree + "\n21005\t3\t2\t" + tree + "/sub\t" + tree + "\n77\t1\t0\t"
                  + tree + "/*.log\t" + tree + "\n20300\t2\t1\t" + folder.Path("other") + "\n21382\t5\t4\t合計\n");

    const Result json = Cli({"size", "--json", "Sizes", "--each"});
    const QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    EXPECT_EQ(document["bytes"].toInteger(), 21382);
    EXPECT_FALSE(document["partial"].toBool());
    const QJsonArray objects = document["objects"].toArray();
    ASSERT_EQ(objects.size(), 4);
    EXPECT_EQ(objects[1].toObject()["heldBy"].toString().toStdString(), tree);
    EXPECT_TRUE(objects[3].toObject()["heldBy"].isNull());

    EXPECT_EQ(Cli({"size", "Sizes", "--all"}).exitCode, 2);
}

// Root reads every folder: the tool runs as nobody there, for whom one folder is closed.
TEST_F(CliSizeTest, APartialTotalIsPrintedAndEndsWithExitCode1)
{
    std::filesystem::permissions(folder.Path(), std::filesystem::perms(0755));
    std::filesystem::permissions(folder.Path("tree/sub"), std::filesystem::perms(0700));
    Lines arguments{"--folder", folder.Path(), "size", "Sizes"};
    std::string program = ProgramFolder() + "/tessna-cli";
    if (geteuid() == 0) {
        arguments.insert(arguments.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", program});
        program = "/usr/bin/setpriv";
    }
    const Result result = RunProgram(program, folder.Path(), arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "21377\t4\t3\n");  // a, d.log, e and b through b2; tree, sub, other
    EXPECT_EQ(result.err, "tessna-cli: 「" + folder.Path("tree/sub") + "」は読めないため数えていません\n");
}

}  // namespace

// A catalog Archive whose objects are a folder with a file in it, a file with a blank and a
// Japanese name, a pattern matching two files (one with a line feed in its name), a file
// that is gone and a path in another system's syntax.
class FilesTest : public CliTest {
protected:
    void SetUp() override
    {
        objects.MakeFile("docs/inner.txt", 3);
        objects.MakeFile("写真 1.jpg", 5);
        objects.MakeFile("logs/b.log");
        objects.MakeFile("logs/a\nb.log");
        objects.MakeFile("logs/c.txt");
        folder.Write("Archive.VrCat",
                     CatalogText({"", "Archive",
                                  {Sj(objects.Path("docs")), Sj(objects.Path("写真 1.jpg")), objects.Path("logs/*.log"),
                                   objects.Path("gone.txt"), "C:\\Data\\Report.doc"}}));
        folder.Write("VrCatCtl.ini", "[Compress]\r\n0=Archive.VrCat\r\n");
    }

    TempFolder objects;
};

TEST_F(FilesTest, PrintsWhatExistsInOrderNamesTheRestAndFailsAfterIt)
{
    const Result lines = Cli({"files", "Archive"});
    EXPECT_EQ(lines.exitCode, 1);
    EXPECT_EQ(lines.out, objects.Path("docs") + "\n" + objects.Path("写真 1.jpg") + "\n" + objects.Path("logs/b.log") + "\n");
    for (const std::string& named : {objects.Path("gone.txt"), std::string("C:\\Data\\Report.doc"),
                                     objects.Path("logs/a") + "<LF>b.log"})
        EXPECT_NE(lines.err.find("「" + named + "」"), std::string::npos) << lines.err;

    // With -0 (before or after the name) a line feed is just a byte of a name.
    for (const Lines& arguments : {Lines{"files", "Archive", "-0"}, Lines{"files", "-0", "Archive"}}) {
        const Result nul = Cli(arguments);
        EXPECT_EQ(nul.exitCode, 1);
        EXPECT_EQ(nul.out, objects.Path("docs") + '\0' + objects.Path("写真 1.jpg") + '\0' + objects.Path("logs/a\nb.log")
                               + '\0' + objects.Path("logs/b.log") + '\0');
    }
}

TEST_F(FilesTest, ACatalogWhoseObjectsAllExistExitsZeroAndWrongUsageTwo)
{
    folder.Write("Archive.VrCat", CatalogText({"", "Archive", {objects.Path("logs/c.txt")}}));
    const Result result = Cli({"files", "Archive"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, objects.Path("logs/c.txt") + "\n");
    EXPECT_TRUE(result.err.empty()) << result.err;
    EXPECT_EQ(Cli({"files"}).exitCode, 2);
    EXPECT_EQ(Cli({"files", "Archive", "Other"}).exitCode, 2);
    EXPECT_EQ(Cli({"files", "Nothing"}).exitCode, 1);
}

// The list goes to tar as the man page shows it: the archive holds the catalog's existing
// objects, a folder with its contents, and nothing else.
TEST_F(FilesTest, TarArchivesExactlyTheExistingObjects)
{
    const std::string archive = objects.Path("x.tar");
    const std::string script = "tar --null -T <(\"$0\" --folder \"$1\" files Archive -0) -cf \"$2\" 2>/dev/null"
                               " && tar -tf \"$2\"";
    const Result tar = RunProgram("/bin/bash", folder.Path(),
                                  {"-c", script, ProgramFolder() + "/tessna-cli", folder.Path(), archive});
    ASSERT_EQ(tar.exitCode, 0) << tar.err;
    const std::string root = objects.Path().substr(1);  // tar keeps member names relative
    std::vector<std::string> members;
    std::istringstream listed(tar.out);
    for (std::string member; std::getline(listed, member);)
        members.push_back(member);
    std::sort(members.begin(), members.end());
    // "a\nb.log" is listed by tar -t with its line feed escaped.
    std::vector<std::string> expected = {root + "/docs/", root + "/docs/inner.txt", root + "/logs/a\\nb.log",
                                         root + "/logs/b.log", root + "/写真 1.jpg"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(members, expected);
}
