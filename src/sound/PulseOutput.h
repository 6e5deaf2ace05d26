#pragma once
// Sound played through the PulseAudio server (or PipeWire's PulseAudio service), fed from
// the program's own thread when it asks for the position.
//
// The player asks for the position once or more a record, so each question also tops up
// the server's buffer; a timer does it only when nobody has asked for a while (a menu or a
// box open during playback). The server's own thread moves no sound of ours: the sound is
// read where it is asked for, and nothing is shared with the server's thread but its lock.
// Qt's sound output fed the server from a 20 ms timer of its own, which woke the program
// 50 times a second more during a playback and took a fifth of its CPU.
#include <sys/time.h>
#include <QTimer>

#include <array>
#include <atomic>
#include <vector>

#include "sound/ClockSound.h"
#include "sound/SoundIO.h"

struct pa_threaded_mainloop;
struct pa_context;
struct pa_stream;
struct pa_operation;

namespace zk {

class PulseOutput : public SoundOutput {
 public:
  explicit PulseOutput(Clock& clock);
  ~PulseOutput() override;
  bool Real() const override { return true; }
  bool Start(FrameSource& source, int64_t fromFrame) override;
  void Pause() override;
  void Resume() override;
  void Stop() override;
  int64_t PlayedFrames() override;
  bool Failed() override;

 private:
  class Lock;
  bool Connect();
  void Disconnect();
  // Waits (the lock held) until `ready` holds, the connection breaks, or a few seconds
  // pass; true when `ready` held.
  template <typename Ready>
  bool WaitFor(Ready ready);
  bool Open_Stream(const PcmFormat& fmt);
  // Hands the server what its buffer has room for, read from the source.
  void Feed();
  void Top_Up(size_t room);
  void Cork(bool paused);
  bool Broken() const;
  int64_t Played_Usec();  // the lock held
  int64_t Usec_Of(int64_t bytes) const;

  static void Notify(pa_context*, void* self);
  static void NotifyStream(pa_stream*, void* self);

  Stopwatch watch_;  // how long the position has not moved while playing
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  pa_operation* drain_ = nullptr;  // the stream's end, under way
  FrameSource* source_ = nullptr;
  int channels_ = 1;
  int32_t rate_ = SoundSampleRate;
  int64_t next_ = 0;     // the next frame of the source to hand over
  int64_t written_ = 0;  // frames handed over since Start
  int64_t lastPlayed_ = -1;
  int64_t lastUsec_ = 0;                  // the last Played_Usec
  timeval reportAt_{};                    // the time of the server's last report
  std::array<int64_t, 10> deviceUsec_{};  // the sound in the device, as last reported
  size_t reports_ = 0;
  bool ended_ = false;                 // the source has nothing more
  std::atomic<bool> drained_ = false;  // and the server has played all it was given
  // The connection or the stream failed or ended (set by the server's thread).
  std::atomic<bool> lost_ = false;
  bool paused_ = false;
  std::vector<int16_t> buffer_;
  QTimer feeder_;  // tops the buffer up when nobody asks for the position
};

}  // namespace zk
