#include "catalog/LineReader.h"

#include <algorithm>

LineReader::LineReader(std::string_view text)
    : text_(text)
    , nextCr_(std::min(text.find('\r'), text.size()))
    , nextLf_(std::min(text.find('\n'), text.size()))
{
}

std::size_t LineReader::NextOf(char ch, std::size_t& cached) const
{
    if (cached < at_)
        cached = std::min(text_.find(ch, at_), text_.size());
    return cached;
}

bool LineReader::Next(std::string_view& line)
{
    if (at_ >= text_.size())
        return false;
    const std::size_t end = std::min(NextOf('\r', nextCr_), NextOf('\n', nextLf_));
    line = text_.substr(at_, end - at_);
    at_ = end;
    if (at_ < text_.size() && text_[at_] == '\r')
        ++at_;
    if (at_ < text_.size() && text_[at_] == '\n')
        ++at_;
    return true;
}
