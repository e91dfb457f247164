#include "app/WindowTitlePattern.h"

#include <algorithm>

namespace {

char FoldAsciiLetter(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualFoldingAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return FoldAsciiLetter(x) == FoldAsciiLetter(y); });
}

}  // namespace

WindowTitlePattern::WindowTitlePattern(std::string_view pattern)
{
    const auto star = pattern.find('*');
    if (star == std::string_view::npos) {
        rule_ = Rule::Prefix;
        part_ = pattern;
        return;
    }
    if (star > 0) {
        rule_ = Rule::Prefix;
        part_ = pattern.substr(0, star);
        return;
    }
    const std::string_view rest = pattern.substr(1);
    if (rest.empty() || rest.find('*') != std::string_view::npos) {
        rule_ = Rule::Any;
        return;
    }
    rule_ = Rule::Suffix;
    part_ = rest;
}

bool WindowTitlePattern::Matches(std::string_view title) const
{
    if (title.empty())
        return false;
    switch (rule_) {
    case Rule::Prefix:
        return title.size() >= part_.size() && EqualFoldingAscii(title.substr(0, part_.size()), part_);
    case Rule::Suffix:
        return title.size() >= part_.size()
            && EqualFoldingAscii(title.substr(title.size() - part_.size()), part_);
    case Rule::Any:
        return true;
    }
    return false;
}
