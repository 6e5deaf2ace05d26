#include "spool/SpoolDriver.h"

#include <algorithm>

#include "base/RecordingRates.h"
#include "base/Version.h"

namespace zk {

void SpoolDriver::Begin() {
  Remove();
  if (folder_.empty()) return;
  const SessionState& st = ctx_.state;
  SpoolInfo info;
  info.RecordStartSeconds = st.RecordStartSeconds;
  info.RecordStartDay = st.RecordStartDay;
  info.RecordDate = st.RecordDate;
  info.Audio = ctx_.settings.AudioEnable;
  // A spool that cannot be made leaves the recording as it always was: in memory only.
  spool_ = SpoolWriter::Begin(folder_, info, beginError_);
  warned_ = false;
  audio_ = info.Audio;
  soundFrom_ = SoundBytesPerSecond;  // the pre-roll second
  second_ = 0;
}

void SpoolDriver::Take_Sound() {
  sound_.clear();
  if (ctx_.audio.RecordedSound(soundFrom_, sound_) != 0) return;
  spool_->AppendSound(sound_.data(), sound_.size());
  soundFrom_ += static_cast<int32_t>(sound_.size() * sizeof(int16_t));
}

void SpoolDriver::Record(const SampleRecord& record) {
  if (!spool_) return;
  const SessionState& st = ctx_.state;
  // With sound a record's second is the sound's; without, 50 messages make a second.
  const int32_t second = audio_ ? st.ElapsedSecs : std::max(st.RecSampleCount - 1, 0) / RecordsPerSecond;
  if (second > second_) {
    if (audio_) {
      Take_Sound();
      // The sound's position runs ahead of the sound handed over by up to a block: a
      // second is complete only once its sound is in the spool, as its mark says.
      second_ = std::max(second_, std::min(second, soundFrom_ / SoundBytesPerSecond - 1));
    } else {
      second_ = second;
    }
  }
  spool_->AppendRecord(record, second_);
}

void SpoolDriver::Finish(int32_t seconds) {
  if (!spool_) return;
  if (audio_) Take_Sound();
  spool_->Finish(seconds);
}

void SpoolDriver::Adopt(std::unique_ptr<SpoolFolder> folder) {
  Remove();
  adopted_ = std::move(folder);
}

void SpoolDriver::Respool(const RecoveredRecording& r, SpoolSound& sound) {
  Remove();
  if (folder_.empty()) return;
  spool_ = SpoolWriter::Begin(folder_, r.info, beginError_);
  warned_ = false;
  audio_ = r.info.Audio;
  if (!spool_) return;
  // Written a second at a time, as while recording: each second's sound before the first
  // record of the next second, so that every mark follows what it counts.
  const uint64_t samples = audio_ ? r.SoundBytes / 2 : 0;
  uint64_t soundDone = 0;
  const auto soundUpTo = [&](uint64_t end) {
    end = std::min(end, samples);
    while (soundDone < end) {
      sound_.resize(static_cast<std::size_t>(std::min<uint64_t>(end - soundDone, SoundSampleRate)));
      const std::size_t n = sound.Read(sound_.data(), sound_.size());
      if (n == 0) break;
      spool_->AppendSound(sound_.data(), n);
      soundDone += n;
    }
  };
  second_ = 0;
  for (int32_t k = 1; k <= r.RecordCount; ++k) {
    const SampleRecord& record = r.records[static_cast<std::size_t>(k)];
    const int32_t second = std::clamp(record.TimeMs / 1000, second_, std::max(r.Seconds - 1, 0));
    if (second > second_) {
      soundUpTo(static_cast<uint64_t>(second) * SoundBytesPerSecond / 2);
      second_ = second;
    }
    spool_->AppendRecord(record, second_);
  }
  soundUpTo(samples);
  spool_->Finish(r.Seconds);
}

std::string SpoolDriver::Path() const {
  if (spool_) return spool_->Path();
  if (adopted_) return adopted_->Path();
  return "";
}

void SpoolDriver::Warn_Unprotected() {
  if (warned_) return;
  const FileError error = spool_ ? spool_->Failure() : beginError_;
  if (!error) return;
  warned_ = true;
  std::string text =
      "The recording goes on in memory, but the copy that would bring it back after a crash cannot "
      "be written to\n";
  text += folder_;
  text += "\n(";
  text += error.description;
  text += ").\n\nMake room there, or save the recording as soon as it has stopped.";
  ctx_.prompts.MsgBox(text, ProgramTitle, MsgButtons::OK, MsgIcon::Warning);
}

void SpoolDriver::Keep() {
  spool_.reset();  // its end writes what was appended and waits for the disk
  adopted_.reset();
}

void SpoolDriver::Remove() {
  beginError_ = {};
  if (spool_) spool_->Remove();
  spool_.reset();
  if (adopted_) adopted_->Remove();
  adopted_.reset();
}

}  // namespace zk
