#pragma once
// The one audio device of the program (the recording's sound track, or the silent
// timing track). At most one track is open; opening another closes the first. Every call
// answers a return code, 0 for success, that callers store in MciResult; ErrorText turns
// a code into a message. A failed query leaves its out-parameter unchanged.
//
// Positions are in bytes for a new recording (44100 a second) and for a WAV (bytes of its
// own format), in milliseconds for an MP3 and for the silent track. While recording, the
// position is that of the sound of the present moment — the sound captured so far plus the
// time since it was handed over — and never goes back; Length is the sound captured so far. Mode() reports
// Playing until the end of the track, then Stopped; the silent track never ends.
// Seeking stops playback. Play() after Pause() resumes where it paused.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zk {

enum class AudioMode { Stopped, Playing, Paused, Recording, NotReady };

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  virtual int32_t Close() = 0;
  // A new recording: PCM, 16 bits, mono, 22050 samples/s; positions in bytes.
  virtual int32_t OpenNewRecording() = 0;
  virtual int32_t Record() = 0;
  // A WAV file: positions in bytes of its own format.
  virtual int32_t OpenWav(const std::string& path) = 0;
  // A compressed track (an MP3 of a recording): positions in milliseconds.
  virtual int32_t OpenMp3(const std::string& path) = 0;
  // The silent timing track: positions in milliseconds, no end.
  virtual int32_t OpenSilentTrack(const std::string& path) = 0;
  virtual int32_t Play() = 0;
  virtual int32_t PlayFrom(int32_t position) = 0;
  virtual int32_t Pause() = 0;
  virtual int32_t Stop() = 0;
  virtual int32_t SeekTo(int32_t position) = 0;
  virtual int32_t SeekToStart() = 0;
  // Removes the recorded sound from 0 to the given byte position (new recordings only).
  // While recording, the capture goes on and its positions move back by what was removed.
  virtual int32_t DeleteFromStart(int32_t bytes) = 0;
  // Stops a new recording and makes its sound end at the given byte position: what was
  // captured beyond it goes, and up to it what was not captured is silence.
  virtual int32_t EndAt(int32_t bytes) = 0;
  // Writes the recording (or a copy of the open WAV) to `path`, replacing an existing file
  // only once the new one is complete.
  virtual int32_t SaveWav(const std::string& path) = 0;
  // The sound a new recording holds from byte position `from` up to what has been
  // captured so far, appended to `out` as 16-bit samples; while recording, the sound is
  // taken in first, as a position query does. Positions are those of the recording before
  // DeleteFromStart.
  virtual int32_t RecordedSound(int32_t from, std::vector<int16_t>& out) = 0;
  // A new recording that already holds the sound `next` hands over (16-bit mono, 22050 a
  // second), stopped at position 0 as after a recording's stop: it plays and saves like
  // one. `next` fills up to `count` samples a call and answers how many; 0 ends the sound.
  // The sound is taken a piece at a time, so that it is never held whole twice.
  using SoundPieces = std::function<std::size_t(int16_t* out, std::size_t count)>;
  virtual int32_t OpenRecordedSound(const SoundPieces& next) = 0;
  virtual int32_t Position(int32_t& position) = 0;
  virtual int32_t Length(int32_t& length) = 0;
  virtual int32_t Mode(AudioMode& mode) = 0;
  // Format of an open WAV.
  virtual int32_t SamplesPerSec(int32_t& v) = 0;
  virtual int32_t BitsPerSample(int32_t& v) = 0;
  virtual int32_t Channels(int32_t& v) = 0;
  // Text for a return code; false when there is none.
  virtual bool ErrorText(int32_t code, std::string& text) = 0;
  // True once the sound input of the recording under way broke down: the rest of its
  // sound is silence on the clock.
  virtual bool InputLost() const { return false; }
};

// The mode as text: "playing", "paused", "stopped", "recording", "not ready".
const char* AudioModeText(AudioMode m);

}  // namespace zk
