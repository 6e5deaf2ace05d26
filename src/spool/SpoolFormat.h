#pragma once
// The spool of a recording in progress: a folder in the recovery folder holding
//   "lock"       held (flock) by the instance the recording belongs to;
//   "info"       text: when the recording started and whether it has sound;
//   "notes"      the notes written on the recording so far, as a notes file (zkd/TagNotes.h);
//                there only once a note has been written;
//   "data"       a run of chunks, each a 12-byte header (4-byte kind, payload length,
//                payload checksum, little-endian) and its payload:
//                  "ZKr1" records, the recording's 20-byte records in the order taken;
//                  "ZKs1" sound, 16-bit mono PCM at 22050 a second continuing the sound
//                         before it, from the moment of the first record on (the pre-roll
//                         is left out), so that sound byte 44100 × s is second s;
//                  "ZKm1" a mark: the whole seconds recorded so far, how many records
//                         and sound bytes belong to them, and how many sound bytes the file
//                         holds up to the mark; a last mark written at the stop gives the
//                         exact totals.
// Once a second the records and sound of that second and the mark that ends it go to the
// disk as one write, marks after the data they count. After a crash the file may end
// anywhere, even in the middle of a chunk; what precedes the last whole mark is a
// consistent recording. A mark also tells where the records and sound after it stand in
// the recording, so that the reading can take up again after damage in the middle.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zk {

namespace SpoolFiles {
inline constexpr const char* Lock = "lock";
inline constexpr const char* Info = "info";
inline constexpr const char* Data = "data";
inline constexpr const char* Notes = "notes";
inline constexpr const char* All[] = {Info, Data, Notes};
}  // namespace SpoolFiles

// The folder the spools live in, inside the program folder.
inline constexpr const char* RecoveryFolderName = "recovery";
// Spool folders are named "recording-" + start date and time + "-" + process id; one found
// damaged is renamed "damaged-..." and kept.
inline constexpr const char* SpoolPrefix = "recording-";
inline constexpr const char* DamagedPrefix = "damaged-";

// What the recorder knew at the start of the recording.
struct SpoolInfo {
  int32_t RecordStartSeconds = 0;  // time of day of the first record, in seconds
  int32_t RecordStartDay = 0;      // days from 31/12/1999
  int32_t RecordDate = 36525;      // date serial of the start day
  bool Audio = false;              // the recording has sound
};

std::string EncodeSpoolInfo(const SpoolInfo& info);
std::optional<SpoolInfo> DecodeSpoolInfo(const std::string& text);

enum class ChunkKind : uint32_t {
  Records = 0x31724B5A,  // "ZKr1"
  Sound = 0x31734B5A,    // "ZKs1"
  Mark = 0x316D4B5A,     // "ZKm1"
};

inline constexpr std::size_t ChunkHeaderSize = 12;

// Appends a chunk of `kind` holding `size` bytes of `payload` to `out`.
void AppendChunk(std::vector<uint8_t>& out, ChunkKind kind, const void* payload, std::size_t size);

struct Chunk {
  ChunkKind kind;
  const uint8_t* payload;
  std::size_t size;
};

// What a chunk's header says: its kind, the length of its payload and the payload's
// checksum. Nothing when the kind is none of ours.
struct ChunkHeader {
  ChunkKind kind;
  uint32_t size;
  uint32_t checksum;
};
std::optional<ChunkHeader> DecodeChunkHeader(const uint8_t* header);
// True when `payload` (header.size bytes) is the one the header was written for.
bool PayloadMatches(const ChunkHeader& header, const uint8_t* payload);

// The chunk at `at` of `data`, when a whole one with a known kind and a matching checksum
// is there.
std::optional<Chunk> ChunkAt(const std::vector<uint8_t>& data, std::size_t at);

// The payload of a mark.
struct SecondMark {
  uint32_t Seconds = 0;     // whole seconds of recording
  uint32_t Records = 0;     // records that belong to them, and records in the file so far
  uint32_t SoundBytes = 0;  // bytes of sound that belong to them
  // Bytes of sound in the file up to the mark (it may run ahead of the seconds). Marks of
  // an earlier writer (12 bytes) lack it.
  std::optional<uint32_t> SoundWritten;
};

inline constexpr std::size_t SecondMarkSize = 16;
inline constexpr std::size_t ShortSecondMarkSize = 12;     // without SoundWritten
void EncodeSecondMark(const SecondMark& m, uint8_t* out);  // little-endian, SecondMarkSize bytes
// Nothing when `size` is no size of a mark.
std::optional<SecondMark> DecodeSecondMark(const uint8_t* in, std::size_t size);

}  // namespace zk
