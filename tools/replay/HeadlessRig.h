#pragma once
// Everything the window owns for the reading step, wired together without a window: the
// settings and state, a virtual clock with its events and timers, the headless seams, and
// the meter engine with its alerts. The replay tool runs captures through it; the sample
// generator builds its recorder on it.
#include "core/Context.h"
#include "core/ControlTable.h"
#include "core/VirtualTime.h"
#include "meter/Alerts.h"
#include "meter/MeterEngine.h"
#include "meter/SensitivityTable.h"
#include "tools/replay/Headless.h"

namespace zk::replay {

struct HeadlessRig {
  HeadlessRig(double startSeconds, DateTime today) : clock{startSeconds, today} {}
  Settings settings;
  SessionState state;
  VirtualClock clock;
  VirtualEvents events{clock};
  FirstButtonPrompts prompts;
  WindowTimers<VirtualTimer> timers{clock};
  HeadlessView view{state};
  ControlTable controls;
  QuietShell shell;
  NoAudio audio;
  Context ctx{settings, state, clock, events, prompts, timers.All(), view, controls, shell, audio, "."};
  SensitivityTable table;
  MeterEngine engine{ctx, table};
  Alerts alerts{ctx};
};

}  // namespace zk::replay
