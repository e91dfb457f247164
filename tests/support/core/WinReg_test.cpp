#include "support/core/Beep.h"
#include "support/core/Cp932.h"
#include "support/core/HostPath.h"
#include "support/core/RegistryFile.h"
#include "support/core/RegistryLayout.h"
#include "support/core/WinReg.h"
#include "tests/common/LockHolder.h"
#include "tests/common/ScopedEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string So = "\x83\x5C";  // ソ: its trail byte is a backslash

// Every test gets its own settings folder and counts the beeps.
class WinRegTest : public testing::Test {
protected:
    static QString FilePath()
    {
        return QFile::decodeName(QByteArray::fromStdString(RegistryFilePath()));
    }

    static QByteArray FileBytes()
    {
        QFile file(FilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void WriteFile(const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(FilePath()).absolutePath());
        QFile file(FilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static RegistryFile Parsed()
    {
        const QByteArray bytes = FileBytes();
        auto file = RegistryFile::Parse(bytes.toStdString(), "HKEY_CURRENT_USER");
        EXPECT_TRUE(file);
        return file ? *file : RegistryFile("HKEY_CURRENT_USER");
    }

    static std::string MessageOf(const std::function<void()>& read)
    {
        try {
            read();
        } catch (const ERegistryException& error) {
            return error.what();
        }
        return "no error";
    }

    QTemporaryDir config_;
    const ScopedEnv configHome_{"XDG_CONFIG_HOME", config_.path().toLocal8Bit()};
    int beeps_ = 0;
    std::vector<std::string> problems_;
    const ScopedBeepHandler beep_{[this] { ++beeps_; }};
    const ScopedRegistryProblemHandler problem_{
        [this](const std::string& message) { problems_.push_back(message); }};
};

const std::string Grep = std::string(SettingsKey) + "\\" + RegGrepSubKey;

}  // namespace

TEST_F(WinRegTest, FileLivesInTheKavoFolderOfTheConfigHome)
{
    EXPECT_EQ(FilePath(), config_.path() + "/Kavo/HKEY_CURRENT_USER.reg");
}

TEST_F(WinRegTest, ReadOnEmptyRegistryGivesDefaultAndCreatesOnlyTheSettingsKey)
{
    EXPECT_EQ(RegReadInteger(RegGrepSubKey, RegPlaceTreeWidth, RegPlaceTreeWidthDefault), 160);
    const RegistryFile file = Parsed();
    EXPECT_TRUE(file.KeyExists(SettingsKey));
    EXPECT_FALSE(file.KeyExists(Grep));
    EXPECT_EQ(FileBytes(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad]\r\n\r\n");
    EXPECT_FALSE(RegReadBool(RegSettingSubKey, RegBeepSound, false));
    EXPECT_TRUE(RegReadBool(RegSettingSubKey, RegBeepSound, true));
    EXPECT_EQ(beeps_, 0);
}

TEST_F(WinRegTest, WriteCreatesTheSubkeyAndASecondWriteReplaces)
{
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, 200);
    EXPECT_EQ(RegReadInteger(RegGrepSubKey, RegPlaceTreeWidth, 160), 200);
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, -5);
    EXPECT_EQ(RegReadInteger(RegGrepSubKey, RegPlaceTreeWidth, 160), -5);
    EXPECT_EQ(*Parsed().FindValue(Grep, RegPlaceTreeWidth), RegistryValue::Dword(-5));
    EXPECT_EQ(beeps_, 0);
}

TEST_F(WinRegTest, BooleansAreAnyNonZeroDword)
{
    WriteFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Setting]\r\n"
              "\"BeepSound\"=dword:00000002\r\n\"Off\"=dword:00000000\r\n");
    EXPECT_TRUE(RegReadBool(RegSettingSubKey, RegBeepSound, false));
    EXPECT_FALSE(RegReadBool(RegSettingSubKey, "Off", true));
}

TEST_F(WinRegTest, WrongTypeReadsFailWithTheValueName)
{
    WriteFile(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Grep]\r\n"
        "\"Short\"=\"abc\"\r\n\"Long\"=\"abcd\"\r\n\"Bin\"=hex:01,02,03,04\r\n"
        "\"Wide\"=hex(4):01,00,00,00,00\r\n\"Num\"=dword:00000007\r\n\"Exp\"=hex(2):41,00\r\n");
    const std::string wrongType = Cp932Text(" のデータ型が不正です");
    const std::string failed = Cp932Text(" の取得に失敗しました");
    EXPECT_EQ(MessageOf([] { RegReadInteger("Grep", "Short", 0); }), "'Short'" + wrongType);
    EXPECT_EQ(MessageOf([] { RegReadInteger("Grep", "Long", 0); }), "'Long'" + failed);
    EXPECT_EQ(MessageOf([] { RegReadBool("Grep", "Bin", false); }), "'Bin'" + wrongType);
    EXPECT_EQ(MessageOf([] { RegReadInteger("Grep", "Wide", 0); }), "'Wide'" + failed);
    TWinRegistry registry(SettingsKey, true);
    EXPECT_EQ(
        MessageOf([&] { registry.ReadSubKeyString("Grep", "Num", ""); }), "'Num'" + wrongType);
    EXPECT_EQ(registry.ReadSubKeyString("Grep", "Exp", "x"), "A");
    // The accessor is back on its own key after the failed read.
    EXPECT_EQ(registry.CurrentPath(), SettingsKey);
    EXPECT_EQ(registry.ReadSubKeyInteger("Grep", "Num", 0), 7);
}

TEST_F(WinRegTest, StringsEndAtTheirFirstNul)
{
    WriteFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Dialog\\Cabinet]\r\n"
              "\"Caption0\"=\"\"\r\n\"Caption1\"=hex(1):61,00,62,00\r\n\"FolderPath0\"=\"C:\\\\"
        + QByteArray::fromStdString(So) + "\"\r\n\"Empty\"=hex(3):\r\n");
    const auto registry = CreateWinRegistry(SettingsKey, true);
    EXPECT_EQ(
        registry->ReadSubKeyString(RegCabinetSubKey, RegNumberedName(RegCabinetCaption, 0), "d"),
        "");
    EXPECT_EQ(
        registry->ReadSubKeyString(RegCabinetSubKey, RegNumberedName(RegCabinetCaption, 1), "d"),
        "a");
    EXPECT_EQ(registry->ReadSubKeyString(RegCabinetSubKey, "FolderPath0", "d"), "C:\\" + So);
    EXPECT_EQ(registry->ReadSubKeyString(RegCabinetSubKey, "Empty", "d"), "");
    EXPECT_EQ(registry->ReadSubKeyString(RegCabinetSubKey, "Missing", "d"), "d");
    EXPECT_EQ(registry->ReadSubKeyString("Dialog\\Nowhere", "Caption0", "d"), "d");
    EXPECT_EQ(registry->ReadSubKeyInteger(RegCabinetSubKey, RegCabinetCount, 0), 0);
}

TEST_F(WinRegTest, PlainAccessorKeepsTheHistoryOnItsOwnPath)
{
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey(RegHistoryKey, false));
    ASSERT_TRUE(registry.OpenKey(RegHistoryKey, true));
    EXPECT_EQ(registry.CurrentPath(), RegHistoryKey);
    registry.WriteInteger(RegHistoryCount, 2);
    registry.WriteString("0", "/home/" + So);
    registry.WriteString("1", "C:\\Data\\\"quoted\"");
    registry.CloseKey();
    EXPECT_EQ(registry.CurrentPath(), "");

    TRegistry reader;
    EXPECT_TRUE(reader.KeyExists("\\Software\\Kavo"));
    ASSERT_TRUE(reader.OpenKey("Software\\Kavo", false));
    ASSERT_TRUE(reader.OpenKey("DeVad\\history\\ArchiveFile\\Path", false));  // relative
    EXPECT_TRUE(reader.ValueExists("Count"));
    EXPECT_FALSE(reader.ValueExists("2"));
    EXPECT_EQ(reader.ReadInteger(RegHistoryCount), 2);
    EXPECT_EQ(reader.ReadString("0"), "/home/" + So);
    EXPECT_EQ(reader.ReadString("1"), "C:\\Data\\\"quoted\"");
    EXPECT_EQ(reader.ReadString("2"), "");
    EXPECT_EQ(
        MessageOf([&] { reader.ReadInteger("2"); }), "'2'" + Cp932Text(" の取得に失敗しました"));
    EXPECT_EQ(Parsed().FindValue(std::string(SettingsKey) + "\\" + RegHistorySubKey, "0")->data,
        "/home/" + So + '\0');
}

TEST_F(WinRegTest, OtherValuesKeepTheirBytes)
{
    const QByteArray before
        = "REGEDIT4\r\n\r\n; hand-made\r\n[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Grep]\r\n"
          "\"PlaceTreeWidth\"=dword:000000A0\r\n\"Odd\"=hex(2):41,42,\\\r\n   43,00\r\n\r\n"
          "[HKEY_CURRENT_USER\\Software\\Elsewhere]\n\"Keep\"=\"me\"\n";
    WriteFile(before);
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, 300);
    QByteArray expected = before;
    expected.replace("dword:000000A0", "dword:0000012c");
    EXPECT_EQ(FileBytes(), expected);
}

TEST_F(WinRegTest, UnparseableFileIsNeverWrittenAndTheFirstWriteReportsIt)
{
    const QByteArray garbage = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Kavo\\DeVad\\Grep]\r\n"
                               "\"PlaceTreeWidth\"=dword:zz\r\n";
    WriteFile(garbage);
    EXPECT_EQ(RegReadInteger(RegGrepSubKey, RegPlaceTreeWidth, 160), 160);
    EXPECT_TRUE(problems_.empty());
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, 1);
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, 2);
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey(RegHistoryKey, true));
    EXPECT_EQ(FileBytes(), garbage);
    EXPECT_EQ(beeps_, 2);
    ASSERT_EQ(problems_.size(), 1u);
    const std::string path = *FromHostPath(RegistryFilePath());
    EXPECT_NE(problems_[0].find(path), std::string::npos);
}

// A write that fails beeps; when the window has closed, every setting that could not be
// saved is told once, in one message that says why.
TEST_F(WinRegTest, AFileWhereTheSettingsFolderShouldBeIsReportedOnce)
{
    QFile blocker(config_.path() + "/Kavo");  // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, 1);
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, 2);
    EXPECT_EQ(beeps_, 2);
    EXPECT_TRUE(problems_.empty());
    EXPECT_EQ(RegReadInteger(RegGrepSubKey, RegPlaceTreeWidth, 160), 160);

    ReportUnsavedSettings();
    ReportUnsavedSettings();
    ASSERT_EQ(problems_.size(), 1u);
    EXPECT_NE(problems_[0].find(QFile::encodeName(config_.path() + "/Kavo").toStdString()), std::string::npos)
        << problems_[0];
    EXPECT_NE(problems_[0].find(Cp932Text("ファイル")), std::string::npos);
    EXPECT_NE(problems_[0].find(std::string(RegGrepSubKey) + "\\" + RegPlaceTreeWidth), std::string::npos);
}

// Another process keeps the settings file's lock and never lets go: the writes of a closing
// window wait about a second in all (eleven writes once waited ten seconds each), and what
// they could not save is told once, naming each setting.
TEST_F(WinRegTest, WritesMeetingAStuckLockGiveUpSoonAndAreReportedOnce)
{
    RegWriteInteger(RegGrepSubKey, RegPlaceTreeWidth, 1);
    LockHolder holder(RegistryFilePath() + ".lock");
    ASSERT_TRUE(holder.Holding());
    constexpr int Writes = 11;
    for (int i = 0; i < Writes; ++i)
        RegWriteInteger(RegGrepSubKey, "V" + std::to_string(i), i);
    EXPECT_TRUE(holder.Running()) << "the writes waited as long as the holder lived";
    EXPECT_EQ(beeps_, Writes);

    ReportUnsavedSettings();
    ASSERT_EQ(problems_.size(), 1u);
    EXPECT_NE(problems_[0].find(Cp932Text("ロック")), std::string::npos) << problems_[0];
    for (int i = 0; i < Writes; ++i)
        EXPECT_NE(problems_[0].find(std::string(RegGrepSubKey) + "\\V" + std::to_string(i)), std::string::npos);

    holder.Kill();
    RegWriteInteger(RegGrepSubKey, "V0", 5);
    EXPECT_EQ(RegReadInteger(RegGrepSubKey, "V0", -1), 5);
    ReportUnsavedSettings();
    EXPECT_EQ(problems_.size(), 1u);
}

TEST_F(WinRegTest, ConcurrentWritersOfSeveralProcessesLoseNothing)
{
    constexpr int Writers = 4;
    constexpr int ValuesEach = 150;
    std::vector<pid_t> children;
    for (int w = 0; w < Writers; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0; i < ValuesEach; ++i)
                RegWriteInteger(
                    "Race\\W" + std::to_string(w), "V" + std::to_string(i), w * 1000 + i);
            _exit(0);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < Writers; ++w) {
        for (int i = 0; i < ValuesEach; ++i)
            EXPECT_EQ(RegReadInteger("Race\\W" + std::to_string(w), "V" + std::to_string(i), -1),
                w * 1000 + i);
    }
}
