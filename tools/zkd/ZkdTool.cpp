#include "ZkdTool.h"

#include <filesystem>
#include <map>
#include <set>

#include "core/Clock.h"
#include "core/Numbers.h"
#include "recording/RecordFile.h"
#include "recording/RecordLoader.h"
#include "recording/SoundFile.h"

namespace zk::zkd {

bool Read(const std::string& zkdPath, RecordFileData& data, std::ostream& err) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(zkdPath, ec)) {
    err << zkdPath << "\n";  // the program shows the missing file's path under "File Not Found"
    return false;
  }
  std::vector<uint8_t> image;
  if (FileError e = ReadFileImage(zkdPath, image)) {
    err << CouldNotLoadText("zkd", e.number, e.description) << "\n";
    return false;
  }
  if (DecodeRecordFile(image.data(), image.size(), data) != ReadStatus::Ok) {
    err << BadFormatText << "\n";
    return false;
  }
  return true;
}

std::string TimeOfDay(int32_t seconds) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", seconds / 3600, (seconds / 60) % 60, seconds % 60);
  return buf;
}

std::string DateText(int32_t serial) {
  const DateTime d = DateFromSerial(serial);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", d.day, d.month, d.year);
  return buf;
}

namespace {

// A marker or letter as a CSV field: empty for 0, quoted where CSV needs it, and the
// byte's code in hexadecimal when it is no printable character.
std::string CharField(char c) {
  if (c == 0) return "";
  const auto u = static_cast<unsigned char>(c);
  if (c == '"') return "\"\"\"\"";
  if (c == ',') return "\",\"";
  if (u < 32 || u > 126) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", u);
    return buf;
  }
  return std::string(1, c);
}

std::string BaseName(const std::string& zkdPath) {
  const std::string p = zkdPath.size() > 4 && zkdPath.substr(zkdPath.size() - 4) == ".zkd"
                            ? zkdPath.substr(0, zkdPath.size() - 4)
                            : zkdPath;
  return p;
}

}  // namespace

int Info(const std::string& zkdPath, std::ostream& out, std::ostream& err) {
  RecordFileData data;
  if (!Read(zkdPath, data, err)) return 1;
  const int32_t total = data.TotalTimeMs;
  out << "Records: " << data.RecordCount << "\n";
  out << "Duration: " << Format_Time(CInt32(total / 1000.0), total) << "\n";
  if (data.records[1].Marker == 'C') out << "Start time: " << TimeOfDay(data.RecordStartSeconds) << "\n";
  if (data.RecordCount >= 2 && data.records[2].Marker == 'D') out << "Start date: " << DateText(data.RecordDate) << "\n";

  std::map<int, int> steps;
  for (int32_t k = 1; k <= data.RecordCount; ++k) ++steps[data.records[k].Sensitivity];
  out << "Sensitivity steps:";
  for (auto [step, n] : steps) out << " " << step << " (" << n << ")";
  out << "\n";

  int tags = 0;
  for (int32_t k = 1; k <= data.RecordCount; ++k) tags += data.records[k].Marker == 'T';
  out << "Tags: " << tags << "\n";
  for (int32_t k = 1; k <= data.RecordCount; ++k) {
    const SampleRecord& r = data.records[k];
    if (r.Marker == 'T')
      out << "  tag " << r.Tag << " at " << Format_Time(r.TimeMs / 1000, total) << " (record " << k << ")\n";
  }
  return 0;
}

int Csv(const std::string& zkdPath, std::ostream& out, std::ostream& err) {
  RecordFileData data;
  if (!Read(zkdPath, data, err)) return 1;
  out << "index,time_ms,raw,needle,bd,base_step,sensitivity,flags,tag,marker,letter\n";
  std::string line;
  for (int32_t k = 1; k <= data.RecordCount; ++k) {
    const SampleRecord& r = data.records[k];
    line = std::to_string(k);
    for (long v : {long{r.TimeMs}, long{r.RawReading()}, long{r.Needle}, long{r.BdValue}, long{r.BaseStep},
                   long{r.Sensitivity}, long{r.Flags}, long{r.Tag}}) {
      line += ',';
      line += std::to_string(v);
    }
    line += ',';
    line += CharField(r.Marker);
    line += ',';
    line += CharField(r.Letter);
    line += '\n';
    out << line;
  }
  return out.good() ? 0 : 1;
}

int Verify(const std::string& zkdPath, std::ostream& out, std::ostream& err) {
  RecordFileData data;
  if (!Read(zkdPath, data, err)) return 1;
  // A sound track beside the recording must open too, as loading it with audio on would.
  const std::string base = BaseName(zkdPath);
  std::error_code ec;
  std::string track, kind;
  if (std::filesystem::is_regular_file(base + ".wav", ec) && std::filesystem::file_size(base + ".wav", ec) > 0) {
    track = base + ".wav";
    kind = "wav";
  } else if (std::filesystem::is_regular_file(base + ".mp3", ec)) {
    track = base + ".mp3";
    kind = "mp3";
  }
  if (!track.empty()) {
    std::string error;
    if (!SoundFileSource::Open(track, error)) {
      err << CouldNotLoadText(kind, 2, error) << "\n";
      return 1;
    }
  }
  out << zkdPath << ": " << data.RecordCount << " records"
      << (track.empty() ? ", no sound track (loads with audio off)" : ", sound track " + track) << "\n";
  return 0;
}

}  // namespace zk::zkd
