// Records two seconds through the real sound input and plays them back through the real
// output, against a private PulseAudio server with a null sink and a null source.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include "TestFiles.h"
#include "core/QtSeams.h"
#include "sound/AudioFactory.h"
#include "sound/ClockSound.h"
#include "sound/PulseOutput.h"
#include "sound/QtSound.h"
#include "sound/SoundFile.h"
#include "sound/TrackDevice.h"

extern char** environ;

namespace zk {
namespace {

using namespace std::chrono_literals;

class PulseServer {
 public:
  PulseServer() {
    const std::string runtime = dir_.str();
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + runtime, "HOME=" + runtime};
    for (char** e = environ; *e; ++e)
      if (std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) && std::strncmp(*e, "HOME=", 5)) env.emplace_back(*e);
    std::vector<std::string> args = {"pulseaudio",
                                     "--daemonize=no",
                                     "--exit-idle-time=-1",
                                     "-n",
                                     "--use-pid-file=no",
                                     "--disallow-exit",
                                     "--load=module-null-sink",
                                     "--load=module-null-source",
                                     "--load=module-native-protocol-unix auth-anonymous=1"};
    auto ptrs = [](std::vector<std::string>& v) {
      std::vector<char*> p;
      for (auto& s : v) p.push_back(s.data());
      p.push_back(nullptr);
      return p;
    };
    auto argv = ptrs(args), envp = ptrs(env);
    const std::string log = runtime + "/log";
    pid_ = ::fork();
    if (pid_ == 0) {
      // The server ends with the test, even when the test is killed.
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);
      int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (fd >= 0) {
        ::dup2(fd, 1);
        ::dup2(fd, 2);
      }
      ::execvpe("pulseaudio", argv.data(), envp.data());
      ::_exit(127);
    }
    if (pid_ < 0) why = "pulseaudio could not be started";
    if (pid_ < 0) return;
    socket = runtime + "/pulse/native";
    for (int i = 0; i < 100 && !ok; ++i) {
      std::this_thread::sleep_for(50ms);
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        why = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "pulseaudio is not installed"
                                                              : "pulseaudio ended at once";
        return;
      }
      ok = std::filesystem::exists(socket);
    }
    if (!ok) why = "pulseaudio did not open its socket";
  }
  ~PulseServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool ok = false;
  std::string why, socket;

 private:
  test::TempFolder dir_;
  pid_t pid_ = -1;
};

// Points the sound library at `pulse` and makes the application object that sound needs.
std::unique_ptr<QCoreApplication> SoundApp(const PulseServer& pulse) {
  ::setenv("PULSE_SERVER", ("unix:" + pulse.socket).c_str(), 1);
  static int argc = 1;
  static char name[] = "sound_tests";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QCoreApplication>(argc, argv);
}

// Polls the device until `done` or a generous deadline, letting Qt run meanwhile.
template <class F>
bool PollUntil(Events& events, F done) {
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    events.DoEvents();
  }
  return true;
}

TEST(SoundDevices, RecordsTwoSecondsAndPlaysThemBack) {
  // Qt keeps its connection to the sound server until the process ends. The server made
  // here, before Qt's first use of sound, is ended after Qt lets go of it: a server killed
  // at the end of the test would leave Qt's teardown at exit racing its own reconnection.
  static const auto server = std::make_unique<PulseServer>();
  const PulseServer& pulse = *server;
  if (!pulse.ok) GTEST_SKIP() << "no PulseAudio here (" << pulse.why << "); the real sound devices are not tested";
  const auto app = SoundApp(pulse);
  ASSERT_TRUE(HaveSoundInput());
  ASSERT_TRUE(HaveSoundOutput());

  SystemClock clock;
  QtEvents events;
  std::vector<std::string> notices;  // any notice means the device fell back to the clock
  auto dev = MakeAudioDevice(clock, [&](const std::string& t) { notices.push_back(t); });

  ASSERT_EQ(dev->OpenNewRecording(), 0);
  ASSERT_EQ(dev->Record(), 0);
  int32_t pos = 0, last = 0;
  bool forward = true;
  int32_t length = 0;
  ASSERT_TRUE(PollUntil(events, [&] {
    dev->Position(pos);
    forward = forward && pos >= last && pos % 2 == 0;
    last = pos;
    dev->Length(length);  // the position runs ahead of the sound handed over, by a block at most
    return length >= 2 * 44100;
  }));
  // Qt's devices run events while they are taken down; a receive event that comes in then
  // asks for the position, which must not reach into a device half gone.
  QTimer asker;
  asker.setInterval(0);
  QObject::connect(&asker, &QTimer::timeout, [&] {
    int32_t p = 0, l = 0;
    dev->Position(p);
    dev->Length(l);
  });
  asker.start();
  ASSERT_EQ(dev->Stop(), 0);
  asker.stop();
  EXPECT_TRUE(forward);
  EXPECT_TRUE(notices.empty()) << notices.front();
  dev->Length(length);
  EXPECT_GE(length, 2 * 44100);

  test::TempFolder dir;
  ASSERT_EQ(dev->SaveWav(dir / "two.wav"), 0);
  std::string error;
  auto saved = SoundFileSource::Open(dir / "two.wav", error);
  ASSERT_NE(saved, nullptr) << error;
  EXPECT_EQ(saved->Frames() * 2, length);
  EXPECT_EQ(saved->Format().rate, 22050);

  // Play the recording in memory, then the saved file, each to its end.
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      ASSERT_EQ(dev->OpenWav(dir / "two.wav"), 0);
    }
    ASSERT_EQ(dev->PlayFrom(0), 0);
    AudioMode mode = AudioMode::Playing;
    if (round == 1) {
      // A pause holds the position; play goes on from there.
      ASSERT_TRUE(PollUntil(events, [&] { return dev->Position(pos) == 0 && pos >= length / 4; }));
      ASSERT_EQ(dev->Pause(), 0);
      int32_t held = 0, later = 0;
      dev->Position(held);
      for (int i = 0; i < 100; ++i) events.DoEvents();
      dev->Mode(mode);
      dev->Position(later);
      EXPECT_EQ(mode, AudioMode::Paused);
      EXPECT_LT(later - held, 4410);  // at most a tenth of a second still in the pipe
      ASSERT_EQ(dev->Play(), 0);
    }
    last = 0;
    forward = true;
    ASSERT_TRUE(PollUntil(events,
                          [&] {
                            dev->Mode(mode);
                            dev->Position(pos);
                            forward = forward && pos >= last;
                            last = pos;
                            return mode == AudioMode::Stopped;
                          }))
        << "round " << round;
    EXPECT_TRUE(forward);
    EXPECT_EQ(pos, length) << "round " << round;
    EXPECT_TRUE(notices.empty()) << notices.front();
  }
  dev->Close();
}

// The sound server goes away in the middle of a playback: the position goes on by the
// clock from where the sound stopped, to the end, and the user is told once at the next
// command; a playback started with no server goes by the clock at once.
TEST(SoundDevices, PlaybackOutlivesTheSoundServer) {
  auto pulse = std::make_unique<PulseServer>();
  if (!pulse->ok) GTEST_SKIP() << "no PulseAudio here (" << pulse->why << "); the real sound output is not tested";
  const auto app = SoundApp(*pulse);

  SystemClock clock;
  QtEvents events;
  std::vector<std::string> notices;
  // A silent second and a half, recorded on the clock, to play through the real output.
  TrackDevice dev(clock, std::make_unique<ClockInput>(clock), std::make_unique<PulseOutput>(clock),
                  [&](const std::string& t) { notices.push_back(t); });
  ASSERT_EQ(dev.OpenNewRecording(), 0);
  ASSERT_EQ(dev.Record(), 0);
  int32_t length = 0, pos = 0, last = 0;
  ASSERT_TRUE(PollUntil(events, [&] { return dev.Position(pos) == 0 && dev.Length(length) == 0 && length >= 66150; }));
  ASSERT_EQ(dev.Stop(), 0);
  dev.Length(length);
  notices.clear();  // the clock input's own notice

  // A seek back while the end plays out: the end of the stream left behind does not end
  // the playback that follows.
  AudioMode mode = AudioMode::Playing;
  ASSERT_EQ(dev.PlayFrom(length - 4410), 0);  // a tenth of a second before the end
  for (int i = 0; i < 5; ++i) {
    events.DoEvents();
    dev.Position(pos);
  }
  ASSERT_EQ(dev.PlayFrom(0), 0);
  const auto until = std::chrono::steady_clock::now() + 600ms;
  while (std::chrono::steady_clock::now() < until) {
    events.DoEvents();
    dev.Mode(mode);
    ASSERT_EQ(mode, AudioMode::Playing);
  }
  ASSERT_TRUE(PollUntil(events, [&] { return dev.Position(pos) == 0 && pos >= length / 2; }));
  EXPECT_TRUE(notices.empty());
  pulse.reset();
  const auto gone = std::chrono::steady_clock::now();

  bool forward = true;
  last = pos;
  ASSERT_TRUE(PollUntil(events, [&] {
    dev.Mode(mode);
    dev.Position(pos);
    forward = forward && pos >= last;
    last = pos;
    return mode == AudioMode::Stopped;
  }));
  // The loss is seen at once, not taken for a stall some seconds later: the rest of the
  // track (under a second) plays on the clock.
  EXPECT_LT(std::chrono::steady_clock::now() - gone, 3s);
  EXPECT_TRUE(forward);
  EXPECT_EQ(pos, length);
  EXPECT_TRUE(notices.empty());  // not inside a position question

  ASSERT_EQ(dev.PlayFrom(0), 0);  // the next command tells, once
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("stopped playing"), std::string::npos) << notices[0];
  ASSERT_TRUE(PollUntil(events, [&] { return dev.Position(pos) == 0 && pos >= length / 3; }));
  dev.Close();
  EXPECT_EQ(notices.size(), 1u);
}

// A menu or a box open during a playback holds the play loop, and nobody asks for the
// position: the output's own timer keeps the sound going meanwhile, whatever room the
// server had when it looked.
TEST(SoundDevices, PlaybackGoesOnWhileNobodyAsks) {
  PulseServer pulse;
  if (!pulse.ok) GTEST_SKIP() << "no PulseAudio here (" << pulse.why << "); the real sound output is not tested";
  const auto app = SoundApp(pulse);

  const PcmSamples tenSeconds(10 * SoundSampleRate, 0);
  MemorySource silence(tenSeconds, {SoundSampleRate, 1});
  SystemClock clock;
  QtEvents events;
  PulseOutput out(clock);
  ASSERT_TRUE(out.Start(silence, 0));
  int64_t from = 0;
  ASSERT_TRUE(PollUntil(events, [&] { return (from = out.PlayedFrames()) > 0; }));
  // A second and a half with no question: the buffer alone lasts a fifth of that.
  const auto until = std::chrono::steady_clock::now() + 1500ms;
  while (std::chrono::steady_clock::now() < until) events.DoEvents();
  EXPECT_GE(out.PlayedFrames() - from, SoundSampleRate);
  EXPECT_FALSE(out.Failed());
  out.Stop();
}

}  // namespace
}  // namespace zk
