#pragma once
// The arithmetic of the overview picture as a navigator: which record a pixel column
// stands for and where a record is drawn, what a press and release select, and where the
// tags are. Pure: it keeps the records' times and the tags' record numbers, not Qt.
//
// Times are taken as never going back: a damaged record whose time falls below an earlier
// one's counts at the earlier time, so the mapping stays monotonic and every search is a
// binary search.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "plot/PlotSeries.h"
#include "zkd/RecordFile.h"

namespace zk::plot {

class Navigator {
 public:
  Navigator() = default;
  // Records 1..count of `records` (element k is record k), drawn over `columns` pixel
  // columns starting at x = `left` for the time range `range`.
  Navigator(const std::vector<SampleRecord>& records, int32_t count, const TimeRange& range, int left, int columns);

  int32_t RecordCount() const { return static_cast<int32_t>(times_.size()) - 1; }
  const TimeRange& Range() const { return range_; }
  // Record k's time as the navigator takes it (never below an earlier record's).
  int64_t TimeOf(int32_t k) const { return RecordCount() < 1 ? 0 : times_[std::clamp(k, 1, RecordCount())]; }
  // The width of a pixel column in milliseconds.
  double ColumnMs() const { return static_cast<double>(range_.Span()) / columns_; }

  // The pixel column of record k (clamped to 1..RecordCount).
  int XOf(int32_t k) const;
  // The record a click at pixel x (clamped to the picture) goes to: the first record at
  // or after the roundest whole second of the column (so a click on the grid line of
  // 1:30 goes to 1:30), or the column's first record when the column holds no whole
  // second or no record after it; without records in the column, the next record drawn.
  // 0 when there are no records.
  int32_t RecordAt(int x) const;
  // The roundest whole second (in milliseconds) of pixel column x, or the time at its
  // left edge when it holds none.
  int64_t RoundTimeAt(int x) const;
  // The time at the left edge of pixel column x, clamped to the range.
  int64_t TimeAt(int x) const;

  struct Selection {
    bool range = false;  // false: a click, which moves the play position to `first`
    int32_t first = 0, last = 0;
  };
  // A press at one x and a release at another: a click when they are at most a
  // hundredth of the picture's width apart (as on the seek bar), else the range of
  // records between them, whichever way the drag went.
  Selection Select(int pressX, int releaseX) const;

  // The record numbers of the tags, in order.
  const std::vector<int32_t>& Tags() const { return tags_; }
  // The first tag after record k, or the last one before it, within records lo..hi.
  std::optional<int32_t> NextTag(int32_t k, int32_t lo, int32_t hi) const;
  std::optional<int32_t> PreviousTag(int32_t k, int32_t lo, int32_t hi) const;
  // The tag drawn nearest pixel x, if one is within `tolerance` pixels.
  std::optional<int32_t> TagNear(int x, int tolerance) const;

 private:
  std::vector<int64_t> times_;  // element k: record k's time, never below an earlier one
  std::vector<int32_t> tags_;
  TimeRange range_;
  int left_ = 0, columns_ = 1;
};

}  // namespace zk::plot
