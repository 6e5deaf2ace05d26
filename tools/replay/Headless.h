#pragma once
// The window's side of the seams without a window: a view that keeps the needle it was
// given to draw, prompts that take the first button, a shell and an
// audio device that do nothing. Control states are kept in a core ControlTable.
#include <optional>
#include <string>

#include "core/AudioDevice.h"
#include "core/MeterView.h"
#include "core/Prompts.h"
#include "core/SessionState.h"
#include "core/Shell.h"

namespace zk::replay {

class HeadlessView : public MeterView {
 public:
  explicit HeadlessView(SessionState& st) : st_(st) {}

  // The needle drawn last; nullopt when nothing was drawn since Take.
  std::optional<int32_t> TakeDrawn() {
    auto d = drawn_;
    drawn_.reset();
    return d;
  }

  // A full redraw of the dial restarts the engine on the next reading.
  void Draw_Panel() override { st_.ResetPending = true; }
  void Draw_Needle(int32_t p) override { drawn_ = p; }
  void Remove_Needle() override {}
  void Update_LED(int32_t color) override { st_.LedColor = color; }
  void Update_ModeDisplay() override {}
  void Update_BaseDisplay(const std::string&) override {}
  void Update_BdDisplay(const std::string&) override {}
  void Update_SensKnob() override {}
  void Update_Graph(int32_t) override {}
  void Update_Clock(int16_t&, int16_t&, int16_t&, int32_t) override {}

 private:
  SessionState& st_;
  std::optional<int32_t> drawn_;
};

class FirstButtonPrompts : public Prompts {
 public:
  MsgResult MsgBox(const std::string&, const std::string&, MsgButtons b, MsgIcon) override {
    switch (b) {
      case MsgButtons::YesNo:
      case MsgButtons::YesNoCancel: return MsgResult::Yes;
      case MsgButtons::RetryCancel: return MsgResult::Retry;
      default: return MsgResult::OK;
    }
  }
  std::optional<std::string> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<int32_t> ChooseColor(int32_t) override { return std::nullopt; }
};

class QuietShell : public Shell {
 public:
  void cmdStop_Click() override {}
  void Update_Command_State() override {}
  void Update_RecordModeLabel() override {}
  void Form_Resize() override {}
  void Apply_Settings_To_Menus() override {}
  void Beep() override {}
  void Splash_Show() override {}
  void Splash_Info(const std::string&) override {}
  void Splash_Unload() override {}
};

// No sound device: every call fails with code 1.
class NoAudio : public AudioDevice {
 public:
  int32_t Close() override { return 1; }
  int32_t OpenNewRecording() override { return 1; }
  int32_t Record() override { return 1; }
  int32_t OpenWav(const std::string&) override { return 1; }
  int32_t OpenMp3(const std::string&) override { return 1; }
  int32_t OpenSilentTrack(const std::string&) override { return 1; }
  int32_t Play() override { return 1; }
  int32_t PlayFrom(int32_t) override { return 1; }
  int32_t Pause() override { return 1; }
  int32_t Stop() override { return 1; }
  int32_t SeekTo(int32_t) override { return 1; }
  int32_t SeekToStart() override { return 1; }
  int32_t DeleteFromStart(int32_t) override { return 1; }
  int32_t EndAt(int32_t) override { return 1; }
  int32_t SaveWav(const std::string&) override { return 1; }
  int32_t RecordedSound(int32_t, std::vector<int16_t>&) override { return 1; }
  int32_t OpenRecordedSound(const SoundPieces&) override { return 1; }
  int32_t Position(int32_t&) override { return 1; }
  int32_t Length(int32_t&) override { return 1; }
  int32_t Mode(AudioMode& m) override {
    m = AudioMode::NotReady;
    return 1;
  }
  int32_t SamplesPerSec(int32_t&) override { return 1; }
  int32_t BitsPerSample(int32_t&) override { return 1; }
  int32_t Channels(int32_t&) override { return 1; }
  bool ErrorText(int32_t, std::string& text) override {
    text = "no sound device";
    return true;
  }
};

}  // namespace zk::replay
