#include "catalog/CatalogFile.h"

#include "catalog/CatalogMessages.h"
#include "catalog/IniProfile.h"
#include "catalog/SafeSave.h"
#include "support/core/HostPath.h"
#include "support/core/TessnaError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::string_view LineEnd = "\r\n";

// text equals lowerAscii, a lower-case ASCII word, with ASCII letters in any case.
bool EqualsAsciiWord(std::string_view text, std::string_view lowerAscii)
{
    return text.size() == lowerAscii.size()
        && std::equal(text.begin(), text.end(), lowerAscii.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 0x20) : a) == b;
           });
}

}  // namespace

std::vector<std::string> ComposeCatalogText(const std::vector<std::string>& commonLines,
                                            const std::vector<std::string>& optionsLines,
                                            const std::vector<std::string>& objectLines)
{
    std::vector<std::string> lines;
    lines.reserve(commonLines.size() + optionsLines.size() + objectLines.size() + 5);
    lines.emplace_back("[Common]");
    lines.insert(lines.end(), commonLines.begin(), commonLines.end());
    lines.emplace_back();
    lines.emplace_back("[Options]");
    lines.insert(lines.end(), optionsLines.begin(), optionsLines.end());
    lines.emplace_back();
    lines.emplace_back("[Objects]");
    lines.insert(lines.end(), objectLines.begin(), objectLines.end());
    return lines;
}

std::vector<std::string> CatalogCommonLines(const std::string& title)
{
    return {"Operation=Compress", "Title=" + title};
}

std::string CatalogText(const TCatalogEntry& entry)
{
    const auto lines = ComposeCatalogText(CatalogCommonLines(entry.Title), {}, entry.Objects);
    std::size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + LineEnd.size();
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines)
        text.append(line).append(LineEnd);
    return text;
}

std::string TitleOfCommonLines(const std::vector<std::string>& commonLines)
{
    for (const std::string& line : commonLines) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos
            && EqualsAsciiWord(std::string_view(line).substr(0, equals), "title"))
            return line.substr(equals + 1);
    }
    return {};
}

std::vector<std::string> ReadObjectLines(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> objects;
    bool inObjects = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end;
        if (at < text.size() && text[at] == '\r')
            ++at;
        if (at < text.size() && text[at] == '\n')
            ++at;
        if (inObjects) {
            if (!line.empty())
                objects.emplace_back(line);
        } else {
            inObjects = EqualsAsciiWord(line, "[objects]");
        }
    }
    return objects;
}

std::optional<TCatalogEntry> ParseCatalog(const std::string& fileName, std::string text)
{
    std::vector<std::string> objects = ReadObjectLines(text);
    const TIniProfile profile(std::move(text));
    if (!profile.SectionHasKeys("Common"))
        return std::nullopt;
    return TCatalogEntry{fileName, profile.ReadString("Common", "Title").value_or(std::string()),
                         std::move(objects)};
}

std::optional<std::string> ReadFileBytes(const std::string& fileName)
{
    const auto hostPath = ToHostPath(fileName);
    if (!hostPath)
        return std::nullopt;
    const int fd = ::open(hostPath->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    struct stat facts {};
    if (::fstat(fd, &facts) == 0 && facts.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(facts.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

std::optional<TCatalogEntry> ReadCatalog(const std::string& fileName)
{
    auto bytes = ReadFileBytes(fileName);
    if (!bytes)
        throw TessnaError(CannotOpenFileMessage(fileName));
    return ParseCatalog(fileName, std::move(*bytes));
}

void StageCatalog(TSafeSave& save, const TCatalogEntry& entry)
{
    save.Stage(entry.FileName, CatalogText(entry),
               {CannotCreateFileMessage(entry.FileName), StreamWriteErrorMessage()});
}

void WriteCatalog(const TCatalogEntry& entry)
{
    TSafeSave save;
    StageCatalog(save, entry);
    save.Commit();
}
