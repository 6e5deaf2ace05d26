#pragma once
// The run-time state every subsystem reads and writes: operating mode, connection,
// status banner, per-reading values and the flags one part raises and another serves.
// Plain data; the procedures that change it live in their subsystems.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/RecordingRates.h"
#include "base/SampleRecord.h"

namespace zk {

enum OperatingModes : int16_t { ModeNone = 0, ModeLive = 1, ModePlayback = 2, ModeRecording = 3 };

struct SessionState {
  // Operating mode: 0 none/demonstration, 1 live, 2 playback, 3 recording.
  int16_t OperatingMode = ModeNone;

  // Connection.
  bool HardwareFound = false;
  std::string SensorType;
  bool InputWatchdogArmed = false;
  uint8_t MissedTicks = 0;
  int16_t RemoteErrorCount = 0;
  std::array<int16_t, 17> PortPresent{};  // index 0..16; -1 = present
  std::string SensorSerialNumber, BootLoaderVersion, FirmwareVersion;
  std::string VersionText = "Version 1.0.0";

  // Status banner.
  std::string StatusWanted;
  std::string StatusText;
  int32_t StatusColor = 0;

  // Per-reading values.
  int32_t RawReading = 0;
  bool NewReading = false;
  int32_t FilteredReading = 0;
  int32_t NeedleReference = 0;
  int32_t LastNeedle = 0;
  int16_t LastSensitivityIndex = 0;
  std::array<int32_t, 17> FilterHistory{};  // elements 1..16, element 1 the newest
  int16_t FilterLength = 0;
  std::array<int32_t, 3> MotionHistory{};  // [0] newest, [1] previous, [2] one before
  double MotionTime = 0;                   // timer seconds
  uint8_t LastBaseStep = 0;
  int16_t BaseDrop = 0;
  std::string BaseText = "2.0";
  int16_t BdTotal = 0;
  std::string BdText = "0.0";
  int32_t TagCount = 0;
  bool TagChanged = false;
  int32_t LedColor = 0;
  double LagTime = 0;  // timer seconds
  uint8_t LastPlayFlags = 0;
  uint8_t LastPlayBase = 0;

  // Thresholds derived from the settings by the alert menus.
  int32_t BodyMotionLimit = 50;
  int16_t LagMessages = 2;
  double BodyMotionHold = 0.5;  // seconds

  // Flags.
  bool ResetPending = false;
  // Raised when a playback ends: the next live reading sets the base and BD readouts
  // from the sensor again instead of leaving the recording's last values shown.
  bool BaseRefreshPending = false;
  bool NeedleSetRequest = false;
  bool BodyMotionActive = false;
  bool NeedleFrozen = false;
  bool BdCountEnabled = false;
  bool PlaybackOverride = false;

  // Sync test.
  bool SyncTestActive = false;
  std::array<int16_t, 201> SyncPattern{};  // elements 1..200
  int16_t SyncIndex = 0;
  int16_t SyncValue = 0;
  bool SyncArmed = false;

  // Derived colours.
  int32_t ShadowNeedleColor = 0;
  int32_t FaintNeedleColor = 0;
  int32_t DimTextColor = 0;

  // Recording time base (filled by the receive path while recording).
  int32_t RecSampleCount = 0;
  int16_t RecSampleKind = 0;
  int32_t AudioPosition = 0;
  int32_t AudioSecsSeen = 0;
  int32_t ElapsedSecs = 0;
  int16_t LastSecondSamples = 0;  // RecSampleCount of the last record written

  // Recording in memory and playback.
  SampleRecord WorkRecord;
  std::vector<SampleRecord> RecordBuffer;  // index 0 unused; record k is element k
  std::string RecordName;                  // base name of the recording: no folder, no extension
  int32_t RecordIndex = 1;                 // next record to write (recording) or to show (playback)
  int32_t RecordCount = 0;
  int32_t TotalTimeMs = 0;
  int32_t RangeStartIndex = 0, RangeEndIndex = 0;
  int32_t RangeStartX = 0, RangeEndX = 0;  // play range on the seek bar, 0..1000
  bool FileLoaded = false;
  bool RecordingUnsaved = false;
  bool RecordingSaveFailed = false;  // the unsaved recording's automatic save failed
  int16_t PlayState = 0;             // PlayStates: 0 stopped, 1 playing, 2 paused
  bool SeekPending = false;
  int16_t SkipSeconds = 0;
  std::string RangeStartPosition = "0";  // audio position of the range start, as text
  double PlayLagTime = 0;                // timer seconds of the player's last lag
  int32_t RecordStartSeconds = 0;
  int32_t RecordStartDay = 0;
  int32_t RecordDate = 36525;  // date serial (days since 30/12/1899); 36525 = 31/12/1999

  // Audio device.
  int16_t AudioKind = 0;  // AudioKinds: 1 compressed track (ms), 2 wav (bytes)
  int32_t PlayUnitsPerSecond = 1000;
  int32_t AudioSamplesPerSec = SoundSampleRate;
  int16_t AudioBitsPerSample = 16;
  int16_t AudioChannels = 1;
  int32_t AudioLength = 0;
  int32_t MciResult = 0;
  std::string MciErrorText;
  bool MciErrorFlag = false;
  bool SoundInputLost = false;  // the recording under way goes on without its sound input
  std::string DummyAudioPath;

  // User values put aside while a recording plays.
  int16_t SavedSensitivityIndex = 8;
  bool SavedFreezeEnable = false;
  int32_t SavedDialType = 1;
  bool SavedBdCountEnabled = false;
  int16_t SavedBdTotal = 0;
};

// The records 1..n the buffer really holds: RecordCount, never past the buffer's end.
inline int32_t Records_Held(const SessionState& st) {
  const int32_t last = std::max(0, static_cast<int32_t>(st.RecordBuffer.size()) - 1);
  return std::clamp(st.RecordCount, 0, last);
}

}  // namespace zk
