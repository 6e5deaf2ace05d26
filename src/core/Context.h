#pragma once
// What every subsystem works on: the settings record, the session state and the
// platform seams. frmMain builds one and hands it to each subsystem.
#include <string>

#include "base/Clock.h"
#include "core/AudioDevice.h"
#include "core/Controls.h"
#include "core/Events.h"
#include "core/IntervalTimer.h"
#include "core/MessageTimeBase.h"
#include "core/MeterView.h"
#include "core/Prompts.h"
#include "core/SessionState.h"
#include "core/Settings.h"
#include "core/Shell.h"

namespace zk {

struct Context {
  Settings& settings;
  SessionState& state;
  Clock& clock;
  Events& events;
  Prompts& prompts;
  Timers timers;
  MeterView& view;
  Controls& controls;
  Shell& shell;
  AudioDevice& audio;
  std::string programFolder;  // where the session file, settings file and dummy.mp3 live
  // Where the receive path reports each message it reads: the recorder installs its time
  // base when it is built. None (tools and tests without a recorder): nothing is timed.
  MessageTimeBase* timeBase = nullptr;
};

}  // namespace zk
