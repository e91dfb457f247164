#include "support/core/HostPath.h"

#include "support/core/Cp932.h"

// "/" (0x2F) and "." (0x2E) lie below the trail-byte range of code page 932 (0x40 to 0xFC),
// so a plain byte search for them never lands inside a double-byte character.

namespace {

size_t NameStart(std::string_view path)
{
    const size_t delim = path.rfind(PathDelim);
    return delim == std::string_view::npos ? 0 : delim + 1;
}

size_t ExtensionStart(std::string_view path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < NameStart(path))
        return path.size();
    return dot;
}

}  // namespace

std::optional<std::string> ToHostPath(std::string_view cp932Path)
{
    return Cp932ToUtf8(cp932Path);
}

// The conversion refuses a name that would not come back as itself, since the path made
// from it would name another file.
std::optional<std::string> FromHostPath(std::string_view hostPath)
{
    return Utf8ToCp932(hostPath);
}

std::optional<QString> ToQtPath(std::string_view cp932Path)
{
    return Cp932ToQString(cp932Path);
}

std::optional<std::string> FromQtPath(const QString& qtPath)
{
    return QStringToCp932(qtPath);
}

std::string ExtractFileName(std::string_view path)
{
    return std::string(path.substr(NameStart(path)));
}

std::string ExtractFilePath(std::string_view path)
{
    return std::string(path.substr(0, NameStart(path)));
}

std::string ExtractFileExt(std::string_view path)
{
    return std::string(path.substr(ExtensionStart(path)));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext)
{
    return std::string(path.substr(0, ExtensionStart(path))) + std::string(ext);
}
