#include "catalog/LineReader.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

LineReader::LineReader(std::string_view text)
    : text_(text)
{
}

// One pass looks for both line ends, 16 bytes at a time: a catalog's lines are short, and
// a search for each end apart would start twice per line.
std::size_t LineReader::LineEndFrom(std::size_t at) const
{
    const char* const bytes = text_.data();
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; at + 16 <= text_.size(); at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
        const int ends = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
        if (ends != 0)
            return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(ends)));
    }
#endif
    for (; at < text_.size(); ++at) {
        if (bytes[at] == '\r' || bytes[at] == '\n')
            return at;
    }
    return text_.size();
}

bool LineReader::Next(std::string_view& line)
{
    if (at_ >= text_.size())
        return false;
    const std::size_t end = LineEndFrom(at_);
    line = text_.substr(at_, end - at_);
    at_ = end;
    if (at_ < text_.size() && text_[at_] == '\r')
        ++at_;
    if (at_ < text_.size() && text_[at_] == '\n')
        ++at_;
    return true;
}
