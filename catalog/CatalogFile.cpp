#include "catalog/CatalogFile.h"

#include "catalog/ByteOrderMark.h"
#include "catalog/CatalogMessages.h"
#include "catalog/CatalogRoundTrip.h"
#include "catalog/CatalogTextParts.h"
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
    // spare capacity sets how much one call reads (a full buffer grows by 4 KiB at least);
    // false on a read error.
    template<class Bytes>
    bool Read(Bytes& bytes, std::size_t limit = std::string::npos) const
    {
        const std::size_t stop = limit == std::string::npos ? limit : bytes.size() + limit;
        while (bytes.size() < stop) {
            const std::size_t at = bytes.size();
            const std::size_t spare = bytes.capacity() - at;
            const std::size_t room = std::min<std::size_t>(spare > 0 ? spare : 4096, stop - at);
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

// Room for a file's bytes that read() fills straight: unlike a std::string's, it is not
// zero-filled first, which for a catalog of tens of megabytes costs as much as the read.
class ReadBuffer {
public:
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    char* data() { return bytes_.get(); }
    void reserve(std::size_t capacity)
    {
        if (capacity <= capacity_)
            return;
        std::shared_ptr<char[]> bytes = std::make_shared_for_overwrite<char[]>(capacity);
        AdviseLargeBuffer(bytes.get(), capacity);
        std::copy_n(bytes_.get(), size_, bytes.get());
        bytes_ = std::move(bytes);
        capacity_ = capacity;
    }
    // The bytes beyond the old size are left as they are, for a read to fill.
    void resize(std::size_t size)
    {
        if (size > capacity_)
            reserve(std::max(size, 2 * capacity_));
        size_ = size;
    }
    FileBytes Bytes() const { return {bytes_, std::string_view(bytes_.get(), size_)}; }

private:
    std::shared_ptr<char[]> bytes_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
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

std::string CatalogText(const TCatalogEntry& entry)
{
    return CatalogTextParts(entry).Joined();
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

// About how many lines text holds, judged by the lines of its last 64 KiB, and some room for
// objects added later: counting the line ends of a large catalog would cost another pass over
// all its bytes. Pages of the room that are never used are never touched.
std::size_t LinesToExpect(std::string_view text)
{
    const std::string_view sample = text.substr(text.size() - std::min<std::size_t>(text.size(), 65536));
    const auto sampleLines = static_cast<std::size_t>(std::count(sample.begin(), sample.end(), '\n'));
    return text.size() / (sample.size() / (sampleLines + 1) + 1) * 9 / 8 + 64;
}

}  // namespace

namespace {

// ReadObjectLines of a text without NUL bytes.
ObjectList ObjectLinesOf(std::string_view text, std::shared_ptr<const void> owner)
{
    std::vector<std::string_view> lines;
    lines.reserve(LinesToExpect(text));
    AdviseLargeBuffer(lines.data(), lines.capacity() * sizeof(std::string_view));
    bool crLfAfterEach = true;
    TakeObjectLines(text, [&](std::string_view line) {
        lines.push_back(line);
        crLfAfterEach = crLfAfterEach && text.substr(std::size_t(line.end() - text.begin()), 2) == LineEnd;
        return true;
    });
    const bool inPlace = owner && crLfAfterEach;
    return ObjectList::OfLines(std::move(owner), std::move(lines), inPlace);
}

// ParseCatalog of a text without NUL bytes whose profile is read already: each pass over a
// large catalog's bytes costs.
std::optional<TCatalogEntry> ParseProfiled(const IniProfile& profile, const std::string& fileName,
                                           std::string_view text, std::shared_ptr<const void> owner)
{
    if (!profile.SectionHasKeys("Common"))
        return std::nullopt;
    return TCatalogEntry{fileName, profile.ReadString("Common", "Title").value_or(std::string()),
                         ObjectLinesOf(text, std::move(owner))};
}

}  // namespace

ObjectList ReadObjectLines(std::string_view text, std::shared_ptr<const void> owner)
{
    return ObjectLinesOf(BeforeNul(text), std::move(owner));
}

std::optional<TCatalogEntry> ParseCatalog(const std::string& fileName, std::string_view text,
                                          std::shared_ptr<const void> owner)
{
    return ParseProfiled(IniProfile(text), fileName, BeforeNul(text), std::move(owner));
}

bool ParsesAs(std::string_view text, const std::string& title, const ObjectList& objects)
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

TCatalogEntry CatalogOfText(const std::string& fileName, std::string_view text, std::shared_ptr<const void> owner)
{
    if (text.empty())
        throw CannotReadError(fileName, NotCatalogReason::EmptyFile());
    if (!StartsAsText(text.substr(0, TextTestLength)))
        throw CannotReadError(fileName, NotCatalogReason::NotText());
    // The reader stops at a NUL byte and cuts a long title: what it would keep is not the
    // file, and a save would write the shorter copy over it.
    const IniProfile profile(text);
    if (profile.EndsAtNul())
        throw CannotReadError(fileName, NotCatalogReason::NulByte());
    auto entry = ParseProfiled(profile, fileName, text, std::move(owner));
    if (!entry)
        throw CannotReadError(fileName, NotCatalogReason::NoCommonKey());
    if (profile.ValueIsCut("Common", "Title"))
        throw CannotReadError(fileName, NotCatalogReason::TitleTooLong());
    return *std::move(entry);
}

std::optional<TCatalogEntry> ReadCatalog(const std::string& fileName, FileBytes& bytes)
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
    ReadBuffer buffer;
    buffer.reserve(*size + 1);  // + 1: the read that finds the end
    const bool read = file.Read(buffer, TextTestLength);
    bytes = buffer.Bytes();
    if (!read)
        throw CannotReadError(fileName, errno);
    // A file that is no text is not read beyond its first bytes.
    if (!HasByteOrderMark(bytes.text) && !StartsAsText(bytes.text))
        return CatalogOfText(fileName, bytes.text);
    const bool readAll = file.Read(buffer);
    bytes = buffer.Bytes();
    if (!readAll)
        throw CannotReadError(fileName, errno);
    if (!HasByteOrderMark(bytes.text))
        return CatalogOfText(fileName, bytes.text, bytes.owner);
    const UnmarkedText unmarked = WithoutByteOrderMark(bytes.text);
    if (!unmarked.problem.empty())
        throw CannotReadError(fileName, unmarked.problem);
    return CatalogOfText(fileName, unmarked.text);
}

std::optional<TCatalogEntry> ReadCatalog(const std::string& fileName)
{
    FileBytes bytes;
    return ReadCatalog(fileName, bytes);
}

void StageCatalog(SafeSave& save, const TCatalogEntry& entry)
{
    StageCatalog(save, entry, CatalogTextParts(entry));
}

void StageCatalog(SafeSave& save, const TCatalogEntry& entry, const CatalogTextParts& text)
{
    // A catalog that would read back as another one is not written: its load would lose or
    // change what the user put in it.
    if (const std::string problem = ReadBackProblem(entry, text); !problem.empty())
        throw TessnaError(CannotWriteToMessage(entry.FileName, problem));
    save.Stage(entry.FileName, text.Parts(),
               {CannotCreateFileMessage(entry.FileName), StreamWriteErrorMessage()});
}

void WriteCatalog(const TCatalogEntry& entry)
{
    SafeSave save;
    StageCatalog(save, entry);
    save.Commit();
}
