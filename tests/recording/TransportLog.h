#pragma once
#include <string>
#include <vector>

#include "core/TransportView.h"

namespace zk::test {

// The seek bar and the transport word, as calls: "word PLAY", "clear", "box x1..x2 colour"
// (x as whole units). The bar's current x is kept.
struct TransportLog : TransportView {
  std::vector<std::string> calls;
  double currentX = 0;
  void Show_TransportWord(const std::string& w) override { calls.push_back("word " + w); }
  int32_t SeekBar_ScaleWidth() const override { return 1000; }
  void SeekBar_Clear() override { calls.push_back("clear"); }
  void SeekBar_Box(double x1, double, double x2, double, int32_t color) override {
    calls.push_back("box " + std::to_string(int(x1)) + ".." + std::to_string(int(x2)) + " " + std::to_string(color));
  }
  void SeekBar_SetCurrentX(double x) override { currentX = x; }
  int32_t ButtonFaceColor() const override { return 7; }
  int32_t HighlightColor() const override { return 9; }
  // The transport words shown, in order.
  std::vector<std::string> Words() const {
    std::vector<std::string> w;
    for (const std::string& c : calls)
      if (c.rfind("word ", 0) == 0) w.push_back(c.substr(5));
    return w;
  }
};

}  // namespace zk::test
