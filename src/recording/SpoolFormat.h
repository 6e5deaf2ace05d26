#pragma once
// The spool of a recording in progress: a folder in the recovery folder holding
//   "lock"        held (flock) by the instance the recording belongs to;
//   "info"        text: when the recording started and whether it has sound;
//   "records.zkd" the recording's 20-byte records as they were taken;
//   "sound.raw"   its sound as 16-bit mono PCM at 22050 a second, from the moment of the
//                 first record on (the pre-roll is left out), so that byte 44100 × s is
//                 second s of the records;
//   "seconds"     an index, one entry per whole second that ended, of how many records
//                 and sound bytes make up the recording up to that second; a last entry
//                 written at the stop gives the exact totals.
// Each file only grows. After a crash a file may end anywhere; the index tells how much of
// the others belongs to a whole second.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zk {

namespace SpoolFiles {
inline constexpr const char* Lock = "lock";
inline constexpr const char* Info = "info";
inline constexpr const char* Records = "records.zkd";
inline constexpr const char* Sound = "sound.raw";
inline constexpr const char* Seconds = "seconds";
inline constexpr const char* All[] = {Info, Records, Sound, Seconds};
}  // namespace SpoolFiles

// The folder the spools live in, inside the program folder.
inline constexpr const char* RecoveryFolderName = "recovery";
// Spool folders are named "recording-" + start date and time + "-" + process id; one being
// set up starts with "."; one found damaged is renamed "damaged-..." and kept.
inline constexpr const char* SpoolPrefix = "recording-";
inline constexpr const char* DamagedPrefix = "damaged-";

// The sound of a recording: 16-bit mono at 22050 samples a second.
inline constexpr int32_t SpoolSampleRate = 22050;
inline constexpr int32_t SpoolBytesPerSecond = SpoolSampleRate * 2;

// What the recorder knew at the start of the recording.
struct SpoolInfo {
  int32_t RecordStartSeconds = 0;  // time of day of the first record, in seconds
  int32_t RecordStartDay = 0;      // days from 31/12/1999
  int32_t RecordDate = 36525;      // date serial of the start day
  bool Audio = false;              // the recording has sound
};

std::string EncodeSpoolInfo(const SpoolInfo& info);
std::optional<SpoolInfo> DecodeSpoolInfo(const std::string& text);

// One entry of the "seconds" index.
struct SecondMark {
  uint32_t Seconds = 0;     // whole seconds of recording
  uint32_t Records = 0;     // records that belong to them
  uint32_t SoundBytes = 0;  // bytes of sound that belong to them
};

inline constexpr std::size_t SecondMarkSize = 12;
void EncodeSecondMark(const SecondMark& m, uint8_t* out);  // little-endian
SecondMark DecodeSecondMark(const uint8_t* in);

}  // namespace zk
