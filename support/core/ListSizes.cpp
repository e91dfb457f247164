#include "support/core/ListSizes.h"

#include "support/core/SizeIndex.h"
#include "support/core/SizeTexts.h"

namespace {

// Counts that arrive together reach the list in one pass, and the progress text changes a
// few times a second at most.
constexpr int CountsDelayMs = 100;
constexpr int ProgressIntervalMs = 250;

}  // namespace

ListSizes::ListSizes(SizeIndex& index, QObject* parent)
    : QObject(parent)
    , index_(&index)
    , total_(index.Total({}))
{
    countsTimer_.setSingleShot(true);
    countsTimer_.setInterval(CountsDelayMs);
    connect(&countsTimer_, &QTimer::timeout, this, &ListSizes::TakeCounts);
    progressTimer_.setInterval(ProgressIntervalMs);
    connect(&progressTimer_, &QTimer::timeout, this, &ListSizes::Progress);
    connect(index_, &SizeIndex::Counted, this, &ListSizes::Arrived);
}

ListSizes::~ListSizes()
{
    if (index_)
        index_->Focus({}, this);
}

void ListSizes::Follow(std::vector<std::string> paths)
{
    paths_ = std::move(paths);
    countedPrefix_ = 0;
    followed_.clear();
    followed_.reserve(paths_.size());
    for (std::size_t at = 0; at < paths_.size(); ++at)
        followed_.try_emplace(paths_[at], at);
    std::erase_if(arrived_, [this](const std::string& path) { return !followed_.contains(path); });
    index_->Focus(paths_, this);
    index_->Request(paths_, this);
    FindHolders();
    Progress();
}

// Counts arrive while the window answers keys: each look goes on from the first object that
// was not counted at the last one instead of passing over every object again. An object
// counted before that lost its count since is found by the full look that follows.
bool ListSizes::AllCounted()
{
    while (countedPrefix_ < paths_.size() && index_->Find(paths_[countedPrefix_]))
        ++countedPrefix_;
    return countedPrefix_ == paths_.size();
}

void ListSizes::Arrived(const std::string& path)
{
    if (!followed_.contains(path))
        return;
    arrived_.insert(path);
    if (!countsTimer_.isActive())
        countsTimer_.start();
}

void ListSizes::TakeCounts()
{
    const std::unordered_set<std::string> arrived = std::move(arrived_);
    arrived_.clear();
    FindHolders();
    emit Counted(arrived);
    Progress();
}

// While the objects are counted the progress is told again at intervals; it stops with the
// count.
void ListSizes::Progress()
{
    const bool counted = AllCounted();
    total_ = counted ? index_->Total(paths_) : std::nullopt;
    rescanning_ = counted && index_->Rescanning(paths_);
    if (paths_.empty() || total_)
        progressTimer_.stop();
    else if (!progressTimer_.isActive())
        progressTimer_.start();
    emit TotalChanged();
}

void ListSizes::FindHolders()
{
    holders_.assign(paths_.size(), std::string());
    if (!AllCounted())
        return;
    const std::optional<std::vector<const ObjectSize*>> sizes = index_->Sizes(paths_);
    if (!sizes)
        return;
    const std::vector<int> holding = HoldingObjects(*sizes);
    for (std::size_t i = 0; i < holding.size(); ++i) {
        if (holding[i] >= 0)
            holders_[i] = paths_[std::size_t(holding[i])];
    }
}

std::optional<SizeTotal> ListSizes::TotalOf(const std::vector<std::string>& paths) const
{
    return index_->Total(paths);
}

QString ListSizes::TotalText() const
{
    if (paths_.empty())
        return {};
    const std::optional<SizeTotal> total = Total();
    return total ? SizeTotalText(*total) : CountingText(index_->FilesInProgress());
}

QString ListSizes::TotalToolTip() const
{
    const std::optional<SizeTotal> total = Total();
    return total && total->Partial() ? UnreadableSizeText(total->unreadable) : QString();
}

const std::string& ListSizes::HolderOf(const std::string& path) const
{
    static const std::string none;
    const auto found = followed_.find(path);
    return found == followed_.end() ? none : holders_[found->second];
}

