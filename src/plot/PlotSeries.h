#pragma once
// The records of a time range reduced to one entry per pixel column: each column keeps
// the least, greatest, first and last value of every lane, so a long recording squeezed
// into a few hundred columns still shows every excursion. Tags and the changes of the
// blow-down total and of the sensitivity step are kept as events with their times.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "zkd/RecordFile.h"

namespace zk::plot {

struct TimeRange {
  int64_t fromMs = 0, toMs = 0;
  // At least one millisecond, so a recording whose readings share one time still draws.
  int64_t Span() const { return std::max<int64_t>(1, toMs - fromMs); }
  bool Holds(int64_t t) const { return t >= fromMs && t <= toMs; }
};

// The column (0 .. columns-1) a time of the range falls in; the range's end belongs to
// the last column.
int ColumnOf(int64_t timeMs, const TimeRange& range, int columns);

struct Extent {
  int32_t lo = 0, hi = 0, first = 0, last = 0;
  void Start(int32_t v) { lo = hi = first = last = v; }
  void Add(int32_t v) {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    last = v;
  }
};

struct PlotColumn {
  bool filled = false;  // at least one record fell in this column
  Extent needle, baseStep, sensitivity, raw;
  bool frozen = false;  // the needle was frozen at some record of the column
  uint8_t lamps = 0;    // bit n set: lamp code n (1 SET, 2 body motion, 3 lag) was lit
};

struct PlotEvent {
  int64_t timeMs;
  int32_t value;
};

struct PlotSeries {
  TimeRange range;
  std::vector<PlotColumn> columns;
  std::vector<PlotEvent> tags;                // tag number
  std::vector<PlotEvent> bdChanges;           // BdValue, at the range's first record and where it changed
  std::vector<PlotEvent> sensitivityChanges;  // step, likewise
  int32_t rawMin = 0, rawMax = 0;             // over the records of the range
  int32_t records = 0;                        // records in the range
};

PlotSeries ReducePlot(const RecordFileData& data, const TimeRange& range, int columns);

}  // namespace zk::plot
