#pragma once
// One recorded reading, in memory. The on-disk layout (20 bytes, little-endian, with the
// two header records) belongs to the recording file code.
#include <cstdint>

namespace zk {

struct SampleRecord {
  int32_t TimeMs = 0;       // milliseconds from the start of the recording
  int16_t Raw = 0;          // reading in 16-bit two's complement (add 65536 when negative)
  int16_t Needle = 0;       // the needle value drawn for this reading
  int16_t BdValue = 0;      // BdTotal \ 4 at the last base computation
  uint8_t BaseStep = 0;     // base step of the last base computation
  uint8_t Sensitivity = 0;  // SensitivityIndex when written
  uint8_t Flags = 0;        // bits 0-1 lamp, 2 frozen, 3 BD counting, 5-7 dial type
  uint8_t Unused13 = 0;
  uint16_t Tag = 0;      // TagCount when Marker is 'T'
  uint8_t Header16 = 0;  // bytes 16 and 17: used only by the two header records
  uint8_t Header17 = 0;
  char Marker = 0;  // 'T' tag, 'C' clock header, 'D' date header, 0 none
  char Letter = 0;  // 'P' or 'O' (message kind of the reading)

  int32_t RawReading() const { return Raw < 0 ? Raw + 65536 : Raw; }
};

// Flags byte bits.
namespace RecordFlags {
constexpr uint8_t LampMask = 0x03;  // 0 none, 1 SET, 2 body motion, 3 lag
constexpr uint8_t Frozen = 0x04;
constexpr uint8_t BdCount = 0x08;
constexpr int DialTypeShift = 5;
}  // namespace RecordFlags

}  // namespace zk
