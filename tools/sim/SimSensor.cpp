#include "tools/sim/SimSensor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace zk::sim {

namespace {

constexpr double Pi = 3.14159265358979323846;

int32_t Clamp(double v) { return static_cast<int32_t>(std::clamp(std::llround(v), 0LL, 65535LL)); }

std::optional<int64_t> ToInt(const std::string& s) {
  int64_t v = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

std::optional<Pattern> Parse_Pattern(const std::string& name) {
  if (name == "steady") return Pattern::Steady;
  if (name == "drift") return Pattern::Drift;
  if (name == "fall") return Pattern::Fall;
  if (name == "motion") return Pattern::Motion;
  if (name == "sweep") return Pattern::Sweep;
  return std::nullopt;
}

int32_t Pattern_Reading(Pattern p, int64_t ms) {
  switch (p) {
    case Pattern::Steady: return 20000;
    case Pattern::Drift:  // a slow swing of +-3000 over a minute
      return Clamp(20000 + 3000 * std::sin(2 * Pi * static_cast<double>(ms % 60000) / 60000.0));
    case Pattern::Fall: {  // 10 s falling from 40000 to 30000, 10 s rising back
      const int64_t t = ms % 20000;
      return t < 10000 ? Clamp(40000 - t) : Clamp(30000 + (t - 10000));
    }
    case Pattern::Motion:  // steady, with a one-message jolt every 3 s
      return ms % 3000 < SimSensor::PeriodMs && ms >= 3000 ? 20600 : 20000;
    case Pattern::Sweep: {  // the whole range up in 10 s and down in 10 s
      const double t = static_cast<double>(ms % 20000) / 10000.0;
      return Clamp((t < 1 ? t : 2 - t) * 65535);
    }
  }
  return 20000;
}

std::optional<std::vector<ScriptStep>> Parse_Script(const std::string& text, std::string& error) {
  std::vector<ScriptStep> steps;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  int64_t last = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNo) + ": " + why;
    return std::nullopt;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string s; words >> s;) w.push_back(s);
    if (w.empty()) continue;
    ScriptStep st;
    const auto ms = ToInt(w[0]);
    if (!ms || *ms < 0) return fail("time must be milliseconds >= 0: " + w[0]);
    if (*ms < last) return fail("time goes backwards");
    st.ms = last = *ms;
    if (w.size() < 2) return fail("missing event");
    const std::string& verb = w[1];
    auto arg = [&](size_t i) -> std::optional<int64_t> { return i < w.size() ? ToInt(w[i]) : std::nullopt; };
    size_t want = 2;
    if (verb == "value" || verb == "ramp") {
      st.verb = verb == "value" ? ScriptStep::Value : ScriptStep::Ramp;
      const auto v = arg(2);
      if (!v || *v < 0 || *v > 65535) return fail(verb + " needs a reading 0..65535");
      st.value = static_cast<int32_t>(*v);
      want = 3;
      if (st.verb == ScriptStep::Ramp) {
        const auto len = arg(3);
        if (!len || *len <= 0) return fail("ramp needs a duration in ms > 0");
        st.length = *len;
        want = 4;
      }
    } else if (verb == "switch") {
      st.verb = ScriptStep::Switch;
    } else if (verb == "fault" || verb == "garbage") {
      st.verb = verb == "fault" ? ScriptStep::Fault : ScriptStep::Garbage;
      st.length = verb == "fault" ? 1 : 8;
      if (w.size() > 2) {
        const auto n = arg(2);
        if (!n || *n <= 0 || *n > 100000) return fail(verb + " count must be 1..100000");
        st.length = *n;
        want = 3;
      }
    } else if (verb == "stall") {
      st.verb = ScriptStep::Stall;
      const auto len = arg(2);
      if (!len || *len <= 0) return fail("stall needs a duration in ms > 0");
      st.length = *len;
      want = 3;
    } else if (verb == "disconnect") {
      st.verb = ScriptStep::Disconnect;
    } else {
      return fail("unknown event: " + verb);
    }
    if (w.size() > want) return fail("too many words");
    steps.push_back(st);
  }
  return steps;
}

SimSensor::SimSensor(SensorIdentity id, Pattern pattern, std::vector<ScriptStep> script)
    : id_(std::move(id)), pattern_(pattern), script_(std::move(script)) {}

std::string SimSensor::Message(char kind, int32_t reading) {
  static const char* hex = "0123456789ABCDEF";
  std::string m(1, kind);
  for (int shift = 12; shift >= 0; shift -= 4) m += hex[(reading >> shift) & 0xF];
  m += '\r';
  return m;
}

std::string SimSensor::Receive(const std::string& bytes, int64_t nowMs) {
  std::string reply;
  for (char c : bytes) {
    if (c == '\r' || c == '\n') {
      if (!line_.empty()) Command(line_, nowMs, reply);
      line_.clear();
    } else if (line_.size() < 64) {
      line_ += c;
    }
  }
  return reply;
}

void SimSensor::Command(const std::string& cmd, int64_t nowMs, std::string& reply) {
  if (cmd == "Q") {  // quiet: stop the stream
    streaming_ = unlocked_ = ready_ = false;
  } else if (cmd == "V") {
    reply += "V,ZK" + id_.type + id_.serial + "," + id_.bootLoader + "," + id_.firmware + "\r";
  } else if (cmd == "U") {
    unlocked_ = true;
    ready_ = false;
  } else if (cmd == "R") {
    if (!unlocked_) return;
    if (id_.type == "40")
      ready_ = true;  // type 40 waits for "O"
    else
      Start(nowMs);
  } else if (cmd == "O") {
    if (id_.type == "40" && ready_) Start(nowMs);
  } else if (cmd == "SL" || cmd == "SR") {
    if (id_.type == "31") remote_ = cmd == "SR";
  }
}

void SimSensor::Start(int64_t nowMs) {
  if (streaming_) return;
  streaming_ = true;
  startMs_ = nowMs;
  sent_ = 0;
  nextStep_ = 0;
  stallUntil_ = -1;
  pendingSwitch_ = pendingFault_ = 0;
  scripted_ = false;
}

int32_t SimSensor::Reading_At(int64_t ms) {
  if (!scripted_) return Pattern_Reading(pattern_, ms);
  if (ms >= rampEnd_) return rampTo_;
  const double f = static_cast<double>(ms - rampStart_) / static_cast<double>(rampEnd_ - rampStart_);
  return Clamp(rampFrom_ + f * (rampTo_ - rampFrom_));
}

std::string SimSensor::One_Message(int64_t ms) {
  if (pendingFault_ > 0) {
    --pendingFault_;
    return "X\r";
  }
  int32_t reading = Reading_At(ms);
  char kind = id_.type == "40" ? 'O' : 'P';
  if (id_.type == "31") {
    kind = remote_ ? 'R' : 'L';
    // The host scales the local probe by 1.068; send what gives the pattern's value.
    if (!remote_) reading = Clamp(reading / 1.068);
  } else if (pendingSwitch_ > 0) {
    --pendingSwitch_;
    kind = 'T';
  }
  return Message(kind, reading);
}

int64_t SimSensor::Next_Due() const {
  if (!streaming_ || disconnected_) return -1;
  int64_t next = sent_ * PeriodMs;
  if (nextStep_ < script_.size()) next = std::min(next, script_[nextStep_].ms);
  return startMs_ + next;
}

std::string SimSensor::Due(int64_t nowMs) {
  std::string out;
  if (!streaming_ || disconnected_) return out;
  const int64_t t = nowMs - startMs_;
  if (t - sent_ * PeriodMs > 1000) {  // far behind (the machine slept): skip, do not burst
    sent_ = t / PeriodMs;
    while (nextStep_ < script_.size() && script_[nextStep_].ms < sent_ * PeriodMs) ++nextStep_;
  }
  for (;;) {
    const int64_t msgT = sent_ * PeriodMs;
    if (nextStep_ < script_.size() && script_[nextStep_].ms <= msgT && script_[nextStep_].ms <= t) {
      const ScriptStep& s = script_[nextStep_++];
      switch (s.verb) {
        case ScriptStep::Value:
        case ScriptStep::Ramp:
          rampFrom_ = Reading_At(s.ms);
          scripted_ = true;
          rampTo_ = s.value;
          rampStart_ = s.ms;
          rampEnd_ = s.ms + s.length;
          break;
        case ScriptStep::Switch: ++pendingSwitch_; break;
        case ScriptStep::Fault: pendingFault_ += static_cast<int>(s.length); break;
        case ScriptStep::Stall: stallUntil_ = s.ms + s.length; break;
        case ScriptStep::Garbage:
          for (int64_t i = 0; i < s.length; ++i) {
            noise_ = noise_ * 1103515245u + 12345u;
            char c = static_cast<char>((noise_ >> 16) & 0x7F);
            if (c == '\r') c = 'g';  // garbage never completes a message by itself
            out += c;
          }
          break;
        case ScriptStep::Disconnect: disconnected_ = true; return out;
      }
      continue;
    }
    if (msgT > t) break;
    if (msgT >= stallUntil_) out += One_Message(msgT);
    ++sent_;
  }
  return out;
}

}  // namespace zk::sim
