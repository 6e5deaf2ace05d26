#include "sound/QtSound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QMediaDevices>

namespace zk {

namespace {

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
  return watch_.Elapsed() > DeviceStallSeconds;
}

}  // namespace zk
