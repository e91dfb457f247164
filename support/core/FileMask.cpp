#include "support/core/FileMask.h"

#include "support/core/Mbcs.h"

#include <vector>

namespace {

// "*" (0x2A) and "?" (0x3F) lie below the trail-byte range, so a byte search finds only
// real wildcards.
constexpr std::string_view Wildcards = "*?";

std::vector<std::string_view> Characters(std::string_view s)
{
    std::vector<std::string_view> characters;
    characters.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const size_t length
            = IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
        characters.push_back(s.substr(i, length));
        i += length;
    }
    return characters;
}

bool SameCharacter(std::string_view maskChar, std::string_view nameChar)
{
    if (maskChar.size() != nameChar.size())
        return false;
    if (maskChar.size() == 2)
        return maskChar == nameChar;
    return AsciiLowerCase(maskChar[0]) == AsciiLowerCase(nameChar[0]);
}

}  // namespace

bool HasWildcards(std::string_view name)
{
    return name.find_first_of(Wildcards) != std::string_view::npos;
}

bool MatchesFileMask(std::string_view mask, std::string_view name)
{
    if (mask == "*.*")
        mask = "*";
    const auto m = Characters(mask);
    const auto n = Characters(name);
    // Greedy matching with one backtrack point, the last "*" seen.
    size_t mi = 0;
    size_t ni = 0;
    size_t starAt = std::string_view::npos;
    size_t starName = 0;
    while (ni < n.size()) {
        if (mi < m.size() && m[mi] == "*") {
            starAt = mi++;
            starName = ni;
        } else if (mi < m.size() && (m[mi] == "?" || SameCharacter(m[mi], n[ni]))) {
            ++mi;
            ++ni;
        } else if (starAt != std::string_view::npos) {
            mi = starAt + 1;
            ni = ++starName;
        } else {
            return false;
        }
    }
    while (mi < m.size() && m[mi] == "*")
        ++mi;
    return mi == m.size();
}
