#include "recording/SpoolFormat.h"

#include <charconv>
#include <map>
#include <sstream>

namespace zk {

namespace {

void Put32(uint32_t v, uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t Get32(const uint8_t* in) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | in[i];
  return v;
}

bool Number(const std::map<std::string, std::string>& kv, const char* key, int32_t lo, int32_t hi, int32_t& out) {
  const auto it = kv.find(key);
  if (it == kv.end()) return false;
  const std::string& s = it->second;
  int32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

std::string EncodeSpoolInfo(const SpoolInfo& info) {
  std::ostringstream out;
  out << "RecordStartSeconds=" << info.RecordStartSeconds << "\n"
      << "RecordStartDay=" << info.RecordStartDay << "\n"
      << "RecordDate=" << info.RecordDate << "\n"
      << "Audio=" << (info.Audio ? 1 : 0) << "\n"
      << "SamplesPerSec=" << SpoolSampleRate << "\n";
  return out.str();
}

std::optional<SpoolInfo> DecodeSpoolInfo(const std::string& text) {
  std::map<std::string, std::string> kv;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) kv[line.substr(0, eq)] = line.substr(eq + 1);
  }
  SpoolInfo info;
  int32_t audio = 0, rate = 0;
  if (!Number(kv, "RecordStartSeconds", 0, 86399, info.RecordStartSeconds) ||
      !Number(kv, "RecordStartDay", -36525, 65535, info.RecordStartDay) ||
      !Number(kv, "RecordDate", 0, 2958465, info.RecordDate) || !Number(kv, "Audio", 0, 1, audio) ||
      !Number(kv, "SamplesPerSec", SpoolSampleRate, SpoolSampleRate, rate))
    return std::nullopt;
  info.Audio = audio == 1;
  return info;
}

void EncodeSecondMark(const SecondMark& m, uint8_t* out) {
  Put32(m.Seconds, out);
  Put32(m.Records, out + 4);
  Put32(m.SoundBytes, out + 8);
}

SecondMark DecodeSecondMark(const uint8_t* in) { return {Get32(in), Get32(in + 4), Get32(in + 8)}; }

}  // namespace zk
