#pragma once
// The stop button of the record/play panel. One procedure serves both transports: the
// recorder's half runs while recording, the player's half while playing or paused, and a
// common tail returns the panel, the menus, the seek bar and the banner to rest.
#include "core/Context.h"
#include "core/TransportView.h"

namespace zk {

// The part of a stop that belongs to one transport.
class StopHalf {
 public:
  virtual ~StopHalf() = default;
  virtual void Stop() = 0;
};

class Transport {
 public:
  Transport(Context& ctx, TransportView& view) : ctx_(ctx), view_(view) {}

  void SetRecorder(StopHalf* recorder) { recorder_ = recorder; }
  void SetPlayer(StopHalf* player) { player_ = player; }

  // A stop pressed while one is still running (the input watchdog during the wait for the
  // whole second) is the same stop: it is ignored.
  void cmdStop_Click();
  // PlayState 0, menus and record button enabled, the range box redrawn, the banner back
  // to its wanted text, the command state refreshed, the panel enabled.
  void Stop_Tail();

 private:
  Context& ctx_;
  TransportView& view_;
  StopHalf* recorder_ = nullptr;
  StopHalf* player_ = nullptr;
  bool stopping_ = false;
};

}  // namespace zk
