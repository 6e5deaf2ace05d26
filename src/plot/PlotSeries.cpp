#include "plot/PlotSeries.h"

namespace zk::plot {

int ColumnOf(int64_t timeMs, const TimeRange& range, int columns) {
  const int64_t c = (timeMs - range.fromMs) * columns / range.Span();
  return static_cast<int>(std::clamp<int64_t>(c, 0, columns - 1));
}

PlotSeries ReducePlot(const RecordFileData& data, const TimeRange& range, int columns) {
  PlotSeries s;
  s.range = range;
  s.columns.assign(static_cast<std::size_t>(std::max(columns, 1)), PlotColumn{});
  const SampleRecord* before = nullptr;
  for (int32_t k = 1; k <= data.RecordCount; ++k) {
    const SampleRecord& r = data.records[k];
    if (!range.Holds(r.TimeMs)) {
      before = &r;
      continue;
    }
    const int32_t raw = r.RawReading();
    PlotColumn& c = s.columns[ColumnOf(r.TimeMs, range, columns)];
    if (!c.filled) {
      c.filled = true;
      c.needle.Start(r.Needle);
      c.baseStep.Start(r.BaseStep);
      c.sensitivity.Start(r.Sensitivity);
      c.raw.Start(raw);
    } else {
      c.needle.Add(r.Needle);
      c.baseStep.Add(r.BaseStep);
      c.sensitivity.Add(r.Sensitivity);
      c.raw.Add(raw);
    }
    c.frozen = c.frozen || (r.Flags & RecordFlags::Frozen);
    if (const int lamp = r.Flags & RecordFlags::LampMask) c.lamps |= static_cast<uint8_t>(1 << lamp);

    const bool first = s.records == 0;
    if (first || raw < s.rawMin) s.rawMin = raw;
    if (first || raw > s.rawMax) s.rawMax = raw;
    if (r.Marker == 'T') s.tags.push_back({r.TimeMs, r.Tag});
    if (first || before->BdValue != r.BdValue) s.bdChanges.push_back({r.TimeMs, r.BdValue});
    if (first || before->Sensitivity != r.Sensitivity) s.sensitivityChanges.push_back({r.TimeMs, r.Sensitivity});
    ++s.records;
    before = &r;
  }
  return s;
}

}  // namespace zk::plot
