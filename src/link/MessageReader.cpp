#include "link/MessageReader.h"

#include "base/Numbers.h"
#include "base/RecordingRates.h"
#include "core/SoundQueries.h"
#include "link/Delays.h"

namespace zk {

MessageReader::MessageReader(Context& ctx, SerialPort& port) : ctx_(ctx), port_(port) {}

void MessageReader::Begin() { start_ = ctx_.clock.Timer(); }

void MessageReader::Refresh_Time_Base() {
  SessionState& st = ctx_.state;
  if (st.OperatingMode != ModeRecording) {
    st.AudioSecsSeen = 0;
    st.ElapsedSecs = 0;
    shownSecs_ = -1;
    return;
  }
  if (ctx_.settings.AudioEnable) {
    if (Query_Position(ctx_.audio, st) != 0) return;
    const int32_t position = st.AudioPosition;
    // 22050 samples/s of 16-bit mono: 44100 bytes per second of sound.
    const auto whole = static_cast<int32_t>(IntDiv(position, SoundBytesPerSecond));
    // The message count runs on through the seconds: the records are timed from it and
    // from this position (RecordClock), not from the second a message falls in.
    if (whole > st.AudioSecsSeen) {
      st.AudioSecsSeen = whole;
      st.ElapsedSecs = whole - 1;
      ctx_.controls.SetCaption("lblPlayTime", Format_Time(whole - 1, st.TotalTimeMs));
    }
  } else {
    // Polled for every character: the label is rewritten only when its second changes.
    const auto secs = static_cast<int32_t>(IntDiv(st.RecSampleCount, RecordsPerSecond));
    if (secs == shownSecs_) return;
    shownSecs_ = secs;
    ctx_.controls.SetCaption("lblPlayTime", Format_Time(secs, st.TotalTimeMs));
  }
}

MessageReader::Result MessageReader::Next(std::string& message) {
  message.clear();
  for (;;) {
    Refresh_Time_Base();
    const double elapsed = Timer_Elapsed(start_, ctx_.clock.Timer());
    if (elapsed > Deadline) return Result::TimedOut;
    if (port_.InBufferCount() > 0) {
      const std::string c = port_.Input();
      if (c.empty()) continue;
      if (c[0] == '\r') return message.empty() ? Result::Empty : Result::Message;
      // Only the kind and the first digits matter; a runaway line cannot grow the buffer.
      if (Passes(c[0]) && message.size() < MaxLength) message += c[0];
      continue;
    }
    // Nothing waits: sleep on the port until a character arrives or just past the deadline.
    port_.WaitForInput(static_cast<int>((Deadline - elapsed) * 1000.0) + 1);
  }
}

}  // namespace zk
