#include "sound/QtSound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>
#include <algorithm>

namespace zk {

namespace {

// A device that has delivered or consumed nothing for this long is taken as broken. The
// sound server can take a second or two to start a stream, so this allows for more.
constexpr double StallSeconds = 5.0;
// The output's buffer: short enough that the position starts moving at once.
constexpr int BufferMs = 150;
// The input asks the sound server to hand its sound over every 100 ms. The capture clock
// places the present moment between deliveries (CaptureClock), so longer blocks cost
// little accuracy, while 20 ms ones woke the program and the server's thread 50 times a
// second more and took half the CPU of a recording. On the time-base rig a record and its
// sound lie 3 ms apart on average whether the server passes on 20 ms or 150 ms blocks
// (with 20 ms blocks asked: 1 ms and 8 ms).
constexpr int InputBlockMs = 100;

QAudioFormat QtFormat(const PcmFormat& f) {
  QAudioFormat q;
  q.setSampleRate(f.rate);
  q.setChannelCount(f.channels);
  q.setSampleFormat(QAudioFormat::Int16);
  return q;
}

bool Broken(QAudio::Error e) { return e == QAudio::OpenError || e == QAudio::IOError || e == QAudio::FatalError; }

}  // namespace

bool HaveSoundInput() { return !QMediaDevices::defaultAudioInput().isNull(); }
bool HaveSoundOutput() { return !QMediaDevices::defaultAudioOutput().isNull(); }

QtInput::~QtInput() { Release(); }

// Qt's sound devices run events while they are destroyed (a receive event may come in
// there and ask for the position): the members are emptied first, so whatever those
// events call finds the input stopped rather than a device half gone.
void QtInput::Release() {
  io_ = nullptr;
  std::unique_ptr<QAudioSource> source = std::move(source_);
  if (source) source->stop();
}

bool QtInput::Start(const PcmFormat& fmt, int64_t) {
  const QAudioDevice dev = QMediaDevices::defaultAudioInput();
  if (dev.isNull()) return false;
  source_ = std::make_unique<QAudioSource>(dev, QtFormat(fmt));
  source_->setBufferSize(static_cast<qsizetype>(fmt.rate) * fmt.channels * 2 * InputBlockMs / 1000);
  io_ = source_->start();
  partial_.clear();
  watch_.Restart();
  return io_ != nullptr && !Broken(source_->error());
}

void QtInput::Collect(PcmSamples& into) {
  // A source that has failed may already have let its stream go: nothing more is read.
  if (!io_ || !source_ || Broken(source_->error())) return;
  QByteArray data = partial_ + io_->readAll();
  const qsizetype whole = data.size() / 2 * 2;
  partial_ = data.mid(whole);
  if (whole == 0) return;
  const auto* samples = reinterpret_cast<const int16_t*>(data.constData());
  into.insert(into.end(), samples, samples + whole / 2);
  watch_.Restart();
}

void QtInput::Stop(PcmSamples& into) {
  Collect(into);
  Release();
}

bool QtInput::Failed() {
  if (!source_) return false;
  if (!io_ || Broken(source_->error())) return true;
  if (io_ && io_->bytesAvailable() > 0) return false;  // sound is waiting to be collected
  return watch_.Elapsed() > StallSeconds;
}

qint64 FrameDevice::readData(char* data, qint64 maxSize) {
  const int channels = source_.Format().channels;
  const qint64 frames = maxSize / (2 * channels);
  if (frames <= 0) return 0;
  const int64_t got = source_.Read(frame_, reinterpret_cast<int16_t*>(data), frames);
  if (got <= 0) {
    ended_ = true;
    return 0;
  }
  frame_ += got;
  return got * 2 * channels;
}

qint64 FrameDevice::bytesAvailable() const {
  const int64_t end = source_.Frames();
  const int64_t left = end < 0 ? (1 << 20) : std::max<int64_t>(0, end - frame_) * 2 * source_.Format().channels;
  return left + QIODevice::bytesAvailable();
}

QtOutput::~QtOutput() { Stop(); }

bool QtOutput::Start(FrameSource& source, int64_t fromFrame) {
  Stop();
  const QAudioDevice dev = QMediaDevices::defaultAudioOutput();
  if (dev.isNull()) return false;
  rate_ = source.Format().rate;
  startFrame_ = fromFrame;
  device_ = std::make_unique<FrameDevice>(source, fromFrame);
  device_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  sink_ = std::make_unique<QAudioSink>(dev, QtFormat(source.Format()));
  // A short buffer: the sound server would otherwise wait for seconds of sound before it
  // starts, and the position (the player's clock) would stand still meanwhile.
  sink_->setBufferSize(static_cast<qsizetype>(rate_) * source.Format().channels * 2 * BufferMs / 1000);
  sink_->start(device_.get());
  lastProcessed_ = -1;
  watch_.Restart();
  return !Broken(sink_->error());
}

void QtOutput::Pause() {
  if (sink_) sink_->suspend();
}

void QtOutput::Resume() {
  if (!sink_) return;
  sink_->resume();
  watch_.Restart();
}

void QtOutput::Stop() {
  // Emptied before the sink goes, as with the input: its destruction runs events.
  std::unique_ptr<QAudioSink> sink = std::move(sink_);
  if (sink) sink->stop();
  sink.reset();
  device_.reset();
}

int64_t QtOutput::PlayedFrames() {
  if (!sink_) return 0;
  // Once everything has gone to the device and it has run dry, the track is over.
  if (device_->AtEnd() && sink_->state() == QAudio::IdleState) return device_->Frame() - startFrame_;
  // Each question to the sound server takes its lock: the position is asked here only, and
  // Failed judges by what was seen here.
  const qint64 processed = sink_->processedUSecs();
  if (processed != lastProcessed_) {
    lastProcessed_ = processed;
    watch_.Restart();
  }
  return processed * rate_ / 1000000;
}

// Broken, or playing while the position PlayedFrames reads has not moved for a while.
bool QtOutput::Failed() {
  if (!sink_) return false;
  if (Broken(sink_->error())) return true;
  if (sink_->state() == QAudio::SuspendedState || device_->AtEnd()) return false;
  if (watch_.Elapsed() <= StallSeconds) return false;
  // Asked afresh before it counts: nobody may have asked for a while.
  PlayedFrames();
  return watch_.Elapsed() > StallSeconds;
}

}  // namespace zk
