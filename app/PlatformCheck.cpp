#include "app/PlatformCheck.h"

#include "support/core/BuildInfo.h"

#include <QMessageBox>

#include <iconv.h>

#include <cstdlib>

bool IsSupportedPlatform(const PlatformFacts& facts)
{
    if (!facts.HasCp932Converter)
        return false;
    switch (facts.PlatformId) {
    case kPlatformWin32Windows:
    case kPlatformPosix:
        return true;
    case kPlatformWin32NT:
        return facts.MajorVersion >= 4;
    default:
        return false;
    }
}

namespace {

bool HasCp932Converter()
{
    const iconv_t handle = iconv_open("UTF-8", "CP932");
    if (handle == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(handle);
    return true;
}

}  // namespace

PlatformFacts CurrentPlatformFacts()
{
    return {kPlatformPosix, 0, HasCp932Converter()};
}

void CheckPlatform()
{
    if (IsSupportedPlatform(CurrentPlatformFacts()))
        return;
    // Written without the code page converter: it may be the very thing that is missing.
    QMessageBox::critical(nullptr, QString::fromLatin1(ApplicationTitle),
                          QStringLiteral("このプログラムは、Windows95/98/NT4.0/2000で動作します。"));
    std::exit(1);
}
