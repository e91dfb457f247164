#pragma once

#include <cstddef>
#include <string_view>

// Splits a text into lines that end at CR, at LF or at a CR LF pair; a last line without a
// line end counts too. Line ends are found with memchr, so long texts split fast.
class LineReader {
public:
    explicit LineReader(std::string_view text);

    // The next line without its line end; false when the text is used up.
    bool Next(std::string_view& line);

    // Where the line after the last one returned starts.
    std::size_t Position() const { return at_; }

private:
    std::size_t NextOf(char ch, std::size_t& cached) const;

    std::string_view text_;
    std::size_t at_ = 0;
    // The next CR and LF at or after at_ (the size when there is none), found once and
    // reused until passed.
    std::size_t nextCr_ = 0;
    std::size_t nextLf_ = 0;
};
