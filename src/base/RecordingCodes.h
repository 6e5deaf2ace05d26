#pragma once
// The integer codes of recording and playback, named. They stay plain integers in the
// settings record and the session state (the settings file stores them as numbers), so
// these are unscoped enums with the stored type underneath.
#include <cstdint>

namespace zk {

// Settings: RecordingMode. How a finished recording is named and saved.
enum RecordingModes : int16_t {
  RecManual = 1,    // the user names and saves it with a file dialog
  RecAutoName = 2,  // named automatically, saved by the user
  RecAutoSave = 3,  // named and saved automatically when recording stops
  RecCapture = 4,   // named automatically, kept in memory
};

// Session state: PlayState.
enum PlayStates : int16_t { PlayStopped = 0, PlayPlaying = 1, PlayPaused = 2 };

// Session state: AudioKind, the kind of track open on the audio device.
enum AudioKinds : int16_t {
  AudioNoTrack = 0,
  AudioCompressed = 1,  // an MP3 of a recording or the silent timing track; positions in ms
  AudioWave = 2,        // a WAV; positions in bytes of its own format
};

}  // namespace zk
