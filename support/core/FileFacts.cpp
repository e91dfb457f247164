#include "support/core/FileFacts.h"

#include "support/core/Cp932.h"
#include "support/core/DateTime.h"
#include "support/core/FileMask.h"
#include "support/core/HostPath.h"
#include "support/core/Mbcs.h"
#include "support/core/TessnaError.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr size_t TextSniffLength = 50;

bool InGroups(gid_t gid)
{
    static const std::vector<gid_t> groups = [] {
        std::vector<gid_t> list(static_cast<size_t>(std::max(getgroups(0, nullptr), 0)));
        list.resize(static_cast<size_t>(
            std::max(getgroups(static_cast<int>(list.size()), list.data()), 0)));
        list.push_back(getegid());
        return list;
    }();
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// Whether this process may write the object, from the mode bits the lookup gave anyway.
bool Writable(const struct stat& info)
{
    static const uid_t user = geteuid();
    if (user == 0)
        return true;
    if (info.st_uid == user)
        return info.st_mode & S_IWUSR;
    if (InGroups(info.st_gid))
        return info.st_mode & S_IWGRP;
    return info.st_mode & S_IWOTH;
}

int AttributesOf(const struct stat& info)
{
    const int kind = S_ISDIR(info.st_mode) ? faDirectory : faArchive;
    return Writable(info) ? kind : kind | faReadOnly;
}

// One lstat for everything but a symbolic link, which is followed; a link that points
// nowhere is still an entry of its folder.
bool LookUp(const std::string& hostPath, struct stat& info)
{
    if (lstat(hostPath.c_str(), &info) != 0)
        return false;
    if (S_ISLNK(info.st_mode)) {
        struct stat target {};
        if (stat(hostPath.c_str(), &target) == 0)
            info = target;
    }
    return true;
}

std::optional<FileFacts> FactsOf(const std::string& hostPath, std::string name)
{
    struct stat info { };
    if (!LookUp(hostPath, info))
        return std::nullopt;
    FileFacts facts;
    facts.name = std::move(name);
    facts.attributes = AttributesOf(info);
    facts.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
    facts.date = FileDateTime(info.st_mtime);
    return facts;
}

// The names in folder that match mask, "." and ".." aside, in no particular order.
std::vector<std::string> Matches(const std::string& hostFolder, std::string_view mask)
{
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(
        opendir(hostFolder.empty() ? "." : hostFolder.c_str()), closedir);
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view hostName = entry->d_name;
        if (hostName == "." || hostName == "..")
            continue;
        auto name = FromHostPath(hostName);
        if (name && MatchesFileMask(mask, *name))
            names.push_back(*std::move(name));
    }
    return names;
}

// The lowest name in folder that matches mask.
std::optional<std::string> FirstMatch(const std::string& hostFolder, std::string_view mask)
{
    const std::vector<std::string> names = Matches(hostFolder, mask);
    if (names.empty())
        return std::nullopt;
    return *std::min_element(names.begin(), names.end());
}

}  // namespace

std::optional<FileFacts> FindFirstFileFacts(std::string_view path)
{
    const std::string name = ExtractFileName(path);
    if (!HasWildcards(name)) {
        const auto host = ToHostPath(path);
        if (!host)
            return std::nullopt;
        return FactsOf(*host, name);
    }
    const std::string folder = ExtractFilePath(path);
    const auto hostFolder = ToHostPath(folder);
    if (!hostFolder)
        return std::nullopt;
    const auto match = FirstMatch(*hostFolder, name);
    if (!match)
        return std::nullopt;
    return FactsOf(*hostFolder + *ToHostPath(*match), *match);
}

std::vector<std::string> FindAllMatches(std::string_view path)
{
    const std::string name = ExtractFileName(path);
    if (!HasWildcards(name)) {
        struct stat info { };
        const auto host = ToHostPath(path);
        if (!host || !LookUp(*host, info))
            return {};
        return {std::string(path)};
    }
    const std::string folder = ExtractFilePath(path);
    const auto hostFolder = ToHostPath(folder);
    if (!hostFolder)
        return {};
    std::vector<std::string> paths = Matches(*hostFolder, name);
    std::sort(paths.begin(), paths.end());
    for (std::string& match : paths)
        match.insert(0, folder);
    return paths;
}

int GetFileAttributesOf(std::string_view path)
{
    const auto host = ToHostPath(path);
    struct stat info { };
    if (!host || !LookUp(*host, info))
        return -1;
    return AttributesOf(info);
}

bool DirExists(std::string_view path)
{
    const int attributes = GetFileAttributesOf(path);
    return attributes != -1 && (attributes & faDirectory);
}

bool IsExistingFile(std::string_view path)
{
    const int attributes = GetFileAttributesOf(path);
    return attributes != -1 && (attributes & faDirectory) == 0;
}

bool FileExistsQuiet(std::string_view path)
{
    const auto facts = FindFirstFileFacts(path);
    return facts && !(facts->attributes & faDirectory);
}

std::int64_t GetFileSizeOf(std::string_view path)
{
    const auto facts = FindFirstFileFacts(path);
    return facts ? facts->size : 0;
}

double GetFileDateOf(std::string_view path)
{
    const auto facts = FindFirstFileFacts(path);
    return facts ? facts->date : 0;
}

namespace {

bool IsSniffedTrail(unsigned char byte)
{
    return byte >= 0x40 && byte <= 0xFC;
}

bool IsSniffedSingle(unsigned char byte)
{
    return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xDF) || byte == '\r'
        || byte == '\n' || byte == '\t';
}

}  // namespace

bool StartsAsText(std::string_view bytes)
{
    const std::string_view head = bytes.substr(0, TextTestLength);
    if (head.empty())
        return false;
    bool trailExpected = false;
    for (const char ch : head) {
        const auto byte = static_cast<unsigned char>(ch);
        if (trailExpected) {
            if (!IsSniffedTrail(byte))
                return false;
            trailExpected = false;
        } else if (IsLeadByte(byte)) {
            trailExpected = true;
        } else if (!IsSniffedSingle(byte)) {
            return false;
        }
    }
    return true;
}

std::string CannotOpenFileMessage(std::string_view fileName)
{
    return Cp932Text("ファイル ") + std::string(fileName) + Cp932Text(" は開けません");
}

bool IsTextFile(std::string_view fileName)
{
    if (!IsExistingFile(fileName))
        return false;
    const int fd = open(ToHostPath(fileName)->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw TessnaError(CannotOpenFileMessage(fileName));
    std::array<char, TextSniffLength> head {};
    const ssize_t got = read(fd, head.data(), head.size());
    close(fd);
    if (got < 0)
        throw TessnaError(CannotOpenFileMessage(fileName));
    return StartsAsText(std::string_view(head.data(), static_cast<size_t>(got)));
}
