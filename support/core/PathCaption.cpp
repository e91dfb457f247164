#include "support/core/PathCaption.h"

#include <utility>

void SplitByText(std::string_view s, std::string_view sep, std::vector<std::string>& list)
{
    if (sep.empty()) {
        list.emplace_back(s);
        return;
    }
    for (std::size_t at = s.find(sep); at != std::string_view::npos; at = s.find(sep)) {
        list.emplace_back(s.substr(0, at));
        s.remove_prefix(at + sep.size());
    }
    list.emplace_back(s);
}

PathCaption::PathCaption(std::string fileName, std::string separator)
    : fileName_(std::move(fileName))
    , separator_(std::move(separator))
{
    SplitByText(fileName_, separator_, parts_);
    const std::string& first = parts_.front();
    hasDrive_ = first.size() >= 2 && first.back() == ':';
}

std::string PathCaption::Layout(int width, TDirection direction, const TextWidth& measure) const
{
    if (fileName_.empty() || measure(fileName_) <= width)
        return fileName_;

    const std::string ellipsis = "..." + separator_;
    const std::string& last = parts_.back();
    int used = measure(last) + measure(ellipsis);
    if (used >= width)
        return last;

    const std::string head = hasDrive_ ? parts_.front() + separator_ : std::string();
    if (measure(head) + used >= width)
        return ellipsis + last;
    used += measure(head);

    // The folders between the head and the file name.
    const auto first = parts_.begin() + (hasDrive_ ? 1 : 0);
    const auto end = parts_.end() - 1;
    std::string middle;
    if (direction == TDirection::drFromLeft) {
        for (auto part = end; part > first;) {
            --part;
            std::string wider = *part + separator_ + middle;
            if (used + measure(wider) > width)
                break;
            middle = std::move(wider);
        }
        return head + ellipsis + middle + last;
    }
    for (auto part = first; part < end; ++part) {
        std::string wider = middle + *part + separator_;
        if (used + measure(wider) > width)
            break;
        middle = std::move(wider);
    }
    return head + middle + ellipsis + last;
}
