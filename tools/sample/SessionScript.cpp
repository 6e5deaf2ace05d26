#include "SessionScript.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace zk::sample {

namespace {

struct Verb {
  const char* name;
  Action action;
  int arguments;
  double min, max;  // the range of the first argument
};

constexpr Verb Verbs[] = {
    {"level", Action::Level, 1, 0, 65535},
    {"glide", Action::Glide, 2, 0, 65535},
    {"jolt", Action::Jolt, 1, -65535, 65535},
    {"tag", Action::Tag, 0, 0, 0},
    {"sensitivity", Action::Sensitivity, 1, 0, 63},
    {"freeze", Action::Freeze, 1, 0, 1},
    {"wobble", Action::Wobble, 2, 0, 5000},
    {"tone", Action::Tone, 2, 20, 10000},
    {"quiet", Action::Quiet, 0, 0, 0},
    {"noise", Action::Noise, 1, 0, 32767},
    {"end", Action::End, 0, 0, 0},
};

// The longest session a script may make: a sample, not an archive.
constexpr double MaxSeconds = 3600;
// The time of the third record, the first that can carry a tag.
constexpr double FirstTagSeconds = 0.04;

bool Number(const std::string& word, double& out) {
  const char* end = word.data() + word.size();
  auto r = std::from_chars(word.data(), end, out);
  return r.ec == std::errc() && r.ptr == end && std::isfinite(out);
}

// "95", "12.5" or "1:35".
bool Time(const std::string& word, double& out) {
  const auto colon = word.find(':');
  if (colon == std::string::npos) return Number(word, out) && out >= 0;
  double minutes = 0, seconds = 0;
  if (!Number(word.substr(0, colon), minutes) || !Number(word.substr(colon + 1), seconds)) return false;
  if (minutes < 0 || minutes != std::floor(minutes) || seconds < 0 || seconds >= 60) return false;
  out = minutes * 60 + seconds;
  return true;
}

// The second argument's range, where it has one.
std::string CheckSecond(Action action, double b) {
  switch (action) {
    case Action::Glide: return b > 0 && b <= MaxSeconds ? "" : "a glide takes more than 0 seconds";
    case Action::Wobble: return b >= 0 && b <= MaxSeconds ? "" : "a wobble's period is 0 to 3600 seconds";
    case Action::Tone: return b >= 0 && b <= 32767 ? "" : "a tone's amplitude is 0 to 32767";
    default: return "";
  }
}

}  // namespace

ScriptResult ParseScript(const std::string& text) {
  ScriptResult result;
  std::istringstream in(text);
  std::string raw;
  int line = 0;
  auto fail = [&](const std::string& what) {
    result.error = "line " + std::to_string(line) + ": " + what;
    return result;
  };
  while (std::getline(in, raw)) {
    ++line;
    if (auto hash = raw.find('#'); hash != std::string::npos) raw.erase(hash);
    std::istringstream words(raw);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    if (w.empty()) continue;
    if (!result.script.events.empty() && result.script.events.back().action == Action::End)
      return fail("nothing may follow \"end\"");

    ScriptEvent e;
    e.line = line;
    if (!Time(w[0], e.at)) return fail("\"" + w[0] + "\" is no time (seconds, or minutes:seconds)");
    if (e.at > MaxSeconds) return fail("a sample session lasts at most an hour");
    if (!result.script.events.empty() && e.at < result.script.events.back().at) return fail("the time goes back");
    if (w.size() < 2) return fail("a time without an event");

    const Verb* verb = nullptr;
    for (const Verb& v : Verbs)
      if (w[1] == v.name) verb = &v;
    if (!verb) return fail("unknown event \"" + w[1] + "\"");
    e.action = verb->action;
    const int given = static_cast<int>(w.size()) - 2;
    if (given != verb->arguments)
      return fail("\"" + w[1] + "\" takes " + std::to_string(verb->arguments) + " argument(s), not " +
                  std::to_string(given));
    if (e.action == Action::Freeze) {
      if (w[2] != "on" && w[2] != "off") return fail("freeze is \"on\" or \"off\"");
      e.a = w[2] == "on" ? 1 : 0;
    } else if (verb->arguments >= 1) {
      if (!Number(w[2], e.a)) return fail("\"" + w[2] + "\" is no number");
      if (e.a < verb->min || e.a > verb->max)
        return fail("\"" + w[1] + "\" takes " + std::to_string(static_cast<long>(verb->min)) + " to " +
                    std::to_string(static_cast<long>(verb->max)));
    }
    if (verb->arguments == 2) {
      if (!Number(w[3], e.b)) return fail("\"" + w[3] + "\" is no number");
      if (std::string why = CheckSecond(e.action, e.b); !why.empty()) return fail(why);
    }
    if (e.action == Action::Sensitivity && e.a != std::floor(e.a)) return fail("a sensitivity step is whole");
    // Records 1 and 2 carry the start time and date in the place of a tag.
    if (e.action == Action::Tag && e.at < FirstTagSeconds)
      return fail("a tag before 0.04 seconds would be lost under the start time and date");
    result.script.events.push_back(e);
  }
  if (result.script.events.empty() || result.script.events.back().action != Action::End) {
    ++line;
    return fail("the script does not end with \"end\"");
  }
  line = result.script.events.back().line;
  if (result.script.Seconds() < 1) return fail("the session is shorter than a second");
  return result;
}

}  // namespace zk::sample
