#pragma once

#include <string>
#include <string_view>

// The title pattern a second instance looks for among the windows of the running one.
// A pattern is parsed once and then matched against any number of titles:
//   no "*"                        the title begins with the pattern
//   "*" after the first character the title begins with the part before the first "*"
//   "*" first and no other "*"    the title ends with the part after the "*"
//   "*" alone, or "*" first and   any title
//   another "*" later
// Letters A to Z match without regard to case; every other byte must be equal. An empty
// title never matches.
class WindowTitlePattern {
public:
    explicit WindowTitlePattern(std::string_view pattern);

    bool Matches(std::string_view title) const;

private:
    enum class Rule { Prefix, Suffix, Any };

    Rule rule_ = Rule::Any;
    std::string part_;
};
