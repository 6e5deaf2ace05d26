#include "zkd/RecordCodec.h"

namespace zk {

namespace {

void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

void EncodeRecord(const SampleRecord& r, uint8_t* out) {
  const auto t = static_cast<uint32_t>(r.TimeMs);
  out[0] = static_cast<uint8_t>(t);
  out[1] = static_cast<uint8_t>(t >> 8);
  out[2] = static_cast<uint8_t>(t >> 16);
  out[3] = static_cast<uint8_t>(t >> 24);
  Put16(out + 4, static_cast<uint16_t>(r.Raw));
  Put16(out + 6, static_cast<uint16_t>(r.Needle));
  Put16(out + 8, static_cast<uint16_t>(r.BdValue));
  out[10] = r.BaseStep;
  out[11] = r.Sensitivity;
  out[12] = r.Flags;
  out[13] = 0;
  Put16(out + 14, r.Tag);
  out[16] = r.Header16;
  out[17] = r.Header17;
  out[18] = static_cast<uint8_t>(r.Marker);
  out[19] = static_cast<uint8_t>(r.Letter);
}

SampleRecord DecodeRecord(const uint8_t* in) {
  SampleRecord r;
  r.TimeMs = static_cast<int32_t>(static_cast<uint32_t>(in[0]) | (static_cast<uint32_t>(in[1]) << 8) |
                                  (static_cast<uint32_t>(in[2]) << 16) | (static_cast<uint32_t>(in[3]) << 24));
  r.Raw = static_cast<int16_t>(Get16(in + 4));
  r.Needle = static_cast<int16_t>(Get16(in + 6));
  r.BdValue = static_cast<int16_t>(Get16(in + 8));
  r.BaseStep = in[10];
  r.Sensitivity = in[11];
  r.Flags = in[12];
  r.Unused13 = in[13];
  r.Tag = Get16(in + 14);
  r.Header16 = in[16];
  r.Header17 = in[17];
  r.Marker = static_cast<char>(in[18]);
  r.Letter = static_cast<char>(in[19]);
  return r;
}

bool IsReadingLetter(char letter) { return letter == 'O' || letter == 'P' || letter == 'T'; }

// Byte 14 is the low byte of Tag and byte 15 its high byte, so the header values that sit
// in bytes 14 and 15 go through Tag.
SampleRecord ClockHeaderRecord(SampleRecord r, int32_t clockType, int32_t startSeconds) {
  const auto s = static_cast<uint32_t>(startSeconds);
  r.Tag = static_cast<uint16_t>((clockType & 0xFF) | (((s >> 16) & 0xFF) << 8));
  r.Header16 = static_cast<uint8_t>(s >> 8);
  r.Header17 = static_cast<uint8_t>(s);
  r.Marker = 'C';
  return r;
}

SampleRecord DateHeaderRecord(SampleRecord r, int32_t dateType, int32_t startDay) {
  const auto d = static_cast<uint32_t>(startDay);
  r.Tag = static_cast<uint16_t>((dateType & 0xFF) | (r.Tag & 0xFF00));
  r.Header16 = static_cast<uint8_t>(d >> 8);
  r.Header17 = static_cast<uint8_t>(d);
  r.Marker = 'D';
  return r;
}

int32_t HeaderStartSeconds(const SampleRecord& r) {
  if (r.Marker != 'C') return 0;
  return (r.Tag >> 8) * 65536 + r.Header16 * 256 + r.Header17;
}

int32_t HeaderStartDay(const SampleRecord& r) {
  if (r.Marker != 'D') return 0;
  return r.Header16 * 256 + r.Header17;
}

}  // namespace zk
