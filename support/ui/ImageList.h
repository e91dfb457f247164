#pragma once

#include <QIcon>
#include <QSize>

#include <vector>

// A list of icons addressed by index, drawn at the list's size.
class TImageList {
public:
    explicit TImageList(QSize size) : size_(size) {}

    int Add(const QIcon& icon)
    {
        icons_.push_back(icon);
        return static_cast<int>(icons_.size()) - 1;
    }
    int Count() const { return static_cast<int>(icons_.size()); }
    // An empty icon for an index outside the list.
    QIcon Icon(int index) const
    {
        return index >= 0 && index < Count() ? icons_[static_cast<std::size_t>(index)] : QIcon();
    }
    QSize Size() const { return size_; }
    int Width() const { return size_.width(); }
    int Height() const { return size_.height(); }

private:
    QSize size_;
    std::vector<QIcon> icons_;
};
