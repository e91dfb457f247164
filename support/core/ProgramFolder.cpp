#include "support/core/ProgramFolder.h"

#include "support/core/BuildInfo.h"
#include "support/core/Cp932.h"
#include "support/core/FileNames.h"
#include "support/core/HostPath.h"
#include "support/core/TessnaError.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr char HelpFileName[] = "TESSNA.HLP";

std::filesystem::path UserProgramFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        throw TessnaError(Cp932Text("プログラムのフォルダが分かりません"));
    return std::filesystem::path(data.toStdString()) / "Kavo" / "Tessna";
}

}  // namespace

bool IsPortableFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::exists(folder / ControlFileName, error)
        || std::filesystem::exists(folder / PortableMarkerName, error);
}

std::filesystem::path ExecutableFolder()
{
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        throw TessnaError(Cp932Text("プログラムのフォルダが分かりません"));
    return executable.parent_path();
}

std::string ProgramFolderFor(const std::filesystem::path& executableFolder)
{
    const auto folder = IsPortableFolder(executableFolder) ? executableFolder : UserProgramFolder();
    const auto programFolder = FromHostPath(folder.string());
    if (!programFolder)
        throw TessnaError(Cp932Text("プログラムのフォルダ ")
                          + Cp932ForMessage(QString::fromStdString(folder.string()))
                          + Cp932Text(" の名前は CP932 で表せません"));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error))
        throw TessnaError(Cp932Text("プログラムのフォルダ ") + *programFolder + Cp932Text(" を作成できません"));
    return AddPathDelimiter(*programFolder, PathDelim);
}

std::string GetProgramFolder()
{
    return ProgramFolderFor(ExecutableFolder());
}

QString FindHelpFile(const QString& programFolder, const std::filesystem::path& executableFolder)
{
    const QDir executableDir(QString::fromStdString(executableFolder.string()));
    const QString beside = executableDir.filePath(HelpFileName);
    QStringList candidates{beside, executableDir.filePath(QString(DataFolderFromBinFolder) + '/' + HelpFileName)};
    if (!programFolder.isEmpty())
        candidates.prepend(QDir(programFolder).filePath(HelpFileName));
    for (const QString& candidate : candidates) {
        // Lexically, so that "bin/../share" needs no bin folder.
        const QString path = QDir::cleanPath(candidate);
        if (QFileInfo(path).isFile())
            return path;
    }
    return beside;
}
