#pragma once
// The seek bar as the recorder, the transport and the player draw it, watched: every
// drawing on the bar goes on to the display and then tells `changed`. What the bar shows
// (the play position, the play range, a new or cleared recording, the transport word) is
// what the overview follows, so the overview is told of a change instead of looking for
// one on a timer.
#include <functional>
#include <utility>

#include "core/TransportView.h"

namespace zk {

class SeekBarWatch : public TransportView {
 public:
  SeekBarWatch(TransportView& bar, std::function<void()> changed) : bar_(bar), changed_(std::move(changed)) {}

  void Show_TransportWord(const std::string& word) override {
    bar_.Show_TransportWord(word);
    changed_();
  }
  int32_t SeekBar_ScaleWidth() const override { return bar_.SeekBar_ScaleWidth(); }
  void SeekBar_Clear() override {
    bar_.SeekBar_Clear();
    changed_();
  }
  void SeekBar_Box(double x1, double y1, double x2, double y2, int32_t color) override {
    bar_.SeekBar_Box(x1, y1, x2, y2, color);
    changed_();
  }
  void SeekBar_SetCurrentX(double x) override {
    bar_.SeekBar_SetCurrentX(x);
    changed_();
  }
  int32_t ButtonFaceColor() const override { return bar_.ButtonFaceColor(); }
  int32_t HighlightColor() const override { return bar_.HighlightColor(); }

 private:
  TransportView& bar_;
  std::function<void()> changed_;
};

}  // namespace zk
