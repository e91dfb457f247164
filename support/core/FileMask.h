#pragma once

#include <string_view>

// True when a name has "*" or "?" in it.
bool HasWildcards(std::string_view name);

// Matches a file name against a mask like a file search does: "*" any run of characters,
// "?" one character (a double-byte character is one), ASCII letters without case, "*.*"
// every name. Both are code page 932.
bool MatchesFileMask(std::string_view mask, std::string_view name);
