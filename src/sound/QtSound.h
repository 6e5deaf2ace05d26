#pragma once
// Sound through the machine's default input and output devices (Qt Multimedia).
#include <QAudioSink>
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

// Feeds a FrameSource to the sink as 16-bit PCM.
class FrameDevice : public QIODevice {
 public:
  FrameDevice(FrameSource& source, int64_t fromFrame) : source_(source), frame_(fromFrame) {}
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;
  bool AtEnd() const { return ended_; }
  int64_t Frame() const { return frame_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  FrameSource& source_;
  int64_t frame_;
  bool ended_ = false;
};

class QtOutput : public SoundOutput {
 public:
  explicit QtOutput(Clock& clock) : watch_(clock) {}
  ~QtOutput() override;
  bool Real() const override { return true; }
  bool Start(FrameSource& source, int64_t fromFrame) override;
  void Pause() override;
  void Resume() override;
  void Stop() override;
  int64_t PlayedFrames() override;
  bool Failed() override;

 private:
  Stopwatch watch_;  // how long the sink has consumed nothing
  std::unique_ptr<FrameDevice> device_;
  std::unique_ptr<QAudioSink> sink_;
  int32_t rate_ = SoundSampleRate;
  int64_t startFrame_ = 0;
  qint64 lastProcessed_ = -1;
};

}  // namespace zk
