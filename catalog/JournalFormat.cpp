#include "catalog/JournalFormat.h"

#include "support/core/Sha256.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::uint32_t FormatVersion = 2;
constexpr std::size_t DigestSize = 32;

constexpr char Magic[] = "TessnaJournal";  // with its NUL
constexpr std::array<char, 4> VersionBytes{FormatVersion, 0, 0, 0};
const std::string HeaderBytes = std::string(Magic, sizeof Magic) + std::string(VersionBytes.begin(), VersionBytes.end());

class Writer {
public:
    void Number(std::uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            out_.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
    void Text(std::string_view text)
    {
        Number(text.size(), 4);
        out_.append(text);
    }
    std::string& Bytes() { return out_; }

private:
    std::string out_;
};

// Reads what Writer wrote; every read past the end or of a length that does not fit fails
// the whole reader, and the caller checks Good() once at the end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    std::uint64_t Number(int bytes)
    {
        if (rest_.size() < static_cast<std::size_t>(bytes))
            return Fail();
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint64_t{static_cast<unsigned char>(rest_[static_cast<std::size_t>(i)])} << (8 * i);
        rest_.remove_prefix(static_cast<std::size_t>(bytes));
        return value;
    }
    std::string Text()
    {
        const std::uint64_t size = Number(4);
        if (size > rest_.size()) {
            Fail();
            return {};
        }
        std::string bytes(rest_.substr(0, size));
        rest_.remove_prefix(size);
        return bytes;
    }
    bool Flag()
    {
        const std::uint64_t value = Number(1);
        if (value > 1)
            Fail();
        return value == 1;
    }
    // A count of items each at least minimumSize bytes long: one the rest cannot hold fails.
    std::size_t Count(std::size_t minimumSize)
    {
        const std::uint64_t count = Number(4);
        if (count > rest_.size() / minimumSize)
            return Fail();
        return count;
    }
    bool Good() const { return good_ && rest_.empty(); }

private:
    std::uint64_t Fail()
    {
        good_ = false;
        rest_ = {};
        return 0;
    }

    std::string_view rest_;
    bool good_ = true;
};

void WriteEntry(Writer& out, const JournalEntry& entry)
{
    out.Text(entry.catalog.FileName);
    out.Number(entry.changed ? 1 : 0, 1);
    out.Text(entry.unreadableReason);
    out.Text(entry.savedAs);
    if (!entry.changed)
        return;
    out.Text(entry.catalog.Title);
    out.Number(entry.catalog.Objects.size(), 4);
    for (const std::string_view object : entry.catalog.Objects)
        out.Text(object);
}

JournalEntry ReadEntry(Reader& in)
{
    JournalEntry entry;
    entry.catalog.FileName = in.Text();
    entry.changed = in.Flag();
    entry.unreadableReason = in.Text();
    entry.savedAs = in.Text();
    if (!entry.changed)
        return entry;
    entry.catalog.Title = in.Text();
    std::vector<std::string> objects(in.Count(4));
    for (std::string& object : objects)
        object = in.Text();
    entry.catalog.Objects = objects;
    return entry;
}

}  // namespace

std::string_view JournalHeader()
{
    return HeaderBytes;
}

std::string EncodeJournal(const JournalState& state)
{
    Writer out;
    out.Bytes() = HeaderBytes;
    out.Text(state.folder);
    out.Number(static_cast<std::uint64_t>(state.takenAt), 8);
    out.Number(state.revision, 8);
    out.Number(state.listChanged ? 1 : 0, 1);
    out.Number(state.entries.size(), 4);
    for (const JournalEntry& entry : state.entries)
        WriteEntry(out, entry);
    out.Number(state.savedList.size(), 4);
    for (const std::string& fileName : state.savedList)
        out.Text(fileName);
    out.Number(state.listedOnDisk.size(), 4);
    for (const std::string& fileName : state.listedOnDisk)
        out.Text(fileName);
    out.Number(state.fingerprints.size(), 4);
    for (const JournalFingerprint& fingerprint : state.fingerprints) {
        out.Text(fingerprint.path);
        out.Number(fingerprint.sha256 ? 1 : 0, 1);
        if (!fingerprint.sha256)
            continue;
        out.Text(*fingerprint.sha256);
        out.Number(fingerprint.size, 8);
    }
    std::string bytes = std::move(out.Bytes());
    bytes += Sha256(bytes);
    return bytes;
}

std::optional<JournalState> DecodeJournal(std::string_view bytes)
{
    if (bytes.size() < HeaderBytes.size() + DigestSize || !bytes.starts_with(HeaderBytes))
        return std::nullopt;
    const std::string_view covered = bytes.substr(0, bytes.size() - DigestSize);
    if (Sha256(covered) != bytes.substr(covered.size()))
        return std::nullopt;

    Reader in(covered.substr(HeaderBytes.size()));
    JournalState state;
    state.folder = in.Text();
    state.takenAt = static_cast<std::int64_t>(in.Number(8));
    state.revision = in.Number(8);
    state.listChanged = in.Flag();
    state.entries.resize(in.Count(13));
    for (JournalEntry& entry : state.entries)
        entry = ReadEntry(in);
    state.savedList.resize(in.Count(4));
    for (std::string& fileName : state.savedList)
        fileName = in.Text();
    state.listedOnDisk.resize(in.Count(4));
    for (std::string& fileName : state.listedOnDisk)
        fileName = in.Text();
    state.fingerprints.resize(in.Count(5));
    for (JournalFingerprint& fingerprint : state.fingerprints) {
        fingerprint.path = in.Text();
        if (!in.Flag())
            continue;
        fingerprint.sha256 = in.Text();
        fingerprint.size = in.Number(8);
    }
    if (!in.Good())
        return std::nullopt;
    return state;
}
