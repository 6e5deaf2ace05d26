#include "spool/SpoolFormat.h"

#include "base/RecordingRates.h"

#include <charconv>
#include <cstring>
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
      << "SamplesPerSec=" << SoundSampleRate << "\n";
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
      !Number(kv, "SamplesPerSec", SoundSampleRate, SoundSampleRate, rate))
    return std::nullopt;
  info.Audio = audio == 1;
  return info;
}

namespace {

// FNV-1a over 8-byte words (the tail byte by byte): cheap enough for a second of sound,
// and a block of zeros or of another file's bytes does not match.
uint32_t Checksum(const uint8_t* p, std::size_t size) {
  uint64_t h = 1469598103934665603ull;
  std::size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    h = (h ^ w) * 1099511628211ull;
  }
  for (; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return static_cast<uint32_t>(h ^ (h >> 32));
}

}  // namespace

void AppendChunk(std::vector<uint8_t>& out, ChunkKind kind, const void* payload, std::size_t size) {
  uint8_t header[ChunkHeaderSize];
  const auto* p = static_cast<const uint8_t*>(payload);
  Put32(static_cast<uint32_t>(kind), header);
  Put32(static_cast<uint32_t>(size), header + 4);
  Put32(Checksum(p, size), header + 8);
  out.insert(out.end(), header, header + ChunkHeaderSize);
  out.insert(out.end(), p, p + size);
}

std::optional<ChunkHeader> DecodeChunkHeader(const uint8_t* header) {
  const auto kind = static_cast<ChunkKind>(Get32(header));
  if (kind != ChunkKind::Records && kind != ChunkKind::Sound && kind != ChunkKind::Mark) return std::nullopt;
  return ChunkHeader{kind, Get32(header + 4), Get32(header + 8)};
}

bool PayloadMatches(const ChunkHeader& header, const uint8_t* payload) {
  return Checksum(payload, header.size) == header.checksum;
}

std::optional<Chunk> ChunkAt(const std::vector<uint8_t>& data, std::size_t at) {
  if (at > data.size() || data.size() - at < ChunkHeaderSize) return std::nullopt;
  const auto header = DecodeChunkHeader(data.data() + at);
  if (!header || data.size() - at - ChunkHeaderSize < header->size) return std::nullopt;
  const uint8_t* payload = data.data() + at + ChunkHeaderSize;
  if (!PayloadMatches(*header, payload)) return std::nullopt;
  return Chunk{header->kind, payload, header->size};
}

void EncodeSecondMark(const SecondMark& m, uint8_t* out) {
  Put32(m.Seconds, out);
  Put32(m.Records, out + 4);
  Put32(m.SoundBytes, out + 8);
  Put32(m.SoundWritten.value_or(m.SoundBytes), out + 12);
}

std::optional<SecondMark> DecodeSecondMark(const uint8_t* in, std::size_t size) {
  if (size != SecondMarkSize && size != ShortSecondMarkSize) return std::nullopt;
  SecondMark m{Get32(in), Get32(in + 4), Get32(in + 8), std::nullopt};
  if (size == SecondMarkSize) m.SoundWritten = Get32(in + 12);
  return m;
}

}  // namespace zk
