#include "export/EdfSignals.h"

#include <algorithm>

namespace zk {

// The needle in degrees (a value is 1/65536 of a turn); the base value as the meter shows
// it, in twentieths; the reading as the meter sends it; the knob's step.
const EdfSignalInfo EdfSignals[EdfSignalCount] = {
    {"Needle", "deg", -180.0, 180.0 * 32767 / 32768, -32768, 32767},
    {"Base", "base", 0.0, 10.0, 0, 200},
    {"Raw reading", "count", 0.0, 65535.0, -32768, 32767},
    {"Sensitivity", "step", 0.0, 255.0, 0, 255},
};

int16_t EdfDigital(int signal, const SampleRecord& r) {
  switch (signal) {
    case 0: return r.Needle;
    case 1: return static_cast<int16_t>(r.BaseStep / 2 + 8);
    case 2: return static_cast<int16_t>(r.RawReading() - 32768);
    default: return r.Sensitivity;
  }
}

std::vector<int32_t> GridRecords(const RecordFileData& data) {
  std::vector<int32_t> grid;
  if (data.RecordCount < 1) return grid;
  const int64_t end = std::max<int64_t>(0, data.records[data.RecordCount].TimeMs);
  grid.reserve(static_cast<std::size_t>(end / EdfSampleMs + 1));
  int32_t k = 1;
  for (int64_t t = 0; t <= end; t += EdfSampleMs) {
    while (k < data.RecordCount && data.records[k + 1].TimeMs <= t) ++k;
    grid.push_back(k);
  }
  return grid;
}

namespace {

const char* LampText(int lamp) {
  switch (lamp) {
    case 1: return "SET";
    case 2: return "Body motion";
    default: return "Needle lag";
  }
}

}  // namespace

std::string OneLineUtf8(const std::string& text, std::size_t bytes) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    // The whole character or nothing of it.
    std::size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
    if (out.size() + n > bytes) break;
    for (std::size_t k = 0; k < n; ++k) {
      const char c = text[i + k];
      out += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
    }
    i += n;
  }
  return out;
}

std::vector<EdfEvent> EdfEvents(const RecordFileData& data, const TagNotes& notes) {
  std::vector<EdfEvent> events;
  if (!notes.session.empty()) events.push_back({0, -1, OneLineUtf8("Session: " + notes.session, EdfAnnotationBytes)});
  bool frozen = false;
  int lamp = 0;
  int64_t lampSince = 0, last = 0;
  for (int32_t k = 1; k <= data.RecordCount; ++k) {
    const SampleRecord& r = data.records[k];
    const int64_t t = std::max<int64_t>(last, r.TimeMs);  // never back in time
    last = t;
    if (r.Marker == 'T') events.push_back({t, -1, OneLineUtf8(TagLabel(r.Tag, notes), EdfAnnotationBytes)});
    const bool nowFrozen = (r.Flags & RecordFlags::Frozen) != 0;
    if (nowFrozen != frozen) events.push_back({t, -1, nowFrozen ? "Freeze on" : "Freeze off"});
    frozen = nowFrozen;
    const int nowLamp = r.Flags & RecordFlags::LampMask;
    if (nowLamp != lamp) {
      if (lamp != 0) events.push_back({lampSince, t - lampSince, LampText(lamp)});
      lampSince = t;
    }
    lamp = nowLamp;
  }
  if (lamp != 0) events.push_back({lampSince, last - lampSince, LampText(lamp)});
  std::stable_sort(events.begin(), events.end(),
                   [](const EdfEvent& a, const EdfEvent& b) { return a.onsetMs < b.onsetMs; });
  return events;
}

}  // namespace zk
