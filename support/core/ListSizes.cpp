#include "support/core/ListSizes.h"

#include "support/core/RowOrder.h"
#include "support/core/SizeIndex.h"
#include "support/core/SizeTexts.h"

#include <algorithm>

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
    counted_.clear();
    followed_.clear();
    unfollowed_ = 0;
    placesKnown_ = true;
    followed_.reserve(paths_.size());
    for (std::size_t at = 0; at < paths_.size(); ++at)
        ++followed_.try_emplace(paths_[at], Place{at, 0}).first->second.count;
    std::erase_if(arrived_, [this](const std::string& path) { return !followed_.contains(path); });
    index_->Focus(paths_, this);
    index_->Request(paths_, this);
    Edited();
}

void ListSizes::Insert(const std::vector<std::size_t>& positions, const std::vector<std::string>& paths)
{
    if (positions.empty())
        return;
    InsertAt(paths_, positions, paths);
    for (const std::string& path : paths) {
        const auto [found, added] = followed_.try_emplace(path);
        if (found->second.count++ == 0 && !added)
            --unfollowed_;
    }
    placesKnown_ = false;
    counted_.resize(std::min(counted_.size(), positions.front()));
    // Requesting a path followed already changes nothing.
    index_->Request(paths, this);
    Edited();
}

void ListSizes::Erase(const std::vector<std::size_t>& positions)
{
    if (positions.empty())
        return;
    // The paths no longer in the list at all.
    std::vector<std::string> left;
    for (const std::size_t at : positions) {
        if (--followed_.find(paths_[at])->second.count > 0)
            continue;
        ++unfollowed_;
        if (!arrived_.empty())
            arrived_.erase(paths_[at]);
        left.push_back(std::move(paths_[at]));
    }
    EraseAt(paths_, positions);
    placesKnown_ = false;
    if (unfollowed_ > paths_.size()) {
        std::erase_if(followed_, [](const auto& path) { return path.second.count == 0; });
        unfollowed_ = 0;
    }
    // The objects counted before stay counted; each moves up by the objects erased before it.
    EraseAt(counted_, positions);
    index_->Unfocus(left, this);
    Edited();
}

void ListSizes::FindFirstPlaces() const
{
    if (placesKnown_)
        return;
    for (std::size_t at = paths_.size(); at-- > 0;)
        followed_.find(paths_[at])->second.first = at;
    placesKnown_ = true;
}

void ListSizes::Edited()
{
    Look();
    Progress();
}

// Counts arrive while the window answers keys: each look goes on from the first object that
// was not counted at the last one instead of passing over every object again. The index
// keeps each count where it is, so the counts found stay the newest.
bool ListSizes::AllCounted()
{
    while (counted_.size() < paths_.size()) {
        const ObjectSize* size = index_->Find(paths_[counted_.size()]);
        if (!size)
            return false;
        counted_.push_back(size);
    }
    return true;
}

// The last counts of a count are taken at once, so that the total shows as soon as it is
// known.
void ListSizes::Arrived(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (const auto found = followed_.find(path); found != followed_.end() && found->second.count > 0)
            arrived_.insert(path);
    }
    if (arrived_.empty())
        return;
    if (!index_->Counting()) {
        countsTimer_.stop();
        TakeCounts();
    } else if (!countsTimer_.isActive()) {
        countsTimer_.start();
    }
}

void ListSizes::TakeCounts()
{
    const std::unordered_set<std::string> arrived = std::move(arrived_);
    arrived_.clear();
    Look();
    emit Counted(arrived);
    Progress();
}

// While the objects are counted the progress is told again at intervals; it stops with the
// count.
void ListSizes::Progress()
{
    if (paths_.empty() || total_)
        progressTimer_.stop();
    else if (!progressTimer_.isActive())
        progressTimer_.start();
    emit TotalChanged();
}

// The holders, the total and whether any object is rescanned, from one look at the counts
// of every object: a list of many objects passes over them once when the last one arrives.
void ListSizes::Look()
{
    holders_.assign(paths_.size(), std::string());
    total_.reset();
    rescanning_ = false;
    if (!AllCounted())
        return;
    const std::vector<int> holding = HoldingObjects(counted_);
    for (std::size_t i = 0; i < holding.size(); ++i) {
        if (holding[i] >= 0)
            holders_[i] = paths_[std::size_t(holding[i])];
    }
    total_ = ::TotalOf(counted_, holding);
    rescanning_ = index_->Rescanning(paths_);
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
    FindFirstPlaces();
    const auto found = followed_.find(path);
    return found == followed_.end() || found->second.count == 0 ? none : holders_[found->second.first];
}

