#include "sound/PulseOutput.h"

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace zk {

namespace {

// The sound between the program and the loudspeaker: short enough that the position starts
// moving at once. The server keeps part of it in the device and asks for the rest in
// TopUpMs steps.
constexpr int LatencyMs = 300;
// The buffer is topped up once this much of it is free, not on every question: five
// records a top-up, with half as much again still in the buffer. Each top-up wakes the
// server's thread, and so does each of its requests for more.
constexpr int TopUpMs = 100;
// With nobody asking for the position, the timer tops the buffer up this long after the
// last top-up, while half the buffer is still to play. It is longer than a top-up lasts:
// while the player asks (once a record or more), a question finds the room first and the
// timer never fires. No shorter: at a top-up's length it would fire just before the
// question that does the same, and wake the program ten times a second more.
constexpr int FallbackMs = TopUpMs * 3 / 2;
// The timer found too little room (the server had not yet asked for more): it looks
// again after this.
constexpr int RetryMs = TopUpMs / 4;
// How long a question to the server may take before the server counts as gone.
constexpr pa_usec_t AnswerUsec = 3 * PA_USEC_PER_SEC;

}  // namespace

// The server's lock, held for the scope: the server's thread runs our callbacks under it.
class PulseOutput::Lock {
 public:
  explicit Lock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
  ~Lock() { pa_threaded_mainloop_unlock(loop_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  pa_threaded_mainloop* loop_;
};

PulseOutput::PulseOutput(Clock& clock) : watch_(clock) {
  feeder_.setSingleShot(true);
  QObject::connect(&feeder_, &QTimer::timeout, &feeder_, [this] { Feed(); });
}

PulseOutput::~PulseOutput() {
  Stop();
  Disconnect();
  if (loop_) {
    pa_threaded_mainloop_stop(loop_);
    pa_threaded_mainloop_free(loop_);
  }
}

// The server's thread, on each change of the connection's or the stream's state: a failed
// or ended one is marked lost at once, for Failed to see without the lock.
void PulseOutput::Notify(pa_context* context, void* self) {
  auto* out = static_cast<PulseOutput*>(self);
  if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) out->lost_ = true;
  pa_threaded_mainloop_signal(out->loop_, 0);
}

void PulseOutput::NotifyStream(pa_stream* stream, void* self) {
  auto* out = static_cast<PulseOutput*>(self);
  if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) out->lost_ = true;
  pa_threaded_mainloop_signal(out->loop_, 0);
}

template <typename Ready>
bool PulseOutput::WaitFor(Ready ready) {
  struct Deadline {
    pa_threaded_mainloop* loop;
    bool passed = false;
  } deadline{loop_};
  pa_mainloop_api* api = pa_threaded_mainloop_get_api(loop_);
  timeval at{};
  pa_timeval_add(pa_gettimeofday(&at), AnswerUsec);
  pa_time_event* timer = api->time_new(
      api, &at,
      [](pa_mainloop_api*, pa_time_event*, const timeval*, void* d) {
        auto* dl = static_cast<Deadline*>(d);
        dl->passed = true;
        pa_threaded_mainloop_signal(dl->loop, 0);
      },
      &deadline);
  bool ok = false;
  for (;;) {
    if (ready()) {
      ok = true;
      break;
    }
    if (deadline.passed || Broken()) break;
    pa_threaded_mainloop_wait(loop_);
  }
  api->time_free(timer);
  return ok;
}

// The connection or the stream has failed or ended, as their state callbacks marked it:
// asking the library for both states on every question would cost two more calls.
bool PulseOutput::Broken() const { return !context_ || lost_; }

bool PulseOutput::Connect() {
  if (!loop_) {
    loop_ = pa_threaded_mainloop_new();
    if (!loop_) return false;
    if (pa_threaded_mainloop_start(loop_) < 0) {
      pa_threaded_mainloop_free(loop_);
      loop_ = nullptr;
      return false;
    }
  }
  Lock lock(loop_);
  if (context_ && pa_context_get_state(context_) == PA_CONTEXT_READY) return true;
  if (context_) {
    // A server that went away: a new connection, perhaps to its successor. The old one's
    // end is no news.
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
  }
  context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "zk3 Zodovaz");
  if (!context_) return false;
  pa_context_set_state_callback(context_, &PulseOutput::Notify, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) return false;
  return WaitFor([this] { return pa_context_get_state(context_) == PA_CONTEXT_READY; });
}

void PulseOutput::Disconnect() {
  if (!context_) return;
  Lock lock(loop_);
  pa_context_set_state_callback(context_, nullptr, nullptr);
  pa_context_disconnect(context_);
  pa_context_unref(context_);
  context_ = nullptr;
}

bool PulseOutput::Start(FrameSource& source, int64_t fromFrame) {
  Stop();
  lost_ = false;
  if (!Connect() || !Open_Stream(source.Format())) {
    Stop();
    return false;
  }
  source_ = &source;
  next_ = fromFrame;
  written_ = 0;
  lastPlayed_ = -1;
  lastUsec_ = 0;
  reports_ = 0;
  reportAt_ = {};
  ended_ = drained_ = paused_ = false;
  watch_.Restart();
  Feed();
  return !Failed();
}

bool PulseOutput::Open_Stream(const PcmFormat& fmt) {
  channels_ = fmt.channels;
  rate_ = fmt.rate;
  Lock lock(loop_);
  const pa_sample_spec spec{PA_SAMPLE_S16LE, static_cast<uint32_t>(fmt.rate), static_cast<uint8_t>(fmt.channels)};
  stream_ = pa_stream_new(context_, "Playback", &spec, nullptr);
  if (!stream_) return false;
  pa_stream_set_state_callback(stream_, &PulseOutput::NotifyStream, this);
  pa_buffer_attr attr;
  attr.maxlength = attr.prebuf = attr.fragsize = static_cast<uint32_t>(-1);
  attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(LatencyMs * PA_USEC_PER_MSEC, &spec));
  attr.minreq = static_cast<uint32_t>(pa_usec_to_bytes(TopUpMs * PA_USEC_PER_MSEC, &spec));
  // The server reports where it is now and then by itself; asking for the position costs
  // no trip to the server (Played_Usec).
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
  if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0) return false;
  return WaitFor([this] { return pa_stream_get_state(stream_) == PA_STREAM_READY; });
}

void PulseOutput::Feed() {
  if (!stream_ || paused_ || ended_) return;
  size_t room = 0;
  {
    Lock lock(loop_);
    if (Broken()) return;
    room = pa_stream_writable_size(stream_);
  }
  Top_Up(room);
}

// Hands the server up to `room` bytes of sound, once that is enough to be worth a write.
void PulseOutput::Top_Up(size_t room) {
  if (!stream_ || paused_ || ended_) return;
  const size_t frameBytes = 2 * static_cast<size_t>(channels_);
  const size_t topUp = static_cast<size_t>(rate_) * TopUpMs / 1000 * frameBytes;
  if (room == static_cast<size_t>(-1) || room < topUp) {
    // A timer that fired for nothing looks again: with nobody asking, it alone keeps the
    // sound going. A question leaves a waiting timer be.
    if (!feeder_.isActive()) feeder_.start(RetryMs);
    return;
  }
  const int64_t frames = static_cast<int64_t>(room / frameBytes);
  buffer_.resize(static_cast<size_t>(frames) * channels_);
  // Read outside the lock: the server's thread never waits for the disk.
  const int64_t got = source_->Read(next_, buffer_.data(), frames);
  Lock lock(loop_);
  if (Broken()) return;
  if (got > 0) {
    if (pa_stream_write(stream_, buffer_.data(), static_cast<size_t>(got) * frameBytes, nullptr, 0, PA_SEEK_RELATIVE) <
        0)
      return;
    next_ += got;
    written_ += got;
  }
  if (got < frames) {
    // The end: what is in the buffer plays out (also when it is less than the server
    // waits for before it starts), and the drain says when it has.
    ended_ = true;
    drain_ = pa_stream_drain(
        stream_,
        [](pa_stream*, int, void* self) {
          auto* out = static_cast<PulseOutput*>(self);
          out->drained_ = true;
          pa_threaded_mainloop_signal(out->loop_, 0);
        },
        this);
    return;
  }
  feeder_.start(FallbackMs);
}

void PulseOutput::Cork(bool paused) {
  if (!stream_) return;
  paused_ = paused;
  Lock lock(loop_);
  if (Broken()) return;
  // Not waited for: the position stops at once all the same.
  pa_operation* op = pa_stream_cork(stream_, paused ? 1 : 0, nullptr, nullptr);
  if (op) pa_operation_unref(op);
}

void PulseOutput::Pause() {
  feeder_.stop();
  Cork(true);
}

void PulseOutput::Resume() {
  Cork(false);
  watch_.Restart();
  Feed();
}

void PulseOutput::Stop() {
  feeder_.stop();
  if (!stream_) return;
  Lock lock(loop_);
  // A drain still under way must not end the stream that comes next.
  if (drain_) {
    pa_operation_cancel(drain_);
    pa_operation_unref(drain_);
    drain_ = nullptr;
  }
  pa_stream_set_state_callback(stream_, nullptr, nullptr);
  pa_stream_disconnect(stream_);
  pa_stream_unref(stream_);
  stream_ = nullptr;
  source_ = nullptr;
}

int64_t PulseOutput::PlayedFrames() {
  if (!stream_) return 0;
  int64_t played = std::max<int64_t>(lastPlayed_, 0);
  size_t room = 0;
  {
    Lock lock(loop_);
    if (drained_) return written_;
    if (Broken()) return played;
    played = std::min(Played_Usec() * rate_ / static_cast<int64_t>(PA_USEC_PER_SEC), written_);
    room = pa_stream_writable_size(stream_);
  }
  // Each question tops the buffer up: the player asks once or more a record.
  Top_Up(room);
  if (played != lastPlayed_) {
    lastPlayed_ = played;
    watch_.Restart();
  }
  return played;
}

// The lock held: the time of the sound at the loudspeaker now. The server's last report
// says how far it had read and how much of that was still in the device; the time since
// that report is added while it plays. The device's part is averaged over the last
// reports, which scatter; the answer never goes back.
int64_t PulseOutput::Played_Usec() {
  const pa_timing_info* info = pa_stream_get_timing_info(stream_);
  if (!info || paused_) return lastUsec_;
  if (info->timestamp.tv_sec != reportAt_.tv_sec || info->timestamp.tv_usec != reportAt_.tv_usec) {
    reportAt_ = info->timestamp;
    // Only a report from a stream well under way says how much the device holds.
    if (info->playing && info->since_underrun >= 0 && Usec_Of(info->since_underrun) > int64_t(info->sink_usec)) {
      deviceUsec_[reports_++ % deviceUsec_.size()] = static_cast<int64_t>(info->sink_usec);
    }
  }
  const size_t n = std::min(reports_, deviceUsec_.size());
  int64_t device = 0;
  for (size_t i = 0; i < n; ++i) device += deviceUsec_[i];
  if (n > 0) device /= static_cast<int64_t>(n);
  int64_t usec = Usec_Of(std::max<int64_t>(info->read_index, 0)) - device;
  if (info->playing) usec += static_cast<int64_t>(pa_timeval_age(&info->timestamp));
  usec = std::clamp(usec, lastUsec_, written_ * static_cast<int64_t>(PA_USEC_PER_SEC) / rate_);
  lastUsec_ = usec;
  return usec;
}

// The time `bytes` of the stream's sound last (the format is known: asking the server's
// library for it would be one more system call on every question).
int64_t PulseOutput::Usec_Of(int64_t bytes) const {
  return bytes / (2 * channels_) * static_cast<int64_t>(PA_USEC_PER_SEC) / rate_;
}

// Broken, or playing while the position has not moved for a while.
bool PulseOutput::Failed() {
  if (!stream_) return false;
  // Without the lock: the player asks with every question of the position, and the
  // server's thread marks a loss as it happens.
  if (lost_) return true;
  if (paused_ || drained_) return false;
  if (watch_.Elapsed() <= DeviceStallSeconds) return false;
  // Asked afresh before it counts: nobody may have asked for a while.
  PlayedFrames();
  return watch_.Elapsed() > DeviceStallSeconds;
}

}  // namespace zk
