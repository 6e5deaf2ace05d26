#include "sound/AudioFactory.h"

#include "sound/ClockSound.h"
#include "sound/PulseOutput.h"
#include "sound/QtSound.h"
#include "sound/TrackDevice.h"

namespace zk {

std::unique_ptr<AudioDevice> MakeAudioDevice(Clock& clock, AudioNotice notice, const std::string& scratchFolder) {
  std::unique_ptr<SoundInput> in;
  std::unique_ptr<SoundOutput> out;
  if (HaveSoundInput())
    in = std::make_unique<QtInput>(clock);
  else
    in = std::make_unique<ClockInput>(clock);
  if (HaveSoundOutput())
    out = std::make_unique<PulseOutput>(clock);
  else
    out = std::make_unique<ClockOutput>(clock);
  return std::make_unique<TrackDevice>(clock, std::move(in), std::move(out), std::move(notice), scratchFolder);
}

std::unique_ptr<AudioDevice> MakeNullAudioDevice(Clock& clock, AudioNotice notice) {
  return std::make_unique<TrackDevice>(clock, std::make_unique<ClockInput>(clock), std::make_unique<ClockOutput>(clock),
                                       std::move(notice));
}

}  // namespace zk
