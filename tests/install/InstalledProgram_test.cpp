// The installed executables, run from the temporary DESTDIR that the fixture installed into
// (TESSNA_INSTALLED_ROOT, its usr/): the program folder is the user's data folder there.
#include "app/SingleInstance.h"
#include "support/core/BuildInfo.h"
#include "tests/common/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QString Installed(const char* name)
{
    return qEnvironmentVariable("TESSNA_INSTALLED_ROOT") + "/bin/" + name;
}

// A user's session: its own data, settings and runtime folders.
class InstalledProgramTest : public testing::Test {
protected:
    QProcessEnvironment Session() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", QString::fromStdString(home.Path("data")));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.Path("config")));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.Path()));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        return environment;
    }

    std::string Cli(const QStringList& arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(Session());
        process.start(Installed("tessna-cli"), arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            return "<failed> " + process.readAllStandardError().toStdString();
        return process.readAllStandardOutput().toStdString();
    }

    TempFolder home;
};

TEST_F(InstalledProgramTest, TheToolShowsTheVersionAndKeepsItsListInTheUsersDataFolder)
{
    EXPECT_EQ(Cli({"--version"}), std::string("tessna-cli ") + TessnaVersion + "\n");
    EXPECT_EQ(Cli({"new", "Round", "/etc/hostname"}), "");
    EXPECT_EQ(Cli({"list"}), "Round\n");
    EXPECT_EQ(Cli({"show", "Round"}), "Title=Round\n/etc/hostname\n");
    EXPECT_TRUE(home.Exists("data/Kavo/Tessna/Round.VrCat"));
    EXPECT_FALSE(QFileInfo::exists(Installed("VrCatCtl.ini")));
}

TEST_F(InstalledProgramTest, TheProgramShowsItsMainWindow)
{
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    QProcess program;
    program.setProcessEnvironment(Session());
    program.start(Installed("tessna"), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    // A later instance's question through the running one's socket: the titles of its visible
    // windows, one of which must be the main window's "Tessna ".
    SingleInstance probe(QString::fromStdString(home.Path()));
    QElapsedTimer started;
    started.start();
    while (!home.Exists("TessnaPrevInst.socket") && started.elapsed() < 25000)
        QThread::msleep(100);
    EXPECT_FALSE(probe.Claim());
    EXPECT_TRUE(probe.ActivateRunningInstance({40, std::chrono::milliseconds(250)}));
    EXPECT_TRUE(home.Exists("data/Kavo/Tessna"));
    EXPECT_EQ(program.state(), QProcess::Running);

    program.terminate();
    EXPECT_TRUE(program.waitForFinished(10000));
}

}  // namespace
