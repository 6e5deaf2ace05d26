#include "plot/Navigator.h"

#include <algorithm>
#include <cstdlib>

namespace zk::plot {

Navigator::Navigator(const std::vector<SampleRecord>& records, int32_t count, const TimeRange& range, int left,
                     int columns)
    : range_(range), left_(left), columns_(std::max(1, columns)) {
  count = std::clamp<int32_t>(count, 0, static_cast<int32_t>(records.size()) - 1);
  times_.resize(static_cast<std::size_t>(count) + 1, 0);
  int64_t latest = count >= 1 ? records[1].TimeMs : 0;
  for (int32_t k = 1; k <= count; ++k) {
    latest = std::max<int64_t>(latest, records[k].TimeMs);
    times_[k] = latest;
    if (records[k].Marker == 'T') tags_.push_back(k);
  }
}

int Navigator::XOf(int32_t k) const {
  if (RecordCount() < 1) return left_;
  return left_ + ColumnOf(times_[std::clamp(k, 1, RecordCount())], range_, columns_);
}

int64_t Navigator::TimeAt(int x) const {
  const int64_t c = std::clamp(x - left_, 0, columns_ - 1);
  // The first time that ColumnOf puts into column c.
  return range_.fromMs + (c * range_.Span() + columns_ - 1) / columns_;
}

int64_t Navigator::RoundTimeAt(int x) const {
  // The steps of the time axis's grid, the roundest first.
  static constexpr int64_t steps[] = {86400, 43200, 21600, 10800, 7200, 3600, 1800, 900, 600,
                                      300,   120,   60,    30,    15,   10,   5,    2,   1};
  const int c = std::clamp(x - left_, 0, columns_ - 1);
  const int64_t from = TimeAt(left_ + c);
  const int64_t to = c + 1 < columns_ ? TimeAt(left_ + c + 1) : range_.toMs + 1;  // exclusive
  for (int64_t step : steps) {
    const int64_t ms = step * 1000;
    const int64_t t = from <= 0 ? 0 : (from + ms - 1) / ms * ms;
    if (t >= from && t < to) return t;
  }
  return from;
}

int32_t Navigator::RecordAt(int x) const {
  const int32_t n = RecordCount();
  if (n < 1) return 0;
  auto first = [&](int64_t t) {
    const auto it = std::lower_bound(times_.begin() + 1, times_.end(), t);
    return std::min<int32_t>(n, static_cast<int32_t>(it - times_.begin()));
  };
  const int c = std::clamp(x - left_, 0, columns_ - 1);
  const int32_t round = first(RoundTimeAt(x));
  if (ColumnOf(times_[round], range_, columns_) == c) return round;
  return first(TimeAt(x));
}

Navigator::Selection Navigator::Select(int pressX, int releaseX) const {
  Selection s;
  if (std::abs(releaseX - pressX) <= columns_ / 100) {
    s.first = s.last = RecordAt(pressX);
    return s;
  }
  s.range = true;
  s.first = RecordAt(std::min(pressX, releaseX));
  s.last = RecordAt(std::max(pressX, releaseX));
  return s;
}

std::optional<int32_t> Navigator::NextTag(int32_t k, int32_t lo, int32_t hi) const {
  const auto it = std::upper_bound(tags_.begin(), tags_.end(), std::max(k, lo - 1));
  if (it == tags_.end() || *it > hi) return std::nullopt;
  return *it;
}

std::optional<int32_t> Navigator::PreviousTag(int32_t k, int32_t lo, int32_t hi) const {
  auto it = std::lower_bound(tags_.begin(), tags_.end(), std::min(k, hi + 1));
  if (it == tags_.begin() || *std::prev(it) < lo) return std::nullopt;
  return *std::prev(it);
}

std::optional<int32_t> Navigator::TagNear(int x, int tolerance) const {
  // Tags stand in record order, so their columns rise: the first at or right of x and
  // the one before it are the candidates.
  const auto right = std::partition_point(tags_.begin(), tags_.end(), [&](int32_t k) { return XOf(k) < x; });
  std::optional<int32_t> best;
  int bestGap = tolerance + 1;
  for (auto it : {right, right == tags_.begin() ? tags_.end() : std::prev(right)}) {
    if (it == tags_.end()) continue;
    const int gap = std::abs(XOf(*it) - x);
    if (gap < bestGap) {
      bestGap = gap;
      best = *it;
    }
  }
  return best;
}

}  // namespace zk::plot
