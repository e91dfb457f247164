#pragma once

#include <string>
#include <string_view>

// Editors on other systems start a text file with a byte-order mark and write it in UTF-8 or
// UTF-16. The program reads such a file as that encoding converted to code page 932, and a
// save writes it back in code page 932 without the mark.

// Whether bytes start with the byte-order mark of UTF-8, UTF-16 little-endian or UTF-16
// big-endian.
bool HasByteOrderMark(std::string_view bytes);

// The code page 932 text of bytes that start with a byte-order mark, the mark left out; or,
// when a character has no faithful code page 932 form, why (problem, code page 932).
struct UnmarkedText {
    std::string text;
    std::string problem;
};
UnmarkedText WithoutByteOrderMark(std::string_view bytes);

// The code page 932 text of a file's bytes: the bytes as they stand, or converted when they
// start with a byte-order mark. Throws TessnaError ("ファイル %s は開けません" and why) when a
// character has no faithful code page 932 form.
std::string FileTextOf(const std::string& fileName, std::string bytes);
