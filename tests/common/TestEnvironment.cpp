#include "tests/common/TestEnvironment.h"

#include <QLocale>
#include <QTemporaryDir>

#include <cstdlib>
#include <ctime>
#include <memory>

namespace TestEnvironment {
namespace {

std::unique_ptr<QTemporaryDir>& ConfigDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

}  // namespace

void Pin()
{
    ConfigDir() = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", ConfigDir()->path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", ConfigDir()->path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", ConfigDir()->path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", ConfigDir()->path().toLocal8Bit());
    qputenv("TZ", "Asia/Tokyo");
    tzset();
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

QString ConfigHome()
{
    return ConfigDir() ? ConfigDir()->path() : QString();
}

}  // namespace TestEnvironment
