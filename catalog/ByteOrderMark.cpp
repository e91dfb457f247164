#include "catalog/ByteOrderMark.h"

#include "support/core/Cp932.h"
#include "support/core/FileFacts.h"
#include "support/core/TessnaError.h"

#include <QString>

#include <utility>
#include <vector>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";

// UTF-16 of either byte order; an odd last byte becomes U+FFFD, which has no code page 932
// form, so the file is refused rather than cut.
QString FromUtf16(std::string_view bytes, bool bigEndian)
{
    std::vector<char16_t> units;
    units.reserve(bytes.size() / 2 + 1);
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        units.push_back(static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first));
    }
    if (bytes.size() % 2 != 0)
        units.push_back(u'\uFFFD');
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
}

QString Decoded(std::string_view bytes)
{
    if (bytes.starts_with(Utf8Mark)) {
        bytes.remove_prefix(Utf8Mark.size());
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    const bool bigEndian = bytes.starts_with(Utf16BeMark);
    return FromUtf16(bytes.substr(2), bigEndian);
}

}  // namespace

bool HasByteOrderMark(std::string_view bytes)
{
    return bytes.starts_with(Utf8Mark) || bytes.starts_with(Utf16LeMark) || bytes.starts_with(Utf16BeMark);
}

UnmarkedText WithoutByteOrderMark(std::string_view bytes)
{
    const QString text = Decoded(bytes);
    if (auto cp932 = QStringToCp932(text))
        return {*std::move(cp932), {}};
    std::string problem = Cp932Problem(text);
    // A lone UTF-16 surrogate may escape the character-by-character look.
    if (problem.empty())
        problem = Cp932Text("Shift-JIS (CP932) に変換できない文字があります。");
    return {{}, std::move(problem)};
}

std::string FileTextOf(const std::string& fileName, std::string bytes)
{
    if (!HasByteOrderMark(bytes))
        return bytes;
    UnmarkedText unmarked = WithoutByteOrderMark(bytes);
    if (!unmarked.problem.empty())
        throw TessnaError(CannotOpenFileMessage(fileName) + ": " + unmarked.problem);
    return std::move(unmarked.text);
}
