#pragma once
// Sound from the machine's default input device (Qt Multimedia), and whether the machine
// has a default input and output device.
#include <QAudioSource>
#include <QIODevice>
#include <QPointer>
#include <memory>

#include "sound/ClockSound.h"
#include "sound/SoundIO.h"

namespace zk {

// True when the machine has a default input / output device.
bool HaveSoundInput();
bool HaveSoundOutput();

class QtInput : public SoundInput {
 public:
  explicit QtInput(Clock& clock) : watch_(clock) {}
  ~QtInput() override;
  bool Real() const override { return true; }
  bool Start(const PcmFormat& fmt, int64_t framesSoFar) override;
  void Collect(PcmSamples& into) override;
  void Stop(PcmSamples& into) override;
  bool Failed() override;

 private:
  void Release();
  Stopwatch watch_;  // time since the capture last delivered sound
  std::unique_ptr<QAudioSource> source_;
  // The stream the source hands its sound to. The source deletes it itself when the sound
  // server goes away, so it is held by a guarded pointer that is then empty.
  QPointer<QIODevice> io_;
  QByteArray partial_;  // an odd byte left over between reads
};

}  // namespace zk
