#pragma once
// The script a sample session is made from: one event a line, at a time from the start.
//
//   # a comment; blank lines are ignored
//   0:00   level 30000          the reading rests at 30000
//   0:20   glide 26000 8        the reading moves to 26000 over 8 seconds
//   0:45   jolt 900             one reading 900 above the rest: the sensor was moved
//   0:50   tag                  the operator's tag switch (from 0.04 s: records 1 and 2 hold
//                                the start time and date)
//   1:10   sensitivity 12       the knob is turned to step 12 (0..63)
//   0:00   freeze on            the needle freezes while the body moves ("off" stops it)
//   0:00   wobble 40 7          a slow drift of +-40 with a period of 7 seconds (0 0: none)
//   0:05   tone 220 300         a tone of 220 Hz at amplitude 300 in the room sound
//   1:00   quiet                the tone ends
//   0:00   noise 60             room noise at amplitude 60 (0: none)
//   2:30   end                  the session ends here
//
// Times are seconds ("95", "12.5") or minutes and seconds ("1:35"); they may not go back.
// The script must end with "end", and nothing may follow it.
#include <cstdint>
#include <string>
#include <vector>

namespace zk::sample {

enum class Action { Level, Glide, Jolt, Tag, Sensitivity, Freeze, Wobble, Tone, Quiet, Noise, End };

struct ScriptEvent {
  double at = 0;  // seconds from the start
  Action action = Action::End;
  double a = 0;  // the first argument, when the action has one
  double b = 0;  // the second
  int line = 0;  // where it stood in the script
};

struct SessionScript {
  std::vector<ScriptEvent> events;  // in time order, the last one is End
  double Seconds() const { return events.empty() ? 0 : events.back().at; }
};

struct ScriptResult {
  SessionScript script;
  std::string error;  // "line N: what is wrong"; empty when the script was read
  bool ok() const { return error.empty(); }
};

// Reads a script from its text.
ScriptResult ParseScript(const std::string& text);

}  // namespace zk::sample
