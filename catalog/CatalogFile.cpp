#include "catalog/CatalogFile.h"

#include "catalog/ByteOrderMark.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/IniProfile.h"
#include "catalog/LineReader.h"
#include "catalog/SafeSave.h"
#include "support/core/FileFacts.h"
#include "support/core/HostPath.h"
#include "support/core/LargeBuffer.h"
#include "support/core/Mbcs.h"
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
        && std::equal(text.begin(), text.end(), lowerAscii.begin(),
                      [](char a, char b) { return AsciiLowerCase(a) == b; });
}

// An open file, closed with its owner. Opened without waiting, so that a pipe in a file's
// place cannot stop the program; only plain files are read.
class ReadFile {
public:
    explicit ReadFile(const std::string& hostPath)
        : fd_(::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {
    }
    ~ReadFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    bool IsFolder() const
    {
        struct stat facts {};
        return ::fstat(fd_, &facts) == 0 && S_ISDIR(facts.st_mode);
    }

    // The size of a plain file, or nothing for anything else.
    std::optional<std::size_t> PlainFileSize() const
    {
        struct stat facts {};
        if (::fstat(fd_, &facts) != 0 || !S_ISREG(facts.st_mode))
            return std::nullopt;
        return static_cast<std::size_t>(facts.st_size);
    }

    // Appends up to limit bytes (all that is left by default) straight into bytes, whose
    // spare capacity sets how much one call reads; false on a read error.
    bool Read(std::string& bytes, std::size_t limit = std::string::npos) const
    {
        const std::size_t stop = limit == std::string::npos ? limit : bytes.size() + limit;
        while (bytes.size() < stop) {
            const std::size_t at = bytes.size();
            const std::size_t room
                = std::min(std::max<std::size_t>(bytes.capacity() - at, 4096), stop - at);
            bytes.resize(at + room);
            const ssize_t got = ::read(fd_, bytes.data() + at, room);
            const int error = errno;
            bytes.resize(at + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
            if (got == 0)
                break;
            if (got < 0 && error != EINTR)
                return false;
        }
        return true;
    }

private:
    int fd_;
};

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

// The layout of ComposeCatalogText, written straight into the text: a catalog may hold a
// million objects, which are not copied on the way.
std::string CatalogText(const TCatalogEntry& entry)
{
    const auto head = ComposeCatalogText(CatalogCommonLines(entry.Title), {}, {});
    std::size_t size = 0;
    for (const std::string& line : head)
        size += line.size() + LineEnd.size();
    for (const std::string& object : entry.Objects)
        size += object.size() + LineEnd.size();
    std::string text;
    text.reserve(size);
    AdviseLargeBuffer(text.data(), text.capacity());
    for (const std::string& line : head)
        text.append(line).append(LineEnd);
    for (const std::string& object : entry.Objects)
        text.append(object).append(LineEnd);
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

namespace {

// Calls take with each object line of text, in order, while it answers true; whether every
// line was taken.
template<class Take>
bool TakeObjectLines(std::string_view text, Take take)
{
    LineReader reader(text);
    std::string_view line;
    while (reader.Next(line)) {
        if (EqualsAsciiWord(line, "[objects]"))
            break;
    }
    while (reader.Next(line)) {
        if (!line.empty() && !take(line))
            return false;
    }
    return true;
}

std::string_view BeforeNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

}  // namespace

std::vector<std::string> ReadObjectLines(std::string_view text)
{
    text = BeforeNul(text);
    std::vector<std::string> objects;
    objects.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    AdviseLargeBuffer(objects.data(), objects.capacity() * sizeof(std::string));
    TakeObjectLines(text, [&objects](std::string_view line) {
        objects.emplace_back(line);
        return true;
    });
    return objects;
}

std::optional<TCatalogEntry> ParseCatalog(const std::string& fileName, std::string_view text)
{
    const IniProfile profile(text);
    if (!profile.SectionHasKeys("Common"))
        return std::nullopt;
    return TCatalogEntry{fileName, profile.ReadString("Common", "Title").value_or(std::string()),
                         ReadObjectLines(text)};
}

bool ParsesAs(std::string_view text, const std::string& title, const std::vector<std::string>& objects)
{
    const IniProfile profile(text);
    if (!profile.SectionHasKeys("Common") || profile.ReadString("Common", "Title").value_or(std::string()) != title)
        return false;
    std::size_t next = 0;
    const bool same = TakeObjectLines(BeforeNul(text), [&](std::string_view line) {
        return next < objects.size() && objects[next++] == line;
    });
    return same && next == objects.size();
}


std::optional<std::string> ReadFileBytes(const std::string& fileName)
{
    const auto hostPath = ToHostPath(fileName);
    if (!hostPath)
        return std::nullopt;
    const ReadFile file(*hostPath);
    const auto size = file.IsOpen() ? file.PlainFileSize() : std::nullopt;
    if (!size)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(*size + 1);  // + 1: the read that finds the end
    AdviseLargeBuffer(bytes.data(), bytes.capacity());
    if (!file.Read(bytes))
        return std::nullopt;
    return bytes;
}

TCatalogEntry CatalogOfText(const std::string& fileName, std::string_view text)
{
    if (text.empty())
        throw CannotReadError(fileName, NotCatalogReason::EmptyFile());
    if (!StartsAsText(text.substr(0, TextTestLength)))
        throw CannotReadError(fileName, NotCatalogReason::NotText());
    // The reader stops at a NUL byte and cuts a long title: what it would keep is not the
    // file, and a save would write the shorter copy over it.
    if (text.find('\0') != std::string_view::npos)
        throw CannotReadError(fileName, NotCatalogReason::NulByte());
    auto entry = ParseCatalog(fileName, text);
    if (!entry)
        throw CannotReadError(fileName, NotCatalogReason::NoCommonKey());
    if (IniProfile(text).ValueIsCut("Common", "Title"))
        throw CannotReadError(fileName, NotCatalogReason::TitleTooLong());
    return *std::move(entry);
}

std::optional<TCatalogEntry> ReadCatalog(const std::string& fileName, std::string& buffer)
{
    const auto hostPath = ToHostPath(fileName);
    if (!hostPath)
        return std::nullopt;
    // Only a name with nothing at all behind it is no catalog; a link whose target is missing
    // (an unmounted drive) is one that cannot be read now. The entry is looked up first, so
    // that a missing name costs one lookup.
    struct stat entry {};
    if (::lstat(hostPath->c_str(), &entry) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throw CannotReadError(fileName, errno);
    }
    const ReadFile file(*hostPath);
    if (!file.IsOpen()) {
        if (errno == ENOENT)
            throw CannotReadError(fileName, NotCatalogReason::DanglingLink());
        throw CannotReadError(fileName, errno);
    }
    const auto size = file.PlainFileSize();
    if (!size)
        throw CannotReadError(fileName, file.IsFolder() ? NotCatalogReason::Folder() : NotCatalogReason::NotAFile());
    buffer.clear();
    buffer.reserve(*size + 1);  // + 1: the read that finds the end
    AdviseLargeBuffer(buffer.data(), buffer.capacity());
    if (!file.Read(buffer, TextTestLength))
        throw CannotReadError(fileName, errno);
    // A file that is no text is not read beyond its first bytes.
    if (!HasByteOrderMark(buffer) && !StartsAsText(buffer))
        return CatalogOfText(fileName, buffer);
    if (!file.Read(buffer))
        throw CannotReadError(fileName, errno);
    if (!HasByteOrderMark(buffer))
        return CatalogOfText(fileName, buffer);
    const UnmarkedText unmarked = WithoutByteOrderMark(buffer);
    if (!unmarked.problem.empty())
        throw CannotReadError(fileName, unmarked.problem);
    return CatalogOfText(fileName, unmarked.text);
}

std::optional<TCatalogEntry> ReadCatalog(const std::string& fileName)
{
    std::string buffer;
    return ReadCatalog(fileName, buffer);
}

void StageCatalog(SafeSave& save, const TCatalogEntry& entry)
{
    StageCatalog(save, entry, CatalogText(entry));
}

void StageCatalog(SafeSave& save, const TCatalogEntry& entry, const std::string& text)
{
    // A catalog that would read back as another one is not written: its load would lose or
    // change what the user put in it.
    if (const std::string problem = ReadBackProblem(entry, text); !problem.empty())
        throw TessnaError(CannotWriteToMessage(entry.FileName, problem));
    save.Stage(entry.FileName, text,
               {CannotCreateFileMessage(entry.FileName), StreamWriteErrorMessage()});
}

void WriteCatalog(const TCatalogEntry& entry)
{
    SafeSave save;
    StageCatalog(save, entry);
    save.Commit();
}
