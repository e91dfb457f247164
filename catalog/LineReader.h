#pragma once

#include <cstddef>
#include <string_view>

// Splits a text into lines that end at CR, at LF or at a CR LF pair; a last line without a
// line end counts too.
class LineReader {
public:
    explicit LineReader(std::string_view text);

    // The next line without its line end; false when the text is used up.
    bool Next(std::string_view& line);

    // Where the line after the last one returned starts.
    std::size_t Position() const { return at_; }

private:
    // The first CR or LF at or after at, or the size.
    std::size_t LineEndFrom(std::size_t at) const;

    std::string_view text_;
    std::size_t at_ = 0;
};
