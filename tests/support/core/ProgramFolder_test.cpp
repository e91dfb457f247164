// Where the program keeps its files; the choice between a portable and an installed copy is
// tested end to end with a copy of tessna-cli (tests/cli).
#include "support/core/Cp932.h"
#include "support/core/ProgramFolder.h"
#include "support/core/TessnaError.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

TEST(ProgramFolder, AnInstalledCopyMakesItsFolderInTheUsersDataFolder)
{
    TempFolder folder;
    folder.Write("usr/bin/tessna", "");
    const ScopedEnv home("XDG_DATA_HOME", QByteArray::fromStdString(folder.Path("home/data")));
    EXPECT_EQ(ProgramFolderFor(folder.Path("usr/bin")), folder.Path("home/data/Kavo/Tessna/"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("home/data/Kavo/Tessna")));
}

TEST(ProgramFolder, AFolderWithoutACodePage932NameIsRefusedByName)
{
    TempFolder folder;
    const ScopedEnv home("XDG_DATA_HOME", QByteArray::fromStdString(folder.Path("\xF0\x9F\x98\x80")));  // an emoji
    try {
        ProgramFolderFor(folder.Path("bin"));
        FAIL() << "no error";
    } catch (const TessnaError& error) {
        EXPECT_EQ(error.what(), Cp932Text("プログラムのフォルダ ") + folder.Path("?/Kavo/Tessna")
                                    + Cp932Text(" の名前は CP932 で表せません"));
    }
    EXPECT_FALSE(folder.Exists("\xF0\x9F\x98\x80"));
}

TEST(ProgramFolder, TheHelpFileComesFromTheProgramFolderThenBesideTheExecutableThenTheDataFolder)
{
    TempFolder folder;
    const auto help = [&](const std::string& programFolder) {
        return FindHelpFile(QString::fromStdString(folder.Path(programFolder)), folder.Path("usr/bin")).toStdString();
    };
    EXPECT_EQ(help("home"), folder.Path("usr/bin/TESSNA.HLP"));  // none: where it looked first
    folder.Write("usr/share/tessna/TESSNA.HLP", "installed");
    EXPECT_EQ(help("home"), folder.Path("usr/share/tessna/TESSNA.HLP"));
    folder.Write("usr/bin/TESSNA.HLP", "beside");
    EXPECT_EQ(help("home"), folder.Path("usr/bin/TESSNA.HLP"));
    folder.Write("home/TESSNA.HLP", "own");
    EXPECT_EQ(help("home/"), folder.Path("home/TESSNA.HLP"));
}
