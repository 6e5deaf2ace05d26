#pragma once
// What the recorder and the player draw besides the meter: the transport word on the meter
// panel and the seek bar (picFilePosition). The display implements it.
#include <cstdint>
#include <string>

namespace zk {

class TransportView {
 public:
  virtual ~TransportView() = default;
  // Prints a transport word ("RECORD", "PLAY", "PAUSE", "END") centred over the pivot of
  // the meter panel, in the faint needle colour. Every word but "PAUSE" removes the needle
  // first; a paused needle stays where it stands.
  virtual void Show_TransportWord(const std::string& word) = 0;

  // The seek bar in its own scale: x from 0 to SeekBar_ScaleWidth(), y from 0 to 100.
  virtual int32_t SeekBar_ScaleWidth() const = 0;
  virtual void SeekBar_Clear() = 0;
  // A filled box from (x1, y1) to (x2, y2) in the given colour.
  virtual void SeekBar_Box(double x1, double y1, double x2, double y2, int32_t color) = 0;
  // The bar's current point (where the next drawing starts).
  virtual void SeekBar_SetCurrentX(double x) = 0;

  // System colours the seek bar is drawn in.
  virtual int32_t ButtonFaceColor() const = 0;
  virtual int32_t HighlightColor() const = 0;
};

}  // namespace zk
